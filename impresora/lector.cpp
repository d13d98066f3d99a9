#include "impresora/lector.h"

#include <QStringDecoder>

namespace {

constexpr uchar kDle = 0x10;
constexpr uchar kEsc = 0x1b;
constexpr uchar kGs = 0x1d;

// Code 128's data as GS k 73 sends it: "{C" for pairs of digits, "{B" for text, "{{" for a brace.
QString datosCode128(const QByteArray& datos) {
    QString texto;
    char juego = 'B';
    for (qsizetype i = 0; i < datos.size(); ++i) {
        if (datos[i] == '{' && i + 1 < datos.size() && datos[i + 1] != '{') {
            juego = datos[++i];
        } else if (juego == 'C') {
            texto +=
                QStringLiteral("%1").arg(static_cast<uchar>(datos[i]), 2, 10, QLatin1Char('0'));
        } else {
            texto += QLatin1Char(datos[i]);
            i += datos[i] == '{';
        }
    }
    return texto;
}

} // namespace

QStringList TrabajoRecibido::transcripcion() const {
    QStringList lineas{QStringLiteral("[página de códigos %1]").arg(pagina)};
    for (const RenglonImpreso& r : renglones) {
        if (r.clase == RenglonImpreso::Clase::Code128) {
            lineas << QStringLiteral("[Code 128: %1]").arg(r.texto);
        } else if (r.clase == RenglonImpreso::Clase::Imagen) {
            lineas << QStringLiteral("[imagen de %1×%2 puntos]").arg(r.modulo * 8).arg(r.alto);
        } else {
            lineas << QString(r.negrita ? QStringLiteral("[negrita] ") : QString()) +
                          (r.dobleAlto ? QStringLiteral("[doble alto] ") : QString()) + r.texto;
        }
    }
    if (cajon)
        lineas << QStringLiteral("[cajón]");
    if (corte)
        lineas << QStringLiteral("[corte]");
    return lineas;
}

void LectorEscPos::recibir(const QByteArray& bytes) {
    pendiente_ += bytes;
    qsizetype i = 0;
    while (i < pendiente_.size()) {
        const qsizetype largo = leerComando(i);
        if (largo == 0)
            break;
        i += largo;
    }
    pendiente_.remove(0, i);
}

void LectorEscPos::cerrar() {
    terminarTrabajo();
    pendiente_.clear();
}

qsizetype LectorEscPos::leerComando(qsizetype i) {
    const uchar c = static_cast<uchar>(pendiente_[i]);
    if (c == '\n') {
        terminarLinea();
        return 1;
    }
    if (c == kDle) {
        if (i + 3 > pendiente_.size())
            return 0;
        // The program asks after each job whether it printed: a job with no cut (the drawer's
        // pulse alone, a station without `corte`) ends there, not at the next one's reset.
        terminarTrabajo();
        if (alPedirEstado)
            alPedirEstado(pendiente_[i + 2]);
        return 3;
    }
    if (c == kEsc && i + 1 < pendiente_.size() && pendiente_[i + 1] == '@') {
        terminarTrabajo();
        return 2;
    }
    if (c == kEsc || c == kGs) {
        if (i + 3 > pendiente_.size())
            return 0;
        empezado_ = true;
        return c == kEsc ? leerEsc(i) : leerGs(i);
    }
    empezado_ = true;
    linea_ += static_cast<char>(c);
    return 1;
}

qsizetype LectorEscPos::leerEsc(qsizetype i) {
    const uchar n = static_cast<uchar>(pendiente_[i + 2]);
    switch (pendiente_[i + 1]) {
    case 't':
        trabajo_.pagina = n;
        return 3;
    case '!':
        modo_ = n;
        return 3;
    case 'p':
        if (i + 5 > pendiente_.size())
            return 0;
        trabajo_.cajon = true;
        return 5;
    default: // ESC d, ESC a, ESC E…: one parameter the drawing leaves aside
        return 3;
    }
}

qsizetype LectorEscPos::leerGs(qsizetype i) {
    const uchar n = static_cast<uchar>(pendiente_[i + 2]);
    switch (pendiente_[i + 1]) {
    case 'w':
        modulo_ = n;
        return 3;
    case 'h':
        altoBarras_ = n;
        return 3;
    case 'k':
        return leerCode128(i);
    case 'v':
        return leerImagen(i);
    case 'V': {
        if (n >= 65 && i + 4 > pendiente_.size())
            return 0;
        trabajo_.corte = true;
        terminarTrabajo();
        return n >= 65 ? 4 : 3;
    }
    default: // GS H and the like
        return 3;
    }
}

qsizetype LectorEscPos::leerCode128(qsizetype i) {
    if (i + 4 > pendiente_.size())
        return 0;
    const int largo = static_cast<uchar>(pendiente_[i + 3]);
    if (i + 4 + largo > pendiente_.size())
        return 0;
    terminarTextoSuelto();
    RenglonImpreso r;
    r.clase = RenglonImpreso::Clase::Code128;
    r.texto = datosCode128(pendiente_.mid(i + 4, largo));
    r.modulo = modulo_;
    r.alto = altoBarras_;
    trabajo_.renglones << r;
    return 4 + largo;
}

qsizetype LectorEscPos::leerImagen(qsizetype i) {
    if (i + 8 > pendiente_.size())
        return 0;
    const auto u = [this, i](int k) {
        return static_cast<int>(static_cast<uchar>(pendiente_[i + k]));
    };
    const int bytesFila = u(4) | u(5) << 8;
    const int alto = u(6) | u(7) << 8;
    if (i + 8 + bytesFila * alto > pendiente_.size())
        return 0;
    terminarTextoSuelto();
    RenglonImpreso r;
    r.clase = RenglonImpreso::Clase::Imagen;
    r.modulo = bytesFila;
    r.alto = alto;
    r.puntos = pendiente_.mid(i + 8, bytesFila * alto);
    trabajo_.renglones << r;
    return 8 + bytesFila * alto;
}

void LectorEscPos::terminarLinea() {
    QStringDecoder cp858("IBM00858");
    RenglonImpreso r;
    r.texto = cp858(linea_);
    r.negrita = modo_ & 0x08;
    r.dobleAlto = modo_ & 0x10;
    trabajo_.renglones << r;
    linea_.clear();
}

void LectorEscPos::terminarTextoSuelto() {
    if (!linea_.isEmpty())
        terminarLinea();
}

void LectorEscPos::terminarTrabajo() {
    terminarTextoSuelto();
    if (empezado_ && alTerminarTrabajo)
        alTerminarTrabajo(trabajo_);
    trabajo_ = TrabajoRecibido();
    empezado_ = false;
    modo_ = 0;
}
