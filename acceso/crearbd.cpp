#include "acceso/crearbd.h"

#include "bd/claves.h"
#include "bd/conexion.h"
#include "bd/esquema.h"
#include "bd/funcionesbd.h"
#include "bd/jet.h"
#include "bd/recordset.h"
#include "bd/servidor.h"
#include "bd/sql.h"
#include "principal/archivos.h"
#include "principal/configinicio.h"
#include "principal/cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
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

const char* const kTarifasDemo =
    "INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,MostrarEnEntradas,MostrarEnSalidas) VALUES "
    "(2000,60,'AUTOMOVIL',True,True), (1000,60,'MOTO',True,True), "
    "(3000,60,'CAMIONETA',True,True)";

QString insercionAdministrador(const QString& usuario, const QString& clave,
                               const QString& puntoControl) {
    return QStringLiteral("INSERT INTO Usuarios (usuario,pwd,nombre,ape1,ape2,nivelacceso,"
                          "puntodecontrol) VALUES (%1,%2,'Administrador','','','1',%3)")
        .arg(Texto(usuario), Texto(CifrarClave(clave)), Texto(puntoControl));
}

// The rows a new database starts with.
QStringList filasIniciales(const QString& usuario, const QString& clave,
                           const QString& puntoControl, bool tarifasDemo) {
    QStringList filas{QLatin1String(kAjustes),
                      insercionAdministrador(usuario, clave, puntoControl)};
    if (tarifasDemo)
        filas << QLatin1String(kTarifasDemo);
    return filas;
}

} // namespace

void CrearBaseDatos(const QString& carpeta, const QString& usuario, const QString& clave,
                    const QString& puntoControl, bool tarifasDemo) {
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
        for (const QString& fila : filasIniciales(usuario, clave, puntoControl, tarifasDemo))
            ejecutar(db, fila);
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

namespace {

// Refuses a database that holds any of the tables; otherwise begins the transaction that makes
// them.
void empezarEsquemaServidor(ServidorPg& servidor) {
    QStringList nombres{Texto(QStringLiteral("vialtor_esquema"))};
    for (const QString& t : TablasEsquema())
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
}

void confirmarEnServidor(ServidorPg& servidor) {
    if (!servidor.confirmar())
        throw ErrorBD(QStringLiteral("No se puede crear la base de datos"), servidor.descripcion());
}

// A value read from the file as a literal of the server's SQL.
QString literal(sqlite3_stmt* st, int col) {
    switch (sqlite3_column_type(st, col)) {
    case SQLITE_NULL:
        return QStringLiteral("NULL");
    case SQLITE_INTEGER:
        return QString::number(sqlite3_column_int64(st, col));
    case SQLITE_FLOAT:
        return QString::number(sqlite3_column_double(st, col), 'g', 17);
    default:
        return Texto(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, col)),
                                       sqlite3_column_bytes(st, col)));
    }
}

sqlite3_stmt* preparar(sqlite3* db, const QString& sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
        sqlite3_finalize(st);
        throw ErrorBD::deSentencia(QString::fromUtf8(sqlite3_errmsg(db)), sql, CausaSqlite(db));
    }
    return st;
}

int64_t entero(sqlite3* db, const QString& sql) {
    sqlite3_stmt* st = preparar(db, sql);
    const int64_t n = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : 0;
    sqlite3_finalize(st);
    return n;
}

