#pragma once
// A new data folder: vialtor.mdb with the schema, the settings row and a first administrator.

#include <QString>

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
