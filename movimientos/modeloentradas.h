#pragma once
// The vehicles inside, newest entry first, as a list for a view that follows this station's own
// entries and exits row by row.

#include "principal/modelolista.h"

#include <cstdint>
#include <optional>
#include <utility>

class ModeloEntradas : public ModeloLista {
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

    // `tituloNumero` heads the column of entry numbers.
    explicit ModeloEntradas(const QString& tituloNumero, QObject* parent = nullptr);

    // The stored values of row `i`, read, by Columna.
    const Fila& fila(int i) const { return filaLeida(i); }

    // Reads the entries again (the connection must be open).
    void rellenar();
    // This station's own entry or exit. When no other station committed since the last read
    // (known on the file), only that row is read and added, or removed. Otherwise the rows are
    // read again: when they are the list's rows plus or minus that one, only that row changes
    // (the view keeps its place); any other difference (another station's entry, exit, time or
    // plate) refills the list.
    void agregar(int64_t idEntrada);
    void quitar(int64_t idEntrada);

private:
    // True when no other station committed since the rows were last read (on the file).
    bool soloEstaEstacion();
    void releer(int64_t idEntrada, bool entrada);
    // The index of the one row that only the longer side holds, when it is the entry `idEntrada`
    // and every other row is equal and in the same order; -1 otherwise.
    int unaFilaMas(const QVector<Fila>& leidas, bool listaMas, int64_t idEntrada) const;

    std::optional<std::pair<int64_t, int64_t>> sello_;
};
