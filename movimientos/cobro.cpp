#include "movimientos/cobro.h"

#include "principal/formatos.h"

#include <QMap>
#include <algorithm>
#include <ctime>
#include <numeric>

int64_t MinutosEntre(const QDateTime& entrada, const QDateTime& salida) {
    // Wall-clock arithmetic: a change to or from summer time does not lengthen or shorten a stay.
    auto minutoDe = [](const QDateTime& m) {
        return QDateTime(m.date(), QTime(m.time().hour(), m.time().minute()), Qt::UTC);
    };
    return minutoDe(entrada).secsTo(minutoDe(salida)) / 60;
}

QString TextoEstancia(int64_t minutosTotales) {
    const int64_t dias = minutosTotales / 1440;
    const int64_t horas = (minutosTotales % 1440) / 60;
    const int64_t minutos = (minutosTotales % 1440) % 60;
    QString texto;
    if (dias > 0)
        texto += QString::number(dias) +
                 (dias == 1 ? QStringLiteral(" Día ") : QStringLiteral(" Días "));
    if (horas > 0)
        texto += QString::number(horas) +
                 (horas == 1 ? QStringLiteral(" Hora ") : QStringLiteral(" Horas "));
    if (minutos > 0)
        texto += QString::number(minutos) +
                 (minutos == 1 ? QStringLiteral(" Minuto.") : QStringLiteral(" Minutos."));
    return texto.isEmpty() ? QStringLiteral("0 Minutos.") : texto;
}

int64_t CalcularCobro(int64_t minutosTotales, int64_t tarifa, int64_t tiempo,
                      const OpcionesCobro& opciones) {
    if (tiempo <= 0)
        return 0;
    const int64_t minutos = minutosTotales < 0 ? 0 : minutosTotales;
    int64_t cobrado;
    if (!opciones.cobroCompleto) {
        cobrado = static_cast<int64_t>(
            RedondeoPar(static_cast<double>(minutos) / static_cast<double>(tiempo) *
                        static_cast<double>(tarifa)));
    } else {
        // The smallest number of units that covers the stay, at least one.
        const int64_t unidades = minutos <= tiempo ? 1 : (minutos + tiempo - 1) / tiempo;
        cobrado = unidades * tarifa;
    }
    // Under an hour one unit whatever the count; from an hour on never less, so that a longer
    // stay never costs less than a shorter one.
    if (opciones.cobroPrimeraHora && (minutos < 60 || cobrado < tarifa))
        cobrado = tarifa;
    return cobrado;
}

QString DuracionCorta(int64_t minutos) {
    const int64_t h = minutos / 60, m = minutos % 60;
    if (h == 0)
        return QStringLiteral("%1 min").arg(m);
    return m == 0 ? QStringLiteral("%1 h").arg(h) : QStringLiteral("%1 h %2 min").arg(h).arg(m);
}

