#include "bd/funcionesbd.h"

#include "bd/jet.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Built a second time into the loadable extension, where SQLite is reached through the
// routines the loading program hands over.
#ifdef VIALTOR_EXTENSION
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
#else
#include <sqlite3.h>
#endif

namespace {

// Primary weight: the base letter without case or accent, ñ just after n.
int pesoPrimario(QChar c) {
    const QChar minuscula = c.toLower();
    if (minuscula == QChar(0x00F1))
        return 'n' * 2 + 1;
    const QString base = minuscula.decomposition();
    const QChar letra = base.isEmpty() ? minuscula : base.at(0);
    return letra.unicode() * 2;
}

QString deUtf8(const void* datos, int largo) {
    return QString::fromUtf8(static_cast<const char*>(datos), largo);
}

int compararAscii(const unsigned char* a, int la, const unsigned char* b, int lb, bool& resuelto) {
    const int comun = la < lb ? la : lb;
    for (int i = 0; i < comun; ++i) {
        if (a[i] >= 0x80 || b[i] >= 0x80) {
            resuelto = false;
            return 0;
        }
        const int ca = (a[i] >= 'A' && a[i] <= 'Z') ? a[i] + 32 : a[i];
        const int cb = (b[i] >= 'A' && b[i] <= 'Z') ? b[i] + 32 : b[i];
        if (ca != cb) {
            resuelto = true;
            return ca - cb;
        }
    }
    for (int i = comun; i < la; ++i)
        if (a[i] >= 0x80)
            return resuelto = false, 0;
    for (int i = comun; i < lb; ++i)
        if (b[i] >= 0x80)
            return resuelto = false, 0;
    resuelto = true;
    return la - lb;
}

int colacionJet(void*, int la, const void* a, int lb, const void* b) {
    bool resuelto = false;
    const int r = compararAscii(static_cast<const unsigned char*>(a), la,
                                static_cast<const unsigned char*>(b), lb, resuelto);
    if (resuelto)
        return r;
    return CompararJet(deUtf8(a, la), deUtf8(b, lb));
}

QString textoArgumento(sqlite3_value* v) {
    return deUtf8(sqlite3_value_text(v), sqlite3_value_bytes(v));
}

void funcionLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    if (argc == 3) {
        sqlite3_result_error(ctx, "LIKE ... ESCAPE no se admite", -1);
        return;
    }
    sqlite3_result_int(ctx, ParecidoJet(textoArgumento(argv[0]), textoArgumento(argv[1])));
}

// Dates are kept as ISO text; any other accepted form is converted, anything else refused.
void funcionFecha(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const QString texto = textoArgumento(argv[0]);
    const std::optional<QString> iso =
        sqlite3_value_type(argv[0]) == SQLITE_TEXT ? FechaGuardadaIso(texto) : std::nullopt;
    if (!iso) {
        const QByteArray error = QStringLiteral("Valor de fecha no válido: %1").arg(texto).toUtf8();
        sqlite3_result_error(ctx, error.constData(), error.size());
        return;
    }
    const QByteArray utf8 = iso->toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), utf8.size(), SQLITE_TRANSIENT);
}

// Flags are kept as -1 / 0 so that true sorts first.
void funcionBandera(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    switch (sqlite3_value_numeric_type(v)) {
    case SQLITE_NULL:
        return sqlite3_result_null(ctx);
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return sqlite3_result_int(ctx, sqlite3_value_double(v) != 0 ? -1 : 0);
    default: {
        const QString t = textoArgumento(v).trimmed().toLower();
        if (t == QLatin1String("true") || t == QLatin1String("verdadero"))
            return sqlite3_result_int(ctx, -1);
        if (t == QLatin1String("false") || t == QLatin1String("falso"))
            return sqlite3_result_int(ctx, 0);
        const QByteArray error = QStringLiteral("Valor Sí/No no válido: %1").arg(t).toUtf8();
        sqlite3_result_error(ctx, error.constData(), error.size());
    }
    }
}

// The events (instant, change of the count, whether it is an entry) read in time order: the
// largest running count after all the events of one instant, from 0 before the first, and the
// first instant it was reached; and per hour of the stored times, the change of the count, the
// part of it at the hour's very start, and the entries. Events out of order would give wrong
// figures, so they are an error.
struct Horas {
    int64_t cuenta = 0;
    int64_t maximo = 0;
    std::string instante;
    std::string mejor;
    bool desordenado = false;
    std::string hora;           // "yyyy-mm-dd hh"
    bool alEmpezarHora = false; // the instant is the hour's very start
    int64_t neto = 0, enPunto = 0, entradas = 0;
    std::string porHora;

    void cerrarInstante() {
        if (cuenta > maximo) {
            maximo = cuenta;
            mejor = instante;
        }
    }
    void cerrarHora() {
        if (!hora.empty())
            porHora += hora + '|' + std::to_string(neto) + '|' + std::to_string(enPunto) + '|' +
                       std::to_string(entradas) + '\n';
        neto = enPunto = entradas = 0;
    }
};

// SQLite keeps only a zeroed block per group: it holds a pointer to the state, made on the first
// row and freed by the final call.
template <class Estado> Estado* estado(sqlite3_context* ctx, bool crear) {
    auto** ranura =
        static_cast<Estado**>(sqlite3_aggregate_context(ctx, crear ? sizeof(Estado*) : 0));
    if (ranura && !*ranura && crear)
        *ranura = new Estado;
    return ranura ? *ranura : nullptr;
}

