#pragma once
// Monthly clients: the statements of their list and search, the cells the lists show, and the
// all-or-nothing writes of clients. The payment half lives in clientes/periodos.h.

#include "bd/cambio.h"
#include "bd/consultalista.h"

#include <QString>
#include <QStringList>
#include <cstdint>

struct DatosCliente {
    QString nombre;
    QString ape1;
    QString ape2;
    QString placa;
    QString identificacion;
    QString notas;
};

// Every client, the ones who owe first.
ConsultaLista ConsultaClientes();
// The one client with that key.
ConsultaLista ConsultaCliente(int64_t idCliente);
// Clients matching every non-empty field (as a part of it) whose Activo is `activo`.
ConsultaLista ConsultaBusqueda(const DatosCliente& campos, bool activo);
// A client's periods, unpaid first; then by first day (a listing) or latest last day (a pick).
enum class OrdenPeriodos { PorInicio, PorFin };
ConsultaLista ConsultaPeriodos(int64_t idCliente, OrdenPeriodos orden);
// A period's payments, latest first.
ConsultaLista ConsultaPagos(int64_t idFechaPago);

// Adds the client (not owing). Refusals: PlacaRepetida. Faults: ErrorBD, nothing written.
Cambio<> GrabarCliente(const DatosCliente& datos);
// True when a client other than `idCliente` holds the plate.
bool PlacaDeOtroCliente(const QString& placa, int64_t idCliente);
// Changes the client's fields (Activo untouched). Refusals: PlacaRepetida, NoEncontrado.
Cambio<> ModificarCliente(int64_t idCliente, const DatosCliente& datos);
// Deletes the client with its periods and their payments; the first statement is the client's.
// Refusals: NoEncontrado.
Cambio<> EliminarCliente(int64_t idCliente);
