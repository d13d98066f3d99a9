#include "turnos/turnos.h"

#include "acceso/parqueadero.h"
#include "bd/recordset.h"
#include "bd/sql.h"
#include "principal/formatos.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "turnos/rastroauditoria.h"

#include <QLatin1Char>

namespace {

// Selects the shifts still open.
const QString kSoloAbiertos = QStringLiteral(" AND Cierre IS NULL");

QString texto(const Recordset& rs, const char* campo) {
    return rs.Fields(QLatin1String(campo)).aTexto();
}
int64_t entero(const Recordset& rs, const char* campo) {
    return rs.Fields(QLatin1String(campo)).aEntero();
}

Turno leerTurno(const Recordset& rs) {
    Turno t;
    t.id = entero(rs, "id_turno");
    t.estacion = texto(rs, "Estacion");
    t.numero = entero(rs, "Numero");
    t.idUsuario = entero(rs, "IdUsuario");
    t.usuario = texto(rs, "Usuario");
    t.cajero = texto(rs, "Cajero");
    t.apertura = rs.Fields(QStringLiteral("Apertura")).aFecha();
    const Valor& cierre = rs.Fields(QStringLiteral("Cierre"));
    if (!cierre.esNulo())
        t.cierre = cierre.aFecha();
    const Valor& contado = rs.Fields(QStringLiteral("Contado"));
    if (!contado.esNulo())
        t.contado = contado.aEntero();
    t.fondo = entero(rs, "Fondo");
    return t;
}

std::optional<Turno> primerTurno(const QString& donde) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM Turnos WHERE ") + donde);
    return rs.Eof() ? std::nullopt : std::optional<Turno>(leerTurno(rs));
}

QString delCajero(const QString& estacion, int64_t idUsuario) {
    return QStringLiteral("Estacion = ") + Texto(estacion) + QStringLiteral(" AND IdUsuario = ") +
           QString::number(idUsuario);
}

QDateTime ahora() {
    return Servicios().reloj->ahora();
}

// Amounts on the closing: zero shows as 0, and a shortage keeps its sign.
QString importe(int64_t valor) {
    const QString cifras = valor == 0 ? QStringLiteral("0") : FormatoMiles(qAbs(valor));
    return (valor < 0 ? QStringLiteral("-") : QString()) + DatosParqueadero.SimboloMoneda + cifras;
}

void insertarMovimiento(int64_t idTurno, const MovimientoTurno& m) {
    ExigirUnaFila(QStringLiteral("INSERT INTO MovimientosTurno (id_turno,Fecha,Tipo,Referencia,"
                                 "Documento,Placa,Monto,Antes,Despues,Usuario) VALUES (") +
                  QStringList{QString::number(idTurno), Texto(FechaHoraTexto(ahora())),
                              Texto(m.tipo), QString::number(m.referencia), Texto(m.documento),
                              Texto(m.placa), QString::number(m.monto), Texto(m.antes),
                              Texto(m.despues), Texto(SesionActual.Usuario)}
                      .join(QLatin1Char(',')) +
                  QLatin1Char(')'));
}

QString resumenMovimiento(const MovimientoTurno& m) {
    QString r = m.tipo;
    for (const QString& parte : {m.documento, m.placa})
        if (!parte.isEmpty())
            r += QLatin1Char(' ') + parte;
    r += QLatin1Char(' ') + QString::number(m.monto);
    if (!m.antes.isEmpty() || !m.despues.isEmpty())
        r += QLatin1Char(' ') + m.antes + QStringLiteral(" -> ") + m.despues;
    return r;
}

struct ClaseExcepcion {
    const QString& tipo;
    const char* titulo;
};

