#include "movimientos/vehiculos.h"

#include "principal/conexion.h"
#include "principal/formatos.h"
#include "principal/recordset.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sql.h"
#include "principal/sucesos.h"

namespace {

const QString kCrlf = QStringLiteral("\r\n");

QString nombreCliente() {
    return QStringLiteral("CLIENTE: ") + DatosTicket.Nombre + QLatin1Char(' ') + DatosTicket.Ape1 +
           QLatin1Char(' ') + DatosTicket.Ape2;
}

QString fechaFinTexto() {
    return FechaLarga(DatosTicket.FechaFin).toUpper();
}

} // namespace

bool VerificarCupo(int16_t cupo) {
    AbrirConexion();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT COUNT(*) as OcupacionActual FROM entradas"));
    const int64_t ocupacion = rs.Fields(QStringLiteral("OcupacionActual")).aEntero();
    rs.Close();
    CerrarConexion();
    if (ocupacion < cupo)
        return false;
    return Servicios().dialogos->mensaje(
               QStringLiteral("Ha llegado al límite de cupo ¿Permitir ingreso del vehículo? "),
               QStringLiteral("Límite de Cupo Alcanzado"), Icono::Exclamacion,
               Boton::Si | Boton::No) == Boton::No;
}

bool VerificarPlacaDentro(const QString& placa) {
    AbrirConexion();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM entradas WHERE placa = ") + Texto(placa));
    const bool dentro = !rs.Eof();
    rs.Close();
    CerrarConexion();
    return dentro;
}

int64_t ContarPeriodosVigentes(const QString& placa, const QDate& hoy) {
    Recordset rs;
    rs.Open(
        QStringLiteral("SELECT COUNT(*) As VerificarPlaca FROM Clientes INNER JOIN FechaPago "
                       "ON Clientes.id_cliente = FechaPago.id_cliente WHERE Clientes.Placa = ") +
        Texto(placa) + QStringLiteral(" AND FechaFin >= ") + LiteralInicioDia(hoy));
    return rs.Fields(QStringLiteral("VerificarPlaca")).aEntero();
}

void LeerUltimoPeriodo(const QString& placa) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT TOP 1 * FROM Clientes INNER JOIN FechaPago ON "
                           "Clientes.id_cliente = FechaPago.id_cliente WHERE Clientes.Placa = ") +
            Texto(placa) + QStringLiteral(" ORDER BY FechaFin DESC"));
    if (rs.Eof())
        return;
    DatosTicket.IdCliente =
        static_cast<int32_t>(rs.Fields(QStringLiteral("Clientes.id_cliente")).aEntero());
    DatosTicket.Nombre = rs.Fields(QStringLiteral("Nombre")).aTexto();
    DatosTicket.Ape1 = rs.Fields(QStringLiteral("ape1")).aTexto();
    DatosTicket.Ape2 = rs.Fields(QStringLiteral("ape2")).aTexto();
    DatosTicket.FechaFin = rs.Fields(QStringLiteral("FechaFin")).aFecha().date();
    DatosTicket.CantidadTotal =
        static_cast<int32_t>(rs.Fields(QStringLiteral("CantidadTotal")).aEntero());
    DatosTicket.Pagado = rs.Fields(QStringLiteral("Pagado")).aBandera();
}

void ReiniciarDatosCliente() {
    DatosTicket.IdCliente = 0;
    DatosTicket.Nombre.clear();
    DatosTicket.Ape1.clear();
    DatosTicket.Ape2.clear();
    DatosTicket.Pagado = false;
}

