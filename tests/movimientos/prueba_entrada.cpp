#include "tests/movimientos/apoyo_movimientos.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QString kInsercion = QStringLiteral(
    " (FechaEntrada,Placa,DescrVeh,Observaciones,id_tarifa,Tarifa,Tiempo,DescrTarifa) VALUES (");
const QString kOcupacion = QStringLiteral("Se actualiza la Ocupación Actual, siendo de: -");

class PruebaEntrada : public PruebaMovimientos {
protected:
    QString fila(int i) const {
        QStringList t;
        for (int c = 0; c < ventana->ListView1->columnCount(); ++c)
            t << ventana->ListView1->topLevelItem(i)->text(c);
        return t.join(',');
    }
    void seleccionarFila(const QString& placa) {
        const auto filas = v().ListView1->findItems(placa, Qt::MatchExactly, 2);
        ASSERT_EQ(filas.size(), 1) << placa.toStdString();
        QTest::mouseClick(v().ListView1->viewport(), Qt::LeftButton, {},
                          v().ListView1->visualItemRect(filas.first()).center());
        QTest::qWait(QApplication::doubleClickInterval() + 10);
    }
    void activar() {
        v().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&v()));
    }
    // The only box shown is this notice.
    void esperarAviso(const QString& texto, const QString& titulo = TituloAplicacion) {
        ASSERT_EQ(dialogos.cajas.size(), 1) << textos().toStdString();
        EXPECT_EQ(ultimaCaja().texto, texto);
        EXPECT_EQ(ultimaCaja().titulo, titulo);
        EXPECT_EQ(ultimaCaja().icono, Icono::Informacion);
        EXPECT_EQ(ultimaCaja().botones, Botones(Boton::Aceptar));
        dialogos.cajas.clear();
    }
};

TEST_F(PruebaEntrada, PlacaEnMinusculasSeGuardaEImprimeEnMayusculas) {
    const QString automovil = QString::number(SembrarTarifa(2000, 60, "AUTOMOVIL"));
    hora(QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30)));
    // The entry takes its time from the label, not from the clock.
    reloj.avanzar(40);
    v().txtDescrVeh->setText("Mazda rojo");
    v().txtObservaciones->setText("Sin novedad");
    v().txtCopiasEntrada->setText("3");
    entrar("abc123");
    const QString id = Entradas("id_entrada");
    EXPECT_EQ(Entradas("FechaEntrada,Placa,DescrVeh,Observaciones,id_tarifa,Tarifa,Tiempo,"
                       "DescrTarifa"),
              "06/12/2026 10:15:30 am,ABC123,Mazda rojo,Sin novedad," + automovil +
                  ",2000,60,AUTOMOVIL");
    EXPECT_EQ(QString::number(DatosTicket.Numero), id);
    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_EQ(ultimaCaja().texto,
              QStringLiteral("¿Desea realizar la Entrada?\r\n\r\nPLACA: ABC123\r\nTARIFA: "
                             "AUTOMOVIL\r\n\r\n(*) Si se trata de un Cliente o Exento de Cobro, "
                             "no se aplicará Tarifa\r\n\r\n"));
    EXPECT_EQ(ultimaCaja().titulo, "Registrar Entrada");
    EXPECT_EQ(ultimaCaja().botones, Boton::Si | Boton::No);
    EXPECT_EQ(mensajes().join('|'),
              "Botón Registrar Entrada, desde Entradas/Salidas: Placa Inicial (sin corrección de "
              "mayúsculas): abc123 - Tarifa Activa Inicial: AUTOMOVIL|Se registra la Entrada del "
              "vehículo con tarifa normal desde Entradas/Salidas\r\nINSERT INTO entradas" +
                  kInsercion + "'06/12/2026 10:15:30 am','ABC123','Mazda rojo','Sin novedad','" +
                  automovil + "','2000','60','AUTOMOVIL')|" + kOcupacion +
                  "1- desde Entradas/Salidas|Se inicia impresión Ticket de Entrada, con 3 copia/s");
    ASSERT_EQ(impresora.trabajos.size(), 3);
    const QString ticket = impresora.textos(2).join('|');
    EXPECT_TRUE(ticket.contains("|         ABC123|Entrada|06/12/2026 10:15:30 am|Ticket de "
                                "entrada # " +
                                id + "|"))
        << ticket.toStdString();
    EXPECT_EQ(fila(0).section(',', 0, 2), id + ",06/12/2026 10:15:30 am,ABC123");
    EXPECT_EQ(v().lblOcupacionActual->text(), QStringLiteral("Ocupación Actual: 1"));
    EXPECT_EQ(v().txtPlaca->text() + v().txtDescrVeh->text() + v().txtObservaciones->text(), "");

    // Unchecked, nothing is printed whatever the copies.
    v().chkImprimirTicket->setChecked(false);
    entrar("def456");
    EXPECT_EQ(impresora.trabajos.size(), 3);
    EXPECT_EQ(mensajes().last(), kOcupacion + "2- desde Entradas/Salidas");
}

