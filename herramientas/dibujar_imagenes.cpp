// Draws every icon (ico/) and background picture (img/) the program loads, and the program's
// icon for the desktop menu (hicolor/), into the folder given as the only argument. Run with
// QT_QPA_PLATFORM=offscreen. Exits non-zero on any failure.

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QString>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

enum class Glifo {
    Llave,
    Auto,
    Dolar,
    Persona,
    Grupo,
    Calendario,
    Billete,
    Lista,
    Lupa,
    Impresora,
    Disco,
    Goma,
    Engranaje,
    Escudo,
    Caja,
    Senal
};
enum class Marca { Ninguna, Mas, Menos, Lapiz, Lupa, Csv, Entra, Sale };

// One colour per window family, so a button's family reads at a glance.
constexpr QRgb cAcceso = 0xFF455A64, cMovimientos = 0xFF00838F, cTarifas = 0xFF2E7D32,
               cReportes = 0xFF6A1B9A, cClientes = 0xFF1565C0, cUsuarios = 0xFFE65100,
               cParqueadero = 0xFF6D4C41, cExentos = 0xFFAD1457, cPrograma = 0xFF0D47A1;

struct Icono {
    const char* nombre;
    Glifo glifo;
    Marca marca;
    QRgb color;
};

const Icono iconos[] = {
    {"acceso", Glifo::Llave, Marca::Ninguna, cAcceso},
    {"vialtor", Glifo::Senal, Marca::Ninguna, cPrograma},
    {"entradas", Glifo::Auto, Marca::Entra, cMovimientos},
    {"salidas", Glifo::Auto, Marca::Sale, cMovimientos},
    {"tarifas_gestion", Glifo::Dolar, Marca::Ninguna, cTarifas},
    {"agregar_tarifa", Glifo::Dolar, Marca::Mas, cTarifas},
    {"modificar_tarifa", Glifo::Dolar, Marca::Lapiz, cTarifas},
    {"eliminar_tarifa", Glifo::Dolar, Marca::Menos, cTarifas},
    {"buscar", Glifo::Lupa, Marca::Ninguna, cReportes},
    {"imprimir", Glifo::Impresora, Marca::Ninguna, cReportes},
    {"guardar", Glifo::Disco, Marca::Ninguna, cReportes},
    {"cierre", Glifo::Caja, Marca::Ninguna, cReportes},
    {"cliente_pagos", Glifo::Billete, Marca::Lupa, cReportes},
    {"cliente_registro_csv", Glifo::Lista, Marca::Csv, cReportes},
    {"clientes", Glifo::Grupo, Marca::Ninguna, cClientes},
    {"cliente_agregar", Glifo::Persona, Marca::Mas, cClientes},
    {"cliente_modificar", Glifo::Persona, Marca::Lapiz, cClientes},
    {"cliente_eliminar", Glifo::Persona, Marca::Menos, cClientes},
    {"cliente_buscar", Glifo::Persona, Marca::Lupa, cClientes},
    {"cliente_listado_completo", Glifo::Lista, Marca::Ninguna, cClientes},
    {"cliente_vaciar_formulario", Glifo::Goma, Marca::Ninguna, cClientes},
    {"cliente_agregar_fecha_pago", Glifo::Calendario, Marca::Mas, cClientes},
    {"cliente_eliminar_fecha_pago", Glifo::Calendario, Marca::Menos, cClientes},
    {"cliente_efectuar_pago", Glifo::Billete, Marca::Mas, cClientes},
    {"cliente_eliminar_pago", Glifo::Billete, Marca::Menos, cClientes},
    {"cliente_listado_csv", Glifo::Persona, Marca::Csv, cClientes},
    {"cliente_fpagos_csv", Glifo::Calendario, Marca::Csv, cClientes},
    {"usuarios", Glifo::Grupo, Marca::Ninguna, cUsuarios},
    {"usuario_agregar", Glifo::Persona, Marca::Mas, cUsuarios},
    {"usuario_modificar", Glifo::Persona, Marca::Lapiz, cUsuarios},
    {"usuario_eliminar", Glifo::Persona, Marca::Menos, cUsuarios},
    {"datos_parqueadero_gestion", Glifo::Engranaje, Marca::Ninguna, cParqueadero},
    {"datos_parqueadero_modificar", Glifo::Engranaje, Marca::Lapiz, cParqueadero},
    {"exentos_gestion", Glifo::Escudo, Marca::Ninguna, cExentos},
    {"exentos_agregar", Glifo::Escudo, Marca::Mas, cExentos},
    {"exentos_modificar", Glifo::Escudo, Marca::Lapiz, cExentos},
    {"exentos_eliminar", Glifo::Escudo, Marca::Menos, cExentos},
    {"exentos_listado_csv", Glifo::Escudo, Marca::Csv, cExentos},
};

