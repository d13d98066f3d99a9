#pragma once
// The audit trail: one row per sensitive action, written in the action's own transaction and
// chained by SHA-256 (each row holds the previous row's hash and its own), so that a row
// edited, removed or inserted out of place shows when the chain is walked.

#include <QDateTime>
#include <QString>
#include <cstdint>

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

// Adds the row after the last one, by this station and the logged-in user, inside the
// caller's transaction (the write lock keeps two stations from taking the same place).
void EscribirAuditoria(const QString& accion, const QString& detalle);
// Makes EscribirAuditoria the writer behind Auditar(), for the life of the process.
void InstalarAuditoria();
// One row in a transaction of its own (a login, a failed login).
void AuditarSolo(const QString& accion, const QString& detalle);

enum class FallaAuditoria { Ninguna, Modificada, Borrada, Insertada };

struct VerificacionAuditoria {
    FallaAuditoria falla = FallaAuditoria::Ninguna;
    int64_t filas = 0; // rows read
    int64_t orden = 0; // the row named
    int64_t id = 0;    // its key, when it is there
    bool integra() const { return falla == FallaAuditoria::Ninguna; }
    // The Spanish sentence for the user and the tool.
    QString mensaje() const;
};

// Walks the chain `filasPorLectura` rows at a time (memory stays flat) and names the first row
// that was edited, removed or inserted out of place.
VerificacionAuditoria VerificarAuditoria(int filasPorLectura = 5000);
