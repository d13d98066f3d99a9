#pragma once
// The ticket fields of a reprint: the listed record as shown, and the plate's active client.

#include "movimientos/cobro.h"
#include "reportes/modelobusqueda.h"

// Fills DatosTicket for one copy of the ticket of `fila` (an exit when `salida`), reading the
// client from the database (the connection must be open). The items kept with the exit of key
// `clave` that explain its charge; none for an entry.
QVector<ItemCobro> PrepararReimpresion(const ModeloBusqueda::Fila& fila, bool salida,
                                       int64_t clave);

// The client fields of the ticket: the one active client with that plate and its oldest unpaid
// period. A client with nothing owed gets no end date and is marked paid.
void LeerClienteReimpresion(const QString& placa);
