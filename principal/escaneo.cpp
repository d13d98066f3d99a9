#include "principal/escaneo.h"

namespace {

bool esDigito(const QString& caracter) {
    return caracter.size() == 1 && caracter[0] >= QLatin1Char('0') &&
           caracter[0] <= QLatin1Char('9');
}

} // namespace

DetectorEscaneo::Decision DetectorEscaneo::tecla(const QString& caracter, bool intro,
                                                 uint64_t momentoMs) {
    // A clock that goes back (another source of events) is no proof of speed.
    const bool aTiempo = !digitos_.isEmpty() && momentoMs >= ultimaMs_;
    const bool seguida = aTiempo && momentoMs - ultimaMs_ < kIntervaloMaximoMs;
    Decision d;
    if (intro && aTiempo && digitos_.size() >= kDigitosMinimos &&
        momentoMs - ultimaMs_ < kEsperaIntroMs) {
        d.codigo = digitos_;
        d.retenida = true;
        digitos_.clear();
        return d;
    }
    if (!seguida)
        d.soltar = soltarTodo();
    if (esDigito(caracter)) {
        if (seguida || digitos_.isEmpty()) {
            digitos_ += caracter;
            ultimaMs_ = momentoMs;
            d.retenida = true;
            return d;
        }
    }
    d.soltar += soltarTodo();
    return d;
}

uint64_t DetectorEscaneo::esperaMs() const {
    return digitos_.size() >= kDigitosMinimos ? kEsperaIntroMs : kIntervaloMaximoMs;
}

int DetectorEscaneo::soltarTodo() {
    const int n = static_cast<int>(digitos_.size());
    digitos_.clear();
    return n;
}
