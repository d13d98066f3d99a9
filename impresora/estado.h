#pragma once
// What a thermal printer says of itself when asked with DLE EOT 1, 2 and 4: online, cover,
// paper.

#include <QByteArray>
#include <QString>

enum class EstadoImpresora { Lista, PocoPapel, SinPapel, TapaAbierta, FueraDeLinea, SinRespuesta };

// The three questions, in the order their answers come back.
QByteArray PreguntasEstado();
// The printer's state from its three answers; SinRespuesta for fewer or malformed ones.
EstadoImpresora LeerEstado(const QByteArray& respuestas);
// The three answers a printer in `estado` gives; none when it does not answer.
QByteArray RespuestasEstado(EstadoImpresora estado);
// Whether a job may be sent: paper near its end still prints.
inline bool PuedeImprimir(EstadoImpresora estado) {
    return estado == EstadoImpresora::Lista || estado == EstadoImpresora::PocoPapel;
}
// As the attendant reads it in the status bar: "lista", "sin papel"…
QString TextoEstado(EstadoImpresora estado);
