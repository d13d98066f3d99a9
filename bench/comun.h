#pragma once
// What the benches share: the bulk load straight into SQLite, counting rows and timing.

#include "bd/conexion.h"
#include "bd/funcionesbd.h"
#include "bd/recordset.h"
#include "principal/servicios.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <sqlite3.h>
#include <string>
#include <vector>

using Cronometro = std::chrono::steady_clock;

// "--servidor CONNINFO" taken out of a bench's arguments: the connection string, or empty.
inline QString tomarServidor(QStringList& args) {
    const int opcion = args.indexOf(QStringLiteral("--servidor"));
    const QString servidor = opcion >= 0 && opcion + 1 < args.size() ? args.takeAt(opcion + 1) : "";
    args.removeAll(QStringLiteral("--servidor"));
    return servidor;
}

inline double milisegundos(Cronometro::time_point desde) {
    return std::chrono::duration<double, std::milli>(Cronometro::now() - desde).count();
}

// Processor time of this process: other processes on the machine stretch the wall clock, and a
// commit's wait for the disk is not in it.
inline double milisegundosCpu() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// p in [0, 1]: 0.5 the median, 1 the worst.
inline double percentil(std::vector<double> tiempos, double p) {
    std::sort(tiempos.begin(), tiempos.end());
    const size_t i = static_cast<size_t>(p * static_cast<double>(tiempos.size() - 1) + 0.5);
    return tiempos[i];
}

struct Tiempos {
    double pared = 0; // median wall time, stretched by the other processes of the machine
    double cpu = 0;   // median processor time: this process's own work
};

// Runs `accion`, and the events it leaves behind (a repaint), `veces` times; prints the median
// and the worst wall time and the median processor time, and returns both medians.
inline Tiempos medir(const char* que, int veces, const std::function<void(int)>& accion) {
    std::vector<double> pared, cpu;
    for (int i = 0; i < veces; ++i) {
        const double inicioCpu = milisegundosCpu();
        const auto inicio = Cronometro::now();
        accion(i);
        QCoreApplication::processEvents();
        pared.push_back(milisegundos(inicio));
        cpu.push_back(milisegundosCpu() - inicioCpu);
    }
    std::printf("%-42s p50 %8.2f ms  max %8.2f ms  cpu p50 %8.2f ms\n", que, percentil(pared, 0.5),
                percentil(pared, 1), percentil(cpu, 0.5));
    return {percentil(pared, 0.5), percentil(cpu, 0.5)};
}

// "--anios N" among the arguments gives the years of history (1 when absent); the first other
// argument, the exits stored per year.
struct Historia {
    int anios = 1;
    int salidasPorAnio = 1000000;
    int64_t salidas() const { return static_cast<int64_t>(anios) * salidasPorAnio; }
};

inline Historia leerHistoria(int argc, char* argv[]) {
    Historia h;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--anios" && i + 1 < argc)
            h.anios = std::max(1, std::atoi(argv[++i]));
        else
            h.salidasPorAnio = std::max(1, std::atoi(argv[i]));
    }
    return h;
}

// Catches the statements the program sends to SQLite while it lives, so the very same ones
// can be run bare afterwards. The handle outlives the program's closes, so one hook serves.
class Grabadora {
public:
    Grabadora() {
        AbrirConexion();
        db_ = Conexion.manejador();
        CerrarConexion();
        sqlite3_trace_v2(db_, SQLITE_TRACE_STMT, &Grabadora::alEmpezar, this);
    }
    ~Grabadora() { sqlite3_trace_v2(db_, 0, nullptr, nullptr); }
    Grabadora(const Grabadora&) = delete;
    Grabadora& operator=(const Grabadora&) = delete;
    std::vector<std::string> sentencias;

private:
    static int alEmpezar(unsigned, void* yo, void* st, void* x) {
        // A trigger's statements come as comments: they run again with the one that fired them.
        const char* texto = static_cast<const char*>(x);
        if (texto && std::strncmp(texto, "--", 2) != 0)
            static_cast<Grabadora*>(yo)->sentencias.emplace_back(
                sqlite3_sql(static_cast<sqlite3_stmt*>(st)));
        return 0;
    }
    sqlite3* db_ = nullptr;
};

// The statements one run of `accion`, and the events it leaves behind, send to SQLite.
inline std::vector<std::string> grabar(const std::function<void()>& accion) {
    Grabadora grabadora;
    accion();
    QCoreApplication::processEvents();
    return grabadora.sentencias;
}

