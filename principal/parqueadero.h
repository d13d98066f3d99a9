#pragma once
// Loading the lot's settings row into DatosParqueadero.

// Throws ErrorBD naming the column when the row is missing or a required value is Null or
// out of range, instead of going on with a damaged row.
void CargarDatosParqueadero();
