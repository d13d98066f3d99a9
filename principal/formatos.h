#pragma once
// How the program writes and reads back dates, times and amounts.

#include "bd/conversiones.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <cstdint>
#include <optional>

// "domingo, 6 de diciembre de 2026"
QString FechaLarga(const QDate& fecha);

// The text without control characters (line breaks, tabs, NUL) and line or paragraph
// separators: what a one-line box keeps of what reaches it.
QString SinControles(QString texto);
// The same rule for a box of several lines: only its line breaks ("\n") stay.
QString SinControlesSalvoSaltos(QString texto);

// The line end of every message, log line and listing the program writes.
inline const QString kCrLf = QStringLiteral("\r\n");

// "#,#": thousands grouped with "." and no decimals; 0 gives an empty text.
QString FormatoMiles(int64_t valor);
// Strict parse for every numeric box: digits only, blanks around allowed.
std::optional<int64_t> EnteroEstricto(const QString& texto);
// Strict parse for every money box: digits, optionally grouped by thousands with "." as the
// program prints them ("1.500", "2.000.000"); blanks around allowed. Nothing else is a number.
std::optional<int64_t> ImporteEstricto(const QString& texto);
// The one rule of every number box, as it is typed: digits, the "." that groups thousands and
// the blanks, signs and decimal comma a user may mean as part of a number get in, and the
// strict parse then refuses the whole text when it is no number; any other character (a
// letter, a currency symbol, a control character) belongs to no number and is refused as typed.
bool CaracteresDeNumero(const QString& texto);
// An amount the database's 32-bit money columns can hold.
bool ImporteCabe(int64_t valor);
