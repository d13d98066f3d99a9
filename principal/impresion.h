#pragma once
// Drawing a print job: line after line from the top left, each in its own font.

#include "principal/servicios.h"

class QPainter;
class QPrinterInfo;

// Draws the lines inside `ancho` device pixels, wrapping what does not fit; returns the
// height used. Lines whose font cannot be had fall back to the previous line's font.
int DibujarLineas(QPainter& pintor, const TrabajoImpresion& trabajo, int ancho);

// One PDF per job, 80 mm wide and as long as its lines, written whole into `carpeta`.
// Returns the file's path, or an empty text when it could not be written.
QString ImprimirEnPdf(const TrabajoImpresion& trabajo, const QString& carpeta);
void ImprimirEnImpresora(const TrabajoImpresion& trabajo, const QPrinterInfo& impresora);
