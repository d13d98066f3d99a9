#pragma once
// The modules of a Code 128 symbol as ZXing encodes it, for whatever draws the bars: the
// printed page, the PDF, a thermal printer's image.

#include <QString>
#include <vector>

// Dark (true) or light, left to right, without quiet zones.
std::vector<bool> ModulosCode128(const QString& digitos);
