#include "reportes/modelobusqueda.h"

#include "bd/conexion.h"
#include "principal/manejadores.h"
#include "principal/registros.h"

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
    return padre.isValid() ? 0 : static_cast<int>(filas_.size());
}

int ModeloBusqueda::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : kColumnas;
}

QVariant ModeloBusqueda::data(const QModelIndex& indice, int rol) const {
    if (rol != Qt::DisplayRole || !indice.isValid())
        return QVariant();
    const Valor& valor = filas_[indice.row()][indice.column()];
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

bool ModeloBusqueda::canFetchMore(const QModelIndex& padre) const {
    return !padre.isValid() && quedan_;
}

void ModeloBusqueda::fetchMore(const QModelIndex& padre) {
    if (!canFetchMore(padre))
        return;
    const Fila& ultima = filas_.last();
    const PosicionBusqueda despues{ultima[filtro_.salidas ? FechaSalida : FechaEntrada].aFecha(),
                                   claves_.last()};
    // The view asks from its own painting or scrolling, where nothing may be thrown.
    const bool leida = EjecutarProtegido([&] {
        // Within a handler that holds the connection, the handler closes it.
        const bool abierta = Conexion.State() != 0;
        if (!abierta)
            AbrirConexion();
        const Pagina pagina = leerPagina(filtro_, despues);
        if (!abierta)
            CerrarConexion();
        agregar(pagina);
    });
    if (!leida)
        quedan_ = false;
}

ModeloBusqueda::Pagina ModeloBusqueda::leerPagina(const FiltroBusqueda& filtro,
                                                  const std::optional<PosicionBusqueda>& despues) {
    Recordset rs;
    rs.Open(SentenciaPaginaBusqueda(filtro, kPagina, despues));
    const auto& nombres = campos(filtro.salidas);
    std::array<int, kColumnas> columnas;
    for (int c = 0; c < kColumnas; ++c)
        columnas[c] = nombres[c].isEmpty() ? -1 : rs.indiceColumna(nombres[c]);
    const int columnaClave = rs.indiceColumna(filtro.salidas ? QStringLiteral("id_salida")
                                                             : QStringLiteral("id_entrada"));
    Pagina pagina;
    pagina.filas.resize(rs.RecordCount());
    pagina.claves.reserve(rs.RecordCount());
    for (int f = 0; f < rs.RecordCount(); ++f) {
        for (int c = 0; c < kColumnas; ++c)
            if (columnas[c] >= 0)
                pagina.filas[f][c] = rs.celda(f, columnas[c]);
        pagina.claves << rs.celda(f, columnaClave).aEntero();
    }
    return pagina;
}

void ModeloBusqueda::agregar(const Pagina& pagina) {
    // A short page is the last.
    quedan_ = pagina.filas.size() == kPagina;
    if (pagina.filas.isEmpty())
        return;
    beginInsertRows(QModelIndex(), static_cast<int>(filas_.size()),
                    static_cast<int>(filas_.size() + pagina.filas.size() - 1));
    filas_ += pagina.filas;
    claves_ += pagina.claves;
    endInsertRows();
}

void ModeloBusqueda::buscar(const FiltroBusqueda& filtro) {
    Recordset totales;
    totales.Open(SentenciaTotalesBusqueda(filtro));
    const int cantidad = static_cast<int>(totales.Fields(QStringLiteral("Cantidad")).aEntero());
    const int64_t cobrado =
        filtro.salidas ? totales.Fields(QStringLiteral("TotalCobrado")).aEntero() : 0;
    const Pagina primera = leerPagina(filtro, std::nullopt);
    beginResetModel();
    filtro_ = filtro;
    filas_ = primera.filas;
    claves_ = primera.claves;
    quedan_ = primera.filas.size() == kPagina;
    cantidad_ = cantidad;
    cobrado_ = cobrado;
    endResetModel();
}
