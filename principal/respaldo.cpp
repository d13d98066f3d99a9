#include "principal/respaldo.h"

#include "principal/conexion.h"
#include "principal/configinicio.h"
#include "principal/formatos.h"
#include "principal/funcionesbd.h"
#include "principal/manejadores.h"
#include "principal/recordset.h"
#include "principal/registros.h"
#include "principal/sucesos.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QThread>
#include <climits>
#include <sqlite3.h>

namespace {

// About 1 MiB at the usual page size: the longest another station waits for the lock.
constexpr int kPaginasPorPaso = 256;
// Writes elsewhere start the copy over; after this many restarts the rest goes in one step.
constexpr int kReiniciosPorPasos = 3;
constexpr int kEsperaMaximaMs = ConexionBD::EsperaPredeterminadaMs;

struct Base {
    sqlite3* db = nullptr;
    ~Base() { sqlite3_close_v2(db); }
};

QString fallo(const char* paso, sqlite3* db) {
    return QString::fromUtf8(paso) + QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(db));
}

bool abrir(const QString& ruta, int banderas, Base& base) {
    return sqlite3_open_v2(QFile::encodeName(ruta).constData(), &base.db,
                           banderas | SQLITE_OPEN_NOMUTEX, nullptr) == SQLITE_OK;
}

QString copiarPaginas(sqlite3* origen, sqlite3* destino) {
    sqlite3_backup* copia = sqlite3_backup_init(destino, "main", origen, "main");
    if (!copia)
        return fallo("inicio de la copia", destino);
    int reinicios = 0;
    int restantePrevio = INT_MAX;
    QElapsedTimer espera;
    int rc;
    while ((rc = sqlite3_backup_step(copia, reinicios < kReiniciosPorPasos ? kPaginasPorPaso
                                                                           : -1)) != SQLITE_DONE) {
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            if (!espera.isValid())
                espera.start();
            if (espera.elapsed() > kEsperaMaximaMs)
                break;
            sqlite3_sleep(10);
            continue;
        }
        if (rc != SQLITE_OK)
            break;
        espera.invalidate();
        const int restante = sqlite3_backup_remaining(copia);
        if (restante >= restantePrevio)
            ++reinicios;
        restantePrevio = restante;
    }
    sqlite3_backup_finish(copia);
    return rc == SQLITE_DONE ? QString() : fallo("copia de páginas", destino);
}

QString copiarA(const QString& origen, const QString& temporal) {
    Base fuente, copia;
    // Without CREATE: a missing database is a failure, never a new empty file.
    if (!abrir(origen, SQLITE_OPEN_READWRITE, fuente))
        return fallo("apertura de la base de datos", fuente.db);
    if (!abrir(temporal, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, copia))
        return fallo("apertura de la copia", copia.db);
    // The temporary file is thrown away on any failure, so it needs no journal of its own.
    sqlite3_exec(copia.db, "PRAGMA journal_mode=OFF", nullptr, nullptr, nullptr);
    return copiarPaginas(fuente.db, copia.db);
}

