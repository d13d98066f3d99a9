#pragma once
// The cash closing of a period: the closings already made in its days, the new closing stored
// under its own key, the reprint of a stored one, and the closing's document.

#include "reportes/periodo.h"
#include "reportes/resumenventas.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

struct CierreCaja {
    int64_t numero = 0;
    QDateTime fechaImp;
    QString cajero;
    CifrasVentas cifras;
};

// The user logged in as the Cajero column keeps it: name and both surnames.
QString NombreCajero();

// What the attendant confirms before a new closing and before a reprint.
QString PreguntaCierre(const PeriodoInforme& periodo);
QString PreguntaReimpresionCierre(const PeriodoInforme& periodo);

// The closing's document; `reimpresion` is the moment of a reprint, none for a first print.
QStringList LineasCierre(const PeriodoInforme& periodo, const CierreCaja& cierre,
                         const std::optional<QDateTime>& reimpresion);

// Stores the closing of the period at `momento` with the figures of its exits: the row, its
// number (the row's own key) and the number written into it, in one transaction. Nothing is
// stored (nullopt) when the period holds no exits.
std::optional<CierreCaja> GrabarCierre(const PeriodoInforme& periodo, const QDateTime& momento);

// The click of btnEfectuarRCierre once the window has read its period: the listing of the
// closings in its days, then a new closing or the reprint of the period's stored one, with
// their questions, document, log lines and boxes. False when a new closing found no exits
// (the window then shows no tickets in its title).
bool EfectuarCierre(const PeriodoInforme& periodo);
