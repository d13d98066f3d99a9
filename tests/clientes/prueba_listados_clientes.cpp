#include "clientes/listadosclientes.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"

#include <QDir>

namespace {

class PruebaListadosClientes : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        crearBaseDatos();
    }
    QByteArray archivo(const QString& nombre) const {
        return LeerArchivo(carpetas.programa + "/" + nombre);
    }
    // The log's messages, without date, time and station.
    QStringList mensajes() const {
        QStringList m;
        for (const QString& linea : lineasSucesos())
            m << linea.section(';', 7);
        return m;
    }
    static int64_t cliente(const QString& valores) {
        return Ejecutar("INSERT INTO Clientes (Nombre,Ape1,Ape2,Placa,Activo,Identificacion,Notas) "
                        "VALUES (" +
                        valores + ")");
    }
    static int64_t periodo(int64_t idCliente, const QString& valores) {
        return Ejecutar(QString("INSERT INTO FechaPago (id_cliente,FechaInicio,FechaFin,"
                                "CantidadTotal,Pagado,NRecibo) VALUES (%1,%2)")
                            .arg(idCliente)
                            .arg(valores));
    }
    static void pago(int64_t idFechaPago, const QString& fecha, int cantidad) {
        Ejecutar(QString("INSERT INTO Pagos (id_fecha_pago,FechaPago,CantidadPago) VALUES "
                         "(%1,#%2#,%3)")
                     .arg(idFechaPago)
                     .arg(fecha)
                     .arg(cantidad));
    }
};

// Ana owes her December period (three payments) and paid November's (none); Beto has no periods;
// Ana's notes hold a ";", which shifts what follows it on her lines.
TEST_F(PruebaListadosClientes, ClientesYSusPeriodosYPagosByteAByte) {
    const int64_t ana = cliente("'Ana','Gómez','Ruiz','ABC123',True,'52;1','Mensual'");
    const int64_t beto = cliente("'Beto','Arias',Null,'XYZ9',False,Null,Null");
    const int64_t diciembre = periodo(ana, "#2026/12/01#,#2026/12/31#,100,False,'77'");
    periodo(ana, "#2026/11/01#,#2026/11/30#,90,True,Null");
    pago(diciembre, "2026/12/02", 30);
    pago(diciembre, "2026/12/05", 20);
    pago(diciembre, "2026/12/03", 10);

    const QByteArray a = QByteArray::number(ana), b = QByteArray::number(beto);
    ASSERT_TRUE(
        GenerarListado(kArchivoListadoClientes, LineasListadoClientes(), kSucesoListadoClientes));
    EXPECT_EQ(archivo(kArchivoListadoClientes),
              "Campo ID;Placa;Primer Apellido;Segundo Apellido;Nombre;Debe Pago;Identificacion;"
              "Notas;\r\n" +
                  b + ";XYZ9;Arias;;Beto;No;;;\r\n" + a +
                  ";ABC123;G\363mez;Ruiz;Ana;Si;52;1;Mensual;\r\n\r\nTotal Clientes: 2\r\n");

    ASSERT_TRUE(GenerarListado(kArchivoListadoClientesFechasPago, LineasListadoClientesFechasPago(),
                               kSucesoListadoClientesFechasPago));
    const QByteArray ad = a + ";G\363mez;Ruiz;Ana;ABC123;52;1;Mensual;";
    const QByteArray dic = "Si;01/12/2026;31/12/2026;100;77;No;";
    EXPECT_EQ(archivo(kArchivoListadoClientesFechasPago),
              "Campo ID;Primer Apellido;Segundo Apellido;Nombre;Placa;Identificaci\363n;Notas;"
              "Debe;Fecha Inicio;Fecha Fin;Cantidad a Pagar;N.Recibo;Pagado;Fecha Pago;"
              "Cantidad Pago;\r\n" +
                  b + ";Arias;;Beto;XYZ9;;;;;;;;;;;\r\n" + ad + dic + "05/12/2026;20;\r\n" + ad +
                  dic + "03/12/2026;10;\r\n" + ad + dic + "02/12/2026;30;\r\n" + ad +
                  "No;01/11/2026;30/11/2026;90;;Si;;;\r\n\r\nTotal Clientes: 2\r\n");

    EXPECT_EQ(mensajes(),
              QStringList({"Se genera el archivo: -ListadoClientesCSV.txt- desde el botón "
                           "Listado de Clientes CSV de Gestión de Clientes",
                           "Se genera el archivo: -ListadoClientesFechasDePagoCSV.txt- desde el "
                           "botón Listado de Clientes y Fechas de Pago CSV, de Gestión de "
                           "Clientes"}));
    EXPECT_EQ(dialogos.cajas.size(), 2);
    EXPECT_TRUE(dialogos.cajas[1].texto.startsWith(
        "Archivo generado: ListadoClientesFechasDePagoCSV.txt\n"));
}

// A second run replaces the file; one that cannot be written claims nothing.
TEST_F(PruebaListadosClientes, ExentosReemplazaElArchivoYSiNoSePuedeEscribirNoLoAnuncia) {
    const auto generar = [] {
        return GenerarListado(kArchivoListadoExentos, LineasListadoExentos(),
                              kSucesoListadoExentos);
    };
    ASSERT_TRUE(generar());
    EXPECT_EQ(archivo(kArchivoListadoExentos),
              "Campo ID;Placa;Primer Apellido;Segundo Apellido;Nombre;Tipo;Activo/Inactivo;\r\n"
              "\r\nTotal Exentos: 0\r\n");
    const int64_t luz = Ejecutar("INSERT INTO Exentos (PlacaExento,NombreExento,Ape1Exento,"
                                 "Ape2Exento,TipoExento,ActivoExento) VALUES ('AMB01','Luz',"
                                 "'Peña',Null,'Ambulancia',False)");
    const int64_t caro = Ejecutar("INSERT INTO Exentos (PlacaExento,NombreExento,Ape1Exento,"
                                  "Ape2Exento,TipoExento,ActivoExento) VALUES ('POL7','Caro',"
                                  "'Díaz','Paz','Policía',True)");
    ASSERT_TRUE(generar());
    EXPECT_EQ(archivo(kArchivoListadoExentos),
              "Campo ID;Placa;Primer Apellido;Segundo Apellido;Nombre;Tipo;Activo/Inactivo;\r\n" +
                  QByteArray::number(caro) + ";POL7;D\355az;Paz;Caro;Polic\355a;Activo;\r\n" +
                  QByteArray::number(luz) +
                  ";AMB01;Pe\361a;;Luz;Ambulancia;Inactivo;\r\n\r\nTotal Exentos: 2\r\n");

    const QString ruta = carpetas.programa + "/" + kArchivoListadoClientes;
    ASSERT_TRUE(QDir().mkdir(ruta));
    const int cajas = dialogos.cajas.size();
    const int sucesos = lineasSucesos().size();
    EXPECT_FALSE(
        GenerarListado(kArchivoListadoClientes, LineasListadoClientes(), kSucesoListadoClientes));
    ASSERT_EQ(dialogos.cajas.size(), cajas + 1);
    EXPECT_TRUE(dialogos.cajas.last().texto.startsWith("No se pudo escribir el archivo "));
    ASSERT_EQ(lineasSucesos().size(), sucesos + 1);
    EXPECT_FALSE(lineasSucesos().last().contains("Se genera el archivo"));
}

} // namespace
