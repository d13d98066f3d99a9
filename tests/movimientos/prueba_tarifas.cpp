#include "tests/movimientos/apoyo_movimientos.h"
#include "movimientos/frmTarifas.h"

#include <QTest>

#include <QCheckBox>
#include <QTreeWidget>

namespace {

const QString kAgregada = QStringLiteral("Tarifa agregada correctamente");
const QString kModificada = QStringLiteral("Tarifa modificada correctamente");
const QString kReservada = QStringLiteral("Indique una Descripción diferente para la Tarifa");
const QString kSucesoReservada = QStringLiteral(
    "Tarifas, botón %1 Tarifa, Mensaje: Indique una Descripción diferente para la Tarifa "
    "---(CLIENTE y EXENTO)---");
const QString kCampos =
    QStringLiteral("Tarifa,Tiempo,DescrTarifa,MostrarEnEntradas,MostrarEnSalidas");

QString Tarifas(const QString& campos = kCampos) {
    return Tabla("SELECT " + campos + " FROM Tarifas ORDER BY id_tarifa");
}

class PruebaTarifas : public PruebaMovimientos {
protected:
    frmTarifas& abrir() {
        tarifas = std::make_unique<frmTarifas>();
        tarifas->show();
        return *tarifas;
    }
    static void llenar(frmTarifas& v, const QString& tarifa, const QString& tiempo,
                       const QString& descripcion) {
        v.txtTarifa->setText(tarifa);
        v.txtTiempo->setText(tiempo);
        v.txtDescrTarifa->setText(descripcion);
    }
    static void seleccionar(frmTarifas& v, int64_t id) {
        const auto filas = v.ListView1->findItems(QString::number(id), Qt::MatchExactly, 0);
        ASSERT_EQ(filas.size(), 1);
        v.ListView1->setCurrentItem(filas.first());
        emit v.ListView1->itemClicked(filas.first(), 3);
    }
    // The texts of the boxes shown since `antes` boxes had been.
    QString cajasDesde(int antes) const { return dialogos.textos().mid(antes).join('|'); }
    void modificarConSi(frmTarifas& v) {
        dialogos.respuestas = {Boton::Si};
        Pulsar(v.btnModificarTarifa);
    }

    std::unique_ptr<frmTarifas> tarifas;
};

TEST_F(PruebaTarifas, ListaOrdenadaPorDescripcionYPrimeraTarifaEnLasCajas) {
    SembrarTarifa(1500, 720, "NOCTURNA", false, true);
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
    // The first rate fills the boxes without being selected.
    EXPECT_EQ(v.txtTarifa->text() + v.txtDescrTarifa->text(), "200BICICLETA");
    EXPECT_EQ(v.IdTarifaSeleccionada, 0);
    seleccionar(v, carro);
    EXPECT_EQ(v.IdTarifaSeleccionada, carro);
    EXPECT_EQ(v.txtTarifa->text() + "|" + v.txtTiempo->text() + "|" + v.txtDescrTarifa->text(),
              "1000|60|CARRO");
    EXPECT_TRUE(v.chkMostrarEnEntradas->isChecked());
    EXPECT_FALSE(v.chkMostrarEnSalidas->isChecked());
    // Moving down with the keys selects the row shown, so a change acts on what the user sees.
    v.ListView1->setFocus();
    QTest::keyClick(v.ListView1, Qt::Key_Down);
    EXPECT_EQ(v.txtDescrTarifa->text(), QStringLiteral("NOCTURNA"));
    EXPECT_NE(v.IdTarifaSeleccionada, carro);
}

TEST_F(PruebaTarifas, CajasDeNumerosVacianLoQueNoEsCifra) {
    frmTarifas& v = abrir();
    const std::pair<const char*, const char*> casos[] = {{"12a", ""}, {"1,5", "5"}, {"250", "250"}};
    for (const auto& [tecleado, queda] : casos) {
        for (QLineEdit* caja : {v.txtTarifa, v.txtTiempo}) {
            caja->clear();
            QTest::keyClicks(caja, tecleado);
            EXPECT_EQ(caja->text(), queda) << tecleado;
        }
    }
}

TEST_F(PruebaTarifas, ValidacionEnOrdenSinEscribirNada) {
    const QString sucesoTiempo =
        QStringLiteral("Mensaje desde botón Agregar Tarifa: No introdujo un valor correcto: ");
    const QString reservada = kSucesoReservada.arg("Agregar");
    const struct {
        const char *tarifa, *tiempo, *descripcion, *foco;
        QString mensaje, suceso;
    } casos[] = {
        {"", "", "", "txtTarifa", "Debe indicar la Tarifa", ""},
        {"100", "", "", "txtTiempo", "Debe indicar el Tiempo (en minutos)", sucesoTiempo},
        {"100", "60", "", "txtDescrTarifa", "Debe indicar la Descripción de la Tarifa", ""},
        {"100", "60", "cliente", "txtDescrTarifa", kReservada, reservada},
        {"100", "60", "Exento", "txtDescrTarifa", kReservada, reservada},
        {"100", "60", "CLIENTE ", "txtDescrTarifa", kReservada, reservada},
    };
    frmTarifas& v = abrir();
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.tarifa) + "/" + c.tiempo + "/" + c.descripcion);
        const int cajasAntes = dialogos.cajas.size();
        const int sucesosAntes = mensajes().size();
        llenar(v, c.tarifa, c.tiempo, c.descripcion);
        Pulsar(v.btnAgregar);
        EXPECT_EQ(cajasDesde(cajasAntes), c.mensaje);
        EXPECT_EQ(dialogos.cajas.last().titulo, TituloAplicacion);
        ASSERT_TRUE(v.focusWidget());
        EXPECT_EQ(v.focusWidget()->objectName(), c.foco);
        EXPECT_EQ(mensajes().mid(sucesosAntes).join('|'), c.suceso);
    }
    EXPECT_EQ(Tarifas(), "");
}

