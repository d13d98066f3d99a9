#pragma once
// The monthly clients: their list and search, adding, changing and deleting them, and their
// payment periods and payments.

#include "principal/ui/ventanahija.h"

#include <QString>
#include <cstdint>

class EtiquetaPulsable;
class ModeloClientes;
class PanelPagos;
class QCheckBox;
class QLabel;
class QLayout;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTreeView;
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
    // The payment half: the client's periods and payments.
    PanelPagos* pagos = nullptr;
    QPushButton* btnListadoClientes = nullptr;
    QPushButton* btnListadoClientesFPagos = nullptr;

    // The client picked by a click; 0 = none.
    int32_t IdClienteSeleccionado = 0;
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
    void chkClienteActivoClicked();
    void lblClienteActivoClicked();
    void Label13Clicked();
    void btnListadoClientesClicked();
    void btnListadoClientesFPagosClicked();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void construirControles();
    void crearDatos();
    void crearBotones();
    QLayout* disponerDatos();
    QLayout* disponerBotones();
    QWidget* construirPeriodos();
    void ordenarTabulacion();
    void conectarSenales();
    void cargar();

    void copiarCliente(int fila);
    void elegirPorPlaca(const QString& placa);
    // Lists the client alone with its periods, the period picked still picked: after a change to
    // its periods or payments the attendant sees the client acted on, whatever the boxes hold.
    void mostrarCliente(int64_t idCliente);
    DatosCliente datosFormulario() const;
    bool validarCliente();
    void avisar(const QString& texto, QWidget* foco);
    void registrarYAvisar(const QString& suceso, const QString& texto, QWidget* foco);
    // A change that found its row gone: told, logged, and the lists read again.
    void avisarNoEncontrado(const QString& origen);

    ModeloClientes* modelo1_ = nullptr;
};
