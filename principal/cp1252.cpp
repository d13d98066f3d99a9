#include "principal/cp1252.h"

namespace {
// 0x80-0x9F differ from Latin-1; 0 marks the five unassigned bytes.
const char16_t kAlto[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char aByte(char16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (int i = 0; i < 32; ++i)
        if (kAlto[i] == u && u != 0)
            return static_cast<char>(0x80 + i);
    return '?';
}
} // namespace

QByteArray ACp1252(const QString& texto) {
    QByteArray bytes;
    AgregarCp1252(bytes, texto);
    return bytes;
}

void AgregarCp1252(QByteArray& bytes, const QString& texto) {
    const qsizetype inicio = bytes.size();
    bytes.resize(inicio + texto.size());
    char* byte = bytes.data() + inicio;
    for (const QChar c : texto)
        *byte++ = aByte(c.unicode());
}

QString DeCp1252(const QByteArray& bytes) {
    QString texto;
    texto.reserve(bytes.size());
    for (const char b : bytes) {
        const unsigned char u = static_cast<unsigned char>(b);
        if (u >= 0x80 && u < 0xA0)
            texto += kAlto[u - 0x80] ? QChar(kAlto[u - 0x80]) : QChar(0xFFFD);
        else
            texto += QChar(u);
    }
    return texto;
}
