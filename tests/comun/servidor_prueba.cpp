#include "tests/comun/servidor_prueba.h"

#include "principal/conexion.h"
#include "principal/crearbd.h"
#include "principal/servidor.h"

#include <QCoreApplication>
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
    config.start(QStringLiteral("pg_config"), {QStringLiteral("--bindir")});
    config.waitForFinished();
    bin_ = QString::fromLocal8Bit(config.readAllStandardOutput()).trimmed();
    if (!carpeta_.isValid() || bin_.isEmpty())
        throw std::runtime_error("sin carpeta temporal o sin pg_config");
    // The server refuses to run as root.
    if (geteuid() == 0) {
        const passwd* usuario = getpwnam("postgres");
        if (!usuario ||
            chown(carpeta_.path().toLocal8Bit().constData(), usuario->pw_uid, usuario->pw_gid) != 0)
            throw std::runtime_error("no se puede ceder la carpeta al usuario postgres");
    }
    correr(QStringLiteral("initdb"),
           {QStringLiteral("-D"), carpeta_.filePath(QStringLiteral("datos")), QStringLiteral("-U"),
            QStringLiteral("vialtor"), QStringLiteral("-A"), QStringLiteral("trust"),
            QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--no-locale"),
            QStringLiteral("-N")});
    iniciar();
}

ServidorPrueba::~ServidorPrueba() {
    // A forked child of a test leaves the parent's server alone.
    if (iniciado_ && QCoreApplication::applicationPid() == pid_)
        detener();
}

void ServidorPrueba::correr(const QString& programa, const QStringList& argumentos) {
    QProcess proceso;
    proceso.setProcessChannelMode(QProcess::MergedChannels);
    const QString ruta = bin_ + QLatin1Char('/') + programa;
    if (geteuid() == 0)
        proceso.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                  QStringLiteral("--"), ruta} +
                          argumentos);
    else
        proceso.start(ruta, argumentos);
    if (!proceso.waitForFinished(60000) || proceso.exitCode() != 0)
        throw std::runtime_error(
            (programa + QLatin1String(": ") + QString::fromLocal8Bit(proceso.readAll()))
                .toStdString());
}

void ServidorPrueba::iniciar() {
    // Durability is of no use to a throw-away cluster.
    correr(QStringLiteral("pg_ctl"),
           {QStringLiteral("-D"), carpeta_.filePath(QStringLiteral("datos")), QStringLiteral("-w"),
            QStringLiteral("-l"), carpeta_.filePath(QStringLiteral("registro")),
            QStringLiteral("-o"),
            QStringLiteral("-k %1 -c listen_addresses= -c fsync=off -c synchronous_commit=off "
                           "-c full_page_writes=off")
                .arg(carpeta_.path()),
            QStringLiteral("start")});
    iniciado_ = true;
}

void ServidorPrueba::detener() {
    correr(QStringLiteral("pg_ctl"),
           {QStringLiteral("-D"), carpeta_.filePath(QStringLiteral("datos")), QStringLiteral("-m"),
            QStringLiteral("fast"), QStringLiteral("stop")});
    iniciado_ = false;
}

QString ServidorPrueba::conexion(const QString& base) const {
    return QStringLiteral("host=%1 user=vialtor dbname=%2").arg(carpeta_.path(), base);
}

// Each test gets a database of its own; the previous one goes, with any connection left to it.
QString ServidorPrueba::crear(const QString& plantilla) {
    ServidorPg mantenimiento(conexion(QStringLiteral("postgres")), 15000);
    if (bases_ > 0)
        mantenimiento.ejecutar(
            QStringLiteral("DROP DATABASE IF EXISTS p%1 WITH (FORCE)").arg(bases_));
    ++bases_;
    mantenimiento.ejecutar(
        QStringLiteral("CREATE DATABASE p%1 TEMPLATE %2").arg(bases_).arg(plantilla));
    return conexion(QStringLiteral("p%1").arg(bases_));
}

QString ServidorPrueba::baseNueva() {
    if (!plantilla_) {
        ServidorPg(conexion(QStringLiteral("postgres")), 15000)
            .ejecutar(QStringLiteral("CREATE DATABASE plantilla TEMPLATE template0"));
        CrearBaseDatosServidor(conexion(QStringLiteral("plantilla")), QStringLiteral("admin"),
                               QStringLiteral("admin"));
        plantilla_ = true;
    }
    return crear(QStringLiteral("plantilla"));
}

QString ServidorPrueba::baseVacia() {
    return crear(QStringLiteral("template0"));
}
