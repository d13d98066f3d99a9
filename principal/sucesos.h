#pragma once
// The daily event log of the control point: sucesos/yyyymmdd_PUNTO.hap beside the database.

#include <QDateTime>
#include <QString>
#include <QStringList>

// Writes MensajeSuceso as one line and empties it. Never throws: a failure is reported once
// to the user and the program carries on.
void RegistrarSuceso();
// The usual call: the event's text, on one line; breaks inside it are blanked.
void Registrar(const QString& texto);
// The event's text, then each of `lineas` (the statements a write ran, or the lines of a
// message) on a line of its own. Breaks inside the text and the lines are blanked; only the
// ones between them are written.
void Registrar(const QString& texto, const QStringList& lineas);
// The same during the start, where a failure is not shown but returned (false).
bool RegistrarSucesoInicio();

// Lets the next failure be reported again (tests).
void ReiniciarAvisoSucesos();

// The event without its line end, and the file name, for a given moment. An event is one line,
// plus its `lineas` each on one of its own.
QString LineaSuceso(const QDateTime& momento, const QString& mensaje,
                    const QStringList& lineas = {});
QString NombreArchivoSucesos(const QDate& fecha);
QString CarpetaSucesos();
