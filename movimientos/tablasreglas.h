#pragma once
// The rates' rules typed as tables, one row per tier or entry-time flat: read strictly cell by
// cell, and written back as they read.

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

// The flats' rows as typed, {name, entry from, entry until, exit by, days, amount}: times as
// HH:MM, the entry's end with "+1" when it is on the next day ("02:00+1"), the exit's empty when
// any exit is kept, the days as the bands' letters LMXJVSD. Refusals: a cell that is no such
// value, no name, no day, a window that ends before it starts or lasts over a day, an exit time
// inside the window.
std::optional<ErrorCelda> LeerPlanas(const QVector<QStringList>& filas, ReglasTarifa& reglas);
// The rows that read back as the rules' flats.
QVector<QStringList> TextosPlanas(const ReglasTarifa& reglas);
