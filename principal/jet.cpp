#include "jet.h"

#include "conexion.h"

#include <QRegularExpression>
#include <QVector>

namespace {

int numeroMes(QString nombre) {
    nombre = nombre.toLower();
    if (nombre.endsWith(QLatin1Char('.')))
        nombre.chop(1);
    static const char* const meses[][3] = {
        {"ene", "jan", nullptr}, {"feb", nullptr, nullptr}, {"mar", nullptr, nullptr},
        {"abr", "apr", nullptr}, {"may", nullptr, nullptr}, {"jun", nullptr, nullptr},
        {"jul", nullptr, nullptr}, {"ago", "aug", nullptr}, {"sep", "sept", "set"},
        {"oct", nullptr, nullptr}, {"nov", nullptr, nullptr}, {"dic", "dec", nullptr}};
    for (int m = 0; m < 12; ++m)
        for (const char* alias : meses[m])
            if (alias && nombre == QLatin1String(alias))
                return m + 1;
    return 0;
}

// Hour of a 12-hour clock with its am/pm mark; -1 when the pair is impossible.
int hora24(int hora, const QString& marca) {
    if (marca.isEmpty())
        return hora;
    if (hora < 1 || hora > 12)
        return -1;
    const bool pm = marca.startsWith(QLatin1Char('p'), Qt::CaseInsensitive);
    return (hora % 12) + (pm ? 12 : 0);
}

std::optional<QDateTime> armar(int anio, int mes, int dia, int hora, int minuto, int segundo) {
    const QDate fecha(anio, mes, dia);
    const QTime tiempo(hora, minuto, segundo);
    if (!fecha.isValid() || !tiempo.isValid())
        return std::nullopt;
    return QDateTime(fecha, tiempo);
}

int grupo(const QRegularExpressionMatch& m, int n) { return m.captured(n).toInt(); }

// "hh:mm[:ss] [am|pm|a. m.|p.m.]" after the date part; the groups start at `desde`.
std::optional<QDateTime> conHora(const QRegularExpressionMatch& m, int anio, int mes, int dia,
                                 int desde) {
    if (m.captured(desde).isEmpty())
        return armar(anio, mes, dia, 0, 0, 0);
    const int hora = hora24(grupo(m, desde), m.captured(desde + 3).remove(QLatin1Char(' ')));
    if (hora < 0)
        return std::nullopt;
    return armar(anio, mes, dia, hora, grupo(m, desde + 1), grupo(m, desde + 2));
}

const QString kHora = QStringLiteral(
    R"((?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?(?:\s*([ap]\.?\s?m\.?))?)?\s*$)");

} // namespace

