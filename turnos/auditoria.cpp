#include "turnos/auditoria.h"

#include "principal/auditoria.h"
#include "principal/cambio.h"
#include "principal/formatos.h"
#include "principal/recordset.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sql.h"

#include <QCryptographicHash>
#include <QStringList>

namespace {

QString fechaCanonica(const QDateTime& fecha) {
    return fecha.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

FilaAuditoria leerFila(const Recordset& rs) {
    FilaAuditoria f;
    f.orden = rs.Fields(QStringLiteral("Orden")).aEntero();
    f.fecha = rs.Fields(QStringLiteral("Fecha")).aFecha();
    f.estacion = rs.Fields(QStringLiteral("Estacion")).aTexto();
    f.usuario = rs.Fields(QStringLiteral("Usuario")).aTexto();
    f.accion = rs.Fields(QStringLiteral("Accion")).aTexto();
    f.detalle = rs.Fields(QStringLiteral("Detalle")).aTexto();
    f.hashAnterior = rs.Fields(QStringLiteral("HashAnterior")).aTexto();
    f.hash = rs.Fields(QStringLiteral("Hash")).aTexto();
    return f;
}

VerificacionAuditoria falla(FallaAuditoria tipo, int64_t filas, int64_t orden, int64_t id = 0) {
    return {tipo, filas, orden, id};
}

} // namespace

QString HashAuditoria(const FilaAuditoria& f) {
    // A separator no field can hold keeps "ab"+"c" apart from "a"+"bc".
    const QString contenido = QStringList{QString::number(f.orden),
                                          fechaCanonica(f.fecha),
                                          f.estacion,
                                          f.usuario,
                                          f.accion,
                                          f.detalle,
                                          f.hashAnterior}
                                  .join(QChar(0x1f));
    return QString::fromLatin1(
        QCryptographicHash::hash(contenido.toUtf8(), QCryptographicHash::Sha256).toHex());
}

void EscribirAuditoria(const QString& accion, const QString& detalle) {
    Recordset cabeza;
    cabeza.Open(QStringLiteral("SELECT Orden, Hash FROM AuditoriaCabeza"));
    FilaAuditoria f;
    const bool primera = cabeza.Eof();
    f.orden = primera ? 1 : cabeza.Fields(QStringLiteral("Orden")).aEntero() + 1;
    f.hashAnterior = primera ? QString() : cabeza.Fields(QStringLiteral("Hash")).aTexto();
    const QDateTime ahora = Servicios().reloj->ahora();
    f.fecha = QDateTime(ahora.date(),
                        QTime(ahora.time().hour(), ahora.time().minute(), ahora.time().second()));
    f.estacion = ConfigInicio.PuntoControl;
    f.usuario = SesionActual.Usuario;
    f.accion = accion;
    f.detalle = detalle;
    f.hash = HashAuditoria(f);
    ExigirUnaFila(QStringLiteral("INSERT INTO Auditoria (Orden,Fecha,Estacion,Usuario,Accion,"
                                 "Detalle,HashAnterior,Hash) VALUES (") +
                  QStringList{QString::number(f.orden), Texto(FechaHoraTexto(f.fecha)),
                              Texto(f.estacion), Texto(f.usuario), Texto(f.accion),
                              Texto(f.detalle), Texto(f.hashAnterior), Texto(f.hash)}
                      .join(QLatin1Char(',')) +
                  QLatin1Char(')'));
    ExigirUnaFila(primera
                      ? QStringLiteral("INSERT INTO AuditoriaCabeza (Orden,Hash) VALUES (%1,%2)")
                            .arg(f.orden)
                            .arg(Texto(f.hash))
                      : QStringLiteral("UPDATE AuditoriaCabeza SET Orden=%1, Hash=%2")
                            .arg(f.orden)
                            .arg(Texto(f.hash)));
}

void InstalarAuditoria() {
    EstablecerAuditoria(EscribirAuditoria);
}

void AuditarSolo(const QString& accion, const QString& detalle) {
    EnTransaccion([&] {
        EscribirAuditoria(accion, detalle);
        return Hecho({});
    });
}

QString VerificacionAuditoria::mensaje() const {
    const QString fila = QStringLiteral("La fila %1 de la auditoría").arg(orden) +
                         (id ? QStringLiteral(" (registro %1)").arg(id) : QString());
    switch (falla) {
    case FallaAuditoria::Ninguna:
        return QStringLiteral("La auditoría está íntegra: %1 filas verificadas.").arg(filas);
    case FallaAuditoria::Modificada:
        return fila + QStringLiteral(" fue modificada.");
    case FallaAuditoria::Borrada:
        return fila + QStringLiteral(" fue borrada.");
    case FallaAuditoria::Insertada:
        return fila + QStringLiteral(" fue insertada fuera de lugar.");
    }
    return QString();
}

VerificacionAuditoria VerificarAuditoria(int filasPorLectura) {
    int64_t filas = 0, ultimoId = 0, ordenPrevio = 0, idPrevio = 0;
    QString hashPrevio;
    for (;;) {
        // By key, a page at a time: the rows were added in the order of the chain.
        Recordset rs;
        rs.Open(QStringLiteral("SELECT TOP %1 * FROM Auditoria WHERE id_auditoria > %2 ORDER BY "
                               "id_auditoria")
                    .arg(filasPorLectura)
                    .arg(ultimoId));
        if (rs.Eof())
            break;
        for (; !rs.Eof(); rs.MoveNext()) {
            const FilaAuditoria f = leerFila(rs);
            const int64_t id = rs.Fields(QStringLiteral("id_auditoria")).aEntero();
            ++filas;
            if (f.orden < ordenPrevio + 1)
                return falla(FallaAuditoria::Insertada, filas, f.orden, id);
            if (f.orden > ordenPrevio + 1)
                return falla(FallaAuditoria::Borrada, filas, ordenPrevio + 1);
            if (HashAuditoria(f) != f.hash)
                return falla(FallaAuditoria::Modificada, filas, f.orden, id);
            // Whole in itself but not what its successor recorded: the one before was
            // rewritten with a new hash.
            if (f.hashAnterior != hashPrevio)
                return falla(FallaAuditoria::Modificada, filas, ordenPrevio, idPrevio);
            ordenPrevio = f.orden;
            idPrevio = ultimoId = id;
            hashPrevio = f.hash;
        }
    }
    Recordset cabeza;
    cabeza.Open(QStringLiteral("SELECT Orden, Hash FROM AuditoriaCabeza"));
    const int64_t ultimo = cabeza.Eof() ? 0 : cabeza.Fields(QStringLiteral("Orden")).aEntero();
    if (ultimo > ordenPrevio)
        return falla(FallaAuditoria::Borrada, filas, ordenPrevio + 1);
    if (ultimo < ordenPrevio)
        return falla(FallaAuditoria::Insertada, filas, ultimo + 1);
    if (ultimo > 0 && cabeza.Fields(QStringLiteral("Hash")).aTexto() != hashPrevio)
        return falla(FallaAuditoria::Modificada, filas, ordenPrevio, idPrevio);
    return {FallaAuditoria::Ninguna, filas, 0, 0};
}
