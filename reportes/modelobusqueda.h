#pragma once
// The result of a search as a table for a view: rows keep the stored values and are formatted
// only when the view shows them.

#include "principal/recordset.h"

#include <QAbstractTableModel>
#include <array>
#include <cstdint>

struct FiltroBusqueda;

class ModeloBusqueda : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Columna {
        Consecutivo,
        FechaEntrada,
        FechaSalida,
        Placa,
        DescrVeh,
        Observaciones,
        IdTarifa,
        Tarifa,
        Tiempo,
        DescrTarifa,
        Cobrado,
        ConsecutivoDia,
        Iva,
        Documento
    };
    static constexpr int kColumnas = Documento + 1;
    using Fila = std::array<Valor, kColumnas>;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& padre = QModelIndex()) const override;
    int columnCount(const QModelIndex& padre = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion,
                        int rol = Qt::DisplayRole) const override;

    // Runs the search (the connection must be open); the rows of entries leave the exit's
    // columns Null. A failing statement leaves the list as it was.
    void buscar(const FiltroBusqueda& filtro);

    const Fila& fila(int i) const { return filas_.at(i); }
    // What the rows are: exits, or vehicles inside.
    bool salidas() const { return salidas_; }
    // The sum of Cobrado over the rows.
    int64_t cobrado() const { return cobrado_; }

private:
    QVector<Fila> filas_;
    bool salidas_ = false;
    int64_t cobrado_ = 0;
};
