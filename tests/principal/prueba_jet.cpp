#include "conexion.h"
#include "funcionesbd.h"
#include "jet.h"
#include "sql.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

QDateTime momento(int anio, int mes, int dia, int hora = 0, int minuto = 0, int segundo = 0) {
    return QDateTime(QDate(anio, mes, dia), QTime(hora, minuto, segundo));
}

// The inside of a #...# literal.
QString interior(const QString& literal) {
    EXPECT_TRUE(literal.startsWith(QLatin1Char('#')) && literal.endsWith(QLatin1Char('#')))
        << literal.toStdString();
    return literal.mid(1, literal.size() - 2);
}

} // namespace

TEST(LiteralesFecha, DiaCompletoConElMesQueJetEntiende) {
    struct Caso {
        QDate fecha;
        const char* inicio;
        const char* fin;
    };
    const Caso casos[] = {
        {QDate(2017, 1, 3), "#03 jan 2017 00:00:00#", "#03 jan 2017 23:59:59#"},
        {QDate(2016, 12, 24), "#24 dec 2016 00:00:00#", "#24 dec 2016 23:59:59#"},
        {QDate(2026, 12, 1), "#01 dec 2026 00:00:00#", "#01 dec 2026 23:59:59#"},
        {QDate(2020, 4, 30), "#30 apr 2020 00:00:00#", "#30 apr 2020 23:59:59#"},
        {QDate(2020, 8, 31), "#31 aug 2020 00:00:00#", "#31 aug 2020 23:59:59#"},
        {QDate(2024, 2, 29), "#29 feb 2024 00:00:00#", "#29 feb 2024 23:59:59#"},
        {QDate(2025, 3, 9), "#09 mar 2025 00:00:00#", "#09 mar 2025 23:59:59#"},
        {QDate(2025, 5, 10), "#10 may 2025 00:00:00#", "#10 may 2025 23:59:59#"},
        {QDate(2025, 6, 11), "#11 jun 2025 00:00:00#", "#11 jun 2025 23:59:59#"},
        {QDate(2025, 7, 12), "#12 jul 2025 00:00:00#", "#12 jul 2025 23:59:59#"},
        {QDate(2025, 9, 13), "#13 sep 2025 00:00:00#", "#13 sep 2025 23:59:59#"},
        {QDate(2025, 10, 14), "#14 oct 2025 00:00:00#", "#14 oct 2025 23:59:59#"},
        {QDate(2025, 11, 15), "#15 nov 2025 00:00:00#", "#15 nov 2025 23:59:59#"},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(LiteralInicioDia(c.fecha), QLatin1String(c.inicio));
        EXPECT_EQ(LiteralFinDia(c.fecha), QLatin1String(c.fin));
    }
}

TEST(LiteralesFecha, HoraDelDiaEnVeinticuatroHoras) {
    EXPECT_EQ(LiteralFechaHora(momento(2026, 12, 1, 0, 5, 9)),
              QLatin1String("#01 dec 2026 00:05:09#"));
    EXPECT_EQ(LiteralFechaHora(momento(2026, 1, 6, 14, 5, 9)),
              QLatin1String("#06 jan 2026 14:05:09#"));
    EXPECT_EQ(LiteralFechaSimple(QDate(2026, 12, 1)), QLatin1String("#2026/12/01#"));
    EXPECT_EQ(LiteralFechaHoraAmPm(momento(2026, 12, 1, 0, 5, 9)),
              QLatin1String("#2026/12/01 12:05:09 am#"));
    EXPECT_EQ(LiteralFechaHoraAmPm(momento(2026, 12, 1, 12, 0, 0)),
              QLatin1String("#2026/12/01 12:00:00 pm#"));
    EXPECT_EQ(LiteralFechaHoraAmPm(momento(2026, 12, 1, 23, 59, 59)),
              QLatin1String("#2026/12/01 11:59:59 pm#"));
}

