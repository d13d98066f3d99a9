#pragma once
// The daily event log of the control point: sucesos/yyyymmdd_PUNTO.hap beside the database.

#include <QDateTime>
#include <QString>

// Writes MensajeSuceso as one line and empties it. Never throws: a failure is reported once
// to the user and the program carries on.
void RegistrarSuceso();
// The usual call: the event's text, then the line.
void Registrar(const QString& texto);
// The same during the start, where a failure is not shown but returned (false).
bool RegistrarSucesoInicio();

// Lets the next failure be reported again (tests).
void ReiniciarAvisoSucesos();

// The event without its line end, and the file name, for a given moment. An event is one line,
// plus the statement a message may carry after a line break on a second one.
QString LineaSuceso(const QDateTime& momento, const QString& mensaje);
QString NombreArchivoSucesos(const QDate& fecha);
QString CarpetaSucesos();
