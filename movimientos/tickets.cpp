#include "movimientos/tickets.h"

#include "movimientos/codigoticket.h"
#include "principal/formatos.h"
#include "principal/registros.h"
#include "principal/servicios.h"

#include <QDateTime>
#include <QString>
#include <cmath>
#include <optional>

namespace {

const QString kFuente = QStringLiteral("Times New Roman");
constexpr double kTamanoCuerpo = 11;
// The largest font size a printer accepts.
constexpr double kTamanoMaximo = 2160;

// A plate size the printer refuses leaves the font size as it was.
std::optional<double> TamanoUtilizable(const QString& texto) {
    bool ok = false;
    const double tamano = texto.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(tamano) || tamano <= 0 || tamano > kTamanoMaximo)
        return std::nullopt;
    return tamano;
}

QString FechaFinImpresa() {
    return DatosTicket.FechaFin.isValid() ? FechaLarga(DatosTicket.FechaFin).toUpper() : QString();
}

// One copy of a ticket, written with the font in force like the printer's own state.
class Copia {
public:
    void linea(const QString& texto) {
        trabajo_.lineas.append({texto, kFuente, tamano_, negrita_});
    }
    void blanco() { linea(QStringLiteral(" ")); }
    // The bars of a code, then its digits for a reader that cannot see the bars.
    void codigo(const QString& digitos) {
        trabajo_.lineas.append({QString(), kFuente, tamano_, negrita_, digitos});
        linea(digitos);
    }
    void siHayTexto(const QString& texto) {
        if (!texto.isEmpty())
            linea(texto);
    }
    void fuenteCuerpo() {
        tamano_ = kTamanoCuerpo;
        negrita_ = false;
    }
    void fuentePlaca() {
        if (const std::optional<double> tamano = TamanoUtilizable(ConfigInicio.TamanoLetraPlaca))
            tamano_ = *tamano;
        negrita_ = ConfigInicio.PlacaNegrita;
    }
    const TrabajoImpresion& trabajo() const { return trabajo_; }

private:
    TrabajoImpresion trabajo_;
    double tamano_ = kTamanoCuerpo;
    bool negrita_ = false;
};

void Cabecera(Copia& copia) {
    const AjustesParqueadero& p = DatosParqueadero;
    copia.blanco();
    copia.linea(p.NombreParqueadero);
    copia.siHayTexto(p.OtroNombre);
    copia.linea(p.Identificacion);
    copia.linea(p.Direccion);
    copia.siHayTexto(p.Tfno);
    copia.blanco();
}

void LineaCajero(Copia& copia) {
    const AjustesParqueadero& p = DatosParqueadero;
    if (p.CajeroTexto.isEmpty() || !p.CajeroImprimir || SesionActual.Nombre.isEmpty())
        return;
    copia.linea(p.CajeroTexto + QLatin1Char(' ') + SesionActual.Nombre + QLatin1Char(' ') +
                SesionActual.Ape1 + QLatin1Char(' ') + SesionActual.Ape2);
}

void LineasCliente(Copia& copia) {
    const RegistroTicket& t = DatosTicket;
    if (t.Nombre.isEmpty())
        return;
    copia.linea(QStringLiteral("Cliente: ") + t.Nombre + QLatin1Char(' ') + t.Ape1 +
                QLatin1Char(' ') + t.Ape2);
    if (t.Pagado) {
        copia.linea(QStringLiteral("Puede ingresar hasta el dia:"));
        copia.linea(FechaFinImpresa());
    } else {
        copia.linea(QStringLiteral("Recuerde realizar su pago"));
        copia.linea(QStringLiteral("antes del día: ") + FechaFinImpresa());
    }
    copia.blanco();
}

void Pie(Copia& copia, const QString& pie) {
    copia.siHayTexto(pie);
    copia.blanco();
    copia.blanco();
}

// The drawer opens once, with the first copy of an exit charged now.
void Imprimir(const Copia& copia, int copias, const std::optional<QDateTime>& reimpresion,
              bool cajon = false) {
    TrabajoImpresion trabajo = copia.trabajo();
    if (reimpresion)
        trabajo.marcarCopia(*reimpresion);
    trabajo.cajon = cajon && !reimpresion;
    Impresora* impresora = Servicios().impresora;
    for (int n = 0; impresora && n < copias; ++n, trabajo.cajon = false)
        impresora->imprimir(trabajo);
}

