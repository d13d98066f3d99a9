#pragma once
// Controls built in code, each named with its system name so tests and tools find it.

#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

QLabel* NuevaEtiqueta(const char* nombre, const QString& texto, QWidget* padre);
QLineEdit* NuevaCaja(const char* nombre, int largoMaximo, QWidget* padre);
// `icono` is a file of the program's ico folder; empty for none.
QPushButton* NuevoBoton(const char* nombre, const QString& texto, const QString& icono,
                        QWidget* padre);