// Every row of one table, in inserts of a few hundred rows each.
void copiarTabla(sqlite3* db, ServidorPg& servidor, const QString& tabla) {
    constexpr int kPorInsercion = 500;
    sqlite3_stmt* st = preparar(db, QStringLiteral("SELECT * FROM %1").arg(tabla));
    QStringList columnas;
    for (int c = 0; c < sqlite3_column_count(st); ++c)
        columnas << QString::fromUtf8(sqlite3_column_name(st, c));
    const QString inicio =
        QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(tabla, columnas.join(QLatin1Char(',')));
    QStringList filas;
    try {
        // The file's rows replace any a schema step seeded (the tickets' key): tickets printed
        // at the station still read at every booth of the server.
        servidor.ejecutar(QStringLiteral("DELETE FROM %1").arg(tabla));
        for (int rc = sqlite3_step(st);; rc = sqlite3_step(st)) {
            if (rc != SQLITE_ROW && rc != SQLITE_DONE)
                throw ErrorBD(QStringLiteral("Error de base de datos"),
                              QString::fromUtf8(sqlite3_errmsg(db)), CausaSqlite(db));
            if (rc == SQLITE_ROW) {
                QStringList valores;
                for (int c = 0; c < columnas.size(); ++c)
                    valores << literal(st, c);
                filas << QLatin1Char('(') + valores.join(QLatin1Char(',')) + QLatin1Char(')');
            }
            if (!filas.isEmpty() && (rc == SQLITE_DONE || filas.size() == kPorInsercion)) {
                servidor.ejecutar(inicio + filas.join(QLatin1Char(',')));
                filas.clear();
            }
            if (rc == SQLITE_DONE)
                break;
        }
    } catch (...) {
        sqlite3_finalize(st);
        throw;
    }
    sqlite3_finalize(st);
}

