#include "principal/modelolista.h"

#include "bd/conexion.h"
#include "principal/manejadores.h"

#include <QHash>
#include <algorithm>

ModeloLista::ModeloLista(const QStringList& titulos, QObject* parent)
    : QAbstractTableModel(parent), titulos_(titulos) {}

int ModeloLista::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : leidas();
}

int ModeloLista::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(titulos_.size());
}

QVariant ModeloLista::data(const QModelIndex& indice, int rol) const {
    if (rol != Qt::DisplayRole || !indice.isValid() || indice.row() >= leidas())
        return QVariant();
    return mostrar(indice.row(), indice.column());
}

QString ModeloLista::mostrar(int fila, int columna) const {
    return filas_[fila].value(columna).aTexto();
}

QVariant ModeloLista::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (rol != Qt::DisplayRole || orientacion != Qt::Horizontal)
        return QVariant();
    return titulos_.value(seccion);
}

bool ModeloLista::canFetchMore(const QModelIndex& padre) const {
    return !padre.isValid() && leidas() < total();
}

void ModeloLista::fetchMore(const QModelIndex& padre) {
    if (!canFetchMore(padre))
        return;
    // The view asks from its own painting or scrolling, where nothing may be thrown.
    const bool leida = EjecutarProtegido([&] {
        // Within a handler that holds the connection, the handler closes it.
        const bool abierta = Conexion.State() != 0;
        if (!abierta)
            AbrirConexion();
        QVector<int64_t> pagina = claves_.mid(leidas(), kPagina);
        const int siguiente = leidas() + static_cast<int>(pagina.size());
        const QVector<Fila> filas = leerFilas(pagina);
        if (!abierta)
            CerrarConexion();
        claves_ = claves_.mid(0, leidas()) + pagina + claves_.mid(siguiente);
        beginInsertRows(QModelIndex(), leidas(), leidas() + static_cast<int>(filas.size()) - 1);
        filas_ += filas;
        endInsertRows();
    });
    if (!leida)
        claves_.resize(leidas());
}

QVector<int64_t> ModeloLista::leerClaves() const {
    QVector<int64_t> claves;
    Recordset rs;
    rs.recorrer(QStringLiteral("SELECT ") + consulta_.clave + QStringLiteral(" AS Clave FROM ") +
                    consulta_.origen +
                    (consulta_.condicion.isEmpty()
                         ? QString()
                         : QStringLiteral(" WHERE ") + consulta_.condicion) +
                    QStringLiteral(" ORDER BY ") + consulta_.orden,
                [&] { claves << rs.celda(0).aEntero(); });
    return claves;
}

QVector<ModeloLista::Fila> ModeloLista::leerFilas(QVector<int64_t>& claves) const {
    if (claves.isEmpty())
        return {};
    QStringList lista;
    for (const int64_t clave : claves)
        lista << QString::number(clave);
    Recordset rs;
    rs.Open(QStringLiteral("SELECT ") + consulta_.columnas + QStringLiteral(", ") +
            consulta_.clave + QStringLiteral(" AS ClaveFila FROM ") + consulta_.origen +
            QStringLiteral(" WHERE ") + consulta_.clave + QStringLiteral(" IN (") +
            lista.join(QLatin1Char(',')) + QLatin1Char(')'));
    // The key comes last, after the list's own columns.
    const int columnas = static_cast<int>(rs.nombresCampos().size()) - 1;
    const int columnaClave = columnas;
    campos_ = rs.nombresCampos().mid(0, columnas);
    QHash<int64_t, int> dondeEsta;
    for (int i = 0; i < rs.RecordCount(); ++i)
        dondeEsta.insert(rs.celda(i, columnaClave).aEntero(), i);
    QVector<Fila> filas;
    QVector<int64_t> halladas;
    for (const int64_t clave : claves) {
        const auto donde = dondeEsta.constFind(clave);
        if (donde == dondeEsta.cend())
            continue;
        Fila fila(columnas);
        for (int c = 0; c < columnas; ++c)
            fila[c] = rs.celda(*donde, c);
        filas << fila;
        halladas << clave;
    }
    claves = halladas;
    return filas;
}

void ModeloLista::abrir(const ConsultaLista& consulta) {
    const ConsultaLista anterior = std::exchange(consulta_, consulta);
    try {
        QVector<int64_t> claves = leerClaves();
        QVector<int64_t> pagina = claves.mid(0, kPagina);
        const int siguiente = static_cast<int>(pagina.size());
        QVector<Fila> filas = leerFilas(pagina);
        reemplazar(pagina + claves.mid(siguiente), std::move(filas));
    } catch (...) {
        consulta_ = anterior;
        throw;
    }
}

void ModeloLista::vaciar() {
    reemplazar({}, {});
}

const Valor& ModeloLista::campo(int fila, const QString& nombre) const {
    static const Valor nulo;
    const auto igual = [&](const QString& campo) {
        return campo.compare(nombre, Qt::CaseInsensitive) == 0;
    };
    const auto donde = std::find_if(campos_.cbegin(), campos_.cend(), igual);
    const int columna = donde == campos_.cend() ? -1 : static_cast<int>(donde - campos_.cbegin());
    return columna < 0 || fila < 0 || fila >= leidas() ? nulo : filas_[fila][columna];
}

QString ModeloLista::texto(int fila, int columna) const {
    return data(createIndex(fila, columna), Qt::DisplayRole).toString();
}

void ModeloLista::insertarFila(int i, Fila fila) {
    beginInsertRows(QModelIndex(), i, i);
    filas_.insert(i, std::move(fila));
    endInsertRows();
}

void ModeloLista::quitarFila(int i) {
    beginRemoveRows(QModelIndex(), i, i);
    filas_.removeAt(i);
    endRemoveRows();
}

void ModeloLista::reemplazar(QVector<int64_t> claves, QVector<Fila> filas) {
    beginResetModel();
    claves_ = std::move(claves);
    filas_ = std::move(filas);
    endResetModel();
}
