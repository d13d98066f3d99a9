#include "clientes/periodos.h"

#include "bd/conexion.h"
#include "bd/recordset.h"
#include "bd/sql.h"
#include "principal/formatos.h"
#include "turnos/turnos.h"

namespace {

// The period as stored, on the open connection.
std::optional<Periodo> leerPeriodo(int64_t idFechaPago) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM FechaPago WHERE id_fecha_pago=") +
            QString::number(idFechaPago));
    if (rs.Eof())
        return std::nullopt;
    Periodo p{rs.Fields(QStringLiteral("id_cliente")).aEntero(),
              rs.Fields(QStringLiteral("CantidadTotal")).aEntero(),
              rs.Fields(QStringLiteral("Pagado")).aBandera()};
    rs.Open(QStringLiteral("SELECT * FROM Pagos WHERE id_fecha_pago = ") +
            QString::number(idFechaPago) + QStringLiteral(" ORDER BY FechaPago DESC"));
    double abonado = 0;
    for (; !rs.Eof(); rs.MoveNext())
        abonado = RedondeoPar(abonado + rs.Fields(QStringLiteral("CantidadPago")).aNumero());
    p.abonado = static_cast<int64_t>(abonado);
    return p;
}

int64_t periodosImpagos(int64_t idCliente) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT COUNT(*) as ExistePagoPendiente FROM FechaPago WHERE "
                           "Pagado=False AND id_cliente=") +
            QString::number(idCliente));
    return rs.Fields(QStringLiteral("ExistePagoPendiente")).aEntero();
}

QString activo(bool debe, int64_t idCliente) {
    return QStringLiteral("UPDATE Clientes SET Activo=") +
           (debe ? QStringLiteral("True") : QStringLiteral("False")) +
           QStringLiteral(" WHERE id_cliente=") + QString::number(idCliente);
}

// The payment's own period, with its key.
std::optional<std::pair<int64_t, Periodo>> periodoDelPago(int64_t idPago) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM Pagos WHERE id_pago = ") + QString::number(idPago));
    if (rs.Eof())
        return std::nullopt;
    const int64_t idFechaPago = rs.Fields(QStringLiteral("id_fecha_pago")).aEntero();
    const std::optional<Periodo> periodo = leerPeriodo(idFechaPago);
    if (!periodo)
        return std::nullopt;
    return std::make_pair(idFechaPago, *periodo);
}

Resultado protegido(const Periodo& p) {
    return p.pagado && periodosImpagos(p.idCliente) > 0 ? Resultado::PagoProtegido
                                                        : Resultado::Hecho;
}

} // namespace

Cambio<> AgregarPeriodo(const PeriodoNuevo& p) {
    return EnTransaccion([&] {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT COUNT(*) as EstadoPago FROM FechaPago WHERE id_cliente = ") +
                QString::number(p.idCliente) + QStringLiteral(" AND Pagado=False"));
        if (rs.Fields(QStringLiteral("EstadoPago")).aEntero() > 0)
            return Rechazo(Resultado::PeriodoPendiente);
        const QString insercion =
            QStringLiteral("INSERT INTO FechaPago (id_cliente, FechaInicio, FechaFin, "
                           "CantidadTotal, Pagado, NRecibo) VALUES (") +
            QString::number(p.idCliente) + QLatin1Char(',') + LiteralFechaSimple(p.inicio) +
            QLatin1Char(',') + LiteralFechaSimple(p.fin) + QLatin1Char(',') +
            QString::number(p.cantidad) + QStringLiteral(",False,") + Texto(p.recibo) +
            QLatin1Char(')');
        ExigirUnaFila(insercion);
        const QString cliente = activo(true, p.idCliente);
        if (EjecutarCambio(cliente) != 1)
            return Rechazo(Resultado::NoEncontrado);
        return Hecho({insercion, cliente});
    });
}

std::optional<Periodo> LeerPeriodo(int64_t idFechaPago) {
    AbrirConexion();
    const std::optional<Periodo> periodo = leerPeriodo(idFechaPago);
    CerrarConexion();
    return periodo;
}

