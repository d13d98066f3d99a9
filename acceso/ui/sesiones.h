#pragma once
// The sessions at one station, one after another: the login, then the main window and the float
// box of the cashier's shift; a change of user brings the login back without ending the program.
// A direct printer set beside the station's vialtor.cfg prints for all of them.

#include "acceso/ui/frmAcceso.h"

#include <QObject>
#include <QPointer>
#include <memory>

class frmPrincipal;
class ImpresoraEscPos;
class Impresora;

class Sesiones : public QObject {
    Q_OBJECT
public:
    Sesiones();
    ~Sesiones() override;
    // Reads the station's configuration and shows the login; false when it cannot be read.
    bool empezar();
    // The open session's main window; none while the login waits.
    frmPrincipal* principal() const;

    frmAcceso acceso;

private:
    void ingresar();

    QPointer<frmPrincipal> principal_;
    // The station's direct printer, in force while the sessions last; the one before it after.
    std::unique_ptr<ImpresoraEscPos> impresora_;
    Impresora* anterior_ = nullptr;
};
