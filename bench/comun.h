#pragma once
// What the benches share: the bulk load straight into SQLite, counting rows and timing.

#include "principal/conexion.h"
#include "principal/funcionesbd.h"
#include "principal/recordset.h"
#include "principal/servicios.h"

#include <QCoreApplication>
#include <QString>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <sqlite3.h>
#include <string>
#include <vector>

using Cronometro = std::chrono::steady_clock;

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

// Runs `accion`, and the events it leaves behind (a repaint), `veces` times; prints the median
// and the worst wall time and the median processor time.
inline void medir(const char* que, int veces, const std::function<void(int)>& accion) {
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
// that normalise them are dropped until terminar() puts them back, commits and closes.
class CargaDirecta {
public:
    CargaDirecta(const QString& carpeta, const char* tablas) {
        const QByteArray ruta = (carpeta + QStringLiteral("/vialtor.mdb")).toUtf8();
        exigir(sqlite3_open_v2(ruta.constData(), &db, SQLITE_OPEN_READWRITE, nullptr), "abrir");
        RegistrarFuncionesJet(db);
        const std::string consulta =
            std::string("SELECT name, sql FROM sqlite_master WHERE type='trigger' AND tbl_name "
                        "IN (") +
            tablas + ")";
        sqlite3_stmt* st = nullptr;
        exigir(sqlite3_prepare_v2(db, consulta.c_str(), -1, &st, nullptr), "disparadores");
        std::vector<std::string> nombres;
        while (sqlite3_step(st) == SQLITE_ROW) {
            nombres.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
            disparadores_.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
        }
        sqlite3_finalize(st);
        EjecutarDirecto(db, "BEGIN IMMEDIATE");
        for (const std::string& n : nombres)
            EjecutarDirecto(db, ("DROP TRIGGER " + n).c_str());
    }

    void terminar() {
        for (const std::string& s : disparadores_)
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
    std::vector<std::string> disparadores_;
};
