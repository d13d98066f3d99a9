#include "principal/auditar.h"

namespace {
EscritorAuditoria escritor;
}

void EstablecerAuditoria(EscritorAuditoria nuevo) {
    escritor = std::move(nuevo);
}

void Auditar(const QString& accion, const QString& detalle) {
    if (escritor)
        escritor(accion, detalle);
}
