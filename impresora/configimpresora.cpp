#include "impresora/configimpresora.h"

#include <QFile>
#include <QStringList>
#include <algorithm>
#include <iterator>

namespace {

constexpr int kPuertoRed = 9100;
constexpr int kVelocidadSerie = 9600;
const int kVelocidades[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

QString campoIncorrecto(const char* campo, const QString& valor, const QString& motivo) {
    return QStringLiteral("el campo %1 (\"%2\") no es válido: %3")
        .arg(QString::fromUtf8(campo), valor, motivo);
}

std::optional<ClaseImpresora> leerClase(const QString& texto) {
    if (texto == QLatin1String("red"))
        return ClaseImpresora::Red;
    if (texto == QLatin1String("usb"))
        return ClaseImpresora::Usb;
    if (texto == QLatin1String("serie"))
        return ClaseImpresora::Serie;
    return std::nullopt;
}

// "HOST[:PORT]" or "DEVICE[:SPEED]": the number after the last colon, or `porDefecto`.
QString leerDireccion(const QString& texto, ConfigImpresora& c, int porDefecto) {
    const int dosPuntos = texto.lastIndexOf(QLatin1Char(':'));
    c.direccion = dosPuntos < 0 ? texto : texto.left(dosPuntos);
    c.puertoOVelocidad = porDefecto;
    if (c.direccion.isEmpty())
        return campoIncorrecto("DIRECCIÓN", texto, QStringLiteral("falta la dirección"));
    if (dosPuntos < 0)
        return QString();
    const QString numero = texto.mid(dosPuntos + 1);
    bool ok = false;
    c.puertoOVelocidad = numero.toInt(&ok);
    if (c.clase == ClaseImpresora::Red &&
        (!ok || c.puertoOVelocidad < 1 || c.puertoOVelocidad > 65535))
        return campoIncorrecto("DIRECCIÓN", texto,
                               QStringLiteral("el puerto debe ser un número de 1 a 65535"));
    if (c.clase == ClaseImpresora::Serie &&
        (!ok || std::find(std::begin(kVelocidades), std::end(kVelocidades), c.puertoOVelocidad) ==
                    std::end(kVelocidades)))
        return campoIncorrecto(
            "DIRECCIÓN", texto,
            QStringLiteral("la velocidad debe ser 1200, 2400, 4800, 9600, 19200, 38400, 57600 o "
                           "115200"));
    return QString();
}

QString leerDestino(const QString& texto, ConfigImpresora& c) {
    switch (c.clase) {
    case ClaseImpresora::Red:
        return leerDireccion(texto, c, kPuertoRed);
    case ClaseImpresora::Serie:
        return leerDireccion(texto, c, kVelocidadSerie);
    case ClaseImpresora::Usb:
        c.direccion = texto;
        if (!texto.startsWith(QLatin1Char('/')))
            return campoIncorrecto("DIRECCIÓN", texto,
                                   QStringLiteral("debe ser la ruta del dispositivo, como "
                                                  "/dev/usb/lp0"));
        return QString();
    }
    return QString();
}

QString leerOpciones(const QString& texto, ConfigImpresora& c) {
    for (const QString& opcion : texto.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString o = opcion.trimmed();
        if (o == QLatin1String("corte"))
            c.corte = true;
        else if (o == QLatin1String("cajon") || o == QStringLiteral("cajón"))
            c.cajon = true;
        else if (o == QLatin1String("raster"))
            c.raster = true;
        else
            return campoIncorrecto("OPCIONES", o, QStringLiteral("use corte, cajon o raster"));
    }
    return QString();
}

QString leerCampos(const QStringList& campos, ConfigImpresora& c) {
    const std::optional<ClaseImpresora> clase = leerClase(campos[0]);
    if (!clase)
        return campoIncorrecto("TIPO", campos[0], QStringLiteral("use red, usb o serie"));
    c.clase = *clase;
    if (QString error = leerDestino(campos[1], c); !error.isEmpty())
        return error;
    if (campos[2] != QLatin1String("58") && campos[2] != QLatin1String("80"))
        return campoIncorrecto("ANCHO", campos[2], QStringLiteral("use 58 u 80 (mm)"));
    c.anchoMm = campos[2].toInt();
    return campos.size() > 3 ? leerOpciones(campos[3], c) : QString();
}

LecturaImpresora danada(const QString& motivo) {
    return {std::nullopt, kArchivoImpresora + QStringLiteral(": ") + motivo +
                              QStringLiteral(". Los tickets se imprimirán como siempre hasta que "
                                             "se corrija la línea TIPO;DIRECCIÓN;ANCHO;OPCIONES.")};
}

} // namespace

LecturaImpresora LeerLineaImpresora(const QString& linea) {
    QStringList campos = linea.trimmed().split(QLatin1Char(';'));
    for (QString& campo : campos)
        campo = campo.trimmed();
    if (campos.size() < 3 || campos.size() > 4)
        return danada(QStringLiteral("la línea tiene %1 campos y debe tener 4").arg(campos.size()));
    ConfigImpresora config;
    if (const QString error = leerCampos(campos, config); !error.isEmpty())
        return danada(error);
    return {config, QString()};
}

LecturaImpresora LeerConfigImpresora(const QString& carpeta) {
    QFile archivo(carpeta + QLatin1Char('/') + kArchivoImpresora);
    if (!archivo.exists())
        return {};
    if (!archivo.open(QIODevice::ReadOnly))
        return danada(QStringLiteral("no se puede leer (%1)").arg(archivo.errorString()));
    QString contenido = QString::fromUtf8(archivo.readAll());
    // Windows' Notepad starts its UTF-8 files with a byte-order mark.
    if (contenido.startsWith(QChar(0xFEFF)))
        contenido.remove(0, 1);
    const QString linea = contenido.section(QLatin1Char('\n'), 0, 0);
    if (linea.trimmed().isEmpty())
        return danada(QStringLiteral("está vacío"));
    return LeerLineaImpresora(linea);
}
