#include "movimientos/codigoticket.h"
#include "movimientos/tickets.h"
#include "principal/parqueadero.h"
#include "principal/registros.h"
#include "principal/ui/impresion.h"
#include "tests/comun/dobles.h"

#include <QImage>
#include <QProcess>
#include <ZXing/ReadBarcode.h>

namespace {

constexpr int kDpiTermica = 203;

struct Lectura {
    QString texto;
    int derecha = 0; // the last bar's right edge, in pixels from the page's left edge
};

// What ZXing reads off an image, as a scanner would; empty when it reads no Code 128.
Lectura Leer(const QImage& imagen) {
    const QImage gris = imagen.convertToFormat(QImage::Format_Grayscale8);
    ZXing::DecodeHints pistas;
    pistas.setFormats(ZXing::BarcodeFormat::Code128);
    const ZXing::Result r =
        ZXing::ReadBarcode({gris.constBits(), gris.width(), gris.height(), ZXing::ImageFormat::Lum,
                            static_cast<int>(gris.bytesPerLine())},
                           pistas);
    if (!r.isValid())
        return {};
    return {QString::fromStdString(r.text()),
            qMax(r.position().topRight().x, r.position().bottomRight().x)};
}

class PruebaCodigoBarras : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        crearBaseDatos();
        CargarDatosParqueadero();
        DatosTicket.Placa = "ABC123";
        DatosTicket.CopiasEntrada = 1;
        DatosTicket.FechaEntrada = reloj.momento;
        clave = ClaveTickets();
    }
    // The entry ticket of `id` as the printer gets it.
    const TrabajoImpresion& imprimir(int32_t id) {
        DatosTicket.Numero = id;
        impresora.trabajos.clear();
        ImprimirTicketEntrada();
        return impresora.trabajos.at(0);
    }
    QByteArray clave;
};

// A thousand entry tickets drawn by the printing code at a thermal printer's resolution all
// read back, by ZXing, to their own entry; the bars end inside what a 58 mm roll prints.
TEST_F(PruebaCodigoBarras, MilTicketsSeLeenASuEntrada) {
    const int anchoRollo58 = qRound(48.0 * kDpiTermica / 25.4);
    int leidos = 0;
    for (int i = 0; i < 1000; ++i) {
        // Keys from the first to ten digits' worth, every digit position exercised.
        const int32_t id = i == 0 ? 1 : static_cast<int32_t>((int64_t{i} * 2147483) % 2147483647);
        const Lectura lectura = Leer(ImagenTicket(imprimir(id), kDpiTermica));
        EXPECT_EQ(EntradaDeCodigo(lectura.texto, clave), id) << i;
        EXPECT_LE(lectura.derecha, anchoRollo58) << i;
        leidos += EntradaDeCodigo(lectura.texto, clave) == id;
    }
    EXPECT_EQ(leidos, 1000);
}

// The PDF kept when no printer takes the ticket, turned into an image as a scanner sees paper,
// reads back to its entry.
TEST_F(PruebaCodigoBarras, TicketEnPdfSeLee) {
    const QString pdf = ImprimirEnPdf(imprimir(987654), carpetas.programa);
    ASSERT_FALSE(pdf.isEmpty());
    const QString png = carpetas.programa + "/ticket";
    ASSERT_EQ(QProcess::execute("pdftoppm", {"-r", QString::number(kDpiTermica), "-gray",
                                             "-singlefile", "-png", pdf, png}),
              0);
    EXPECT_EQ(EntradaDeCodigo(Leer(QImage(png + ".png")).texto, clave), 987654);
}

} // namespace
