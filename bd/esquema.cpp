#include "bd/esquema.h"

#include "bd/claves.h"
#include "bd/conexion.h"
#include "bd/recordset.h"
#include "bd/servidor.h"
#include "bd/sql.h"
#include "bd/tablas.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <sqlite3.h>

namespace {

const char* const kIndices[][2] = {
    {"Usuarios", "usuario"},       {"Tarifas", "DescrTarifa"},
    {"Entradas", "Placa"},         {"Entradas", "FechaEntrada"},
    {"Salidas", "Placa"},          {"Salidas", "FechaSalida"},
    {"Salidas", "FechaEntrada"},   {"Clientes", "Placa"},
    {"FechaPago", "id_cliente"},   {"Pagos", "id_fecha_pago"},
    {"Pagos", "FechaPago"},        {"Exentos", "PlacaExento"},
    {"Cierres", "FechaIni"},       {"FranjasTarifas", "id_tarifa"},
    {"ItemsSalidas", "id_salida"}, {"MovimientosTurno", "id_turno"},
    {"Turnos", "Apertura"},        {"SalidasEntrada", "id_entrada"},
};

QString definicionColumna(const ColumnaEsquema& c) {
    const QString n = QLatin1String(c.nombre);
    switch (c.clase) {
    case ClaseColumna::Texto:
        return n + QLatin1String(" TEXT COLLATE JET");
    case ClaseColumna::Fecha:
        return n + QLatin1String(" DATETIME");
    case ClaseColumna::Bandera:
        return n + QLatin1String(" YESNO");
    case ClaseColumna::Entero:
    case ClaseColumna::Monto:
        // A quoted number becomes a number; anything else is refused, never kept as text.
        return n + QLatin1String(c.clase == ClaseColumna::Entero ? " INTEGER" : " NUMERIC") +
               QStringLiteral(" CHECK (typeof(%1) IN ('integer','real','null'))").arg(n);
    }
    return n;
}

// Dates and flags are normalised after every write, since SQLite cannot rewrite NEW.
QStringList disparadores(const TablaEsquema& t, int version) {
    QStringList asignaciones, nombres;
    for (const ColumnaEsquema& c : t.columnas) {
        if (c.desde > version)
            continue;
        const QString n = QLatin1String(c.nombre);
        if (c.clase == ClaseColumna::Fecha)
            asignaciones << QStringLiteral("%1=jet_fecha(%1)").arg(n);
        else if (c.clase == ClaseColumna::Bandera)
            asignaciones << QStringLiteral("%1=jet_bandera(%1)").arg(n);
        else
            continue;
        nombres << n;
    }
    if (asignaciones.isEmpty())
        return {};
    const QString cuerpo = QStringLiteral("BEGIN UPDATE %1 SET %2 WHERE %3=NEW.%3; END")
                               .arg(QLatin1String(t.nombre), asignaciones.join(QLatin1Char(',')),
                                    QLatin1String(t.clave));
    return {QStringLiteral("CREATE TRIGGER %1_normalizar_ins AFTER INSERT ON %1 ")
                    .arg(QLatin1String(t.nombre)) +
                cuerpo,
            QStringLiteral("CREATE TRIGGER %1_normalizar_upd AFTER UPDATE OF %2 ON %1 ")
                    .arg(QLatin1String(t.nombre), nombres.join(QLatin1Char(','))) +
                cuerpo};
}

QString tipoServidor(const ColumnaEsquema& c) {
    const QString n = QLatin1String(c.nombre);
    switch (c.clase) {
    case ClaseColumna::Texto:
        return n + QLatin1String(" text COLLATE jet");
    case ClaseColumna::Fecha:
        return n + QStringLiteral(" timestamp(0) CHECK (isfinite(%1))").arg(n);
    case ClaseColumna::Bandera:
        return n + QLatin1String(" yesno");
    case ClaseColumna::Entero:
        return n + QLatin1String(" bigint");
    case ClaseColumna::Monto:
        return n + QLatin1String(" numeric");
    }
    return n;
}

// Any number but 0 is true, kept as -1 so that true sorts first.
QStringList banderasServidor(const TablaEsquema& t, int version, bool reemplazar = false) {
    QStringList asignaciones;
    for (const ColumnaEsquema& c : t.columnas)
        if (c.clase == ClaseColumna::Bandera && c.desde <= version)
            asignaciones << QStringLiteral(
                                "NEW.%1 := CASE WHEN NEW.%1 <> 0 THEN -1 ELSE NEW.%1 END;")
                                .arg(QLatin1String(c.nombre));
    if (asignaciones.isEmpty())
        return {};
    const QString t_ = QLatin1String(t.nombre);
    return {QStringLiteral("CREATE %3FUNCTION %1_banderas() RETURNS trigger LANGUAGE plpgsql AS "
                           "$$BEGIN %2 RETURN NEW; END$$")
                .arg(t_, asignaciones.join(QLatin1Char(' ')),
                     QLatin1String(reemplazar ? "OR REPLACE " : "")),
            QStringLiteral("DROP TRIGGER IF EXISTS %1_banderas ON %1").arg(t_),
            QStringLiteral("CREATE TRIGGER %1_banderas BEFORE INSERT OR UPDATE ON %1 FOR EACH ROW "
                           "EXECUTE FUNCTION %1_banderas()")
                .arg(t_)};
}

const char* const kBaseServidor[] = {
    "CREATE COLLATION jet (provider = icu, locale = 'es-u-ks-level2', deterministic = false)",
    "CREATE DOMAIN yesno AS smallint",
    // LIKE cannot use a collation that ignores case: both sides are lowered instead, and the
    // backslash is no escape, as in Jet.
    "CREATE FUNCTION jet_parecido(a text, b text) RETURNS boolean LANGUAGE sql IMMUTABLE STRICT "
    "AS $$SELECT lower(a COLLATE \"und-x-icu\") LIKE lower(b COLLATE \"und-x-icu\") ESCAPE ''$$",
    "CREATE FUNCTION jet_no_parecido(a text, b text) RETURNS boolean LANGUAGE sql IMMUTABLE "
    "STRICT AS $$SELECT NOT jet_parecido(a, b)$$",
    "CREATE OPERATOR ~~~ (LEFTARG = text, RIGHTARG = text, FUNCTION = jet_parecido)",
    "CREATE OPERATOR !~~~ (LEFTARG = text, RIGHTARG = text, FUNCTION = jet_no_parecido)",
    "CREATE TABLE vialtor_esquema (version integer NOT NULL)",
};

// The tables a version adds, with their triggers and indexes.
QStringList tablasDe(int version, DestinoSql destino) {
    const bool pg = destino == DestinoSql::Postgres;
    QStringList sentencias, nuevas;
    for (const TablaEsquema& t : Tablas()) {
        if (t.desde != version)
            continue;
        nuevas << QLatin1String(t.nombre);
        QStringList columnas{
            QLatin1String(t.clave) +
            QLatin1String(pg ? " bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"
                             : " INTEGER PRIMARY KEY AUTOINCREMENT")};
        for (const ColumnaEsquema& c : t.columnas)
            if (c.desde <= version)
                columnas << (pg ? tipoServidor(c) : definicionColumna(c));
        sentencias << QStringLiteral("CREATE TABLE %1 (%2)")
                          .arg(QLatin1String(t.nombre), columnas.join(QStringLiteral(", ")));
        sentencias << (pg ? banderasServidor(t, version) : disparadores(t, version));
    }
    // Columns added to older tables: false, zero or empty in the rows already there. Their
    // table's normalising triggers are made again to cover them.
    for (const TablaEsquema& t : Tablas()) {
        if (t.desde >= version)
            continue;
        bool normalizar = false;
        for (const ColumnaEsquema& c : t.columnas) {
            if (c.desde != version)
                continue;
            sentencias << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2%3")
                              .arg(QLatin1String(t.nombre),
                                   pg ? tipoServidor(c) : definicionColumna(c),
                                   QLatin1String(c.clase == ClaseColumna::Bandera ? " DEFAULT 0"
                                                                                  : ""));
            normalizar =
                normalizar || c.clase == ClaseColumna::Bandera || c.clase == ClaseColumna::Fecha;
        }
        if (!normalizar)
            continue;
        if (pg) {
            sentencias << banderasServidor(t, version, true);
        } else {
            for (const char* cuando : {"ins", "upd"})
                sentencias << QStringLiteral("DROP TRIGGER IF EXISTS %1_normalizar_%2")
                                  .arg(QLatin1String(t.nombre), QLatin1String(cuando));
            sentencias << disparadores(t, version);
        }
    }
    for (const auto& indice : kIndices)
        if (nuevas.contains(QLatin1String(indice[0])))
            sentencias << QStringLiteral("CREATE INDEX idx_%1_%2 ON %1 (%2)")
                              .arg(QLatin1String(indice[0]), QLatin1String(indice[1]));
    return sentencias;
}

// Passwords kept as typed become hashes; one that is a hash already stays as it is.
void cifrarClaves(const ConsultaEsquema& consultar) {
    for (const QStringList& fila :
         consultar(QStringLiteral("SELECT id_usuario, pwd FROM Usuarios WHERE pwd IS NOT NULL")))
        if (!EsClaveCifrada(fila.at(1)))
            consultar(QStringLiteral("UPDATE Usuarios SET pwd = %1 WHERE id_usuario = %2")
                          .arg(Texto(CifrarClave(fila.at(1))), fila.at(0)));
}

// Version 1: the server's collation, types and operators, the version table, and the tables.
QStringList base(DestinoSql destino) {
    QStringList sentencias;
    if (destino == DestinoSql::Postgres)
        for (const char* s : kBaseServidor)
            sentencias << QLatin1String(s);
    return sentencias + tablasDe(1, destino);
}

// The schema's versions, oldest first. A database of version v runs every step above v, each in
// a transaction of its own that also records its version; a station's file is copied to
// vialtor.mdb.vV beside it before the first. To add a table: put it in the table list
// (bd/tablas.cpp) with `desde = N` (the next version) and add `{N, [](DestinoSql d) { return
// tablasDe(N, d); }}`; a column to an older table likewise, with its `desde = N`. Anything else
// (moving data) is a step with its statements for both dialects, or with its work on rows when a
// value must be computed for each.
const std::vector<PasoEsquema> kPasos = {
    {1, base},
    // The sales summary and the search's totals read only these columns of a period's exits:
    // the index alone answers them, without a visit to a million rows of the table.
    {2,
     [](DestinoSql) {
         return QStringList{
             QStringLiteral("DROP INDEX idx_Salidas_FechaSalida"),
             QStringLiteral("CREATE INDEX idx_Salidas_FechaSalida_IVA_Cobrado ON Salidas "
                            "(FechaSalida, IVA, Cobrado)")};
     }},
    // A rate's rules, the items of an exit's charge, and the lost-ticket flag of an exit.
    {3, [](DestinoSql d) { return tablasDe(3, d); }},
    // Cashiers' shifts and the audit trail. A shift's number is never given twice at a station.
    {4,
     [](DestinoSql d) {
         return tablasDe(4, d) << QStringLiteral("CREATE UNIQUE INDEX idx_Turnos_Estacion_Numero "
                                                 "ON Turnos (Estacion, Numero)")
                               << QStringLiteral("CREATE INDEX idx_Auditoria_Orden ON Auditoria "
                                                 "(Orden)");
     }},
    // The key is drawn by the engine itself, so it appears in no statement text or log.
    {5,
     [](DestinoSql d) {
         return tablasDe(5, d) << QStringLiteral("INSERT INTO ClaveTicket (Clave) VALUES (%1)")
                                      .arg(d == DestinoSql::Postgres
                                               ? QLatin1String("replace(gen_random_uuid()::text || "
                                                               "gen_random_uuid()::text || "
                                                               "gen_random_uuid()::text, '-', '')")
                                               : QLatin1String("lower(hex(randomblob(32)))"));
     }},
    // Passwords are kept as salted hashes from here on.
    {6, [](DestinoSql) { return QStringList(); }, cifrarClaves},
    // A searched %, _ or [ is written between brackets, as Jet matches it as itself; the server's
    // LIKE learns that one-character bracket (any character but a backslash), as the file's
    // function knows it.
    {7,
     [](DestinoSql d) {
         return d == DestinoSql::Postgres
                    ? QStringList{QStringLiteral(
                          "CREATE OR REPLACE FUNCTION jet_parecido(a text, b text) RETURNS "
                          "boolean LANGUAGE sql IMMUTABLE STRICT AS $$SELECT lower(a COLLATE "
                          "\"und-x-icu\") LIKE regexp_replace(replace(lower(b COLLATE "
                          "\"und-x-icu\"), '\\', '\\\\'), '\\[([^\\\\])\\]', '\\\\\\1', "
                          "'g') ESCAPE '\\'$$")}
                    : QStringList();
     }},
    // A rate's free period: minutes at the start of every stay that are not charged.
    {8, [](DestinoSql d) { return tablasDe(8, d); }},
    // A rate's weekly cap, per 7 days from the entry.
    {9, [](DestinoSql d) { return tablasDe(9, d); }},
    // A rate's first block: its first minutes at a flat price.
    {10, [](DestinoSql d) { return tablasDe(10, d); }},
    // A rate's price tiers, and what a stay pays per day beyond the last one.
    {11,
     [](DestinoSql d) {
         return tablasDe(11, d) << QStringLiteral(
                    "CREATE INDEX idx_TramosTarifas_id_tarifa ON TramosTarifas (id_tarifa)");
     }},
    // A band's maximum each time the stay is inside it.
    {12, [](DestinoSql d) { return tablasDe(12, d); }},
    // A rate's entry-time flats.
    {13,
     [](DestinoSql d) {
         return tablasDe(13, d) << QStringLiteral(
                    "CREATE INDEX idx_TarifasPlanas_id_tarifa ON TarifasPlanas (id_tarifa)");
     }},
    // The owner's figures read a year of exits by exit time and by entry time: the indexes hold
    // every column they sum, so neither reads the table. The exit-time one keeps the sales
    // summary's columns first.
    {14,
     [](DestinoSql) {
         return QStringList{
             QStringLiteral("DROP INDEX idx_Salidas_FechaSalida_IVA_Cobrado"),
             QStringLiteral("CREATE INDEX idx_Salidas_FechaSalida_Cifras ON Salidas (FechaSalida, "
                            "IVA, Cobrado, FechaEntrada, DescrTarifa, id_tarifa, TicketPerdido)"),
             QStringLiteral("DROP INDEX idx_Salidas_FechaEntrada"),
             QStringLiteral("CREATE INDEX idx_Salidas_FechaEntrada_FechaSalida ON Salidas "
                            "(FechaEntrada, FechaSalida)")};
     }},
    // The owner's revenue per rate and day: each rate's exits of a day are one range of this
    // index, so no engine sorts a year of exits to group them.
    {15,
     [](DestinoSql) {
         return QStringList{QStringLiteral("CREATE INDEX idx_Salidas_DescrTarifa_FechaSalida ON "
                                           "Salidas (DescrTarifa, FechaSalida, IVA, Cobrado)")};
     }},
};

std::vector<PasoEsquema> pasosFijados;

ErrorBD versionMasNueva(int version) {
    return ErrorBD::conExplicacion(
        QStringLiteral("La base de datos es de una versión más nueva del programa"),
        QStringLiteral("versión %1, este programa llega a la %2")
            .arg(version)
            .arg(VersionEsquema()),
        CausaBD::Otra,
        QStringLiteral("La base de datos es de una versión más nueva del programa (versión %1; "
                       "este programa llega a la %2). Instale en esta estación la versión del "
                       "programa que usan las demás.")
            .arg(version)
            .arg(VersionEsquema()));
}

int versionActual(sqlite3* db) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &st, nullptr) != SQLITE_OK ||
        sqlite3_step(st) != SQLITE_ROW) {
        const QString detalle = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(st);
        throw ErrorBD(QStringLiteral("El archivo no es una base de datos válida"), detalle,
                      CausaSqlite(db));
    }
    const int version = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    return version;
}

