#pragma once
// The attendant's working window: the clock, the vehicles inside, and the registration of
// entries and exits.

#include "principal/ui/ventanahija.h"

#include <QDateTime>
#include <cstdint>
#include <optional>

class QCheckBox;
class QComboBox;
class QFont;
class QLabel;
class QLayout;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTimer;
class QTreeView;
class EtiquetaPulsable;
class FiltroEscaneo;
class ModeloEntradas;
struct DatosSalida;
enum class Paso;

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
    QPushButton* btnTicketPerdido;
    QLabel* lblCupo;
    QLabel* lblOcupacionActual;
    QLabel* lblTiempo;
    QLabel* lblTiempoTranscurrido;
    QTreeView* ListView1;
    QTimer* Timer1;
    // A ticket's barcode read by a scanner, wherever the focus is.
    FiltroEscaneo* escaner;

public slots:
    void Timer1Timer();
    void btnEntradaClicked();
    void btnSalidaClicked();
    // The exit of a vehicle whose ticket was lost: found by its plate, charged the rate's
    // lost-ticket amount or the stay, whichever is higher, and marked as such.
    void btnTicketPerdidoClicked();
    // The exit of the entry a scanned ticket names, as btnSalida does for its plate.
    void codigoLeido(const QString& codigo);
    void ListView1ItemClicked(const QModelIndex& indice);
    void ListView1SelectionChanged();
    void ListView1DoubleClicked(const QModelIndex& indice);
    void ListView1RightClicked(const QPoint& posicion);
    void comTarifaTarifasCambiadas();
    void reabrir();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void construirControles();
    QFont crearDatos();
    void crearOpciones();
    void crearEstado(const QFont& grande);
    void crearLista();
    QLayout* disponerDatos();
    QLayout* disponerOpciones();
    QLayout* disponerEstado();
    void ordenarTabulacion();
    void cargar();
    void cargarTarifas();
    bool teclaEnTarifa(const QEvent* evento, bool listaAbierta);
    void mostrarOcupacion();
    void mostrarEstancia(const QDateTime& entrada, const QDateTime& salida);
    void ocultarEstancia();
    void vaciarCajas();
    // The first checks of both buttons, each with its message; logs the click when they pass.
    std::optional<uint8_t> validarPlacaYCopias(const QString& aviso, const QString& movimiento,
                                               QLineEdit* cajaCopias);
    void rechazarEntrada(const QString& aviso);
    void registrarEntrada(int64_t idTarifa);
    void terminarEntrada(int64_t idEntrada);
    bool leerEntrada(DatosSalida& s);
    // True when the exit goes on; a refusal puts the focus back in the plate box.
    bool seguir(Paso paso);
    bool confirmarSalida(DatosSalida& s);
    void registrarSalida(bool ticketPerdido, std::optional<int64_t> idEntrada = std::nullopt);
    void grabarSalida(DatosSalida& s);
    void abortar();

    ModeloEntradas* modelo_ = nullptr;
    // The moment lblFechaActual shows: the time of an entry or exit registered now.
    QDateTime fechaActual_;
};
