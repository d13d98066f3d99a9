#include "acceso/ui/frmPrimerInicio.h"
#include "acceso/ui/sesiones.h"
#include "acceso/ui/ventanasacceso.h"
#include "clientes/ui/ventanasclientes.h"
#include "movimientos/ui/ventanasmovimientos.h"
#include "principal/ui/aplicacion.h"
#include "principal/ui/servicios_qt.h"
#include "reportes/ui/ventanasreportes.h"
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

    Sesiones sesiones;
    QObject::connect(&sesiones.acceso, &frmAcceso::terminarPrograma, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    if (!sesiones.empezar())
        return 1;
    return app.exec();
}
