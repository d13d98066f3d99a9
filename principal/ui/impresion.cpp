#include "principal/ui/impresion.h"

#include "principal/archivos.h"
#include "principal/code128.h"
#include "principal/sucesos.h"
#include "principal/ui/ventanas.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

constexpr double kAnchoReciboMm = 80.0;
constexpr double kAltoMinimoMm = 30.0;
constexpr double kMargenMm = 4.0;
constexpr double kMmPorPulgada = 25.4;
// Two dots of a 203 dpi thermal head per module: a 20-digit code with its quiet zones is
// about 41 mm, inside the 48 mm a 58 mm roll prints.
constexpr double kModuloMm = 0.25;
constexpr double kAltoBarrasMm = 10.0;
constexpr int kModulosSilencio = 10;

// A whole number of device pixels per module, so every bar of one width comes out alike;
// narrower only when the line is narrower than the symbol.
int pixelesModulo(const QPainter& pintor, int modulos, int ancho) {
    const int dpi = pintor.device() ? pintor.device()->logicalDpiX() : 203;
    const int deseado = qMax(1, qRound(kModuloMm * dpi / kMmPorPulgada));
    return qMax(1, qMin(deseado, ancho / (modulos + 2 * kModulosSilencio)));
}

// The barcode of a line, left-aligned after its quiet zone; its height in device pixels.
int dibujarBarras(QPainter& pintor, const QString& digitos, int y, int ancho) {
    const std::vector<bool> modulos = ModulosCode128(digitos);
    const int modulo = pixelesModulo(pintor, static_cast<int>(modulos.size()), ancho);
    const int dpiY = pintor.device() ? pintor.device()->logicalDpiY() : 203;
    const int alto = qRound(kAltoBarrasMm * dpiY / kMmPorPulgada);
    for (size_t i = 0; i < modulos.size(); ++i)
        if (modulos[i])
            pintor.fillRect((kModulosSilencio + static_cast<int>(i)) * modulo, y, modulo, alto,
                            Qt::black);
    return alto;
}

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

QPageSize paginaDeAlto(double altoMm) {
    return QPageSize(QSizeF(kAnchoReciboMm, qMax(altoMm, kAltoMinimoMm)), QPageSize::Millimeter,
                     QStringLiteral("Recibo"));
}

// The lines' height in device pixels at `dpi`, drawn on a scratch image.
int altoLineas(const TrabajoImpresion& trabajo, int anchoPx, int dpi) {
    QImage medida(1, 1, QImage::Format_RGB32);
    medida.setDotsPerMeterX(qRound(dpi / kMmPorPulgada * 1000));
    medida.setDotsPerMeterY(qRound(dpi / kMmPorPulgada * 1000));
    QPainter medidor(&medida);
    return DibujarLineas(medidor, trabajo, anchoPx);
}

QString nombreLibre(const QString& carpeta) {
    const QString base = carpeta + QLatin1String("/ticket_") +
                         Servicios().reloj->ahora().toString(QStringLiteral("yyyyMMdd_HHmmss_zzz"));
    QString nombre = base + QLatin1String(".pdf");
    for (int n = 2; QFileInfo::exists(nombre); ++n)
        nombre = base + QStringLiteral("_%1.pdf").arg(n);
    return nombre;
}

// CUPS tells whether a queue takes jobs only through its own tools, and Qt drops the
// spooler's refusal; without lpstat (other systems) the queue is taken as accepting.
bool aceptaTrabajos(const QString& impresora) {
    const QString lpstat = QStandardPaths::findExecutable(QStringLiteral("lpstat"));
    if (lpstat.isEmpty())
        return true;
    QProcess consulta;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    consulta.setProcessEnvironment(entorno);
    consulta.start(lpstat, {QStringLiteral("-a"), impresora});
    if (!consulta.waitForFinished(3000)) {
        consulta.kill();
        consulta.waitForFinished();
        return false;
    }
    return consulta.exitStatus() == QProcess::NormalExit && consulta.exitCode() == 0 &&
           !consulta.readAllStandardOutput().contains("not accepting");
}

// Why `impresora` cannot take a job, as the attendant reads it; empty when it can.
QString motivoSinImprimir(const QPrinterInfo& impresora) {
    if (impresora.isNull())
        return QStringLiteral("no hay impresora disponible");
    const QString nombre = impresora.printerName();
    if (impresora.state() == QPrinter::Error || impresora.state() == QPrinter::Aborted)
        return QStringLiteral("la impresora %1 está en pausa o con error").arg(nombre);
    if (!aceptaTrabajos(nombre))
        return QStringLiteral("la impresora %1 no acepta trabajos").arg(nombre);
    return QString();
}

void avisar(const QString& aviso) {
    MostrarEnBarraEstado(aviso);
    Registrar(aviso);
}

} // namespace

int DibujarLineas(QPainter& pintor, const TrabajoImpresion& trabajo, int ancho) {
    int y = 0;
    for (const LineaImpresion& linea : trabajo.lineas) {
        if (!linea.barras.isEmpty()) {
            y += dibujarBarras(pintor, linea.barras, y, ancho);
            continue;
        }
        if (linea.tamano > 0)
            pintor.setFont(fuenteDe(linea));
        const QRect r = rectanguloLinea(pintor, linea.texto, y, ancho);
        pintor.drawText(r, Qt::AlignLeft | Qt::TextWordWrap, linea.texto);
        y += r.height();
    }
    return y;
}

