#include "movimientos/cobro.h"

#include "principal/formatos.h"

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
    if (opciones.cobroPrimeraHora && minutos < 60)
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

int64_t desfase(int64_t segundos) {
    return QDateTime::fromSecsSinceEpoch(segundos).offsetFromUtc();
}

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
        cobro.valor = CalcularCobro(minutos, tarifa, tiempo, opciones);
        cobro.items << ItemCobro{QStringLiteral("Estancia %1").arg(DuracionCorta(minutos)),
                                 cobro.valor};
    } else if (tiempo <= 0) {
        // A rate without a unit charges nothing, whatever its rules.
    } else if (minutos <= reglas.gracia) {
        cobro.items << ItemCobro{QStringLiteral("Gracia %1 min").arg(reglas.gracia), 0};
        aplicada = true;
    } else {
        const QVector<FranjaTarifa>& franjas = reglas.franjas;
        const int nFranjas = static_cast<int>(franjas.size());
        // Whole units charge one unit for an empty stay, as the plain price does.
        const int64_t fin = inicio + (opciones.cobroCompleto ? qMax<int64_t>(minutos, 1) : minutos);
        QVector<QVector<Tramo>> periodos;
        int ultimaFranja = -2;
        int64_t ultimoDia = 0;
        const int64_t diaEntrada = divPiso(inicio + desfase(inicio * 60) / 60, kDia);
        for (int64_t t = inicio; t < fin;) {
            const int64_t des = desfase(t * 60) / 60;
            const int64_t local = t + des, dia = divPiso(local, kDia), m = local - dia * kDia;
            // The next edge of a band or of the day, in local minutes.
            int64_t borde = kDia;
            for (const FranjaTarifa& f : franjas)
                for (int64_t b : {int64_t(f.inicio), int64_t(f.fin)})
                    if (b > m && b < borde)
                        borde = b;
            int64_t hasta = qMin(fin, t + (borde - m));
            if (reglas.tope && !reglas.topeDiaCalendario)
                hasta = qMin(hasta, inicio + ((t - inicio) / kDia + 1) * kDia);
            // A change of the clocks inside the piece ends it there.
            if (desfase((hasta - 1) * 60) / 60 != des) {
                int64_t a = t, b = hasta - 1;
                while (b - a > 1) {
                    const int64_t medio = a + (b - a) / 2;
                    (desfase(medio * 60) / 60 == des ? a : b) = medio;
                }
                hasta = b;
            }
            const int64_t periodo = !reglas.tope               ? 0
                                    : reglas.topeDiaCalendario ? dia - diaEntrada
                                                               : (t - inicio) / kDia;
            while (periodos.size() <= periodo)
                periodos.append(QVector<Tramo>(nFranjas + 1));
            const auto [franja, diaFranja] = franjaEn(franjas, dia, m);
            Tramo& tramo = periodos[periodo][franja + 1];
            tramo.minutos += hasta - t;
            if (franja != ultimaFranja || diaFranja != ultimoDia)
                ++tramo.veces;
            ultimaFranja = franja;
            ultimoDia = diaFranja;
            t = hasta;
        }
        QVector<int64_t> porFranja(nFranjas + 1), minutosFranja(nFranjas + 1),
            vecesFranja(nFranjas + 1);
        int64_t primera = 0, recorte = 0;
        for (int p = 0; p < periodos.size(); ++p) {
            int64_t suma = 0;
            for (int i = 0; i <= nFranjas; ++i) {
                const Tramo& tr = periodos[p][i];
                const FranjaTarifa* f = i > 0 ? &franjas[i - 1] : nullptr;
                const int64_t v = f && f->fijo ? (tr.veces > 0 ? tr.veces * *f->fijo : 0)
                                               : valorTramo(tr, f ? f->tarifa.value_or(0) : tarifa,
                                                            tiempo, opciones.cobroCompleto);
                porFranja[i] += v;
                minutosFranja[i] += tr.minutos;
                vecesFranja[i] += tr.veces;
                suma += v;
            }
            if (p == 0 && opciones.cobroPrimeraHora && suma < tarifa) {
                primera = tarifa - suma;
                suma = tarifa;
            }
            if (reglas.tope && suma > *reglas.tope)
                recorte += suma - *reglas.tope;
        }
        for (int i = 0; i <= nFranjas; ++i) {
            if (minutosFranja[i] == 0)
                continue;
            const FranjaTarifa* f = i > 0 ? &franjas[i - 1] : nullptr;
            QString concepto = f ? f->nombre : QStringLiteral("Tarifa");
            if (f && f->fijo)
                concepto +=
                    vecesFranja[i] > 1 ? QStringLiteral(" x%1").arg(vecesFranja[i]) : QString();
            else
                concepto += QLatin1Char(' ') + DuracionCorta(minutosFranja[i]);
            cobro.items << ItemCobro{concepto, porFranja[i]};
            aplicada = aplicada || f;
        }
        aplicada = aplicada || primera > 0 || recorte > 0;
        if (primera > 0)
            cobro.items << ItemCobro{QStringLiteral("Primera hora completa"), primera};
        if (recorte > 0)
            cobro.items << ItemCobro{reglas.topeDiaCalendario
                                         ? QStringLiteral("Tope diario aplicado")
                                         : QStringLiteral("Tope por 24 h aplicado"),
                                     -recorte};
        int64_t suma = 0;
        for (const ItemCobro& i : cobro.items)
            suma += i.valor;
        if (reglas.minimo && suma < *reglas.minimo) {
            cobro.items << ItemCobro{QStringLiteral("Cobro mínimo"), *reglas.minimo - suma};
            aplicada = true;
        }
    }
    cobro.valor = 0;
    for (const ItemCobro& i : cobro.items)
        cobro.valor += i.valor;
    // The price alone, outside every band, with no rule changing it, is no rule applied.
    cobro.explicado = aplicada || ticketPerdido;
    if (ticketPerdido) {
        if (reglas.ticketPerdido && *reglas.ticketPerdido > cobro.valor) {
            cobro.items = {ItemCobro{QStringLiteral("Ticket perdido"), *reglas.ticketPerdido}};
            cobro.valor = *reglas.ticketPerdido;
        } else {
            cobro.items << ItemCobro{QStringLiteral("Ticket perdido: se cobra la estancia"), 0};
        }
    }
    return cobro;
}

QStringList LineasItems(const QVector<ItemCobro>& items, const QString& moneda) {
    QStringList lineas;
    for (const ItemCobro& i : items)
        lineas << i.concepto + (i.valor < 0 ? QStringLiteral(" -") : QStringLiteral(" ")) + moneda +
                      (i.valor == 0 ? QStringLiteral("0") : FormatoMiles(qAbs(i.valor)));
    return lineas;
}
