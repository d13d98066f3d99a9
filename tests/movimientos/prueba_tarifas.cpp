#include "movimientos/frmTarifas.h"
#include "principal/avisos.h"
#include "tests/movimientos/apoyo_movimientos.h"

#include <QCheckBox>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

namespace {

const QString kAgregada = QStringLiteral("Tarifa agregada correctamente");
const QString kModificada = QStringLiteral("Tarifa modificada correctamente");
const QString kSinTarifa = QStringLiteral("Debe indicar la Tarifa");
const QString kReservada = QStringLiteral("Indique una Descripción diferente para la Tarifa");
const QString kSucesoReservada = QStringLiteral(
    "Tarifas, botón %1 Tarifa, Mensaje: Indique una Descripción diferente para la Tarifa "
    "---(CLIENTE y EXENTO)---");

QString Tarifas(const QString& campos = "Tarifa,Tiempo,DescrTarifa,MostrarEnEntradas,"
                                        "MostrarEnSalidas") {
    return Tabla("SELECT " + campos + " FROM Tarifas ORDER BY id_tarifa");
}

class PruebaTarifas : public PruebaMovimientos {
protected:
    frmTarifas& abrir() {
        tarifas = std::make_unique<frmTarifas>();
        tarifas->show();
        tarifas->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(tarifas.get()));
        return *tarifas;
    }
    // The numbers typed key by key, so the boxes' own checks see every step.
    static void llenar(frmTarifas& v, const QString& tarifa, const QString& tiempo,
                       const QString& descripcion) {
        for (auto [caja, texto] : {std::pair{v.txtTarifa, tarifa}, {v.txtTiempo, tiempo}}) {
            caja->clear();
            QTest::keyClicks(caja, texto);
        }
        v.txtDescrTarifa->setText(descripcion);
    }
    static void pulsarFila(frmTarifas& v, int64_t id, Qt::KeyboardModifiers teclas = {}) {
        const auto filas = v.ListView1->findItems(QString::number(id), Qt::MatchExactly, 0);
        ASSERT_EQ(filas.size(), 1);
        QTest::mouseClick(v.ListView1->viewport(), Qt::LeftButton, teclas,
                          v.ListView1->visualItemRect(filas.first()).center());
    }
    QString cajasDesde(int antes) const { return dialogos.textos().mid(antes).join('|'); }
    void modificarConSi(frmTarifas& v) {
        dialogos.respuestas = {Boton::Si};
        Pulsar(v.btnModificarTarifa);
    }

    std::unique_ptr<frmTarifas> tarifas;
    QSignalSpy cambios{&Avisos(), &AvisosVentanas::tarifasCambiadas};
};

TEST_F(PruebaTarifas, ListaOrdenadaYSoloUnaFilaSeleccionadaQuedaElegida) {
    const int64_t nocturna = SembrarTarifa(1500, 720, "NOCTURNA", false, true);
    const int64_t carro = SembrarTarifa(1000, 60, "CARRO", true, false);
    SembrarTarifa(200, 30, "BICICLETA");
    frmTarifas& v = abrir();
    EXPECT_EQ(v.windowTitle(), QStringLiteral("Gestión de Tarifas - 3 tarifas listadas"));
    QStringList filas;
    for (int i = 0; i < v.ListView1->topLevelItemCount(); ++i)
        for (int c = 1; c < 6; ++c)
            filas << v.ListView1->topLevelItem(i)->text(c);
    EXPECT_EQ(filas.join(','), "200,30,BICICLETA,Mostrar,Mostrar,1000,60,CARRO,Mostrar,No Mostrar,"
                               "1500,720,NOCTURNA,No Mostrar,Mostrar");
    // The first rate fills the boxes; tabbing into the list makes it current, not selected.
    EXPECT_EQ(v.txtTarifa->text() + v.txtDescrTarifa->text(), "200BICICLETA");
    v.btnListadoCompleto->setFocus();
    QTest::keyClick(v.btnListadoCompleto, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), v.ListView1);
    ASSERT_TRUE(v.ListView1->currentItem());
    Pulsar(v.btnModificarTarifa);
    Pulsar(v.btnEliminarTarifa);
    EXPECT_EQ(cajasDesde(0), "Debe seleccionar una Tarifa|Debe seleccionar una tarifa");

    const struct {
        std::function<void()> gesto;
        int64_t elegida;
        const char* cajas;
    } pasos[] = {
        {[&] { pulsarFila(v, carro); }, carro, "1000|60|CARRO|10"},
        {[&] { QTest::keyClick(v.ListView1, Qt::Key_Down); }, nocturna, "1500|720|NOCTURNA|01"},
        {[&] { pulsarFila(v, nocturna, Qt::ControlModifier); }, 0, "1500|720|NOCTURNA|01"},
        {[&] { QTest::keyClick(v.ListView1, Qt::Key_Up); }, carro, "1000|60|CARRO|10"},
        {[&] { Pulsar(v.btnListadoCompleto); }, 0, "200|30|BICICLETA|11"},
    };
    for (const auto& p : pasos) {
        SCOPED_TRACE(p.cajas);
        p.gesto();
        EXPECT_EQ(v.IdTarifaSeleccionada, p.elegida);
        EXPECT_EQ(v.txtTarifa->text() + "|" + v.txtTiempo->text() + "|" + v.txtDescrTarifa->text() +
                      "|" + QString::number(v.chkMostrarEnEntradas->isChecked()) +
                      QString::number(v.chkMostrarEnSalidas->isChecked()),
                  p.cajas);
    }
}

