#include "movimientos/ui/frmTarifas.h"
#include "principal/avisos.h"
#include "principal/formatos.h"
#include "principal/ui/aplicacion.h"
#include "tests/movimientos/apoyo_movimientos.h"
#include "tests/principal/apoyo_bd.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTreeView>

namespace {

const char* const kReservada = "Indique una Descripción diferente para la Tarifa";
const QString kSucesoReservada = QStringLiteral(
    "Tarifas, botón %1 Tarifa, Mensaje: Indique una Descripción diferente para la Tarifa "
    "---(CLIENTE y EXENTO)---");

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
        const QAbstractItemModel* m = v.ListView1->model();
        const auto filas =
            m->match(m->index(0, 0), Qt::DisplayRole, QString::number(id), -1, Qt::MatchExactly);
        ASSERT_EQ(filas.size(), 1);
        QTest::mouseClick(v.ListView1->viewport(), Qt::LeftButton, teclas,
                          v.ListView1->visualRect(filas.first().siblingAtColumn(1)).center());
    }
    // The boxes as "tarifa|tiempo|descripción|" and both marks as 0 or 1.
    static QString cajas(const frmTarifas& v) {
        return v.txtTarifa->text() + "|" + v.txtTiempo->text() + "|" + v.txtDescrTarifa->text() +
               QString("|%1%2")
                   .arg(v.chkMostrarEnEntradas->isChecked())
                   .arg(v.chkMostrarEnSalidas->isChecked());
    }
    static QString filas(const QString& campos) {
        return Tabla("SELECT " + campos + " FROM Tarifas ORDER BY id_tarifa");
    }
    QString cajasDesde(int antes) const { return dialogos.textos().mid(antes).join('|'); }

    std::unique_ptr<frmTarifas> tarifas;
    QSignalSpy cambios{&Avisos(), &AvisosVentanas::tarifasCambiadas};
};

TEST_F(PruebaTarifas, ListaOrdenadaYSoloUnaFilaSeleccionadaQuedaElegida) {
    const int64_t nocturna = SembrarTarifa(1500, 720, "NOCTURNA", false, true);
    const int64_t carro = SembrarTarifa(1000, 60, "CARRO", true, false);
    SembrarTarifa(200, 30, "BICICLETA");
    frmTarifas& v = abrir();
    EXPECT_EQ(v.windowTitle(), "Gestión de Tarifas - 3 tarifas listadas");
    const QAbstractItemModel* m = v.ListView1->model();
    EXPECT_EQ(m->index(1, 4).data().toString() + "|" + m->index(1, 5).data().toString(),
              "Mostrar|No Mostrar");
    // The first rate fills the boxes; tabbing into the list makes it current, not selected.
    EXPECT_EQ(cajas(v), "200|30|BICICLETA|11");
    v.btnListadoCompleto->setFocus();
    QTest::keyClick(v.btnListadoCompleto, Qt::Key_Tab);
    ASSERT_TRUE(QApplication::focusWidget() == v.ListView1 &&
                v.ListView1->currentIndex().isValid());
    Pulsar(v.btnModificarTarifa);
    Pulsar(v.btnEliminarTarifa);
    EXPECT_EQ(cajasDesde(0), "Debe seleccionar una Tarifa|Debe seleccionar una tarifa");
    // A gesture, then the rate chosen and the boxes.
    const std::tuple<std::function<void()>, int64_t, const char*> pasos[] = {
        {[&] { pulsarFila(v, carro); }, carro, "1000|60|CARRO|10"},
        {[&] { QTest::keyClick(v.ListView1, Qt::Key_Down); }, nocturna, "1500|720|NOCTURNA|01"},
        {[&] { pulsarFila(v, nocturna, Qt::ControlModifier); }, 0, "1500|720|NOCTURNA|01"},
        {[&] { QTest::keyClick(v.ListView1, Qt::Key_Up); }, carro, "1000|60|CARRO|10"},
        {[&] { Pulsar(v.btnListadoCompleto); }, 0, "200|30|BICICLETA|11"},
    };
    for (const auto& [gesto, elegida, esperadas] : pasos) {
        gesto();
        EXPECT_EQ(QString::number(v.IdTarifaSeleccionada) + " " + cajas(v),
                  QString::number(elegida) + " " + esperadas);
    }
}

