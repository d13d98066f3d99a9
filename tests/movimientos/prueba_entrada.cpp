#include "movimientos/vehiculos.h"
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

class PruebaEntrada : public PruebaMovimientosMotores {};
VIALTOR_EN_AMBOS_MOTORES(PruebaEntrada);

// A morning's arrivals, one step a row: the plate typed, the copies box and the answers to the
// boxes (S: Sí, N: No); then the row the step added (Placa,DescrVeh,Observaciones,id_tarifa,
// Tarifa,Tiempo,DescrTarifa; none when refused), the last box's text, a line of the step's log and
// the control left with the focus.
TEST_P(PruebaEntrada, CadaEntradaSegunConfirmacionCupoClienteYExentoOSuAvisoSinEscribir) {
    SembrarTarifa(2000, 60, "Automóvil");
    // The first of December, which a month-first date literal would take for 12 January.
    SembrarCliente("D'ARCY", QDate(2026, 12, 1), true);
    SembrarCliente("NOV030", QDate(2026, 11, 30), true);
    Ejecutar("INSERT INTO Exentos (PlacaExento,NombreExento,ActivoExento) VALUES ('D''ARCY','A',"
             "True), ('AMB002','B',True), ('AMB003','C',False)");
    Ajustar("Cupo = 4");
    // The entry takes its time from the clock label, not from the clock.
    hora(QDateTime(QDate(2026, 12, 1), QTime(7, 45, 30)));
    reloj.avanzar(40);
    v().txtDescrVeh->setText("Mazda 'rojo'");
    v().txtObservaciones->setText("D'Arcy");
    const QString campos = "Placa,DescrVeh,Observaciones,id_tarifa,Tarifa,Tiempo,DescrTarifa";
    const auto paso = [&](const char* placa, const char* copias, const char* respuestas,
                          const char* fila, const QString& caja, const QString& suceso,
                          const char* foco) {
        SCOPED_TRACE(placa);
        const QString antes = Entradas(campos);
        const int desde = mensajes().size();
        v().txtCopiasEntrada->setText(copias);
        responder(respuestas);
        v().txtDescrVeh->setFocus();
        entrar(placa);
        EXPECT_EQ(Entradas(campos),
                  QStringList({antes, fila}).filter(QRegularExpression(".")).join('|'));
        EXPECT_EQ(ultimaCaja().texto, caja);
        EXPECT_TRUE(suceso.isEmpty() || sucesos(desde).contains(suceso)) << suceso.toStdString();
        EXPECT_EQ(v().focusWidget()->objectName(), foco);
    };
    const auto pregunta = [](const QString& placa) {
        return "¿Desea realizar la Entrada?\r\n\r\nPLACA: " + placa +
               "\r\nTARIFA: AUTOMÓVIL\r\n\r\n(*) "
               "Si se trata de un Cliente o Exento de Cobro, no se aplicará Tarifa\r\n\r\n";
    };
    const QString normal = "Se registra la Entrada del vehículo con tarifa normal desde "
                           "Entradas/Salidas [INSERT]",
                  aviso = "Se muestra mensaje - %1; se hizo click en Registrar Entrada, desde "
                          "Entradas/Salidas",
                  cupo = "Ha llegado al límite de cupo ¿Permitir ingreso del vehículo? ";
    paso(" abc123 ", "3", "", "ABC123,Mazda 'rojo',D'Arcy,1,2000,60,Automóvil", pregunta("ABC123"),
         normal, "txtPlaca");
    paso(" xyz789 ", "1", "N", "", pregunta("XYZ789"),
         "Botón Registrar Entrada, desde Entradas/Salidas: Placa Inicial (sin corrección de "
         "mayúsculas):  xyz789  - Tarifa Activa Inicial: Automóvil",
         "btnEntrada");
    paso("   ", "1", "", "", "Debe indicar la Placa", aviso.arg("Debe indicar la Placa"),
         "txtPlaca");
    paso("XYZ789", "x", "", "", "Debe indicar Nro Copias Ticket Entrada",
         aviso.arg("Debe indicar Nro Copias Ticket Entrada"), "txtCopiasEntrada");
    // A client until today, though also exempt, with the last day's alert; one until yesterday
    // pays.
    paso("d'arcy", "1", "", "D'ARCY,,,0,0,0,CLIENTE",
         "Hoy es su último día permitido como Cliente\r\n\r\n" + kCliente,
         "Se registra la Entrada del vehículo con datos de Cliente desde Entradas/Salidas [INSERT]",
         "txtPlaca");
    paso("NOV030", "1", "", "NOV030,,,1,2000,60,Automóvil", pregunta("NOV030"), normal, "txtPlaca");
    // An active exempt vehicle; an inactive one pays, and with the lot full enters if let in.
    paso("amb002", "1", "", "AMB002,,,0,0,0,EXENTO", pregunta("AMB002"),
         "Se registra la Entrada del vehículo con datos de Exento desde Entradas/Salidas [INSERT]",
         "txtPlaca");
    paso("AMB003", "1", "SN", "", cupo, "", "btnEntrada");
    paso("AMB003", "1", "SS", "AMB003,,,1,2000,60,Automóvil", cupo, normal, "txtPlaca");
    EXPECT_TRUE(columna(3).contains("Mazda 'rojo'") && columna(4).contains("D'Arcy"));
    // Typed without its blanks the plate is found, and entering a plate inside is its exit.
    entrar("abc123");
    EXPECT_EQ(DeSalida("ABC123", "Placa"), "ABC123");
    // Deleted at another station after the list was loaded; then none is offered.
    Ejecutar("DELETE FROM Tarifas");
    const QString borrada = "La tarifa seleccionada ya no existe; elija otra tarifa",
                  ninguna = "No hay tarifas disponibles para registrar la Entrada";
    paso("ZZZ", "1", "SS", "", borrada, aviso.arg(borrada), "txtPlaca");
    paso("ZZZ", "1", "", "", ninguna, aviso.arg(ninguna), "txtPlaca");
    EXPECT_EQ(Tabla("SELECT FechaEntrada FROM Salidas") + "|" + caja("INGRESO DE CLIENTE").texto,
              "01/12/2026 07:45:30 am|" + kCliente +
                  "\r\nPuede ingresar hasta el día: MARTES, 1 DE DICIEMBRE DE 2026\r\n\r\n");
    EXPECT_EQ(caja("Límite de Cupo Alcanzado").icono, Icono::Exclamacion);
    for (const QString& linea : QStringList{
             "Se actualiza la Ocupación Actual, siendo de: -1- desde Entradas/Salidas",
             "Se inicia impresión Ticket de Entrada, con 3 copia/s",
             "Botón Registrar Entrada: Alerta Cliente, Hoy es su último día permitido, desde "
             "Entradas/Salidas  " +
                 kCliente})
        EXPECT_TRUE(registrado(linea)) << linea.toStdString();
    // Three copies of the first ticket, one of each other, none marked as a reprint; only the
    // client's names the client.
    ASSERT_EQ(impresora.trabajos.size(), 8);
    EXPECT_TRUE(impresora.textos(2).join('|').contains(
        "|         ABC123|Entrada|01/12/2026 07:45:30 am|Ticket de entrada # 1|"));
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(impresora.textos(i).contains("*** COPIA ***")) << i;
    EXPECT_TRUE(impresora.textos(3).contains("Cliente: Ana Gómez Ruiz") &&
                !impresora.textos(4).contains("Cliente: Ana Gómez Ruiz"));
}

