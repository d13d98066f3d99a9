#pragma once
// The cash closing of a period: the closings already made in its days, the new closing stored
// under its own key, the reprint of a stored one, and the closing's document.

#include "bd/cambio.h"
#include "reportes/periodo.h"
#include "reportes/resumenventas.h"
#include "turnos/rastroauditoria.h"
#include "turnos/turnos.h"

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
    // Cash of the period taken outside any shift, apart from the figures.
    CajaSinTurno sinTurno{};
    std::optional<AnclaAuditoria> ancla{}; // the trail's head just after a closing made now
};

// The user logged in as the Cajero column keeps it: name and both surnames.
QString NombreCajero();

// What the attendant confirms before a new closing, made at `ahora`, and before a reprint;
// `cambios` are the lines that tell what happened to the period's exits since the closing.
QString PreguntaCierre(const PeriodoInforme& periodo, const QString& cajero,
                       const QDateTime& ahora);
QString PreguntaReimpresionCierre(const PeriodoInforme& periodo, const QString& cajero,
                                  const QStringList& cambios);

// A closing holds the period's exits up to its print time.
PeriodoInforme PeriodoHastaImpresion(const PeriodoInforme& periodo, const QDateTime& impreso);

// The stored closing against the period's exits now, read up to its print time (`hasta`) and
// after it (`despues`): "Ventas posteriores al cierre: N registros, $X" for the sales made
// after it, and "Cambios posteriores en los registros del cierre: N registros menos, $X menos"
// when the rows it counted were corrected or removed since. No line when nothing changed.
QStringList CambiosDesdeCierre(const CifrasVentas& guardadas,
                               const std::optional<CifrasVentas>& hasta,
                               const std::optional<CifrasVentas>& despues);

// The closing's document; `reimpresion` is the moment of a reprint, none for a first print;
// `cambios` follow the stored figures; the anchor line comes last, when there is one.
QStringList LineasCierre(const PeriodoInforme& periodo, const CierreCaja& cierre,
                         const std::optional<QDateTime>& reimpresion,
                         const QStringList& cambios = {});

// Stores the closing of the period made at `momento` by `cajero` with the figures of its exits
// up to that moment: the row, its number (the row's own key) and the number written into it,
// checked and written under the write lock, with its row of the audit trail and the anchor that
// follows it. Refusals: YaCerrado (another station closed the same period first; `valor` is its
// stored closing), SinRegistros (the period holds no exits). Faults: ErrorBD, nothing written.
Cambio<CierreCaja> GrabarCierre(const PeriodoInforme& periodo, const QDateTime& momento,
                                const QString& cajero);

// The click of btnEfectuarRCierre once the window has read its period: the listing of the
// closings in its days, then a new closing or the reprint of the period's stored one, with
// their questions, document, log lines and boxes. False when a new closing found no exits
// (the window then shows no tickets in its title).
bool EfectuarCierre(const PeriodoInforme& periodo, const QString& cajero);
