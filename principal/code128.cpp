#include "principal/code128.h"

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

std::vector<bool> ModulosCode128(const QString& digitos) {
    const ZXing::BitMatrix matriz = ZXing::MultiFormatWriter(ZXing::BarcodeFormat::Code128)
                                        .setMargin(0)
                                        .encode(digitos.toStdString(), 0, 1);
    std::vector<bool> modulos(static_cast<size_t>(matriz.width()));
    for (int x = 0; x < matriz.width(); ++x)
        modulos[static_cast<size_t>(x)] = matriz.get(x, 0);
    return modulos;
}
