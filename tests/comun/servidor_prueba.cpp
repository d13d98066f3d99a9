#include "tests/comun/servidor_prueba.h"

#include "acceso/crearbd.h"
#include "bd/servidor.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <pwd.h>
#include <stdexcept>
#include <unistd.h>

ServidorPrueba& ServidorPrueba::instancia() {
    static ServidorPrueba servidor;
    return servidor;
}

ServidorPrueba::ServidorPrueba() : pid_(QCoreApplication::applicationPid()) {
    QProcess config;
    config.start("pg_config", {"--bindir"});
    config.waitForFinished();
    bin_ = QString::fromLocal8Bit(config.readAllStandardOutput()).trimmed();
    // The server refuses to run as root.
    const passwd* postgres = geteuid() == 0 ? getpwnam("postgres") : nullptr;
    if (!carpeta_.isValid() || bin_.isEmpty() ||
        (postgres &&
         chown(carpeta_.path().toLocal8Bit().constData(), postgres->pw_uid, postgres->pw_gid) != 0))
        throw std::runtime_error("no se puede preparar la carpeta del servidor de pruebas");
    correr({"initdb", "-D", datos(), "-U", "vialtor", "-A", "trust", "-E", "UTF8", "--no-locale",
            "-N"});
    QFile reglas(datos() + "/pg_hba.conf");
    if (!reglas.open(QIODevice::ReadWrite))
        throw std::runtime_error("no se puede leer pg_hba.conf del servidor de pruebas");
    const QByteArray resto = reglas.readAll();
    reglas.seek(0);
    reglas.write(QByteArray("local all ") + kUsuarioConClave + " scram-sha-256\n" + resto);
    reglas.close();
    iniciar();
    ServidorPg(conexion("postgres"), 15000)
        .ejecutar(QString("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(kUsuarioConClave, kClave));
}

ServidorPrueba::~ServidorPrueba() {
    // A forked child of a test leaves the parent's server alone.
    if (iniciado_ && QCoreApplication::applicationPid() == pid_)
        detener();
}

QString ServidorPrueba::datos() const {
    return carpeta_.filePath("datos");
}

void ServidorPrueba::correr(QStringList argumentos) {
    argumentos.first().prepend(bin_ + '/');
    if (geteuid() == 0)
        argumentos = QStringList{"-u", "postgres", "--"} + argumentos;
    QProcess proceso;
    proceso.setProcessChannelMode(QProcess::MergedChannels);
    proceso.start(geteuid() == 0 ? QString("runuser") : argumentos.takeFirst(), argumentos);
    if (!proceso.waitForFinished(60000) || proceso.exitCode() != 0)
        throw std::runtime_error(QString::fromLocal8Bit(proceso.readAll()).toStdString());
}

void ServidorPrueba::iniciar() {
    // Durability is of no use to a throw-away cluster.
    correr(
        {"pg_ctl", "-D", datos(), "-w", "-l", carpeta_.filePath("registro"), "-o",
         "-k " + carpeta_.path() + " -c listen_addresses= -c fsync=off -c synchronous_commit=off",
         "start"});
    iniciado_ = true;
    // A test that crashes runs no destructor: a watcher stops the server when this process ends.
    const QString parar = (geteuid() == 0 ? "runuser -u postgres -- " : "") + bin_ + "/pg_ctl -D " +
                          datos() + " -m immediate stop";
    QProcess::startDetached("sh", {"-c", QString("while kill -0 %1 2>/dev/null; do sleep 1; "
                                                 "done; %2 >/dev/null 2>&1; rm -rf %3")
                                             .arg(pid_)
                                             .arg(parar, carpeta_.path())});
}

void ServidorPrueba::detener() {
    correr({"pg_ctl", "-D", datos(), "-m", "fast", "stop"});
    iniciado_ = false;
}

QString ServidorPrueba::conexion(const QString& base) const {
    return QString("host=%1 user=vialtor dbname=%2").arg(carpeta_.path(), base);
}

// Each test gets a database of its own; the previous one goes, with any connection left to it.
QString ServidorPrueba::crear(const QString& plantilla) {
    ServidorPg mantenimiento(conexion("postgres"), 15000);
    if (bases_ > 0)
        mantenimiento.ejecutar(QString("DROP DATABASE IF EXISTS p%1 WITH (FORCE)").arg(bases_));
    mantenimiento.ejecutar(QString("CREATE DATABASE p%1 TEMPLATE %2").arg(++bases_).arg(plantilla));
    return conexion(QString("p%1").arg(bases_));
}

QString ServidorPrueba::baseNueva() {
    if (!plantilla_) {
        ServidorPg(conexion("postgres"), 15000).ejecutar("CREATE DATABASE plantilla");
        CrearBaseDatosServidor(conexion("plantilla"), "admin", "admin");
        plantilla_ = true;
    }
    return crear("plantilla");
}

QString ServidorPrueba::baseVacia() {
    return crear("template0");
}
