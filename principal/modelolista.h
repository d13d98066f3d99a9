#pragma once
// A list's rows as a table for a view, read as the view reaches them. Opening reads the list's
// keys alone, in its order, in one statement; each page then reads the rows of its keys. No read
// stays open between pages (it would hold other stations' writes back), and what another station
// writes meanwhile cannot shift a page: a row removed since is left out, none is shown twice. A
// cell is formatted only when the view shows it; a list's own model gives its columns and texts.

#include "bd/consultalista.h"
#include "bd/recordset.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <utility>

class ModeloLista : public QAbstractTableModel {
    Q_OBJECT
public:
    // Rows read per statement: a few screens of the list.
    static constexpr int kPagina = 200;
    using Fila = QVector<Valor>;

    explicit ModeloLista(const QStringList& titulos, QObject* parent = nullptr);

    // The rows read so far.
    int rowCount(const QModelIndex& padre = QModelIndex()) const override;
    int columnCount(const QModelIndex& padre = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion,
                        int rol = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& padre) const override;
    // Reads the next page, opening the connection for it when it is closed. A failure is shown
    // as any handler's and ends the list where it was; opening the list again reads it anew.
    void fetchMore(const QModelIndex& padre) override;

    // Reads the keys and the first page (the connection must be open). A failing statement
    // leaves the list as it was.
    void abrir(const ConsultaLista& consulta);
    void vaciar();
    // The rows of the whole list, read or not yet.
    int total() const { return static_cast<int>(claves_.size()); }
    // The key of row `fila`, read or not yet; 0 past the end.
    int64_t clave(int fila) const { return claves_.value(fila); }
    // A stored field of a row read; Null when there is no such row or field.
    const Valor& campo(int fila, const QString& nombre) const;
    // What column `columna` of row `fila` shows.
    QString texto(int fila, int columna) const;

protected:
    // What a cell shows; by default the stored field at the same position, as text.
    virtual QString mostrar(int fila, int columna) const;
    const Fila& filaLeida(int i) const { return filas_[i]; }

    // The list's keys as stored now, in its order.
    QVector<int64_t> leerClaves() const;
    // The rows of `claves`, in that order, leaving out a key whose row is gone (and `claves`
    // without it).
    QVector<Fila> leerFilas(QVector<int64_t>& claves) const;
    // For a list that follows its own writes. The keys change alone (the rows read stay), a row
    // read comes or goes alone, or both are replaced; the caller keeps row i at key i.
    const QVector<int64_t>& claves() const { return claves_; }
    void fijarClaves(QVector<int64_t> claves) { claves_ = std::move(claves); }
    void insertarFila(int i, Fila fila);
    void quitarFila(int i);
    void reemplazar(QVector<int64_t> claves, QVector<Fila> filas);
    int leidas() const { return static_cast<int>(filas_.size()); }

private:
    QStringList titulos_;
    ConsultaLista consulta_;
    // The stored fields of a row, in its order; the pages read fill it.
    mutable QStringList campos_;
    QVector<int64_t> claves_;
    QVector<Fila> filas_;
};
