#include "movimientos/vehiculos.h"

#include "bd/conexion.h"
#include "bd/recordset.h"
#include "bd/sql.h"
#include "movimientos/tarifas.h"
#include "movimientos/tickets.h"
#include "principal/formatos.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"
#include "turnos/turnos.h"

#include <utility>

namespace {

const QString kProceder = QStringLiteral("¿Proceder con la salida?");

QString fechaFinTexto() {
    return FechaLarga(DatosTicket.FechaFin).toUpper();
}

} // namespace

QString NormalizarPlaca(const QString& texto) {
    return SinControles(texto).trimmed().toUpper();
}

int ContarCaracteres(const QString& texto) {
    return static_cast<int>(texto.toUcs4().size());
}

QString NombreCliente() {
    return QStringLiteral("CLIENTE: ") + DatosTicket.Nombre + QLatin1Char(' ') + DatosTicket.Ape1 +
           QLatin1Char(' ') + DatosTicket.Ape2;
}

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
    // A paid period is a client's mark enough; an unpaid one counts only with a name.
    if ((!DatosTicket.Pagado && DatosTicket.Nombre.isEmpty()) || dias < 0 || dias > 3)
        return std::nullopt;
    const QString n = NombreCliente();
    const QString f = fechaFinTexto();
    const QString d = QString::number(dias);
    const bool entrada = momento == Momento::Entrada;
    if (DatosTicket.Pagado && dias > 0) {
        const QString cola =
            kCrLf + n + kCrLf + QStringLiteral("Puede ingresar hasta el día: ") + f;
        return Alerta{entrada
                          ? QStringLiteral("Botón Registrar Entrada: Alerta Cliente, le queda/n ") +
                                d + QStringLiteral(" día/s, desde Entradas/Salidas") + cola
                          : QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas - "
                                           "Mensaje: Le queda/n ") +
                                d + QStringLiteral(" día/s como Cliente") + cola,
                      QStringLiteral("Le queda/n ") + d + QStringLiteral(" día/s como Cliente") +
                          kCrLf + cola};
    }
    if (DatosTicket.Pagado) {
        const QString texto = QStringLiteral("Hoy es su último día permitido como Cliente");
        return Alerta{entrada ? QStringLiteral("Botón Registrar Entrada: Alerta Cliente, Hoy es su "
                                               "último día permitido, desde Entradas/Salidas") +
                                    kCrLf + n
                              : QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas - "
                                               "Mensaje: ") +
                                    texto + kCrLf + n,
                      texto + kCrLf + kCrLf + n};
    }
    if (dias > 0 && entrada) {
        const QString cola = kCrLf + n + kCrLf + QStringLiteral("Próxima Fecha Pago: ") + f;
        return Alerta{QStringLiteral("Botón Registrar Entrada: Alerta Cliente fecha de pago está "
                                     "próxima, falta/n ") +
                          d + QStringLiteral(" día/s, desde Entradas/Salidas") + cola,
                      QStringLiteral("Falta/n ") + d +
                          QStringLiteral(" día/s para la próxima fecha de pago") + kCrLf + cola};
    }
    if (dias > 0) {
        const QString texto =
            QStringLiteral("Queda/n ") + d + QStringLiteral(" día/s para realizar el pago");
        const QString cola =
            kCrLf + n + kCrLf + QStringLiteral("Debe realizar su pago antes del día: ") + f;
        return Alerta{QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas: ") + texto +
                          cola,
                      texto + kCrLf + cola};
    }
    const QString texto = QStringLiteral("Hoy vence la fecha de pago");
    return Alerta{entrada ? QStringLiteral("Botón Registrar Entrada: Alerta Cliente hoy vence la "
                                           "fecha de pago, desde Entradas/Salidas") +
                                kCrLf + n
                          : QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas: ") +
                                texto + kCrLf + n,
                  texto + kCrLf + kCrLf + n};
}

void AvisarCliente(Momento momento, const QDate& hoy) {
    const auto alerta = AlertaCliente(momento, hoy.daysTo(DatosTicket.FechaFin));
    if (!alerta)
        return;
    Registrar(alerta->suceso);
    Informar(alerta->mensaje);
}

