// Times the sales summary of a year and the cash closing of a day on a year of exits.
// Usage: bench_informes_cierre [exits already stored]

#include "bench/comun.h"
#include "principal/conexion.h"
#include "principal/crearbd.h"
#include "principal/funcionesbd.h"
#include "principal/parqueadero.h"
#include "principal/registros.h"
#include "reportes/cierrecaja.h"
#include "reportes/resumenventas.h"
#include "tests/comun/dobles.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <sqlite3.h>
#include <vector>

namespace {

const QDateTime kInicio(QDate(2025, 12, 6), QTime(0, 0));

// A year of exits, 31 s apart, in one set-based insert; charges of 1 000 to 7 000, one in ten
// without a tax rate, every other one with a document number.
void cargar(const QString& carpeta, int salidas) {
    CargaDirecta carga(carpeta, "'Salidas'");
    const QByteArray historia =
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "INSERT INTO Salidas (FechaEntrada,FechaSalida,Placa,DescrVeh,Observaciones,"
            "id_tarifa,Tarifa,Tiempo,DescrTarifa,Cobrado,ConsecutivoDia,IVA,NroTicket,"
            "NDocumento) SELECT datetime('2025-12-06 00:00:00', '+' || (i * 31 - 5400) || "
            "' seconds'), datetime('2025-12-06 00:00:00', '+' || (i * 31) || ' seconds'), "
            "printf('H%06d', i % 90000), '', '', 1, 1000, 60, 'CARRO', 1000 * (1 + i % 7), "
            "1 + i % 2700, CASE WHEN i % 10 = 0 THEN NULL ELSE 19 END, CAST(i AS TEXT), "
            "CASE WHEN i % 2 = 0 THEN printf('FV-%08d', i) END FROM n")
            .arg(salidas)
            .toUtf8();
    EjecutarDirecto(carga.db, historia.constData());
    carga.terminar();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int salidas = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000000;
    QTemporaryDir temporal;
    DialogosGuion dialogos;
    RelojFijo reloj;
    ImpresoraGrabadora impresora;
    CarpetasTemporales carpetas;
    carpetas.programa = carpetas.trabajo = temporal.path();
    Servicios() = {&dialogos, &reloj, &impresora, &carpetas};
    ConfigInicio.PuntoControl = QStringLiteral("CAJA1");
    SesionActual = {"admin", "Ana", "Gomez", "Ruiz", "1"};
    reloj.momento = kInicio.addDays(366);

    CrearBaseDatos(carpetas.programa, QStringLiteral("admin"), QStringLiteral("admin"));
    cargar(carpetas.programa, salidas);
    CargarDatosParqueadero();
    std::printf("%d salidas en un año\n", salidas);

    const PeriodoInforme anio{kInicio, kInicio.addDays(365).addSecs(-1)};
    medir("resumen de ventas de un año:", 5, [&](int) {
        dialogos.respuestas = {Boton::Si};
        ImprimirResumenVentas(anio);
    });
    medir("  de ello, las cifras:", 5, [&](int) {
        AbrirConexion();
        LeerCifrasVentas(anio);
        CerrarConexion();
    });
    std::printf("  %s\n", qPrintable(impresora.textos(0).mid(5, 6).join(QStringLiteral(" | "))));
    medir("cierre de un día (nuevo):", 20, [&](int i) {
        const QDateTime dia = kInicio.addDays(10 + 17 * i);
        dialogos.respuestas = {Boton::Si, Boton::Si};
        EfectuarCierre({dia, dia.addSecs(86399)}, NombreCajero());
    });
    medir("cierre de un día (reimpresión):", 20, [&](int i) {
        const QDateTime dia = kInicio.addDays(10 + 17 * i);
        dialogos.respuestas = {Boton::Si, Boton::Si};
        EfectuarCierre({dia, dia.addSecs(86399)}, NombreCajero());
    });
    std::printf(
        "  %s\n",
        qPrintable(
            impresora.textos(impresora.trabajos.size() - 1).mid(8, 6).join(QStringLiteral(" | "))));
    return 0;
}