const ClaseExcepcion kExcepciones[] = {
    {tipo_turno::Correccion, "Correcciones"},
    {tipo_turno::Reimpresion, "Reimpresiones"},
    {tipo_turno::Exento, "Salidas de exentos"},
    {tipo_turno::Cliente, "Salidas de clientes"},
    {tipo_turno::Rebajado, "Valor rebajado en salida"},
    {tipo_turno::TarifaCambiada, "Tarifa cambiada en salida"},
    {tipo_turno::Perdido, "Tickets perdidos"},
    {tipo_turno::NoImpreso, "Tickets no impresos"},
};

QString lineaExcepcion(const Recordset& rs) {
    QString linea = HoraTexto(rs.Fields(QStringLiteral("Fecha")).aFecha().time());
    for (const char* campo : {"Documento", "Placa"})
        if (!texto(rs, campo).isEmpty())
            linea += QLatin1Char(' ') + texto(rs, campo);
    linea += QLatin1Char(' ') + importe(entero(rs, "Monto"));
    const QString antes = texto(rs, "Antes"), despues = texto(rs, "Despues");
    if (!antes.isEmpty())
        linea += QStringLiteral(": ") + antes + QStringLiteral(" -> ") + despues;
    else if (!despues.isEmpty())
        linea += QStringLiteral(": ") + despues;
    return linea;
}

} // namespace

std::optional<int64_t> CierreTurno::diferencia() const {
    if (!turno.contado)
        return std::nullopt;
    return *turno.contado - esperado();
}

std::optional<Turno> TurnoAbierto() {
    return primerTurno(delCajero(ConfigInicio.PuntoControl, SesionActual.IdUsuario) +
                       kSoloAbiertos);
}

std::optional<Turno> TurnoDeEstacion(const QString& estacion, int64_t numero) {
    return primerTurno(QStringLiteral("Estacion = ") + Texto(estacion) +
                       QStringLiteral(" AND Numero = ") + QString::number(numero));
}

Cambio<Turno> AbrirTurno(int64_t fondo) {
    return EnTransaccion([&] {
        if (TurnoAbierto())
            return Rechazo<Turno>(Resultado::TurnoYaAbierto);
        Turno t;
        t.estacion = ConfigInicio.PuntoControl;
        Recordset rs;
        rs.Open(QStringLiteral("SELECT TOP 1 Numero FROM Turnos WHERE Estacion = ") +
                Texto(t.estacion) + QStringLiteral(" ORDER BY Numero DESC"));
        t.numero = rs.Eof() ? 1 : entero(rs, "Numero") + 1;
        t.idUsuario = SesionActual.IdUsuario;
        t.usuario = SesionActual.Usuario;
        t.cajero = QStringList{SesionActual.Nombre, SesionActual.Ape1, SesionActual.Ape2}
                       .join(QLatin1Char(' '))
                       .simplified();
        t.apertura = ahora();
        t.fondo = fondo;
        const QString sql =
            QStringLiteral("INSERT INTO Turnos (Estacion,Numero,IdUsuario,Usuario,Cajero,"
                           "Apertura,Fondo) VALUES (") +
            QStringList{
                Texto(t.estacion),     QString::number(t.numero), QString::number(t.idUsuario),
                Texto(t.usuario),      Texto(t.cajero),           Texto(FechaHoraTexto(t.apertura)),
                QString::number(fondo)}
                .join(QLatin1Char(',')) +
            QLatin1Char(')');
        ExigirUnaFila(sql);
        t.id = Recordset::UltimoId();
        EscribirAuditoria(QStringLiteral("Apertura de turno"),
                          QStringLiteral("Turno %1, fondo %2").arg(t.numero).arg(fondo));
        return Hecho({sql}, t);
    });
}

