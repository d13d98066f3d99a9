#include "formatos.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <optional>

namespace {

QString u8(const char* texto) {
    return QString::fromUtf8(texto);
}

} // namespace

TEST(Formatos, FechaCortaEsDiaMesAnioConCeros) {
    const struct {
        QDate fecha;
        const char* esperado;
    } casos[] = {
        {QDate(2026, 12, 6), "06/12/2026"},
        {QDate(2026, 3, 5), "05/03/2026"},
        {QDate(1999, 1, 31), "31/01/1999"},
        {QDate(2028, 2, 29), "29/02/2028"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(FechaCorta(c.fecha), QLatin1String(c.esperado)) << c.esperado;
}

TEST(Formatos, HoraTextoEnRelojDeDoceHorasConAmPmEnMinusculas) {
    const struct {
        QTime hora;
        const char* esperado;
    } casos[] = {
        {QTime(0, 0, 0), "12:00:00 am"},    {QTime(0, 5, 0), "12:05:00 am"},
        {QTime(1, 2, 3), "01:02:03 am"},    {QTime(9, 8, 7), "09:08:07 am"},
        {QTime(11, 59, 59), "11:59:59 am"}, {QTime(12, 0, 0), "12:00:00 pm"},
        {QTime(12, 30, 1), "12:30:01 pm"},  {QTime(13, 7, 9), "01:07:09 pm"},
        {QTime(22, 10, 0), "10:10:00 pm"},  {QTime(23, 59, 59), "11:59:59 pm"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(HoraTexto(c.hora), QLatin1String(c.esperado)) << c.esperado;
}

TEST(Formatos, FechaHoraTextoJuntaFechaYHora) {
    EXPECT_EQ(FechaHoraTexto(QDateTime(QDate(2026, 12, 6), QTime(13, 7, 9))),
              QStringLiteral("06/12/2026 01:07:09 pm"));
    EXPECT_EQ(FechaHoraTexto(QDateTime(QDate(2026, 1, 2), QTime(0, 0, 1))),
              QStringLiteral("02/01/2026 12:00:01 am"));
}

TEST(Formatos, FechaHoraTextoSeLeeDeVueltaACadaHoraDelDia) {
    const QDate dia(2026, 12, 6);
    for (int h = 0; h < 24; ++h) {
        for (const QTime hora : {QTime(h, 0, 0), QTime(h, 7, 9), QTime(h, 59, 59)}) {
            const QDateTime momento(dia, hora);
            const QString texto = FechaHoraTexto(momento);
            const std::optional<QDateTime> leido = LeerFechaHoraTexto(texto);
            ASSERT_TRUE(leido.has_value()) << texto.toStdString();
            EXPECT_EQ(*leido, momento) << texto.toStdString();
        }
    }
}

TEST(Formatos, LeerFechaHoraTextoSinHoraOInvalido) {
    const std::optional<QDateTime> soloFecha = LeerFechaHoraTexto(QStringLiteral("06/12/2026"));
    ASSERT_TRUE(soloFecha.has_value());
    EXPECT_EQ(*soloFecha, QDateTime(QDate(2026, 12, 6), QTime(0, 0)));
    EXPECT_FALSE(LeerFechaHoraTexto(QStringLiteral("no es una fecha")).has_value());
    EXPECT_FALSE(LeerFechaHoraTexto(QString()).has_value());
}

TEST(Formatos, FechaLargaEnEspanolConTildes) {
    const struct {
        QDate fecha;
        const char* esperado;
    } casos[] = {
        {QDate(2026, 12, 6), "domingo, 6 de diciembre de 2026"},
        {QDate(2026, 12, 7), "lunes, 7 de diciembre de 2026"},
        {QDate(2026, 12, 8), "martes, 8 de diciembre de 2026"},
        {QDate(2026, 12, 9), "miércoles, 9 de diciembre de 2026"},
        {QDate(2026, 12, 10), "jueves, 10 de diciembre de 2026"},
        {QDate(2026, 12, 11), "viernes, 11 de diciembre de 2026"},
        {QDate(2026, 12, 12), "sábado, 12 de diciembre de 2026"},
        {QDate(2026, 3, 5), "jueves, 5 de marzo de 2026"},
        {QDate(2027, 1, 1), "viernes, 1 de enero de 2027"},
        {QDate(2026, 9, 30), "miércoles, 30 de septiembre de 2026"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(FechaLarga(c.fecha), u8(c.esperado)) << c.esperado;
}

TEST(Formatos, FechaLargaNombraCadaMes) {
    const char* const meses[] = {"enero",      "febrero", "marzo",     "abril",
                                 "mayo",       "junio",   "julio",     "agosto",
                                 "septiembre", "octubre", "noviembre", "diciembre"};
    for (int m = 1; m <= 12; ++m) {
        const QString texto = FechaLarga(QDate(2026, m, 15));
        EXPECT_TRUE(texto.endsWith(QStringLiteral(", 15 de %1 de 2026").arg(meses[m - 1])))
            << texto.toStdString();
    }
}

TEST(Formatos, FormatoMilesAgrupaConPuntoYCeroEsVacio) {
    const struct {
        int64_t valor;
        const char* esperado;
    } casos[] = {
        {0, ""},
        {1, "1"},
        {999, "999"},
        {1000, "1.000"},
        {11900, "11.900"},
        {100000, "100.000"},
        {1234567, "1.234.567"},
        {-1, "-1"},
        {-999, "-999"},
        {-1000, "-1.000"},
        {-1234567, "-1.234.567"},
        {std::numeric_limits<int64_t>::max(), "9.223.372.036.854.775.807"},
        {std::numeric_limits<int64_t>::min(), "-9.223.372.036.854.775.808"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(FormatoMiles(c.valor), QLatin1String(c.esperado)) << c.valor;
}

TEST(Formatos, RedondeoParLlevaLasMitadesAlParVecino) {
    const struct {
        double valor;
        double esperado;
    } casos[] = {
        {12.5, 12}, {13.5, 14}, {0.5, 0},   {1.5, 2}, {-2.5, -2},       {-3.5, -4},
        {2.49, 2},  {2.51, 3},  {-2.6, -3}, {7.0, 7}, {1e6 + 0.5, 1e6},
    };
    for (const auto& c : casos)
        EXPECT_EQ(RedondeoPar(c.valor), c.esperado) << c.valor;
}

TEST(Formatos, ValorNumericoTomaElNumeroInicialIgnorandoBlancos) {
    const struct {
        const char* texto;
        double esperado;
    } casos[] = {
        {" 12 abc", 12}, {"1 2", 12},    {"abc", 0}, {"3.5x", 3.5}, {"", 0},
        {"   ", 0},      {"-7", -7},     {"+8", 8},  {" - 4", -4},  {"0.25", 0.25},
        {"1.2.3", 1.2},  {"12,5", 12},   {"x12", 0}, {"-", 0},      {"1 000 000", 1e6},
        {"14", 14},      {"\t11\n", 11},
    };
    for (const auto& c : casos)
        EXPECT_DOUBLE_EQ(ValorNumerico(QString::fromUtf8(c.texto)), c.esperado)
            << '"' << c.texto << '"';
}

TEST(Formatos, EnteroEstrictoAceptaSoloCifras) {
    const struct {
        const char* texto;
        int64_t esperado;
    } validos[] = {
        {"0", 0},     {"42", 42}, {" 42 ", 42},
        {"\t7\t", 7}, {"007", 7}, {"999999999999999999", 999999999999999999LL},
    };
    for (const auto& c : validos) {
        const std::optional<int64_t> n = EnteroEstricto(QString::fromUtf8(c.texto));
        ASSERT_TRUE(n.has_value()) << '"' << c.texto << '"';
        EXPECT_EQ(*n, c.esperado) << '"' << c.texto << '"';
    }
    const char* const invalidos[] = {
        "1,5",
        "-3",
        "5-",
        "(5)",
        "1e3",
        "",
        " ",
        "１２",
        "٣",
        "1.5",
        "+5",
        "1 2",
        "abc",
        "12a",
        "0x10",
        "1234567890123456789",
        "99999999999999999999999",
    };
    for (const char* t : invalidos)
        EXPECT_FALSE(EnteroEstricto(QString::fromUtf8(t)).has_value()) << '"' << t << '"';
}
