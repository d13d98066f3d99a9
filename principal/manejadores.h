#pragma once
// Every click, key and tick of a window runs through here: what its handler throws is caught
// at the handler's edge, because nothing may be thrown through Qt's own code.

#include <QObject>
#include <functional>

class ErrorBD;

// Runs the handler. On a database error the connection is let go of (the transaction guard has
// already rolled back; whatever the handle still held goes with it), the technical text is
// logged and the attendant reads a sentence about the cause in the one database-error box; any
// other error is logged and shown likewise. False when the handler failed.
bool EjecutarProtegido(const std::function<void()>& manejador);

// The box and log line of a database error that reached a handler's edge.
void ManejarErrorBD(const ErrorBD& error);

// A window's handler as a slot that never throws.
template <class Objeto, class Clase, class... Args>
auto Protegido(Objeto* objeto, void (Clase::*metodo)(Args...)) {
    return
        [objeto, metodo](Args... args) { EjecutarProtegido([&] { (objeto->*metodo)(args...); }); };
}

// connect() of a signal to a window's handler, through the wrapper.
template <class Emisor, class Senal, class Objeto, class Metodo>
QMetaObject::Connection Conectar(const Emisor* emisor, Senal senal, Objeto* objeto, Metodo metodo) {
    return QObject::connect(emisor, senal, objeto, Protegido(objeto, metodo));
}
