#include "acceso/usuarios.h"

#include "principal/auditar.h"

#include "bd/claves.h"
#include "bd/conexion.h"
#include "bd/recordset.h"
#include "bd/sql.h"
#include "principal/formatos.h"
#include "principal/registros.h"

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

// `u.pwd` is the hash to store; an update leaves the password as it is when that is empty.
QString actualizacion(int64_t id, const DatosUsuario& u, bool conClave) {
    return QStringLiteral("UPDATE Usuarios SET usuario=") + Texto(u.usuario) +
           (conClave && !u.pwd.isEmpty() ? QStringLiteral(",pwd=") + Texto(u.pwd) : QString()) +
           QStringLiteral(",nombre=") + Texto(u.nombre) + QStringLiteral(",ape1=") + Texto(u.ape1) +
           QStringLiteral(",ape2=") + Texto(u.ape2) + QStringLiteral(",nivelacceso=") +
           Texto(u.nivelacceso) + QStringLiteral(" WHERE id_usuario=") + QString::number(id);
}

// The rows of that name (letter case ignored) that have a password.
QString conNombre(const QString& usuario) {
    return QStringLiteral("SELECT * FROM Usuarios WHERE usuario=") + Texto(usuario) +
           QStringLiteral(" AND pwd IS NOT NULL");
}

// A password kept as typed, or hashed at another cost, is stored hashed anew, unless another
// station changed it meanwhile.
Cambio<> recifrar(int64_t id, const QString& clave, const QString& guardada) {
    const QString cifrada = CifrarClave(clave);
    return EnTransaccion([&] {
        const QString sentencia = QStringLiteral("UPDATE Usuarios SET pwd=") + Texto(cifrada) +
                                  QStringLiteral(" WHERE id_usuario=") + QString::number(id) +
                                  QStringLiteral(" AND pwd=") + Texto(guardada);
        if (EjecutarCambio(sentencia) != 1)
            return Rechazo(Resultado::NoEncontrado);
        return Auditado(QStringLiteral("Clave cifrada al ingresar"),
                        Hecho({OcultarClaves(sentencia)}));
    });
}

void llenarSesion(const Recordset& rs) {
    SesionActual.Usuario = rs.Fields(QStringLiteral("usuario")).aTexto();
    SesionActual.Nombre = rs.Fields(QStringLiteral("nombre")).aTexto();
    SesionActual.Ape1 = rs.Fields(QStringLiteral("ape1")).aTexto();
    SesionActual.Ape2 = rs.Fields(QStringLiteral("ape2")).aTexto();
    SesionActual.NivelAcceso = rs.Fields(QStringLiteral("nivelacceso")).aTexto();
    SesionActual.IdUsuario = rs.Fields(QStringLiteral("id_usuario")).aEntero();
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
    DatosUsuario cifrado = usuario;
    cifrado.pwd = CifrarClave(usuario.pwd);
    return EnTransaccion([&] {
        Recordset rs;
        for (rs.Open(conNombre(usuario.usuario)); !rs.Eof(); rs.MoveNext())
            if (ComprobarClave(usuario.pwd, rs.Fields(QStringLiteral("pwd")).aTexto()) !=
                Coincidencia::No)
                return Rechazo(Resultado::UsuarioRepetido);
        ExigirUnaFila(insercion(cifrado, true));
        return Auditado(QStringLiteral("Alta de usuario"),
                        Hecho({InsercionUsuarioSuceso(usuario)}));
    });
}

Cambio<> ModificarUsuario(int64_t id, const DatosUsuario& usuario) {
    DatosUsuario cifrado = usuario;
    if (!usuario.pwd.isEmpty())
        cifrado.pwd = CifrarClave(usuario.pwd);
    const Cambio<> cambio = EnTransaccion([&] {
        if (EjecutarCambio(actualizacion(id, cifrado, true)) != 1)
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

Cambio<> IngresarUsuario(const QString& usuario, const QString& clave) {
    Recordset rs;
    bool verificada = false;
    for (rs.Open(conNombre(usuario)); !rs.Eof(); rs.MoveNext()) {
        const QString guardada = rs.Fields(QStringLiteral("pwd")).aTexto();
        verificada = verificada || EsClaveCifrada(guardada);
        const Coincidencia coincide = ComprobarClave(clave, guardada);
        if (coincide == Coincidencia::No)
            continue;
        llenarSesion(rs);
        rs.Close();
        if (coincide == Coincidencia::Si)
            return Hecho({});
        // The login stands even when another station changed the password meanwhile.
        const Cambio<> cambio = recifrar(SesionActual.IdUsuario, clave, guardada);
        return Hecho(cambio.sentencias);
    }
    if (!verificada)
        GastarComprobacion(clave);
    return Rechazo(Resultado::NoEncontrado);
}
