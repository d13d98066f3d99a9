#pragma once
// Translation of the Jet dialect the windows write into SQL that SQLite or PostgreSQL runs.
// Works on tokens, so the inside of a quoted text is never touched.

#include <QDateTime>
#include <QString>
#include <optional>

enum class DestinoSql { Sqlite, Postgres };

// Throws ErrorBD when a #...# date literal cannot be read. For PostgreSQL also: dates become
// timestamps, [names] plain names, and LIKE the operators that compare as Jet does.
QString TraducirJet(const QString& jet, DestinoSql destino = DestinoSql::Sqlite);

// The inside of a #...# literal: "dd mmm yyyy HH:mm:ss" (Spanish or English month,
// any case, with or without a dot), "yyyy/mm/dd", "yyyy/mm/dd hh:mm:ss am/pm".
std::optional<QDateTime> LeerLiteralFecha(const QString& interior);

// A date text written into a Date/Time column: ISO, "dd/mm/yyyy", "dd/mm/yyyy hh:mm:ss am/pm",
// "dd/mm/yyyy HH:mm:ss", or one of the literal forms above. Fixed patterns, no locale.
std::optional<QDateTime> LeerFechaGuardada(const QString& texto);

// How dates are kept in the file: "yyyy-mm-dd hh:mm:ss".
QString FechaIso(const QDateTime& momento);
// A text LeerFechaGuardada reads, as it is kept in the file; the fields are taken as they
// are written, with no time zone in between.
std::optional<QString> FechaGuardadaIso(const QString& texto);
