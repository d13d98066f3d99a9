#include "reportes/resumenventas.h"

#include "acceso/parqueadero.h"
#include "bd/conexion.h"
#include "bd/recordset.h"
#include "bd/sql.h"
#include "principal/formatos.h"
#include "principal/listados.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"

namespace {

const QString kBoton =
    QStringLiteral("Reimprimir Tickets, Botón Imprimir Resumen de Ventas/Cierre, ");
const QString kArchivo = QStringLiteral("ResumenVentas.txt");

QString filtroPeriodo(const PeriodoInforme& periodo) {
    return QStringLiteral(" FROM salidas WHERE FechaSalida >= ") +
           LiteralFechaHora(periodo.inicio) + QStringLiteral(" AND FechaSalida <= ") +
           LiteralFechaHora(periodo.fin);
}

// The exit's NDocumento, or its NroTicket when it has none (an empty one counts as one).
QString documento(const QString& filtro, const char* orden) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT TOP 1 NDocumento, NroTicket") + filtro +
            QStringLiteral(" ORDER BY FechaSalida %1, id_salida %1").arg(QLatin1String(orden)));
    const Valor& nDocumento = rs.Fields(QStringLiteral("NDocumento"));
    return nDocumento.esNulo() ? rs.Fields(QStringLiteral("NroTicket")).aTexto()
                               : nDocumento.aTexto();
}

QString rangoFechas(const PeriodoInforme& periodo) {
    const QDate inicio = periodo.inicio.date();
    const QDate fin = periodo.fin.date();
    if (inicio == fin)
        return FechaEnPalabras(inicio);
    return FechaEnPalabras(inicio) + QStringLiteral(" a ") + FechaEnPalabras(fin);
}

QString preguntaResumen() {
    return QStringList{
        QStringLiteral("¿Desea proceder con la impresión del Resumen de Ventas?"),
        QString(),
        QStringLiteral("Se imprimirá el Resumen de Ventas del rango de fechas y horas "
                       "seleccionado"),
        QString(),
        QStringLiteral("Adicionalmente, se generará un archivo en formato CSV (delimitado por "
                       "puntos y coma) en la ubicación: "),
        RutaListado(kArchivo),
        QString(),
        QStringLiteral("El Resumen de Ventas es un reporte para efectos informativos"),
        QStringLiteral("No realiza ningún proceso de modificación de la información en la base "
                       "de datos"),
        QStringLiteral("Puede generarlo siempre que lo requiera")}
        .join(kCrLf);
}

} // namespace

std::optional<CifrasVentas> LeerCifrasVentas(const PeriodoInforme& periodo) {
    const QString filtro = filtroPeriodo(periodo);
    // Summed in the database in one pass: a year holds a million exits, too many to carry over
    // row by row. An exit with a tax rate and a charge gives base and tax, one without a rate
    // only its charge; the sums are rounded once, as they are read.
    const QString conIva = QStringLiteral("IVA IS NOT NULL AND Cobrado > 0");
    const QString base = QStringLiteral("Cobrado / (1 + IVA / 100.0)");
    Recordset rs;
    rs.Open(QStringLiteral("SELECT COUNT(*) AS Registros, SUM(CASE WHEN %1 THEN %2 END) AS Base, "
                           "SUM(CASE WHEN %1 THEN Cobrado - %2 END) AS ValorIVA, SUM(CASE WHEN "
                           "%1 OR IVA IS NULL THEN Cobrado END) AS Cobrado")
                .arg(conIva, base) +
            filtro);
    const int64_t registros = rs.Fields(QStringLiteral("Registros")).aEntero();
    if (registros == 0)
        return std::nullopt;
    CifrasVentas cifras;
    cifras.totalRegistros = registros;
    cifras.totalBase = rs.Fields(QStringLiteral("Base")).aEntero();
    cifras.totalValorIva = rs.Fields(QStringLiteral("ValorIVA")).aEntero();
    cifras.totalCobrado = rs.Fields(QStringLiteral("Cobrado")).aEntero();
    cifras.docIni = documento(filtro, "ASC");
    cifras.docFin = documento(filtro, "DESC");
    return cifras;
}

std::optional<QString> TipoInforme(const QDate& inicio, const QDate& fin) {
    const int64_t dias = inicio.daysTo(fin);
    if (dias < 0)
        return std::nullopt;
    if (dias == 0)
        return QStringLiteral("Informe Diario");
    return QStringLiteral("Informe de rango: ") + QString::number(dias) +
           (dias == 1 ? QStringLiteral(" día") : QStringLiteral(" días"));
}

