#include "clientes/ventanasclientes.h"

#include "clientes/frmExentos.h"
#include "principal/ventanas.h"

void RegistrarVentanasClientes() {
    RegistrarVentana(QStringLiteral("frmExentos"), [] { return new frmExentos; });
}
