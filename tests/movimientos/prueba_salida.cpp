#include "movimientos/vehiculos.h"
#include "tests/movimientos/apoyo_movimientos.h"

#include <QCheckBox>
#include <QLabel>

namespace {

const QString kProceder = QStringLiteral("¿Proceder con la salida?\r\n\r\n");
const QString kBoton = QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas");

// Rates 1 CARRO, 2 MOTO, 3 BUS (not offered at exits) and 4 GRATIS (offered only at exits).
class PruebaSalida : public PruebaMovimientosMotores {
protected:
    void SetUp() override {
        PruebaMovimientosMotores::SetUp();
        SembrarTarifa(1000, 60, "CARRO");
        SembrarTarifa(500, 30, "MOTO");
        SembrarTarifa(3000, 60, "BUS", true, false);
        SembrarTarifa(0, 0, "GRATIS", false, true);
    }
};

VIALTOR_EN_AMBOS_MOTORES(PruebaSalida);

// The fee's arithmetic is the rules' tests' business; here the window's options and the lost
// ticket's button reach it. A lost ticket pays the rate's amount when higher than the stay, the
// stay otherwise (or with no amount set); its exit is marked, logged and explained. Each exit
// takes the next number of the day the clock label shows, from one, and its ticket the exit's
// key; an exit another station took meanwhile is not written again.
TEST_P(PruebaSalida, CobroSegunOpcionesTicketPerdidoYNumerosDelDia) {
    Ajustar(kSinCambiosEnSalida);
    Ejecutar("INSERT INTO ReglasTarifas (id_tarifa,ValorTicketPerdido) VALUES (1,30000)");
    // Only exits of the same calendar day count: the last second before it and the first after.
    Ejecutar("INSERT INTO Salidas (FechaSalida,Placa,Cobrado,ConsecutivoDia) VALUES "
             "('05/12/2026 11:59:59 pm','AYER',0,9), ('07/12/2026 12:00:00 am','MANANA',0,9)");
    // Plate, entered at, rate, charge in full, first hour, lost ticket, charged.
    const std::tuple<const char*, const char*, int64_t, bool, bool, bool, int64_t> casos[] = {
        {"PERDI1", "06/12/2026 08:30", 1, true, false, true, 30000},
        {"PERDI2", "05/12/2026 02:00", 1, true, false, true, 32000},
        {"PERDI3", "06/12/2026 08:30", 2, true, false, true, 1000},
        {"COB00", "06/12/2026 08:30", 1, false, false, false, 1500},
        {"COB10", "06/12/2026 08:30", 1, true, false, false, 2000},
        {"COB01", "06/12/2026 09:15", 1, false, true, false, 1000},
    };
    for (const auto& [placa, entrada, tarifa, completo, primeraHora, perdido, cobrado] : casos) {
        SCOPED_TRACE(placa);
        SembrarEntrada(placa, QString(entrada) + ":00 am", tarifa, tarifa == 1 ? 1000 : 500);
        v().chkCobroCompleto->setChecked(completo);
        v().chkCobroPrimeraHora->setChecked(primeraHora);
        v().txtPlaca->setText(placa);
        Pulsar(perdido ? v().btnTicketPerdido : v().btnSalida);
        // Without leave to change the amount, the question does not offer it.
        EXPECT_TRUE(ultimaCaja().texto.endsWith(
            QStringLiteral("Valor a cobrar: $%1\r\n").arg(cobrado) + kProceder));
        EXPECT_EQ(DeSalida(placa, "Cobrado,TicketPerdido"),
                  QString::number(cobrado) + (perdido ? ",Verdadero" : ",Falso"));
    }
    // The items' words are the rules' business; here each lost ticket keeps its own.
    EXPECT_EQ(Tabla("SELECT id_salida FROM ItemsSalidas WHERE id_salida < 6 ORDER BY id_item"),
              "3|4|4|5|5");
    EXPECT_TRUE(registrado(kBoton + ": Salida con ticket perdido, Placa: PERDI1 - Valor cobrado: "
                                    "$30000"));
    EXPECT_EQ(mensajes().filter("ticket perdido").size(), 3);
    EXPECT_EQ(v().btnTicketPerdido->text(), "Ticket &Perdido");

    for (const char* placa : {"BBB222", "NOCHE1", "CCC333", "TOMADA"})
        SembrarEntrada(placa);
    hora(QDateTime(QDate(2026, 12, 6), QTime(11, 0)));
    salir("BBB222");
    EXPECT_TRUE(impresora.textos(6).contains("Factura de venta # 9") &&
                impresora.textos(6).contains("Consecutivo Nro. 7") &&
                !impresora.textos(6).contains("*** COPIA ***"));
    hora(QDateTime(QDate(2026, 12, 6), QTime(23, 59, 50)));
    DialogosConGancho gancho("CONFIRMAR SALIDA");
    // The attendant answers after midnight; the clock label is not refreshed meanwhile.
    gancho.gancho = [this] { reloj.momento = QDateTime(QDate(2026, 12, 7), QTime(0, 0, 40)); };
    Servicios().dialogos = &gancho;
    salir("NOCHE1");
    hora(QDateTime(QDate(2026, 12, 7), QTime(0, 5)));
    salir("CCC333");
    EXPECT_EQ(Tabla("SELECT Placa, FechaSalida, ConsecutivoDia FROM Salidas WHERE id_salida > 8"),
              "BBB222,06/12/2026 11:00:00 am,7|NOCHE1,06/12/2026 11:59:50 pm,8|"
              "CCC333,07/12/2026 12:05:00 am,10");
    gancho.gancho = [] { ComoOtraEstacion([] { Ejecutar("DELETE FROM Entradas"); }); };
    salir("TOMADA");
    EXPECT_EQ(DeSalida("TOMADA", "Placa") + "|" + columna(2) + "|" + gancho.cajas.last().texto,
              "||La salida de este vehículo ya fue registrada desde otro punto de control; no se "
              "registra de nuevo");
    EXPECT_TRUE(registrado("Mensaje: La salida ya fue registrada desde otro punto de control; "
                           "botón Registrar Salida, desde Entradas/Salidas, Placa: TOMADA"));
}

// A rate with rules: the confirmation, the stored items and the ticket explain the charge, a
// lowered amount included, and the items come back for the reprint; a plain rate keeps none.
TEST_P(PruebaSalida, TarifaConReglasExplicaElCobro) {
    Ajustar("ModificarPlacaSalida=False, ModificarTarifaSalida=False, ModificarValorSalida=True");
    Ejecutar("INSERT INTO ReglasTarifas (id_tarifa,MinutosGracia,TopeCobro,TopeDiaCalendario) "
             "VALUES (1,15,1200,False)");
    Ejecutar("INSERT INTO FranjasTarifas (id_tarifa,NombreFranja,MinutoInicio,MinutoFin,"
             "DiasSemana,ValorFijo) VALUES (1,'Mañana',480,540,127,300)");
    SembrarEntrada("REGLAS");
    SembrarEntrada("GRACIA", "06/12/2026 09:50:00 am");
    SembrarEntrada("SIMPLE", kEntrada, 2, 500, "MOTO");
    dialogos.entradas = {"1000"};
    salir("REGLAS");
    EXPECT_TRUE(textos().contains("Tarifa: $1000\r\nTarifa 1 h $1.000\r\nMañana $300\r\nTope por "
                                  "24 h aplicado -$100\r\nValor a cobrar: $1200\r\n"));
    salir("GRACIA");
    salir("SIMPLE");
    EXPECT_EQ(Salidas("Placa, Cobrado, TicketPerdido").toStdString(),
              "REGLAS,1000,Falso|GRACIA,0,Falso|SIMPLE,1000,Falso");
    EXPECT_EQ(Tabla("SELECT id_salida, Orden, Concepto, Valor FROM ItemsSalidas ORDER BY id_item"),
              "1,1,Tarifa 1 h,1000|1,2,Mañana,300|1,3,Tope por 24 h aplicado,-100|"
              "1,4,Rebaja del cajero,-200|2,1,Gracia 15 min,0");
    EXPECT_TRUE(impresora.textos(1).contains("Gracia 15 min $0"));
    // The plain rate's ticket goes from the plate straight to the amounts.
    EXPECT_TRUE(impresora.textos(2).join('|').contains("|SIMPLE| |Base:"));
    // Printed as the confirmation words them, from the stored items.
    AbrirConexion();
    EXPECT_EQ(LineasItems(LeerItemsSalida(1), "$"), impresora.textos(0).filter("$").mid(0, 4));
    EXPECT_TRUE(LeerItemsSalida(3).isEmpty());
    CerrarConexion();
}

// An exit by rate, one step a row: the plate typed, the copies box, the answers to the input
// boxes (plate, rate, amount; none: their defaults) and to the question (S: Sí, N: No); then the
// last box's title and text, a line of the step's log and the control left with the focus.
// Nothing is written until the exits by rate, whose rows keep what was corrected, typed or
// entered; then exempt and client vehicles leave free, and a charge too large is refused.
TEST_P(PruebaSalida, CadaDatoNoValidoSeAvisaSinEscribirYLaSalidaGuardaLoCorregido) {
    SembrarEntrada("ABC123");
    SembrarEntrada("OTRA01");
    const auto paso = [&](const char* placa, const char* copias, const char* entradas,
                          const char* respuestas, const QString& caja, const QString& suceso,
                          const char* foco) {
        SCOPED_TRACE(std::string(placa) + " " + (entradas ? entradas : ""));
        v().txtCopiasSalida->setText(copias);
        dialogos.entradas = entradas ? QString(entradas).split('|') : QStringList();
        responder(respuestas);
        v().txtDescrVeh->setFocus();
        salir(placa);
        EXPECT_EQ(ultimaCaja().titulo + "|" + ultimaCaja().texto, caja);
        EXPECT_TRUE(suceso.isEmpty() || registrado(suceso)) << suceso.toStdString();
        EXPECT_EQ(v().focusWidget()->objectName(), foco);
    };
    const QString vialtor = TituloAplicacion + "|",
                  tarifa = "El valor indicado para la Tarifa no es correcto",
                  sucesoTarifa = "Mensaje: Valor incorrecto en modificación de Tarifa%1; botón "
                                 "Registrar Salida, desde Entradas/Salidas",
                  mayor = "No se permite cobrar por encima del valor tarificado",
                  mal = "Espeficique valores correctos a cobrar",
                  manual = "TARIFA DEFINIDA POR EL USUARIO|Modifique la tarifa manualmente si lo "
                           "desea";
    paso("ABC123", "x", nullptr, "", vialtor + "Debe indicar Nro Copias Ticket Salida",
         "Mensaje - Debe indicar Nro Copias Ticket Salida; se hizo click en Registrar Salida, "
         "desde Entradas/Salidas",
         "txtCopiasSalida");
    paso("noesta", "1", nullptr, "", "Placa no existe|Placa no existe",
         "Mensaje: Placa no existe; desde botón Registrar Salida, desde Entradas/Salidas, Placa "
         "(sin corregir a mayúsculas automáticamente): noesta",
         "btnSalida");
    paso("ABC123", "1", "ABCDEFGHIJK", "", vialtor + "La Placa excede el límite de 10 caracteres",
         "", "txtPlaca");
    paso("ABC123", "1", "   ", "", "VERIFICAR/MODIFICAR PLACA|Verifique/Modifique la Placa", "",
         "txtPlaca");
    // The rates offered at exits; cancelling leaves the focus on the button.
    const QString lista = "VERIFICAR/MODIFICAR TARIFA|Verifique/Modifique la Tarifa indicando el "
                          "Código Numérico de Tarifa de su elección\r\n\r\n      1 <-----> CARRO "
                          "<-> $1.000\r\n      4 <-----> GRATIS <-> $0\r\n      2 <-----> MOTO <-> "
                          "$500\r\n";
    paso("ABC123", "1", "ABC123|", "", lista, "", "btnSalida");
    paso("ABC123", "1", "ABC123|x1", "", vialtor + tarifa, sucesoTarifa.arg(""), "txtPlaca");
    paso("ABC123", "1", "ABC123|3", "", vialtor + tarifa + ", no existe el código de la tarifa: 3",
         sucesoTarifa.arg(", no existe el código de la tarifa indicada: -3-"), "txtPlaca");
    // An amount above the charge, no amount, or none at all.
    paso("ABC123", "1", "ABC123|1|2001", "", vialtor + mayor,
         kBoton + ": Mensaje: " + mayor + "; Valor inicial: -2000- Valor Modificado: -2001-",
         "txtPlaca");
    paso("ABC123", "1", "ABC123|1|2,000", "", vialtor + mal,
         kBoton + ": Mensaje: " + mal + ", Valor a Cobrar indicado: -2,000-", "txtPlaca");
    paso("ABC123", "1", "ABC123|1|-100", "", vialtor + mal,
         kBoton + ": Mensaje: " + mal + ", Valor a Cobrar indicado: --100-", "txtPlaca");
    paso("ABC123", "1", "ABC123|1|", "", manual, "", "btnSalida");
    // Not confirmed: the stay stays on screen.
    paso("abc123", "1", nullptr, "N",
         "CONFIRMAR SALIDA|Entrada: 06/12/2026 08:30:00 am\r\nSalida: 06/12/2026 10:00:00 "
         "am\r\n\r\n<------> TIEMPO TOTAL: 1 Hora 30 Minutos. <------>\r\n\r\nPlaca: "
         "ABC123\r\nDescrTarifa: CARRO - Tarifa: $1000\r\nValor a cobrar: $2000\r\n" +
             kProceder +
             "*** Podrá modificar el Valor a Cobrar en la siguiente pantalla ***\r\n\r\n",
         kBoton + ", Control de Tiempo: 1 Hora 30 Minutos. --- Placa: ABC123", "txtPlaca");
    EXPECT_EQ(Salidas() + "|" + Entradas("Placa"), "|ABC123|OTRA01");
    EXPECT_EQ(caja("CONFIRMAR SALIDA").botones, Boton::Si | Boton::No);
    EXPECT_TRUE(registrado(kBoton + ", Proceso Normal de Cobro por Tarifa, confirmación de Salida; "
                                    "Entrada: 06/12/2026 08:30:00 am - Salida: 06/12/2026 10:00:00 "
                                    "am<------> TIEMPO TOTAL: 1 Hora 30 Minutos. <------>Placa: "
                                    "ABC123 - DescrTarifa: CARRO - Tarifa: $1000 - Valor a "
                                    "cobrar: $2000"));
    EXPECT_TRUE(v().lblTiempoTranscurrido->isVisible());

    // Plate and rate corrected: ten characters, one of them an emoji, fit, blanks around go; 90
    // minutes in whole units of 30; the quotes as typed. Untaxed, the tax is left empty.
    Ajustar("PrefijoFactura='F''V-', IVA=0");
    const int64_t comilla = SembrarTarifa(500, 30, "ZO'NA");
    const QString placa = QStringLiteral("X'Y45678\U0001F697Z");
    dialogos.entradas = {" x'y45678\U0001F697z ", QString::number(comilla)};
    v().txtDescrVeh->setText("Mazda 'rojo'");
    v().txtObservaciones->setText("Rayón 'puerta'");
    salir("ABC123");
    EXPECT_TRUE(caja("CONFIRMAR SALIDA").texto.contains("Placa: " + placa + "\r\n"));
    const QString campos = "Placa,DescrVeh,Observaciones,id_tarifa,DescrTarifa,Tarifa,Tiempo,"
                           "Cobrado,NroTicket,NDocumento,IVA";
    EXPECT_EQ(DeSalida(placa, campos), placa + ",Mazda 'rojo',Rayón 'puerta'," +
                                           QString::number(comilla) +
                                           ",ZO'NA,500,30,1500,1,F'V-1,"
                                           "(Null)");
    // The entry goes by its key; the other vehicle stays inside.
    EXPECT_EQ(Entradas("Placa"), "OTRA01");

    // The plate typed, the boxes empty: the entry's description and notes go on. The dot groups
    // thousands in the amount. The exit takes its time from the clock label, and the tax of the
    // setting, not the one an untaxed exit's reprint leaves.
    Ajustar("PrefijoFactura='', IVA=19");
    DatosTicket.IVA = 0;
    reloj.avanzar(40);
    Ejecutar("UPDATE Entradas SET Observaciones = 'Llaves en caja'");
    v().txtCopiasSalida->setText("2");
    dialogos.entradas = {"OTRA01", "1", "1.500"};
    salir("otra01");
    EXPECT_EQ(DeSalida("OTRA01", campos + ",FechaEntrada,FechaSalida"),
              "OTRA01,Sedán gris,Llaves en caja,1,CARRO,1000,60,1500,2,(Null),19,06/12/2026 "
              "08:30:00 am,06/12/2026 10:00:00 am");
    ASSERT_EQ(impresora.trabajos.size(), 3);
    // No document number set: the ticket shows the exit's key.
    const QStringList ticket = impresora.textos(2);
    EXPECT_TRUE(ticket.contains("Factura de venta # 2") && ticket.contains("IVA 19%: $239") &&
                ticket.contains("Entrada: 06/12/2026 08:30:00 am"));
    EXPECT_EQ(mensajes().mid(mensajes().size() - 2).join('|'),
              "Ocupación Actual, botón Salida, desde Entradas/Salidas: 0|Se inicia impresión "
              "Ticket de Salida, con 2 copia/s");
    EXPECT_EQ(v().txtPlaca->text() + v().txtDescrVeh->text() + v().txtObservaciones->text() +
                  QString::number(v().lblTiempoTranscurrido->isVisible()) +
                  QString::number(Conexion.State()),
              "00");

    // Exempt and client vehicles leave free once confirmed, a refusal writing nothing: a client
    // with the reminder of its last days after it, one ended yesterday once more as a client, one
    // entered by rate and a client by now with nothing to confirm.
    SembrarCliente("CLI001", QDate(2026, 12, 9), true);
    SembrarCliente("CLI002", QDate(2026, 12, 5), true);
    SembrarCliente("TAR001", QDate(2026, 12, 31), true);
    SembrarEntrada("EXE001", kEntrada, 0, 0, "EXENTO");
    SembrarEntrada("CLI001", kEntrada, 0, 0, "CLIENTE");
    SembrarEntrada("CLI002", kEntrada, 0, 0, "CLIENTE");
    SembrarEntrada("TAR001");
    const QString exento =
                      "CONFIRMAR SALIDA DE EXENTO DE COBRO|EXENTO DE COBRO\r\n\r\n" + kProceder,
                  dia = "Puede ingresar hasta el día: MIÉRCOLES, 9 DE DICIEMBRE DE 2026",
                  ultima = "Es su última Salida como Cliente. En adelante, se le cobrará por "
                           "tarificación.";
    paso("EXE001", "1", nullptr, "N", exento, "", "txtPlaca");
    paso("EXE001", "1", nullptr, "", exento,
         kBoton + ": Se realiza salida de Exento, Placa: EXE001", "txtPlaca");
    paso("CLI001", "1", nullptr, "N",
         "CONFIRMAR SALIDA DE CLIENTE|" + kCliente + "\r\n" + dia + "\r\n\r\n" + kProceder, "",
         "txtPlaca");
    paso("CLI001", "1", nullptr, "",
         vialtor + "Le queda/n 3 día/s como Cliente\r\n\r\n" + kCliente + "\r\n" + dia,
         kBoton + ": Se realiza salida de Cliente, Placa: CLI001", "txtPlaca");
    paso("CLI002", "1", nullptr, "N",
         "CONFIRMAR SALIDA DE CLIENTE|" + ultima + "\r\n\r\n" + kProceder,
         "Mensaje: Última salida como Cliente. En adelante, se le cobrará por tarificación; botón "
         "Registrar Salida, desde Entradas/Salidas",
         "txtPlaca");
    paso("CLI002", "1", nullptr, "", manual, "", "txtPlaca");
    paso("TAR001", "1", nullptr, "", lista + "      5 <-----> ZO'NA <-> $500\r\n", "", "txtPlaca");
    // The client's reminder is logged as the exit's own.
    EXPECT_TRUE(registrado(kBoton + " - Mensaje: Le queda/n 3 día/s como Cliente  " + kCliente +
                           "  " + dia));

    // A charge the amounts cannot hold is refused, never cut down.
    Ajustar(kSinCambiosEnSalida);
    SembrarEntrada("GRANDE", kEntrada, 1, 2147483647);
    salir("GRANDE");
    EXPECT_EQ(ultimaCaja().texto, "El valor a cobrar ($4.294.967.294) supera el máximo que se "
                                  "puede registrar; revise la tarifa");
    EXPECT_EQ(mensajes().last(), kBoton + ": Mensaje: El valor a cobrar supera el máximo que se "
                                          "puede registrar; Valor calculado: -4294967294- "
                                          "Placa: GRANDE");
    EXPECT_EQ(
        Tabla("SELECT Placa, Cobrado, id_tarifa, DescrTarifa FROM Salidas WHERE id_salida > 2"),
        "EXE001,0,0,EXENTO|CLI001,0,0,CLIENTE|CLI002,0,0,CLIENTE|TAR001,0,1,CLIENTE");
}

} // namespace
