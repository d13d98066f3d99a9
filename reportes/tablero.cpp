#include "reportes/tablero.h"

#include "bd/conexion.h"
#include "bd/recordset.h"
#include "bd/sql.h"

#include <QTimeZone>
#include <algorithm>
#include <numeric>

namespace {

struct Consultas {
    QString inicio;
    QString fin;

    // The column within the period, both bounds included.
    QString entre(const char* columna) const {
        return QStringLiteral("%1 >= %2 AND %1 <= %3").arg(QLatin1String(columna), inicio, fin);
    }
};

// The stored local time's first `largo` characters, "yyyy-mm-dd hh" for its hour, alike on both
// engines (the server writes its timestamps in ISO form).
QString prefijo(const QString& columna, int largo) {
    return QStringLiteral("SUBSTR(CAST(%1 AS TEXT), 1, %2)").arg(columna).arg(largo);
}

QString hora(const QString& columna) {
    return prefijo(columna, 13);
}

QDateTime inicioHora(const QString& clave) {
    return QDateTime(QDate::fromString(clave.left(10), Qt::ISODate),
                     QTime(clave.mid(11, 2).toInt(), 0));
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

struct CambioHora {
    int64_t neto = 0;
    int64_t enPunto = 0; // of them, those at the hour's very start
    int64_t altas = 0;   // the entries alone
};

// One pass over the period's events by hour: the entries from its first instant on, for their
// count by weekday and hour, and what moves the occupancy after that instant (`d`): entries of
// stays in order, exits no longer at theirs.
QMap<QString, CambioHora> cambiosPorHora(const Consultas& q, Tablero& t) {
    const QString despues = QStringLiteral("FechaEntrada > ") + q.inicio;
    Recordset rs;
    rs.Open(QStringLiteral(
                "SELECT %1 AS hora, SUM(d) AS neto, SUM(CASE WHEN %2 = '00:00' THEN d ELSE 0 END) "
                "AS enpunto, SUM(CASE WHEN d > 0 THEN d ELSE 0 END) AS altas, SUM(e) AS entradas "
                "FROM (SELECT FechaEntrada AS t, CASE WHEN %3 THEN 1 ELSE 0 END AS d, 1 AS e FROM "
                "Entradas WHERE %4 UNION ALL SELECT FechaEntrada, CASE WHEN %3%5 THEN 1 ELSE 0 "
                "END, 1 FROM Salidas WHERE %4 UNION ALL SELECT FechaSalida, -1, 0 FROM Salidas "
                "WHERE FechaSalida > %6 AND FechaSalida <= %7%5) AS e GROUP BY hora")
                .arg(hora(QStringLiteral("t")), QStringLiteral("SUBSTR(CAST(t AS TEXT), 15, 5)"),
                     despues, q.entre("FechaEntrada"), kEstanciaValida, q.inicio, q.fin));
    QMap<QString, CambioHora> cambios;
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString clave = rs.Fields(QStringLiteral("hora")).aTexto();
        cambios.insert(clave, {entero(rs, "neto"), entero(rs, "enpunto"), entero(rs, "altas")});
        const QDateTime h = inicioHora(clave);
        t.entradasSemana[h.date().dayOfWeek() - 1][h.time().hour()] += entero(rs, "entradas");
        t.cifras.entradas += entero(rs, "entradas");
    }
    return cambios;
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

void leerOcupacion(const QMap<QString, CambioHora>& cambios, int64_t alInicio, Tablero& t) {
    auto siguiente = cambios.cbegin();
    int64_t acumulado = alInicio;
    for (const QDateTime& h : inicioDeHoras(t.periodo)) {
        const QString clave = h.toString(QStringLiteral("yyyy-MM-dd HH"));
        for (; siguiente != cambios.cend() && siguiente.key() < clave; ++siguiente)
            acumulado += siguiente->neto;
        const int64_t enPunto =
            siguiente != cambios.cend() && siguiente.key() == clave ? siguiente->enPunto : 0;
        t.ocupacion.append({h, acumulado + enPunto});
    }
}

// The count from the start of a stretch within one hour (not its end), from `valor` there: the
// running sum of its events in time order.
int64_t picoEntre(const QDateTime& desde, const QDateTime& hasta, bool conHasta, int64_t valor) {
    Recordset rs;
    rs.Open(
        QStringLiteral("SELECT MAX(acumulado) AS pico FROM (SELECT SUM(SUM(d)) OVER (ORDER BY "
                       "t) AS acumulado FROM (%1) AS e GROUP BY t) AS c")
            .arg(eventos(QStringLiteral("%1 > ") + LiteralFechaHora(desde) +
                         (conHasta ? QStringLiteral(" AND %1 <= ") : QStringLiteral(" AND %1 < ")) +
                         LiteralFechaHora(hasta))));
    return valor + std::max<int64_t>(0, entero(rs, "pico"));
}

QDateTime inicioDeSuHora(const QDateTime& momento) {
    return QDateTime(momento.date(), QTime(momento.time().hour(), 0));
}

// The largest count at any instant. It only rises at an entry, so within an hour it is at most
// the count at the hour's start plus the hour's entries: only the hours whose bound beats the
// best found are read event by event, the most promising first.
void leerOcupacionMaxima(const QMap<QString, CambioHora>& cambios, int64_t alInicio, Tablero& t) {
    struct Tramo {
        QDateTime desde;
        int64_t valor;
        int64_t cota;
    };
    QVector<Tramo> tramos{{t.periodo.inicio, alInicio, 0}};
    for (const OcupacionHora& o : t.ocupacion)
        if (o.hora > t.periodo.inicio)
            tramos.append({o.hora, o.vehiculos, 0});
    std::pair<int64_t, QDateTime> mejor{alInicio, inicioDeSuHora(t.periodo.inicio)};
    for (Tramo& tramo : tramos) {
        if (tramo.valor > mejor.first)
            mejor = {tramo.valor, inicioDeSuHora(tramo.desde)};
        tramo.cota = tramo.valor +
                     cambios.value(tramo.desde.toString(QStringLiteral("yyyy-MM-dd HH"))).altas;
    }
    QVector<int> orden(tramos.size());
    std::iota(orden.begin(), orden.end(), 0);
    std::stable_sort(orden.begin(), orden.end(),
                     [&tramos](int a, int b) { return tramos[a].cota > tramos[b].cota; });
    for (int i : orden) {
        const Tramo& tramo = tramos[i];
        if (tramo.cota <= mejor.first)
            break;
        const bool ultimo = i + 1 == tramos.size();
        const int64_t pico = picoEntre(tramo.desde, ultimo ? t.periodo.fin : tramos[i + 1].desde,
                                       ultimo, tramo.valor);
        if (pico > mejor.first || (pico == mejor.first && tramo.desde < mejor.second))
            mejor = {pico, inicioDeSuHora(tramo.desde)};
    }
    t.cifras.ocupacionMax = mejor.first;
    t.cifras.ocupacionMaxHora = mejor.second;
}

void leerEstancias(const Consultas& q, Tablero& t) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT (%1 + 59) / 60 AS minutos, COUNT(*) AS n FROM Salidas WHERE ")
                .arg(segundosReales(t.periodo)) +
            q.entre("FechaSalida") + kEstanciaValida +
            QStringLiteral(" GROUP BY minutos ORDER BY minutos"));
    QVector<std::pair<int64_t, int64_t>> grupos;
    int64_t total = 0, suma = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        const int64_t minutos = entero(rs, "minutos"), n = entero(rs, "n");
        grupos.append({minutos, n});
        t.estancias[GrupoEstancia(minutos)] += n;
        total += n;
        suma += minutos * n;
    }
    if (total == 0)
        return;
    // The middle stay, or the mean of the two middle ones.
    const auto enPosicion = [&grupos](int64_t posicion) {
        for (const auto& [minutos, n] : grupos) {
            if (posicion < n)
                return minutos;
            posicion -= n;
        }
        return grupos.back().first;
    };
    t.cifras.estanciaMediaMin = static_cast<double>(suma) / static_cast<double>(total);
    t.cifras.estanciaMedianaMin =
        static_cast<double>(enPosicion((total - 1) / 2) + enPosicion(total / 2)) / 2.0;
}

