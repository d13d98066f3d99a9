#pragma once
// The result of a search as a table for a view. The rows come a page at a time as the view
// reaches them, each page a statement of its own that goes on after the last row read, so no
// read stays open between pages (it would hold other stations' writes back); the count and the
// charged sum come from one statement over the whole search. A cell is formatted only when the
// view shows it.

#include "bd/recordset.h"
#include "reportes/busqueda.h"

#include <QAbstractTableModel>
#include <QVector>
#include <array>
#include <cstdint>

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
    // Rows read per statement: a few screens of the list.
    static constexpr int kPagina = 200;
    using Fila = std::array<Valor, kColumnas>;

    using QAbstractTableModel::QAbstractTableModel;

    // The rows read so far.
    int rowCount(const QModelIndex& padre = QModelIndex()) const override;
    int columnCount(const QModelIndex& padre = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion,
                        int rol = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& padre) const override;
    // Reads the next page, opening the connection for it when it is closed. A failure is shown
    // as any handler's and ends the list where it was; a new search reads it again.
    void fetchMore(const QModelIndex& padre) override;

    // Runs the search (the connection must be open): its count and sum, and its first page; the
    // rows of entries leave the exit's columns Null. A failing statement leaves the list as it
    // was.
    void buscar(const FiltroBusqueda& filtro);

    // The stored values of row `i`.
    const Fila& fila(int i) const { return filas_[i]; }
    // The key of row `i`: id_salida, or id_entrada.
    int64_t clave(int i) const { return claves_[i]; }
    // What the rows are: exits, or vehicles inside.
    bool salidas() const { return filtro_.salidas; }
    // The rows of the whole search, read or not yet.
    int cantidad() const { return cantidad_; }
    // The sum of Cobrado over the whole search.
    int64_t cobrado() const { return cobrado_; }

private:
    struct Pagina {
        QVector<Fila> filas;
        QVector<int64_t> claves;
    };
    static Pagina leerPagina(const FiltroBusqueda& filtro,
                             const std::optional<PosicionBusqueda>& despues);
    void agregar(const Pagina& pagina);

    FiltroBusqueda filtro_;
    QVector<Fila> filas_;
    QVector<int64_t> claves_;
    bool quedan_ = false;
    int cantidad_ = 0;
    int64_t cobrado_ = 0;
};