Copia TicketEntrada() {
    const AjustesParqueadero& p = DatosParqueadero;
    const RegistroTicket& t = DatosTicket;
    Copia copia;
    Cabecera(copia);
    copia.siHayTexto(p.CabeceraEntrada);
    copia.blanco();
    copia.linea(QStringLiteral("PLACA"));
    copia.fuentePlaca();
    copia.linea(QStringLiteral("         ") + t.Placa.toUpper());
    copia.fuenteCuerpo();
    copia.linea(QStringLiteral("Entrada"));
    copia.linea(FechaHoraTexto(t.FechaEntrada));
    copia.linea(p.NombreDocumentoEntrada + QStringLiteral(" # ") + QString::number(t.Numero));
    copia.codigo(CodigoTicket(t.Numero, ClaveTickets()));
    LineaCajero(copia);
    copia.blanco();
    LineasCliente(copia);
    Pie(copia, p.PieEntrada);
    return copia;
}

void LineasPlacaSalida(Copia& copia) {
    const QString& tamano = ConfigInicio.TamanoLetraPlaca;
    if (tamano == QLatin1String("11") || tamano == QLatin1String("12")) {
        copia.fuentePlaca();
        copia.linea(QStringLiteral("Placa: ") + DatosTicket.Placa);
    } else {
        copia.linea(QStringLiteral("PLACA"));
        copia.fuentePlaca();
        copia.linea(DatosTicket.Placa);
    }
    copia.fuenteCuerpo();
}

void LineasValor(Copia& copia) {
    const AjustesParqueadero& p = DatosParqueadero;
    const RegistroTicket& t = DatosTicket;
    const QString cobrado = p.ValorCobradoTexto + p.SimboloMoneda;
    if (t.Cobrado < 1) {
        copia.linea(cobrado + (t.Cobrado == 0 ? QStringLiteral("0") : FormatoMiles(t.Cobrado)));
        return;
    }
    if (t.IVA > 0) {
        const DivisionIva division = DividirIva(t.Cobrado, t.IVA);
        copia.blanco();
        copia.linea(p.BaseTexto + p.SimboloMoneda + FormatoMiles(division.base));
        copia.linea(p.ValorIVATexto + QString::number(t.IVA) + QStringLiteral("%: ") +
                    p.SimboloMoneda + FormatoMiles(division.valorIva));
    }
    copia.linea(cobrado + FormatoMiles(t.Cobrado));
}

Copia TicketSalida(const QVector<ItemCobro>& items) {
    const AjustesParqueadero& p = DatosParqueadero;
    const RegistroTicket& t = DatosTicket;
    Copia copia;
    Cabecera(copia);
    copia.siHayTexto(p.CabeceraSalida);
    copia.blanco();
    LineaCajero(copia);
    if (p.FechaAdicionalImprimir)
        copia.linea(QStringLiteral("Fecha: ") + FechaCorta(t.FechaSalida.date()));
    copia.linea(p.NombreDocumento + QStringLiteral(" # ") +
                (t.NDocumento.isEmpty() ? QString::number(t.Numero) : t.NDocumento));
    copia.linea(QStringLiteral("Entrada: ") + FechaHoraTexto(t.FechaEntrada));
    copia.linea(QStringLiteral("Salida: ") + FechaHoraTexto(t.FechaSalida));
    LineasPlacaSalida(copia);
    if (!items.isEmpty()) {
        copia.blanco();
        for (const QString& linea : LineasItems(items, p.SimboloMoneda))
            copia.linea(linea);
    }
    LineasValor(copia);
    copia.blanco();
    if (p.ConsecutivoDiaImprimir) {
        copia.linea(QStringLiteral("Consecutivo Nro. ") + QString::number(t.ConsecutivoDia));
        copia.blanco();
    }
    LineasCliente(copia);
    Pie(copia, p.PieSalida);
    return copia;
}

} // namespace

DivisionIva DividirIva(int64_t cobrado, int iva) {
    const double base =
        RedondeoPar(static_cast<double>(cobrado) / (1.0 + static_cast<double>(iva) / 100.0));
    const int64_t baseEntera = static_cast<int64_t>(base);
    return {baseEntera, cobrado - baseEntera};
}

void ImprimirTicketEntrada(const std::optional<QDateTime>& reimpresion) {
    Imprimir(TicketEntrada(), DatosTicket.CopiasEntrada, reimpresion);
}

void ImprimirTicketSalida(const QVector<ItemCobro>& items,
                          const std::optional<QDateTime>& reimpresion) {
    Imprimir(TicketSalida(items), DatosTicket.CopiasSalida, reimpresion, DatosTicket.Cobrado > 0);
    DatosTicket.NDocumento.clear();
}
