#include "reportes/tablero.h"

#include "bd/conexion.h"
#include "bd/recordset.h"
#include "bd/sql.h"

#include <QTimeZone>
#include <algorithm>

namespace {

struct Consultas {
    QString inicio;
    QString fin;

    // The column within the period, both bounds included.
    QString entre(const char* columna) const {
        return QStringLiteral("%1 >= %2 AND %1 <= %3").arg(QLatin1String(columna), inicio, fin);
    }
};

// The stored local time's first `largo` characters, "yyyy-mm-dd" for its day, alike on both
// engines (the server writes its timestamps in ISO form).
QString prefijo(const QString& columna, int largo) {
    return QStringLiteral("SUBSTR(CAST(%1 AS TEXT), 1, %2)").arg(columna).arg(largo);
}

// Real seconds of a stay: its wall-clock seconds, less each change of summer time it crossed
// (a stored time is local and carries no offset). Changes up to a year before the period count.
QString segundosReales(const PeriodoInforme& periodo) {
    QString segundos = Conexion.esServidor()
                           ? QStringLiteral("CAST(EXTRACT(EPOCH FROM FechaSalida - FechaEntrada) "
                                            "AS BIGINT)")
                           : QStringLiteral("(unixepoch(FechaSalida) - unixepoch(FechaEntrada))");
    const QTimeZone zona = QTimeZone::systemTimeZone();
    for (const QTimeZone::OffsetData& cambio :
         zona.transitions(periodo.inicio.addYears(-1), periodo.fin)) {
        const int antes = zona.offsetFromUtc(cambio.atUtc.addSecs(-1));
        const int salto = cambio.offsetFromUtc - antes;
        // The wall clock's fields on each side of the change, as a stored time reads them.
        const auto pared = [&cambio](int desfase) {
            const QDateTime utc = cambio.atUtc.toUTC().addSecs(desfase);
            return LiteralFechaHora(QDateTime(utc.date(), utc.time(), Qt::UTC));
        };
        if (salto != 0)
            segundos += QStringLiteral(" - CASE WHEN FechaEntrada < %1 AND FechaSalida >= %2 THEN "
                                       "%3 ELSE 0 END")
                            .arg(pared(antes), pared(cambio.offsetFromUtc))
                            .arg(salto);
    }
    return QLatin1Char('(') + segundos + QLatin1Char(')');
}

// A stay with both times in their order; others hold no vehicle at any instant.
const QString kEstanciaValida = QStringLiteral(" AND FechaEntrada <= FechaSalida");
// The sales summary's sum: a taxed exit counts only when it charged something.
const QString kCobradoComoResumen =
    QStringLiteral("((IVA IS NOT NULL AND Cobrado > 0) OR IVA IS NULL)");

int64_t entero(const Recordset& rs, const char* campo) {
    return rs.Fields(QLatin1String(campo)).aEntero();
}

// Entries count from their instant, exits no longer at theirs; `entre` is the condition on a
// time column (%1), the events' span.
QString eventos(const QString& entre) {
    const QString entrada = entre.arg(QStringLiteral("FechaEntrada"));
    return QStringLiteral("SELECT FechaEntrada AS t, 1 AS d FROM Entradas WHERE %1 UNION ALL "
                          "SELECT FechaEntrada, 1 FROM Salidas WHERE %1%3 UNION ALL SELECT "
                          "FechaSalida, -1 FROM Salidas WHERE %2%3")
        .arg(entrada, entre.arg(QStringLiteral("FechaSalida")), kEstanciaValida);
}

int64_t ocupacionAlInicio(const Consultas& q) {
    // The exits' bound on both sides steers SQLite to the exit-time index: the exits after the
    // start are few beside every entry before it.
    Recordset rs;
    rs.Open(
        QStringLiteral("SELECT (SELECT COUNT(*) FROM Entradas WHERE FechaEntrada <= %1) + "
                       "(SELECT COUNT(*) FROM Salidas WHERE FechaEntrada <= %1 AND "
                       "FechaSalida > %1 AND FechaSalida <= %2) AS n")
            .arg(q.inicio, LiteralFechaHora(QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)))));
    return entero(rs, "n");
}

QDateTime inicioDeSuHora(const QDateTime& momento) {
    return QDateTime(momento.date(), QTime(momento.time().hour(), 0));
}

