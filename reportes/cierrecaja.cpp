#include "reportes/cierrecaja.h"

#include "principal/conexion.h"
#include "principal/formatos.h"
#include "principal/recordset.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sql.h"
#include "principal/sucesos.h"

namespace {

const QString kCrlf = QStringLiteral("\r\n");
const QString kBoton =
    QStringLiteral("Reimprimir Tickets, Botón Efectuar Cierre - Reimprimir Cierre, ");
constexpr int kMaximoListado = 6;

// The stored number; a row left "ENESPERA" by an update that never ran goes by its key.
int64_t numeroCierre(const Recordset& rs) {
    return EnteroEstricto(rs.Fields(QStringLiteral("NDocumento")).aTexto())
        .value_or(rs.Fields(QStringLiteral("id_cierre")).aEntero());
}

CierreCaja leerCierre(const Recordset& rs) {
    auto entero = [&rs](const char* campo) { return rs.Fields(QLatin1String(campo)).aEntero(); };
    return {numeroCierre(rs),
            rs.Fields(QStringLiteral("FechaImp")).aFecha(),
            rs.Fields(QStringLiteral("Cajero")).aTexto(),
            {entero("TotalRegistros"), rs.Fields(QStringLiteral("NDocIni")).aTexto(),
             rs.Fields(QStringLiteral("NDocFin")).aTexto(), entero("TotalBase"),
             entero("TotalValorIVA"), entero("TotalTotales")}};
}

QString textoCierresRealizados(const QStringList& filas) {
    QString texto = QStringLiteral("<- CIERRES REALIZADOS EN EL RANGO DE FECHA SELECCIONADO ->") +
                    kCrlf + kCrlf + filas.join(QString());
    if (filas.size() == kMaximoListado)
        texto += kCrlf +
                 QStringLiteral("LISTADO DE %1 CIERRES DENTRO DEL RANGO SELECCIONADO")
                     .arg(kMaximoListado) +
                 kCrlf + kCrlf +
                 QStringLiteral("SELECCIONE UN RANGO MÁS REDUCIDO PARA VISUALIZAR TODOS LOS "
                                "CIERRES") +
                 kCrlf;
    return texto;
}

// The closings lying wholly within the chosen days, whatever their hours, at most six.
void mostrarCierresRealizados(const PeriodoInforme& periodo) {
    AbrirConexion();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM Cierres WHERE FechaIni >= ") +
            LiteralInicioDia(periodo.inicio.date()) + QStringLiteral(" AND FechaFin <= ") +
            LiteralFinDia(periodo.fin.date()) + QStringLiteral(" ORDER BY id_cierre ASC"));
    QStringList filas;
    for (; !rs.Eof() && filas.size() < kMaximoListado; rs.MoveNext())
        filas << QStringLiteral("Consecutivo de Cierre: ") + QString::number(numeroCierre(rs)) +
                     QStringLiteral(" <-> De ") +
                     FechaHoraTexto(rs.Fields(QStringLiteral("FechaIni")).aFecha()) +
                     QStringLiteral(" a ") +
                     FechaHoraTexto(rs.Fields(QStringLiteral("FechaFin")).aFecha()) +
                     QStringLiteral(" <-> Fecha de Impresión: ") +
                     FechaHoraTexto(rs.Fields(QStringLiteral("FechaImp")).aFecha()) + kCrlf;
    rs.Close();
    CerrarConexion();
    if (filas.isEmpty())
        return;
    Registrar(kBoton + QStringLiteral("se muestran CIERRES REALIZADOS existentes"));
    Informar(textoCierresRealizados(filas),
             QStringLiteral("Listado de Cierres en el Rango Seleccionado: %1 cierres")
                 .arg(filas.size()));
}

std::optional<CierreCaja> cierreDelPeriodo(const PeriodoInforme& periodo) {
    AbrirConexion();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT TOP 1 * FROM Cierres WHERE FechaIni = ") +
            LiteralFechaHora(periodo.inicio) + QStringLiteral(" AND FechaFin = ") +
            LiteralFechaHora(periodo.fin));
    std::optional<CierreCaja> cierre;
    if (!rs.Eof())
        cierre = leerCierre(rs);
    rs.Close();
    CerrarConexion();
    return cierre;
}

