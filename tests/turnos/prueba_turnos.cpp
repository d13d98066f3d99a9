#include "bd/recordset.h"
#include "clientes/periodos.h"
#include "movimientos/correcciones.h"
#include "movimientos/vehiculos.h"
#include "principal/ui/ventanalineas.h"
#include "tests/turnos/apoyo_turnos.h"
#include "turnos/acciones/accionesturno.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace {

using PruebaTurnosMotores = PruebaTurnos;
VIALTOR_EN_AMBOS_MOTORES(PruebaTurnosMotores);

TEST_P(PruebaTurnosMotores, CadaExcepcionCaeEnElTurnoDeSuCajeroYEstacion) {
    // Cashier, station, float and cash counted at the close: a short and an over count are
    // recorded as they are, never refused.
    const std::tuple<int64_t, const char*, const char*, int64_t, int64_t> turnos[] = {
        {1, "ana", "CAJA1", 10000, 12000},
        {2, "luis", "CAJA1", 20000, 51500},
        {1, "ana", "CAJA2", 5000, 22000}};
    for (const auto& [id, usuario, estacion, fondo, contado] : turnos) {
        Cajero(id, usuario, estacion);
        abrir(fondo);
    }
    for (const char* placa : {"AAA111", "BBB222", "CCC333", "DDD444"})
        SembrarEntrada(placa);
    SembrarEntrada("EXE001", kEntrada, 0, 0, "EXENTO");
    SembrarCliente("CLI001", QDate(2026, 12, 31), true);
    SembrarEntrada("CLI001", kEntrada, 0, 0, "CLIENTE");
    SembrarCliente("PAG001", QDate(2027, 1, 31), false, "Eva");

    Cajero(1, "ana", "CAJA1");
    salir("AAA111");
    salirCon("BBB222", "ModificarValorSalida=True", {"1.000"});
    const int64_t idAaa = Tabla("SELECT id_salida FROM Salidas WHERE Placa='AAA111'").toLongLong();
    dialogos.entradas = QStringList{"AAA111", "1", "1.200"};
    dialogos.respuestas = {Boton::Si};
    ModificarDatos({"AAA111", false, {idAaa, "1", "$2.000", {}}});

    Cajero(2, "luis", "CAJA1");
    salirCon("CCC333", "ModificarTarifaSalida=True", {"2"});
    salir("EXE001");
    const int64_t idPeriodo =
        Tabla("SELECT id_fecha_pago FROM FechaPago WHERE CantidadTotal=90000 AND Pagado=False")
            .toLongLong();
    ASSERT_TRUE(EfectuarPago(idPeriodo, QDate(2026, 12, 6), 30000).hecho());

    Cajero(1, "ana", "CAJA2");
    salir("CLI001");
    impresora.enPdf = true;
    salir("DDD444");
    entrar("ENT001");
    impresora.enPdf = false;
    entrar("ENT002");
    AnotarReimpresion(true, DatosTicket);
    // The lost ticket is marked on the exit itself; the shift reads it from there.
    const int64_t perdida =
        Ejecutar("INSERT INTO Salidas (FechaSalida,Placa,id_tarifa,DescrTarifa,Cobrado,NroTicket,"
                 "TicketPerdido) VALUES ('06/12/2026 10:00:00 am','PER001',1,'CARRO',15000,'7',"
                 "True)");
    EnTransaccion([&] {
        AnotarSalida({perdida, "7", "PER001", 15000, -1, false, false, true});
        return Hecho({});
    });

    const CierreTurno caja1 = CierreDe("CAJA1", 1);
    EXPECT_EQ(Cifras(caja1), "2/3000 0/0 13000 Correccion:1/-800 ValorRebajado:1/1000");
    EXPECT_EQ(Cifras(CierreDe("CAJA1", 2)),
              "2/1200 1/30000 51200 SalidaExento:1/0 TarifaCambiada:1/1200");
    const CierreTurno caja2 = CierreDe("CAJA2", 1);
    EXPECT_EQ(Cifras(caja2),
              "3/17000 0/0 22000 Reimpresion:1/2000 SalidaCliente:1/0 TicketPerdido:1/15000 "
              "TicketNoImpreso:2/2000");
    // The lines of the corrections, the amounts lowered and the tickets not printed.
    EXPECT_EQ(
        QStringList({caja1.excepciones[0].lineas.join('|'), caja1.excepciones[4].lineas.join('|'),
                     caja2.excepciones.value(7).lineas.join('|').section(' ', 3)}),
        QStringList({"10:00:00 am AAA111 -$800: placa AAA111, tarifa 1, cobrado $2.000 -> "
                     "placa AAA111, tarifa 1, cobrado $1.200",
                     "10:00:00 am 2 BBB222 $1.000: $2.000 -> $1.000",
                     "DDD444 $2.000: no llegó a la impresora|10:00:00 am Entrada 7 ENT001 $0: "
                     "no llegó a la impresora"}));

    for (const auto& [id, usuario, estacion, fondo, contado] : turnos) {
        Cajero(id, usuario, estacion);
        EXPECT_TRUE(CerrarTurno(contado).hecho());
    }
    EXPECT_EQ(Tabla("SELECT Estacion, Numero, Usuario, Fondo, Esperado, Contado, Diferencia FROM "
                    "Turnos ORDER BY id_turno"),
              "CAJA1,1,ana,10000,13000,12000,-1000|CAJA1,2,luis,20000,51200,51500,300|"
              "CAJA2,1,ana,5000,22000,22000,0");
}

