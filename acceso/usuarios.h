#pragma once
// The users' table: the rule of the level box, the login and the writes of the users window,
// each checked against the rows it touched. Passwords are stored hashed (bd/claves.h).

#include "bd/cambio.h"

#include <QString>
#include <cstdint>

struct DatosUsuario {
    QString usuario;
    QString pwd;
    QString nombre;
    QString ape1;
    QString ape2;
    QString nivelacceso;
};

// Only a single digit 1 to 6, or nothing yet, may stay in the level box.
bool NivelAdmitido(const QString& texto);

// The statements as the log shows them: the password is left out. The writes give back
// these, never the statements they ran.
QString InsercionUsuarioSuceso(const DatosUsuario& usuario);
QString ActualizacionUsuarioSuceso(int64_t id, const DatosUsuario& usuario);
// Run and logged alike.
QString EliminacionUsuario(int64_t id);

// Adds the user for this station's control point, the password hashed; the check and the
// insert in one transaction. Statement: the insert as logged. Refusals: UsuarioRepetido (the
// same name and password).
Cambio<> AgregarUsuario(const DatosUsuario& usuario);
// Rewrites user `id` (its control point stays, and its password when `pwd` is empty, else it
// is hashed); when that is the logged-in user, the session's name and surnames follow.
// Statement: the update as logged. Refusals: NoEncontrado.
Cambio<> ModificarUsuario(int64_t id, const DatosUsuario& usuario);
// Refusals: NoEncontrado.
Cambio<> EliminarUsuario(int64_t id);

// The login: the first row of that name (letter case ignored) whose password verifies fills
// SesionActual. A matching password kept as typed is stored hashed now, with its audit row, in
// one transaction. Statement: that update as logged, password hidden. Refusals: NoEncontrado
// (no such user, or a wrong password: either takes as long as a right one).
Cambio<> IngresarUsuario(const QString& usuario, const QString& clave);
