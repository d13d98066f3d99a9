#pragma once
// Pictures read at run time from the "ico" and "img" folders beside the program.
// A missing picture gives an empty one: a window never fails to open for lack of it.

#include <QIcon>
#include <QPixmap>
#include <QString>

QIcon IconoPrograma(const QString& archivo);
QPixmap ImagenPrograma(const QString& archivo);
