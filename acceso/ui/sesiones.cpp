#include "acceso/ui/sesiones.h"

#include "acceso/ui/frmPrincipal.h"
#include "impresora/ui/impresoraescpos.h"
#include "principal/manejadores.h"
#include "turnos/acciones/accionesturno.h"

#include <QApplication>
#include <utility>

Sesiones::Sesiones() {
    Conectar(&acceso, &frmAcceso::ingresoCorrecto, this, &Sesiones::ingresar);
}

Sesiones::~Sesiones() {
    if (impresora_)
        Servicios().impresora = anterior_;
}

bool Sesiones::empezar() {
    if (!acceso.cargar())
        return false;
    // The station's folder is known once its vialtor.cfg is read.
    impresora_ = ElegirImpresora(Servicios().carpetas->carpetaTrabajo());
    if (impresora_)
        anterior_ = std::exchange(Servicios().impresora, impresora_.get());
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
        if (impresora_)
            MostrarEstadoImpresora(*impresora_, principal_->BarraEstado);
        if (cargado && impresora_)
            AgregarAbrirCajon(*impresora_, principal_->mnuGestionParqueadero,
                              principal_->mnuSeparador1);
    });
    // The cashier's shift opens at the login, with the float in the drawer.
    if (cargado)
        EjecutarProtegido([] { PedirAbrirTurno(true); });
    else
        QApplication::quit();
}
