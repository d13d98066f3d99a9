#pragma once
// The database's tables, created and upgraded by numbered steps under PRAGMA user_version.

struct sqlite3;

inline constexpr int VersionEsquema = 1;

// Brings a database of an older version up to date inside one transaction.
// Throws ErrorBD for a file of a newer version or one that is not a database.
void ActualizarEsquema(sqlite3* db);
