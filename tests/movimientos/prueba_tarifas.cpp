#include "movimientos/ui/editorplanas.h"
#include "movimientos/ui/editortramos.h"
#include "movimientos/ui/frmTarifas.h"
#include "movimientos/ui/tablareglas.h"
#include "principal/avisos.h"
#include "principal/formatos.h"
#include "principal/ui/aplicacion.h"
#include "tests/movimientos/apoyo_movimientos.h"
#include "tests/principal/apoyo_bd.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCursor>
#include <QDateTimeEdit>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTreeView>

namespace {

const char* const kReservada = "Indique una Descripción diferente para la Tarifa";
const QString kSucesoReservada = QStringLiteral(
    "Tarifas, botón %1 Tarifa, Mensaje: Indique una Descripción diferente para la Tarifa "
    "---(CLIENTE y EXENTO)---");

class PruebaTarifas : public PruebaMovimientos {
protected:
    frmTarifas& abrir() {
        Abrir(tarifas).activateWindow();
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

    std::unique_ptr<frmTarifas> tarifas;
    QSignalSpy cambios{&Avisos(), &AvisosVentanas::tarifasCambiadas};
};

using PruebaTarifasMotores = EnAmbosMotores<PruebaTarifas>;
VIALTOR_EN_AMBOS_MOTORES(PruebaTarifasMotores);

// The window step by step: a gesture, then the key of the rate chosen and the boxes, the end of
// the box the step showed, the rows when the step changed them and the step's log. Listed by
// description, a row is chosen only while it is selected; deleting asks first, No being the
// default, and needs no rate left at both ends (that is the changes' rule); a rate another
// station deleted meanwhile is neither changed nor deleted; a change leaving no rate at an end
// offers the changed one at both.
TEST_P(PruebaTarifasMotores, SoloLaFilaElegidaYQueAunExisteSeModificaOElimina) {
    SembrarTarifa(1500, 720, "NOCTURNA", false, true);
    SembrarTarifa(1000, 60, "CARRO", true, false);
    SembrarTarifa(2500, 30, "BICICLETA");
    frmTarifas& v = abrir();
    const QAbstractItemModel* m = v.ListView1->model();
    EXPECT_EQ(v.windowTitle() + "|" + m->index(1, 4).data().toString() + "|" +
                  m->index(1, 5).data().toString(),
              "Gestión de Tarifas - 3 tarifas listadas|Mostrar|No Mostrar");
    const QString campos = "Tarifa,Tiempo,DescrTarifa,MostrarEnEntradas,MostrarEnSalidas";
    QString antes = filas(campos);
    int cajasAntes = 0, desde = 0;
    const auto tras = [&](const char* elegida, const QString& caja, const QString& tabla,
                          const QString& suceso) {
        SCOPED_TRACE(elegida);
        const QString nueva = dialogos.cajas.size() > cajasAntes ? ultimaCaja().texto : "";
        EXPECT_EQ(QString::number(v.IdTarifaSeleccionada) + " " + cajas(v), elegida);
        EXPECT_TRUE(nueva.endsWith(caja) && nueva.isEmpty() == caja.isEmpty())
            << nueva.toStdString();
        EXPECT_EQ(filas(campos), tabla.isEmpty() ? antes : tabla);
        EXPECT_EQ(sucesos(desde).join('|'), suceso);
        antes = filas(campos), cajasAntes = dialogos.cajas.size(), desde = mensajes().size();
    };
    // The first rate fills the boxes; tabbing into the list makes it current, not chosen.
    v.btnListadoCompleto->setFocus();
    QTest::keyClick(v.btnListadoCompleto, Qt::Key_Tab);
    EXPECT_TRUE(v.ListView1->hasFocus() && v.ListView1->currentIndex().isValid());
    Pulsar(v.btnModificarTarifa);
    tras("0 2500|30|BICICLETA|11", "Debe seleccionar una Tarifa", "", "");
    Pulsar(v.btnEliminarTarifa);
    tras("0 2500|30|BICICLETA|11", "Debe seleccionar una tarifa", "", "");
    pulsarFila(v, 2);
    tras("2 1000|60|CARRO|10", "", "", "");
    QTest::keyClick(v.ListView1, Qt::Key_Down);
    tras("1 1500|720|NOCTURNA|01", "", "", "");
    pulsarFila(v, 1, Qt::ControlModifier);
    tras("0 1500|720|NOCTURNA|01", "", "", "");
    QTest::keyClick(v.ListView1, Qt::Key_Up);
    tras("2 1000|60|CARRO|10", "", "", "");
    Pulsar(v.btnListadoCompleto);
    tras("0 2500|30|BICICLETA|11", "", "", "");
    // A reserved word, a change not confirmed, then one confirmed with the exits' mark taken
    // off by its label.
    pulsarFila(v, 3);
    llenar(v, "1.700", "45", "exento");
    Pulsar(v.btnModificarTarifa);
    tras("3 1.700|45|exento|11", kReservada, "", kSucesoReservada.arg("Modificar"));
    v.txtDescrTarifa->setText(" carro corto ");
    responder("N");
    Pulsar(v.btnModificarTarifa);
    tras("3 1.700|45| carro corto |11", "¿Desea modificar la tarifa seleccionada?", "", "");
    Pulsar(v.Label5);
    responder("S");
    Pulsar(v.btnModificarTarifa);
    tras("0 1000|60|CARRO|10", "Tarifa modificada correctamente",
         "1500,720,NOCTURNA,Falso,Verdadero|1000,60,CARRO,Verdadero,Falso|1700,45,CARRO CORTO,"
         "Verdadero,Falso",
         "Tarifa modificada correctamente [UPDATE]");
    // The last rate offered at exits.
    pulsarFila(v, 1);
    Pulsar(v.btnEliminarTarifa);
    tras("1 1500|720|NOCTURNA|01", "\r\n\r\n¿Desea, no obstante, eliminar la tarifa seleccionada?",
         "", "");
    responder("S");
    Pulsar(v.btnEliminarTarifa);
    tras("0 1000|60|CARRO|10", "Tarifa eliminada correctamente",
         "1000,60,CARRO,Verdadero,Falso|1700,45,CARRO CORTO,Verdadero,Falso",
         "Tarifa eliminada correctamente [DELETE]");
    const QString noEsta = "La tarifa seleccionada ya no existe; pudo haber sido eliminada desde "
                           "otro punto de control";
    for (const auto& [boton, nombre] :
         {std::pair{v.btnModificarTarifa, "Modificar"}, {v.btnEliminarTarifa, "Eliminar"}}) {
        const int64_t id = SembrarTarifa(900, 60, "OTRA");
        Pulsar(v.btnListadoCompleto);
        pulsarFila(v, id);
        ComoOtraEstacion(
            [id] { Ejecutar(QString("DELETE FROM Tarifas WHERE id_tarifa = %1").arg(id)); });
        responder("S");
        Pulsar(boton);
        tras("0 1000|60|CARRO|10", noEsta, "",
             QString("Tarifas, botón %1 Tarifa, Mensaje: ").arg(nombre) + noEsta);
    }
    // None left at the exits: the rate changed is offered at both ends, in the change's own
    // transaction (the update, two counts, then the correction: a failure at the fourth statement
    // undoes it all). One changed off at both ends while others cover them stays so; then none
    // left at the entries.
    const QString ajuste = "De no ser así, se ajustará automáticamente.\r\n\r\n",
                  parcial =
                      "Tarifa modificada correctamente [UPDATE]|Tarifa modificada "
                      "parcialmente. Se modifica todo correctamente, pero se indicaron valores "
                      "incongruentes para Mostrar en Entradas y Mostrar en Salidas; debe "
                      "existir siempre una tarifa para la Entrada y una tarifa para la "
                      "Salida, o se ajustará automáticamente por el software [UPDATE]";
    pulsarFila(v, 2);
    v.txtTarifa->setText("1100");
    responder("SS");
    Conexion.fallarSentencia(4);
    EXPECT_THROW(v.btnModificarTarifaClicked(), ErrorBD);
    Conexion.fallarSentencia(0);
    CerrarConexion();
    tras("2 1100|60|CARRO|10", "¿Desea modificar la tarifa seleccionada?", "", "");
    Pulsar(v.btnModificarTarifa);
    tras("0 1100|60|CARRO|11", ajuste,
         "1100,60,CARRO,Verdadero,Verdadero|1700,45,CARRO CORTO,Verdadero,Falso", parcial);
    EXPECT_EQ(ultimaCaja().icono, Icono::Exclamacion);
    pulsarFila(v, 3);
    Pulsar(v.Label4);
    responder("S");
    Pulsar(v.btnModificarTarifa);
    tras("0 1100|60|CARRO|11", "Tarifa modificada correctamente",
         "1100,60,CARRO,Verdadero,Verdadero|1700,45,CARRO CORTO,Falso,Falso",
         "Tarifa modificada correctamente [UPDATE]");
    pulsarFila(v, 2);
    Pulsar(v.Label4);
    responder("S");
    Pulsar(v.btnModificarTarifa);
    tras("0 1100|60|CARRO|11", ajuste, "", parcial);
    EXPECT_EQ(caja("Eliminar Tarifa").icono, Icono::Exclamacion);
    EXPECT_EQ(cambios.count(), 7);
    v.close();
    EXPECT_EQ(mensajes().last(), "Cierra la ventana de Tarifas");
}

// Each row typed key by key over the last, then Agregar: what the boxes kept (when not all of
// it), the box shown and where the focus goes. A character of no number is refused as typed,
// one that may belong to a number stays and the whole text is refused.
TEST_F(PruebaTarifas, AgregarValidaEnOrdenGuardaElNumeroLeidoSalvoDuplicadaYSiFallaSigue) {
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
        EXPECT_EQ(tecleado + "|" + dialogos.textos().mid(antes).join('|') + "|" +
                      ultimaCaja().titulo + "|" + QApplication::focusWidget()->objectName(),
                  (quedan ? quedan : tarifa + ("|" + QString(tiempo))) + "|" + caja + "|" +
                      TituloAplicacion + "|" + foco)
            << tarifa << "/" << tiempo << "/" << descripcion;
    }
    // Each added one offered at both ends, announced and listed.
    EXPECT_EQ(filas("Tarifa,Tiempo") + "/" + filas("DescrTarifa").section('|', 1, 1) + "/" +
                  Tabla("SELECT COUNT(*) FROM Tarifas WHERE MostrarEnEntradas = True AND "
                        "MostrarEnSalidas = True") +
                  "/" + QString::number(cambios.count()) + "/" + v.windowTitle(),
              "1000,60|1500,5|1000,30|900,60|1000,60|2000000,60|2147483647,9999|12,60|100,12/"
              "CLIENTE'S DÍA/8/8/Gestión de Tarifas - 9 tarifas listadas");
    // A paste with a character of no number is refused whole.
    QApplication::clipboard()->setText("1\n500");
    v.txtTarifa->paste();
    EXPECT_EQ(v.txtTarifa->text(), "100");
    // Logged: the refused minutes, both reserved words, the minutes of none, then each rate
    // added with its statement.
    ASSERT_EQ(mensajes().size(), 14);
    EXPECT_EQ(sucesos().mid(0, 5),
              QStringList({"Mensaje desde botón Agregar Tarifa: No introdujo un valor correcto: ",
                           kSucesoReservada.arg("Agregar"), kSucesoReservada.arg("Agregar"),
                           QString("Tarifas, Mensaje: ") + cero, agregada + QString(" [INSERT]")}));

