#include "aplicacion.h"

#include "conexion.h"
#include "registros.h"
#include "servicios.h"
#include "sucesos.h"

bool AplicacionVialtor::notify(QObject* receptor, QEvent* evento) {
    try {
        return QApplication::notify(receptor, evento);
    } catch (const ErrorBD& error) {
        ManejarErrorInesperado(error);
    }
    return false;
}

void ManejarErrorInesperado(const ErrorBD& error) {
    CerrarConexion();
    Registrar(QStringLiteral("Error de base de datos: ") +
              error.textoCompleto().replace(QLatin1Char('\n'), QLatin1String(" - ")));
    Servicios().dialogos->mensaje(QStringLiteral("No se pudo completar la operación.\n\n") +
                                      error.textoCompleto(),
                                  QStringLiteral("Error de base de datos"), QMessageBox::Critical);
}
