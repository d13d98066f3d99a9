#include "acceso/parqueadero.h"
#include "movimientos/codigoticket.h"
#include "movimientos/tickets.h"
#include "principal/registros.h"
#include "principal/ui/impresion.h"
#include "tests/comun/dobles.h"

#include <QImage>
#include <QProcess>
#include <ZXing/ReadBarcode.h>

namespace {

// What ZXing reads off an image, as a scanner would, and the last bar's right edge in pixels.
std::pair<QString, int> Leer(const QImage& imagen) {
    const QImage g = imagen.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::Result r = ZXing::ReadBarcode(
        {g.constBits(), g.width(), g.height(), ZXing::ImageFormat::Lum, int(g.bytesPerLine())},
        ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::Code128));
    return {QString::fromStdString(r.text()), r.position().topRight().x};
}

// A thousand entry tickets drawn by the printing code at a thermal printer's 203 dpi all read
// back to their own entry, the bars inside the 48 mm a 58 mm roll prints; so does the PDF kept
// when no printer takes a ticket, seen at 203 dpi as a scanner sees the paper.
TEST_F(PruebaVialtor, TicketsDeEntradaSeLeenASuEntrada) {
    crearBaseDatos();
    CargarDatosParqueadero();
    DatosTicket.Placa = "ABC123", DatosTicket.CopiasEntrada = 1;
    const QByteArray clave = ClaveTickets();
    const auto imprimir = [this](int32_t id) {
        DatosTicket.Numero = id;
        impresora.trabajos.clear();
        ImprimirTicketEntrada(std::nullopt);
        return impresora.trabajos.value(0);
    };
    int leidos = 0;
    for (int64_t i = 1; i <= 1000; ++i) {
        const auto id = static_cast<int32_t>(i * 2147483 % 2147483647);
        const auto [texto, derecha] = Leer(ImagenTicket(imprimir(id), 203));
        EXPECT_LE(derecha, qRound(48 * 203 / 25.4)) << id;
        leidos += EntradaDeCodigo(texto, clave) == id;
    }
    EXPECT_EQ(leidos, 1000);
    const QString pdf = ImprimirEnPdf(imprimir(987654), carpetas.programa), png = pdf + ".png";
    ASSERT_EQ(QProcess::execute("pdftoppm", {"-r", "203", "-singlefile", "-png", pdf, pdf}), 0);
    EXPECT_EQ(EntradaDeCodigo(Leer(QImage(png)).first, clave), 987654);
}

} // namespace
