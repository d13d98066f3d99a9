#include "principal/ui/aplicacion.h"

#include "bd/conexion.h"
#include "principal/registros.h"
#include "principal/sucesos.h"

#include <QTimer>
#include <cstdlib>
#include <exception>

namespace {

// Logged without a box: Qt is in an unknown state here.
[[noreturn]] void terminar(const QString& suceso) {
    MensajeSuceso = suceso;
    RegistrarSucesoInicio();
    // What was half done is rolled back: by this close, or from its journal by the next
    // station that opens the file.
    Conexion.descartar();
    std::_Exit(EXIT_FAILURE);
}

} // namespace

void MostrarCursorEspera(bool esperando) {
    static bool puesto = false;
    if (esperando == puesto)
        return;
    puesto = esperando;
    if (!esperando) {
        QApplication::restoreOverrideCursor();
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Back in the event loop the wait is over, even if the handler shows a box before its next
    // statement.
    QTimer::singleShot(0, [] { MostrarCursorEspera(false); });
}

AplicacionVialtor::AplicacionVialtor(int& argc, char** argv) : QApplication(argc, argv) {
    EstablecerAvisoEspera(MostrarCursorEspera);
}

AplicacionVialtor::~AplicacionVialtor() {
    EstablecerAvisoEspera(nullptr);
}

// Handlers catch their own errors; one that gets here left Qt in an unknown state, so the
// program logs it and ends instead of going on.
bool AplicacionVialtor::notify(QObject* receptor, QEvent* evento) {
    try {
        return QApplication::notify(receptor, evento);
    } catch (const std::exception& error) {
        terminar(QStringLiteral("Error inesperado, el programa termina: ") +
                 QString::fromLocal8Bit(error.what()));
    } catch (...) {
        terminar(QStringLiteral("Error inesperado, el programa termina"));
    }
}
