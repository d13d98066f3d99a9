#include "clientes/ui/frmClientes.h"
#include "clientes/ui/panelpagos.h"
#include "principal/formatos.h"
#include "principal/ui/etiquetapulsable.h"
#include "tests/acceso/apoyo_ventanas.h"
#include "tests/clientes/apoyo_clientes.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <memory>
#include <tuple>

namespace {

class PruebaFrmClientes : public PruebaClientesMotores {
protected:
    void TearDown() override {
        ventana.reset();
        PruebaClientesMotores::TearDown();
    }
    frmClientes& v() { return Perezosa(ventana); }
    // A click on a row, then a pause so the next click is no double one.
    void clic(QTreeView* lista, int fila) {
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {},
                          lista->visualRect(lista->model()->index(fila, 3)).center());
        QTest::qWait(QApplication::doubleClickInterval() + 10);
    }
    static QString lista(QTreeView* l, int c) { return Columna(*l->model(), c); }
    QString ultima() const { return UltimaCaja(dialogos); }

    std::unique_ptr<frmClientes> ventana;
};

// Amounts are whole numbers as the program prints them; dates are checked before writing.
// Picking a client shows its period but does not pick it; a payment is checked against the period
// as stored, and the last one logs its three statements.
TEST_P(PruebaFrmClientes, ImportesFechasYPagos) {
    const int64_t id = cliente("AAA111");
    clic(v().ListView1, 0);
    const QDate h = hoy();
    const std::tuple<const char*, QDate, QDate, const char*> periodos[] = {
        {"12a", h, h, "Debe indicar datos numéricos en la Cantidad de Pago"},
        {"1,5", h, h, "Debe indicar datos numéricos en la Cantidad de Pago"},
        {"1.500", h.addDays(-1), h, "La Fecha de Inicio no puede ser menor a la Fecha Actual"},
        {"1.500", h.addDays(2), h.addDays(1),
         "La Fecha de Fin no puede ser menor a la Fecha de Inicio"},
        {"1.500", h, h, "Fecha de pago agregada correctamente"},
        {"1.500", h, h,
         "No se agregará la Fecha de Pago hasta que termine de pagar la que está pendiente"}};
    for (const auto& [cantidad, inicio, fin, mensaje] : periodos) {
        v().pagos->txtCantidadPago->setText(cantidad);
        v().pagos->calFechaInicio->setDate(inicio);
        v().pagos->calFechaFin->setDate(fin);
        Pulsar(v().pagos->btnAgregarFechaPago);
        EXPECT_EQ(ultima(), QString::fromUtf8(mensaje)) << cantidad;
    }
    EXPECT_EQ(Crudas("SELECT id_cliente, CantidadTotal, Pagado, NRecibo FROM FechaPago"),
              QStringList{QString::number(id) + "|1500|0|"});

    clic(v().pagos->ListView2, 0);
    clic(v().ListView1, 0);
    v().pagos->txtEfectuarPago->setText("5");
    Pulsar(v().pagos->btnEfectuarPago);
    EXPECT_EQ(ultima(), "Debe seleccionar una Fecha de Pago");
    clic(v().pagos->ListView2, 0);
    // Another station's payment, after the window read the period.
    const QString p = Columna("SELECT id_fecha_pago FROM FechaPago", "id_fecha_pago").value(0);
    Ejecutar("INSERT INTO Pagos (id_fecha_pago,FechaPago,CantidadPago) VALUES (" + p +
             ",#2026/12/06#,500)");
    const std::tuple<const char*, QDate, const char*> pagos[] = {
        {"12a", h, "Debe indicar datos numéricos en el valor del Pago"},
        {"5", h.addDays(-1), "La Fecha de Pago debe ser igual a la Fecha Actual"},
        {"5", h.addDays(1), "La Fecha de Pago debe ser igual a la Fecha Actual"},
        {"0", h, "Abra su turno (F9) para cobrar"},
        {"0", h, "Pago efectuado correctamente"},
        {"1.001", h, "El valor del Pago es mayor que la cantidad pendiente de 1000"},
        {"1.000", h, "La Fecha de Pago ha sido finalizada correctamente con este último pago"},
        {"1", h, "La Fecha de Pago seleccionada ya está pagada"}};
    // Without a shift the float box comes first: cancelled once, then typed.
    ASSERT_TRUE(CerrarTurno(0).hecho());
    dialogos.entradas = QStringList{"", "100"};
    for (const auto& [pago, fecha, mensaje] : pagos) {
        v().pagos->txtEfectuarPago->setText(pago);
        v().pagos->calFechaPago->setDate(fecha);
        Pulsar(v().pagos->btnEfectuarPago);
        EXPECT_TRUE(ultima().startsWith(QString::fromUtf8(mensaje))) << pago;
    }
    // The two payments made opened the drawer; the refused ones did not.
    EXPECT_EQ(impresora.cajones, 2);
    for (const char* aviso :
         {"Agregar Fecha de Pago y Cantidad, Mensaje: Fecha de pago agregada correctamente",
          "Efectuar Pago, Mensaje: La Fecha de Pago ha sido finalizada correctamente con este "
          "último pago"})
        EXPECT_TRUE(avisos().contains(QString("Clientes, Botón ") + aviso + ": +")) << aviso;
    // Another station's 500, the 0 and the last 1.000: the period paid, its client no longer owes.
    EXPECT_EQ(Tabla("SELECT Activo, Pagado, CantidadPago FROM Clientes, FechaPago, Pagos ORDER BY "
                    "id_pago"),
              "Falso,Verdadero,500|Falso,Verdadero,0|Falso,Verdadero,1000");
    v().pagos->txtRecibo->setText("12b");
    EXPECT_EQ(v().pagos->txtRecibo->text(), "");
}

