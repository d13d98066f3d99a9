#include "principal/ui/impresion.h"
#include "principal/ui/ventanas.h"
#include "tests/comun/dobles.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStatusBar>

namespace {

TrabajoImpresion trabajoDe(int lineas) {
    TrabajoImpresion trabajo;
    for (int n = 0; n < lineas; ++n)
        trabajo.lineas.append({QStringLiteral("Línea %1").arg(n)});
    return trabajo;
}

// The page of a one-page PDF, in millimetres.
QSizeF paginaMm(const QString& ruta) {
    const auto m = QRegularExpression(R"(/MediaBox \[0 0 ([\d.]+) ([\d.]+)\])")
                       .match(QString::fromLatin1(LeerArchivo(ruta)));
    return QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) * 25.4 / 72;
}

} // namespace

class PruebaImpresion : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        EstablecerBarraEstado(&barra);
    }
    void TearDown() override {
        EstablecerBarraEstado(nullptr);
        PruebaVialtor::TearDown();
    }
    QString impresiones() const { return carpetas.programa + "/impresiones"; }
    // Whether a printer (Qt's own PDF printer, writing to `ruta`) takes the job.
    bool imprimirEn(const QString& ruta, int lineas) {
        QPrinter impresora(QPrinter::HighResolution);
        impresora.setOutputFormat(QPrinter::PdfFormat);
        impresora.setOutputFileName(carpeta.filePath(ruta));
        return ImprimirEn(impresora, trabajoDe(lineas));
    }
    QStatusBar barra;
};

// 80 mm wide and as long as the content; a printer that does not take the job says so.
TEST_F(PruebaImpresion, LaPaginaTiene80MmDeAnchoYElLargoDelContenido) {
    QSizeF paginas[3];
    for (const int i : {0, 1, 2}) {
        EXPECT_TRUE(imprimirEn("impresora.pdf", i == 0 ? 3 : 40 * i));
        paginas[i] = paginaMm(carpeta.filePath("impresora.pdf"));
        EXPECT_NEAR(paginas[i].width(), 80, 0.5);
    }
    EXPECT_NEAR(paginas[0].height(), 30, 0.5);
    // 8 mm of margins, then lines of Times 11 (about 4.5 mm each).
    EXPECT_NEAR(paginas[1].height(), 8 + 40 * 4.5, 40 * 0.5);
    EXPECT_NEAR(paginas[2].height() - 8, 2 * (paginas[1].height() - 8), 1);
    EXPECT_NEAR(paginaMm(ImprimirEnPdf(trabajoDe(40), impresiones())).height(), paginas[1].height(),
                1);
    EXPECT_FALSE(imprimirEn("no/existe/impresora.pdf", 3));
}

// Each ticket whole in a PDF of its own, and the status bar says where. With the folder taken by a
// file there is a box and a log line; a disk that fills up halfway is the file writer's own
// concern.
TEST_F(PruebaImpresion, SinImpresoraCadaTicketQuedaEnteroEnUnPdfOHayCajaYSuceso) {
    EXPECT_TRUE(ImprimirTicket(trabajoDe(5), QPrinterInfo()));
    ImprimirTicket(trabajoDe(5), QPrinterInfo());
    const QStringList archivos = QDir(impresiones()).entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(archivos,
              QStringList({"ticket_20261206_100000_000.pdf", "ticket_20261206_100000_000_2.pdf"}));
    for (const QString& nombre : archivos) {
        const QByteArray pdf = LeerArchivo(impresiones() + '/' + nombre);
        EXPECT_TRUE(pdf.startsWith("%PDF") && pdf.trimmed().endsWith("%%EOF"));
    }
    const QString lugar = QDir::toNativeSeparators(impresiones());
    const QString guardado = "Ticket no impreso (no hay impresora disponible): guardado en " +
                             lugar + QDir::separator() + archivos[1];
    EXPECT_EQ(barra.currentMessage(), guardado);
    EXPECT_TRUE(dialogos.cajas.isEmpty());

    ASSERT_TRUE(QDir(impresiones()).removeRecursively() &&
                QFile(impresiones()).open(QIODevice::WriteOnly));
    EXPECT_FALSE(ImprimirTicket(trabajoDe(5), QPrinterInfo()));
    const QString aviso = "Ticket no impreso (no hay impresora disponible) ni guardado en " + lugar;
    EXPECT_EQ(barra.currentMessage(), aviso);
    EXPECT_EQ(mensajes().mid(1), QStringList({guardado, aviso}));
    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_TRUE(
        dialogos.cajas[0].icono == Icono::Critico &&
        dialogos.cajas[0].texto.startsWith("No se pudo imprimir el ticket (no hay impresora "
                                           "disponible) ni guardarlo en la carpeta " +
                                           lugar));
    EXPECT_TRUE(QDir(carpetas.programa).entryList({"*.pdf"}, QDir::Files).isEmpty());
    EXPECT_FALSE(PdfCompleto(QByteArray("%PDF-1.4\n").append(4000, 'x')));
}