void AnotarEnTurno(const QVector<MovimientoTurno>& movimientos, const QString& accion,
                   bool mueveDinero) {
    const auto turno = TurnoAbierto();
    // The window asked for the float first; a shift closed meanwhile still takes no cash.
    if (!turno && mueveDinero)
        throw ErrorBD::conExplicacion(kSinTurnoParaCobrar, accion, CausaBD::Otra,
                                      kSinTurnoParaCobrar);
    const int64_t idTurno = turno ? turno->id : 0;
    QStringList detalle{turno ? QStringLiteral("Turno %1").arg(turno->numero)
                              : QStringLiteral("Sin turno abierto")};
    for (const MovimientoTurno& m : movimientos) {
        insertarMovimiento(idTurno, m);
        detalle << resumenMovimiento(m);
    }
    EscribirAuditoria(accion, detalle.join(QStringLiteral("; ")));
}

void AnotarSalida(const SalidaTurno& s) {
    const MovimientoTurno salida{tipo_turno::Salida, s.idSalida, s.documento, s.placa, s.cobrado};
    QVector<MovimientoTurno> movimientos{salida};
    const auto excepcion = [&](const QString& tipo, int64_t monto, const QString& antes = {},
                               const QString& despues = {}) {
        MovimientoTurno m = salida;
        m.tipo = tipo;
        m.monto = monto;
        m.antes = antes;
        m.despues = despues;
        movimientos << m;
    };
    if (s.exenta)
        excepcion(tipo_turno::Exento, salida.monto);
    if (s.cliente)
        excepcion(tipo_turno::Cliente, salida.monto);
    if (s.calculado > salida.monto)
        excepcion(tipo_turno::Rebajado, s.calculado - salida.monto, importe(s.calculado),
                  importe(salida.monto));
    if (!s.tarifaAntes.isEmpty())
        excepcion(tipo_turno::TarifaCambiada, salida.monto, s.tarifaAntes, s.tarifaDespues);
    if (s.ticketPerdido)
        excepcion(tipo_turno::Perdido, salida.monto);
    AnotarEnTurno(movimientos, QStringLiteral("Salida"), true);
}

void AnotarPago(int64_t idPago, int64_t cantidad, int64_t idCliente, const QString& accion) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT Placa FROM Clientes WHERE id_cliente = ") +
            QString::number(idCliente));
    AnotarEnTurno({{tipo_turno::Pago, idPago, QString(), texto(rs, "Placa"), cantidad}}, accion,
                  true);
}

void AnotarCorreccion(int64_t idSalida, const QString& placa, const QString& antes,
                      const QString& despues, int64_t diferencia) {
    AnotarEnTurno(
        {{tipo_turno::Correccion, idSalida, QString(), placa, diferencia, antes, despues}},
        QStringLiteral("Corrección"), diferencia != 0);
}

namespace {

const QString kNoImpreso = QStringLiteral("Ticket no impreso");
const QString kNoLlego = QStringLiteral("no llegó a la impresora");

Cambio<> anotarSolo(const MovimientoTurno& m, const QString& accion) {
    return EnTransaccion([&] {
        AnotarEnTurno({m}, accion);
        return Hecho({});
    });
}

} // namespace

Cambio<> AnotarReimpresion(bool salida, const RegistroTicket& t) {
    const QString numero = QString::number(t.Numero);
    return anotarSolo({tipo_turno::Reimpresion, salida ? t.Numero : 0,
                       salida ? (t.NDocumento.isEmpty() ? numero : t.NDocumento)
                              : QStringLiteral("Entrada ") + numero,
                       t.Placa, salida ? t.Cobrado : 0},
                      QStringLiteral("Reimpresión"));
}

Cambio<> AnotarImpresionSalida(bool pedida, int64_t idSalida, const QString& documento,
                               const QString& placa, int64_t cobrado) {
    if (pedida && Servicios().impresora->ultimoEnPapel())
        return Hecho({});
    return anotarSolo({tipo_turno::NoImpreso, idSalida,
                       documento.isEmpty() ? QString::number(idSalida) : documento, placa, cobrado,
                       QString(), pedida ? kNoLlego : QStringLiteral("sin imprimir")},
                      kNoImpreso);
}

