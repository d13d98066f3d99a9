#include "movimientos/ui/validadorplaca.h"

#include "movimientos/vehiculos.h"

QValidator::State ValidadorPlaca::validate(QString& texto, int& cursor) const {
    ValidadorUnaLinea::validate(texto, cursor);
    QList<uint> caracteres = texto.toUcs4();
    while (ContarCaracteres(NormalizarPlaca(texto)) > kLargoPlaca) {
        caracteres.removeLast();
        texto = QString::fromUcs4(reinterpret_cast<const char32_t*>(caracteres.constData()),
                                  caracteres.size());
    }
    cursor = qMin(cursor, static_cast<int>(texto.size()));
    return Acceptable;
}