// An empty search lists the clients whose Activo matches the box; the label toggles the box and
// searches again. Each surname box and the identification filter their own column, and any part
// of a box matches: the middle of a plate finds its client.
TEST_P(PruebaFrmClientes, BusquedaSigueLaCasillaYCadaCaja) {
    const int64_t lara = cliente("ABC123", true, "Lara");
    const int64_t mora = cliente("XYZ789", true, "Mora", "ID-M");
    cliente("ALDIA1", false, "Aldia");
    Ejecutar(QString("UPDATE Clientes SET Ape1='Lara', Ape2='Mora' WHERE id_cliente=%1").arg(lara));
    Ejecutar(QString("UPDATE Clientes SET Ape1='Mora', Ape2='Lara' WHERE id_cliente=%1").arg(mora));
    EXPECT_EQ(lista(v().ListView1, 2), "Lara|Mora|Aldia");
    // The row the listing selects is picked; moving with the keys picks the next.
    EXPECT_EQ(v().IdClienteSeleccionado, lara);
    QTest::keyClick(v().ListView1, Qt::Key_Down);
    EXPECT_EQ(v().IdClienteSeleccionado, mora);
    EXPECT_EQ(v().windowTitle(), "Gestión de Clientes - 3 clientes listados");
    Pulsar(v().btnBuscarCliente);
    EXPECT_EQ(lista(v().ListView1, 2), "Lara|Mora");
    QTest::mouseClick(v().chkClienteActivo, Qt::LeftButton);
    EXPECT_EQ(lista(v().ListView1, 2), "Aldia");
    EXPECT_EQ(v().lblClienteActivo->text(), "Clientes sin pago pendiente");
    v().txtNombre->setText("ald");
    QTest::mouseClick(v().lblClienteActivo, Qt::LeftButton);
    EXPECT_EQ(lista(v().ListView1, 2), "");
    const std::tuple<QLineEdit*, const char*, const char*> casos[] = {
        {v().txtApe1, "lara", "Lara"},
        {v().txtApe2, "lara", "Mora"},
        {v().txtPlaca, "Z78", "Mora"},
        {v().txtIdentificacion, "id-m", "Mora"}};
    for (const auto& [caja, texto, nombres] : casos) {
        for (QLineEdit* otra :
             {v().txtNombre, v().txtApe1, v().txtApe2, v().txtPlaca, v().txtIdentificacion})
            otra->clear();
        caja->setText(texto);
        Pulsar(v().btnBuscarCliente);
        EXPECT_EQ(lista(v().ListView1, 2), nombres) << caja->objectName().toStdString();
    }
}

