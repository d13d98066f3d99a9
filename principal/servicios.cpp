#include "servicios.h"

ServiciosPrincipal& Servicios() {
    static ServiciosPrincipal servicios;
    return servicios;
}

void Informar(const QString& texto, const QString& titulo) {
    Servicios().dialogos->mensaje(texto, titulo, QMessageBox::Information);
}

bool PreguntarSiNo(const QString& texto, const QString& titulo) {
    return Servicios().dialogos->mensaje(texto, titulo, QMessageBox::Information,
                                         QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}
