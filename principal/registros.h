#pragma once
// Module-level records shared by every window of the station.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>

struct RegistroConfigInicio {
    QString CarpetaDatos;
    QString PuntoControl;
    bool RespaldoAutomatico = true;
    bool RegistroSucesos = true;
    bool AvisoTamanoBD = true;
    QString TamanoAvisoDesde;
    QString TamanoAvisoHasta;
    QString TamanoAvisoUrgente;
    QString TamanoLetraPlaca;
    bool PlacaNegrita = true;
    // libpq connection string from vialtor_servidor.cfg; empty: the embedded file.
    QString Servidor;
};

struct RegistroSesion {
    QString Usuario;
    QString Nombre;
    QString Ape1;
    QString Ape2;
    QString NivelAcceso;
    // id_usuario of the row the login matched: names are shared, so the users window tells
    // the logged-in user apart by it.
    int64_t IdUsuario = 0;
};

// In-memory copy of the one row of the DatosParqueadero table.
struct AjustesParqueadero {
    QString NombreParqueadero;
    QString OtroNombre;
    QString Identificacion;
    QString Direccion;
    QString Tfno;
    int16_t Cupo = 0;
    QString SimboloMoneda;
    QString NombreDocumento;
    QString NombreDocumentoEntrada;
    QString CabeceraEntrada;
    QString CabeceraSalida;
    QString PieEntrada;
    QString PieSalida;
    bool ConsecutivoDiaImprimir = false;
    uint8_t IVA = 0;
    QString PrefijoFactura;
    uint8_t DigitosFactura = 0;
    QString BaseTexto;
    QString ValorIVATexto;
    QString ValorCobradoTexto;
    QString CajeroTexto;
    bool CajeroImprimir = false;
    bool FechaAdicionalImprimir = false;
    QString CabeceraResumenVentas;
    QString PieResumenVentas;
    QString CabeceraEfectuarCierre;
    QString PieEfectuarCierre;
    bool ModificarPlacaSalida = false;
    bool ModificarTarifaSalida = false;
    bool ModificarValorSalida = false;
};

// Fields printed on entry and exit tickets; filled by the entry, the exit and the reprint.
struct RegistroTicket {
    QString Placa;
    uint8_t CopiasEntrada = 0;
    uint8_t CopiasSalida = 0;
    QDateTime FechaEntrada;
    QDateTime FechaSalida;
    int32_t Numero = 0;
    int32_t Cobrado = 0;
    int16_t ConsecutivoDia = 0;
    uint8_t IVA = 0;
    QString NDocumento;
    int32_t IdCliente = 0;
    QString Nombre;
    QString Ape1;
    QString Ape2;
    QDate FechaFin;
    int32_t CantidadTotal = 0;
    bool Pagado = false;
};

extern RegistroConfigInicio ConfigInicio;
extern RegistroSesion SesionActual;
extern AjustesParqueadero DatosParqueadero;
extern RegistroTicket DatosTicket;
extern QString MensajeSuceso;
// Vehicles inside at the last refill of the entries list.
extern int16_t OcupacionActual;
// Back to the state before the start; tests call it between cases.
void ReiniciarRegistros();
