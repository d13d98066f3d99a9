#include "bd/servidor.h"

#include "bd/recordset.h"
#include "bd/tablas.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <cstdlib>
#include <libpq-fe.h>
#ifdef _WIN32
#include <winsock2.h>
#define poll WSAPoll
#else
#include <poll.h>
#endif

namespace {

// Type OIDs of the server's built-in types.
enum : Oid {
    kBool = 16,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kFloat4 = 700,
    kFloat8 = 701,
    kNumeric = 1700,
    kDate = 1082,
    kTimestamp = 1114
};

QString texto(const char* c) {
    return QString::fromUtf8(c ? c : "");
}

constexpr int kEsperaConexionMs = 10000;

void sinAvisos(void*, const char*) {}

// The server's SQLSTATE in a verbose connection error ("FATAL:  3D000: ..."; a code has a
// digit, a severity none); the last one, as libpq may have tried more than one way in.
QString estadoDeConexion(const QString& mensaje) {
    static const QRegularExpression estado(QStringLiteral(R"(\b(?=[A-Z]*[0-9])([0-9A-Z]{5}):\s)"));
    QString ultimo;
    for (auto m = estado.globalMatch(mensaje); m.hasNext();)
        ultimo = m.next().captured(1);
    return ultimo;
}

QString primeraLinea(const char* mensaje) {
    return texto(mensaje).trimmed().section(QLatin1Char('\n'), 0, 0);
}

// "yyyy-mm-dd hh:mm:ss" or "yyyy-mm-dd", as the server writes timestamps and dates.
QDateTime leerMomento(const char* t, int largo) {
    auto num = [t](int desde, int cifras) {
        int n = 0;
        for (int i = desde; i < desde + cifras; ++i)
            n = n * 10 + (t[i] - '0');
        return n;
    };
    const QDate fecha(num(0, 4), num(5, 2), num(8, 2));
    if (largo < 19)
        return QDateTime(fecha, QTime(0, 0), Qt::UTC);
    return QDateTime(fecha, QTime(num(11, 2), num(14, 2), num(17, 2)), Qt::UTC);
}

Valor leerCelda(PGresult* r, int fila, int col, Oid tipo, bool bandera) {
    if (PQgetisnull(r, fila, col))
        return Valor::nulo();
    const char* v = PQgetvalue(r, fila, col);
    switch (tipo) {
    case kBool:
        return Valor::bandera(v[0] == 't');
    case kInt2:
    case kInt4:
    case kInt8:
        if (bandera)
            return Valor::bandera(std::strtoll(v, nullptr, 10) != 0);
        return Valor::numero(static_cast<double>(std::strtoll(v, nullptr, 10)));
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return Valor::numero(std::strtod(v, nullptr));
    case kDate:
    case kTimestamp:
        return Valor::fecha(leerMomento(v, PQgetlength(r, fila, col)));
    default:
        return Valor::texto(QString::fromUtf8(v, PQgetlength(r, fila, col)));
    }
}

// The key an INSERT is asked to return, so the windows can read it back; empty for others.
QString claveDeInsercion(const QString& sql) {
    static const QRegularExpression insercion(QStringLiteral(R"(^\s*INSERT\s+INTO\s+(\w+))"),
                                              QRegularExpression::CaseInsensitiveOption);
    const auto m = insercion.match(sql);
    return m.hasMatch() ? ClaveDeTabla(m.captured(1)) : QString();
}

QString conRetorno(QString sql, const QString& clave) {
    int cola = sql.size();
    while (cola > 0 && (sql[cola - 1].isSpace() || sql[cola - 1] == QLatin1Char(';')))
        --cola;
    sql.truncate(cola);
    return sql + QLatin1String(" RETURNING ") + clave;
}

} // namespace

