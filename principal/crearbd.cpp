#include "principal/crearbd.h"

#include "principal/conexion.h"
#include "principal/esquema.h"
#include "principal/funcionesbd.h"
#include "principal/jet.h"
#include "principal/recordset.h"
#include "principal/servidor.h"
#include "principal/sql.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace {

// Runs Jet-dialect statements on a database opened outside the shared connection.
void ejecutar(sqlite3* db, const QString& jet) {
    EjecutarDirecto(db, TraducirJet(jet).toUtf8().constData());
}

sqlite3* abrirArchivo(const QString& ruta, int banderas) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(ruta.toUtf8().constData(), &db, banderas, nullptr) != SQLITE_OK) {
        const QString detalle = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close_v2(db);
        throw ErrorBD(QStringLiteral("No se puede crear la base de datos %1").arg(ruta), detalle);
    }
    RegistrarFuncionesJet(db);
    return db;
}

const char* const kAjustes =
    "INSERT INTO DatosParqueadero (NombreParqueadero, Identificacion, Direccion, Cupo, "
    "SimboloMoneda, NombreDocumento, NombreDocumentoEntrada, CabeceraEntrada, CabeceraSalida, "
    "PieEntrada, PieSalida, ConsecutivoDiaImprimir, IVA, BaseTexto, ValorIVATexto, "
    "ValorCobradoTexto, CajeroTexto, CajeroImprimir, FechaAdicionalImprimir, "
    "CabeceraResumenVentas, PieResumenVentas, CabeceraEfectuarCierre, PieEfectuarCierre, "
    "ModificarPlacaSalida, ModificarTarifaSalida, ModificarValorSalida) VALUES ("
    "'PARQUEADERO VIALTOR', 'NIT 900.000.000-0', 'Calle 10 # 20-30', 50, '$', "
    "'Factura de venta', 'Ticket de entrada', 'Conserve este ticket', '', "
    "'Horario: 6:00 am a 10:00 pm', 'Gracias por su visita', True, 19, 'Base: ', 'IVA ', "
    "'Total: ', 'Cajero:', True, False, 'RESUMEN DE VENTAS', '', 'CIERRE DE CAJA', '', "
    "True, True, True)";

QString insercionAdministrador(const QString& usuario, const QString& clave,
                               const QString& puntoControl) {
    return QStringLiteral("INSERT INTO Usuarios (usuario,pwd,nombre,ape1,ape2,nivelacceso,"
                          "puntodecontrol) VALUES (%1,%2,'Administrador','','','1',%3)")
        .arg(Texto(usuario), Texto(clave), Texto(puntoControl));
}

} // namespace

void CrearBaseDatos(const QString& carpeta, const QString& usuario, const QString& clave,
                    const QString& puntoControl) {
    const QString ruta = carpeta + QLatin1String("/vialtor.mdb");
    if (QFileInfo::exists(ruta))
        throw ErrorBD(QStringLiteral("Ya existe una base de datos; no se sobrescribe"), ruta);
    QDir().mkpath(carpeta);
    const QString provisional = ruta + QLatin1String(".nueva");
    QFile::remove(provisional);
    sqlite3* db = abrirArchivo(provisional, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    try {
        EjecutarDirecto(db, "PRAGMA journal_mode=DELETE");
        ActualizarEsquema(db);
        ejecutar(db, QLatin1String(kAjustes));
        ejecutar(db, insercionAdministrador(usuario, clave, puntoControl));
    } catch (...) {
        sqlite3_close_v2(db);
        QFile::remove(provisional);
        throw;
    }
    sqlite3_close_v2(db);
    if (!QFile::rename(provisional, ruta)) {
        QFile::remove(provisional);
        throw ErrorBD(QStringLiteral("No se puede crear la base de datos"), ruta);
    }
}

void AgregarTarifasDemo(const QString& carpeta) {
    sqlite3* db = abrirArchivo(carpeta + QLatin1String("/vialtor.mdb"), SQLITE_OPEN_READWRITE);
    try {
        ejecutar(db, QStringLiteral("INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,"
                                    "MostrarEnEntradas,MostrarEnSalidas) VALUES "
                                    "(2000,60,'AUTOMOVIL',True,True), (1000,60,'MOTO',True,True), "
                                    "(3000,60,'CAMIONETA',True,True)"));
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    sqlite3_close_v2(db);
}

void CrearBaseDatosServidor(const QString& conexion, const QString& usuario, const QString& clave,
                            const QString& puntoControl) {
    ServidorPg servidor(conexion, ConexionBD::EsperaPredeterminadaMs);
    const QStringList tablas = TablasEsquema() << QStringLiteral("vialtor_esquema");
    QStringList nombres;
    for (const QString& t : tablas)
        nombres << Texto(t.toLower());
    const QString hay =
        servidor
            .crudas(QStringLiteral("SELECT count(*) FROM pg_class WHERE relnamespace = "
                                   "current_schema()::regnamespace AND relname IN (%1)")
                        .arg(nombres.join(QLatin1Char(','))))
            .value(0);
    if (hay != QLatin1String("0"))
        throw ErrorBD(QStringLiteral("Ya existe una base de datos; no se sobrescribe"),
                      servidor.descripcion());
    servidor.ejecutar(QStringLiteral("BEGIN"));
    CrearEsquemaServidor(servidor);
    QStringList nada;
    QVector<Valor> celdas;
    for (const QString& jet :
         {QString::fromLatin1(kAjustes), insercionAdministrador(usuario, clave, puntoControl)})
        servidor.consultar(TraducirJet(jet, DestinoSql::Postgres), jet, nada, celdas);
    if (!servidor.confirmar())
        throw ErrorBD(QStringLiteral("No se puede crear la base de datos"), servidor.descripcion());
}
