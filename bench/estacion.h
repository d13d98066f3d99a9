#pragma once
// The test doubles standing in as the program's services over one temporary folder, for the
// benches that drive the program's own windows and functions.

#include "principal/registros.h"
#include "principal/servicios.h"
#include "tests/comun/dobles.h"

#include <QTemporaryDir>

struct EstacionBench {
    EstacionBench() {
        carpetas.programa = carpetas.trabajo = temporal.path();
        Servicios() = {&dialogos, &reloj, &impresora, &carpetas};
        ConfigInicio.PuntoControl = QStringLiteral("CAJA1");
    }
    const QString& carpeta() const { return carpetas.programa; }

    QTemporaryDir temporal;
    DialogosGuion dialogos;
    RelojFijo reloj;
    ImpresoraGrabadora impresora;
    CarpetasTemporales carpetas;
};