// A client's alert by moment, days left and payment: its log line and its box; none four days
// ahead, nor for an unpaid period without a name.
TEST_F(PruebaMovimientos, AlertaDeClienteSegunMomentoDiasYPago) {
    DatosTicket.Ape1 = "Gómez";
    DatosTicket.Ape2 = "Ruiz";
    DatosTicket.FechaFin = QDate(2026, 12, 9);
    const QString n = "\r\n" + kCliente, dia = "MIÉRCOLES, 9 DE DICIEMBRE DE 2026";
    const QString entrada = "Botón Registrar Entrada: Alerta Cliente",
                  desde = ", desde Entradas/Salidas";
    const QString salida = "Botón Registrar Salida, desde Entradas/Salidas";
    const QString puede = n + "\r\nPuede ingresar hasta el día: " + dia;
    const QString debe = n + "\r\nDebe realizar su pago antes del día: " + dia;
    const QString proxima = n + "\r\nPróxima Fecha Pago: " + dia;
    const QString ultimo = "Hoy es su último día permitido", vence = "Hoy vence la fecha de pago";
    // Name, paid, at the exit, days left; then the log line and the box, or none.
    const std::tuple<const char*, bool, bool, int, QString, QString> casos[] = {
        {"Ana", true, false, 3, entrada + ", le queda/n 3 día/s" + desde + puede,
         "Le queda/n 3 día/s como Cliente\r\n" + puede},
        {"Ana", true, true, 3, salida + " - Mensaje: Le queda/n 3 día/s como Cliente" + puede,
         "Le queda/n 3 día/s como Cliente\r\n" + puede},
        {"Ana", true, false, 0, entrada + ", " + ultimo + desde + n,
         ultimo + " como Cliente\r\n" + n},
        {"Ana", true, true, 0, salida + " - Mensaje: " + ultimo + " como Cliente" + n,
         ultimo + " como Cliente\r\n" + n},
        {"Ana", false, false, 3,
         entrada + " fecha de pago está próxima, falta/n 3 día/s" + desde + proxima,
         "Falta/n 3 día/s para la próxima fecha de pago\r\n" + proxima},
        {"Ana", false, true, 3, salida + ": Queda/n 3 día/s para realizar el pago" + debe,
         "Queda/n 3 día/s para realizar el pago\r\n" + debe},
        {"Ana", false, false, 0, entrada + " hoy vence la fecha de pago" + desde + n,
         vence + "\r\n" + n},
        {"Ana", false, true, 0, salida + ": " + vence + n, vence + "\r\n" + n},
        {"Ana", true, false, 4, "", ""},
        {"Ana", true, true, -1, "", ""},
        // A paid period is alert enough without a name; an unpaid one without a name is none.
        {"", true, false, 0, entrada + ", " + ultimo + desde + "\r\nCLIENTE:  Gómez Ruiz",
         ultimo + " como Cliente\r\n\r\nCLIENTE:  Gómez Ruiz"},
        {"", false, false, 0, "", ""},
    };
    for (const auto& [nombre, pagado, alSalir, dias, suceso, caja] : casos) {
        DatosTicket.Nombre = nombre;
        DatosTicket.Pagado = pagado;
        const auto alerta = AlertaCliente(alSalir ? Momento::Salida : Momento::Entrada, dias);
        EXPECT_EQ(alerta ? alerta->suceso + "|" + alerta->mensaje : "|", suceso + "|" + caja)
            << dias << pagado << alSalir;
    }
}

