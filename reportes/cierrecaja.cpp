#include "reportes/cierrecaja.h"

#include "bd/conexion.h"
#include "bd/recordset.h"
#include "bd/sql.h"
#include "principal/auditar.h"
#include "principal/formatos.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"
#include "reportes/informetablero.h"
#include "turnos/turnos.h"

#include <algorithm>
#include <cstdlib>

namespace {

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
                    kCrLf + kCrLf + filas.join(QString());
    if (filas.size() == kMaximoListado)
        texto += kCrLf +
                 QStringLiteral("LISTADO DE %1 CIERRES DENTRO DEL RANGO SELECCIONADO")
                     .arg(kMaximoListado) +
                 kCrLf + kCrLf +
                 QStringLiteral("SELECCIONE UN RANGO MÁS REDUCIDO PARA VISUALIZAR TODOS LOS "
                                "CIERRES") +
                 kCrLf;
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
                     FechaHoraTexto(rs.Fields(QStringLiteral("FechaImp")).aFecha()) + kCrLf;
    rs.Close();
    CerrarConexion();
    if (filas.isEmpty())
        return;
    Registrar(kBoton + QStringLiteral("se muestran CIERRES REALIZADOS existentes"));
    Informar(textoCierresRealizados(filas),
             QStringLiteral("Listado de Cierres en el Rango Seleccionado: %1 cierres")
                 .arg(filas.size()));
}

