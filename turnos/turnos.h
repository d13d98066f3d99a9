#pragma once
// A cashier's shift at a station: opened with a float, every exit, client payment and
// exception of the station's cashier tied to it, closed by a blind count. A closed shift's
// figures stay; a level-1 user may reopen it only by a recorded reversal.

#include "bd/cambio.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "turnos/rastroauditoria.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <optional>

struct Turno {
    int64_t id = 0;
    QString estacion;
    int64_t numero = 0; // per station, consecutive, never given twice
    int64_t idUsuario = 0;
    QString usuario;
    QString cajero; // the cashier's name and surnames
    QDateTime apertura;
    QDateTime cierre; // null while open
    int64_t fondo = 0;
    std::optional<int64_t> contado; // the count of the last close
    bool abierto() const { return cierre.isNull(); }
};

// The open shift of the logged-in cashier at this station.
std::optional<Turno> TurnoAbierto();
std::optional<Turno> TurnoDeEstacion(const QString& estacion, int64_t numero);

// Opens the logged-in cashier's shift at this station with `fondo` in the drawer.
// Refusals: TurnoYaAbierto. Faults: ErrorBD, nothing written.
Cambio<Turno> AbrirTurno(int64_t fondo);

// The kinds of rows a shift holds: cash taken, exceptions, and reversals of its close.
namespace tipo_turno {
inline const QString Salida = QStringLiteral("Salida");
inline const QString Pago = QStringLiteral("PagoCliente");
inline const QString Correccion = QStringLiteral("Correccion");
inline const QString Reimpresion = QStringLiteral("Reimpresion");
inline const QString Exento = QStringLiteral("SalidaExento");
inline const QString Cliente = QStringLiteral("SalidaCliente");
inline const QString Rebajado = QStringLiteral("ValorRebajado");
inline const QString TarifaCambiada = QStringLiteral("TarifaCambiada");
inline const QString Perdido = QStringLiteral("TicketPerdido");
inline const QString NoImpreso = QStringLiteral("TicketNoImpreso");
inline const QString Reapertura = QStringLiteral("Reapertura");
} // namespace tipo_turno

struct MovimientoTurno {
    QString tipo;
    int64_t referencia = 0; // id_salida or id_pago
    QString documento;
    QString placa;
    int64_t monto = 0;
    QString antes{};
    QString despues{};
};

// What the attendant reads when cash would move outside a shift.
inline const QString kSinTurnoParaCobrar = QStringLiteral("Abra su turno (F9) para cobrar");

// Ties the rows to the open shift and adds the action's one audit row; inside the caller's
// transaction. Without an open shift a row that moves money (or lets a vehicle out free) is a
// fault, ErrorBD, and nothing is written; any other keeps id_turno 0.
void AnotarEnTurno(const QVector<MovimientoTurno>& movimientos, const QString& accion,
                   bool mueveDinero = false);

// An exit just written, as the exit itself knows it: nothing is read back for the shift.
struct SalidaTurno {
    int64_t idSalida = 0;
    QString documento;
    QString placa;
    int64_t cobrado = 0;
    int64_t calculado = -1; // before the attendant lowered it; negative: none computed
    bool exenta = false;
    bool cliente = false;
    bool ticketPerdido = false;
    // "id - description" of the entry's and the exit's rate; empty unless changed at the exit.
    QString tarifaAntes{};
    QString tarifaDespues{};
};

// The cash an exit took and its exceptions: exempt or client exit, an amount lowered, a rate
// changed, a lost ticket. Inside the exit's transaction.
void AnotarSalida(const SalidaTurno& s);
// A client's payment just written, or (a negative amount) one just deleted, which the open
// shift no longer holds in cash. Inside its transaction.
void AnotarPago(int64_t idPago, int64_t cantidad, int64_t idCliente,
                const QString& accion = QStringLiteral("Pago de cliente"));
// A correction of an entry or exit (before → after, and what it changed of the amount).
// Inside its transaction.
void AnotarCorreccion(int64_t idSalida, const QString& placa, const QString& antes,
                      const QString& despues, int64_t diferencia);
// The reprint of `ticket` (an exit's when `salida`), in a transaction of its own.
Cambio<> AnotarReimpresion(bool salida, const RegistroTicket& ticket);
// After an exit's ticket: when none was asked for, or the printer did not put it on paper (kept
// as a PDF, or lost), in a transaction of its own; nothing to write when it is on paper.
Cambio<> AnotarImpresionSalida(bool pedida, int64_t idSalida, const QString& documento,
                               const QString& placa, int64_t cobrado);
// After an entry's ticket: when the printer did not put it on paper, in a transaction of its
// own; nothing to write when it is on paper.
Cambio<> AnotarImpresionEntrada(int64_t idEntrada, const QString& placa);

struct ExcepcionesTurno {
    QString tipo;
    QString titulo;
    int64_t cantidad = 0;
    int64_t monto = 0;
    QStringList lineas{};
};

struct CierreTurno {
    Turno turno;
    int64_t salidas = 0;
    int64_t efectivoSalidas = 0;
    int64_t pagos = 0;
    int64_t efectivoPagos = 0;
    QString documentoInicial;
    QString documentoFinal;
    QVector<ExcepcionesTurno> excepciones; // every kind, in the printed order
    QStringList reaperturas;               // who, when and why each close was undone
    std::optional<AnclaAuditoria> ancla;   // the trail's head just after this close, for paper
    int64_t esperado() const { return turno.fondo + efectivoSalidas + efectivoPagos; }
    std::optional<int64_t> diferencia() const;
};

// The figures of a shift from its rows.
CierreTurno CalcularCierre(const Turno& turno);
// Closes the logged-in cashier's shift with the cash counted, keeping the figures; the
// difference is recorded, never refused. Refusals: SinTurno.
Cambio<CierreTurno> CerrarTurno(int64_t contado);
// Undoes the close of shift `numero` of `estacion`, recording who, when and why on it and on
// the trail. Refusals: NoEncontrado, SinTurno (it is open), TurnoYaAbierto (its cashier has
// another one open there).
Cambio<> ReabrirTurno(const QString& estacion, int64_t numero, const QString& motivo);

// The closing as shown and printed; the anchor line last, when it was just closed.
QStringList LineasCierre(const CierreTurno& cierre);
// Those lines as printed: small, the title and the exceptions' heading in bold.
TrabajoImpresion TrabajoCierreTurno(const QStringList& lineas);
// The shifts opened on `dia` at any station, with their figures.
QVector<CierreTurno> TurnosDelDia(const QDate& dia);
// The same, one block per shift, for the per-cashier view; the cash of a shift still open
// only when `verEsperadoAbiertos` (a level-1 user). Cash taken outside any shift follows.
QStringList LineasTurnosDelDia(const QDate& dia, bool verEsperadoAbiertos);

// Cash rows stored without a shift (id_turno 0, by versions that let a cashier charge without
// one): they stay as they are and are shown apart, so none is lost from sight.
struct CajaSinTurno {
    struct Cifra {
        int64_t cantidad = 0;
        int64_t monto = 0;
    };
    Cifra salidas;
    Cifra pagos;
    bool vacia() const { return salidas.cantidad == 0 && pagos.cantidad == 0; }
};
CajaSinTurno CobradoSinTurno(const QDateTime& desde, const QDateTime& hasta);
// "Sin turno: salidas (N) $X, pagos (M) $Y".
QString LineaSinTurno(const CajaSinTurno& c);
// "short 500" / "over 500" / "sin diferencia", in Spanish.
QString TextoDiferencia(int64_t diferencia);
