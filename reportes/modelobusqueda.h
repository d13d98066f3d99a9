#pragma once
// The result of a search as a table for a view: the result set is kept as read, and a cell is
// formatted only when the view shows it.

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

    // The stored values of row `i`.
    Fila fila(int i) const;
    // The key of row `i`: id_salida, or id_entrada.
    int64_t clave(int i) const;
    // What the rows are: exits, or vehicles inside.
    bool salidas() const { return salidas_; }
    // The sum of Cobrado over the rows.
    int64_t cobrado() const { return cobrado_; }

private:
    const Valor& valor(int fila, int columna) const;

    Recordset resultado_;
    // The result's column behind each list column; -1 for none (the exit's columns of entries).
    std::array<int, kColumnas> columnas_{};
    bool salidas_ = false;
    int64_t cobrado_ = 0;
};
