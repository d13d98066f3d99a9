#include "formatos.h"

#include "jet.h"

#include <cmath>

QString FechaCorta(const QDate& fecha) { return fecha.toString(QStringLiteral("dd/MM/yyyy")); }

QString HoraTexto(const QTime& hora) {
    const int hora12 = hora.hour() % 12 == 0 ? 12 : hora.hour() % 12;
    return QStringLiteral("%1:%2:%3 %4")
        .arg(hora12, 2, 10, QLatin1Char('0'))
        .arg(hora.minute(), 2, 10, QLatin1Char('0'))
        .arg(hora.second(), 2, 10, QLatin1Char('0'))
        .arg(QLatin1String(hora.hour() < 12 ? "am" : "pm"));
}

QString FechaHoraTexto(const QDateTime& momento) {
    return FechaCorta(momento.date()) + QLatin1Char(' ') + HoraTexto(momento.time());
}

std::optional<QDateTime> LeerFechaHoraTexto(const QString& texto) {
    return LeerFechaGuardada(texto);
}

QString FechaLarga(const QDate& fecha) {
    if (!fecha.isValid())
        return QString();
    static const char* const dias[] = {"lunes",  "martes", "miércoles", "jueves",
                                       "viernes", "sábado", "domingo"};
    static const char* const meses[] = {"enero",      "febrero", "marzo",     "abril",
                                        "mayo",       "junio",   "julio",     "agosto",
                                        "septiembre", "octubre", "noviembre", "diciembre"};
    return QStringLiteral("%1, %2 de %3 de %4")
        .arg(QString::fromUtf8(dias[fecha.dayOfWeek() - 1]))
        .arg(fecha.day())
        .arg(QString::fromUtf8(meses[fecha.month() - 1]))
        .arg(fecha.year());
}

QString FormatoMiles(int64_t valor) {
    if (valor == 0)
        return QString();
    const bool negativo = valor < 0;
    QString cifras = QString::number(negativo ? -static_cast<uint64_t>(valor)
                                              : static_cast<uint64_t>(valor));
    for (int i = cifras.size() - 3; i > 0; i -= 3)
        cifras.insert(i, QLatin1Char('.'));
    return negativo ? QLatin1Char('-') + cifras : cifras;
}

double RedondeoPar(double valor) { return std::nearbyint(valor); }

double ValorNumerico(const QString& texto) {
    QString limpio;
    for (const QChar c : texto)
        if (!c.isSpace())
            limpio += c;
    int i = 0;
    QString numero;
    if (i < limpio.size() && (limpio[i] == QLatin1Char('-') || limpio[i] == QLatin1Char('+')))
        numero += limpio[i++];
    bool punto = false;
    for (; i < limpio.size(); ++i) {
        const QChar c = limpio[i];
        if (c.isDigit() && c.unicode() < 128)
            numero += c;
        else if (c == QLatin1Char('.') && !punto)
            punto = true, numero += c;
        else
            break;
    }
    bool ok = false;
    const double valor = numero.toDouble(&ok);
    return ok ? valor : 0;
}

std::optional<int64_t> EnteroEstricto(const QString& texto) {
    const QString limpio = texto.trimmed();
    if (limpio.isEmpty() || limpio.size() > 18)
        return std::nullopt;
    for (const QChar c : limpio)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    return limpio.toLongLong();
}