namespace {

const QString kCliente = QStringLiteral("CLIENTE");
const QString kExento = QStringLiteral("EXENTO");

TarifaVehiculo leerTarifaVehiculo(const Recordset& rs, int64_t idTarifa) {
    return {idTarifa, rs.Fields(QStringLiteral("Tarifa")).aEntero(),
            rs.Fields(QStringLiteral("Tiempo")).aEntero(),
            rs.Fields(QStringLiteral("DescrTarifa")).aTexto()};
}

} // namespace

bool TarifaVehiculo::ordinaria() const {
    return idTarifa != 0 && descrTarifa != kCliente && descrTarifa != kExento;
}

bool TarifaVehiculo::porTarifa() const {
    return idTarifa != 0 && descrTarifa != kExento;
}

bool TarifaVehiculo::cliente() const {
    return idTarifa == 0 && descrTarifa == kCliente;
}

bool TarifaVehiculo::exenta() const {
    return idTarifa == 0 && descrTarifa == kExento;
}

std::optional<EntradaDentro> BuscarEntrada(const QString& placa, std::optional<int64_t> idEntrada) {
    AbrirConexion();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM entradas WHERE placa = ") + Texto(placa) +
            (idEntrada ? QStringLiteral(" AND id_entrada = ") + QString::number(*idEntrada)
                       : QString()));
    std::optional<EntradaDentro> entrada;
    if (!rs.Eof())
        entrada =
            EntradaDentro{rs.Fields(QStringLiteral("id_entrada")).aEntero(),
                          rs.Fields(QStringLiteral("FechaEntrada")).aFecha(),
                          leerTarifaVehiculo(rs, rs.Fields(QStringLiteral("id_tarifa")).aEntero())};
    CerrarConexion();
    return entrada;
}

std::optional<TarifaVehiculo> TarifaDeSalida(int64_t idTarifa, Ofrecidas cuales) {
    AbrirConexion();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM Tarifas WHERE id_tarifa = ") + QString::number(idTarifa) +
            (cuales == Ofrecidas::EnSalidas ? QStringLiteral(" AND MostrarEnSalidas = True")
                                            : QString()));
    std::optional<TarifaVehiculo> tarifa;
    if (!rs.Eof())
        tarifa = leerTarifaVehiculo(rs, idTarifa);
    CerrarConexion();
    return tarifa;
}

QString ListaTarifasSalida(Ofrecidas cuales) {
    AbrirConexion();
    QString lista;
    for (const TarifaListada& t : TarifasPorDescripcion()) {
        if (cuales == Ofrecidas::EnSalidas && !t.enSalidas)
            continue;
        lista += QStringLiteral("      ") + QString::number(t.id) + QStringLiteral(" <-----> ") +
                 t.descripcion + QStringLiteral(" <-> ") + DatosParqueadero.SimboloMoneda +
                 (t.tarifa == 0 ? QStringLiteral("0") : FormatoMiles(t.tarifa)) + kCrLf;
    }
    CerrarConexion();
    return lista;
}

QString PreguntaEntrada(const QString& placa, const QString& tarifa) {
    return QStringLiteral("¿Desea realizar la Entrada?") + kCrLf + kCrLf +
           QStringLiteral("PLACA: ") + placa + kCrLf + QStringLiteral("TARIFA: ") +
           tarifa.toUpper() + kCrLf + kCrLf +
           QStringLiteral(
               "(*) Si se trata de un Cliente o Exento de Cobro, no se aplicará Tarifa") +
           kCrLf + kCrLf;
}

QString MensajeIngresoCliente() {
    return NombreCliente() + kCrLf + QStringLiteral("Puede ingresar hasta el día: ") +
           fechaFinTexto() + kCrLf + kCrLf;
}

QString PreguntaSalidaCliente() {
    return NombreCliente() + kCrLf +
           (DatosTicket.Pagado ? QStringLiteral("Puede ingresar hasta el día: ")
                               : QStringLiteral("Debe realizar su pago antes del día: ")) +
           fechaFinTexto() + kCrLf + kCrLf + kProceder + kCrLf + kCrLf;
}

