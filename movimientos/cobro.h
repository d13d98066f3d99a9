#pragma once
// Pure rules of a stay: its length, its text and its fee.

#include <QDateTime>
#include <QString>
#include <cstdint>

// Minute boundaries crossed from entry to exit (seconds are ignored on both sides).
int64_t MinutosEntre(const QDateTime& entrada, const QDateTime& salida);

// "1 Día 2 Horas 5 Minutos."; "0 Minutos." for an empty stay.
QString TextoEstancia(int64_t minutosTotales);

struct OpcionesCobro {
    bool cobroCompleto = false;    // whole time units instead of proportional charging
    bool cobroPrimeraHora = false; // a stay under an hour pays one unit
};

// Amount for a stay under a rate of `tarifa` per `tiempo` minutes. A rate without a unit
// (tiempo <= 0) charges nothing, and so does a stay measured negative by disagreeing clocks.
int64_t CalcularCobro(int64_t minutosTotales, int64_t tarifa, int64_t tiempo,
                      const OpcionesCobro& opciones);
