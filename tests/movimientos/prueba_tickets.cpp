#include "conexion.h"
#include "dobles.h"
#include "registros.h"
#include "tickets.h"

#include <QStringList>

namespace {

const QString kBlanco = QStringLiteral(" ");

class PruebaTickets : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        AjustesParqueadero& p = DatosParqueadero;
        p.NombreParqueadero = QStringLiteral("PARQUEADERO CENTRAL");
        p.OtroNombre = QStringLiteral("Sede Norte");
        p.Identificacion = QStringLiteral("NIT 900.123.456-7");
        p.Direccion = QStringLiteral("Calle 10 # 5-20");
        p.Tfno = QStringLiteral("Tel. 555 1234");
        p.SimboloMoneda = QStringLiteral("$");
        p.NombreDocumento = QStringLiteral("FACTURA DE VENTA");
        p.NombreDocumentoEntrada = QStringLiteral("TICKET");
        p.CabeceraEntrada = QStringLiteral("Bienvenido");
        p.CabeceraSalida = QStringLiteral("Gracias por su visita");
        p.PieEntrada = QStringLiteral("No se responde por objetos");
        p.PieSalida = QStringLiteral("Vuelva pronto");
        p.BaseTexto = QStringLiteral("Base: ");
        p.ValorIVATexto = QStringLiteral("IVA ");
        p.ValorCobradoTexto = QStringLiteral("Total: ");
        ConfigInicio.TamanoLetraPlaca = QStringLiteral("24");
        ConfigInicio.PlacaNegrita = true;
        RegistroTicket& t = DatosTicket;
        t.Placa = QStringLiteral("ABC123");
        t.FechaEntrada = QStringLiteral("06/12/2026 09:15:30 am");
        t.FechaSalida = QStringLiteral("06/12/2026 02:05:00 pm");
        t.Numero = 42;
        t.CopiasEntrada = 1;
        t.CopiasSalida = 1;
    }

    QStringList cabecera() const {
        return {kBlanco,
                QStringLiteral("PARQUEADERO CENTRAL"),
                QStringLiteral("Sede Norte"),
                QStringLiteral("NIT 900.123.456-7"),
                QStringLiteral("Calle 10 # 5-20"),
                QStringLiteral("Tel. 555 1234"),
                kBlanco};
    }

    QStringList lineas(int trabajo = 0) const { return impresora.textos(trabajo); }

    // The one printed line holding exactly `texto`.
    LineaImpresion linea(const QString& texto, int trabajo = 0) const {
        const QStringList textos = lineas(trabajo);
        EXPECT_EQ(textos.count(texto), 1) << texto.toStdString();
        const int i = textos.indexOf(texto);
        return i < 0 ? LineaImpresion{} : impresora.trabajos.at(trabajo).lineas.at(i);
    }

    // Every line but `excepto` is in the body font.
    void esperarCuerpo(const QStringList& excepto, int trabajo = 0) const {
        for (const LineaImpresion& l : impresora.trabajos.at(trabajo).lineas) {
            EXPECT_EQ(l.fuente, QStringLiteral("Times New Roman")) << l.texto.toStdString();
            if (excepto.contains(l.texto))
                continue;
            EXPECT_EQ(l.tamano, 11) << l.texto.toStdString();
            EXPECT_FALSE(l.negrita) << l.texto.toStdString();
        }
    }

    void imprimirSalida() {
        impresora.trabajos.clear();
        ImprimirTicketSalida();
        ASSERT_EQ(impresora.trabajos.size(), 1);
    }
};

QString Contenido(const TrabajoImpresion& trabajo) {
    QString s;
    for (const LineaImpresion& l : trabajo.lineas)
        s += QStringLiteral("%1|%2|%3|%4\n").arg(l.texto, l.fuente).arg(l.tamano).arg(l.negrita);
    return s;
}

