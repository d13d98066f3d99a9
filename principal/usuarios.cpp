#include "principal/usuarios.h"

#include "principal/auditoria.h"

#include "principal/conexion.h"
#include "principal/formatos.h"
#include "principal/recordset.h"
#include "principal/registros.h"
#include "principal/sql.h"

namespace {

QString insercion(const DatosUsuario& u, bool conClave) {
    return QStringLiteral("INSERT INTO Usuarios (usuario,") +
           (conClave ? QStringLiteral("pwd,") : QString()) +
           QStringLiteral("nombre,ape1,ape2,nivelacceso,puntodecontrol) VALUES (") +
           Texto(u.usuario) + QLatin1Char(',') +
           (conClave ? Texto(u.pwd) + QLatin1Char(',') : QString()) + Texto(u.nombre) +
           QLatin1Char(',') + Texto(u.ape1) + QLatin1Char(',') + Texto(u.ape2) + QLatin1Char(',') +
           Texto(u.nivelacceso) + QLatin1Char(',') + Texto(ConfigInicio.PuntoControl) +
           QLatin1Char(')');
}

QString actualizacion(int64_t id, const DatosUsuario& u, bool conClave) {
    return QStringLiteral("UPDATE Usuarios SET usuario=") + Texto(u.usuario) +
           (conClave ? QStringLiteral(",pwd=") + Texto(u.pwd) : QString()) +
           QStringLiteral(",nombre=") + Texto(u.nombre) + QStringLiteral(",ape1=") + Texto(u.ape1) +
           QStringLiteral(",ape2=") + Texto(u.ape2) + QStringLiteral(",nivelacceso=") +
           Texto(u.nivelacceso) + QStringLiteral(" WHERE id_usuario=") + QString::number(id);
}

} // namespace

bool NivelAdmitido(const QString& texto) {
    if (texto.isEmpty())
        return true;
    const std::optional<int64_t> nivel = EnteroEstricto(texto);
    return texto.size() == 1 && nivel && *nivel >= 1 && *nivel <= 6;
}

QString InsercionUsuarioSuceso(const DatosUsuario& usuario) {
    return insercion(usuario, false);
}

QString ActualizacionUsuarioSuceso(int64_t id, const DatosUsuario& usuario) {
    return actualizacion(id, usuario, false);
}

QString EliminacionUsuario(int64_t id) {
    return QStringLiteral("DELETE FROM Usuarios WHERE id_usuario = ") + QString::number(id);
}

Cambio<> AgregarUsuario(const DatosUsuario& usuario) {
    return EnTransaccion([&] {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM Usuarios WHERE usuario=") + Texto(usuario.usuario) +
                QStringLiteral(" AND pwd=") + Texto(usuario.pwd));
        if (!rs.Eof())
            return Rechazo(Resultado::UsuarioRepetido);
        ExigirUnaFila(insercion(usuario, true));
        return Auditado(QStringLiteral("Alta de usuario"),
                        Hecho({InsercionUsuarioSuceso(usuario)}));
    });
}

Cambio<> ModificarUsuario(int64_t id, const DatosUsuario& usuario) {
    const Cambio<> cambio = EnTransaccion([&] {
        if (EjecutarCambio(actualizacion(id, usuario, true)) != 1)
            return Rechazo(Resultado::NoEncontrado);
        return Auditado(QStringLiteral("Cambio de usuario"),
                        Hecho({ActualizacionUsuarioSuceso(id, usuario)}));
    });
    // Another user's names are theirs alone.
    if (cambio.hecho() && id == SesionActual.IdUsuario) {
        SesionActual.Nombre = usuario.nombre;
        SesionActual.Ape1 = usuario.ape1;
        SesionActual.Ape2 = usuario.ape2;
    }
    return cambio;
}

Cambio<> EliminarUsuario(int64_t id) {
    return EnTransaccion([&] {
        if (EjecutarCambio(EliminacionUsuario(id)) != 1)
            return Rechazo(Resultado::NoEncontrado);
        return Auditado(QStringLiteral("Baja de usuario"), Hecho({EliminacionUsuario(id)}));
    });
}