// The caller holds the write lock, so no station is writing the file: its bytes are a whole
// database. Written beside under another name and put in place when complete.
void copiarAntesDeActualizar(sqlite3* db, int version) {
    const QString ruta = QString::fromUtf8(sqlite3_db_filename(db, "main"));
    if (ruta.isEmpty())
        return;
    const QString copia = ruta + QStringLiteral(".v%1").arg(version);
    const QString provisional = copia + QLatin1String(".nueva");
    QFile::remove(provisional);
    QFile origen(ruta);
    bool hecha = origen.copy(provisional) &&
                 QFile::setPermissions(provisional, QFile::ReadOwner | QFile::WriteOwner);
    if (hecha && QFile::exists(copia))
        hecha = QFile::remove(copia);
    if (!hecha || !QFile::rename(provisional, copia)) {
        QFile::remove(provisional);
        throw ErrorBD(QStringLiteral("No se puede copiar la base de datos antes de actualizarla"),
                      copia + QLatin1String(": ") + origen.errorString());
    }
}

// A step's statements on rows, on the file.
QVector<QStringList> consultarArchivo(sqlite3* db, const QString& sql) {
    sqlite3_stmt* st = nullptr;
    QVector<QStringList> filas;
    int rc = sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        QStringList campos;
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
            const auto* texto = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
            campos << QString::fromUtf8(texto, sqlite3_column_bytes(st, c));
        }
        filas << campos;
        rc = SQLITE_OK;
    }
    const QString error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        throw ErrorBD::deSentencia(error, sql, CausaSqlite(db));
    return filas;
}

} // namespace

