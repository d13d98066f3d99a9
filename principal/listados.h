#pragma once
// Listing files for a spreadsheet: lines ended by CRLF, Windows-1252, in the program's folder,
// replacing an earlier file of the same name.

#include <QByteArray>
#include <QString>
#include <QStringList>

// One field of a listing line, so a spreadsheet reads it back in its own column: a value
// holding ";", a double quote or a line break goes between double quotes, a quote inside
// doubled. Typed text (`texto`) that would start a formula ("=", "+", "-", "@") gets a leading
// apostrophe and stays plain text; numbers and dates (`texto` false) keep their sign. Any other
// value is written as it is.
QString CampoCsv(const QString& valor, bool texto = true);

// Where a listing of that name goes, as the attendant is told it.
QString RutaListado(const QString& nombre);

// Writes every line followed by CRLF, whole or not at all (an earlier file stays untouched when
// the new one cannot be written). On failure the attendant is told why, the log says so, and
// the answer is false: the caller then reports no "Archivo generado".
bool GuardarListado(const QString& nombre, const QStringList& lineas);
// The same for a file already in bytes (a report in UTF-8).
bool GuardarBytesListado(const QString& nombre, const QByteArray& bytes);

// The box every listing closes with.
void InformarArchivoGenerado(const QString& nombre);
