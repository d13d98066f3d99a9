#include "movimientos/cobro.h"

#include "principal/formatos.h"

int64_t MinutosEntre(const QDateTime& entrada, const QDateTime& salida) {
    // Wall-clock arithmetic: a change to or from summer time does not lengthen or shorten a stay.
    auto minutoDe = [](const QDateTime& m) {
        return QDateTime(m.date(), QTime(m.time().hour(), m.time().minute()), Qt::UTC);
    };
    return minutoDe(entrada).secsTo(minutoDe(salida)) / 60;
}

QString TextoEstancia(int64_t minutosTotales) {
    const int64_t dias = minutosTotales / 1440;
    const int64_t horas = (minutosTotales % 1440) / 60;
    const int64_t minutos = (minutosTotales % 1440) % 60;
    QString texto;
    if (dias > 0)
        texto += QString::number(dias) +
                 (dias == 1 ? QStringLiteral(" Día ") : QStringLiteral(" Días "));
    if (horas > 0)
        texto += QString::number(horas) +
                 (horas == 1 ? QStringLiteral(" Hora ") : QStringLiteral(" Horas "));
    if (minutos > 0)
        texto += QString::number(minutos) +
                 (minutos == 1 ? QStringLiteral(" Minuto.") : QStringLiteral(" Minutos."));
    return texto.isEmpty() ? QStringLiteral("0 Minutos.") : texto;
}

int64_t CalcularCobro(int64_t minutosTotales, int64_t tarifa, int64_t tiempo,
                      const OpcionesCobro& opciones) {
    if (tiempo <= 0)
        return 0;
    const int64_t minutos = minutosTotales < 0 ? 0 : minutosTotales;
    int64_t cobrado;
    if (!opciones.cobroCompleto) {
        cobrado = static_cast<int64_t>(
            RedondeoPar(static_cast<double>(minutos) / static_cast<double>(tiempo) *
                        static_cast<double>(tarifa)));
    } else {
        // The smallest number of units that covers the stay, at least one.
        const int64_t unidades = minutos <= tiempo ? 1 : (minutos + tiempo - 1) / tiempo;
        cobrado = unidades * tarifa;
    }
    if (opciones.cobroPrimeraHora && minutos < 60)
        cobrado = tarifa;
    return cobrado;
}