// On the caller's open connection: inside the write transaction it sees every closing
// committed before.
std::optional<CierreCaja> cierreDelPeriodo(const PeriodoInforme& periodo) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT TOP 1 * FROM Cierres WHERE FechaIni = ") +
            LiteralFechaHora(periodo.inicio) + QStringLiteral(" AND FechaFin = ") +
            LiteralFechaHora(periodo.fin));
    std::optional<CierreCaja> cierre;
    if (!rs.Eof())
        cierre = leerCierre(rs);
    rs.Close();
    if (cierre)
        cierre->sinTurno = CobradoSinTurno(periodo.inicio, periodo.fin);
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
void imprimirCierre(const QStringList& lineas, const std::optional<QDateTime>& reimpresion) {
    if (ImprimirDocumento(lineas, reimpresion)) {
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

// The period's exits now, up to the closing's print time and after it. A row without its print
// time (made by hand) counts every exit as its own.
QStringList cambiosDesde(const PeriodoInforme& periodo, const CierreCaja& cierre) {
    const QDateTime impreso = cierre.fechaImp.isValid() ? cierre.fechaImp : periodo.fin;
    AbrirConexion();
    const std::optional<CifrasVentas> hasta =
        LeerCifrasVentas(PeriodoHastaImpresion(periodo, impreso));
    const std::optional<CifrasVentas> despues =
        LeerCifrasVentas({std::max(periodo.inicio, impreso.addSecs(1)), periodo.fin});
    CerrarConexion();
    return CambiosDesdeCierre(cierre.cifras, hasta, despues);
}

void reimprimirCierre(const PeriodoInforme& periodo, const CierreCaja& cierre,
                      const QString& cajero, const QDateTime& ahora) {
    Registrar(kBoton + QStringLiteral("se prepara una Reimpresión"));
    const QStringList cambios = cambiosDesde(periodo, cierre);
    if (preguntarSiNo(PreguntaReimpresionCierre(periodo, cajero, cambios),
                      QStringLiteral("REIMPRIMIR CIERRE"), Icono::Informacion))
        imprimirCierre(LineasCierre(periodo, cierre, ahora, cambios), ahora);
}

bool cierreNuevo(const PeriodoInforme& periodo, const QString& cajero, const QDateTime& ahora) {
    if (!preguntarSiNo(PreguntaCierre(periodo, cajero, ahora), QStringLiteral("EFECTUAR CIERRE"),
                       Icono::Exclamacion))
        return true;
    const Cambio<CierreCaja> cierre = GrabarCierre(periodo, ahora, cajero);
    switch (cierre.resultado) {
    case Resultado::Hecho:
        Registrar(kBoton + QStringLiteral("se prepara una Impresión"));
        if (cierre.valor.ancla)
            Registrar(kBoton + LineaAncla(*cierre.valor.ancla));
        imprimirCierre(LineasCierre(periodo, cierre.valor, std::nullopt), std::nullopt);
        GuardarInformeDelCierre(periodo, ahora);
        return true;
    case Resultado::YaCerrado:
        // Another station closed the period while this one asked: its closing is the one.
        reimprimirCierre(periodo, cierre.valor, cajero, ahora);
        return true;
    default:
        Registrar(kBoton + QStringLiteral("Mensaje: No hay registros para realizar el cierre"));
        Informar(QStringLiteral("No hay registros para realizar el cierre"));
        return false;
    }
}

QString importe(int64_t valor) {
    return DatosParqueadero.SimboloMoneda +
           (valor == 0 ? QStringLiteral("0") : FormatoMiles(std::abs(valor)));
}

QString registros(int64_t n) {
    return QString::number(std::abs(n)) +
           (std::abs(n) == 1 ? QStringLiteral(" registro") : QStringLiteral(" registros"));
}

// "N registros más" or "menos", "$X más" or "menos"; nothing for what did not move.
QStringList diferencias(int64_t filas, int64_t cobrado) {
    const auto sentido = [](int64_t d) {
        return d > 0 ? QStringLiteral(" más") : QStringLiteral(" menos");
    };
    QStringList partes;
    if (filas != 0)
        partes << registros(filas) + sentido(filas);
    if (cobrado != 0)
        partes << importe(cobrado) + sentido(cobrado);
    return partes;
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

QString PreguntaCierre(const PeriodoInforme& periodo, const QString& cajero,
                       const QDateTime& ahora) {
    QStringList lineas{QStringLiteral("¿DESEA EFECTUAR EL CIERRE?"), QString(),
                       QStringLiteral("De: ") + MomentoEnPalabras(periodo.inicio),
                       QStringLiteral("A:   ") + MomentoEnPalabras(periodo.fin),
                       QStringLiteral("Cajero: ") + cajero};
    // A closing fixes its figures now: exits still to come in its period stay out of it.
    if (periodo.fin > ahora)
        lineas << QStringLiteral("El período termina después de ahora: las ventas posteriores "
                                 "no quedarán en este cierre.");
    return (lineas +
            QStringList{
                QString(),
                QStringLiteral(
                    "RECUERDE: Tenga muy en cuenta el uso de Fecha, Hora, Minuto y Segundo "
                    "que especifique"),
                QStringLiteral(
                    "(*) Si desea realizar un Cierre del Día Completo, especifique rango "
                    "horario desde 00:00:00 horas (12:00:00 a.m.) a 23:59:59 horas "
                    "(11:59:59 p.m.)"),
                QStringLiteral("(*) Si desea realizar Cierres de Turno, ejemplo:"),
                QStringLiteral("Si un turno es de 06:00:00 horas (6:00:00 a.m.) a 14:00:00 horas "
                               "(2:00:00 p.m.),"),
                QStringLiteral("especifique rango horario desde 06:00:00 horas (6:00:00 a.m.) a "
                               "13:59:59 horas (1:59:59 p.m.)"),
                QStringLiteral(
                    "para el siguiente turno especificaría de 14:00:00 horas (2:00:00 p.m.) "
                    "a 22:00:00 horas (10:00:00 p.m.)"),
                QString(),
                QStringLiteral(
                    "Si tiene un tercer turno, cambiaría 22:00:00 horas (10:00:00 p.m.) por "
                    "21:59:59 horas (9:59:59 p.m.) en el segundo turno,"),
                QStringLiteral(
                    "y el tercer turno iría desde 22:00:00 horas (10:00:00 p.m.) a 05:59:59 "
                    "horas (5:59:59 a.m.)"),
                QStringLiteral("El siguiente turno seguiría desde 06:00:00 horas (6:00:00 a.m.), "
                               "volviendo a iniciar el ciclo"),
                QString()})
        .join(kCrLf);
}

QString PreguntaReimpresionCierre(const PeriodoInforme& periodo, const QString& cajero,
                                  const QStringList& cambios) {
    QStringList lineas{QStringLiteral("¿Desea Reimprimir el cierre?"),
                       QString(),
                       QStringLiteral("De: ") + MomentoEnPalabras(periodo.inicio),
                       QStringLiteral("A:   ") + MomentoEnPalabras(periodo.fin),
                       QString(),
                       QStringLiteral("Cajero: ") + cajero};
    if (!cambios.isEmpty())
        lineas << QString() << cambios;
    return lineas.join(kCrLf);
}

PeriodoInforme PeriodoHastaImpresion(const PeriodoInforme& periodo, const QDateTime& impreso) {
    return {periodo.inicio, std::min(periodo.fin, impreso)};
}

QStringList CambiosDesdeCierre(const CifrasVentas& guardadas,
                               const std::optional<CifrasVentas>& hasta,
                               const std::optional<CifrasVentas>& despues) {
    QStringList lineas;
    if (despues)
        lineas << QStringLiteral("Ventas posteriores al cierre: ") +
                      registros(despues->totalRegistros) + QStringLiteral(", ") +
                      importe(despues->totalCobrado);
    const CifrasVentas ahora = hasta.value_or(CifrasVentas{});
    const QStringList partes = diferencias(ahora.totalRegistros - guardadas.totalRegistros,
                                           ahora.totalCobrado - guardadas.totalCobrado);
    if (!partes.isEmpty())
        lineas << QStringLiteral("Cambios posteriores en los registros del cierre: ") +
                      partes.join(QStringLiteral(", "));
    return lineas;
}

QStringList LineasCierre(const PeriodoInforme& periodo, const CierreCaja& cierre,
                         const std::optional<QDateTime>& reimpresion, const QStringList& cambios) {
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
    if (!cierre.sinTurno.vacia())
        lineas << kLineaVacia << LineaSinTurno(cierre.sinTurno);
    if (!cambios.isEmpty())
        lineas << kLineaVacia << cambios;
    if (!p.PieEfectuarCierre.isEmpty())
        lineas << p.PieEfectuarCierre;
    if (cierre.ancla)
        lineas << LineaAncla(*cierre.ancla);
    return lineas << kLineaVacia << kLineaVacia;
}

Cambio<CierreCaja> GrabarCierre(const PeriodoInforme& periodo, const QDateTime& momento,
                                const QString& cajero) {
    return EnTransaccion([&]() -> Cambio<CierreCaja> {
        // Checked again under the write lock: another station may have closed the period while
        // this one's attendant read the question.
        if (std::optional<CierreCaja> guardado = cierreDelPeriodo(periodo))
            return Rechazo(Resultado::YaCerrado, std::move(*guardado));
        // An exit timed after the closing was asked for is a sale after it, not in it.
        const std::optional<CifrasVentas> cifras =
            LeerCifrasVentas(PeriodoHastaImpresion(periodo, momento));
        if (!cifras)
            return Rechazo<CierreCaja>(Resultado::SinRegistros);
        CierreCaja cierre{0, momento, cajero, *cifras,
                          CobradoSinTurno(periodo.inicio, periodo.fin)};
        const QString insercion = insercionCierre(periodo, cierre);
        ExigirUnaFila(insercion);
        cierre.numero = Recordset::UltimoId();
        const QString numero = QString::number(cierre.numero);
        const QString numeracion = QStringLiteral("UPDATE Cierres SET NDocumento=") +
                                   Texto(numero) + QStringLiteral(" WHERE id_cierre=") + numero;
        ExigirUnaFila(numeracion);
        Cambio<CierreCaja> hecho = Auditado(QStringLiteral("Cierre de caja"),
                                            Hecho({insercion, numeracion}, std::move(cierre)));
        hecho.valor.ancla = AnclaActual();
        return hecho;
    });
}

bool EfectuarCierre(const PeriodoInforme& periodo, const QString& cajero) {
    const QDateTime ahora = Servicios().reloj->ahora();
    mostrarCierresRealizados(periodo);
    AbrirConexion();
    const std::optional<CierreCaja> cierre = cierreDelPeriodo(periodo);
    CerrarConexion();
    if (cierre) {
        reimprimirCierre(periodo, *cierre, cajero, ahora);
        return true;
    }
    return cierreNuevo(periodo, cajero, ahora);
}
