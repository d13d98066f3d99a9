#include "principal/avisos.h"
#include "principal/formatos.h"
#include "tests/movimientos/apoyo_movimientos.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTimer>

namespace {

const QString kInsercion = QStringLiteral(
    " (FechaEntrada,Placa,DescrVeh,Observaciones,id_tarifa,Tarifa,Tiempo,DescrTarifa) VALUES (");
const QString kOcupacion = QStringLiteral("Se actualiza la Ocupación Actual, siendo de: -");
const QString kClicEntrada =
    QStringLiteral("; se hizo click en Registrar Entrada, desde Entradas/Salidas");

class PruebaEntrada : public PruebaMovimientosMotores {};
VIALTOR_EN_AMBOS_MOTORES(PruebaEntrada);

TEST_P(PruebaEntrada, PlacaSinBlancosEnMayusculasYTextosConComillaTalCual) {
    const QString automovil = QString::number(SembrarTarifa(2000, 60, "AUTOMOVIL"));
    hora(QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30)));
    // The entry takes its time from the label, not from the clock.
    reloj.avanzar(40);
    v().txtDescrVeh->setText("Mazda 'rojo'");
    v().txtObservaciones->setText("D'Arcy");
    v().txtCopiasEntrada->setText("3");
    entrar(" abc123 ");
    const QString id = Entradas("id_entrada");
    EXPECT_EQ(Entradas(), id + ",06/12/2026 10:15:30 am,ABC123,Mazda 'rojo',D'Arcy," + automovil +
                              ",2000,60,AUTOMOVIL");
    EXPECT_EQ(titulos() + "|" + textos(),
              "Registrar Entrada|¿Desea realizar la Entrada?\r\n\r\nPLACA: ABC123\r\nTARIFA: "
              "AUTOMOVIL\r\n\r\n(*) Si se trata de un Cliente o Exento de Cobro, no se aplicará "
              "Tarifa\r\n\r\n");
    EXPECT_EQ(mensajes().join('|'),
              "Botón Registrar Entrada, desde Entradas/Salidas: Placa Inicial (sin corrección de "
              "mayúsculas):  abc123  - Tarifa Activa Inicial: AUTOMOVIL|Se registra la Entrada del "
              "vehículo con tarifa normal desde Entradas/Salidas\r\nINSERT INTO entradas" +
                  kInsercion + "'06/12/2026 10:15:30 am','ABC123','Mazda ''rojo''','D''Arcy','" +
                  automovil + "','2000','60','AUTOMOVIL')|" + kOcupacion +
                  "1- desde Entradas/Salidas|Se inicia impresión Ticket de Entrada, con 3 copia/s");
    ASSERT_EQ(impresora.trabajos.size(), 3);
    EXPECT_TRUE(impresora.textos(2).join('|').contains(
        "|         ABC123|Entrada|06/12/2026 10:15:30 am|Ticket de entrada # " + id + "|"));
    // Listed as typed, and the boxes left empty.
    EXPECT_EQ(columna(3) + columna(4) + v().txtPlaca->text() + v().txtDescrVeh->text() +
                  v().txtObservaciones->text(),
              "Mazda 'rojo'D'Arcy");

    entrar("def456");
    // Typed without its blanks the plate is found, and entering a plate inside is its exit.
    entrar("abc123");
    EXPECT_EQ(Entradas("Placa"), "DEF456");
}

TEST_P(PruebaEntrada, LimiteDeCupoPreguntaSoloAlLlegarAlCupo) {
    SembrarTarifa(2000, 60, "AUTOMOVIL");
    Ajustar("Cupo = 3");
    SembrarEntrada("AAA111");
    SembrarEntrada("BBB222");
    entrar("CCC333");
    for (const Boton respuesta : {Boton::No, Boton::Si}) {
        dialogos.respuestas = {Boton::Si, respuesta};
        entrar("DDD444");
    }
    EXPECT_EQ(titulos(), QStringLiteral("Registrar Entrada|Registrar Entrada|Límite de Cupo "
                                        "Alcanzado|Registrar Entrada|Límite de Cupo Alcanzado"));
    EXPECT_EQ(ultimaCaja().texto, "Ha llegado al límite de cupo ¿Permitir ingreso del vehículo? ");
    EXPECT_EQ(ultimaCaja().icono, Icono::Exclamacion);
    EXPECT_EQ(Entradas("Placa"), "AAA111|BBB222|CCC333|DDD444");
}

