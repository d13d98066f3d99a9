#include "bd/conversiones.h"

#include "bd/jet.h"

#include <cmath>

namespace {

// Writes n as exactly `cifras` digits. Dates are formatted for every row read, and going
// through QLocale there costs more than the database itself.
QChar* escribirCifras(QChar* p, int n, int cifras) {
    for (int i = cifras - 1; i >= 0; --i, n /= 10)
        p[i] = QLatin1Char(static_cast<char>('0' + n % 10));
    return p + cifras;
}

// dd/mm/yyyy into p; false (nothing written) for dates out of four-digit years.
bool escribirFecha(QChar* p, const QDate& fecha) {
    int anio = 0, mes = 0, dia = 0;
    fecha.getDate(&anio, &mes, &dia);
    if (anio < 1 || anio > 9999)
        return false;
    p = escribirCifras(p, dia, 2);
    *p++ = QLatin1Char('/');
    p = escribirCifras(p, mes, 2);
    *p++ = QLatin1Char('/');
    escribirCifras(p, anio, 4);
    return true;
}

// hh:mm:ss am/pm into p, for a valid time.
void escribirHora(QChar* p, const QTime& hora) {
    const int hora12 = hora.hour() % 12 == 0 ? 12 : hora.hour() % 12;
    p = escribirCifras(p, hora12, 2);
    *p++ = QLatin1Char(':');
    p = escribirCifras(p, hora.minute(), 2);
    *p++ = QLatin1Char(':');
    p = escribirCifras(p, hora.second(), 2);
    *p++ = QLatin1Char(' ');
    *p++ = QLatin1Char(hora.hour() < 12 ? 'a' : 'p');
    *p = QLatin1Char('m');
}

constexpr int kLargoFecha = 10;
constexpr int kLargoHora = 11;

} // namespace

QString FechaCorta(const QDate& fecha) {
    QString texto(kLargoFecha, Qt::Uninitialized);
    if (!escribirFecha(texto.data(), fecha))
        return fecha.toString(QStringLiteral("dd/MM/yyyy"));
    return texto;
}

QString HoraTexto(const QTime& hora) {
    if (!hora.isValid())
        return QString();
    QString texto(kLargoHora, Qt::Uninitialized);
    escribirHora(texto.data(), hora);
    return texto;
}

QString FechaHoraTexto(const QDateTime& momento) {
    const QTime hora = momento.time();
    QString texto(kLargoFecha + 1 + kLargoHora, Qt::Uninitialized);
    if (!hora.isValid() || !escribirFecha(texto.data(), momento.date()))
        return FechaCorta(momento.date()) + QLatin1Char(' ') + HoraTexto(hora);
    texto[kLargoFecha] = QLatin1Char(' ');
    escribirHora(texto.data() + kLargoFecha + 1, hora);
    return texto;
}

std::optional<QDateTime> LeerFechaHoraTexto(const QString& texto) {
    return LeerFechaGuardada(texto);
}

double RedondeoPar(double valor) {
    return std::nearbyint(valor);
}

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