// The list is patched by the row entered or gone only when no other station wrote meanwhile;
// either way it ends as the table is, newest first. A double click on a row is its exit.
TEST_P(PruebaEntrada, ListaPorFilasYEntera_SiOtraEstacionEscribio) {
    SembrarTarifa(2000, 60, "AUTOMOVIL");
    const int64_t vieja = SembrarEntrada("VIE001", "06/12/2026 07:00:00 am");
    const int64_t quitada = SembrarEntrada("VIE002", "06/12/2026 07:30:00 am");
    const QString otra =
        "INSERT INTO Entradas (FechaEntrada,Placa) VALUES ('06/12/2026 %1 am','%2')";
    // What another station wrote before each entry; the last corrects a row's time and plate.
    const QStringList casos[] = {
        {},
        {otra.arg("09:00:00", "OTR001")},
        {QString("DELETE FROM Entradas WHERE id_entrada = %1").arg(quitada),
         otra.arg("08:30:00", "OTR002")},
        {QString("UPDATE Entradas SET FechaEntrada = '06/12/2026 07:05:00 am', Placa = 'VIE009' "
                 "WHERE id_entrada = %1")
             .arg(vieja)},
    };
    const QString orden = " FROM Entradas ORDER BY FechaEntrada DESC, id_entrada DESC";
    v().chkImprimirTicket->setChecked(false);
    int n = 0;
    for (const QStringList& sentencias : casos) {
        SCOPED_TRACE(++n);
        const QPersistentModelIndex ultima =
            v().ListView1->model()->index(v().ListView1->model()->rowCount() - 1, 0);
        if (!sentencias.isEmpty())
            ComoOtraEstacion([&sentencias] {
                for (const QString& sentencia : sentencias)
                    Ejecutar(sentencia);
            });
        hora(reloj.momento.addSecs(60));
        const QString placa = QStringLiteral("NUE%1").arg(n);
        entrar(placa);
        EXPECT_EQ(ultima.isValid(), sentencias.isEmpty());
        for (const bool salida : {false, true}) {
            const QPoint nueva =
                v().ListView1->visualRect(v().ListView1->model()->index(0, 2)).center();
            if (salida) {
                // Another station's entry before this one's exit.
                if (!sentencias.isEmpty())
                    ComoOtraEstacion([&] { Ejecutar(otra.arg("10:00:00", placa + "X")); });
                QTest::mouseClick(v().ListView1->viewport(), Qt::LeftButton, {}, nueva);
                QTest::mouseDClick(v().ListView1->viewport(), Qt::LeftButton, {}, nueva);
            }
            EXPECT_EQ(columna(1) + "/" + columna(2) + "/" + v().lblOcupacionActual->text(),
                      Tabla("SELECT FechaEntrada" + orden) + "/" + Tabla("SELECT Placa" + orden) +
                          "/Ocupación Actual: " + Tabla("SELECT COUNT(*) FROM Entradas"));
        }
        EXPECT_EQ(DeSalida(placa, "Placa"), placa);
    }
    // Unchecked, no ticket and no printing line at either end.
    EXPECT_TRUE(impresora.trabajos.isEmpty());
    EXPECT_FALSE(mensajes().join('|').contains("Se inicia impresión"));
}

