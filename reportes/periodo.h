#pragma once
// The period every search, listing, summary and closing of the reprint window reads: the date
// of calFecha with the time of calHoraInicio, to the date of calFechaFin with the time of
// calHoraFin, both bounds included.

#include <QDateTime>

struct PeriodoInforme {
    QDateTime inicio;
    QDateTime fin;
};