// The highest count is the one at the start, unless the period's events raised it by `pico`
// at `instante`.
void anotarPico(int64_t pico, const QDateTime& instante, int64_t alInicio, Tablero& t) {
    t.cifras.ocupacionMax = alInicio + std::max<int64_t>(0, pico);
    t.cifras.ocupacionMaxHora = inicioDeSuHora(pico > 0 ? instante : t.periodo.inicio);
}

// A moment as the wall clock reads it, with no zone: arithmetic on it never meets summer time.
QDateTime pared(const QDateTime& momento) {
    return QDateTime(momento.date(), momento.time(), Qt::UTC);
}

// The period cut at the start of every wall-clock hour, or day, in it: stretch 0 from the
// period's start, the last up to a second past its end (stored times have whole seconds). The
// engine makes the rows, so a year's hours are no statement text.
struct Tramos {
    QDateTime inicio;  // the period's start
    QDateTime primero; // the first cut after it
    QDateTime fin;     // a second past the period's end
    int horas;         // between cuts
    int cuantos;

    Tramos(const PeriodoInforme& p, int horasEntreCortes)
        : inicio(pared(p.inicio)), fin(pared(p.fin).addSecs(1)), horas(horasEntreCortes) {
        const QTime hora(horas == 24 ? 0 : inicio.time().hour(), 0);
        primero = QDateTime(inicio.date(), hora, Qt::UTC).addSecs(paso());
        cuantos = primero < fin ? 2 + static_cast<int>((primero.secsTo(fin) - 1) / paso()) : 1;
    }
    int64_t paso() const { return 3600LL * horas; }
    QDateTime desde(int k) const { return k == 0 ? inicio : primero.addSecs((k - 1) * paso()); }

    // tramos(k, desde, hasta), for a WITH RECURSIVE.
    QString tabla() const {
        const QString siguiente = Conexion.esServidor()
                                      ? QStringLiteral("hasta + INTERVAL '%1 hours'").arg(horas)
                                      : QStringLiteral("datetime(hasta, '+%1 hours')").arg(horas);
        return QStringLiteral("tramos(k, desde, hasta) AS (SELECT 0, %1, %2 UNION ALL SELECT k + "
                              "1, hasta, CASE WHEN k + 2 = %3 THEN %4 ELSE %5 END FROM tramos "
                              "WHERE k + 1 < %3)")
            .arg(LiteralFechaHora(inicio), LiteralFechaHora(cuantos == 1 ? fin : primero))
            .arg(cuantos)
            .arg(LiteralFechaHora(fin), siguiente);
    }
};

// Per hour, counts over index ranges and no sort: the entries from its start (for the weekday
// and hour), and what moves the occupancy from its start to its end, both included: entries of
// stays in order, and exits.
QString consultaHoras(const Tramos& horas) {
    const auto cuenta = [](const char* tabla, const char* columna, const char* desde,
                           const char* hasta, const QString& ademas) {
        return QStringLiteral("(SELECT COUNT(*) FROM %1 WHERE %2 %3 desde AND %2 %4 hasta%5)")
            .arg(QLatin1String(tabla), QLatin1String(columna), QLatin1String(desde),
                 QLatin1String(hasta), ademas);
    };
    return QStringLiteral("WITH RECURSIVE %1 SELECT k, %2 + %3 AS entradas, %4 + %5 AS altas, %6 "
                          "AS bajas FROM tramos")
        .arg(horas.tabla(), cuenta("Salidas", "FechaEntrada", ">=", "<", {}),
             cuenta("Entradas", "FechaEntrada", ">=", "<", {}),
             cuenta("Salidas", "FechaEntrada", ">", "<=", kEstanciaValida),
             cuenta("Entradas", "FechaEntrada", ">", "<=", {}),
             cuenta("Salidas", "FechaSalida", ">", "<=", kEstanciaValida));
}

// On the server: the entries by weekday and hour, and the vehicles inside at each hour's start
// the wall clock shows (an hour skipped by summer time has none).
void leerHoras(int64_t alInicio, Tablero& t) {
    const Tramos horas(t.periodo, 1);
    Recordset rs;
    rs.Open(consultaHoras(horas));
    QVector<int64_t> cambio(horas.cuantos + 1, 0);
    for (; !rs.Eof(); rs.MoveNext()) {
        const int k = static_cast<int>(entero(rs, "k"));
        const QDateTime h = horas.desde(k);
        t.entradasSemana[h.date().dayOfWeek() - 1][h.time().hour()] += entero(rs, "entradas");
        t.cifras.entradas += entero(rs, "entradas");
        cambio[k + 1] = entero(rs, "altas") - entero(rs, "bajas");
    }
    int64_t acumulado = alInicio;
    for (int k = 0; k < horas.cuantos; ++k) {
        acumulado += cambio[k];
        const QDateTime h = horas.desde(k);
        const QDateTime local(h.date(), h.time());
        if (h.time().minute() == 0 && h.time().second() == 0 && local.time() == h.time())
            t.ocupacion.append({local, acumulado});
    }
}

