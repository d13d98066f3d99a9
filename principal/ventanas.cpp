#include "principal/ventanas.h"

#include <QHash>
#include <QMenu>
#include <QPointer>

namespace {
QHash<QString, FabricaVentana>& fabricas() {
    static QHash<QString, FabricaVentana> registro;
    return registro;
}
QPointer<QMenu> menuCorrecciones;
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