TEST_F(PruebaEntrada, LimiteDeCupoPreguntaSoloAlLlegarAlCupo) {
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
    EXPECT_EQ(impresora.trabajos.size(), 2);
}

TEST_F(PruebaEntrada, ClienteVigentePrevaleceSobreExentoYElVencidoAyerPagaTarifa) {
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
    dialogos.cajas.clear();
    for (const char* placa : {"NOV030", "amb002", "AMB003"})
        entrar(placa);
    EXPECT_EQ(titulos(), "Registrar Entrada|Registrar Entrada|Registrar Entrada");
    EXPECT_EQ(Entradas("Placa,id_tarifa,Tarifa,Tiempo,DescrTarifa"),
              "D'ARCY,0,0,0,CLIENTE|NOV030,1,2000,60,AUTOMOVIL|AMB002,0,0,0,EXENTO|AMB003,1,2000,"
              "60,AUTOMOVIL");
    const QString inicio = QStringLiteral("Se registra la Entrada del vehículo con ");
    const QString valores = QStringLiteral("'01/12/2026 07:45:00 am','");
    for (const QString& suceso :
         {inicio + "datos de Cliente desde Entradas/Salidas\r\nINSERT INTO entradas" + kInsercion +
              valores + "D''ARCY','','','0','0','0','CLIENTE')",
          inicio + "tarifa normal desde Entradas/Salidas\r\nINSERT INTO entradas" + kInsercion +
              valores + "NOV030','','','1','2000','60','AUTOMOVIL')",
          inicio + "datos de Exento desde Entradas/Salidas\r\nINSERT INTO Entradas" + kInsercion +
              valores + "AMB002','','','0','0','0','EXENTO')"})
        EXPECT_TRUE(registrado(suceso)) << suceso.toStdString();
    ASSERT_EQ(impresora.trabajos.size(), 4);
    EXPECT_TRUE(impresora.textos(0).contains(QStringLiteral("Cliente: Ana Gómez Ruiz")));
    EXPECT_TRUE(impresora.textos(0).contains("         D'ARCY"));
    EXPECT_FALSE(impresora.textos(1).contains(QStringLiteral("Cliente: Ana Gómez Ruiz")));
}

