#pragma once
// The steps of an exit that need no window: offering to correct the plate and the rate,
// charging the stay, and settling the amount. Each logs and shows its own refusals.

#include "movimientos/cobro.h"
#include "movimientos/vehiculos.h"

// Sigue: the exit goes on. Aborta: refused after its message; the window puts the focus back
// in the plate box. Termina: ended without a word.
enum class Paso { Sigue, Aborta, Termina };

// For a vehicle paying by rate, as the settings allow: the plate (DatosTicket.Placa) and the
// rate, each in an input box.
Paso CorregirPlacaYTarifa(TarifaVehiculo& tarifa);
// DatosTicket.Cobrado for the stay between the ticket's times; a charge the database's amounts
// cannot hold is refused, never cut down.
// The rate's rules apply (`items` explain the charge, or are left empty for a plain price); a
// lost ticket charges the rate's lost-ticket amount or the stay's charge, whichever is higher.
Paso CobrarEstancia(const TarifaVehiculo& tarifa, const OpcionesCobro& opciones, bool ticketPerdido,
                    QVector<ItemCobro>& items);
// The amount finally charged: none for an exempt vehicle once confirmed; the computed one or,
// where the settings allow it, a lower one typed by the attendant (a last item then says by how
// much, so that the items still add up).
Paso FijarValor(const TarifaVehiculo& tarifa, bool ultimaSalidaCliente, QVector<ItemCobro>& items);

extern const QString kBotonSalida;
