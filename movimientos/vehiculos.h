#pragma once
// Procedures shared by the entry and the exit of a vehicle: the capacity and plate checks,
// the client's period and its alerts, and the all-or-nothing writes of entries and exits.

#include "bd/cambio.h"
#include "movimientos/cobro.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

// The plate as stored and compared: one line without control characters, blanks around it
// dropped, upper case.
QString NormalizarPlaca(const QString& texto);
// Plates hold at most this many characters (an emoji is one character).
constexpr int kLargoPlaca = 10;
int ContarCaracteres(const QString& texto);

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
// "CLIENTE: Nombre Ape1 Ape2" of the client in DatosTicket.
QString NombreCliente();

enum class Momento { Entrada, Salida };
struct Alerta {
    QString suceso;
    QString mensaje;
};
// The reminder due for the client in DatosTicket `dias` days before FechaFin, if any.
std::optional<Alerta> AlertaCliente(Momento momento, int64_t dias);
// Logs and shows that reminder, when there is one.
void AvisarCliente(Momento momento, const QDate& hoy);

// Which rates a list or a lookup takes: those offered at exits, or every one (the correction
// of a past exit may give it any rate).
enum class Ofrecidas { EnSalidas, Todas };

// One line per rate: "      id <-----> DESCR <-> $price", each ending in CRLF.
QString ListaTarifasSalida(Ofrecidas cuales = Ofrecidas::EnSalidas);

// What the attendant is asked before an entry, shown when a client enters, and asked when a
// client, a client whose period ended or an exempt vehicle leaves.
QString PreguntaEntrada(const QString& placa, const QString& tarifa);
QString MensajeIngresoCliente();
QString PreguntaSalidaCliente();
QString PreguntaUltimaSalidaCliente();
QString PreguntaSalidaExento();

// The rate values an entry keeps, and what they say of the vehicle.
struct TarifaVehiculo {
    int64_t idTarifa = 0;
    int64_t tarifa = 0;
    int64_t tiempo = 0;
    QString descrTarifa;

    bool ordinaria() const; // paying by a rate
    bool porTarifa() const; // paying by a rate, or a client's entry with a rate kept
    bool cliente() const;
    bool exenta() const;
};

struct EntradaDentro {
    int64_t idEntrada = 0;
    QDateTime fechaEntrada;
    TarifaVehiculo tarifa;
};

// The entry of a plate inside, if any; with a key, that entry only (a scanned ticket names it,
// and a second entry of the same plate may be inside).
std::optional<EntradaDentro> BuscarEntrada(const QString& placa,
                                           std::optional<int64_t> idEntrada = std::nullopt);
// A rate, by its key.
std::optional<TarifaVehiculo> TarifaDeSalida(int64_t idTarifa,
                                             Ofrecidas cuales = Ofrecidas::EnSalidas);

// What the attendant confirms before a vehicle paying by rate leaves (the ticket fields
// give the times, plate and amount).
struct ResumenCobro {
    QString tiempoTexto;
    QString descrTarifa;
    int64_t tarifa = 0;
    QVector<ItemCobro> items;
};
QString PreguntaSalidaPorTarifa(const ResumenCobro& resumen);
QString SucesoConfirmacionSalida(const ResumenCobro& resumen);

// Prefix, then the ticket number padded with zeros to `digitos` (never cut).
QString NumeroDocumento(const QString& prefijo, int digitos, const QString& nroTicket);

struct EntradaNueva {
    QDateTime fechaEntrada;
    QString placa;
    QString descrVeh;
    QString observaciones;
    int64_t idTarifa = 0;
};

enum class TipoEntrada { Tarifa, Cliente, Exento };

struct EntradaGrabada {
    int64_t idEntrada = 0;
    TipoEntrada tipo = TipoEntrada::Tarifa;
};

// Takes the rate, decides whether the vehicle enters as a client with a current period, as an
// active exempt vehicle or by the rate, and inserts it, in one transaction. Refusal:
// NoEncontrado (the rate was deleted at another station). Faults: ErrorBD, nothing written.
Cambio<EntradaGrabada> GrabarEntrada(const EntradaNueva& entrada);

struct SalidaNueva {
    int64_t idEntrada = 0;
    QDateTime fechaEntrada;
    QDateTime fechaSalida;
    QString placa;
    QString descrVeh;
    QString observaciones;
    TarifaVehiculo tarifa;
    int64_t cobrado = 0;
    // The items that explain the charge, kept for the reprint; none for a plain price.
    QVector<ItemCobro> items;
    bool ticketPerdido = false;
    // What the rate computed before the attendant lowered it; negative when nothing was.
    int64_t calculado = -1;
};

struct SalidaGrabada {
    int64_t idSalida = 0;
    int16_t consecutivoDia = 0;
    QString nDocumento;
};

// Numbers the exit within the day of its exit time, writes it with its ticket and document
// numbers (a description or notes left empty take the entry's), notes it in the shift and
// deletes its entry, in one transaction. Refusal: NoEncontrado (the entry is gone, another
// station took it). Faults: ErrorBD, nothing written.
Cambio<SalidaGrabada> GrabarSalida(const SalidaNueva& salida);
// The items kept with an exit, in their order; none for a plain price.
QVector<ItemCobro> LeerItemsSalida(int64_t idSalida);