const std::vector<PasoEsquema>& PasosEsquema() {
    return pasosFijados.empty() ? kPasos : pasosFijados;
}

int VersionEsquema() {
    return PasosEsquema().back().version;
}

void FijarPasosEsquema(std::vector<PasoEsquema> pasos) {
    pasosFijados = std::move(pasos);
}

void ActualizarEsquema(sqlite3* db) {
    int version = versionActual(db);
    if (version == VersionEsquema())
        return;
    if (version > VersionEsquema())
        throw versionMasNueva(version);
    // A new file has nothing to keep.
    bool copiada = version == 0;
    for (const PasoEsquema& paso : PasosEsquema()) {
        if (paso.version <= version)
            continue;
        EjecutarDirecto(db, "BEGIN IMMEDIATE");
        try {
            // Read again under the lock: another station may have upgraded meanwhile.
            version = versionActual(db);
            if (version > VersionEsquema())
                throw versionMasNueva(version);
            if (version < paso.version) {
                if (!copiada)
                    copiarAntesDeActualizar(db, version);
                copiada = true;
                for (const QString& s : paso.sentencias(DestinoSql::Sqlite))
                    EjecutarDirecto(db, s.toUtf8().constData());
                if (paso.filas)
                    paso.filas([db](const QString& sql) { return consultarArchivo(db, sql); });
                EjecutarDirecto(db, QStringLiteral("PRAGMA user_version=%1")
                                        .arg(paso.version)
                                        .toUtf8()
                                        .constData());
            }
            EjecutarDirecto(db, "COMMIT");
        } catch (...) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }
}