TEST_F(PruebaTarifas, ImporteAdmitePuntosDeMilesYMinutosSoloCifras) {
    // Typed | left in the price box | left in the minutes box.
    const char* const casos[] = {"12a||",  "1,5|5|5",  "1.500|1.500|500", "1.50|1.50|50",
                                 ".5|5|5", "1..5|5|5", "1234.5|5|1234",   "1.500.0|1.500.0|0"};
    frmTarifas& v = abrir();
    for (const char* caso : casos) {
        const QStringList c = QString(caso).split('|');
        llenar(v, c[0], c[0], "");
        EXPECT_EQ(QStringList({c[0], v.txtTarifa->text(), v.txtTiempo->text()}), c);
    }
}

// Each row typed over the last, then Agregar: what it shows, where the focus goes, what it logs.
TEST_F(PruebaTarifas, AgregarValidaEnOrdenYGuardaElNumeroLeidoSalvoDuplicada) {
    const QString tiempo =
        QStringLiteral("Mensaje desde botón Agregar Tarifa: No introdujo un valor correcto: ");
    const QString reservada = kSucesoReservada.arg("Agregar");
    const QString sinDescripcion = QStringLiteral("Debe indicar la Descripción de la Tarifa");
    const QString duplicada = QStringLiteral("Especifique una Tarifa, Descripción y Tiempo "
                                             "diferentes");
    const struct {
        const char *tarifa, *tiempo, *descripcion, *foco;
        QString caja, suceso; // an added rate logs its VALUES as `suceso`
    } casos[] = {
        {"", "", "", "txtTarifa", kSinTarifa, ""},
        {"1.50", "60", "A", "txtTarifa", kSinTarifa, ""},
        {"2147483648", "60", "A", "txtTarifa", kSinTarifa, ""},
        {"100", "", "", "txtTiempo", "Debe indicar el Tiempo (en minutos)", tiempo},
        {"100", "60", "   ", "txtDescrTarifa", sinDescripcion, ""},
        {"100", "60", "cliente", "txtDescrTarifa", kReservada, reservada},
        {"100", "60", " Exento ", "txtDescrTarifa", kReservada, reservada},
        {"1.500", "0", " cliente's día ", "txtTarifa", kAgregada, "'1500','0','CLIENTE''S DÍA'"},
        {"1.000", "60", "carro", "txtTarifa", duplicada, ""},
        {"1000", "30", "CARRO", "txtTarifa", kAgregada, "'1000','30','CARRO'"},
        {"900", "60", "CARRO", "txtTarifa", kAgregada, "'900','60','CARRO'"},
        {"1000", "60", "CARRO GRANDE", "txtTarifa", kAgregada, "'1000','60','CARRO GRANDE'"},
        {"2.000.000", "60", "CARRO", "txtTarifa", kAgregada, "'2000000','60','CARRO'"},
        {"2147483647", "9999", "TOPE", "txtTarifa", kAgregada, "'2147483647','9999','TOPE'"},
    };
    // Shown with both marks off: a new rate is offered at both all the same.
    SembrarTarifa(1000, 60, "CARRO", false, false);
    frmTarifas& v = abrir();
    ASSERT_FALSE(v.chkMostrarEnEntradas->isChecked() || v.chkMostrarEnSalidas->isChecked());
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.tarifa) + "/" + c.tiempo + "/" + c.descripcion);
        const int cajasAntes = dialogos.cajas.size();
        const int sucesosAntes = mensajes().size();
        llenar(v, c.tarifa, c.tiempo, c.descripcion);
        Pulsar(v.btnAgregar);
        EXPECT_EQ(cajasDesde(cajasAntes), c.caja);
        EXPECT_EQ(dialogos.cajas.last().titulo, TituloAplicacion);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), c.foco);
        EXPECT_EQ(mensajes().mid(sucesosAntes).join('|'),
                  c.caja != kAgregada ? c.suceso
                                      : kAgregada + kCrlf +
                                            "INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,"
                                            "MostrarEnEntradas,MostrarEnSalidas) VALUES (" +
                                            c.suceso + ",True,True)");
    }
    EXPECT_EQ(Tarifas("Tarifa,Tiempo,MostrarEnEntradas,MostrarEnSalidas"),
              "1000,60,Falso,Falso|1500,0,Verdadero,Verdadero|1000,30,Verdadero,Verdadero|"
              "900,60,Verdadero,Verdadero|1000,60,Verdadero,Verdadero|2000000,60,Verdadero,"
              "Verdadero|2147483647,9999,Verdadero,Verdadero");
    EXPECT_EQ(v.windowTitle(), QStringLiteral("Gestión de Tarifas - 7 tarifas listadas"));
    EXPECT_EQ(cambios.count(), 6);
}

