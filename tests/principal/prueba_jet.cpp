#include "bd/conexion.h"
#include "bd/jet.h"
#include "bd/sql.h"
#include "tests/comun/consultas.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

QDateTime momento(int anio, int mes, int dia, int hora = 0, int minuto = 0, int segundo = 0) {
    return QDateTime(QDate(anio, mes, dia), QTime(hora, minuto, segundo));
}

// A #...# literal read back through the translation's own reader.
std::optional<QDateTime> releer(const QString& literal) {
    EXPECT_TRUE(literal.startsWith('#') && literal.endsWith('#')) << literal.toStdString();
    return LeerLiteralFecha(literal.mid(1, literal.size() - 2));
}

} // namespace

// The forms the program writes, each one the translation reads back to the same moment.
TEST(LiteralesFecha, FormasQueEscribeElProgramaYSeLeenDeVueltaIgual) {
    const std::pair<QString, const char*> casos[] = {
        {LiteralInicioDia(QDate(2017, 1, 3)), "#03 jan 2017 00:00:00#"},
        {LiteralFinDia(QDate(2016, 12, 24)), "#24 dec 2016 23:59:59#"},
        {LiteralFechaHora(momento(2026, 1, 6, 14, 5, 9)), "#06 jan 2026 14:05:09#"},
        {LiteralFechaSimple(QDate(2026, 12, 1)), "#2026/12/01#"},
        {LiteralFechaHoraAmPm(momento(2026, 12, 1, 0, 5, 9)), "#2026/12/01 12:05:09 am#"},
        {LiteralFechaHoraAmPm(momento(2026, 12, 1, 23, 59, 59)), "#2026/12/01 11:59:59 pm#"},
        // The month names are replaced by eight case-sensitive rules.
        {ReemplazarMeses("03 ene 2017 10 abr 2017 10 ago 2017 24 dic 2016"),
         "03 jan 2017 10 apr 2017 10 aug 2017 24 dec 2016"},
        {ReemplazarMeses("03 Ene 2017 10 Abr 2017 10 Ago 2017 24 Dic 2016"),
         "03 Jan 2017 10 Apr 2017 10 Aug 2017 24 Dec 2016"},
        {ReemplazarMeses("ago 2017 03 ENE 2017 feb mar may jun jul sep oct nov"),
         "ago 2017 03 ENE 2017 feb mar may jun jul sep oct nov"}};
    for (const auto& [literal, esperado] : casos)
        EXPECT_EQ(literal, esperado);
    // Every day of a year, each at its own time of day.
    for (QDate d(2016, 1, 1); d.year() == 2016; d = d.addDays(1)) {
        const QDateTime dia(d, QTime(0, 0)), m = dia.addSecs(d.dayOfYear() * 1237 % 86400);
        EXPECT_EQ(QVector<std::optional<QDateTime>>(
                      {releer(LiteralInicioDia(d)), releer(LiteralFinDia(d)),
                       releer(LiteralFechaSimple(d)), releer(LiteralFechaHora(m)),
                       releer(LiteralFechaHoraAmPm(m))}),
                  QVector<std::optional<QDateTime>>({dia, dia.addSecs(86399), dia, m, m}));
    }
}

TEST(LiteralesFecha, LecturaToleranteDelInteriorYRechazos) {
    const std::pair<const char*, QDateTime> casos[] = {
        {"03 ENE 2017 10:20:30", momento(2017, 1, 3, 10, 20, 30)},
        {"24 DEC. 2016 23:59:59", momento(2016, 12, 24, 23, 59, 59)},
        {"01 sept 2020 08:00:00", momento(2020, 9, 1, 8)},
        {"15 abr. 2020", momento(2020, 4, 15)},
        {"2026/12/01", momento(2026, 12, 1)},
        {"2026/12/01 02:05:09 pm", momento(2026, 12, 1, 14, 5, 9)},
        {"2026/12/01 11:59:59 PM", momento(2026, 12, 1, 23, 59, 59)}};
    for (const auto& [texto, esperado] : casos)
        EXPECT_EQ(LeerLiteralFecha(texto), esperado) << texto;
    for (const char* malo : {"31 feb 2017", "03 xyz 2017", "2017/13/01", "2026/12/01 13:00:00 pm",
                             "2026/12/01 00:10:00 am", "03 jan 2017 24:00:00", ""})
        EXPECT_FALSE(LeerLiteralFecha(malo).has_value()) << malo;
}

