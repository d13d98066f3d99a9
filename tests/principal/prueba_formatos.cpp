#include "principal/formatos.h"

#include <QDateTime>
#include <QStringList>
#include <gtest/gtest.h>
#include <limits>

// Entry and exit times are written with FechaHoraTexto and read back later.
TEST(Formatos, FechaCortaHoraDeDoceHorasYVuelta) {
    const std::pair<int, const char*> horas[] = {{0, "12:07:09 am"},  {1, "01:07:09 am"},
                                                 {11, "11:07:09 am"}, {12, "12:07:09 pm"},
                                                 {13, "01:07:09 pm"}, {23, "11:07:09 pm"}};
    for (const auto& [h, texto] : horas) {
        const QDateTime momento(QDate(1999, 1, 31), QTime(h, 7, 9));
        EXPECT_EQ(FechaHoraTexto(momento), QStringLiteral("31/01/1999 ") + texto);
        EXPECT_EQ(LeerFechaHoraTexto(FechaHoraTexto(momento)), momento) << h;
    }
    EXPECT_EQ(FechaCorta(QDate(2026, 3, 5)) + HoraTexto(QTime(0, 2, 3)), "05/03/202612:02:03 am");
    EXPECT_EQ(LeerFechaHoraTexto("06/12/2026"), QDateTime(QDate(2026, 12, 6), QTime(0, 0)));
    EXPECT_FALSE(LeerFechaHoraTexto("no es una fecha").has_value());
}

TEST(Formatos, FechaLargaEnEspanolConTildes) {
    EXPECT_EQ(FechaLarga(QDate(2026, 9, 30)) + FechaLarga(QDate(2027, 1, 1)),
              QString::fromUtf8("miércoles, 30 de septiembre de 2026viernes, 1 de enero de 2027"));
    EXPECT_TRUE(FechaLarga(QDate()).isEmpty());
}

TEST(Formatos, MilesConPuntoCeroVacioYRedondeoAlPar) {
    const std::pair<int64_t, const char*> miles[] = {
        {0, ""}, {999, "999"}, {1000, "1.000"}, {-1000, "-1.000"}, {1234567, "1.234.567"}};
    for (const auto& [valor, esperado] : miles)
        EXPECT_EQ(FormatoMiles(valor), esperado) << valor;
    EXPECT_EQ(FormatoMiles(std::numeric_limits<int64_t>::min()), "-9.223.372.036.854.775.808");
    const std::pair<double, double> redondeos[] = {{12.5, 12}, {13.5, 14}, {0.5, 0},  {-2.5, -2},
                                                   {-3.5, -4}, {2.51, 3},  {-2.6, -3}};
    for (const auto& [valor, esperado] : redondeos)
        EXPECT_EQ(RedondeoPar(valor), esperado) << valor;
}

TEST(Formatos, ValorNumericoTomaElNumeroInicialIgnorandoBlancos) {
    const std::pair<const char*, double> casos[] = {
        {" 12 abc", 12}, {"1 2", 12},  {"abc", 0},     {"3.5x", 3.5},
        {"", 0},         {" - 4", -4}, {"+8", 8},      {"1.2.3", 1.2},
        {"12,5", 12},    {"-", 0},     {"\t11\n", 11}, {"1 000 000", 1e6}};
    for (const auto& [texto, esperado] : casos)
        EXPECT_DOUBLE_EQ(ValorNumerico(QString::fromUtf8(texto)), esperado) << '"' << texto << '"';
}

// The one rule of the number boxes: what gets in as typed, and what the strict parses make of it:
// an amount takes the dot as thousands separator, an integer only digits, blanks around ignored.
TEST(Formatos, CajaNumericaDejaEntrarLoQuePuedeSerNumeroYElEstrictoJuzgaElTodo) {
    // Text | gets in | ImporteEstricto ("-" for none) | EnteroEstricto
    const char* const casos[][4] = {
        {"1.500", "1", "1500", "-"}, {"1500", "1", "1500", "1500"}, {"0", "1", "0", "0"},
        {"007", "1", "7", "7"},      {"\t7\t", "0", "7", "7"},      {"2,000", "1", "-", "-"},
        {"12,5", "1", "-", "-"},     {"-100", "1", "-", "-"},       {" 60 ", "1", "60", "60"},
        {"+5", "1", "-", "-"},       {"", "1", "-", "-"},           {"1 2", "1", "-", "-"},
        {"1. 50", "1", "-", "-"},    {"1.5", "1", "-", "-"},        {"1.5000", "1", "-", "-"},
        {".500", "1", "-", "-"},     {"1234.567", "1", "-", "-"},   {"12a", "0", "-", "-"},
        {"1\n5", "0", "-", "-"},     {"１２", "0", "-", "-"},       {"1e3", "0", "-", "-"}};
    const auto texto = [](const std::optional<int64_t>& n) {
        return n ? QString::number(*n) : QStringLiteral("-");
    };
    for (const auto& caso : casos) {
        const QString t = QString::fromUtf8(caso[0]);
        EXPECT_EQ(QStringList({QString::number(CaracteresDeNumero(t)), texto(ImporteEstricto(t)),
                               texto(EnteroEstricto(t))}),
                  QStringList({caso[1], caso[2], caso[3]}))
            << '"' << caso[0] << '"';
    }
    EXPECT_EQ(ImporteEstricto(" 2.000.000 "), 2000000);
    EXPECT_EQ(EnteroEstricto("999999999999999999"), 999999999999999999);
    EXPECT_FALSE(EnteroEstricto("1234567890123456789").has_value());
    EXPECT_TRUE(ImporteCabe(2147483647) && !ImporteCabe(2147483648LL) && !ImporteCabe(-1));
}
