#include "movimientos/modeloentradas.h"

#include "bd/conexion.h"

#include <algorithm>

namespace {

const ConsultaLista kEntradas{QStringLiteral("id_entrada, FechaEntrada, Placa, DescrVeh, "
                                             "Observaciones, id_tarifa, Tarifa, Tiempo, "
                                             "DescrTarifa"),
                              QStringLiteral("entradas"),
                              {},
                              QStringLiteral("FechaEntrada DESC, id_entrada DESC"),
                              QStringLiteral("id_entrada")};

// Compared as held, so no date is formatted nor any time zone looked up.
bool iguales(const ModeloLista::Fila& a, const ModeloLista::Fila& b) {
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(),
                      [](const Valor& x, const Valor& y) { return x.mismo(y); });
}

} // namespace

ModeloEntradas::ModeloEntradas(const QString& tituloNumero, QObject* parent)
    : ModeloLista({tituloNumero, QStringLiteral("Fecha"), QStringLiteral("Placa"),
                   QStringLiteral("Descripción"), QStringLiteral("Observaciones"),
                   QStringLiteral("ID Tarifa"), QStringLiteral("Tarifa"), QStringLiteral("Tiempo"),
                   QStringLiteral("DescrTarifa")},
                  parent) {}

bool ModeloEntradas::soloEstaEstacion() {
    return sello_ && Conexion.sello() == sello_;
}

// The stamp is taken before the rows: a commit in between only costs a needless read later.
void ModeloEntradas::rellenar() {
    sello_ = Conexion.sello();
    abrir(kEntradas);
}

void ModeloEntradas::agregar(int64_t idEntrada) {
    if (soloEstaEstacion()) {
        QVector<int64_t> clave{idEntrada};
        const QVector<Fila> nueva = leerFilas(clave);
        if (nueva.size() == 1) {
            // Newest first; among equal times the larger key first, as the list orders them.
            const QDateTime fecha = nueva[0][Fecha].aFecha();
            int i = 0;
            while (i < leidas() && filaLeida(i)[Fecha].aFecha() > fecha)
                ++i;
            if (i < leidas() || leidas() == total()) {
                QVector<int64_t> todas = claves();
                todas.insert(i, idEntrada);
                fijarClaves(todas);
                return insertarFila(i, nueva[0]);
            }
        }
    }
    releer(idEntrada, true);
}

void ModeloEntradas::quitar(int64_t idEntrada) {
    const int i = static_cast<int>(claves().indexOf(idEntrada));
    if (soloEstaEstacion() && i >= 0) {
        QVector<int64_t> todas = claves();
        todas.remove(i);
        if (i < leidas())
            quitarFila(i);
        return fijarClaves(todas);
    }
    releer(idEntrada, false);
}

// Reads the rows the list will hold once the entry came or left, and a page at least for a refill.
void ModeloEntradas::releer(int64_t idEntrada, bool entrada) {
    const auto sello = Conexion.sello();
    const QVector<int64_t> todas = leerClaves();
    const int pedidas = std::max(0, leidas() + (entrada ? 1 : -1));
    const int leer = std::max(pedidas, kPagina);
    QVector<int64_t> primeras = todas.mid(0, leer);
    const QVector<Fila> filas = leerFilas(primeras);
    sello_ = sello;
    const int i = unaFilaMas(filas.mid(0, pedidas), !entrada, idEntrada);
    if (i < 0)
        return reemplazar(primeras + todas.mid(leer), filas);
    fijarClaves(primeras + todas.mid(leer));
    if (entrada)
        return insertarFila(i, filas[i]);
    quitarFila(i);
}

int ModeloEntradas::unaFilaMas(const QVector<Fila>& filas, bool listaMas, int64_t idEntrada) const {
    const int largo = std::max<int>(filas.size(), leidas());
    if (largo != std::min<int>(filas.size(), leidas()) + 1)
        return -1;
    // Row k of the shorter side against row k (before the extra one) or k + 1 (after it).
    const auto igual = [&](int corta, int larga) {
        return listaMas ? iguales(filas[corta], filaLeida(larga))
                        : iguales(filas[larga], filaLeida(corta));
    };
    int i = 0;
    while (i < largo - 1 && igual(i, i))
        ++i;
    const int64_t id = (listaMas ? filaLeida(i) : filas[i])[Id].aEntero();
    if (id != idEntrada)
        return -1;
    for (int k = i; k < largo - 1; ++k)
        if (!igual(k, k + 1))
            return -1;
    return i;
}
