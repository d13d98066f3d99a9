#include "acceso/parqueadero.h"

#include "bd/conexion.h"
#include "bd/recordset.h"
#include "bd/sql.h"
#include "principal/auditar.h"
#include "principal/formatos.h"
#include "principal/registros.h"

#include <limits>

namespace {

[[noreturn]] void filaDanada(const QString& columna, const QString& problema) {
    throw ErrorFilaAjustes(
        QStringLiteral("Los datos del parqueadero están dañados: la columna %1 %2")
            .arg(columna, problema));
}

const Valor& requerido(const Recordset& rs, const char* columna) {
    const Valor& v = rs.Fields(QLatin1String(columna));
    if (v.esNulo())
        filaDanada(QLatin1String(columna), QStringLiteral("está vacía"));
    return v;
}

QString texto(const Recordset& rs, const char* columna) {
    return requerido(rs, columna).aTexto();
}

bool bandera(const Recordset& rs, const char* columna) {
    return requerido(rs, columna).aBandera();
}

// Replaces the value only when the column holds one.
void siHay(const Recordset& rs, const char* columna, QString& destino) {
    const Valor& v = rs.Fields(QLatin1String(columna));
    if (!v.esNulo())
        destino = v.aTexto();
}

int64_t enRango(const Valor& v, const char* columna, int64_t minimo, int64_t maximo) {
    const int64_t n = v.aEntero();
    if (n < minimo || n > maximo)
        filaDanada(QLatin1String(columna),
                   QStringLiteral("tiene un valor fuera de rango (%1)").arg(n));
    return n;
}

void siHayByte(const Recordset& rs, const char* columna, uint8_t& destino) {
    const Valor& v = rs.Fields(QLatin1String(columna));
    if (!v.esNulo())
        destino = static_cast<uint8_t>(enRango(v, columna, 0, 255));
}

} // namespace

void CargarDatosParqueadero() {
    AbrirConexion();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM DatosParqueadero"));
    // The row is in memory now: a damaged value below leaves no connection open.
    CerrarConexion();
    if (rs.Eof())
        throw ErrorBD(QStringLiteral("No existen los datos del parqueadero en la base de datos "
                                     "(tabla DatosParqueadero vacía)"));
    // Filled aside, so a damaged row leaves the settings in memory as they were.
    AjustesParqueadero d = DatosParqueadero;
    d.NombreParqueadero = texto(rs, "NombreParqueadero");
    siHay(rs, "OtroNombre", d.OtroNombre);
    d.Identificacion = texto(rs, "Identificacion");
    d.Direccion = texto(rs, "Direccion");
    siHay(rs, "Tfno", d.Tfno);
    d.Cupo = static_cast<int16_t>(enRango(requerido(rs, "Cupo"), "Cupo",
                                          std::numeric_limits<int16_t>::min(),
                                          std::numeric_limits<int16_t>::max()));
    d.SimboloMoneda = texto(rs, "SimboloMoneda");
    d.NombreDocumento = texto(rs, "NombreDocumento");
    d.NombreDocumentoEntrada = texto(rs, "NombreDocumentoEntrada");
    siHay(rs, "CabeceraEntrada", d.CabeceraEntrada);
    siHay(rs, "CabeceraSalida", d.CabeceraSalida);
    siHay(rs, "PieEntrada", d.PieEntrada);
    siHay(rs, "PieSalida", d.PieSalida);
    d.ConsecutivoDiaImprimir = bandera(rs, "ConsecutivoDiaImprimir");
    siHayByte(rs, "IVA", d.IVA);
    const bool hayIva = !rs.Fields(QStringLiteral("IVA")).esNulo();
    siHay(rs, "PrefijoFactura", d.PrefijoFactura);
    siHayByte(rs, "DigitosFactura", d.DigitosFactura);
    siHay(rs, "BaseTexto", d.BaseTexto);
    siHay(rs, "ValorIVATexto", d.ValorIVATexto);
    siHay(rs, "ValorCobradoTexto", d.ValorCobradoTexto);
    siHay(rs, "CajeroTexto", d.CajeroTexto);
    d.CajeroImprimir = bandera(rs, "CajeroImprimir");
    d.FechaAdicionalImprimir = bandera(rs, "FechaAdicionalImprimir");
    siHay(rs, "CabeceraResumenVentas", d.CabeceraResumenVentas);
    siHay(rs, "PieResumenVentas", d.PieResumenVentas);
    siHay(rs, "CabeceraEfectuarCierre", d.CabeceraEfectuarCierre);
    siHay(rs, "PieEfectuarCierre", d.PieEfectuarCierre);
    d.ModificarPlacaSalida = bandera(rs, "ModificarPlacaSalida");
    d.ModificarTarifaSalida = bandera(rs, "ModificarTarifaSalida");
    d.ModificarValorSalida = bandera(rs, "ModificarValorSalida");
    rs.Close();
    DatosParqueadero = d;
    if (hayIva)
        DatosTicket.IVA = d.IVA;
}