TEST_P(PruebaEntrada, ClienteVigentePrevaleceSobreExentoYElVencidoAyerPagaTarifa) {
    SembrarTarifa(2000, 60, "AUTOMOVIL");
    // The first of December, which a month-first date literal would take for 12 January.
    SembrarCliente("D'ARCY", QDate(2026, 12, 1), true);
    SembrarCliente("NOV030", QDate(2026, 11, 30), true);
    Ejecutar("INSERT INTO Exentos (PlacaExento,NombreExento,ActivoExento) VALUES ('D''ARCY','A',"
             "True), ('AMB002','B',True), ('AMB003','C',False)");
    hora(QDateTime(QDate(2026, 12, 1), QTime(7, 45)));
    entrar("d'arcy");
    EXPECT_EQ(titulos(), "Registrar Entrada|INGRESO DE CLIENTE|" + TituloAplicacion);
    EXPECT_EQ(dialogos.cajas.value(1).texto,
              kCliente + QStringLiteral("\r\nPuede ingresar hasta el día: MARTES, 1 DE DICIEMBRE "
                                        "DE 2026\r\n\r\n"));
    for (const char* placa : {"NOV030", "amb002", "AMB003"})
        entrar(placa);
    EXPECT_EQ(Entradas("Placa,id_tarifa,Tarifa,Tiempo,DescrTarifa"),
              "D'ARCY,0,0,0,CLIENTE|NOV030,1,2000,60,AUTOMOVIL|AMB002,0,0,0,EXENTO|AMB003,1,2000,"
              "60,AUTOMOVIL");
    // The statement's words are checked once, in the first test; here which mark is logged.
    for (const QString como : {"Cliente", "Exento"})
        EXPECT_EQ(mensajes().filter("Entrada del vehículo con datos de " + como + " desde").size(),
                  1);
    ASSERT_EQ(impresora.trabajos.size(), 4);
    EXPECT_TRUE(impresora.textos(0).contains(QStringLiteral("Cliente: Ana Gómez Ruiz")));
    EXPECT_FALSE(impresora.textos(1).contains(QStringLiteral("Cliente: Ana Gómez Ruiz")));
}

TEST_P(PruebaEntrada, AlertasDeClienteAlEntrarYAlSalirSegunDiasYPago) {
    SembrarTarifa(2000, 60, "AUTOMOVIL");
    const QString tres = QStringLiteral("MIÉRCOLES, 9 DE DICIEMBRE DE 2026");
    const QString entrada = QStringLiteral("Botón Registrar Entrada: Alerta Cliente");
    const QString salida = QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas");
    const QString desde = QStringLiteral(", desde Entradas/Salidas");
    const QString n = kCrLf + kCliente;
    const QString puede = n + QStringLiteral("\r\nPuede ingresar hasta el día: ") + tres;
    const QString debe = n + QStringLiteral("\r\nDebe realizar su pago antes del día: ") + tres;
    const QString proxima = n + QStringLiteral("\r\nPróxima Fecha Pago: ") + tres;
    const QString ultimo = QStringLiteral("Hoy es su último día permitido");
    // Plate, days left, paid; log at entry and at exit; box at entry and (if other) at exit.
    const std::tuple<const char*, int, bool, QString, QString, QString, QString> casos[] = {
        {"PAG3", 3, true, entrada + ", le queda/n 3 día/s" + desde + puede,
         salida + " - Mensaje: Le queda/n 3 día/s como Cliente" + puede,
         "Le queda/n 3 día/s como Cliente\r\n" + puede, ""},
        {"PAG0", 0, true, entrada + ", " + ultimo + desde + n,
         salida + " - Mensaje: " + ultimo + " como Cliente" + n, ultimo + " como Cliente\r\n" + n,
         ""},
        {"DEB3", 3, false,
         entrada + QStringLiteral(" fecha de pago está próxima, falta/n 3 día/s") + desde + proxima,
         salida + ": Queda/n 3 día/s para realizar el pago" + debe,
         QStringLiteral("Falta/n 3 día/s para la próxima fecha de pago\r\n") + proxima,
         "Queda/n 3 día/s para realizar el pago\r\n" + debe},
        {"DEB0", 0, false, entrada + " hoy vence la fecha de pago" + desde + n,
         salida + ": Hoy vence la fecha de pago" + n, "Hoy vence la fecha de pago\r\n" + n, ""},
        {"PAG4", 4, true, "", "", "", ""},
    };
    for (const auto& [placa, dias, pagado, alEntrar, alSalir, mensaje, alSalirCaja] : casos) {
        SCOPED_TRACE(placa);
        SembrarCliente(placa, reloj.momento.date().addDays(dias), pagado);
        dialogos.cajas.clear();
        entrar(placa);
        salir(placa);
        EXPECT_EQ(DeSalida(placa, "DescrTarifa"), "CLIENTE");
        const QString alerta = mensaje.isEmpty() ? "" : "|" + TituloAplicacion;
        ASSERT_EQ(titulos(), "Registrar Entrada|INGRESO DE CLIENTE" + alerta +
                                 "|CONFIRMAR SALIDA DE CLIENTE" + alerta);
        if (mensaje.isEmpty())
            continue;
        EXPECT_EQ(dialogos.cajas[2].texto, mensaje);
        EXPECT_EQ(dialogos.cajas[4].texto, alSalirCaja.isEmpty() ? mensaje : alSalirCaja);
        // The log keeps an alert on one line: its line breaks are written as blanks.
        EXPECT_TRUE(registrado(QString(alEntrar).replace(kCrLf, "  ")));
        EXPECT_TRUE(registrado(QString(alSalir).replace(kCrLf, "  ")));
    }
    // A paid period is alert enough without a name; an unpaid one without a name is no client's.
    for (const bool pagado : {true, false}) {
        SembrarCliente(pagado ? "SINN1" : "SINN2", reloj.momento.date(), pagado, "");
        dialogos.cajas.clear();
        entrar(pagado ? "SINN1" : "SINN2");
        EXPECT_EQ(titulos().endsWith(TituloAplicacion), pagado) << titulos().toStdString();
    }
}

