#pragma once
// The look back over the records: the entries or exits of a period, their totals, the reprint
// of a ticket, and the listing files of the period.

#include "principal/ui/ventanahija.h"
#include "reportes/periodo.h"

#include <QList>
#include <QPointer>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;
class QTreeView;
class EtiquetaPulsable;
class FiltroEscaneo;
class ModeloBusqueda;
struct FiltroBusqueda;
enum class Registro;

class frmReimprimirTickets : public VentanaHija {
    Q_OBJECT
public:
    explicit frmReimprimirTickets(QWidget* parent = nullptr);

    // From the date of calFecha at the time of calHoraInicio to the date of calFechaFin at the
    // time of calHoraFin, both included: what every search, listing, summary and closing reads.
    PeriodoInforme periodoElegido() const;
    // For a level-6 user, puts each date picker that left today back on today, with its message.
    // True when both pickers already held a date the user may choose.
    bool verificarFechasNivel6();

    QLabel* Label1;
    QDateEdit* calFecha;
    QLabel* Label2;
    QTimeEdit* calHoraInicio;
    QLabel* Label3;
    QDateEdit* calFechaFin;
    QLabel* Label4;
    QTimeEdit* calHoraFin;
    QRadioButton* optEntradas;
    EtiquetaPulsable* Label7;
    QRadioButton* optSalidas;
    EtiquetaPulsable* Label9;
    QLabel* Label5;
    QLineEdit* txtPlaca;
    QCheckBox* chkTarifa;
    EtiquetaPulsable* Label6;
    QComboBox* comTarifa;
    QLabel* Label8;
    QPushButton* btnBuscar;
    QPushButton* btnImprimir;
    QPushButton* btnResumenVentas;
    QPushButton* btnEfectuarRCierre;
    QPushButton* btnImprimirListado;
    QPushButton* btnListadoClientes;
    QPushButton* btnListadoExentos;
    QPushButton* btnListadoPagos;
    QPushButton* btnTurnosDia;
    QTreeView* ListView1;
    QPlainTextEdit* txtListadoPagos;
    QPushButton* btnCerrarPagos;

public slots:
    void btnBuscarClicked();
    // Finds the entry, or its exit, that a scanned ticket names, and selects it.
    void codigoLeido(const QString& codigo);
    void Label7Clicked();
    void Label9Clicked();
    void calFechaChange();
    void calFechaFinChange();
    void ListView1ItemClicked(const QModelIndex& indice);
    void ListView1SelectionChanged();
    void ListView1DoubleClicked();
    void ListView1RightClicked(const QPoint& posicion);
    void btnImprimirClicked();
    void btnResumenVentasClicked();
    void btnEfectuarRCierreClicked();
    void btnImprimirListadoClicked();
    void btnListadoClientesClicked();
    void btnListadoExentosClicked();
    void btnListadoPagosClicked();
    void btnTurnosDiaClicked();
    void btnCerrarPagosClicked();

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;

private:
    void construirControles();
    void construirBotones();
    void disponerControles();
    void ordenarTabulacion();
    void conectar();
    void cargar();
    void mostrarPanel(const QStringList& lineas);
    void cargarTarifas();
    FiltroBusqueda filtroElegido() const;
    // Puts a date picker back on today when the user may not leave it, with `mensaje`.
    bool guardarFecha(QDateEdit* calendario, const QString& mensaje);
    void listarRegistro(Registro registro, const QString& archivo, const QString& boton);
    void colocarPanelPagos();
    void cubrirConPanel(bool cubrir);

    ModeloBusqueda* modelo_ = nullptr;
    QList<QPointer<QWidget>> cubiertos_;
};