QString insercionCierre(const PeriodoInforme& periodo, const CierreCaja& c) {
    return QStringLiteral("INSERT INTO Cierres (NDocumento,FechaImp,FechaIni,FechaFin,Cajero,"
                          "NDocIni,NDocFin,TotalRegistros,TotalBase,TotalValorIVA,TotalTotales) "
                          "VALUES ('ENESPERA',") +
           QStringList{LiteralFechaHoraAmPm(c.fechaImp),
                       LiteralFechaHoraAmPm(periodo.inicio),
                       LiteralFechaHoraAmPm(periodo.fin),
                       Texto(c.cajero),
                       Texto(c.cifras.docIni),
                       Texto(c.cifras.docFin),
                       QString::number(c.cifras.totalRegistros),
                       QString::number(c.cifras.totalBase),
                       QString::number(c.cifras.totalValorIva),
                       QString::number(c.cifras.totalCobrado)}
               .join(QLatin1Char(',')) +
           QLatin1Char(')');
}

// A document that reached neither the printer nor its PDF is lost; the stored closing is not.
void imprimirCierre(const QStringList& lineas) {
    if (ImprimirDocumento(lineas)) {
        Registrar(kBoton + QStringLiteral("finaliza la impresión correctamente"));
        return;
    }
    Registrar(kBoton + QStringLiteral("no se pudo imprimir el cierre, queda guardado para "
                                      "reimprimirlo"));
    Servicios().dialogos->mensaje(
        QStringLiteral("No se pudo imprimir el cierre. El cierre quedó guardado: para "
                       "reimprimirlo, vuelva a efectuar el cierre con las mismas fechas y horas."),
        TituloAplicacion, Icono::Exclamacion);
}

bool preguntarSiNo(const QString& texto, const QString& titulo, Icono icono) {
    return Servicios().dialogos->mensaje(texto, titulo, icono, Boton::Si | Boton::No, Boton::No) ==
           Boton::Si;
}

bool cierreNuevo(const PeriodoInforme& periodo, const QDateTime& ahora) {
    if (!preguntarSiNo(PreguntaCierre(periodo), QStringLiteral("EFECTUAR CIERRE"),
                       Icono::Exclamacion))
        return true;
    const std::optional<CierreCaja> cierre = GrabarCierre(periodo, ahora);
    if (!cierre) {
        Registrar(kBoton + QStringLiteral("Mensaje: No hay registros para realizar el cierre"));
        Informar(QStringLiteral("No hay registros para realizar el cierre"));
        return false;
    }
    Registrar(kBoton + QStringLiteral("se prepara una Impresión"));
    imprimirCierre(LineasCierre(periodo, *cierre, std::nullopt));
    return true;
}

void reimprimirCierre(const PeriodoInforme& periodo, const CierreCaja& cierre,
                      const QDateTime& ahora) {
    Registrar(kBoton + QStringLiteral("se prepara una Reimpresión"));
    if (preguntarSiNo(PreguntaReimpresionCierre(periodo), QStringLiteral("REIMPRIMIR CIERRE"),
                      Icono::Informacion))
        imprimirCierre(LineasCierre(periodo, cierre, ahora));
}

// The period in words: one date with both hours, or each bound on a line of its own.
QStringList periodoEnPalabras(const PeriodoInforme& periodo) {
    const QDate inicio = periodo.inicio.date();
    const QDate fin = periodo.fin.date();
    const QString horaInicio = HoraTexto(periodo.inicio.time());
    const QString horaFin = HoraTexto(periodo.fin.time());
    if (inicio == fin)
        return {FechaEnPalabras(inicio) + QStringLiteral(" - ") + horaInicio +
                QStringLiteral(" a ") + horaFin};
    return {QStringLiteral("De: ") + FechaEnPalabras(inicio) + QStringLiteral(" - ") + horaInicio,
            QStringLiteral("A:  ") + FechaEnPalabras(fin) + QStringLiteral(" - ") + horaFin};
}

} // namespace

QString NombreCajero() {
    return SesionActual.Nombre + QLatin1Char(' ') + SesionActual.Ape1 + QLatin1Char(' ') +
           SesionActual.Ape2;
}

