#pragma once
// The owner's view of a period: its key figures and four charts, and the report saved for any
// browser.

#include "principal/ui/ventanahija.h"
#include "reportes/tablero.h"

#include <QDate>
#include <QMap>
#include <optional>
#include <utility>

class QDateEdit;
class QLabel;
class QPushButton;
class GraficoTablero;

enum class AtajoPeriodo { Ayer, EstaSemana, EsteMes, EsteAnio };
// The first and last days a shortcut gives on `hoy`: a week starts on Monday; this week, month
// and year end today.
std::pair<QDate, QDate> DiasDeAtajo(AtajoPeriodo atajo, const QDate& hoy);

class frmTablero : public VentanaHija {
    Q_OBJECT
public:
    explicit frmTablero(QWidget* parent = nullptr);

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

private:
    void construirControles();
    QWidget* construirCifras();
    void conectar();
    // The chosen days, whole; nothing (with its box) when the last precedes the first.
    std::optional<PeriodoInforme> periodoElegido();
    // Reads the figures and shows them; false when cancelled.
    bool leer(const PeriodoInforme& periodo);
    void mostrar(const Tablero& tablero);

    std::optional<Tablero> tablero_;
};
