#include "acceso/ui/ventanasacceso.h"

#include "acceso/ui/frmDatosParqueadero.h"
#include "acceso/ui/frmUsuarios.h"
#include "impresora/ui/frmImpresora.h"
#include "principal/ui/ventanas.h"

void RegistrarVentanasAcceso() {
    RegistrarVentana(QStringLiteral("frmUsuarios"), [] { return new frmUsuarios; });
    RegistrarVentana(QStringLiteral("frmDatosParqueadero"), [] { return new frmDatosParqueadero; });
    RegistrarVentana(QStringLiteral("frmImpresora"), [] { return new frmImpresora; });
}