TEST(DividirIva, BaseRedondeadaAlParYElImpuestoEncima) {
    const struct {
        int64_t cobrado;
        int iva;
        int64_t base;
        int64_t valorIva;
    } casos[] = {
        {11900, 19, 10000, 1900},
        {5000, 19, 4202, 798},
        {1190, 19, 1000, 190},
        {2500, 0, 2500, 0},
        {5, 100, 2, 3},
        {7, 100, 4, 3},
        {1, 19, 1, 0},
        {100000, 255, 28169, 71831},
    };
    for (const auto& c : casos) {
        const DivisionIva d = DividirIva(c.cobrado, c.iva);
        EXPECT_EQ(d.base, c.base) << c.cobrado << " @ " << c.iva;
        EXPECT_EQ(d.valorIva, c.valorIva) << c.cobrado << " @ " << c.iva;
    }
}

TEST_F(PruebaTickets, EntradaDeVehiculoComun) {
    DatosTicket.Placa = QStringLiteral("abc123");
    ImprimirTicketEntrada();
    ASSERT_EQ(impresora.trabajos.size(), 1);
    const QStringList esperado =
        cabecera() + QStringList{QStringLiteral("Bienvenido"),
                                 kBlanco,
                                 QStringLiteral("PLACA"),
                                 QStringLiteral("         ABC123"),
                                 QStringLiteral("Entrada"),
                                 QStringLiteral("06/12/2026 09:15:30 am"),
                                 QStringLiteral("TICKET # 42"),
                                 kBlanco,
                                 QStringLiteral("No se responde por objetos"),
                                 kBlanco,
                                 kBlanco};
    EXPECT_EQ(lineas(), esperado);
    const LineaImpresion placa = linea(QStringLiteral("         ABC123"));
    EXPECT_EQ(placa.tamano, 24);
    EXPECT_TRUE(placa.negrita);
    esperarCuerpo({QStringLiteral("         ABC123")});
}

TEST_F(PruebaTickets, EntradaSinTextosOpcionalesNoDejaLineas) {
    DatosParqueadero.OtroNombre.clear();
    DatosParqueadero.Tfno.clear();
    DatosParqueadero.CabeceraEntrada.clear();
    DatosParqueadero.PieEntrada.clear();
    ImprimirTicketEntrada();
    const QStringList esperado{kBlanco,
                               QStringLiteral("PARQUEADERO CENTRAL"),
                               QStringLiteral("NIT 900.123.456-7"),
                               QStringLiteral("Calle 10 # 5-20"),
                               kBlanco,
                               kBlanco,
                               QStringLiteral("PLACA"),
                               QStringLiteral("         ABC123"),
                               QStringLiteral("Entrada"),
                               QStringLiteral("06/12/2026 09:15:30 am"),
                               QStringLiteral("TICKET # 42"),
                               kBlanco,
                               kBlanco,
                               kBlanco};
    EXPECT_EQ(lineas(), esperado);
}

TEST_F(PruebaTickets, EntradaDeClientePagadoYSinPagar) {
    RegistroTicket& t = DatosTicket;
    t.IdCliente = 7;
    t.Nombre = QStringLiteral("Juan");
    t.Ape1 = QStringLiteral("Pérez");
    t.Ape2 = QStringLiteral("Gil");
    t.FechaFin = QDate(2026, 12, 31);
    t.Pagado = true;
    ImprimirTicketEntrada();
    t.Pagado = false;
    ImprimirTicketEntrada();
    ASSERT_EQ(impresora.trabajos.size(), 2);
    const QStringList antes = cabecera() + QStringList{QStringLiteral("Bienvenido"),
                                                       kBlanco,
                                                       QStringLiteral("PLACA"),
                                                       QStringLiteral("         ABC123"),
                                                       QStringLiteral("Entrada"),
                                                       QStringLiteral("06/12/2026 09:15:30 am"),
                                                       QStringLiteral("TICKET # 42"),
                                                       kBlanco,
                                                       QStringLiteral("Cliente: Juan Pérez Gil")};
    const QStringList pie{kBlanco, QStringLiteral("No se responde por objetos"), kBlanco, kBlanco};
    const QStringList pagado{QStringLiteral("Puede ingresar hasta el dia:"),
                             QStringLiteral("JUEVES, 31 DE DICIEMBRE DE 2026")};
    const QStringList sinPagar{QStringLiteral("Recuerde realizar su pago"),
                               QStringLiteral("antes del día: JUEVES, 31 DE DICIEMBRE DE 2026")};
    EXPECT_EQ(lineas(0), antes + pagado + pie);
    EXPECT_EQ(lineas(1), antes + sinPagar + pie);
}

