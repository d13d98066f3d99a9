#include "principal/parqueadero.h"

#include "principal/conexion.h"
#include "principal/recordset.h"
#include "principal/registros.h"

#include <limits>

namespace {

[[noreturn]] void filaDanada(const QString& columna, const QString& problema) {
    throw ErrorBD(QStringLiteral("Los datos del parqueadero están dañados: la columna %1 %2. "
                                 "Corríjalos en la ventana Datos Parqueadero.")
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
