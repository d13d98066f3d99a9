#include "principal/impresion.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

namespace {

constexpr double kAnchoReciboMm = 80.0;
constexpr double kMargenMm = 4.0;

QFont fuenteDe(const LineaImpresion& linea) {
    QFont fuente(linea.fuente);
    if (linea.tamano > 0)
        fuente.setPointSizeF(linea.tamano);
    fuente.setBold(linea.negrita);
    return fuente;
}

QRect rectanguloLinea(QPainter& pintor, const QString& texto, int y, int ancho) {
    return pintor.boundingRect(QRect(0, y, ancho, 100000), Qt::AlignLeft | Qt::TextWordWrap,
                               texto.isEmpty() ? QStringLiteral(" ") : texto);
}

QString nombreLibre(const QString& carpeta) {
    const QString base =
        carpeta + QLatin1String("/ticket_") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss_zzz"));
    QString nombre = base + QLatin1String(".pdf");
    for (int n = 2; QFileInfo::exists(nombre); ++n)
        nombre = base + QStringLiteral("_%1.pdf").arg(n);
    return nombre;
}

} // namespace

int DibujarLineas(QPainter& pintor, const TrabajoImpresion& trabajo, int ancho) {
    int y = 0;
    for (const LineaImpresion& linea : trabajo.lineas) {
        if (linea.tamano > 0)
            pintor.setFont(fuenteDe(linea));
        const QRect r = rectanguloLinea(pintor, linea.texto, y, ancho);
        pintor.drawText(r, Qt::AlignLeft | Qt::TextWordWrap, linea.texto);
        y += r.height();
    }
    return y;
}

QString ImprimirEnPdf(const TrabajoImpresion& trabajo, const QString& carpeta) {
    QDir().mkpath(carpeta);
    const QString nombre = nombreLibre(carpeta);
    // A first pass measures the job so the page is exactly as long as the ticket.
    QImage medida(1, 1, QImage::Format_RGB32);
    medida.setDotsPerMeterX(1200 / 0.0254);
    medida.setDotsPerMeterY(1200 / 0.0254);
    QPainter medidor(&medida);
    const int anchoPx = static_cast<int>((kAnchoReciboMm - 2 * kMargenMm) / 25.4 * 1200);
    const int altoPx = DibujarLineas(medidor, trabajo, anchoPx);
    medidor.end();
    const double altoMm = altoPx / 1200.0 * 25.4 + 2 * kMargenMm;

    QSaveFile archivo(nombre);
    if (!archivo.open(QIODevice::WriteOnly))
        return QString();
    {
        QPdfWriter pdf(&archivo);
        pdf.setResolution(1200);
        pdf.setPageSize(QPageSize(QSizeF(kAnchoReciboMm, qMax(altoMm, 30.0)), QPageSize::Millimeter,
                                  QStringLiteral("Recibo")));
        pdf.setPageMargins(QMarginsF(kMargenMm, kMargenMm, kMargenMm, kMargenMm),
                           QPageLayout::Millimeter);
        pdf.setTitle(QStringLiteral("Vialtor"));
        QPainter pintor(&pdf);
        DibujarLineas(pintor, trabajo, pintor.viewport().width());
    }
    return archivo.commit() ? nombre : QString();
}

void ImprimirEnImpresora(const TrabajoImpresion& trabajo, const QPrinterInfo& impresora) {
    QPrinter printer(impresora);
    printer.setCopyCount(1);
    printer.setDocName(QStringLiteral("Vialtor"));
    QPainter pintor;
    if (!pintor.begin(&printer))
        return;
    DibujarLineas(pintor, trabajo, pintor.viewport().width());
    pintor.end();
}