TEST_F(PruebaTarifas, AgregaEnMayusculasEnAmbasSalvoDuplicadaEnPrecioMinutosYDescripcion) {
    // Shown in the boxes with both marks off: the new rate is offered at both all the same.
    SembrarTarifa(1000, 60, "CARRO", false, false);
    frmTarifas& v = abrir();
    llenar(v, "0150", "0", "cliente's día");
    ASSERT_FALSE(v.chkMostrarEnEntradas->isChecked() || v.chkMostrarEnSalidas->isChecked());
    Pulsar(v.btnAgregar);
    EXPECT_EQ(Tarifas().section('|', 1), QStringLiteral("150,0,CLIENTE'S DÍA,Verdadero,Verdadero"));
    EXPECT_EQ(cajasDesde(0), kAgregada);
    EXPECT_EQ(v.windowTitle(), QStringLiteral("Gestión de Tarifas - 2 tarifas listadas"));
    EXPECT_EQ(mensajes().join('|'), kAgregada + kCrlf +
                                        "INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,"
                                        "MostrarEnEntradas,MostrarEnSalidas) VALUES "
                                        "('150','0','CLIENTE''S DÍA',True,True)");
    const struct {
        const char *tarifa, *tiempo, *descripcion;
        bool aceptada;
    } casos[] = {{"1000", "60", "carro", false},
                 {"1000", "30", "CARRO", true},
                 {"900", "60", "CARRO", true},
                 {"1000", "60", "CARRO GRANDE", true}};
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.tarifa) + " " + c.tiempo + " " + c.descripcion);
        const int cajasAntes = dialogos.cajas.size();
        llenar(v, c.tarifa, c.tiempo, c.descripcion);
        Pulsar(v.btnAgregar);
        EXPECT_EQ(cajasDesde(cajasAntes),
                  c.aceptada ? kAgregada
                             : "Especifique una Tarifa, Descripción y Tiempo diferentes");
    }
    EXPECT_EQ(Tarifas("Tarifa,Tiempo,DescrTarifa").section('|', 2),
              "1000,30,CARRO|900,60,CARRO|1000,60,CARRO GRANDE");
}

TEST_F(PruebaTarifas, ModificaSoloLaFilaElegidaPorSuClaveTrasConfirmar) {
    SembrarTarifa(1000, 60, "CARRO");
    const int64_t media = SembrarTarifa(600, 30, "CARRO");
    frmTarifas& v = abrir();
    // The boxes show the first rate, yet nothing is selected.
    Pulsar(v.btnModificarTarifa);
    Pulsar(v.btnEliminarTarifa);
    seleccionar(v, media);
    llenar(v, "700", "45", "exento");
    Pulsar(v.btnModificarTarifa);
    v.txtDescrTarifa->setText("carro corto");
    dialogos.respuestas = {Boton::No};
    Pulsar(v.btnModificarTarifa);
    EXPECT_EQ(mensajes().join('|'), kSucesoReservada.arg("Modificar"));
    EXPECT_EQ(Tarifas("Tarifa"), "1000|600");
    Pulsar(v.Label5);
    modificarConSi(v);
    const QString pregunta = "¿Desea modificar la tarifa seleccionada?";
    EXPECT_EQ(cajasDesde(0), "Debe seleccionar una Tarifa|Debe seleccionar una tarifa|" +
                                 kReservada + "|" + pregunta + "|" + pregunta + "|" + kModificada);
    EXPECT_EQ(dialogos.cajas[3].titulo, "Modificar Tarifa");
    EXPECT_EQ(Tarifas(), "1000,60,CARRO,Verdadero,Verdadero|700,45,CARRO CORTO,Verdadero,Falso");
    EXPECT_EQ(v.IdTarifaSeleccionada, 0);
    EXPECT_EQ(mensajes().last(), kModificada + kCrlf +
                                     QStringLiteral("UPDATE Tarifas SET Tarifa=700,Tiempo=45,"
                                                    "DescrTarifa='CARRO CORTO',MostrarEnEntradas=1,"
                                                    "MostrarEnsalidas=0 WHERE id_tarifa=%1")
                                         .arg(media));
}