// That quoted texts pass unchanged is checked by the round trip in the database tests.
TEST(TraduccionJet, CadaConstruccionParaElArchivoYElServidor) {
    const auto pg = DestinoSql::Postgres;
    const std::pair<QString, const char*> casos[] = {
        {TraducirJet("WHERE f >= #03 jan 2017 00:00:00# AND f <= #24 dec 2016 23:59:59#"),
         "WHERE f >= '2017-01-03 00:00:00' AND f <= '2016-12-24 23:59:59'"},
        {TraducirJet("VALUES (3,#2026/12/01#,#2026/12/01 02:05:09 pm#)"),
         "VALUES (3,'2026-12-01 00:00:00','2026-12-01 14:05:09')"},
        {TraducirJet("SET a=True,b=false WHERE c=TRUE"), "SET a=-1,b=0 WHERE c=-1"},
        {TraducirJet("SELECT TOP 1 c FROM t ORDER BY c DESC"),
         "SELECT c FROM t ORDER BY c DESC LIMIT 1"},
        {TraducirJet("select top  25 * from t;"), "select * from t LIMIT 25;"},
        {TraducirJet("SELECT * FROM t WHERE i IN (SELECT TOP 2 i FROM t ORDER BY i) ORDER BY i"),
         "SELECT * FROM t WHERE i IN (SELECT i FROM t ORDER BY i LIMIT 2) ORDER BY i"},
        {TraducirJet(
             "SELECT TOP 1 * FROM (a INNER JOIN b ON a.i = b.i) WHERE a.p = 'X' ORDER BY f"),
         "SELECT * FROM (a INNER JOIN b ON a.i = b.i) WHERE a.p = 'X' ORDER BY f LIMIT 1"},
        {TraducirJet("SELECT COUNT(*) As n, EsTrue, Falseado, Tope, [True] FROM t"),
         "SELECT COUNT(*) As n, EsTrue, Falseado, Tope, [True] FROM t"},
        {TraducirJet("WHERE a = \"O'Brien \"\"x\"\" True\" AND b = '(TOP 3 True #1#'"),
         "WHERE a = 'O''Brien \"x\" True' AND b = '(TOP 3 True #1#'"},
        {TraducirJet("WHERE f >= #03 jan 2017 00:00:00# AND [Placa] LIKE 'A%' AND p NOT  like "
                     "'NOT LIKE'",
                     pg),
         "WHERE f >= TIMESTAMP '2017-01-03 00:00:00' AND \"placa\" ~~~ 'A%' AND p !~~~ 'NOT LIKE'"},
        {TraducirJet("SELECT TOP 1 * FROM t WHERE a = True AND NOT b LIKE 'x' AND c = NOTE", pg),
         "SELECT * FROM t WHERE a = -1 AND NOT b ~~~ 'x' AND c = NOTE LIMIT 1"}};
    for (const auto& [traducida, esperada] : casos)
        EXPECT_EQ(traducida, esperada);
}

TEST(TraduccionJet, ErroresDicenLaSentencia) {
    for (const char* mala :
         {"SELECT * FROM t WHERE a = 'abc", "SELECT * FROM t WHERE f = #31 feb 2017#",
          "SELECT * FROM t WHERE f = #03 jan 2017", "SELECT TOP * FROM t", "SELECT [abc FROM t",
          "SELECT * FROM t WHERE a = \"abc"}) {
        const ErrorBD e = ErrorDe([mala] { TraducirJet(mala); });
        EXPECT_TRUE(!e.mensaje.isEmpty() && e.detalle == mala) << mala;
    }
}

// A password value reads '***' wherever a statement puts it, and nothing else changes.
TEST(TextoSql, OcultarClavesSoloTocaElValorDeLaClave) {
    const std::pair<const char*, const char*> casos[] = {
        {"SELECT * FROM usuarios WHERE usuario='ana' AND pwd='S3cr''eta'",
         "SELECT * FROM usuarios WHERE usuario='ana' AND pwd='***'"},
        {"UPDATE Usuarios SET usuario='pwd',PWD = 'x y',nombre='pwd=''a'''",
         "UPDATE Usuarios SET usuario='pwd',PWD = '***',nombre='pwd=''a'''"},
        {"SELECT * FROM Usuarios WHERE Usuarios.[pwd] LIKE 'a%' OR 'b' <> pwd",
         "SELECT * FROM Usuarios WHERE Usuarios.[pwd] LIKE '***' OR '***' <> pwd"},
        {"INSERT INTO Usuarios (usuario,pwd,nombre) VALUES ('a','clave, (1)','n'), "
         "(lower('B'),'otra','m')",
         "INSERT INTO Usuarios (usuario,pwd,nombre) VALUES ('a','***','n'), "
         "(lower('B'),'***','m')"},
        {"INSERT INTO Usuarios (usuario,nombre) VALUES ('pwd','x')",
         "INSERT INTO Usuarios (usuario,nombre) VALUES ('pwd','x')"},
        {"near \"pwd\": syntax error [SELECT pwd FROM Usuarios WHERE pwd = 'x",
         "near \"pwd\": syntax error [SELECT pwd FROM Usuarios WHERE pwd = '***'"}};
    for (const auto& [sentencia, esperado] : casos)
        EXPECT_EQ(OcultarClaves(QString::fromUtf8(sentencia)), QString::fromUtf8(esperado));
    const ErrorBD e = ErrorBD::deSentencia("locked", "UPDATE Usuarios SET pwd='Nueva9'");
    EXPECT_EQ(e.detalle, "locked [UPDATE Usuarios SET pwd='***']");
    EXPECT_FALSE(QString::fromStdString(e.what()).contains("Nueva9"));
}
