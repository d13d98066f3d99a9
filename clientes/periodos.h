#pragma once
// A client's payment periods and payments. Each write reads the period as stored, inside its
// transaction, so what is checked is what is written; Clientes.Activo follows the period's own
// client: True while it has an unpaid period.

#include "clientes/clientes.h"

#include <QDate>
#include <QString>
#include <cstdint>
#include <optional>

struct PeriodoNuevo {
    int64_t idCliente = 0;
    QDate inicio;
    QDate fin;
    int64_t cantidad = 0;
    QString recibo;
};

// Adds an unpaid period and marks the client as owing. Statements: the insert, then the
// client's update. Refusals: PeriodoPendiente, NoEncontrado.
Cambio<> AgregarPeriodo(const PeriodoNuevo& periodo);

struct Periodo {
    int64_t idCliente = 0;
    int64_t total = 0;
    bool pagado = false;
    // The sum of its payments, rounded to a whole number after each as the total is.
    int64_t abonado = 0;
    int64_t pendiente() const { return total - abonado; }
};

std::optional<Periodo> LeerPeriodo(int64_t idFechaPago);

// What a payment leaves: what is still owed on the period (before it, when refused as
// Excede), and whether it completed the period.
struct SaldoPeriodo {
    int64_t pendiente = 0;
    bool finalizado = false;
};

// A payment dated `fecha`. When it completes the period, the period is paid and its client no
// longer owes. Statements: the insert, then (completing) the period's and the client's updates.
// Refusals: NoEncontrado, YaPagada, Excede.
Cambio<SaldoPeriodo> EfectuarPago(int64_t idFechaPago, const QDate& fecha, int64_t cantidad);

// Deletes the period and its payments; an unpaid one leaves its client owing nothing.
// Statements: the period's delete, then its payments'. Refusals: NoEncontrado.
Cambio<> EliminarPeriodo(int64_t idFechaPago);

// Whether the payment may go: not a paid period's while the client has another unpaid period.
Resultado PuedeEliminarsePago(int64_t idPago);
// Deletes the payment; its period is open again and its client owes. Statement: the delete.
// Refusals: NoEncontrado, PagoProtegido.
Cambio<> EliminarPago(int64_t idPago);
