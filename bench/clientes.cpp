// Times the clients window and a client's entry on 10 000 clients with 12 periods of 3 payments
// each: the search by a part of a name, picking a client with its periods and payments, and the
// entry of a client's plate through the entries/exits window. Usage: bench_clientes

#include "acceso/crearbd.h"
#include "acceso/parqueadero.h"
#include "bd/conexion.h"
#include "bd/funcionesbd.h"
#include "bd/recordset.h"
#include "bench/comun.h"
#include "bench/estacion.h"
#include "clientes/ui/frmClientes.h"
#include "clientes/ui/panelpagos.h"
#include "movimientos/ui/frmGestionEntradasSalidas.h"
#include "principal/registros.h"
#include "principal/servicios.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
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

constexpr int kClientes = 10000;
constexpr int kMuestras = 50;
constexpr int kEntradas = 200;

// Set-based inserts in one transaction, with the dates already as stored: the triggers that
// normalise them are dropped during the load and put back. Odd clients owe their last period.
void cargar(const QString& carpeta) {
    CargaDirecta carga(carpeta, "'Clientes','FechaPago','Pagos'");
    sqlite3* db = carga.db;
    EjecutarDirecto(db, "UPDATE DatosParqueadero SET Cupo = 30000");
    EjecutarDirecto(db, "INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,MostrarEnEntradas,"
                        "MostrarEnSalidas) VALUES (2000,60,'AUTOMOVIL',-1,-1)");
    const QByteArray clientes =
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "INSERT INTO Clientes (id_cliente,Nombre,Ape1,Ape2,Placa,Activo,Identificacion,Notas) "
            "SELECT i, 'Nombre' || i, 'Apellido' || (i % 997), 'Segundo' || (i % 89), "
            "printf('C%05d', i), -(i % 2), printf('%09d', i), 'Cliente mensual' FROM n")
            .arg(kClientes)
            .toUtf8();
    EjecutarDirecto(db, clientes.constData());
    EjecutarDirecto(db, "WITH RECURSIVE m(k) AS (SELECT 0 UNION ALL SELECT k + 1 FROM m WHERE k "
                        "< 11) INSERT INTO FechaPago (id_cliente,FechaInicio,FechaFin,"
                        "CantidadTotal,Pagado,NRecibo) SELECT id_cliente, datetime('2026-01-01', "
                        "'+' || k || ' months'), datetime('2026-01-01', '+' || (k + 1) || "
                        "' months', '-1 day'), 90000, CASE WHEN k = 11 AND Activo THEN 0 ELSE -1 "
                        "END, CAST(k AS TEXT) FROM Clientes, m");
    EjecutarDirecto(db, "WITH RECURSIVE p(j) AS (SELECT 0 UNION ALL SELECT j + 1 FROM p WHERE j "
                        "< 2) INSERT INTO Pagos (id_fecha_pago,FechaPago,CantidadPago) SELECT "
                        "id_fecha_pago, datetime(FechaInicio, '+' || (j * 7) || ' days'), CASE "
                        "WHEN Pagado THEN 30000 ELSE 20000 END FROM FechaPago, p");
    carga.terminar();
}

// Each action is timed beside bare SQLite running the statements one run of it sent.
void medirClientes(Crudo& crudo) {
    frmClientes ventana;
    ventana.resize(1000, 640);
    ventana.show();
    QApplication::processEvents();
    const auto listar = [&](int) { QTest::mouseClick(ventana.btnListadoCompleto, Qt::LeftButton); };
    const auto delListado = grabar([&] { listar(0); });
    compararConCrudo("listado completo", medir("listado completo (10 000 clientes):", 5, listar),
                     crudo.medir(delListado, 5));
    QAbstractItemModel* modelo = ventana.ListView1->model();
    // The list is handed over in batches as the view scrolls; the picks below reach any row.
    while (modelo->canFetchMore(QModelIndex()))
        modelo->fetchMore(QModelIndex());
    const auto elegir = [&](int i) {
        const QModelIndex fila = modelo->index(i * (kClientes / kMuestras), 2);
        ventana.ListView1->scrollTo(fila);
        ventana.ListView1ItemClicked(fila);
    };
    const auto delCliente = grabar([&] { elegir(0); });
    compararConCrudo("elegir un cliente",
                     medir("elegir un cliente, sus periodos y pagos:", kMuestras, elegir),
                     crudo.medir(delCliente, kMuestras));
    std::printf("  (%d periodos y %d pagos en la lista)\n",
                ventana.pagos->ListView2->model()->rowCount(),
                ventana.pagos->ListView3->model()->rowCount());
    const auto buscar = [&](int i) {
        ventana.txtNombre->setText(QStringLiteral("bre%1").arg(10 + i));
        QTest::mouseClick(ventana.btnBuscarCliente, Qt::LeftButton);
    };
    const auto deLaBusqueda = grabar([&] { buscar(0); });
    int encontrados = 0;
    const Tiempos busqueda = medir("buscar por parte del nombre:", kMuestras, [&](int i) {
        buscar(i);
        encontrados += modelo->rowCount();
    });
    std::printf("  (%.1f clientes por busqueda)\n", static_cast<double>(encontrados) / kMuestras);
    compararConCrudo("buscar por parte del nombre", busqueda, crudo.medir(deLaBusqueda, kMuestras));
}

// The first entry is the one recorded for bare SQLite; the others are timed.
int medirEntradas(DialogosGuion& dialogos, RelojFijo& reloj, Crudo& crudo) {
    frmGestionEntradasSalidas ventana;
    ventana.Timer1->stop();
    ventana.show();
    QApplication::processEvents();
    const auto entrar = [&](int i) {
        reloj.avanzar(7);
        ventana.Timer1Timer();
        dialogos.cajas.clear();
        ventana.txtPlaca->setText(QStringLiteral("C%1").arg(1 + i * 37, 5, 10, QLatin1Char('0')));
        QTest::mouseClick(ventana.btnEntrada, Qt::LeftButton);
    };
    const auto deLaEntrada = grabar([&] { entrar(0); });
    compararConCrudo(
        "entrada de un cliente",
        medir("entrada de la placa de un cliente:", kEntradas - 1, [&](int i) { entrar(i + 1); }),
        crudo.medir(deLaEntrada, kEntradas - 1));
    const int64_t clientes =
        contar(QStringLiteral("SELECT COUNT(*) AS n FROM Entradas WHERE DescrTarifa='CLIENTE'"));
    if (clientes != kEntradas) {
        std::fprintf(stderr, "se esperaban %d entradas de clientes y hay %lld\n", kEntradas,
                     static_cast<long long>(clientes));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    EstacionBench estacion;
    SesionActual.Usuario = QStringLiteral("admin");
    SesionActual.NivelAcceso = QStringLiteral("1");

    const auto t0 = Cronometro::now();
    CrearBaseDatos(estacion.carpeta(), QStringLiteral("admin"), QStringLiteral("admin"));
    cargar(estacion.carpeta());
    std::printf(
        "carga: %lld clientes, %lld periodos, %lld pagos en %.1f s\n",
        static_cast<long long>(contar(QStringLiteral("SELECT COUNT(*) AS n FROM Clientes"))),
        static_cast<long long>(contar(QStringLiteral("SELECT COUNT(*) AS n FROM FechaPago"))),
        static_cast<long long>(contar(QStringLiteral("SELECT COUNT(*) AS n FROM Pagos"))),
        milisegundos(t0) / 1000);
    CargarDatosParqueadero();
    Crudo crudo(estacion.carpeta());
    medirClientes(crudo);
    return medirEntradas(estacion.dialogos, estacion.reloj, crudo);
}