TEST_F(PruebaTickets, SalidaConIva) {
    DatosTicket.Cobrado = 11900;
    DatosTicket.IVA = 19;
    imprimirSalida();
    const QStringList esperado =
        cabecera() + QStringList{QStringLiteral("Gracias por su visita"),
                                 kBlanco,
                                 QStringLiteral("FACTURA DE VENTA # 42"),
                                 QStringLiteral("Entrada: 06/12/2026 09:15:30 am"),
                                 QStringLiteral("Salida: 06/12/2026 02:05:00 pm"),
                                 QStringLiteral("PLACA"),
                                 QStringLiteral("ABC123"),
                                 kBlanco,
                                 QStringLiteral("Base: $10.000"),
                                 QStringLiteral("IVA 19%: $1.900"),
                                 QStringLiteral("Total: $11.900"),
                                 kBlanco,
                                 QStringLiteral("Vuelva pronto"),
                                 kBlanco,
                                 kBlanco};
    EXPECT_EQ(lineas(), esperado);
    const LineaImpresion placa = linea(QStringLiteral("ABC123"));
    EXPECT_EQ(placa.tamano, 24);
    EXPECT_TRUE(placa.negrita);
    esperarCuerpo({QStringLiteral("ABC123")});
}

TEST_F(PruebaTickets, SalidaConIvaDivideElValor) {
    const struct {
        int32_t cobrado;
        uint8_t iva;
        const char* base;
        const char* valorIva;
        const char* total;
    } casos[] = {
        {5000, 19, "Base: $4.202", "IVA 19%: $798", "Total: $5.000"},
        {10100, 1, "Base: $10.000", "IVA 1%: $100", "Total: $10.100"},
        {1250000, 25, "Base: $1.000.000", "IVA 25%: $250.000", "Total: $1.250.000"},
    };
    for (const auto& c : casos) {
        DatosTicket.Cobrado = c.cobrado;
        DatosTicket.IVA = c.iva;
        imprimirSalida();
        const QStringList l = lineas();
        const QStringList esperado{QStringLiteral("ABC123"),   kBlanco,
                                   QString::fromUtf8(c.base),  QString::fromUtf8(c.valorIva),
                                   QString::fromUtf8(c.total), kBlanco};
        EXPECT_EQ(l.mid(l.indexOf(QStringLiteral("ABC123")), 6), esperado) << c.total;
    }
}

TEST_F(PruebaTickets, SalidaSinCobroOSinIvaTieneUnaLineaDeValor) {
    const struct {
        int32_t cobrado;
        uint8_t iva;
        const char* valor;
    } casos[] = {{0, 19, "Total: $0"}, {0, 0, "Total: $0"}, {2500, 0, "Total: $2.500"}};
    for (const auto& c : casos) {
        DatosTicket.Cobrado = c.cobrado;
        DatosTicket.IVA = c.iva;
        imprimirSalida();
        const QStringList l = lineas();
        const QStringList esperado{QStringLiteral("PLACA"), QStringLiteral("ABC123"),
                                   QString::fromUtf8(c.valor), kBlanco,
                                   QStringLiteral("Vuelva pronto")};
        EXPECT_EQ(l.mid(l.indexOf(QStringLiteral("PLACA")), 5), esperado) << c.valor;
        EXPECT_FALSE(l.join(QLatin1Char('\n')).contains(QStringLiteral("Base")));
        EXPECT_FALSE(l.join(QLatin1Char('\n')).contains(QStringLiteral("IVA")));
    }
}