    // A failure at a button's edge, seen by the attendant, the log, the database and the next
    // click; while another station holds the file, a wait cursor, then a sentence in Spanish, the
    // driver's text only in the log.
    OtraEstacion otra(Conexion.rutaBaseDatos());
    QVector<Qt::CursorShape> cursores;
    EstablecerAvisoEspera([&cursores](bool esperando) {
        MostrarCursorEspera(esperando);
        const QCursor* cursor = QGuiApplication::overrideCursor();
        cursores << (cursor ? cursor->shape() : Qt::ArrowCursor);
    });
    Conexion.fijarEsperaMaxima(100);
    ASSERT_EQ(otra.ejecutar("BEGIN IMMEDIATE"), SQLITE_OK);
    llenar(v, "1500", "60", "OCUPADA");
    const int cajasAntes = dialogos.cajas.size();
    Pulsar(v.btnAgregar);
    otra.ejecutar("ROLLBACK");
    EXPECT_TRUE(dialogos.cajas.size() == cajasAntes + 1 && ultimaCaja().icono == Icono::Critico);
    EXPECT_EQ(ultimaCaja().texto + "|" + ultimaCaja().titulo,
              "No se pudo completar la operación.\n\nOtra estación está usando la base de datos y "
              "no la liberó a tiempo. Espere un momento y vuelva a intentarlo.|Error de base de "
              "datos");
    EXPECT_EQ(mensajes().last(),
              "Error de base de datos: Error de base de datos - database is locked");
    // Nothing of ours is left open: the other station can take the write lock.
    EXPECT_TRUE(Conexion.State() == 0 && otra.ejecutar("BEGIN IMMEDIATE; ROLLBACK") == SQLITE_OK);
    v.txtDescrTarifa->setText("MOTO");
    Pulsar(v.btnAgregar);
    EXPECT_EQ(ultimaCaja().texto + "|" + filas("DescrTarifa").section('|', -1),
              "Tarifa agregada correctamente|MOTO");
    EXPECT_EQ(cursores, QVector<Qt::CursorShape>({Qt::WaitCursor, Qt::ArrowCursor}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// The rules beside the price, with the keyboard alone: a bad box is refused with its message,
// the focus in it and nothing stored; good ones are stored with the rate, marked in the list,
// read back into the boxes, and go with the rate when it is deleted.
TEST_P(PruebaTarifasMotores, ReglasPorTecladoEstrictasYGuardadasConLaTarifa) {
    frmTarifas& v = abrir();
    v.txtTarifa->setFocus();
    // The access key's click comes a moment later; every press here ends in a box.
    const auto agregar = [this] {
        const int antes = dialogos.cajas.size();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialogos.cajas.size() > antes; }, 2000));
    };
    // Rate, minutes, description, both marks, grace, free minutes, minimum, first block and its
    // price, cap, calendar day, weekly cap, lost ticket.
    for (const QString texto : {"2.000", "60", "noche", "", "", "15", "2 h", "1.500", "1441",
                                "3.000", "20.000", " ", "19.999", "30.000"}) {
        QWidget* foco = QApplication::focusWidget();
        if (texto == " ")
            QTest::keyClick(foco, Qt::Key_Space);
        else if (auto* caja = qobject_cast<QLineEdit*>(foco))
            caja->clear(), QTest::keyClicks(caja, texto);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    const QString franjas = "Nocturno 20:00-06:00 LMXJVSD fijo 5.000; Diurno 06:00-20:00 LMXJV ";
    ASSERT_EQ(QApplication::focusWidget(), v.txtFranjas);
    QTest::keyClicks(v.txtFranjas, franjas + "1.000 max 25.000");
    agregar();
    EXPECT_EQ(QApplication::focusWidget(), v.txtMinutosLibres) << ultimaCaja().texto.toStdString();
    v.txtMinutosLibres->setText("90");
    v.txtCobroMinimo->setText("1.50");
    agregar();
    // Named: the server calls every count "count".
    const QString cuantas = "SELECT (SELECT COUNT(*) FROM Tarifas) AS t, (SELECT COUNT(*) FROM "
                            "ReglasTarifas) AS r, (SELECT COUNT(*) FROM FranjasTarifas) AS f";
    EXPECT_EQ(ultimaCaja().texto + "|" + QApplication::focusWidget()->objectName() + "|" +
                  Tabla(cuantas),
              "El cobro mínimo debe ser un valor numérico, por ejemplo 1.500|txtCobroMinimo|0,0,0");
    v.txtCobroMinimo->setText("1.500");
    agregar();
    EXPECT_EQ(ultimaCaja().texto + "|" + QApplication::focusWidget()->objectName(),
              "El primer bloque no puede durar más de un día (1440 minutos)|txtMinutosBloque");
    v.txtMinutosBloque->setText("60");
    agregar();
    EXPECT_EQ(ultimaCaja().texto + "|" + QApplication::focusWidget()->objectName(),
              "El máximo de la franja Diurno (25.000) no puede superar el tope por periodo "
              "(20.000)|txtFranjas");
    v.txtFranjas->setText(franjas + "1.000 máx 1.500");
    // A cap below the unit's price is asked about; No keeps the boxes as typed and stores nothing.
    v.txtTopeCobro->setText("1.999");
    responder("N");
    agregar();
    EXPECT_EQ(ultimaCaja().texto.section(':', 0, 0) + "|" + v.txtTopeCobro->text() + "|" +
                  QApplication::focusWidget()->objectName() + "|" + Tabla(cuantas),
              "El tope por periodo ($1.999) es menor que el valor de una unidad de la tarifa "
              "($2.000)|1.999|txtTopeCobro|0,0,0");
    v.txtTopeCobro->setText("20.000");
    // So is a weekly cap below the cap per period.
    responder("N");
    agregar();
    EXPECT_EQ(ultimaCaja().texto.section(':', 0, 0) + "|" +
                  QApplication::focusWidget()->objectName() + "|" + Tabla(cuantas),
              "El tope semanal ($19.999) es menor que el tope por periodo ($20.000)|txtTopeSemanal|"
              "0,0,0");
    v.txtTopeSemanal->setText("0");
    agregar();
    EXPECT_EQ(ultimaCaja().texto + "|" + QApplication::focusWidget()->objectName(),
              "El tope semanal debe ser un valor numérico, por ejemplo 1.500, mayor que "
              "cero|txtTopeSemanal");
    v.txtTopeSemanal->setText("100.000");
    // Tiers typed cell by cell, the second one out of order; a day's amount beyond the last. A
    // flat whose entry window ends before it starts, and with no days.
    QTableWidget *tramos = v.edtTramos->tblTramos, *planas = v.edtPlanas->tblPlanas;
    for (const auto& [tabla, fila, columna, texto] : {std::tuple{tramos, 0, 0, "60"},
                                                      {tramos, 0, 1, "1.000"},
                                                      {tramos, 1, 0, "45"},
                                                      {tramos, 1, 1, "2.000"},
                                                      {planas, 0, 0, "Noche"},
                                                      {planas, 0, 1, "17:00"},
                                                      {planas, 0, 2, "05:00"},
                                                      {planas, 0, 3, "05:00"},
                                                      {planas, 0, 5, "5.000"}}) {
        tabla->setCurrentCell(fila, columna);
        QTest::keyClick(tabla, Qt::Key_F2);
        QTest::keyClicks(QApplication::focusWidget(), texto);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QApplication::processEvents(); // the editor closes a moment later
    }
    QTest::mouseClick(v.edtTramos->optTramosPorDia, Qt::LeftButton);
    QTest::keyClicks(v.edtTramos->txtValorDiaTramos, "7.000");
    agregar();
    EXPECT_EQ(ultimaCaja().texto +
                  QString("|%1,%2|").arg(tramos->currentRow()).arg(tramos->currentColumn()) +
                  QApplication::focusWidget()->objectName() + "|" + Tabla(cuantas),
              "Los tramos van de menor a mayor: el tramo 2 debe llegar a más minutos que el "
              "anterior (60)|1,0|tblTramos|0,0,0");
    tramos->item(1, 0)->setText("120");
    for (const auto& [celda, texto, error] :
         {std::tuple{2, "05:00+1",
                     "La ventana de entrada de la tarifa plana 1 termina antes de "
                     "empezar; si cruza la medianoche, escriba su fin con +1, por "
                     "ejemplo 22:00 a 02:00+1|0,2"},
          {4, "VSD",
           "Indique al menos un día de la semana para la tarifa plana 1, con las letras "
           "LMXJVSD|0,4"}}) {
        agregar();
        EXPECT_EQ(ultimaCaja().texto +
                      QString("|%1,%2").arg(planas->currentRow()).arg(planas->currentColumn()) +
                      QApplication::focusWidget()->objectName() + Tabla(cuantas),
                  QString(error) + "tblPlanas0,0,0");
        planas->setItem(0, celda, new QTableWidgetItem(texto));
    }
    agregar();
    EXPECT_EQ(Tabla("SELECT NombrePlana, EntradaDesde, EntradaHasta, SalidaHasta, DiasSemana, "
                    "ValorPlano FROM TarifasPlanas"),
              "Noche,1020,1740,300,112,5000");
    EXPECT_EQ(
        ultimaCaja().texto + "|" +
            Tabla("SELECT id_tarifa, MinutosGracia, CobroMinimo, TopeCobro, "
                  "TopeDiaCalendario, ValorTicketPerdido, MinutosLibres, TopeSemanal, "
                  "MinutosBloque, PrecioBloque, ValorDiaTramos FROM ReglasTarifas") +
            "|" + Tabla("SELECT MinutosTramo, ValorTramo FROM TramosTarifas ORDER BY 1"),
        "Tarifa agregada correctamente|1,15,1500,20000,Verdadero,30000,90,100000,60,3000,7000|"
        "60,1000|120,2000");
    EXPECT_EQ(Tabla("SELECT NombreFranja, MinutoInicio, MinutoFin, DiasSemana, TarifaFranja, "
                    "ValorFijo, MaximoFranja FROM FranjasTarifas ORDER BY id_franja"),
              "Nocturno,1200,360,127,(Null),5000,(Null)|Diurno,360,1200,31,1000,(Null),1500");
    SembrarTarifa(1000, 60, "CARRO");
    Pulsar(v.btnListadoCompleto);
    const QAbstractItemModel* m = v.ListView1->model();
    // The first rate, without rules, fills the boxes: none of the other's is left.
    EXPECT_EQ(m->headerData(6, Qt::Horizontal).toString() + "|" + m->index(0, 6).data().toString() +
                  "|" + m->index(1, 6).data().toString() + "|" + v.txtFranjas->text() +
                  v.txtPrecioBloque->text() + QString::number(tramos->rowCount()),
              "Reglas||Con reglas|1");
    pulsarFila(v, 1);
    EXPECT_EQ(QStringList(
                  {v.txtMinutosGracia->text(), v.txtMinutosLibres->text(), v.txtCobroMinimo->text(),
                   v.txtTopeCobro->text(), v.txtTicketPerdido->text(), v.txtFranjas->text(),
                   QString::number(v.chkTopeDiaCalendario->isChecked()), v.txtTopeSemanal->text(),
                   v.txtMinutosBloque->text(), v.txtPrecioBloque->text()})
                  .join('|'),
              "15|90|1.500|20.000|30.000|" + franjas + "1.000 máx 1.500|1|100.000|60|3.000");
    EXPECT_EQ(QString("%1 filas, %2|%3|%4")
                      .arg(tramos->rowCount())
                      .arg(tramos->item(1, 0)->text(), tramos->item(1, 1)->text(),
                           v.edtTramos->txtValorDiaTramos->text()) +
                  (v.edtTramos->optTramosPorDia->isChecked() ? "|por día" : ""),
              "3 filas, 120|2.000|7.000|por día");
    EXPECT_EQ(FilasTablaReglas(planas).value(0).join('|') + QString::number(planas->rowCount()),
              "Noche|17:00|05:00+1|05:00|VSD|5.0002");
    dialogos.respuestas = {Boton::Si};
    Pulsar(v.btnEliminarTarifa);
    EXPECT_EQ(Tabla(cuantas), "1,0,0");
}

// The simulator charges the boxes as typed, by the exit's engine, and writes nothing: a bad box
// gets the saving's refusal, an exit before the entry its own, and neither leaves a figure.
TEST_P(PruebaTarifasMotores, SimularEstanciaCobraLoTecleadoSinGrabar) {
    reloj.momento = QDateTime({2026, 3, 20}, {9, 30, 45});
    SembrarTarifa(1000, 60, "CARRO");
    frmTarifas& v = abrir();
    EXPECT_EQ(v.dtpEntradaSimulada->dateTime().toString("dd/MM HH:mm:ss") + "|" +
                  v.dtpSalidaSimulada->dateTime().toString("dd/MM HH:mm:ss"),
              "20/03 08:30:00|20/03 09:30:00");
    const QString tablas = "SELECT (SELECT COUNT(*) FROM Tarifas) AS a, (SELECT COUNT(*) FROM "
                           "ReglasTarifas) AS b, (SELECT COUNT(*) FROM FranjasTarifas) AS c";
    const QString antes = filas("*") + Tabla(tablas);
    const QString noche = "Nocturno 20:00-06:00 LMXJVSD fijo 5.000";
    const QDateTime sabado({2026, 3, 14}, {14, 10});
    struct Caso {
        const char* tarifa;
        QString franjas;
        const char* tope;
        QDateTime salida;
        bool completo, primera;
        const char* rechazo; // start of the box shown, or null for a charge
        const char* foco;
        int64_t aMano = -1; // worked out by hand
    };
    const Caso casos[] = {
        // 14:10 to 20:00 is six whole units of 2.000, then the night's flat 5.000.
        {"2.000", noche, "", sabado.addSecs(610 * 60), true, false, nullptr, "", 17000},
        {"2.000", noche + "; Diurno 06:00-20:00 LMXJV 1.500", "6.000", sabado.addDays(2), false,
         true, nullptr, "", -1},
        {"1.000", "", "", sabado.addSecs(45 * 60), false, true, nullptr, "", -1},
        {"", noche, "", sabado.addSecs(60), true, false, "Debe indicar la Tarifa", "txtTarifa"},
        {"2.000", "Nocturno 25:00-06:00", "", sabado.addSecs(60), true, false,
         "La franja 1 no es correcta", "txtFranjas"},
        {"2.000", noche, "", sabado.addSecs(-60), true, false,
         "La salida de la estancia simulada no puede ser anterior a su entrada",
         "dtpSalidaSimulada"},
    };
    v.txtDescrTarifa->clear();
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.franjas.toStdString() + " " + c.tarifa);
        v.txtTarifa->setText(c.tarifa);
        v.txtFranjas->setText(c.franjas);
        v.txtTopeCobro->setText(c.tope);
        v.dtpEntradaSimulada->setDateTime(sabado);
        v.dtpSalidaSimulada->setDateTime(c.salida);
        v.chkCobroCompleto->setChecked(c.completo);
        v.chkCobroPrimeraHora->setChecked(c.primera);
        const int cajasAntes = dialogos.cajas.size();
        Pulsar(v.btnSimular);
        const QString texto = v.txtSimulacion->toPlainText();
        if (c.rechazo) {
            EXPECT_TRUE(dialogos.cajas.size() == cajasAntes + 1 &&
                        ultimaCaja().texto.startsWith(c.rechazo) && texto.isEmpty() &&
                        QApplication::focusWidget()->objectName() == c.foco)
                << texto.toStdString();
            continue;
        }
        const Cobro cobro =
            EvaluarCobro(sabado, c.salida, *ImporteEstricto(c.tarifa), 60, {c.completo, c.primera},
                         LeerTextosReglas({"", "", c.tope, "", c.franjas, false, ""}).reglas);
        const QString total = "Valor a cobrar: $" + FormatoMiles(cobro.valor);
        EXPECT_TRUE(texto.endsWith((LineasItems(cobro.items, "$") << total).join('\n')) &&
                    dialogos.cajas.size() == cajasAntes && mensajes().last().endsWith(total))
            << texto.toStdString();
        EXPECT_TRUE(c.aMano < 0 || cobro.valor == c.aMano);
    }
    EXPECT_EQ(filas("*") + Tabla(tablas) + QString::number(cambios.count()), antes + "0");
}

} // namespace
