#pragma once
// The rates window: lists the rates and adds, changes and deletes them, keeping at least one
// rate offered at entries and one at exits after a change; a stay can be charged by the rate as
// typed, before it is saved.

#include "movimientos/tarifas.h"
#include "principal/ui/etiquetapulsable.h"
#include "principal/ui/ventanahija.h"

#include <QLabel>
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>

class EditorPlanas;
class EditorTramos;
class QCheckBox;
class QDateTimeEdit;
class QGroupBox;
class QTabWidget;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class ModeloLista;
class QModelIndex;
class QTreeView;

class frmTarifas : public VentanaHija {
    Q_OBJECT
public:
    explicit frmTarifas(QWidget* parent = nullptr);

    QLineEdit* txtTarifa = nullptr;
    QLineEdit* txtTiempo = nullptr;
    QLineEdit* txtDescrTarifa = nullptr;
    QCheckBox* chkMostrarEnEntradas = nullptr;
    QCheckBox* chkMostrarEnSalidas = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    EtiquetaPulsable* Label4 = nullptr;
    EtiquetaPulsable* Label5 = nullptr;
    QPushButton* btnAgregar = nullptr;
    QPushButton* btnModificarTarifa = nullptr;
    QPushButton* btnEliminarTarifa = nullptr;
    QPushButton* btnListadoCompleto = nullptr;
    QTreeView* ListView1 = nullptr;
    // The rate's optional rules, beside its price.
    QLineEdit* txtMinutosGracia = nullptr;
    QLineEdit* txtMinutosLibres = nullptr;
    QLineEdit* txtCobroMinimo = nullptr;
    QLineEdit* txtTopeCobro = nullptr;
    QCheckBox* chkTopeDiaCalendario = nullptr;
    QLineEdit* txtTopeSemanal = nullptr;
    QLineEdit* txtMinutosBloque = nullptr;
    QLineEdit* txtPrecioBloque = nullptr;
    QLineEdit* txtTicketPerdido = nullptr;
    QLineEdit* txtFranjas = nullptr;
    EditorTramos* edtTramos = nullptr;
    EditorPlanas* edtPlanas = nullptr;
    // The stay simulator, with the exit's two charging options.
    QTabWidget* tabReglas = nullptr;
    QGroupBox* fraSimular = nullptr;
    QDateTimeEdit* dtpEntradaSimulada = nullptr;
    QDateTimeEdit* dtpSalidaSimulada = nullptr;
    QCheckBox* chkCobroCompleto = nullptr;
    QCheckBox* chkCobroPrimeraHora = nullptr;
    QPushButton* btnSimular = nullptr;
    QPlainTextEdit* txtSimulacion = nullptr;

    // id_tarifa of the selected row; 0 when none is selected.
    int64_t IdTarifaSeleccionada = 0;

public slots:
    void btnAgregarClicked();
    void btnModificarTarifaClicked();
    void btnEliminarTarifaClicked();
    void btnListadoCompletoClicked();
    void btnSimularClicked();
    void Label4Clicked();
    void Label5Clicked();

private:
    void construirControles();
    void crearDatos();
    void crearReglas();
    QGroupBox* crearSimulador();
    void disponerSimulador();
    QLayout* disponerDatos();
    QTabWidget* crearPestanas();
    QLayout* disponerReglas();
    QLayout* disponerTopeDia();
    void ordenarTabulacion();
    void conectarSenales();
    void mostrarFila(int fila);
    // The boxes' values once they have passed the checks shared by adding and changing.
    std::optional<DatosTarifa> validar(const QString& sucesoDescripcionReservada);
    // The price and the minutes of one unit, refused as saving refuses them.
    std::optional<std::pair<int64_t, int64_t>> leerPrecio();
    // The rules' boxes, refused as saving refuses them.
    std::optional<ReglasTarifa> leerReglas();
    void avisar(const QString& texto, QWidget* foco);
    void mostrarPaginaDe(QWidget* control);
    // Another station deleted the selected rate: said, and the list read again.
    void avisarNoEncontrada(const QString& boton);

    ModeloLista* modelo_ = nullptr;
};
