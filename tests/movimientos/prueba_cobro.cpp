#include "movimientos/cobro.h"
#include "movimientos/tickets.h"
#include "movimientos/vehiculos.h"

#include <QDateTime>
#include <gtest/gtest.h>
#include <tuple>

namespace {

// By lines: the first-hour rule is about an hour, not the rate's unit; proportional halves go
// to the even neighbour; whole units take the smallest count that covers the stay, at least one;
// a rate without a time unit charges nothing and a negative stay counts as none.
TEST(Cobro, TablaDeCasos) {
    // Minutes, price, minutes per unit, whole units, first hour rule, charge.
    const std::tuple<int64_t, int64_t, int64_t, bool, bool, int64_t> casos[] = {
        {90, 1000, 60, 0, 0, 1500},  {90, 1000, 60, 1, 0, 2000},  {45, 1000, 60, 0, 1, 1000},
        {45, 1000, 60, 0, 0, 750},   {90, 1000, 60, 0, 1, 1500},  {59, 1000, 30, 0, 1, 1000},
        {60, 1000, 30, 0, 1, 2000},  {45, 100, 60, 0, 0, 75},     {15, 50, 60, 0, 0, 12},
        {27, 50, 60, 0, 0, 22},      {33, 50, 60, 0, 0, 28},      {120, 1000, 60, 1, 0, 2000},
        {121, 1000, 60, 1, 0, 3000}, {0, 1000, 60, 1, 0, 1000},   {90, 1000, 0, 1, 1, 0},
        {-30, 1000, 60, 0, 0, 0},    {-30, 1000, 60, 1, 0, 1000}, {60, 1000, 120, 0, 1, 1000}};
    for (const auto& [minutos, tarifa, tiempo, completo, primeraHora, cobro] : casos)
        EXPECT_EQ(CalcularCobro(minutos, tarifa, tiempo, {completo, primeraHora}), cobro)
            << minutos << " min a " << tarifa << "/" << tiempo;
}

// The window's tests read the stay of every unit, singular and plural; these are the edges.
TEST(Cobro, TextoEstancia) {
    EXPECT_EQ(QStringList({TextoEstancia(0), TextoEstancia(120), TextoEstancia(1440),
                           TextoEstancia(2 * 1440 + 61)}),
              QStringList({"0 Minutos.", "2 Horas ", "1 Día ", "2 Días 1 Hora 1 Minuto."}));
}

TEST(Cobro, MinutosEntreCuentaCambiosDeMinuto) {
    const QDate dia(2026, 12, 6);
    // Entry, days later, exit, minutes.
    const std::tuple<QTime, int, QTime, int64_t> casos[] = {
        {QTime(10, 0, 59), 0, QTime(10, 1, 0), 1},  {QTime(10, 0, 0), 0, QTime(10, 0, 59), 0},
        {QTime(23, 59, 30), 1, QTime(0, 0, 10), 1}, {QTime(10, 0, 0), 2, QTime(10, 30, 0), 2910},
        {QTime(10, 5, 0), 0, QTime(10, 0, 0), -5},
    };
    for (const auto& [entrada, dias, salida, minutos] : casos)
        EXPECT_EQ(MinutosEntre(QDateTime(dia, entrada), QDateTime(dia.addDays(dias), salida)),
                  minutos)
            << entrada.toString().toStdString() << " +" << dias;
}

TEST(DividirIva, BaseRedondeadaAlParYElImpuestoEncima) {
    // Charged, rate, base, tax.
    const std::tuple<int64_t, int, int64_t, int64_t> casos[] = {
        {11900, 19, 10000, 1900}, {5000, 19, 4202, 798}, {2500, 0, 2500, 0},
        {5, 100, 2, 3},           {7, 100, 4, 3},
    };
    for (const auto& [cobrado, iva, base, valorIva] : casos) {
        const DivisionIva d = DividirIva(cobrado, iva);
        EXPECT_EQ(std::pair(d.base, d.valorIva), std::pair(base, valorIva)) << cobrado;
    }
}

TEST(NumeroDocumento, PrefijoYCerosHastaLasCifrasSinCortarElNumero) {
    EXPECT_EQ(QStringList({NumeroDocumento("", 3, "7"), NumeroDocumento("FV-", 6, "123"),
                           NumeroDocumento("FV-", 4, "12345")}),
              QStringList({"007", "FV-000123", "FV-12345"}));
}

} // namespace
