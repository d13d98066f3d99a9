#include "movimientos/ui/delegadotexto.h"

#include <QApplication>
#include <QPainter>

void DelegadoTexto::paint(QPainter* pintor, const QStyleOptionViewItem& opcion,
                          const QModelIndex& indice) const {
    const QWidget* vista = opcion.widget;
    const QStyle* estilo = vista ? vista->style() : QApplication::style();
    const bool elegida = opcion.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup grupo =
        opcion.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
    // The view has already filled the base; only a selected row has a colour of its own.
    if (elegida)
        pintor->fillRect(opcion.rect, opcion.palette.brush(grupo, QPalette::Highlight));
    const int margen = estilo->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, vista) + 1;
    const QRect donde = opcion.rect.adjusted(margen, 0, -margen, 0);
    const QString texto = indice.data().toString();
    const QString clave = QString::number(donde.width()) + QLatin1Char('|') + texto;
    QStaticText* linea = textos_.object(clave);
    if (!linea) {
        linea =
            new QStaticText(opcion.fontMetrics.elidedText(texto, Qt::ElideRight, donde.width()));
        linea->setTextFormat(Qt::PlainText);
        linea->prepare(QTransform(), opcion.font);
        textos_.insert(clave, linea);
    }
    pintor->save();
    pintor->setPen(
        opcion.palette.color(grupo, elegida ? QPalette::HighlightedText : QPalette::Text));
    pintor->setFont(opcion.font);
    pintor->setClipRect(donde, Qt::IntersectClip);
    pintor->drawStaticText(
        donde.left(), donde.top() + (donde.height() - opcion.fontMetrics.height()) / 2, *linea);
    pintor->restore();
}