// Read back through a fresh connection, so the check sees the file rather than a cache.
QString comprobar(const QString& ruta) {
    Base base;
    if (!abrir(ruta, SQLITE_OPEN_READONLY, base))
        return fallo("apertura de la copia", base.db);
    // The indexes on texts use the JET collation.
    RegistrarFuncionesJet(base.db);
    sqlite3_stmt* st = nullptr;
    QString resultado;
    if (sqlite3_prepare_v2(base.db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        resultado = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    else
        resultado = QString::fromUtf8(sqlite3_errmsg(base.db));
    sqlite3_finalize(st);
    return resultado == QLatin1String("ok")
               ? QString()
               : QStringLiteral("comprobación de integridad: ") + resultado;
}

// Runs one of the server's tools; empty when it ended well, else its first line of complaint.
QString correr(const QString& programa, const QStringList& argumentos) {
    QProcess proceso;
    proceso.setProcessChannelMode(QProcess::MergedChannels);
    proceso.start(programa, argumentos);
    if (!proceso.waitForStarted() || !proceso.waitForFinished(-1))
        return programa + QStringLiteral(": no se pudo ejecutar");
    if (proceso.exitStatus() == QProcess::NormalExit && proceso.exitCode() == 0)
        return QString();
    return programa + QLatin1String(": ") +
           QString::fromLocal8Bit(proceso.readAll()).trimmed().section(QLatin1Char('\n'), 0, 0);
}

// The database's size: the file's, or what the server reports; none when it cannot be known.
std::optional<qint64> tamanoBaseDatos() {
    if (!Conexion.esServidor()) {
        const QFileInfo base(Conexion.rutaBaseDatos());
        return base.isFile() ? std::optional<qint64>(base.size()) : std::nullopt;
    }
    try {
        AbrirConexion();
        Recordset rs;
        rs.Open(QStringLiteral("SELECT pg_database_size(current_database()) AS n"));
        const qint64 tamano = rs.Fields(QStringLiteral("n")).aEntero();
        CerrarConexion();
        return tamano;
    } catch (const ErrorBD&) {
        Conexion.descartar();
        return std::nullopt;
    }
}

QString numeroCalendario(double valor) {
    return QString::number(valor, 'g', 15);
}

QString textoFalloCopia(double intervalo) {
    return QStringLiteral("La copia de seguridad no se ha podido realizar. Verifique los permisos "
                          "de escritura.\n\nEn breve, el sistema intentará realizar nuevamente la "
                          "copia de seguridad.\nAutomáticamente se realiza cada ") +
           HorasIntervalo(intervalo) +
           QStringLiteral(" horas.\n\nSi tiene alguna duda, consulte al soporte técnico.\n\nSi "
                          "este mensaje persiste, contacte al soporte técnico.");
}

} // namespace

QString RutaCalendario() {
    return Servicios().carpetas->carpetaTrabajo() + QLatin1String("/vialtor_respaldos.cfg");
}

std::optional<Calendario> LeerCalendario(const QString& ruta) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString contenido = QString::fromLatin1(archivo.readAll());
    // The line end after the last item closes it rather than opening an empty one.
    static const QRegularExpression finDeArchivo(QStringLiteral("\r?\n$|\r$"));
    contenido.remove(finDeArchivo);
    static const QRegularExpression separador(QStringLiteral("\r\n|[,\r\n]"));
    const QStringList elementos = contenido.split(separador);
    if (elementos.size() < 2)
        return std::nullopt;
    return Calendario{ValorNumerico(PrimerElemento(elementos[0])),
                      ValorNumerico(PrimerElemento(elementos[1]))};
}

bool EscribirCalendario(const QString& ruta, const Calendario& calendario, QString* error) {
    const QByteArray bytes = (numeroCalendario(calendario.transcurridos) + QLatin1String("\r\n") +
                              numeroCalendario(calendario.intervalo) + QLatin1String("\r\n"))
                                 .toLatin1();
    QSaveFile archivo(ruta);
    if (archivo.open(QIODevice::WriteOnly) && archivo.write(bytes) == bytes.size() &&
        archivo.commit())
        return true;
    if (error)
        *error = archivo.errorString();
    return false;
}

Calendario Avanzar(const Calendario& calendario, double segundos) {
    return {calendario.transcurridos + segundos, calendario.intervalo};
}

bool Vencido(const Calendario& calendario) {
    return calendario.intervalo <= calendario.transcurridos;
}

QString NombreRespaldo(const QDateTime& momento, const QString& puntoControl) {
    return QStringLiteral("vialtor ") + momento.toString(QStringLiteral("dd-MM-yyyy HH-mm-ss")) +
           QLatin1Char('-') + puntoControl + QLatin1String(".mdb");
}

QString HorasIntervalo(double segundos) {
    // Hundredths of an hour, rounded as the system rounds.
    return QString::number(RedondeoPar(segundos / 36) / 100, 'g', 15)
        .replace(QLatin1Char('.'), QLatin1Char(','));
}

