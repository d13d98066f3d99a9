#include "movimientos/modeloentradas.h"

#include "bd/conexion.h"

#include <algorithm>
#include <utility>

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

namespace {

// The entries as the refill reads them, newest first, with the positions of the list's columns.
struct Leidas {
    explicit Leidas(const QString& sentencia =
                        QStringLiteral("SELECT * FROM entradas ORDER BY FechaEntrada DESC")) {
        rs.Open(sentencia);
        for (int c = 0; c < ModeloEntradas::kColumnas; ++c)
            columnas[c] = rs.indiceColumna(QLatin1String(kCampos[c]));
    }
    int filas() const { return rs.RecordCount(); }
    ModeloEntradas::Fila fila(int i) const {
        ModeloEntradas::Fila f;
        for (int c = 0; c < ModeloEntradas::kColumnas; ++c)
            f[c] = rs.celda(i, columnas[c]);
        return f;
    }
    QVector<ModeloEntradas::Fila> todas() const {
        QVector<ModeloEntradas::Fila> f;
        f.reserve(filas());
        for (int i = 0; i < filas(); ++i)
            f.append(fila(i));
        return f;
    }
    // Compared as held, so no date is formatted nor any time zone looked up.
    bool igual(int i, const ModeloEntradas::Fila& f) const {
        for (int c = 0; c < ModeloEntradas::kColumnas; ++c) {
            if (!rs.celda(i, columnas[c]).mismo(f[c]))
                return false;
        }
        return true;
    }

    Recordset rs;
    int columnas[ModeloEntradas::kColumnas];
};

// The index of the one row that only the longer side holds, when it is the entry `idEntrada`
// and every other row is equal and in the same order; -1 otherwise. `listaMas`: the list is the
// longer side (an exit), otherwise the rows read (an entry).
int unaFilaMas(const Leidas& leidas, const QVector<ModeloEntradas::Fila>& lista, bool listaMas,
               int64_t idEntrada) {
    const int largo = std::max<int>(leidas.filas(), lista.size());
    if (largo != std::min<int>(leidas.filas(), lista.size()) + 1)
        return -1;
    // Row k of the shorter side against row k (before the extra one) or k + 1 (after it).
    const auto igual = [&](int corta, int larga) {
        return listaMas ? leidas.igual(corta, lista[larga]) : leidas.igual(larga, lista[corta]);
    };
    int i = 0;
    while (i < largo - 1 && igual(i, i))
        ++i;
    const int64_t id = listaMas ? lista[i][ModeloEntradas::Id].aEntero()
                                : leidas.rs.celda(i, leidas.columnas[ModeloEntradas::Id]).aEntero();
    if (id != idEntrada)
        return -1;
    for (int k = i; k < largo - 1; ++k)
        if (!igual(k, k + 1))
            return -1;
    return i;
}

} // namespace

void ModeloEntradas::reemplazar(QVector<Fila> filas) {
    beginResetModel();
    filas_ = std::move(filas);
    endResetModel();
}

bool ModeloEntradas::soloEstaEstacion() {
    return sello_ && Conexion.sello() == sello_;
}

// The stamp is taken before the rows: a commit in between only costs a needless read later.
void ModeloEntradas::rellenar() {
    sello_ = Conexion.sello();
    reemplazar(Leidas().todas());
}

void ModeloEntradas::agregar(int64_t idEntrada) {
    if (soloEstaEstacion()) {
        const Leidas nueva(QStringLiteral("SELECT * FROM entradas WHERE id_entrada = ") +
                           QString::number(idEntrada));
        if (nueva.filas() == 1) {
            // Newest first; among equal times the larger key first, as the index gives them.
            const QDateTime fecha = nueva.fila(0)[Fecha].aFecha();
            int i = 0;
            while (i < filas_.size() && filas_[i][Fecha].aFecha() > fecha)
                ++i;
            beginInsertRows(QModelIndex(), i, i);
            filas_.insert(i, nueva.fila(0));
            endInsertRows();
            return;
        }
    }
    const auto sello = Conexion.sello();
    const Leidas leidas;
    sello_ = sello;
    const int i = unaFilaMas(leidas, filas_, false, idEntrada);
    if (i < 0)
        return reemplazar(leidas.todas());
    beginInsertRows(QModelIndex(), i, i);
    filas_.insert(i, leidas.fila(i));
    endInsertRows();
}

void ModeloEntradas::quitar(int64_t idEntrada) {
    const auto fila = std::find_if(filas_.cbegin(), filas_.cend(),
                                   [&](const Fila& f) { return f[Id].aEntero() == idEntrada; });
    if (soloEstaEstacion() && fila != filas_.cend()) {
        const int i = static_cast<int>(fila - filas_.cbegin());
        beginRemoveRows(QModelIndex(), i, i);
        filas_.removeAt(i);
        endRemoveRows();
        return;
    }
    const auto sello = Conexion.sello();
    const Leidas leidas;
    sello_ = sello;
    const int i = unaFilaMas(leidas, filas_, true, idEntrada);
    if (i < 0)
        return reemplazar(leidas.todas());
    beginRemoveRows(QModelIndex(), i, i);
    filas_.removeAt(i);
    endRemoveRows();
}
