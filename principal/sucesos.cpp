#include "principal/sucesos.h"

#include "principal/cp1252.h"
#include "principal/formatos.h"
#include "principal/registros.h"
#include "principal/servicios.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace {

const QString kPuntoProvisional = QStringLiteral("PROBLEMACFG");
bool avisado = false;

// Line breaks and other control characters inside a value become blanks, so no typed text
// can end the event's line and begin one that looks like another event.
QString enUnaLinea(QString valor) {
    for (QChar& c : valor)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
            c.category() == QChar::Separator_Paragraph)
            c = QLatin1Char(' ');
    return valor;
}

// The whole event in one write; a short one (a full disk) is cut back, so the file never holds
// part of a line for the next event to be glued to.
bool escribirLinea(const QStringList& lineas) {
    const QString linea = LineaSuceso(Servicios().reloj->ahora(), MensajeSuceso, lineas);
    const QString carpeta = CarpetaSucesos();
    // Only the last level: a data folder that is not there makes the write fail.
    QDir().mkdir(carpeta);
    QFile archivo(carpeta + QLatin1Char('/') +
                  NombreArchivoSucesos(Servicios().reloj->ahora().date()));
    if (!archivo.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    const qint64 largoPrevio = archivo.size();
    const QByteArray bytes = ACp1252(linea + kCrLf);
    if (archivo.write(bytes) == bytes.size())
        return true;
    archivo.resize(largoPrevio);
    return false;
}

bool registrar(const QStringList& lineas = {}) {
    bool escrito = true;
    if (ConfigInicio.RegistroSucesos) {
        if (ConfigInicio.PuntoControl.isEmpty())
            ConfigInicio.PuntoControl = kPuntoProvisional;
        escrito = escribirLinea(lineas);
    }
    MensajeSuceso.clear();
    if (ConfigInicio.PuntoControl == kPuntoProvisional)
        ConfigInicio.PuntoControl.clear();
    return escrito;
}

void registrarOAvisar(const QStringList& lineas) {
    const QString mensaje = (QStringList{MensajeSuceso} + lineas).join(kCrLf);
    if (registrar(lineas) || avisado)
        return;
    avisado = true;
    Servicios().dialogos->mensaje(
        QStringLiteral("No se pudo escribir en el registro de sucesos (%1). El programa continúa "
                       "sin registrar: %2")
            .arg(CarpetaSucesos(), mensaje),
        TituloAplicacion, Icono::Exclamacion);
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

QString LineaSuceso(const QDateTime& momento, const QString& mensaje, const QStringList& lineas) {
    const QString punto =
        ConfigInicio.PuntoControl.isEmpty() ? kPuntoProvisional : ConfigInicio.PuntoControl;
    const QString linea = QStringList{momento.toString(QStringLiteral("dd-MM-yyyy")),
                                      momento.toString(QStringLiteral("HH:mm:ss")),
                                      enUnaLinea(punto),
                                      enUnaLinea(SesionActual.Usuario),
                                      enUnaLinea(SesionActual.Nombre),
                                      enUnaLinea(SesionActual.Ape1),
                                      enUnaLinea(SesionActual.Ape2),
                                      enUnaLinea(mensaje)}
                              .join(QLatin1Char(';'));
    // The program's own breaks are those between the lines; none is looked for in the text.
    QString suceso = linea;
    for (const QString& otra : lineas)
        suceso += kCrLf + enUnaLinea(otra);
    return suceso;
}

void Registrar(const QString& texto) {
    MensajeSuceso = texto;
    RegistrarSuceso();
}

void Registrar(const QString& texto, const QStringList& lineas) {
    MensajeSuceso = texto;
    registrarOAvisar(lineas);
}

bool RegistrarSucesoInicio() {
    return registrar();
}

void ReiniciarAvisoSucesos() {
    avisado = false;
}

void RegistrarSuceso() {
    registrarOAvisar({});
}
