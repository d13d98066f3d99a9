#pragma once
// The owner's view of a period: its key figures and four charts, and the report saved for any
// browser.

#include "principal/ui/ventanahija.h"
#include "reportes/tablero.h"

#include <QDate>
#include <QMap>
#include <QPointer>
#include <atomic>
#include <exception>
#include <optional>
#include <utility>

class QDateEdit;
class QLabel;
class QProgressDialog;
class QPushButton;
class QThread;
class QTimer;
class GraficoTablero;

enum class AtajoPeriodo { Ayer, EstaSemana, EsteMes, EsteAnio };
// The first and last days a shortcut gives on `hoy`: a week starts on Monday; this week, month
// and year end today.
std::pair<QDate, QDate> DiasDeAtajo(AtajoPeriodo atajo, const QDate& hoy);

class frmTablero : public VentanaHija {
    Q_OBJECT
public:
    explicit frmTablero(QWidget* parent = nullptr);
    // A read still under way is cancelled and waited for: it stops at its next step.
    ~frmTablero() override;

    QDateEdit* calDesde;
    QDateEdit* calHasta;
    QPushButton* btnAyer;
    QPushButton* btnEstaSemana;
    QPushButton* btnEsteMes;
    QPushButton* btnEsteAnio;
    QPushButton* btnActualizar;
    QPushButton* btnGuardarInforme;
    QMap<QString, QLabel*> lblCifras; // by the figure's key in the report
    GraficoTablero* graOcupacion;
    GraficoTablero* graIngresos;
    GraficoTablero* graEntradasSemana;
    GraficoTablero* graEstancias;

public slots:
    void btnActualizarClicked();
    void btnGuardarInformeClicked();
    void btnAtajoClicked(AtajoPeriodo atajo);

signals:
    // A read ended: its figures shown, cancelled or failed.
    void lecturaTerminada();

private:
    void construirControles();
    QWidget* construirCifras();
    void conectar();
    // The chosen days, whole up to now; nothing (with its box) when the last precedes the
    // first.
    std::optional<PeriodoInforme> periodoElegido();
    // Starts reading the figures on the worker thread; they are shown (and the report saved,
    // with `guardar`) when the read ends.
    void leer(const PeriodoInforme& periodo, bool guardar);
    void mostrarProgreso();
    void alAvanzar(int hechos, int pasos);
    void alTerminar(const std::optional<Tablero>& leido, const std::exception_ptr& fallo,
                    bool guardar);
    void mostrar(const Tablero& tablero);
    void guardarInforme();
    void permitirCambios(bool permitir);

    std::optional<Tablero> tablero_;
    QThread* hilo_;
    QObject* lector_; // lives on hilo_, whose connection it reads on
    QTimer* demoraProgreso_;
    QProgressDialog* progreso_ = nullptr;
    // Where the keys went before a read disabled the controls: they go there again after it.
    QPointer<QWidget> foco_;
    std::atomic_bool cancelar_{false};
};
