#include "movimientos/ui/ventanasmovimientos.h"

#include "movimientos/ui/frmGestionEntradasSalidas.h"
#include "movimientos/ui/frmTarifas.h"
#include "principal/ui/ventanas.h"

void RegistrarVentanasMovimientos() {
    RegistrarVentana(QStringLiteral("frmGestionEntradasSalidas"),
                     [] { return new frmGestionEntradasSalidas; });
    RegistrarVentana(QStringLiteral("frmTarifas"), [] { return new frmTarifas; });
}
