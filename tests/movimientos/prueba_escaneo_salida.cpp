#include "movimientos/codigoticket.h"
#include "tests/movimientos/apoyo_movimientos.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>

namespace {

class PruebaEscaneo : public PruebaMovimientosMotores {
protected:
    void SetUp() override {
        PruebaMovimientosMotores::SetUp();
        SembrarTarifa(1000, 60, "CARRO");
        Ajustar(kSinCambiosEnSalida + ", PrefijoFactura='FV-', DigitosFactura=4");
    }
    // Keys and Enter typed into whatever holds the focus, `pasoMs` apart by their own time
    // stamps: a scanner's few ms or a person's hundred.
    void teclear(const QString& texto, int pasoMs) {
        for (const QChar c : texto + '\r')
            for (const QEvent::Type tipo : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent tecla(tipo, c == '\r' ? int{Qt::Key_Return} : int{c.unicode()},
                                Qt::NoModifier, QString(c));
                tecla.setTimestamp(momento_ += pasoMs);
                QApplication::sendEvent(v().focusWidget(), &tecla);
            }
    }
    void escanear(int64_t idEntrada) { teclear(CodigoTicket(idEntrada, ClaveTickets()), 5); }
    uint64_t momento_ = 5000000;
};
VIALTOR_EN_AMBOS_MOTORES(PruebaEscaneo);

// A scan, wherever the focus is, leaves the vehicle it names as its plate would, with the
// entry's description and a log line saying so, even for a ticket of another station; the
// same digits at a person's pace are typing into the plate box.
TEST_P(PruebaEscaneo, LecturaEnCualquierControlSaleComoPorPlaca) {
    ComoOtraEstacion([] { SembrarEntrada("LEC000"); });
    QWidget* const controles[] = {v().txtPlaca, v().ListView1, v().btnEntrada, v().comTarifa,
                                  v().chkCobroCompleto};
    for (QWidget* control : controles) {
        const QString placa = "LEC" + control->objectName().left(3).toUpper();
        const int64_t id = SembrarEntrada(placa);
        control->setFocus();
        v().txtDescrVeh->setText("otra");
        dialogos.cajas.clear();
        escanear(id);
        EXPECT_EQ(titulos(), "CONFIRMAR SALIDA") << placa.toStdString();
        EXPECT_EQ(DeSalida(placa, "DescrVeh, Cobrado"), "Sedán gris,2000");
        EXPECT_TRUE(registrado("Salida por lectura del código del ticket, desde Entradas/Salidas: "
                               "Entrada # " +
                               QString::number(id) + " - Placa: " + placa));
    }
    // Two entries of one plate inside: the scanned ticket's leaves, the other stays.
    const int64_t primera = SembrarEntrada("DOB001");
    escanear(SembrarEntrada("DOB001"));
    EXPECT_EQ(Entradas("id_entrada"), "1|" + QString::number(primera));
    Ejecutar("DELETE FROM Entradas WHERE Placa = 'DOB001'");
    escanear(1);
    EXPECT_EQ(Entradas("Placa"), "");
    teclear("123456", 150);
    EXPECT_EQ(Entradas("Placa"), "123456");
}

// Forged or misread, already out, gone meanwhile: a message, a log line, nothing written.
TEST_P(PruebaEscaneo, CodigoNoValidoYaSalidoOBorrado) {
    const int64_t salio = SembrarEntrada("FUE001"), borrada = SembrarEntrada("BOR001");
    escanear(salio);
    const QString salida = "Este ticket ya registró su salida: Ticket # FV-" +
                           Salidas("id_salida").rightJustified(4, '0');
    Ajustar("NombreDocumento='Ticket'");
    ComoOtraEstacion([] { Ejecutar("DELETE FROM Entradas WHERE id_entrada = 2"); });
    QString mal = CodigoTicket(SembrarEntrada("DEN001"), ClaveTickets());
    mal[3] = mal[3] == '9' ? '0' : QChar(mal[3].unicode() + 1);
    const QString filas = Entradas() + "/" + Salidas(), desde = "; lectura del código";
    const std::tuple<std::function<void()>, QString, QString> casos[] = {
        {[&] { teclear(mal, 5); }, "Código de ticket no válido", "Código de ticket no válido"},
        {[&] { escanear(salio); }, salida, salida},
        {[&] { escanear(borrada); }, "Placa no existe", "Placa no existe; entrada # 2"},
    };
    for (const auto& [leer, caja, suceso] : casos) {
        dialogos.cajas.clear();
        leer();
        EXPECT_EQ(textos(), caja);
        EXPECT_TRUE(ultimoMensaje().startsWith("Mensaje: " + suceso + desde)) << caja.toStdString();
        EXPECT_EQ(Entradas() + "/" + Salidas(), filas);
        EXPECT_EQ(v().focusWidget(), v().txtPlaca);
    }
}

} // namespace
