#include "acceso/ui/frmAcceso.h"
#include "acceso/ui/frmPrimerInicio.h"
#include "acceso/ui/frmPrincipal.h"
#include "acceso/ui/ventanasacceso.h"
#include "clientes/ui/ventanasclientes.h"
#include "movimientos/ui/ventanasmovimientos.h"
#include "principal/manejadores.h"
#include "principal/ui/aplicacion.h"
#include "principal/ui/servicios_qt.h"
#include "reportes/ui/ventanasreportes.h"
#include "turnos/acciones/accionesturno.h"
#include "turnos/rastroauditoria.h"

int main(int argc, char* argv[]) {
    AplicacionVialtor app(argc, argv);
    QApplication::setApplicationName(TituloAplicacion);
    // The main window decides when the program ends, after its own question.
    QApplication::setQuitOnLastWindowClosed(false);
    InstalarServiciosReales();
    InstalarAuditoria();
    RegistrarVentanasMovimientos();
    RegistrarVentanasAcceso();
    RegistrarVentanasClientes();
    RegistrarVentanasReportes();
    // The menu entry starts the program in the user's own station, made on the first start;
    // started any other way, the working folder is the station, as it always was.
    if (app.arguments().contains(QStringLiteral("--desde-menu")) && !PrepararEstacionDelMenu())
        return 0;

    frmAcceso acceso;
    if (!acceso.cargar())
        return 1;
    frmPrincipal* principal = nullptr;
    QObject::connect(&acceso, &frmAcceso::terminarPrograma, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    QObject::connect(&acceso, &frmAcceso::ingresoCorrecto, [&principal] {
        bool cargado = false;
        EjecutarProtegido([&] {
            principal = new frmPrincipal;
            principal->setAttribute(Qt::WA_DeleteOnClose);
            cargado = principal->cargar();
        });
        // The cashier's shift opens at the login, with the float in the drawer.
        if (cargado)
            EjecutarProtegido([] { PedirAbrirTurno(true); });
        if (!cargado)
            QApplication::quit();
    });
    acceso.show();
    return app.exec();
}