QString PreguntaUltimaSalidaCliente() {
    return QStringLiteral("Es su última Salida como Cliente. En adelante, se le cobrará por "
                          "tarificación.") +
           kCrLf + kCrLf + kProceder + kCrLf + kCrLf;
}

QString PreguntaSalidaExento() {
    return QStringLiteral("EXENTO DE COBRO") + kCrLf + kCrLf + kProceder + kCrLf + kCrLf;
}

QString PreguntaSalidaPorTarifa(const ResumenCobro& r) {
    const QString moneda = DatosParqueadero.SimboloMoneda;
    QString pregunta =
        QStringLiteral("Entrada: ") + FechaHoraTexto(DatosTicket.FechaEntrada) + kCrLf +
        QStringLiteral("Salida: ") + FechaHoraTexto(DatosTicket.FechaSalida) + kCrLf + kCrLf +
        QStringLiteral("<------> TIEMPO TOTAL: ") + r.tiempoTexto + QStringLiteral(" <------>") +
        kCrLf + kCrLf + QStringLiteral("Placa: ") + DatosTicket.Placa + kCrLf +
        QStringLiteral("DescrTarifa: ") + r.descrTarifa + QStringLiteral(" - Tarifa: ") + moneda +
        QString::number(r.tarifa) + kCrLf +
        (r.items.isEmpty() ? QString() : LineasItems(r.items, moneda).join(kCrLf) + kCrLf) +
        QStringLiteral("Valor a cobrar: ") + moneda + QString::number(DatosTicket.Cobrado) + kCrLf +
        kProceder + kCrLf + kCrLf;
    if (DatosParqueadero.ModificarValorSalida)
        pregunta +=
            QStringLiteral("*** Podrá modificar el Valor a Cobrar en la siguiente pantalla ***") +
            kCrLf + kCrLf;
    return pregunta;
}

QString SucesoConfirmacionSalida(const ResumenCobro& r) {
    const QString moneda = DatosParqueadero.SimboloMoneda;
    return QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas, Proceso Normal de Cobro "
                          "por Tarifa, confirmación de Salida; Entrada: ") +
           FechaHoraTexto(DatosTicket.FechaEntrada) + QStringLiteral(" - Salida: ") +
           FechaHoraTexto(DatosTicket.FechaSalida) + QStringLiteral("<------> TIEMPO TOTAL: ") +
           r.tiempoTexto + QStringLiteral(" <------>Placa: ") + DatosTicket.Placa +
           QStringLiteral(" - DescrTarifa: ") + r.descrTarifa + QStringLiteral(" - Tarifa: ") +
           moneda + QString::number(r.tarifa) + QStringLiteral(" - Valor a cobrar: ") + moneda +
           QString::number(DatosTicket.Cobrado);
}

QString NumeroDocumento(const QString& prefijo, int digitos, const QString& nroTicket) {
    const int ceros = qMax(0, digitos - static_cast<int>(nroTicket.size()));
    return prefijo + QString(ceros, QLatin1Char('0')) + nroTicket;
}

namespace {

// Runs `escribir` in one transaction; when it fails, the log says the movement did not happen.
std::optional<TarifaVehiculo> leerTarifa(int64_t idTarifa) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM Tarifas WHERE id_tarifa = ") + QString::number(idTarifa));
    if (rs.Eof())
        return std::nullopt;
    return leerTarifaVehiculo(rs, idTarifa);
}

bool exentoActivo(const QString& placa) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT TOP 1 * FROM Exentos WHERE PlacaExento = ") + Texto(placa) +
            QStringLiteral(" AND ActivoExento=True"));
    return !rs.Eof();
}

