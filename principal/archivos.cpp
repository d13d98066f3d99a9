#include "principal/archivos.h"

#include <QSaveFile>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace {

// A full disk may show only here, when the system writes its own buffers out.
bool aDisco(QSaveFile& archivo) {
#ifdef Q_OS_WIN
    // No descriptor there; commit() flushes the file's buffers itself.
    Q_UNUSED(archivo);
    return true;
#else
    return ::fsync(archivo.handle()) == 0;
#endif
}

bool escribir(const QString& ruta, const QByteArray& bytes, QString* error, bool privado) {
    QSaveFile archivo(ruta);
    // Buffered, the last write's failure reaches no one: commit() has been seen to answer true
    // after it hit a full disk. The temporary file takes its mode before it takes the bytes.
    if (archivo.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        (!privado || archivo.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) &&
        archivo.write(bytes) == bytes.size() && archivo.flush() && aDisco(archivo) &&
        archivo.size() == bytes.size() && archivo.error() == QFileDevice::NoError &&
        archivo.commit())
        return true;
    if (error) {
        *error = archivo.errorString();
        if (archivo.error() == QFileDevice::NoError || error->isEmpty())
            *error = QStringLiteral("el archivo no se escribió entero");
    }
    archivo.cancelWriting();
    return false;
}

} // namespace

bool EscribirArchivo(const QString& ruta, const QByteArray& bytes, QString* error) {
    return escribir(ruta, bytes, error, false);
}

bool EscribirArchivoPrivado(const QString& ruta, const QByteArray& bytes) {
    return escribir(ruta, bytes, nullptr, true);
}
