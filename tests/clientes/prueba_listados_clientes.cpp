#include "clientes/listadosclientes.h"
#include "tests/clientes/apoyo_clientes.h"

#include <QDir>

namespace {

using PruebaListadosClientes = PruebaClientesMotores;

// Ana owes December (three payments) and paid November (none, a negative amount that stays a
// number); Beto has no periods. A ";" typed in a value is quoted, typed text that would start a
// formula is kept text.
TEST_P(PruebaListadosClientes, ClientesYSusPeriodosYPagosByteAByte) {
    const QByteArray a = QByteArray::number(cliente("ABC123", true, "Ana", "52;1", "Mensual"));
    const QByteArray b = QByteArray::number(Ejecutar(
        "INSERT INTO Clientes (Nombre,Ape1,Placa,Activo,Notas) VALUES ('Beto','Arias','XYZ9',False,"
        "'=1+1')"));
    const QString periodo = "INSERT INTO FechaPago (id_cliente,FechaInicio,FechaFin,CantidadTotal,"
                            "Pagado,NRecibo) VALUES (" +
                            a + ",";
    const int64_t diciembre = Ejecutar(periodo + "#2026/12/01#,#2026/12/31#,100,False,'77')");
    Ejecutar(periodo + "#2026/11/01#,#2026/11/30#,-90,True,Null)");
    Ejecutar(QString("INSERT INTO Pagos (id_fecha_pago,FechaPago,CantidadPago) VALUES "
                     "(%1,#2026/12/02#,30),(%1,#2026/12/05#,20),(%1,#2026/12/03#,10)")
                 .arg(diciembre));

    ASSERT_TRUE(
        GenerarListado(kArchivoListadoClientes, LineasListadoClientes(), kSucesoListadoClientes));
    EXPECT_EQ(archivo(kArchivoListadoClientes),
              "Campo ID;Placa;Primer Apellido;Segundo Apellido;Nombre;Debe Pago;Identificacion;"
              "Notas;\r\n" +
                  b + ";XYZ9;Arias;;Beto;No;;'=1+1;\r\n" + a +
                  ";ABC123;G\363mez;Ruiz;Ana;Si;\"52;1\";Mensual;\r\n\r\nTotal Clientes: 2\r\n");
    ASSERT_TRUE(GenerarListado(kArchivoListadoClientesFechasPago, LineasListadoClientesFechasPago(),
                               kSucesoListadoClientesFechasPago));
    const QByteArray dic = a +
                           ";G\363mez;Ruiz;Ana;ABC123;\"52;1\";Mensual;Si;01/12/2026;31/12/2026;"
                           "100;77;No;";
    EXPECT_EQ(archivo(kArchivoListadoClientesFechasPago),
              "Campo ID;Primer Apellido;Segundo Apellido;Nombre;Placa;Identificaci\363n;Notas;"
              "Debe;Fecha Inicio;Fecha Fin;Cantidad a Pagar;N.Recibo;Pagado;Fecha Pago;"
              "Cantidad Pago;\r\n" +
                  b + ";Arias;;Beto;XYZ9;;'=1+1;;;;;;;;;\r\n" + dic + "05/12/2026;20;\r\n" + dic +
                  "03/12/2026;10;\r\n" + dic + "02/12/2026;30;\r\n" + a +
                  ";G\363mez;Ruiz;Ana;ABC123;\"52;1\";Mensual;No;01/11/2026;30/11/2026;-90;;Si;;;"
                  "\r\n\r\nTotal Clientes: 2\r\n");
}

// A file that cannot be written claims nothing.
TEST_P(PruebaListadosClientes, ExentosYUnArchivoQueNoSePuedeEscribirNoSeAnuncia) {
    const QString insercion = "INSERT INTO Exentos (PlacaExento,NombreExento,Ape1Exento,"
                              "Ape2Exento,TipoExento,ActivoExento) VALUES ";
    const int64_t luz = Ejecutar(insercion + "('AMB01','Luz','Peña',Null,'Ambulancia',False)");
    const int64_t caro = Ejecutar(insercion + "('POL7','Caro','Díaz','Paz','Policía',True)");
    ASSERT_TRUE(GenerarListado(kArchivoListadoExentos, LineasListadoExentos(), ""));
    EXPECT_EQ(archivo(kArchivoListadoExentos),
              "Campo ID;Placa;Primer Apellido;Segundo Apellido;Nombre;Tipo;Activo/Inactivo;\r\n" +
                  QByteArray::number(caro) + ";POL7;D\355az;Paz;Caro;Polic\355a;Activo;\r\n" +
                  QByteArray::number(luz) +
                  ";AMB01;Pe\361a;;Luz;Ambulancia;Inactivo;\r\n\r\nTotal Exentos: 2\r\n");

    ASSERT_TRUE(QDir().mkdir(carpetas.programa + "/" + kArchivoListadoClientes));
    EXPECT_FALSE(
        GenerarListado(kArchivoListadoClientes, LineasListadoClientes(), kSucesoListadoClientes));
    // The failure is the last box, and the log names no file generated.
    EXPECT_TRUE(dialogos.cajas.last().texto.startsWith("No se pudo escribir el archivo ") &&
                !avisos().join('|').contains("-ListadoClientesCSV.txt-"));
}

VIALTOR_EN_AMBOS_MOTORES(PruebaListadosClientes);

} // namespace
