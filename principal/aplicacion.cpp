#include "principal/aplicacion.h"

#include "principal/conexion.h"
#include "principal/sucesos.h"

#include <exception>

// Handlers catch their own errors; one that gets here left Qt in an unknown state, so the
// program logs it and ends instead of going on.
bool AplicacionVialtor::notify(QObject* receptor, QEvent* evento) {
    try {
        return QApplication::notify(receptor, evento);
    } catch (const std::exception& error) {
        Registrar(QStringLiteral("Error inesperado, el programa termina: ") +
                  QString::fromLocal8Bit(error.what()));
    } catch (...) {
        Registrar(QStringLiteral("Error inesperado, el programa termina"));
    }
    CerrarConexion();
    exit(1);
    return false;
}
