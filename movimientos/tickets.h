#pragma once
// The entry and exit tickets, printed from DatosTicket and the lot's settings.

#include "movimientos/cobro.h"

#include <QDateTime>
#include <cstdint>
#include <optional>

// Prints DatosTicket.CopiasEntrada copies of the entry ticket, one print job each; a reprint,
// made at `reimpresion`, is marked as a copy.
void ImprimirTicketEntrada(const std::optional<QDateTime>& reimpresion);

// Prints DatosTicket.CopiasSalida copies of the exit ticket, one print job each, with the items
// that explain its charge (none for a plain price); a reprint, made at `reimpresion`, is marked
// as a copy. Then empties DatosTicket.NDocumento.
void ImprimirTicketSalida(const QVector<ItemCobro>& items,
                          const std::optional<QDateTime>& reimpresion);

struct DivisionIva {
    int64_t base = 0;
    int64_t valorIva = 0;
};

// Splits an amount with tax included into its base (halves to even) and the tax on top.
DivisionIva DividirIva(int64_t cobrado, int iva);
