#include "principal/servicios.h"

#include "bd/conversiones.h"
#include "principal/formatos.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

ServiciosPrincipal& Servicios() {
    static ServiciosPrincipal servicios;
    return servicios;
}

void Dialogos::listado(const QStringList& lineas, const QString& titulo,
                       const std::function<void()>&) {
    mensaje(lineas.join(kCrLf), titulo, Icono::Informacion);
}

void TrabajoImpresion::marcarCopia(const QDateTime& reimpresion) {
    const QString fuente = QStringLiteral("Times New Roman");
    lineas = QVector<LineaImpresion>{{QStringLiteral("*** COPIA ***"), fuente, 18, true},
                                     {QStringLiteral("Reimpresión: ") + FechaHoraTexto(reimpresion),
                                      fuente, 11, true},
                                     {QStringLiteral(" "), fuente, 11, false}} +
             lineas;
}

void Informar(const QString& texto, const QString& titulo) {
    Servicios().dialogos->mensaje(texto, titulo, Icono::Informacion);
}

bool PreguntarSiNo(const QString& texto, const QString& titulo) {
    return Servicios().dialogos->mensaje(texto, titulo, Icono::Informacion,
                                         Boton::Si | Boton::No) == Boton::Si;
}

QString CarpetaRecursos(const QString& programa, const QString& instalados) {
    if (QFileInfo(programa + QLatin1String("/ico")).isDir())
        return programa;
    return QDir::cleanPath(programa + QLatin1Char('/') + instalados);
}

bool SePuedeEscribirEn(const QString& carpeta) {
    if (!QFileInfo(carpeta).isDir())
        return false;
    QTemporaryFile prueba(carpeta + QLatin1String("/.vialtor-XXXXXX"));
    return prueba.open();
}
