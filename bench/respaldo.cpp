// The automatic backup of a large database as the main window's tick starts it: prints the
// total time until the copy is checked and in place, and the longest the event loop went
// without turning meanwhile (target: 100 ms at most). Usage: bench_respaldo [MB, default 200]

#include "acceso/respaldo.h"
#include "acceso/crearbd.h"
#include "bd/conexion.h"
#include "bench/comun.h"
#include "principal/registros.h"
#include "principal/servicios.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

class RelojReal : public Reloj {
public:
    QDateTime ahora() const override { return QDateTime::currentDateTime(); }
};

class CajasEnConsola : public Dialogos {
public:
    Boton mensaje(const QString& texto, const QString&, Icono, Botones, Boton) override {
        std::fprintf(stderr, "%s\n", qPrintable(texto));
        return Boton::Aceptar;
    }
    QString entrada(const QString&, const QString&, const QString&) override { return {}; }
};

// A year or two of exits with long remarks, until the file reaches the size asked for.
void llenar(const QString& ruta, qint64 bytes) {
    AbrirConexion();
    while (QFileInfo(ruta).size() < bytes)
        EjecutarDirecto(Conexion.manejador(),
                        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE "
                        "i<20000) INSERT INTO Salidas (FechaEntrada,FechaSalida,Placa,"
                        "Observaciones,Cobrado,ConsecutivoDia) SELECT '2026-01-01 08:00:00',"
                        "'2026-01-01 10:00:00','P'||i,hex(randomblob(400)),2000,i FROM n");
    CerrarConexion();
}

// Bare SQLite's copy of the same file in one step, neither spread over the event loop nor
// checked: what the program adds to the copy is the difference.
Tiempos copiaCruda(const QString& ruta, const QString& destino) {
    const double inicioCpu = milisegundosCpu();
    const auto inicio = Cronometro::now();
    sqlite3 *origen = nullptr, *copia = nullptr;
    sqlite3_open_v2(ruta.toUtf8().constData(), &origen, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_open(destino.toUtf8().constData(), &copia);
    sqlite3_backup* paso = sqlite3_backup_init(copia, "main", origen, "main");
    const bool hecha = paso && sqlite3_backup_step(paso, -1) == SQLITE_DONE;
    sqlite3_backup_finish(paso);
    sqlite3_close(copia);
    sqlite3_close(origen);
    if (!hecha)
        std::exit(1);
    return {milisegundos(inicio), milisegundosCpu() - inicioCpu};
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int megas = argc > 1 ? std::atoi(argv[1]) : 200;
    QTemporaryDir dir;
    CarpetaUnica carpetas;
    carpetas.carpeta = dir.path();
    RelojReal reloj;
    CajasEnConsola cajas;
    Servicios() = {&cajas, &reloj, nullptr, &carpetas};
    ConfigInicio.PuntoControl = QStringLiteral("CAJA1");
    ConfigInicio.AvisoTamanoBD = false;
    CrearBaseDatos(dir.path(), QStringLiteral("admin"), QStringLiteral("admin"));
    const QString ruta = dir.path() + QStringLiteral("/vialtor.mdb");
    llenar(ruta, qint64(megas) << 20);
    EscribirCalendario(RutaCalendario(), {0, 0});

    MonitorRespaldo monitor;
    QEventLoop bucle;
    bool correcta = false;
    QObject::connect(&monitor, &MonitorRespaldo::copiaTerminada, [&](bool ok) {
        correcta = ok;
        bucle.quit();
    });
    QElapsedTimer total, desdeLatido;
    const double inicioCpu = milisegundosCpu();
    qint64 mayorParada = 0;
    QTimer latido;
    latido.setInterval(5);
    QObject::connect(&latido, &QTimer::timeout,
                     [&] { mayorParada = qMax(mayorParada, desdeLatido.restart()); });
    total.start();
    desdeLatido.start();
    latido.start();
    monitor.tick(60);
    bucle.exec();
    const qint64 ms = total.elapsed();
    const Tiempos programa{static_cast<double>(ms), milisegundosCpu() - inicioCpu};
    std::printf("base %.0f MB: copia comprobada en %.2f s, mayor parada del bucle de eventos %lld "
                "ms (objetivo <= 100), copias: %lld, %s\n",
                QFileInfo(ruta).size() / 1048576.0, ms / 1000.0,
                static_cast<long long>(mayorParada),
                static_cast<long long>(
                    QDir(dir.path() + QStringLiteral("/respaldos")).entryList(QDir::Files).size()),
                correcta ? "correcta" : "FALLIDA");
    compararConCrudo("copia comprobada", programa,
                     copiaCruda(ruta, dir.path() + QStringLiteral("/copia_cruda.mdb")));
    return correcta && mayorParada <= 100 ? 0 : 1;
}
