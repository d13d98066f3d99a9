#pragma once
// The child windows the main window can open, each registered by its system name by the
// subsystem that builds it, so the main window needs no knowledge of them.

#include <QString>
#include <functional>

class QMenu;
class QPoint;
class QStatusBar;
class QWidget;

using FabricaVentana = std::function<QWidget*()>;

void RegistrarVentana(const QString& nombre, FabricaVentana fabrica);
// A new instance, or nullptr when no subsystem registered that name.
QWidget* CrearVentana(const QString& nombre);

// The main window's hidden corrections menu, popped up by the lists that offer it: its action
// runs `corregir`, the correction of the row it was shown for, once.
void EstablecerMenuCorrecciones(QMenu* menu);
void MostrarMenuCorrecciones(const QPoint& posicionGlobal, std::function<void()> corregir);

// The main window's status bar, where the program tells the attendant what became of a ticket
// no printer took. An empty text clears it.
void EstablecerBarraEstado(QStatusBar* barra);
void MostrarEnBarraEstado(const QString& texto);
