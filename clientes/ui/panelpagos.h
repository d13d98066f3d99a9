#pragma once
// The clients window's payment half: the periods of the client shown and the payments of the
// period picked; adding and deleting periods, making and deleting payments.

#include <QWidget>
#include <cstdint>
#include <functional>

class ModeloClientes;
class QDateEdit;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTreeView;
enum class OrdenPeriodos;
template <class T> struct Cambio;
struct SaldoPeriodo;

class PanelPagos : public QWidget {
    Q_OBJECT
public:
    // `idCliente` is the window's picked client; `focoCliente` takes the focus when none is.
    PanelPagos(const int32_t& idCliente, QWidget* focoCliente, QWidget* parent);

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

    // The period and payment picked by a click; 0 = none.
    int32_t IdFechaPagoSeleccionada = 0;
    int32_t IdPagoSeleccionado = 0;

    // What the window does for the panel: show the client acted on, and tell that the picked row
    // went at another station. Plain calls, so a database error reaches the handler's wrapper.
    std::function<void(int64_t idCliente)> mostrarCliente;
    std::function<void(const QString& origen)> noEncontrado;

    // The client's periods and the payments of the first, on the open connection; nothing
    // picked. Then, with `elegido`, that period picked with its payments when it is listed.
    void llenarPeriodos(int64_t idCliente, OrdenPeriodos orden, int64_t elegido = 0);
    void vaciar();
    // The first rows selected without picking them; today's dates when the client has no period.
    void seleccionarPrimeras();
    // The boxes emptied and the dates of a new period.
    void restablecer();
    // The client whose periods the list shows.
    int64_t clientePeriodos() const { return clientePeriodos_; }

public slots:
    void btnAgregarFechaPagoClicked();
    void btnEfectuarPagoClicked();
    void btnEliminarFechaPagoClicked();
    void btnEliminarPagoClicked();
    void ListView2ItemClicked(const QModelIndex& indice);
    void ListView3ItemClicked(const QModelIndex& indice);
    void txtReciboChanged();

private:
    void construirControles();
    void conectarSenales();
    void llenarPagos(int64_t idFechaPago);
    void avisar(const QString& texto, QWidget* foco);
    void mostrarPago(const Cambio<SaldoPeriodo>& pago);

    const int32_t& idCliente_;
    QWidget* focoCliente_;
    ModeloClientes* modelo2_ = nullptr;
    ModeloClientes* modelo3_ = nullptr;
    int64_t clientePeriodos_ = 0;
    int periodoElegido_ = -1;
};