QString PreguntaCierre(const PeriodoInforme& periodo) {
    return QStringList{
        QStringLiteral("¿DESEA EFECTUAR EL CIERRE?"),
        QString(),
        QStringLiteral("De: ") + MomentoEnPalabras(periodo.inicio),
        QStringLiteral("A:   ") + MomentoEnPalabras(periodo.fin),
        QStringLiteral("Cajero: ") + NombreCajero(),
        QString(),
        QStringLiteral("RECUERDE: Tenga muy en cuenta el uso de Fecha, Hora, Minuto y Segundo "
                       "que especifique"),
        QStringLiteral("(*) Si desea realizar un Cierre del Día Completo, especifique rango "
                       "horario desde 00:00:00 horas (12:00:00 a.m.) a 23:59:59 horas "
                       "(11:59:59 p.m.)"),
        QStringLiteral("(*) Si desea realizar Cierres de Turno, ejemplo:"),
        QStringLiteral("Si un turno es de 06:00:00 horas (6:00:00 a.m.) a 14:00:00 horas "
                       "(2:00:00 p.m.),"),
        QStringLiteral("especifique rango horario desde 06:00:00 horas (6:00:00 a.m.) a "
                       "13:59:59 horas (1:59:59 p.m.)"),
        QStringLiteral("para el siguiente turno especificaría de 14:00:00 horas (2:00:00 p.m.) "
                       "a 22:00:00 horas (10:00:00 p.m.)"),
        QString(),
        QStringLiteral("Si tiene un tercer turno, cambiaría 22:00:00 horas (10:00:00 p.m.) por "
                       "21:59:59 horas (9:59:59 p.m.) en el segundo turno,"),
        QStringLiteral("y el tercer turno iría desde 22:00:00 horas (10:00:00 p.m.) a 05:59:59 "
                       "horas (5:59:59 a.m.)"),
        QStringLiteral("El siguiente turno seguiría desde 06:00:00 horas (6:00:00 a.m.), "
                       "volviendo a iniciar el ciclo"),
        QString()}
        .join(kCrlf);
}

QString PreguntaReimpresionCierre(const PeriodoInforme& periodo) {
    return QStringList{QStringLiteral("¿Desea Reimprimir el cierre?"),
                       QString(),
                       QStringLiteral("De: ") + MomentoEnPalabras(periodo.inicio),
                       QStringLiteral("A:   ") + MomentoEnPalabras(periodo.fin),
                       QString(),
                       QStringLiteral("Cajero: ") + NombreCajero()}
        .join(kCrlf);
}

QStringList LineasCierre(const PeriodoInforme& periodo, const CierreCaja& cierre,
                         const std::optional<QDateTime>& reimpresion) {
    const AjustesParqueadero& p = DatosParqueadero;
    QStringList lineas;
    if (!p.CabeceraEfectuarCierre.isEmpty())
        lineas << p.CabeceraEfectuarCierre;
    if (reimpresion)
        lineas << QStringLiteral("Fecha de Reimpresión:") << MomentoEnPalabras(*reimpresion)
               << kLineaVacia;
    lineas << QStringLiteral("Fecha de Impresión:") << MomentoEnPalabras(cierre.fechaImp);
    if (!p.CajeroTexto.isEmpty() && p.CajeroImprimir)
        lineas << p.CajeroTexto + QLatin1Char(' ') + cierre.cajero;
    lineas << QStringLiteral("Consecutivo de Cierre: ") + QString::number(cierre.numero)
           << kLineaVacia;
    if (const auto tipo = TipoInforme(periodo.inicio.date(), periodo.fin.date()))
        lineas << *tipo;
    lineas << QStringLiteral("Rango de Documentos: ") << periodoEnPalabras(periodo) << kLineaVacia
           << LineasCifras(cierre.cifras);
    if (!p.PieEfectuarCierre.isEmpty())
        lineas << p.PieEfectuarCierre;
    return lineas << kLineaVacia << kLineaVacia;
}

std::optional<CierreCaja> GrabarCierre(const PeriodoInforme& periodo, const QDateTime& momento) {
    Transaccion transaccion;
    // The close waits for the transaction's end, whichever way it ends.
    CerrarConexion();
    const std::optional<CifrasVentas> cifras = LeerCifrasVentas(periodo);
    if (!cifras)
        return std::nullopt;
    CierreCaja cierre{0, momento, NombreCajero(), *cifras};
    ExigirUnaFila(insercionCierre(periodo, cierre));
    cierre.numero = Recordset::UltimoId();
    const QString numero = QString::number(cierre.numero);
    ExigirUnaFila(QStringLiteral("UPDATE Cierres SET NDocumento=") + Texto(numero) +
                  QStringLiteral(" WHERE id_cierre=") + numero);
    transaccion.confirmar();
    return cierre;
}

bool EfectuarCierre(const PeriodoInforme& periodo) {
    const QDateTime ahora = Servicios().reloj->ahora();
    mostrarCierresRealizados(periodo);
    if (const std::optional<CierreCaja> cierre = cierreDelPeriodo(periodo)) {
        reimprimirCierre(periodo, *cierre, ahora);
        return true;
    }
    return cierreNuevo(periodo, ahora);
}