TEST_F(PruebaTickets, SalidaSinTextosOpcionalesNoDejaLineas) {
    DatosParqueadero.OtroNombre.clear();
    DatosParqueadero.Tfno.clear();
    DatosParqueadero.CabeceraSalida.clear();
    DatosParqueadero.PieSalida.clear();
    DatosTicket.Cobrado = 3000;
    imprimirSalida();
    const QStringList esperado{kBlanco,
                               QStringLiteral("PARQUEADERO CENTRAL"),
                               QStringLiteral("NIT 900.123.456-7"),
                               QStringLiteral("Calle 10 # 5-20"),
                               kBlanco,
                               kBlanco,
                               QStringLiteral("FACTURA DE VENTA # 42"),
                               QStringLiteral("Entrada: 06/12/2026 09:15:30 am"),
                               QStringLiteral("Salida: 06/12/2026 02:05:00 pm"),
                               QStringLiteral("PLACA"),
                               QStringLiteral("ABC123"),
                               QStringLiteral("Total: $3.000"),
                               kBlanco,
                               kBlanco,
                               kBlanco};
    EXPECT_EQ(lineas(), esperado);
}

TEST_F(PruebaTickets, PlacaDeSalidaSegunTamanoDeLetra) {
    const struct {
        const char* tamanoTexto;
        bool negrita;
        bool enUnaLinea;
        double tamano;
    } casos[] = {
        {"11", true, true, 11},  {"11", false, true, 11},   {"12", true, true, 12},
        {"24", true, false, 24}, {"24", false, false, 24},  {"8", true, false, 8},
        {"", true, false, 11},   {"abc", false, false, 11}, {"0", true, false, 11},
        {"-5", true, false, 11},
    };
    for (const auto& c : casos) {
        ConfigInicio.TamanoLetraPlaca = QString::fromUtf8(c.tamanoTexto);
        ConfigInicio.PlacaNegrita = c.negrita;
        imprimirSalida();
        const QStringList l = lineas();
        const QString textoPlaca =
            c.enUnaLinea ? QStringLiteral("Placa: ABC123") : QStringLiteral("ABC123");
        const int i = l.indexOf(textoPlaca);
        ASSERT_GE(i, 1) << c.tamanoTexto;
        EXPECT_EQ(l.at(i - 1), c.enUnaLinea ? QStringLiteral("Salida: 06/12/2026 02:05:00 pm")
                                            : QStringLiteral("PLACA"))
            << c.tamanoTexto;
        EXPECT_EQ(l.contains(QStringLiteral("PLACA")), !c.enUnaLinea) << c.tamanoTexto;
        EXPECT_EQ(l.at(i + 1), QStringLiteral("Total: $0")) << c.tamanoTexto;
        EXPECT_EQ(l.last(), kBlanco);
        EXPECT_EQ(l.at(l.size() - 3), QStringLiteral("Vuelva pronto"));
        const LineaImpresion placa = linea(textoPlaca);
        EXPECT_EQ(placa.tamano, c.tamano) << c.tamanoTexto;
        EXPECT_EQ(placa.negrita, c.negrita) << c.tamanoTexto;
        esperarCuerpo({textoPlaca});
    }
}

TEST_F(PruebaTickets, PlacaDeEntradaConTamanoInutilizableConservaElCuerpo) {
    const char* tamanos[] = {"", "abc", "0", "24"};
    for (const char* tamano : tamanos) {
        ConfigInicio.TamanoLetraPlaca = QString::fromUtf8(tamano);
        ConfigInicio.PlacaNegrita = false;
        impresora.trabajos.clear();
        ImprimirTicketEntrada();
        ASSERT_EQ(impresora.trabajos.size(), 1);
        const QStringList l = lineas();
        EXPECT_EQ(l.at(l.indexOf(QStringLiteral("PLACA")) + 1), QStringLiteral("         ABC123"));
        EXPECT_EQ(l.size(), 18) << tamano;
        const double esperado = QString::fromUtf8(tamano) == QLatin1String("24") ? 24 : 11;
        EXPECT_EQ(linea(QStringLiteral("         ABC123")).tamano, esperado) << tamano;
        esperarCuerpo({QStringLiteral("         ABC123")});
    }
}

