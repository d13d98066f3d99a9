#include "bd/tablas.h"

#include <iterator>
#include <optional>

namespace {

constexpr ClaseColumna T = ClaseColumna::Texto, E = ClaseColumna::Entero, M = ClaseColumna::Monto,
                       F = ClaseColumna::Fecha, B = ClaseColumna::Bandera;

const TablaEsquema kTablas[] = {
    {"Usuarios",
     "id_usuario",
     {{"usuario", T},
      {"pwd", T},
      {"nombre", T},
      {"ape1", T},
      {"ape2", T},
      {"nivelacceso", T},
      {"puntodecontrol", T}}},
    {"DatosParqueadero",
     "id_datosparqueadero",
     {{"NombreParqueadero", T},
      {"OtroNombre", T},
      {"Identificacion", T},
      {"Direccion", T},
      {"Tfno", T},
      {"Cupo", E},
      {"SimboloMoneda", T},
      {"NombreDocumento", T},
      {"NombreDocumentoEntrada", T},
      {"CabeceraEntrada", T},
      {"CabeceraSalida", T},
      {"PieEntrada", T},
      {"PieSalida", T},
      {"ConsecutivoDiaImprimir", B},
      {"IVA", E},
      {"PrefijoFactura", T},
      {"DigitosFactura", E},
      {"BaseTexto", T},
      {"ValorIVATexto", T},
      {"ValorCobradoTexto", T},
      {"CajeroTexto", T},
      {"CajeroImprimir", B},
      {"FechaAdicionalImprimir", B},
      {"CabeceraResumenVentas", T},
      {"PieResumenVentas", T},
      {"CabeceraEfectuarCierre", T},
      {"PieEfectuarCierre", T},
      {"ModificarPlacaSalida", B},
      {"ModificarTarifaSalida", B},
      {"ModificarValorSalida", B}}},
    {"Tarifas",
     "id_tarifa",
     {{"Tarifa", M},
      {"Tiempo", E},
      {"DescrTarifa", T},
      {"MostrarEnEntradas", B},
      {"MostrarEnSalidas", B}}},
    {"Entradas",
     "id_entrada",
     {{"FechaEntrada", F},
      {"Placa", T},
      {"DescrVeh", T},
      {"Observaciones", T},
      {"id_tarifa", E},
      {"Tarifa", M},
      {"Tiempo", E},
      {"DescrTarifa", T}}},
    {"Salidas",
     "id_salida",
     {{"FechaEntrada", F},
      {"FechaSalida", F},
      {"Placa", T},
      {"DescrVeh", T},
      {"Observaciones", T},
      {"id_tarifa", E},
      {"Tarifa", M},
      {"Tiempo", E},
      {"DescrTarifa", T},
      {"Cobrado", M},
      {"ConsecutivoDia", E},
      {"IVA", E},
      {"NroTicket", T},
      {"NDocumento", T},
      {"TicketPerdido", B, 3}}},
    {"Clientes",
     "id_cliente",
     {{"Nombre", T},
      {"Ape1", T},
      {"Ape2", T},
      {"Placa", T},
      {"Activo", B},
      {"Identificacion", T},
      {"Notas", T}}},
    {"FechaPago",
     "id_fecha_pago",
     {{"id_cliente", E},
      {"FechaInicio", F},
      {"FechaFin", F},
      {"CantidadTotal", M},
      {"Pagado", B},
      {"NRecibo", T}}},
    {"Pagos", "id_pago", {{"id_fecha_pago", E}, {"FechaPago", F}, {"CantidadPago", M}}},
    {"Exentos",
     "id_exento",
     {{"PlacaExento", T},
      {"NombreExento", T},
      {"Ape1Exento", T},
      {"Ape2Exento", T},
      {"TipoExento", T},
      {"ActivoExento", B}}},
    {"Cierres",
     "id_cierre",
     {{"NDocumento", T},
      {"FechaImp", F},
      {"FechaIni", F},
      {"FechaFin", F},
      {"Cajero", T},
      {"NDocIni", T},
      {"NDocFin", T},
      {"TotalRegistros", E},
      {"TotalBase", M},
      {"TotalValorIVA", M},
      {"TotalTotales", M}}},
    // A rate's optional rules beside its price, keyed by the rate itself; no row means the
    // plain price. Empty amounts and minutes mean the rule is not used.
    {"ReglasTarifas",
     "id_tarifa",
     {{"MinutosGracia", E},
      {"CobroMinimo", M},
      {"TopeCobro", M},
      {"TopeDiaCalendario", B},
      {"ValorTicketPerdido", M},
      {"MinutosLibres", E, 8},
      {"TopeSemanal", M, 9},
      {"MinutosBloque", E, 10},
      {"PrecioBloque", M, 10},
      {"ValorDiaTramos", M, 11}},
     3},
    // A rate's time bands: minutes of the day (an end before the start wraps past midnight),
    // the days they hold as bits (Monday 1 ... Sunday 64), a price per unit or a flat amount.
    {"FranjasTarifas",
     "id_franja",
     {{"id_tarifa", E},
      {"NombreFranja", T},
      {"MinutoInicio", E},
      {"MinutoFin", E},
      {"DiasSemana", E},
      {"TarifaFranja", M},
      {"ValorFijo", M},
      {"MaximoFranja", M, 12}},
     3},
    // A rate's price tiers: a stay up to so many minutes pays so much. Beyond the last one, the
    // rules' ValorDiaTramos per further day, or the rate's price when it is Null.
    {"TramosTarifas", "id_tramo", {{"id_tarifa", E}, {"MinutosTramo", E}, {"ValorTramo", M}}, 11},
    // A rate's entry-time flats: entries from EntradaDesde to EntradaHasta minutes of the day the
    // window begins (above 1440 the next day), on DiasSemana as the bands', pay ValorPlano;
    // with SalidaHasta (a minute of the day) only exits by it.
    {"TarifasPlanas",
     "id_plana",
     {{"id_tarifa", E},
      {"NombrePlana", T},
      {"EntradaDesde", E},
      {"EntradaHasta", E},
      {"SalidaHasta", E},
      {"DiasSemana", E},
      {"ValorPlano", M}},
     13},
    // The items that explain an exit's charge, kept for its reprint.
    {"ItemsSalidas", "id_item", {{"id_salida", E}, {"Orden", E}, {"Concepto", T}, {"Valor", M}}, 3},
    // A cashier's shift at a station; the closing's columns stay Null while it is open.
    {"Turnos",
     "id_turno",
     {{"Estacion", T},
      {"Numero", E},
      {"IdUsuario", E},
      {"Usuario", T},
      {"Cajero", T},
      {"Apertura", F},
      {"Cierre", F},
      {"Fondo", M},
      {"Contado", M},
      {"Esperado", M},
      {"Diferencia", M}},
     4},
    // What a shift took and its exceptions, one row each; id_turno 0 when none was open.
    {"MovimientosTurno",
     "id_movimiento",
     {{"id_turno", E},
      {"Fecha", F},
      {"Tipo", T},
      {"Referencia", E},
      {"Documento", T},
      {"Placa", T},
      {"Monto", M},
      {"Antes", T},
      {"Despues", T},
      {"Usuario", T}},
     4},
    {"Auditoria",
     "id_auditoria",
     {{"Orden", E},
      {"Fecha", F},
      {"Estacion", T},
      {"Usuario", T},
      {"Accion", T},
      {"Detalle", T},
      {"HashAnterior", T},
      {"Hash", T}},
     4},
    // The trail's last row, so that removing the last rows shows too.
    {"AuditoriaCabeza", "id_cabeza", {{"Orden", E}, {"Hash", T}}, 4},
    // The installation's key for the tickets' codes, and which entry each exit took.
    {"ClaveTicket", "id_claveticket", {{"Clave", T}}, 5},
    {"SalidasEntrada", "id_salidaentrada", {{"id_salida", E}, {"id_entrada", E}}, 5},
};

const TablaEsquema* tablaLlamada(const QString& nombre) {
    for (const TablaEsquema& t : Tablas())
        if (nombre.compare(QLatin1String(t.nombre), Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

std::optional<QString> columnaDe(const TablaEsquema& t, const QString& columna) {
    if (columna.compare(QLatin1String(t.clave), Qt::CaseInsensitive) == 0)
        return QLatin1String(t.clave);
    for (const ColumnaEsquema& c : t.columnas)
        if (columna.compare(QLatin1String(c.nombre), Qt::CaseInsensitive) == 0)
            return QLatin1String(c.nombre);
    return std::nullopt;
}

} // namespace

const TablaEsquema* RecorridoTablas::begin() const {
    return std::begin(kTablas);
}

const TablaEsquema* RecorridoTablas::end() const {
    return std::end(kTablas);
}

QString NombreEsquema(const QString& nombre) {
    if (const TablaEsquema* t = tablaLlamada(nombre))
        return QLatin1String(t->nombre);
    for (const TablaEsquema& t : Tablas())
        if (const auto c = columnaDe(t, nombre))
            return *c;
    return nombre;
}

QString NombreColumna(const QString& tabla, const QString& columna) {
    const TablaEsquema* t = tablaLlamada(tabla);
    return t ? columnaDe(*t, columna).value_or(columna) : columna;
}

QString ClaveDeTabla(const QString& tabla) {
    const TablaEsquema* t = tablaLlamada(tabla);
    return t ? QLatin1String(t->clave) : QString();
}

QStringList TablasEsquema() {
    QStringList tablas;
    for (const TablaEsquema& t : Tablas())
        tablas << QLatin1String(t.nombre);
    return tablas;
}
