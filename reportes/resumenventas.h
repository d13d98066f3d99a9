#pragma once
// The sales summary of a period: the figures of its exits, the printed page and
// ResumenVentas.txt. The cash closing prints and stores the same figures.

#include "principal/servicios.h"
#include "reportes/periodo.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

struct CifrasVentas {
    int64_t totalRegistros = 0;
    QString docIni;
    QString docFin;
    int64_t totalBase = 0;
    int64_t totalValorIva = 0;
    int64_t totalCobrado = 0;
};

// The exits whose FechaSalida lies in the period, both bounds included; nullopt when there are
// none. Base and tax are summed unrounded and rounded once, halves to even.
std::optional<CifrasVentas> LeerCifrasVentas(const PeriodoInforme& periodo);

// "Informe Diario", "Informe de rango: 1 día", "Informe de rango: N días"; nothing when the
// end date precedes the start date.
std::optional<QString> TipoInforme(const QDate& inicio, const QDate& fin);
// "Diciembre 06 de 2026".
QString FechaEnPalabras(const QDate& fecha);
// "Diciembre 06 de 2026 - 10:00:00 am".
QString MomentoEnPalabras(const QDateTime& momento);

// A blank printed line, as the tickets print it.
inline const QString kLineaVacia = QStringLiteral(" ");

// The lines from "Documento Inicial" to the total charged, with the blank lines between them:
// shared by the summary and the closing's document.
QStringList LineasCifras(const CifrasVentas& cifras);

// The printed page and the two lines of ResumenVentas.txt.
QStringList LineasResumenVentas(const PeriodoInforme& periodo, const CifrasVentas& cifras);
QStringList ArchivoResumenVentas(const PeriodoInforme& periodo, const CifrasVentas& cifras);

// One ticket-shaped document in the body font, marked as a copy when it is a reprint made at
// `reimpresion`.
TrabajoImpresion TrabajoDocumento(const QStringList& lineas,
                                  const std::optional<QDateTime>& reimpresion);
// That document printed; false when it was neither printed nor kept.
bool ImprimirDocumento(const QStringList& lineas, const std::optional<QDateTime>& reimpresion);

// The click of btnResumenVentas once the window has read its period: the figures, the
// question, the page and the file, with their log lines and boxes. False when the period holds
// no exits (the window then shows no tickets in its title).
bool ImprimirResumenVentas(const PeriodoInforme& periodo);
