#pragma once
// The rates' rules typed as tables, one row per tier: read strictly cell by cell, and written
// back as they read.

#include "movimientos/cobro.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>
#include <utility>

// A refused table: the message and the cell to fix (fila -1: the box beside the table).
struct ErrorCelda {
    QString texto;
    int fila = -1;
    int columna = 0;
};

// The tiers' rows as typed, {minutes, amount}, rows without text skipped; with `porDia` a stay
// beyond the last tier pays `valorDia` per further day, else the rate's price. Refusals: a cell
// that is no number, a row half typed, limits not rising or prices falling.
std::optional<ErrorCelda> LeerTramos(const QVector<QStringList>& filas, bool porDia,
                                     const QString& valorDia, ReglasTarifa& reglas);
// The rows and the day's amount that read back as the rules' tiers.
std::pair<QVector<QStringList>, QString> TextosTramos(const ReglasTarifa& reglas);
