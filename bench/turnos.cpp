// A shift's close with 2 000 exits and 200 exceptions, and the verification of an audit trail
// of 1 000 000 rows (time, and the process's peak memory before and after: the rows stream).
// bench_turnos [ROWS]

#include "turnos/turnos.h"
#include "acceso/crearbd.h"
#include "acceso/parqueadero.h"
#include "bd/sql.h"
#include "bench/comun.h"
#include "bench/estacion.h"
#include "principal/configinicio.h"
#include "principal/formatos.h"
#include "principal/registros.h"
#include "turnos/rastroauditoria.h"

#include <QTemporaryDir>
#include <sys/resource.h>

namespace {

long memoriaMaximaKb() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss;
}

// 2 000 exits, one in ten with an exception, tied to the open shift.
void llenarTurno() {
    Transaccion transaccion;
    const QString* const tipos[] = {&tipo_turno::Correccion, &tipo_turno::Rebajado,
                                    &tipo_turno::Reimpresion, &tipo_turno::NoImpreso};
    for (int i = 1; i <= 2000; ++i) {
        QVector<MovimientoTurno> m{
            {tipo_turno::Salida, i, QString::number(i), QStringLiteral("P%1").arg(i), 2000}};
        if (i % 10 == 0)
            m.append({*tipos[(i / 10) % 4], i, QString::number(i), QStringLiteral("P%1").arg(i),
                      500, QStringLiteral("$2.000"), QStringLiteral("$1.500")});
        AnotarEnTurno(m, QStringLiteral("Salida"));
    }
    transaccion.confirmar();
}

// The trail grown to `filas` rows, chained as the program chains them, in one transaction.
void llenarAuditoria(int64_t filas) {
    AbrirConexion();
    sqlite3* db = Conexion.manejador();
    EjecutarDirecto(db, "BEGIN");
    EjecutarDirecto(db, "DELETE FROM Auditoria");
    EjecutarDirecto(db, "DELETE FROM AuditoriaCabeza");
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO Auditoria (Orden,Fecha,Estacion,Usuario,Accion,Detalle,"
                       "HashAnterior,Hash) VALUES (?,?,'CAJA1','admin','Salida',?,?,?)",
                       -1, &st, nullptr);
    FilaAuditoria f{
        0, QDateTime(QDate(2026, 1, 1), QTime(6, 0)), "CAJA1", "admin", "Salida", {}, {}, {}};
    for (int64_t n = 1; n <= filas; ++n) {
        f.orden = n;
        f.fecha = f.fecha.addSecs(n % 3 == 0 ? 31 : 0);
        f.detalle = QStringLiteral("Turno 1; Salida %1 ABC%2 2000").arg(n).arg(n % 1000);
        f.hashAnterior = f.hash;
        f.hash = HashAuditoria(f);
        const QByteArray fecha = f.fecha.toString("yyyy-MM-dd HH:mm:ss").toUtf8(),
                         detalle = f.detalle.toUtf8(), anterior = f.hashAnterior.toUtf8(),
                         hash = f.hash.toUtf8();
        sqlite3_bind_int64(st, 1, n);
        sqlite3_bind_text(st, 2, fecha.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, detalle.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 4, anterior.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 5, hash.constData(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(st) != SQLITE_DONE)
            std::abort();
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    EjecutarDirecto(db, qPrintable(QStringLiteral("INSERT INTO AuditoriaCabeza (Orden,Hash) "
                                                  "VALUES (%1,'%2')")
                                       .arg(filas)
                                       .arg(f.hash)));
    EjecutarDirecto(db, "COMMIT");
    CerrarConexion();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int64_t filas = argc > 1 ? std::atoll(argv[1]) : 1000000;
    EstacionBench estacion;
    SesionActual.Usuario = QStringLiteral("admin");
    SesionActual.IdUsuario = 1;
    CrearBaseDatos(estacion.carpeta(), QStringLiteral("admin"), QStringLiteral("admin"));
    CargarDatosParqueadero();

    // The first close's statements, and the verification's, are run bare afterwards.
    std::vector<double> cierres, cpu;
    std::vector<std::string> delCierre;
    for (int vez = 0; vez < 5; ++vez) {
        AbrirTurno(100000);
        llenarTurno();
        Cambio<CierreTurno> cierre;
        const auto cerrar = [&] { cierre = CerrarTurno(4500000); };
        const double inicioCpu = milisegundosCpu();
        const auto inicio = Cronometro::now();
        if (vez == 0)
            delCierre = grabar(cerrar);
        else
            cerrar();
        const QStringList lineas = LineasCierre(cierre.valor);
        cierres.push_back(milisegundos(inicio));
        cpu.push_back(milisegundosCpu() - inicioCpu);
        if (cierre.valor.salidas != 2000 || lineas.size() < 200)
            return 1;
    }
    std::printf("cierre de turno (2000 salidas, 200 excepciones): p50 %.1f ms  max %.1f ms "
                "(meta 200 ms)\n",
                percentil(cierres, 0.5), percentil(cierres, 1.0));
    Crudo crudo(estacion.carpeta());
    compararConCrudo("cierre de turno", {percentil(cierres, 0.5), percentil(cpu, 0.5)},
                     crudo.medir(delCierre, 5));

    const auto carga = Cronometro::now();
    llenarAuditoria(filas);
    std::printf("auditoría: %lld filas cargadas en %.1f s\n", static_cast<long long>(filas),
                milisegundos(carga) / 1000);
    const long antes = memoriaMaximaKb();
    VerificacionAuditoria v;
    const double inicioCpu = milisegundosCpu();
    const auto inicio = Cronometro::now();
    const std::vector<std::string> deLaVerificacion = grabar([&v] {
        AbrirConexion();
        v = VerificarAuditoria();
        CerrarConexion();
    });
    const Tiempos verificacion{milisegundos(inicio), milisegundosCpu() - inicioCpu};
    std::printf("verificación: %s en %.2f s (meta 5 s); memoria máxima %ld KB antes, %ld KB "
                "después\n",
                qPrintable(v.mensaje()), verificacion.pared / 1000, antes, memoriaMaximaKb());
    compararConCrudo("verificación de la auditoría", verificacion,
                     crudo.medir(deLaVerificacion, 1));
    return v.integra() && v.filas == filas ? 0 : 1;
}