QString LeerConexionServidor(const QString& carpeta) {
    QFile archivo(carpeta + QLatin1String("/vialtor_servidor.cfg"));
    if (!archivo.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(archivo.readLine()).trimmed();
}

QString DescripcionServidor(const QString& conexion) {
    PQconninfoOption* opciones = PQconninfoParse(conexion.toUtf8().constData(), nullptr);
    PQconninfoOption* predeterminadas = PQconndefaults();
    auto valor = [&](const char* clave) {
        for (PQconninfoOption* o : {opciones, predeterminadas})
            for (; o && o->keyword; ++o)
                if (qstrcmp(o->keyword, clave) == 0 && o->val && *o->val)
                    return texto(o->val);
        return QString();
    };
    const QString usuario = valor("user");
    QString host = valor("host");
    if (host.isEmpty())
        host = valor("hostaddr");
    const QString base = valor("dbname");
    const QString descripcion = QStringLiteral("servidor %1:%2/%3")
                                    .arg(host.isEmpty() ? QStringLiteral("localhost") : host,
                                         valor("port"), base.isEmpty() ? usuario : base);
    PQconninfoFree(opciones);
    PQconninfoFree(predeterminadas);
    return descripcion;
}

CausaBD CausaPg(const QString& estado) {
    if (estado.startsWith(QLatin1String("08")) || estado == QLatin1String("3D000") ||
        estado.startsWith(QLatin1String("57P")))
        return CausaBD::NoExiste;
    if (estado == QLatin1String("53100"))
        return CausaBD::DiscoLleno;
    if (estado == QLatin1String("42501") || estado == QLatin1String("25006"))
        return CausaBD::SinPermiso;
    if (estado == QLatin1String("55P03") || estado == QLatin1String("40P01") ||
        estado == QLatin1String("40001"))
        return CausaBD::Ocupada;
    if (estado == QLatin1String("XX001") || estado == QLatin1String("XX002"))
        return CausaBD::Danada;
    return CausaBD::Otra;
}

ServidorPg::ServidorPg(const QString& conexion, int esperaMaximaMs) : conexion_(conexion) {
    const QByteArray cadena = conexion.toUtf8();
    const char* claves[] = {"connect_timeout", "dbname", "client_encoding", "application_name",
                            nullptr};
    const char* valores[] = {"10", cadena.constData(), "UTF8", "vialtor", nullptr};
    pg_ = PQconnectStartParams(claves, valores, 1);
    // Verbose errors carry the server's SQLSTATE, so the cause is told in any server language.
    PQsetErrorVerbosity(pg_, PQERRORS_VERBOSE);
    // A server's farewell or a warning would go to the program's standard error.
    PQsetNoticeProcessor(pg_, sinAvisos, nullptr);
    const bool aTiempo = esperarConexion();
    if (PQstatus(pg_) != CONNECTION_OK) {
        const QString mensaje = texto(PQerrorMessage(pg_));
        const QString estado = estadoDeConexion(mensaje);
        CausaBD causa = CausaBD::Otra;
        if (estado == QLatin1String("28P01") ||
            (estado.isEmpty() && PQconnectionNeedsPassword(pg_)))
            causa = CausaBD::ClaveRechazada;
        else if (estado == QLatin1String("28000"))
            causa = CausaBD::UsuarioRechazado;
        else if (estado == QLatin1String("3D000"))
            causa = CausaBD::SinBaseServidor;
        else if (estado.isEmpty() || estado == QLatin1String("57P03"))
            causa = CausaBD::SinServidor;
        const ErrorBD error = this->error(
            causa,
            aTiempo ? primeraLinea(mensaje.toUtf8().constData())
                    : QStringLiteral("sin respuesta en %1 segundos").arg(kEsperaConexionMs / 1000));
        PQfinish(pg_);
        pg_ = nullptr;
        throw error;
    }
    try {
        // Quoted date texts are read day first, as the windows write them. A backslash is a
        // plain character whatever the database says, as Texto() quotes for.
        const QString ajustes =
            QStringLiteral("SET standard_conforming_strings = on; SET datestyle = 'ISO, DMY'; "
                           "SET lock_timeout = %1")
                .arg(esperaMaximaMs);
        PQclear(exigir(PQexec(pg_, ajustes.toUtf8().constData()), ajustes));
        exigirBarrasLiterales();
    } catch (...) {
        PQfinish(pg_);
        pg_ = nullptr;
        throw;
    }
    PQsetErrorVerbosity(pg_, PQERRORS_DEFAULT);
}

// PQconnectPoll until connected or failed, within the connection's time limit (which only the
// blocking PQconnectdb keeps by itself). False when the time ran out.
bool ServidorPg::esperarConexion() {
    QElapsedTimer reloj;
    reloj.start();
    PostgresPollingStatusType estado = PGRES_POLLING_WRITING;
    while (PQstatus(pg_) != CONNECTION_BAD && estado != PGRES_POLLING_OK &&
           estado != PGRES_POLLING_FAILED) {
        const qint64 restante = kEsperaConexionMs - reloj.elapsed();
        if (restante <= 0)
            return false;
        pollfd espera{PQsocket(pg_),
                      static_cast<short>(estado == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
        if (::poll(&espera, 1, static_cast<int>(restante)) > 0)
            estado = PQconnectPoll(pg_);
    }
    return true;
}

ErrorBD ServidorPg::error(CausaBD causa, const QString& detalle) const {
    const QString servidor =
        pg_ ? texto(PQhost(pg_)) + QLatin1Char(':') + texto(PQport(pg_)) : QString();
    const QString base = pg_ ? texto(PQdb(pg_)) : QString();
    const QString usuario = pg_ ? texto(PQuser(pg_)) : QString();
    QString explicacion;
    switch (causa) {
    case CausaBD::SinServidor:
        explicacion = QStringLiteral("No hay respuesta del servidor de base de datos %1 (base de "
                                     "datos %2). Compruebe que el servidor esté encendido y que "
                                     "la dirección y el puerto sean correctos.");
        break;
    case CausaBD::ClaveRechazada:
        explicacion = QStringLiteral("El servidor de base de datos %1 no aceptó la contraseña del "
                                     "usuario %3 para la base de datos %2. Revise la contraseña "
                                     "en vialtor_servidor.cfg.");
        break;
    case CausaBD::UsuarioRechazado:
        explicacion = QStringLiteral("El servidor de base de datos %1 no admite al usuario %3 en "
                                     "la base de datos %2. Revise el usuario en "
                                     "vialtor_servidor.cfg.");
        break;
    case CausaBD::SinBaseServidor:
        explicacion = QStringLiteral("El servidor de base de datos %1 no tiene la base de datos "
                                     "%2. Revise el nombre de la base de datos en "
                                     "vialtor_servidor.cfg.");
        break;
    case CausaBD::SinTablas:
        explicacion = QStringLiteral("La base de datos %2 del servidor %1 no tiene las tablas del "
                                     "programa. Consulte al soporte técnico.");
        break;
    case CausaBD::ConexionPerdida:
        explicacion = QStringLiteral("Se perdió la conexión con el servidor de base de datos %1 "
                                     "(base de datos %2); no se guardó nada de la operación. "
                                     "Vuelva a intentarlo.");
        break;
    default:
        explicacion = QStringLiteral("No se puede conectar con el servidor de base de datos %1 "
                                     "(base de datos %2). Consulte al soporte técnico.");
        break;
    }
    const QString mensaje = causa == CausaBD::ConexionPerdida
                                ? QStringLiteral("Se perdió la conexión con el servidor")
                                : QStringLiteral("No se puede conectar con el servidor");
    return ErrorBD::conExplicacion(mensaje, descripcion() + QLatin1String(": ") + detalle, causa,
                                   explicacion.replace(QLatin1String("%3"), usuario)
                                       .replace(QLatin1String("%2"), base)
                                       .replace(QLatin1String("%1"), servidor));
}

bool ServidorPg::comprobar() {
    // The second read finds the end of a connection whose farewell message the first one took.
    for (int lectura = 0; lectura < 2 && viva(); ++lectura)
        if (PQconsumeInput(pg_))
            PQisBusy(pg_);
    return viva();
}

ServidorPg::~ServidorPg() {
    if (pg_)
        PQfinish(pg_);
}

bool ServidorPg::viva() const {
    return pg_ && PQstatus(pg_) == CONNECTION_OK;
}

QString ServidorPg::descripcion() const {
    if (!pg_)
        return QStringLiteral("servidor");
    return QStringLiteral("servidor %1:%2/%3")
        .arg(texto(PQhost(pg_)), texto(PQport(pg_)), texto(PQdb(pg_)));
}

// Texto() doubles quotes only: where a backslash escapes, a text ending in one would end its
// literal early and the next text would run as SQL. Nothing is sent on such a connection.
void ServidorPg::exigirBarrasLiterales() {
    if (qstrcmp(PQparameterStatus(pg_, "standard_conforming_strings"), "on") != 0)
        throw ErrorBD(QStringLiteral("El servidor de base de datos trata la barra invertida de "
                                     "los textos como escape y no se le envía nada"),
                      descripcion() + QLatin1String(": standard_conforming_strings=off"));
}

PGresult* ServidorPg::exigir(PGresult* r, const QString& sentencia) {
    const ExecStatusType estado = PQresultStatus(r);
    if (r && (estado == PGRES_COMMAND_OK || estado == PGRES_TUPLES_OK))
        return r;
    const QString codigo = texto(PQresultErrorField(r, PG_DIAG_SQLSTATE));
    const char* primario = r ? PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    const QString mensaje = primeraLinea(primario ? primario : PQerrorMessage(pg_));
    PQclear(r);
    // A server gone away took its transaction with it.
    if (PQstatus(pg_) != CONNECTION_OK || CausaPg(codigo) == CausaBD::NoExiste)
        throw error(CausaBD::ConexionPerdida, mensaje);
    throw ErrorBD::deSentencia(mensaje, sentencia, CausaPg(codigo));
}

QStringList ServidorPg::nombresDe(PGresult* r) const {
    const int n = PQnfields(r);
    QStringList nombres, tablas;
    for (int c = 0; c < n; ++c) {
        const auto info = columnas_.constFind((static_cast<quint64>(PQftable(r, c)) << 16) |
                                              static_cast<quint64>(PQftablecol(r, c)));
        const bool deTabla = info != columnas_.constEnd() &&
                             info->columna.compare(texto(PQfname(r, c)), Qt::CaseInsensitive) == 0;
        nombres << (deTabla ? info->columna : NombreEsquema(texto(PQfname(r, c))));
        tablas << (deTabla ? info->tabla : QString());
    }
    // A name two tables share reads "Table.column", as Jet's SELECT * gives it.
    QStringList resultado = nombres;
    for (int c = 0; c < n; ++c)
        if (!tablas[c].isEmpty() && nombres.count(nombres[c]) > 1)
            resultado[c] = tablas[c] + QLatin1Char('.') + nombres[c];
    return resultado;
}

void ServidorPg::consultar(const QString& sql, const QString& jet, QStringList& nombres,
                           QVector<Valor>& celdas) {
    const QString clave = claveDeInsercion(sql);
    const QByteArray utf8 = (clave.isEmpty() ? sql : conRetorno(sql, clave)).toUtf8();
    exigirBarrasLiterales();
    // Without parameters the server still runs one statement only, never a second one.
    PGresult* r =
        exigir(PQexecParams(pg_, utf8.constData(), 0, nullptr, nullptr, nullptr, nullptr, 0), jet);
    filasAfectadas_ = QByteArray(PQcmdTuples(r)).toLongLong();
    const int filas = PQntuples(r);
    if (!clave.isEmpty()) {
        if (filas > 0)
            ultimoId_ = std::strtoll(PQgetvalue(r, filas - 1, 0), nullptr, 10);
        PQclear(r);
        return;
    }
    nombres = nombresDe(r);
    const int n = PQnfields(r);
    QVector<Oid> tipos(n);
    QVector<bool> banderas(n);
    for (int c = 0; c < n; ++c) {
        tipos[c] = PQftype(r, c);
        banderas[c] = columnas_
                          .value((static_cast<quint64>(PQftable(r, c)) << 16) |
                                 static_cast<quint64>(PQftablecol(r, c)))
                          .bandera;
    }
    celdas.reserve(filas * n);
    for (int f = 0; f < filas; ++f)
        for (int c = 0; c < n; ++c)
            celdas.append(leerCelda(r, f, c, tipos[c], banderas[c]));
    PQclear(r);
}

void ServidorPg::ejecutar(const QString& sql) {
    exigirBarrasLiterales();
    PGresult* r = PQexec(pg_, sql.toUtf8().constData());
    // PQexec keeps only the last result: an earlier failure ends the whole text with it.
    PQclear(exigir(r, sql));
}

bool ServidorPg::confirmar() {
    PGresult* r = exigir(PQexec(pg_, "COMMIT"), QStringLiteral("COMMIT"));
    const bool confirmada = qstrcmp(PQcmdStatus(r), "COMMIT") == 0;
    PQclear(r);
    return confirmada;
}

QStringList ServidorPg::crudas(const QString& sql) {
    exigirBarrasLiterales();
    PGresult* r = exigir(PQexec(pg_, sql.toUtf8().constData()), sql);
    QStringList filas;
    for (int f = 0; f < PQntuples(r); ++f) {
        QStringList fila;
        for (int c = 0; c < PQnfields(r); ++c)
            fila << texto(PQgetvalue(r, f, c));
        filas << fila.join(QLatin1Char('|'));
    }
    PQclear(r);
    return filas;
}

void ServidorPg::fijarEsperaMaxima(int ms) {
    if (viva())
        PQclear(PQexec(pg_, QStringLiteral("SET lock_timeout = %1").arg(ms).toUtf8().constData()));
}

void ServidorPg::leerColumnas() {
    columnas_.clear();
    const QStringList filas = crudas(
        QStringLiteral("SELECT a.attrelid, a.attnum, c.relname, a.attname, t.typname = 'yesno' "
                       "FROM pg_attribute a JOIN pg_class c ON c.oid = a.attrelid "
                       "JOIN pg_type t ON t.oid = a.atttypid "
                       "WHERE c.relnamespace = current_schema()::regnamespace AND c.relkind = 'r' "
                       "AND a.attnum > 0 AND NOT a.attisdropped"));
    for (const QString& fila : filas) {
        const QStringList f = fila.split(QLatin1Char('|'));
        columnas_.insert(
            (f[0].toULongLong() << 16) | f[1].toULongLong(),
            {NombreEsquema(f[2]), NombreColumna(f[2], f[3]), f[4] == QLatin1String("t")});
    }
}
