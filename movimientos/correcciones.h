#pragma once
// The correction of a vehicle's plate and rate (and, for a past exit, the amount charged) from
// the lists' context menu: a chain of input boxes, a confirmation, one UPDATE.

#include "principal/registros.h"

#include <QString>

// The row to correct, as the calling window's list shows it.
struct FilaACorregir {
    QString placa;              // empty when no row is chosen
    bool desdeEntradas = false; // a vehicle inside, or a past exit
    RegistroFilaCorreccion fila;
};

// What the calling window left for the menu in PlacaCorreccion, CorreccionDesdeEntradas and
// FilaCorreccion.
FilaACorregir CorreccionPedida();
void ModificarDatos(const FilaACorregir& correccion);
// The menu's action: the row the calling window left.
void ModificarDatos();
