#include "impresora/estado.h"

namespace {

// Every answer has bits 1 and 4 set and bits 0 and 7 clear.
constexpr int kMascaraFija = 0x93;
constexpr int kFijos = 0x12;
constexpr int kFueraDeLinea = 0x08; // DLE EOT 1
constexpr int kTapaAbierta = 0x04;  // DLE EOT 2
constexpr int kParadaSinPapel = 0x20;
constexpr int kPocoPapel = 0x0c; // DLE EOT 4
constexpr int kSinPapel = 0x60;

} // namespace

QByteArray PreguntasEstado() {
    return QByteArray("\x10\x04\x01\x10\x04\x02\x10\x04\x04", 9);
}

EstadoImpresora LeerEstado(const QByteArray& respuestas) {
    if (respuestas.size() != 3)
        return EstadoImpresora::SinRespuesta;
    for (const char r : respuestas)
        if ((static_cast<uchar>(r) & kMascaraFija) != kFijos)
            return EstadoImpresora::SinRespuesta;
    const int enLinea = static_cast<uchar>(respuestas[0]);
    const int causa = static_cast<uchar>(respuestas[1]);
    const int papel = static_cast<uchar>(respuestas[2]);
    if (causa & kTapaAbierta)
        return EstadoImpresora::TapaAbierta;
    if ((papel & kSinPapel) || (causa & kParadaSinPapel))
        return EstadoImpresora::SinPapel;
    if (enLinea & kFueraDeLinea)
        return EstadoImpresora::FueraDeLinea;
    return (papel & kPocoPapel) ? EstadoImpresora::PocoPapel : EstadoImpresora::Lista;
}

QByteArray RespuestasEstado(EstadoImpresora estado) {
    const auto respuestas = [](int enLinea, int causa, int papel) {
        QByteArray r;
        for (const int bits : {enLinea, causa, papel})
            r += static_cast<char>(kFijos | bits);
        return r;
    };
    switch (estado) {
    case EstadoImpresora::Lista:
        return respuestas(0, 0, 0);
    case EstadoImpresora::PocoPapel:
        return respuestas(0, 0, kPocoPapel);
    case EstadoImpresora::SinPapel:
        return respuestas(kFueraDeLinea, kParadaSinPapel, kSinPapel);
    case EstadoImpresora::TapaAbierta:
        return respuestas(kFueraDeLinea, kTapaAbierta, 0);
    case EstadoImpresora::FueraDeLinea:
        return respuestas(kFueraDeLinea, 0, 0);
    case EstadoImpresora::SinRespuesta:
        break;
    }
    return QByteArray();
}

QString TextoEstado(EstadoImpresora estado) {
    switch (estado) {
    case EstadoImpresora::Lista:
        return QStringLiteral("lista");
    case EstadoImpresora::PocoPapel:
        return QStringLiteral("papel por acabarse");
    case EstadoImpresora::SinPapel:
        return QStringLiteral("sin papel");
    case EstadoImpresora::TapaAbierta:
        return QStringLiteral("tapa abierta");
    case EstadoImpresora::FueraDeLinea:
        return QStringLiteral("fuera de línea");
    case EstadoImpresora::SinRespuesta:
        break;
    }
    return QStringLiteral("sin respuesta");
}
