// Times the exit of a vehicle end to end through the entries/exits window, on a database
// with a year of exits and a full lot.
// Usage: bench_salida [exits already stored] [--servidor CONNINFO of an empty database]

#include "movimientos/frmGestionEntradasSalidas.h"
#include "principal/conexion.h"
#include "principal/crearbd.h"
#include "principal/formatos.h"
#include "principal/funcionesbd.h"
#include "principal/jet.h"
#include "principal/parqueadero.h"
#include "principal/recordset.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/servidor.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sqlite3.h>
#include <vector>

namespace {

using Cronometro = std::chrono::steady_clock;

constexpr int kDentro = 1000;
constexpr int kMuestras = 200;
const QDate kHoy(2026, 12, 6);

// Every question answered Yes, every input box its proposed value.
class DialogosSi : public Dialogos {
public:
    Boton mensaje(const QString&, const QString&, Icono, Botones botones, Boton) override {
        return botones.testFlag(Boton::Si) ? Boton::Si : Boton::Aceptar;
    }
    QString entrada(const QString&, const QString&, const QString& predeterminado) override {
        return predeterminado;
    }
};

class RelojFijo : public Reloj {
public:
    QDateTime ahora() const override { return momento; }
    QDateTime momento;
};

class ImpresoraNula : public Impresora {
public:
    bool imprimir(const TrabajoImpresion&) override {
        ++trabajos;
        return true;
    }
    int trabajos = 0;
};

class CarpetaUnica : public Carpetas {
public:
    QString carpetaPrograma() const override { return carpeta; }
    QString carpetaTrabajo() const override { return carpeta; }
    QString carpeta;
};

void exigir(int rc, sqlite3* db, const char* que) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE) {
        std::fprintf(stderr, "%s: %s\n", que, sqlite3_errmsg(db));
        std::exit(1);
    }
}

std::vector<std::string> disparadoresDeSalidas(sqlite3* db) {
    std::vector<std::string> sentencias;
    sqlite3_stmt* st = nullptr;
    exigir(sqlite3_prepare_v2(db,
                              "SELECT sql FROM sqlite_master WHERE type='trigger' AND "
                              "tbl_name='Salidas'",
                              -1, &st, nullptr),
           db, "disparadores");
    while (sqlite3_step(st) == SQLITE_ROW)
        sentencias.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return sentencias;
}

