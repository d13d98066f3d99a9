#include "principal/configinicio.h"

#include "bd/servidor.h"
#include "principal/cp1252.h"
#include "principal/formatos.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString PrimerElemento(const QString& contenido) {
    int i = 0;
    while (i < contenido.size() &&
           (contenido[i] == QLatin1Char(' ') || contenido[i] == QLatin1Char('\t')))
        ++i;
    if (i < contenido.size() && contenido[i] == QLatin1Char('"')) {
        const int cierre = contenido.indexOf(QLatin1Char('"'), i + 1);
        return contenido.mid(i + 1, cierre < 0 ? -1 : cierre - i - 1);
    }
    int fin = i;
    while (fin < contenido.size() && contenido[fin] != QLatin1Char(',') &&
           contenido[fin] != QLatin1Char('\r') && contenido[fin] != QLatin1Char('\n'))
        ++fin;
    return contenido.mid(i, fin - i);
}

void AplicarLineaConfig(const QString& elemento) {
    RegistroConfigInicio& c = ConfigInicio;
    // Fields 1 to 10 in file order: each is either a text or a flag.
    QString* const textos[] = {&c.CarpetaDatos,
                               &c.PuntoControl,
                               nullptr,
                               nullptr,
                               nullptr,
                               &c.TamanoAvisoDesde,
                               &c.TamanoAvisoHasta,
                               &c.TamanoAvisoUrgente,
                               &c.TamanoLetraPlaca,
                               nullptr};
    bool* const banderas[] = {nullptr,
                              nullptr,
                              &c.RespaldoAutomatico,
                              &c.RegistroSucesos,
                              &c.AvisoTamanoBD,
                              nullptr,
                              nullptr,
                              nullptr,
                              nullptr,
                              &c.PlacaNegrita};
    int campo = 1;
    for (const QChar ch : elemento) {
        if (campo > 10)
            break;
        if (ch == QLatin1Char(';')) {
            ++campo;
        } else if (textos[campo - 1]) {
            *textos[campo - 1] += ch;
        } else if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) {
            *banderas[campo - 1] = ch != QLatin1Char('0');
        }
    }
}

QString LineaConfigNueva(const QString& carpetaDatos, const QString& puntoControl, bool servidor) {
    // Review between 1 and 2 GB of file, urgent beyond; a server holds ten times as much before
    // its administrator need look.
    const QString umbrales = servidor ? QStringLiteral("10000000000;19999999999;20000000000")
                                      : QStringLiteral("1000000000;1999999999;2000000000");
    return carpetaDatos + QLatin1Char(';') + puntoControl + QStringLiteral(";1;1;1;") + umbrales +
           QStringLiteral(";14;1");
}

QString CarpetaEstacionMenu() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QLatin1String("/vialtor");
}

namespace {

// Why the start cannot go on in the data folder the first log line could not be written to:
// the folder and what cannot be done there.
QString textoCarpetaDatos() {
    const QString carpeta = QFileInfo(CarpetaSucesos()).path();
    const QString nativa = QDir::toNativeSeparators(carpeta);
    const QString queNo =
        QStringLiteral("el registro de sucesos") +
        (ConfigInicio.Servidor.isEmpty() ? QStringLiteral(", los respaldos ni la base de datos")
                                         : QStringLiteral(" ni los respaldos"));
    if (!QFileInfo(carpeta).isDir())
        return QStringLiteral("La carpeta de datos no existe: ") + nativa + kCrLf + kCrLf +
               QStringLiteral("Sin ella no se pueden guardar ") + queNo +
               QStringLiteral(". Revise la carpeta de datos en vialtor.cfg.");
    return QStringLiteral("No se puede escribir en la carpeta de datos: ") + nativa + kCrLf +
           kCrLf + QStringLiteral("Allí no se pueden guardar ") + queNo +
           QStringLiteral(". Revise los permisos de la carpeta.");
}

ResultadoConfig fallar(ResultadoConfig resultado, const QString& suceso, const QString& texto) {
    MensajeSuceso = suceso;
    RegistrarSucesoInicio();
    Servicios().dialogos->mensaje(texto, QStringLiteral("Error de configuración"),
                                  Icono::Exclamacion);
    return resultado;
}

} // namespace

ResultadoConfig LeerConfigInicio() {
    ConfigInicio = RegistroConfigInicio();
    QFile archivo(Servicios().carpetas->carpetaTrabajo() + QLatin1String("/vialtor.cfg"));
    const bool leido = archivo.open(QIODevice::ReadOnly);
    const QString elemento = leido ? PrimerElemento(DeCp1252(archivo.readAll())) : QString();
    archivo.close();
    AplicarLineaConfig(elemento);
    ConfigInicio.Servidor = LeerConexionServidor(Servicios().carpetas->carpetaTrabajo());
    MensajeSuceso = QStringLiteral("Configuración de Inicio: ") + elemento;
    const bool registrado = RegistrarSucesoInicio();
    if (!leido || elemento.isEmpty())
        return fallar(
            ResultadoConfig::NoExiste,
            QStringLiteral("El archivo de configuración no existe - Error de configuración"),
            QStringLiteral("El archivo de configuración no existe"));
    if (!registrado) {
        const QString texto = textoCarpetaDatos();
        return fallar(ResultadoConfig::CarpetaDatosInaccesible, texto, texto);
    }
    if (ConfigInicio.PuntoControl.isEmpty()) {
        const QString texto = QStringLiteral(
            "El archivo de configuración es incorrecto - El punto de control no está asignado");
        return fallar(ResultadoConfig::SinPuntoControl, texto, texto);
    }
    return ResultadoConfig::Correcta;
}