Cambio<EntradaGrabada> insertarEntrada(const EntradaNueva& e, TipoEntrada tipo, TarifaVehiculo v) {
    QString tabla = QStringLiteral("entradas");
    if (tipo != TipoEntrada::Tarifa) {
        const bool cliente = tipo == TipoEntrada::Cliente;
        v = {0, 0, 0, cliente ? kCliente : kExento};
        tabla = cliente ? tabla : QStringLiteral("Entradas");
    }
    const QString sentencia =
        QStringLiteral("INSERT INTO ") + tabla +
        QStringLiteral(" (FechaEntrada,Placa,DescrVeh,Observaciones,id_tarifa,Tarifa,Tiempo,"
                       "DescrTarifa) VALUES (") +
        QStringList{Texto(FechaHoraTexto(e.fechaEntrada)),
                    Texto(e.placa),
                    Texto(e.descrVeh),
                    Texto(e.observaciones),
                    Texto(QString::number(v.idTarifa)),
                    Texto(QString::number(v.tarifa)),
                    Texto(QString::number(v.tiempo)),
                    Texto(v.descrTarifa)}
            .join(QLatin1Char(',')) +
        QLatin1Char(')');
    ExigirUnaFila(sentencia);
    return Hecho({sentencia}, EntradaGrabada{Recordset::UltimoId(), tipo});
}

int16_t siguienteConsecutivo(const QDate& dia) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT TOP 1 ConsecutivoDia FROM Salidas WHERE FechaSalida >= ") +
            LiteralInicioDia(dia) + QStringLiteral(" AND Fechasalida <= ") + LiteralFinDia(dia) +
            QStringLiteral(" ORDER BY ConsecutivoDia DESC"));
    return rs.Eof()
               ? 1
               : static_cast<int16_t>(rs.Fields(QStringLiteral("ConsecutivoDia")).aEntero() + 1);
}

// Every item of an exit in one statement: a long stay under a rich rate itemises many lines.
QString insercionItems(const QString& idSalida, const QVector<ItemCobro>& items) {
    QStringList filas;
    for (int i = 0; i < items.size(); ++i)
        filas << QStringLiteral("(%1,%2,%3,%4)")
                     .arg(idSalida, QString::number(i + 1), Texto(items[i].concepto),
                          QString::number(items[i].valor));
    return QStringLiteral("INSERT INTO ItemsSalidas (id_salida,Orden,Concepto,Valor) VALUES ") +
           filas.join(QLatin1Char(','));
}