TEST_F(PruebaTickets, LineaDeCajeroSoloConLasTresCondiciones) {
    SesionActual.Ape1 = QStringLiteral("Gómez");
    SesionActual.Ape2 = QStringLiteral("Ruiz");
    const struct {
        const char* cajeroTexto;
        bool cajeroImprimir;
        const char* nombre;
        bool aparece;
    } casos[] = {{"Cajero:", true, "Ana", true},
                 {"", true, "Ana", false},
                 {"Cajero:", false, "Ana", false},
                 {"Cajero:", true, "", false}};
    const QString lineaCajero = QStringLiteral("Cajero: Ana Gómez Ruiz");
    for (const auto& c : casos) {
        DatosParqueadero.CajeroTexto = QString::fromUtf8(c.cajeroTexto);
        DatosParqueadero.CajeroImprimir = c.cajeroImprimir;
        SesionActual.Nombre = QString::fromUtf8(c.nombre);
        impresora.trabajos.clear();
        ImprimirTicketEntrada();
        ImprimirTicketSalida();
        ASSERT_EQ(impresora.trabajos.size(), 2);
        const QStringList entrada = lineas(0);
        const QStringList salida = lineas(1);
        EXPECT_EQ(entrada.contains(lineaCajero), c.aparece) << c.cajeroTexto << c.nombre;
        EXPECT_EQ(salida.contains(lineaCajero), c.aparece) << c.cajeroTexto << c.nombre;
        EXPECT_EQ(entrada.size(), c.aparece ? 19 : 18);
        if (!c.aparece)
            continue;
        EXPECT_EQ(entrada.at(entrada.indexOf(lineaCajero) - 1), QStringLiteral("TICKET # 42"));
        EXPECT_EQ(salida.mid(salida.indexOf(lineaCajero) - 2, 4),
                  (QStringList{QStringLiteral("Gracias por su visita"), kBlanco, lineaCajero,
                               QStringLiteral("FACTURA DE VENTA # 42")}));
    }
}

TEST_F(PruebaTickets, SalidaConFechaAdicionalConsecutivoYCliente) {
    DatosParqueadero.FechaAdicionalImprimir = true;
    DatosParqueadero.ConsecutivoDiaImprimir = true;
    DatosParqueadero.CajeroTexto = QStringLiteral("Cajero:");
    DatosParqueadero.CajeroImprimir = true;
    SesionActual.Nombre = QStringLiteral("Ana");
    RegistroTicket& t = DatosTicket;
    t.ConsecutivoDia = 7;
    t.NDocumento = QStringLiteral("FV-0042");
    t.Nombre = QStringLiteral("Juan");
    t.FechaFin = QDate(2027, 1, 4);
    t.Pagado = false;
    imprimirSalida();
    const QStringList esperado =
        cabecera() + QStringList{QStringLiteral("Gracias por su visita"),
                                 kBlanco,
                                 QStringLiteral("Cajero: Ana  "),
                                 QStringLiteral("Fecha: 06/12/2026"),
                                 QStringLiteral("FACTURA DE VENTA # FV-0042"),
                                 QStringLiteral("Entrada: 06/12/2026 09:15:30 am"),
                                 QStringLiteral("Salida: 06/12/2026 02:05:00 pm"),
                                 QStringLiteral("PLACA"),
                                 QStringLiteral("ABC123"),
                                 QStringLiteral("Total: $0"),
                                 kBlanco,
                                 QStringLiteral("Consecutivo Nro. 7"),
                                 kBlanco,
                                 QStringLiteral("Cliente: Juan  "),
                                 QStringLiteral("Recuerde realizar su pago"),
                                 QStringLiteral("antes del día: LUNES, 4 DE ENERO DE 2027"),
                                 kBlanco,
                                 QStringLiteral("Vuelva pronto"),
                                 kBlanco,
                                 kBlanco};
    EXPECT_EQ(lineas(), esperado);
}

