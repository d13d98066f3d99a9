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
    // After the period's start: what moves the occupancy from its first instant on.
    QString despues(const char* columna) const {
        return QStringLiteral("%1 > %2 AND %1 <= %3").arg(QLatin1String(columna), inicio, fin);
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

// Real seconds of a stay between two stored local times: across a change of summer time the
// wall clock jumps, the stay does not. Neither engine's dialect shares a function for it.
QString segundosReales() {
    if (Conexion.esServidor()) {
        const QString zona = Texto(QString::fromUtf8(QTimeZone::systemTimeZoneId()));
        return QStringLiteral("CAST(EXTRACT(EPOCH FROM (FechaSalida AT TIME ZONE %1) - "
                              "(FechaEntrada AT TIME ZONE %1)) AS BIGINT)")
            .arg(zona);
    }
    return QStringLiteral("(unixepoch(FechaSalida, 'utc') - unixepoch(FechaEntrada, 'utc'))");
}

// A stay with both times in their order; others hold no vehicle at any instant.
const QString kEstanciaValida = QStringLiteral(" AND FechaEntrada <= FechaSalida");
// The sales summary's sum: a taxed exit counts only when it charged something.
const QString kCobradoComoResumen =
    QStringLiteral("((IVA IS NOT NULL AND Cobrado > 0) OR IVA IS NULL)");

int64_t entero(const Recordset& rs, const char* campo) {
    return rs.Fields(QLatin1String(campo)).aEntero();
}

void leerSalidas(const Consultas& q, CifrasTablero& c) {
    const auto cuenta = [](const QString& condicion) {
        return QStringLiteral("SUM(CASE WHEN %1 THEN 1 ELSE 0 END)").arg(condicion);
    };
    Recordset rs;
    rs.Open(QStringLiteral("SELECT COUNT(*) AS salidas, SUM(CASE WHEN ") + kCobradoComoResumen +
            QStringLiteral(" THEN Cobrado END) AS cobrado, ") +
            cuenta(QStringLiteral("id_tarifa = 0 AND DescrTarifa = 'EXENTO'")) +
            QStringLiteral(" AS exentos, ") +
            cuenta(QStringLiteral("id_tarifa = 0 AND DescrTarifa = 'CLIENTE'")) +
            QStringLiteral(" AS clientes, ") + cuenta(QStringLiteral("TicketPerdido = True")) +
            QStringLiteral(" AS perdidos FROM Salidas WHERE ") + q.entre("FechaSalida"));
    c.salidas = entero(rs, "salidas");
    c.cobrado = entero(rs, "cobrado");
    c.salidasExentos = entero(rs, "exentos");
    c.salidasClientes = entero(rs, "clientes");
    c.ticketsPerdidos = entero(rs, "perdidos");
}

void leerEntradas(const Consultas& q, Tablero& t) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT ") + hora(QStringLiteral("FechaEntrada")) +
            QStringLiteral(" AS hora, COUNT(*) AS n FROM (SELECT FechaEntrada FROM Entradas WHERE "
                           "%1 UNION ALL SELECT FechaEntrada FROM Salidas WHERE %1) AS e "
                           "GROUP BY hora")
                .arg(q.entre("FechaEntrada")));
    for (; !rs.Eof(); rs.MoveNext()) {
        const QDateTime h = inicioHora(rs.Fields(QStringLiteral("hora")).aTexto());
        const int64_t n = entero(rs, "n");
        t.entradasSemana[h.date().dayOfWeek() - 1][h.time().hour()] += n;
        t.cifras.entradas += n;
    }
}

// Entries count from their instant, exits no longer at theirs.
QString eventos(const Consultas& q) {
    return QStringLiteral("SELECT FechaEntrada AS t, 1 AS d FROM Entradas WHERE %1 UNION ALL "
                          "SELECT FechaEntrada, 1 FROM Salidas WHERE %1%3 UNION ALL SELECT "
                          "FechaSalida, -1 FROM Salidas WHERE %2%3")
        .arg(q.despues("FechaEntrada"), q.despues("FechaSalida"), kEstanciaValida);
}

int64_t ocupacionAlInicio(const Consultas& q) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT (SELECT COUNT(*) FROM Entradas WHERE FechaEntrada <= %1) + "
                           "(SELECT COUNT(*) FROM Salidas WHERE FechaEntrada <= %1 AND "
                           "FechaSalida > %1) AS n")
                .arg(q.inicio));
    return entero(rs, "n");
}

