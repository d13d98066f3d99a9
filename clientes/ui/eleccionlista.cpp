#include "clientes/ui/eleccionlista.h"

#include <QEvent>

void EleccionLista::Seleccionar(QTreeView* lista, int fila) {
    if (auto* e = lista->findChild<EleccionLista*>(QString(), Qt::FindDirectChildrenOnly))
        e->porTeclado_ = false;
    if (fila >= 0 && fila < lista->model()->rowCount())
        lista->selectionModel()->setCurrentIndex(lista->model()->index(fila, 1),
                                                 QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
}

bool EleccionLista::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::KeyPress)
        porTeclado_ = true;
    else if (evento->type() == QEvent::MouseButtonPress)
        porTeclado_ = false;
    return QObject::eventFilter(objeto, evento);
}
