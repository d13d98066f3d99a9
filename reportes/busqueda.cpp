#include "reportes/busqueda.h"

#include "acceso/parqueadero.h"
#include "bd/recordset.h"
#include "bd/sql.h"
#include "principal/formatos.h"
#include "principal/registros.h"

namespace {

QString condicionPeriodo(const QString& campo, const PeriodoInforme& periodo) {
    return campo + QStringLiteral(" >= ") + LiteralFechaHora(periodo.inicio) +
           QStringLiteral(" AND ") + campo + QStringLiteral(" <= ") + LiteralFechaHora(periodo.fin);
}

} // namespace

namespace {

QString campoFecha(const FiltroBusqueda& filtro) {
    return filtro.salidas ? QStringLiteral("FechaSalida") : QStringLiteral("FechaEntrada");
}

// The period and the plate.
QString condicionFiltro(const FiltroBusqueda& filtro) {
    QString sql = condicionPeriodo(campoFecha(filtro), filtro.periodo);
    if (!filtro.placa.isEmpty())
        sql += QStringLiteral(" AND Placa LIKE ") + PatronContiene(filtro.placa);
    return sql;
}

// " FROM tabla WHERE" the period, the plate and `condicion`.
QString origenPeriodo(const FiltroBusqueda& filtro, const QString& tabla,
                      const QString& condicion) {
    return QStringLiteral(" FROM ") + tabla + QStringLiteral(" WHERE ") + condicionFiltro(filtro) +
           condicion;
}

QString tablaBusqueda(const FiltroBusqueda& filtro) {
    return filtro.salidas ? QStringLiteral("salidas") : QStringLiteral("entradas");
}

QString condicionTarifa(const FiltroBusqueda& filtro) {
    return filtro.tarifa ? QStringLiteral(" AND DescrTarifa = ") + Texto(*filtro.tarifa)
                         : QString();
}

} // namespace

QString SentenciaPeriodo(const FiltroBusqueda& filtro, const QString& tabla,
                         const QString& condicion) {
    return QStringLiteral("SELECT *") + origenPeriodo(filtro, tabla, condicion) +
           QStringLiteral(" ORDER BY ") + campoFecha(filtro) + QStringLiteral(" DESC");
}

QString SentenciaBusqueda(const FiltroBusqueda& filtro) {
    return SentenciaPeriodo(filtro, tablaBusqueda(filtro), condicionTarifa(filtro));
}

ConsultaLista ConsultaBusqueda(const FiltroBusqueda& filtro) {
    const QString clave =
        filtro.salidas ? QStringLiteral("id_salida") : QStringLiteral("id_entrada");
    return {QStringLiteral("*"), tablaBusqueda(filtro),
            condicionFiltro(filtro) + condicionTarifa(filtro),
            campoFecha(filtro) + QStringLiteral(" DESC, ") + clave + QStringLiteral(" DESC"),
            clave};
}

QString SentenciaCobradoBusqueda(const FiltroBusqueda& filtro) {
    return QStringLiteral("SELECT SUM(Cobrado) AS TotalCobrado") +
           origenPeriodo(filtro, tablaBusqueda(filtro), condicionTarifa(filtro));
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
