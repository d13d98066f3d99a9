#include "bd/conexion.h"
#include "movimientos/codigoticket.h"
#include "movimientos/tickets.h"
#include "principal/registros.h"
#include "tests/comun/dobles.h"

namespace {

// Tickets read as their lines joined by '|'; a blank line is " ".
const QString kCabecera = " |PARQUEADERO CENTRAL|Sede Norte|NIT "
                          "900.123.456-7|Calle 10 # 5-20|Tel. 555 1234| |";
const QString kPieEntrada = "No se responde por objetos| | ";
const QString kSalida = kCabecera + "Gracias por su visita| |FACTURA DE VENTA # 42|Entrada: "
                                    "06/12/2026 09:15:30 am|Salida: 06/12/2026 02:05:00 pm|";
const QString kPieSalida = " |Vuelva pronto| | ";

class PruebaTickets : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        AjustesParqueadero& p = DatosParqueadero;
        p.NombreParqueadero = "PARQUEADERO CENTRAL", p.OtroNombre = "Sede Norte";
        p.Identificacion = "NIT 900.123.456-7", p.Direccion = "Calle 10 # 5-20";
        p.Tfno = "Tel. 555 1234", p.SimboloMoneda = "$";
        p.NombreDocumento = "FACTURA DE VENTA", p.NombreDocumentoEntrada = "TICKET";
        p.CabeceraEntrada = "Bienvenido", p.CabeceraSalida = "Gracias por su visita";
        p.PieEntrada = "No se responde por objetos", p.PieSalida = "Vuelva pronto";
        p.BaseTexto = "Base: ", p.ValorIVATexto = "IVA ", p.ValorCobradoTexto = "Total: ";
        ConfigInicio.TamanoLetraPlaca = "24", ConfigInicio.PlacaNegrita = true;
        RegistroTicket& t = DatosTicket;
        t.Placa = "ABC123", t.Numero = 42, t.CopiasEntrada = t.CopiasSalida = 1;
        t.FechaEntrada = QDateTime(QDate(2026, 12, 6), QTime(9, 15, 30));
        t.FechaSalida = QDateTime(QDate(2026, 12, 6), QTime(14, 5));
        crearBaseDatos();
        const QString digitos = CodigoTicket(42, ClaveTickets());
        codigo = "[Code 128: " + digitos + "]|" + digitos + "|";
        entrada = kCabecera +
                  "Bienvenido| |PLACA|         ABC123|Entrada|"
                  "06/12/2026 09:15:30 am|TICKET # 42|" +
                  codigo + " |";
    }

    // The entry's barcode and its digits, and the entry ticket down to them.
    QString codigo, entrada;

    QString texto(int trabajo) const { return impresora.textos(trabajo).join('|'); }

    // Prints one entry and one exit ticket: two jobs when each has one copy.
    void imprimirAmbos() {
        impresora.trabajos.clear();
        ImprimirTicketEntrada(std::nullopt);
        ImprimirTicketSalida({}, std::nullopt);
        ASSERT_EQ(impresora.trabajos.size(), DatosTicket.CopiasEntrada + DatosTicket.CopiasSalida);
    }
};

