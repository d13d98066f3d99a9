#include "principal/configinicio.h"
#include "principal/listados.h"
#include "principal/registros.h"
#include "principal/sucesos.h"
#include "principal/ui/impresion.h"
#include "principal/ui/servicios_qt.h"
#include "tests/comun/dobles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPrinterInfo>

// The real folder service on a build's layout and on an installed one, run from a station.
class PruebaCarpetas : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        previa = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(carpetas.trabajo));
    }
    void TearDown() override {
        QDir::setCurrent(previa);
        PruebaVialtor::TearDown();
    }
    // A folder under the test's own, made with the given subfolders.
    QString hacer(const QString& nombre, const QStringList& subcarpetas = {}) {
        const QString ruta = carpeta.filePath(nombre);
        QDir().mkpath(ruta);
        for (const QString& sub : subcarpetas)
            QDir().mkpath(ruta + '/' + sub);
        return ruta;
    }
    // Every file under `ruta`, relative to it.
    static QStringList archivosBajo(const QString& ruta) {
        QStringList archivos;
        for (QDirIterator i(ruta, QDir::Files, QDirIterator::Subdirectories); i.hasNext();)
            archivos << QDir(ruta).relativeFilePath(i.next());
        archivos.sort();
        return archivos;
    }
    QString previa;
};

// Root may write almost anywhere, so only what cannot hold a file at all says no for it.
TEST_F(PruebaCarpetas, SePuedeEscribirSoloDondeCabeUnArchivo) {
    QFile(carpeta.filePath("archivo")).open(QIODevice::WriteOnly);
    const std::pair<QString, bool> casos[] = {{carpeta.path(), true},
                                              {carpeta.filePath("no/existe"), false},
                                              {carpeta.filePath("archivo"), false},
                                              {"/proc", false}};
    for (const auto& [ruta, esperado] : casos)
        EXPECT_EQ(SePuedeEscribirEn(ruta), esperado) << ruta.toStdString();
    // The try leaves nothing behind.
    EXPECT_EQ(archivosBajo(carpeta.path()), QStringList({"archivo"}));
}

TEST_F(PruebaCarpetas, UnaCompilacionEscribeJuntoASiYUnaInstalacionEnLaEstacion) {
    const QString compilacion = hacer("build", {"ico", "img"});
    const QString instalada = hacer("raiz/usr/bin");
    hacer("raiz/usr/share/vialtor", {"ico", "img"});
    struct Caso {
        QString programa, escritura, recursos;
    } casos[] = {{compilacion, compilacion, compilacion},
                 // Writable here, as /usr/bin is for root: still not a place for a lot's files.
                 {instalada, carpetas.trabajo, carpeta.filePath("raiz/usr/share/vialtor")}};
    for (const Caso& c : casos) {
        const CarpetasSistema sistema(c.programa);
        EXPECT_EQ(sistema.carpetaPrograma(), c.escritura);
        EXPECT_EQ(sistema.carpetaRecursos(), c.recursos);
        EXPECT_EQ(sistema.carpetaTrabajo(), carpetas.trabajo);
    }
}

// The start-up log of a missing vialtor.cfg, a listing file and a ticket kept as a PDF all go to
// the station's folder, and each message names the path where the file really is.
TEST_F(PruebaCarpetas, InstaladoCadaArchivoVaALaEstacionYCadaMensajeLoNombraAlli) {
    const QString bin = hacer("raiz/usr/bin");
    hacer("raiz/usr/share/vialtor/ico");
    CarpetasSistema sistema(bin);
    Servicios().carpetas = &sistema;
    ConfigInicio.PuntoControl.clear();

    EXPECT_EQ(LeerConfigInicio(), ResultadoConfig::NoExiste);
    ConfigInicio.PuntoControl = "CAJA1";
    ASSERT_TRUE(GuardarListado("Listado.txt", {"a;b"}));
    InformarArchivoGenerado("Listado.txt");
    ASSERT_TRUE(ImprimirTicket(TrabajoImpresion{{{"Placa ABC123"}}}, QPrinterInfo()));

    const QString estacion = carpetas.trabajo;
    const QStringList archivos = archivosBajo(estacion);
    ASSERT_EQ(archivos.size(), 4) << archivos.join(' ').toStdString();
    EXPECT_TRUE(archivos[0] == "Listado.txt" && archivos[1].startsWith("impresiones/ticket_") &&
                archivos[2].startsWith("sucesos/") && archivos[3].startsWith("sucesos/"));
    EXPECT_TRUE(archivosBajo(carpeta.filePath("raiz")).isEmpty());
    EXPECT_TRUE(dialogos.textos()[0] == "El archivo de configuración no existe" &&
                dialogos.textos()[1].contains("Ubicación: " +
                                              QDir::toNativeSeparators(estacion + "/Listado.txt")));
    EXPECT_EQ(mensajes().last(), "Ticket no impreso (no hay impresora disponible): guardado en " +
                                     QDir::toNativeSeparators(estacion + '/' + archivos[1]));
}
