#include "acceso/ui/frmDatosParqueadero.h"
#include "movimientos/tickets.h"
#include "principal/ui/etiquetapulsable.h"
#include "tests/acceso/apoyo_acceso.h"
#include "tests/acceso/apoyo_ventanas.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

class PruebaDatosParqueadero : public PruebaAdministracion {
protected:
    frmDatosParqueadero& abrir() { return Abrir(ventana); }
    static QString fila() {
        return Tabla("SELECT NombreParqueadero,Cupo,IVA,DigitosFactura,PieSalida,"
                     "ModificarPlacaSalida FROM DatosParqueadero");
    }
    std::unique_ptr<frmDatosParqueadero> ventana;
};

// Numbers go through the strict parse: a bad Cupo refuses, a bad IVA or DigitosFactura is Null.
TEST_F(PruebaDatosParqueadero, LosNumerosSeLeenEstrictamente) {
    // Cupo, IVA, digits typed; the row and memory after.
    const std::tuple<QString, const char*, const char*, const char*, const char*> casos[] = {
        {"12a", "5", "3", "PARQUEADERO VIALTOR,50,19,(Null)", "50 19 0"},
        {" 80", "0", "0", "PARQUEADERO VIALTOR,80,(Null),0", "80 0 0"},
        {"0", "1a", "x", "PARQUEADERO VIALTOR,0,(Null),(Null)", "0 0 0"},
        {"9999", "99", "99", "PARQUEADERO VIALTOR,9999,99,99", "9999 99 99"},
    };
    for (const auto& [cupo, iva, digitos, filaTras, memoria] : casos) {
        frmDatosParqueadero& v = abrir();
        v.txtCupo->setText(cupo);
        v.txtIVA->setText(iva);
        v.txtDigitosFactura->setText(digitos);
        dialogos.cajas.clear();
        Pulsar(v.btnModificar);
        EXPECT_EQ(fila().section(',', 0, 3), filaTras) << cupo.toStdString();
        EXPECT_EQ(QString("%1 %2 %3")
                      .arg(DatosParqueadero.Cupo)
                      .arg(DatosParqueadero.IVA)
                      .arg(DatosParqueadero.DigitosFactura),
                  memoria);
        // Refused, or saved with Null shown as an empty box.
        EXPECT_EQ(textos(), cupo == "12a" ? "Debe indicar el Cupo"
                                          : "¿Desea modificar los datos?|Datos "
                                            "modificados correctamente");
        EXPECT_TRUE(cupo == "12a" ||
                    v.txtIVA->text() + "|" + v.txtDigitosFactura->text() ==
                        fila().section(',', 2, 3).replace("(Null)", "").replace(',', '|'));
    }
    EXPECT_EQ(ultimoSuceso(), "Datos Parqueadero, botón Modificar Datos Parqueadero: Datos "
                              "modificados correctamente");
}

// Texts go in as typed, and the next exit ticket prints them and the tax at once.
TEST_F(PruebaDatosParqueadero, GuardarCambiaLaFilaYElSiguienteTicketDeSalidaSiLaFilaExiste) {
    frmDatosParqueadero& v = abrir();
    EXPECT_EQ(v.txtPieSalida->toPlainText() + v.txtCupo->text(), "Gracias por su visita50");
    v.txtNombreParqueadero->setText("DON JOSÉ'S");
    // Pasted with a NUL and a tab: only the line break stays.
    v.txtPieSalida->clear();
    v.txtPieSalida->insertPlainText(QString("Vuelva\r\n\tpron") + QChar(0) + "to");
    EXPECT_EQ(v.txtPieSalida->toPlainText(), "Vuelva\npronto");
    v.txtIVA->setText("16");
    QTest::mouseClick(v.Label28, Qt::LeftButton);
    dialogos.respuestas = {Boton::No};
    Pulsar(v.btnModificar);
    EXPECT_EQ(fila(), "PARQUEADERO VIALTOR,50,19,(Null),Gracias por su visita,Verdadero");
    Pulsar(v.btnModificar);
    EXPECT_EQ(fila(), "DON JOSÉ'S,50,16,(Null),Vuelva\npronto,Falso");
    DatosTicket.Cobrado = 11600, DatosTicket.CopiasSalida = 1;
    ImprimirTicketSalida({}, std::nullopt);
    const QString ticket = impresora.textos(0).join('|');
    EXPECT_TRUE(ticket.contains("|IVA 16%: $1.600|") && ticket.contains("|Vuelva\npronto|"))
        << ticket.toStdString();
    // With no row to update, nothing is reported as saved and memory stays as it was.
    Ejecutar("DELETE FROM DatosParqueadero");
    v.txtCupo->setText("7");
    dialogos.respuestas = {Boton::Si};
    Pulsar(v.btnModificar);
    EXPECT_EQ(DatosParqueadero.Cupo, 50);
    EXPECT_TRUE(dialogos.cajas.last().texto.startsWith("No se han modificado los datos"));
    EXPECT_TRUE(ultimoSuceso().endsWith("Datos no modificados, no existe la fila de "
                                        "DatosParqueadero en la base de datos"));
}

} // namespace