const QColor blanco(Qt::white);
const QColor tinta(0x26, 0x32, 0x38);

QPen trazo(const QColor& color, qreal ancho) {
    return QPen(color, ancho, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void texto(QPainter& p, const QRectF& caja, const QString& t, int pixeles) {
    QFont fuente(QStringLiteral("DejaVu Sans"));
    fuente.setBold(true);
    fuente.setPixelSize(pixeles);
    p.setFont(fuente);
    p.drawText(caja, Qt::AlignCenter, t);
}

void persona(QPainter& p) {
    p.drawEllipse(QPointF(12, 7), 4.6, 4.6);
    p.drawChord(QRectF(3, 13.5, 18, 17), 0, 180 * 16);
}

void engranaje(QPainter& p, const QColor& fondo) {
    p.save();
    p.translate(12, 12);
    for (int i = 0; i < 8; ++i) {
        p.drawRoundedRect(QRectF(-2.4, -11.5, 4.8, 6), 1, 1);
        p.rotate(45);
    }
    p.restore();
    p.drawEllipse(QPointF(12, 12), 8, 8);
    p.setBrush(fondo);
    p.drawEllipse(QPointF(12, 12), 3.2, 3.2);
}

void llave(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(trazo(blanco, 3));
    p.drawEllipse(QPointF(7, 12), 4.5, 4.5);
    p.drawLine(QPointF(11.5, 12), QPointF(22, 12));
    p.drawLine(QPointF(18, 12), QPointF(18, 17));
    p.drawLine(QPointF(21.5, 12), QPointF(21.5, 16));
}

void automovil(QPainter& p, const QColor& fondo) {
    p.drawPolygon(QPolygonF({{5, 11}, {8, 5}, {16, 5}, {19.5, 11}}));
    p.drawRoundedRect(QRectF(1, 10, 22, 8), 2.5, 2.5);
    p.setBrush(fondo);
    p.drawPolygon(QPolygonF({{7.5, 10.5}, {9.3, 7}, {11.3, 7}, {11.3, 10.5}}));
    p.drawPolygon(QPolygonF({{12.7, 10.5}, {12.7, 7}, {15, 7}, {17, 10.5}}));
    p.setPen(trazo(blanco, 1.6));
    p.drawEllipse(QPointF(6.5, 18), 3, 3);
    p.drawEllipse(QPointF(17.5, 18), 3, 3);
}

void letra(QPainter& p, const QString& t, int pixeles) {
    p.setPen(blanco);
    texto(p, QRectF(0, -2, 24, 28), t, pixeles);
}

// A faded person behind, and one in front outlined in the tile's colour.
void grupo(QPainter& p, const QColor& fondo) {
    p.save();
    p.setOpacity(0.6);
    p.translate(7, -1);
    p.scale(0.8, 0.8);
    persona(p);
    p.restore();
    p.save();
    p.translate(-3, 1);
    p.setPen(trazo(fondo, 1.5));
    persona(p);
    p.restore();
}

void calendario(QPainter& p, const QColor& fondo) {
    p.drawRoundedRect(QRectF(2, 4, 20, 18), 2, 2);
    p.setBrush(fondo.darker(140));
    p.drawRect(QRectF(4, 10, 16, 10));
    p.setBrush(blanco);
    for (int fila = 0; fila < 2; ++fila)
        for (int col = 0; col < 3; ++col)
            p.drawRect(QRectF(5 + col * 5, 11 + fila * 4.5, 4, 3.5));
    p.setPen(trazo(blanco, 2.4));
    p.drawLine(QPointF(7, 1.5), QPointF(7, 5));
    p.drawLine(QPointF(17, 1.5), QPointF(17, 5));
}

void billete(QPainter& p, const QColor& fondo) {
    p.setOpacity(0.55);
    p.drawRect(QRectF(4, 3, 20, 12));
    p.setOpacity(1);
    p.drawRect(QRectF(0, 7, 20, 12));
    p.setPen(fondo);
    texto(p, QRectF(0, 7, 20, 12), QStringLiteral("$"), 12);
}

void lista(QPainter& p) {
    for (int i = 0; i < 4; ++i) {
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(1.5, 2.2 + i * 5.5, 3.6, 3.6));
        p.setPen(trazo(blanco, 2.6));
        p.drawLine(QPointF(8.5, 4 + i * 5.5), QPointF(22, 4 + i * 5.5));
    }
}

void lupa(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(trazo(blanco, 3));
    p.drawEllipse(QPointF(9.5, 9.5), 7, 7);
    p.setPen(trazo(blanco, 4.5));
    p.drawLine(QPointF(15, 15), QPointF(21.5, 21.5));
}

void impresora(QPainter& p, const QColor& fondo) {
    p.drawRect(QRectF(6, 1, 12, 7));
    p.drawRoundedRect(QRectF(1, 8, 22, 10), 2, 2);
    p.setBrush(fondo);
    p.drawRect(QRectF(4, 15, 16, 2));
    p.drawEllipse(QPointF(19, 11), 1.2, 1.2);
    p.setBrush(blanco);
    p.drawRect(QRectF(6, 16, 12, 7));
    p.setPen(trazo(fondo, 1.2));
    p.drawLine(QPointF(8, 19), QPointF(16, 19));
    p.drawLine(QPointF(8, 21.5), QPointF(14, 21.5));
}

void disco(QPainter& p, const QColor& fondo) {
    p.drawPolygon(QPolygonF({{2, 2}, {19, 2}, {22, 5}, {22, 22}, {2, 22}}));
    p.setBrush(fondo);
    p.drawRect(QRectF(6, 2, 11, 7));
    p.drawRect(QRectF(5, 13, 14, 9));
    p.setBrush(blanco);
    p.drawRect(QRectF(13, 3.5, 2.5, 4));
    p.drawRect(QRectF(6.5, 14.5, 11, 7.5));
}

void goma(QPainter& p) {
    p.save();
    p.translate(12, 11);
    p.rotate(-40);
    p.drawRoundedRect(QRectF(-11, -5, 22, 10), 2, 2);
    p.setBrush(QColor(0xF4, 0x8F, 0xB1));
    p.drawRoundedRect(QRectF(-11, -5, 9, 10), 2, 2);
    p.restore();
    p.setPen(trazo(blanco, 2));
    p.drawLine(QPointF(2, 22.5), QPointF(22, 22.5));
}

void escudo(QPainter& p, const QColor& fondo) {
    QPainterPath contorno;
    contorno.moveTo(12, 1);
    contorno.lineTo(22, 4.5);
    contorno.lineTo(22, 11);
    contorno.cubicTo(22, 17, 17, 21, 12, 23.5);
    contorno.cubicTo(7, 21, 2, 17, 2, 11);
    contorno.lineTo(2, 4.5);
    contorno.closeSubpath();
    p.drawPath(contorno);
    p.setBrush(Qt::NoBrush);
    p.setPen(trazo(fondo, 3));
    p.drawPolyline(QPolygonF({{7, 12}, {10.5, 15.5}, {17, 8}}));
}

// The till: receipt on top, keys on the body, the drawer below.
void caja(QPainter& p, const QColor& fondo) {
    p.drawRect(QRectF(12, 1, 10, 6));
    p.drawRect(QRectF(15.5, 7, 3, 3));
    p.drawPolygon(QPolygonF({{3, 10}, {21, 10}, {23, 17}, {1, 17}}));
    p.drawRect(QRectF(0, 18, 24, 5));
    p.setBrush(fondo);
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(5 + i * 4, 12, 2.5, 2.5));
    p.drawRect(QRectF(14, 2.5, 6, 3));
    p.drawRect(QRectF(9, 19.8, 6, 1.6));
}

