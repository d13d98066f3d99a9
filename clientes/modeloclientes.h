#pragma once
// The rows of the clients window's lists as a table for a view: every cell a text, the visible
// ones bold; a list of thousands of clients is drawn only where the view looks.

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

class ModeloClientes : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModeloClientes(const QStringList& titulos, QObject* parent = nullptr);

    int rowCount(const QModelIndex& padre = QModelIndex()) const override;
    int columnCount(const QModelIndex& padre = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion,
                        int rol = Qt::DisplayRole) const override;

    void asignar(QVector<QStringList> filas);
    void vaciar() { asignar({}); }
    QString texto(int fila, int columna) const { return filas_.at(fila).value(columna); }

private:
    QStringList titulos_;
    QVector<QStringList> filas_;
};
