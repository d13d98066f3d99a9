#include "turnos/rastroauditoria.h"

#include "bd/cambio.h"
#include "bd/recordset.h"
#include "bd/servidor.h"
#include "bd/sql.h"
#include "principal/auditar.h"
#include "principal/formatos.h"
#include "principal/registros.h"
#include "principal/servicios.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <optional>
#include <sqlite3.h>

namespace {

QString fechaCanonica(const QDateTime& fecha) {
    return fecha.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// SHA-256 (hex) of the order and the other fields as UTF-8, a separator no field can hold
// between them, so that "ab"+"c" and "a"+"bc" differ.
QByteArray hashCampos(int64_t orden, std::initializer_list<QByteArrayView> campos) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::number(static_cast<qlonglong>(orden)));
    for (const QByteArrayView campo : campos) {
        hash.addData(QByteArrayView("\x1f", 1));
        hash.addData(campo);
    }
    return hash.result().toHex();
}

// The walk along the chain, row by row, whatever reads the rows, up to the head read before.
class Cadena {
public:
    Cadena(std::optional<AnclaAuditoria> cabeza, QVector<AnclaAuditoria> anclas)
        : cabeza_(std::move(cabeza)), anclas_(std::move(anclas)) {
        std::sort(
            anclas_.begin(), anclas_.end(),
            [](const AnclaAuditoria& a, const AnclaAuditoria& b) { return a.orden < b.orden; });
    }
    // False once a row breaks the chain; the date in the canonical form.
    bool seguir(int64_t id, int64_t orden, QByteArrayView fecha, QByteArrayView estacion,
                QByteArrayView usuario, QByteArrayView accion, QByteArrayView detalle,
                QByteArrayView anterior, QByteArrayView hash) {
        ++filas_;
        if (orden < ordenPrevio_ + 1)
            return parar(FallaAuditoria::Insertada, orden, id);
        if (orden > ordenPrevio_ + 1)
            return parar(FallaAuditoria::Borrada, ordenPrevio_ + 1, 0);
        if (hashCampos(orden, {fecha, estacion, usuario, accion, detalle, anterior}) != hash)
            return parar(FallaAuditoria::Modificada, orden, id);
        // Whole in itself but not what its successor recorded: the one before was rewritten
        // with a new hash.
        if (anterior != QByteArrayView(hashPrevio_))
            return parar(FallaAuditoria::Modificada, ordenPrevio_, idPrevio_);
        // A chain whole in itself may still have been rewritten from some row on, head and all:
        // only what was kept outside the database tells.
        for (; pasadas_ < anclas_.size() && anclas_[pasadas_].orden == orden; ++pasadas_)
            if (!hash.startsWith(anclas_[pasadas_].hash.toLatin1()))
                return pararEnAncla(FallaAuditoria::Reescrita, orden, id);
        ordenPrevio_ = orden;
        idPrevio_ = id;
        hashPrevio_ = hash.toByteArray();
        return true;
    }
    // After the last row: the head names the last row written, and every anchor lies before it.
    VerificacionAuditoria terminar() {
        if (resultado_)
            return *resultado_;
        const int64_t ultimo = cabeza_ ? cabeza_->orden : 0;
        if (!cabeza_ && filas_ > 0)
            parar(FallaAuditoria::SinCabeza, 0, 0);
        else if (ultimo > ordenPrevio_)
            parar(FallaAuditoria::Borrada, ordenPrevio_ + 1, 0);
        else if (ultimo < ordenPrevio_)
            parar(FallaAuditoria::Insertada, ultimo + 1, 0);
        else if (ultimo > 0 && cabeza_->hash.toLatin1() != hashPrevio_)
            parar(FallaAuditoria::Modificada, ordenPrevio_, idPrevio_);
        else if (pasadas_ < anclas_.size())
            pararEnAncla(FallaAuditoria::Borrada, ordenPrevio_ + 1, 0);
        return resultado_.value_or(VerificacionAuditoria{FallaAuditoria::Ninguna, filas_, 0, 0, 0,
                                                         static_cast<int>(pasadas_)});
    }
    int64_t ultimoId() const { return idPrevio_; }

private:
    bool parar(FallaAuditoria falla, int64_t orden, int64_t id) {
        resultado_ = VerificacionAuditoria{falla, filas_, orden, id, 0, static_cast<int>(pasadas_)};
        return false;
    }
    // The first anchor not passed is broken: a row since the last one passed was rewritten, or
    // the trail ends before it.
    bool pararEnAncla(FallaAuditoria falla, int64_t orden, int64_t id) {
        parar(falla, orden, id);
        resultado_->ancla = anclas_[pasadas_].texto();
        resultado_->desde = pasadas_ ? qMin(anclas_[pasadas_ - 1].orden + 1, orden) : 1;
        return false;
    }
    std::optional<AnclaAuditoria> cabeza_;
    QVector<AnclaAuditoria> anclas_;
    qsizetype pasadas_ = 0;
    int64_t filas_ = 0, ordenPrevio_ = 0, idPrevio_ = 0;
    QByteArray hashPrevio_;
    std::optional<VerificacionAuditoria> resultado_;
};