// Glyphs are drawn in white on a 24x24 grid; `fondo` is the tile's colour for cut-outs.
void dibujarGlifo(QPainter& p, Glifo g, const QColor& fondo) {
    p.setPen(Qt::NoPen);
    p.setBrush(blanco);
    switch (g) {
    case Glifo::Llave:
        return llave(p);
    case Glifo::Auto:
        return automovil(p, fondo);
    case Glifo::Dolar:
        return letra(p, QStringLiteral("$"), 25);
    case Glifo::Senal:
        return letra(p, QStringLiteral("P"), 26);
    case Glifo::Persona:
        return persona(p);
    case Glifo::Grupo:
        return grupo(p, fondo);
    case Glifo::Calendario:
        return calendario(p, fondo);
    case Glifo::Billete:
        return billete(p, fondo);
    case Glifo::Lista:
        return lista(p);
    case Glifo::Lupa:
        return lupa(p);
    case Glifo::Impresora:
        return impresora(p, fondo);
    case Glifo::Disco:
        return disco(p, fondo);
    case Glifo::Goma:
        return goma(p);
    case Glifo::Engranaje:
        return engranaje(p, fondo);
    case Glifo::Escudo:
        return escudo(p, fondo);
    case Glifo::Caja:
        return caja(p, fondo);
    }
}

