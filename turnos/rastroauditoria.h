#pragma once
// The audit trail: one row per sensitive action, written in the action's own transaction and
// chained by SHA-256 (each row holds the previous row's hash and its own), so that a row
// edited, removed or inserted out of place shows when the chain is walked.

#include "bd/cambio.h"

#include <QDateTime>
#include <QString>
#include <QVector>
#include <cstdint>
#include <optional>

struct FilaAuditoria {
    int64_t orden = 0; // 1, 2, 3… with no gap: a removed row leaves one
    QDateTime fecha;
    QString estacion;
    QString usuario;
    QString accion;
    QString detalle;
    QString hashAnterior; // empty for the first row
    QString hash;
};

// The hash a row must hold: SHA-256 (hex) of its fields and the previous row's hash.
QString HashAuditoria(const FilaAuditoria& fila);

// A point of the trail kept outside the database (on a printed close, in the log): row `orden`
// and the start of its hash. A trail rewritten up to that row, however well chained, no longer
// passes through it; rows after it are not covered.
struct AnclaAuditoria {
    int64_t orden = 0;
    QString hash; // lower-case hex: the whole hash when read, its first 16 digits when typed
    // "N:HEX" with 16 digits, as printed and typed.
    QString texto() const;
};

// The head as it stands (the last row's order and hash), on the caller's connection and inside
// its transaction; none while the trail is empty.
std::optional<AnclaAuditoria> AnclaActual();
// "Ancla de auditoría: N:HEX", the last line of a printed close.
QString LineaAncla(const AnclaAuditoria& ancla);
// An anchor as printed: "N:HEX", N above 0 and 16 hex digits of either case, blanks around;
// none otherwise.
std::optional<AnclaAuditoria> LeerAncla(const QString& texto);
// Why `texto` is refused as an anchor, in Spanish.
QString AnclaIncorrecta(const QString& texto);

// Adds the row after the last one, by this station and the logged-in user, inside the
// caller's transaction (the write lock keeps two stations from taking the same place). The
// new head.
AnclaAuditoria EscribirAuditoria(const QString& accion, const QString& detalle);
// Makes EscribirAuditoria the writer behind Auditar(), for the life of the process.
void InstalarAuditoria();
// One row in a transaction of its own (a login, a failed login).
Cambio<> AuditarSolo(const QString& accion, const QString& detalle);

// Reescrita: a row up to an anchor changed, chain and head made to fit. SinCabeza: rows without
// the head that names the last. Vaciada: no rows and no head in a database with shifts or exits.
// SinTabla: a table of the trail dropped.
enum class FallaAuditoria {
    Ninguna,
    Modificada,
    Borrada,
    Insertada,
    Reescrita,
    SinCabeza,
    Vaciada,
    SinTabla
};

struct VerificacionAuditoria {
    FallaAuditoria falla = FallaAuditoria::Ninguna;
    int64_t filas = 0;  // rows read
    int64_t orden = 0;  // the row named
    int64_t id = 0;     // its key, when it is there
    int64_t desde = 0;  // Reescrita: the first row after the last anchor passed
    int anclas = 0;     // anchors passed
    QString ancla = {}; // the anchor broken, as "N:HEX"
    QString tabla = {}; // SinTabla: the table dropped
    bool integra() const { return falla == FallaAuditoria::Ninguna; }
    // The Spanish sentence for the user and the tool.
    QString mensaje() const;
};

// Reads the head, then walks the chain up to it `filasPorLectura` rows at a time (memory stays
// flat), all in one consistent read, and names the first row that was edited, removed or
// inserted out of place, or the first of `anclas` it no longer passes through.
VerificacionAuditoria VerificarAuditoria(const QVector<AnclaAuditoria>& anclas = {},
                                         int filasPorLectura = 5000);