// The largest count at any instant on the server, and the hour it was first reached: each
// event's running sum over the period's events in time order takes in every event of its
// instant (the window's peers).
void leerOcupacionMaxima(const Consultas& q, int64_t alInicio, Tablero& t) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT TOP 1 acumulado AS pico, t AS instante FROM (SELECT t, SUM(d) "
                           "OVER (ORDER BY t) AS acumulado FROM (%1) AS e) AS c ORDER BY "
                           "acumulado DESC, t")
                .arg(eventos(QStringLiteral("%1 > ") + q.inicio + QStringLiteral(" AND %1 <= ") +
                             q.fin)));
    const int64_t pico = rs.Eof() ? 0 : entero(rs, "pico");
    anotarPico(pico, pico > 0 ? rs.Fields(QStringLiteral("instante")).aFecha() : QDateTime(),
               alInicio, t);
}

// Each hour's start the wall clock shows within the period (an hour skipped by summer time
// has none).
QVector<QDateTime> inicioDeHoras(const PeriodoInforme& p) {
    QVector<QDateTime> horas;
    for (QDate d = p.inicio.date(); d <= p.fin.date(); d = d.addDays(1))
        for (int h = 0; h < 24; ++h) {
            const QDateTime momento(d, QTime(h, 0));
            if (momento.time().hour() == h && momento >= p.inicio && momento <= p.fin)
                horas << momento;
        }
    return horas;
}

struct CambioHora {
    int64_t neto = 0;
    int64_t enPunto = 0; // of it, what happened at the hour's very start
};

// On the file one pass over the events in time order gives the hours and the highest count:
// two index scans merged with no sort, read by an aggregate of ours. The entries count from the
// period's first instant (for the weekday and hour); the occupancy moves after it, with the
// entries of stays in order and the exits.
void leerHorasYPico(const Consultas& q, int64_t alInicio, Tablero& t) {
    Recordset rs;
    rs.Open(
        QStringLiteral("SELECT jet_horas(t, d, e) AS horas FROM (SELECT FechaEntrada AS t, CASE "
                       "WHEN %1 THEN 1 ELSE 0 END AS d, 1 AS e FROM Entradas WHERE %2 UNION "
                       "ALL SELECT FechaEntrada, CASE WHEN %1%3 THEN 1 ELSE 0 END, 1 FROM "
                       "Salidas WHERE %2 UNION ALL SELECT FechaSalida, -1, 0 FROM Salidas "
                       "WHERE FechaSalida > %4 AND FechaSalida <= %5%3 ORDER BY t) AS e")
            .arg(QStringLiteral("FechaEntrada > ") + q.inicio, q.entre("FechaEntrada"),
                 kEstanciaValida, q.inicio, q.fin));
    const QStringList lineas =
        rs.Fields(QStringLiteral("horas")).aTexto().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QMap<QString, CambioHora> cambios;
    for (const QString& linea : lineas.mid(1)) {
        const QStringList c = linea.split(QLatin1Char('|'));
        cambios.insert(c[0], {c[1].toLongLong(), c[2].toLongLong()});
        const QDateTime h(QDate::fromString(c[0].left(10), Qt::ISODate),
                          QTime(c[0].mid(11, 2).toInt(), 0));
        t.entradasSemana[h.date().dayOfWeek() - 1][h.time().hour()] += c[3].toLongLong();
        t.cifras.entradas += c[3].toLongLong();
    }
    auto siguiente = cambios.cbegin();
    int64_t acumulado = alInicio;
    for (const QDateTime& h : inicioDeHoras(t.periodo)) {
        const QString clave = h.toString(QStringLiteral("yyyy-MM-dd HH"));
        for (; siguiente != cambios.cend() && siguiente.key() < clave; ++siguiente)
            acumulado += siguiente->neto;
        const bool enPunto = siguiente != cambios.cend() && siguiente.key() == clave;
        t.ocupacion.append({h, acumulado + (enPunto ? siguiente->enPunto : 0)});
    }
    const QStringList pico = lineas.value(0).split(QLatin1Char('|'));
    anotarPico(pico.value(0).toLongLong(),
               QDateTime::fromString(pico.value(1), QStringLiteral("yyyy-MM-dd HH:mm:ss")),
               alInicio, t);
}