AvisoTamano EvaluarTamano(qint64 tamano, const QString& desde, const QString& hasta,
                          const QString& urgente) {
    const double s = static_cast<double>(tamano);
    if (ValorNumerico(desde) <= s && s <= ValorNumerico(hasta))
        return AvisoTamano::Revisar;
    return s >= ValorNumerico(urgente) ? AvisoTamano::Urgente : AvisoTamano::Ninguno;
}

QString CopiarBaseDatos(const QString& origen, const QString& destino) {
    const QString temporal = destino + QLatin1String(".tmp");
    const auto borrar = [&] {
        QFile::remove(temporal);
        QFile::remove(temporal + QLatin1String("-journal"));
    };
    borrar();
    QString error = copiarA(origen, temporal);
    if (error.isEmpty())
        error = comprobar(temporal);
    if (error.isEmpty() && !QFile::rename(temporal, destino))
        error = QStringLiteral("no se pudo renombrar la copia a ") + destino;
    if (!error.isEmpty())
        borrar();
    return error;
}

QString CopiarBaseDatosServidor(const QString& conexion, const QString& destino) {
    const QString temporal = destino + QLatin1String(".tmp");
    QFile::remove(temporal);
    QString error = correr(QStringLiteral("pg_dump"),
                           {QStringLiteral("--format=custom"), QStringLiteral("--file"), temporal,
                            QStringLiteral("--dbname"), conexion});
    if (error.isEmpty())
        error = correr(QStringLiteral("pg_restore"), {QStringLiteral("--list"), temporal});
    if (error.isEmpty() && !QFile::rename(temporal, destino))
        error = QStringLiteral("no se pudo renombrar la copia a ") + destino;
    if (!error.isEmpty())
        QFile::remove(temporal);
    return error;
}

MonitorRespaldo::~MonitorRespaldo() {
    // A copy under way is let finish: cut off, it would leave its temporary file behind.
    if (hilo_)
        hilo_->wait();
}

void MonitorRespaldo::tick(int segundosTick) {
    if (ConfigInicio.RespaldoAutomatico)
        respaldar(segundosTick);
    if (ConfigInicio.AvisoTamanoBD)
        vigilarTamano();
}

void MonitorRespaldo::respaldar(int segundosTick) {
    const std::optional<Calendario> leido = LeerCalendario(RutaCalendario());
    if (!leido) {
        if (!calendarioAvisado_)
            Registrar(QStringLiteral("El archivo vialtor_respaldos.cfg no existe o no se puede "
                                     "leer - Se crea con 0 segundos transcurridos y un intervalo "
                                     "de 86400 segundos"));
        calendarioAvisado_ = true;
        guardar({0, kIntervaloPredeterminado});
        return;
    }
    calendarioAvisado_ = false;
    // One copy at a time: while one lasts the count goes on and the next tick starts the new one.
    if (!Vencido(*leido) || copiando())
        return guardar(Avanzar(*leido, segundosTick));
    // The count restarts before the copy is tried.
    guardar({0, leido->intervalo});
    iniciarCopia(leido->intervalo);
}

void MonitorRespaldo::iniciarCopia(double intervalo) {
    const QString origen = Conexion.rutaBaseDatos();
    const QString carpeta = QFileInfo(origen).path() + QLatin1String("/respaldos");
    // Usually there already; a failure shows in the copy.
    QDir().mkdir(carpeta);
    QString destino = carpeta + QLatin1Char('/') +
                      NombreRespaldo(Servicios().reloj->ahora(), ConfigInicio.PuntoControl);
    const QString servidor = ConfigInicio.Servidor;
    if (!servidor.isEmpty())
        destino.replace(destino.size() - 4, 4, QLatin1String(".dump"));
    intervaloCopia_ = intervalo;
    hilo_ = QThread::create([this, origen, destino, servidor] {
        errorCopia_ = servidor.isEmpty() ? CopiarBaseDatos(origen, destino)
                                         : CopiarBaseDatosServidor(servidor, destino);
    });
    hilo_->setParent(this);
    Conectar(hilo_, &QThread::finished, this, &MonitorRespaldo::alTerminarCopia);
    hilo_->start();
}

