// Times the exit of a vehicle end to end through the entries/exits window, on a database
// with a year of exits and a full lot: every other vehicle under a plain rate, the others
// under a rate with two bands, a daily cap and a minimum, compared side by side.
// Usage: bench_salida [exits already stored] [--servidor CONNINFO of an empty database]
//        [--escaneo: each exit by its ticket's code, timed from the scan's Enter to the
//        confirmation box]

#include "acceso/crearbd.h"
#include "acceso/parqueadero.h"
#include "bd/conexion.h"
#include "bd/funcionesbd.h"
#include "bd/jet.h"
#include "bd/recordset.h"
#include "bd/servidor.h"
#include "bench/comun.h"
#include "movimientos/ui/frmGestionEntradasSalidas.h"
#include "principal/formatos.h"
#include "principal/registros.h"
#include "principal/servicios.h"

#include "movimientos/codigoticket.h"
#include "turnos/turnos.h"

#include <QApplication>
#include <QKeyEvent>
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

constexpr int kDentro = 1000;
constexpr int kMuestras = 200;
const QDate kHoy(2026, 12, 6);
// Rate 2: its rules, written as the rates window writes them.
const char* const kReglas =
    "INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,MostrarEnEntradas,MostrarEnSalidas) VALUES "
    "(1000,60,'REGLAS',-1,-1);"
    "INSERT INTO ReglasTarifas (id_tarifa,MinutosGracia,CobroMinimo,TopeCobro,TopeDiaCalendario) "
    "VALUES (2,15,500,3000,-1);"
    "INSERT INTO FranjasTarifas (id_tarifa,NombreFranja,MinutoInicio,MinutoFin,DiasSemana,"
    "ValorFijo) VALUES (2,'Nocturno',1200,360,127,5000);"
    "INSERT INTO FranjasTarifas (id_tarifa,NombreFranja,MinutoInicio,MinutoFin,DiasSemana,"
    "TarifaFranja) VALUES (2,'Diurno',360,1200,31,800)";

// Every question answered Yes, every input box its proposed value.
class DialogosSi : public Dialogos {
public:
    Boton mensaje(const QString&, const QString& titulo, Icono, Botones botones, Boton) override {
        if (titulo == QLatin1String("CONFIRMAR SALIDA"))
            confirmacion = Cronometro::now();
        return botones.testFlag(Boton::Si) ? Boton::Si : Boton::Aceptar;
    }
    QString entrada(const QString&, const QString&, const QString& predeterminado) override {
        return predeterminado;
    }
    Cronometro::time_point confirmacion;
};

// A scanner's keys into the plate box, 5 ms apart by their own time stamps.
void teclear(QWidget* caja, const QString& texto, uint64_t& momento) {
    for (const QChar c : texto) {
        QKeyEvent tecla(QEvent::KeyPress, c == '\r' ? int{Qt::Key_Return} : int{c.unicode()},
                        Qt::NoModifier, QString(c));
        tecla.setTimestamp(momento += 5);
        QApplication::sendEvent(caja, &tecla);
    }
}

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

// Stored dates are already normal, so the triggers that normalise them are left out while
// loading and put back afterwards.
void cargarSalidas(const CargaDirecta& carga, int cantidad) {
    sqlite3* db = carga.db;
    sqlite3_stmt* st = nullptr;
    carga.exigir(
        sqlite3_prepare_v2(db,
                           "INSERT INTO Salidas (FechaEntrada,FechaSalida,Placa,DescrVeh,"
                           "Observaciones,id_tarifa,Tarifa,Tiempo,DescrTarifa,Cobrado,"
                           "ConsecutivoDia,IVA,NroTicket,NDocumento) VALUES (?,?,?,'','',1,"
                           "1000,60,'CARRO',?,?,19,?,NULL)",
                           -1, &st, nullptr),
        "preparar");
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
        carga.exigir(sqlite3_step(st), "insertar salida");
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
}

void cargarEntradas(sqlite3* db) {
    for (int i = 0; i < kDentro; ++i) {
        const QDateTime entrada(kHoy, QTime(6, 0).addSecs(i * 10));
        EjecutarDirecto(db, TraducirJet(QStringLiteral("INSERT INTO Entradas (FechaEntrada,Placa,"
                                                       "DescrVeh,Observaciones,id_tarifa,Tarifa,"
                                                       "Tiempo,DescrTarifa) VALUES ('%1','V%2',"
                                                       "'','',%3,1000,60,'CARRO')")
                                            .arg(FechaIso(entrada))
                                            .arg(i, 4, 10, QLatin1Char('0'))
                                            .arg(1 + i % 2))
                                .toUtf8()
                                .constData());
    }
}