Cambio<> AnotarImpresionEntrada(int64_t idEntrada, const QString& placa) {
    if (Servicios().impresora->ultimoEnPapel())
        return Hecho({});
    return anotarSolo({tipo_turno::NoImpreso, 0,
                       QStringLiteral("Entrada ") + QString::number(idEntrada), placa, 0, QString(),
                       kNoLlego},
                      kNoImpreso);
}

CierreTurno CalcularCierre(const Turno& turno) {
    CierreTurno c;
    c.turno = turno;
    for (const ClaseExcepcion& clase : kExcepciones)
        c.excepciones.append({clase.tipo, QString::fromUtf8(clase.titulo)});
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM MovimientosTurno WHERE id_turno = ") +
            QString::number(turno.id) + QStringLiteral(" ORDER BY id_movimiento"));
    int64_t primera = 0, ultima = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString tipo = texto(rs, "Tipo");
        const int64_t monto = entero(rs, "Monto");
        if (tipo == tipo_turno::Salida) {
            ++c.salidas;
            c.efectivoSalidas += monto;
            const int64_t ref = entero(rs, "Referencia");
            if (primera == 0 || ref < primera) {
                primera = ref;
                c.documentoInicial = texto(rs, "Documento");
            }
            if (ref > ultima) {
                ultima = ref;
                c.documentoFinal = texto(rs, "Documento");
            }
        } else if (tipo == tipo_turno::Pago) {
            ++c.pagos;
            c.efectivoPagos += monto;
        } else if (tipo == tipo_turno::Reapertura) {
            c.reaperturas << FechaHoraTexto(rs.Fields(QStringLiteral("Fecha")).aFecha()) +
                                 QLatin1Char(' ') + texto(rs, "Usuario") + QStringLiteral(": ") +
                                 texto(rs, "Despues") + QStringLiteral(" (") + texto(rs, "Antes") +
                                 QLatin1Char(')');
        } else {
            for (ExcepcionesTurno& x : c.excepciones)
                if (x.tipo == tipo) {
                    ++x.cantidad;
                    x.monto += monto;
                    x.lineas << lineaExcepcion(rs);
                }
        }
    }
    return c;
}

Cambio<CierreTurno> CerrarTurno(int64_t contado) {
    return EnTransaccion([&] {
        auto turno = TurnoAbierto();
        if (!turno)
            return Rechazo<CierreTurno>(Resultado::SinTurno);
        turno->cierre = ahora();
        turno->contado = contado;
        CierreTurno c = CalcularCierre(*turno);
        const int64_t diferencia = *c.diferencia();
        const QString sql = QStringLiteral("UPDATE Turnos SET Cierre=%1, Contado=%2, Esperado=%3, "
                                           "Diferencia=%4 WHERE id_turno=%5")
                                .arg(Texto(FechaHoraTexto(turno->cierre)))
                                .arg(contado)
                                .arg(c.esperado())
                                .arg(diferencia)
                                .arg(turno->id) +
                            kSoloAbiertos;
        ExigirUnaFila(sql);
        c.ancla =
            EscribirAuditoria(QStringLiteral("Cierre de turno"),
                              QStringLiteral("Turno %1, esperado %2, contado %3, diferencia %4")
                                  .arg(turno->numero)
                                  .arg(c.esperado())
                                  .arg(contado)
                                  .arg(diferencia));
        return Hecho({sql}, c);
    });
}

