#include "clientes/modeloclientes.h"

#include <QFont>

ModeloClientes::ModeloClientes(const QStringList& titulos, QObject* parent)
    : QAbstractTableModel(parent), titulos_(titulos) {}

int ModeloClientes::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(filas_.size());
}

int ModeloClientes::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(titulos_.size());
}

QVariant ModeloClientes::data(const QModelIndex& indice, int rol) const {
    if (!indice.isValid())
        return QVariant();
    if (rol == Qt::DisplayRole)
        return texto(indice.row(), indice.column());
    if (rol == Qt::FontRole && indice.column() > 0) {
        QFont negrita;
        negrita.setBold(true);
        return negrita;
    }
    return QVariant();
}

QVariant ModeloClientes::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (rol != Qt::DisplayRole || orientacion != Qt::Horizontal)
        return QVariant();
    return titulos_.value(seccion);
}

void ModeloClientes::asignar(QVector<QStringList> filas) {
    beginResetModel();
    filas_ = std::move(filas);
    endResetModel();
}
