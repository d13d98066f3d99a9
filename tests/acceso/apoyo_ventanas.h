#pragma once
// What the window tests of several subsystems share: a window made and shown, a click, the last
// box's text, and a list's column.

#include "tests/comun/dobles.h"

#include <QAbstractItemModel>
#include <QTest>
#include <memory>

// A new window in `ventana`, shown; `Perezosa` makes it only the first time it is asked for.
template <class Ventana> Ventana& Abrir(std::unique_ptr<Ventana>& ventana) {
    ventana = std::make_unique<Ventana>();
    ventana->show();
    return *ventana;
}
template <class Ventana> Ventana& Perezosa(std::unique_ptr<Ventana>& ventana) {
    return ventana ? *ventana : Abrir(ventana);
}

// QTest clicks widgets only where the tests link them.
#ifdef QT_WIDGETS_LIB
inline void Pulsar(QWidget* control) {
    QTest::mouseClick(control, Qt::LeftButton);
}
#endif

// The text of the last box shown, empty if none.
inline QString UltimaCaja(const DialogosGuion& dialogos) {
    return dialogos.cajas.isEmpty() ? QString() : dialogos.cajas.last().texto;
}

// Column `c` of every row, joined by '|'.
inline QString Columna(const QAbstractItemModel& m, int c) {
    QStringList t;
    for (int f = 0; f < m.rowCount(); ++f)
        t << m.index(f, c).data().toString();
    return t.join('|');
}
