#pragma once
// Procedures shared by the entry and the exit of a vehicle: the capacity and plate checks,
// the client's period and its alerts, and the exit's numbered, all-or-nothing write.

#include <QDate>
#include <QString>
#include <cstdint>
#include <optional>

// True when the vehicle is not to be admitted (lot full and the attendant said No).
bool VerificarCupo(int16_t cupo);
// True when Entradas holds a row for the plate.
bool VerificarPlacaDentro(const QString& placa);

// Periods of a client with this plate that end today or later.
int64_t ContarPeriodosVigentes(const QString& placa, const QDate& hoy);
// Fills the ticket's client fields from the client's latest period.
void LeerUltimoPeriodo(const QString& placa);
// No client: IdCliente 0, names empty, Pagado false.
void ReiniciarDatosCliente();

enum class Momento { Entrada, Salida };
struct Alerta {
    QString suceso;
    QString mensaje;
};
// The reminder due for the client in DatosTicket `dias` days before FechaFin, if any.
std::optional<Alerta> AlertaCliente(Momento momento, int64_t dias);
// Logs and shows that reminder, when there is one.
void AvisarCliente(Momento momento, const QDate& hoy);

// One line per rate offered at exits: "      id <-----> DESCR <-> $price", each ending in CRLF.
QString ListaTarifasSalida();

// What the attendant confirms before a vehicle paying by rate leaves (the ticket fields
// give the times, plate and amount).
struct ResumenCobro {
    QString tiempoTexto;
    QString descrTarifa;
    int64_t tarifa = 0;
};
QString PreguntaSalidaPorTarifa(const ResumenCobro& resumen);
QString SucesoConfirmacionSalida(const ResumenCobro& resumen);

// Prefix, then the ticket number padded with zeros to `digitos` (never cut).
QString NumeroDocumento(const QString& prefijo, int digitos, const QString& nroTicket);

struct SalidaNueva {
    int64_t idEntrada = 0;
    QString placaEnCaja; // deletes the entry even when the plate was corrected
    QString fechaEntrada;
    QString fechaSalida;
    QString placa;
    QString descrVeh;
    QString observaciones;
    int64_t idTarifa = 0;
    int64_t tarifa = 0;
    int64_t tiempo = 0;
    QString descrTarifa;
    int64_t cobrado = 0;
};

struct SalidaGrabada {
    int64_t idSalida = 0;
    int16_t consecutivoDia = 0;
    QString nDocumento;
};

// Numbers the exit within the day of its exit time, writes it with its ticket and document
// numbers and deletes the entry, in one transaction. Nothing is written (and nullopt comes
// back) when the entry is no longer there, for instance because another station took it.
std::optional<SalidaGrabada> GrabarSalida(const SalidaNueva& salida);