TEST_P(PruebaEntrada, RechazosDejanElFocoEnSuCajaYNoEscribenNada) {
    const int64_t carro = SembrarTarifa(1000, 60, "Carro pequeño");
    activar();
    // Not confirmed: nothing written.
    dialogos.respuestas = {Boton::No};
    entrar("abc123");
    EXPECT_TRUE(textos().contains(QStringLiteral("\r\nTARIFA: CARRO PEQUEÑO\r\n")));
    // Plate, copies, warning (also the last log line), focus after.
    const std::tuple<const char*, const char*, const char*, QLineEdit*> casos[] = {
        {"   ", "1", "Debe indicar la Placa", v().txtPlaca},
        {"ABC123", "x", "Debe indicar Nro Copias Ticket Entrada", v().txtCopiasEntrada},
        // Deleted at another station after the list was loaded.
        {"ABC123", "1", "La tarifa seleccionada ya no existe; elija otra tarifa", v().txtPlaca},
        // No rate offered at entries is left.
        {"ABC123", "1", "No hay tarifas disponibles para registrar la Entrada", v().txtPlaca},
    };
    for (const auto& [placa, copias, aviso, foco] : casos) {
        SCOPED_TRACE(aviso);
        if (QString(aviso).startsWith("La tarifa"))
            Ejecutar(QStringLiteral("DELETE FROM Tarifas WHERE id_tarifa = %1").arg(carro));
        v().txtCopiasEntrada->setText(copias);
        v().txtDescrVeh->setFocus();
        entrar(placa);
        EXPECT_TRUE(textos().endsWith(aviso)) << textos().toStdString();
        EXPECT_EQ(mensajes().last(), "Se muestra mensaje - " + QString(aviso) + kClicEntrada);
        EXPECT_TRUE(foco->hasFocus());
    }
    EXPECT_EQ(Entradas(), "");
    EXPECT_TRUE(impresora.trabajos.isEmpty());
}

