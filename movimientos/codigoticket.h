#pragma once
// The code printed as a barcode on every entry ticket: digits only (a scanner types what a US
// keyboard would, so only digits survive every layout), naming the entry by its key and
// carrying a keyed check so a misread, mistyped or made-up code is refused.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

// Digits of the entry's key, of the keyed check, and the final check digit.
constexpr int kDigitosClave = 10;
constexpr int kDigitosFirma = 9;
constexpr int kLargoCodigoTicket = kDigitosClave + kDigitosFirma + 1;

// The Damm check digit of a run of digits: any single changed digit and any swap of two
// neighbouring digits changes it, which a few digits of a hash only make unlikely. -1 when the
// text holds anything but the digits 0 to 9.
int DigitoDamm(const QString& digitos);

// The code of entry `idEntrada` under the installation's key; empty when the key does not fit
// in its digits or `clave` is empty.
QString CodigoTicket(int64_t idEntrada, const QByteArray& clave);
// The entry a code names, when its check digit and its keyed check hold.
std::optional<int64_t> EntradaDeCodigo(const QString& codigo, const QByteArray& clave);

// The installation's key, from the database (made with the schema). Throws ErrorBD when the
// database has none.
QByteArray ClaveTickets();

// Where the entry a ticket names is now.
struct EstadoTicket {
    enum Lugar { Dentro, Salio, NoEsta } lugar = NoEsta;
    // Dentro: the plate, description and remarks the entry holds now
    QString placa, descrVeh, observaciones;
    QString numeroSalida; // Salio: the exit's number as its ticket prints it
    // The entry's moment while inside; the exit's key and moment once out.
    int64_t idSalida = 0;
    QDateTime fecha;
};
EstadoTicket BuscarTicket(int64_t idEntrada);
