// Times the reprint window on years of exits: the search of one month into the list, and the
// general listing file of that month, each beside bare SQLite running the same statements.
// Usage: bench_informes [--anios N] [exits stored per year]

#include "acceso/crearbd.h"
#include "acceso/parqueadero.h"
#include "bd/conexion.h"
#include "bench/comun.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "reportes/ui/frmReimprimirTickets.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDateEdit>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kRepeticiones = 5;
const QDate kHoy(2026, 12, 6);

class DialogosAceptar : public Dialogos {
public:
    Boton mensaje(const QString&, const QString&, Icono, Botones, Boton) override {
        return Boton::Aceptar;
    }
    QString entrada(const QString&, const QString&, const QString& p) override { return p; }
};

class RelojFijo : public Reloj {
public:
    QDateTime ahora() const override { return QDateTime(kHoy, QTime(10, 0)); }
};

class ImpresoraNula : public Impresora {
public:
    bool imprimir(const TrabajoImpresion&) override { return true; }
};

// Exits from 06:00 to 21:50 every day of the years before kHoy, already in the stored date
// form, in one set-based insert. One in ten is a client's, one in twenty has no tax percentage,
// and a few notes must be quoted or kept as text in the listing.
void cargarSalidas(const QString& carpeta, const Historia& historia) {
    CargaDirecta carga(carpeta, "'Salidas'");
    const int64_t cantidad = historia.salidas();
    const int64_t porDia = cantidad / (365 * historia.anios) + 1;
    const std::string sql =
        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < " +
        std::to_string(cantidad) + "), s(i, fs) AS (SELECT i, datetime('" +
        kHoy.addDays(-365 * historia.anios).toString(Qt::ISODate).toStdString() +
        " 06:00:00', '+' || (i / " + std::to_string(porDia) + ") || ' days', '+' || ((i % " +
        std::to_string(porDia) + ") * 57000 / " + std::to_string(porDia) +
        ") || ' seconds') FROM n) "
        "INSERT INTO Salidas (FechaEntrada,FechaSalida,Placa,DescrVeh,Observaciones,id_tarifa,"
        "Tarifa,Tiempo,DescrTarifa,Cobrado,ConsecutivoDia,IVA,NroTicket,NDocumento) "
        "SELECT datetime(fs, '-5400 seconds'), fs, printf('H%06d', i % 90000), 'Sedán', "
        "CASE i % 30 WHEN 3 THEN 'gris; \"puesto\" 4' WHEN 4 THEN '-rayón' ELSE '' END, 1, "
        "1000, 60, CASE WHEN i % 10 = 0 THEN 'CLIENTE' ELSE 'CARRO' END, "
        "CASE WHEN i % 10 = 0 THEN 0 ELSE 2000 END, i % " +
        std::to_string(porDia) +
        " + 1, CASE WHEN i % 20 = 1 THEN NULL ELSE 19 END, i + 1, "
        "printf('FV-%06d', i + 1) FROM s";
    EjecutarDirecto(carga.db, sql.c_str());
    carga.terminar();
}

// The program's median over kRepeticiones clicks, the events they leave (the list's painting)
// included, and bare SQLite's over the statements one click sent.
std::pair<Tiempos, Tiempos> cronometrar(const char* que, QPushButton* boton, Crudo& crudo) {
    const std::vector<std::string> sentencias = grabar([boton] { boton->click(); });
    const Tiempos programa = medir(que, kRepeticiones, [boton](int) { boton->click(); });
    return {programa, crudo.medir(sentencias, kRepeticiones)};
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const Historia historia = leerHistoria(argc, argv);
    QTemporaryDir temporal;
    DialogosAceptar dialogos;
    RelojFijo reloj;
    ImpresoraNula impresora;
    CarpetaUnica carpetas;
    carpetas.carpeta = temporal.path();
    Servicios() = {&dialogos, &reloj, &impresora, &carpetas};
    ConfigInicio.PuntoControl = QStringLiteral("CAJA1");
    SesionActual.NivelAcceso = QStringLiteral("1");

    const auto t0 = Cronometro::now();
    CrearBaseDatos(carpetas.carpeta, QStringLiteral("admin"), QStringLiteral("admin"));
    cargarSalidas(carpetas.carpeta, historia);
    std::printf("carga: %lld salidas en %d años: %.1f s\n",
                static_cast<long long>(historia.salidas()), historia.anios,
                milisegundos(t0) / 1000);

    CargarDatosParqueadero();
    frmReimprimirTickets ventana;
    ventana.show();
    ventana.calFecha->setDate(QDate(kHoy.year(), kHoy.month() - 1, 1));
    ventana.calFechaFin->setDate(QDate(kHoy.year(), kHoy.month(), 1).addDays(-1));
    Crudo crudo(carpetas.carpeta);
    const auto busqueda = cronometrar("busqueda de un mes:", ventana.btnBuscar, crudo);
    const int filas = ventana.ListView1->model()->rowCount();
    const auto listado = cronometrar("listado CSV del mes:", ventana.btnImprimirListado, crudo);
    std::printf("%s\n", qPrintable(ventana.windowTitle()));
    // The file's fingerprint: a faster listing must write the very same bytes.
    QFile archivo(carpetas.carpeta + QStringLiteral("/ListadoCSV.txt"));
    if (!archivo.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = archivo.readAll();
    std::printf("archivo: %lld bytes, sha256 %s\n", static_cast<long long>(bytes.size()),
                QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().constData());
    // Five years of history must not slow a month down: it asks for twice the speed.
    const bool cumpleBusqueda = compararConCrudo("busqueda de un mes", busqueda.first,
                                                 busqueda.second, historia.anios >= 5 ? 150 : 300);
    const bool cumpleListado =
        compararConCrudo("listado CSV del mes", listado.first, listado.second, 1000);
    return filas > 0 && cumpleBusqueda && cumpleListado ? 0 : 1;
}