TEST_F(PruebaTarifas, ModificaSoloLaFilaElegidaPorSuClaveTrasConfirmar) {
    SembrarTarifa(1000, 60, "CARRO");
    const int64_t media = SembrarTarifa(600, 30, "CARRO");
    frmTarifas& v = abrir();
    pulsarFila(v, media);
    llenar(v, "1.700", "45", "exento");
    Pulsar(v.btnModificarTarifa);
    v.txtDescrTarifa->setText(" carro corto ");
    dialogos.respuestas = {Boton::No};
    Pulsar(v.btnModificarTarifa);
    EXPECT_EQ(Tarifas("Tarifa"), "1000|600");
    Pulsar(v.Label5);
    modificarConSi(v);
    const QString pregunta = "¿Desea modificar la tarifa seleccionada?";
    EXPECT_EQ(cajasDesde(0), kReservada + "|" + pregunta + "|" + pregunta + "|" + kModificada);
    EXPECT_EQ(titulos().section('|', 1, 1), "Modificar Tarifa");
    EXPECT_EQ(Tarifas(), "1000,60,CARRO,Verdadero,Verdadero|1700,45,CARRO CORTO,Verdadero,Falso");
    EXPECT_EQ(v.IdTarifaSeleccionada, 0);
    EXPECT_EQ(cambios.count(), 1);
    EXPECT_EQ(mensajes().join('|'), kSucesoReservada.arg("Modificar") + "|" + kModificada + kCrlf +
                                        QStringLiteral("UPDATE Tarifas SET Tarifa=1700,Tiempo=45,"
                                                       "DescrTarifa='CARRO CORTO',"
                                                       "MostrarEnEntradas=1,MostrarEnsalidas=0 "
                                                       "WHERE id_tarifa=%1")
                                            .arg(media));
}