// Without an open shift no exit, payment or amount correction is made: the float box comes
// first, and cancelled, the attendant reads why; a shift closed under the window still takes
// nothing.
TEST_P(PruebaTurnosMotores, SinTurnoAbiertoNadaSeCobra) {
    for (const char* placa : {"AAA111", "BBB222"})
        SembrarEntrada(placa);
    const auto estado = [] {
        return Tabla("SELECT Placa, Cobrado FROM Salidas ORDER BY Placa") + '#' +
               Tabla("SELECT COUNT(*) FROM Entradas") + '#' +
               Tabla("SELECT COUNT(*) FROM MovimientosTurno") + '#' +
               Tabla("SELECT COUNT(*) FROM Pagos");
    };
    const QString antes = estado();
    salir("AAA111");
    EXPECT_EQ(dialogos.cajas.first().titulo, "ABRIR TURNO");
    EXPECT_EQ(ultimaCaja().texto, "Abra su turno (F9) para cobrar");
    EXPECT_EQ(estado(), antes);
    dialogos.entradas = QStringList{"5.000"};
    salir("AAA111");
    EXPECT_EQ(Tabla("SELECT t.Numero, m.Monto FROM MovimientosTurno m, Turnos t WHERE "
                    "t.id_turno = m.id_turno"),
              "1,2000");
    ASSERT_TRUE(CerrarTurno(7000).hecho());

    const int64_t idAaa = Tabla("SELECT id_salida FROM Salidas").toLongLong();
    dialogos.entradas = QStringList{"AAA111", "1", "1.200"};
    ModificarDatos({"AAA111", false, {idAaa, "1", "$2.000", {}}});
    EXPECT_EQ(ultimaCaja().texto, "Abra su turno (F9) para cobrar");
    SembrarCliente("PAG001", QDate(2027, 1, 31), false, "Eva");
    const int64_t idPeriodo =
        Tabla("SELECT id_fecha_pago FROM FechaPago WHERE Pagado=False").toLongLong();
    const QString cerrado = estado();
    EXPECT_THROW(EfectuarPago(idPeriodo, QDate(2026, 12, 6), 100), ErrorBD);
    const int64_t idBbb = Tabla("SELECT id_entrada FROM Entradas").toLongLong();
    const SalidaNueva salida{
        idBbb, reloj.momento.addSecs(-3600), reloj.momento, "BBB222", {}, {}, {}, 0, {}, false, -1};
    EXPECT_THROW(GrabarSalida(salida), ErrorBD);
    EXPECT_EQ(estado(), cerrado);
    // An entry's correction moves no money: no shift is asked for.
    dialogos.entradas = QStringList{"BBB223", "1"};
    ModificarDatos({"BBB222", true, {idBbb, "1", {}, {}}});
    EXPECT_EQ(ultimaCaja().texto, "Datos modificados correctamente");
}

