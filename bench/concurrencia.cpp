// Processes register entries and exits on one database at the same time, as stations sharing a
// data folder (or a server) do; prints the time, the exits written, the day's numbers given twice
// (must be 0) and the errors (must be 0).
// Usage: bench_concurrencia [per process] [processes] [--servidor CONNINFO of an empty database]

#include "acceso/crearbd.h"
#include "acceso/parqueadero.h"
#include "bd/conexion.h"
#include "bd/recordset.h"
#include "bd/sql.h"
#include "bench/comun.h"
#include "movimientos/vehiculos.h"
#include "principal/formatos.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "tests/comun/dobles.h"
#include "turnos/turnos.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const QString kEntrada = QStringLiteral("06/12/2026 08:30:00 am");
const QString kSalida = QStringLiteral("06/12/2026 10:00:00 am");

int64_t registrarEntrada(const QString& placa) {
    Transaccion transaccion;
    Recordset rs;
    rs.Open(QStringLiteral("INSERT INTO entradas (FechaEntrada,Placa,DescrVeh,Observaciones,"
                           "id_tarifa,Tarifa,Tiempo,DescrTarifa) VALUES (") +
            Texto(kEntrada) + QLatin1Char(',') + Texto(placa) +
            QStringLiteral(",'','','1','1000','60','CARRO')"));
    const int64_t id = Recordset::UltimoId();
    transaccion.confirmar();
    return id;
}

bool registrarSalida(int64_t idEntrada, const QString& placa) {
    SalidaNueva s;
    s.idEntrada = idEntrada;
    s.placa = placa;
    s.fechaEntrada = *LeerFechaHoraTexto(kEntrada);
    s.fechaSalida = *LeerFechaHoraTexto(kSalida);
    s.tarifa = {1, 1000, 60, QStringLiteral("CARRO")};
    s.cobrado = 2000;
    return GrabarSalida(s).hecho();
}

// One station's work; the number of errors.
int estacion(char letra, int vehiculos) {
    int errores = 0;
    for (int i = 0; i < vehiculos; ++i) {
        const QString placa =
            QLatin1Char(letra) + QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0'));
        try {
            const int64_t id = registrarEntrada(placa);
            CerrarConexion();
            if (!registrarSalida(id, placa))
                ++errores;
        } catch (const ErrorBD& e) {
            std::fprintf(stderr, "%c: %s\n", letra, e.what());
            ++errores;
        }
        CerrarConexion();
    }
    return errores;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    ConfigInicio.Servidor = tomarServidor(args);
    const int vehiculos = args.size() > 0 ? args[0].toInt() : 500;
    const int procesos = qBound(1, args.size() > 1 ? args[1].toInt() : 2, 26);
    QTemporaryDir temporal;
    CarpetaUnica carpetas;
    carpetas.carpeta = temporal.path();
    Servicios().carpetas = &carpetas;
    // The shifts and the audit trail stamp their rows with the clock.
    RelojFijo reloj;
    reloj.momento = *LeerFechaHoraTexto(kSalida);
    Servicios().reloj = &reloj;
    ConfigInicio.PuntoControl = QStringLiteral("CAJA1");
    if (ConfigInicio.Servidor.isEmpty())
        CrearBaseDatos(carpetas.carpeta, QStringLiteral("admin"), QStringLiteral("admin"));
    else
        CrearBaseDatosServidor(ConfigInicio.Servidor, QStringLiteral("admin"),
                               QStringLiteral("admin"));
    CargarDatosParqueadero();
    CerrarConexion();

    const auto inicio = std::chrono::steady_clock::now();
    std::vector<pid_t> hijos(procesos);
    for (int p = 0; p < procesos; ++p) {
        hijos[p] = fork();
        if (hijos[p] < 0) {
            std::perror("fork");
            return 1;
        }
        if (hijos[p] == 0) {
            // A station of its own, with its cashier's shift: the parent's handle is not
            // carried across fork().
            Conexion.olvidarHeredada();
            ConfigInicio.PuntoControl = QStringLiteral("CAJA") + QLatin1Char('A' + p);
            AbrirTurno(0);
            _exit(std::min(estacion(static_cast<char>('A' + p), vehiculos), 255));
        }
    }
    int errores = 0;
    for (pid_t hijo : hijos) {
        int estado = 0;
        waitpid(hijo, &estado, 0);
        errores += WIFEXITED(estado) ? WEXITSTATUS(estado) : vehiculos;
    }
    const double segundos =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();

    const int64_t escritas = contar(QStringLiteral("SELECT COUNT(*) AS n FROM Salidas"));
    const int64_t repetidos = contar(QStringLiteral(
        "SELECT COUNT(*) AS n FROM (SELECT ConsecutivoDia FROM Salidas GROUP BY ConsecutivoDia "
        "HAVING COUNT(*) > 1) AS r"));
    const int64_t dentro = contar(QStringLiteral("SELECT COUNT(*) AS n FROM Entradas"));
    std::printf("%s, %d procesos x %d entradas+salidas: %.2f s (%.1f ms por vehiculo y proceso)\n",
                ConfigInicio.Servidor.isEmpty() ? "archivo" : "servidor", procesos, vehiculos,
                segundos, segundos * 1000.0 / vehiculos);
    std::printf("salidas escritas %lld de %d, consecutivos repetidos %lld, errores %d, quedan "
                "dentro %lld\n",
                static_cast<long long>(escritas), procesos * vehiculos,
                static_cast<long long>(repetidos), errores, static_cast<long long>(dentro));
    return escritas == procesos * vehiculos && repetidos == 0 && errores == 0 ? 0 : 1;
}
