#include "principal/cp1252.h"

namespace {
// 0x80-0x9F differ from Latin-1; 0 marks the five unassigned bytes.
const char16_t kAlto[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

QByteArray ACp1252(const QString& texto) {
    QByteArray bytes;
    bytes.reserve(texto.size());
    for (const QChar c : texto) {
        const char16_t u = c.unicode();
        char byte = '?';
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            byte = static_cast<char>(u);
        } else {
            for (int i = 0; i < 32; ++i)
                if (kAlto[i] == u && u != 0)
                    byte = static_cast<char>(0x80 + i);
        }
        bytes += byte;
    }
    return bytes;
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
