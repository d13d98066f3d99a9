#include "movimientos/ventanasmovimientos.h"

#include "movimientos/frmGestionEntradasSalidas.h"
#include "movimientos/frmTarifas.h"
#include "principal/ventanas.h"

void RegistrarVentanasMovimientos() {
    RegistrarVentana(QStringLiteral("frmGestionEntradasSalidas"),
                     [] { return new frmGestionEntradasSalidas; });
    RegistrarVentana(QStringLiteral("frmTarifas"), [] { return new frmTarifas; });
}
