#include "bd/conversiones.h"
#include "movimientos/codigoticket.h"
#include "movimientos/correcciones.h"
#include "principal/ui/etiquetapulsable.h"
#include "principal/ui/ventanas.h"
#include "reportes/listadosperiodo.h"
#include "reportes/modelobusqueda.h"
#include "reportes/ui/frmReimprimirTickets.h"
#include "tests/acceso/apoyo_ventanas.h"
#include "tests/reportes/apoyo_reportes.h"
#include "turnos/turnos.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeView>
#include <memory>

namespace {

const QString kVentana = "Reimprimir Tickets, ";

class PruebaReimprimir : public PruebaReportesMotores {
protected:
    void TearDown() override {
        ventana.reset();
        EstablecerMenuCorrecciones(nullptr);
        PruebaReportesMotores::TearDown();
    }
    frmReimprimirTickets& v() { return Perezosa(ventana); }
    // Searches and selects the row of `placa`.
    void elegir(const QString& placa) {
        Pulsar(v().btnBuscar);
        const QModelIndexList filas = v().ListView1->model()->match(
            v().ListView1->model()->index(0, 3), Qt::DisplayRole, placa, 1, Qt::MatchExactly);
        ASSERT_EQ(filas.size(), 1);
        v().ListView1->setCurrentIndex(filas.first());
    }
    QString ultimaCaja() const { return UltimaCaja(dialogos); }
    QString trabajo(int i) const { return impresora.textos(i).join('|'); }

