#pragma once
// The writes of the rates window: add, change and delete a rate, each in one transaction.

#include "movimientos/cobro.h"
#include "principal/cambio.h"

#include <QString>
#include <cstdint>

struct DatosTarifa {
    int64_t tarifa = 0;
    int64_t tiempo = 0;
    QString descripcion; // upper case, as stored
    bool enEntradas = true;
    bool enSalidas = true;
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

// The rules of a rate (none: the plain price), on the caller's connection.
ReglasTarifa LeerReglasTarifa(int64_t idTarifa);