// Picking a row by click or keys fills the boxes and the rate by its key, shows the stay and
// marks the row for correction; the right button offers it to levels 1, 2, 5 and 6 only, never
// for an exempt vehicle's. The plate box keeps a plate's shape, and the keys follow the screen.
TEST_P(PruebaEntrada, FilaElegidaPlacaYTeclado) {
    SembrarTarifa(1000, 60, "MOTO");
    SembrarTarifa(1500, 720, "NOCTURNA", false);
    const int64_t carro = SembrarTarifa(2000, 60, "CARRO");
    SembrarTarifa(700, 30, "CARRO");
    SembrarEntrada("MOT001", "06/12/2026 08:00:00 am", 1, 1000, "MOTO");
    SembrarEntrada("EXE001", "04/12/2026 10:29:00 am", 0, 0, "EXENTO");
    SembrarEntrada("MED001", "05/12/2026 08:15:00 pm", 4, 700, "CARRO");
    // Only the rates offered at entries, by description; the clock label follows every tick.
    EXPECT_EQ(v().comTarifa->count(), 3);
    EXPECT_EQ(v().comTarifa->currentText() + "|" + v().comTarifa->itemText(2) + "|" +
                  v().lblCupo->text(),
              "CARRO|MOTO|Cupo máximo: 50");
    ASSERT_TRUE(v().Timer1->isActive());
    reloj.momento = QDateTime(QDate(2026, 12, 6), QTime(10, 30, 0));
    QMetaObject::invokeMethod(v().Timer1, "timeout");
    EXPECT_EQ(v().lblFechaActual->text(), "06/12/2026 10:30:00 am");
    QMenu menu;
    EstablecerMenuCorrecciones(&menu);
    // For each access level 1 to 6: the menu shown.
    const auto clicDerecho = [this, &menu] {
        QString resultado;
        for (const char* nivel : {"1", "2", "3", "4", "5", "6"}) {
            SesionActual.NivelAcceso = nivel;
            const QPoint donde = v().ListView1->visualRect(v().ListView1->currentIndex()).center();
            QContextMenuEvent evento(QContextMenuEvent::Mouse, donde,
                                     v().ListView1->viewport()->mapToGlobal(donde));
            QApplication::sendEvent(v().ListView1->viewport(), &evento);
            resultado += QString::number(menu.isVisible());
            menu.hide();
        }
        return resultado;
    };
    v().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&v()));
    // Current but not selected: nothing is offered.
    v().ListView1->selectionModel()->setCurrentIndex(v().ListView1->model()->index(0, 0),
                                                     QItemSelectionModel::NoUpdate);
    EXPECT_EQ(clicDerecho(), "000000");
    // plate|description|rate's key|stay|stay shown.
    const auto estado = [this] {
        return QStringList({v().txtPlaca->text(), v().txtDescrVeh->text(),
                            v().comTarifa->currentData().toString(),
                            v().lblTiempoTranscurrido->text(),
                            QString::number(v().lblTiempoTranscurrido->isVisible())})
            .join('|');
    };
    const QRect lista = v().ListView1->geometry();
    clicEnFila("MED001");
    // The stay appears without moving the list under the mouse.
    EXPECT_EQ(v().ListView1->geometry(), lista);
    EXPECT_EQ(estado() + " " + clicDerecho(), "MED001|Sedán gris|4|14 Horas 15 Minutos.|1 110011");
    // Down the list with the keys: each row is picked as a click picks it. An exempt vehicle's
    // mark is no rate of the list: the list keeps its choice.
    QTest::keyClick(v().ListView1, Qt::Key_Down);
    EXPECT_EQ(estado() + " " + clicDerecho(), "EXE001|Sedán gris|4|2 Días 1 Minuto.|1 000000");
    QTest::keyClick(v().ListView1, Qt::Key_Home);
    SesionActual.NivelAcceso = "1";
    ASSERT_TRUE(v().ListView1->hasFocus());
    // The corrections menu taking the focus is no leaving the list: the stay stays shown.
    QFocusEvent porMenu(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(v().ListView1, &porMenu);
    EXPECT_EQ(estado(), "MOT001|Sedán gris|1|2 Horas 30 Minutos.|1");
    v().txtDescrVeh->setFocus();
    EXPECT_EQ(estado(), "MOT001|Sedán gris|1|2 Horas 30 Minutos.|0");

    // Rates changed at this station reach the open list; the choice stays by its key.
    v().comTarifa->setCurrentIndex(v().comTarifa->findData(QVariant::fromValue<qint64>(carro)));
    Ejecutar(
        QStringLiteral("UPDATE Tarifas SET DescrTarifa = 'VAN' WHERE id_tarifa = %1").arg(carro));
    SembrarTarifa(500, 60, "BICI");
    emit Avisos().tarifasCambiadas();
    EXPECT_EQ(v().comTarifa->currentText() + QString::number(v().comTarifa->count()), "VAN4");

    // Leaving the plate box, or Enter in it, turns the plate upper case; Enter also enters it.
    v().txtPlaca->clear();
    v().txtPlaca->setFocus();
    QTest::keyClicks(v().txtPlaca, "abc12x");
    v().txtDescrVeh->setFocus();
    // Still typed and not saved, as a change of user must know.
    EXPECT_EQ(v().txtPlaca->text() + QString::number(v().txtPlaca->isModified()), "ABC12X1");
    // Return is the scanner's key, pinned with it; here the keypad's.
    v().txtPlaca->setText("mno7");
    QTest::keyClick(v().txtPlaca, Qt::Key_Enter);
    EXPECT_EQ(Entradas("Placa").section('|', 3), "MNO7");
    // Ten characters at most, an emoji being one.
    v().txtPlaca->clear();
    v().txtPlaca->insert(QStringLiteral("ABCDEFGHI\U0001F697XY"));
    EXPECT_EQ(v().txtPlaca->text(), QStringLiteral("ABCDEFGHI\U0001F697"));
    // However a plate reaches the box, it is one line without control characters and no longer
    // than a plate once upper case; entry, exit and log keep it so. Put in the box; kept, upper
    // case as stored.
    const std::pair<QString, QString> casos[] = {{"AB\r\nC", "ABC"},
                                                 {QStringLiteral("T\tA\u2028B"), "TAB"},
                                                 {QString::fromUtf8("Q\0Z", 3), "QZ"},
                                                 {QString::fromUtf8("aßßßßß"), "ASSSSSSSS"}};
    for (const auto& [texto, queda] : casos) {
        v().txtPlaca->setText(texto);
        EXPECT_EQ(v().txtPlaca->text().toUpper(), queda);
    }
    v().txtPlaca->clear();
    QTest::keyClicks(v().txtPlaca, "ßßßßßß");
    EXPECT_EQ(v().txtPlaca->text().toUpper(), "SSSSSSSSSS");
    const QString filas = Entradas("Placa");
    QApplication::clipboard()->setText("X\r\nDELETE *");
    v().txtPlaca->clear();
    v().txtPlaca->paste();
    // As its Alt+E does: the focus stays in the box.
    v().btnEntrada->click();
    salir("XDELETE *");
    EXPECT_EQ(DeSalida("XDELETE *", "Placa") + "|" + Entradas("Placa"), "XDELETE *|" + filas);
    EXPECT_FALSE(titulos().contains("Error")) << titulos().toStdString();
    for (const QString& linea : lineasSucesos())
        EXPECT_FALSE(linea.startsWith("DELETE")) << linea.toStdString();

    v().txtPlaca->setFocus();
    v().comTarifa->setCurrentIndex(0);
    QStringList orden;
    for (int i = 0; i < 13; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::qWait(1);
        // With its list open, the rate box's keys go to the list.
        const QWidget* foco = QApplication::focusWidget();
        orden << (foco == v().comTarifa->view() ? "lista" : foco->objectName());
    }
    EXPECT_EQ(orden.join(' ').toStdString(),
              "txtDescrVeh txtObservaciones txtCopiasEntrada txtCopiasSalida chkImprimirTicket "
              "chkCobroCompleto chkCobroPrimeraHora btnEntrada btnSalida btnTicketPerdido "
              "ListView1 lista txtPlaca");
    // Tab follows the screen. Reached by Tab, the rate list opens; arrows move in it and Tab,
    // Enter or a character takes the rate highlighted and goes on to the plate, where the
    // character is added; Shift+Tab goes back to the vehicles.
    const std::tuple<Qt::Key, const char*> teclas[] = {{Qt::Key_Tab, "CARRO01"},
                                                       {Qt::Key_Return, "MOTO01"},
                                                       {Qt::Key_X, "VAN01x"},
                                                       {Qt::Key_Y, "VAN01Xy"},
                                                       {Qt::Key_Backtab, "VAN00XY"}};
    for (const auto& [tecla, despues] : teclas) {
        SCOPED_TRACE(despues);
        QTest::keyClick(v().txtPlaca, Qt::Key_Backtab);
        QTest::qWait(1);
        ASSERT_TRUE(v().comTarifa->view()->isVisible());
        if (tecla != Qt::Key_Backtab)
            QTest::keyClick(v().comTarifa->view(), Qt::Key_Down);
        QTest::keyClick(v().comTarifa->view(), tecla);
        // Closed, in the plate box.
        EXPECT_EQ(v().comTarifa->currentText() +
                      QString::number(v().comTarifa->view()->isVisible()) +
                      QString::number(v().txtPlaca->hasFocus()) + v().txtPlaca->text(),
                  despues);
    }
    EXPECT_TRUE(v().ListView1->hasFocus());
    v().close();
    EXPECT_EQ(mensajes().last(), "Cierra la ventana de Entradas/Salidas");
}

