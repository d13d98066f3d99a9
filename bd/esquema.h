#pragma once
// The database's tables, created and upgraded by numbered steps under PRAGMA user_version.

#include "bd/jet.h"
#include "bd/tablas.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <vector>

struct sqlite3;

// Runs one statement of plain SQL on the database being upgraded, inside the step's
// transaction; the rows it gives back, each field as text (Null as empty).
using ConsultaEsquema = std::function<QVector<QStringList>(const QString& sql)>;

// One version of the schema: what brings a database of the version before it up to this one,
// written for either dialect, and what statements alone cannot do (a value computed for each
// row), run after them in the same transaction.
struct PasoEsquema {
    int version;
    std::function<QStringList(DestinoSql)> sentencias;
    std::function<void(const ConsultaEsquema&)> filas = {};
};

// The steps in order, and the schema's version (the last step's).
const std::vector<PasoEsquema>& PasosEsquema();
int VersionEsquema();
// Test hook: the steps from now on; empty gives back the program's own.
void FijarPasosEsquema(std::vector<PasoEsquema> pasos);

// Brings a file of an older version up to date, one step per transaction, after a copy of the
// file as it was (vialtor.mdb.vN beside it, readable by its owner only: it may hold passwords
// kept as typed). Throws ErrorBD for a file of a newer version or one that is not a database; a
// failed step keeps the version before it whole.
void ActualizarEsquema(sqlite3* db);

class ServidorPg;

// The same tables on a PostgreSQL server: what Jet compares without regard to case uses a
// collation that ignores case and keeps accents apart; flags are kept as -1 / 0 by triggers;
// dates are timestamps. Every step's statements, inside the caller's transaction (a new database
// has no rows for a step's work on rows).
void CrearEsquemaServidor(ServidorPg& servidor);
// Brings an older version up to date, one step per transaction under the write lock. Throws
// ErrorBD when the server database does not hold this program's tables, or holds a newer
// version of them.
void ComprobarEsquemaServidor(ServidorPg& servidor);
