#include "principal/archivos.h"

#include <QSaveFile>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

bool aDisco(QSaveFile& archivo) {
#ifdef Q_OS_WIN
    return _commit(archivo.handle()) == 0;
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
