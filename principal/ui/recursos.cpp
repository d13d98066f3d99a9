#include "principal/ui/recursos.h"

#include "principal/servicios.h"

namespace {
QString ruta(const char* carpeta, const QString& archivo) {
    const QString base = Servicios().carpetas ? Servicios().carpetas->carpetaRecursos() : QString();
    return base + QLatin1Char('/') + QLatin1String(carpeta) + QLatin1Char('/') + archivo;
}
} // namespace

QIcon IconoPrograma(const QString& archivo) {
    return QIcon(ruta("ico", archivo));
}

QPixmap ImagenPrograma(const QString& archivo) {
    return QPixmap(ruta("img", archivo));
}
