#include "principal/impresion.h"
#include "principal/ventanas.h"
#include "tests/comun/dobles.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStatusBar>

namespace {

constexpr double kPuntosPorMm = 72 / 25.4;

TrabajoImpresion trabajoDe(int lineas) {
    TrabajoImpresion trabajo;
    for (int n = 0; n < lineas; ++n)
        trabajo.lineas.append({QStringLiteral("Línea %1").arg(n)});
    return trabajo;
}

QByteArray leer(const QString& ruta) {
    QFile archivo(ruta);
    return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray();
}

// The page of a one-page PDF, in millimetres.
QSizeF paginaMm(const QByteArray& pdf) {
    const auto m = QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]"))
                       .match(QString::fromLatin1(pdf));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) / kPuntosPorMm
                        : QSizeF();
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
    QString impresiones() const { return carpetas.programa + QLatin1String("/impresiones"); }
    // The page a printer is asked for, seen through Qt's own PDF printer.
    QSizeF paginaEnImpresora(int lineas) {
        QPrinter impresora(QPrinter::HighResolution);
        impresora.setOutputFormat(QPrinter::PdfFormat);
        impresora.setOutputFileName(carpeta.filePath(QStringLiteral("impresora.pdf")));
        EXPECT_TRUE(ImprimirEn(impresora, trabajoDe(lineas)));
        return paginaMm(leer(impresora.outputFileName()));
    }
    QStatusBar barra;
};

TEST_F(PruebaImpresion, LaPaginaTiene80MmDeAnchoYElLargoDelContenido) {
    const QSizeF corta = paginaEnImpresora(3);
    const QSizeF de40 = paginaEnImpresora(40);
    const QSizeF de80 = paginaEnImpresora(80);
    for (const QSizeF& pagina : {corta, de40, de80})
        EXPECT_NEAR(pagina.width(), 80, 0.5);
    EXPECT_NEAR(corta.height(), 30, 0.5);
    // 8 mm of margins, then lines of Times 11 (about 4.5 mm each).
    EXPECT_NEAR(de40.height(), 8 + 40 * 4.5, 40 * 0.5);
    EXPECT_NEAR(de80.height() - 8, 2 * (de40.height() - 8), 1);

    const QString archivo = ImprimirEnPdf(trabajoDe(40), impresiones());
    EXPECT_NEAR(paginaMm(leer(archivo)).height(), de40.height(), 1);
}

TEST_F(PruebaImpresion, UnaImpresoraQueNoTomaElTrabajoLoDice) {
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setOutputFormat(QPrinter::PdfFormat);
    impresora.setOutputFileName(carpeta.filePath(QStringLiteral("no/existe/impresora.pdf")));
    EXPECT_FALSE(ImprimirEn(impresora, trabajoDe(3)));
}

TEST_F(PruebaImpresion, SinImpresoraCadaTicketQuedaEnteroEnUnPdfYSeDiceDonde) {
    ImprimirTicket(trabajoDe(5), QPrinterInfo());
    ImprimirTicket(trabajoDe(5), QPrinterInfo());

    const QStringList archivos = QDir(impresiones()).entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(archivos, QStringList({QStringLiteral("ticket_20261206_100000_000.pdf"),
                                     QStringLiteral("ticket_20261206_100000_000_2.pdf")}));
    for (const QString& nombre : archivos) {
        const QByteArray pdf = leer(impresiones() + QLatin1Char('/') + nombre);
        EXPECT_TRUE(pdf.startsWith("%PDF") && pdf.trimmed().endsWith("%%EOF"))
            << nombre.toStdString();
    }
    const QString aviso =
        QStringLiteral("Ticket no impreso (no hay impresora disponible): guardado en ") +
        QDir::toNativeSeparators(impresiones() +
                                 QLatin1String("/ticket_20261206_100000_000_2.pdf"));
    EXPECT_EQ(barra.currentMessage(), aviso);
    const QStringList sucesos = lineasSucesos();
    ASSERT_EQ(sucesos.size(), 2);
    EXPECT_TRUE(sucesos.last().endsWith(QLatin1Char(';') + aviso)) << sucesos.last().toStdString();
    EXPECT_TRUE(dialogos.cajas.isEmpty());
}

TEST_F(PruebaImpresion, SiNiElPdfSePuedeEscribirHayCajaYSuceso) {
    QFile estorbo(impresiones());
    ASSERT_TRUE(estorbo.open(QIODevice::WriteOnly));
    estorbo.close();

    ImprimirTicket(trabajoDe(5), QPrinterInfo());

    const QString aviso = QStringLiteral("Ticket no impreso (no hay impresora disponible) ni "
                                         "guardado en ") +
                          QDir::toNativeSeparators(impresiones());
    EXPECT_EQ(barra.currentMessage(), aviso);
    ASSERT_EQ(lineasSucesos().size(), 1);
    EXPECT_TRUE(lineasSucesos().first().endsWith(aviso));
    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_EQ(dialogos.cajas.first().icono, Icono::Critico);
    EXPECT_TRUE(dialogos.cajas.first().texto.startsWith(
        QStringLiteral("No se pudo imprimir el ticket (no hay impresora disponible) ni guardarlo "
                       "en la carpeta ") +
        QDir::toNativeSeparators(impresiones())));
    EXPECT_EQ(QDir(carpetas.programa).entryList({QStringLiteral("*.pdf")}, QDir::Files),
              QStringList());
}
