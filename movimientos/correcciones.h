#pragma once
// The correction of a vehicle's plate and rate (and, for a past exit, the amount charged) from
// the lists' context menu: a chain of input boxes, a confirmation, one UPDATE.

// Acts on the row described by PlacaCorreccion, CorreccionDesdeEntradas and FilaCorreccion.
void ModificarDatos();