Cambio<> ReabrirTurno(const QString& estacion, int64_t numero, const QString& motivo) {
    return EnTransaccion([&] {
        const auto turno = TurnoDeEstacion(estacion, numero);
        if (!turno)
            return Rechazo(Resultado::NoEncontrado);
        if (turno->abierto())
            return Rechazo(Resultado::SinTurno);
        if (primerTurno(delCajero(estacion, turno->idUsuario) + kSoloAbiertos))
            return Rechazo(Resultado::TurnoYaAbierto);
        const CierreTurno previo = CalcularCierre(*turno);
        const QString cierreDeshecho =
            QStringLiteral("cierre del %1, contado %2, diferencia %3")
                .arg(FechaHoraTexto(turno->cierre), importe(*turno->contado),
                     importe(*previo.diferencia()));
        insertarMovimiento(turno->id, {tipo_turno::Reapertura, 0, QString(), QString(), 0,
                                       cierreDeshecho, motivo});
        const QString sql = QStringLiteral("UPDATE Turnos SET Cierre=Null, Contado=Null, "
                                           "Esperado=Null, Diferencia=Null WHERE id_turno=") +
                            QString::number(turno->id);
        ExigirUnaFila(sql);
        EscribirAuditoria(QStringLiteral("Reapertura de turno"),
                          QStringLiteral("Turno %1 de %2: %3; motivo: %4")
                              .arg(numero)
                              .arg(estacion, cierreDeshecho, motivo));
        return Hecho({sql});
    });
}

QString TextoDiferencia(int64_t diferencia) {
    if (diferencia == 0)
        return QStringLiteral("Sin diferencia");
    return (diferencia < 0 ? QStringLiteral("Faltante ") : QStringLiteral("Sobrante ")) +
           importe(qAbs(diferencia));
}

QStringList LineasCierre(const CierreTurno& c) {
    const Turno& t = c.turno;
    QStringList l{
        QStringLiteral("CIERRE DE TURNO"),
        QStringLiteral("Estación: ") + t.estacion,
        QStringLiteral("Cajero: ") + t.cajero + QStringLiteral(" (") + t.usuario + QLatin1Char(')'),
        QStringLiteral("Turno Nº: %1").arg(t.numero),
        QStringLiteral("Apertura: ") + FechaHoraTexto(t.apertura),
        QStringLiteral("Cierre: ") +
            (t.abierto() ? QStringLiteral("abierto") : FechaHoraTexto(t.cierre)),
        QStringLiteral("Fondo inicial: ") + importe(t.fondo),
        QStringLiteral("Salidas cobradas (%1): ").arg(c.salidas) + importe(c.efectivoSalidas),
        QStringLiteral("Pagos de clientes (%1): ").arg(c.pagos) + importe(c.efectivoPagos),
        QStringLiteral("Efectivo esperado: ") + importe(c.esperado())};
    if (t.contado)
        l << QStringLiteral("Efectivo contado: ") + importe(*t.contado)
          << QStringLiteral("Diferencia: ") + importe(*c.diferencia()) + QStringLiteral(" (") +
                 TextoDiferencia(*c.diferencia()) + QLatin1Char(')');
    l << QStringLiteral("Documentos: ") +
             (c.salidas ? c.documentoInicial + QStringLiteral(" a ") + c.documentoFinal
                        : QStringLiteral("ninguno"));
    l << QStringLiteral("EXCEPCIONES");
    for (const ExcepcionesTurno& x : c.excepciones) {
        l << x.titulo + QStringLiteral(" (%1): ").arg(x.cantidad) + importe(x.monto);
        for (const QString& linea : x.lineas)
            l << QStringLiteral("  ") + linea;
    }
    if (!c.reaperturas.isEmpty()) {
        l << QStringLiteral("REAPERTURAS");
        for (const QString& linea : c.reaperturas)
            l << QStringLiteral("  ") + linea;
    }
    if (c.ancla)
        l << LineaAncla(*c.ancla);
    return l;
}

TrabajoImpresion TrabajoCierreTurno(const QStringList& lineas) {
    TrabajoImpresion trabajo;
    for (const QString& linea : lineas)
        trabajo.lineas.append({linea, QStringLiteral("Times New Roman"), 9,
                               linea == lineas.first() || linea == QLatin1String("EXCEPCIONES")});
    return trabajo;
}