TEST_F(PruebaTarifas, SiNingunaQuedaraOfrecidaLaModificadaSeOfreceEnAmbas) {
    const struct {
        bool quitaEntradas, quitaSalidas, otraEnEntradas, otraEnSalidas;
        const char* banderas;
    } casos[] = {{true, false, false, true, "Verdadero,Verdadero"},
                 {false, true, true, false, "Verdadero,Verdadero"},
                 {true, true, true, true, "Falso,Falso"}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.quitaEntradas * 10 + c.quitaSalidas);
        Ejecutar("DELETE FROM Tarifas");
        const int64_t general = SembrarTarifa(1000, 60, "GENERAL");
        SembrarTarifa(3000, 60, "PERDIDA", c.otraEnEntradas, c.otraEnSalidas);
        frmTarifas& v = abrir();
        seleccionar(v, general);
        v.txtTarifa->setText("1100");
        if (c.quitaEntradas)
            Pulsar(v.Label4);
        if (c.quitaSalidas)
            Pulsar(v.Label5);
        const int sucesosAntes = mensajes().size();
        modificarConSi(v);
        EXPECT_EQ(Tarifas("Tarifa,MostrarEnEntradas,MostrarEnSalidas").section('|', 0, 0),
                  QStringLiteral("1100,") + c.banderas);
        const bool corregida = QString(c.banderas) == "Verdadero,Verdadero";
        const QStringList nuevos = mensajes().mid(sucesosAntes);
        ASSERT_EQ(nuevos.size(), corregida ? 2 : 1);
        EXPECT_EQ(ultimaCaja().icono, corregida ? Icono::Exclamacion : Icono::Informacion);
        EXPECT_TRUE(ultimaCaja().texto.startsWith(corregida ? "Tarifa modificada parcialmente\r\n"
                                                              "\r\nSe ha realizado su modificación"
                                                            : kModificada));
        if (corregida) {
            EXPECT_TRUE(nuevos[1].startsWith("Tarifa modificada parcialmente. Se modifica todo"));
            EXPECT_TRUE(
                nuevos[1].endsWith(QStringLiteral("\r\nUPDATE Tarifas SET MostrarEnEntradas="
                                                  "True,MostrarEnSalidas=True WHERE "
                                                  "id_tarifa=%1")
                                       .arg(general)));
        }
    }
}

TEST_F(PruebaTarifas, ElCambioYSuCorreccionVanJuntos) {
    const int64_t general = SembrarTarifa(1000, 60, "GENERAL");
    frmTarifas& v = abrir();
    seleccionar(v, general);
    v.txtTarifa->setText("5000");
    Pulsar(v.Label4);
    dialogos.respuestas = {Boton::Si};
    // The update, two counts, then the correction: the fourth statement fails.
    Conexion.fallarSentencia(4);
    EXPECT_THROW(v.btnModificarTarifaClicked(), ErrorBD);
    Conexion.fallarSentencia(0);
    CerrarConexion();
    EXPECT_EQ(Tarifas("Tarifa,MostrarEnEntradas"), "1000,Verdadero");
    EXPECT_TRUE(mensajes().isEmpty());
}

TEST_F(PruebaTarifas, EliminarPreguntaConNoPredeterminadoYBorraAunLaUltimaDeEntradas) {
    const int64_t entrada = SembrarTarifa(1000, 60, "GENERAL", true, false);
    SembrarTarifa(3000, 60, "PERDIDA", false, true);
    frmTarifas& v = abrir();
    seleccionar(v, entrada);
    Pulsar(v.btnEliminarTarifa);
    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_EQ(dialogos.cajas[0].titulo, "Eliminar Tarifa");
    EXPECT_EQ(dialogos.cajas[0].icono, Icono::Exclamacion);
    EXPECT_TRUE(dialogos.cajas[0].texto.endsWith(
        QStringLiteral("\r\n\r\n¿Desea, no obstante, eliminar la tarifa seleccionada?")));
    EXPECT_EQ(Tarifas("DescrTarifa"), "GENERAL|PERDIDA");
    dialogos.respuestas = {Boton::Si};
    Pulsar(v.btnEliminarTarifa);
    EXPECT_EQ(Tarifas("DescrTarifa,MostrarEnEntradas"), "PERDIDA,Falso");
    EXPECT_EQ(cajasDesde(2), "Tarifa eliminada correctamente");
    EXPECT_EQ(v.IdTarifaSeleccionada, 0);
    v.close();
    EXPECT_EQ(mensajes().join('|'),
              QStringLiteral("Tarifa eliminada correctamente\r\nDELETE FROM Tarifas WHERE "
                             "id_tarifa = %1|Cierra la ventana de Tarifas")
                  .arg(entrada));
}

} // namespace