// Auto-fill copies every box of the client it picks, so a
// change lands on that client only; after a payment the list shows the client paid for, whatever
// the boxes and the filter hold.
TEST_P(PruebaFrmClientes, IdentificacionAutollenadoYClienteAtendido) {
    const int64_t ana = cliente("AAA111", true, "Ana", "ID-A", "de Ana");
    const int64_t p = periodo(ana, 100, false, {});
    periodo(cliente("BBB222", true, "Beto", "ID-B", "de Beto"), 50, false, {});
    Pulsar(v().btnListadoCompleto);

    QTest::mouseClick(v().Label13, Qt::LeftButton);
    clic(v().ListView1, 1);
    Pulsar(v().btnListadoCompleto);
    EXPECT_EQ(v().txtNombre->text() + v().txtIdentificacion->text() + v().txtNotas->text(),
              "AnaID-Ade Ana");
    v().txtNotas->setText("nueva");
    dialogos.respuestas = {Boton::Si};
    Pulsar(v().btnModificar);
    EXPECT_EQ(Crudas("SELECT Identificacion, Notas FROM Clientes ORDER BY id_cliente"),
              QStringList({"ID-A|nueva", "ID-B|de Beto"}));

    clic(v().ListView1, 0);
    clic(v().pagos->ListView2, 0);
    v().txtNombre->setText("Beto");
    v().pagos->txtEfectuarPago->setText("100");
    Pulsar(v().pagos->btnEfectuarPago);
    EXPECT_EQ(v().windowTitle() + ": " + lista(v().ListView1, 2) + "," +
                  lista(v().pagos->ListView2, 0) + "," + lista(v().pagos->ListView2, 6),
              QString("Gestión de Clientes - 1 clientes listados: Ana,%1,Si").arg(p));
    EXPECT_EQ(v().IdClienteSeleccionado, ana);
}

// Plates are stored upper case and held by one client only, on adding and on changing.
TEST_P(PruebaFrmClientes, PlacasRepetidas) {
    cliente("ABC123");
    v().txtNombre->setText("Eva");
    v().txtApe1->setText("O'Neil");
    v().txtPlaca->setText("abc123");
    Pulsar(v().btnAgregar);
    EXPECT_EQ(ultima(), "La placa ya está asignada a un cliente");
    EXPECT_TRUE(registrado("Clientes, botón Agregar Cliente:, Mensaje: La placa ya está asignada "
                           "a un cliente"));
    v().txtPlaca->setText("xyz9");
    Pulsar(v().btnAgregar);
    EXPECT_TRUE(avisos().contains("Cliente agregado correctamente: +"));
    EXPECT_EQ(lista(v().ListView1, 5), "ABC123|XYZ9");
    // The client added is the one shown selected and the one the buttons act on.
    EXPECT_EQ(QString::number(v().ListView1->currentIndex().row()) + "|" +
                  QString::number(v().IdClienteSeleccionado),
              "1|" + Tabla("SELECT id_cliente FROM Clientes WHERE Placa='XYZ9'"));
    clic(v().ListView1, 1);
    v().txtPlaca->setText("ABC123");
    Pulsar(v().btnModificar);
    EXPECT_EQ(dialogos.cajas.last().titulo, "Placa existente");
    EXPECT_TRUE(registrado("Clientes, botón Modificar, Mensaje: Ya existe un Cliente con la placa "
                           "asignada"));
    v().txtPlaca->setText("XYZ9");
    v().txtNotas->setText("nueva");
    Pulsar(v().btnModificar);
    EXPECT_EQ(ultima(), "Cliente modificado correctamente");
    EXPECT_EQ(Crudas("SELECT Nombre, Ape1, Placa, Activo, Notas FROM Clientes ORDER BY id_cliente"),
              QStringList({"Ana|Gómez|ABC123|0|", "Eva|O'Neil|XYZ9|0|nueva"}));
    // Another station removed the client meanwhile.
    clic(v().ListView1, 1);
    Ejecutar("DELETE FROM Clientes WHERE Placa='XYZ9'");
    Pulsar(v().btnModificar);
    EXPECT_EQ(ultima(), "El registro seleccionado ya no existe; pudo haber sido eliminado desde "
                        "otro punto de control");
    EXPECT_TRUE(registrado("Clientes, botón Modificar, Mensaje: " + ultima()));
    EXPECT_EQ(v().IdClienteSeleccionado, 0);
}