TEST_F(PruebaTickets, NumeroDeDocumentoSeVaciaTrasLaSalida) {
    DatosTicket.NDocumento = QStringLiteral("FV-0042");
    imprimirSalida();
    EXPECT_TRUE(lineas().contains(QStringLiteral("FACTURA DE VENTA # FV-0042")));
    EXPECT_TRUE(DatosTicket.NDocumento.isEmpty());
    imprimirSalida();
    EXPECT_TRUE(lineas().contains(QStringLiteral("FACTURA DE VENTA # 42")));
}

TEST_F(PruebaTickets, SalidaCierraLaConexionAunSinCopias) {
    crearBaseDatos();
    for (const uint8_t copias : {uint8_t{1}, uint8_t{0}}) {
        AbrirConexion();
        ASSERT_EQ(Conexion.State(), 1);
        ImprimirTicketEntrada();
        EXPECT_EQ(Conexion.State(), 1);
        DatosTicket.CopiasSalida = copias;
        DatosTicket.NDocumento = QStringLiteral("FV-1");
        ImprimirTicketSalida();
        EXPECT_EQ(Conexion.State(), 0) << int(copias);
        EXPECT_TRUE(DatosTicket.NDocumento.isEmpty()) << int(copias);
    }
}

TEST_F(PruebaTickets, CadaCopiaEsUnTrabajoIdentico) {
    DatosTicket.Cobrado = 11900;
    DatosTicket.IVA = 19;
    DatosTicket.CopiasEntrada = 3;
    DatosTicket.CopiasSalida = 3;
    ImprimirTicketEntrada();
    ImprimirTicketSalida();
    ASSERT_EQ(impresora.trabajos.size(), 6);
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(Contenido(impresora.trabajos.at(i)), Contenido(impresora.trabajos.at(0)));
        EXPECT_EQ(Contenido(impresora.trabajos.at(3 + i)), Contenido(impresora.trabajos.at(3)));
    }
    EXPECT_TRUE(lineas(0).contains(QStringLiteral("TICKET # 42")));
    EXPECT_TRUE(lineas(3).contains(QStringLiteral("Total: $11.900")));

    impresora.trabajos.clear();
    DatosTicket.CopiasEntrada = 0;
    DatosTicket.CopiasSalida = 0;
    ImprimirTicketEntrada();
    ImprimirTicketSalida();
    EXPECT_TRUE(impresora.trabajos.isEmpty());
}

TEST_F(PruebaTickets, FechasGuardadasSeImprimenConElFormatoDelPrograma) {
    const struct {
        const char* guardada;
        const char* impresa;
        const char* corta;
    } casos[] = {
        {"2026-12-06 14:05:00", "06/12/2026 02:05:00 pm", "06/12/2026"},
        {"6/1/2027 12:00:00 am", "06/01/2027 12:00:00 am", "06/01/2027"},
        {"7/1/2027 12:30:05 pm", "07/01/2027 12:30:05 pm", "07/01/2027"},
        {"sin fecha", "sin fecha", "sin fecha"},
    };
    DatosParqueadero.FechaAdicionalImprimir = true;
    for (const auto& c : casos) {
        DatosTicket.FechaEntrada = QString::fromUtf8(c.guardada);
        DatosTicket.FechaSalida = QString::fromUtf8(c.guardada);
        impresora.trabajos.clear();
        ImprimirTicketEntrada();
        ImprimirTicketSalida();
        ASSERT_EQ(impresora.trabajos.size(), 2);
        const QString impresa = QString::fromUtf8(c.impresa);
        EXPECT_EQ(lineas(0).at(lineas(0).indexOf(QStringLiteral("Entrada")) + 1), impresa);
        EXPECT_TRUE(lineas(1).contains(QStringLiteral("Entrada: ") + impresa)) << c.guardada;
        EXPECT_TRUE(lineas(1).contains(QStringLiteral("Salida: ") + impresa)) << c.guardada;
        EXPECT_TRUE(lineas(1).contains(QStringLiteral("Fecha: ") + QString::fromUtf8(c.corta)))
            << c.guardada;
    }
}

} // namespace