void preparar(const QString& carpeta, int salidas) {
    CrearBaseDatos(carpeta, QStringLiteral("admin"), QStringLiteral("admin"));
    CargaDirecta carga(carpeta, "'Salidas'");
    EjecutarDirecto(carga.db, "INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,MostrarEnEntradas,"
                              "MostrarEnSalidas) VALUES (1000,60,'CARRO',-1,-1)");
    EjecutarDirecto(carga.db, kReglas);
    cargarSalidas(carga, salidas);
    cargarEntradas(carga.db);
    carga.terminar();
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
            "|| lpad(i::text, 4, '0'), '', '', 1 + mod(i, 2), 1000, 60, 'CARRO' FROM "
            "generate_series(0, %5 - 1) i; %6; ANALYZE")
            .arg(salidas)
            .arg(porDia)
            .arg(kHoy.addDays(-365).toString(Qt::ISODate), kHoy.toString(Qt::ISODate))
            .arg(kDentro)
            .arg(QString::fromLatin1(kReglas)));
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
    const bool escaneo = args.removeAll(QStringLiteral("--escaneo")) > 0;
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
    // Exits take cash only inside the cashier's shift.
    AbrirTurno(0);
    frmGestionEntradasSalidas ventana;
    ventana.Timer1->stop();
    const QByteArray clave = escaneo ? ClaveTickets() : QByteArray();
    uint64_t momento = 0;
    std::vector<double> tiempos, cpu, porTarifa[2];
    tiempos.reserve(kMuestras);
    cpu.reserve(kMuestras);
    // On a file, the first exit's statements are run bare afterwards.
    std::vector<std::string> deLaSalida;
    const auto salir = [&] {
        if (escaneo)
            teclear(ventana.txtPlaca, QStringLiteral("\r"), momento);
        else
            ventana.btnSalida->click();
    };
    for (int i = 0; i < kMuestras; ++i) {
        reloj.momento = reloj.momento.addSecs(7);
        ventana.Timer1Timer();
        const QString placa = QStringLiteral("V%1").arg(i * 5, 4, 10, QLatin1Char('0'));
        if (escaneo)
            teclear(ventana.txtPlaca,
                    CodigoTicket(contar("SELECT id_entrada AS n FROM Entradas WHERE Placa = '" +
                                        placa + "'"),
                                 clave),
                    momento);
        else
            ventana.txtPlaca->setText(placa);
        const auto inicio = Cronometro::now();
        const double cpuInicio = milisegundosCpu();
        if (i == 0 && ConfigInicio.Servidor.isEmpty())
            deLaSalida = grabar(salir);
        else
            salir();
        tiempos.push_back(
            escaneo
                ? std::chrono::duration<double, std::milli>(dialogos.confirmacion - inicio).count()
                : milisegundos(inicio));
        porTarifa[i % 2].push_back(tiempos.back());
        cpu.push_back(milisegundosCpu() - cpuInicio);
    }
    const int64_t escritas = contar(QStringLiteral("SELECT COUNT(*) AS n FROM Salidas")) - salidas;
    const int64_t dentro = contar(QStringLiteral("SELECT COUNT(*) AS n FROM Entradas"));
    std::printf("salidas por la ventana: %d (escritas %lld, quedan dentro %lld, tickets %d)\n",
                kMuestras, static_cast<long long>(escritas), static_cast<long long>(dentro),
                impresora.trabajos);
    std::printf("p50 %.2f ms   p99 %.2f ms   max %.2f ms\n", percentil(tiempos, 0.5),
                percentil(tiempos, 0.99), percentil(tiempos, 1.0));
    std::printf("p50 tarifa simple %.2f ms   tarifa con franjas y tope %.2f ms (%+.1f %%)\n",
                percentil(porTarifa[0], 0.5), percentil(porTarifa[1], 0.5),
                100.0 * (percentil(porTarifa[1], 0.5) / percentil(porTarifa[0], 0.5) - 1.0));
    // Other processes on the machine stretch the wall time; the CPU time shows our own work.
    std::printf("cpu: p50 %.2f ms   p99 %.2f ms\n", percentil(cpu, 0.5), percentil(cpu, 0.99));
    if (!deLaSalida.empty())
        compararConCrudo("salida", {percentil(tiempos, 0.5), percentil(cpu, 0.5)},
                         Crudo(carpetas.carpeta).medir(deLaSalida, kMuestras));
    return escritas == kMuestras ? 0 : 1;
}