TEST_P(PruebaEntrada, ListaPorFilasYEntera_SiOtraEstacionEscribio) {
    SembrarTarifa(2000, 60, "AUTOMOVIL");
    const int64_t vieja = SembrarEntrada("VIE001", "06/12/2026 07:00:00 am");
    const int64_t quitada = SembrarEntrada("VIE002", "06/12/2026 07:30:00 am");
    // What another station did meanwhile; the list must end as Entradas is, newest first.
    const std::pair<const char*, std::function<void()>> casos[] = {
        {"nada", nullptr},
        {"entra", [] { SembrarEntrada("OTR001", "06/12/2026 09:00:00 am"); }},
        {"sale y entra",
         [quitada] {
             Ejecutar(QStringLiteral("DELETE FROM Entradas WHERE id_entrada = %1").arg(quitada));
             SembrarEntrada("OTR002");
         }},
        // The same rows, one with its time and plate corrected elsewhere.
        {"corrige",
         [vieja] {
             Ejecutar(QStringLiteral("UPDATE Entradas SET FechaEntrada = '06/12/2026 07:05:00 am', "
                                     "Placa = 'VIE009' WHERE id_entrada = %1")
                          .arg(vieja));
         }},
    };
    const QString desde = " FROM Entradas ORDER BY FechaEntrada DESC, id_entrada DESC";
    const auto lista = [this] { return columna(1) + "/" + columna(2); };
    const auto tabla = [&] {
        return Tabla("SELECT FechaEntrada" + desde) + "/" + Tabla("SELECT Placa" + desde);
    };
    v().chkImprimirTicket->setChecked(false);
    int n = 0;
    for (const auto& [nombre, otra] : casos) {
        SCOPED_TRACE(nombre);
        const QPersistentModelIndex ultima =
            v().ListView1->model()->index(v().ListView1->model()->rowCount() - 1, 0);
        if (otra)
            ComoOtraEstacion(otra);
        hora(reloj.momento.addSecs(60));
        const QString placa = QStringLiteral("NUE%1").arg(++n);
        entrar(placa);
        // Only when nothing else changed is the row added by itself, the others left in place.
        EXPECT_EQ(ultima.isValid(), !otra);
        EXPECT_EQ(lista(), tabla());
        EXPECT_EQ(v().lblOcupacionActual->text(),
                  "Ocupación Actual: " + Tabla("SELECT COUNT(*) FROM Entradas"));
        // A double click on its row, the newest, is its exit.
        const QPoint nueva =
            v().ListView1->visualRect(v().ListView1->model()->index(0, 2)).center();
        QTest::mouseClick(v().ListView1->viewport(), Qt::LeftButton, {}, nueva);
        QTest::mouseDClick(v().ListView1->viewport(), Qt::LeftButton, {}, nueva);
        EXPECT_EQ(DeSalida(placa, "Placa"), placa);
        EXPECT_EQ(lista(), tabla());
    }
    // Unchecked, no ticket and no printing line at either end.
    EXPECT_TRUE(impresora.trabajos.isEmpty());
    EXPECT_FALSE(mensajes().join('|').contains("Se inicia impresión"));
}

