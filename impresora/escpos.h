#pragma once
// A print job as the bytes an ESC/POS thermal printer takes: the same lines the page shows,
// in the roll's columns, its text in code page CP858.

#include "impresora/configimpresora.h"
#include "principal/servicios.h"

#include <QByteArray>

// The text in CP858: control characters removed, so no typed text reaches the printer as a
// command, and what the page lacks as '?'.
QByteArray TextoCp858(const QString& texto);

// The pulse that opens the cash drawer.
QByteArray PulsoCajon();

// The whole job for a printer set as `config`: reset, code page, the lines (large as double
// height, bold as bold), the ticket's code as Code 128 (as an image with `raster`), the drawer
// pulse for a cash job with `cajon`, and the cut with `corte`.
QByteArray CodificarEscPos(const TrabajoImpresion& trabajo, const ConfigImpresora& config);