const QPointF centroMarca(24.5, 24.5);

// A round badge in the overlay's colour, leaving a white pen for its sign.
void insignia(QPainter& p, const QColor& color) {
    p.setPen(trazo(blanco, 1.5));
    p.setBrush(color);
    p.drawEllipse(centroMarca, 7, 7);
    p.setPen(trazo(blanco, 2.6));
}

void flecha(QPainter& p, qreal grados) {
    p.save();
    p.translate(centroMarca);
    p.rotate(grados);
    p.drawLine(QPointF(-4, 0), QPointF(4, 0));
    p.drawPolyline(QPolygonF({{0.5, -3.5}, {4, 0}, {0.5, 3.5}}));
    p.restore();
}

void signo(QPainter& p, const QColor& color, bool mas) {
    insignia(p, color);
    p.drawLine(centroMarca - QPointF(4, 0), centroMarca + QPointF(4, 0));
    if (mas)
        p.drawLine(centroMarca - QPointF(0, 4), centroMarca + QPointF(0, 4));
}

void lupaMarca(QPainter& p) {
    insignia(p, QColor(0xFF, 0xB3, 0x00));
    p.setPen(trazo(tinta, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centroMarca - QPointF(1.2, 1.2), 3, 3);
    p.setPen(trazo(tinta, 2.4));
    p.drawLine(centroMarca + QPointF(1.2, 1.2), centroMarca + QPointF(4, 4));
}

void lapiz(QPainter& p) {
    p.save();
    p.translate(centroMarca);
    p.rotate(-45);
    p.setPen(trazo(tinta, 1));
    p.setBrush(QColor(0xFF, 0xCA, 0x28));
    p.drawRect(QRectF(-5, -2.8, 10, 5.6));
    p.setBrush(QColor(0xF4, 0x8F, 0xB1));
    p.drawRect(QRectF(5, -2.8, 3, 5.6));
    p.setBrush(QColor(0xFF, 0xE0, 0xB2));
    p.drawPolygon(QPolygonF({{-5, -2.8}, {-10, 0}, {-5, 2.8}}));
    p.setBrush(tinta);
    p.drawPolygon(QPolygonF({{-8.3, -0.9}, {-10, 0}, {-8.3, 0.9}}));
    p.restore();
}

// A small sheet with a green header row and a grid.
void hojaCsv(QPainter& p) {
    p.setPen(trazo(tinta, 1));
    p.setBrush(blanco);
    p.drawRect(QRectF(18, 16, 13, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2E, 0x7D, 0x32));
    p.drawRect(QRectF(18.5, 16.5, 12, 3.5));
    p.setPen(trazo(QColor(0x2E, 0x7D, 0x32), 1));
    for (qreal y : {23.0, 26.5})
        p.drawLine(QPointF(19, y), QPointF(30, y));
    p.drawLine(QPointF(22.5, 20), QPointF(22.5, 30.5));
    p.drawLine(QPointF(26.5, 20), QPointF(26.5, 30.5));
}

// Overlays sit in the tile's bottom-right corner, on the 32x32 grid, outlined to stand apart.
void dibujarMarca(QPainter& p, Marca m) {
    const QColor verde(0x43, 0xA0, 0x47), rojo(0xE5, 0x39, 0x35);
    switch (m) {
    case Marca::Ninguna:
        return;
    case Marca::Mas:
        return signo(p, verde, true);
    case Marca::Menos:
        return signo(p, rojo, false);
    case Marca::Entra:
        insignia(p, verde);
        return flecha(p, -135);
    case Marca::Sale:
        insignia(p, rojo);
        return flecha(p, 45);
    case Marca::Lupa:
        return lupaMarca(p);
    case Marca::Lapiz:
        return lapiz(p);
    case Marca::Csv:
        return hojaCsv(p);
    }
}

QImage dibujarIcono(const Icono& icono, int lado) {
    QImage imagen(lado, lado, QImage::Format_ARGB32);
    imagen.fill(Qt::transparent);
    QPainter p(&imagen);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(lado / 32.0, lado / 32.0);
    const QColor color = QColor::fromRgb(icono.color);
    QLinearGradient degradado(0, 0, 0, 32);
    degradado.setColorAt(0, color.lighter(125));
    degradado.setColorAt(1, color.darker(110));
    p.setPen(trazo(color.darker(150), 1));
    p.setBrush(degradado);
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);
    // With an overlay the glyph moves up-left, so both stay readable.
    const bool conMarca = icono.marca != Marca::Ninguna;
    p.save();
    p.translate(conMarca ? 2 : 4, conMarca ? 2 : 4);
    if (conMarca)
        p.scale(0.95, 0.95);
    dibujarGlifo(p, icono.glifo, color);
    p.restore();
    dibujarMarca(p, icono.marca);
    return imagen;
}

