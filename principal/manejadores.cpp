#include "principal/manejadores.h"

#include "principal/conexion.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"

void ManejarErrorBD(const ErrorBD& error) {
    CerrarConexion();
    Registrar(QStringLiteral("Error de base de datos: ") +
              error.textoCompleto().replace(QLatin1Char('\n'), QLatin1String(" - ")));
    Servicios().dialogos->mensaje(QStringLiteral("No se pudo completar la operación.\n\n") +
                                      error.textoCompleto(),
                                  QStringLiteral("Error de base de datos"), Icono::Critico);
}

bool EjecutarProtegido(const std::function<void()>& manejador) {
    try {
        manejador();
        return true;
    } catch (const ErrorBD& error) {
        ManejarErrorBD(error);
    } catch (const std::exception& error) {
        CerrarConexion();
        Registrar(QStringLiteral("Error inesperado: ") + QString::fromLocal8Bit(error.what()));
        Servicios().dialogos->mensaje(
            QStringLiteral("No se pudo completar la operación por un error inesperado."),
            QStringLiteral("Error"), Icono::Critico);
    }
    return false;
}