std::optional<Alerta> AlertaCliente(Momento momento, int64_t dias) {
    if (DatosTicket.Nombre.isEmpty() || dias < 0 || dias > 3)
        return std::nullopt;
    const QString n = nombreCliente();
    const QString f = fechaFinTexto();
    const QString d = QString::number(dias);
    const bool entrada = momento == Momento::Entrada;
    if (DatosTicket.Pagado && dias > 0) {
        const QString cola =
            kCrlf + n + kCrlf + QStringLiteral("Puede ingresar hasta el día: ") + f;
        return Alerta{entrada
                          ? QStringLiteral("Botón Registrar Entrada: Alerta Cliente, le queda/n ") +
                                d + QStringLiteral(" día/s, desde Entradas/Salidas") + cola
                          : QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas - "
                                           "Mensaje: Le queda/n ") +
                                d + QStringLiteral(" día/s como Cliente") + cola,
                      QStringLiteral("Le queda/n ") + d + QStringLiteral(" día/s como Cliente") +
                          kCrlf + cola};
    }
    if (DatosTicket.Pagado) {
        const QString texto = QStringLiteral("Hoy es su último día permitido como Cliente");
        return Alerta{entrada ? QStringLiteral("Botón Registrar Entrada: Alerta Cliente, Hoy es su "
                                               "último día permitido, desde Entradas/Salidas") +
                                    kCrlf + n
                              : QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas - "
                                               "Mensaje: ") +
                                    texto + kCrlf + n,
                      texto + kCrlf + kCrlf + n};
    }
    if (dias > 0 && entrada) {
        const QString cola = kCrlf + n + kCrlf + QStringLiteral("Próxima Fecha Pago: ") + f;
        return Alerta{QStringLiteral("Botón Registrar Entrada: Alerta Cliente fecha de pago está "
                                     "próxima, falta/n ") +
                          d + QStringLiteral(" día/s, desde Entradas/Salidas") + cola,
                      QStringLiteral("Falta/n ") + d +
                          QStringLiteral(" día/s para la próxima fecha de pago") + kCrlf + cola};
    }
    if (dias > 0) {
        const QString texto =
            QStringLiteral("Queda/n ") + d + QStringLiteral(" día/s para realizar el pago");
        const QString cola =
            kCrlf + n + kCrlf + QStringLiteral("Debe realizar su pago antes del día: ") + f;
        return Alerta{QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas: ") + texto +
                          cola,
                      texto + kCrlf + cola};
    }
    const QString texto = QStringLiteral("Hoy vence la fecha de pago");
    return Alerta{entrada ? QStringLiteral("Botón Registrar Entrada: Alerta Cliente hoy vence la "
                                           "fecha de pago, desde Entradas/Salidas") +
                                kCrlf + n
                          : QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas: ") +
                                texto + kCrlf + n,
                  texto + kCrlf + kCrlf + n};
}

void AvisarCliente(Momento momento, const QDate& hoy) {
    const auto alerta = AlertaCliente(momento, hoy.daysTo(DatosTicket.FechaFin));
    if (!alerta)
        return;
    Registrar(alerta->suceso);
    Informar(alerta->mensaje);
}

QString ListaTarifasSalida() {
    AbrirConexion();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM Tarifas ORDER BY DescrTarifa ASC"));
    QString lista;
    for (; !rs.Eof(); rs.MoveNext()) {
        if (!rs.Fields(QStringLiteral("MostrarEnSalidas")).aBandera())
            continue;
        const int64_t tarifa = rs.Fields(QStringLiteral("Tarifa")).aEntero();
        lista += QStringLiteral("      ") + rs.Fields(QStringLiteral("id_tarifa")).aTexto() +
                 QStringLiteral(" <-----> ") + rs.Fields(QStringLiteral("DescrTarifa")).aTexto() +
                 QStringLiteral(" <-> ") + DatosParqueadero.SimboloMoneda +
                 (tarifa == 0 ? QStringLiteral("0") : FormatoMiles(tarifa)) + kCrlf;
    }
    rs.Close();
    CerrarConexion();
    return lista;
}

QString PreguntaSalidaPorTarifa(const ResumenCobro& r) {
    const QString moneda = DatosParqueadero.SimboloMoneda;
    QString pregunta = QStringLiteral("Entrada: ") + DatosTicket.FechaEntrada + kCrlf +
                       QStringLiteral("Salida: ") + DatosTicket.FechaSalida + kCrlf + kCrlf +
                       QStringLiteral("<------> TIEMPO TOTAL: ") + r.tiempoTexto +
                       QStringLiteral(" <------>") + kCrlf + kCrlf + QStringLiteral("Placa: ") +
                       DatosTicket.Placa + kCrlf + QStringLiteral("DescrTarifa: ") + r.descrTarifa +
                       QStringLiteral(" - Tarifa: ") + moneda + QString::number(r.tarifa) + kCrlf +
                       QStringLiteral("Valor a cobrar: ") + moneda +
                       QString::number(DatosTicket.Cobrado) + kCrlf +
                       QStringLiteral("¿Proceder con la salida?") + kCrlf + kCrlf;
    if (DatosParqueadero.ModificarValorSalida)
        pregunta +=
            QStringLiteral("*** Podrá modificar el Valor a Cobrar en la siguiente pantalla ***") +
            kCrlf + kCrlf;
    return pregunta;
}

