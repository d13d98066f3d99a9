#include "bd/jet.h"

#include "bd/conexion.h"
#include "bd/sql.h"

#include <QRegularExpression>
#include <vector>

namespace {

int numeroMes(QString nombre) {
    nombre = nombre.toLower();
    if (nombre.endsWith(QLatin1Char('.')))
        nombre.chop(1);
    static const char* const meses[][3] = {
        {"ene", "jan", nullptr},   {"feb", nullptr, nullptr}, {"mar", nullptr, nullptr},
        {"abr", "apr", nullptr},   {"may", nullptr, nullptr}, {"jun", nullptr, nullptr},
        {"jul", nullptr, nullptr}, {"ago", "aug", nullptr},   {"sep", "sept", "set"},
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

// A wall-clock date and time, kept apart from any time zone until a caller asks for one:
// translating a literal only needs its fields.
struct Campos {
    QDate fecha;
    QTime hora;
};

std::optional<Campos> armar(int anio, int mes, int dia, int hora, int minuto, int segundo) {
    const QDate fecha(anio, mes, dia);
    const QTime tiempo(hora, minuto, segundo);
    if (!fecha.isValid() || !tiempo.isValid())
        return std::nullopt;
    return Campos{fecha, tiempo};
}

int grupo(const QRegularExpressionMatch& m, int n) {
    return m.captured(n).toInt();
}

// "hh:mm[:ss] [am|pm|a. m.|p.m.]" after the date part; the groups start at `desde`.
std::optional<Campos> conHora(const QRegularExpressionMatch& m, int anio, int mes, int dia,
                              int desde) {
    if (m.captured(desde).isEmpty())
        return armar(anio, mes, dia, 0, 0, 0);
    const int hora = hora24(grupo(m, desde), m.captured(desde + 3).remove(QLatin1Char(' ')));
    if (hora < 0)
        return std::nullopt;
    return armar(anio, mes, dia, hora, grupo(m, desde + 1), grupo(m, desde + 2));
}

const QString kHora =
    QStringLiteral(R"((?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?(?:\s*([ap]\.?\s?m\.?))?)?\s*$)");

std::optional<Campos> camposLiteral(const QString& interior) {
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

std::optional<Campos> camposGuardados(const QString& texto) {
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
    return camposLiteral(texto);
}

std::optional<QDateTime> enHoraLocal(const std::optional<Campos>& campos) {
    if (!campos)
        return std::nullopt;
    return QDateTime(campos->fecha, campos->hora);
}

// Runs for every date literal and every date written; QLocale's formatting is slow here.
QString iso(const QDate& d, const QTime& t) {
    if (!d.isValid() || !t.isValid() || d.year() < 1 || d.year() > 9999)
        return QDateTime(d, t).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const int partes[] = {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
    const int cifras[] = {4, 2, 2, 2, 2, 2};
    const char separadores[] = "-- ::";
    QString texto(19, Qt::Uninitialized);
    QChar* p = texto.data();
    for (int i = 0; i < 6; ++i) {
        if (i > 0)
            *p++ = QLatin1Char(separadores[i - 1]);
        for (int k = cifras[i] - 1, n = partes[i]; k >= 0; --k, n /= 10)
            p[k] = QLatin1Char(static_cast<char>('0' + n % 10));
        p += cifras[i];
    }
    return texto;
}

} // namespace

std::optional<QDateTime> LeerLiteralFecha(const QString& interior) {
    return enHoraLocal(camposLiteral(interior));
}

std::optional<QDateTime> LeerFechaGuardada(const QString& texto) {
    return enHoraLocal(camposGuardados(texto));
}

std::optional<QString> FechaGuardadaIso(const QString& texto) {
    const std::optional<Campos> campos = camposGuardados(texto);
    if (!campos)
        return std::nullopt;
    return iso(campos->fecha, campos->hora);
}

QString FechaIso(const QDateTime& momento) {
    if (!momento.isValid())
        return QString();
    return iso(momento.date(), momento.time());
}

namespace {

bool esInicioPalabra(QChar c) {
    return c.isLetter() || c == QLatin1Char('_');
}
bool esParteDePalabra(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

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

bool esEspecial(QChar c) {
    switch (c.unicode()) {
    case '\'':
    case '"':
    case '[':
    case '#':
    case '(':
    case ')':
        return true;
    default:
        return esInicioPalabra(c);
    }
}

// Index of the next character that the translation must look at, from `i`.
int finCorrido(const QString& s, int i) {
    while (i < s.size() && !esEspecial(s[i]))
        ++i;
    return i;
}

void errorSintaxis(const QString& jet, const QString& que) {
    throw ErrorBD(QStringLiteral("Sentencia SQL no válida: %1").arg(que), jet);
}

// One pass over a Jet statement: each token that differs on the engine is rewritten, the rest
// is copied in spans. Each step takes the index of its token and answers the index after it.
class Traductor {
public:
    Traductor(const QString& jet, DestinoSql destino)
        : jet_(jet), s_(jet), n_(static_cast<int>(s_.size())),
          postgres_(destino == DestinoSql::Postgres) {
        sql_.reserve(n_ + 16);
    }

    QString traducir() {
        int i = 0;
        while (i < n_) {
            const QChar c = s_[i];
            if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
                i = citado(i, c);
            else if (c == QLatin1Char('['))
                i = corchetes(i);
            else if (c == QLatin1Char('#'))
                i = fecha(i);
            else if (c == QLatin1Char('('))
                i = abreParentesis(i);
            else if (c == QLatin1Char(')'))
                i = cierraParentesis(i);
            else if (esInicioPalabra(c))
                i = palabra(i);
            else
                i = finCorrido(jet_, i + 1);
        }
        sql_ += s_.mid(copiado_);
        limiteExterior();
        return sql_;
    }

private:
    void cambiar(int desde, int hasta, QStringView por) {
        sql_ += s_.mid(copiado_, desde - copiado_);
        sql_ += por;
        copiado_ = hasta;
    }
    QString limite() const { return QStringLiteral(" LIMIT ").append(limites_.back()); }

    int citado(int i, QChar comilla) {
        const int fin = finCitado(jet_, i, comilla);
        if (fin < 0)
            errorSintaxis(jet_, QStringLiteral("texto sin cerrar"));
        if (comilla == QLatin1Char('"')) {
            // Jet also reads double-quoted texts as values.
            QString valor =
                jet_.mid(i + 1, fin - i - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
            cambiar(i, fin, Texto(valor));
        }
        return fin;
    }

    int corchetes(int i) {
        const int fin = jet_.indexOf(QLatin1Char(']'), i);
        if (fin < 0)
            errorSintaxis(jet_, QStringLiteral("nombre entre corchetes sin cerrar"));
        // The server folds plain names to lower case; so must a bracketed one.
        if (postgres_)
            cambiar(i, fin + 1,
                    QLatin1Char('"') +
                        jet_.mid(i + 1, fin - i - 1)
                            .toLower()
                            .replace(QStringLiteral("\""), QStringLiteral("\"\"")) +
                        QLatin1Char('"'));
        return fin + 1;
    }

    int fecha(int i) {
        const int fin = jet_.indexOf(QLatin1Char('#'), i + 1);
        const auto campos = fin < 0 ? std::nullopt : camposLiteral(jet_.mid(i + 1, fin - i - 1));
        if (!campos)
            errorSintaxis(jet_, QStringLiteral("fecha no válida"));
        cambiar(i, fin + 1,
                QLatin1String(postgres_ ? "TIMESTAMP '" : "'") + iso(campos->fecha, campos->hora) +
                    QLatin1Char('\''));
        return fin + 1;
    }

    // The digits of a pending TOP n per parenthesis depth, written as LIMIT n where it closes.
    int abreParentesis(int i) {
        limites_.emplace_back();
        return i + 1;
    }
    int cierraParentesis(int i) {
        if (limites_.size() > 1) {
            if (!limites_.back().isEmpty())
                cambiar(i, i, limite());
            limites_.pop_back();
        }
        return i + 1;
    }

    int palabra(int i) {
        int fin = i + 1;
        while (fin < n_ && esParteDePalabra(s_[fin]))
            ++fin;
        const QStringView termino = s_.mid(i, fin - i);
        const auto es = [&termino](const char* p) {
            return termino.compare(QLatin1String(p), Qt::CaseInsensitive) == 0;
        };
        if (termino.size() < 3 || termino.size() > 5)
            return fin; // not one of the words translated
        if (es("True"))
            cambiar(i, fin, u"-1");
        else if (es("False"))
            cambiar(i, fin, u"0");
        else if (postgres_ && es("LIKE"))
            cambiar(i, fin, u"~~~");
        else if (postgres_ && es("NOT"))
            return notLike(i, fin);
        else if (es("TOP"))
            return top(i, fin);
        return fin;
    }

    int saltarBlancos(int j) const {
        while (j < n_ && s_[j].isSpace())
            ++j;
        return j;
    }

    // NOT LIKE, whatever the blanks between, as one operator; a NOT alone is left as it is.
    int notLike(int i, int fin) {
        const int j = saltarBlancos(fin);
        if (j + 4 <= n_ && s_.mid(j, 4).compare(QLatin1String("LIKE"), Qt::CaseInsensitive) == 0 &&
            (j + 4 == n_ || !esParteDePalabra(s_[j + 4]))) {
            cambiar(i, j + 4, u"!~~~");
            return j + 4;
        }
        return fin;
    }

    // TOP n is dropped here and kept for the LIMIT of its depth.
    int top(int i, int fin) {
        const int j = saltarBlancos(fin);
        int k = j;
        while (k < n_ && s_[k].isDigit())
            ++k;
        if (k == j)
            errorSintaxis(jet_, QStringLiteral("TOP sin número"));
        limites_.back() = s_.mid(j, k - j);
        k = saltarBlancos(k);
        cambiar(i, k, {});
        return k;
    }

    // The outer LIMIT goes before any trailing semicolons and blanks.
    void limiteExterior() {
        if (limites_.front().isEmpty())
            return;
        int cola = sql_.size();
        while (cola > 0 && (sql_[cola - 1].isSpace() || sql_[cola - 1] == QLatin1Char(';')))
            --cola;
        sql_.insert(cola, limite());
    }

    const QString& jet_;
    const QStringView s_;
    const int n_;
    const bool postgres_;
    QString sql_;
    int copiado_ = 0; // jet_[copiado_, i) is still to be copied
    std::vector<QStringView> limites_ = std::vector<QStringView>(1);
};

} // namespace

QString TraducirJet(const QString& jet, DestinoSql destino) {
    return Traductor(jet, destino).traducir();
}