QString FechaEnPalabras(const QDate& fecha) {
    static const char* const meses[] = {"Enero",      "Febrero", "Marzo",     "Abril",
                                        "Mayo",       "Junio",   "Julio",     "Agosto",
                                        "Septiembre", "Octubre", "Noviembre", "Diciembre"};
    if (!fecha.isValid())
        return QString();
    return QStringLiteral("%1 %2 de %3")
        .arg(QLatin1String(meses[fecha.month() - 1]))
        .arg(fecha.day(), 2, 10, QLatin1Char('0'))
        .arg(fecha.year(), 4, 10, QLatin1Char('0'));
}

QString MomentoEnPalabras(const QDateTime& momento) {
    return FechaEnPalabras(momento.date()) + QStringLiteral(" - ") + HoraTexto(momento.time());
}

QStringList LineasCifras(const CifrasVentas& c) {
    const AjustesParqueadero& p = DatosParqueadero;
    QStringList lineas{QStringLiteral("Documento Inicial: ") + c.docIni,
                       QStringLiteral("Documento Final: ") + c.docFin, kLineaVacia,
                       QStringLiteral("<-- Total Registros: ") + QString::number(c.totalRegistros) +
                           QStringLiteral(" -->"),
                       kLineaVacia};
    if (c.totalBase > 0)
        lineas << p.BaseTexto + ImporteMoneda(c.totalBase);
    if (c.totalValorIva > 0)
        lineas << p.ValorIVATexto + ImporteMoneda(c.totalValorIva);
    lineas << p.ValorCobradoTexto + (c.totalCobrado == 0 ? p.SimboloMoneda + QStringLiteral("0")
                                                         : ImporteMoneda(c.totalCobrado));
    return lineas;
}

QStringList LineasResumenVentas(const PeriodoInforme& periodo, const CifrasVentas& cifras) {
    const AjustesParqueadero& p = DatosParqueadero;
    QStringList lineas;
    if (!p.CabeceraResumenVentas.isEmpty())
        lineas << p.CabeceraResumenVentas;
    if (const auto tipo = TipoInforme(periodo.inicio.date(), periodo.fin.date()))
        lineas << *tipo;
    lineas << QStringLiteral("Rango de Documentos: ") << rangoFechas(periodo) << kLineaVacia
           << LineasCifras(cifras) << kLineaVacia;
    if (!p.PieResumenVentas.isEmpty())
        lineas << p.PieResumenVentas;
    return lineas << kLineaVacia << kLineaVacia;
}

QStringList ArchivoResumenVentas(const PeriodoInforme& periodo, const CifrasVentas& c) {
    const AjustesParqueadero& p = DatosParqueadero;
    const auto tipo = TipoInforme(periodo.inicio.date(), periodo.fin.date());
    const QStringList datos{FechaCorta(periodo.inicio.date()),
                            FechaCorta(periodo.fin.date()),
                            c.docIni,
                            c.docFin,
                            QString::number(c.totalRegistros),
                            QString::number(c.totalBase),
                            QString::number(c.totalValorIva),
                            QString::number(c.totalCobrado)};
    return {QStringLiteral("TipoInforme;RangoFechaDocIni;RangoFechaDocFin;DocIni;DocFin;"
                           "TotalRegistros;") +
                p.BaseTexto + QLatin1Char(';') + p.ValorIVATexto + QLatin1Char(';') +
                p.ValorCobradoTexto + QLatin1Char(';'),
            (tipo ? *tipo + QLatin1Char(';') : QString()) + datos.join(QLatin1Char(';')) +
                QLatin1Char(';')};
}

TrabajoImpresion TrabajoDocumento(const QStringList& lineas,
                                  const std::optional<QDateTime>& reimpresion) {
    TrabajoImpresion trabajo;
    for (const QString& linea : lineas)
        trabajo.lineas.append({linea});
    if (reimpresion)
        trabajo.marcarCopia(*reimpresion);
    return trabajo;
}

bool ImprimirDocumento(const QStringList& lineas, const std::optional<QDateTime>& reimpresion) {
    return Servicios().impresora->imprimir(TrabajoDocumento(lineas, reimpresion));
}

bool ImprimirResumenVentas(const PeriodoInforme& periodo) {
    AbrirConexion();
    const std::optional<CifrasVentas> cifras = LeerCifrasVentas(periodo);
    CerrarConexion();
    if (!cifras) {
        Registrar(kBoton + QStringLiteral("Mensaje: No hay registros para listar"));
        Informar(QStringLiteral("No hay registros para listar"));
        return false;
    }
    if (Servicios().dialogos->mensaje(preguntaResumen(), QStringLiteral("RESUMEN DE VENTAS"),
                                      Icono::Informacion, Boton::Si | Boton::No,
                                      Boton::No) != Boton::Si)
        return true;
    // Printer trouble is the printing layer's to report; the file is written all the same.
    ImprimirDocumento(LineasResumenVentas(periodo, *cifras), std::nullopt);
    if (GuardarListado(kArchivo, ArchivoResumenVentas(periodo, *cifras)))
        Registrar(kBoton + QStringLiteral("se genera el archivo: ") + kArchivo);
    return true;
}
