#include "movimientos/tickets.h"
#include "principal/conexion.h"
#include "principal/registros.h"
#include "tests/comun/dobles.h"

namespace {

// Tickets read as their lines joined by '|'; a blank line is " ".
const QString kCabecera =
    " |PARQUEADERO CENTRAL|Sede Norte|NIT 900.123.456-7|Calle 10 # 5-20|Tel. 555 1234| |";
const QString kEntrada = kCabecera + "Bienvenido| |PLACA|         ABC123|Entrada|"
                                     "06/12/2026 09:15:30 am|TICKET # 42| |";
const QString kPieEntrada = "No se responde por objetos| | ";
const QString kSalida = kCabecera + "Gracias por su visita| |FACTURA DE VENTA # 42|Entrada: "
                                    "06/12/2026 09:15:30 am|Salida: 06/12/2026 02:05:00 pm|";
const QString kPieSalida = " |Vuelva pronto| | ";

class PruebaTickets : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        AjustesParqueadero& p = DatosParqueadero;
        p.NombreParqueadero = "PARQUEADERO CENTRAL";
        p.OtroNombre = "Sede Norte";
        p.Identificacion = "NIT 900.123.456-7";
        p.Direccion = "Calle 10 # 5-20";
        p.Tfno = "Tel. 555 1234";
        p.SimboloMoneda = "$";
        p.NombreDocumento = "FACTURA DE VENTA";
        p.NombreDocumentoEntrada = "TICKET";
        p.CabeceraEntrada = "Bienvenido";
        p.CabeceraSalida = "Gracias por su visita";
        p.PieEntrada = "No se responde por objetos";
        p.PieSalida = "Vuelva pronto";
        p.BaseTexto = "Base: ";
        p.ValorIVATexto = "IVA ";
        p.ValorCobradoTexto = "Total: ";
        ConfigInicio.TamanoLetraPlaca = "24";
        ConfigInicio.PlacaNegrita = true;
        DatosTicket.Placa = "ABC123";
        DatosTicket.FechaEntrada = QDateTime(QDate(2026, 12, 6), QTime(9, 15, 30));
        DatosTicket.FechaSalida = QDateTime(QDate(2026, 12, 6), QTime(14, 5));
        DatosTicket.Numero = 42;
        DatosTicket.CopiasEntrada = 1;
        DatosTicket.CopiasSalida = 1;
    }

    QString texto(int trabajo) const { return impresora.textos(trabajo).join('|'); }

    // Prints one entry and one exit ticket.
    void imprimirAmbos() {
        impresora.trabajos.clear();
        ImprimirTicketEntrada();
        ImprimirTicketSalida();
        ASSERT_EQ(impresora.trabajos.size(), 2);
    }

    // The plate line has `tamano` and `negrita`; every other line is in the body font.
    void esperarFuentes(int trabajo, const QString& placa, double tamano, bool negrita) const {
        EXPECT_EQ(impresora.textos(trabajo).count(placa), 1) << placa.toStdString();
        for (const LineaImpresion& l : impresora.trabajos.at(trabajo).lineas) {
            SCOPED_TRACE(l.texto.toStdString());
            EXPECT_EQ(l.fuente, "Times New Roman");
            EXPECT_EQ(l.tamano, l.texto == placa ? tamano : 11);
            EXPECT_EQ(l.negrita, l.texto == placa && negrita);
        }
    }
};

TEST_F(PruebaTickets, EntradaComunYDeClientePagadoOSinPagar) {
    DatosTicket.Placa = "abc123";
    ImprimirTicketEntrada();
    DatosTicket.Nombre = "Juan";
    DatosTicket.Ape1 = "Pérez";
    DatosTicket.Ape2 = "Gil";
    DatosTicket.FechaFin = QDate(2026, 12, 31);
    DatosTicket.Pagado = true;
    ImprimirTicketEntrada();
    DatosTicket.Pagado = false;
    ImprimirTicketEntrada();
    ASSERT_EQ(impresora.trabajos.size(), 3);
    EXPECT_EQ(texto(0), kEntrada + kPieEntrada);
    esperarFuentes(0, "         ABC123", 24, true);
    EXPECT_EQ(texto(1), kEntrada +
                            "Cliente: Juan Pérez Gil|Puede ingresar hasta el dia:|"
                            "JUEVES, 31 DE DICIEMBRE DE 2026| |" +
                            kPieEntrada);
    EXPECT_EQ(texto(2), kEntrada +
                            "Cliente: Juan Pérez Gil|Recuerde realizar su pago|antes del "
                            "día: JUEVES, 31 DE DICIEMBRE DE 2026| |" +
                            kPieEntrada);
}

TEST_F(PruebaTickets, TextosOpcionalesVaciosNoDejanLinea) {
    AjustesParqueadero& p = DatosParqueadero;
    for (QString* t : {&p.OtroNombre, &p.Tfno, &p.CabeceraEntrada, &p.PieEntrada, &p.CabeceraSalida,
                       &p.PieSalida})
        t->clear();
    DatosTicket.Cobrado = 3000;
    imprimirAmbos();
    const QString cabecera = " |PARQUEADERO CENTRAL|NIT 900.123.456-7|Calle 10 # 5-20| | |";
    EXPECT_EQ(texto(0), cabecera + "PLACA|         ABC123|Entrada|06/12/2026 09:15:30 "
                                   "am|TICKET # 42| | | ");
    EXPECT_EQ(texto(1), cabecera + "FACTURA DE VENTA # 42|Entrada: 06/12/2026 09:15:30 "
                                   "am|Salida: 06/12/2026 02:05:00 pm|PLACA|ABC123|Total: "
                                   "$3.000| | | ");
}

