#include "principal/escaneo.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

struct Tecleo {
    QString escrito;    // what reached the controls, in order ('\r' for Enter)
    QStringList leidos; // the codes read
};

// Feeds keys spaced by the given milliseconds and plays what the detector lets go.
Tecleo Teclear(const std::vector<std::pair<QString, int>>& teclas, bool alFinalEspera = true) {
    DetectorEscaneo detector;
    Tecleo t;
    QString retenido;
    uint64_t ms = 1000000;
    const auto soltar = [&](int n) {
        t.escrito += retenido.left(n);
        retenido.remove(0, n);
    };
    for (const auto& [texto, espacio] : teclas) {
        for (const QChar c : texto) {
            ms = espacio < 0 ? ms - static_cast<uint64_t>(-espacio) : ms + espacio;
            const bool intro = c == QLatin1Char('\r');
            const auto d = detector.tecla(intro ? QStringLiteral("\r") : QString(c), intro, ms);
            soltar(d.soltar);
            if (!d.codigo.isEmpty())
                t.leidos << d.codigo;
            else if (d.retenida)
                retenido += c;
            else
                t.escrito += c;
        }
    }
    if (alFinalEspera)
        soltar(detector.soltarTodo());
    return t;
}

const QString kCodigo = QStringLiteral("00000000424769989280");

TEST(DetectorEscaneo, RafagaDeDigitosConIntroEsLecturaLoDemasEsTecleo) {
    const struct {
        const char* caso;
        std::vector<std::pair<QString, int>> teclas;
        QString escrito;
        QStringList leidos;
    } casos[] = {
        {"escáner a 5 ms", {{kCodigo + "\r", 5}}, "", {kCodigo}},
        {"escáner a 29 ms", {{kCodigo + "\r", 29}}, "", {kCodigo}},
        {"persona a 30 ms", {{kCodigo + "\r", 30}}, kCodigo + "\r", {}},
        {"persona a 120 ms", {{"123456\r", 120}}, "123456\r", {}},
        {"Intro aparte de la ráfaga", {{"12345678", 5}, {"\r", 250}}, "", {"12345678"}},
        {"dígitos rápidos, Intro de persona", {{"12345678", 5}, {"\r", 300}}, "12345678\r", {}},
        {"persona tras la ráfaga", {{"12345678", 5}, {"9\r", 40}}, "123456789\r", {}},
        {"muy pocos dígitos", {{"12345\r", 5}}, "12345\r", {}},
        {"placa tecleada y luego lectura",
         {{"AB", 150}, {"1", 150}, {"9", 150}, {"87654\r", 5}},
         "AB1",
         {"987654"}},
        {"letra en medio de la ráfaga", {{"123X456789\r", 5}}, "123X", {"456789"}},
        {"reloj que retrocede", {{"1", 5}, {"2", -3}, {"34567\r", 5}}, "1", {"234567"}},
        {"dos lecturas seguidas", {{"111111\r222222\r", 5}}, "", {"111111", "222222"}},
        {"dígitos sin Intro salen al esperar", {{"4321", 5}}, "4321", {}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        const Tecleo t = Teclear(c.teclas);
        EXPECT_EQ(t.escrito, c.escrito);
        EXPECT_EQ(t.leidos, c.leidos);
    }
    // Until the wait ends, digits that may still be a scan are held, not lost.
    DetectorEscaneo detector;
    EXPECT_TRUE(detector.tecla("7", false, 10).retenida);
    EXPECT_EQ(detector.retenidos(), 1);
    EXPECT_EQ(detector.soltarTodo(), 1);
    EXPECT_EQ(detector.retenidos(), 0);
}

} // namespace
