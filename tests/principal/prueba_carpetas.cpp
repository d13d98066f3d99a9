#include "principal/configinicio.h"
#include "principal/listados.h"
#include "principal/registros.h"
#include "principal/ui/impresion.h"
#include "principal/ui/servicios_qt.h"
#include "tests/comun/dobles.h"

#include <QDir>
#include <QDirIterator>
#include <QPrinterInfo>

namespace {
// Every file under `ruta`, relative to it, sorted.
QStringList archivosBajo(const QString& ruta) {
    QStringList archivos;
    for (QDirIterator i(ruta, QDir::Files, QDirIterator::Subdirectories); i.hasNext();)
        archivos << QDir(ruta).relativeFilePath(i.next());
    archivos.sort();
    return archivos;
}
} // namespace

// The real folder service on a build's layout and on an installed one (writable, as /usr/bin
// is for root), run from a station's folder. Only a folder that cannot hold a file is
// unwritable for root, and the try leaves nothing behind.
TEST_F(PruebaVialtor, UnaCompilacionEscribeJuntoASiYUnaInstalacionEnLaEstacion) {
    for (const char* sub : {"build/ico", "raiz/usr/bin", "raiz/usr/share/vialtor/ico"})
        QDir().mkpath(carpeta.filePath(sub));
    for (const QString& ruta :
         {carpeta.filePath("no"), carpeta.filePath("raiz/usr/bin"), QStringLiteral("/proc")})
        EXPECT_EQ(SePuedeEscribirEn(ruta), ruta.endsWith("bin")) << ruta.toStdString();
    const QString bin = carpeta.filePath("raiz/usr/bin");
    struct Volver {
        QString a;
        ~Volver() { QDir::setCurrent(a); }
    } volver{QDir::currentPath()};
    QDir::setCurrent(carpetas.trabajo);
    CarpetasSistema compilacion(carpeta.filePath("build")), instalada(bin);
    EXPECT_EQ(compilacion.carpetaPrograma() + compilacion.carpetaRecursos(),
              carpeta.filePath("build") + carpeta.filePath("build"));
    EXPECT_EQ(instalada.carpetaPrograma() + instalada.carpetaRecursos(),
              carpetas.trabajo + carpeta.filePath("raiz/usr/share/vialtor"));

    // The start-up log of a missing vialtor.cfg, a listing file and a ticket kept as a PDF
    // all go to the station, and each message names the path where the file really is.
    Servicios().carpetas = &instalada;
    ConfigInicio.PuntoControl.clear();
    EXPECT_EQ(LeerConfigInicio(), ResultadoConfig::NoExiste);
    ConfigInicio.PuntoControl = "CAJA1";
    ASSERT_TRUE(GuardarListado("Listado.txt", {"a;b"}));
    InformarArchivoGenerado("Listado.txt");
    ASSERT_TRUE(ImprimirTicket(TrabajoImpresion{{{"ABC123"}}}, QPrinterInfo()));
    const QStringList archivos = archivosBajo(carpetas.trabajo);
    ASSERT_EQ(archivos.size(), 4) << archivos.join(' ').toStdString();
    EXPECT_TRUE(archivos[0] == "Listado.txt" && archivos[1].startsWith("impresiones/") &&
                archivos[3].startsWith("sucesos/") && archivosBajo(bin).isEmpty());
    EXPECT_TRUE(dialogos.textos().value(1).contains(
        "Ubicación: " + QDir::toNativeSeparators(carpetas.trabajo + "/Listado.txt")));
    EXPECT_EQ(ultimoMensaje(), "Ticket no impreso (no hay impresora disponible): guardado en " +
                                   QDir::toNativeSeparators(carpetas.trabajo + '/' + archivos[1]));
}
