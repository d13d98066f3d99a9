#include "conexion.h"
#include "dobles.h"
#include "frmTarifas.h"
#include "recordset.h"
#include "registros.h"
#include "sql.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <memory>

namespace {

struct FilaTarifa {
    int64_t id = 0;
    QString tarifa;
    QString tiempo;
    QString descripcion;
    bool entradas = false;
    bool salidas = false;
};

const QString kFinSucesoReservada = QStringLiteral(
    " Tarifa, Mensaje: Indique una Descripción diferente para la Tarifa ---(CLIENTE y EXENTO)---");

QString bandera(bool valor) {
    return valor ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

class PruebaTarifas : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        crearBaseDatos();
        SesionActual.Usuario = QStringLiteral("admin");
    }

    int64_t sembrar(int tarifa, int tiempo, const QString& descripcion, bool entradas,
                    bool salidas) {
        AbrirConexion();
        Recordset rs;
        rs.Open(QStringLiteral("INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,MostrarEnEntradas,"
                               "MostrarEnSalidas) VALUES (%1,%2,%3,%4,%5)")
                    .arg(tarifa)
                    .arg(tiempo)
                    .arg(Texto(descripcion), bandera(entradas), bandera(salidas)));
        const int64_t id = Recordset::UltimoId();
        CerrarConexion();
        return id;
    }

    QVector<FilaTarifa> tarifas() {
        AbrirConexion();
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM Tarifas ORDER BY id_tarifa"));
        QVector<FilaTarifa> filas;
        for (; !rs.EOF(); rs.MoveNext())
            filas.append({rs.Fields("id_tarifa").aEntero(), rs.Fields("Tarifa").aTexto(),
                          rs.Fields("Tiempo").aTexto(), rs.Fields("DescrTarifa").aTexto(),
                          rs.Fields("MostrarEnEntradas").aBandera(),
                          rs.Fields("MostrarEnSalidas").aBandera()});
        CerrarConexion();
        return filas;
    }

    std::unique_ptr<frmTarifas> abrir() {
        auto ventana = std::make_unique<frmTarifas>();
        ventana->show();
        return ventana;
    }

    static void escribir(QLineEdit* caja, const QString& texto) {
        caja->clear();
        QTest::keyClicks(caja, texto);
    }

    static void llenar(frmTarifas& v, const QString& tarifa, const QString& tiempo,
                       const QString& descripcion) {
        escribir(v.txtTarifa, tarifa);
        escribir(v.txtTiempo, tiempo);
        escribir(v.txtDescrTarifa, descripcion);
    }

    static void pulsar(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }

    static void seleccionar(frmTarifas& v, int64_t id) {
        const auto filas = v.ListView1->findItems(QString::number(id), Qt::MatchExactly, 0);
        ASSERT_EQ(filas.size(), 1);
        v.ListView1->setCurrentItem(filas.first());
        emit v.ListView1->itemClicked(filas.first(), 3);
    }

    // The last box shown, checked to be the only one since the action began.
    CajaMostrada unicaCaja(int antes = 0) const {
        EXPECT_EQ(dialogos.cajas.size(), antes + 1) << dialogos.textos().join(" | ").toStdString();
        return dialogos.cajas.isEmpty() ? CajaMostrada() : dialogos.cajas.last();
    }

    // The log's messages: the text after the seven fields every line begins with.
    QStringList mensajesSucesos() const {
        QStringList mensajes;
        for (const QString& linea : lineasSucesos())
            mensajes << (linea.count(QLatin1Char(';')) >= 7 ? linea.section(QLatin1Char(';'), 7)
                                                            : linea);
        return mensajes;
    }
};

