#pragma once
// A statement's rows as a table for a view. The result is kept as read; the view is given the
// rows in batches as it scrolls to them, and a cell is formatted only when the view shows it.
// A list's own model gives its columns and data() only.

#include "bd/recordset.h"

#include <QAbstractTableModel>
#include <QStringList>

class ModeloLista : public QAbstractTableModel {
    Q_OBJECT
public:
    // Rows handed to the view at a time.
    static constexpr int kLote = 256;

    explicit ModeloLista(const QStringList& titulos, QObject* parent = nullptr);

    int rowCount(const QModelIndex& padre = QModelIndex()) const override;
    int columnCount(const QModelIndex& padre = QModelIndex()) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion,
                        int rol = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& padre) const override;
    void fetchMore(const QModelIndex& padre) override;

    // Runs the statement on the open connection; a failing one leaves the list as it was.
    void abrir(const QString& sentencia);
    void vaciar();
    // Every row of the result, given to the view or not yet.
    int total() const { return resultado_.RecordCount(); }
    // A stored field of any row of the result; Null when the result has no such field.
    const Valor& campo(int fila, const QString& nombre) const;
    // What column `columna` of row `fila` shows.
    QString texto(int fila, int columna) const;

private:
    QStringList titulos_;
    Recordset resultado_;
    int dados_ = 0;
};
