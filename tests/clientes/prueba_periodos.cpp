#include "clientes/periodos.h"
#include "tests/clientes/apoyo_clientes.h"

#include <functional>

namespace {

using PruebaPeriodos = PruebaClientesMotores;
using R = Resultado;

// The ids a case acts on: the client, its first period, that period's first payment.
struct Ids {
    int64_t cliente = 0, periodo = 0, pago = 0;
};

enum class Estado { Ninguno, Abierto, Pagado, PagadoYOtroAbierto };

// Every row of the state table: the client's Activo, the periods' Pagado and the payments left.
TEST_P(PruebaPeriodos, TablaDeEstados) {
    // Every change as a payment's, so one column holds what a payment leaves owed.
    using Accion = std::function<Cambio<SaldoPeriodo>(const Ids&)>;
    const auto comoPago = [](const Cambio<>& c) {
        return Cambio<SaldoPeriodo>{c.resultado, c.sentencias, {-1, false}};
    };
    const Accion agregar = [this, comoPago](const Ids& i) {
        return comoPago(AgregarPeriodo({i.cliente, hoy(), hoy().addDays(30), 100, "8"}));
    };
    const auto pagar = [this](int cantidad) -> Accion {
        return [this, cantidad](const Ids& i) { return EfectuarPago(i.periodo, hoy(), cantidad); };
    };
    const Accion borrarPago = [comoPago](const Ids& i) { return comoPago(EliminarPago(i.pago)); };
    const Accion borrarPeriodo = [comoPago](const Ids& i) {
        return comoPago(EliminarPeriodo(i.periodo));
    };
    // State, change, result; after it: Activo | Pagado of each period | payments, what a payment
    // leaves owed and whether it finished the period.
    const std::tuple<Estado, Accion, R, const char*, int64_t, bool> casos[] = {
        {Estado::Ninguno, agregar, R::Hecho, "-1|0|0", -1, false},
        {Estado::Abierto, agregar, R::PeriodoPendiente, "-1|0|1", -1, false},
        {Estado::Abierto, pagar(10), R::Hecho, "-1|0|2", 60, false},
        {Estado::Abierto, pagar(0), R::Hecho, "-1|0|2", 70, false},
        {Estado::Abierto, pagar(70), R::Hecho, "0|-1|2", 0, true},
        {Estado::Abierto, pagar(71), R::Excede, "-1|0|1", 70, false},
        {Estado::Pagado, pagar(1), R::YaPagada, "0|-1|1", 0, false},
        {Estado::Pagado, borrarPago, R::Hecho, "-1|0|0", -1, false},
        {Estado::PagadoYOtroAbierto, borrarPago, R::PagoProtegido, "-1|-1,0|1", -1, false},
        {Estado::Abierto, borrarPago, R::Hecho, "-1|0|0", -1, false},
        {Estado::Abierto, borrarPeriodo, R::Hecho, "0||0", -1, false},
        {Estado::PagadoYOtroAbierto, borrarPeriodo, R::Hecho, "-1|0|0", -1, false},
    };
    int n = 0;
    for (const auto& [inicial, accion, resultado, despues, pendiente, finalizado] : casos) {
        SCOPED_TRACE(++n);
        vaciar();
        const bool debe = inicial == Estado::Abierto || inicial == Estado::PagadoYOtroAbierto;
        Ids ids{cliente("AAA111", debe)};
        // Another client's rows must never change.
        periodo(cliente("OTRO", true), 50, false, {});
        if (inicial != Estado::Ninguno)
            ids.periodo = periodo(ids.cliente, 100, inicial != Estado::Abierto,
                                  {inicial == Estado::Abierto ? 30 : 100});
        if (inicial == Estado::PagadoYOtroAbierto)
            periodo(ids.cliente, 100, false, {});
        ids.pago = Columna("SELECT id_pago FROM Pagos", "id_pago").value(0).toLongLong();
        const Cambio<SaldoPeriodo> cambio = accion(ids);
        EXPECT_EQ(std::tuple(cambio.resultado, cambio.valor.pendiente, cambio.valor.finalizado),
                  std::tuple(resultado, pendiente, finalizado));
        const auto de = [&ids](const char* sql) { return Crudas(QString(sql).arg(ids.cliente)); };
        EXPECT_EQ(de("SELECT Activo FROM Clientes WHERE id_cliente=%1")
                      << de("SELECT Pagado FROM FechaPago WHERE id_cliente=%1 ORDER BY "
                            "id_fecha_pago")
                             .join(',')
                      << de("SELECT COUNT(*) FROM Pagos JOIN FechaPago USING (id_fecha_pago) "
                            "WHERE id_cliente=%1"),
                  QString(despues).split('|'));
        EXPECT_EQ(Crudas("SELECT Activo, Pagado FROM Clientes JOIN FechaPago USING (id_cliente) "
                         "WHERE Placa='OTRO'"),
                  QStringList{"-1|0"});
    }
}

// Each change either writes all its statements or none: a failure at any of them, or a row
// another station removed, leaves every table as it was.
TEST_P(PruebaPeriodos, CadaCambioEsTodoONada) {
    // Name, change, which row another station removed first: the client, the period, the payment.
    const std::tuple<const char*, std::function<Resultado(const Ids&)>, int> cambios[] = {
        {"eliminar cliente", [](const Ids& i) { return EliminarCliente(i.cliente).resultado; }, 0},
        {"modificar cliente",
         [](const Ids& i) {
             return ModificarCliente(i.cliente, {"Eva", "Paz", "", "ZZZ9", "", ""}).resultado;
         },
         0},
        {"agregar periodo",
         [this](const Ids& i) {
             return AgregarPeriodo({i.cliente, hoy(), hoy(), 5, ""}).resultado;
         },
         0},
        {"pago final",
         [this](const Ids& i) { return EfectuarPago(i.periodo, hoy(), 70).resultado; }, 1},
        {"eliminar periodo", [](const Ids& i) { return EliminarPeriodo(i.periodo).resultado; }, 1},
        {"eliminar pago", [](const Ids& i) { return EliminarPago(i.pago).resultado; }, 2},
    };
    for (const auto& [nombre, cambio, quitado] : cambios) {
        SCOPED_TRACE(nombre);
        for (const bool quitar : {false, true}) {
            vaciar();
            Ids ids{cliente("AAA111", true)};
            periodo(ids.cliente, 50, true, {20, 30});
            ids.periodo = periodo(ids.cliente, 100, false, {30});
            ids.pago = Columna("SELECT MAX(id_pago) AS m FROM Pagos", "m").value(0).toLongLong();
            // The pending period is gone in the add's case, so that only the client is missing.
            if (QByteArray(nombre) == "agregar periodo")
                Ejecutar("DELETE FROM FechaPago WHERE Pagado=False");
            if (!quitar) {
                EXPECT_GE(FallarCadaSentencia([&] { EXPECT_EQ(cambio(ids), Resultado::Hecho); },
                                              [this] { return estado(); }),
                          3);
                continue;
            }
            const std::pair<const char*, int64_t> filas[] = {
                {"Clientes WHERE id_cliente", ids.cliente},
                {"FechaPago WHERE id_fecha_pago", ids.periodo},
                {"Pagos WHERE id_pago", ids.pago}};
            Ejecutar(
                QString("DELETE FROM %1=%2").arg(filas[quitado].first).arg(filas[quitado].second));
            const QString antes = estado();
            EXPECT_EQ(cambio(ids), Resultado::NoEncontrado);
            EXPECT_EQ(estado(), antes);
        }
    }
}

VIALTOR_EN_AMBOS_MOTORES(PruebaPeriodos);

} // namespace