QDate dia(const Recordset& rs) {
    return QDate::fromString(rs.Fields(QStringLiteral("dia")).aTexto(), Qt::ISODate);
}

// The exits' figures and what they charged per day and rate, in one pass over the period's exits.
void leerSalidas(const Consultas& q, CifrasTablero& c, QMap<QDate, IngresosDia>& dias) {
    const auto cuenta = [](const QString& condicion) {
        return QStringLiteral("SUM(CASE WHEN %1 THEN 1 ELSE 0 END)").arg(condicion);
    };
    Recordset rs;
    rs.Open(QStringLiteral("SELECT %1 AS dia, DescrTarifa, COUNT(*) AS salidas, SUM(CASE WHEN %2 "
                           "THEN Cobrado END) AS monto, %3 AS exentos, %4 AS clientes, %5 AS "
                           "perdidos FROM Salidas WHERE %6 GROUP BY dia, DescrTarifa")
                .arg(prefijo(QStringLiteral("FechaSalida"), 10), kCobradoComoResumen,
                     cuenta(QStringLiteral("id_tarifa = 0 AND DescrTarifa = 'EXENTO'")),
                     cuenta(QStringLiteral("id_tarifa = 0 AND DescrTarifa = 'CLIENTE'")),
                     cuenta(QStringLiteral("TicketPerdido = True")), q.entre("FechaSalida")));
    for (; !rs.Eof(); rs.MoveNext()) {
        c.salidas += entero(rs, "salidas");
        c.salidasExentos += entero(rs, "exentos");
        c.salidasClientes += entero(rs, "clientes");
        c.ticketsPerdidos += entero(rs, "perdidos");
        const QString tarifa = rs.Fields(QStringLiteral("DescrTarifa")).aTexto();
        if (const int64_t monto = entero(rs, "monto")) {
            c.cobrado += monto;
            dias[dia(rs)].porTarifa[tarifa.isEmpty() ? QStringLiteral("Sin tarifa") : tarifa] +=
                monto;
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
    leerSalidas(q, t.cifras, dias);
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
    QMap<QString, CambioHora> cambios;
    const std::function<void()> pasos[] = {[&] { leerIngresos(q, t); },
                                           [&] {
                                               alInicio = ocupacionAlInicio(q);
                                               cambios = cambiosPorHora(q, t);
                                               leerOcupacion(cambios, alInicio, t);
                                           },
                                           [&] { leerOcupacionMaxima(cambios, alInicio, t); },
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
