#include "principal/conexion.h"

#include "principal/esquema.h"
#include "principal/funcionesbd.h"
#include "principal/registros.h"
#include "principal/servicios.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

ConexionBD Conexion;

namespace {

// The file behind a path: a database put in place of another under the same name (a restored
// copy, say) is opened anew, never written through the old handle. Empty when there is none.
QString identidadArchivo(const QString& ruta) {
    if (!QFileInfo(ruta).isFile())
        return QString();
#ifdef Q_OS_UNIX
    struct stat datos;
    if (::stat(QFile::encodeName(ruta).constData(), &datos) == 0)
        return ruta + QStringLiteral("|%1:%2").arg(datos.st_dev).arg(datos.st_ino);
#endif
    return ruta;
}

// Another station writing makes us wait this long before giving up.
constexpr int kEsperaOcupadaMs = 15000;
} // namespace

ErrorBD::ErrorBD(const QString& mensaje, const QString& detalle)
    : std::runtime_error((mensaje + QLatin1String(": ") + detalle).toStdString()), mensaje(mensaje),
      detalle(detalle) {}

QString ErrorBD::textoCompleto() const {
    return detalle.isEmpty() ? mensaje : mensaje + QLatin1Char('\n') + detalle;
}

ConexionBD::~ConexionBD() {
    if (db_)
        sqlite3_close_v2(db_);
}

QString ConexionBD::rutaBaseDatos() const {
    QString carpeta = ConfigInicio.CarpetaDatos;
    if (carpeta.isEmpty())
        carpeta = Servicios().carpetas ? Servicios().carpetas->carpetaPrograma()
                                       : QCoreApplication::applicationDirPath();
    return carpeta + QLatin1String("/vialtor.mdb");
}

sqlite3* ConexionBD::manejador() {
    if (!abierta_)
        throw ErrorBD(QStringLiteral("La conexión con la base de datos no está abierta"));
    return db_;
}

void ConexionBD::liberar() {
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
    identidadDb_.clear();
    abierta_ = false;
}

void ConexionBD::abrir() {
    if (abierta_) {
        // Opening again after a close that waited for a transaction: the close no longer holds.
        cierrePendiente_ = false;
        return;
    }
    const QString ruta = rutaBaseDatos();
    // Never let SQLite make a new empty file where the data should be.
    const QString identidad = identidadArchivo(ruta);
    if (identidad.isEmpty()) {
        liberar();
        throw ErrorBD(QStringLiteral("No se encuentra la base de datos"), ruta);
    }
    if (db_ && identidad == identidadDb_) {
        abierta_ = true;
        return;
    }
    liberar();
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(ruta.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        const QString detalle = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close_v2(db);
        throw ErrorBD(QStringLiteral("No se puede abrir la base de datos %1").arg(ruta), detalle);
    }
    sqlite3_busy_timeout(db, kEsperaOcupadaMs);
    RegistrarFuncionesJet(db);
    try {
        EjecutarDirecto(db, "PRAGMA journal_mode=DELETE");
        ActualizarEsquema(db);
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    db_ = db;
    identidadDb_ = identidad;
    abierta_ = true;
}

void ConexionBD::cerrar() {
    if (profundidadTransaccion_ > 0) {
        cierrePendiente_ = true;
        return;
    }
    cierrePendiente_ = false;
    abierta_ = false;
}

void ConexionBD::contarSentencia() {
    if (sentenciasHastaFallo_ <= 0)
        return;
    if (--sentenciasHastaFallo_ == 0)
        throw ErrorBD(QStringLiteral("Error de base de datos"), QStringLiteral("fallo simulado"));
}

void AbrirConexion() {
    Conexion.abrir();
}

void CerrarConexion() {
    Conexion.cerrar();
}

void EjecutarDirecto(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const QString detalle = QString::fromUtf8(error ? error : sqlite3_errmsg(db));
        sqlite3_free(error);
        throw ErrorBD(QStringLiteral("Error de base de datos"), detalle);
    }
}

Transaccion::Transaccion() {
    AbrirConexion();
    if (Conexion.profundidadTransaccion_ == 0)
        EjecutarDirecto(Conexion.manejador(), "BEGIN IMMEDIATE");
    ++Conexion.profundidadTransaccion_;
}

Transaccion::~Transaccion() {
    --Conexion.profundidadTransaccion_;
    if (Conexion.profundidadTransaccion_ > 0) {
        // An inner guard that ends unconfirmed dooms the whole transaction.
        if (!confirmada_)
            Conexion.transaccionFallida_ = true;
        return;
    }
    if (!confirmada_)
        sqlite3_exec(Conexion.db_, "ROLLBACK", nullptr, nullptr, nullptr);
    Conexion.transaccionFallida_ = false;
    if (Conexion.cierrePendiente_)
        Conexion.cerrar();
}

void Transaccion::confirmar() {
    if (Conexion.profundidadTransaccion_ == 1) {
        if (Conexion.transaccionFallida_)
            throw ErrorBD(QStringLiteral("Error de base de datos"),
                          QStringLiteral("una parte de la transacción falló"));
        EjecutarDirecto(Conexion.manejador(), "COMMIT");
    }
    confirmada_ = true;
}
