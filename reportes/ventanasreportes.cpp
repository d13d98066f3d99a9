#include "reportes/ventanasreportes.h"

#include "principal/ventanas.h"
#include "reportes/frmReimprimirTickets.h"

void RegistrarVentanasReportes() {
    RegistrarVentana(QStringLiteral("frmReimprimirTickets"),
                     [] { return new frmReimprimirTickets; });
}
