#include "reportes/reimpresion.h"

#include "bd/sql.h"
#include "movimientos/tickets.h"
#include "movimientos/vehiculos.h"
#include "principal/registros.h"

#include <algorithm>

void LeerClienteReimpresion(const QString& placa) {
    ReiniciarDatosCliente();
    DatosTicket.FechaFin = QDate();
    DatosTicket.CantidadTotal = 0;
    const QString condicion = QStringLiteral(" FROM Clientes WHERE Placa = ") + Texto(placa) +
                              QStringLiteral(" AND Activo = True");
    Recordset rs;
    rs.Open(QStringLiteral("SELECT COUNT(*) as VerificarPlaca") + condicion);
    if (rs.Fields(QStringLiteral("VerificarPlaca")).aEntero() != 1)
        return;
    rs.Open(QStringLiteral("SELECT *") + condicion);
    const int64_t idCliente = rs.Fields(QStringLiteral("id_cliente")).aEntero();
    DatosTicket.IdCliente = static_cast<int32_t>(idCliente);
    DatosTicket.Nombre = rs.Fields(QStringLiteral("Nombre")).aTexto();
    DatosTicket.Ape1 = rs.Fields(QStringLiteral("ape1")).aTexto();
    DatosTicket.Ape2 = rs.Fields(QStringLiteral("ape2")).aTexto();
    rs.Open(QStringLiteral("SELECT * FROM FechaPago WHERE id_cliente = ") +
            QString::number(idCliente) +
            QStringLiteral(" AND Pagado = False ORDER BY Pagado DESC, FechaInicio ASC"));
    if (rs.Eof()) {
        DatosTicket.Pagado = true;
        return;
    }
    DatosTicket.FechaFin = rs.Fields(QStringLiteral("FechaFin")).aFecha().date();
    DatosTicket.CantidadTotal =
        static_cast<int32_t>(rs.Fields(QStringLiteral("CantidadTotal")).aEntero());
    DatosTicket.Pagado = rs.Fields(QStringLiteral("Pagado")).aBandera();
}

QVector<ItemCobro> PrepararReimpresion(const ModeloBusqueda::Fila& fila, bool salida,
                                       int64_t clave) {
    using M = ModeloBusqueda;
    DatosTicket.Numero = static_cast<int32_t>(fila[M::Consecutivo].aEntero());
    DatosTicket.FechaEntrada = fila[M::FechaEntrada].aFecha();
    DatosTicket.FechaSalida = fila[M::FechaSalida].aFecha();
    DatosTicket.Placa = fila[M::Placa].aTexto();
    LeerClienteReimpresion(DatosTicket.Placa);
    if (!salida) {
        DatosTicket.CopiasEntrada = 1;
        return {};
    }
    DatosTicket.CopiasSalida = 1;
    DatosTicket.Cobrado = static_cast<int32_t>(fila[M::Cobrado].aEntero());
    DatosTicket.ConsecutivoDia = static_cast<int16_t>(fila[M::ConsecutivoDia].aEntero());
    DatosTicket.IVA = static_cast<uint8_t>(std::clamp<int64_t>(fila[M::Iva].aEntero(), 0, 255));
    DatosTicket.NDocumento = fila[M::Documento].aTexto();
    return LeerItemsSalida(clave);
}
