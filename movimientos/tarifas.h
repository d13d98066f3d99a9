#pragma once
// The writes of the rates window: add, change and delete a rate, each in one transaction.

#include "bd/cambio.h"
#include "movimientos/cobro.h"

#include <QString>
#include <QVector>
#include <cstdint>

struct DatosTarifa {
    int64_t tarifa = 0;
    int64_t tiempo = 0;
    QString descripcion; // upper case, as stored
    bool enEntradas = true;
    bool enSalidas = true;
    // Written with the rate, in the same transaction, in place of any it had.
    ReglasTarifa reglas;
};

// Adds the rate, offered at entries and exits whatever `datos` says.
// Refusals: TarifaRepetida (same price, minutes and description). Faults: ErrorBD, nothing
// written.
Cambio<> GrabarTarifa(const DatosTarifa& datos);
// Changes the rate; when no rate would be left offered at entries or at exits, it is offered at
// both (a second statement, and `valor` true). Refusals: NoEncontrado. Faults: ErrorBD,
// nothing written.
Cambio<bool> ModificarTarifa(int64_t idTarifa, const DatosTarifa& datos);
// Refusals: NoEncontrado. Faults: ErrorBD, nothing written.
Cambio<> EliminarTarifa(int64_t idTarifa);

// A rate as the windows' lists offer it.
struct TarifaListada {
    int64_t id = 0;
    QString descripcion;
    int64_t tarifa = 0;
    bool enEntradas = false;
    bool enSalidas = false;
};
// Every rate, by description, on the caller's connection.
QVector<TarifaListada> TarifasPorDescripcion();

// The rules of a rate (none: the plain price), on the caller's connection.
ReglasTarifa LeerReglasTarifa(int64_t idTarifa);

// The rules' boxes of the rates window as typed.
struct TextosReglas {
    QString gracia, minimo, tope, ticketPerdido, franjas;
    bool topeDiaCalendario = false;
    QString libres;
    QString topeSemanal{};
    QString minutosBloque{}, precioBloque{};
};
enum class CajaRegla {
    Ninguna,
    Gracia,
    Minimo,
    Tope,
    TicketPerdido,
    Franjas,
    Libres,
    TopeSemanal,
    MinutosBloque,
    PrecioBloque
};
struct LecturaReglas {
    ReglasTarifa reglas;
    QString error; // empty when every box was read
    CajaRegla caja = CajaRegla::Ninguna;
};
// Strict reading: empty boxes are rules not used; amounts as the money boxes ("1.500"), minutes
// as digits; bands separated by ";", each "Nombre HH:MM-HH:MM días [fijo] valor [máx máximo]"
// with the days as letters LMXJVSD, e.g. "Nocturno 20:00-06:00 LMXJVSD fijo 5.000; Diurno
// 06:00-20:00 LMXJV 2.000 máx 9.000" (without "fijo" the value is the price per unit of the
// rate's minutes; a maximum is at most the cap per period).
LecturaReglas LeerTextosReglas(const TextosReglas& textos);
// The boxes that read back as `reglas`.
TextosReglas TextosDeReglas(const ReglasTarifa& reglas);