    std::unique_ptr<frmReimprimirTickets> ventana;
};
VIALTOR_EN_AMBOS_MOTORES(PruebaReimprimir);

// At the window's size, which fits a 1024x768 screen, the charge and the tax show whole and
// the document begins; the rate's columns of width 0 are hidden but still in the model.
TEST_P(PruebaReimprimir, BusquedaDelDiaPredeterminadoColumnasALaVistaYSinRegistros) {
    const PeriodoInforme p = v().periodoElegido();
    EXPECT_EQ(std::pair(p.inicio, p.fin),
              std::pair(QDateTime(kDia, QTime(0, 0)), QDateTime(kDia, QTime(23, 59, 59))));
    Pulsar(v().btnBuscar);
    EXPECT_TRUE(mensajes().contains(kVentana + "Botón Buscar, se realizó una búsqueda"));
    const QHeaderView* h = v().ListView1->header();
    const int ancho = v().ListView1->viewport()->width();
    EXPECT_LE(v().width(), 1024);
    for (int c : {ModeloBusqueda::IdTarifa, ModeloBusqueda::Tarifa, ModeloBusqueda::Tiempo})
        EXPECT_TRUE(h->isSectionHidden(c)) << c;
    for (int c : {ModeloBusqueda::Cobrado, ModeloBusqueda::Iva})
        EXPECT_LE(h->sectionViewportPosition(c) + h->sectionSize(c), ancho) << c;
    EXPECT_LT(h->sectionViewportPosition(ModeloBusqueda::Documento), ancho);
    EXPECT_EQ(Columna(*v().ListView1->model(), ModeloBusqueda::IdTarifa), "0|0|1");
    QTest::mouseClick(v().Label7, Qt::LeftButton);
    EXPECT_TRUE(v().optEntradas->isChecked());
    EXPECT_EQ(v().windowTitle(), "Reimprimir Tickets - 1 tickets");
    v().txtPlaca->setText("ZZ");
    Pulsar(v().btnBuscar);
    EXPECT_EQ(v().windowTitle(), "Reimprimir Tickets - 0 tickets listados");
    EXPECT_EQ(ultimaCaja(), "No hay registros para listar");
    EXPECT_EQ(ultimoMensaje(), kVentana + "Botón Buscar, Mensaje: No hay registros para listar");
}

// The last exit was a paid client's; the reprinted client owes January (the oldest unpaid).
TEST_P(PruebaReimprimir, ReimpresionDeSalidaDeClienteDeSalidaYDeEntrada) {
    Pulsar(v().btnImprimir);
    EXPECT_EQ(ultimaCaja(), "No hay registro seleccionado para imprimir");
    EXPECT_EQ(ultimoMensaje(), kVentana + "Botón Imprimir registro seleccionado, Mensaje: No "
                                          "hay registro seleccionado para imprimir");
    // The items kept with an exit come back on its reprint, and only on its own.
    Ejecutar("INSERT INTO ItemsSalidas (id_salida,Orden,Concepto,Valor) SELECT id_salida,1,"
             "'Nocturno',11900 FROM Salidas WHERE Placa='ABC123'");
    DatosTicket.Pagado = true;
    elegir("XAB9");
    Pulsar(v().btnImprimir);
    EXPECT_TRUE(trabajo(0).contains("Cliente: Ana Gómez Ruiz|Recuerde realizar su pago|antes del "
                                    "día: MARTES, 31 DE ENERO DE 2017"));
    EXPECT_EQ(std::tuple(DatosTicket.Pagado, DatosTicket.CantidadTotal, DatosTicket.Numero),
              std::tuple(false, 80000, 0));
    EXPECT_EQ(ultimoMensaje(), kVentana + "Botón Imprimir Registro Seleccionado: Se inicia la "
                                          "reimpresión del Ticket (de Salida), Placa: XAB9");
    elegir("ABC123");
    QTest::mouseClick(v().ListView1->viewport(), Qt::LeftButton, {},
                      v().ListView1->visualRect(v().ListView1->currentIndex()).center());
    QTest::mouseDClick(v().ListView1->viewport(), Qt::LeftButton, {},
                       v().ListView1->visualRect(v().ListView1->currentIndex()).center());
    v().optEntradas->setChecked(true);
    elegir("ABD555");
    Pulsar(v().btnImprimir);
    ASSERT_EQ(impresora.trabajos.size(), 3);
    EXPECT_TRUE(trabajo(1).contains("Factura de venta # FV-007|Entrada: 24/12/2016 08:00:00 am|"
                                    "Salida: 24/12/2016 10:00:00 am"));
    EXPECT_TRUE(trabajo(1).contains("Nocturno $11.900| |Base: $10.000|IVA 19%: $1.900|Total: "
                                    "$11.900"));
    EXPECT_FALSE(trabajo(0).contains("Nocturno") || trabajo(1).contains("Cliente"));
    EXPECT_TRUE(trabajo(2).contains("24/12/2016 09:30:00 am|Ticket de entrada # 1"));
}

// Each reprint is headed, in large bold letters, "COPIA" and the moment it was made; a closing's
// first print is not. Ticket reprints count as the shift's exceptions, closings do not.
TEST_P(PruebaReimprimir, CadaReimpresionDiceCopiaYCuando) {
    ASSERT_TRUE(AbrirTurno(10000).hecho());
    // Plate reprinted (none: the day's closing, whose second run first lists the first one),
    // boxes answered, copy, the shift's reprints so far.
    const std::tuple<const char*, QVector<Boton>, bool, int> casos[] = {
        {"ABC123", {}, true, 1},
        {"ABD555", {}, true, 2},
        {"", {Boton::Si}, false, 2},
        {"", {Boton::Aceptar, Boton::Si}, true, 2}};
    for (const auto& [placa, respuestas, copia, reimpresiones] : casos) {
        reloj.avanzar(3600);
        impresora.trabajos.clear();
        dialogos.respuestas = respuestas;
        (QString(placa) == "ABD555" ? v().optEntradas : v().optSalidas)->setChecked(true);
        if (*placa)
            elegir(placa);
        Pulsar(*placa ? v().btnImprimir : v().btnEfectuarRCierre);
        ASSERT_EQ(impresora.trabajos.size(), 1) << placa;
        const LineaImpresion& l = impresora.trabajos[0].lineas.first();
        const QString marca = "*** COPIA ***|Reimpresión: " + FechaHoraTexto(reloj.momento) + "| |";
        EXPECT_EQ(std::tuple(trabajo(0).startsWith(marca), trabajo(0).count("COPIA"),
                             l.negrita && l.tamano > 11,
                             Tabla("SELECT COUNT(*) FROM MovimientosTurno WHERE "
                                   "Tipo='Reimpresion'")),
                  std::tuple(copia, copia ? 1 : 0, copia, QString::number(reimpresiones)))
            << placa;
    }
}

// A scanned ticket finds its entry inside, or its exit once out, on its own day and plate,
// ready to reprint; a code that fails its check finds nothing.
TEST_P(PruebaReimprimir, LecturaDelTicketLoEncuentra) {
    Ejecutar("INSERT INTO SalidasEntrada (id_salida,id_entrada) SELECT id_salida, 77 FROM "
             "Salidas WHERE Placa = 'ABC123'");
    uint64_t momento = 1000;
    const auto escanear = [&](const QString& codigo) {
        for (const QChar c : codigo + '\r') {
            QKeyEvent tecla(QEvent::KeyPress, c == '\r' ? int{Qt::Key_Return} : int{c.unicode()},
                            Qt::NoModifier, QString(c));
            tecla.setTimestamp(momento += 5);
            QApplication::sendEvent(v().btnBuscar, &tecla);
        }
        const QModelIndex i = v().ListView1->currentIndex();
        return QString::number(v().optSalidas->isChecked()) +
               i.siblingAtColumn(3).data().toString();
    };
    EXPECT_EQ(escanear(CodigoTicket(1, ClaveTickets())), "0ABD555");
    EXPECT_EQ(escanear(CodigoTicket(77, ClaveTickets())), "1ABC123");
    EXPECT_EQ(v().calFecha->date(), QDate(2016, 12, 24));
    escanear(CodigoTicket(77, ClaveTickets()).replace(0, 1, "9"));
    EXPECT_EQ(ultimaCaja(), "Código de ticket no válido");
}

// The title counts the whole search while the list holds its first page.
TEST_P(PruebaReimprimir, ListaPorPaginasConElTituloDeTodaLaBusqueda) {
    agregarSalidasDeLaTarde(450);
    Pulsar(v().btnBuscar);
    EXPECT_EQ(v().windowTitle(), "Reimprimir Tickets - 453 tickets - Cobrado: $113.375 - "
                                 "Clientes: $50.000 <<->> Cobrado + Clientes: $163.375");
    EXPECT_LT(v().ListView1->model()->rowCount(), 453);
}

TEST_P(PruebaReimprimir, NivelSeisSoloHoySinListadosNiResumen) {
    SesionActual.NivelAcceso = "6";
    for (QPushButton* b : {v().btnResumenVentas, v().btnImprimirListado, v().btnListadoExentos,
                           v().btnListadoClientes, v().btnListadoPagos})
        EXPECT_TRUE(b->isHidden()) << b->objectName().toStdString();
    EXPECT_FALSE(v().btnEfectuarRCierre->isHidden() || v().chkTarifa->isEnabled());
    v().calFecha->setDate(kDia.addDays(-1));
    v().calFechaFin->setDate(kDia.addDays(1));
    EXPECT_EQ(dialogos.textos(),
              QStringList({"No puede seleccionar Fecha Inicio diferente a la Fecha Actual",
                           "No puede seleccionar Fecha Fin diferente a la Fecha Actual"}));
    EXPECT_EQ(std::pair(v().calFecha->date(), v().calFechaFin->date()), std::pair(kDia, kDia));
    EXPECT_TRUE(v().verificarFechasNivel6());
    SesionActual.NivelAcceso = "2";
    v().calFecha->setDate(kDia.addDays(-1));
    EXPECT_TRUE(v().verificarFechasNivel6());
    EXPECT_EQ(v().calFecha->date(), kDia.addDays(-1));
}

// Below level 1 the day's shifts never show what an open drawer should hold; the cash taken
// outside any shift by older versions shows apart. They show in a window of their own, never
// over this one's controls.
TEST_P(PruebaReimprimir, TurnosDelDiaCiegosBajoNivelUnoYLoCobradoSinTurno) {
    ASSERT_TRUE(AbrirTurno(10000).hecho());
    EnTransaccion([] {
        AnotarSalida({7, "FV-007", "ABC123", 11900});
        return Hecho({});
    });
    Ejecutar("INSERT INTO MovimientosTurno (id_turno,Fecha,Tipo,Referencia,Documento,Placa,Monto,"
             "Usuario) VALUES (0,'24/12/2016 09:00:00 pm','Salida',10,'10','ABY0',5000,'luis')");
    const std::pair<const char*, bool> niveles[] = {{"2", false}, {"6", false}, {"1", true}};
    for (const auto& [nivel, ve] : niveles) {
        SesionActual.NivelAcceso = nivel;
        Pulsar(v().btnTurnosDia);
        EXPECT_TRUE(dialogos.cajas.value(dialogos.cajas.size() - 1).titulo ==
                        "Ver Turnos del Día" &&
                    v().txtListadoPagos->isHidden());
        const QString texto = ultimaCaja();
        EXPECT_EQ(texto.contains("11.900"), ve) << nivel;
        EXPECT_EQ(texto.contains("Esperado $21.900"), ve) << nivel;
        EXPECT_TRUE(texto.contains("Sin turno: salidas (1) $5.000, pagos (0) $0")) << nivel;
    }
}

// Alt and a letter lead to one control only, with the payments panel closed and open.
TEST_P(PruebaReimprimir, ListadosPorLaVentanaTeclasDeAccesoYFalloDeEscritura) {
    // The visible, enabled controls of each access key.
    const auto teclas = [this] {
        QMap<QString, QStringList> t;
        for (QWidget* w : v().findChildren<QWidget*>()) {
            const auto* boton = qobject_cast<QAbstractButton*>(w);
            const auto* etiqueta = qobject_cast<QLabel*>(w);
            const QKeySequence tecla = QKeySequence::mnemonic(boton      ? boton->text()
                                                              : etiqueta ? etiqueta->text()
                                                                         : "");
            if (!tecla.isEmpty() && w->isVisibleTo(&v()) && w->isEnabled())
                t[tecla.toString()] << w->objectName();
        }
        return t;
    };
    const auto unaPorTecla = [&teclas] {
        for (const QStringList& controles : teclas())
            EXPECT_EQ(controles.size(), 1) << controles.join(',').toStdString();
    };
    EXPECT_EQ(teclas().size(), 8);
    unaPorTecla();
    Pulsar(v().btnImprimirListado);
    EXPECT_EQ(v().windowTitle(),
              "Reimprimir Tickets - 3 tickets listados - Total Cobrado: $11.900");
    EXPECT_TRUE(ultimaCaja().startsWith("Archivo generado: ListadoCSV.txt\n"));
    EXPECT_EQ(ultimoMensaje(), kVentana + "Botón Listado CSV, se genera el archivo: "
                                          "ListadoCSV.txt");
    v().txtPlaca->setText("XAB");
    Pulsar(v().btnListadoPagos);
    const QString panel = v().txtListadoPagos->toPlainText();
    EXPECT_TRUE(v().txtListadoPagos->isVisible() && v().btnCerrarPagos->isVisible() &&
                panel.startsWith("(***) El siguiente listado está en formato universal CSV.\n\n- "
                                 "Se ha generado el archivo: ListadoPagosClientesCSV.txt\n"));
    unaPorTecla();
    EXPECT_TRUE(panel.endsWith(
        "LISTADO\nFecha Pago;Cantidad Pagada;Primer Apellido;Segundo Apellido;Nombre;Placa;\n"
        "24/12/2016;50000;Gómez;Ruiz;Ana;XAB9;\n\nTotal Listado: 1\nTotal Pagos: 50.000"));
    Pulsar(v().btnCerrarPagos);
    EXPECT_TRUE(v().txtListadoPagos->isHidden() && v().txtListadoPagos->toPlainText().isEmpty());
    const qsizetype cajas = dialogos.cajas.size(), lineas = mensajes().size();
    // A folder in the way of each file: neither can be written.
    for (const QString& nombre : {kArchivoRegistroClientes, kArchivoPagos})
        QFile::remove(carpetas.programa + '/' + nombre), QDir(carpetas.programa).mkdir(nombre);
    Pulsar(v().btnListadoClientes);
    Pulsar(v().btnListadoPagos);
    EXPECT_EQ(dialogos.cajas.size(), cajas + 2);
    EXPECT_FALSE(ultimaCaja().startsWith("Archivo generado") || v().txtListadoPagos->isVisible());
    EXPECT_FALSE(mensajes().mid(lineas).join('|').contains("se genera el archivo"));
}

// The corrections menu shows at level 1 on exits only. A correction from the list of exits
// changes that exit by its key and the list shows it at once; the summary and the closing
// buttons work on the period the pickers give.
TEST_P(PruebaReimprimir, MenuCorreccionResumenYCierreDesdeLaVentana) {
    QMenu menu;
    menu.addAction("Modificar Datos");
    EstablecerMenuCorrecciones(&menu);
    // Level, searching exits, menu shown.
    const std::tuple<const char*, bool, bool> casos[] = {
        {"2", true, false}, {"1", false, false}, {"1", true, true}};
    for (const auto& [nivel, salidas, mostrado] : casos) {
        SesionActual.NivelAcceso = nivel;
        (salidas ? v().optSalidas : v().optEntradas)->setChecked(true);
        Pulsar(v().btnBuscar);
        v().ListView1RightClicked(
            v().ListView1->visualRect(v().ListView1->model()->index(0, 0)).center());
        EXPECT_EQ(menu.isVisible(), mostrado) << nivel << salidas;
    }
    menu.hide();
    const int64_t tarifa = Ejecutar("INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,"
                                    "MostrarEnEntradas,MostrarEnSalidas) VALUES (800,60,'MOTO',"
                                    "True,False)");
    elegir("ABC123");
    v().ListView1RightClicked(v().ListView1->visualRect(v().ListView1->currentIndex()).center());
    // A new amount takes the cashier's shift: the float is asked for first.
    dialogos.entradas = {"abc124", QString::number(tarifa), "12.000", "0"};
    dialogos.respuestas = {Boton::Aceptar, Boton::Si};
    menu.actions().first()->trigger();
    EXPECT_EQ(ultimaCaja(), "Datos modificados correctamente");
    EXPECT_EQ(Tabla("SELECT id_salida,Placa,DescrTarifa,Cobrado FROM Salidas WHERE NroTicket='7'"),
              "1,ABC124,MOTO,12000");
    EXPECT_EQ(Columna(*v().ListView1->model(), 3).count("ABC124"), 1);

    dialogos.respuestas = {Boton::Si};
    Pulsar(v().btnResumenVentas);
    EXPECT_TRUE(QFile::exists(carpetas.programa + "/ResumenVentas.txt"));
    dialogos.respuestas = {Boton::Si};
    Pulsar(v().btnEfectuarRCierre);
    EXPECT_EQ(Tabla("SELECT id_cierre,TotalTotales FROM Cierres"), "1,12000");

    v().calFecha->setDate(kDia.addDays(-3));
    v().calFechaFin->setDate(kDia.addDays(-2));
    Pulsar(v().btnResumenVentas);
    EXPECT_EQ(v().windowTitle(), "Reimprimir Tickets - 0 tickets listados");
}

} // namespace
