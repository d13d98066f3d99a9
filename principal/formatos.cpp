#include "principal/formatos.h"

#include <cmath>
#include <cstdint>

namespace {

bool esControl(QChar c) {
    const QChar::Category categoria = c.category();
    return categoria == QChar::Other_Control || categoria == QChar::Separator_Line ||
           categoria == QChar::Separator_Paragraph;
}

} // namespace

QString FechaLarga(const QDate& fecha) {
    if (!fecha.isValid())
        return QString();
    static const char* const dias[] = {"lunes",   "martes", "miércoles", "jueves",
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

QString SinControles(QString texto) {
    texto.removeIf(esControl);
    return texto;
}

QString SinControlesSalvoSaltos(QString texto) {
    texto.removeIf([](QChar c) { return c != QLatin1Char('\n') && esControl(c); });
    return texto;
}

QString FormatoMiles(int64_t valor) {
    if (valor == 0)
        return QString();
    const bool negativo = valor < 0;
    QString cifras =
        QString::number(negativo ? -static_cast<uint64_t>(valor) : static_cast<uint64_t>(valor));
    for (int i = cifras.size() - 3; i > 0; i -= 3)
        cifras.insert(i, QLatin1Char('.'));
    return negativo ? QLatin1Char('-') + cifras : cifras;
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

std::optional<int64_t> ImporteEstricto(const QString& texto) {
    const QStringList grupos = texto.trimmed().split(QLatin1Char('.'));
    for (int i = 1; i < grupos.size(); ++i)
        if (grupos[i].size() != 3 || grupos[0].isEmpty() || grupos[0].size() > 3)
            return std::nullopt;
    return EnteroEstricto(grupos.join(QString()));
}

bool CaracteresDeNumero(const QString& texto) {
    for (const QChar c : texto)
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')) &&
            !QStringLiteral(".,+- ").contains(c))
            return false;
    return true;
}

bool ImporteCabe(int64_t valor) {
    return valor >= 0 && valor <= INT32_MAX;
}
