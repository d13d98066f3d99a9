#pragma once
// A new data folder: vialtor.mdb with the schema, the settings row and a first administrator.

#include <QString>
#include <QVector>
#include <cstdint>

// Throws ErrorBD when a database is already there (it is never overwritten) or the file
// cannot be written. The file appears whole or not at all.
void CrearBaseDatos(const QString& carpeta, const QString& usuario, const QString& clave,
                    const QString& puntoControl = QStringLiteral("CAJA1"));
// Adds three sample rates to the database of `carpeta` (for demonstrations).
void AgregarTarifasDemo(const QString& carpeta);

// The same on an empty PostgreSQL database named by a libpq connection string, in one
// transaction. Throws ErrorBD when the database already holds the tables.
void CrearBaseDatosServidor(const QString& conexion, const QString& usuario, const QString& clave,
                            const QString& puntoControl = QStringLiteral("CAJA1"));

struct FilasCopiadas {
    QString tabla;
    int64_t archivo = 0;
    int64_t servidor = 0;
};

// Moves a station's vialtor.mdb into an empty server database: the tables, every row with its
// key, and key counters that continue after the file's, all in one transaction. The row
// counts of both sides, table by table.
QVector<FilasCopiadas> CopiarAlServidor(const QString& archivo, const QString& conexion);