TEST_F(PruebaTarifas, ListaOrdenadaPorDescripcionYPrimeraTarifaEnLasCajas) {
    sembrar(1500, 720, QStringLiteral("NOCTURNA"), false, true);
    const int64_t carro = sembrar(1000, 60, QStringLiteral("CARRO"), true, false);
    sembrar(500, 60, QStringLiteral("MOTO"), true, true);
    sembrar(200, 30, QStringLiteral("BICICLETA"), true, true);
    auto v = abrir();

    EXPECT_EQ(v->windowTitle(), QStringLiteral("Gestión de Tarifas - 4 tarifas listadas"));
    ASSERT_EQ(v->ListView1->topLevelItemCount(), 4);
    QStringList orden;
    for (int i = 0; i < 4; ++i)
        orden << v->ListView1->topLevelItem(i)->text(3);
    EXPECT_EQ(orden, QStringList({"BICICLETA", "CARRO", "MOTO", "NOCTURNA"}));
    const QTreeWidgetItem* fila = v->ListView1->topLevelItem(1);
    EXPECT_EQ(fila->text(0), QString::number(carro));
    EXPECT_EQ(fila->text(1), "1000");
    EXPECT_EQ(fila->text(2), "60");
    EXPECT_EQ(fila->text(4), "Mostrar");
    EXPECT_EQ(fila->text(5), "No Mostrar");
    EXPECT_TRUE(fila->font(3).bold());
    EXPECT_TRUE(v->ListView1->isColumnHidden(0));
    EXPECT_EQ(v->ListView1->headerItem()->text(4), "Mostrar en Entradas");

    EXPECT_EQ(v->txtTarifa->text(), "200");
    EXPECT_EQ(v->txtTiempo->text(), "30");
    EXPECT_EQ(v->txtDescrTarifa->text(), "BICICLETA");
    EXPECT_TRUE(v->chkMostrarEnEntradas->isChecked());
    EXPECT_EQ(v->IdTarifaSeleccionada, 0);
    EXPECT_EQ(v->focusWidget(), v->txtTarifa);

    seleccionar(*v, carro);
    EXPECT_EQ(v->IdTarifaSeleccionada, carro);
    EXPECT_EQ(v->txtTarifa->text(), "1000");
    EXPECT_EQ(v->txtTiempo->text(), "60");
    EXPECT_EQ(v->txtDescrTarifa->text(), "CARRO");
    EXPECT_TRUE(v->chkMostrarEnEntradas->isChecked());
    EXPECT_FALSE(v->chkMostrarEnSalidas->isChecked());
}

TEST_F(PruebaTarifas, SinTarifasYCajasDeNumerosQueSoloGuardanCifras) {
    auto v = abrir();
    EXPECT_EQ(v->windowTitle(), QStringLiteral("Gestión de Tarifas - 0 tarifas listadas"));
    EXPECT_EQ(v->txtTiempo->text(), "60");
    EXPECT_EQ(v->txtDescrTarifa->maxLength(), 50);
    const struct {
        const char* tecleado;
        const char* queda;
    } casos[] = {{"12a", ""},  {"1,5", "5"},   {"-3", "3"}, {"a1", "1"},
                 {"1.5", "5"}, {"250", "250"}, {"0", "0"}};
    for (const auto& c : casos) {
        escribir(v->txtTarifa, QString::fromUtf8(c.tecleado));
        EXPECT_EQ(v->txtTarifa->text(), c.queda) << c.tecleado;
        escribir(v->txtTiempo, QString::fromUtf8(c.tecleado));
        EXPECT_EQ(v->txtTiempo->text(), c.queda) << c.tecleado;
    }
    escribir(v->txtTiempo, QStringLiteral("12345"));
    EXPECT_EQ(v->txtTiempo->text(), "1234");
    escribir(v->txtTarifa, QStringLiteral("123456789012"));
    EXPECT_EQ(v->txtTarifa->text(), "1234567890");
    v->txtTarifa->setText(QStringLiteral("7x"));
    EXPECT_EQ(v->txtTarifa->text(), "");
}