// Every literal the program writes must be one the translation reads back to the same moment.
TEST(LiteralesFecha, CadaLiteralSeLeeDeVueltaIgual) {
    for (QDate d(2016, 1, 1); d <= QDate(2017, 12, 31); d = d.addDays(1)) {
        EXPECT_EQ(LeerLiteralFecha(interior(LiteralInicioDia(d))), QDateTime(d, QTime(0, 0)));
        EXPECT_EQ(LeerLiteralFecha(interior(LiteralFinDia(d))), QDateTime(d, QTime(23, 59, 59)));
        EXPECT_EQ(LeerLiteralFecha(interior(LiteralFechaSimple(d))), QDateTime(d, QTime(0, 0)));
    }
    for (int segundo = 0; segundo < 24 * 3600; segundo += 1237) {
        const QDateTime m(QDate(2026, 8, 17), QTime(0, 0).addSecs(segundo));
        EXPECT_EQ(LeerLiteralFecha(interior(LiteralFechaHora(m))), m);
        EXPECT_EQ(LeerLiteralFecha(interior(LiteralFechaHoraAmPm(m))), m);
    }
}

TEST(LiteralesFecha, ReemplazosDeMesSensiblesAMayusculas) {
    const std::pair<const char*, const char*> casos[] = {
        {"03 ene 2017", "03 jan 2017"},
        {"03 Ene 2017", "03 Jan 2017"},
        {"03 ENE 2017", "03 ENE 2017"},
        {"10 abr 2017", "10 apr 2017"},
        {"10 Abr 2017", "10 Apr 2017"},
        {"10 ago 2017", "10 aug 2017"},
        {"10 Ago 2017", "10 Aug 2017"},
        {"ago 2017", "ago 2017"},
        {"24 dic 2016", "24 dec 2016"},
        {"24 Dic 2016", "24 Dec 2016"},
        {"feb mar may jun jul sep oct nov", "feb mar may jun jul sep oct nov"},
    };
    for (const auto& [antes, despues] : casos)
        EXPECT_EQ(ReemplazarMeses(QLatin1String(antes)), QLatin1String(despues)) << antes;
}

TEST(LiteralesFecha, LecturaToleranteDelInterior) {
    const std::pair<const char*, QDateTime> casos[] = {
        {"03 jan 2017 00:00:00", momento(2017, 1, 3)},
        {"03 ENE 2017 10:20:30", momento(2017, 1, 3, 10, 20, 30)},
        {"03 Ene. 2017", momento(2017, 1, 3)},
        {"24 dic 2016 23:59:59", momento(2016, 12, 24, 23, 59, 59)},
        {"24 DEC. 2016 23:59:59", momento(2016, 12, 24, 23, 59, 59)},
        {"01 sept 2020 08:00:00", momento(2020, 9, 1, 8)},
        {"01 Sept. 2020", momento(2020, 9, 1)},
        {"01 sep 2020", momento(2020, 9, 1)},
        {"15 ago 2020", momento(2020, 8, 15)},
        {"15 abr. 2020", momento(2020, 4, 15)},
        {"2026/12/01", momento(2026, 12, 1)},
        {"2026/12/01 02:05:09 pm", momento(2026, 12, 1, 14, 5, 9)},
        {"2026/12/01 12:00:00 am", momento(2026, 12, 1)},
        {"2026/12/01 12:30:00 pm", momento(2026, 12, 1, 12, 30)},
        {"2026/12/01 11:59:59 PM", momento(2026, 12, 1, 23, 59, 59)},
    };
    for (const auto& [texto, esperado] : casos)
        EXPECT_EQ(LeerLiteralFecha(QLatin1String(texto)), esperado) << texto;
}

TEST(LiteralesFecha, RechazaLoQueNoEsUnaFecha) {
    const char* const casos[] = {"31 feb 2017",
                                 "03 xyz 2017",
                                 "2017/13/01",
                                 "2017/02/30",
                                 "2026/12/01 13:00:00 pm",
                                 "2026/12/01 00:10:00 am",
                                 "03 jan 2017 24:00:00",
                                 "mañana",
                                 ""};
    for (const char* texto : casos)
        EXPECT_FALSE(LeerLiteralFecha(QString::fromUtf8(texto)).has_value()) << texto;
}

TEST(LecturaFechaGuardada, FormasQueLlegan) {
    const std::pair<const char*, QDateTime> casos[] = {
        {"2026-12-06 14:05:09", momento(2026, 12, 6, 14, 5, 9)},
        {"2026-12-06", momento(2026, 12, 6)},
        {"06/12/2026 02:05:09 pm", momento(2026, 12, 6, 14, 5, 9)},
        {"06/12/2026 12:00:01 am", momento(2026, 12, 6, 0, 0, 1)},
        {"06/12/2026 14:05:09", momento(2026, 12, 6, 14, 5, 9)},
        {"06/12/2026", momento(2026, 12, 6)},
        {"06 dic 2026 14:05:09", momento(2026, 12, 6, 14, 5, 9)},
    };
    for (const auto& [texto, esperado] : casos)
        EXPECT_EQ(LeerFechaGuardada(QLatin1String(texto)), esperado) << texto;
    EXPECT_FALSE(LeerFechaGuardada(QStringLiteral("12/31/2026")).has_value());
    EXPECT_FALSE(LeerFechaGuardada(QStringLiteral("ayer")).has_value());
}