// Each row typed key by key over the last, then Agregar: what the boxes kept (when not all of
// it), the box shown and where the focus goes. A character of no number is refused as typed,
// one that may belong to a number stays and the whole text is refused.
TEST_F(PruebaTarifas, AgregarValidaEnOrdenYGuardaElNumeroLeidoSalvoDuplicada) {
    const char* const agregada = "Tarifa agregada correctamente";
    const char* const repetida = "Especifique una Tarifa, Descripción y Tiempo diferentes";
    const char* const minutos = "Debe indicar el Tiempo (en minutos)";
    const char* const cero = "El Tiempo (en minutos) debe ser de al menos 1 minuto";
    const char* const casos[][6] = {
        {"", "", "", "txtTarifa", "Debe indicar la Tarifa"},
        {"1.50", "60", "A", "txtTarifa", "Debe indicar datos numéricos en la Tarifa"},
        {"2147483648", "60", "A", "txtTarifa", "Debe indicar datos numéricos en la Tarifa"},
        {"100", "", "", "txtTiempo", minutos},
        {"100", "60", "   ", "txtDescrTarifa", "Debe indicar la Descripción de la Tarifa"},
        {"100", "60", "cliente", "txtDescrTarifa", kReservada},
        {"100", "60", " Exento ", "txtDescrTarifa", kReservada},
        {"1.500", "0", " cliente's día ", "txtTiempo", cero},
        {"1.500", "5", " cliente's día ", "txtTarifa", agregada},
        {"1.000", "60", "carro", "txtTarifa", repetida},
        {"1000", "30", "CARRO", "txtTarifa", agregada},
        {"900", "60", "CARRO", "txtTarifa", agregada},
        {"1000", "60", "CARRO GRANDE", "txtTarifa", agregada},
        {"2.000.000", "60", "CARRO", "txtTarifa", agregada},
        {"2147483647", "9999", "TOPE", "txtTarifa", agregada},
        {"1a$2", "60", "CARRO", "txtTarifa", agregada, "12|60"},
        {"2,000", "60", "CARRO", "txtTarifa", "Debe indicar datos numéricos en la Tarifa"},
        {"100", "1a$2", "CARRO", "txtTarifa", agregada, "100|12"},
        {"100", "-100", "CARRO", "txtTiempo", minutos},
        // The minutes box holds four characters.
        {"100", "2,000", "CARRO", "txtTiempo", minutos, "100|2,00"},
    };
    // Shown with both marks off: a new rate is offered at both all the same.
    SembrarTarifa(1000, 60, "CARRO", false, false);
    frmTarifas& v = abrir();
    ASSERT_EQ(cajas(v), "1000|60|CARRO|00");
    for (const auto& [tarifa, tiempo, descripcion, foco, caja, quedan] : casos) {
        const int antes = dialogos.cajas.size();
        llenar(v, tarifa, tiempo, descripcion);
        const QString tecleado = v.txtTarifa->text() + "|" + v.txtTiempo->text();
        Pulsar(v.btnAgregar);
        EXPECT_EQ(tecleado + "|" + cajasDesde(antes) + "|" + ultimaCaja().titulo + "|" +
                      QApplication::focusWidget()->objectName(),
                  (quedan ? quedan : tarifa + ("|" + QString(tiempo))) + "|" + caja + "|" +
                      TituloAplicacion + "|" + foco)
            << tarifa << "/" << tiempo << "/" << descripcion;
    }
    EXPECT_EQ(filas("Tarifa,Tiempo,MostrarEnEntradas,MostrarEnSalidas"),
              "1000,60,Falso,Falso|1500,5,Verdadero,Verdadero|1000,30,Verdadero,Verdadero|"
              "900,60,Verdadero,Verdadero|1000,60,Verdadero,Verdadero|2000000,60,Verdadero,"
              "Verdadero|2147483647,9999,Verdadero,Verdadero|12,60,Verdadero,Verdadero|100,12,"
              "Verdadero,Verdadero");
    EXPECT_EQ(v.windowTitle(), "Gestión de Tarifas - 9 tarifas listadas");
    EXPECT_EQ(cambios.count(), 8);
    // A paste with a character of no number is refused whole.
    QApplication::clipboard()->setText("1\n500");
    v.txtTarifa->paste();
    EXPECT_EQ(v.txtTarifa->text(), "100");
    // Logged: the refused minutes, both reserved words, the minutes of none, then each rate
    // added with its statement.
    ASSERT_EQ(mensajes().size(), 14);
    EXPECT_EQ(mensajes().mid(0, 5).join('|'),
              "Mensaje desde botón Agregar Tarifa: No introdujo un valor correcto: |" +
                  kSucesoReservada.arg("Agregar") + "|" + kSucesoReservada.arg("Agregar") +
                  "|Tarifas, Mensaje: " + cero + "|" + agregada + kCrLf +
                  "INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,MostrarEnEntradas,"
                  "MostrarEnSalidas) VALUES ('1500','5','CLIENTE''S DÍA',True,True)");
}

