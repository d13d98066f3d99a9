#include "bd/sql.h"

#include <QStringList>
#include <QVector>

QString Texto(const QString& valor) {
    QString doblado = valor;
    // The file's engine would end the statement at a NUL and the server refuses one in a text:
    // it never reaches either.
    doblado.remove(QChar(u'\0'));
    doblado.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doblado + QLatin1Char('\'');
}

QString PatronContiene(const QString& texto) {
    QString literal;
    for (const QChar c : texto)
        literal += c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('[')
                       ? QLatin1Char('[') + c + QLatin1Char(']')
                       : QString(c);
    return Texto(QLatin1Char('%') + literal + QLatin1Char('%'));
}

namespace {

struct Pieza {
    enum Tipo { Palabra, Literal, Signo } tipo;
    int inicio;
    int largo;
};

// Words, quoted texts and signs, enough to find where a value meets a column.
QVector<Pieza> piezas(const QString& s) {
    QVector<Pieza> resultado;
    int i = 0;
    const int n = s.size();
    auto esPalabra = [](QChar c) {
        return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.') ||
               c == QLatin1Char('[') || c == QLatin1Char(']');
    };
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        const int inicio = i;
        if (c == QLatin1Char('\'')) {
            for (++i; i < n; ++i)
                if (s[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && s[i + 1] == QLatin1Char('\'')) {
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
            resultado.append({Pieza::Literal, inicio, i - inicio});
        } else if (esPalabra(c)) {
            while (i < n && esPalabra(s[i]))
                ++i;
            resultado.append({Pieza::Palabra, inicio, i - inicio});
        } else {
            ++i;
            if (i < n && (c == QLatin1Char('<') || c == QLatin1Char('>')) &&
                (s[i] == QLatin1Char('=') || s[i] == QLatin1Char('>')))
                ++i;
            resultado.append({Pieza::Signo, inicio, i - inicio});
        }
    }
    return resultado;
}

} // namespace

QString OcultarClaves(const QString& sentencia) {
    const QVector<Pieza> p = piezas(sentencia);
    auto texto = [&](int k) { return sentencia.mid(p[k].inicio, p[k].largo); };
    auto es = [&](int k, const char* t) {
        return k >= 0 && k < p.size() &&
               texto(k).compare(QLatin1String(t), Qt::CaseInsensitive) == 0;
    };
    auto esClave = [&](int k) {
        if (k < 0 || k >= p.size() || p[k].tipo != Pieza::Palabra)
            return false;
        QString w = texto(k).section(QLatin1Char('.'), -1);
        w.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
        return w.compare(QLatin1String("pwd"), Qt::CaseInsensitive) == 0;
    };
    auto esLiteral = [&](int k) { return k >= 0 && k < p.size() && p[k].tipo == Pieza::Literal; };
    // The operator between positions k and j: a sign, LIKE or NOT LIKE; its length in pieces.
    auto comparacion = [&](int k) {
        if (k < 0 || k >= p.size())
            return 0;
        static const QStringList signos{"=", "<>", "<", ">", "<=", ">="};
        if (p[k].tipo == Pieza::Signo && signos.contains(texto(k)))
            return 1;
        if (es(k, "LIKE"))
            return 1;
        if (es(k, "NOT") && es(k + 1, "LIKE"))
            return 2;
        return 0;
    };
    QVector<bool> ocultar(p.size(), false);
    for (int k = 0; k < p.size(); ++k) {
        if (esClave(k)) {
            const int op = comparacion(k + 1);
            if (op && esLiteral(k + 1 + op))
                ocultar[k + 1 + op] = true;
        } else if (esLiteral(k)) {
            const int op = comparacion(k + 1);
            if (op && esClave(k + 1 + op))
                ocultar[k] = true;
        }
        // "(a, pwd, b) VALUES ('x', 'y', 'z'), (…)": the value in the password's place.
        if (!es(k, "("))
            continue;
        int posicion = -1, columnas = 0, j = k + 1;
        for (; j < p.size() && p[j].tipo == Pieza::Palabra; j += 2, ++columnas) {
            if (esClave(j))
                posicion = columnas;
            if (!es(j + 1, ","))
                break;
        }
        if (posicion < 0 || j >= p.size() || p[j].tipo != Pieza::Palabra || !es(j + 1, ")") ||
            !es(j + 2, "VALUES"))
            continue;
        for (int t = j + 3; es(t, "("); ++t) {
            int profundidad = 0, campo = 0;
            for (; t < p.size(); ++t) {
                if (es(t, "("))
                    ++profundidad;
                else if (es(t, ")") && --profundidad == 0)
                    break;
                else if (profundidad == 1 && es(t, ","))
                    ++campo;
                else if (profundidad == 1 && campo == posicion && esLiteral(t))
                    ocultar[t] = true;
            }
            if (!es(t + 1, ","))
                break;
            ++t;
        }
    }
    QString resultado = sentencia;
    for (int k = p.size() - 1; k >= 0; --k)
        if (ocultar[k])
            resultado.replace(p[k].inicio, p[k].largo, QStringLiteral("'***'"));
    return resultado;
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
