#include "principal/manejadores.h"

#include "bd/conexion.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"

namespace {

const QString kNoSeCompleto = QStringLiteral("No se pudo completar la operación.");

// Whatever failed, the connection is let go of: a transaction or lock it still held must not
// outlive the handler, and the next click opens it anew.
void fallo(const QString& suceso, const QString& explicacion, const QString& titulo) {
    Conexion.descartar();
    Registrar(suceso);
    Servicios().dialogos->mensaje(kNoSeCompleto + QStringLiteral("\n\n") + explicacion, titulo,
                                  Icono::Critico);
}

} // namespace

void ManejarErrorBD(const ErrorBD& error) {
    fallo(QStringLiteral("Error de base de datos: ") +
              error.textoCompleto().replace(QLatin1Char('\n'), QLatin1String(" - ")),
          error.explicacion(), QStringLiteral("Error de base de datos"));
}

bool EjecutarProtegido(const std::function<void()>& manejador) {
    try {
        manejador();
        return true;
    } catch (const ErrorBD& error) {
        ManejarErrorBD(error);
    } catch (const std::exception& error) {
        fallo(QStringLiteral("Error inesperado: ") + QString::fromLocal8Bit(error.what()),
              QStringLiteral("Ocurrió un error inesperado."), QStringLiteral("Error"));
    } catch (...) {
        fallo(QStringLiteral("Error inesperado"), QStringLiteral("Ocurrió un error inesperado."),
              QStringLiteral("Error"));
    }
    return false;
}