// The exits' counts, and the stays' buckets, sum and median, in one pass with no sort on the
// file. A stay out of order has no length. The fence keeps the engine from copying the minutes'
// expression into every sum.
void leerEstancias(const Consultas& q, Tablero& t) {
    const auto cuenta = [](const QString& condicion) {
        return QStringLiteral("COUNT(CASE WHEN %1 THEN 1 END)").arg(condicion);
    };
    QString hasta;
    for (int limite : kLimitesEstancia)
        hasta += QStringLiteral(", %1 AS hasta%2")
                     .arg(cuenta(QStringLiteral("m <= %1").arg(limite)))
                     .arg(limite);
    Recordset rs;
    rs.Open(QStringLiteral("SELECT COUNT(*) AS salidas, %1 AS exentos, %2 AS clientes, %3 AS "
                           "perdidos, COUNT(m) AS n, SUM(m) AS suma, %4 AS mediana%5 FROM (SELECT "
                           "id_tarifa, DescrTarifa, TicketPerdido, CASE WHEN FechaEntrada <= "
                           "FechaSalida THEN (%6 + 59) / 60 END AS m FROM Salidas WHERE %7%8) AS s")
                .arg(cuenta(QStringLiteral("id_tarifa = 0 AND DescrTarifa = 'EXENTO'")),
                     cuenta(QStringLiteral("id_tarifa = 0 AND DescrTarifa = 'CLIENTE'")),
                     cuenta(QStringLiteral("TicketPerdido = True")),
                     Conexion.esServidor()
                         ? QStringLiteral("percentile_cont(0.5) WITHIN GROUP (ORDER BY m)")
                         : QStringLiteral("jet_mediana(m)"),
                     hasta, segundosReales(t.periodo), q.entre("FechaSalida"),
                     Conexion.esServidor() ? QStringLiteral(" OFFSET 0")
                                           : QStringLiteral(" LIMIT -1 OFFSET 0")));
    CifrasTablero& c = t.cifras;
    c.salidas = entero(rs, "salidas");
    c.salidasExentos = entero(rs, "exentos");
    c.salidasClientes = entero(rs, "clientes");
    c.ticketsPerdidos = entero(rs, "perdidos");
    const int64_t total = entero(rs, "n");
    if (total == 0)
        return;
    int64_t antes = 0;
    for (size_t i = 0; i < kLimitesEstancia.size(); ++i) {
        const QByteArray campo = "hasta" + QByteArray::number(kLimitesEstancia[i]);
        const int64_t hastaAqui = entero(rs, campo.constData());
        t.estancias[i] = hastaAqui - antes;
        antes = hastaAqui;
    }
    t.estancias.back() = total - antes;
    c.estanciaMediaMin = rs.Fields(QStringLiteral("suma")).aNumero() / static_cast<double>(total);
    c.estanciaMedianaMin = rs.Fields(QStringLiteral("mediana")).aNumero();
}

QDate dia(const Recordset& rs) {
    return QDate::fromString(rs.Fields(QStringLiteral("dia")).aTexto(), Qt::ISODate);
}

// What each rate charged each day: every rate named in the exits, found by one seek each, and
// per rate and day one range of its index.
void leerSalidas(const PeriodoInforme& p, CifrasTablero& c, QMap<QDate, IngresosDia>& porDia) {
    const Tramos dias(p, 24);
    const auto monto = [](const char* tarifa) {
        return QStringLiteral("(SELECT SUM(CASE WHEN %1 THEN Cobrado END) FROM Salidas WHERE "
                              "DescrTarifa %2 AND FechaSalida >= desde AND FechaSalida < hasta)")
            .arg(kCobradoComoResumen, QLatin1String(tarifa));
    };
    Recordset rs;
    rs.Open(
        QStringLiteral("WITH RECURSIVE tarifas(x) AS (SELECT MIN(DescrTarifa) FROM Salidas UNION "
                       "ALL SELECT (SELECT MIN(DescrTarifa) FROM Salidas WHERE DescrTarifa > x) "
                       "FROM tarifas WHERE x IS NOT NULL), %1 SELECT x AS DescrTarifa, k, %2 "
                       "AS monto FROM tarifas, tramos WHERE x IS NOT NULL UNION ALL SELECT "
                       "NULL, k, %3 FROM tramos")
            .arg(dias.tabla(), monto("= x"), monto("IS NULL")));
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString tarifa = rs.Fields(QStringLiteral("DescrTarifa")).aTexto();
        if (const int64_t cobrado = entero(rs, "monto")) {
            c.cobrado += cobrado;
            porDia[dias.desde(static_cast<int>(entero(rs, "k"))).date()]
                .porTarifa[tarifa.isEmpty() ? QStringLiteral("Sin tarifa") : tarifa] += cobrado;
        }
    }
}