Cambio<SaldoPeriodo> EfectuarPago(int64_t idFechaPago, const QDate& fecha, int64_t cantidad) {
    const QString id = QString::number(idFechaPago);
    return EnTransaccion([&] {
        const std::optional<Periodo> periodo = leerPeriodo(idFechaPago);
        if (!periodo)
            return Rechazo<SaldoPeriodo>(Resultado::NoEncontrado);
        if (periodo->pagado)
            return Rechazo<SaldoPeriodo>(Resultado::YaPagada);
        if (cantidad > periodo->pendiente())
            return Rechazo(Resultado::Excede, SaldoPeriodo{periodo->pendiente()});
        const SaldoPeriodo saldo{periodo->pendiente() - cantidad, cantidad == periodo->pendiente()};
        Cambio<SaldoPeriodo> hecho = Hecho(
            {QStringLiteral("INSERT INTO Pagos (id_fecha_pago, FechaPago, CantidadPago) VALUES (") +
             id + QLatin1Char(',') + LiteralFechaSimple(fecha) + QLatin1Char(',') +
             QString::number(cantidad) + QLatin1Char(')')},
            saldo);
        ExigirUnaFila(hecho.sentencias.first());
        AnotarPago(Recordset::UltimoId(), cantidad, periodo->idCliente);
        if (!saldo.finalizado)
            return hecho;
        hecho.sentencias << QStringLiteral(
                                "UPDATE FechaPago SET Pagado=True WHERE id_fecha_pago=") +
                                id
                         << activo(false, periodo->idCliente);
        if (EjecutarCambio(hecho.sentencias[1]) != 1 || EjecutarCambio(hecho.sentencias[2]) != 1)
            return Rechazo<SaldoPeriodo>(Resultado::NoEncontrado);
        return hecho;
    });
}

Cambio<> EliminarPeriodo(int64_t idFechaPago) {
    const QString id = QString::number(idFechaPago);
    return EnTransaccion([&] {
        const std::optional<Periodo> periodo = leerPeriodo(idFechaPago);
        if (!periodo)
            return Rechazo(Resultado::NoEncontrado);
        if (!periodo->pagado && EjecutarCambio(activo(false, periodo->idCliente)) != 1)
            return Rechazo(Resultado::NoEncontrado);
        Cambio<> hecho = Hecho({QStringLiteral("DELETE FROM FechaPago WHERE id_fecha_pago = ") + id,
                                QStringLiteral("DELETE FROM Pagos WHERE id_fecha_pago = ") + id});
        if (EjecutarCambio(hecho.sentencias[0]) != 1)
            return Rechazo(Resultado::NoEncontrado);
        EjecutarCambio(hecho.sentencias[1]);
        return hecho;
    });
}

Resultado PuedeEliminarsePago(int64_t idPago) {
    AbrirConexion();
    const auto pago = periodoDelPago(idPago);
    const Resultado resultado = pago ? protegido(pago->second) : Resultado::NoEncontrado;
    CerrarConexion();
    return resultado;
}

Cambio<> EliminarPago(int64_t idPago) {
    return EnTransaccion([&] {
        const auto pago = periodoDelPago(idPago);
        if (!pago)
            return Rechazo(Resultado::NoEncontrado);
        if (protegido(pago->second) != Resultado::Hecho)
            return Rechazo(Resultado::PagoProtegido);
        const QString borrado =
            QStringLiteral("DELETE FROM Pagos WHERE id_pago = ") + QString::number(idPago);
        Recordset rs;
        rs.Open(QStringLiteral("SELECT CantidadPago FROM Pagos WHERE id_pago = ") +
                QString::number(idPago));
        const int64_t cantidad = rs.Fields(QStringLiteral("CantidadPago")).aEntero();
        rs.Close();
        if (EjecutarCambio(
                QStringLiteral("UPDATE FechaPago SET Pagado=False WHERE id_fecha_pago=") +
                QString::number(pago->first)) != 1 ||
            EjecutarCambio(activo(true, pago->second.idCliente)) != 1 ||
            EjecutarCambio(borrado) != 1)
            return Rechazo(Resultado::NoEncontrado);
        AnotarPago(idPago, -cantidad, pago->second.idCliente,
                   QStringLiteral("Baja de pago de cliente"));
        return Hecho({borrado});
    });
}