TEST(TraduccionJet, SentenciasDeLasVentanas) {
    const std::pair<const char*, const char*> casos[] = {
        {"SELECT * FROM Salidas WHERE FechaSalida >= #03 jan 2017 00:00:00# AND Fechasalida <= "
         "#24 dec 2016 23:59:59#",
         "SELECT * FROM Salidas WHERE FechaSalida >= '2017-01-03 00:00:00' AND Fechasalida <= "
         "'2016-12-24 23:59:59'"},
        {"INSERT INTO Pagos (id_fecha_pago, FechaPago, CantidadPago) VALUES (3,#2026/12/01#,500)",
         "INSERT INTO Pagos (id_fecha_pago, FechaPago, CantidadPago) VALUES "
         "(3,'2026-12-01 00:00:00',500)"},
        {"VALUES ('ENESPERA',#2026/12/01 02:05:09 pm#)",
         "VALUES ('ENESPERA','2026-12-01 14:05:09')"},
        {"UPDATE Tarifas SET MostrarEnEntradas=True,MostrarEnSalidas=false WHERE id_tarifa=1",
         "UPDATE Tarifas SET MostrarEnEntradas=-1,MostrarEnSalidas=0 WHERE id_tarifa=1"},
        {"SELECT TOP 1 ConsecutivoDia FROM Salidas WHERE FechaSalida >= #01 dec 2026 00:00:00# "
         "ORDER BY ConsecutivoDia DESC",
         "SELECT ConsecutivoDia FROM Salidas WHERE FechaSalida >= '2026-12-01 00:00:00' "
         "ORDER BY ConsecutivoDia DESC LIMIT 1"},
        {"select top  25 * from Salidas order by id_salida;",
         "select * from Salidas order by id_salida LIMIT 25;"},
        {"SELECT * FROM Salidas WHERE id_salida IN (SELECT TOP 2 id_salida FROM Salidas ORDER BY "
         "id_salida DESC) ORDER BY id_salida",
         "SELECT * FROM Salidas WHERE id_salida IN (SELECT id_salida FROM Salidas ORDER BY "
         "id_salida DESC LIMIT 2) ORDER BY id_salida"},
        {"SELECT TOP 1 * FROM (Clientes INNER JOIN FechaPago ON Clientes.id_cliente = "
         "FechaPago.id_cliente) WHERE Clientes.Placa = 'ABC' ORDER BY FechaFin DESC",
         "SELECT * FROM (Clientes INNER JOIN FechaPago ON Clientes.id_cliente = "
         "FechaPago.id_cliente) WHERE Clientes.Placa = 'ABC' ORDER BY FechaFin DESC LIMIT 1"},
        {"SELECT COUNT(*) As VerificarPlaca FROM Clientes WHERE Placa = 'X'",
         "SELECT COUNT(*) As VerificarPlaca FROM Clientes WHERE Placa = 'X'"},
        {"SELECT EsTrue, Falseado, Tope, [True] FROM t",
         "SELECT EsTrue, Falseado, Tope, [True] FROM t"},
    };
    for (const auto& [jet, sqlite] : casos)
        EXPECT_EQ(TraducirJet(QLatin1String(jet)), QLatin1String(sqlite)) << jet;
}

TEST(TraduccionJet, ElTextoCitadoNoSeToca) {
    const char* const citados[] = {
        "'True'", "'False'", "'#01 jan 2020#'", "'TOP 1'", "'a''b'",    "''''",
        "'--'",   "';'",     "'(SELECT TOP 3'", "'[x'",    "'ñandú #'", "'línea\r\notra'",
    };
    for (const char* citado : citados) {
        const QString jet =
            QStringLiteral("SELECT * FROM Clientes WHERE Notas = %1 AND Activo = True")
                .arg(QString::fromUtf8(citado));
        const QString esperado =
            QStringLiteral("SELECT * FROM Clientes WHERE Notas = %1 AND Activo = -1")
                .arg(QString::fromUtf8(citado));
        EXPECT_EQ(TraducirJet(jet), esperado) << citado;
    }
}

