#include "principal/avisos.h"

AvisosVentanas& Avisos() {
    static AvisosVentanas avisos;
    return avisos;
}
