#include "clientes/modeloclientes.h"

#include "principal/formatos.h"

#include <QFont>

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
    if (rol == Qt::FontRole && indice.column() > 0) {
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
    case Formato::Texto:
        break;
    }
    return valor.aTexto();
}
