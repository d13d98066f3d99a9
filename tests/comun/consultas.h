#pragma once
// SQL for tests: running statements and reading rows back, the same way in every test folder.
// Each helper opens the connection when it is closed and then closes it again; on an open
// connection it leaves it open, so a test can read what its own transaction wrote.

#include "bd/conexion.h"
#include "bd/recordset.h"
#include "bd/servidor.h"

#include <QScopeGuard>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace consultas_detalle {

template <class Funcion> auto conConexion(Funcion funcion) {
    // Opening an open connection would cancel a close that waits for a transaction.
    const bool abierta = Conexion.State() == 1;
    if (!abierta)
        AbrirConexion();
    const auto cierre = qScopeGuard([abierta] {
        if (!abierta)
            CerrarConexion();
    });
    return funcion();
}

} // namespace consultas_detalle

// Runs one Jet statement through Recordset, as the windows do; the key of the last row inserted.
inline int64_t Ejecutar(const QString& jet) {
    return consultas_detalle::conConexion([&] {
        Recordset().Open(jet);
        return Recordset::UltimoId();
    });
}

// The rows of a Jet query as one text: fields joined by ',', rows by '|', Null as "(Null)".
inline QString Tabla(const QString& jet) {
    return consultas_detalle::conConexion([&] {
        Recordset rs;
        rs.Open(jet);
        QStringList filas;
        for (; !rs.Eof(); rs.MoveNext()) {
            QStringList campos;
            for (const QString& n : rs.nombresCampos())
                campos << (rs.Fields(n).esNulo() ? QStringLiteral("(Null)")
                                                 : rs.Fields(n).aTexto());
            filas << campos.join(',');
        }
        return filas.join('|');
    });
}

// One field of every row, read by name as the windows read it.
inline QStringList Columna(const QString& jet, const QString& campo) {
    return consultas_detalle::conConexion([&] {
        Recordset rs;
        rs.Open(jet);
        QStringList valores;
        for (; !rs.Eof(); rs.MoveNext())
            valores << rs.Fields(campo).aTexto();
        return valores;
    });
}

// The rows of plain SQL, with no translation and no conversion (as stored), columns
// joined by '|'; on `db` when given, otherwise on the program's connection (file or server).
inline QStringList Crudas(const QString& sql, sqlite3* db = nullptr) {
    auto leer = [&](sqlite3* base) {
        sqlite3_stmt* st = nullptr;
        QStringList filas;
        if (sqlite3_prepare_v2(base, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
            throw ErrorBD(QStringLiteral("Consulta de prueba"),
                          QString::fromUtf8(sqlite3_errmsg(base)));
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList fila;
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                fila << QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
            filas << fila.join(QLatin1Char('|'));
        }
        sqlite3_finalize(st);
        return filas;
    };
    if (db)
        return leer(db);
    return consultas_detalle::conConexion([&] {
        return Conexion.esServidor() ? Conexion.servidor().crudas(sql) : leer(Conexion.manejador());
    });
}

// The error an action raises; fails the test when it raises none.
inline ErrorBD ErrorDe(const std::function<void()>& accion) {
    try {
        accion();
    } catch (const ErrorBD& e) {
        return e;
    }
    ADD_FAILURE() << "sin error";
    return ErrorBD(QString());
}

// Fails the action's first statement, then its second, and so on until it goes through: after
// each failure `estado` reads as before, after the success it does not. The statements it ran.
inline int FallarCadaSentencia(const std::function<void()>& accion,
                               const std::function<QString()>& estado) {
    const QString antes = estado();
    for (int n = 1;; ++n) {
        Conexion.fallarSentencia(n);
        try {
            accion();
            Conexion.fallarSentencia(0);
            EXPECT_NE(estado(), antes);
            return n;
        } catch (const ErrorBD&) {
            CerrarConexion();
        }
        EXPECT_EQ(estado(), antes) << n;
    }
}
