#pragma once
// The result of a search as a list for a view, read as the view reaches it; the charged sum comes
// from one statement over the whole search.

#include "principal/modelolista.h"
#include "reportes/busqueda.h"

#include <array>
#include <cstdint>

class ModeloBusqueda : public ModeloLista {
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

    explicit ModeloBusqueda(QObject* parent = nullptr);

    QVariant headerData(int seccion, Qt::Orientation orientacion,
                        int rol = Qt::DisplayRole) const override;

    // Runs the search (the connection must be open): its keys, its first page and its sum; the
    // rows of entries leave the exit's columns Null. A failing statement leaves the list as it
    // was.
    void buscar(const FiltroBusqueda& filtro);

    // The stored values of row `i`, read.
    Fila fila(int i) const;
    // What the rows are: exits, or vehicles inside.
    bool salidas() const { return salidas_; }
    // The rows of the whole search, read or not yet.
    int cantidad() const { return total(); }
    // The sum of Cobrado over the whole search.
    int64_t cobrado() const { return cobrado_; }

protected:
    QString mostrar(int fila, int columna) const override;

private:
    bool salidas_ = true;
    int64_t cobrado_ = 0;
};
