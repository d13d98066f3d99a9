#include "dobles.h"

#include "conexion.h"
#include "cp1252.h"
#include "crearbd.h"
#include "registros.h"
#include "sucesos.h"

#include <QDir>
#include <QFile>

QMessageBox::StandardButton DialogosGuion::mensaje(const QString& texto, const QString& titulo,
                                                   QMessageBox::Icon icono,
                                                   QMessageBox::StandardButtons botones,
                                                   QMessageBox::StandardButton predeterminado) {
    cajas.append({texto, titulo, icono, botones, false});
    if (!respuestas.isEmpty())
        return respuestas.takeFirst();
    if (predeterminado != QMessageBox::NoButton)
        return predeterminado;
    for (int b = QMessageBox::FirstButton; b <= QMessageBox::LastButton; b <<= 1)
        if (botones.testFlag(static_cast<QMessageBox::StandardButton>(b)))
            return static_cast<QMessageBox::StandardButton>(b);
    return QMessageBox::Ok;
}

QString DialogosGuion::entrada(const QString& texto, const QString& titulo,
                               const QString& predeterminado) {
    cajas.append({texto, titulo, QMessageBox::NoIcon, {}, true});
    return entradas.isEmpty() ? predeterminado : entradas.takeFirst();
}

QStringList DialogosGuion::textos() const {
    QStringList t;
    for (const CajaMostrada& c : cajas)
        t << c.texto;
    return t;
}

QStringList ImpresoraGrabadora::textos(int trabajo) const {
    QStringList t;
    for (const LineaImpresion& l : trabajos.at(trabajo).lineas)
        t << l.texto;
    return t;
}

void PruebaVialtor::SetUp() {
    ASSERT_TRUE(carpeta.isValid());
    CerrarConexion();
    ReiniciarRegistros();
    carpetas.programa = carpeta.path() + QLatin1String("/programa");
    carpetas.trabajo = carpeta.path() + QLatin1String("/trabajo");
    QDir().mkpath(carpetas.programa);
    QDir().mkpath(carpetas.trabajo);
    Servicios() = {&dialogos, &reloj, &impresora, &carpetas};
    ConfigInicio.PuntoControl = QStringLiteral("CAJA1");
}

void PruebaVialtor::TearDown() {
    Conexion.fallarSentencia(0);
    CerrarConexion();
    Servicios() = {};
}

void PruebaVialtor::crearBaseDatos() {
    CrearBaseDatos(carpetas.programa, QStringLiteral("admin"), QStringLiteral("admin"));
}

QStringList PruebaVialtor::lineasSucesos() const {
    QFile archivo(CarpetaSucesos() + QLatin1Char('/') + NombreArchivoSucesos(reloj.momento.date()));
    if (!archivo.open(QIODevice::ReadOnly))
        return {};
    QStringList lineas = DeCp1252(archivo.readAll()).split(QStringLiteral("\r\n"));
    if (!lineas.isEmpty() && lineas.last().isEmpty())
        lineas.removeLast();
    return lineas;
}
