#pragma once
// Talking to the station's thermal printer over the network, a serial line or a device file.
// Every wait runs the event loop in short steps, so the windows keep painting while a dead
// printer times out; keys and clicks wait for the answer, so no handler runs inside another.

#include "impresora/configimpresora.h"
#include "impresora/estado.h"

#include <QByteArray>
#include <QIODevice>
#include <functional>
#include <memory>

struct EnvioImpresora {
    EstadoImpresora estado = EstadoImpresora::SinRespuesta; // as it answered before the job
    bool enviado = false;                                   // sent: it could print
    bool confirmado = false; // it answered again after the job, so it took all of it
};

class ConexionImpresora {
public:
    explicit ConexionImpresora(ConfigImpresora config) : config_(std::move(config)) {}
    // Its state; no answer within `esperaMs` is SinRespuesta.
    EstadoImpresora estado(int esperaMs = kEsperaEstadoMs);
    // The state first; the job only when the printer can print (paper near its end still
    // prints); then the state again, which confirms it.
    EnvioImpresora imprimir(const QByteArray& bytes);

    static constexpr int kEsperaEstadoMs = 1000;
    static constexpr int kEsperaConfirmacionMs = 2000;

private:
    bool abrir(int esperaMs);
    QByteArray preguntarEstado(int esperaMs);
    bool escribir(const QByteArray& bytes, int esperaMs);
    // Runs the event loop until `listo` or `esperaMs` pass; whether it was `listo`.
    static bool esperar(const std::function<bool()>& listo, int esperaMs);

    ConfigImpresora config_;
    std::unique_ptr<QIODevice> canal_;
};
