#pragma once
// Each thread's database connection: an SQLite file that keeps its historic name, or a
// PostgreSQL server when the station's vialtor_servidor.cfg names one.

#include "bd/errorbd.h"

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

struct sqlite3;
class ServidorPg;

// Where the data lies: the folder that holds vialtor.mdb, and a server's libpq connection string
// (empty: the file).
struct UbicacionDatos {
    QString carpeta;
    QString servidor;
};

// The station's settings tell the engine where its data lies. Until told, or with no folder: the
// program's own folder, on the file.
void EstablecerUbicacionDatos(std::function<UbicacionDatos()> ubicacion);

class ConexionBD {
public:
    // Another station writing makes a statement wait this long before giving up.
    static constexpr int EsperaPredeterminadaMs = 15000;
    ~ConexionBD();
    int State() const { return abierta_ ? 1 : 0; }
    QString rutaBaseDatos() const;
    sqlite3* manejador();
    // True when the station works on a server (ConfigInicio.Servidor is set).
    bool esServidor() const;
    // Where the data is, for the attendant: the file's path or "servidor HOST:PUERTO/BASE".
    QString ubicacion() const;
    // The open server connection; throws like manejador() when closed.
    ServidorPg& servidor();
    // On the file, a stamp that differs from an earlier one whenever another connection
    // committed in between (SQLite's data_version, with which opening of the handle it came
    // from); nothing on a server.
    std::optional<std::pair<int64_t, int64_t>> sello();
    void abrir();
    void cerrar();

    // After an error: closes and lets go of the handle, so nothing it held (a transaction, a
    // lock) outlives the failure. Inside a transaction it only closes, as CerrarConexion does.
    void descartar();
    // In a child process after fork(): forgets the parent's handle without touching it, since
    // SQLite forbids using or closing it there; the next AbrirConexion opens the child's own.
    void olvidarHeredada();

    // Test hook: the n-th statement from now (1 = the next) fails with an ErrorBD.
    void fallarSentencia(int n) { sentenciasHastaFallo_ = n; }
    // Test hook: `accion` runs once, just before the n-th statement from now (another station
    // writing in the middle of a read); 0 removes it.
    void antesDeSentencia(int n, std::function<void()> accion = nullptr);
    // Test hook: how long a statement waits for another station's lock.
    void fijarEsperaMaxima(int ms);
    // Counts one statement and throws if the hook says this one must fail.
    void contarSentencia();
    // A statement failed: a transaction around it may no longer be confirmed, even when the
    // caller goes on, as the server already refuses to.
    void sentenciaFallida();

private:
    friend class Transaccion;
    friend class LecturaConsistente;
    static int alEstarOcupada(void* conexion, int intentos);
    void avisarEspera(bool esperando);
    void liberar();
    void abrirServidor();
    void empezar();
    void deshacer();
    void confirmarTransaccion();
    std::unique_ptr<ServidorPg> pg_;
    // The SQLite handle outlives a close: between statements it holds no lock, and reopening
    // it would read the schema again on every operation.
    sqlite3* db_ = nullptr;
    QString identidadDb_;
    bool abierta_ = false;
    int profundidadTransaccion_ = 0;
    bool cierrePendiente_ = false;
    bool transaccionFallida_ = false;
    int sentenciasHastaFallo_ = 0;
    int sentenciasHastaAccion_ = 0;
    std::function<void()> accionAntes_;
    int64_t aperturas_ = 0;
    int esperaMaximaMs_ = EsperaPredeterminadaMs;
    bool esperando_ = false;
    QElapsedTimer inicioEspera_;
};

// Told true when a statement begins to wait for another station's lock and false when the
// wait is over (the statement got it or gave up, or the next one begins, or the connection
// closes). The windows show a wait cursor; the core knows no widgets. Only the calling thread's
// waits are told: a worker's must not reach widgets.
void EstablecerAvisoEspera(std::function<void(bool esperando)> aviso);

// One per thread: a worker reading in the background opens its own handle, made from the same
// data location, and lets go of it when the thread ends.
extern thread_local ConexionBD Conexion;

void AbrirConexion();
// Inside a transaction the close waits until the transaction ends.
void CerrarConexion();

// Runs one statement that returns no rows directly on the connection.
void EjecutarDirecto(sqlite3* db, const char* sql);

// RAII transaction: BEGIN IMMEDIATE now, ROLLBACK at the end unless confirmar() ran.
// Nested guards join the outermost one.
class Transaccion {
public:
    Transaccion();
    ~Transaccion();
    Transaccion(const Transaccion&) = delete;
    Transaccion& operator=(const Transaccion&) = delete;
    void confirmar();

private:
    bool confirmada_ = false;
};

// RAII read of one moment: every statement inside it sees the database as it stood at the first
// of them, whatever other stations commit meanwhile. On the file a read transaction, whose
// shared lock holds their commits back until it ends; on a server one repeatable-read snapshot,
// which holds nothing back. Never inside a Transaccion; it writes nothing, so it ends with a
// rollback.
class LecturaConsistente {
public:
    LecturaConsistente();
    ~LecturaConsistente();
    LecturaConsistente(const LecturaConsistente&) = delete;
    LecturaConsistente& operator=(const LecturaConsistente&) = delete;
};
