#include "principal/ui/ventanas.h"

#include <QHash>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>

namespace {
QHash<QString, FabricaVentana>& fabricas() {
    static QHash<QString, FabricaVentana> registro;
    return registro;
}
QPointer<QMenu> menuCorrecciones;
QPointer<QStatusBar> barraEstado;
} // namespace

void RegistrarVentana(const QString& nombre, FabricaVentana fabrica) {
    fabricas().insert(nombre, std::move(fabrica));
}

QWidget* CrearVentana(const QString& nombre) {
    const auto fabrica = fabricas().value(nombre);
    return fabrica ? fabrica() : nullptr;
}

void EstablecerMenuCorrecciones(QMenu* menu) {
    menuCorrecciones = menu;
}

void MostrarMenuCorrecciones(const QPoint& posicionGlobal) {
    if (menuCorrecciones)
        menuCorrecciones->popup(posicionGlobal);
}

void EstablecerBarraEstado(QStatusBar* barra) {
    barraEstado = barra;
}

void MostrarEnBarraEstado(const QString& texto) {
    if (barraEstado)
        barraEstado->showMessage(texto);
}
