#include "reportes/ui/ventanasreportes.h"

#include "principal/ui/ventanas.h"
#include "reportes/ui/frmReimprimirTickets.h"
#include "reportes/ui/frmTablero.h"

void RegistrarVentanasReportes() {
    RegistrarVentana(QStringLiteral("frmReimprimirTickets"),
                     [] { return new frmReimprimirTickets; });
    RegistrarVentana(QStringLiteral("frmTablero"), [] { return new frmTablero; });
}
