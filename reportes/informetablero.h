#pragma once
// The owner's figures as one self-contained HTML file: the charts as inline SVG, and beside them
// the same figures as tables (`cifras`, `ocupacion`, `por-dia`) a program or a screen reader can
// read. Well-formed XML, no script, nothing fetched.

#include "reportes/tablero.h"

#include <QByteArray>
#include <QString>
#include <optional>

// "tablero_AAAAMMDD_AAAAMMDD.html" of the period's first and last days.
QString NombreInformeTablero(const PeriodoInforme& periodo);

QByteArray HtmlTablero(const Tablero& tablero);

// Writes the report, whole or not at all, where the listings go; its name, or nothing when it
// could not be written (the attendant is told why and the log says so).
std::optional<QString> GuardarInformeTablero(const Tablero& tablero);

// The report of the days of a closing's period up to `ahora`, read and written after the
// closing; nothing when it could not be written.
std::optional<QString> GuardarInformeDelCierre(const PeriodoInforme& periodo,
                                               const QDateTime& ahora);
