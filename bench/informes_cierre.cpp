// Times the sales summary of a year and the cash closing of a day on years of exits, each beside
// bare SQLite running the same statements. Usage: bench_informes_cierre [--anios N] [exits
// stored per year]

#include "acceso/crearbd.h"
#include "acceso/parqueadero.h"
#include "bd/conexion.h"
#include "bd/funcionesbd.h"
#include "bench/comun.h"
#include "bench/estacion.h"
#include "principal/registros.h"
#include "reportes/cierrecaja.h"
#include "reportes/resumenventas.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace {

const QDateTime kInicio(QDate(2025, 12, 6), QTime(0, 0));

// Exits 31 s apart, in one set-based insert, the last year's starting at kInicio and older
// years before it; charges of 1 000 to 7 000, one in ten without a tax rate, every other one
// with a document number.
void cargar(const QString& carpeta, const Historia& historia) {
    const int64_t antes = static_cast<int64_t>(historia.anios - 1) * historia.salidasPorAnio;
    const QString origen =
        kInicio.addSecs(-31 * antes).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    CargaDirecta carga(carpeta, "'Salidas'");
    const QByteArray sql =
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "INSERT INTO Salidas (FechaEntrada,FechaSalida,Placa,DescrVeh,Observaciones,"
            "id_tarifa,Tarifa,Tiempo,DescrTarifa,Cobrado,ConsecutivoDia,IVA,NroTicket,"
            "NDocumento) SELECT datetime('%2', '+' || (i * 31 - 5400) || ' seconds'), "
            "datetime('%2', '+' || (i * 31) || ' seconds'), "
            "printf('H%06d', i % 90000), '', '', 1, 1000, 60, 'CARRO', 1000 * (1 + i % 7), "
            "1 + i % 2700, CASE WHEN i % 10 = 0 THEN NULL ELSE 19 END, CAST(i AS TEXT), "
            "CASE WHEN i % 2 = 0 THEN printf('FV-%08d', i) END FROM n")
            .arg(historia.salidas())
            .arg(origen)
            .toUtf8();
    EjecutarDirecto(carga.db, sql.constData());
    carga.terminar();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const Historia historia = leerHistoria(argc, argv);
    EstacionBench estacion;
    SesionActual = {"admin", "Ana", "Gomez", "Ruiz", "1"};
    estacion.reloj.momento = kInicio.addDays(366);

    const auto t0 = Cronometro::now();
    CrearBaseDatos(estacion.carpeta(), QStringLiteral("admin"), QStringLiteral("admin"));
    cargar(estacion.carpeta(), historia);
    CargarDatosParqueadero();
    std::printf("carga: %lld salidas en %d años: %.1f s\n",
                static_cast<long long>(historia.salidas()), historia.anios,
                milisegundos(t0) / 1000);
    Crudo crudo(estacion.carpeta());

    const PeriodoInforme anio{kInicio, kInicio.addDays(365).addSecs(-1)};
    const auto resumir = [&] {
        estacion.dialogos.respuestas = {Boton::Si};
        ImprimirResumenVentas(anio);
    };
    const std::vector<std::string> delResumen = grabar(resumir);
    const Tiempos resumen = medir("resumen de ventas de un año:", 5, [&](int) { resumir(); });
    medir("  de ello, las cifras:", 5, [&](int) {
        AbrirConexion();
        LeerCifrasVentas(anio);
        CerrarConexion();
    });
    std::printf("  %s\n",
                qPrintable(estacion.impresora.textos(0).mid(5, 6).join(QStringLiteral(" | "))));

    // The closings timed are of days 10, 27, 44…; the one recorded, of day 5, is none of them.
    const auto cerrar = [&](int i) {
        const QDateTime dia = kInicio.addDays(i < 0 ? 5 : 10 + 17 * i);
        estacion.dialogos.respuestas = {Boton::Si, Boton::Si};
        EfectuarCierre({dia, dia.addSecs(86399)}, NombreCajero());
    };
    const std::vector<std::string> delCierre = grabar([&] { cerrar(-1); });
    const std::vector<std::string> deLaReimpresion = grabar([&] { cerrar(-1); });
    const Tiempos cierre = medir("cierre de un día (nuevo):", 20, cerrar);
    const Tiempos reimpresion = medir("cierre de un día (reimpresión):", 20, cerrar);
    std::printf("  %s\n",
                qPrintable(estacion.impresora.textos(estacion.impresora.trabajos.size() - 1)
                               .mid(8, 6)
                               .join(QStringLiteral(" | "))));

    compararConCrudo("resumen de ventas de un año", resumen, crudo.medir(delResumen, 5), 1000);
    compararConCrudo("cierre de un día (nuevo)", cierre, crudo.medir(delCierre, 20));
    compararConCrudo("cierre de un día (reimpresión)", reimpresion,
                     crudo.medir(deLaReimpresion, 20));
    return 0;
}
