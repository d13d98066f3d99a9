#include "cobro.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

struct CasoCobro {
    int64_t minutos;
    int64_t tarifa;
    int64_t tiempo;
    bool completo;
    bool primeraHora;
    int64_t esperado;
};

TEST(Cobro, TablaDeCasos) {
    const CasoCobro casos[] = {
        // 1000 per hour
        {90, 1000, 60, false, false, 1500},
        {90, 1000, 60, true, false, 2000},
        {45, 1000, 60, false, true, 1000},
        {45, 1000, 60, true, true, 1000},
        {45, 1000, 60, false, false, 750},
        {90, 1000, 60, false, true, 1500},
        {59, 1000, 60, false, true, 1000},
        {60, 1000, 60, false, true, 1000},
        {0, 1000, 60, false, true, 1000},
        // the first-hour rule is about an hour, not about the rate's unit
        {59, 1000, 30, false, true, 1000},
        {60, 1000, 30, false, true, 2000},
        {60, 1000, 30, true, true, 2000},
        // proportional, halves to the even neighbour
        {45, 100, 60, false, false, 75},
        {15, 50, 60, false, false, 12},
        {27, 50, 60, false, false, 22},
        {33, 50, 60, false, false, 28},
        {0, 1000, 60, false, false, 0},
        // whole units: the smallest count that covers the stay, at least one
        {120, 1000, 60, true, false, 2000},
        {121, 1000, 60, true, false, 3000},
        {0, 1000, 60, true, false, 1000},
        {60, 1000, 60, true, false, 1000},
        {61, 1000, 60, true, false, 2000},
        {1440, 500, 30, true, false, 24000},
        // a rate without a time unit charges nothing
        {90, 1000, 0, false, false, 0},
        {90, 1000, 0, true, false, 0},
        {30, 1000, 0, true, true, 0},
        // a negative stay counts as no time at all
        {-30, 1000, 60, false, false, 0},
        {-30, 1000, 60, true, false, 1000},
        {-30, 1000, 60, false, true, 1000},
    };
    for (const CasoCobro& c : casos) {
        OpcionesCobro opciones;
        opciones.cobroCompleto = c.completo;
        opciones.cobroPrimeraHora = c.primeraHora;
        EXPECT_EQ(CalcularCobro(c.minutos, c.tarifa, c.tiempo, opciones), c.esperado)
            << c.minutos << " min, " << c.tarifa << "/" << c.tiempo
            << (c.completo ? " completo" : " proporcional")
            << (c.primeraHora ? " primera hora" : "");
    }
}

TEST(Cobro, TextoEstancia) {
    const struct {
        int64_t minutos;
        const char* texto;
    } casos[] = {
        {0, "0 Minutos."},
        {1, "1 Minuto."},
        {2, "2 Minutos."},
        {59, "59 Minutos."},
        {60, "1 Hora "},
        {61, "1 Hora 1 Minuto."},
        {120, "2 Horas "},
        {1439, "23 Horas 59 Minutos."},
        {1440, "1 Día "},
        {1441, "1 Día 1 Minuto."},
        {1440 + 2 * 60 + 5, "1 Día 2 Horas 5 Minutos."},
        {2 * 1440 + 60 + 1, "2 Días 1 Hora 1 Minuto."},
        {3 * 1440, "3 Días "},
    };
    for (const auto& c : casos)
        EXPECT_EQ(TextoEstancia(c.minutos), QString::fromUtf8(c.texto)) << c.minutos;
}

TEST(Cobro, MinutosEntreCuentaCambiosDeMinuto) {
    const QDate dia(2026, 12, 6);
    const struct {
        QDateTime entrada;
        QDateTime salida;
        int64_t minutos;
    } casos[] = {
        {QDateTime(dia, QTime(10, 0, 59)), QDateTime(dia, QTime(10, 1, 0)), 1},
        {QDateTime(dia, QTime(10, 0, 0)), QDateTime(dia, QTime(10, 0, 59)), 0},
        {QDateTime(dia, QTime(10, 0, 0)), QDateTime(dia, QTime(10, 0, 0)), 0},
        {QDateTime(dia, QTime(10, 0, 30)), QDateTime(dia, QTime(11, 30, 10)), 90},
        {QDateTime(dia, QTime(23, 59, 30)), QDateTime(dia.addDays(1), QTime(0, 0, 10)), 1},
        {QDateTime(dia, QTime(22, 15, 0)), QDateTime(dia.addDays(1), QTime(1, 45, 0)), 210},
        {QDateTime(dia, QTime(10, 0, 0)), QDateTime(dia.addDays(2), QTime(10, 30, 0)), 2910},
        {QDateTime(QDate(2026, 12, 31), QTime(23, 0, 0)),
         QDateTime(QDate(2027, 1, 1), QTime(1, 0, 0)), 120},
        {QDateTime(QDate(2028, 2, 28), QTime(12, 0, 0)),
         QDateTime(QDate(2028, 3, 1), QTime(12, 0, 0)), 2 * 1440},
        {QDateTime(dia, QTime(10, 5, 0)), QDateTime(dia, QTime(10, 0, 0)), -5},
    };
    for (const auto& c : casos)
        EXPECT_EQ(MinutosEntre(c.entrada, c.salida), c.minutos)
            << c.entrada.toString(Qt::ISODate).toStdString() << " -> "
            << c.salida.toString(Qt::ISODate).toStdString();
}

TEST(Cobro, MismoMinutoNoCobraProporcional) {
    const QDateTime entrada(QDate(2026, 12, 6), QTime(10, 0, 5));
    const QDateTime salida(QDate(2026, 12, 6), QTime(10, 0, 55));
    const int64_t minutos = MinutosEntre(entrada, salida);
    EXPECT_EQ(TextoEstancia(minutos), QStringLiteral("0 Minutos."));
    EXPECT_EQ(CalcularCobro(minutos, 1000, 60, OpcionesCobro{}), 0);
}

} // namespace
