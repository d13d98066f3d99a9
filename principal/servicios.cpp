#include "principal/servicios.h"

ServiciosPrincipal& Servicios() {
    static ServiciosPrincipal servicios;
    return servicios;
}

void Informar(const QString& texto, const QString& titulo) {
    Servicios().dialogos->mensaje(texto, titulo, Icono::Informacion);
}

bool PreguntarSiNo(const QString& texto, const QString& titulo) {
    return Servicios().dialogos->mensaje(texto, titulo, Icono::Informacion,
                                         Boton::Si | Boton::No) == Boton::Si;
}