std::optional<QDateTime> LeerLiteralFecha(const QString& interior) {
    static const QRegularExpression conMes(
        QStringLiteral(R"(^\s*(\d{1,2})[ -]([a-z]{3,4}\.?)[ -](\d{4}))") + kHora,
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression iso(QStringLiteral(R"(^\s*(\d{4})/(\d{1,2})/(\d{1,2}))") +
                                            kHora,
                                        QRegularExpression::CaseInsensitiveOption);
    auto m = conMes.match(interior);
    if (m.hasMatch()) {
        const int mes = numeroMes(m.captured(2));
        if (mes == 0)
            return std::nullopt;
        return conHora(m, grupo(m, 3), mes, grupo(m, 1), 4);
    }
    m = iso.match(interior);
    if (m.hasMatch())
        return conHora(m, grupo(m, 1), grupo(m, 2), grupo(m, 3), 4);
    return std::nullopt;
}

std::optional<QDateTime> LeerFechaGuardada(const QString& texto) {
    static const QRegularExpression iso(
        QStringLiteral(R"(^\s*(\d{4})-(\d{2})-(\d{2})(?:[ T](\d{2}):(\d{2}):(\d{2}))?\s*$)"));
    static const QRegularExpression corta(QStringLiteral(R"(^\s*(\d{1,2})/(\d{1,2})/(\d{4}))") +
                                              kHora,
                                          QRegularExpression::CaseInsensitiveOption);
    auto m = iso.match(texto);
    if (m.hasMatch())
        return armar(grupo(m, 1), grupo(m, 2), grupo(m, 3), grupo(m, 4), grupo(m, 5), grupo(m, 6));
    m = corta.match(texto);
    if (m.hasMatch())
        return conHora(m, grupo(m, 3), grupo(m, 2), grupo(m, 1), 4);
    return LeerLiteralFecha(texto);
}

QString FechaIso(const QDateTime& momento) {
    return momento.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

namespace {

bool esInicioPalabra(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool esParteDePalabra(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// Index just past a quoted text that starts at `i` (quote doubled inside); -1 if unclosed.
int finCitado(const QString& s, int i, QChar comilla) {
    for (int j = i + 1; j < s.size(); ++j) {
        if (s[j] != comilla)
            continue;
        if (j + 1 < s.size() && s[j + 1] == comilla) {
            ++j;
            continue;
        }
        return j + 1;
    }
    return -1;
}

void errorSintaxis(const QString& jet, const QString& que) {
    throw ErrorBD(QStringLiteral("Sentencia SQL no válida: %1").arg(que), jet);
}

} // namespace

QString TraducirJet(const QString& jet) {
    QString sql;
    sql.reserve(jet.size() + 16);
    // Pending "LIMIT n" per parenthesis depth, from a TOP n at that depth.
    QVector<QString> limites(1);
    int i = 0;
    const int n = jet.size();
    while (i < n) {
        const QChar c = jet[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const int fin = finCitado(jet, i, c);
            if (fin < 0)
                errorSintaxis(jet, QStringLiteral("texto sin cerrar"));
            if (c == QLatin1Char('\'')) {
                sql += QStringView(jet).mid(i, fin - i);
            } else {
                // Jet also reads double-quoted texts as values.
                QString valor = jet.mid(i + 1, fin - i - 2).replace(QStringLiteral("\"\""),
                                                                    QStringLiteral("\""));
                sql += QLatin1Char('\'') + valor.replace(QLatin1Char('\''), QStringLiteral("''")) +
                       QLatin1Char('\'');
            }
            i = fin;
        } else if (c == QLatin1Char('[')) {
            const int fin = jet.indexOf(QLatin1Char(']'), i);
            if (fin < 0)
                errorSintaxis(jet, QStringLiteral("nombre entre corchetes sin cerrar"));
            sql += QStringView(jet).mid(i, fin - i + 1);
            i = fin + 1;
        } else if (c == QLatin1Char('#')) {
            const int fin = jet.indexOf(QLatin1Char('#'), i + 1);
            const auto fecha = fin < 0 ? std::nullopt : LeerLiteralFecha(jet.mid(i + 1, fin - i - 1));
            if (!fecha)
                errorSintaxis(jet, QStringLiteral("fecha no válida"));
            sql += QLatin1Char('\'') + FechaIso(*fecha) + QLatin1Char('\'');
            i = fin + 1;
        } else if (c == QLatin1Char('(')) {
            limites.append(QString());
            sql += c;
            ++i;
        } else if (c == QLatin1Char(')')) {
            if (limites.size() > 1)
                sql += limites.takeLast();
            sql += c;
            ++i;
        } else if (esInicioPalabra(c)) {
            int fin = i + 1;
            while (fin < n && esParteDePalabra(jet[fin]))
                ++fin;
            const QStringView palabra = QStringView(jet).mid(i, fin - i);
            if (palabra.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
                sql += QLatin1String("-1");
            } else if (palabra.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
                sql += QLatin1String("0");
            } else if (palabra.compare(QLatin1String("TOP"), Qt::CaseInsensitive) == 0) {
                int j = fin;
                while (j < n && jet[j].isSpace())
                    ++j;
                int k = j;
                while (k < n && jet[k].isDigit())
                    ++k;
                if (k == j)
                    errorSintaxis(jet, QStringLiteral("TOP sin número"));
                limites.last() = QLatin1String(" LIMIT ") + jet.mid(j, k - j);
                while (k < n && jet[k].isSpace())
                    ++k;
                fin = k;
            } else {
                sql += palabra;
            }
            i = fin;
        } else {
            sql += c;
            ++i;
        }
    }
    // The outer LIMIT goes before any trailing semicolons and blanks.
    int cola = sql.size();
    while (cola > 0 && (sql[cola - 1].isSpace() || sql[cola - 1] == QLatin1Char(';')))
        --cola;
    sql.insert(cola, limites.first());
    return sql;
}
