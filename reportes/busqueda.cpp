#include "reportes/busqueda.h"

#include "principal/formatos.h"
#include "principal/parqueadero.h"
#include "principal/recordset.h"
#include "principal/registros.h"
#include "principal/sql.h"

namespace {

QString condicionPeriodo(const QString& campo, const PeriodoInforme& periodo) {
    return campo + QStringLiteral(" >= ") + LiteralFechaHora(periodo.inicio) +
           QStringLiteral(" AND ") + campo + QStringLiteral(" <= ") + LiteralFechaHora(periodo.fin);
}

} // namespace

QString SentenciaPeriodo(const FiltroBusqueda& filtro, const QString& tabla,
                         const QString& condicion) {
    const QString campo =
        filtro.salidas ? QStringLiteral("FechaSalida") : QStringLiteral("FechaEntrada");
    QString sql = QStringLiteral("SELECT * FROM ") + tabla + QStringLiteral(" WHERE ") +
                  condicionPeriodo(campo, filtro.periodo);
    if (!filtro.placa.isEmpty())
        sql += QStringLiteral(" AND Placa LIKE ") +
               Texto(QLatin1Char('%') + filtro.placa + QLatin1Char('%'));
    sql += condicion;
    return sql + QStringLiteral(" ORDER BY ") + campo + QStringLiteral(" DESC");
}

QString SentenciaBusqueda(const FiltroBusqueda& filtro) {
    const QString condicion =
        filtro.tarifa ? QStringLiteral(" AND DescrTarifa = ") + Texto(*filtro.tarifa) : QString();
    return SentenciaPeriodo(
        filtro, filtro.salidas ? QStringLiteral("salidas") : QStringLiteral("entradas"), condicion);
}

QString SentenciaTotalPagos(const PeriodoInforme& periodo) {
    return QStringLiteral("SELECT SUM(CantidadPago) as TotalPagos FROM Pagos WHERE ") +
           condicionPeriodo(QStringLiteral("FechaPago"), periodo);
}

int64_t TotalPagos(const PeriodoInforme& periodo) {
    Recordset rs;
    rs.Open(SentenciaTotalPagos(periodo));
    return rs.Fields(QStringLiteral("TotalPagos")).aEntero();
}

QString TituloBusqueda(int cantidad, bool salidas, int64_t cobrado, int64_t pagos) {
    QString titulo = QStringLiteral("Reimprimir Tickets - ") + QString::number(cantidad) +
                     QStringLiteral(" tickets");
    if (!salidas)
        return titulo;
    if (cobrado >= 1)
        titulo += QStringLiteral(" - Cobrado: ") + ImporteMoneda(cobrado);
    if (pagos > 0)
        titulo += QStringLiteral(" - Clientes: ") + ImporteMoneda(pagos) +
                  QStringLiteral(" <<->> Cobrado + Clientes: ") + ImporteMoneda(cobrado + pagos);
    return titulo;
}

bool FechaPermitida(int nivelAcceso, const QDate& elegida, const QDate& hoy) {
    return nivelAcceso != 6 || elegida == hoy;
}

int NivelAcceso() {
    return static_cast<int>(ValorNumerico(SesionActual.NivelAcceso));
}
