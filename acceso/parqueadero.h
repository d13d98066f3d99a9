#pragma once
// The lot's settings row: loading it into DatosParqueadero, and saving it from the settings
// window.

#include "bd/cambio.h"

#include <QString>
#include <cstdint>
#include <optional>

struct AjustesParqueadero;

// The row is there but a required value is Null or out of range: only the settings window
// can mend it.
class ErrorFilaAjustes : public ErrorBD {
public:
    using ErrorBD::ErrorBD;
};

// Throws ErrorFilaAjustes naming the column when a required value is Null or out of range,
// and ErrorBD when the row is missing, instead of going on with a damaged row.
void CargarDatosParqueadero();

// An amount as the reports show it: the currency symbol, then "#,#" (0 shows no digits).
QString ImporteMoneda(int64_t valor);

// The settings window's number boxes, through the strict parse. Cupo 0 to 9999 (nothing:
// refused); IVA 1 to 99 and DigitosFactura 0 to 99 (nothing: stored as Null).
std::optional<int16_t> CupoValido(const QString& texto);
std::optional<uint8_t> IvaValido(const QString& texto);
std::optional<uint8_t> DigitosFacturaValidos(const QString& texto);

// The one UPDATE of the settings row: IVA 0 is stored as Null, and DigitosFactura too when
// `digitosNulos`.
QString SentenciaDatosParqueadero(const AjustesParqueadero& ajustes, bool digitosNulos);
// Writes the row, then memory and the ticket's tax, so later entries, exits and prints use
// the new values at once. Refusals: NoEncontrado (no row to update), memory left as it was.
Cambio<> GrabarDatosParqueadero(const AjustesParqueadero& ajustes, bool digitosNulos);
