#pragma once
// The database's tables and columns: what each holds and since which schema version, and the
// schema's own spelling of their names.

#include <QString>
#include <QStringList>
#include <initializer_list>

enum class ClaseColumna { Texto, Entero, Monto, Fecha, Bandera };

struct ColumnaEsquema {
    const char* nombre;
    ClaseColumna clase;
    // The schema version that adds the column to a table made before it.
    int desde = 1;
};

struct TablaEsquema {
    const char* nombre;
    const char* clave;
    std::initializer_list<ColumnaEsquema> columnas;
    // The schema version that adds the table.
    int desde = 1;
};

// The tables, in the order they are made.
struct RecorridoTablas {
    const TablaEsquema* begin() const;
    const TablaEsquema* end() const;
};
inline RecorridoTablas Tablas() {
    return {};
}

// The schema's own spelling of a table name, or of a column of any table (any case given);
// the name itself when the schema has no such name.
QString NombreEsquema(const QString& nombre);
// The spelling of a column of one table.
QString NombreColumna(const QString& tabla, const QString& columna);
// The key column of a table (any case); empty when the schema has no such table.
QString ClaveDeTabla(const QString& tabla);
// The tables, in the order they are made.
QStringList TablasEsquema();