// Deleting needs no rate left at both ends: that is the changes' rule.
TEST_F(PruebaTarifas, ModificaYEliminaSoloLaFilaElegidaTrasConfirmar) {
    const int64_t carro = SembrarTarifa(1000, 60, "CARRO");
    const int64_t media = SembrarTarifa(600, 30, "CARRO");
    frmTarifas& v = abrir();
    pulsarFila(v, media);
    llenar(v, "1.700", "45", "exento");
    Pulsar(v.btnModificarTarifa);
    v.txtDescrTarifa->setText(" carro corto ");
    dialogos.respuestas = {Boton::No};
    Pulsar(v.btnModificarTarifa);
    EXPECT_EQ(filas("Tarifa"), "1000|600");
    Pulsar(v.Label5);
    dialogos.respuestas = {Boton::Si};
    Pulsar(v.btnModificarTarifa);
    const QString pregunta = "¿Desea modificar la tarifa seleccionada?";
    EXPECT_EQ(cajasDesde(0) + "|" + titulos().section('|', 1, 1),
              kReservada + ("|" + pregunta + "|" + pregunta) +
                  "|Tarifa modificada correctamente|Modificar Tarifa");
    EXPECT_EQ(filas("Tarifa,Tiempo,DescrTarifa,MostrarEnEntradas,MostrarEnSalidas"),
              "1000,60,CARRO,Verdadero,Verdadero|1700,45,CARRO CORTO,Verdadero,Falso");

    // Deleting asks first, No being the default; the last rate offered at exits may go.
    pulsarFila(v, carro);
    Pulsar(v.btnEliminarTarifa);
    EXPECT_TRUE(ultimaCaja().titulo == "Eliminar Tarifa" &&
                ultimaCaja().icono == Icono::Exclamacion &&
                ultimaCaja().texto.endsWith(
                    "\r\n\r\n¿Desea, no obstante, eliminar la tarifa seleccionada?"));
    EXPECT_EQ(filas("Tarifa"), "1000|1700");
    dialogos.respuestas = {Boton::Si};
    Pulsar(v.btnEliminarTarifa);
    EXPECT_EQ(filas("Tarifa,MostrarEnSalidas") + "|" + ultimaCaja().texto,
              "1700,Falso|Tarifa eliminada correctamente");
    EXPECT_EQ(cambios.count(), 2);
    v.close();
    EXPECT_EQ(mensajes().join('|'),
              kSucesoReservada.arg("Modificar") + "|Tarifa modificada correctamente" + kCrLf +
                  QString("UPDATE Tarifas SET Tarifa=1700,Tiempo=45,DescrTarifa='CARRO CORTO',"
                          "MostrarEnEntradas=1,MostrarEnsalidas=0 WHERE id_tarifa=%1|Tarifa "
                          "eliminada correctamente\r\nDELETE FROM Tarifas WHERE id_tarifa = %2|"
                          "Cierra la ventana de Tarifas")
                      .arg(media)
                      .arg(carro));
}

// Also: the change and its correction are one transaction.
TEST_F(PruebaTarifas, SiNingunaQuedaraOfrecidaLaModificadaSeOfreceEnAmbas) {
    // Labels pulsed on the changed rate (4 entries, 5 exits), the other rate's marks, the
    // changed rate after.
    const char* const casos[][3] = {{"45", "11", "1100,Falso,Falso"},
                                    {"4", "01", "1100,Verdadero,Verdadero"},
                                    {"5", "10", "1100,Verdadero,Verdadero"}};
    int64_t general = 0;
    for (const auto& [etiquetas, otra, queda] : casos) {
        const bool corregida = QString(otra) != "11";
        Ejecutar("DELETE FROM Tarifas");
        general = SembrarTarifa(1000, 60, "GENERAL");
        SembrarTarifa(3000, 60, "PERDIDA", otra[0] == '1', otra[1] == '1');
        frmTarifas& v = abrir();
        pulsarFila(v, general);
        v.txtTarifa->setText("1100");
        for (const QChar etiqueta : QString(etiquetas))
            Pulsar(etiqueta == '4' ? v.Label4 : v.Label5);
        const int antes = mensajes().size();
        dialogos.respuestas = {Boton::Si, Boton::Si};
        if (corregida) {
            // The update, two counts, then the correction: the fourth statement fails.
            Conexion.fallarSentencia(4);
            EXPECT_THROW(v.btnModificarTarifaClicked(), ErrorBD);
            Conexion.fallarSentencia(0);
            CerrarConexion();
            EXPECT_EQ(filas("Tarifa").section('|', 0, 0), "1000");
        }
        Pulsar(v.btnModificarTarifa);
        EXPECT_EQ(filas("Tarifa,MostrarEnEntradas,MostrarEnSalidas").section('|', 0, 0), queda);
        EXPECT_EQ(mensajes().size() - antes, corregida ? 2 : 1) << etiquetas;
        EXPECT_EQ(ultimaCaja().icono, corregida ? Icono::Exclamacion : Icono::Informacion);
    }
    EXPECT_TRUE(mensajes().last().startsWith("Tarifa modificada parcialmente. Se modifica todo") &&
                mensajes().last().endsWith(QString("\r\nUPDATE Tarifas SET MostrarEnEntradas=True,"
                                                   "MostrarEnSalidas=True WHERE id_tarifa=%1")
                                               .arg(general)));
    EXPECT_TRUE(ultimaCaja().texto.startsWith("Tarifa modificada parcialmente\r\n\r\nSe ha "
                                              "realizado su modificación"));
    EXPECT_EQ(cambios.count(), 3);
}