// Answers the count's box after reading what the cashier could see and what the log held.
struct DialogosCiegos : DialogosGuion {
    QString entrada(const QString& texto, const QString& titulo,
                    const QString& predeterminado) override {
        if (titulo == QLatin1String("CERRAR TURNO"))
            antesDelConteo = textos().join('|') + texto + predeterminado + sucesos().join('|');
        return DialogosGuion::entrada(texto, titulo, predeterminado);
    }
    std::function<QStringList()> sucesos;
    QString antesDelConteo;
};

TEST_P(PruebaTurnosMotores, PideElConteoSinMostrarLoEsperadoYLuegoImprimeElCierre) {
    DialogosCiegos ciegos;
    ciegos.sucesos = [this] { return lineasSucesos(); };
    Servicios().dialogos = &ciegos;
    abrir(10000);
    SembrarEntrada("AAA111");
    salir("AAA111");
    ciegos.entradas = QStringList{"11.000"};
    PedirCerrarTurno();
    ASSERT_FALSE(ciegos.antesDelConteo.isEmpty());
    for (const char* esperado : {"12000", "12.000"})
        EXPECT_FALSE(ciegos.antesDelConteo.contains(esperado)) << esperado;
    const QString cierre = ciegos.cajas.last().texto;
    for (const char* linea :
         {"Turno Nº: 1", "Fondo inicial: $10.000", "Salidas cobradas (1): $2.000",
          "Efectivo esperado: $12.000", "Efectivo contado: $11.000",
          "Diferencia: -$1.000 (Faltante $1.000)", "Documentos: 1 a 1"})
        EXPECT_TRUE(cierre.contains(linea)) << linea;
    const qsizetype impresos = impresora.trabajos.size();
    ASSERT_TRUE(impresos > 0 && ciegos.cajas.last().imprimir);
    EXPECT_EQ(impresora.textos(impresos - 1).join("\r\n"), cierre);
    // The close's window prints it again, line for line.
    ciegos.cajas.last().imprimir();
    ASSERT_EQ(impresora.trabajos.size(), impresos + 1);
    EXPECT_EQ(impresora.textos(impresos), impresora.textos(impresos - 1));
    // Last, on paper and in the log, the trail's head with the close's own row.
    const QString ancla = "Ancla de auditoría: " + Tabla("SELECT Orden FROM AuditoriaCabeza") +
                          ':' + Tabla("SELECT Hash FROM AuditoriaCabeza").left(16);
    EXPECT_TRUE(cierre.endsWith("\r\n" + ancla) && ultimoMensaje().endsWith("\r\n" + ancla))
        << ancla.toStdString();
}

// A busy shift's close at 1024x768: its lines scroll in a window whose buttons stay on the
// screen; Aceptar is the default and Escape closes it.
TEST(VentanaCierreTurno, QuinientasExcepcionesCabenEnLaPantalla) {
    CierreTurno cierre;
    cierre.excepciones << ExcepcionesTurno{tipo_turno::Reimpresion, "Reimpresiones", 500, 0};
    for (int i = 0; i < 500; ++i)
        cierre.excepciones[0].lineas << QStringLiteral("10:00:00 am %1 ABC%1 $2.000").arg(i);
    const QStringList lineas = LineasCierre(cierre);
    int impresos = 0;
    const QRect pantalla(0, 0, 1024, 768);
    for (const auto& [tecla, resultado] :
         {std::pair{Qt::Key_Return, QDialog::Accepted}, {Qt::Key_Escape, QDialog::Rejected}}) {
        VentanaLineas v("CERRAR TURNO", lineas, [&impresos] { ++impresos; });
        v.ajustarA(pantalla);
        v.show();
        for (QPushButton* b : {v.btnImprimir, v.btnAceptar})
            EXPECT_TRUE(b->isVisible() &&
                        pantalla.contains(QRect(b->mapToGlobal(QPoint()), b->size())));
        EXPECT_GT(v.txtLineas->verticalScrollBar()->maximum(), 0);
        EXPECT_EQ(v.txtLineas->toPlainText().split('\n'), lineas);
        QTest::mouseClick(v.btnImprimir, Qt::LeftButton);
        QTest::keyClick(v.txtLineas, tecla);
        EXPECT_TRUE(v.isHidden() && v.result() == resultado) << tecla;
    }
    EXPECT_EQ(impresos, 2);
}