// Failing the n-th statement of a click, for n = 1, 2, … until one goes through: a failed write
// leaves nothing, logs that the plate was not registered before the error, and logs it registered
// only once it is.
TEST_P(PruebaEntrada, UnFalloAlGrabarDiceQuePlacaNoSeRegistro) {
    SembrarTarifa(2000, 60, "Automóvil");
    v();
    const std::pair<QString, std::function<QString()>> movimientos[] = {
        {"Entrada", [] { return Entradas(); }}, {"Salida", [] { return Salidas(); }}};
    for (const auto& [movimiento, filas] : movimientos) {
        SCOPED_TRACE(movimiento.toStdString());
        const int desde = mensajes().size();
        int intentos = 0;
        for (const QString antes = filas(); filas() == antes && intentos < 40; ++intentos) {
            Conexion.fallarSentencia(intentos + 1);
            responder("SSSS");
            entrar("FAL001");
            Conexion.fallarSentencia(0);
        }
        const QStringList sucesos = mensajes().mid(desde);
        const QString noRegistrada =
            "No se registró la " + movimiento + " del vehículo, Placa: FAL001";
        const int fallos = sucesos.count(noRegistrada);
        EXPECT_GE(fallos, 3);
        EXPECT_LT(fallos, intentos);
        for (int i = 0; i + 1 < sucesos.size(); ++i)
            EXPECT_TRUE(sucesos[i] != noRegistrada ||
                        sucesos[i + 1].startsWith("Error de base de datos"))
                << i;
    }
    EXPECT_EQ(mensajes().filter("Se registra la Entrada del vehículo").size(), 1);
}

} // namespace