TEST_F(PruebaTickets, ValorConIvaDivididoSoloSiHayCobroEImpuesto) {
    const struct {
        int32_t cobrado;
        uint8_t iva;
        const char* valor;
    } casos[] = {
        {11900, 19, " |Base: $10.000|IVA 19%: $1.900|Total: $11.900|"},
        {5000, 19, " |Base: $4.202|IVA 19%: $798|Total: $5.000|"},
        {0, 19, "Total: $0|"},
        {2500, 0, "Total: $2.500|"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.cobrado);
        DatosTicket.Cobrado = c.cobrado;
        DatosTicket.IVA = c.iva;
        imprimirAmbos();
        EXPECT_EQ(texto(1), kSalida + "PLACA|ABC123|" + c.valor + kPieSalida);
    }
}

TEST_F(PruebaTickets, PlacaSegunTamanoDeLetra) {
    const struct {
        const char* tamanoTexto;
        bool negrita;
        const char* placaSalida;
        double tamano;
    } casos[] = {
        {"11", true, "Placa: ABC123", 11},
        {"12", false, "Placa: ABC123", 12},
        {"24", false, "PLACA|ABC123", 24},
        {"abc", true, "PLACA|ABC123", 11},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.tamanoTexto);
        ConfigInicio.TamanoLetraPlaca = c.tamanoTexto;
        ConfigInicio.PlacaNegrita = c.negrita;
        imprimirAmbos();
        const QString placa = QString(c.placaSalida).section('|', -1);
        EXPECT_EQ(texto(1), kSalida + c.placaSalida + "|Total: $0|" + kPieSalida);
        esperarFuentes(0, "         ABC123", c.tamano, c.negrita);
        esperarFuentes(1, placa, c.tamano, c.negrita);
    }
}

TEST_F(PruebaTickets, LineaDeCajeroSoloConLasTresCondiciones) {
    SesionActual.Ape1 = "Gómez";
    SesionActual.Ape2 = "Ruiz";
    const struct {
        const char* cajeroTexto;
        bool cajeroImprimir;
        const char* nombre;
        bool aparece;
    } casos[] = {{"Cajero:", true, "Ana", true},
                 {"", true, "Ana", false},
                 {"Cajero:", false, "Ana", false},
                 {"Cajero:", true, "", false}};
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.cajeroTexto) + (c.cajeroImprimir ? " sí " : " no ") + c.nombre);
        DatosParqueadero.CajeroTexto = c.cajeroTexto;
        DatosParqueadero.CajeroImprimir = c.cajeroImprimir;
        SesionActual.Nombre = c.nombre;
        imprimirAmbos();
        EXPECT_EQ(texto(0).contains("TICKET # 42|Cajero: Ana Gómez Ruiz| |"), c.aparece);
        EXPECT_EQ(texto(1).contains("Gracias por su visita| |Cajero: Ana Gómez Ruiz|FACTURA"),
                  c.aparece);
    }
}

TEST_F(PruebaTickets, SalidaConFechaAdicionalConsecutivoYCliente) {
    DatosParqueadero.FechaAdicionalImprimir = true;
    DatosParqueadero.ConsecutivoDiaImprimir = true;
    DatosTicket.ConsecutivoDia = 7;
    DatosTicket.NDocumento = "FV-0042";
    DatosTicket.Nombre = "Juan";
    DatosTicket.FechaFin = QDate(2027, 1, 4);
    DatosTicket.FechaEntrada = QDateTime(QDate(2027, 1, 7), QTime(12, 30, 5));
    imprimirAmbos();
    EXPECT_TRUE(texto(0).contains("|Entrada|07/01/2027 12:30:05 pm|"));
    EXPECT_EQ(texto(1), kCabecera +
                            "Gracias por su visita| |Fecha: 06/12/2026|FACTURA DE VENTA # "
                            "FV-0042|Entrada: 07/01/2027 12:30:05 pm|Salida: 06/12/2026 02:05:00 "
                            "pm|PLACA|ABC123|Total: $0| |Consecutivo Nro. 7| |Cliente: Juan  "
                            "|Recuerde realizar su pago|antes del día: LUNES, 4 DE ENERO DE 2027|" +
                            kPieSalida);
    // The document number is the last exit's only.
    EXPECT_TRUE(DatosTicket.NDocumento.isEmpty());
}

// Printing leaves the caller's connection as it found it; no copies, no jobs.
TEST_F(PruebaTickets, SinCopiasNoHayTrabajosYLaConexionSigueAbierta) {
    crearBaseDatos();
    DatosTicket.CopiasEntrada = 0;
    DatosTicket.CopiasSalida = 0;
    AbrirConexion();
    ImprimirTicketEntrada();
    ImprimirTicketSalida();
    EXPECT_EQ(Conexion.State(), 1);
    EXPECT_TRUE(impresora.trabajos.isEmpty());
}

} // namespace
