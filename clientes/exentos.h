#pragma once
// The exempt vehicles: plates that park free of charge while their record is in force.

#include "bd/cambio.h"
#include "bd/consultalista.h"

#include <QString>
#include <cstdint>

struct Exento {
    int64_t id = 0;
    QString placa;
    QString nombre;
    QString ape1;
    QString ape2;
    QString tipo;
    bool activo = true;
};

// The plate as stored: blanks around it dropped, upper case.
QString PlacaExento(const QString& texto);

// Every record, those in force first, then by surnames and name.
ConsultaLista ConsultaExentos();

// Adds the record, always in force; the plate is checked in any case and written in one
// transaction, so two stations cannot both add it. Statement: the insert.
// Refusals: PlacaRepetida.
Cambio<> AgregarExento(const Exento& exento);

// A change or deletion by key, as run and logged. A change keeps the plate the record is
// given, even when another record has it.
QString ModificacionExento(const Exento& exento);
QString EliminacionExento(int64_t id);
// Refusals: NoEncontrado (another station may have deleted the record meanwhile).
Cambio<> ModificarExento(const Exento& exento);
Cambio<> EliminarExento(int64_t id);
