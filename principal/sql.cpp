#include "principal/sql.h"

QString Texto(const QString& valor) {
    QString doblado = valor;
    doblado.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doblado + QLatin1Char('\'');
}

QString ReemplazarMeses(QString literal) {
    static const char* const pares[][2] = {{"ene", "jan"},     {"abr", "apr"}, {" ago ", " aug "},
                                           {"dic", "dec"},     {"Ene", "Jan"}, {"Abr", "Apr"},
                                           {" Ago ", " Aug "}, {"Dic", "Dec"}};
    for (const auto& par : pares)
        literal.replace(QLatin1String(par[0]), QLatin1String(par[1]));
    return literal;
}

namespace {

// "dd mmm yyyy" with the Spanish abbreviation that the system's date format gives.
QString diaMesAnio(const QDate& fecha) {
    static const char* const meses[] = {"ene", "feb", "mar", "abr", "may", "jun",
                                        "jul", "ago", "sep", "oct", "nov", "dic"};
    return QStringLiteral("%1 %2 %3")
        .arg(fecha.day(), 2, 10, QLatin1Char('0'))
        .arg(QLatin1String(meses[fecha.month() - 1]))
        .arg(fecha.year(), 4, 10, QLatin1Char('0'));
}

QString entreAlmohadillas(const QString& interior) {
    return QLatin1Char('#') + interior + QLatin1Char('#');
}

} // namespace

QString LiteralInicioDia(const QDate& fecha) {
    return entreAlmohadillas(ReemplazarMeses(diaMesAnio(fecha) + QLatin1String(" 00:00:00")));
}

QString LiteralFinDia(const QDate& fecha) {
    return entreAlmohadillas(ReemplazarMeses(diaMesAnio(fecha) + QLatin1String(" 23:59:59")));
}

QString LiteralFechaHora(const QDateTime& momento) {
    return entreAlmohadillas(ReemplazarMeses(diaMesAnio(momento.date()) + QLatin1Char(' ') +
                                             momento.time().toString(QStringLiteral("HH:mm:ss"))));
}

QString LiteralFechaSimple(const QDate& fecha) {
    return entreAlmohadillas(fecha.toString(QStringLiteral("yyyy/MM/dd")));
}

QString LiteralFechaHoraAmPm(const QDateTime& momento) {
    const QTime t = momento.time();
    const int hora12 = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
    return entreAlmohadillas(momento.date().toString(QStringLiteral("yyyy/MM/dd")) +
                             QStringLiteral(" %1:%2:%3 %4")
                                 .arg(hora12, 2, 10, QLatin1Char('0'))
                                 .arg(t.minute(), 2, 10, QLatin1Char('0'))
                                 .arg(t.second(), 2, 10, QLatin1Char('0'))
                                 .arg(QLatin1String(t.hour() < 12 ? "am" : "pm")));
}
