#include "principal/listados.h"

#include "principal/archivos.h"
#include "principal/cp1252.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"

#include <QDir>
#include <algorithm>

QString CampoCsv(const QString& valor, bool texto) {
    static const QString kInicioFormula = QStringLiteral("=+-@");
    const bool formula = texto && !valor.isEmpty() && kInicioFormula.contains(valor.front());
    // One look at each character: a listing passes every cell of a month through here.
    const bool comillas = std::any_of(valor.begin(), valor.end(), [](QChar c) {
        return c == u';' || c == u'"' || c == u'\r' || c == u'\n';
    });
    if (!formula && !comillas)
        return valor;
    QString campo = formula ? QLatin1Char('\'') + valor : valor;
    if (!comillas)
        return campo;
    campo.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + campo + QLatin1Char('"');
}

QString RutaListado(const QString& nombre) {
    return QDir::toNativeSeparators(Servicios().carpetas->carpetaPrograma() + QLatin1Char('/') +
                                    nombre);
}

bool GuardarListado(const QString& nombre, const QStringList& lineas) {
    qsizetype largo = 0;
    for (const QString& linea : lineas)
        largo += linea.size() + 2;
    QByteArray bytes;
    bytes.reserve(largo);
    for (const QString& linea : lineas) {
        AgregarCp1252(bytes, linea);
        bytes += "\r\n";
    }
    return GuardarBytesListado(nombre, bytes);
}

bool GuardarBytesListado(const QString& nombre, const QByteArray& bytes) {
    QString error;
    if (EscribirArchivo(Servicios().carpetas->carpetaPrograma() + QLatin1Char('/') + nombre, bytes,
                        &error))
        return true;
    const QString ruta = RutaListado(nombre);
    Registrar(QStringLiteral("No se pudo escribir el archivo ") + ruta + QStringLiteral(": ") +
              error);
    Servicios().dialogos->mensaje(
        QStringLiteral("No se pudo escribir el archivo ") + ruta +
            QStringLiteral(".\n\nCompruebe que la carpeta permite escribir y que el archivo no "
                           "esté abierto en otro programa, y vuelva a intentarlo."),
        TituloAplicacion, Icono::Exclamacion);
    return false;
}

void InformarArchivoGenerado(const QString& nombre) {
    Informar(QStringLiteral("Archivo generado: ") + nombre +
             QStringLiteral("\nFormato: Delimitado por puntos y coma (CSV).\n\nUbicación: ") +
             RutaListado(nombre) +
             QStringLiteral("\n\nPuede, a modo ejemplo, abrirlo desde Excel y organizar la "
                            "información como requiera."));
}
