#include "movimientos/tablasreglas.h"

#include "principal/formatos.h"

namespace {

QString textoImporte(int64_t valor) {
    return valor == 0 ? QStringLiteral("0") : FormatoMiles(valor);
}

// An amount the money columns hold, as the money boxes read it.
std::optional<int64_t> importe(const QString& texto) {
    const auto valor = ImporteEstricto(texto);
    return valor && ImporteCabe(*valor) ? valor : std::nullopt;
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