QString SucesoConfirmacionSalida(const ResumenCobro& r) {
    const QString moneda = DatosParqueadero.SimboloMoneda;
    return QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas, Proceso Normal de Cobro "
                          "por Tarifa, confirmación de Salida; Entrada: ") +
           DatosTicket.FechaEntrada + QStringLiteral(" - Salida: ") + DatosTicket.FechaSalida +
           QStringLiteral("<------> TIEMPO TOTAL: ") + r.tiempoTexto +
           QStringLiteral(" <------>Placa: ") + DatosTicket.Placa +
           QStringLiteral(" - DescrTarifa: ") + r.descrTarifa + QStringLiteral(" - Tarifa: ") +
           moneda + QString::number(r.tarifa) + QStringLiteral(" - Valor a cobrar: ") + moneda +
           QString::number(DatosTicket.Cobrado);
}

QString NumeroDocumento(const QString& prefijo, int digitos, const QString& nroTicket) {
    const int ceros = qMax(0, digitos - static_cast<int>(nroTicket.size()));
    return prefijo + QString(ceros, QLatin1Char('0')) + nroTicket;
}

namespace {

int16_t siguienteConsecutivo(const QDate& dia) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT TOP 1 ConsecutivoDia FROM Salidas WHERE FechaSalida >= ") +
            LiteralInicioDia(dia) + QStringLiteral(" AND Fechasalida <= ") + LiteralFinDia(dia) +
            QStringLiteral(" ORDER BY ConsecutivoDia DESC"));
    return rs.Eof()
               ? 1
               : static_cast<int16_t>(rs.Fields(QStringLiteral("ConsecutivoDia")).aEntero() + 1);
}

QString insercion(const SalidaNueva& s, int16_t consecutivo) {
    const uint8_t iva = DatosParqueadero.IVA;
    QStringList valores{s.fechaEntrada,
                        s.fechaSalida,
                        s.placa,
                        s.descrVeh,
                        s.observaciones,
                        QString::number(s.idTarifa),
                        QString::number(s.tarifa),
                        QString::number(s.tiempo),
                        s.descrTarifa,
                        QString::number(s.cobrado),
                        QString::number(consecutivo)};
    if (iva != 0)
        valores << QString::number(iva);
    for (QString& v : valores)
        v = Texto(v);
    return QStringLiteral("INSERT INTO salidas (FechaEntrada,FechaSalida,Placa,DescrVeh,"
                          "Observaciones,id_tarifa,Tarifa,Tiempo,DescrTarifa,Cobrado,"
                          "ConsecutivoDia") +
           QLatin1String(iva != 0 ? ",IVA" : "") + QStringLiteral(") VALUES (") +
           valores.join(QLatin1Char(',')) + QLatin1Char(')');
}

} // namespace

std::optional<SalidaGrabada> GrabarSalida(const SalidaNueva& salida) {
    const auto momentoSalida = LeerFechaHoraTexto(salida.fechaSalida);
    if (!momentoSalida)
        throw ErrorBD(QStringLiteral("La fecha de salida no es válida"), salida.fechaSalida);
    Transaccion transaccion;
    Recordset rs;
    rs.Open(QStringLiteral("SELECT id_entrada FROM Entradas WHERE id_entrada = ") +
            QString::number(salida.idEntrada));
    if (rs.Eof())
        return std::nullopt;
    SalidaGrabada grabada;
    grabada.consecutivoDia = siguienteConsecutivo(momentoSalida->date());
    rs.Open(insercion(salida, grabada.consecutivoDia));
    grabada.idSalida = Recordset::UltimoId();
    const QString nroTicket = QString::number(grabada.idSalida);
    const QString donde = QStringLiteral(" WHERE Placa=") + Texto(salida.placa) +
                          QStringLiteral(" AND id_salida=") + nroTicket;
    rs.Open(QStringLiteral("UPDATE Salidas SET NroTicket=") + Texto(nroTicket) + donde);
    if (!DatosParqueadero.PrefijoFactura.isEmpty() || DatosParqueadero.DigitosFactura > 0) {
        grabada.nDocumento = NumeroDocumento(DatosParqueadero.PrefijoFactura,
                                             DatosParqueadero.DigitosFactura, nroTicket);
        rs.Open(QStringLiteral("UPDATE Salidas SET NDocumento=") + Texto(grabada.nDocumento) +
                donde);
    }
    // Only the entry this exit came from: a second entry of the same plate stays inside.
    rs.Open(QStringLiteral("DELETE FROM Entradas WHERE Placa = ") + Texto(salida.placaEnCaja) +
            QStringLiteral(" AND id_entrada = ") + QString::number(salida.idEntrada));
    transaccion.confirmar();
    return grabada;
}