TEST(TraduccionJet, ComillasDoblesPasanASimples) {
    EXPECT_EQ(TraducirJet(QStringLiteral("SELECT * FROM t WHERE a = \"O'Brien \"\"x\"\" True\"")),
              QStringLiteral("SELECT * FROM t WHERE a = 'O''Brien \"x\" True'"));
}

TEST(TraduccionJet, ErroresDicenLaSentencia) {
    const char* const malas[] = {
        "SELECT * FROM t WHERE a = 'abc",
        "SELECT * FROM t WHERE f = #31 feb 2017#",
        "SELECT * FROM t WHERE f = #03 xyz 2017#",
        "SELECT * FROM t WHERE f = #03 jan 2017",
        "SELECT TOP * FROM t",
        "SELECT [abc FROM t",
        "SELECT * FROM t WHERE a = \"abc",
    };
    for (const char* mala : malas) {
        try {
            TraducirJet(QLatin1String(mala));
            ADD_FAILURE() << "sin error: " << mala;
        } catch (const ErrorBD& e) {
            EXPECT_FALSE(e.mensaje.isEmpty());
            EXPECT_EQ(e.detalle, QLatin1String(mala));
        }
    }
}

TEST(ComparacionJet, OrdenEspanolSinMayusculas) {
    const QStringList esperado = {
        QStringLiteral("abeja"),  QStringLiteral("Ábside"), QStringLiteral("Ángel"),
        QStringLiteral("ángela"), QStringLiteral("nube"),   QStringLiteral("nunca"),
        QStringLiteral("Núñez"),  QStringLiteral("ñandú"),  QStringLiteral("Ñu"),
        QStringLiteral("oso"),    QStringLiteral("zorro"),
    };
    QStringList mezclado = esperado;
    std::reverse(mezclado.begin(), mezclado.end());
    std::rotate(mezclado.begin(), mezclado.begin() + 4, mezclado.end());
    std::sort(mezclado.begin(), mezclado.end(),
              [](const QString& a, const QString& b) { return CompararJet(a, b) < 0; });
    EXPECT_EQ(mezclado, esperado);
    for (const QString& a : esperado)
        for (const QString& b : esperado)
            EXPECT_EQ(CompararJet(a, b) < 0, CompararJet(b, a) > 0)
                << a.toStdString() << " / " << b.toStdString();
}

TEST(ComparacionJet, IgualesSinImportarMayusculas) {
    const std::pair<const char*, const char*> iguales[] = {
        {"ÑANDÚ", "ñandú"}, {"Á", "á"}, {"abc123", "ABC123"}, {"PEÑA", "peña"}, {"", ""}};
    for (const auto& [a, b] : iguales)
        EXPECT_EQ(CompararJet(QString::fromUtf8(a), QString::fromUtf8(b)), 0) << a;
    EXPECT_LT(CompararJet(QStringLiteral("n"), QStringLiteral("ñ")), 0);
    EXPECT_LT(CompararJet(QStringLiteral("ñ"), QStringLiteral("O")), 0);
    EXPECT_LT(CompararJet(QStringLiteral("ABC"), QStringLiteral("abcd")), 0);
    EXPECT_NE(CompararJet(QStringLiteral("PENA"), QStringLiteral("PEÑA")), 0);
}

TEST(ComparacionJet, ParecidoConComodines) {
    struct Caso {
        const char* patron;
        const char* valor;
        bool parecido;
    };
    const Caso casos[] = {
        {"%ñan%", "ÑANDÚ", true}, {"abc%", "ABCD", true},
        {"abc%", "xabc", false},  {"_bc", "Abc", true},
        {"_bc", "bc", false},     {"%", "", true},
        {"", "", true},           {"", "a", false},
        {"a%b%c", "axbyc", true}, {"a%b%c", "axcyb", false},
        {"%aab", "aaab", true},   {"%josé%", "JOSÉ LUIS", true},
        {"%'%", "O'Brien", true}, {"a_c", "a\nc", true},
        {"100%", "100", true},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(ParecidoJet(QString::fromUtf8(c.patron), QString::fromUtf8(c.valor)), c.parecido)
            << c.patron << " ~ " << c.valor;
}
