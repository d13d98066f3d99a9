#include "principal/sucesos.h"

#include "principal/cp1252.h"
#include "principal/registros.h"
#include "principal/servicios.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace {

const QString kPuntoProvisional = QStringLiteral("PROBLEMACFG");
bool avisado = false;

bool escribirLinea() {
    const QString linea = LineaSuceso(Servicios().reloj->ahora(), MensajeSuceso);
    const QString carpeta = CarpetaSucesos();
    // Only the last level: a data folder that is not there makes the write fail.
    QDir().mkdir(carpeta);
    QFile archivo(carpeta + QLatin1Char('/') +
                  NombreArchivoSucesos(Servicios().reloj->ahora().date()));
    if (!archivo.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray bytes = ACp1252(linea + QLatin1String("\r\n"));
    return archivo.write(bytes) == bytes.size() && archivo.flush();
}

bool registrar() {
    bool escrito = true;
    if (ConfigInicio.RegistroSucesos) {
        if (ConfigInicio.PuntoControl.isEmpty())
            ConfigInicio.PuntoControl = kPuntoProvisional;
        escrito = escribirLinea();
    }
    MensajeSuceso.clear();
    if (ConfigInicio.PuntoControl == kPuntoProvisional)
        ConfigInicio.PuntoControl.clear();
    return escrito;
}

} // namespace

QString CarpetaSucesos() {
    const QString base = ConfigInicio.CarpetaDatos.isEmpty()
                             ? Servicios().carpetas->carpetaPrograma()
                             : ConfigInicio.CarpetaDatos;
    return base + QLatin1String("/sucesos");
}

QString NombreArchivoSucesos(const QDate& fecha) {
    const QString punto =
        ConfigInicio.PuntoControl.isEmpty() ? kPuntoProvisional : ConfigInicio.PuntoControl;
    return fecha.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('_') + punto +
           QLatin1String(".hap");
}

QString LineaSuceso(const QDateTime& momento, const QString& mensaje) {
    const QString punto =
        ConfigInicio.PuntoControl.isEmpty() ? kPuntoProvisional : ConfigInicio.PuntoControl;
    return QStringList{momento.toString(QStringLiteral("dd-MM-yyyy")),
                       momento.toString(QStringLiteral("HH:mm:ss")),
                       punto,
                       SesionActual.Usuario,
                       SesionActual.Nombre,
                       SesionActual.Ape1,
                       SesionActual.Ape2,
                       mensaje}
        .join(QLatin1Char(';'));
}

void Registrar(const QString& texto) {
    MensajeSuceso = texto;
    RegistrarSuceso();
}

bool RegistrarSucesoInicio() {
    return registrar();
}

void ReiniciarAvisoSucesos() {
    avisado = false;
}

void RegistrarSuceso() {
    const QString mensaje = MensajeSuceso;
    if (registrar() || avisado)
        return;
    avisado = true;
    Servicios().dialogos->mensaje(
        QStringLiteral("No se pudo escribir en el registro de sucesos (%1). El programa continúa "
                       "sin registrar: %2")
            .arg(CarpetaSucesos(), mensaje),
        TituloAplicacion, Icono::Exclamacion);
}
