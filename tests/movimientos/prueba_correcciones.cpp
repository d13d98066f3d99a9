#include "movimientos/correcciones.h"
#include "tests/movimientos/apoyo_movimientos.h"

#include <QMenu>
#include <QTreeView>

namespace {

const QString kSinCambios = QStringLiteral(
    "No realizó cambios en los valores originales - No se efectuará ninguna modificación");
const QString kHecho = QStringLiteral("Datos modificados correctamente");
const QString kMenu =
    QStringLiteral("Modificar Datos (Menú Desplegable Contextual Click Derecho sobre ");

class PruebaCorrecciones : public PruebaMovimientosMotores {
protected:
    void SetUp() override {
        PruebaMovimientosMotores::SetUp();
        carro = SembrarTarifa(1000, 60, "CARRO");
        moto = SembrarTarifa(500, 60, "MOTO", true, false);
        SembrarEntrada("ABC123", kEntrada, carro);
        SembrarEntrada("XYZ999", kEntrada, carro);
    }
    // The attendant picks the entry of `placa`, asks for its correction with the right button
    // and answers the boxes; `entretanto` runs between the pick and the answers.
    void corregirEntrada(const QString& placa, const QStringList& respuestas,
                         const std::function<void()>& entretanto = {}) {
        QMenu menu;
        EstablecerMenuCorrecciones(&menu);
        clicEnFila(placa);
        v().ListView1RightClicked(
            v().ListView1->visualRect(v().ListView1->currentIndex()).center());
        if (entretanto)
            entretanto();
        dialogos.entradas = respuestas;
        dialogos.respuestas = {Boton::Si};
        menu.addAction(QStringLiteral("Modificar Datos"))->trigger();
    }
    // A past exit of "SAL001" charged 1 500 in two items, as the reprint list offers it.
    int64_t corregirSalida(const QStringList& respuestas) {
        const int64_t id = Ejecutar(
            QStringLiteral("INSERT INTO Salidas (FechaEntrada,FechaSalida,Placa,id_tarifa,Tarifa,"
                           "Tiempo,DescrTarifa,Cobrado,ConsecutivoDia) VALUES (%1,%1,'SAL001',%2,"
                           "1000,60,'CARRO',1500,1)")
                .arg(Texto(kEntrada))
                .arg(carro));
        Ejecutar(QStringLiteral("INSERT INTO ItemsSalidas (id_salida,Orden,Concepto,Valor) VALUES "
                                "(%1,1,'Hora',1000),(%1,2,'Fracción',500)")
                     .arg(id));
        dialogos.entradas = respuestas;
        dialogos.respuestas = {Boton::Si};
        ModificarDatos(
            {"SAL001", false, {id, QString::number(carro), "$1.500", [this] { ++refrescos; }}});
        return id;
    }
    static QString entradaAbc() {
        return Tabla("SELECT Placa,id_tarifa,Tarifa,DescrTarifa FROM Entradas WHERE id_entrada=1");
    }

