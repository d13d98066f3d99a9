#pragma once
// Pure rules of a stay: its length, its text and its fee, with a rate's optional rules.

#include <QDateTime>
#include <QString>
#include <QVector>
#include <cstdint>
#include <optional>

// Minute boundaries crossed from entry to exit (seconds are ignored on both sides).
int64_t MinutosEntre(const QDateTime& entrada, const QDateTime& salida);

// "1 Día 2 Horas 5 Minutos."; "0 Minutos." for an empty stay.
QString TextoEstancia(int64_t minutosTotales);

struct OpcionesCobro {
    bool cobroCompleto = false;    // whole time units instead of proportional charging
    bool cobroPrimeraHora = false; // a stay under an hour pays one unit, a longer one no less
};

// Amount for a stay under a rate of `tarifa` per `tiempo` minutes. A rate without a unit
// (tiempo <= 0) charges nothing, and so does a stay measured negative by disagreeing clocks.
int64_t CalcularCobro(int64_t minutosTotales, int64_t tarifa, int64_t tiempo,
                      const OpcionesCobro& opciones);

// A time band of a rate: minutes of the local day [inicio, fin) (fin <= inicio wraps past
// midnight, the part after it belonging to the day the band began; fin == inicio is the whole
// day), on the days of `dias` (Monday 1, Tuesday 2 ... Sunday 64), charging `tarifa` per unit
// of the rate's minutes, or `fijo` once for each time the stay is inside it. It charges at most
// `maximo` each time, when set.
struct FranjaTarifa {
    QString nombre;
    int inicio = 0;
    int fin = 0;
    int dias = 127;
    std::optional<int64_t> tarifa;
    std::optional<int64_t> fijo;
    std::optional<int64_t> maximo{};
};

// A price tier of a rate: a stay up to `hasta` minutes pays `valor`.
struct TramoTarifa {
    int64_t hasta = 0;
    int64_t valor = 0;
};

// A flat amount for a stay whose entry falls in a window of the day: minutes [desde, hasta) from
// the start of the day the window begins (hasta above 1440 ends the next day), on the days of
// `dias` (Monday 1 ... Sunday 64). With `salidaHasta` (a minute of the day) only when the exit
// comes by the first such time after the window's start, which the window ends by.
struct TarifaPlana {
    QString nombre;
    int desde = 0;
    int hasta = 0;
    int dias = 127;
    std::optional<int> salidaHasta;
    int64_t valor = 0;
};

// A rate's optional rules; all empty is the plain price.
struct ReglasTarifa {
    int64_t gracia = 0; // minutes
    std::optional<int64_t> minimo;
    std::optional<int64_t> tope;
    bool topeDiaCalendario = false; // per calendar day instead of per 24 hours from the entry
    std::optional<int64_t> ticketPerdido;
    QVector<FranjaTarifa> franjas;
    int64_t libres = 0;                 // minutes at the start of every stay that are not charged
    std::optional<int64_t> topeSemanal{}; // per 7 days from the entry
    int64_t minutosBloque = 0;            // the first block's minutes, charged
    std::optional<int64_t> precioBloque{}; // at this flat price
    // Limits ascending, prices never falling. Beyond the last tier each further 24 hours (or part)
    // pay `diaTrasTramos`, or without it the rate's price goes on from the last limit.
    QVector<TramoTarifa> tramos{};
    std::optional<int64_t> diaTrasTramos{};
    QVector<TarifaPlana> planas{};
    bool vacias() const {
        return gracia == 0 && !minimo && !tope && !ticketPerdido && franjas.isEmpty() &&
               libres == 0 && !topeSemanal && !precioBloque && tramos.isEmpty() && planas.isEmpty();
    }
};

// One line that explains a charge; the lines of a charge add up to its amount.
struct ItemCobro {
    QString concepto;
    int64_t valor = 0;
};

struct Cobro {
    int64_t valor = 0;
    QVector<ItemCobro> items;
    // A rule beyond the plain price applied: the ticket shows the items.
    bool explicado = false;
};

// The charge of a stay under a rate and its rules, in this order:
//  1. override: a lost ticket charges the rate's lost-ticket amount, or the stay's charge when
//     that is higher (clients and exempt vehicles never reach here: their entries carry no unit);
//  2. grace, when above 0: a stay up to the grace minutes costs 0;
//     then an entry-time flat, the first listed that holds the entry (and the exit, where it sets
//     a time): its amount replaces steps 3 to 9 for 24 hours from the entry, and what is left
//     goes on to steps 4 to 9 as if it began then;
//  3. free period: its minutes are taken off the start of the stay, and what is left goes on
//     to the next steps as if it began that much later (a stay no longer than it costs 0);
//  4. first block: its minutes (the first after the free period) cost its flat price, counted in
//     the first period; the rest goes on as if it began at the block's end, its periods still
//     counted from the block's start. The block is the stay's first charge: step 5 adds nothing,
//     and tiers count the minutes after the block;
//  5. first unit ("Cobrar primera hora completa"): a stay under an hour pays one unit, a longer
//     one at least one unit in its first period (not with tiers: their first tier is the first
//     unit);
//  6. units or proportion, over the minutes of each band within each period, rounded once; with
//     tiers, the minutes outside every band pay the first tier that holds all of them (an empty
//     stay counts one minute), each period the part of it its minutes added;
//  7. bands: the minutes outside every band go at the rate's own price; a flat band charges
//     its amount once each time the stay is inside it; a band with a maximum charges each time
//     the stay is inside it (rounded alone, in the period it began in) at most its maximum;
//  8. cap per period (24 hours from the entry, or a calendar day), each period capped alone;
//  9. weekly cap: what each 7 days from the entry charge after step 8 (a calendar day counts
//     in the week it begins in);
// 10. minimum.
// Without a cap the whole stay is one period (one per week with the weekly cap alone). Minutes come
// from the instants (a stay across a change of summer time lasts its real minutes); bands are read
// in local time. A rate without rules charges CalcularCobro over the wall-clock minutes, as ever,
// with no items; a lost ticket on it charges the longer of the real and the wall-clock stay.
Cobro EvaluarCobro(const QDateTime& entrada, const QDateTime& salida, int64_t tarifa,
                   int64_t tiempo, const OpcionesCobro& opciones, const ReglasTarifa& reglas,
                   bool ticketPerdido = false);

// "45 min", "2 h", "26 h 5 min".
QString DuracionCorta(int64_t minutos);

// One line per item, "Diurno 2 h $4.000", a discount with its minus sign: "-$3.000".
QStringList LineasItems(const QVector<ItemCobro>& items, const QString& moneda);
