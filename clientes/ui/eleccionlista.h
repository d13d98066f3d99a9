#pragma once
// A list whose row is picked by a click, or by moving to it with the keys; a row the program
// makes current is not picked.

#include "principal/manejadores.h"

#include <QItemSelectionModel>
#include <QObject>
#include <QTreeView>

class EleccionLista : public QObject {
    Q_OBJECT
public:
    template <class Receptor>
    static void Conectar(QTreeView* lista, Receptor* receptor,
                         void (Receptor::*eleccion)(const QModelIndex&)) {
        auto* e = new EleccionLista(lista);
        ::Conectar(lista, &QTreeView::clicked, receptor, eleccion);
        lista->installEventFilter(e);
        lista->viewport()->installEventFilter(e);
        QObject::connect(lista->selectionModel(), &QItemSelectionModel::currentChanged, receptor,
                         [e, receptor, eleccion](const QModelIndex& actual) {
                             if (e->porTeclado_ && actual.isValid())
                                 EjecutarProtegido([&] { (receptor->*eleccion)(actual); });
                         });
    }
    // Makes row `fila` current and selected without picking it.
    static void Seleccionar(QTreeView* lista, int fila);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    explicit EleccionLista(QTreeView* lista) : QObject(lista) {}
    bool porTeclado_ = false;
};