QByteArray comoIco(const QImage& imagen) {
    QByteArray datos;
    QBuffer buffer(&datos);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter escritor(&buffer, "ico");
    if (!escritor.write(imagen) || datos.size() < 22)
        return QByteArray();
    // The writer leaves the padding of the transparency mask's rows uninitialised; zero it so
    // that every build gives the same bytes. The picture is 32-bit, after a 40-byte header.
    const int lado = imagen.width(), usados = (lado + 7) / 8, paso = (lado + 31) / 32 * 4;
    const int mascara =
        int(qFromLittleEndian<quint32>(datos.constData() + 18)) + 40 + lado * lado * 4;
    if (datos.size() < mascara + lado * paso)
        return QByteArray();
    for (int fila = 0; fila < lado; ++fila)
        for (int i = usados; i < paso; ++i)
            datos[mascara + fila * paso + i] = '\0';
    return datos;
}

// Qt's ico writer stores one picture per file; join single-picture files into one directory.
QByteArray unirIcos(const std::vector<QByteArray>& partes) {
    const int cabecera = 6, entrada = 16;
    QByteArray directorio(cabecera, '\0'), cuerpo;
    qToLittleEndian<quint16>(1, directorio.data() + 2);
    qToLittleEndian<quint16>(quint16(partes.size()), directorio.data() + 4);
    quint32 desplazamiento = cabecera + entrada * quint32(partes.size());
    for (const QByteArray& parte : partes) {
        QByteArray registro = parte.mid(cabecera, entrada);
        const quint32 tamano = qFromLittleEndian<quint32>(registro.constData() + 8);
        const quint32 inicio = qFromLittleEndian<quint32>(registro.constData() + 12);
        qToLittleEndian<quint32>(desplazamiento, registro.data() + 12);
        directorio += registro;
        cuerpo += parte.mid(inicio, tamano);
        desplazamiento += tamano;
    }
    return directorio + cuerpo;
}

bool escribirIcono(const Icono& icono, const QString& carpeta) {
    std::vector<QByteArray> partes;
    for (int lado : {32, 16}) {
        partes.push_back(comoIco(dibujarIcono(icono, lado)));
        if (partes.back().isEmpty())
            return false;
    }
    const QString ruta = carpeta + QLatin1Char('/') + QLatin1String(icono.nombre) + ".ico";
    QFile archivo(ruta);
    const QByteArray datos = unirIcos(partes);
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(datos) != datos.size())
        return false;
    archivo.close();
    // Read every size back, as the program will.
    QImageReader lector(ruta);
    if (lector.imageCount() != int(partes.size()))
        return false;
    for (int i = 0; i < lector.imageCount(); ++i)
        if (!lector.jumpToImage(i) || lector.read().isNull())
            return false;
    return true;
}

// The menu entry's icon in the sizes of the freedesktop hicolor theme.
bool escribirIconoMenu(const QString& base) {
    const Icono& programa = *std::find_if(std::begin(iconos), std::end(iconos), [](const Icono& i) {
        return std::strcmp(i.nombre, "vialtor") == 0;
    });
    for (int lado : {16, 24, 32, 48, 64, 128, 256}) {
        const QString carpeta = base + QStringLiteral("/hicolor/%1x%1/apps").arg(lado);
        if (!QDir().mkpath(carpeta) ||
            !dibujarIcono(programa, lado).save(carpeta + QStringLiteral("/vialtor.png"), "png"))
            return false;
    }
    return true;
}

