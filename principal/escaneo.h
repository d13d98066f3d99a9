#pragma once
// Telling a barcode scanner from a person: a scanner acts as a keyboard and types a code's
// digits and an Enter far faster than anyone types.

#include <QString>
#include <cstdint>

// Fed every key press in order with its time. Digits are held back while they may still be a
// scan; what is held is let go (to reach its control as typed) as soon as a key shows that it
// was typing.
class DetectorEscaneo {
public:
    // Keys closer than this are a machine's.
    static constexpr uint64_t kIntervaloMaximoMs = 30;
    // Fewer digits before the Enter are typing, whatever their speed.
    static constexpr int kDigitosMinimos = 6;
    // After that many fast digits, which no person types, the Enter may come this late (a
    // scanner, or a keyboard macro, may send it apart from the digits).
    static constexpr uint64_t kEsperaIntroMs = 300;

    struct Decision {
        // How many held digits go on to their control now, oldest first, before this key.
        int soltar = 0;
        // This key is held back (a digit) or taken (the Enter of a scan).
        bool retenida = false;
        // The digits scanned, when this key ended a scan.
        QString codigo;
    };

    // `caracter` is the key's text (empty for keys without one); `intro` for Enter or Return.
    Decision tecla(const QString& caracter, bool intro, uint64_t momentoMs);
    // Everything held is typing after all (no key followed in time): how many to let go.
    int soltarTodo();
    int retenidos() const { return static_cast<int>(digitos_.size()); }
    // How long what is held may wait for the next key before it is typing.
    uint64_t esperaMs() const;

private:
    QString digitos_;
    uint64_t ultimaMs_ = 0;
};