const char* const kColumnas =
    "id_auditoria, Orden, Fecha, Estacion, Usuario, Accion, Detalle, HashAnterior, Hash";

// On the file the dates are stored in the canonical form already, and one statement streams
// the rows as bytes: no value is made for a million cells.
void recorrerArchivo(Cadena& cadena) {
    sqlite3* db = Conexion.manejador();
    Conexion.contarSentencia();
    sqlite3_stmt* st = nullptr;
    const QByteArray sql =
        QByteArray("SELECT ") + kColumnas + " FROM Auditoria ORDER BY id_auditoria";
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
        throw ErrorBD::deSentencia(QString::fromUtf8(sqlite3_errmsg(db)), QString::fromLatin1(sql),
                                   CausaSqlite(db));
    const auto campo = [st](int c) {
        return QByteArrayView(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                              sqlite3_column_bytes(st, c));
    };
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW &&
           cadena.seguir(sqlite3_column_int64(st, 0), sqlite3_column_int64(st, 1), campo(2),
                         campo(3), campo(4), campo(5), campo(6), campo(7), campo(8)))
        ;
    const QString error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(st);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw ErrorBD::deSentencia(error, QString::fromLatin1(sql), CausaSqlite(db));
}

// On a server, a page at a time by key: the rows were added in the order of the chain.
void recorrerServidor(Cadena& cadena, int filasPorLectura) {
    for (;;) {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT TOP %1 %2 FROM Auditoria WHERE id_auditoria > %3 ORDER BY "
                               "id_auditoria")
                    .arg(filasPorLectura)
                    .arg(QLatin1String(kColumnas))
                    .arg(cadena.ultimoId()));
        if (rs.Eof())
            return;
        for (; !rs.Eof(); rs.MoveNext()) {
            const auto texto = [&rs](const char* c) {
                return rs.Fields(QLatin1String(c)).aTexto().toUtf8();
            };
            const QByteArray fecha = fechaCanonica(rs.Fields(QStringLiteral("Fecha")).aFecha())
                                         .toLatin1(),
                             estacion = texto("Estacion"), usuario = texto("Usuario"),
                             accion = texto("Accion"), detalle = texto("Detalle"),
                             anterior = texto("HashAnterior"), hash = texto("Hash");
            if (!cadena.seguir(rs.Fields(QStringLiteral("id_auditoria")).aEntero(),
                               rs.Fields(QStringLiteral("Orden")).aEntero(), fecha, estacion,
                               usuario, accion, detalle, anterior, hash))
                return;
        }
    }
}

// Asked of the catalogue first: a table dropped by hand is tampering to name, not a fault.
bool hayTabla(const QString& tabla) {
    if (Conexion.esServidor())
        return Conexion.servidor().crudas(QStringLiteral("SELECT to_regclass(%1) IS NOT NULL")
                                              .arg(Texto(tabla.toLower()))) ==
               QStringList{QStringLiteral("t")};
    Recordset rs;
    rs.Open(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name=") +
            Texto(tabla));
    return !rs.Eof();
}

// A trail can be empty only while nothing it records has happened yet.
bool hayTurnosOSalidas() {
    Recordset turnos, salidas;
    turnos.Open(QStringLiteral("SELECT TOP 1 id_turno FROM Turnos"));
    salidas.Open(QStringLiteral("SELECT TOP 1 id_salida FROM Salidas"));
    return !turnos.Eof() || !salidas.Eof();
}

} // namespace

QString HashAuditoria(const FilaAuditoria& f) {
    return QString::fromLatin1(hashCampos(
        f.orden, {fechaCanonica(f.fecha).toUtf8(), f.estacion.toUtf8(), f.usuario.toUtf8(),
                  f.accion.toUtf8(), f.detalle.toUtf8(), f.hashAnterior.toUtf8()}));
}

QString AnclaAuditoria::texto() const {
    return QString::number(orden) + QLatin1Char(':') + hash.left(16);
}

std::optional<AnclaAuditoria> AnclaActual() {
    Recordset cabeza;
    cabeza.Open(QStringLiteral("SELECT Orden, Hash FROM AuditoriaCabeza"));
    if (cabeza.Eof())
        return std::nullopt;
    return AnclaAuditoria{cabeza.Fields(QStringLiteral("Orden")).aEntero(),
                          cabeza.Fields(QStringLiteral("Hash")).aTexto()};
}

