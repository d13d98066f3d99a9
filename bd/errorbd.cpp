#include "bd/errorbd.h"

#include "bd/sql.h"

#include <cerrno>
#include <sqlite3.h>

namespace {

// What the operating system said when SQLite could not reach the file.
CausaBD causaSistema(int numero) {
    switch (numero) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return CausaBD::DiscoLleno;
    case EACCES:
    case EPERM:
    case EROFS:
        return CausaBD::SinPermiso;
    case ENOENT:
        return CausaBD::NoExiste;
    default:
        return CausaBD::Otra;
    }
}

} // namespace

ErrorBD::ErrorBD(const QString& mensaje, const QString& detalle, CausaBD causa)
    : std::runtime_error((mensaje + QLatin1String(": ") + OcultarClaves(detalle)).toStdString()),
      mensaje(mensaje), detalle(OcultarClaves(detalle)), causa(causa) {}

ErrorBD ErrorBD::deSentencia(const QString& textoDriver, const QString& sentencia, CausaBD causa) {
    return ErrorBD(QStringLiteral("Error de base de datos"),
                   textoDriver + QLatin1String(" [") + OcultarClaves(sentencia) + QLatin1Char(']'),
                   causa);
}

ErrorBD ErrorBD::conExplicacion(const QString& mensaje, const QString& detalle, CausaBD causa,
                                const QString& explicacion) {
    ErrorBD error(mensaje, detalle, causa);
    error.explicacion_ = explicacion;
    return error;
}

QString ErrorBD::textoCompleto() const {
    return detalle.isEmpty() ? mensaje : mensaje + QLatin1Char('\n') + detalle;
}

QString ErrorBD::explicacion() const {
    if (!explicacion_.isEmpty())
        return explicacion_;
    switch (causa) {
    case CausaBD::Ocupada:
        return QStringLiteral("Otra estación está usando la base de datos y no la liberó a "
                              "tiempo. Espere un momento y vuelva a intentarlo.");
    case CausaBD::DiscoLleno:
        return QStringLiteral("El disco de la base de datos está lleno. Libere espacio y vuelva "
                              "a intentarlo.");
    case CausaBD::SinPermiso:
        return QStringLiteral("No hay permiso para escribir en la base de datos o en su "
                              "carpeta. Consulte al soporte técnico.");
    case CausaBD::Danada:
        return QStringLiteral("El archivo de la base de datos está dañado o no es una base de "
                              "datos del programa. Consulte al soporte técnico.");
    case CausaBD::NoExiste:
        return QStringLiteral("No se encuentra la base de datos en la carpeta de datos. "
                              "Consulte al soporte técnico.");
    default:
        break;
    }
    return mensaje + QLatin1Char('.');
}

CausaBD CausaSqlite(sqlite3* db) {
    const int codigo = sqlite3_extended_errcode(db);
    if (codigo == SQLITE_READONLY_DBMOVED)
        return CausaBD::NoExiste;
    switch (codigo & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return CausaBD::Ocupada;
    case SQLITE_FULL:
        return CausaBD::DiscoLleno;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return CausaBD::SinPermiso;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return CausaBD::Danada;
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR: {
        // SQLite keeps the system's error of a failed write with the file, not always with
        // the connection.
        int numero = sqlite3_system_errno(db);
        if (numero == 0)
            sqlite3_file_control(db, "main", SQLITE_FCNTL_LAST_ERRNO, &numero);
        return causaSistema(numero);
    }
    default:
        return CausaBD::Otra;
    }
}
