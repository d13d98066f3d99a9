// Times the owner's figures on a year of exits: a month's and the year's, the four charts
// painted at 1024x768 and the report written. Usage: bench_tablero [exits in the year]
// [--servidor CONNINFO of an empty database]: the year is made in a file, then moved there.

#include "acceso/crearbd.h"
#include "acceso/parqueadero.h"
#include "bd/servidor.h"
#include "bench/comun.h"
#include "bench/demotablero.h"
#include "bench/estacion.h"
#include "reportes/informetablero.h"
#include "reportes/ui/graficotablero.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>

namespace {

const QDate kAyer(2026, 12, 6);

PeriodoInforme dias(const QDate& desde, const QDate& hasta) {
    return {QDateTime(desde, QTime(0, 0)), QDateTime(hasta, QTime(23, 59, 59))};
}

void pintar(const Tablero& t) {
    QImage imagen(1024, 768, QImage::Format_RGB32);
    QPainter p(&imagen);
    const QVector<Grafico> graficos = GraficosTablero(t, DatosParqueadero.Cupo);
    for (int i = 0; i < graficos.size(); ++i)
        PintarGrafico(p, QRectF((i % 2) * 512, (i / 2) * 384, 512, 384), graficos[i]);
}

// Processor and wall time of each step of a read, where the time goes (on a server, the wall
// time): the medians of three reads.
void porPasos(const PeriodoInforme& periodo) {
    std::vector<double> cpu[4], pared[4];
    for (int vez = 0; vez < 3; ++vez) {
        double antes = milisegundosCpu();
        auto inicio = Cronometro::now();
        LeerTableroPorPasos(periodo, [&](int hechos, int) {
            cpu[hechos - 1].push_back(milisegundosCpu() - antes);
            pared[hechos - 1].push_back(milisegundos(inicio));
            antes = milisegundosCpu();
            inicio = Cronometro::now();
            return true;
        });
    }
    for (int i = 0; i < 4; ++i)
        std::printf("    paso %d: cpu p50 %.0f ms, pared p50 %.0f ms\n", i + 1,
                    percentil(cpu[i], 0.5), percentil(pared[i], 0.5));
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const QString servidor = tomarServidor(args);
    const int salidas = args.isEmpty() ? 1000000 : std::max(365, args[0].toInt());
    EstacionBench estacion;
    const auto t0 = Cronometro::now();
    CrearBaseDatos(estacion.carpeta(), QStringLiteral("admin"), QStringLiteral("admin"));
    CargarDemoTablero(estacion.carpeta(), kAyer, 365, salidas / 365);
    if (!servidor.isEmpty()) {
        CopiarAlServidor(estacion.carpeta() + QStringLiteral("/vialtor.mdb"), servidor);
        // As autovacuum leaves a year of old rows: marked visible, so the figures' index lookups
        // need not visit the table for each row.
        ServidorPg(servidor, ConexionBD::EsperaPredeterminadaMs)
            .ejecutar(QStringLiteral("VACUUM ANALYZE"));
        ConfigInicio.Servidor = servidor;
    }
    CargarDatosParqueadero();
    std::printf("carga: %d salidas en un año%s: %.1f s\n", salidas,
                servidor.isEmpty() ? "" : " (servidor)", milisegundos(t0) / 1000);

    const PeriodoInforme mes = dias(kAyer.addDays(-29), kAyer);
    const PeriodoInforme anio = dias(kAyer.addDays(-364), kAyer);
    Tablero t;
    const Tiempos deMes = medir("cifras de un mes:", 3, [&](int) { t = LeerTablero(mes); });
    const int64_t salidasMes = t.cifras.salidas;
    porPasos(mes);
    const Tiempos deAnio = medir("cifras de un año:", 3, [&](int) { t = LeerTablero(anio); });
    porPasos(anio);
    medir("  los cuatro gráficos del año:", 3, [&](int) { pintar(t); });
    medir("  el informe del año:", 3, [&](int) { GuardarInformeTablero(t); });
    std::printf("año: %lld salidas, %lld entradas, cobrado %lld, ocupación máxima %lld\n",
                static_cast<long long>(t.cifras.salidas), static_cast<long long>(t.cifras.entradas),
                static_cast<long long>(t.cifras.cobrado),
                static_cast<long long>(t.cifras.ocupacionMax));
    std::printf("objetivo: mes <= 300 ms (%.0f), año <= %d ms (%.0f)\n", deMes.pared,
                servidor.isEmpty() ? 1500 : 3000, deAnio.pared);
    // A run that read nothing measured nothing.
    return salidasMes > 0 && t.cifras.salidas >= salidasMes ? 0 : 1;
}
