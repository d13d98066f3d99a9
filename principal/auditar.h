#pragma once
// The seam through which every sensitive write, wherever it lives, adds its row to the audit
// trail. The trail's keeper (turnos/rastroauditoria.h) installs the writer at start, as the windows
// install the wait notice: the core below it knows nothing of shifts.

#include <QString>
#include <functional>

using EscritorAuditoria = std::function<void(const QString& accion, const QString& detalle)>;

void EstablecerAuditoria(EscritorAuditoria escritor);
// Adds one row for `accion`, inside the caller's transaction: a rolled-back action leaves no
// row. Faults: ErrorBD, as any statement of the action.
void Auditar(const QString& accion, const QString& detalle);

#include "bd/cambio.h"

// A write that is done adds its row, the statements as logged (no password) as its detail.
template <class T> Cambio<T> Auditado(const QString& accion, Cambio<T> cambio) {
    if (cambio.hecho())
        Auditar(accion, cambio.sentencias.join(QStringLiteral("; ")));
    return cambio;
}
