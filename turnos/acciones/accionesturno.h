#pragma once
// The menu's shift actions, in boxes: open with a float, the blind close, the reopen by a
// level-1 user, and the audit trail's verification.

#include <QString>

// After the login, and from the menu (`alIngresar` false): asks for the float when the
// cashier has no open shift at this station; an emptied box opens none.
void PedirAbrirTurno(bool alIngresar);
// Before an action that takes cash or lets a vehicle out free: true when the cashier has an
// open shift here, or opens one now with the float box; otherwise the attendant reads why and
// the action is not done (`desde` names it in the log).
bool AsegurarTurno(const QString& desde);
// Asks for the cash counted without showing what is expected; then shows and prints the
// closing.
void PedirCerrarTurno();
// Before a change of user with a shift open here: asks whether to close it first (the blind
// close) or leave it open for later. False when the cashier chose to close and then left the
// count: the change of user stops.
bool OfrecerCierreTurno();
void PedirReabrirTurno();
void PedirVerificarAuditoria();