TEST_F(PruebaTarifas, ValidacionEnOrdenSinEscribirNada) {
    const QString avisoTiempo =
        QStringLiteral("Mensaje desde botón Agregar Tarifa: No introdujo un valor correcto: ");
    const struct {
        const char* tarifa;
        const char* tiempo;
        const char* descripcion;
        const char* mensaje;
        const char* foco;
        QString suceso;
    } casos[] = {
        {"", "", "", "Debe indicar la Tarifa", "txtTarifa", {}},
        {"abc", "60", "CARRO", "Debe indicar la Tarifa", "txtTarifa", {}},
        {"100", "", "", "Debe indicar el Tiempo (en minutos)", "txtTiempo", avisoTiempo},
        {"100", "x", "CARRO", "Debe indicar el Tiempo (en minutos)", "txtTiempo", avisoTiempo},
        {"100", "60", "", "Debe indicar la Descripción de la Tarifa", "txtDescrTarifa", {}},
        {"100", "60", "cliente", "Indique una Descripción diferente para la Tarifa",
         "txtDescrTarifa", "Tarifas, botón Agregar" + kFinSucesoReservada},
        {"100", "60", "Exento", "Indique una Descripción diferente para la Tarifa",
         "txtDescrTarifa", "Tarifas, botón Agregar" + kFinSucesoReservada},
        {"100", "60", "CLIENTE ", "Indique una Descripción diferente para la Tarifa",
         "txtDescrTarifa", "Tarifas, botón Agregar" + kFinSucesoReservada},
    };
    auto v = abrir();
    for (const auto& c : casos) {
        const int cajasAntes = dialogos.cajas.size();
        const int sucesosAntes = mensajesSucesos().size();
        llenar(*v, QString::fromUtf8(c.tarifa), QString::fromUtf8(c.tiempo),
               QString::fromUtf8(c.descripcion));
        pulsar(v->btnAgregar);
        const CajaMostrada caja = unicaCaja(cajasAntes);
        EXPECT_EQ(caja.texto, QString::fromUtf8(c.mensaje)) << c.tarifa << c.descripcion;
        EXPECT_EQ(caja.titulo, TituloAplicacion);
        EXPECT_EQ(caja.icono, QMessageBox::Information);
        ASSERT_TRUE(v->focusWidget());
        EXPECT_EQ(v->focusWidget()->objectName(), c.foco) << c.mensaje;
        const QStringList nuevos = mensajesSucesos().mid(sucesosAntes);
        EXPECT_EQ(nuevos, c.suceso.isEmpty() ? QStringList() : QStringList{c.suceso}) << c.mensaje;
    }
    EXPECT_TRUE(tarifas().isEmpty());
}

TEST_F(PruebaTarifas, AgregaEnMayusculasOfrecidaEnEntradasYSalidas) {
    auto v = abrir();
    llenar(*v, QStringLiteral("0150"), QStringLiteral("0"), QStringLiteral("cliente's "));
    v->txtDescrTarifa->insert(QStringLiteral("día")); // keyClicks takes ASCII only
    ASSERT_FALSE(v->chkMostrarEnEntradas->isChecked() || v->chkMostrarEnSalidas->isChecked());
    pulsar(v->btnAgregar);

    const QVector<FilaTarifa> filas = tarifas();
    ASSERT_EQ(filas.size(), 1);
    EXPECT_EQ(filas[0].tarifa, "150");
    EXPECT_EQ(filas[0].tiempo, "0");
    EXPECT_EQ(filas[0].descripcion, QStringLiteral("CLIENTE'S DÍA"));
    EXPECT_TRUE(filas[0].entradas);
    EXPECT_TRUE(filas[0].salidas);

    const CajaMostrada caja = unicaCaja();
    EXPECT_EQ(caja.texto, "Tarifa agregada correctamente");
    EXPECT_EQ(caja.icono, QMessageBox::Information);
    EXPECT_EQ(v->windowTitle(), QStringLiteral("Gestión de Tarifas - 1 tarifas listadas"));
    EXPECT_EQ(mensajesSucesos(),
              QStringList({"Tarifa agregada correctamente",
                           "INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,MostrarEnEntradas,"
                           "MostrarEnSalidas) VALUES ('150','0','CLIENTE''S DÍA',True,True)"}));
}