void CrearEsquemaServidor(ServidorPg& servidor) {
    QStringList sentencias;
    for (const PasoEsquema& paso : PasosEsquema())
        sentencias << paso.sentencias(DestinoSql::Postgres);
    sentencias << QStringLiteral("INSERT INTO vialtor_esquema VALUES (%1)").arg(VersionEsquema());
    servidor.ejecutar(sentencias.join(QLatin1String(";\n")));
    servidor.leerColumnas();
}

namespace {

QVector<QStringList> consultarServidor(ServidorPg& servidor, const QString& sql) {
    QStringList nombres;
    QVector<Valor> celdas;
    servidor.consultar(sql, sql, nombres, celdas);
    QVector<QStringList> filas;
    for (int i = 0; i < celdas.size(); ++i) {
        if (i % nombres.size() == 0)
            filas.append(QStringList());
        filas.last() << celdas.at(i).aTexto();
    }
    return filas;
}

int versionServidor(ServidorPg& servidor) {
    const bool hay =
        servidor.crudas(QStringLiteral("SELECT to_regclass('vialtor_esquema') IS NOT NULL")) ==
        QStringList{QStringLiteral("t")};
    return hay ? servidor.crudas(QStringLiteral("SELECT max(version) FROM vialtor_esquema"))
                     .value(0)
                     .toInt()
               : 0;
}

} // namespace

