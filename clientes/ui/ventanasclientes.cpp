#include "clientes/ui/ventanasclientes.h"

#include "clientes/ui/frmClientes.h"
#include "clientes/ui/frmExentos.h"
#include "principal/ui/ventanas.h"

void RegistrarVentanasClientes() {
    RegistrarVentana(QStringLiteral("frmClientes"), [] { return new frmClientes; });
    RegistrarVentana(QStringLiteral("frmExentos"), [] { return new frmExentos; });
}
