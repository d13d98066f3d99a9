#pragma once
// The attendant's working window: the clock, the vehicles inside, and the registration of
// entries and exits.

#include "principal/ventanahija.h"

#include <cstdint>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class EtiquetaPulsable;
class Recordset;

class frmGestionEntradasSalidas : public VentanaHija {
    Q_OBJECT
public:
    explicit frmGestionEntradasSalidas(QWidget* parent = nullptr);

    QLabel* lblFechaActual;
    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* txtPlaca;
    QLabel* Label3;
    QLineEdit* txtDescrVeh;
    QLabel* Label4;
    QLineEdit* txtObservaciones;
    QLabel* Label5;
    QComboBox* comTarifa;
    QLabel* Label6;
    QLineEdit* txtCopiasEntrada;
    QLabel* Label7;
    QLineEdit* txtCopiasSalida;
    QCheckBox* chkImprimirTicket;
    EtiquetaPulsable* Label9;
    QCheckBox* chkCobroCompleto;
    EtiquetaPulsable* Label10;
    QLabel* Label8;
    QCheckBox* chkCobroPrimeraHora;
    EtiquetaPulsable* Label11;
    QPushButton* btnEntrada;
    QPushButton* btnSalida;
    QLabel* lblCupo;
    QLabel* lblOcupacionActual;
    QLabel* lblTiempo;
    QLabel* lblTiempoTranscurrido;
    QTreeWidget* ListView1;
    QTimer* Timer1;

public slots:
    void Timer1Timer();
    void btnEntradaClicked();
    void btnSalidaClicked();
    void ListView1ItemClicked(QTreeWidgetItem* fila);
    void ListView1DoubleClicked(QTreeWidgetItem* fila);
    void ListView1RightClicked(const QPoint& posicion);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    void construirControles();
    void cargar();
    void cargarTarifas();
    void rellenarLista();
    void mostrarEstancia(const QString& fechaEntrada, const QString& fechaSalida);
    void ocultarEstancia();
    // The first checks of both buttons, each with its message; logs the click when they pass.
    std::optional<uint8_t> validarPlacaYCopias(const QString& aviso, const QString& movimiento,
                                               QLineEdit* cajaCopias);
    void registrarEntrada(int64_t idTarifa);
    void terminarEntrada();
    bool leerEntrada(struct DatosSalida& s);
    bool corregirPlacaYTarifa(DatosSalida& s);
    bool elegirOtraTarifa(DatosSalida& s);
    bool confirmarSalida(DatosSalida& s);
    bool fijarValor(DatosSalida& s);
    void grabarSalida(DatosSalida& s);
    void abortar();
};
