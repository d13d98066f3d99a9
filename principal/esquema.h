#pragma once
// The database's tables, created and upgraded by numbered steps under PRAGMA user_version.

struct sqlite3;

inline constexpr int VersionEsquema = 1;

// Brings a database of an older version up to date inside one transaction.
// Throws ErrorBD for a file of a newer version or one that is not a database.
void ActualizarEsquema(sqlite3* db);

#include <QString>
#include <QStringList>

class ServidorPg;

// The schema's own spelling of a table name, or of a column of any table (any case given);
// the name itself when the schema has no such name.
QString NombreEsquema(const QString& nombre);
// The spelling of a column of one table.
QString NombreColumna(const QString& tabla, const QString& columna);
// The key column of a table (any case); empty when the schema has no such table.
QString ClaveDeTabla(const QString& tabla);
// The tables, in the order they are made.
QStringList TablasEsquema();

// The same tables on a PostgreSQL server: what Jet compares without regard to case uses a
// collation that ignores case and keeps accents apart; flags are kept as -1 / 0 by triggers;
// dates are timestamps. Runs inside the caller's transaction.
void CrearEsquemaServidor(ServidorPg& servidor);
// Throws ErrorBD when the server database does not hold this program's tables, or holds a
// newer version of them.
void ComprobarEsquemaServidor(ServidorPg& servidor);