TEST_F(PruebaEntrada, AlertasDeClienteAlEntrarYAlSalirSegunDiasYPago) {
    SembrarTarifa(2000, 60, "AUTOMOVIL");
    const QString tres = QStringLiteral("MIÉRCOLES, 9 DE DICIEMBRE DE 2026");
    const QString entrada = QStringLiteral("Botón Registrar Entrada: Alerta Cliente");
    const QString salida = QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas");
    const QString desde = QStringLiteral(", desde Entradas/Salidas");
    const QString n = kCrlf + kCliente;
    const QString puede = n + QStringLiteral("\r\nPuede ingresar hasta el día: ") + tres;
    const QString debe = n + QStringLiteral("\r\nDebe realizar su pago antes del día: ") + tres;
    const QString proxima = n + QStringLiteral("\r\nPróxima Fecha Pago: ") + tres;
    const QString ultimo = QStringLiteral("Hoy es su último día permitido");
    const struct {
        const char* placa;
        int dias;
        bool pagado;
        QString alEntrar, alSalir, mensaje, mensajeAlSalir;
    } casos[] = {
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
    for (const auto& c : casos) {
        SCOPED_TRACE(c.placa);
        SembrarCliente(c.placa, reloj.momento.date().addDays(c.dias), c.pagado);
        dialogos.cajas.clear();
        entrar(c.placa);
        salir(c.placa);
        EXPECT_EQ(DeSalida(c.placa, "DescrTarifa"), "CLIENTE");
        if (c.mensaje.isEmpty()) {
            EXPECT_EQ(titulos(),
                      "Registrar Entrada|INGRESO DE CLIENTE|CONFIRMAR SALIDA DE CLIENTE");
            continue;
        }
        ASSERT_EQ(titulos(), "Registrar Entrada|INGRESO DE CLIENTE|" + TituloAplicacion +
                                 "|CONFIRMAR SALIDA DE CLIENTE|" + TituloAplicacion);
        EXPECT_EQ(dialogos.cajas[2].texto, c.mensaje);
        EXPECT_EQ(dialogos.cajas[4].texto,
                  c.mensajeAlSalir.isEmpty() ? c.mensaje : c.mensajeAlSalir);
        EXPECT_TRUE(dialogos.cajas[3].texto.contains(
            c.pagado ? "\r\nPuede ingresar hasta el día: "
                     : "\r\nDebe realizar su pago antes del día: "));
        // The log keeps an alert on one line: its line breaks are written as blanks.
        EXPECT_TRUE(registrado(QString(c.alEntrar).replace(kCrlf, "  ")));
        EXPECT_TRUE(registrado(QString(c.alSalir).replace(kCrlf, "  ")));
    }
}

TEST_F(PruebaEntrada, FaltanPlacaOCopiasOSeRechazaLaPreguntaNoSeEscribeNada) {
    SembrarTarifa(2000, 60, "Carro pequeño");
    activar();
    const struct {
        const char *placa, *copias, *aviso;
        QLineEdit* foco;
    } casos[] = {
        {"", "1", "Debe indicar la Placa", v().txtPlaca},
        {"ABC123", "x", "Debe indicar Nro Copias Ticket Entrada", v().txtCopiasEntrada},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.aviso);
        const int antes = mensajes().size();
        v().txtCopiasEntrada->setText(c.copias);
        entrar(c.placa);
        esperarAviso(c.aviso);
        EXPECT_EQ(mensajes().mid(antes).join('|'),
                  "Se muestra mensaje - " + QString(c.aviso) +
                      "; se hizo click en Registrar Entrada, desde Entradas/Salidas");
        EXPECT_TRUE(c.foco->hasFocus());
    }
    v().txtCopiasEntrada->setText("1");
    dialogos.respuestas = {Boton::No};
    entrar("abc123");
    EXPECT_TRUE(textos().contains(QStringLiteral("\r\nTARIFA: CARRO PEQUEÑO\r\n")));
    EXPECT_EQ(Entradas(), "");
    EXPECT_TRUE(impresora.trabajos.isEmpty());
}

TEST_F(PruebaEntrada, PlacaQueYaEstaDentroHaceLaSalida) {
    SembrarTarifa(2000, 60, "AUTOMOVIL");
    SembrarEntrada("ABC123");
    entrar("abc123");
    EXPECT_FALSE(titulos().contains("Registrar Entrada"));
    EXPECT_EQ(mensajes().value(1),
              "Botón Registrar Salida, desde Entradas/Salidas: Placa Inicial (sin corrección de "
              "mayúsculas): abc123 - Tarifa Activa Inicial: AUTOMOVIL");
    // Charged by the rate its entry kept (1.5 h of AUTOMOVIL in whole hours).
    EXPECT_EQ(DeSalida("ABC123", "Cobrado"), "4000");
    EXPECT_EQ(Entradas(), "");
}