    int64_t carro = 0;
    int64_t moto = 0;
    int refrescos = 0;
};
VIALTOR_EN_AMBOS_MOTORES(PruebaCorrecciones);

// An entry, then an exit. With no row chosen, only the instructions; every refusal is one box
// and leaves the entry as it was. "01" for rate 1 counts as a change, a lower-case plate with a
// quote is stored upper case as typed, the log carries the statement and the list shows the
// change; a row another station removed meanwhile is not claimed corrected.
TEST_P(PruebaCorrecciones, SeCorrigeSoloConDatosNuevosYValidos) {
    ModificarDatos({});
    EXPECT_TRUE(textos().startsWith("1.- Realice un click con el botón izquierdo") &&
                !ultimaCaja().esEntrada);
    const QString antes = entradaAbc();
    // The answers, and the last box shown.
    const std::pair<QStringList, QString> casos[] = {
        {{"xyz999"}, "La Placa indicada ya existe en las Entradas: XYZ999"},
        {{"ABCDEFGHIJK"}, "La Placa excede el límite de 10 caracteres"},
        {{"ABC123", "1"}, kSinCambios},
        // Rate 2 is not offered at exits.
        {{"ABC123", "2"},
         "El valor indicado para la Tarifa no es correcto, no existe el código de la tarifa: 2"},
        {{"ABC123", "1a"}, "El valor indicado para la Tarifa no es correcto"},
        // Cancelled: nothing after the plate's box.
        {{""}, "Modifique la Placa\r\n\r\nA continuación podrá modificar la Tarifa"},
    };
    for (const auto& [respuestas, caja] : casos) {
        corregirEntrada("ABC123", respuestas);
        EXPECT_EQ(ultimaCaja().texto + "|" + entradaAbc(), caja + "|" + antes)
            << respuestas.join('|').toStdString();
    }
    EXPECT_TRUE(registrado(kMenu + "Entrada), Mensaje: " + kSinCambios));

    v().txtCopiasEntrada->setText("3");
    corregirEntrada("ABC123", {"abc'9", "01"});
    EXPECT_EQ(caja("Vialtor - Modificar Datos Salida").texto,
              "¿Está seguro de realizar la modificación?\r\n\r\nPLACA A MODIFICAR: ABC123\r\n"
              "PLACA MODIFICADA:  ABC'9\r\n\r\nTARIFA MODIFICADA: 01 - CARRO - $1.000\r\n\r\n");
    EXPECT_EQ(ultimaCaja().texto + "|" + entradaAbc(), kHecho + "|ABC'9,1,1000,CARRO");
    EXPECT_EQ(sucesos().last(), kMenu + "Entrada), Datos modificados correctamente:  [UPDATE]");
    EXPECT_TRUE(columna(2).split('|').contains("ABC'9"));
    // The window as reopened: Enter offers nothing of the corrected row again.
    EXPECT_EQ(v().txtPlaca->text() + v().txtDescrVeh->text() + v().txtCopiasEntrada->text(), "1");
    QTest::keyClick(v().txtPlaca, Qt::Key_Return);
    EXPECT_EQ(ultimaCaja().texto, "Debe indicar la Placa");

    corregirEntrada("XYZ999", {"XYZ998", "1"},
                    [] { Ejecutar("DELETE FROM Entradas WHERE Placa='XYZ999'"); });
    EXPECT_EQ(ultimaCaja().texto, "El registro ya no existe: otra estación lo retiró o lo "
                                  "cambió. No se efectuó ninguna modificación.");
    EXPECT_EQ(columna(2), "ABC'9");
    EXPECT_FALSE(mensajes().last().contains(kHecho));

    // Exits take any rate, and an amount of up to ten characters within what the column holds.
    // The items that explain the charge go with a new amount or rate, in the same write; a new
    // plate (and the amount as typed without its dot) keeps them.
    const QString incorrecto = "El valor indicado para el Valor Cobrado no es correcto";
    // Plate, rate and amount typed; the box shown, then the exit's rate, amount and items.
    const std::tuple<const char*, int64_t, const char*, QString, int64_t, const char*> salidas[] = {
        {"SAL001", moto, "1234567890", kHecho, moto, "1234567890,0"},
        {"SAL001", carro, "12345678901", "El Valor Cobrado excede el límite de 9 dígitos", carro,
         "1500,2"},
        {"SAL001", carro, "9999999999", incorrecto, carro, "1500,2"},
        {"SAL001", carro, "2,000", incorrecto, carro, "1500,2"},
        {"SAL001", carro, "1.500", kSinCambios, carro, "1500,2"},
        {"SAL002", carro, "1500", kHecho, carro, "1500,2"},
        {"SAL001", moto, "1.500", kHecho, moto, "1500,0"},
        {"SAL001", carro, "1.600", kHecho, carro, "1600,0"},
    };
    const QString sql = "SELECT id_tarifa,Cobrado,(SELECT COUNT(*) FROM ItemsSalidas WHERE "
                        "id_salida=%1) FROM Salidas WHERE id_salida=%1";
    for (const auto& [placa, tarifa, monto, caja, guardada, cobro] : salidas) {
        const int64_t id = corregirSalida({placa, QString::number(tarifa), monto});
        EXPECT_EQ((ultimaCaja().texto + "|" + Tabla(sql.arg(id))).toStdString(),
                  (caja + "|" + QString::number(guardada) + "," + cobro).toStdString());
    }
    EXPECT_EQ(refrescos, 4);
    EXPECT_TRUE(registrado(kMenu + "Salida), Mensaje de confirmación: VALOR COBRADO A MODIFICAR: "
                                   "$1.500 - VALOR COBRADO MODIFICADO:  $1.234.567.890"));
    EXPECT_TRUE(sucesos().last().endsWith("Datos modificados correctamente:  [UPDATE] [DELETE]"));
}

} // namespace
