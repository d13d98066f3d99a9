#include "movimientos/tablasreglas.h"

#include "principal/formatos.h"

#include <QTime>
#include <variant>

namespace {

QString textoImporte(int64_t valor) {
    return valor == 0 ? QStringLiteral("0") : FormatoMiles(valor);
}

// An amount the money columns hold, as the money boxes read it.
std::optional<int64_t> importe(const QString& texto) {
    const auto valor = ImporteEstricto(texto);
    return valor && ImporteCabe(*valor) ? valor : std::nullopt;
}

const QString kDias = QStringLiteral("LMXJVSD");

// Minutes of the day of "HH:MM"; with `masUno`, "HH:MM+1" is that time of the next day.
std::optional<int> hora(QString texto, bool masUno = false) {
    const bool siguiente = masUno && texto.endsWith(QLatin1String("+1"));
    if (siguiente)
        texto.chop(2);
    const QTime t = QTime::fromString(texto.trimmed(), QStringLiteral("hh:mm"));
    if (!t.isValid())
        return std::nullopt;
    return t.hour() * 60 + t.minute() + (siguiente ? 1440 : 0);
}

QString textoHora(int minutos) {
    return QTime(minutos % 1440 / 60, minutos % 60).toString(QStringLiteral("hh:mm")) +
           (minutos >= 1440 ? QStringLiteral("+1") : QString());
}

// The days' bits of their letters, each once; 0 when a letter is no day or comes twice.
int dias(const QString& letras) {
    int bits = 0;
    for (const QChar c : letras.toUpper()) {
        const int d = static_cast<int>(kDias.indexOf(c));
        if (d < 0 || (bits >> d & 1) != 0)
            return 0;
        bits |= 1 << d;
    }
    return bits;
}

// One flat's row, or the refusal of its first bad cell.
std::variant<TarifaPlana, ErrorCelda> plana(const QStringList& c, int fila, const QString& n) {
    const auto error = [&](int columna, const QString& texto) {
        return ErrorCelda{texto.arg(n), fila, columna};
    };
    const auto desde = hora(c.value(1)), hasta = hora(c.value(2), true);
    const auto salida = hora(c.value(3));
    const auto valor = importe(c.value(5));
    if (c.value(0).isEmpty())
        return error(0, QStringLiteral("Indique el nombre de la tarifa plana %1"));
    if (!desde)
        return error(1, QStringLiteral("La entrada desde de la tarifa plana %1 debe ser una hora "
                                       "HH:MM, por ejemplo 06:00"));
    if (!hasta)
        return error(2,
                     QStringLiteral("La entrada hasta de la tarifa plana %1 debe ser una hora "
                                    "HH:MM, con +1 si es del día siguiente, por ejemplo 02:00+1"));
    if (*hasta <= *desde)
        return error(2, QStringLiteral("La ventana de entrada de la tarifa plana %1 termina antes "
                                       "de empezar; si cruza la medianoche, escriba su fin con "
                                       "+1, por ejemplo 22:00 a 02:00+1"));
    if (*hasta - *desde > 1440)
        return error(2, QStringLiteral("La ventana de entrada de la tarifa plana %1 no puede "
                                       "pasar de 24 horas"));
    if (!salida && !c.value(3).isEmpty())
        return error(3, QStringLiteral("La salida hasta de la tarifa plana %1 debe ser una hora "
                                       "HH:MM, o quedar vacía"));
    // The exit's time is the first after the window's start: it may not fall inside the window.
    if (salida && (*salida - *desde + 1439) % 1440 + 1 < *hasta - *desde)
        return error(3, QStringLiteral("La salida hasta de la tarifa plana %1 cae dentro de su "
                                       "ventana de entrada"));
    if (c.value(4).isEmpty())
        return error(4, QStringLiteral("Indique al menos un día de la semana para la tarifa plana "
                                       "%1, con las letras LMXJVSD"));
    if (dias(c.value(4)) == 0)
        return error(4, QStringLiteral("Los días de la tarifa plana %1 se escriben con las letras "
                                       "LMXJVSD, cada una una vez"));
    if (!valor)
        return error(5, QStringLiteral("El valor de la tarifa plana %1 debe ser un valor numérico, "
                                       "por ejemplo 8.000"));
    return TarifaPlana{c.value(0), *desde, *hasta, dias(c.value(4)), salida, *valor};
}

} // namespace

