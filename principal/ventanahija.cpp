#include "principal/ventanahija.h"

#include "principal/recursos.h"
#include "principal/registros.h"
#include "principal/sucesos.h"

#include <QCloseEvent>
#include <QPainter>

VentanaHija::VentanaHija(const QString& nombre, const QString& icono, const QString& fondo,
                         const QString& sucesoCierre, QWidget* parent)
    : QWidget(parent), fondo_(ImagenPrograma(fondo)), sucesoCierre_(sucesoCierre) {
    setObjectName(nombre);
    setWindowIcon(IconoPrograma(icono));
    setAttribute(Qt::WA_DeleteOnClose);
}

void VentanaHija::closeEvent(QCloseEvent* evento) {
    Registrar(sucesoCierre_);
    evento->accept();
}

void VentanaHija::paintEvent(QPaintEvent*) {
    if (fondo_.isNull())
        return;
    QPainter pintor(this);
    pintor.drawPixmap(rect(), fondo_);
}
