#pragma once
// How a stored value reads in the Jet dialect: a date as text, a text as a number, a number as a
// whole one. The program's own formats build on these.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

// dd/mm/yyyy
QString FechaCorta(const QDate& fecha);
// hh:mm:ss am/pm, 12-hour clock, literal lowercase "am"/"pm"
QString HoraTexto(const QTime& hora);
// dd/mm/yyyy hh:mm:ss am/pm
QString FechaHoraTexto(const QDateTime& momento);
// Reads back what FechaHoraTexto writes (also without the time).
std::optional<QDateTime> LeerFechaHoraTexto(const QString& texto);

// Rounds to a whole number, halves to the even neighbour.
double RedondeoPar(double valor);
// Lenient parse: the leading number of the text, blanks ignored, 0 when there is none.
double ValorNumerico(const QString& texto);
