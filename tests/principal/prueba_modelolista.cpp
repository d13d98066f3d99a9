#include "principal/modelolista.h"
#include "tests/principal/apoyo_bd.h"

namespace {

// A list of names, as a window's model gives its columns and texts.
class ModeloNombres : public ModeloLista {
public:
    ModeloNombres() : ModeloLista({"ID", "Nombre"}) {}
    QString mostrar(int fila, int columna) const override {
        return campo(fila, columna == 0 ? "id_cliente" : "nombre").aTexto();
    }
};

const ConsultaLista kPorNombre{"*", "Clientes", "", "Nombre ASC, id_cliente ASC", "id_cliente"};

} // namespace

// The view gets the rows a page at a time in the list's order. What another station writes between
// pages shifts none: a row removed since is left out, one added before the page is not shown (nor
// is a row shown twice). A failing page ends the list where it was; a failing statement leaves it.
TEST_P(PruebaBd, ModeloListaPaginasPorClaveSinCorrerseSiOtraEstacionEscribe) {
    const int filas = ModeloLista::kPagina + 10;
    {
        Transaccion transaccion;
        // Keys run against the names' order.
        for (int i = filas - 1; i >= 0; --i)
            insertarCliente(QString("N%1").arg(i, 3, 10, QChar('0')));
        transaccion.confirmar();
    }
    ModeloNombres modelo;
    modelo.abrir(kPorNombre);
    EXPECT_EQ(std::tuple(modelo.total(), modelo.rowCount(), modelo.columnCount()),
              std::tuple(filas, ModeloLista::kPagina, 2));
    EXPECT_EQ(modelo.headerData(1, Qt::Horizontal).toString(), "Nombre");
    EXPECT_TRUE(modelo.campo(ModeloLista::kPagina, "Nombre").esNulo() &&
                modelo.campo(0, "Otro").esNulo());
    Conexion.fallarSentencia(1);
    modelo.fetchMore(QModelIndex());
    EXPECT_EQ(std::tuple(modelo.rowCount(), modelo.total()),
              std::tuple(ModeloLista::kPagina, ModeloLista::kPagina));
    AbrirConexion();
    modelo.abrir(kPorNombre);
    EXPECT_THROW(modelo.abrir({"*", "NoExiste", "", "x", "x"}), ErrorBD);
    insertarCliente("A");
    Ejecutar("DELETE FROM Clientes WHERE Nombre = 'N205'");
    ASSERT_TRUE(modelo.canFetchMore(QModelIndex()));
    modelo.fetchMore(QModelIndex());
    EXPECT_EQ(std::tuple(modelo.rowCount(), modelo.total()), std::tuple(filas - 1, filas - 1));
    EXPECT_FALSE(modelo.canFetchMore(QModelIndex()));
    EXPECT_EQ(modelo.texto(0, 1) + modelo.texto(ModeloLista::kPagina - 1, 1) +
                  modelo.texto(ModeloLista::kPagina, 1) + modelo.texto(filas - 2, 1),
              "N000N199N200N209");
    modelo.vaciar();
    EXPECT_EQ(modelo.rowCount() + modelo.total(), 0);
    CerrarConexion();
}
