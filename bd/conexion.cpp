#include "bd/conexion.h"

#include "bd/esquema.h"
#include "bd/funcionesbd.h"
#include "bd/servidor.h"
#include "bd/sql.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <iterator>
#include <sqlite3.h>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

thread_local ConexionBD Conexion;

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

// Per thread: only the thread that set it (the windows') hears its waits.
thread_local std::function<void(bool)> avisoEspera;

// Asked at every open rather than kept: a test or the first start changes it between opens.
std::function<UbicacionDatos()>& preguntaUbicacion() {
    static std::function<UbicacionDatos()> pregunta;
    return pregunta;
}

UbicacionDatos ubicacionDatos() {
    const auto& pregunta = preguntaUbicacion();
    UbicacionDatos ubicacion = pregunta ? pregunta() : UbicacionDatos{};
    if (ubicacion.carpeta.isEmpty())
        ubicacion.carpeta = QCoreApplication::applicationDirPath();
    return ubicacion;
}

} // namespace

ConexionBD::~ConexionBD() {
    if (db_)
        sqlite3_close_v2(db_);
}

std::optional<std::pair<int64_t, int64_t>> ConexionBD::sello() {
    if (esServidor())
        return std::nullopt;
    sqlite3_stmt* st = nullptr;
    int64_t version = -1;
    if (sqlite3_prepare_v2(manejador(), "PRAGMA data_version", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        version = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    if (version < 0)
        return std::nullopt;
    return std::make_pair(aperturas_, version);
}

bool ConexionBD::esServidor() const {
    return !ubicacionDatos().servidor.isEmpty();
}

ServidorPg& ConexionBD::servidor() {
    if (!abierta_ || !pg_)
        throw ErrorBD(QStringLiteral("La conexión con la base de datos no está abierta"));
    return *pg_;
}

void ConexionBD::fijarEsperaMaxima(int ms) {
    esperaMaximaMs_ = ms;
    if (pg_)
        pg_->fijarEsperaMaxima(ms);
}

QString ConexionBD::rutaBaseDatos() const {
    return ubicacionDatos().carpeta + QLatin1String("/vialtor.mdb");
}

QString ConexionBD::ubicacion() const {
    return esServidor() ? DescripcionServidor(ubicacionDatos().servidor) : rutaBaseDatos();
}

sqlite3* ConexionBD::manejador() {
    if (!abierta_ || !db_)
        throw ErrorBD(QStringLiteral("La conexión con la base de datos no está abierta"));
    return db_;
}

void ConexionBD::liberar() {
    if (db_)
        sqlite3_close_v2(db_);
    pg_.reset();
    olvidarHeredada();
}

void ConexionBD::olvidarHeredada() {
    if (pg_)
        pg_->olvidar();
    pg_.reset();
    db_ = nullptr;
    identidadDb_.clear();
    abierta_ = false;
    profundidadTransaccion_ = 0;
    cierrePendiente_ = false;
    transaccionFallida_ = false;
    esperando_ = false;
}

void ConexionBD::descartar() {
    if (profundidadTransaccion_ > 0)
        return cerrar();
    avisarEspera(false);
    liberar();
}

void ConexionBD::abrir() {
    if (abierta_) {
        // Opening again after a close that waited for a transaction: the close no longer holds.
        cierrePendiente_ = false;
        return;
    }
    if (esServidor())
        return abrirServidor();
    const QString ruta = rutaBaseDatos();
    // Never let SQLite make a new empty file where the data should be.
    const QString identidad = identidadArchivo(ruta);
    if (identidad.isEmpty()) {
        liberar();
        throw ErrorBD(QStringLiteral("No se encuentra la base de datos"), ruta, CausaBD::NoExiste);
    }
    if (db_ && identidad == identidadDb_) {
        abierta_ = true;
        return;
    }
    liberar();
    sqlite3* db = nullptr;
    // One thread uses the connection, so SQLite's own locking of every call is not needed.
    if (sqlite3_open_v2(ruta.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        const ErrorBD error(QStringLiteral("No se puede abrir la base de datos %1").arg(ruta),
                            QString::fromUtf8(sqlite3_errmsg(db)), CausaSqlite(db));
        sqlite3_close_v2(db);
        throw error;
    }
    ++aperturas_;
    sqlite3_busy_handler(db, &ConexionBD::alEstarOcupada, this);
    RegistrarFuncionesJet(db);
    try {
        EjecutarDirecto(db, "PRAGMA journal_mode=DELETE");
        // 64 MB of pages kept between statements: a year's summary reads its index again and
        // again, and the handle outlives the windows' closes.
        EjecutarDirecto(db, "PRAGMA cache_size=-65536");
        ActualizarEsquema(db);
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    db_ = db;
    identidadDb_ = identidad;
    abierta_ = true;
}

// The server connection outlives a close, as the file's handle does; one that went away, or
// another server named meanwhile, is made anew.
void ConexionBD::abrirServidor() {
    // A server restarted meanwhile ended the connection: it is made anew, not found dead by
    // the first statement.
    const QString conexion = ubicacionDatos().servidor;
    if (pg_ && pg_->comprobar() && pg_->conexion() == conexion) {
        abierta_ = true;
        return;
    }
    liberar();
    auto servidor = std::make_unique<ServidorPg>(conexion, esperaMaximaMs_);
    ComprobarEsquemaServidor(*servidor);
    pg_ = std::move(servidor);
    abierta_ = true;
}

void ConexionBD::cerrar() {
    if (profundidadTransaccion_ > 0) {
        cierrePendiente_ = true;
        return;
    }
    avisarEspera(false);
    cierrePendiente_ = false;
    abierta_ = false;
}

// SQLite's own busy timeout, plus telling the windows when a wait begins and ends.
int ConexionBD::alEstarOcupada(void* conexion, int intentos) {
    static constexpr int pasosMs[] = {1, 2, 5, 10, 15, 20, 25, 25, 25, 50, 50, 100};
    auto* c = static_cast<ConexionBD*>(conexion);
    if (intentos == 0) {
        c->inicioEspera_.start();
        c->avisarEspera(true);
    }
    const qint64 restante = c->esperaMaximaMs_ - c->inicioEspera_.elapsed();
    if (restante <= 0) {
        c->avisarEspera(false);
        return 0;
    }
    const int paso = pasosMs[qMin<int>(intentos, std::size(pasosMs) - 1)];
    sqlite3_sleep(static_cast<int>(qMin<qint64>(paso, restante)));
    return 1;
}

void ConexionBD::avisarEspera(bool esperando) {
    if (esperando == esperando_)
        return;
    esperando_ = esperando;
    if (avisoEspera)
        avisoEspera(esperando);
}

void EstablecerUbicacionDatos(std::function<UbicacionDatos()> ubicacion) {
    preguntaUbicacion() = std::move(ubicacion);
}

void EstablecerAvisoEspera(std::function<void(bool)> aviso) {
    avisoEspera = std::move(aviso);
}

void ConexionBD::antesDeSentencia(int n, std::function<void()> accion) {
    sentenciasHastaAccion_ = n;
    accionAntes_ = std::move(accion);
}

void ConexionBD::contarSentencia() {
    avisarEspera(false);
    if (sentenciasHastaAccion_ > 0 && --sentenciasHastaAccion_ == 0)
        std::exchange(accionAntes_, nullptr)();
    if (sentenciasHastaFallo_ <= 0)
        return;
    if (--sentenciasHastaFallo_ == 0)
        throw ErrorBD(QStringLiteral("Error de base de datos"), QStringLiteral("fallo simulado"));
}

void ConexionBD::sentenciaFallida() {
    if (profundidadTransaccion_ > 0)
        transaccionFallida_ = true;
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
        throw ErrorBD(QStringLiteral("Error de base de datos"), detalle, CausaSqlite(db));
    }
}

// On the server every writing transaction takes one lock first, as BEGIN IMMEDIATE reserves
// the file: numbers read and then incremented (the day's consecutive number) cannot be taken
// twice, and a vehicle cannot leave twice.
void ConexionBD::empezar() {
    if (!esServidor())
        return EjecutarDirecto(manejador(), "BEGIN IMMEDIATE");
    try {
        servidor().ejecutar(
            QStringLiteral("BEGIN; SELECT pg_advisory_xact_lock(%1)").arg(ClaveBloqueoEscritura));
    } catch (const ErrorBD&) {
        // A lock not granted in time leaves the transaction begun and failed.
        deshacer();
        throw;
    }
}

void ConexionBD::deshacer() {
    if (pg_) {
        if (pg_->viva())
            try {
                pg_->ejecutar(QStringLiteral("ROLLBACK"));
            } catch (const ErrorBD&) {
                // The server lost the connection: the transaction went with it.
            }
    } else if (db_) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void ConexionBD::confirmarTransaccion() {
    if (!esServidor())
        return EjecutarDirecto(manejador(), "COMMIT");
    // A COMMIT of a transaction the server has already doomed answers ROLLBACK, not an error.
    if (!servidor().confirmar())
        throw ErrorBD(QStringLiteral("Error de base de datos"),
                      QStringLiteral("el servidor deshizo la transacción"));
}

Transaccion::Transaccion() {
    AbrirConexion();
    if (Conexion.profundidadTransaccion_ == 0)
        Conexion.empezar();
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
        Conexion.deshacer();
    Conexion.transaccionFallida_ = false;
    if (Conexion.cierrePendiente_)
        Conexion.cerrar();
}

void Transaccion::confirmar() {
    if (Conexion.profundidadTransaccion_ == 1) {
        if (Conexion.transaccionFallida_)
            throw ErrorBD(QStringLiteral("Error de base de datos"),
                          QStringLiteral("una parte de la transacción falló"));
        Conexion.confirmarTransaccion();
    }
    confirmada_ = true;
}

LecturaConsistente::LecturaConsistente() {
    if (Conexion.esServidor())
        Conexion.servidor().ejecutar(
            QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
    else
        EjecutarDirecto(Conexion.manejador(), "BEGIN");
}

LecturaConsistente::~LecturaConsistente() {
    Conexion.deshacer();
}