// A failure at a button's edge, seen by the attendant, the log, the database and the next click;
// while another station holds the file, a wait cursor, then a sentence in Spanish, the driver's
// text only in the log.
TEST_F(PruebaTarifas, UnBotonQueFallaMuestraRegistraSueltaLaBaseYLaVentanaSigue) {
    frmTarifas& v = abrir();
    OtraEstacion otra(Conexion.rutaBaseDatos());
    const auto otraEstacion = [&otra](const char* sql) { return otra.ejecutar(sql) == SQLITE_OK; };
    QVector<Qt::CursorShape> cursores;
    EstablecerAvisoEspera([&cursores](bool esperando) {
        MostrarCursorEspera(esperando);
        const QCursor* cursor = QGuiApplication::overrideCursor();
        cursores << (cursor ? cursor->shape() : Qt::ArrowCursor);
    });
    Conexion.fijarEsperaMaxima(100);
    ASSERT_TRUE(otraEstacion("BEGIN IMMEDIATE"));
    llenar(v, "1500", "60", "CARRO");
    Pulsar(v.btnAgregar);
    otraEstacion("ROLLBACK");
    EXPECT_TRUE(dialogos.cajas.size() == 1 && ultimaCaja().icono == Icono::Critico);
    EXPECT_EQ(ultimaCaja().texto + "|" + ultimaCaja().titulo,
              "No se pudo completar la operación.\n\nOtra estación está usando la base de datos y "
              "no la liberó a tiempo. Espere un momento y vuelva a intentarlo.|Error de base de "
              "datos");
    EXPECT_EQ(mensajes().last(),
              "Error de base de datos: Error de base de datos - database is locked");
    // Nothing of ours is left open: the other station can take the write lock.
    EXPECT_TRUE(Conexion.State() == 0 && otraEstacion("BEGIN IMMEDIATE; ROLLBACK"));
    v.txtDescrTarifa->setText("MOTO");
    Pulsar(v.btnAgregar);
    EXPECT_EQ(ultimaCaja().texto + "|" + filas("DescrTarifa"),
              "Tarifa agregada correctamente|MOTO");
    EXPECT_EQ(cursores, QVector<Qt::CursorShape>({Qt::WaitCursor, Qt::ArrowCursor}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

using PruebaTarifasMotores = EnAmbosMotores<PruebaTarifas>;
VIALTOR_EN_AMBOS_MOTORES(PruebaTarifasMotores);

// Another station deleted the selected rate meanwhile: neither changed nor deleted is claimed.
TEST_P(PruebaTarifasMotores, LaTarifaBorradaEnOtraEstacionNoSeDaPorModificadaNiEliminada) {
    const QString noEsta = "La tarifa seleccionada ya no existe; pudo haber sido eliminada desde "
                           "otro punto de control";
    SembrarTarifa(500, 60, "MOTO");
    frmTarifas& v = abrir();
    for (const auto& [boton, nombre] :
         {std::pair{v.btnModificarTarifa, "Modificar"}, {v.btnEliminarTarifa, "Eliminar"}}) {
        const int64_t id = SembrarTarifa(1000, 60, "CARRO");
        Pulsar(v.btnListadoCompleto);
        pulsarFila(v, id);
        ComoOtraEstacion(
            [id] { Ejecutar(QStringLiteral("DELETE FROM Tarifas WHERE id_tarifa = %1").arg(id)); });
        dialogos.respuestas = {Boton::Si};
        Pulsar(boton);
        ASSERT_FALSE(dialogos.cajas.isEmpty());
        EXPECT_EQ(ultimaCaja().texto, noEsta);
        EXPECT_TRUE(
            registrado(QString("Tarifas, botón %1 Tarifa, Mensaje: ").arg(nombre) + noEsta));
        EXPECT_EQ(filas("DescrTarifa") + QString::number(v.IdTarifaSeleccionada), "MOTO0");
    }
    EXPECT_FALSE(mensajes().join('|').contains("correctamente"));
}

// The rules beside the price, with the keyboard alone: a bad box is refused with its message,
// the focus in it and nothing stored; good ones are stored with the rate, marked in the list,
// read back into the boxes, and go with the rate when it is deleted.
TEST_F(PruebaTarifas, ReglasPorTecladoEstrictasYGuardadasConLaTarifa) {
    frmTarifas& v = abrir();
    v.txtTarifa->setFocus();
    // The access key's click comes a moment later; every press here ends in a box.
    const auto agregar = [this] {
        const int antes = dialogos.cajas.size();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialogos.cajas.size() > antes; }, 2000));
    };
    const auto teclear = [](const QStringList& textos) {
        for (const QString& texto : textos) {
            QWidget* foco = QApplication::focusWidget();
            if (texto == " ")
                QTest::keyClick(foco, Qt::Key_Space);
            else if (auto* caja = qobject_cast<QLineEdit*>(foco))
                caja->clear(), QTest::keyClicks(caja, texto);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    };
    // Rate, minutes, description, both marks, grace, minimum, cap, calendar day, lost ticket.
    teclear({"2.000", "60", "noche", "", "", "15", "1.500", "20.000", " ", "30.000"});
    const QString franjas = "Nocturno 20:00-06:00 LMXJVSD fijo 5.000; Diurno 06:00-20:00 LMXJV ";
    ASSERT_EQ(QApplication::focusWidget(), v.txtFranjas);
    QTest::keyClicks(v.txtFranjas, franjas + "1.000");
    v.txtCobroMinimo->setText("1.50");
    agregar();
    EXPECT_EQ(ultimaCaja().texto + "|" + QApplication::focusWidget()->objectName(),
              "El cobro mínimo debe ser un valor numérico, por ejemplo 1.500|txtCobroMinimo");
    EXPECT_EQ(Tabla("SELECT (SELECT COUNT(*) FROM Tarifas), (SELECT COUNT(*) FROM ReglasTarifas), "
                    "(SELECT COUNT(*) FROM FranjasTarifas)"),
              "0,0,0");
    v.txtCobroMinimo->setText("1.500");
    agregar();
    EXPECT_EQ(ultimaCaja().texto + "|" +
                  Tabla("SELECT id_tarifa, MinutosGracia, CobroMinimo, TopeCobro, "
                        "TopeDiaCalendario, ValorTicketPerdido FROM ReglasTarifas"),
              "Tarifa agregada correctamente|1,15,1500,20000,Verdadero,30000");
    EXPECT_EQ(Tabla("SELECT NombreFranja, MinutoInicio, MinutoFin, DiasSemana, TarifaFranja, "
                    "ValorFijo FROM FranjasTarifas ORDER BY id_franja"),
              "Nocturno,1200,360,127,(Null),5000|Diurno,360,1200,31,1000,(Null)");
    SembrarTarifa(1000, 60, "CARRO");
    Pulsar(v.btnListadoCompleto);
    const QAbstractItemModel* m = v.ListView1->model();
    EXPECT_EQ(m->headerData(6, Qt::Horizontal).toString() + "|" + m->index(0, 6).data().toString() +
                  "|" + m->index(1, 6).data().toString(),
              "Reglas||Con reglas");
    pulsarFila(v, 1);
    EXPECT_EQ(
        QStringList({v.txtMinutosGracia->text(), v.txtCobroMinimo->text(), v.txtTopeCobro->text(),
                     v.txtTicketPerdido->text(), v.txtFranjas->text()})
            .join('|'),
        "15|1.500|20.000|30.000|" + franjas + "1.000");
    dialogos.respuestas = {Boton::Si};
    Pulsar(v.btnEliminarTarifa);
    EXPECT_EQ(
        Tabla("SELECT (SELECT COUNT(*) FROM ReglasTarifas), (SELECT COUNT(*) FROM FranjasTarifas)"),
        "0,0");
}

} // namespace
