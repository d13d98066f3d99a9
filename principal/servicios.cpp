#include "servicios.h"

ServiciosPrincipal& Servicios() {
    static ServiciosPrincipal servicios;
    return servicios;
}