// Each case changes the settings or the ticket's fields and gives both tickets
// whole (when they start with the header) or the part of them it is about, and the size the
// plate is printed in.
TEST_F(PruebaTickets, LineasSegunAjustesYDatos) {
    AjustesParqueadero& p = DatosParqueadero;
    RegistroTicket& t = DatosTicket;
    const QString juan = QStringLiteral("Cliente: Juan Pérez Gil|");
    const QString fin = QStringLiteral("JUEVES, 31 DE DICIEMBRE DE 2026| |");
    const QString sinCajero = "TICKET # 42|" + codigo + " |No se",
                  sinCajeroSalida = "Gracias por su visita| |FACTURA";
    const auto cajero = [&p](const char* texto, bool imprimir, const char* nombre) {
        p.CajeroTexto = texto;
        p.CajeroImprimir = imprimir;
        SesionActual = {"", nombre, "Gómez", "Ruiz", ""};
    };
    const auto letra = [](const char* tamano, bool negrita) {
        ConfigInicio.TamanoLetraPlaca = tamano, ConfigInicio.PlacaNegrita = negrita;
    };
    const struct {
        const char* caso;
        std::function<void()> preparar;
        QString entrada, salida;
        double tamano = 24;
    } casos[] = {
        {"común", [&t] { t.Placa = "abc123"; }, entrada + kPieEntrada,
         kSalida + "PLACA|abc123|Total: $0|" + kPieSalida},
        {"cliente pagado",
         [&t] {
             t.Nombre = "Juan", t.Ape1 = "Pérez", t.Ape2 = "Gil";
             t.FechaFin = QDate(2026, 12, 31), t.Pagado = true;
         },
         entrada + juan + "Puede ingresar hasta el dia:|" + fin + kPieEntrada,
         "Total: $0| |" + juan + "Puede ingresar hasta el dia:|" + fin + "Vuelva"},
        {"cliente sin pagar, fecha, consecutivo y documento",
         [&t, &p] {
             p.FechaAdicionalImprimir = p.ConsecutivoDiaImprimir = true;
             t.ConsecutivoDia = 7, t.NDocumento = "FV-0042", t.Nombre = "Juan";
             t.FechaFin = QDate(2027, 1, 4);
             t.FechaEntrada = QDateTime(QDate(2027, 1, 7), QTime(12, 30, 5));
         },
         "|Entrada|07/01/2027 12:30:05 pm|",
         kCabecera +
             "Gracias por su visita| |Fecha: 06/12/2026|FACTURA DE VENTA # FV-0042|"
             "Entrada: 07/01/2027 12:30:05 pm|Salida: 06/12/2026 02:05:00 pm|PLACA|ABC123|"
             "Total: $0| |Consecutivo Nro. 7| |Cliente: Juan  |Recuerde realizar su pago|"
             "antes del día: LUNES, 4 DE ENERO DE 2027|" +
             kPieSalida},
        {"textos opcionales vacíos",
         [&p] {
             for (QString* x : {&p.OtroNombre, &p.Tfno, &p.CabeceraEntrada, &p.PieEntrada,
                                &p.CabeceraSalida, &p.PieSalida})
                 x->clear();
         },
         " |PARQUEADERO CENTRAL|NIT 900.123.456-7|Calle 10 # 5-20| | |PLACA|         ABC123|"
         "Entrada|06/12/2026 09:15:30 am|TICKET # 42|" +
             codigo + " | | ",
         " |PARQUEADERO CENTRAL|NIT 900.123.456-7|Calle 10 # 5-20| | |FACTURA DE VENTA # 42|"
         "Entrada: 06/12/2026 09:15:30 am|Salida: 06/12/2026 02:05:00 pm|PLACA|ABC123|"
         "Total: $0| | | "},
        {"IVA dividido", [&t] { t.Cobrado = 11900, t.IVA = 19; }, "",
         "|ABC123| |Base: $10.000|IVA 19%: $1.900|Total: $11.900| |"},
        {"sin cobro no hay IVA", [&t] { t.Cobrado = 0, t.IVA = 19; }, "", "|ABC123|Total: $0| |"},
        {"sin IVA", [&t] { t.Cobrado = 2500, t.IVA = 0; }, "", "|ABC123|Total: $2.500| |"},
        {"cajero", [&] { cajero("Cajero:", true, "Ana"); }, codigo + "Cajero: Ana Gómez Ruiz| |",
         "Gracias por su visita| |Cajero: Ana Gómez Ruiz|FACTURA"},
        {"cajero sin texto", [&] { cajero("", true, "Ana"); }, sinCajero, sinCajeroSalida},
        {"cajero sin imprimir", [&] { cajero("Cajero:", false, "Ana"); }, sinCajero,
         sinCajeroSalida},
        {"cajero sin nombre", [&] { cajero("Cajero:", true, ""); }, sinCajero, sinCajeroSalida},
        // Up to 12 points the exit's plate fits on one line; a size not a number is the body's.
        {"letra 11", [&] { letra("11", true); }, "|         ABC123|", "pm|Placa: ABC123|Total", 11},
        {"letra 12", [&] { letra("12", false); }, "", "pm|Placa: ABC123|Total", 12},
        {"letra 24", [&] { letra("24", false); }, "", "pm|PLACA|ABC123|Total"},
        {"letra no numérica", [&] { letra("abc", true); }, "", "pm|PLACA|ABC123|Total", 11},
    };
    // Printing leaves the caller's connection as it found it.
    AbrirConexion();
    const RegistroTicket inicial = t;
    const AjustesParqueadero ajustes = p;
    const RegistroConfigInicio config = ConfigInicio;
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        t = inicial;
        p = ajustes;
        ConfigInicio = config;
        c.preparar();
        imprimirAmbos();
        // The document number is that of the exit just printed only.
        EXPECT_TRUE(t.NDocumento.isEmpty());
        for (const auto& [trabajo, esperado] : {std::pair{0, c.entrada}, std::pair{1, c.salida}}) {
            if (esperado.startsWith(kCabecera.left(5)))
                EXPECT_EQ(texto(trabajo), esperado);
            else
                EXPECT_TRUE(texto(trabajo).contains(esperado)) << texto(trabajo).toStdString();
            // The plate's line in the size and boldness asked for; every other line the body's.
            for (const LineaImpresion& l : impresora.trabajos.at(trabajo).lineas) {
                const bool placa = l.texto.endsWith(t.Placa, Qt::CaseInsensitive);
                EXPECT_EQ(std::tuple(l.fuente, l.tamano, l.negrita),
                          std::tuple(QString("Times New Roman"), placa ? c.tamano : 11,
                                     placa && ConfigInicio.PlacaNegrita))
                    << l.texto.toStdString();
            }
        }
    }
    EXPECT_EQ(Conexion.State(), 1);
    // No copies, no jobs.
    t.CopiasEntrada = t.CopiasSalida = 0;
    imprimirAmbos();
}

} // namespace
