#include "principal/modelolista.h"
#include "tests/principal/apoyo_bd.h"

namespace {

// A list of names, as a window's model gives its columns and data().
class ModeloNombres : public ModeloLista {
public:
    ModeloNombres() : ModeloLista({"ID", "Nombre"}) {}
    QVariant data(const QModelIndex& indice, int rol) const override {
        if (rol != Qt::DisplayRole)
            return QVariant();
        return campo(indice.row(), indice.column() == 0 ? "id_cliente" : "Nombre").aTexto();
    }
};

} // namespace

// The view gets the rows a batch at a time, each cell read from the result as kept; a failing
// statement leaves the list as it was.
TEST_P(PruebaBd, ModeloListaFilasPorLotesYCeldasDelResultado) {
    const int filas = ModeloLista::kLote + 10;
    {
        Transaccion transaccion;
        for (int i = 0; i < filas; ++i)
            insertarCliente(QString("N%1").arg(i, 3, 10, QChar('0')));
        transaccion.confirmar();
    }
    ModeloNombres modelo;
    modelo.abrir("SELECT * FROM Clientes ORDER BY Nombre");
    EXPECT_EQ(modelo.total(), filas);
    ASSERT_EQ(modelo.rowCount(), ModeloLista::kLote);
    EXPECT_EQ(modelo.columnCount(), 2);
    EXPECT_EQ(modelo.headerData(1, Qt::Horizontal).toString(), "Nombre");
    EXPECT_EQ(modelo.texto(ModeloLista::kLote + 9, 1), "N265");
    EXPECT_TRUE(modelo.campo(filas, "Nombre").esNulo() && modelo.campo(0, "Otro").esNulo());
    ASSERT_TRUE(modelo.canFetchMore(QModelIndex()));
    modelo.fetchMore(QModelIndex());
    EXPECT_EQ(modelo.rowCount(), filas);
    EXPECT_FALSE(modelo.canFetchMore(QModelIndex()));
    EXPECT_EQ(modelo.index(filas - 1, 1).data().toString(), "N265");
    EXPECT_THROW(modelo.abrir("SELECT * FROM NoExiste"), ErrorBD);
    EXPECT_EQ(modelo.rowCount(), filas);
    modelo.vaciar();
    EXPECT_EQ(modelo.rowCount() + modelo.total(), 0);
    CerrarConexion();
}
