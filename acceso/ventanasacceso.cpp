#include "acceso/ventanasacceso.h"

#include "acceso/frmDatosParqueadero.h"
#include "acceso/frmUsuarios.h"
#include "principal/ui/ventanas.h"

void RegistrarVentanasAcceso() {
    RegistrarVentana(QStringLiteral("frmUsuarios"), [] { return new frmUsuarios; });
    RegistrarVentana(QStringLiteral("frmDatosParqueadero"), [] { return new frmDatosParqueadero; });
}
