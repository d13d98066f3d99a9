#include "movimientos/pasossalida.h"

#include "bd/conexion.h"
#include "movimientos/tarifas.h"
#include "movimientos/tickets.h"
#include "principal/formatos.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"

const QString kBotonSalida = QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas");

namespace {

Paso rechazarValor(const QString& suceso, const QString& aviso) {
    CerrarConexion();
    Registrar(kBotonSalida + QStringLiteral(": Mensaje: ") + suceso);
    Informar(aviso);
    return Paso::Aborta;
}

Paso elegirOtraTarifa(TarifaVehiculo& actual) {
    const QString respuesta = Servicios().dialogos->entrada(
        QStringLiteral("Verifique/Modifique la Tarifa indicando el Código Numérico de Tarifa de su "
                       "elección\r\n\r\n") +
            ListaTarifasSalida(),
        QStringLiteral("VERIFICAR/MODIFICAR TARIFA"), QString::number(actual.idTarifa));
    if (respuesta.isEmpty())
        return Paso::Termina;
    const auto id = EnteroEstricto(respuesta);
    const auto tarifa = id ? TarifaDeSalida(*id) : std::nullopt;
    if (tarifa) {
        actual = *tarifa;
        return Paso::Sigue;
    }
    const QString noExiste = id ? QStringLiteral(", no existe el código de la tarifa") : QString();
    Registrar(QStringLiteral("Mensaje: Valor incorrecto en modificación de Tarifa") +
              (id ? noExiste + QStringLiteral(" indicada: -") + respuesta + QLatin1Char('-')
                  : QString()) +
              QStringLiteral("; botón Registrar Salida, desde Entradas/Salidas"));
    Informar(QStringLiteral("El valor indicado para la Tarifa no es correcto") +
             (id ? noExiste + QStringLiteral(": ") + respuesta : QString()));
    return Paso::Aborta;
}

} // namespace

Paso CorregirPlacaYTarifa(TarifaVehiculo& tarifa) {
    if (!tarifa.ordinaria())
        return Paso::Sigue;
    if (DatosParqueadero.ModificarPlacaSalida) {
        DatosTicket.Placa = NormalizarPlaca(Servicios().dialogos->entrada(
            QStringLiteral("Verifique/Modifique la Placa"),
            QStringLiteral("VERIFICAR/MODIFICAR PLACA"), DatosTicket.Placa));
        if (DatosTicket.Placa.isEmpty())
            return Paso::Aborta;
        if (ContarCaracteres(DatosTicket.Placa) > kLargoPlaca) {
            Informar(QStringLiteral("La Placa excede el límite de 10 caracteres"));
            return Paso::Aborta;
        }
    }
    return DatosParqueadero.ModificarTarifaSalida ? elegirOtraTarifa(tarifa) : Paso::Sigue;
}

Paso CobrarEstancia(const TarifaVehiculo& tarifa, const OpcionesCobro& opciones, bool ticketPerdido,
                    QVector<ItemCobro>& items) {
    const Cobro cobro =
        EvaluarCobro(DatosTicket.FechaEntrada, DatosTicket.FechaSalida, tarifa.tarifa,
                     tarifa.tiempo, opciones, LeerReglasTarifa(tarifa.idTarifa), ticketPerdido);
    const int64_t cobrado = cobro.valor;
    items = cobro.explicado ? cobro.items : QVector<ItemCobro>();
    if (ImporteCabe(cobrado)) {
        DatosTicket.Cobrado = static_cast<int32_t>(cobrado);
        return Paso::Sigue;
    }
    return rechazarValor(
        QStringLiteral("El valor a cobrar supera el máximo que se puede registrar; Valor "
                       "calculado: -") +
            QString::number(cobrado) + QStringLiteral("- Placa: ") + DatosTicket.Placa,
        QStringLiteral("El valor a cobrar (") + DatosParqueadero.SimboloMoneda +
            FormatoMiles(cobrado) +
            QStringLiteral(") supera el máximo que se puede registrar; revise la tarifa"));
}

Paso FijarValor(const TarifaVehiculo& tarifa, bool ultimaSalidaCliente, QVector<ItemCobro>& items) {
    QString valor;
    if (tarifa.exenta()) {
        if (!PreguntarSiNo(PreguntaSalidaExento(),
                           QStringLiteral("CONFIRMAR SALIDA DE EXENTO DE COBRO"))) {
            CerrarConexion();
            return Paso::Aborta;
        }
        Registrar(kBotonSalida + QStringLiteral(": Se realiza salida de Exento, Placa: ") +
                  DatosTicket.Placa);
        valor = QStringLiteral("0");
    } else if (tarifa.porTarifa() || ultimaSalidaCliente) {
        valor = DatosParqueadero.ModificarValorSalida
                    ? Servicios().dialogos->entrada(
                          QStringLiteral("Modifique la tarifa manualmente si lo desea"),
                          QStringLiteral("TARIFA DEFINIDA POR EL USUARIO"),
                          QString::number(DatosTicket.Cobrado))
                    : QString::number(DatosTicket.Cobrado);
    }
    // An entry of no known kind has nothing to charge it by; an emptied box ends silently.
    if (valor.isEmpty()) {
        CerrarConexion();
        return Paso::Termina;
    }
    const auto v = ImporteEstricto(valor);
    if (v && *v > DatosTicket.Cobrado)
        return rechazarValor(
            QStringLiteral("No se permite cobrar por encima del valor tarificado; Valor inicial: "
                           "-") +
                QString::number(DatosTicket.Cobrado) + QStringLiteral("- Valor Modificado: -") +
                valor + QLatin1Char('-'),
            QStringLiteral("No se permite cobrar por encima del valor tarificado"));
    if (!v)
        return rechazarValor(QStringLiteral("Espeficique valores correctos a cobrar, Valor a "
                                            "Cobrar indicado: -") +
                                 valor + QLatin1Char('-'),
                             QStringLiteral("Espeficique valores correctos a cobrar"));
    if (!items.isEmpty() && *v < DatosTicket.Cobrado)
        items << ItemCobro{QStringLiteral("Rebaja del cajero"), *v - DatosTicket.Cobrado};
    DatosTicket.Cobrado = static_cast<int32_t>(*v);
    return Paso::Sigue;
}
