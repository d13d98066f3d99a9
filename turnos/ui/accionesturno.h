#pragma once
// The menu's shift actions, in boxes: open with a float, the blind close, the reopen by a
// level-1 user, and the audit trail's verification.

// After the login, and from the menu (`alIngresar` false): asks for the float when the
// cashier has no open shift at this station; an emptied box opens none.
void PedirAbrirTurno(bool alIngresar);
// Asks for the cash counted without showing what is expected; then shows and prints the
// closing.
void PedirCerrarTurno();
void PedirReabrirTurno();
void PedirVerificarAuditoria();
