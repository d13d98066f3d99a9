#include "movimientos/cobro.h"
#include "movimientos/tickets.h"

#include <QDateTime>
#include <ctime>
#include <gtest/gtest.h>

namespace {

TEST(Cobro, TablaDeCasos) {
    const struct {
        int64_t minutos, tarifa, tiempo;
        bool completo, primeraHora;
        int64_t esperado;
    } casos[] = {{90, 1000, 60, false, false, 1500},
                 {90, 1000, 60, true, false, 2000},
                 {45, 1000, 60, false, true, 1000},
                 {45, 1000, 60, false, false, 750},
                 {90, 1000, 60, false, true, 1500},
                 // the first-hour rule is about an hour, not about the rate's unit
                 {59, 1000, 30, false, true, 1000},
                 {60, 1000, 30, false, true, 2000},
                 // proportional, halves to the even neighbour
                 {45, 100, 60, false, false, 75},
                 {15, 50, 60, false, false, 12},
                 {27, 50, 60, false, false, 22},
                 {33, 50, 60, false, false, 28},
                 // whole units: the smallest count that covers the stay, at least one
                 {120, 1000, 60, true, false, 2000},
                 {121, 1000, 60, true, false, 3000},
                 {0, 1000, 60, true, false, 1000},
                 // a rate without a time unit charges nothing; a negative stay counts as none
                 {90, 1000, 0, true, true, 0},
                 {-30, 1000, 60, false, false, 0},
                 {-30, 1000, 60, true, false, 1000}};
    for (const auto& c : casos)
        EXPECT_EQ(CalcularCobro(c.minutos, c.tarifa, c.tiempo, {c.completo, c.primeraHora}),
                  c.esperado)
            << c.minutos << " min, " << c.tarifa << "/" << c.tiempo << " completo " << c.completo
            << " primera hora " << c.primeraHora;
}

// The window's tests read the stay of every unit, singular and plural; these are the edges.
TEST(Cobro, TextoEstancia) {
    EXPECT_EQ(TextoEstancia(0), "0 Minutos.");
    EXPECT_EQ(TextoEstancia(120), "2 Horas ");
    EXPECT_EQ(TextoEstancia(1440), QStringLiteral("1 Día "));
    EXPECT_EQ(TextoEstancia(2 * 1440 + 61), QStringLiteral("2 Días 1 Hora 1 Minuto."));
}

TEST(Cobro, MinutosEntreCuentaCambiosDeMinuto) {
    const QDate dia(2026, 12, 6);
    const struct {
        QTime entrada;
        int diasDespues;
        QTime salida;
        int64_t minutos;
    } casos[] = {
        {QTime(10, 0, 59), 0, QTime(10, 1, 0), 1},  {QTime(10, 0, 0), 0, QTime(10, 0, 59), 0},
        {QTime(23, 59, 30), 1, QTime(0, 0, 10), 1}, {QTime(10, 0, 0), 2, QTime(10, 30, 0), 2910},
        {QTime(10, 5, 0), 0, QTime(10, 0, 0), -5},
    };
    for (const auto& c : casos)
        EXPECT_EQ(MinutosEntre(QDateTime(dia, c.entrada),
                               QDateTime(dia.addDays(c.diasDespues), c.salida)),
                  c.minutos)
            << c.entrada.toString().toStdString() << " +" << c.diasDespues;
}

// A stay over the night the clocks move forward lasts what the clocks on the wall say.
TEST(Cobro, MinutosEntreSiguenElRelojDePared) {
    const QByteArray zonaAntes = qgetenv("TZ");
    qputenv("TZ", "Europe/Madrid");
    tzset();
    const QDate cambio(2026, 3, 29);
    const int64_t minutos =
        MinutosEntre(QDateTime(cambio, QTime(1, 30)), QDateTime(cambio, QTime(3, 30)));
    qputenv("TZ", zonaAntes);
    tzset();
    EXPECT_EQ(minutos, 120);
}

TEST(DividirIva, BaseRedondeadaAlParYElImpuestoEncima) {
    const struct {
        int64_t cobrado;
        int iva;
        int64_t base, valorIva;
    } casos[] = {
        {11900, 19, 10000, 1900}, {5000, 19, 4202, 798}, {2500, 0, 2500, 0},
        {5, 100, 2, 3},           {7, 100, 4, 3},
    };
    for (const auto& c : casos) {
        const DivisionIva d = DividirIva(c.cobrado, c.iva);
        EXPECT_EQ(d.base, c.base) << c.cobrado << " @ " << c.iva;
        EXPECT_EQ(d.valorIva, c.valorIva) << c.cobrado << " @ " << c.iva;
    }
}

} // namespace