void ComprobarEsquemaServidor(ServidorPg& servidor) {
    int version = versionServidor(servidor);
    if (version < 1)
        throw servidor.error(CausaBD::SinTablas, QStringLiteral("sin las tablas del programa"));
    for (const PasoEsquema& paso : PasosEsquema()) {
        if (paso.version <= version)
            continue;
        // Under the write lock, so no station writes meanwhile; read again under it, since
        // another station may have upgraded first.
        servidor.ejecutar(
            QStringLiteral("BEGIN; SELECT pg_advisory_xact_lock(%1)").arg(ClaveBloqueoEscritura));
        try {
            version = versionServidor(servidor);
            if (version > VersionEsquema())
                throw versionMasNueva(version);
            if (version < paso.version) {
                servidor.ejecutar(
                    (paso.sentencias(DestinoSql::Postgres)
                     << QStringLiteral("UPDATE vialtor_esquema SET version = %1").arg(paso.version))
                        .join(QLatin1String(";\n")));
                if (paso.filas)
                    paso.filas([&servidor](const QString& sql) {
                        return consultarServidor(servidor, sql);
                    });
            }
            if (!servidor.confirmar())
                throw ErrorBD(QStringLiteral("Error de base de datos"),
                              QStringLiteral("el servidor deshizo la actualización a la versión %1")
                                  .arg(paso.version));
        } catch (...) {
            if (servidor.viva())
                try {
                    servidor.ejecutar(QStringLiteral("ROLLBACK"));
                } catch (const ErrorBD&) {
                    // The connection went with the transaction.
                }
            throw;
        }
        version = qMax(version, paso.version);
    }
    if (version > VersionEsquema())
        throw versionMasNueva(version);
    servidor.leerColumnas();
}
