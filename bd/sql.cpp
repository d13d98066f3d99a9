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

// A statement's pieces, the questions masking asks of them, and which pieces it hides.
class Enmascarado {
public:
    explicit Enmascarado(const QString& sentencia)
        : s_(sentencia), p_(piezas(sentencia)), ocultar_(p_.size(), false) {}

    QString resultado() {
        for (int k = 0; k < p_.size(); ++k) {
            ocultarComparado(k);
            if (es(k, "("))
                ocultarInsertado(k);
        }
        QString oculto = s_;
        for (int k = p_.size() - 1; k >= 0; --k)
            if (ocultar_[k])
                oculto.replace(p_[k].inicio, p_[k].largo, QStringLiteral("'***'"));
        return oculto;
    }

private:
    bool hay(int k) const { return k >= 0 && k < p_.size(); }
    QString texto(int k) const { return s_.mid(p_[k].inicio, p_[k].largo); }
    bool es(int k, const char* t) const {
        return hay(k) && texto(k).compare(QLatin1String(t), Qt::CaseInsensitive) == 0;
    }
    bool esPalabra(int k) const { return hay(k) && p_[k].tipo == Pieza::Palabra; }
    bool esLiteral(int k) const { return hay(k) && p_[k].tipo == Pieza::Literal; }
    bool esClave(int k) const {
        if (!esPalabra(k))
            return false;
        QString w = texto(k).section(QLatin1Char('.'), -1);
        w.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
        return w.compare(QLatin1String("pwd"), Qt::CaseInsensitive) == 0;
    }

    // The operator starting at k: a sign, LIKE or NOT LIKE; its length in pieces, 0 for none.
    int comparacion(int k) const {
        if (!hay(k))
            return 0;
        static const QStringList signos{"=", "<>", "<", ">", "<=", ">="};
        if (p_[k].tipo == Pieza::Signo && signos.contains(texto(k)))
            return 1;
        if (es(k, "LIKE"))
            return 1;
        if (es(k, "NOT") && es(k + 1, "LIKE"))
            return 2;
        return 0;
    }

    // "pwd = 'x'" and "'x' = pwd", with any comparison.
    void ocultarComparado(int k) {
        if (esClave(k)) {
            const int op = comparacion(k + 1);
            if (op && esLiteral(k + 1 + op))
                ocultar_[k + 1 + op] = true;
        } else if (esLiteral(k)) {
            const int op = comparacion(k + 1);
            if (op && esClave(k + 1 + op))
                ocultar_[k] = true;
        }
    }

    // "(a, pwd, b) VALUES ('x', 'y', 'z'), (…)": the value in the password's place.
    void ocultarInsertado(int k) {
        int j = k + 1;
        const int posicion = columnaClave(j);
        if (posicion < 0 || !esPalabra(j) || !es(j + 1, ")") || !es(j + 2, "VALUES"))
            return;
        ocultarFilas(j + 3, posicion);
    }

    // The password's place among the names listed from j, or -1; j ends on the last name.
    int columnaClave(int& j) const {
        int posicion = -1;
        for (int columnas = 0; esPalabra(j); j += 2, ++columnas) {
            if (esClave(j))
                posicion = columnas;
            if (!es(j + 1, ","))
                break;
        }
        return posicion;
    }

    // Each parenthesised row from t, its values counted at depth one.
    void ocultarFilas(int t, int posicion) {
        for (; es(t, "("); ++t) {
            int profundidad = 0, campo = 0;
            for (; t < p_.size(); ++t) {
                if (es(t, "("))
                    ++profundidad;
                else if (es(t, ")") && --profundidad == 0)
                    break;
                else if (profundidad == 1 && es(t, ","))
                    ++campo;
                else if (profundidad == 1 && campo == posicion && esLiteral(t))
                    ocultar_[t] = true;
            }
            if (!es(t + 1, ","))
                break;
            ++t;
        }
    }

    const QString& s_;
    const QVector<Pieza> p_;
    QVector<bool> ocultar_;
};

} // namespace

QString OcultarClaves(const QString& sentencia) {
    return Enmascarado(sentencia).resultado();
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
