#pragma once
// The connection to a PostgreSQL server, for lots whose stations sit on several machines.

#include "bd/conexion.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>

// The lock every writing transaction on the server takes first.
inline constexpr qint64 ClaveBloqueoEscritura = 0x5649414C;

struct pg_conn;
struct pg_result;
class Valor;

// The connection string in vialtor_servidor.cfg of `carpeta` (its first line, trimmed); empty
// when there is no such file, so the station keeps its embedded file.
QString LeerConexionServidor(const QString& carpeta);

// "servidor HOST:PUERTO/BASE" of a connection string, defaults filled in, never the password.
QString DescripcionServidor(const QString& conexion);

// The cause of a failure from the server's SQLSTATE.
CausaBD CausaPg(const QString& estado);

class ServidorPg {
public:
    // Connects; a failure says why (no answer, password, user, database) and names the server.
    ServidorPg(const QString& conexion, int esperaMaximaMs);
    ~ServidorPg();
    ServidorPg(const ServidorPg&) = delete;
    ServidorPg& operator=(const ServidorPg&) = delete;

    const QString& conexion() const { return conexion_; }
    // False once the server went away: the connection must be made anew.
    bool viva() const;
    // "servidor HOST:PUERTO/BASE", never the password: for the log.
    QString descripcion() const;
    // False when the server has ended the connection since its last statement (a restart, a
    // terminated backend): reads what the server sent meanwhile, without waiting.
    bool comprobar();
    // An error of this server's connection, with the sentence of its cause naming the server.
    ErrorBD error(CausaBD causa, const QString& detalle) const;

    // One statement, already translated; `jet` is what the window wrote, for the error text.
    // Rows go to `nombres`/`celdas` as Recordset keeps them. An INSERT returns no rows but
    // remembers the key of its last row.
    void consultar(const QString& sql, const QString& jet, QStringList& nombres,
                   QVector<Valor>& celdas);
    // Plain SQL, one or more statements, no rows kept.
    void ejecutar(const QString& sql);
    // COMMIT; false when the server ended the transaction with a rollback instead.
    bool confirmar();
    // Rows of plain SQL as texts, fields joined by '|' (Null as empty).
    QStringList crudas(const QString& sql);
    int64_t ultimoId() const { return ultimoId_; }
    int64_t filasAfectadas() const { return filasAfectadas_; }
    void fijarEsperaMaxima(int ms);
    // In a child process after fork(): lets go of the parent's socket without closing it.
    void olvidar() { pg_ = nullptr; }
    // Reads the tables' columns again (after the schema is made).
    void leerColumnas();

private:
    struct InfoColumna {
        QString tabla;
        QString columna;
        bool bandera = false;
    };
    void exigirBarrasLiterales();
    bool esperarConexion();
    pg_result* exigir(pg_result* resultado, const QString& sentencia);
    QStringList nombresDe(pg_result* resultado) const;
    pg_conn* pg_ = nullptr;
    QString conexion_;
    int64_t ultimoId_ = 0;
    int64_t filasAfectadas_ = 0;
    // By table OID and column number: the schema's spelling and whether it is a flag.
    QHash<quint64, InfoColumna> columnas_;
};
