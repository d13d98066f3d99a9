#pragma once
// The four charts of the owner's figures as plain descriptions: what the window paints and the
// report draws as SVG, so both show the same titles, axes and values.

#include "reportes/tablero.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <utility>

enum class ClaseGrafico { Barras, Mapa };

struct SerieGrafico {
    QString nombre;
    QVector<double> valores; // one per category
    bool aparte = false;     // a bar of its own beside the stack
};

struct Grafico {
    ClaseGrafico clase = ClaseGrafico::Barras;
    QString titulo;
    QString ejeX;
    QString ejeY;
    QStringList categorias;
    // Bars: stacked in order. Map: one row each, its name the row's label.
    QVector<SerieGrafico> series;
    bool dinero = false;
    double limite = 0; // a line across the bars (the capacity); 0 draws none
    QString nombreLimite;
    QVector<std::pair<QString, double>> marcas; // vertical marks, in categories from the left
};

// One key figure: its key in the report, its name, its value as a plain number (an ISO time
// for the hour of the highest occupancy) and as the attendant reads it.
struct CifraClave {
    QString clave;
    QString nombre;
    QString valor;
    QString texto;
};
QVector<CifraClave> CifrasClave(const Tablero& tablero);

// Occupancy by hour, revenue per day, entries by weekday and hour, stay lengths; `cupo` is the
// lot's capacity.
QVector<Grafico> GraficosTablero(const Tablero& tablero, int cupo);

// The value axis: its top and step, round numbers above the largest value.
struct EscalaEje {
    double tope = 1;
    double paso = 1;
};
EscalaEje Escala(const Grafico& g);
// The ticks' texts, from 0 up to the top, amounts in the lot's currency.
QStringList EtiquetasEje(const Grafico& g);
QString TextoValor(const Grafico& g, double valor);
// The height a bar reaches: its stack, or its own bar when apart, whichever is higher.
double AlturaCategoria(const Grafico& g, int categoria);
// Every `n`-th category is labelled so that at most `maximo` labels show.
int PasoEtiquetas(int categorias, int maximo);
// The colour of the i-th series (#rrggbb); over the limit a bar takes kColorExceso.
QString ColorSerie(int i);
inline const QString kColorExceso = QStringLiteral("#c62828");
