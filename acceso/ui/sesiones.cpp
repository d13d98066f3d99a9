#include "acceso/ui/sesiones.h"

#include "acceso/ui/frmPrincipal.h"
#include "principal/manejadores.h"
#include "turnos/acciones/accionesturno.h"

#include <QApplication>

Sesiones::Sesiones() {
    Conectar(&acceso, &frmAcceso::ingresoCorrecto, this, &Sesiones::ingresar);
}

bool Sesiones::empezar() {
    if (!acceso.cargar())
        return false;
    acceso.show();
    return true;
}

frmPrincipal* Sesiones::principal() const {
    return principal_;
}

void Sesiones::ingresar() {
    bool cargado = false;
    EjecutarProtegido([&] {
        principal_ = new frmPrincipal;
        principal_->setAttribute(Qt::WA_DeleteOnClose);
        Conectar(principal_.data(), &frmPrincipal::cambioDeUsuario, &acceso, &frmAcceso::reiniciar);
        cargado = principal_->cargar();
    });
    // The cashier's shift opens at the login, with the float in the drawer.
    if (cargado)
        EjecutarProtegido([] { PedirAbrirTurno(true); });
    else
        QApplication::quit();
}
