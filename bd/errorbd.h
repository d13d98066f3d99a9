#pragma once
// The single error type of the data layer, and the causes it tells the attendant apart.

#include <QString>
#include <stdexcept>

struct sqlite3;

// What the attendant can be told about a failure; the driver's text is for the log.
enum class CausaBD {
    Otra,
    Ocupada,
    DiscoLleno,
    SinPermiso,
    Danada,
    NoExiste,
    // On a server: no answer, password or user refused, no such database, a database without
    // the program's tables, a connection lost in the middle. Their sentences name the server.
    SinServidor,
    ClaveRechazada,
    UsuarioRechazado,
    SinBaseServidor,
    SinTablas,
    ConexionPerdida
};

// The single error type of the data layer: a Spanish message plus the driver's own text.
class ErrorBD : public std::runtime_error {
public:
    // Any password value in `detalle` is hidden, as in deSentencia.
    ErrorBD(const QString& mensaje, const QString& detalle = QString(),
            CausaBD causa = CausaBD::Otra);
    // A statement that failed: the driver's text, then the statement in brackets with its
    // password values hidden, since both go to the log.
    static ErrorBD deSentencia(const QString& textoDriver, const QString& sentencia,
                               CausaBD causa = CausaBD::Otra);
    // A failure whose sentence for the attendant is written where it happened (a server's,
    // which names the server).
    static ErrorBD conExplicacion(const QString& mensaje, const QString& detalle, CausaBD causa,
                                  const QString& explicacion);
    QString mensaje;
    QString detalle;
    CausaBD causa;
    // Message and driver text together, for the log and the tools.
    QString textoCompleto() const;
    // A Spanish sentence for the attendant, without the driver's text or the statement.
    QString explicacion() const;

private:
    QString explicacion_;
};

// The cause of the last failure SQLite reported on `db`.
CausaBD CausaSqlite(sqlite3* db);
