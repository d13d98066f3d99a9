#include "clientes/ventanasclientes.h"

#include "clientes/frmClientes.h"
#include "principal/ventanas.h"

void RegistrarVentanasClientes() {
    RegistrarVentana(QStringLiteral("frmClientes"), [] { return new frmClientes; });
}