void leerPagos(const Consultas& q, CifrasTablero& c, QMap<QDate, IngresosDia>& dias) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT %1 AS dia, SUM(CantidadPago) AS monto FROM Pagos WHERE %2 "
                           "GROUP BY dia")
                .arg(prefijo(QStringLiteral("FechaPago"), 10), q.entre("FechaPago")));
    for (; !rs.Eof(); rs.MoveNext()) {
        dias[dia(rs)].pagosClientes = entero(rs, "monto");
        c.pagosClientes += entero(rs, "monto");
    }
}

void leerIngresos(const Consultas& q, Tablero& t) {
    QMap<QDate, IngresosDia> dias;
    for (QDate d = t.periodo.inicio.date(); d <= t.periodo.fin.date(); d = d.addDays(1))
        dias.insert(d, {d, {}, 0});
    leerSalidas(t.periodo, t.cifras, dias);
    leerPagos(q, t.cifras, dias);
    QStringList tarifas;
    for (const IngresosDia& d : dias) {
        t.porDia << d;
        tarifas << d.porTarifa.keys();
    }
    tarifas.removeDuplicates();
    tarifas.sort(Qt::CaseInsensitive);
    t.tarifas = tarifas;
}

} // namespace

Tablero LeerTablero(const PeriodoInforme& periodo) {
    return *LeerTableroPorPasos(periodo, [](int, int) { return true; });
}

std::optional<Tablero> LeerTableroPorPasos(const PeriodoInforme& periodo,
                                           const std::function<bool(int, int)>& avance) {
    const Consultas q{LiteralFechaHora(periodo.inicio), LiteralFechaHora(periodo.fin)};
    Tablero t;
    t.periodo = periodo;
    int64_t alInicio = 0;
    const std::function<void()> pasos[] = {[&] { leerIngresos(q, t); },
                                           [&] {
                                               alInicio = ocupacionAlInicio(q);
                                               if (Conexion.esServidor())
                                                   leerHoras(alInicio, t);
                                               else
                                                   leerHorasYPico(q, alInicio, t);
                                           },
                                           [&] {
                                               if (Conexion.esServidor())
                                                   leerOcupacionMaxima(q, alInicio, t);
                                           },
                                           [&] { leerEstancias(q, t); }};
    const int total = static_cast<int>(std::size(pasos));
    AbrirConexion();
    bool seguir = true;
    {
        LecturaConsistente lectura;
        for (int i = 0; i < total && seguir; ++i) {
            pasos[i]();
            seguir = avance(i + 1, total);
        }
    }
    CerrarConexion();
    if (!seguir)
        return std::nullopt;
    return t;
}

PeriodoInforme DiasHastaAhora(const QDate& desde, const QDate& hasta, const QDateTime& ahora) {
    const QDateTime inicio(desde, QTime(0, 0));
    return {inicio, std::min(std::max(ahora, inicio), QDateTime(hasta, QTime(23, 59, 59)))};
}

int GrupoEstancia(int64_t minutos) {
    return static_cast<int>(
        std::lower_bound(kLimitesEstancia.begin(), kLimitesEstancia.end(), minutos) -
        kLimitesEstancia.begin());
}

QString NombreGrupoEstancia(int grupo) {
    const auto texto = [](int minutos) {
        return minutos < 60 ? QStringLiteral("%1 min").arg(minutos)
                            : QStringLiteral("%1 h").arg(minutos / 60);
    };
    if (grupo == 0)
        return QStringLiteral("hasta ") + texto(kLimitesEstancia[0]);
    if (grupo >= static_cast<int>(kLimitesEstancia.size()))
        return QStringLiteral("más de ") + texto(kLimitesEstancia.back());
    const int desde = kLimitesEstancia[grupo - 1], hasta = kLimitesEstancia[grupo];
    // "15–30 min", "1–2 h": the unit once, after both bounds.
    if (hasta <= 60)
        return QStringLiteral("%1–%2 min").arg(desde).arg(hasta);
    return QStringLiteral("%1–%2 h").arg(desde / 60).arg(hasta / 60);
}
