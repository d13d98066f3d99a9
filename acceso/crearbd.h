#pragma once
// A new data folder: vialtor.mdb with the schema, the settings row and a first administrator,
// whose password is stored hashed.

#include <QString>
#include <QVector>
#include <cstdint>

// Throws ErrorBD when a database is already there (it is never overwritten) or the file
// cannot be written. The file appears whole or not at all, with three sample rates when
// `tarifasDemo` (for demonstrations).
void CrearBaseDatos(const QString& carpeta, const QString& usuario, const QString& clave,
                    const QString& puntoControl = QStringLiteral("CAJA1"),
                    bool tarifasDemo = false);

// The same on an empty PostgreSQL database named by a libpq connection string, in one
// transaction. Throws ErrorBD when the database already holds the tables.
void CrearBaseDatosServidor(const QString& conexion, const QString& usuario, const QString& clave,
                            const QString& puntoControl = QStringLiteral("CAJA1"),
                            bool tarifasDemo = false);

// A new station: its database, a file in `carpetaDatos` or an empty server database named by
// `servidor`, and its vialtor.cfg (with vialtor_servidor.cfg beside it for a server) in
// `carpetaEstacion`, naming `carpetaDatos` for the database, the event log and the backups.
struct EstacionNueva {
    QString carpetaEstacion;
    QString carpetaDatos;
    QString servidor;
    QString usuario = QStringLiteral("admin");
    QString clave = QStringLiteral("admin");
    QString puntoControl = QStringLiteral("CAJA1");
    bool tarifasDemo = false;
};

// Why a station cannot be made as given, in the user's words, and the value at fault.
struct ReparoEstacion {
    enum Campo { Ninguno, CarpetaDatos, PuntoControl, Usuario, Clave } campo = Ninguno;
    QString texto;
};
// The first fault of the values, in the order they are asked; Ninguno when there is none.
ReparoEstacion RevisarEstacionNueva(const EstacionNueva& estacion);
// Makes the station, as crear_bd and the first start do. No configuration without its
// database: a new database file whose configuration cannot be written is taken back. Faults:
// ErrorBD (also for what RevisarEstacionNueva refuses); an existing database is never
// overwritten.
void CrearEstacion(const EstacionNueva& estacion);
// Writes the station's configuration files, vialtor_servidor.cfg readable by its owner only
// (its connection string may hold a password); false when one could not be written.
bool EscribirConfiguracionEstacion(const EstacionNueva& estacion);

struct FilasCopiadas {
    QString tabla;
    int64_t archivo = 0;
    int64_t servidor = 0;
};

// Moves a station's vialtor.mdb into an empty server database: the tables, every row with its
// key, and key counters that continue after the file's, all in one transaction. The row
// counts of both sides, table by table.
QVector<FilasCopiadas> CopiarAlServidor(const QString& archivo, const QString& conexion);
