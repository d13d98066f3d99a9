#include "principal/escaneo.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

// Keys fed `espacio` ms apart (negative: the clock went back): what reached the controls, in
// order, then '|' and each code read; a wait at the end lets go of what is still held.
QString Teclear(const std::vector<std::pair<QString, int>>& teclas) {
    DetectorEscaneo detector;
    QString escrito, retenido, leidos;
    uint64_t ms = 1000000;
    const auto soltar = [&](int n) { escrito += retenido.left(n), retenido.remove(0, n); };
    for (const auto& [texto, espacio] : teclas)
        for (const QChar c : texto) {
            ms += espacio;
            const auto d = detector.tecla(QString(c), c == '\r', ms);
            soltar(d.soltar);
            leidos += d.codigo.isEmpty() ? QString() : "|" + d.codigo;
            (d.retenida ? retenido : escrito) += d.codigo.isEmpty() ? QString(c) : QString();
        }
    soltar(detector.soltarTodo());
    return escrito + leidos;
}

TEST(DetectorEscaneo, RafagaDeDigitosConIntroEsLecturaLoDemasEsTecleo) {
    const std::tuple<const char*, std::vector<std::pair<QString, int>>, QString> casos[] = {
        {"escáner a 29 ms", {{"00000000424769989280\r", 29}}, "|00000000424769989280"},
        {"persona a 30 ms", {{"123456\r", 30}}, "123456\r"},
        {"Intro aparte de la ráfaga", {{"12345678", 5}, {"\r", 250}}, "|12345678"},
        {"Intro de persona", {{"12345678", 5}, {"\r", 300}}, "12345678\r"},
        {"persona tras la ráfaga", {{"12345678", 5}, {"9\r", 40}}, "123456789\r"},
        {"muy pocos dígitos", {{"12345\r", 5}}, "12345\r"},
        {"placa y luego lectura", {{"AB1", 150}, {"9", 150}, {"87654\r", 5}}, "AB1|987654"},
        {"letra en la ráfaga, dos lecturas", {{"12X345678\r111111\r", 5}}, "12X|345678|111111"},
        {"reloj que retrocede", {{"1", 5}, {"2", -3}, {"34567\r", 5}}, "1|234567"},
        {"dígitos sin Intro salen al esperar", {{"4321", 5}}, "4321"},
    };
    for (const auto& [caso, teclas, esperado] : casos)
        EXPECT_EQ(Teclear(teclas), esperado) << caso;
}

} // namespace
