#include "movimientos/cobro.h"
#include "movimientos/tickets.h"
#include "movimientos/vehiculos.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

// By lines: the first-hour rule is about an hour, not the rate's unit; proportional halves go
// to the even neighbour; whole units take the smallest count that covers the stay, at least one;
// a rate without a time unit charges nothing and a negative stay counts as none.
TEST(Cobro, TablaDeCasos) {
    const struct {
        int64_t minutos, tarifa, tiempo;
        int completo, primeraHora;
        int64_t esperado;
    } casos[] = {
        {90, 1000, 60, 0, 0, 1500},  {90, 1000, 60, 1, 0, 2000}, {45, 1000, 60, 0, 1, 1000},
        {45, 1000, 60, 0, 0, 750},   {90, 1000, 60, 0, 1, 1500}, {59, 1000, 30, 0, 1, 1000},
        {60, 1000, 30, 0, 1, 2000},  {45, 100, 60, 0, 0, 75},    {15, 50, 60, 0, 0, 12},
        {27, 50, 60, 0, 0, 22},      {33, 50, 60, 0, 0, 28},     {120, 1000, 60, 1, 0, 2000},
        {121, 1000, 60, 1, 0, 3000}, {0, 1000, 60, 1, 0, 1000},  {90, 1000, 0, 1, 1, 0},
        {-30, 1000, 60, 0, 0, 0},    {-30, 1000, 60, 1, 0, 1000}};
    for (const auto& c : casos)
        EXPECT_EQ(CalcularCobro(c.minutos, c.tarifa, c.tiempo, {c.completo > 0, c.primeraHora > 0}),
                  c.esperado)
            << "fila " << &c - casos;
}

// The window's tests read the stay of every unit, singular and plural; these are the edges.
TEST(Cobro, TextoEstancia) {
    EXPECT_EQ(QStringList({TextoEstancia(0), TextoEstancia(120), TextoEstancia(1440),
                           TextoEstancia(2 * 1440 + 61)}),
              QStringList({"0 Minutos.", "2 Horas ", "1 Día ", "2 Días 1 Hora 1 Minuto."}));
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
        EXPECT_EQ(std::pair(d.base, d.valorIva), std::pair(c.base, c.valorIva)) << c.cobrado;
    }
}

TEST(NumeroDocumento, PrefijoYCerosHastaLasCifrasSinCortarElNumero) {
    EXPECT_EQ(QStringList({NumeroDocumento("", 3, "7"), NumeroDocumento("FV-", 6, "123"),
                           NumeroDocumento("FV-", 4, "12345")}),
              QStringList({"007", "FV-000123", "FV-12345"}));
}

} // namespace