TEST_P(PruebaEntrada, ListaClicTecladoYTarifaPorSuClave) {
    SembrarTarifa(1000, 60, "MOTO");
    SembrarTarifa(1500, 720, "NOCTURNA", false);
    const int64_t carro = SembrarTarifa(2000, 60, "CARRO");
    const int64_t carroMedia = SembrarTarifa(700, 30, "CARRO");
    SembrarEntrada("MOT001", "06/12/2026 08:00:00 am", 1, 1000, "MOTO");
    SembrarEntrada("CLI001", "04/12/2026 10:29:00 am", 0, 0, "CLIENTE");
    SembrarEntrada("MED001", "05/12/2026 08:15:00 pm", carroMedia, 700, "CARRO");
    // Only the rates offered at entries, by description.
    EXPECT_EQ(v().comTarifa->count(), 3);
    EXPECT_EQ(v().comTarifa->currentText() + "|" + v().comTarifa->itemText(2), "CARRO|MOTO");
    EXPECT_EQ(v().lblCupo->text(), QStringLiteral("Cupo máximo: 50"));
    // The clock label follows the clock on every tick.
    EXPECT_TRUE(v().Timer1->isActive());
    reloj.momento = QDateTime(QDate(2026, 12, 6), QTime(10, 30, 0));
    QMetaObject::invokeMethod(v().Timer1, "timeout");
    EXPECT_EQ(v().lblFechaActual->text(), "06/12/2026 10:30:00 am");

    activar();
    const QRect lista = v().ListView1->geometry();
    clicEnFila("MED001");
    // The stay appears without moving the list under the mouse.
    EXPECT_EQ(v().ListView1->geometry(), lista);
    EXPECT_EQ(v().txtPlaca->text() + "|" + PlacaCorreccion + "|" + v().txtDescrVeh->text() + "|" +
                  v().comTarifa->currentData().toString(),
              "MED001|MED001|Sedán gris|" + QString::number(carroMedia));
    EXPECT_EQ(v().lblTiempoTranscurrido->text(), "14 Horas 15 Minutos.");
    // Down the list with the keys: each row is picked as a click picks it. A client's mark is
    // no rate of the list: the list keeps its choice.
    QTest::keyClick(v().ListView1, Qt::Key_Down);
    EXPECT_EQ(v().txtPlaca->text() + "|" + v().comTarifa->currentData().toString(),
              "CLI001|" + QString::number(carroMedia));
    EXPECT_EQ(v().lblTiempoTranscurrido->text(), QStringLiteral("2 Días 1 Minuto."));
    QTest::keyClick(v().ListView1, Qt::Key_Home);
    EXPECT_EQ(v().comTarifa->currentText(), "MOTO");
    ASSERT_TRUE(v().ListView1->hasFocus());
    // The corrections menu taking the focus is no leaving the list: its plate stays offered.
    QFocusEvent porMenu(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(v().ListView1, &porMenu);
    EXPECT_EQ(PlacaCorreccion + QString::number(v().lblTiempoTranscurrido->isVisible()), "MOT0011");
    v().txtDescrVeh->setFocus();
    EXPECT_EQ(PlacaCorreccion + QString::number(v().lblTiempoTranscurrido->isVisible()), "0");

    // Rates changed at this station reach the open list; the choice stays by its key.
    v().comTarifa->setCurrentIndex(v().comTarifa->findData(QVariant::fromValue<qint64>(carro)));
    Ejecutar(
        QStringLiteral("UPDATE Tarifas SET DescrTarifa = 'AUTO' WHERE id_tarifa = %1").arg(carro));
    SembrarTarifa(500, 60, "BICI");
    emit Avisos().tarifasCambiadas();
    EXPECT_EQ(v().comTarifa->currentText() + QString::number(v().comTarifa->count()), "AUTO4");

    // Leaving the plate box, or Enter in it, turns the plate upper case; Enter also enters it.
    v().txtPlaca->clear();
    v().txtPlaca->setFocus();
    QTest::keyClicks(v().txtPlaca, "abc12x");
    v().txtDescrVeh->setFocus();
    EXPECT_EQ(v().txtPlaca->text(), "ABC12X");
    // Return is the scanner's key, pinned with it; here the keypad's.
    v().txtPlaca->setText("mno7");
    QTest::keyClick(v().txtPlaca, Qt::Key_Enter);
    EXPECT_EQ(Entradas("Placa").section('|', 3), "MNO7");
    // Ten characters at most, an emoji being one.
    v().txtPlaca->clear();
    v().txtPlaca->insert(QStringLiteral("ABCDEFGHI\U0001F697XY"));
    EXPECT_EQ(v().txtPlaca->text(), QStringLiteral("ABCDEFGHI\U0001F697"));
    // Left by the reprint window while this one stays open.
    PlacaCorreccion = QStringLiteral("REI001");
    v().close();
    EXPECT_TRUE(PlacaCorreccion.isEmpty());
    EXPECT_EQ(mensajes().last(), "Cierra la ventana de Entradas/Salidas");
}

// However a plate reaches the box, it is one line without control characters and no longer
// than a plate once upper case; entry, exit and log keep it so.
TEST_P(PruebaEntrada, PlacaPegadaEnUnaLineaYLargoContadoEnMayusculas) {
    SembrarTarifa(1000, 60, "CARRO");
    v().chkImprimirTicket->setChecked(false);
    activar();
    const std::pair<std::function<void()>, QString> casos[] = {
        {[&] { v().txtPlaca->setText("AB\r\nC"); }, "ABC"},
        {[&] {
             QApplication::clipboard()->setText("X\r\nDELETE *");
             v().txtPlaca->clear();
             v().txtPlaca->paste();
         },
         "XDELETE *"},
        {[&] { v().txtPlaca->setText(QStringLiteral("T\tA\u2028B")); }, "TAB"},
        {[&] { v().txtPlaca->setText(QString::fromUtf8("Q\0Z", 3)); }, "QZ"},
        {[&] {
             v().txtPlaca->clear();
             QTest::keyClicks(v().txtPlaca, "ßßßßßß");
         },
         "SSSSSSSSSS"},
        {[&] { v().txtPlaca->setText(QString::fromUtf8("aßßßßß")); }, "ASSSSSSSS"},
    };
    for (const auto& [pegar, guardada] : casos) {
        SCOPED_TRACE(guardada.toStdString());
        pegar();
        EXPECT_FALSE(v().txtPlaca->text().contains(QRegularExpression("[\\x00-\\x1f\\x{2028}]")));
        // As its Alt+E does: the focus stays in the box.
        v().btnEntrada->click();
        EXPECT_EQ(Entradas("Placa"), guardada);
        salir(guardada);
        EXPECT_EQ(DeSalida(guardada, "Placa"), guardada);
    }
    EXPECT_FALSE(titulos().contains("Error")) << titulos().toStdString();
    for (const QString& linea : lineasSucesos())
        EXPECT_FALSE(linea.startsWith("DELETE")) << linea.toStdString();
}

TEST_P(PruebaEntrada, TabuladorEnOrdenVisualYTarifaPorTeclado) {
    SembrarTarifa(1000, 60, "AUTO");
    SembrarTarifa(500, 60, "BICI");
    SembrarTarifa(800, 60, "MOTO");
    SembrarEntrada("ABC123");
    activar();
    QStringList orden;
    for (int i = 0; i < 13; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::qWait(1);
        // With its list open, the rate box's keys go to the list.
        const QWidget* foco = QApplication::focusWidget();
        orden << (foco == v().comTarifa->view() ? "lista" : foco->objectName());
    }
    EXPECT_EQ(
        orden.join(' ').toStdString(),
        "txtDescrVeh txtObservaciones txtCopiasEntrada txtCopiasSalida chkImprimirTicket "
        "chkCobroCompleto chkCobroPrimeraHora btnEntrada btnSalida btnTicketPerdido ListView1 "
        "lista txtPlaca");
    // Reached by Tab, the rate list opens; arrows move in it and Tab, Enter or a character
    // takes the rate highlighted and goes on to the plate, where the character is added.
    const std::tuple<Qt::Key, const char*, const char*> casos[] = {{Qt::Key_Tab, "BICI", ""},
                                                                   {Qt::Key_Return, "MOTO", ""},
                                                                   {Qt::Key_X, "MOTO", "x"},
                                                                   {Qt::Key_Y, "MOTO", "Xy"}};
    for (const auto& [tecla, tarifa, placa] : casos) {
        SCOPED_TRACE(placa);
        QTest::keyClick(v().txtPlaca, Qt::Key_Backtab);
        QTest::qWait(1);
        ASSERT_TRUE(v().comTarifa->view()->isVisible());
        QTest::keyClick(v().comTarifa->view(), Qt::Key_Down);
        QTest::keyClick(v().comTarifa->view(), tecla);
        // Closed, in the plate box.
        EXPECT_EQ(v().comTarifa->currentText() +
                      QString::number(v().comTarifa->view()->isVisible()) +
                      QString::number(v().txtPlaca->hasFocus()) + v().txtPlaca->text(),
                  QString(tarifa) + "01" + placa);
    }
    // Shift+Tab in the open list goes back to the vehicles.
    QTest::keyClick(v().txtPlaca, Qt::Key_Backtab);
    QTest::qWait(1);
    QTest::keyClick(v().comTarifa->view(), Qt::Key_Backtab);
    EXPECT_TRUE(v().ListView1->hasFocus());
}

TEST_P(PruebaEntrada, ClicDerechoOfreceCorreccionSegunNivelYFila) {
    SembrarEntrada("AUT001");
    SembrarEntrada("EXE001", kEntrada, 0, 0, "EXENTO");
    QMenu menu;
    menu.addAction(QStringLiteral("Modificar"));
    EstablecerMenuCorrecciones(&menu);
    // For each access level 1 to 6: marked for correction, and the menu shown.
    const auto clicDerecho = [this, &menu] {
        QString resultado;
        for (const char* nivel : {"1", "2", "3", "4", "5", "6"}) {
            SesionActual.NivelAcceso = nivel;
            CorreccionDesdeEntradas = false;
            const QPoint donde = v().ListView1->visualRect(v().ListView1->currentIndex()).center();
            QContextMenuEvent evento(QContextMenuEvent::Mouse, donde,
                                     v().ListView1->viewport()->mapToGlobal(donde));
            QApplication::sendEvent(v().ListView1->viewport(), &evento);
            resultado +=
                QString::number(CorreccionDesdeEntradas) + QString::number(menu.isVisible()) + " ";
            menu.hide();
        }
        return resultado;
    };
    EXPECT_EQ(clicDerecho(), "00 00 00 00 00 00 ");
    clicEnFila("AUT001");
    EXPECT_EQ(clicDerecho(), "11 11 10 10 11 11 ");
    clicEnFila("EXE001");
    EXPECT_EQ(clicDerecho(), "00 00 00 00 00 00 ");
}

} // namespace