// The database of `carpeta` on a bare SQLite connection of its own, with only the functions
// and collation the statements need: what the program's layer costs is the difference.
class Crudo {
public:
    explicit Crudo(const QString& carpeta) {
        const QByteArray ruta = (carpeta + QStringLiteral("/vialtor.mdb")).toUtf8();
        if (sqlite3_open_v2(ruta.constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            fallar("abrir");
        RegistrarFuncionesJet(db_);
    }
    ~Crudo() { sqlite3_close(db_); }
    Crudo(const Crudo&) = delete;
    Crudo& operator=(const Crudo&) = delete;

    // Runs `sentencias` `veces` times, every cell of every row read as text. The program's
    // BEGIN and COMMIT are left out and any write is rolled back, so each run finds the data
    // the program found; the commit's disk wait is thus not in this figure (nor in the cpu).
    Tiempos medir(const std::vector<std::string>& sentencias, int veces) {
        std::vector<std::string> propias;
        bool escribe = false;
        for (const std::string& s : sentencias) {
            if (esDeTransaccion(s))
                continue;
            propias.push_back(s);
            escribe = escribe || !soloLee(s);
        }
        std::vector<double> pared, cpu;
        for (int i = 0; i < veces; ++i) {
            const double inicioCpu = milisegundosCpu();
            const auto inicio = Cronometro::now();
            if (escribe)
                ejecutar("BEGIN IMMEDIATE");
            for (const std::string& s : propias)
                ejecutar(s);
            if (escribe)
                ejecutar("ROLLBACK");
            pared.push_back(milisegundos(inicio));
            cpu.push_back(milisegundosCpu() - inicioCpu);
        }
        return {percentil(pared, 0.5), percentil(cpu, 0.5)};
    }

private:
    static bool esDeTransaccion(const std::string& s) {
        for (const char* orden : {"BEGIN", "COMMIT", "ROLLBACK", "END", "SAVEPOINT", "RELEASE"})
            if (sqlite3_strnicmp(s.c_str(), orden, static_cast<int>(std::strlen(orden))) == 0)
                return true;
        return false;
    }

    bool soloLee(const std::string& s) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, s.c_str(), -1, &st, nullptr) != SQLITE_OK)
            fallar(s.c_str());
        const bool lee = sqlite3_stmt_readonly(st) != 0;
        sqlite3_finalize(st);
        return lee;
    }

    void ejecutar(const std::string& s) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, s.c_str(), -1, &st, nullptr) != SQLITE_OK)
            fallar(s.c_str());
        const int columnas = sqlite3_column_count(st);
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW)
            for (int c = 0; c < columnas; ++c)
                sqlite3_column_text(st, c);
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE)
            fallar(s.c_str());
    }

    // Stops the bench: a figure for statements that failed would mean nothing.
    [[noreturn]] void fallar(const char* que) const {
        std::fprintf(stderr, "%s: %s\n", que, sqlite3_errmsg(db_));
        std::exit(1);
    }

    sqlite3* db_ = nullptr;
};

// One timed action: the program's figure beside bare SQLite's for the same statements, their
// ratio and the goal (none when 0). True when the program's processor time meets the goal.
inline bool compararConCrudo(const char* que, const Tiempos& programa, const Tiempos& crudo,
                             double metaMs = 0) {
    const bool cumple = metaMs <= 0 || programa.cpu <= metaMs;
    char meta[48] = "sin meta";
    if (metaMs > 0)
        std::snprintf(meta, sizeof meta, "meta %.0f ms: %s", metaMs,
                      cumple ? "cumple" : "NO cumple");
    std::printf("%-32s programa %7.1f ms (cpu %7.1f)  SQLite %7.1f ms (cpu %7.1f)  x%4.2f  %s\n",
                que, programa.pared, programa.cpu, crudo.pared, crudo.cpu,
                crudo.cpu > 0 ? programa.cpu / crudo.cpu : 0.0, meta);
    return cumple;
}

// `sql` names its count `n`.
inline int64_t contar(const QString& sql) {
    AbrirConexion();
    Recordset rs;
    rs.Open(sql);
    const int64_t n = rs.Fields(QStringLiteral("n")).aEntero();
    CerrarConexion();
    return n;
}

// The program's and the work folder in one.
class CarpetaUnica : public Carpetas {
public:
    QString carpetaPrograma() const override { return carpeta; }
    QString carpetaTrabajo() const override { return carpeta; }
    QString carpeta;
};

// The database of `carpeta` opened straight in SQLite for a load in one transaction. The rows
// go in with their dates already as stored, so the triggers of `tablas` (a quoted SQL list)
// that normalise them are dropped until terminar() puts them back, commits and closes. Their
// indexes are dropped too and built again at the end: kept during the load, millions of rows
// land in random places of the plate index, and five years take minutes instead of seconds.
class CargaDirecta {
public:
    CargaDirecta(const QString& carpeta, const char* tablas) {
        const QByteArray ruta = (carpeta + QStringLiteral("/vialtor.mdb")).toUtf8();
        exigir(sqlite3_open_v2(ruta.constData(), &db, SQLITE_OPEN_READWRITE, nullptr), "abrir");
        RegistrarFuncionesJet(db);
        const std::string consulta =
            std::string("SELECT name, sql, type FROM sqlite_master WHERE type IN ('trigger', "
                        "'index') AND sql IS NOT NULL AND tbl_name IN (") +
            tablas + ")";
        sqlite3_stmt* st = nullptr;
        exigir(sqlite3_prepare_v2(db, consulta.c_str(), -1, &st, nullptr), "disparadores");
        std::vector<std::string> bajas;
        while (sqlite3_step(st) == SQLITE_ROW) {
            const std::string tipo = reinterpret_cast<const char*>(sqlite3_column_text(st, 2));
            bajas.push_back((tipo == "index" ? "DROP INDEX " : "DROP TRIGGER ") +
                            std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))));
            quitados_.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
        }
        sqlite3_finalize(st);
        // Room for the index builds' sorting; the load's rows need no cache.
        EjecutarDirecto(db, "PRAGMA cache_size=-262144");
        EjecutarDirecto(db, "BEGIN IMMEDIATE");
        for (const std::string& b : bajas)
            EjecutarDirecto(db, b.c_str());
    }

    void terminar() {
        for (const std::string& s : quitados_)
            EjecutarDirecto(db, s.c_str());
        EjecutarDirecto(db, "COMMIT");
        sqlite3_close(db);
    }

    // Stops the bench on a failed call: its figures would mean nothing.
    void exigir(int rc, const char* que) const {
        if (rc == SQLITE_OK || rc == SQLITE_DONE)
            return;
        std::fprintf(stderr, "%s: %s\n", que, sqlite3_errmsg(db));
        std::exit(1);
    }

    sqlite3* db = nullptr;

private:
    std::vector<std::string> quitados_; // the triggers' and indexes' own CREATE statements
};