void MonitorRespaldo::alTerminarCopia() {
    hilo_->deleteLater();
    hilo_ = nullptr;
    const bool correcta = errorCopia_.isEmpty();
    emit copiaTerminada(correcta);
    if (correcta)
        return Registrar(
            QStringLiteral("Se ha realizado la copia de seguridad automática correctamente"));
    Registrar(QStringLiteral("La copia de seguridad automática no se ha podido realizar - El "
                             "sistema intentará realizarla nuevamente"));
    Registrar(QStringLiteral("Causa de la falla de la copia de seguridad: ") + errorCopia_);
    // Due again at the next tick. Written before the box, which lets later ticks run meanwhile.
    guardar({intervaloCopia_, intervaloCopia_});
    mostrarSinRepetir(avisoCopiaAbierto_, textoFalloCopia(intervaloCopia_), Icono::Informacion);
}

void MonitorRespaldo::vigilarTamano() {
    const std::optional<qint64> tamanoLeido = tamanoBaseDatos();
    if (!tamanoLeido) {
        mostrarSinRepetir(
            avisoTamanoAbierto_,
            QStringLiteral("No se ha podido determinar el tamaño de la base de datos para avisos "
                           "de soporte\nLa base de datos se encuentra abierta o está siendo "
                           "utilizada por otro proceso\n\nSi tiene alguna duda, consulte al "
                           "soporte técnico\n\nSi este mensaje persiste, contacte al soporte "
                           "técnico"),
            Icono::Informacion);
        return Registrar(QStringLiteral(
            "No se ha podido determinar el tamaño de la base de datos para avisos de soporte"));
    }
    const qint64 tamano = *tamanoLeido;
    const QString bytes =
        QStringLiteral("Tamaño de la base de datos: ") + QString::number(tamano) + " bytes - ";
    switch (EvaluarTamano(tamano, ConfigInicio.TamanoAvisoDesde, ConfigInicio.TamanoAvisoHasta,
                          ConfigInicio.TamanoAvisoUrgente)) {
    case AvisoTamano::Revisar:
        mostrarSinRepetir(avisoTamanoAbierto_,
                          QStringLiteral("El tamaño de la base de datos debe ser revisado por el "
                                         "soporte técnico - Infórmeles sobre este aviso"),
                          Icono::Informacion);
        return Registrar(bytes + QStringLiteral("Debe ser revisado por el soporte técnico"));
    case AvisoTamano::Urgente:
        mostrarSinRepetir(avisoTamanoAbierto_,
                          QStringLiteral("El tamaño de la base de datos debe ser revisado lo antes "
                                         "posible por el soporte técnico - Infórmeles sobre este "
                                         "aviso"),
                          Icono::Exclamacion);
        return Registrar(
            bytes + QStringLiteral("Debe ser revisado lo antes posible por el soporte técnico"));
    case AvisoTamano::Ninguno:
        break;
    }
}

void MonitorRespaldo::guardar(const Calendario& calendario) {
    QString error;
    const bool escrito = EscribirCalendario(RutaCalendario(), calendario, &error);
    if (!escrito && !escrituraAvisada_)
        Registrar(QStringLiteral("No se pudo escribir el archivo vialtor_respaldos.cfg: ") + error);
    escrituraAvisada_ = !escrito;
}

// The box runs its own event loop and the timer keeps ticking under it: a second box of the
// same kind would pile up on the first every minute.
void MonitorRespaldo::mostrarSinRepetir(bool& abierta, const QString& texto, Icono icono) {
    if (abierta)
        return;
    abierta = true;
    Servicios().dialogos->mensaje(texto, TituloAplicacion, icono);
    abierta = false;
}
