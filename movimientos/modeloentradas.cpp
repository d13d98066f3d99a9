#include "movimientos/modeloentradas.h"

#include <algorithm>

namespace {

const char* const kCampos[] = {"id_entrada", "FechaEntrada",  "Placa",
                               "DescrVeh",   "Observaciones", "id_tarifa",
                               "Tarifa",     "Tiempo",        "DescrTarifa"};

} // namespace

ModeloEntradas::ModeloEntradas(const QString& tituloNumero, QObject* parent)
    : QAbstractTableModel(parent), titulos_{tituloNumero,
                                            QStringLiteral("Fecha"),
                                            QStringLiteral("Placa"),
                                            QStringLiteral("Descripción"),
                                            QStringLiteral("Observaciones"),
                                            QStringLiteral("ID Tarifa"),
                                            QStringLiteral("Tarifa"),
                                            QStringLiteral("Tiempo"),
                                            QStringLiteral("DescrTarifa")} {}

int ModeloEntradas::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(filas_.size());
}

int ModeloEntradas::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : kColumnas;
}

QVariant ModeloEntradas::data(const QModelIndex& indice, int rol) const {
    if (rol != Qt::DisplayRole || !indice.isValid())
        return QVariant();
    return filas_.at(indice.row()).at(indice.column()).aTexto();
}

QVariant ModeloEntradas::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (rol != Qt::DisplayRole || orientacion != Qt::Horizontal)
        return QVariant();
    return titulos_.value(seccion);
}

ModeloEntradas::Fila ModeloEntradas::leerFila(const Recordset& rs) {
    Fila fila;
    for (int c = 0; c < kColumnas; ++c)
        fila[c] = rs.Fields(QLatin1String(kCampos[c]));
    return fila;
}

void ModeloEntradas::rellenar() {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM entradas ORDER BY FechaEntrada DESC"));
    beginResetModel();
    filas_.clear();
    filas_.reserve(rs.RecordCount());
    sumaIds_ = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        filas_.append(leerFila(rs));
        sumaIds_ += filas_.last()[Id].aEntero();
    }
    endResetModel();
}

// Keys only grow (AUTOINCREMENT), so every key another station added is above every key of the
// list, and the count and the sum of keys together tell any change apart.
bool ModeloEntradas::coincideConEntradas(int64_t filas, int64_t sumaIds) const {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT COUNT(*) AS n, SUM(id_entrada) AS s FROM entradas"));
    return rs.Fields(QStringLiteral("n")).aEntero() == filas &&
           rs.Fields(QStringLiteral("s")).aEntero() == sumaIds;
}

void ModeloEntradas::agregar(int64_t idEntrada) {
    if (!coincideConEntradas(filas_.size() + 1, sumaIds_ + idEntrada)) {
        rellenar();
        return;
    }
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM entradas WHERE id_entrada = ") +
            QString::number(idEntrada));
    const Fila nueva = leerFila(rs);
    // Newest first; among equal times the newest key first, as the refill's index gives them.
    const QDateTime fecha = nueva[Fecha].aFecha();
    const auto donde = std::find_if(filas_.cbegin(), filas_.cend(),
                                    [&fecha](const Fila& f) { return f[Fecha].aFecha() <= fecha; });
    const int i = static_cast<int>(donde - filas_.cbegin());
    beginInsertRows(QModelIndex(), i, i);
    filas_.insert(i, nueva);
    sumaIds_ += idEntrada;
    endInsertRows();
}

void ModeloEntradas::quitar(int64_t idEntrada) {
    const auto donde = std::find_if(filas_.cbegin(), filas_.cend(), [idEntrada](const Fila& f) {
        return f[Id].aEntero() == idEntrada;
    });
    if (donde == filas_.cend() || !coincideConEntradas(filas_.size() - 1, sumaIds_ - idEntrada)) {
        rellenar();
        return;
    }
    const int i = static_cast<int>(donde - filas_.cbegin());
    beginRemoveRows(QModelIndex(), i, i);
    filas_.removeAt(i);
    sumaIds_ -= idEntrada;
    endRemoveRows();
}