QString insercionSalida(const SalidaNueva& s, int16_t consecutivo) {
    const uint8_t iva = DatosParqueadero.IVA;
    QStringList valores{FechaHoraTexto(s.fechaEntrada),
                        FechaHoraTexto(s.fechaSalida),
                        s.placa,
                        s.descrVeh,
                        s.observaciones,
                        QString::number(s.tarifa.idTarifa),
                        QString::number(s.tarifa.tarifa),
                        QString::number(s.tarifa.tiempo),
                        s.tarifa.descrTarifa,
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

// A box left empty at the exit (a plate typed, not picked from the list) keeps the entry's text.
void completarTextos(SalidaNueva& salida, const Recordset& entrada) {
    const std::pair<QString*, const char*> textos[] = {{&salida.descrVeh, "DescrVeh"},
                                                       {&salida.observaciones, "Observaciones"}};
    for (const auto& [texto, columna] : textos)
        if (texto->trimmed().isEmpty())
            *texto = entrada.Fields(QLatin1String(columna)).aTexto();
}

Cambio<SalidaGrabada> insertarSalida(SalidaNueva salida) {
    const QString idEntrada = QString::number(salida.idEntrada);
    Recordset rs;
    rs.Open(QStringLiteral("SELECT id_tarifa, DescrTarifa, DescrVeh, Observaciones FROM Entradas "
                           "WHERE id_entrada = ") +
            idEntrada);
    if (rs.Eof())
        return Rechazo<SalidaGrabada>(Resultado::NoEncontrado);
    completarTextos(salida, rs);
    const TarifaVehiculo& t = salida.tarifa;
    const int64_t tarifaEntrada = rs.Fields(QStringLiteral("id_tarifa")).aEntero();
    const bool tarifaCambiada =
        tarifaEntrada != 0 && t.idTarifa != 0 && tarifaEntrada != t.idTarifa;
    const auto tarifaTexto = [](int64_t id, const QString& descr) {
        return QString::number(id) + QStringLiteral(" - ") + descr;
    };
    QStringList sentencias;
    const auto ejecutar = [&sentencias](const QString& sql, int64_t filas = 1) {
        ExigirFilas(sql, filas);
        sentencias << sql;
    };
    SalidaGrabada grabada;
    grabada.consecutivoDia = siguienteConsecutivo(salida.fechaSalida.date());
    ejecutar(insercionSalida(salida, grabada.consecutivoDia));
    grabada.idSalida = Recordset::UltimoId();
    const QString nroTicket = QString::number(grabada.idSalida);
    const QString donde = QStringLiteral(" WHERE id_salida=") + nroTicket;
    ejecutar(QStringLiteral("UPDATE Salidas SET NroTicket=") + Texto(nroTicket) + donde);
    if (!DatosParqueadero.PrefijoFactura.isEmpty() || DatosParqueadero.DigitosFactura > 0) {
        grabada.nDocumento = NumeroDocumento(DatosParqueadero.PrefijoFactura,
                                             DatosParqueadero.DigitosFactura, nroTicket);
        ejecutar(QStringLiteral("UPDATE Salidas SET NDocumento=") + Texto(grabada.nDocumento) +
                 donde);
    }
    if (salida.ticketPerdido)
        ejecutar(QStringLiteral("UPDATE Salidas SET TicketPerdido=True") + donde);
    if (!salida.items.isEmpty())
        ejecutar(insercionItems(nroTicket, salida.items), salida.items.size());
    AnotarSalida({grabada.idSalida, grabada.nDocumento.isEmpty() ? nroTicket : grabada.nDocumento,
                  salida.placa, salida.cobrado, salida.calculado, t.exenta(), t.cliente(),
                  salida.ticketPerdido,
                  tarifaCambiada ? tarifaTexto(tarifaEntrada,
                                               rs.Fields(QStringLiteral("DescrTarifa")).aTexto())
                                 : QString(),
                  tarifaCambiada ? tarifaTexto(t.idTarifa, t.descrTarifa) : QString()});
    // Which entry left, so its ticket read later says so.
    ejecutar(QStringLiteral("INSERT INTO SalidasEntrada (id_salida,id_entrada) VALUES (") +
             nroTicket + QLatin1Char(',') + idEntrada + QLatin1Char(')'));
    // By its key alone: a second entry of the same plate stays inside.
    ejecutar(QStringLiteral("DELETE FROM Entradas WHERE id_entrada = ") + idEntrada);
    return Hecho(sentencias, grabada);
}

// A client with a period ending today or later comes first, then an active exempt vehicle.
Cambio<EntradaGrabada> escribirEntrada(const EntradaNueva& entrada) {
    const auto tarifa = leerTarifa(entrada.idTarifa);
    if (!tarifa)
        return Rechazo<EntradaGrabada>(Resultado::NoEncontrado);
    TipoEntrada tipo = TipoEntrada::Tarifa;
    if (ContarPeriodosVigentes(entrada.placa, Servicios().reloj->ahora().date()) > 0) {
        tipo = TipoEntrada::Cliente;
    } else if (exentoActivo(entrada.placa)) {
        tipo = TipoEntrada::Exento;
    }
    return insertarEntrada(entrada, tipo, *tarifa);
}

} // namespace

Cambio<EntradaGrabada> GrabarEntrada(const EntradaNueva& entrada) {
    return EnTransaccion([&] { return escribirEntrada(entrada); });
}

Cambio<SalidaGrabada> GrabarSalida(const SalidaNueva& salida) {
    return EnTransaccion([&] { return insertarSalida(salida); });
}

QVector<ItemCobro> LeerItemsSalida(int64_t idSalida) {
    QVector<ItemCobro> items;
    Recordset rs;
    rs.Open(QStringLiteral("SELECT Concepto, Valor FROM ItemsSalidas WHERE id_salida = ") +
            QString::number(idSalida) + QStringLiteral(" ORDER BY Orden"));
    for (; !rs.Eof(); rs.MoveNext())
        items << ItemCobro{rs.Fields(QStringLiteral("Concepto")).aTexto(),
                           rs.Fields(QStringLiteral("Valor")).aEntero()};
    return items;
}
