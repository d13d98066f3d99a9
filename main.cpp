#include "configinicio.h"
#include "registros.h"
#include "servicios_qt.h"
#include "sucesos.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(TituloAplicacion);
    InstalarServiciosReales();
    if (LeerConfigInicio() != ResultadoConfig::Correcta)
        return 1;
    return 0;
}
