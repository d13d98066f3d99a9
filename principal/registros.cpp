#include "registros.h"

#include "sucesos.h"

RegistroConfigInicio ConfigInicio;
RegistroSesion SesionActual;
AjustesParqueadero DatosParqueadero;
RegistroTicket DatosTicket;
QString MensajeSuceso;

void ReiniciarRegistros() {
    ConfigInicio = {};
    SesionActual = {};
    DatosParqueadero = {};
    DatosTicket = {};
    MensajeSuceso.clear();
    ReiniciarAvisoSucesos();
}
