#include "movimientos/cobro.h"
#include "movimientos/tarifas.h"
#include "tests/comun/dobles.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <optional>

namespace {

class ReglasCobro : public ::testing::Test {
    ZonaConVerano zona;
};

// 2026-12-07 is a Monday.
QDateTime el(int dia, int hora, int minuto = 0) {
    return QDateTime(QDate(2026, 12, 7).addDays(dia), QTime(hora, minuto));
}

// "total = item:valor; item:valor".
QString texto(const Cobro& c) {
    QStringList items;
    for (const ItemCobro& i : c.items)
        items << i.concepto + ':' + QString::number(i.valor);
    return QString::number(c.valor) + " = " + items.join("; ");
}

FranjaTarifa nocturno() {
    return {"Nocturno", 20 * 60, 6 * 60, 127, std::nullopt, 5000};
}

const OpcionesCobro kProporcional{false, false}, kUnidades{true, false}, kPrimeraHora{false, true};

// Each stay charged at 2000 per 60 minutes under its rules, as "total = item:valor; ...".
TEST_F(ReglasCobro, CadaReglaSobreElPrecio) {
    // Rules as {grace, minimum, cap, cap per calendar day, lost ticket, bands, free minutes,
    // weekly cap, block minutes, block price}.
    const ReglasTarifa ninguna, gracia{15, {}, {}, false, {}, {}},
        minimo{0, 3000, {}, false, {}, {}}, noche{0, {}, {}, false, {}, {nocturno()}},
        semana{0, {}, {}, false, {}, {{"Diurno", 6 * 60, 20 * 60, 31, 1000, std::nullopt}}},
        pico{0, {}, {}, false, {}, {{"Pico", 7 * 60, 9 * 60, 127, 3000, std::nullopt}}},
        movil{0, {}, 20000, false, {}, {}}, calendario{0, {}, 20000, true, {}, {}},
        noches{0, {}, 20000, true, {}, {nocturno()}}, fraccion{0, {}, 5000, false, {}, {}},
        perdido{0, {}, {}, false, 30000, {}}, otonio{0, 1, {}, false, {}, {}},
        madrugada{0, {}, {}, false, {}, {{"Madrugada", 3 * 60, 4 * 60, 127, std::nullopt, 100}}},
        libre{0, {}, {}, false, {}, {}, 30}, nocheLibre{0, {}, {}, false, {}, {nocturno()}, 60},
        semanal{0, {}, {}, false, {}, {}, 0, 100000}, ambos{0, {}, 20000, false, {}, {}, 0, 100000},
        // "Half an hour free, first hour 5, then 1 an hour, 10 at most", a yuan being 2.000:
        // https://ajiexun.com/xinwendongtai/gongsidongtai/138.html
        bloque{30, {}, 20000, false, {}, {}, 0, {}, 60, 10000},
        bloqueLibre{0, {}, {}, false, {}, {}, 30, {}, 60, 3000},
        soloBloque{0, {}, {}, false, {}, {}, 0, {}, 60, 3000},
        // Night parking "at $0.50 per half hour up to a maximum of $2", a dollar being 1.000:
        // http://backoftheenvelope.blogspot.com/2007/03/hdb-parking-confusion.html
        nocheMax{0, {}, {}, false, {}, {{"Noche", 22 * 60 + 30, 7 * 60, 127, 1000, {}, 2000}}};
    // Jacksonville's garages: up to 1 hour $1 ... up to 6 hours $6, over 6 hours $7 (each further
    // day $7), https://qa-www10.coj.net/departments/parking-facilities-and-enforcement/facilities-
    // and-rates/parking-hourly-rates, in thousands; then the rate's price after the last tier.
    const QVector<TramoTarifa> horas{{60, 1000},  {120, 2000}, {180, 3000}, {240, 4000},
                                     {300, 5000}, {360, 6000}, {1440, 7000}};
    const ReglasTarifa tramos{0, {}, {}, false, {}, {}, 0, {}, 0, {}, horas, 7000},
        sigue{0, {}, {}, false, {}, {}, 0, {}, 0, {}, {{60, 5000}}},
        tramosNoche{0, {}, {}, false, {}, {nocturno()}, 0, {}, 0, {}, horas, 7000};
    // Early bird, in from 06:00 to 09:00 on weekdays, RM10, https://support.timeteccloud.com/
    // portal/en/kb/articles/timetec-parking-s-early-bird-fixed-rate-parking-for-early-entrants;
    // $5 after 5 PM on Friday to Sunday until 5 AM, out later pays the standard rates,
    // https://www.lancasterparkingauthority.com/where-to-park/5after5/ (in thousands).
    const TarifaPlana temprano{"Madrugador", 6 * 60, 9 * 60, 31, std::nullopt, 10000},
        tarde{"Noche", 17 * 60, 29 * 60, 16 | 32 | 64, 5 * 60, 5000};
    const ReglasTarifa madrugador{0, {}, {}, false, {}, {}, 0, {}, 0, {}, {}, {}, {temprano}},
        graciaPlana{15, {}, {}, false, {}, {}, 0, {}, 0, {}, {}, {}, {temprano}},
        nochePlana{0, {}, {}, false, {}, {}, 0, {}, 0, {}, {}, {}, {tarde}},
        perdidoPlana{0, {}, {}, false, 30000, {}, 0, {}, 0, {}, {}, {}, {tarde}};
    const QDate sabadoPrimavera(2026, 3, 28);
    const QDate primavera(2026, 3, 29), otro(2026, 10, 25);
    const struct {
        const char* que;
        QDateTime entrada, salida;
        const ReglasTarifa& reglas;
        OpcionesCobro opciones;
        QString esperado;
        bool perdido = false;
        // Whether the ticket explains the charge: only when a rule changed it.
        std::optional<bool> explicado = std::nullopt;
    } casos[] = {
        {"gracia justa", el(0, 10), el(0, 10, 15), gracia, kUnidades, "0 = Gracia 15 min:0", false,
         true},
        {"un minuto pasada", el(0, 10), el(0, 10, 16), gracia, kProporcional,
         "533 = Tarifa 16 min:533", false, false},
        {"primera hora", el(0, 10), el(0, 10, 30), gracia, kPrimeraHora,
         "2000 = Tarifa 30 min:1000; Primera hora completa:1000"},
        {"bajo una hora, una unidad", el(0, 7), el(0, 7, 50), pico, kPrimeraHora,
         "2000 = Pico 50 min:2500; Primera hora completa:-500"},
        {"dentro de los minutos libres", el(0, 10), el(0, 10, 30), libre, kUnidades,
         "0 = Minutos libres 30 min:0", false, true},
        {"un minuto después", el(0, 10), el(0, 10, 31), libre, kUnidades,
         "2000 = Minutos libres 30 min:0; Tarifa 1 min:2000"},
        {"la primera hora cuenta tras ellos", el(0, 10), el(0, 11, 20), libre, kPrimeraHora,
         "2000 = Minutos libres 30 min:0; Tarifa 50 min:1667; Primera hora completa:333"},
        {"la franja ve la estancia más tarde", el(0, 19), el(0, 21), nocheLibre, kUnidades,
         "5000 = Minutos libres 60 min:0; Nocturno:5000"},
        {"bloque, tras la gracia", el(0, 10), el(0, 10, 31), bloque, kPrimeraHora,
         "10000 = Primer bloque 1 h:10000", false, true},
        {"justo al final del bloque", el(0, 10), el(0, 11), bloque, kUnidades,
         "10000 = Primer bloque 1 h:10000"},
        {"tras el bloque, la tarifa", el(0, 10), el(0, 12, 30), bloque, kUnidades,
         "14000 = Primer bloque 1 h:10000; Tarifa 1 h 30 min:4000"},
        {"el bloque cuenta en el tope", el(0, 10), el(0, 20), bloque, kUnidades,
         "20000 = Primer bloque 1 h:10000; Tarifa 9 h:18000; Tope por 24 h aplicado:-8000"},
        {"el mismo minuto, solo el bloque", el(0, 10), el(0, 10), soloBloque, kUnidades,
         "3000 = Primer bloque 1 h:3000"},
        {"bloque tras los minutos libres", el(0, 10), el(0, 11, 45), bloqueLibre, kUnidades,
         "5000 = Minutos libres 30 min:0; Primer bloque 1 h:3000; Tarifa 15 min:2000"},
        {"proporcional", el(0, 10), el(0, 11, 30), minimo, kProporcional,
         "3000 = Tarifa 1 h 30 min:3000", false, false},
        {"unidades", el(0, 10), el(0, 11, 30), minimo, kUnidades, "4000 = Tarifa 1 h 30 min:4000"},
        {"minimo", el(0, 10), el(0, 10, 30), minimo, kProporcional,
         "3000 = Tarifa 30 min:1000; Cobro mínimo:2000", false, true},
        {"sin gracia, el mismo minuto", el(0, 10), el(0, 10), minimo, kProporcional,
         "3000 = Cobro mínimo:3000"},
        {"sin reglas como siempre", el(0, 10), el(0, 10, 45), ninguna, kProporcional, "1500 = "},
        {"sin reglas, estancia vacía", el(0, 10), el(0, 10), ninguna, kUnidades, "2000 = "},
        {"entra de día, sale de noche", el(0, 18), el(0, 23), noche, kUnidades,
         "9000 = Tarifa 2 h:4000; Nocturno:5000"},
        {"cruza la medianoche", el(0, 22), el(1, 7), noche, kUnidades,
         "7000 = Tarifa 1 h:2000; Nocturno:5000"},
        {"la madrugada es de la noche del domingo", el(-1, 1), el(-1, 3), noche, kUnidades,
         "5000 = Nocturno:5000"},
        {"lunes en franja", el(0, 10), el(0, 12), semana, kUnidades, "2000 = Diurno 2 h:2000"},
        {"viernes en franja", el(-3, 10), el(-3, 12), semana, kUnidades, "2000 = Diurno 2 h:2000"},
        {"sábado fuera de ella", el(-2, 10), el(-2, 12), semana, kUnidades,
         "4000 = Tarifa 2 h:4000"},
        {"dos trozos, un redondeo", el(0, 6, 50), el(0, 9, 10), pico, kProporcional,
         "6667 = Tarifa 20 min:667; Pico 2 h:6000"},
        {"noche bajo su máximo, pasada la medianoche", el(0, 23, 30), el(1, 0, 30), nocheMax,
         kUnidades, "1000 = Noche 1 h:1000", false, true},
        {"noche sobre su máximo", el(0, 22, 30), el(1, 7), nocheMax, kUnidades,
         "2000 = Noche 8 h 30 min:9000; Máximo Noche aplicado:-7000"},
        {"un máximo por noche", el(0, 22, 30), el(2, 7), nocheMax, kUnidades,
         "36000 = Tarifa 15 h 30 min:32000; Noche 17 h:18000; Máximo Noche aplicado:-14000"},
        {"noche de otoño, una hora más", QDateTime(otro.addDays(-1), QTime(22, 30)),
         QDateTime(otro, QTime(7, 0)), nocheMax, kUnidades,
         "2000 = Noche 9 h 30 min:10000; Máximo Noche aplicado:-8000"},
        {"tres noches", el(0, 12), el(3, 12), noche, kUnidades,
         "99000 = Tarifa 42 h:84000; Nocturno x3:15000"},
        {"24 h desde la entrada", el(0, 14), el(1, 16), movil, kUnidades,
         "24000 = Tarifa 26 h:52000; Tope por 24 h aplicado:-28000"},
        {"día calendario", el(0, 14), el(1, 16), calendario, kUnidades,
         "40000 = Tarifa 26 h:52000; Tope diario aplicado:-12000"},
        {"varios días con noches", el(0, 12), el(3, 12), noches, kUnidades,
         "72000 = Tarifa 42 h:84000; Nocturno x3:15000; Tope diario aplicado:-27000"},
        {"primera hora solo en el primer periodo", el(0, 10), el(1, 10, 30), movil, kPrimeraHora,
         "21000 = Tarifa 24 h 30 min:49000; Tope por 24 h aplicado:-28000"},
        {"fracciones", el(0, 10), el(1, 11, 30), fraccion, kProporcional,
         "8000 = Tarifa 25 h 30 min:51000; Tope por 24 h aplicado:-43000"},
        {"una semana sin llegar al tope", el(0, 10), el(2, 10), semanal, kUnidades,
         "96000 = Tarifa 48 h:96000", false, false},
        {"nueve días, la primera semana topada", el(0, 10), el(9, 10), semanal, kUnidades,
         "196000 = Tarifa 216 h:432000; Tope semanal aplicado:-236000"},
        {"tope por 24 h y semanal", el(0, 14), el(9, 16), ambos, kUnidades,
         "144000 = Tarifa 218 h:436000; Tope por 24 h aplicado:-252000; Tope semanal "
         "aplicado:-40000"},
        {"justo en el límite de un tramo", el(0, 10), el(0, 12), tramos, kProporcional,
         "2000 = Tramo hasta 2 h:2000", false, true},
        {"un minuto más, el tramo siguiente", el(0, 10), el(0, 12, 1), tramos, kUnidades,
         "3000 = Tramo hasta 3 h:3000"},
        {"más de 6 horas", el(0, 8), el(0, 18), tramos, kUnidades, "7000 = Tramo hasta 24 h:7000"},
        {"tras el último, por día", el(0, 10), el(2, 11), tramos, kUnidades,
         "21000 = Tramo hasta 24 h:7000; Días adicionales x2:14000"},
        {"tras el último, sigue la tarifa", el(0, 10), el(0, 12, 30), sigue, kUnidades,
         "9000 = Tramo hasta 1 h:5000; Tarifa 1 h 30 min:4000"},
        {"sin primera hora, vacía paga el primero", el(0, 10), el(0, 10), tramos, kPrimeraHora,
         "1000 = Tramo hasta 1 h:1000"},
        {"la franja fuera de los tramos", el(0, 18), el(0, 23), tramosNoche, kUnidades,
         "7000 = Tramo hasta 2 h:2000; Nocturno:5000"},
        {"tramo en primavera", QDateTime(primavera, QTime(1, 30)),
         QDateTime(primavera, QTime(3, 30)), tramos, kUnidades, "1000 = Tramo hasta 1 h:1000"},
        {"madrugador", el(0, 7), el(0, 17), madrugador, kUnidades,
         "10000 = Tarifa plana Madrugador:10000", false, true},
        {"a las 09:00 ya no", el(0, 9), el(0, 17), madrugador, kUnidades,
         "16000 = Tarifa 8 h:16000"},
        {"sábado no", el(5, 7), el(5, 17), madrugador, kUnidades, "20000 = Tarifa 10 h:20000"},
        {"más de 24 h", el(0, 7), el(1, 9), madrugador, kUnidades,
         "14000 = Tarifa plana Madrugador:10000; Tarifa 2 h:4000"},
        {"la gracia antes", el(0, 7), el(0, 7, 10), graciaPlana, kUnidades, "0 = Gracia 15 min:0"},
        {"noche del viernes", el(4, 22), el(5, 4), nochePlana, kUnidades,
         "5000 = Tarifa plana Noche:5000"},
        {"tras la medianoche, del viernes", el(5, 1), el(5, 4, 30), nochePlana, kUnidades,
         "5000 = Tarifa plana Noche:5000"},
        {"la madrugada del viernes es del jueves", el(4, 1), el(4, 4), nochePlana, kUnidades,
         "6000 = Tarifa 3 h:6000"},
        {"sale justo a las 05:00", el(4, 18), el(5, 5), nochePlana, kUnidades,
         "5000 = Tarifa plana Noche:5000"},
        {"un minuto tarde, la estancia entera", el(4, 18), el(5, 5, 1), nochePlana, kUnidades,
         "24000 = Tarifa 11 h 1 min:24000"},
        {"primavera, a las 05:00", QDateTime(sabadoPrimavera, QTime(22, 0)),
         QDateTime(primavera, QTime(5, 0)), nochePlana, kUnidades,
         "5000 = Tarifa plana Noche:5000"},
        {"primavera, tarde: 6 h reales", QDateTime(sabadoPrimavera, QTime(22, 0)),
         QDateTime(primavera, QTime(5, 1)), nochePlana, kUnidades,
         "14000 = Tarifa 6 h 1 min:14000"},
        {"perdido sobre la plana", el(4, 22), el(5, 4), perdidoPlana, kUnidades,
         "30000 = Ticket perdido:30000", true},
        {"ticket perdido", el(0, 10), el(0, 12), perdido, kUnidades, "30000 = Ticket perdido:30000",
         true},
        {"la estancia cobra más", el(0, 0), el(0, 20), perdido, kUnidades,
         "40000 = Tarifa 20 h:40000; Ticket perdido: se cobra la estancia:0", true},
        {"tarifa sin reglas", el(0, 10), el(0, 11), ninguna, kUnidades,
         "2000 = Estancia 1 h:2000; Ticket perdido: se cobra la estancia:0", true},
        // Spring forward: from 01:30 to 03:30 on the wall an hour passes; the band from 03:00 holds
        // the last half hour. The plain price keeps the wall clock.
        {"primavera", QDateTime(primavera, QTime(1, 30)), QDateTime(primavera, QTime(3, 30)),
         madrugada, kProporcional, "1100 = Tarifa 30 min:1000; Madrugada:100"},
        {"otoño", QDateTime(otro, QTime(1, 30)), QDateTime(otro, QTime(3, 30)), otonio,
         kProporcional, "6000 = Tarifa 3 h:6000"},
        {"bloque en primavera", QDateTime(primavera, QTime(1, 30)),
         QDateTime(primavera, QTime(4, 30)), bloqueLibre, kUnidades,
         "5000 = Minutos libres 30 min:0; Primer bloque 1 h:3000; Tarifa 30 min:2000"},
        {"precio simple", QDateTime(primavera, QTime(1, 30)), QDateTime(primavera, QTime(3, 30)),
         ninguna, kProporcional, "4000 = "},
        {"perdido, nunca menos que la salida normal", QDateTime(primavera, QTime(1, 30)),
         QDateTime(primavera, QTime(3, 30)), ninguna, kProporcional,
         "4000 = Estancia 2 h:4000; Ticket perdido: se cobra la estancia:0", true},
    };
    for (const auto& c : casos) {
        const Cobro cobro =
            EvaluarCobro(c.entrada, c.salida, 2000, 60, c.opciones, c.reglas, c.perdido);
        EXPECT_EQ(texto(cobro), c.esperado) << c.que;
        EXPECT_TRUE(!c.explicado || cobro.explicado == *c.explicado) << c.que;
    }
}

// Random stays and rule sets: the items add up to the amount, the amount never falls when the
// stay grows, and never exceeds a cap times the periods (or weeks) the stay started.
TEST_F(ReglasCobro, PropiedadesSobreDiezMilEstancias) {
    QRandomGenerator azar(20261207);
    const auto hasta = [&](int n) { return static_cast<int>(azar.bounded(n)); };
    for (int caso = 0; caso < 10000; ++caso) {
        ReglasTarifa r;
        r.gracia = hasta(3) == 0 ? hasta(30) : 0;
        r.libres = hasta(4) == 0 ? hasta(180) : 0;
        for (int f = hasta(4); f > 0; --f) {
            FranjaTarifa franja{QString("F%1").arg(f), hasta(96) * 15, hasta(96) * 15,
                                1 + hasta(127),        std::nullopt,   std::nullopt};
            (hasta(2) ? franja.fijo : franja.tarifa) = 100 * hasta(60);
            if (hasta(3) == 0)
                franja.maximo = 100 * (1 + hasta(100));
            r.franjas << franja;
        }
        if (hasta(2)) {
            r.tope = 1000 * (1 + hasta(40));
            r.topeDiaCalendario = hasta(2);
        }
        if (hasta(3) == 0)
            r.topeSemanal = 1000 * (1 + hasta(200));
        if (hasta(4) == 0)
            r.minutosBloque = 1 + hasta(1440), r.precioBloque = 100 * hasta(100);
        for (int t = hasta(3) == 0 ? 1 + hasta(5) : 0; t > 0; --t)
            r.tramos << TramoTarifa{
                (r.tramos.isEmpty() ? 0 : r.tramos.last().hasta) + 1 + hasta(600),
                (r.tramos.isEmpty() ? 0 : r.tramos.last().valor) + 100 * hasta(50)};
        if (hasta(2))
            r.diaTrasTramos = 100 * hasta(200);
        for (int p = hasta(4) == 0 ? 1 + hasta(2) : 0; p > 0; --p) {
            const int desde = hasta(96) * 15, largo = 15 * (1 + hasta(96));
            const int salidaHasta = (desde + largo + hasta(1441 - largo)) % 1440;
            r.planas << TarifaPlana{"P",
                                    desde,
                                    desde + largo,
                                    1 + hasta(127),
                                    hasta(2) ? std::optional(salidaHasta) : std::nullopt,
                                    100 * hasta(100)};
        }
        // A flat with an exit time gives way to the whole stay's charge after it, which may be
        // less.
        const bool creciente = std::none_of(r.planas.begin(), r.planas.end(),
                                            [](const TarifaPlana& p) { return p.salidaHasta; });
        // Never the plain price, whose first hour may cost more than the next.
        if (hasta(3) == 0 || r.vacias())
            r.minimo = hasta(qMin(r.tope.value_or(5000), r.topeSemanal.value_or(5000)) + 1);
        const OpcionesCobro op{hasta(2) == 1, hasta(3) == 0};
        const int64_t tiempo = 15 * (1 + hasta(8)), tarifa = 100 * hasta(40);
        const QDateTime entrada = QDateTime(QDate(2026, 1, 1), QTime(0, 0))
                                      .addSecs(60 * int64_t(hasta(365 * 1440)) + hasta(60));
        const int minutos = hasta((r.topeSemanal ? 20 : 5) * 1440), mas = 1 + hasta(600);
        const QDateTime salida = entrada.addSecs(60 * minutos);
        const Cobro c = EvaluarCobro(entrada, salida, tarifa, tiempo, op, r);
        const Cobro d = EvaluarCobro(entrada, salida.addSecs(60 * mas), tarifa, tiempo, op, r);
        int64_t suma = 0;
        for (const ItemCobro& i : c.items)
            suma += i.valor;
        ASSERT_TRUE(suma == c.valor && c.valor >= 0) << caso << " " << texto(c).toStdString();
        ASSERT_TRUE(!creciente || c.valor <= d.valor)
            << caso << " " << texto(c).toStdString() << " / " << texto(d).toStdString();
        // A flat is charged as set, whatever the caps.
        if (texto(c).contains("Tarifa plana"))
            continue;
        if (r.tope) {
            const int64_t periodos =
                r.topeDiaCalendario ? entrada.date().daysTo(salida.date()) + 1
                                    : qMax<int64_t>(1, (entrada.secsTo(salida) / 60 + 1439) / 1440);
            ASSERT_LE(c.valor, *r.tope * periodos) << caso << " " << texto(c).toStdString();
        }
        const int64_t semanas = qMax<int64_t>(1, (entrada.secsTo(salida) / 60 + 10079) / 10080);
        if (r.topeSemanal) {
            ASSERT_LE(c.valor, *r.topeSemanal * semanas) << caso << " " << texto(c).toStdString();
        }
    }
}

// Each box read strictly: the error names the box; what is read writes back as typed.
TEST(TextosReglas, LecturaEstrictaYVuelta) {
    const struct {
        TextosReglas textos;
        CajaRegla caja;
    } casos[] = {
        {{"15", "1.500", "20.000", "30.000",
          "N 20:00-06:00 LMXJVSD fijo 5.000; D 06:00-20:00 LV 2.000 máx 9.000", true, "30",
          "100.000", "1440", "3.000"},
         CajaRegla::Ninguna},
        {{"", "", "", "", "", false, ""}, CajaRegla::Ninguna},
        {{"15 min", "", "", "", "", false, ""}, CajaRegla::Gracia},
        {{"1441", "", "", "", "", false, ""}, CajaRegla::Gracia},
        {{"", "", "", "", "", false, "2 h"}, CajaRegla::Libres},
        {{"", "", "", "", "", false, "1441"}, CajaRegla::Libres},
        {{"", "1.50", "", "", "", false, ""}, CajaRegla::Minimo},
        {{"", "3.000", "2.000", "", "", false, ""}, CajaRegla::Minimo},
        {{"", "", "0", "", "", false, ""}, CajaRegla::Tope},
        {{"", "", "", "", "", false, "", "0"}, CajaRegla::TopeSemanal},
        {{"", "", "", "", "", false, "", "1,5"}, CajaRegla::TopeSemanal},
        {{"", "3.000", "", "", "", false, "", "2.000"}, CajaRegla::Minimo},
        {{"", "", "", "$30.000", "", false, ""}, CajaRegla::TicketPerdido},
        {{"", "", "", "", "", false, "", "", "1441", "1.000"}, CajaRegla::MinutosBloque},
        {{"", "", "", "", "", false, "", "", "0", "1.000"}, CajaRegla::MinutosBloque},
        {{"", "", "", "", "", false, "", "", "", "1.000"}, CajaRegla::MinutosBloque},
        {{"", "", "", "", "", false, "", "", "60", ""}, CajaRegla::PrecioBloque},
        {{"", "", "", "", "N 24:00-06:00 L 1", false, ""}, CajaRegla::Franjas},
        {{"", "", "", "", "N 20:00-06:00 LL 1", false, ""}, CajaRegla::Franjas},
        {{"", "", "", "", "N 20:00-06:00 L 1 máx 0", false, ""}, CajaRegla::Franjas},
        {{"", "", "2.000", "", "N 20:00-06:00 L 1 máx 2.001", false, ""}, CajaRegla::Franjas},
        {{"", "", "", "", "N 20:00-06:00 LQ 1", false, ""}, CajaRegla::Franjas},
        {{"", "", "", "", "N 20:00-06:00 L gratis 1", false, ""}, CajaRegla::Franjas},
        {{"", "", "", "", "N 20:00-06:00 L 1;; D 06:00-20:00 L 1", false, ""}, CajaRegla::Franjas},
    };
    const auto cajas = [](const TextosReglas& t) {
        return QStringList({t.gracia, t.minimo, t.tope, t.ticketPerdido, t.franjas,
                            t.topeDiaCalendario ? "diario" : "", t.libres, t.topeSemanal,
                            t.minutosBloque, t.precioBloque});
    };
    for (const auto& c : casos) {
        const LecturaReglas l = LeerTextosReglas(c.textos);
        EXPECT_EQ(l.caja, c.caja) << c.textos.franjas.toStdString() << l.error.toStdString();
        EXPECT_EQ(l.error.isEmpty(), c.caja == CajaRegla::Ninguna);
        if (c.caja != CajaRegla::Ninguna)
            continue;
        EXPECT_EQ(cajas(TextosDeReglas(l.reglas)), cajas(c.textos));
    }
}

} // namespace