struct CambioHora {
    int64_t neto = 0;
    int64_t enPunto = 0; // of them, those at the hour's very start
};

QMap<QString, CambioHora> cambiosPorHora(const Consultas& q) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT %1 AS hora, SUM(d) AS neto, SUM(CASE WHEN %2 = '00:00' THEN d "
                           "ELSE 0 END) AS enpunto FROM (%3) AS e GROUP BY hora")
                .arg(hora(QStringLiteral("t")), QStringLiteral("SUBSTR(CAST(t AS TEXT), 15, 5)"),
                     eventos(q)));
    QMap<QString, CambioHora> cambios;
    for (; !rs.Eof(); rs.MoveNext())
        cambios.insert(rs.Fields(QStringLiteral("hora")).aTexto(),
                       {entero(rs, "neto"), entero(rs, "enpunto")});
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

void leerOcupacion(const Consultas& q, const int64_t alInicio, Tablero& t) {
    const QMap<QString, CambioHora> cambios = cambiosPorHora(q);
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

// The largest count at any instant: it can only rise at an entry, so the running sum of the
// events in time order finds it.
void leerOcupacionMaxima(const Consultas& q, int64_t alInicio, Tablero& t) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT TOP 1 %1 AS hora, acumulado FROM (SELECT t, SUM(SUM(d)) OVER "
                           "(ORDER BY t) AS acumulado FROM (%2) AS e GROUP BY t) AS c ORDER BY "
                           "acumulado DESC, t")
                .arg(hora(QStringLiteral("t")), eventos(q)));
    const int64_t pico = rs.Eof() ? 0 : alInicio + entero(rs, "acumulado");
    CifrasTablero& c = t.cifras;
    if (pico > alInicio) {
        c.ocupacionMax = pico;
        c.ocupacionMaxHora = inicioHora(rs.Fields(QStringLiteral("hora")).aTexto());
    } else {
        c.ocupacionMax = alInicio;
        c.ocupacionMaxHora =
            QDateTime(t.periodo.inicio.date(), QTime(t.periodo.inicio.time().hour(), 0));
    }
}

void leerEstancias(const Consultas& q, Tablero& t) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT (%1 + 59) / 60 AS minutos, COUNT(*) AS n FROM Salidas WHERE ")
                .arg(segundosReales()) +
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

void leerIngresos(const Consultas& q, Tablero& t) {
    QMap<QDate, IngresosDia> dias;
    for (QDate d = t.periodo.inicio.date(); d <= t.periodo.fin.date(); d = d.addDays(1))
        dias.insert(d, {d, {}, 0});
    const auto dia = [](const Recordset& rs) {
        return QDate::fromString(rs.Fields(QStringLiteral("dia")).aTexto(), Qt::ISODate);
    };
    Recordset rs;
    rs.Open(QStringLiteral("SELECT %1 AS dia, DescrTarifa, SUM(Cobrado) AS monto FROM Salidas "
                           "WHERE %2 AND %3 GROUP BY dia, DescrTarifa")
                .arg(prefijo(QStringLiteral("FechaSalida"), 10), q.entre("FechaSalida"),
                     kCobradoComoResumen));
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString tarifa = rs.Fields(QStringLiteral("DescrTarifa")).aTexto();
        if (const int64_t monto = entero(rs, "monto"))
            dias[dia(rs)].porTarifa[tarifa.isEmpty() ? QStringLiteral("Sin tarifa") : tarifa] +=
                monto;
    }
    rs.Open(QStringLiteral("SELECT %1 AS dia, SUM(CantidadPago) AS monto FROM Pagos WHERE %2 "
                           "GROUP BY dia")
                .arg(prefijo(QStringLiteral("FechaPago"), 10), q.entre("FechaPago")));
    for (; !rs.Eof(); rs.MoveNext()) {
        dias[dia(rs)].pagosClientes = entero(rs, "monto");
        t.cifras.pagosClientes += entero(rs, "monto");
    }
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
    const Consultas q{LiteralFechaHora(periodo.inicio), LiteralFechaHora(periodo.fin)};
    Tablero t;
    t.periodo = periodo;
    AbrirConexion();
    {
        LecturaConsistente lectura;
        leerSalidas(q, t.cifras);
        leerEntradas(q, t);
        const int64_t alInicio = ocupacionAlInicio(q);
        leerOcupacion(q, alInicio, t);
        leerOcupacionMaxima(q, alInicio, t);
        leerEstancias(q, t);
        leerIngresos(q, t);
    }
    CerrarConexion();
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