// The server's key counter continues where the file's stopped, deleted last rows included.
void continuarClave(sqlite3* db, ServidorPg& servidor, const QString& tabla) {
    const QString clave = ClaveDeTabla(tabla);
    const int64_t ultima = qMax(
        entero(db, QStringLiteral("SELECT MAX(%1) FROM %2").arg(clave, tabla)),
        entero(
            db,
            QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = %1").arg(Texto(tabla))));
    if (ultima > 0)
        servidor.ejecutar(QStringLiteral("SELECT setval(pg_get_serial_sequence(%1, %2), %3)")
                              .arg(Texto(tabla.toLower()), Texto(clave.toLower()))
                              .arg(ultima));
}

} // namespace

void CrearBaseDatosServidor(const QString& conexion, const QString& usuario, const QString& clave,
                            const QString& puntoControl, bool tarifasDemo) {
    ServidorPg servidor(conexion, ConexionBD::EsperaPredeterminadaMs);
    empezarEsquemaServidor(servidor);
    QStringList nada;
    QVector<Valor> celdas;
    for (const QString& jet : filasIniciales(usuario, clave, puntoControl, tarifasDemo))
        servidor.consultar(TraducirJet(jet, DestinoSql::Postgres), jet, nada, celdas);
    confirmarEnServidor(servidor);
}

QVector<FilasCopiadas> CopiarAlServidor(const QString& archivo, const QString& conexion) {
    if (!QFileInfo(archivo).isFile())
        throw ErrorBD(QStringLiteral("No se encuentra la base de datos"), archivo,
                      CausaBD::NoExiste);
    sqlite3* db = abrirArchivo(archivo, SQLITE_OPEN_READONLY);
    QVector<FilasCopiadas> cuentas;
    try {
        if (entero(db, QStringLiteral("PRAGMA user_version")) != VersionEsquema())
            throw ErrorBD(QStringLiteral("La base de datos no es de esta versión del programa"),
                          archivo);
        ServidorPg servidor(conexion, ConexionBD::EsperaPredeterminadaMs);
        empezarEsquemaServidor(servidor);
        for (const QString& tabla : TablasEsquema()) {
            copiarTabla(db, servidor, tabla);
            continuarClave(db, servidor, tabla);
            cuentas.append({tabla, entero(db, QStringLiteral("SELECT COUNT(*) FROM %1").arg(tabla)),
                            servidor.crudas(QStringLiteral("SELECT count(*) FROM %1").arg(tabla))
                                .value(0)
                                .toLongLong()});
        }
        confirmarEnServidor(servidor);
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    sqlite3_close_v2(db);
    return cuentas;
}

namespace {

// vialtor.cfg's reader ends a field at ';' and the whole line at ',' or a line break, and reads
// a leading '"' as a quote: a value holding any of them would be read back as another.
bool cabeEnConfiguracion(const QString& valor) {
    for (const char c : {';', ',', '"', '\r', '\n'})
        if (valor.contains(QLatin1Char(c)))
            return false;
    return true;
}

constexpr int kLargoPuntoControl = 30;

// The control point is part of file names (the event log's, the backups'): nothing a name
// cannot hold on Linux or Windows, nor a step out of the folder.
bool cabeEnNombreArchivo(const QString& valor) {
    const QString prohibidos = QStringLiteral("\\/:*?<>|");
    const auto prohibido = [&prohibidos](QChar c) {
        return prohibidos.contains(c) || c.category() == QChar::Other_Control;
    };
    const auto enBorde = [](QChar c) { return c.isSpace() || c == QLatin1Char('.'); };
    return std::none_of(valor.begin(), valor.end(), prohibido) &&
           !valor.contains(QLatin1String("..")) && !enBorde(valor.front()) &&
           !enBorde(valor.back());
}

} // namespace

ReparoEstacion RevisarEstacionNueva(const EstacionNueva& e) {
    const QString sinSeparadores = QStringLiteral(" no puede llevar ; , \" ni saltos de línea");
    if (e.servidor.isEmpty() && e.carpetaDatos.isEmpty())
        return {ReparoEstacion::CarpetaDatos, QStringLiteral("Digite la carpeta de datos")};
    if (!cabeEnConfiguracion(e.carpetaDatos))
        return {ReparoEstacion::CarpetaDatos,
                QStringLiteral("La carpeta de datos") + sinSeparadores};
    if (e.puntoControl.isEmpty())
        return {ReparoEstacion::PuntoControl, QStringLiteral("Digite el punto de control")};
    if (!cabeEnConfiguracion(e.puntoControl))
        return {ReparoEstacion::PuntoControl,
                QStringLiteral("El punto de control") + sinSeparadores};
    if (e.puntoControl.size() > kLargoPuntoControl)
        return {ReparoEstacion::PuntoControl,
                QStringLiteral("El punto de control no puede tener más de %1 caracteres")
                    .arg(kLargoPuntoControl)};
    if (!cabeEnNombreArchivo(e.puntoControl))
        return {ReparoEstacion::PuntoControl,
                QStringLiteral("El punto de control forma parte de nombres de archivo: no puede "
                               "llevar \\ / : * ? < > |, \"..\" ni caracteres de control, ni "
                               "empezar o terminar con un espacio o un punto")};
    if (e.usuario.isEmpty())
        return {ReparoEstacion::Usuario, QStringLiteral("Digite el usuario")};
    if (e.clave.isEmpty())
        return {ReparoEstacion::Clave, QStringLiteral("Digite la contraseña")};
    return {};
}

bool EscribirConfiguracionEstacion(const EstacionNueva& e) {
    const bool conServidor = !e.servidor.isEmpty();
    const QString datos =
        e.carpetaDatos.isEmpty() ? QString() : QDir(e.carpetaDatos).absolutePath();
    const QString linea =
        LineaConfigNueva(datos, e.puntoControl, conServidor) + QLatin1String("\r\n");
    // With a server the data folder holds only the event log and the backups, yet the first
    // start's log line must find it.
    return QDir().mkpath(e.carpetaEstacion) && (datos.isEmpty() || QDir().mkpath(datos)) &&
           EscribirArchivo(e.carpetaEstacion + QLatin1String("/vialtor.cfg"), ACp1252(linea)) &&
           (!conServidor ||
            EscribirArchivoPrivado(e.carpetaEstacion + QLatin1String("/vialtor_servidor.cfg"),
                                   e.servidor.toUtf8() + '\n'));
}

void CrearEstacion(const EstacionNueva& e) {
    if (const ReparoEstacion reparo = RevisarEstacionNueva(e);
        reparo.campo != ReparoEstacion::Ninguno)
        throw ErrorBD(reparo.texto);
    const bool conServidor = !e.servidor.isEmpty();
    if (conServidor)
        CrearBaseDatosServidor(e.servidor, e.usuario, e.clave, e.puntoControl, e.tarifasDemo);
    else
        CrearBaseDatos(e.carpetaDatos, e.usuario, e.clave, e.puntoControl, e.tarifasDemo);
    if (e.carpetaEstacion.isEmpty() || EscribirConfiguracionEstacion(e))
        return;
    // The file was made a moment ago by this call; a server database may already be in use.
    if (!conServidor)
        QFile::remove(e.carpetaDatos + QLatin1String("/vialtor.mdb"));
    throw ErrorBD(QStringLiteral("No se pudo escribir la configuración de la estación"),
                  e.carpetaEstacion);
}
