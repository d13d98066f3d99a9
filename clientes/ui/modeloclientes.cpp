#include "clientes/ui/modeloclientes.h"

#include "principal/formatos.h"
#include "principal/ui/controles.h"

#include <QFont>
#include <QTreeView>

namespace {

QStringList titulos(const QVector<ModeloClientes::Columna>& columnas) {
    QStringList t;
    for (const auto& columna : columnas)
        t << QString::fromUtf8(columna.titulo);
    return t;
}

} // namespace

ModeloClientes::ModeloClientes(const QVector<Columna>& columnas, QObject* parent)
    : ModeloLista(titulos(columnas), parent), columnas(columnas) {}

QVariant ModeloClientes::data(const QModelIndex& indice, int rol) const {
    if (!indice.isValid() || indice.column() >= columnas.size())
        return QVariant();
    if (rol == Qt::FontRole && columnas[indice.column()].negrita) {
        QFont negrita;
        negrita.setBold(true);
        return negrita;
    }
    if (rol != Qt::DisplayRole)
        return QVariant();
    const Columna& columna = columnas[indice.column()];
    const Valor& valor = campo(indice.row(), QLatin1String(columna.campo));
    switch (columna.formato) {
    case Formato::Fecha:
        return FechaCorta(valor.aFecha().date());
    case Formato::SiNo:
        return valor.aBandera() ? QStringLiteral("Si") : QStringLiteral("No");
    case Formato::ActivoInactivo:
        return valor.aBandera() ? QStringLiteral("Activo") : QStringLiteral("Inactivo");
    case Formato::Texto:
        break;
    }
    return valor.aTexto();
}

using C = ModeloClientes::Columna;
constexpr auto kTexto = ModeloClientes::Formato::Texto;
constexpr auto kFecha = ModeloClientes::Formato::Fecha;
constexpr auto kSiNo = ModeloClientes::Formato::SiNo;
const QVector<C> kColumnasClientes = {{"ID Cliente", "id_cliente", kTexto, 0, false},
                                      {"ID Cliente", "id_cliente", kTexto, 0},
                                      {"Nombre", "Nombre", kTexto, 2000},
                                      {"Primer Apellido", "Ape1", kTexto, 2000},
                                      {"Segundo Apellido", "Ape2", kTexto, 2000},
                                      {"Placa", "Placa", kTexto, 1700},
                                      {"Debe Pago", "Activo", kSiNo, 1700},
                                      {"Identificacion", "Identificacion", kTexto, 1700},
                                      {"Notas", "Notas", kTexto, 2000}};
const QVector<C> kColumnasPeriodos = {{"ID Fecha Pago", "id_fecha_pago", kTexto, 0, false},
                                      {"ID Fecha Pago", "id_fecha_pago", kTexto, 0},
                                      {"ID Cliente", "id_cliente", kTexto, 0},
                                      {"Fecha Inicio", "FechaInicio", kFecha, 1700},
                                      {"Fecha Fin", "FechaFin", kFecha, 1700},
                                      {"Cantidad Total", "CantidadTotal", kTexto, 1700},
                                      {"Pagado", "Pagado", kSiNo, 1000},
                                      {"N.Recibo", "NRecibo", kTexto, 1100}};
const QVector<C> kColumnasPagos = {{"ID Pago", "id_pago", kTexto, 0, false},
                                   {"ID Pago", "id_pago", kTexto, 0},
                                   {"ID Fecha Pago", "id_fecha_pago", kTexto, 0},
                                   {"Fecha Pago", "FechaPago", kFecha, 1700},
                                   {"Cantidad Pago", "CantidadPago", kTexto, 1700}};

const QVector<C> kColumnasExentos = {
    {"ID Exento", "id_exento", kTexto, 0, false},
    {"Placa", "PlacaExento", kTexto, 1500},
    {"Nombre", "NombreExento", kTexto, 2000},
    {"Primer Apellido", "Ape1Exento", kTexto, 2500},
    {"Segundo Apellido", "Ape2Exento", kTexto, 2500},
    {"Tipo de Exento", "TipoExento", kTexto, 3500},
    {"Activo", "ActivoExento", ModeloClientes::Formato::ActivoInactivo, 1500, false}};

QTreeView* NuevaListaClientes(const char* nombre, const QVector<C>& columnas,
                              ModeloClientes*& modelo, QWidget* padre) {
    modelo = new ModeloClientes(columnas, padre);
    QTreeView* lista = NuevaListaFilas(nombre, modelo, {}, padre);
    for (int c = 0; c < columnas.size(); ++c)
        if (columnas[c].ancho > 0)
            lista->setColumnWidth(c, columnas[c].ancho / 15);
        else
            lista->hideColumn(c);
    return lista;
}
