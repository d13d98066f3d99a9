#include "principal/modelolista.h"

#include <algorithm>

ModeloLista::ModeloLista(const QStringList& titulos, QObject* parent)
    : QAbstractTableModel(parent), titulos_(titulos) {}

int ModeloLista::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : dados_;
}

int ModeloLista::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(titulos_.size());
}

QVariant ModeloLista::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (rol != Qt::DisplayRole || orientacion != Qt::Horizontal)
        return QVariant();
    return titulos_.value(seccion);
}

bool ModeloLista::canFetchMore(const QModelIndex& padre) const {
    return !padre.isValid() && dados_ < total();
}

void ModeloLista::fetchMore(const QModelIndex& padre) {
    if (!canFetchMore(padre))
        return;
    const int hasta = std::min(total(), dados_ + kLote);
    beginInsertRows(QModelIndex(), dados_, hasta - 1);
    dados_ = hasta;
    endInsertRows();
}

void ModeloLista::abrir(const QString& sentencia) {
    Recordset rs;
    rs.Open(sentencia);
    beginResetModel();
    resultado_ = std::move(rs);
    dados_ = std::min(total(), kLote);
    endResetModel();
}

void ModeloLista::vaciar() {
    beginResetModel();
    resultado_ = Recordset();
    dados_ = 0;
    endResetModel();
}

const Valor& ModeloLista::campo(int fila, const QString& nombre) const {
    static const Valor nulo;
    const int columna = resultado_.indiceColumna(nombre);
    return columna < 0 || fila < 0 || fila >= total() ? nulo : resultado_.celda(fila, columna);
}

QString ModeloLista::texto(int fila, int columna) const {
    return data(createIndex(fila, columna), Qt::DisplayRole).toString();
}