// Also: the change and its correction are one transaction.
TEST_F(PruebaTarifas, SiNingunaQuedaraOfrecidaLaModificadaSeOfreceEnAmbas) {
    const struct {
        bool quitaEntradas, quitaSalidas, otraEnEntradas, otraEnSalidas, corregida;
    } casos[] = {{true, false, false, true, true},
                 {false, true, true, false, true},
                 {true, true, true, true, false}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.quitaEntradas * 10 + c.quitaSalidas);
        Ejecutar("DELETE FROM Tarifas");
        const int64_t general = SembrarTarifa(1000, 60, "GENERAL");
        SembrarTarifa(3000, 60, "PERDIDA", c.otraEnEntradas, c.otraEnSalidas);
        frmTarifas& v = abrir();
        pulsarFila(v, general);
        v.txtTarifa->setText("1100");
        if (c.quitaEntradas)
            Pulsar(v.Label4);
        if (c.quitaSalidas)
            Pulsar(v.Label5);
        const int antes = mensajes().size();
        if (c.corregida) {
            // The update, two counts, then the correction: the fourth statement fails.
            dialogos.respuestas = {Boton::Si};
            Conexion.fallarSentencia(4);
            EXPECT_THROW(v.btnModificarTarifaClicked(), ErrorBD);
            Conexion.fallarSentencia(0);
            CerrarConexion();
            EXPECT_EQ(Tarifas("Tarifa").section('|', 0, 0), "1000");
        }
        modificarConSi(v);
        EXPECT_EQ(Tarifas("Tarifa,MostrarEnEntradas,MostrarEnSalidas").section('|', 0, 0),
                  c.corregida ? "1100,Verdadero,Verdadero" : "1100,Falso,Falso");
        const QStringList nuevos = mensajes().mid(antes);
        EXPECT_EQ(nuevos.size(), c.corregida ? 2 : 1);
        EXPECT_EQ(nuevos.last().startsWith("Tarifa modificada parcialmente. Se modifica todo") &&
                      nuevos.last().endsWith(QStringLiteral("\r\nUPDATE Tarifas SET "
                                                            "MostrarEnEntradas=True,"
                                                            "MostrarEnSalidas=True WHERE "
                                                            "id_tarifa=%1")
                                                 .arg(general)),
                  c.corregida);
        EXPECT_EQ(ultimaCaja().icono, c.corregida ? Icono::Exclamacion : Icono::Informacion);
        EXPECT_TRUE(ultimaCaja().texto.startsWith(c.corregida
                                                      ? "Tarifa modificada parcialmente\r\n"
                                                        "\r\nSe ha realizado su modificación"
                                                      : kModificada));
    }
    EXPECT_EQ(cambios.count(), 3);
}

TEST_F(PruebaTarifas, EliminarPreguntaConNoPredeterminadoYBorraAunLaUltimaDeEntradas) {
    const int64_t entrada = SembrarTarifa(1000, 60, "GENERAL", true, false);
    SembrarTarifa(3000, 60, "PERDIDA", false, true);
    frmTarifas& v = abrir();
    pulsarFila(v, entrada);
    Pulsar(v.btnEliminarTarifa);
    ASSERT_EQ(titulos(), "Eliminar Tarifa");
    EXPECT_EQ(ultimaCaja().icono, Icono::Exclamacion);
    EXPECT_TRUE(ultimaCaja().texto.endsWith(
        QStringLiteral("\r\n\r\n¿Desea, no obstante, eliminar la tarifa seleccionada?")));
    EXPECT_EQ(Tarifas("DescrTarifa"), "GENERAL|PERDIDA");
    dialogos.respuestas = {Boton::Si};
    Pulsar(v.btnEliminarTarifa);
    EXPECT_EQ(Tarifas("DescrTarifa,MostrarEnEntradas"), "PERDIDA,Falso");
    EXPECT_EQ(cajasDesde(2), "Tarifa eliminada correctamente");
    EXPECT_EQ(v.IdTarifaSeleccionada, 0);
    EXPECT_EQ(cambios.count(), 1);
    v.close();
    EXPECT_EQ(mensajes().join('|'),
              QStringLiteral("Tarifa eliminada correctamente\r\nDELETE FROM Tarifas WHERE "
                             "id_tarifa = %1|Cierra la ventana de Tarifas")
                  .arg(entrada));
}

} // namespace