// One open shift per cashier and station, numbered per station; a closed one changes only
// through a reopening, which the trail and the next close keep.
TEST_P(PruebaTurnosMotores, UnTurnoPorCajeroYEstacionYCerradoSoloCambiaAlReabrirse) {
    abrir(1000);
    EXPECT_EQ(AbrirTurno(100).resultado, Resultado::TurnoYaAbierto);
    // Logging out and in again does not close it: the login offers nothing new.
    SesionActual = {};
    Cajero(1, "ana", "CAJA1");
    PedirAbrirTurno(true);
    EXPECT_TRUE(dialogos.cajas.isEmpty());
    SembrarEntrada("AAA111");
    salir("AAA111");
    ASSERT_TRUE(CerrarTurno(3000).hecho());
    EXPECT_EQ(CerrarTurno(0).resultado, Resultado::SinTurno);
    // Refused reopens change nothing.
    EXPECT_EQ(ReabrirTurno("CAJA1", 7, "x").resultado, Resultado::NoEncontrado);
    EXPECT_EQ(ReabrirTurno("CAJA9", 1, "x").resultado, Resultado::NoEncontrado);
    Cajero(9, "jefe", "CAJA1");
    SesionActual.NivelAcceso = "1";
    dialogos.entradas = QStringList{"CAJA1", "1", "Conteo mal hecho"};
    PedirReabrirTurno();
    EXPECT_EQ(ultimaCaja().texto, "Turno 1 de CAJA1 reabierto");
    EXPECT_EQ(ReabrirTurno("CAJA1", 1, "otra vez").resultado, Resultado::SinTurno);
    EXPECT_EQ(Tabla("SELECT Accion, Usuario FROM Auditoria WHERE Accion LIKE 'Reapertura%'"),
              "Reapertura de turno,jefe");
    Cajero(1, "ana", "CAJA1");
    EXPECT_EQ(AbrirTurno(0).resultado, Resultado::TurnoYaAbierto);
    ASSERT_TRUE(CerrarTurno(3100).hecho());
    EXPECT_TRUE(LineasCierre(CierreDe("CAJA1", 1))
                    .join('|')
                    .contains("REAPERTURAS|  06/12/2026 10:00:00 am jefe: Conteo mal hecho (cierre "
                              "del 06/12/2026 10:00:00 am, contado $3.000, diferencia $0)"));
    // Typed floats go through the strict amount parse; a wrong one is asked for again, with
    // the reason, until it is right. The reopened shift's number is not given again.
    dialogos.cajas.clear();
    dialogos.entradas = QStringList{"-200", "abc", "2.500"};
    PedirAbrirTurno(false);
    const QString malo =
        "El valor indicado para el fondo inicial no es correcto: %1\r\n\r\nIndique "
        "el fondo inicial de caja (el efectivo con que abre el turno)";
    EXPECT_EQ(dialogos.textos().mid(1), QStringList({malo.arg("-200"), malo.arg("abc"),
                                                     "Turno 2 abierto con fondo inicial $2.500"}));
    Cajero(1, "ana", "CAJA2");
    abrir(0);
    EXPECT_EQ(Tabla("SELECT Estacion, Numero, Fondo, Contado FROM Turnos ORDER BY id_turno"),
              "CAJA1,1,1000,3100|CAJA1,2,2500,(Null)|CAJA2,1,0,(Null)");
    // Reopening while its cashier has another shift open there is refused.
    Cajero(1, "ana", "CAJA1");
    EXPECT_EQ(ReabrirTurno("CAJA1", 1, "x").resultado, Resultado::TurnoYaAbierto);
}

} // namespace
