#include "principal/listados.h"
#include "reportes/listadosperiodo.h"
#include "tests/reportes/apoyo_reportes.h"

namespace {

const QString kSalidas = ";F.Entrada;F.Salida;Placa;Descr.Veh.;Observaciones;Id.Tarifa;Tarifa;"
                         "Tiempo;DescrTarifa;Total: ;Consecutivo del día;IVA;Base: ;IVA ";
const QString kSalida7 = "7;24/12/2016 08:00:00 am;24/12/2016 10:00:00 am;ABC123;Sedán;;1;1000;"
                         "60;CARRO;11900;1;19;10000;1900;";

using PruebaListados = PruebaReportesMotores;

// The file as written, against the expected lines each ended by CRLF in Windows-1252.
void comparar(const ListadoPeriodo& listado, const QString& nombre, const QStringList& lineas) {
    ASSERT_TRUE(GuardarListado(nombre, listado.lineas));
    EXPECT_EQ(LeerArchivo(RutaListado(nombre)), (lineas.join("\r\n") + "\r\n").toLatin1())
        << nombre.toStdString();
}

// A ";" typed in a value is quoted, typed text that would start a formula is kept text. The rate
// chosen in the window does not narrow the registers. The payments' lines are read through the
// window.
TEST_P(PruebaListados, ListadoGeneralRegistrosYPagos) {
    Ejecutar("UPDATE Salidas SET DescrVeh = '=1+1', Observaciones = 'carro gris; puesto 4' "
             "WHERE Placa = 'XAB9'");
    AbrirConexion();
    comparar(
        ListadoGeneral(filtro(true)), kArchivoListado,
        {"Factura de venta" + kSalidas,
         "9;24/12/2016 10:00:00 am;24/12/2016 12:00:00 pm;EXE1;;;0;0;0;EXENTO;0;3;0;0;0;",
         "8;24/12/2016 09:00:00 am;24/12/2016 11:00:00 am;XAB9;'=1+1;\"carro gris; puesto 4\";0;"
         "0;0;CLIENTE;0;2;"
         ";;;",
         kSalida7, "", "Total Factura de venta: 3", "Total Cobrado: 11.900"});
    Ejecutar("UPDATE DatosParqueadero SET PrefijoFactura = 'FV-'");
    CargarDatosParqueadero();
    AbrirConexion();
    comparar(ListadoGeneral(filtro(true, "ABC")), kArchivoListado,
             {"Consecutivo General" + kSalidas + ";N. Documento Factura de venta",
              kSalida7 + "FV-007;", "", "Total Factura de venta: 1", "Total Cobrado: 11.900"});
    comparar(ListadoGeneral(filtro(false)), kArchivoListado,
             {"Ticket de entrada;F.Entrada;Placa;Descr.Veh.;Observaciones;Id.Tarifa;Tarifa;"
              "Tiempo;DescrTarifa",
              "1;24/12/2016 09:30:00 am;ABD555;Van;;1;1000;60;CARRO;", "",
              "Total Factura de venta: 1"});
    EXPECT_EQ(ListadoGeneral(filtro(true, "ZZ")).lineas, QStringList());
    comparar(ListadoRegistro(filtro(true, "", "CARRO"), Registro::Clientes),
             kArchivoRegistroClientes,
             {"Primer Apellido;Segundo Apellido;Nombre;Identificacion;Notas;Placa;FechaEntrada;"
              "FechaSalida;ConsecutivoGeneral;",
              "Gómez;Ruiz;Ana;C-123;;XAB9;24/12/2016 09:00:00 am;24/12/2016 11:00:00 am;8;", "",
              "Total Registro de Clientes: 1"});
    comparar(ListadoRegistro(filtro(true), Registro::Exentos), kArchivoRegistroExentos,
             {"TipoExento;Primer Apellido;Segundo Apellido;Nombre;Placa;FechaEntrada;FechaSalida;"
              "ConsecutivoGeneral;",
              ";;;;EXE1;24/12/2016 10:00:00 am;24/12/2016 12:00:00 pm;9;", "",
              "Total Registro de Exentos: 1"});
    EXPECT_EQ(ListadoPagos(filtro(true).periodo, "ZZ").cantidad, 0);
}

VIALTOR_EN_AMBOS_MOTORES(PruebaListados);

} // namespace
