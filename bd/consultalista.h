#pragma once

#include <QString>

// A list's statement, in pieces so that its keys and its pages can be read apart.
struct ConsultaLista {
    QString columnas;  // what a row holds: "*", "Tarifas.*, …"
    QString origen;    // the FROM part, joins included
    QString condicion; // the WHERE part; empty for every row
    QString orden;     // the ORDER BY list, ending in the key so that each row has one place
    QString clave;     // the key as the origin names it: "id_tarifa", "Tarifas.id_tarifa"
};
