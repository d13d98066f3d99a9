// Times the entry of a vehicle end to end through the entries/exits window, with a full lot
// and a large history of exits. Usage: bench_entrada [exits already stored]

#include "acceso/crearbd.h"
#include "acceso/parqueadero.h"
#include "bd/conexion.h"
#include "bd/funcionesbd.h"
#include "bd/recordset.h"
#include "bench/comun.h"
#include "bench/estacion.h"
#include "movimientos/ui/frmGestionEntradasSalidas.h"
#include "principal/registros.h"
#include "principal/servicios.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace {

constexpr int kDentro = 1000;
constexpr int kMuestras = 200;

// One transaction of set-based inserts straight into SQLite. The dates are written already
// normalised, so the triggers that normalise them are dropped during the load and put back.
void cargar(const QString& carpeta, int salidas) {
    CargaDirecta carga(carpeta, "'Entradas','Salidas'");
    sqlite3* db = carga.db;
    EjecutarDirecto(db, "UPDATE DatosParqueadero SET Cupo = 30000");
    EjecutarDirecto(db, "INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,MostrarEnEntradas,"
                        "MostrarEnSalidas) VALUES (2000,60,'AUTOMOVIL',-1,-1), "
                        "(1000,60,'MOTO',-1,-1)");
    const QByteArray historia =
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "INSERT INTO Salidas (FechaEntrada,FechaSalida,Placa,DescrVeh,Observaciones,"
            "id_tarifa,Tarifa,Tiempo,DescrTarifa,Cobrado,ConsecutivoDia,IVA,NroTicket) "
            "SELECT datetime('2025-12-06 06:00:00', '+' || (i * 31 - 5400) || ' seconds'), "
            "datetime('2025-12-06 06:00:00', '+' || (i * 31) || ' seconds'), "
            "printf('H%06d', i % 90000), '', '', 1, 2000, 60, 'AUTOMOVIL', 4000, "
            "1 + i % 2700, 19, CAST(i AS TEXT) FROM n")
            .arg(salidas)
            .toUtf8();
    EjecutarDirecto(db, historia.constData());
    const QByteArray dentro =
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "INSERT INTO Entradas (FechaEntrada,Placa,DescrVeh,Observaciones,id_tarifa,Tarifa,"
            "Tiempo,DescrTarifa) SELECT datetime('2026-12-06 00:00:00', '+' || (i * 30) || "
            "' seconds'), printf('V%04d', i), 'Sedán', '', 1, 2000, 60, 'AUTOMOVIL' FROM n")
            .arg(kDentro - 1)
            .toUtf8();
    EjecutarDirecto(db, dentro.constData());
    carga.terminar();
}

void informar(const char* que, const std::vector<double>& tiempos) {
    std::printf("%-28s p50 %7.2f ms   p99 %7.2f ms   max %7.2f ms\n", que, percentil(tiempos, 0.5),
                percentil(tiempos, 0.99), *std::max_element(tiempos.begin(), tiempos.end()));
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int salidas = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000000;
    EstacionBench estacion;
    SesionActual.Usuario = QStringLiteral("admin");

    const auto t0 = Cronometro::now();
    CrearBaseDatos(estacion.carpeta(), QStringLiteral("admin"), QStringLiteral("admin"));
    cargar(estacion.carpeta(), salidas);
    std::printf("carga: %d salidas y %d vehiculos dentro en %.1f s\n", salidas, kDentro,
                milisegundos(t0) / 1000);

    CargarDatosParqueadero();
    frmGestionEntradasSalidas ventana;
    ventana.Timer1->stop();
    ventana.show();
    QApplication::processEvents();
    std::vector<double> clic;
    std::vector<double> conPintado;
    std::vector<double> cpu;
    // The first entry's statements are run bare afterwards.
    std::vector<std::string> deLaEntrada;
    const auto registrar = [&] { QTest::mouseClick(ventana.btnEntrada, Qt::LeftButton); };
    for (int i = 0; i < kMuestras; ++i) {
        estacion.reloj.avanzar(7);
        ventana.Timer1Timer();
        estacion.dialogos.cajas.clear();
        estacion.impresora.trabajos.clear();
        ventana.txtPlaca->setText(QStringLiteral("N%1").arg(i, 4, 10, QLatin1Char('0')));
        const double inicioCpu = milisegundosCpu();
        const auto inicio = Cronometro::now();
        if (i == 0)
            deLaEntrada = grabar(registrar);
        else
            registrar();
        clic.push_back(milisegundos(inicio));
        cpu.push_back(milisegundosCpu() - inicioCpu);
        QApplication::processEvents();
        conPintado.push_back(milisegundos(inicio));
        if (estacion.impresora.trabajos.size() != 1 || estacion.dialogos.cajas.size() != 1) {
            std::fprintf(stderr, "la entrada %d no se registro como se esperaba\n", i);
            return 1;
        }
    }
    const int64_t dentro = contar(QStringLiteral("SELECT COUNT(*) AS n FROM Entradas"));
    if (dentro != kDentro + kMuestras) {
        std::fprintf(stderr, "se esperaban %d vehiculos dentro y hay %lld\n", kDentro + kMuestras,
                     static_cast<long long>(dentro));
        return 1;
    }
    std::printf(
        "%d entradas con %d a %d vehiculos dentro y %lld salidas guardadas\n", kMuestras, kDentro,
        kDentro + kMuestras - 1,
        static_cast<long long>(contar(QStringLiteral("SELECT COUNT(*) AS n FROM Salidas"))));
    informar("clic en Registrar Entrada:", clic);
    informar("  tiempo de procesador:", cpu);
    informar("  y el repintado:", conPintado);
    compararConCrudo("entrada", {percentil(clic, 0.5), percentil(cpu, 0.5)},
                     Crudo(estacion.carpeta()).medir(deLaEntrada, kMuestras));
    return 0;
}