TEST_F(PruebaTarifas, DuplicadaSoloSiCoincidenPrecioMinutosYDescripcion) {
    sembrar(1000, 60, QStringLiteral("CARRO"), true, true);
    const struct {
        const char* tarifa;
        const char* tiempo;
        const char* descripcion;
        bool aceptada;
    } casos[] = {{"1000", "60", "carro", false},
                 {"1000", "30", "CARRO", true},
                 {"900", "60", "CARRO", true},
                 {"1000", "60", "CARRO GRANDE", true},
                 {"1000", "30", "Carro", false}};
    auto v = abrir();
    int esperadas = 1;
    for (const auto& c : casos) {
        const int cajasAntes = dialogos.cajas.size();
        llenar(*v, c.tarifa, c.tiempo, c.descripcion);
        pulsar(v->btnAgregar);
        esperadas += c.aceptada ? 1 : 0;
        EXPECT_EQ(tarifas().size(), esperadas) << c.tarifa << " " << c.tiempo;
        EXPECT_EQ(unicaCaja(cajasAntes).texto,
                  c.aceptada ? "Tarifa agregada correctamente"
                             : "Especifique una Tarifa, Descripción y Tiempo diferentes");
    }
}

TEST_F(PruebaTarifas, ModificaLaFilaElegidaPorSuClave) {
    const int64_t hora = sembrar(1000, 60, QStringLiteral("CARRO"), true, true);
    const int64_t media = sembrar(600, 30, QStringLiteral("CARRO"), true, true);
    auto v = abrir();
    seleccionar(*v, media);
    llenar(*v, QStringLiteral("700"), QStringLiteral("45"), QStringLiteral("carro corto"));
    pulsar(v->Label5);
    dialogos.respuestas = {QMessageBox::Yes};
    pulsar(v->btnModificarTarifa);

    ASSERT_EQ(dialogos.cajas.size(), 2);
    EXPECT_EQ(dialogos.cajas[0].texto, QStringLiteral("¿Desea modificar la tarifa seleccionada?"));
    EXPECT_EQ(dialogos.cajas[0].titulo, "Modificar Tarifa");
    EXPECT_EQ(dialogos.cajas[0].botones, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(dialogos.cajas[1].texto, "Tarifa modificada correctamente");
    EXPECT_EQ(dialogos.cajas[1].icono, QMessageBox::Information);

    const QVector<FilaTarifa> filas = tarifas();
    ASSERT_EQ(filas.size(), 2);
    EXPECT_EQ(filas[0].id, hora);
    EXPECT_EQ(filas[0].descripcion, "CARRO");
    EXPECT_EQ(filas[0].tarifa, "1000");
    EXPECT_EQ(filas[1].descripcion, "CARRO CORTO");
    EXPECT_EQ(filas[1].tarifa, "700");
    EXPECT_EQ(filas[1].tiempo, "45");
    EXPECT_TRUE(filas[1].entradas);
    EXPECT_FALSE(filas[1].salidas);
    EXPECT_EQ(v->IdTarifaSeleccionada, 0);
    EXPECT_EQ(mensajesSucesos(),
              QStringList({"Tarifa modificada correctamente",
                           QStringLiteral("UPDATE Tarifas SET Tarifa=700,Tiempo=45,"
                                          "DescrTarifa='CARRO CORTO',MostrarEnEntradas=1,"
                                          "MostrarEnsalidas=0 WHERE id_tarifa=%1")
                               .arg(media)}));
}

TEST_F(PruebaTarifas, ModificarSinSeleccionRespondiendoNoOConDescripcionReservadaNoCambiaNada) {
    const int64_t carro = sembrar(1000, 60, QStringLiteral("CARRO"), true, true);
    auto v = abrir();
    // The boxes show the first rate, yet nothing is selected.
    pulsar(v->btnModificarTarifa);
    EXPECT_EQ(unicaCaja().texto, "Debe seleccionar una Tarifa");
    pulsar(v->btnEliminarTarifa);
    EXPECT_EQ(unicaCaja(1).texto, "Debe seleccionar una tarifa");

    seleccionar(*v, carro);
    escribir(v->txtTarifa, QStringLiteral("1200"));
    dialogos.respuestas = {QMessageBox::No};
    pulsar(v->btnModificarTarifa);
    EXPECT_EQ(dialogos.cajas.size(), 3);
    EXPECT_EQ(v->IdTarifaSeleccionada, carro);

    escribir(v->txtDescrTarifa, QStringLiteral("exento"));
    pulsar(v->btnModificarTarifa);
    EXPECT_EQ(unicaCaja(3).texto, "Indique una Descripción diferente para la Tarifa");
    EXPECT_EQ(mensajesSucesos(), QStringList{"Tarifas, botón Modificar" + kFinSucesoReservada});
    EXPECT_EQ(tarifas().first().tarifa, "1000");
    EXPECT_EQ(tarifas().first().descripcion, "CARRO");
}

TEST_F(PruebaTarifas, SiNingunaQuedaraOfrecidaLaModificadaSeOfreceEnAmbas) {
    const struct {
        bool quitaEntradas, quitaSalidas, otraEnEntradas, otraEnSalidas, corregida;
    } casos[] = {{true, false, false, true, true},
                 {false, true, true, false, true},
                 {true, true, true, false, true},
                 {true, true, true, true, false}};
    for (const auto& c : casos) {
        AbrirConexion();
        Recordset().Open(QStringLiteral("DELETE FROM Tarifas"));
        CerrarConexion();
        dialogos.cajas.clear();
        const int64_t general = sembrar(1000, 60, QStringLiteral("GENERAL"), true, true);
        sembrar(3000, 60, QStringLiteral("PERDIDA"), c.otraEnEntradas, c.otraEnSalidas);
        auto v = abrir();
        seleccionar(*v, general);
        escribir(v->txtTarifa, QStringLiteral("1100"));
        if (c.quitaEntradas)
            pulsar(v->Label4);
        if (c.quitaSalidas)
            pulsar(v->Label5);
        dialogos.respuestas = {QMessageBox::Yes};
        const int sucesosAntes = mensajesSucesos().size();
        pulsar(v->btnModificarTarifa);

        const FilaTarifa fila = tarifas().first();
        EXPECT_EQ(fila.tarifa, "1100");
        EXPECT_EQ(fila.entradas, c.corregida || !c.quitaEntradas);
        EXPECT_EQ(fila.salidas, c.corregida || !c.quitaSalidas);
        ASSERT_EQ(dialogos.cajas.size(), 2);
        const QStringList nuevos = mensajesSucesos().mid(sucesosAntes);
        if (!c.corregida) {
            EXPECT_EQ(dialogos.cajas[1].texto, "Tarifa modificada correctamente");
            EXPECT_EQ(nuevos.size(), 2);
            continue;
        }
        EXPECT_EQ(dialogos.cajas[1].icono, QMessageBox::Warning);
        EXPECT_EQ(dialogos.cajas[1].titulo, TituloAplicacion);
        EXPECT_TRUE(dialogos.cajas[1].texto.startsWith(
            "Tarifa modificada parcialmente\r\n\r\nSe ha realizado su modificación"));
        EXPECT_TRUE(dialogos.cajas[1].texto.endsWith(
            QStringLiteral("De no ser así, se ajustará automáticamente.\r\n\r\n")));
        ASSERT_EQ(nuevos.size(), 4);
        EXPECT_TRUE(nuevos[2].startsWith("Tarifa modificada parcialmente. Se modifica todo"));
        EXPECT_EQ(nuevos[3], QStringLiteral("UPDATE Tarifas SET MostrarEnEntradas=True,"
                                            "MostrarEnSalidas=True WHERE id_tarifa=%1")
                                 .arg(general));
    }
}

TEST_F(PruebaTarifas, ElCambioYSuCorreccionVanJuntos) {
    const int64_t general = sembrar(1000, 60, QStringLiteral("GENERAL"), true, true);
    auto v = abrir();
    seleccionar(*v, general);
    escribir(v->txtTarifa, QStringLiteral("5000"));
    pulsar(v->Label4);
    dialogos.respuestas = {QMessageBox::Yes};
    // The update, two counts, then the correction: the fourth statement fails.
    Conexion.fallarSentencia(4);
    EXPECT_THROW(v->btnModificarTarifaClicked(), ErrorBD);
    Conexion.fallarSentencia(0);
    CerrarConexion();
    const FilaTarifa fila = tarifas().first();
    EXPECT_EQ(fila.tarifa, "1000");
    EXPECT_TRUE(fila.entradas);
    EXPECT_TRUE(mensajesSucesos().isEmpty());
}

TEST_F(PruebaTarifas, EliminarPreguntaConNoPredeterminadoYBorraPorClave) {
    const int64_t carro = sembrar(1000, 60, QStringLiteral("CARRO"), true, true);
    const int64_t moto = sembrar(500, 60, QStringLiteral("MOTO"), true, true);
    auto v = abrir();
    seleccionar(*v, moto);
    pulsar(v->btnEliminarTarifa);
    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_EQ(dialogos.cajas[0].titulo, "Eliminar Tarifa");
    EXPECT_EQ(dialogos.cajas[0].icono, QMessageBox::Warning);
    EXPECT_TRUE(dialogos.cajas[0].texto.endsWith(
        QStringLiteral("\r\n\r\n¿Desea, no obstante, eliminar la tarifa seleccionada?")));
    EXPECT_EQ(tarifas().size(), 2);

    dialogos.respuestas = {QMessageBox::Yes};
    pulsar(v->btnEliminarTarifa);
    ASSERT_EQ(tarifas().size(), 1);
    EXPECT_EQ(tarifas().first().id, carro);
    EXPECT_EQ(dialogos.cajas.last().texto, "Tarifa eliminada correctamente");
    EXPECT_EQ(v->IdTarifaSeleccionada, 0);
    EXPECT_EQ(v->windowTitle(), QStringLiteral("Gestión de Tarifas - 1 tarifas listadas"));
    EXPECT_EQ(mensajesSucesos(),
              QStringList({"Tarifa eliminada correctamente",
                           QStringLiteral("DELETE FROM Tarifas WHERE id_tarifa = %1").arg(moto)}));
}

TEST_F(PruebaTarifas, EliminarLaUltimaTarifaDeEntradasSePermite) {
    const int64_t entrada = sembrar(1000, 60, QStringLiteral("GENERAL"), true, false);
    sembrar(3000, 60, QStringLiteral("PERDIDA"), false, true);
    auto v = abrir();
    seleccionar(*v, entrada);
    dialogos.respuestas = {QMessageBox::Yes};
    pulsar(v->btnEliminarTarifa);
    const QVector<FilaTarifa> filas = tarifas();
    ASSERT_EQ(filas.size(), 1);
    EXPECT_FALSE(filas[0].entradas);
    EXPECT_EQ(dialogos.cajas.size(), 2);
    EXPECT_EQ(dialogos.cajas.last().icono, QMessageBox::Information);
}

TEST_F(PruebaTarifas, LasEtiquetasAlternanSusCasillasYCerrarQuedaEnElRegistro) {
    auto v = abrir();
    const bool entradas = v->chkMostrarEnEntradas->isChecked();
    pulsar(v->Label4);
    EXPECT_NE(v->chkMostrarEnEntradas->isChecked(), entradas);
    pulsar(v->Label4);
    EXPECT_EQ(v->chkMostrarEnEntradas->isChecked(), entradas);
    const bool salidas = v->chkMostrarEnSalidas->isChecked();
    pulsar(v->Label5);
    EXPECT_NE(v->chkMostrarEnSalidas->isChecked(), salidas);
    EXPECT_EQ(v->chkMostrarEnEntradas->isChecked(), entradas);

    EXPECT_EQ(v->objectName(), "frmTarifas");
    EXPECT_EQ(v->btnAgregar->text(), "  &Agregar Tarifa");
    v->close();
    EXPECT_EQ(mensajesSucesos(), QStringList{"Cierra la ventana de Tarifas"});
}
