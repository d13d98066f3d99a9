#include "impresora/escpos.h"

#include "principal/code128.h"

#include <QStringEncoder>
#include <QStringList>
#include <initializer_list>

namespace {

constexpr int kEsc = 0x1b;
constexpr int kGs = 0x1d;
// The code page's number in ESC t: CP858, CP850 with the euro sign.
constexpr int kPaginaCp858 = 19;
// The exit ticket prints a plate above 12 points on a line of its own: larger than the body.
constexpr double kTamanoGrande = 12;
// About 10 mm of bars at 203 dots per inch.
constexpr int kAltoBarras = 80;
constexpr int kLineasAlFinal = 4;

QByteArray bytes(std::initializer_list<int> valores) {
    QByteArray b;
    for (const int v : valores)
        b += static_cast<char>(v);
    return b;
}

int modoLinea(const LineaImpresion& linea) {
    return (linea.negrita ? 0x08 : 0) | (linea.tamano > kTamanoGrande ? 0x10 : 0);
}

QString sinControles(const QString& texto) {
    QString limpio;
    limpio.reserve(texto.size());
    for (const QChar c : texto)
        if (c.category() != QChar::Other_Control)
            limpio += c;
    return limpio;
}

// The text in lines of at most `columnas`, broken at blanks where it can be, as the page
// wraps it.
QStringList enColumnas(const QString& texto, int columnas) {
    QStringList lineas;
    QString resto = texto;
    while (resto.size() > columnas) {
        int corte = resto.lastIndexOf(QLatin1Char(' '), columnas);
        if (corte <= 0)
            corte = columnas;
        lineas << resto.left(corte);
        resto = resto.mid(corte);
        while (resto.startsWith(QLatin1Char(' ')))
            resto.remove(0, 1);
    }
    return lineas << resto;
}

// Two digits a byte in code set C; other text in code set B.
QByteArray datosCode128(const QString& digitos) {
    const QByteArray ascii = TextoCp858(digitos);
    bool soloDigitos = ascii.size() % 2 == 0;
    for (const char c : ascii)
        soloDigitos = soloDigitos && c >= '0' && c <= '9';
    if (!soloDigitos)
        return "{B" + QByteArray(ascii).replace("{", "{{");
    QByteArray datos("{C");
    for (int i = 0; i < ascii.size(); i += 2)
        datos += static_cast<char>((ascii[i] - '0') * 10 + (ascii[i + 1] - '0'));
    return datos;
}

int puntosModulo(const ConfigImpresora& config) {
    return config.anchoMm == 58 ? 2 : 3;
}

QByteArray code128Nativo(const QString& digitos, const ConfigImpresora& config) {
    const QByteArray datos = datosCode128(digitos);
    // Without the printer's own digits: the job's next line holds them.
    return bytes({kGs, 'H', 0, kGs, 'h', kAltoBarras, kGs, 'w', puntosModulo(config), kGs, 'k', 73,
                  static_cast<int>(datos.size())}) +
           datos;
}

// The same symbol as an image of dots, GS v 0, for a printer without its own Code 128.
QByteArray code128Imagen(const QString& digitos, const ConfigImpresora& config) {
    const std::vector<bool> modulos = ModulosCode128(digitos);
    const int modulo = puntosModulo(config);
    const int ancho = static_cast<int>(modulos.size()) * modulo;
    const int bytesFila = (ancho + 7) / 8;
    QByteArray fila(bytesFila, 0);
    for (int x = 0; x < ancho; ++x)
        if (modulos[static_cast<size_t>(x / modulo)])
            fila[x / 8] = static_cast<char>(fila[x / 8] | (0x80 >> (x % 8)));
    return bytes({kGs, 'v', '0', 0, bytesFila & 0xff, bytesFila >> 8, kAltoBarras & 0xff,
                  kAltoBarras >> 8}) +
           fila.repeated(kAltoBarras);
}

} // namespace

QByteArray TextoCp858(const QString& texto) {
    QStringEncoder cp858("IBM00858");
    QByteArray codificado = cp858(sinControles(texto));
    // What CP858 lacks comes out as its substitute, a control byte itself.
    for (char& b : codificado)
        if (static_cast<unsigned char>(b) < 0x20 || b == 0x7f)
            b = '?';
    return codificado;
}

QByteArray PulsoCajon() {
    // Pin 2, 50 ms on and 500 ms off: what cash drawers are wired for.
    return bytes({kEsc, 'p', 0, 25, 250});
}

QByteArray CodificarEscPos(const TrabajoImpresion& trabajo, const ConfigImpresora& config) {
    QByteArray salida = bytes({kEsc, '@', kEsc, 't', kPaginaCp858});
    int modo = 0;
    for (const LineaImpresion& linea : trabajo.lineas) {
        if (!linea.barras.isEmpty()) {
            salida += config.raster ? code128Imagen(linea.barras, config)
                                    : code128Nativo(linea.barras, config);
            continue;
        }
        if (modoLinea(linea) != modo) {
            modo = modoLinea(linea);
            salida += bytes({kEsc, '!', modo});
        }
        for (const QString& parte : enColumnas(sinControles(linea.texto), config.columnas()))
            salida += TextoCp858(parte) + '\n';
    }
    if (trabajo.cajon && config.cajon)
        salida += PulsoCajon();
    // Fed past the cutter, or past the tear bar.
    salida += config.corte ? bytes({kGs, 'V', 66, 0}) : bytes({kEsc, 'd', kLineasAlFinal});
    return salida;
}
