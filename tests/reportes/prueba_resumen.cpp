#include "principal/listados.h"
#include "reportes/resumenventas.h"
#include "tests/reportes/apoyo_ventas.h"

#include <QDir>

namespace {

using PruebaResumen = PruebaVentas;
VIALTOR_EN_AMBOS_MOTORES(PruebaResumen);

const QString kBoton = "Reimprimir Tickets, Botón Imprimir Resumen de Ventas/Cierre, ";

// Base and tax of 5 000 at 19 % are 4 201.68 and 798.32: twice, rounded once, 8 403 and 1 597.
TEST_P(PruebaResumen, RangoImpresoYEnArchivoConBaseEIvaRedondeadosUnaVez) {
    salida("28/02/2026 11:59:59 pm", 70000);
    salida("01/03/2026 12:00:00 am", 11900);
    salida("02/03/2026 10:00:00 am", 5000, "0", "'FV-2'");
    salida("02/03/2026 11:00:00 am", 5000, "Null", "'FV-3'");
    salida("03/03/2026 11:59:59 pm", 5000, "19", "'FV-5'");
    salida("03/03/2026 08:00:00 pm", 5000, "19", "'FV-4'");
    salida("04/03/2026 12:00:00 am", 70000);
    dialogos.respuestas = {Boton::Si};
    EXPECT_TRUE(ImprimirResumenVentas(Periodo("01/03/2026 12:00:00 am", "03/03/2026 11:59:59 pm")));

    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_TRUE(dialogos.cajas[0].titulo == "RESUMEN DE VENTAS" &&
                dialogos.cajas[0].texto.contains(RutaListado("ResumenVentas.txt") + "\r\n\r\n"));
    EXPECT_EQ(impresora.textos(0),
              QString("RESUMEN DE VENTAS|Informe de rango: 2 días|Rango de Documentos: |Marzo 01 "
                      "de 2026 a Marzo 03 de 2026| |Documento Inicial: 2|Documento Final: FV-5| |"
                      "<-- Total Registros: 5 -->| |Base: $23.403|IVA $3.497|Total: $31.900| | | ")
                  .split('|'));
    EXPECT_EQ(LeerArchivo(carpetas.programa + "/ResumenVentas.txt"),
              "TipoInforme;RangoFechaDocIni;RangoFechaDocFin;DocIni;DocFin;TotalRegistros;Base: "
              ";IVA ;Total: ;\r\nInforme de rango: 2 d\xED"
              "as;01/03/2026;03/03/2026;2;FV-5;5;23403;3497;31900;\r\n");
    EXPECT_EQ(mensajes(), QStringList{kBoton + "se genera el archivo: ResumenVentas.txt"});
}

// No exits: nothing asked. Free exits only: no base or tax line, a total of 0, empty documents
// stay empty. A No prints nothing; a file that cannot be written is not said to be generated.
TEST_P(PruebaResumen, SinSalidasSalidasSinCobroYArchivoQueNoSePuedeEscribir) {
    const PeriodoInforme dia = Periodo("06/12/2026 12:00:00 am", "06/12/2026 11:59:59 pm");
    EXPECT_FALSE(ImprimirResumenVentas(dia));
    EXPECT_TRUE(dialogos.textos() == QStringList{"No hay registros para listar"} &&
                mensajes() == QStringList{kBoton + "Mensaje: No hay registros para listar"});

    salida("06/12/2026 08:00:00 am", 0, "19", "''");
    salida("06/12/2026 09:00:00 am", 0, "Null", "''");
    Ejecutar("UPDATE DatosParqueadero SET CabeceraResumenVentas='', PieResumenVentas='Fin'");
    CargarDatosParqueadero();
    dialogos.respuestas = {Boton::No, Boton::Si};
    EXPECT_TRUE(ImprimirResumenVentas(dia) && impresora.trabajos.isEmpty());
    ASSERT_TRUE(QDir(carpetas.programa).mkdir("ResumenVentas.txt"));
    EXPECT_TRUE(ImprimirResumenVentas(dia));
    EXPECT_EQ(impresora.textos(0),
              QString("Informe Diario|Rango de Documentos: |Diciembre 06 de 2026| |Documento "
                      "Inicial: |Documento Final: | |<-- Total Registros: 2 -->| |Total: $0| |Fin"
                      "| | ")
                  .split('|'));
    EXPECT_TRUE(ultimaCaja().startsWith("No se pudo escribir el archivo ") &&
                ultimoMensaje().startsWith("No se pudo escribir el archivo "));
}

} // namespace
