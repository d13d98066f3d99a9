#pragma once
// The sessions at one station, one after another: the login, then the main window and the float
// box of the cashier's shift; a change of user brings the login back without ending the program.

#include "acceso/ui/frmAcceso.h"

#include <QObject>
#include <QPointer>

class frmPrincipal;

class Sesiones : public QObject {
    Q_OBJECT
public:
    Sesiones();
    // Reads the station's configuration and shows the login; false when it cannot be read.
    bool empezar();
    // The open session's main window; none while the login waits.
    frmPrincipal* principal() const;

    frmAcceso acceso;

private:
    void ingresar();

    QPointer<frmPrincipal> principal_;
};
