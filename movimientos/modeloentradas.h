#pragma once
// The vehicles inside, newest entry first, as a table for a view: rows keep the stored values
// and are formatted only when the view shows them.

#include "bd/recordset.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>

class ModeloEntradas : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Columna {
        Id,
        Fecha,
        Placa,
        DescrVeh,
        Observaciones,
        IdTarifa,
        Tarifa,
        Tiempo,
        DescrTarifa
    };
    static constexpr int kColumnas = DescrTarifa + 1;
    using Fila = std::array<Valor, kColumnas>;

    // `tituloNumero` heads the column of entry numbers.
    explicit ModeloEntradas(const QString& tituloNumero, QObject* parent = nullptr);

    int rowCount(const QModelIndex& padre = QModelIndex()) const override;
    int columnCount(const QModelIndex& padre = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion,
                        int rol = Qt::DisplayRole) const override;

    const Fila& fila(int i) const { return filas_.at(i); }

    // Reads every entry again (the connection must be open).
    void rellenar();
    // This station's own entry or exit. When no other station committed since the last read
    // (known on the file), only that row is read and added, or removed. Otherwise the rows are
    // read again: when they are the list's rows plus or minus that one, only that row changes
    // (the view keeps its place); any other difference (another station's entry, exit, time or
    // plate) refills the list.
    void agregar(int64_t idEntrada);
    void quitar(int64_t idEntrada);

private:
    void reemplazar(QVector<Fila> filas);
    // True when no other station committed since the rows were last read (on the file).
    bool soloEstaEstacion();

    QStringList titulos_;
    QVector<Fila> filas_;
    std::optional<std::pair<int64_t, int64_t>> sello_;
};
