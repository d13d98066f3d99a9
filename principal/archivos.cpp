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

} // namespace

bool EscribirArchivo(const QString& ruta, const QByteArray& bytes, QString* error) {
    QSaveFile archivo(ruta);
    // Buffered, the last write's failure reaches no one: commit() has been seen to answer true
    // after it hit a full disk.
    if (archivo.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
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
