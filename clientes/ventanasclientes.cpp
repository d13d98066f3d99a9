#include "clientes/ventanasclientes.h"

#include "clientes/frmClientes.h"
#include "clientes/frmExentos.h"
#include "principal/ventanas.h"

void RegistrarVentanasClientes() {
    RegistrarVentana(QStringLiteral("frmClientes"), [] { return new frmClientes; });
    RegistrarVentana(QStringLiteral("frmExentos"), [] { return new frmExentos; });
}
