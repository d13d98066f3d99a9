#include "principal/controles.h"

#include "principal/recursos.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QLabel* NuevaEtiqueta(const char* nombre, const QString& texto, QWidget* padre) {
    auto* etiqueta = new QLabel(texto, padre);
    etiqueta->setObjectName(QLatin1String(nombre));
    return etiqueta;
}

QLineEdit* NuevaCaja(const char* nombre, int largoMaximo, QWidget* padre) {
    auto* caja = new QLineEdit(padre);
    caja->setObjectName(QLatin1String(nombre));
    caja->setMaxLength(largoMaximo);
    return caja;
}

QPushButton* NuevoBoton(const char* nombre, const QString& texto, const QString& icono,
                        QWidget* padre) {
    auto* boton = new QPushButton(texto, padre);
    boton->setObjectName(QLatin1String(nombre));
    if (!icono.isEmpty()) {
        boton->setIcon(IconoPrograma(icono));
        boton->setIconSize(QSize(24, 24));
    }
    return boton;
}