// Parking-bay lines along the bottom, the one motif shared by every background.
void plazas(QPainter& p, const QRectF& zona, const QColor& color, int cantidad) {
    p.setPen(QPen(color, zona.height() / 18, Qt::SolidLine, Qt::FlatCap));
    const qreal paso = zona.width() / cantidad;
    for (int i = 0; i <= cantidad; ++i) {
        const qreal x = zona.left() + i * paso;
        p.drawLine(QPointF(x, zona.bottom()), QPointF(x + paso * 0.35, zona.top()));
    }
    p.drawLine(zona.bottomLeft(), zona.bottomRight());
}

void rotulo(QPainter& p, const QRectF& caja, const QColor& color, int pixeles) {
    QFont fuente(QStringLiteral("DejaVu Serif"));
    fuente.setBold(true);
    fuente.setItalic(true);
    fuente.setPixelSize(pixeles);
    p.setFont(fuente);
    p.setPen(color);
    p.drawText(caja, Qt::AlignCenter, QStringLiteral("Vialtor"));
}

QImage fondoPrincipal() {
    QImage imagen(1920, 1080, QImage::Format_RGB32);
    QPainter p(&imagen);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient cielo(0, 0, 0, 1080);
    cielo.setColorAt(0, QColor(0x1B, 0x36, 0x5D));
    cielo.setColorAt(1, QColor(0x0E, 0x5E, 0x6B));
    p.fillRect(imagen.rect(), cielo);
    plazas(p, QRectF(-60, 800, 2040, 220), QColor(255, 255, 255, 28), 12);
    p.setPen(QPen(QColor(255, 255, 255, 22), 10, Qt::DashLine));
    p.drawLine(QPointF(0, 740), QPointF(1920, 740));
    rotulo(p, QRectF(0, 300, 1920, 300), QColor(255, 255, 255, 60), 220);
    return imagen;
}

QImage fondoClaro(int ancho, int alto, const QColor& tono, bool conRotulo) {
    QImage imagen(ancho, alto, QImage::Format_RGB32);
    QPainter p(&imagen);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor arriba = QColor::fromHsv(tono.hue(), 18, 252);
    const QColor abajo = QColor::fromHsv(tono.hue(), 40, 238);
    QLinearGradient degradado(0, 0, 0, alto);
    degradado.setColorAt(0, arriba);
    degradado.setColorAt(1, abajo);
    p.fillRect(imagen.rect(), degradado);
    QColor linea = QColor::fromHsv(tono.hue(), 60, 215);
    plazas(p, QRectF(-40, alto * 0.82, ancho + 80, alto * 0.14), linea, 10);
    if (conRotulo) {
        linea.setAlpha(110);
        rotulo(p, QRectF(0, 0, ancho, alto * 0.3), linea, alto / 7);
    }
    return imagen;
}

bool escribirFondo(const QImage& imagen, const QString& carpeta, int numero) {
    QImageWriter escritor(carpeta + QStringLiteral("/fondo%1.jpg").arg(numero), "jpeg");
    escritor.setQuality(90);
    return escritor.write(imagen);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication aplicacion(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: dibujar_imagenes CARPETA\n");
        return 2;
    }
    const QString base = QString::fromLocal8Bit(argv[1]);
    const QString ico = base + QStringLiteral("/ico"), img = base + QStringLiteral("/img");
    if (!QDir().mkpath(ico) || !QDir().mkpath(img)) {
        std::fprintf(stderr, "no se pudo crear %s\n", argv[1]);
        return 1;
    }
    int fallas = 0;
    for (const Icono& icono : iconos) {
        if (!escribirIcono(icono, ico)) {
            std::fprintf(stderr, "falló %s.ico\n", icono.nombre);
            ++fallas;
        }
    }
    if (!escribirIconoMenu(base)) {
        std::fprintf(stderr, "falló hicolor/vialtor.png\n");
        ++fallas;
    }
    // fondo3.. fondo9 follow the families of the windows that show them.
    const QRgb tonos[] = {cMovimientos, cReportes, cTarifas, cParqueadero,
                          cUsuarios,    cExentos,  cClientes};
    std::vector<QImage> fondos = {fondoPrincipal(), fondoClaro(800, 600, cPrograma, true)};
    for (QRgb tono : tonos)
        fondos.push_back(fondoClaro(1024, 768, QColor::fromRgb(tono), false));
    for (int i = 0; i < int(fondos.size()); ++i) {
        if (!escribirFondo(fondos[i], img, i + 1)) {
            std::fprintf(stderr, "falló fondo%d.jpg\n", i + 1);
            ++fallas;
        }
    }
    return fallas == 0 ? 0 : 1;
}
