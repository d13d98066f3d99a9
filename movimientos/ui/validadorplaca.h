#pragma once
// The plate box's rule for what may be typed or pasted in it.

#include "principal/ui/controles.h"

// One line, and no more characters than a plate holds once stored: upper case may lengthen
// it ("ß" is "SS"), and a box's own limit counts halves of an emoji.
class ValidadorPlaca : public ValidadorUnaLinea {
public:
    using ValidadorUnaLinea::ValidadorUnaLinea;
    State validate(QString& texto, int& cursor) const override;
};