// Stored dates are already normal, so the triggers that normalise them are left out while
// loading and put back afterwards.
void cargarSalidas(sqlite3* db, int cantidad) {
    const auto disparadores = disparadoresDeSalidas(db);
    EjecutarDirecto(db, "BEGIN IMMEDIATE");
    EjecutarDirecto(db, "DROP TRIGGER Salidas_normalizar_ins");
    EjecutarDirecto(db, "DROP TRIGGER Salidas_normalizar_upd");
    sqlite3_stmt* st = nullptr;
    exigir(sqlite3_prepare_v2(db,
                              "INSERT INTO Salidas (FechaEntrada,FechaSalida,Placa,DescrVeh,"
                              "Observaciones,id_tarifa,Tarifa,Tiempo,DescrTarifa,Cobrado,"
                              "ConsecutivoDia,IVA,NroTicket,NDocumento) VALUES (?,?,?,'','',1,"
                              "1000,60,'CARRO',?,?,19,?,NULL)",
                              -1, &st, nullptr),
           db, "preparar");
    const int porDia = cantidad / 365 + 1;
    const QDateTime inicio(kHoy.addDays(-365), QTime(6, 0));
    for (int i = 0; i < cantidad; ++i) {
        const int dia = i / porDia;
        const int enElDia = i % porDia;
        const QDateTime salida = inicio.addDays(dia).addSecs(enElDia * 57000 / porDia);
        const QByteArray fs = FechaIso(salida).toUtf8();
        const QByteArray fe = FechaIso(salida.addSecs(-5400)).toUtf8();
        const QByteArray placa =
            QStringLiteral("H%1").arg(i % 90000, 6, 10, QLatin1Char('0')).toUtf8();
        const QByteArray ticket = QByteArray::number(i + 1);
        sqlite3_bind_text(st, 1, fe.constData(), fe.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, fs.constData(), fs.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, placa.constData(), placa.size(), SQLITE_TRANSIENT);
        sqlite3_bind_int(st, 4, 2000);
        sqlite3_bind_int(st, 5, enElDia + 1);
        sqlite3_bind_text(st, 6, ticket.constData(), ticket.size(), SQLITE_TRANSIENT);
        exigir(sqlite3_step(st), db, "insertar salida");
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    for (const std::string& s : disparadores)
        EjecutarDirecto(db, s.c_str());
    EjecutarDirecto(db, "COMMIT");
}

void cargarEntradas(sqlite3* db) {
    EjecutarDirecto(db, "BEGIN IMMEDIATE");
    for (int i = 0; i < kDentro; ++i) {
        const QDateTime entrada(kHoy, QTime(6, 0).addSecs(i * 10));
        EjecutarDirecto(db, TraducirJet(QStringLiteral("INSERT INTO Entradas (FechaEntrada,Placa,"
                                                       "DescrVeh,Observaciones,id_tarifa,Tarifa,"
                                                       "Tiempo,DescrTarifa) VALUES ('%1','V%2',"
                                                       "'','',1,1000,60,'CARRO')")
                                            .arg(FechaIso(entrada))
                                            .arg(i, 4, 10, QLatin1Char('0')))
                                .toUtf8()
                                .constData());
    }
    EjecutarDirecto(db, "COMMIT");
}

void preparar(const QString& carpeta, int salidas) {
    CrearBaseDatos(carpeta, QStringLiteral("admin"), QStringLiteral("admin"));
    sqlite3* db = nullptr;
    const QByteArray ruta = (carpeta + QStringLiteral("/vialtor.mdb")).toUtf8();
    exigir(sqlite3_open_v2(ruta.constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db, "abrir");
    RegistrarFuncionesJet(db);
    EjecutarDirecto(db, "INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,MostrarEnEntradas,"
                        "MostrarEnSalidas) VALUES (1000,60,'CARRO',-1,-1)");
    cargarSalidas(db, salidas);
    cargarEntradas(db);
    sqlite3_close(db);
}

// The same data on a server, made by the server itself.
void prepararServidor(const QString& conexion, int salidas) {
    CrearBaseDatosServidor(conexion, QStringLiteral("admin"), QStringLiteral("admin"));
    ServidorPg servidor(conexion, ConexionBD::EsperaPredeterminadaMs);
    const int porDia = salidas / 365 + 1;
    servidor.ejecutar(
        QStringLiteral(
            "INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,MostrarEnEntradas,MostrarEnSalidas) "
            "VALUES (1000,60,'CARRO',-1,-1);"
            "INSERT INTO Salidas (FechaEntrada,FechaSalida,Placa,DescrVeh,Observaciones,id_tarifa,"
            "Tarifa,Tiempo,DescrTarifa,Cobrado,ConsecutivoDia,IVA,NroTicket) SELECT s - interval "
            "'90 minutes', s, 'H' || lpad(mod(i, 90000)::text, 6, '0'), '', '', 1, 1000, 60, "
            "'CARRO', 2000, mod(i, %2) + 1, 19, (i + 1)::text FROM generate_series(0, %1 - 1) i, "
            "LATERAL (SELECT TIMESTAMP '%3 06:00:00' + (i / %2) * interval '1 day' + "
            "(mod(i, %2) * 57000 / %2) * interval '1 second' AS s) t;"
            "INSERT INTO Entradas (FechaEntrada,Placa,DescrVeh,Observaciones,id_tarifa,Tarifa,"
            "Tiempo,DescrTarifa) SELECT TIMESTAMP '%4 06:00:00' + i * interval '10 seconds', 'V' "
            "|| lpad(i::text, 4, '0'), '', '', 1, 1000, 60, 'CARRO' FROM generate_series(0, %5 - "
            "1) i; ANALYZE")
            .arg(salidas)
            .arg(porDia)
            .arg(kHoy.addDays(-365).toString(Qt::ISODate), kHoy.toString(Qt::ISODate))
            .arg(kDentro));
}

double milisegundosCpu() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double percentil(std::vector<double> tiempos, double p) {
    std::sort(tiempos.begin(), tiempos.end());
    const size_t i = static_cast<size_t>(p * static_cast<double>(tiempos.size() - 1) + 0.5);
    return tiempos[i];
}

int64_t contar(const char* sql) {
    AbrirConexion();
    Recordset rs;
    rs.Open(QLatin1String(sql));
    const int64_t n = rs.Fields(QStringLiteral("n")).aEntero();
    CerrarConexion();
    return n;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const int opcion = args.indexOf(QStringLiteral("--servidor"));
    if (opcion >= 0 && opcion + 1 < args.size()) {
        ConfigInicio.Servidor = args.takeAt(opcion + 1);
        args.removeAt(opcion);
    }
    const int salidas = args.size() > 0 ? args[0].toInt() : 1000000;
    QTemporaryDir temporal;
    DialogosSi dialogos;
    RelojFijo reloj;
    ImpresoraNula impresora;
    CarpetaUnica carpetas;
    carpetas.carpeta = temporal.path();
    Servicios() = {&dialogos, &reloj, &impresora, &carpetas};
    ConfigInicio.PuntoControl = QStringLiteral("CAJA1");
    reloj.momento = QDateTime(kHoy, QTime(10, 0));

    const auto t0 = Cronometro::now();
    if (ConfigInicio.Servidor.isEmpty())
        preparar(carpetas.carpeta, salidas);
    else
        prepararServidor(ConfigInicio.Servidor, salidas);
    const double carga = std::chrono::duration<double>(Cronometro::now() - t0).count();
    std::printf("carga: %d salidas y %d vehiculos dentro en %.1f s\n", salidas, kDentro, carga);

    CargarDatosParqueadero();
    frmGestionEntradasSalidas ventana;
    ventana.Timer1->stop();
    std::vector<double> tiempos, cpu;
    tiempos.reserve(kMuestras);
    cpu.reserve(kMuestras);
    for (int i = 0; i < kMuestras; ++i) {
        reloj.momento = reloj.momento.addSecs(7);
        ventana.Timer1Timer();
        ventana.txtPlaca->setText(QStringLiteral("V%1").arg(i * 5, 4, 10, QLatin1Char('0')));
        const auto inicio = Cronometro::now();
        const double cpuInicio = milisegundosCpu();
        ventana.btnSalida->click();
        tiempos.push_back(
            std::chrono::duration<double, std::milli>(Cronometro::now() - inicio).count());
        cpu.push_back(milisegundosCpu() - cpuInicio);
    }
    const int64_t escritas = contar("SELECT COUNT(*) AS n FROM Salidas") - salidas;
    const int64_t dentro = contar("SELECT COUNT(*) AS n FROM Entradas");
    std::printf("salidas por la ventana: %d (escritas %lld, quedan dentro %lld, tickets %d)\n",
                kMuestras, static_cast<long long>(escritas), static_cast<long long>(dentro),
                impresora.trabajos);
    std::printf("p50 %.2f ms   p99 %.2f ms   max %.2f ms\n", percentil(tiempos, 0.5),
                percentil(tiempos, 0.99), percentil(tiempos, 1.0));
    // Other processes on the machine stretch the wall time; the CPU time shows our own work.
    std::printf("cpu: p50 %.2f ms   p99 %.2f ms\n", percentil(cpu, 0.5), percentil(cpu, 0.99));
    return escritas == kMuestras ? 0 : 1;
}