void horasPaso(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Horas* h = estado<Horas>(ctx, true);
    if (!h || sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return;
    const std::string_view instante(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])),
                                    static_cast<size_t>(sqlite3_value_bytes(argv[0])));
    if (instante != h->instante) {
        h->desordenado = h->desordenado || instante < h->instante;
        h->cerrarInstante();
        h->instante.assign(instante);
        if (instante.substr(0, 13) != h->hora) {
            h->cerrarHora();
            h->hora.assign(instante.substr(0, 13));
        }
        h->alEmpezarHora = instante.substr(13) == ":00:00";
    }
    const int64_t cambio = sqlite3_value_int64(argv[1]);
    h->cuenta += cambio;
    h->neto += cambio;
    if (h->alEmpezarHora)
        h->enPunto += cambio;
    h->entradas += sqlite3_value_int64(argv[2]);
}

// Gives the state to `resultado` and frees it; no rows read is a count of 0 reached nowhere.
template <class Estado, class Resultado> void terminar(sqlite3_context* ctx, Resultado resultado) {
    Estado* e = estado<Estado>(ctx, false);
    Estado vacio;
    resultado(ctx, e ? *e : vacio);
    delete e;
}

// "count|instant" (the instant empty when the count never rose above 0), then a line per hour:
// "yyyy-mm-dd hh|change|change at its start|entries".
void horasFinal(sqlite3_context* ctx) {
    terminar<Horas>(ctx, [](sqlite3_context* c, Horas& h) {
        h.cerrarInstante();
        h.cerrarHora();
        if (h.desordenado)
            return sqlite3_result_error(c, "jet_horas: eventos fuera de orden", -1);
        const std::string texto = std::to_string(h.maximo) + '|' + h.mejor + '\n' + h.porHora;
        sqlite3_result_text(c, texto.data(), static_cast<int>(texto.size()), SQLITE_TRANSIENT);
    });
}

// The median of whole numbers: the middle one, or the mean of the two middle ones.
void medianaPaso(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* valores = estado<std::vector<int64_t>>(ctx, true);
    if (valores && sqlite3_value_type(argv[0]) != SQLITE_NULL)
        valores->push_back(sqlite3_value_int64(argv[0]));
}

void medianaFinal(sqlite3_context* ctx) {
    terminar<std::vector<int64_t>>(ctx, [](sqlite3_context* c, std::vector<int64_t>& v) {
        if (v.empty())
            return sqlite3_result_null(c);
        const auto medio = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
        std::nth_element(v.begin(), medio, v.end());
        const int64_t alto = *medio;
        const int64_t bajo = v.size() % 2 ? alto : *std::max_element(v.begin(), medio);
        sqlite3_result_double(c, (static_cast<double>(bajo) + static_cast<double>(alto)) / 2.0);
    });
}

} // namespace

int CompararJet(const QString& a, const QString& b) {
    const int comun = qMin(a.size(), b.size());
    for (int i = 0; i < comun; ++i) {
        const int d = pesoPrimario(a[i]) - pesoPrimario(b[i]);
        if (d != 0)
            return d;
    }
    if (a.size() != b.size())
        return a.size() - b.size();
    // Same letters: accents still tell words apart, case never does.
    return a.toLower().compare(b.toLower());
}

bool ParecidoJet(const QString& patron, const QString& valor) {
    const QString p = patron.toLower();
    const QString v = valor.toLower();
    // Iterative match with backtracking to the last %. One character between brackets ([%],
    // [_], [[]) stands for itself; a backslash there does not, as on the server.
    int ip = 0, iv = 0, estrella = -1, marca = 0;
    while (iv < v.size()) {
        const bool corchetes = ip + 2 < p.size() && p[ip] == QLatin1Char('[') &&
                               p[ip + 1] != QLatin1Char('\\') && p[ip + 2] == QLatin1Char(']');
        if (corchetes ? p[ip + 1] == v[iv]
                      : ip < p.size() && (p[ip] == QLatin1Char('_') || p[ip] == v[iv])) {
            ip += corchetes ? 3 : 1;
            ++iv;
        } else if (!corchetes && ip < p.size() && p[ip] == QLatin1Char('%')) {
            estrella = ip++;
            marca = iv;
        } else if (estrella >= 0) {
            ip = estrella + 1;
            iv = ++marca;
        } else {
            return false;
        }
    }
    while (ip < p.size() && p[ip] == QLatin1Char('%'))
        ++ip;
    return ip == p.size();
}

void RegistrarFuncionesJet(sqlite3* db) {
    const int utf8 = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_collation(db, "JET", SQLITE_UTF8, nullptr, colacionJet);
    sqlite3_create_function(db, "like", 2, utf8, nullptr, funcionLike, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, utf8, nullptr, funcionLike, nullptr, nullptr);
    sqlite3_create_function(db, "jet_fecha", 1, utf8, nullptr, funcionFecha, nullptr, nullptr);
    sqlite3_create_function(db, "jet_bandera", 1, utf8, nullptr, funcionBandera, nullptr, nullptr);
    sqlite3_create_function(db, "jet_horas", 3, utf8, nullptr, nullptr, horasPaso, horasFinal);
    sqlite3_create_function(db, "jet_mediana", 1, utf8, nullptr, nullptr, medianaPaso,
                            medianaFinal);
}