TEST_F(PruebaEntrada, LaTarifaSeTomaPorSuClaveYSinEllaSeRechaza) {
    entrar("ABC123");
    esperarAviso("No hay tarifas disponibles para registrar la Entrada");
    EXPECT_EQ(mensajes().value(1), "Se muestra mensaje - No hay tarifas para registrar la Entrada; "
                                   "se hizo click en Registrar Entrada, desde Entradas/Salidas");
    ventana.reset();
    const int64_t hora = SembrarTarifa(1000, 60, "CARRO");
    const int64_t media = SembrarTarifa(700, 30, "CARRO");
    for (const int64_t id : {media, hora}) {
        v().comTarifa->setCurrentIndex(v().comTarifa->findData(QVariant::fromValue<qint64>(id)));
        entrar("CAR" + QString::number(id));
    }
    EXPECT_EQ(Entradas("id_tarifa,Tarifa,Tiempo"),
              QStringLiteral("%1,700,30|%2,1000,60").arg(media).arg(hora));
    // Deleted at another station after the list was loaded.
    Ejecutar(QStringLiteral("DELETE FROM Tarifas WHERE id_tarifa = %1").arg(media));
    v().comTarifa->setCurrentIndex(v().comTarifa->findData(QVariant::fromValue<qint64>(media)));
    dialogos.cajas.clear();
    dialogos.respuestas = {Boton::Si};
    entrar("ABC123");
    dialogos.cajas.removeFirst();
    esperarAviso("La tarifa seleccionada ya no existe; elija otra tarifa");
    EXPECT_EQ(v().comTarifa->findData(QVariant::fromValue<qint64>(media)), -1);
    EXPECT_EQ(Entradas("Placa"), QStringLiteral("CAR%1|CAR%2").arg(media).arg(hora));
    EXPECT_EQ(impresora.trabajos.size(), 2);
}

TEST_F(PruebaEntrada, NumeroDeTicketEsLaClaveDeLaFilaNueva) {
    SembrarTarifa(2000, 60, "AUTOMOVIL");
    DialogosConGancho otra;
    Servicios().dialogos = &otra;
    // The same plate, entered at another station between the check and the insert.
    otra.tituloGancho = QStringLiteral("Registrar Entrada");
    otra.gancho = [] { SembrarEntrada("ABC123", "06/12/2026 09:59:00 am"); };
    v().txtDescrVeh->setText("propia");
    entrar("ABC123");
    const QString id = Tabla("SELECT id_entrada FROM Entradas WHERE DescrVeh = 'propia'");
    EXPECT_EQ(Entradas("Placa,DescrVeh"), QStringLiteral("ABC123,Sedán gris|ABC123,propia"));
    EXPECT_EQ(QString::number(DatosTicket.Numero), id);
    ASSERT_EQ(impresora.trabajos.size(), 1);
    EXPECT_TRUE(impresora.textos(0).contains("Ticket de entrada # " + id));
    EXPECT_EQ(v().lblOcupacionActual->text(), QStringLiteral("Ocupación Actual: 2"));
}