// The client listing empties the list on screen until the next listing; the one with periods
// leaves it. Deleting goes with the client's periods and payments, and only at level 1.
TEST_P(PruebaFrmClientes, ListadosEliminarYNiveles) {
    const int64_t id = cliente("AAA111", true);
    const int64_t pagado = periodo(id, 100, true, {100});
    periodo(id, 100, false, {10});
    Pulsar(v().btnListadoClientesFPagos);
    EXPECT_EQ(lista(v().ListView1, 5), "AAA111");
    EXPECT_TRUE(archivo("ListadoClientesFechasDePagoCSV.txt").contains(";100;7;No;"));
    Pulsar(v().btnListadoClientes);
    EXPECT_EQ(v().ListView1->model()->rowCount(), 0);
    EXPECT_TRUE(ultima().startsWith("Archivo generado: ListadoClientesCSV.txt"));
    EXPECT_TRUE(registrado("Se genera el archivo: -ListadoClientesCSV.txt- desde el botón Listado "
                           "de Clientes CSV de Gestión de Clientes"));
    for (const char* nivel : {"2", "3", "4", "5", "6", "1"}) {
        SesionActual.NivelAcceso = nivel;
        ventana.reset();
        for (QPushButton* b :
             {v().btnEliminar, v().pagos->btnEliminarFechaPago, v().pagos->btnEliminarPago})
            EXPECT_EQ(b->isHidden(), QByteArray(nivel) != "1") << nivel;
    }
    // A paid period's payment stays while another period is open.
    clic(v().ListView1, 0);
    clic(v().pagos->ListView2, 1);
    clic(v().pagos->ListView3, 0);
    Pulsar(v().pagos->btnEliminarPago);
    const QString protegido =
        "El Pago que desea eliminar corresponde a una Fecha de Pago ya pagada.\r\nNO se pueden "
        "eliminar Pagos de Fechas de Pago pagadas,\r\nmientras existan Fechas de Pago impagadas,"
        "\r\npero SÍ puede eliminar la Fecha de Pago completa si lo requiere.";
    // The box keeps a blank line after the first sentence; the log does not.
    EXPECT_EQ(ultima(), QString(protegido).replace("pagada.\r\n", "pagada.\r\n\r\n"));
    EXPECT_TRUE(registrado("Clientes, Botón Eliminar Pago, Mensaje: " + kCrLf + protegido));
    clic(v().pagos->ListView2, 0);
    Pulsar(v().pagos->btnEliminarFechaPago);
    EXPECT_EQ(dialogos.cajas.last().titulo, "Eliminar Fecha de Pago");
    dialogos.respuestas = {Boton::Si};
    Pulsar(v().pagos->btnEliminarFechaPago);
    EXPECT_TRUE(
        avisos().contains("Clientes, Botón Eliminar Fecha de Pago, Mensaje: Fecha de pago y "
                          "pagos relacionados se eliminaron correctamente: +"));
    // The paid period and its payment stay.
    EXPECT_EQ(
        Tabla("SELECT Activo, f.id_fecha_pago, CantidadPago FROM Clientes, FechaPago f, Pagos"),
        "Falso," + QString::number(pagado) + ",100");
    dialogos.respuestas = {Boton::Si};
    Pulsar(v().btnEliminar);
    EXPECT_EQ(ultima(), "Cliente y pagos relacionados eliminados correctamente");
    EXPECT_EQ(estado(), "##");
}

VIALTOR_EN_AMBOS_MOTORES(PruebaFrmClientes);

} // namespace
