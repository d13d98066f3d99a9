#include "principal/ui/ventanas.h"

#include "principal/manejadores.h"

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
// The correction the menu was last shown for, until it is chosen or the menu shown again.
QMetaObject::Connection correccionPendiente;
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

void MostrarMenuCorrecciones(const QPoint& posicionGlobal, std::function<void()> corregir) {
    if (!menuCorrecciones)
        return;
    QObject::disconnect(correccionPendiente);
    correccionPendiente = QObject::connect(menuCorrecciones, &QMenu::triggered, menuCorrecciones,
                                           [corregir = std::move(corregir)](QAction*) {
                                               QObject::disconnect(correccionPendiente);
                                               EjecutarProtegido(corregir);
                                           });
    menuCorrecciones->popup(posicionGlobal);
}

void EstablecerBarraEstado(QStatusBar* barra) {
    barraEstado = barra;
}

void MostrarEnBarraEstado(const QString& texto) {
    if (barraEstado)
        barraEstado->showMessage(texto);
}
