#pragma once
// The rates window: lists the rates and adds, changes and deletes them, keeping at least one
// rate offered at entries and one at exits after a change.

#include "movimientos/tarifas.h"
#include "principal/ui/etiquetapulsable.h"
#include "principal/ui/ventanahija.h"

#include <QLabel>
#include <QString>
#include <cstdint>
#include <optional>

class QCheckBox;
class QLayout;
class QLineEdit;
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
    QLineEdit* txtCobroMinimo = nullptr;
    QLineEdit* txtTopeCobro = nullptr;
    QCheckBox* chkTopeDiaCalendario = nullptr;
    QLineEdit* txtTicketPerdido = nullptr;
    QLineEdit* txtFranjas = nullptr;

    // id_tarifa of the selected row; 0 when none is selected.
    int64_t IdTarifaSeleccionada = 0;

public slots:
    void btnAgregarClicked();
    void btnModificarTarifaClicked();
    void btnEliminarTarifaClicked();
    void btnListadoCompletoClicked();
    void Label4Clicked();
    void Label5Clicked();

private:
    void construirControles();
    void crearDatos();
    void crearReglas();
    QLayout* disponerDatos();
    QLayout* disponerTopeDia();
    void ordenarTabulacion();
    void conectarSenales();
    void mostrarFila(int fila);
    // The boxes' values once they have passed the checks shared by adding and changing.
    std::optional<DatosTarifa> validar(const QString& sucesoDescripcionReservada);
    void avisar(const QString& texto, QLineEdit* foco);
    // Another station deleted the selected rate: said, and the list read again.
    void avisarNoEncontrada(const QString& boton);

    ModeloLista* modelo_ = nullptr;
};
