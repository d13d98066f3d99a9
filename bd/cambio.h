#pragma once
// The one result of every write of the core: a refusal is a value, a fault is an ErrorBD.
// A write runs its checks and statements in one transaction and keeps them only when it
// answers Hecho; the window then logs `sentencias` and shows its message.

#include "bd/conexion.h"

#include <QStringList>
#include <variant>

// How a write ended. Anything but Hecho wrote nothing.
enum class Resultado {
    Hecho,
    NoEncontrado,     // the row is gone: another station removed it
    PlacaRepetida,    // another record holds the plate
    UsuarioRepetido,  // a user with the same name and password exists
    PeriodoPendiente, // the client still has an unpaid period
    YaPagada,         // the period is paid already
    Excede,           // the payment is above what is still owed
    PagoProtegido,    // a paid period's payment while the client has another unpaid period
    SinRegistros,     // nothing to write from: the closing's period holds no exits
    YaCerrado,        // another station closed the period first
    TarifaRepetida,   // a rate with the same price, minutes and description exists
    TurnoYaAbierto,   // the cashier has a shift open at this station already
    SinTurno          // no open shift to close, or the shift to reopen is not closed
};

template <class T = std::monostate> struct Cambio {
    Resultado resultado = Resultado::Hecho;
    // The statements that changed rows, in the order they ran, for the log.
    QStringList sentencias;
    // What the write gives back: a new key, what is still owed, the stored closing…
    T valor{};
    bool hecho() const { return resultado == Resultado::Hecho; }
};

// A write that wrote nothing, and why.
template <class T = std::monostate> Cambio<T> Rechazo(Resultado resultado, T valor = {}) {
    return Cambio<T>{resultado, {}, std::move(valor)};
}

template <class T = std::monostate> Cambio<T> Hecho(const QStringList& sentencias, T valor = {}) {
    return Cambio<T>{Resultado::Hecho, sentencias, std::move(valor)};
}

// Runs `cambiar` in one transaction, kept only when it answers Hecho, then closes the
// connection. A fault undoes everything and goes on to the handler's wrapper.
template <class Funcion> auto EnTransaccion(Funcion&& cambiar) -> decltype(cambiar()) {
    decltype(cambiar()) cambio;
    {
        Transaccion transaccion;
        cambio = cambiar();
        if (cambio.hecho())
            transaccion.confirmar();
    }
    CerrarConexion();
    return cambio;
}
