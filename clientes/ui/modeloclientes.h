#pragma once
// The lists of clients, periods, payments and exempt vehicles: each column a stored field shown
// as text, a short date, Si/No or Activo/Inactivo, bold unless told otherwise.

#include "principal/modelolista.h"

#include <QVector>

class QTreeView;
class QWidget;

class ModeloClientes : public ModeloLista {
    Q_OBJECT
public:
    enum class Formato { Texto, Fecha, SiNo, ActivoInactivo };
    struct Columna {
        const char* titulo;
        const char* campo;
        Formato formato;
        int ancho; // in twips; 0 hides the column
        bool negrita = true;
    };

    explicit ModeloClientes(const QVector<Columna>& columnas, QObject* parent = nullptr);

    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;

    const QVector<Columna> columnas;
};

// The columns of the client, period and payment lists.
extern const QVector<ModeloClientes::Columna> kColumnasClientes;
extern const QVector<ModeloClientes::Columna> kColumnasPeriodos;
extern const QVector<ModeloClientes::Columna> kColumnasPagos;
extern const QVector<ModeloClientes::Columna> kColumnasExentos;

// A list of rows over a new model of `columnas`, its hidden and sized columns set.
QTreeView* NuevaListaClientes(const char* nombre, const QVector<ModeloClientes::Columna>& columnas,
                              ModeloClientes*& modelo, QWidget* padre);
