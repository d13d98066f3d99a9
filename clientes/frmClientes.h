#pragma once
// The monthly clients: their list and search, adding, changing and deleting them, and their
// payment periods and payments.

#include "principal/ventanahija.h"

#include <QString>
#include <cstdint>

class EtiquetaPulsable;
class ModeloClientes;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTreeView;
enum class OrdenPeriodos;
enum class Resultado;
template <class T> struct Cambio;
struct SaldoPeriodo;
struct DatosCliente;

class frmClientes : public VentanaHija {
    Q_OBJECT
public:
    explicit frmClientes(QWidget* parent = nullptr);

    QLineEdit* txtNombre = nullptr;
    QLineEdit* txtApe1 = nullptr;
    QLineEdit* txtApe2 = nullptr;
    QLineEdit* txtPlaca = nullptr;
    QLineEdit* txtIdentificacion = nullptr;
    QLineEdit* txtNotas = nullptr;
    QCheckBox* chkClienteActivo = nullptr;
    EtiquetaPulsable* lblClienteActivo = nullptr;
    QCheckBox* chkAutoCamposCliente = nullptr;
    EtiquetaPulsable* Label13 = nullptr;
    QPushButton* btnAgregar = nullptr;
    QPushButton* btnModificar = nullptr;
    QPushButton* btnEliminar = nullptr;
    QPushButton* btnBuscarCliente = nullptr;
    QPushButton* btnListadoCompleto = nullptr;
    QPushButton* btnVaciarFormulario = nullptr;
    QTreeView* ListView1 = nullptr;
    QTreeView* ListView2 = nullptr;
    QTreeView* ListView3 = nullptr;
    QDateEdit* calFechaInicio = nullptr;
    QDateEdit* calFechaFin = nullptr;
    QDateEdit* calFechaPago = nullptr;
    QLineEdit* txtCantidadPago = nullptr;
    QLineEdit* txtRecibo = nullptr;
    QLineEdit* txtEfectuarPago = nullptr;
    QPushButton* btnAgregarFechaPago = nullptr;
    QPushButton* btnEliminarFechaPago = nullptr;
    QPushButton* btnEfectuarPago = nullptr;
    QPushButton* btnEliminarPago = nullptr;
    QPushButton* btnListadoClientes = nullptr;
    QPushButton* btnListadoClientesFPagos = nullptr;

    // The client, period and payment picked by a click; 0 = none.
    int32_t IdClienteSeleccionado = 0;
    int32_t IdFechaPagoSeleccionada = 0;
    int32_t IdPagoSeleccionado = 0;
    // The next listing is a search by the form's boxes.
    bool ModoBusquedaClientes = false;

public slots:
    void btnListadoCompletoClicked();
    void btnBuscarClienteClicked();
    void btnAgregarClicked();
    void btnModificarClicked();
    void btnEliminarClicked();
    void btnVaciarFormularioClicked();
    void ListView1ItemClicked(const QModelIndex& indice);
    void ListView2ItemClicked(const QModelIndex& indice);
    void ListView3ItemClicked(const QModelIndex& indice);
    void chkClienteActivoClicked();
    void lblClienteActivoClicked();
    void Label13Clicked();
    void btnAgregarFechaPagoClicked();
    void btnEfectuarPagoClicked();
    void btnEliminarFechaPagoClicked();
    void btnEliminarPagoClicked();
    void txtReciboChanged();
    void btnListadoClientesClicked();
    void btnListadoClientesFPagosClicked();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void construirControles();
    QWidget* construirPeriodos();
    void ordenarTabulacion();
    void conectarSenales();
    void conectarLista(QTreeView* lista, void (frmClientes::*eleccion)(const QModelIndex&));
    void cargar();

    // The periods of the client, and the payments of the first of them.
    void llenarPeriodos(int64_t idCliente, OrdenPeriodos orden);
    void llenarPagos(int64_t idFechaPago);
    // Selects a list's first row without picking it.
    void seleccionarPrimera(QTreeView* lista);
    void copiarCliente(int fila);
    // Lists the client alone with its periods, the period picked still picked: after a change to
    // its periods or payments the attendant sees the client acted on, whatever the boxes hold.
    void mostrarCliente(int64_t idCliente);
    void fechasDeHoy();
    DatosCliente datosFormulario() const;
    bool validarCliente();
    void avisar(const QString& texto, QWidget* foco);
    void registrarYAvisar(const QString& suceso, const QString& texto, QWidget* foco);
    // A change that found its row gone: told, logged, and the lists read again.
    void avisarNoEncontrado(const QString& origen);
    void mostrarPago(const Cambio<SaldoPeriodo>& pago);

    ModeloClientes* modelo1_ = nullptr;
    ModeloClientes* modelo2_ = nullptr;
    ModeloClientes* modelo3_ = nullptr;
    // The client whose periods the second list shows.
    int64_t clientePeriodos_ = 0;
    // A key moved the current row: that row is picked as a click picks it.
    bool porTeclado_ = false;
};