namespace {

constexpr int64_t kDia = 1440;
constexpr int64_t kSemana = 7 * kDia;

// Minutes since the epoch of an instant's minute (its seconds dropped, in local time).
int64_t minutoDe(const QDateTime& m) {
    return (m.toSecsSinceEpoch() - m.time().second()) / 60;
}

int64_t divPiso(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// The band that holds a local minute of the day on a local day (days since the epoch), and the
// day its occurrence began; -1 outside every band.
std::pair<int, int64_t> franjaEn(const QVector<FranjaTarifa>& franjas, int64_t dia, int64_t m) {
    const auto tiene = [](const FranjaTarifa& f, int64_t d) {
        // 1970-01-01 was a Thursday, the fourth day from Monday.
        return (f.dias >> static_cast<int>(d + 3 - divPiso(d + 3, 7) * 7) & 1) != 0;
    };
    for (int i = 0; i < franjas.size(); ++i) {
        const FranjaTarifa& f = franjas[i];
        if (f.inicio == f.fin) {
            if (tiene(f, dia))
                return {i, dia};
        } else if (f.inicio < f.fin) {
            if (m >= f.inicio && m < f.fin && tiene(f, dia))
                return {i, dia};
        } else if (m >= f.inicio && tiene(f, dia)) {
            return {i, dia};
        } else if (m < f.fin && tiene(f, dia - 1)) {
            return {i, dia - 1};
        }
    }
    return {-1, dia};
}

// Minutes and flat occurrences of one band (or of the price outside the bands) in one period.
struct Tramo {
    int64_t minutos = 0;
    int64_t veces = 0;
};

int64_t valorTramo(const Tramo& t, int64_t precio, int64_t tiempo, bool completo) {
    if (t.minutos == 0)
        return 0;
    if (!completo)
        return static_cast<int64_t>(
            RedondeoPar(static_cast<double>(t.minutos) / static_cast<double>(tiempo) *
                        static_cast<double>(precio)));
    return (t.minutos + tiempo - 1) / tiempo * precio;
}

// Local offset in minutes at a minute since the epoch, as QDateTime reads it. Straight from libc:
// QDateTime looks the zone up again on every call, hundreds in a month's stay, so `repartir`
// looks it up once.
int64_t desfaseEn(int64_t minuto) {
    const time_t segundos = minuto * 60;
    tm local{};
    localtime_r(&segundos, &local);
    return local.tm_gmtoff / 60;
}

// Where the piece of stay from minute `t` (local minute of the day `m`) ends: at the next edge of
// a band or of the day, of a 24-hour cap period or a week, of the stay, or of a change of the
// clocks.
int64_t finDePieza(int64_t t, int64_t m, int64_t inicio, int64_t fin, const ReglasTarifa& reglas) {
    int64_t borde = kDia;
    for (const FranjaTarifa& f : reglas.franjas)
        for (int64_t b : {int64_t(f.inicio), int64_t(f.fin)})
            if (b > m && b < borde)
                borde = b;
    int64_t hasta = qMin(fin, t + (borde - m));
    if (reglas.tope && !reglas.topeDiaCalendario)
        hasta = qMin(hasta, inicio + ((t - inicio) / kDia + 1) * kDia);
    if (reglas.topeSemanal)
        hasta = qMin(hasta, inicio + ((t - inicio) / kSemana + 1) * kSemana);
    const int64_t des = desfaseEn(t);
    if (desfaseEn(hasta - 1) != des) {
        int64_t a = t, b = hasta - 1;
        while (b - a > 1) {
            const int64_t medio = a + (b - a) / 2;
            (desfaseEn(medio) == des ? a : b) = medio;
        }
        hasta = b;
    }
    return hasta;
}

// The minutes of one time the stay is inside a band with a maximum, and the period it began in.
struct Ocurrencia {
    int franja = 0;
    int64_t periodo = 0;
    int64_t minutos = 0;
};

// The stay's pieces summed per cap period and per band (the price outside every band first),
// the week from the entry each period begins in, and each time inside a band with a maximum.
struct Reparto {
    QVector<QVector<Tramo>> periodos;
    QVector<int64_t> semanas;
    QVector<Ocurrencia> ocurrencias;
};

// The period of the piece at `t` (local day `dia`): a day of the cap, else a week of the weekly
// cap, else the whole stay.
int64_t periodoDe(int64_t t, int64_t dia, int64_t inicio, int64_t diaEntrada,
                  const ReglasTarifa& reglas) {
    if (reglas.tope)
        return reglas.topeDiaCalendario ? dia - diaEntrada : (t - inicio) / kDia;
    return reglas.topeSemanal ? (t - inicio) / kSemana : 0;
}

// The stay's minutes from `desde` to `fin` cut into pieces and summed per band and per period,
// the periods counted from `inicio`.
Reparto repartir(int64_t inicio, int64_t desde, int64_t fin, const ReglasTarifa& reglas) {
    const int nFranjas = static_cast<int>(reglas.franjas.size());
    Reparto reparto;
    auto& periodos = reparto.periodos;
    int ultimaFranja = -2;
    int64_t ultimoDia = 0;
    tzset();
    const int64_t diaEntrada = divPiso(inicio + desfaseEn(inicio), kDia);
    for (int64_t t = desde; t < fin;) {
        const int64_t local = t + desfaseEn(t), dia = divPiso(local, kDia), m = local - dia * kDia;
        const int64_t hasta = finDePieza(t, m, inicio, fin, reglas);
        const int64_t periodo = periodoDe(t, dia, inicio, diaEntrada, reglas);
        while (periodos.size() <= periodo) {
            periodos.append(QVector<Tramo>(nFranjas + 1));
            reparto.semanas << (t - inicio) / kSemana;
        }
        const auto [franja, diaFranja] = franjaEn(reglas.franjas, dia, m);
        Tramo& tramo = periodos[periodo][franja + 1];
        tramo.minutos += hasta - t;
        const bool otraVez = franja != ultimaFranja || diaFranja != ultimoDia;
        if (otraVez)
            ++tramo.veces;
        if (franja >= 0 && reglas.franjas[franja].maximo) {
            if (otraVez)
                reparto.ocurrencias.append({franja, periodo, 0});
            reparto.ocurrencias.last().minutos += hasta - t;
        }
        ultimaFranja = franja;
        ultimoDia = diaFranja;
        t = hasta;
    }
    return reparto;
}

// Per band (the price outside every band first) over the whole stay, with what its maximum
// took off, and what the first unit added (or took off, under an hour) and the caps took off.
struct Totales {
    QVector<int64_t> valor, minutos, veces, maximo;
    int64_t primera = 0, recorte = 0, recorteSemanal = 0;
};

// What the weekly cap takes off the periods' charges once each is within its own cap.
int64_t recorteSemanal(const QVector<int64_t>& sumas, const QVector<int64_t>& semanas,
                       const ReglasTarifa& reglas) {
    if (!reglas.topeSemanal)
        return 0;
    QMap<int64_t, int64_t> porSemana;
    for (int p = 0; p < sumas.size(); ++p)
        // An empty stay's one unit has no period: it is in the first week.
        porSemana[semanas.value(p)] += reglas.tope ? qMin(sumas[p], *reglas.tope) : sumas[p];
    int64_t recorte = 0;
    for (int64_t suma : porSemana)
        recorte += qMax<int64_t>(0, suma - *reglas.topeSemanal);
    return recorte;
}

// What the tiers charge for the minutes outside every band: the first tier that holds them, or
// the last one's price and what follows it.
int64_t precioTramos(int64_t minutos, int64_t tarifa, int64_t tiempo, bool completo,
                     const ReglasTarifa& reglas) {
    if (minutos <= 0)
        return 0;
    for (const TramoTarifa& t : reglas.tramos)
        if (minutos <= t.hasta)
            return t.valor;
    const TramoTarifa& ultimo = reglas.tramos.last();
    const int64_t resto = minutos - ultimo.hasta;
    return ultimo.valor + (reglas.diaTrasTramos ? (resto + kDia - 1) / kDia * *reglas.diaTrasTramos
                                                : valorTramo({resto, 0}, tarifa, tiempo, completo));
}

// Each period's charge by its bands, the bands with a maximum left to `sumarOcurrencias`. With
// tiers, the minutes outside every band pay what they add to the tiers' price so far.
QVector<int64_t> sumarTramos(Totales& total, const Reparto& reparto, int64_t tarifa, int64_t tiempo,
                             bool completo, const ReglasTarifa& reglas) {
    const auto tramos = [&](int64_t m) {
        return precioTramos(m, tarifa, tiempo, completo, reglas);
    };
    QVector<int64_t> sumas(reparto.periodos.size());
    for (int p = 0; p < sumas.size(); ++p)
        for (int i = 0; i < total.valor.size(); ++i) {
            const Tramo& tr = reparto.periodos[p][i];
            const FranjaTarifa* f = i > 0 ? &reglas.franjas[i - 1] : nullptr;
            const int64_t antes = total.minutos[i];
            total.minutos[i] += tr.minutos;
            total.veces[i] += tr.veces;
            if (f && f->maximo)
                continue;
            const int64_t v =
                f && f->fijo ? tr.veces * *f->fijo
                : !f && !reglas.tramos.isEmpty()
                    ? tramos(antes + tr.minutos) - tramos(antes)
                    : valorTramo(tr, f ? f->tarifa.value_or(0) : tarifa, tiempo, completo);
            total.valor[i] += v;
            sumas[p] += v;
        }
    return sumas;
}

// Each time inside a band with a maximum, charged alone and cut to the maximum, in the period
// it began in.
void sumarOcurrencias(Totales& total, QVector<int64_t>& sumas, const Reparto& reparto,
                      int64_t tiempo, bool completo, const ReglasTarifa& reglas) {
    for (const Ocurrencia& o : reparto.ocurrencias) {
        const FranjaTarifa& f = reglas.franjas[o.franja];
        const int64_t v =
            f.fijo ? *f.fijo : valorTramo({o.minutos, 1}, f.tarifa.value_or(0), tiempo, completo);
        const int64_t recorte = qMax<int64_t>(0, v - *f.maximo);
        total.valor[o.franja + 1] += v;
        total.maximo[o.franja + 1] += recorte;
        sumas[o.periodo] += v - recorte;
    }
}

Totales valorar(const Reparto& reparto, int64_t tarifa, int64_t tiempo,
                const OpcionesCobro& opciones, const ReglasTarifa& reglas, bool menosDeUnaHora) {
    const QVector<int64_t> ceros(reglas.franjas.size() + 1);
    Totales total{ceros, ceros, ceros, ceros};
    QVector<int64_t> sumas =
        sumarTramos(total, reparto, tarifa, tiempo, opciones.cobroCompleto, reglas);
    sumarOcurrencias(total, sumas, reparto, tiempo, opciones.cobroCompleto, reglas);
    // With tiers, their first is the stay's first unit.
    const bool primeraHora = opciones.cobroPrimeraHora && reglas.tramos.isEmpty();
    if (primeraHora && !menosDeUnaHora && !sumas.isEmpty() && sumas[0] < tarifa) {
        total.primera = tarifa - sumas[0];
        sumas[0] = tarifa;
    }
    if (reglas.precioBloque) {
        // The block is charged in the first period, even when nothing follows it.
        sumas.resize(qMax<qsizetype>(sumas.size(), 1));
        sumas[0] += *reglas.precioBloque;
    }
    if (primeraHora && menosDeUnaHora) {
        // Under an hour the stay is one unit, whatever its bands counted, as without rules.
        total.primera = tarifa - std::accumulate(sumas.begin(), sumas.end(), int64_t(0));
        sumas = {tarifa};
    }
    for (int64_t suma : sumas)
        if (reglas.tope && suma > *reglas.tope)
            total.recorte += suma - *reglas.tope;
    total.recorteSemanal = recorteSemanal(sumas, reparto.semanas, reglas);
    return total;
}

int64_t sumaItems(const QVector<ItemCobro>& items) {
    int64_t suma = 0;
    for (const ItemCobro& i : items)
        suma += i.valor;
    return suma;
}

// The tier that held the minutes outside the bands, or the last one and what came after it.
void anotarTramos(QVector<ItemCobro>& items, int64_t minutos, int64_t valor,
                  const ReglasTarifa& reglas) {
    const auto tramo = std::find_if(reglas.tramos.begin(), reglas.tramos.end(),
                                    [&](const TramoTarifa& t) { return minutos <= t.hasta; });
    const TramoTarifa& t = tramo != reglas.tramos.end() ? *tramo : reglas.tramos.last();
    const bool dentro = minutos <= t.hasta;
    // The amount is the one charged, so the items add up to what the caps and minimum saw.
    items << ItemCobro{QStringLiteral("Tramo hasta ") + DuracionCorta(t.hasta),
                       dentro ? valor : t.valor};
    if (dentro)
        return;
    const int64_t resto = minutos - t.hasta, dias = (resto + kDia - 1) / kDia;
    const QString despues = !reglas.diaTrasTramos ? QStringLiteral("Tarifa ") + DuracionCorta(resto)
                            : dias > 1 ? QStringLiteral("Días adicionales x%1").arg(dias)
                                       : QStringLiteral("Día adicional");
    items << ItemCobro{despues, valor - t.valor};
}

// One item per band the stay touched, then the first unit, the caps and the minimum. Answers
// whether any of them is a rule beyond the plain price.
bool anotarItems(QVector<ItemCobro>& items, const Totales& total, const ReglasTarifa& reglas) {
    bool aplicada = false;
    for (int i = 0; i < total.minutos.size(); ++i) {
        if (total.minutos[i] == 0)
            continue;
        const FranjaTarifa* f = i > 0 ? &reglas.franjas[i - 1] : nullptr;
        if (!f && !reglas.tramos.isEmpty()) {
            anotarTramos(items, total.minutos[0], total.valor[0], reglas);
            aplicada = true;
            continue;
        }
        QString concepto = f ? f->nombre : QStringLiteral("Tarifa");
        if (f && f->fijo)
            concepto += total.veces[i] > 1 ? QStringLiteral(" x%1").arg(total.veces[i]) : QString();
        else
            concepto += QLatin1Char(' ') + DuracionCorta(total.minutos[i]);
        items << ItemCobro{concepto, total.valor[i]};
        if (total.maximo[i] > 0)
            items << ItemCobro{QStringLiteral("Máximo %1 aplicado").arg(f->nombre),
                               -total.maximo[i]};
        aplicada = aplicada || f;
    }
    aplicada = aplicada || total.primera != 0 || total.recorte > 0 || total.recorteSemanal > 0;
    if (total.primera != 0)
        items << ItemCobro{QStringLiteral("Primera hora completa"), total.primera};
    if (total.recorte > 0)
        items << ItemCobro{reglas.topeDiaCalendario ? QStringLiteral("Tope diario aplicado")
                                                    : QStringLiteral("Tope por 24 h aplicado"),
                           -total.recorte};
    if (total.recorteSemanal > 0)
        items << ItemCobro{QStringLiteral("Tope semanal aplicado"), -total.recorteSemanal};
    const int64_t suma = sumaItems(items);
    if (reglas.minimo && suma < *reglas.minimo) {
        items << ItemCobro{QStringLiteral("Cobro mínimo"), *reglas.minimo - suma};
        aplicada = true;
    }
    return aplicada;
}

// The stay's charge under the rate's first block, bands, first unit, caps and minimum (steps 4
// to 10).
bool cobrarPorReglas(QVector<ItemCobro>& items, int64_t inicio, int64_t minutos, int64_t tarifa,
                     int64_t tiempo, OpcionesCobro opciones, const ReglasTarifa& reglas) {
    int64_t desde = inicio;
    if (reglas.precioBloque) {
        items << ItemCobro{QStringLiteral("Primer bloque ") + DuracionCorta(reglas.minutosBloque),
                           *reglas.precioBloque};
        desde += qMin(minutos, reglas.minutosBloque);
        opciones.cobroPrimeraHora = false;
    }
    // Whole units charge one unit for an empty stay, as the plain price does, and tiers their
    // first, unless a block already charged it.
    const bool unMinuto =
        (opciones.cobroCompleto || !reglas.tramos.isEmpty()) && !reglas.precioBloque;
    const int64_t fin = inicio + (unMinuto ? qMax<int64_t>(minutos, 1) : minutos);
    const Totales total = valorar(repartir(inicio, desde, fin, reglas), tarifa, tiempo, opciones,
                                  reglas, minutos < 60);
    return anotarItems(items, total, reglas) || reglas.precioBloque;
}

// The first flat whose window holds the entry, on the day the window began, and whose exit time,
// where set, the exit keeps; none, nullptr.
const TarifaPlana* planaQueAplica(const QDateTime& entrada, const QDateTime& salida,
                                  const ReglasTarifa& reglas) {
    const int minuto = entrada.time().hour() * 60 + entrada.time().minute();
    for (const TarifaPlana& p : reglas.planas)
        for (int atras : {0, 1}) {
            const QDate dia = entrada.date().addDays(-atras);
            const int enVentana = minuto + atras * static_cast<int>(kDia);
            if ((p.dias >> (dia.dayOfWeek() - 1) & 1) == 0 || enVentana < p.desde ||
                enVentana >= p.hasta)
                continue;
            if (!p.salidaHasta)
                return &p;
            const int64_t fin = p.desde + (*p.salidaHasta - p.desde + kDia - 1) % kDia + 1;
            const QDateTime limite(dia.addDays(fin / kDia), QTime(fin % kDia / 60, fin % 60));
            if (minutoDe(salida) <= minutoDe(limite))
                return &p;
        }
    return nullptr;
}

// The lost-ticket amount replaces the charge unless the stay costs more.
void aplicarTicketPerdido(Cobro& cobro, const ReglasTarifa& reglas) {
    if (reglas.ticketPerdido && *reglas.ticketPerdido > cobro.valor) {
        cobro.items = {ItemCobro{QStringLiteral("Ticket perdido"), *reglas.ticketPerdido}};
        cobro.valor = *reglas.ticketPerdido;
    } else {
        cobro.items << ItemCobro{QStringLiteral("Ticket perdido: se cobra la estancia"), 0};
    }
}

} // namespace

Cobro EvaluarCobro(const QDateTime& entrada, const QDateTime& salida, int64_t tarifa,
                   int64_t tiempo, const OpcionesCobro& opciones, const ReglasTarifa& reglas,
                   bool ticketPerdido) {
    Cobro cobro;
    if (reglas.vacias() && !ticketPerdido) {
        cobro.valor = CalcularCobro(MinutosEntre(entrada, salida), tarifa, tiempo, opciones);
        return cobro;
    }
    bool aplicada = false;
    const int64_t inicio = minutoDe(entrada);
    const int64_t minutos = qMax<int64_t>(0, minutoDe(salida) - inicio);
    if (reglas.vacias()) {
        // The normal exit counts wall-clock minutes: a lost ticket never charges less.
        const int64_t cobrados = qMax(minutos, MinutosEntre(entrada, salida));
        cobro.items << ItemCobro{QStringLiteral("Estancia %1").arg(DuracionCorta(cobrados)),
                                 CalcularCobro(cobrados, tarifa, tiempo, opciones)};
    } else if (tiempo <= 0) {
        // A rate without a unit charges nothing, whatever its rules.
    } else if (reglas.gracia > 0 && minutos <= reglas.gracia) {
        cobro.items << ItemCobro{QStringLiteral("Gracia %1 min").arg(reglas.gracia), 0};
        aplicada = true;
    } else if (const TarifaPlana* plana = planaQueAplica(entrada, salida, reglas)) {
        cobro.items << ItemCobro{QStringLiteral("Tarifa plana ") + plana->nombre, plana->valor};
        aplicada = true;
        if (minutos > kDia)
            cobrarPorReglas(cobro.items, inicio + kDia, minutos - kDia, tarifa, tiempo, opciones,
                            reglas);
    } else if (reglas.libres > 0) {
        cobro.items << ItemCobro{QStringLiteral("Minutos libres %1 min").arg(reglas.libres), 0};
        aplicada = true;
        if (minutos > reglas.libres)
            cobrarPorReglas(cobro.items, inicio + reglas.libres, minutos - reglas.libres, tarifa,
                            tiempo, opciones, reglas);
    } else {
        aplicada = cobrarPorReglas(cobro.items, inicio, minutos, tarifa, tiempo, opciones, reglas);
    }
    cobro.valor = sumaItems(cobro.items);
    // The price alone, outside every band, with no rule changing it, is no rule applied.
    cobro.explicado = aplicada || ticketPerdido;
    if (ticketPerdido)
        aplicarTicketPerdido(cobro, reglas);
    return cobro;
}

QStringList LineasItems(const QVector<ItemCobro>& items, const QString& moneda) {
    QStringList lineas;
    for (const ItemCobro& i : items)
        lineas << i.concepto + (i.valor < 0 ? QStringLiteral(" -") : QStringLiteral(" ")) + moneda +
                      (i.valor == 0 ? QStringLiteral("0") : FormatoMiles(qAbs(i.valor)));
    return lineas;
}
