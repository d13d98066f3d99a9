#pragma once
// The exempt vehicles: plates that park free of charge while their record is in force.

#include <QString>
#include <QVector>
#include <cstdint>
#include <optional>

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
QVector<Exento> ListarExentos();

// Adds the record, always in force, unless its plate is already there in any case (checked and
// written in one transaction, so two stations cannot both add it). The insert as run, or nothing.
std::optional<QString> AgregarExento(const Exento& exento);

// A change or deletion by key, and whether it found its record (another station may have
// deleted it in the meantime).
struct CambioExento {
    QString sentencia;
    bool encontrado = false;
};
// Keeps the plate the record is given, even when another record has it.
CambioExento ModificarExento(const Exento& exento);
CambioExento EliminarExento(int64_t id);
