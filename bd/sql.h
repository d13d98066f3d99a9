#pragma once
// Building Jet-dialect SQL text: the one quoting helper and the date literals.

#include <QDate>
#include <QDateTime>
#include <QString>

// A text value as an SQL literal: between single quotes, every quote inside doubled, without
// any NUL.
QString Texto(const QString& valor);

// The LIKE pattern, quoted, of a text found anywhere in a column: a typed %, _ or [ is matched
// as itself (Jet's one-character brackets: [%], [_], [[]), never as a wildcard.
QString PatronContiene(const QString& texto);

// A statement as it may be shown or logged: the value given to a `pwd` column (compared,
// assigned or inserted) reads '***'. Anything else stays as written.
QString OcultarClaves(const QString& sentencia);

// #dd mmm yyyy 00:00:00#, #dd mmm yyyy 23:59:59# and #dd mmm yyyy HH:mm:ss#, with the
// Spanish month abbreviation passed through the eight replacements Jet needs.
QString LiteralInicioDia(const QDate& fecha);
QString LiteralFinDia(const QDate& fecha);
QString LiteralFechaHora(const QDateTime& momento);
// #yyyy/mm/dd#, used for payment periods and payments.
QString LiteralFechaSimple(const QDate& fecha);
// #yyyy/mm/dd hh:mm:ss am/pm#, used for the moments of a cash closing.
QString LiteralFechaHoraAmPm(const QDateTime& momento);

// The eight case-sensitive replacements that turn Spanish abbreviations into English ones.
QString ReemplazarMeses(QString literal);
