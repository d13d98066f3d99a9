#pragma once
// The correction of a vehicle's plate and rate (and, for a past exit, the amount charged) from
// the lists' context menu: a chain of input boxes, a confirmation, one UPDATE.

#include <QString>
#include <cstdint>
#include <functional>

// The rest of the row to correct, as its list shows it.
struct RegistroFilaCorreccion {
    int64_t id = 0;                  // id_entrada, or id_salida
    QString idTarifa;                // the rate's key as shown
    QString cobrado;                 // exits: the amount charged as shown, currency symbol included
    std::function<void()> refrescar; // shows the change in the list that asked
};

// The row to correct, as the calling window's list shows it.
struct FilaACorregir {
    QString placa;              // empty when no row is chosen
    bool desdeEntradas = false; // a vehicle inside, or a past exit
    RegistroFilaCorreccion fila;
};

void ModificarDatos(const FilaACorregir& correccion);
