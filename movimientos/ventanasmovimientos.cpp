#include "ventanasmovimientos.h"

#include "frmGestionEntradasSalidas.h"
#include "frmTarifas.h"
#include "ventanas.h"

void RegistrarVentanasMovimientos() {
    RegistrarVentana(QStringLiteral("frmGestionEntradasSalidas"),
                     [] { return new frmGestionEntradasSalidas; });
    RegistrarVentana(QStringLiteral("frmTarifas"), [] { return new frmTarifas; });
}
