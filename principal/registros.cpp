#include "principal/registros.h"

#include "bd/conexion.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"

RegistroConfigInicio ConfigInicio;
RegistroSesion SesionActual;
AjustesParqueadero DatosParqueadero;
RegistroTicket DatosTicket;
QString MensajeSuceso;
int16_t OcupacionActual = 0;

namespace {

// The connection opens where the station's startup file says, or beside the program.
const bool ubicacionEstablecida = [] {
    EstablecerUbicacionDatos([] {
        const QString carpeta = ConfigInicio.CarpetaDatos.isEmpty() && Servicios().carpetas
                                    ? Servicios().carpetas->carpetaPrograma()
                                    : ConfigInicio.CarpetaDatos;
        return UbicacionDatos{carpeta, ConfigInicio.Servidor};
    });
    return true;
}();

} // namespace

void ReiniciarRegistros() {
    ConfigInicio = {};
    SesionActual = {};
    DatosParqueadero = {};
    DatosTicket = {};
    MensajeSuceso.clear();
    OcupacionActual = 0;
    ReiniciarAvisoSucesos();
}
