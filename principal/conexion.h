#pragma once
// The one database connection of the process: an SQLite file that keeps its historic name.

#include <QString>
#include <stdexcept>

struct sqlite3;

// The single error type of the data layer: a Spanish message plus the driver's own text.
class ErrorBD : public std::runtime_error {
public:
    ErrorBD(const QString& mensaje, const QString& detalle = QString());
    QString mensaje;
    QString detalle;
    // Message and driver text together, as shown to the user.
    QString textoCompleto() const;
};

class ConexionBD {
public:
    ~ConexionBD();
    int State() const { return abierta_ ? 1 : 0; }
    QString rutaBaseDatos() const;
    sqlite3* manejador();
    void abrir();
    void cerrar();

    // Test hook: the n-th statement from now (1 = the next) fails with an ErrorBD.
    void fallarSentencia(int n) { sentenciasHastaFallo_ = n; }
    // Counts one statement and throws if the hook says this one must fail.
    void contarSentencia();

private:
    friend class Transaccion;
    void liberar();
    // The SQLite handle outlives a close: between statements it holds no lock, and reopening
    // it would read the schema again on every operation.
    sqlite3* db_ = nullptr;
    QString identidadDb_;
    bool abierta_ = false;
    int profundidadTransaccion_ = 0;
    bool cierrePendiente_ = false;
    bool transaccionFallida_ = false;
    int sentenciasHastaFallo_ = 0;
};

extern ConexionBD Conexion;

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