QVector<CierreTurno> TurnosDelDia(const QDate& dia) {
    QVector<Turno> turnos;
    {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM Turnos WHERE Apertura >= ") + LiteralInicioDia(dia) +
                QStringLiteral(" AND Apertura <= ") + LiteralFinDia(dia) +
                QStringLiteral(" ORDER BY Estacion, Numero"));
        for (; !rs.Eof(); rs.MoveNext())
            turnos << leerTurno(rs);
    }
    QVector<CierreTurno> cierres;
    for (const Turno& t : turnos)
        cierres << CalcularCierre(t);
    return cierres;
}

CajaSinTurno CobradoSinTurno(const QDateTime& desde, const QDateTime& hasta) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT Tipo, COUNT(*) AS n, SUM(Monto) AS monto FROM MovimientosTurno "
                           "WHERE id_turno = 0 AND Fecha >= ") +
            LiteralFechaHora(desde) + QStringLiteral(" AND Fecha <= ") + LiteralFechaHora(hasta) +
            QStringLiteral(" GROUP BY Tipo"));
    CajaSinTurno c;
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString tipo = texto(rs, "Tipo");
        if (tipo == tipo_turno::Salida)
            c.salidas = {entero(rs, "n"), entero(rs, "monto")};
        else if (tipo == tipo_turno::Pago)
            c.pagos = {entero(rs, "n"), entero(rs, "monto")};
    }
    return c;
}

QString LineaSinTurno(const CajaSinTurno& c) {
    return QStringLiteral("Sin turno: salidas (%1) %2, pagos (%3) %4")
        .arg(c.salidas.cantidad)
        .arg(importe(c.salidas.monto))
        .arg(c.pagos.cantidad)
        .arg(importe(c.pagos.monto));
}

QStringList LineasTurnosDelDia(const QDate& dia, bool verEsperadoAbiertos) {
    QStringList l{QStringLiteral("TURNOS DEL DÍA ") + FechaCorta(dia)};
    for (const CierreTurno& c : TurnosDelDia(dia)) {
        const Turno& t = c.turno;
        int64_t excepciones = 0;
        for (const ExcepcionesTurno& x : c.excepciones)
            excepciones += x.cantidad;
        l << QString()
          << t.estacion + QStringLiteral(" - Turno %1 - ").arg(t.numero) + t.cajero +
                 QStringLiteral(" (") + t.usuario + QLatin1Char(')')
          << QStringLiteral("  ") + HoraTexto(t.apertura.time()) + QStringLiteral(" a ") +
                 (t.abierto() ? QStringLiteral("abierto") : HoraTexto(t.cierre.time()));
        // The count stays blind: what an open drawer should hold is only the owner's to read.
        if (t.abierto() && !verEsperadoAbiertos)
            l << QStringLiteral("  Fondo %1, salidas (%2), pagos (%3)")
                     .arg(importe(t.fondo))
                     .arg(c.salidas)
                     .arg(c.pagos)
              << QStringLiteral("  Efectivo: se muestra al cerrar el turno");
        else
            l << QStringLiteral("  Fondo %1, salidas (%2) %3, pagos (%4) %5")
                     .arg(importe(t.fondo))
                     .arg(c.salidas)
                     .arg(importe(c.efectivoSalidas))
                     .arg(c.pagos)
                     .arg(importe(c.efectivoPagos))
              << QStringLiteral("  Esperado %1, contado %2, %3")
                     .arg(importe(c.esperado()),
                          t.contado ? importe(*t.contado) : QStringLiteral("sin contar"),
                          c.diferencia() ? TextoDiferencia(*c.diferencia()) : QStringLiteral("-"));
        l << QStringLiteral("  Excepciones: %1").arg(excepciones);
    }
    const CajaSinTurno sinTurno =
        CobradoSinTurno(QDateTime(dia, QTime(0, 0)), QDateTime(dia, QTime(23, 59, 59)));
    if (!sinTurno.vacia())
        l << QString() << LineaSinTurno(sinTurno);
    if (l.size() == 1)
        l << QString() << QStringLiteral("No hay turnos abiertos ese día");
    return l;
}
