#include "principal/ui/etiquetapulsable.h"

#include <QCheckBox>
#include <QMouseEvent>

EtiquetaPulsable::EtiquetaPulsable(const QString& texto, QCheckBox* casilla, QWidget* parent)
    : QLabel(texto, parent) {
    setCursor(Qt::PointingHandCursor);
    if (casilla)
        connect(this, &EtiquetaPulsable::pulsada, casilla, &QCheckBox::toggle);
}

void EtiquetaPulsable::mouseReleaseEvent(QMouseEvent* evento) {
    if (evento->button() == Qt::LeftButton)
        emit pulsada();
    QLabel::mouseReleaseEvent(evento);
}
