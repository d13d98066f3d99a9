#include "reportes/modelobusqueda.h"

#include "principal/registros.h"
#include "reportes/busqueda.h"

namespace {

// The stored column behind each list column; an empty name is no column of that table.
const std::array<QString, ModeloBusqueda::kColumnas>& campos(bool salidas) {
    static const std::array<QString, ModeloBusqueda::kColumnas> deEntradas{
        QStringLiteral("id_entrada"),
        QStringLiteral("FechaEntrada"),
        QString(),
        QStringLiteral("Placa"),
        QStringLiteral("DescrVeh"),
        QStringLiteral("Observaciones"),
        QStringLiteral("id_tarifa"),
        QStringLiteral("Tarifa"),
        QStringLiteral("Tiempo"),
        QStringLiteral("DescrTarifa"),
        QString(),
        QString(),
        QString(),
        QString()};
    static const std::array<QString, ModeloBusqueda::kColumnas> deSalidas{
        QStringLiteral("NroTicket"),   QStringLiteral("FechaEntrada"),
        QStringLiteral("FechaSalida"), QStringLiteral("Placa"),
        QStringLiteral("DescrVeh"),    QStringLiteral("Observaciones"),
        QStringLiteral("id_tarifa"),   QStringLiteral("Tarifa"),
        QStringLiteral("Tiempo"),      QStringLiteral("DescrTarifa"),
        QStringLiteral("Cobrado"),     QStringLiteral("ConsecutivoDia"),
        QStringLiteral("IVA"),         QStringLiteral("NDocumento")};
    return salidas ? deSalidas : deEntradas;
}

const char* const kTitulos[] = {"Consecutivo General",
                                "Fecha Entrada",
                                "Fecha Salida",
                                "Placa",
                                "Descripción",
                                "Observaciones",
                                "ID Tarifa",
                                "Tarifa",
                                "Tiempo",
                                "DescrTarifa",
                                "Cobrado",
                                "Consecutivo del día",
                                "IVA",
                                "Documento "};

} // namespace

int ModeloBusqueda::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : resultado_.RecordCount();
}

int ModeloBusqueda::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : kColumnas;
}

QVariant ModeloBusqueda::data(const QModelIndex& indice, int rol) const {
    if (rol != Qt::DisplayRole || !indice.isValid())
        return QVariant();
    const Valor& valor = this->valor(indice.row(), indice.column());
    // The amount as stored, after the currency symbol.
    if (indice.column() == Cobrado && !valor.esNulo())
        return DatosParqueadero.SimboloMoneda + valor.aTexto();
    return valor.aTexto();
}

QVariant ModeloBusqueda::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (rol != Qt::DisplayRole || orientacion != Qt::Horizontal || seccion < 0 ||
        seccion >= kColumnas)
        return QVariant();
    const QString titulo = QString::fromUtf8(kTitulos[seccion]);
    return seccion == Documento ? titulo + DatosParqueadero.NombreDocumento : titulo;
}

const Valor& ModeloBusqueda::valor(int fila, int columna) const {
    static const Valor nulo;
    const int c = columnas_[columna];
    return c < 0 ? nulo : resultado_.celda(fila, c);
}

ModeloBusqueda::Fila ModeloBusqueda::fila(int i) const {
    Fila f;
    for (int c = 0; c < kColumnas; ++c)
        f[c] = valor(i, c);
    return f;
}

int64_t ModeloBusqueda::clave(int i) const {
    return resultado_
        .celda(i, resultado_.indiceColumna(salidas_ ? QStringLiteral("id_salida")
                                                    : QStringLiteral("id_entrada")))
        .aEntero();
}

void ModeloBusqueda::buscar(const FiltroBusqueda& filtro) {
    Recordset rs;
    rs.Open(SentenciaBusqueda(filtro));
    const auto& nombres = campos(filtro.salidas);
    beginResetModel();
    resultado_ = std::move(rs);
    salidas_ = filtro.salidas;
    for (int c = 0; c < kColumnas; ++c)
        columnas_[c] = nombres[c].isEmpty() ? -1 : resultado_.indiceColumna(nombres[c]);
    cobrado_ = 0;
    for (int f = 0; f < resultado_.RecordCount(); ++f)
        cobrado_ += valor(f, Cobrado).aEntero();
    endResetModel();
}