namespace {

std::optional<int64_t> enteroEntre(const QString& texto, int64_t minimo, int64_t maximo) {
    const std::optional<int64_t> n = EnteroEstricto(texto);
    if (!n || *n < minimo || *n > maximo)
        return std::nullopt;
    return n;
}

QString asignar(const char* columna, const QString& valor) {
    return QLatin1String(columna) + QLatin1Char('=') + Texto(valor);
}

QString asignar(const char* columna, bool valor) {
    return QLatin1String(columna) + (valor ? QLatin1String("=1") : QLatin1String("=0"));
}

QString asignarNumero(const char* columna, uint8_t valor, bool nulo) {
    return nulo ? QLatin1String(columna) + QLatin1String("=Null")
                : asignar(columna, QString::number(valor));
}

} // namespace

std::optional<int16_t> CupoValido(const QString& texto) {
    const auto n = enteroEntre(texto, 0, 9999);
    return n ? std::optional<int16_t>(static_cast<int16_t>(*n)) : std::nullopt;
}

std::optional<uint8_t> IvaValido(const QString& texto) {
    const auto n = enteroEntre(texto, 1, 99);
    return n ? std::optional<uint8_t>(static_cast<uint8_t>(*n)) : std::nullopt;
}

std::optional<uint8_t> DigitosFacturaValidos(const QString& texto) {
    const auto n = enteroEntre(texto, 0, 99);
    return n ? std::optional<uint8_t>(static_cast<uint8_t>(*n)) : std::nullopt;
}

QString SentenciaDatosParqueadero(const AjustesParqueadero& d, bool digitosNulos) {
    const QStringList asignaciones = {
        asignar("NombreParqueadero", d.NombreParqueadero),
        asignar("OtroNombre", d.OtroNombre),
        asignar("Identificacion", d.Identificacion),
        asignar("Direccion", d.Direccion),
        asignar("Tfno", d.Tfno),
        asignar("Cupo", QString::number(d.Cupo)),
        asignar("SimboloMoneda", d.SimboloMoneda),
        asignar("CabeceraEntrada", d.CabeceraEntrada),
        asignar("PieEntrada", d.PieEntrada),
        asignar("CabeceraSalida", d.CabeceraSalida),
        asignar("PieSalida", d.PieSalida),
        asignar("ConsecutivoDiaImprimir", d.ConsecutivoDiaImprimir),
        asignar("NombreDocumento", d.NombreDocumento),
        asignar("NombreDocumentoEntrada", d.NombreDocumentoEntrada),
        asignar("PrefijoFactura", d.PrefijoFactura),
        asignar("BaseTexto", d.BaseTexto),
        asignar("ValorIVATexto", d.ValorIVATexto),
        asignar("ValorCobradoTexto", d.ValorCobradoTexto),
        asignar("CajeroImprimir", d.CajeroImprimir),
        asignar("FechaAdicionalImprimir", d.FechaAdicionalImprimir),
        asignar("CajeroTexto", d.CajeroTexto),
        asignar("CabeceraResumenVentas", d.CabeceraResumenVentas),
        asignar("PieResumenVentas", d.PieResumenVentas),
        asignar("CabeceraEfectuarCierre", d.CabeceraEfectuarCierre),
        asignar("PieEfectuarCierre", d.PieEfectuarCierre),
        asignar("ModificarPlacaSalida", d.ModificarPlacaSalida),
        asignar("ModificarTarifaSalida", d.ModificarTarifaSalida),
        asignar("ModificarValorSalida", d.ModificarValorSalida),
        asignarNumero("IVA", d.IVA, d.IVA == 0),
        asignarNumero("DigitosFactura", d.DigitosFactura, digitosNulos)};
    return QStringLiteral("UPDATE DatosParqueadero SET ") + asignaciones.join(QLatin1Char(','));
}

Cambio<> GrabarDatosParqueadero(const AjustesParqueadero& ajustes, bool digitosNulos) {
    const QString sql = SentenciaDatosParqueadero(ajustes, digitosNulos);
    const Cambio<> cambio = EnTransaccion([&] {
        if (EjecutarCambio(sql) != 1)
            return Rechazo(Resultado::NoEncontrado);
        return Auditado(QStringLiteral("Datos del parqueadero"), Hecho({sql}));
    });
    if (!cambio.hecho())
        return cambio;
    DatosParqueadero = ajustes;
    DatosParqueadero.DigitosFactura = digitosNulos ? 0 : ajustes.DigitosFactura;
    DatosTicket.IVA = ajustes.IVA;
    return cambio;
}

QString ImporteMoneda(int64_t valor) {
    return DatosParqueadero.SimboloMoneda + FormatoMiles(valor);
}
