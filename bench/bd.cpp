// Times the statements the windows run most, through Recordset and through bare SQLite calls
// on the same database, and prints both times and their ratio.

#include "acceso/crearbd.h"
#include "bd/conexion.h"
#include "bd/jet.h"
#include "bd/recordset.h"
#include "bd/sql.h"
#include "principal/formatos.h"
#include "principal/registros.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {

using Reloj = std::chrono::steady_clock;

constexpr int kSalidas = 50000;
constexpr int kDias = 500;
constexpr int kEntradas = 300;
constexpr int kClientes = 2000;
constexpr int kPeriodosPorCliente = 12;
constexpr int kSentencias = 20000;
constexpr int kPasadas = 3;
constexpr int kFormas = 4;
const char* const kNombresFormas[kFormas] = {"insertar entrada", "buscar placa",
                                             "consecutivo del dia", "cliente con periodos"};
const QDate kPrimerDia(2025, 1, 1);

QString placa(const char* prefijo, int n) {
    return QLatin1String(prefijo) + QStringLiteral("%1").arg(n, 5, 10, QLatin1Char('0'));
}

void ejecutar(const QString& jet) {
    Recordset rs;
    rs.Open(jet);
}

QString insercionEntrada(const QString& laPlaca, const QDateTime& fecha) {
    return QStringLiteral("INSERT INTO entradas (FechaEntrada,Placa,DescrVeh,Observaciones,"
                          "id_tarifa,Tarifa,Tiempo,DescrTarifa) VALUES (%1,%2,'','','1','2000',"
                          "'60','AUTOMOVIL')")
        .arg(Texto(FechaHoraTexto(fecha)), Texto(laPlaca));
}

void precargar() {
    Transaccion t;
    for (int i = 0; i < kSalidas; ++i) {
        const QDateTime salida(kPrimerDia.addDays(i % kDias), QTime(6, 0).addSecs(i / kDias * 500));
        ejecutar(QStringLiteral("INSERT INTO salidas (FechaEntrada,FechaSalida,Placa,DescrVeh,"
                                "Observaciones,id_tarifa,Tarifa,Tiempo,DescrTarifa,Cobrado,"
                                "ConsecutivoDia,IVA) VALUES (%1,%2,%3,'','','1','2000','60',"
                                "'AUTOMOVIL','4000','%4','19')")
                     .arg(Texto(FechaHoraTexto(salida.addSecs(-5400))),
                          Texto(FechaHoraTexto(salida)), Texto(placa("SAL", i % 7000)))
                     .arg(i / kDias + 1));
    }
    for (int i = 0; i < kEntradas; ++i)
        ejecutar(insercionEntrada(placa("ENT", i), QDateTime(kPrimerDia, QTime(7, 0).addSecs(i))));
    for (int c = 1; c <= kClientes; ++c) {
        ejecutar(QStringLiteral("INSERT INTO Clientes (Nombre,Ape1,Ape2,Placa,Activo,"
                                "Identificacion,Notas) VALUES ('Nombre %1','Apellido','Otro',%2,"
                                "False,'%1','')")
                     .arg(c)
                     .arg(Texto(placa("CLI", c))));
        for (int p = 0; p < kPeriodosPorCliente; ++p)
            ejecutar(QStringLiteral("INSERT INTO FechaPago (id_cliente, FechaInicio, FechaFin, "
                                    "CantidadTotal, Pagado, NRecibo) VALUES (%1,%2,%3,100000,"
                                    "True,'')")
                         .arg(c)
                         .arg(LiteralFechaSimple(kPrimerDia.addMonths(p)),
                              LiteralFechaSimple(kPrimerDia.addMonths(p + 1).addDays(-1))));
    }
    t.confirmar();
}

// The statements in the order they run: the four shapes take turns.
std::vector<QString> sentenciasJet() {
    std::vector<QString> jet;
    jet.reserve(kSentencias);
    for (int i = 0; i < kSentencias; ++i) {
        const int n = i / kFormas;
        const QDate dia = kPrimerDia.addDays(n % kDias);
        switch (i % kFormas) {
        case 0:
            jet.push_back(
                insercionEntrada(placa("NUE", n), QDateTime(dia, QTime(8, 0).addSecs(n % 36000))));
            break;
        case 1:
            jet.push_back(QStringLiteral("SELECT * FROM entradas WHERE placa = %1")
                              .arg(Texto(placa("ENT", n % kEntradas))));
            break;
        case 2:
            jet.push_back(QStringLiteral("SELECT TOP 1 ConsecutivoDia FROM Salidas WHERE "
                                         "FechaSalida >= %1 AND Fechasalida <= %2 ORDER BY "
                                         "ConsecutivoDia DESC")
                              .arg(LiteralInicioDia(dia), LiteralFinDia(dia)));
            break;
        default:
            jet.push_back(QStringLiteral("SELECT * FROM Clientes INNER JOIN FechaPago ON "
                                         "Clientes.id_cliente = FechaPago.id_cliente WHERE "
                                         "Clientes.Placa = %1 ORDER BY FechaFin DESC")
                              .arg(Texto(placa("CLI", n % kClientes + 1))));
        }
    }
    return jet;
}