void AjustarPagina(QPagedPaintDevice& dispositivo, const TrabajoImpresion& trabajo) {
    dispositivo.setPageSize(paginaDeAlto(kAltoMinimoMm));
    // A printer may keep wider margins of its own; the lines are measured inside those.
    dispositivo.setPageMargins(QMarginsF(kMargenMm, kMargenMm, kMargenMm, kMargenMm),
                               QPageLayout::Millimeter);
    const QPageLayout pagina = dispositivo.pageLayout();
    const int dpi = dispositivo.logicalDpiY();
    const int alto = altoLineas(trabajo, pagina.paintRectPixels(dpi).width(), dpi);
    const QMarginsF margenes = pagina.margins(QPageLayout::Millimeter);
    dispositivo.setPageSize(
        paginaDeAlto(alto * kMmPorPulgada / dpi + margenes.top() + margenes.bottom()));
}

QImage ImagenTicket(const TrabajoImpresion& trabajo, int dpi) {
    const int puntosPorMetro = qRound(dpi / kMmPorPulgada * 1000);
    const auto pixeles = [dpi](double mm) { return qRound(mm * dpi / kMmPorPulgada); };
    const int margen = pixeles(kMargenMm);
    const int ancho = pixeles(kAnchoReciboMm);
    const int alto = altoLineas(trabajo, ancho - 2 * margen, dpi) + 2 * margen;
    QImage imagen(ancho, qMax(alto, pixeles(kAltoMinimoMm)), QImage::Format_Grayscale8);
    imagen.setDotsPerMeterX(puntosPorMetro);
    imagen.setDotsPerMeterY(puntosPorMetro);
    imagen.fill(Qt::white);
    QPainter pintor(&imagen);
    pintor.translate(margen, margen);
    DibujarLineas(pintor, trabajo, ancho - 2 * margen);
    return imagen;
}

bool PdfCompleto(const QByteArray& pdf) {
    return pdf.startsWith("%PDF-") && pdf.trimmed().endsWith("%%EOF");
}

QString ImprimirEnPdf(const TrabajoImpresion& trabajo, const QString& carpeta) {
    // Qt writes the document itself and tells nothing of a failed write: it is made in memory,
    // checked, and only then written as a file.
    QBuffer documento;
    documento.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&documento);
        pdf.setResolution(1200);
        pdf.setTitle(QStringLiteral("Vialtor"));
        AjustarPagina(pdf, trabajo);
        QPainter pintor(&pdf);
        DibujarLineas(pintor, trabajo, pintor.viewport().width());
    }
    if (!PdfCompleto(documento.data()))
        return QString();
    QDir().mkpath(carpeta);
    const QString nombre = nombreLibre(carpeta);
    return EscribirArchivo(nombre, documento.data()) ? nombre : QString();
}

bool ImprimirEn(QPrinter& impresora, const TrabajoImpresion& trabajo) {
    impresora.setCopyCount(1);
    impresora.setDocName(QStringLiteral("Vialtor"));
    AjustarPagina(impresora, trabajo);
    QPainter pintor;
    if (!pintor.begin(&impresora))
        return false;
    DibujarLineas(pintor, trabajo, pintor.viewport().width());
    return pintor.end() && impresora.printerState() != QPrinter::Error &&
           impresora.printerState() != QPrinter::Aborted;
}

bool GuardarSinImprimir(const TrabajoImpresion& trabajo, const QString& motivo, QString* archivo) {
    const QString carpeta = Servicios().carpetas->carpetaPrograma() + QLatin1String("/impresiones");
    const QString pdf = QDir::toNativeSeparators(ImprimirEnPdf(trabajo, carpeta));
    if (archivo)
        *archivo = pdf;
    if (!pdf.isEmpty()) {
        avisar(QStringLiteral("Ticket no impreso (%1): guardado en %2").arg(motivo, pdf));
        return true;
    }
    const QString lugar = QDir::toNativeSeparators(carpeta);
    avisar(QStringLiteral("Ticket no impreso (%1) ni guardado en %2").arg(motivo, lugar));
    Servicios().dialogos->mensaje(
        QStringLiteral("No se pudo imprimir el ticket (%1) ni guardarlo en la carpeta %2. "
                       "Revise la impresora y que en esa carpeta se pueda escribir.")
            .arg(motivo, lugar),
        TituloAplicacion, Icono::Critico);
    return false;
}

bool ImprimirTicket(const TrabajoImpresion& trabajo, const QPrinterInfo& impresora, bool* enPapel) {
    if (enPapel)
        *enPapel = false;
    QString motivo = motivoSinImprimir(impresora);
    if (motivo.isEmpty()) {
        QPrinter salida(impresora, QPrinter::HighResolution);
        if (ImprimirEn(salida, trabajo)) {
            MostrarEnBarraEstado(QString());
            if (enPapel)
                *enPapel = true;
            return true;
        }
        motivo =
            QStringLiteral("la impresora %1 no recibió el trabajo").arg(impresora.printerName());
    }
    return GuardarSinImprimir(trabajo, motivo);
}
