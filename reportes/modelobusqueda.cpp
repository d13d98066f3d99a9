#include "reportes/modelobusqueda.h"

#include "principal/registros.h"

#include <utility>

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

QStringList titulos() {
    QStringList t;
    for (const char* titulo : kTitulos)
        t << QString::fromUtf8(titulo);
    return t;
}

} // namespace

ModeloBusqueda::ModeloBusqueda(QObject* parent) : ModeloLista(titulos(), parent) {}

QVariant ModeloBusqueda::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    const QVariant titulo = ModeloLista::headerData(seccion, orientacion, rol);
    return seccion == Documento && titulo.isValid()
               ? titulo.toString() + DatosParqueadero.NombreDocumento
               : titulo;
}

ModeloBusqueda::Fila ModeloBusqueda::fila(int i) const {
    Fila f;
    const auto& nombres = campos(salidas_);
    for (int c = 0; c < kColumnas; ++c)
        if (!nombres[c].isEmpty())
            f[c] = campo(i, nombres[c]);
    return f;
}

QString ModeloBusqueda::mostrar(int fila, int columna) const {
    const QString& nombre = campos(salidas_).at(columna);
    if (nombre.isEmpty())
        return QString();
    const Valor& valor = campo(fila, nombre);
    // The amount as stored, after the currency symbol.
    if (columna == Cobrado && !valor.esNulo())
        return DatosParqueadero.SimboloMoneda + valor.aTexto();
    return valor.aTexto();
}

void ModeloBusqueda::buscar(const FiltroBusqueda& filtro) {
    int64_t cobrado = 0;
    if (filtro.salidas) {
        Recordset suma;
        suma.Open(SentenciaCobradoBusqueda(filtro));
        cobrado = suma.Fields(QStringLiteral("TotalCobrado")).aEntero();
    }
    // The columns follow the table read: set before the view is told of the new rows.
    const bool antes = std::exchange(salidas_, filtro.salidas);
    try {
        abrir(ConsultaBusqueda(filtro));
    } catch (...) {
        salidas_ = antes;
        throw;
    }
    cobrado_ = cobrado;
}
