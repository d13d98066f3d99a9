#include "reportes/modelobusqueda.h"
#include "tests/reportes/apoyo_reportes.h"

namespace {

using PruebaBusqueda = PruebaReportesMotores;
VIALTOR_EN_AMBOS_MOTORES(PruebaBusqueda);

// Exits of a second before and after the day carry "AB" too: the bounds keep them out. Empty
// cells stay empty.
TEST_P(PruebaBusqueda, FiltrosDePlacaTarifaYTablaYSusFilas) {
    const std::tuple<bool, const char*, std::optional<QString>, const char*> casos[] = {
        {true, "", std::nullopt, "EXE1|XAB9|ABC123"},
        {true, "ab", std::nullopt, "XAB9|ABC123"},
        // A typed wildcard is a character like any other.
        {true, "_", std::nullopt, ""},
        {true, "%", std::nullopt, ""},
        {true, "", "CLIENTE", "XAB9"},
        {true, "", "EXENTO", "EXE1"},
        {false, "", std::nullopt, "ABD555"},
        {false, "", "CLIENTE", ""}};
    ModeloBusqueda m;
    AbrirConexion();
    for (const auto& [salidas, placa, tarifa, placas] : casos) {
        m.buscar(filtro(salidas, placa, tarifa));
        EXPECT_EQ(Columna(m, ModeloBusqueda::Placa), placas) << placa;
    }
    m.buscar(filtro(true));
    EXPECT_EQ(fila(m, 2), "7|24/12/2016 08:00:00 am|24/12/2016 10:00:00 am|ABC123|Sedán||1|1000|"
                          "60|CARRO|$11900|1|19|FV-007");
    EXPECT_EQ(fila(m, 1), "8|24/12/2016 09:00:00 am|24/12/2016 11:00:00 am|XAB9|Moto|Casco|0|0|0|"
                          "CLIENTE|$0|2||");
    EXPECT_EQ(m.headerData(13, Qt::Horizontal).toString(), "Documento Factura de venta");
    m.buscar(filtro(false));
    EXPECT_EQ(fila(m, 0), "1|24/12/2016 09:30:00 am||ABD555|Van||1|1000|60|CARRO||||");
}

// Pages end inside a second shared by several exits: the list still holds every exit once, in
// its order, and the count and the sum are the whole search's from the first page on.
TEST_P(PruebaBusqueda, PaginasQueSeCortanDentroDeUnSegundo) {
    const QStringList tarde = agregarSalidasDeLaTarde(450);
    ModeloBusqueda m;
    AbrirConexion();
    m.buscar(filtro(true));
    EXPECT_EQ(std::tuple(m.rowCount(), m.cantidad(), m.cobrado()),
              std::tuple(ModeloBusqueda::kPagina, 453, int64_t(11900 + 450 * 451 / 2)));
    for (int pagina = 0; pagina < 5 && m.canFetchMore({}); ++pagina)
        m.fetchMore({});
    EXPECT_FALSE(m.canFetchMore({}));
    EXPECT_EQ(Columna(m, ModeloBusqueda::Consecutivo),
              (tarde + QStringList{"9", "8", "7"}).join('|'));
    m.buscar(filtro(true, "ab"));
    EXPECT_EQ(std::tuple(m.rowCount(), m.cantidad(), m.cobrado()),
              std::tuple(2, 2, int64_t(11900)));
    EXPECT_FALSE(m.canFetchMore({}));
}

// Both figures together, and the payments of the day only, are the window's title.
TEST_P(PruebaBusqueda, TituloConCobradoYPagosDeClientes) {
    const QString t = "Reimprimir Tickets - 3 tickets";
    const std::tuple<bool, int64_t, int64_t, QString> casos[] = {
        {false, 11900, 50000, t},
        {true, 0, 0, t},
        {true, 11900, 0, t + " - Cobrado: $11.900"},
        {true, 0, 50000, t + " - Clientes: $50.000 <<->> Cobrado + Clientes: $50.000"}};
    for (const auto& [salidas, cobrado, pagos, titulo] : casos)
        EXPECT_EQ(TituloBusqueda(3, salidas, cobrado, pagos), titulo);
}

} // namespace
