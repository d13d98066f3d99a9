#include "reportes/ui/ventanasreportes.h"

#include "principal/ui/ventanas.h"
#include "reportes/ui/frmReimprimirTickets.h"

void RegistrarVentanasReportes() {
    RegistrarVentana(QStringLiteral("frmReimprimirTickets"),
                     [] { return new frmReimprimirTickets; });
}