std::optional<ErrorCelda> LeerTramos(const QVector<QStringList>& filas, bool porDia,
                                     const QString& valorDia, ReglasTarifa& reglas) {
    QVector<TramoTarifa> tramos;
    for (int f = 0; f < filas.size(); ++f) {
        const QStringList& celdas = filas[f];
        if (celdas.join(QString()).trimmed().isEmpty())
            continue;
        const QString n = QString::number(tramos.size() + 1);
        const auto hasta = EnteroEstricto(celdas.value(0));
        if (!hasta || *hasta == 0 || !ImporteCabe(*hasta))
            return ErrorCelda{
                QStringLiteral("El tramo %1 debe indicar hasta cuántos minutos llega, "
                               "con un número entero mayor que cero")
                    .arg(n),
                f, 0};
        const auto valor = importe(celdas.value(1));
        if (!valor)
            return ErrorCelda{QStringLiteral("El valor del tramo %1 debe ser un valor numérico, "
                                             "por ejemplo 1.500")
                                  .arg(n),
                              f, 1};
        if (!tramos.isEmpty() && *hasta <= tramos.last().hasta)
            return ErrorCelda{QStringLiteral("Los tramos van de menor a mayor: el tramo %1 debe "
                                             "llegar a más minutos que el anterior (%2)")
                                  .arg(n)
                                  .arg(tramos.last().hasta),
                              f, 0};
        if (!tramos.isEmpty() && *valor < tramos.last().valor)
            return ErrorCelda{QStringLiteral("El valor del tramo %1 no puede ser menor que el del "
                                             "anterior: una estancia más larga no cobra menos")
                                  .arg(n),
                              f, 1};
        tramos << TramoTarifa{*hasta, *valor};
    }
    reglas.tramos = tramos;
    reglas.diaTrasTramos.reset();
    if (!porDia || tramos.isEmpty())
        return std::nullopt;
    reglas.diaTrasTramos = importe(valorDia);
    if (!reglas.diaTrasTramos)
        return ErrorCelda{QStringLiteral("El valor de cada día adicional tras el último tramo debe "
                                         "ser un valor numérico, por ejemplo 12.000")};
    return std::nullopt;
}

std::pair<QVector<QStringList>, QString> TextosTramos(const ReglasTarifa& reglas) {
    QVector<QStringList> filas;
    for (const TramoTarifa& t : reglas.tramos)
        filas << QStringList{QString::number(t.hasta), textoImporte(t.valor)};
    return {filas, reglas.diaTrasTramos ? textoImporte(*reglas.diaTrasTramos) : QString()};
}

std::optional<ErrorCelda> LeerPlanas(const QVector<QStringList>& filas, ReglasTarifa& reglas) {
    QVector<TarifaPlana> planas;
    for (int f = 0; f < filas.size(); ++f) {
        if (filas[f].join(QString()).trimmed().isEmpty())
            continue;
        const auto leida = plana(filas[f], f, QString::number(planas.size() + 1));
        if (const auto* error = std::get_if<ErrorCelda>(&leida))
            return *error;
        planas << std::get<TarifaPlana>(leida);
    }
    reglas.planas = planas;
    return std::nullopt;
}

QVector<QStringList> TextosPlanas(const ReglasTarifa& reglas) {
    QVector<QStringList> filas;
    for (const TarifaPlana& p : reglas.planas) {
        QString letras;
        for (int d = 0; d < 7; ++d)
            if (p.dias >> d & 1)
                letras += kDias.at(d);
        filas << QStringList{p.nombre,
                             textoHora(p.desde),
                             textoHora(p.hasta),
                             p.salidaHasta ? textoHora(*p.salidaHasta) : QString(),
                             letras,
                             textoImporte(p.valor)};
    }
    return filas;
}
