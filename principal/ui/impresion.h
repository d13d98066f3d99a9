#pragma once
// Printing a ticket: on its own page, 80 mm wide and as long as its lines, on the default
// printer; when no printer takes it, as a PDF beside the program, telling the attendant where.

#include "principal/servicios.h"

#include <QByteArray>

class QImage;
class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QPrinterInfo;

// Draws the lines inside `ancho` device pixels, wrapping what does not fit, a line of
// barcode digits as its bars; returns the height used. Lines whose font cannot be had fall back to
// the previous line's font.
int DibujarLineas(QPainter& pintor, const TrabajoImpresion& trabajo, int ancho);

// Gives `dispositivo` a page 80 mm wide and as long as the job's lines.
void AjustarPagina(QPagedPaintDevice& dispositivo, const TrabajoImpresion& trabajo);

// The job as a thermal printer of `dpi` dots per inch prints it on its 80 mm page, margins
// included: what a scanner reads off the paper.
QImage ImagenTicket(const TrabajoImpresion& trabajo, int dpi);

// A whole PDF document: its header first and its end-of-file mark last.
bool PdfCompleto(const QByteArray& pdf);

// One PDF per job on its own page, written whole into `carpeta`. Returns the file's path, or
// an empty text when it could not be written.
QString ImprimirEnPdf(const TrabajoImpresion& trabajo, const QString& carpeta);

// One job on its own page; false when the printer did not take it.
bool ImprimirEn(QPrinter& impresora, const TrabajoImpresion& trabajo);

// Keeps a job no printer took as a PDF in "impresiones" beside the program and says where and
// `motivo`, in the status bar and the event log, or, when even that fails, in a box. False only
// in that last case; `archivo`, when given, gets the PDF's path.
bool GuardarSinImprimir(const TrabajoImpresion& trabajo, const QString& motivo,
                        QString* archivo = nullptr);

// Prints on `impresora` when it takes jobs; otherwise keeps the ticket as a PDF in
// "impresiones" beside the program and says where, in the status bar and the event log, or,
// when even that fails, in a box. False only in that last case.
// `enPapel`, when given, tells whether the printer took it.
bool ImprimirTicket(const TrabajoImpresion& trabajo, const QPrinterInfo& impresora,
                    bool* enPapel = nullptr);
