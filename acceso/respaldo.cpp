#include "acceso/respaldo.h"

#include "bd/conexion.h"
#include "bd/funcionesbd.h"
#include "bd/recordset.h"
#include "principal/archivos.h"
#include "principal/configinicio.h"
#include "principal/formatos.h"
#include "principal/manejadores.h"
#include "principal/registros.h"
#include "principal/sucesos.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QThread>
#include <climits>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <utility>

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
QString correr(const QString& programa, const QStringList& argumentos,
               const QProcessEnvironment& entorno = QProcessEnvironment::systemEnvironment()) {
    QProcess proceso;
    proceso.setProcessEnvironment(entorno);
    proceso.setProcessChannelMode(QProcess::MergedChannels);
    proceso.start(programa, argumentos);
    if (!proceso.waitForStarted() || !proceso.waitForFinished(-1))
        return programa + QStringLiteral(": no se pudo ejecutar");
    if (proceso.exitStatus() == QProcess::NormalExit && proceso.exitCode() == 0)
        return QString();
    return programa + QLatin1String(": ") +
           QString::fromLocal8Bit(proceso.readAll()).trimmed().section(QLatin1Char('\n'), 0, 0);
}

// A value as libpq reads it in a connection string.
QString valorConexion(const QString& valor) {
    QString v = valor;
    v.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

// The connection string without its password, which goes to the tool in PGPASSWORD: a command
// line is readable by every local user, a process's environment only by its owner. None when
// libpq cannot read the string.
std::optional<QString> sinClave(const QString& conexion, QProcessEnvironment& entorno) {
    char* error = nullptr;
    PQconninfoOption* opciones = PQconninfoParse(conexion.toUtf8().constData(), &error);
    PQfreemem(error);
    if (!opciones)
        return std::nullopt;
    QStringList partes;
    for (const PQconninfoOption* o = opciones; o->keyword; ++o) {
        if (!o->val)
            continue;
        const QString valor = QString::fromUtf8(o->val);
        if (qstrcmp(o->keyword, "password") == 0)
            entorno.insert(QStringLiteral("PGPASSWORD"), valor);
        else
            partes << QString::fromUtf8(o->keyword) + QLatin1Char('=') + valorConexion(valor);
    }
    PQconninfoFree(opciones);
    return partes.join(QLatin1Char(' '));
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

// A folder that takes no file (read-only, missing, a file in its place) is told in the
// attendant's words rather than in whatever each engine says about it.
QString probarCarpeta(const QString& carpeta) {
    QTemporaryFile prueba(carpeta + QLatin1String("/.vialtor-prueba-XXXXXX"));
    return prueba.open()
               ? QString()
               : QStringLiteral("no se puede escribir en la carpeta de respaldos ") + carpeta;
}

void registrarCausa(const QString& error) {
    Registrar(QStringLiteral("Causa de la falla de la copia de seguridad: ") + error);
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

LecturaCalendario LeerCalendario(const QString& ruta) {
    QFile archivo(ruta);
    if (!archivo.exists())
        return {EstadoCalendario::NoExiste, {}};
    if (!archivo.open(QIODevice::ReadOnly))
        return {EstadoCalendario::Danado, {}};
    QString contenido = QString::fromLatin1(archivo.readAll());
    // The line end after the last item closes it rather than opening an empty one.
    static const QRegularExpression finDeArchivo(QStringLiteral("\r?\n$|\r$"));
    contenido.remove(finDeArchivo);
    static const QRegularExpression separador(QStringLiteral("\r\n|[,\r\n]"));
    const QStringList elementos = contenido.split(separador);
    // A number may be lenient, but not absent: counting it as 0 would silently change the
    // schedule.
    static const QRegularExpression numero(QStringLiteral("^\\s*[-+]?\\s*\\.?\\d"));
    if (elementos.size() < 2 || !numero.match(PrimerElemento(elementos[0])).hasMatch() ||
        !numero.match(PrimerElemento(elementos[1])).hasMatch())
        return {EstadoCalendario::Danado, {}};
    return {
        EstadoCalendario::Leido,
        {ValorNumerico(PrimerElemento(elementos[0])), ValorNumerico(PrimerElemento(elementos[1]))}};
}

bool EscribirCalendario(const QString& ruta, const Calendario& calendario, QString* error) {
    const QByteArray bytes = (numeroCalendario(calendario.transcurridos) + QLatin1String("\r\n") +
                              numeroCalendario(calendario.intervalo) + QLatin1String("\r\n"))
                                 .toLatin1();
    return EscribirArchivo(ruta, bytes, error);
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
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    const std::optional<QString> sinContrasena = sinClave(conexion, entorno);
    if (!sinContrasena)
        return QStringLiteral("la conexión con el servidor no es válida");
    QString error = correr(QStringLiteral("pg_dump"),
                           {QStringLiteral("--format=custom"), QStringLiteral("--file"), temporal,
                            QStringLiteral("--dbname"), *sinContrasena},
                           entorno);
    if (error.isEmpty())
        error = correr(QStringLiteral("pg_restore"), {QStringLiteral("--list"), temporal});
    if (error.isEmpty() && !QFile::rename(temporal, destino))
        error = QStringLiteral("no se pudo renombrar la copia a ") + destino;
    if (!error.isEmpty())
        QFile::remove(temporal);
    return error;
}

void BorrarTemporales(const QString& carpeta, const QString& puntoControl) {
    // Only this station's: another one may be copying into the same folder right now.
    const QStringList nombres = QDir(carpeta).entryList(
        {QStringLiteral("vialtor *-") + puntoControl + QStringLiteral(".mdb.tmp*"),
         QStringLiteral("vialtor *-") + puntoControl + QStringLiteral(".dump.tmp")},
        QDir::Files | QDir::Hidden);
    for (const QString& nombre : nombres)
        QFile::remove(carpeta + QLatin1Char('/') + nombre);
}

MonitorRespaldo::MonitorRespaldo(QObject* padre) : QObject(padre) {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

bool MonitorRespaldo::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::KeyPress)
        ultimaTecla_ = Servicios().reloj->ahora();
    return QObject::eventFilter(objeto, evento);
}

bool MonitorRespaldo::tecleando() const {
    if (!ultimaTecla_.isValid())
        return false;
    const qint64 desde = ultimaTecla_.secsTo(Servicios().reloj->ahora());
    return desde >= 0 && desde < kPausaTecladoSegundos;
}

MonitorRespaldo::~MonitorRespaldo() {
    // A copy under way is let finish: cut off, it would leave its temporary file behind.
    if (hilo_)
        hilo_->wait();
}

void MonitorRespaldo::tick(int segundosTick) {
    if (!tecleando())
        for (const AvisoPendiente& aviso : std::exchange(pendientes_, {}))
            mostrarSinRepetir(*aviso.abierta, aviso.texto, aviso.icono);
    if (ConfigInicio.RespaldoAutomatico)
        respaldar(segundosTick);
    // Measured again at a later tick: nothing is lost by waiting.
    if (ConfigInicio.AvisoTamanoBD && !tecleando())
        vigilarTamano();
}

// The schedule to count with this tick; none while a damaged file waits to be mended.
std::optional<Calendario> MonitorRespaldo::calendarioVigente() {
    const LecturaCalendario leido = LeerCalendario(RutaCalendario());
    if (leido.estado == EstadoCalendario::Leido) {
        calendarioAvisado_ = false;
        return ultimoBueno_ = leido.calendario;
    }
    const bool avisar = !calendarioAvisado_;
    calendarioAvisado_ = true;
    if (leido.estado == EstadoCalendario::NoExiste) {
        if (avisar)
            Registrar(QStringLiteral("El archivo vialtor_respaldos.cfg no existe - Se crea con 0 "
                                     "segundos transcurridos y un intervalo de 86400 segundos"));
        guardar({0, kIntervaloPredeterminado});
        return std::nullopt;
    }
    // Damaged: never replaced by a schedule of our own making.
    const QString suceso =
        ultimoBueno_ ? QStringLiteral("El archivo vialtor_respaldos.cfg está vacío o dañado - Se "
                                      "reescribe con el último calendario válido")
                     : QStringLiteral("El archivo vialtor_respaldos.cfg está vacío o dañado - No "
                                      "se modifica y la copia de seguridad automática queda "
                                      "detenida hasta que se corrija");
    if (avisar) {
        Registrar(suceso);
        mostrarSinRepetir(avisoCalendarioAbierto_,
                          suceso + QStringLiteral(".\n\nSi tiene alguna duda, consulte al "
                                                  "soporte técnico."),
                          Icono::Exclamacion);
    }
    return ultimoBueno_;
}

void MonitorRespaldo::respaldar(int segundosTick) {
    const std::optional<Calendario> leido = calendarioVigente();
    if (!leido)
        return;
    // One copy at a time: while one lasts the count goes on and the next tick starts the new one.
    if (!Vencido(*leido) || copiando())
        return guardar(Avanzar(*leido, segundosTick));
    // The count restarts before the copy is tried.
    guardar({0, leido->intervalo});
    intervaloCopia_ = leido->intervalo;
    iniciarCopia(false);
}

bool MonitorRespaldo::respaldarAhora() {
    if (copiando()) {
        Registrar(QStringLiteral("Respaldar Ahora no inicia otra copia: ya hay una copia de "
                                 "seguridad en curso"));
        Servicios().dialogos->mensaje(QStringLiteral("Ya se está realizando una copia de "
                                                     "seguridad. Espere a que termine."),
                                      TituloAplicacion, Icono::Informacion);
        return false;
    }
    iniciarCopia(true);
    return true;
}

void MonitorRespaldo::iniciarCopia(bool manual) {
    const QString origen = Conexion.rutaBaseDatos();
    const QString carpeta = QFileInfo(origen).path() + QLatin1String("/respaldos");
    // Usually there already; a failure shows in the copy.
    QDir().mkdir(carpeta);
    QString destino = carpeta + QLatin1Char('/') +
                      NombreRespaldo(Servicios().reloj->ahora(), ConfigInicio.PuntoControl);
    const QString servidor = ConfigInicio.Servidor;
    if (!servidor.isEmpty())
        destino.replace(destino.size() - 4, 4, QLatin1String(".dump"));
    copiaManual_ = manual;
    destinoCopia_ = destino;
    const QString punto = ConfigInicio.PuntoControl;
    hilo_ = QThread::create([this, origen, carpeta, destino, servidor, punto] {
        BorrarTemporales(carpeta, punto);
        errorCopia_ = probarCarpeta(carpeta);
        if (errorCopia_.isEmpty())
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
    if (copiaManual_)
        return avisarCopiaManual(correcta);
    if (correcta)
        return Registrar(
            QStringLiteral("Se ha realizado la copia de seguridad automática correctamente"));
    Registrar(QStringLiteral("La copia de seguridad automática no se ha podido realizar - El "
                             "sistema intentará realizarla nuevamente"));
    registrarCausa(errorCopia_);
    // Due again at the next tick. Written before the box, which lets later ticks run meanwhile.
    guardar({intervaloCopia_, intervaloCopia_});
    mostrarSinRepetir(avisoCopiaAbierto_, textoFalloCopia(intervaloCopia_), Icono::Informacion);
}

// Logged as the automatic copy is; told at once, since the attendant is waiting for it.
void MonitorRespaldo::avisarCopiaManual(bool correcta) {
    if (correcta) {
        Registrar(QStringLiteral("Se ha realizado la copia de seguridad manual correctamente: ") +
                  destinoCopia_);
        Servicios().dialogos->mensaje(
            QStringLiteral("La copia de seguridad se ha realizado y comprobado correctamente en el "
                           "archivo:\n\n") +
                destinoCopia_,
            TituloAplicacion, Icono::Informacion);
        return;
    }
    Registrar(QStringLiteral("La copia de seguridad manual no se ha podido realizar"));
    registrarCausa(errorCopia_);
    Servicios().dialogos->mensaje(
        QStringLiteral("La copia de seguridad no se ha podido realizar.\n\nCausa: ") + errorCopia_ +
            QStringLiteral(".\n\nSi tiene alguna duda, consulte al soporte técnico."),
        TituloAplicacion, Icono::Exclamacion);
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
    if (EscribirCalendario(RutaCalendario(), calendario, &error)) {
        ultimoBueno_ = calendario;
        escrituraAvisada_ = false;
        return;
    }
    if (std::exchange(escrituraAvisada_, true))
        return;
    const QString suceso = QStringLiteral("No se pudo escribir el archivo vialtor_respaldos.cfg: ");
    Registrar(suceso + error);
    mostrarSinRepetir(avisoCalendarioAbierto_,
                      suceso + error +
                          QStringLiteral(".\n\nEl archivo conserva su contenido anterior. "
                                         "Compruebe que el disco tiene espacio libre.\n\nSi "
                                         "tiene alguna duda, consulte al soporte técnico."),
                      Icono::Exclamacion);
}

// The box runs its own event loop and the timer keeps ticking under it: a second box of the
// same kind would pile up on the first every minute.
void MonitorRespaldo::mostrarSinRepetir(bool& abierta, const QString& texto, Icono icono) {
    if (abierta)
        return;
    if (tecleando()) {
        for (const AvisoPendiente& aviso : qAsConst(pendientes_))
            if (aviso.abierta == &abierta)
                return;
        pendientes_.append({&abierta, texto, icono});
        return;
    }
    abierta = true;
    Servicios().dialogos->mensaje(texto, TituloAplicacion, icono);
    abierta = false;
}