TEST_F(PruebaEntrada, ListaRecientePrimeroClicEnFilaYTecladoEnLaPlaca) {
    SembrarTarifa(1000, 60, "MOTO");
    SembrarTarifa(1500, 720, "NOCTURNA", false);
    SembrarTarifa(2000, 60, "AUTOMOVIL");
    const int64_t moto = SembrarEntrada("MOT001", "06/12/2026 08:00:00 am", 1, 1000, "MOTO");
    const int64_t cliente = SembrarEntrada("CLI001", "04/12/2026 10:29:00 am", 0, 0, "CLIENTE");
    SembrarEntrada("BBB222", "05/12/2026 08:15:00 pm");
    // Only the rates offered at entries, by description.
    ASSERT_EQ(v().comTarifa->count(), 2);
    EXPECT_EQ(v().comTarifa->currentText() + "|" + v().comTarifa->itemText(1), "AUTOMOVIL|MOTO");
    EXPECT_EQ(v().lblCupo->text() + "|" + v().lblOcupacionActual->text(),
              QStringLiteral("Cupo máximo: 50|Ocupación Actual: 3"));
    EXPECT_EQ(v().ListView1->headerItem()->text(0), "Ticket de entrada");
    ASSERT_EQ(v().ListView1->topLevelItemCount(), 3);
    EXPECT_EQ(
        fila(0),
        QStringLiteral("%1,06/12/2026 08:00:00 am,MOT001,Sedán gris,,1,1000,60,MOTO").arg(moto));
    EXPECT_EQ(v().ListView1->topLevelItem(1)->text(2), "BBB222");
    EXPECT_EQ(
        fila(2),
        QStringLiteral("%1,04/12/2026 10:29:00 am,CLI001,Sedán gris,,0,0,0,CLIENTE").arg(cliente));
    // The clock label follows the clock on every tick.
    EXPECT_TRUE(v().Timer1->isActive());
    reloj.momento = QDateTime(QDate(2026, 12, 6), QTime(10, 30, 0));
    QMetaObject::invokeMethod(v().Timer1, "timeout");
    EXPECT_EQ(v().lblFechaActual->text(), "06/12/2026 10:30:00 am");

    activar();
    seleccionarFila("MOT001");
    EXPECT_EQ(v().txtPlaca->text() + "|" + PlacaCorreccion + "|" + v().txtDescrVeh->text() + "|" +
                  v().comTarifa->currentText(),
              QStringLiteral("MOT001|MOT001|Sedán gris|MOTO"));
    EXPECT_EQ(v().lblTiempoTranscurrido->text(), "2 Horas 30 Minutos.");
    EXPECT_TRUE(v().lblTiempoTranscurrido->isVisible());
    EXPECT_EQ(DatosTicket.FechaEntrada + "|" + DatosTicket.FechaSalida,
              "06/12/2026 08:00:00 am|06/12/2026 10:30:00 am");
    // A client's mark is no rate of the list: the list keeps its choice.
    seleccionarFila("CLI001");
    EXPECT_EQ(v().comTarifa->currentText(), "MOTO");
    EXPECT_EQ(v().lblTiempoTranscurrido->text(), QStringLiteral("2 Días 1 Minuto."));
    ASSERT_TRUE(v().ListView1->hasFocus());
    // The corrections menu taking the focus is no leaving the list: its plate stays offered.
    QFocusEvent porMenu(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(v().ListView1, &porMenu);
    EXPECT_TRUE(v().lblTiempoTranscurrido->isVisible());
    EXPECT_EQ(PlacaCorreccion, QStringLiteral("CLI001"));
    v().txtDescrVeh->setFocus();
    EXPECT_FALSE(v().lblTiempoTranscurrido->isVisible());
    EXPECT_TRUE(PlacaCorreccion.isEmpty());
    EXPECT_TRUE(dialogos.cajas.isEmpty());
    // Leaving the plate box, or Enter in it, turns the plate upper case; Enter also enters it.
    v().txtPlaca->clear();
    v().txtPlaca->setFocus();
    QTest::keyClicks(v().txtPlaca, "abc12x");
    v().txtDescrVeh->setFocus();
    EXPECT_EQ(v().txtPlaca->text(), "ABC12X");
    for (const Qt::Key tecla : {Qt::Key_Return, Qt::Key_Enter}) {
        v().txtPlaca->setText(tecla == Qt::Key_Return ? "xyz9" : "mno7");
        QTest::keyClick(v().txtPlaca, tecla);
    }
    EXPECT_EQ(Entradas("Placa").section('|', 3), "XYZ9|MNO7");
    // Left by the reprint window while this one stays open.
    PlacaCorreccion = QStringLiteral("REI001");
    v().close();
    EXPECT_TRUE(PlacaCorreccion.isEmpty());
    EXPECT_EQ(mensajes().last(), "Cierra la ventana de Entradas/Salidas");
}

TEST_F(PruebaEntrada, ClicDerechoOfreceCorreccionSegunNivelYFila) {
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
            QTreeWidgetItem* fila = v().ListView1->currentItem();
            const QPoint donde = fila ? v().ListView1->visualItemRect(fila).center() : QPoint(5, 5);
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
    seleccionarFila("AUT001");
    EXPECT_EQ(clicDerecho(), "11 11 10 10 11 11 ");
    seleccionarFila("EXE001");
    EXPECT_EQ(clicDerecho(), "00 00 00 00 00 00 ");
}

} // namespace
