#include "principal/registros.h"

#include "principal/sucesos.h"

RegistroConfigInicio ConfigInicio;
RegistroSesion SesionActual;
AjustesParqueadero DatosParqueadero;
RegistroTicket DatosTicket;
QString MensajeSuceso;
int16_t OcupacionActual = 0;
QString PlacaCorreccion;
bool CorreccionDesdeEntradas = false;
RegistroFilaCorreccion FilaCorreccion;

void ReiniciarRegistros() {
    ConfigInicio = {};
    SesionActual = {};
    DatosParqueadero = {};
    DatosTicket = {};
    MensajeSuceso.clear();
    OcupacionActual = 0;
    PlacaCorreccion.clear();
    CorreccionDesdeEntradas = false;
    FilaCorreccion = {};
    ReiniciarAvisoSucesos();
}