struct Tiempos {
    std::array<double, kFormas> porForma{};
    long long celdas = 0;
    void quedarseConLoMejor(const Tiempos& otra, bool primera) {
        for (int f = 0; f < kFormas; ++f)
            porForma[f] = primera ? otra.porForma[f] : std::min(porForma[f], otra.porForma[f]);
        celdas = otra.celdas;
    }
    double total() const {
        double t = 0;
        for (double f : porForma)
            t += f;
        return t;
    }
};

double segundosDesde(Reloj::time_point inicio) {
    return std::chrono::duration<double>(Reloj::now() - inicio).count();
}

// As a window reads: every column of every row by name, as text. Returns the cells read.
long long porRecordset(Recordset& rs, const QString& jet) {
    long long celdas = 0;
    rs.Open(jet);
    for (; !rs.Eof(); rs.MoveNext())
        for (const QString& nombre : rs.nombresCampos()) {
            rs.Fields(nombre).aTexto();
            ++celdas;
        }
    rs.Close();
    return celdas;
}

long long enCrudo(sqlite3* db, const QByteArray& sql) {
    long long celdas = 0;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), sql.size(), &st, nullptr) != SQLITE_OK)
        throw ErrorBD(QStringLiteral("Error de base de datos"),
                      QString::fromUtf8(sqlite3_errmsg(db)));
    const int columnas = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int c = 0; c < columnas; ++c) {
            sqlite3_column_text(st, c);
            ++celdas;
        }
    sqlite3_finalize(st);
    return celdas;
}

// Each statement runs both ways back to back, the order swapped every time, so both sides
// meet the same load on a shared machine and neither always finds the cache warmer.
void medir(const std::vector<QString>& jet, const std::vector<QByteArray>& sqlite, Tiempos& capa,
           Tiempos& crudo) {
    Recordset rs;
    sqlite3* db = Conexion.manejador();
    for (size_t i = 0; i < jet.size(); ++i) {
        const int forma = static_cast<int>(i % kFormas);
        for (int vez = 0; vez < 2; ++vez) {
            const auto inicio = Reloj::now();
            if ((vez + i / kFormas) % 2 == 0) {
                capa.celdas += porRecordset(rs, jet[i]);
                capa.porForma[forma] += segundosDesde(inicio);
            } else {
                crudo.celdas += enCrudo(db, sqlite[i]);
                crudo.porForma[forma] += segundosDesde(inicio);
            }
        }
    }
}

// The highest ratio each form may reach; 0 for none.
const double kMetas[kFormas] = {0, 0, 0, 1.2};

void informar(const Tiempos& capa, const Tiempos& crudo) {
    std::printf("%-24s %12s %12s %8s %6s\n", "forma", "Recordset s", "SQLite s", "razon", "meta");
    for (int f = 0; f < kFormas; ++f) {
        const double razon = capa.porForma[f] / crudo.porForma[f];
        std::printf("%-24s %12.3f %12.3f %8.2f", kNombresFormas[f], capa.porForma[f],
                    crudo.porForma[f], razon);
        if (kMetas[f] > 0)
            std::printf(" %6.2f %s", kMetas[f], razon <= kMetas[f] ? "cumple" : "NO cumple");
        std::printf("\n");
    }
    std::printf("%-24s %12.3f %12.3f %8.2f\n", "total", capa.total(), crudo.total(),
                capa.total() / crudo.total());
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir carpeta;
    try {
        CrearBaseDatos(carpeta.path(), QStringLiteral("admin"), QStringLiteral("admin"));
        ConfigInicio.CarpetaDatos = carpeta.path();
        AbrirConexion();
        // Disk flushes would hide the layer's own cost behind the disk's; both sides skip them.
        ejecutar(QStringLiteral("PRAGMA synchronous=OFF"));
        const auto inicio = Reloj::now();
        precargar();
        std::printf("precarga: %d salidas, %d entradas, %d clientes con %d periodos: %.2f s\n",
                    kSalidas, kEntradas, kClientes, kPeriodosPorCliente, segundosDesde(inicio));

        const std::vector<QString> jet = sentenciasJet();
        std::vector<QByteArray> sqlite;
        sqlite.reserve(jet.size());
        for (const QString& s : jet)
            sqlite.push_back(TraducirJet(s).toUtf8());

        // The machine is shared: of a few passes, each side keeps its quickest per form.
        Tiempos capa, crudo;
        for (int pasada = 0; pasada < kPasadas; ++pasada) {
            Tiempos capaPasada, crudoPasada;
            medir(jet, sqlite, capaPasada, crudoPasada);
            capa.quedarseConLoMejor(capaPasada, pasada == 0);
            crudo.quedarseConLoMejor(crudoPasada, pasada == 0);
        }
        std::printf("celdas leidas: %lld por Recordset, %lld en crudo\n", capa.celdas,
                    crudo.celdas);
        if (capa.celdas != crudo.celdas) {
            std::fprintf(stderr, "los dos lados no leyeron lo mismo\n");
            return 1;
        }
        std::printf("%d sentencias por lado en cada una de %d pasadas; la mejor por forma\n",
                    kSentencias, kPasadas);
        informar(capa, crudo);
        CerrarConexion();
    } catch (const ErrorBD& e) {
        std::fprintf(stderr, "%s\n", e.textoCompleto().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
