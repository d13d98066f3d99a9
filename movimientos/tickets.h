#pragma once
// The entry and exit tickets, printed from DatosTicket and the lot's settings.

#include "movimientos/cobro.h"

#include <cstdint>

// Prints DatosTicket.CopiasEntrada copies of the entry ticket, one print job each.
void ImprimirTicketEntrada();

// The items that explain the charge of the exit being printed (none for a plain price).
extern QVector<ItemCobro> ItemsTicketSalida;

// Prints DatosTicket.CopiasSalida copies of the exit ticket, one print job each; then empties
// DatosTicket.NDocumento and ItemsTicketSalida.
void ImprimirTicketSalida();

struct DivisionIva {
    int64_t base = 0;
    int64_t valorIva = 0;
};

// Splits an amount with tax included into its base (halves to even) and the tax on top.
DivisionIva DividirIva(int64_t cobrado, int iva);
