#include "movimientos/codigoticket.h"
#include "principal/ui/filtroescaneo.h"
#include "tests/movimientos/apoyo_movimientos.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>

namespace {

const QString kLectura =
    QStringLiteral("Salida por lectura del código del ticket, desde Entradas/Salidas: Entrada # ");

class PruebaEscaneo : public PruebaMovimientosMotores {
protected:
    void SetUp() override {
        PruebaMovimientosMotores::SetUp();
        SembrarTarifa(1000, 60, "CARRO");
        Ajustar("ModificarPlacaSalida=False, ModificarTarifaSalida=False, "
                "ModificarValorSalida=False");
    }
    // Keys typed into whatever holds the focus, `pasoMs` apart by their own time stamps, as a
    // scanner (a few ms) or a person (a hundred or more) types them; then Enter.
    void teclear(const QString& texto, int pasoMs) {
        for (const QChar c : texto + '\r') {
            const bool intro = c == '\r';
            const int tecla = intro ? int{Qt::Key_Return} : int{c.toUpper().unicode()};
            momento_ += pasoMs;
            for (const QEvent::Type tipo : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QWidget* foco = v().focusWidget() ? v().focusWidget() : v().txtPlaca;
                QKeyEvent evento(tipo, tecla, Qt::NoModifier, QString(c));
                evento.setTimestamp(momento_);
                QApplication::sendEvent(foco, &evento);
            }
        }
    }
    void escanear(int64_t idEntrada) { teclear(CodigoTicket(idEntrada, ClaveTickets()), 5); }

    uint64_t momento_ = 5000000;
};
VIALTOR_EN_AMBOS_MOTORES(PruebaEscaneo);

// A scan leaves the vehicle it names as its plate would, wherever the focus is, with the
// entry's description kept and the log saying where the exit came from; the same digits typed
// by a person are just typing.
TEST_P(PruebaEscaneo, LecturaEnCualquierControlSaleComoPorPlaca) {
    const std::pair<const char*, QWidget*> controles[] = {{"LEC001", v().txtPlaca},
                                                          {"LEC002", v().ListView1},
                                                          {"LEC003", v().btnEntrada},
                                                          {"LEC004", v().comTarifa},
                                                          {"LEC005", v().chkCobroCompleto}};
    for (const auto& [placa, control] : controles) {
        SCOPED_TRACE(placa);
        const int64_t id = SembrarEntrada(placa);
        control->setFocus();
        v().txtDescrVeh->setText("otra cosa");
        dialogos.cajas.clear();
        escanear(id);
        EXPECT_EQ(titulos(), "CONFIRMAR SALIDA");
        EXPECT_EQ(DeSalida(placa, "DescrVeh, Cobrado"), "Sedán gris,2000");
        EXPECT_TRUE(registrado(kLectura + QString::number(id) + " - Placa: " + placa));
        EXPECT_EQ(v().txtPlaca->text(), "");
    }
    EXPECT_EQ(Entradas("Placa"), "");

    // At a person's pace the digits go into the plate box and Enter registers an entry.
    v().txtPlaca->setFocus();
    dialogos.cajas.clear();
    teclear("123456", 150);
    EXPECT_EQ(titulos(), "Registrar Entrada");
    EXPECT_EQ(Entradas("Placa").toStdString(), "123456");
}

// Forged or misread, already out, gone meanwhile: a message, a log line, and nothing written.
TEST_P(PruebaEscaneo, CodigoNoValidoYaSalidoOBorrado) {
    Ajustar("PrefijoFactura='FV-', DigitosFactura=4, NombreDocumento='Factura'");
    const int64_t salio = SembrarEntrada("FUE001");
    escanear(salio);
    const QString salida = Salidas("id_salida");
    const int64_t borrada = SembrarEntrada("BOR001");
    const int64_t dentro = SembrarEntrada("DEN001");
    ComoOtraEstacion([borrada] {
        Ejecutar("DELETE FROM Entradas WHERE id_entrada = " + QString::number(borrada));
    });
    QString mal = CodigoTicket(dentro, ClaveTickets());
    mal[3] = mal[3] == '9' ? '0' : QChar(mal[3].unicode() + 1);
    const QString filas = Entradas() + "/" + Salidas();
    const struct {
        std::function<void()> leer;
        QString caja, suceso;
    } casos[] = {
        {[&] { teclear(mal, 5); }, "Código de ticket no válido",
         "Mensaje: Código de ticket no válido; lectura del código del ticket, desde "
         "Entradas/Salidas, Código: " +
             mal},
        {[&] { escanear(salio); },
         "Este ticket ya registró su salida: Factura # FV-" + salida.rightJustified(4, '0'),
         "Mensaje: Este ticket ya registró su salida: Factura # FV-" +
             salida.rightJustified(4, '0')},
        {[&] { escanear(borrada); }, "Placa no existe",
         "Mensaje: Placa no existe; entrada # " + QString::number(borrada)},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caja.toStdString());
        dialogos.cajas.clear();
        c.leer();
        ASSERT_EQ(dialogos.cajas.size(), 1);
        EXPECT_EQ(ultimaCaja().texto, c.caja);
        EXPECT_TRUE(ultimoMensaje().startsWith(c.suceso)) << ultimoMensaje().toStdString();
        EXPECT_EQ(Entradas() + "/" + Salidas(), filas);
        EXPECT_EQ(v().focusWidget(), v().txtPlaca);
    }
}

// A ticket printed at one station leaves by a scan at another: the key is the database's.
TEST_P(PruebaEscaneo, TicketDeOtraEstacion) {
    ComoOtraEstacion([] { SembrarEntrada("OTR001"); });
    v().reabrir();
    escanear(Entradas("id_entrada").toLongLong());
    EXPECT_EQ(DeSalida("OTR001", "Placa"), "OTR001");
    EXPECT_EQ(Entradas(), "");
}

} // namespace