QString LineaAncla(const AnclaAuditoria& ancla) {
    return QStringLiteral("Ancla de auditoría: ") + ancla.texto();
}

std::optional<AnclaAuditoria> LeerAncla(const QString& texto) {
    static const QRegularExpression forma(QStringLiteral("^([0-9]{1,18}):([0-9a-fA-F]{16})$"));
    const QRegularExpressionMatch m = forma.match(texto.trimmed());
    const qlonglong orden = m.captured(1).toLongLong();
    if (!m.hasMatch() || orden < 1)
        return std::nullopt;
    return AnclaAuditoria{orden, m.captured(2).toLower()};
}

QString AnclaIncorrecta(const QString& texto) {
    return QStringLiteral("El ancla indicada no es correcta: %1 (escriba el número de fila, dos "
                          "puntos y los 16 dígitos del cierre impreso, por ejemplo "
                          "1234:0123456789abcdef)")
        .arg(texto);
}

AnclaAuditoria EscribirAuditoria(const QString& accion, const QString& detalle) {
    const std::optional<AnclaAuditoria> cabeza = AnclaActual();
    FilaAuditoria f;
    const bool primera = !cabeza;
    f.orden = primera ? 1 : cabeza->orden + 1;
    f.hashAnterior = primera ? QString() : cabeza->hash;
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
    return {f.orden, f.hash};
}

void InstalarAuditoria() {
    EstablecerAuditoria(EscribirAuditoria);
}

Cambio<> AuditarSolo(const QString& accion, const QString& detalle) {
    return EnTransaccion([&] {
        EscribirAuditoria(accion, detalle);
        return Hecho({});
    });
}

QString VerificacionAuditoria::mensaje() const {
    const QString fila = QStringLiteral("La fila %1 de la auditoría").arg(orden) +
                         (id ? QStringLiteral(" (registro %1)").arg(id) : QString());
    switch (falla) {
    case FallaAuditoria::Ninguna:
        return QStringLiteral("La auditoría está íntegra: %1 filas verificadas").arg(filas) +
               (anclas ? QStringLiteral("; anclas comprobadas: %1.").arg(anclas)
                       : QStringLiteral("."));
    case FallaAuditoria::Modificada:
        return fila + QStringLiteral(" fue modificada.");
    case FallaAuditoria::Borrada:
        return fila + (ancla.isEmpty() ? QStringLiteral(" fue borrada.")
                                       : QStringLiteral(" fue borrada: la auditoría ya no llega "
                                                        "al ancla %1.")
                                             .arg(ancla));
    case FallaAuditoria::Insertada:
        return fila + QStringLiteral(" fue insertada fuera de lugar.");
    case FallaAuditoria::Reescrita:
        return desde < orden ? QStringLiteral("Alguna fila de la %1 a la %2 de la auditoría fue "
                                              "reescrita: la fila %2 ya no coincide con el ancla "
                                              "%3.")
                                   .arg(desde)
                                   .arg(orden)
                                   .arg(ancla)
                             : fila + QStringLiteral(" fue reescrita: ya no coincide con el "
                                                     "ancla %1.")
                                          .arg(ancla);
    case FallaAuditoria::SinCabeza:
        return QStringLiteral("Falta la cabeza de la auditoría (la fila que nombra la última): "
                              "fue borrada.");
    case FallaAuditoria::Vaciada:
        return QStringLiteral("La auditoría está vacía pero la base de datos tiene turnos o "
                              "salidas: sus filas fueron borradas.");
    case FallaAuditoria::SinTabla:
        return QStringLiteral("Falta la tabla %1 de la auditoría: fue borrada.").arg(tabla);
    }
    return QString();
}

VerificacionAuditoria VerificarAuditoria(const QVector<AnclaAuditoria>& anclas,
                                         int filasPorLectura) {
    for (const QString& tabla : {QStringLiteral("Auditoria"), QStringLiteral("AuditoriaCabeza")})
        if (!hayTabla(tabla)) {
            VerificacionAuditoria v{FallaAuditoria::SinTabla};
            v.tabla = tabla;
            return v;
        }
    // One moment, the head read first: rows another station adds meanwhile are not part of this
    // check, so they are never taken for tampering.
    LecturaConsistente lectura;
    Cadena cadena(AnclaActual(), anclas);
    if (Conexion.esServidor())
        recorrerServidor(cadena, filasPorLectura);
    else
        recorrerArchivo(cadena);
    VerificacionAuditoria v = cadena.terminar();
    if (v.integra() && v.filas == 0 && hayTurnosOSalidas())
        v.falla = FallaAuditoria::Vaciada;
    return v;
}
