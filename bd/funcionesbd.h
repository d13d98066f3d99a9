#pragma once
// What SQLite needs to compare and store like Jet: the JET collation (no regard to case,
// accented letters and ñ included), a like() of the same kind, and the conversions the
// schema's triggers apply to dates and flags on their way in; and in place of the server's window
// and ordered-set functions, the aggregates jet_horas(instant, change, entry), the highest running
// count of events read in time order with the first instant it was reached, and each hour's
// changes and entries, and jet_mediana.

#include <QString>

struct sqlite3;

void RegistrarFuncionesJet(sqlite3* db);

// <0, 0, >0 like the JET collation.
int CompararJet(const QString& a, const QString& b);
// Jet's LIKE with % and _, without regard to case; [c] matches the one character c
// (c not a backslash).
bool ParecidoJet(const QString& patron, const QString& valor);
