#pragma once
// The application object: shows a wait cursor while a statement waits for another station, and
// is the last catch for an error that escaped every handler's wrapper.

#include <QApplication>

// A wait cursor while a statement waits for another station's lock: what the application tells
// the connection to call (EstablecerAvisoEspera).
void MostrarCursorEspera(bool esperando);

class AplicacionVialtor : public QApplication {
public:
    AplicacionVialtor(int& argc, char** argv);
    ~AplicacionVialtor() override;
    bool notify(QObject* receptor, QEvent* evento) override;
};
