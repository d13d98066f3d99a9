#include "reportes/resumenventas.h"
#include "tests/reportes/apoyo_ventas.h"

#include <QDir>

namespace {

using PruebaResumen = PruebaVentas;

const QString kBoton = "Reimprimir Tickets, Botón Imprimir Resumen de Ventas/Cierre, ";

TEST(TipoInforme, PorDiasEntreLasFechas) {
    const QDate d(2026, 3, 1);
    EXPECT_EQ(TipoInforme(d, d), "Informe Diario");
    EXPECT_EQ(TipoInforme(d, d.addDays(1)), QString::fromUtf8("Informe de rango: 1 día"));
    EXPECT_EQ(TipoInforme(d, d.addDays(31)), QString::fromUtf8("Informe de rango: 31 días"));
    EXPECT_EQ(TipoInforme(d, d.addDays(-1)), std::nullopt);
}

// Base and tax of 5 000 at 19 % are 4 201.68 and 798.32: twice, rounded once, 8 403 and 1 597.
TEST_F(PruebaResumen, RangoImpresoYEnArchivoConBaseEIvaRedondeadosUnaVez) {
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
    EXPECT_EQ(dialogos.cajas[0].titulo, "RESUMEN DE VENTAS");
    EXPECT_EQ(dialogos.cajas[0].texto,
              QString::fromUtf8(
                  "¿Desea proceder con la impresión del Resumen de Ventas?\r\n\r\nSe imprimirá el "
                  "Resumen de Ventas del rango de fechas y horas seleccionado\r\n\r\n"
                  "Adicionalmente, se generará un archivo en formato CSV (delimitado por puntos y "
                  "coma) en la ubicación: \r\n") +
                  QDir::toNativeSeparators(carpetas.programa + "/ResumenVentas.txt") +
                  QString::fromUtf8(
                      "\r\n\r\nEl Resumen de Ventas es un reporte para efectos informativos\r\n"
                      "No realiza ningún proceso de modificación de la información en la base "
                      "de datos\r\nPuede generarlo siempre que lo requiera"));
    ASSERT_EQ(impresora.trabajos.size(), 1);
    EXPECT_EQ(impresora.textos(0),
              QStringList({"RESUMEN DE VENTAS", QString::fromUtf8("Informe de rango: 2 días"),
                           "Rango de Documentos: ", "Marzo 01 de 2026 a Marzo 03 de 2026", " ",
                           "Documento Inicial: 2", "Documento Final: FV-5", " ",
                           "<-- Total Registros: 5 -->", " ", "Base: $23.403", "IVA $3.497",
                           "Total: $31.900", " ", " ", " "}));
    EXPECT_EQ(LeerArchivo(carpetas.programa + "/ResumenVentas.txt"),
              "TipoInforme;RangoFechaDocIni;RangoFechaDocFin;DocIni;DocFin;TotalRegistros;Base: "
              ";IVA ;Total: ;\r\nInforme de rango: 2 d\xED"
              "as;01/03/2026;03/03/2026;2;FV-5;5;23403;3497;31900;\r\n");
    EXPECT_EQ(mensajes(), QStringList{kBoton + "se genera el archivo: ResumenVentas.txt"});
}

// Free exits only: no base or tax line, a total of 0; an empty document stays empty; a period
// whose end precedes its start has no type, and its data line begins with the start date.
TEST_F(PruebaResumen, SalidasSinCobroDiaUnicoYRangoAlReves) {
    salida("06/12/2026 08:00:00 am", 0, "19", "''");
    salida("06/12/2026 09:00:00 am", 0, "Null", "''");
    Ejecutar("UPDATE DatosParqueadero SET CabeceraResumenVentas='', PieResumenVentas='Fin'");
    CargarDatosParqueadero();
    dialogos.respuestas = {Boton::Si};
    ImprimirResumenVentas(Periodo("06/12/2026 12:00:00 am", "06/12/2026 11:59:59 pm"));
    EXPECT_EQ(impresora.textos(0),
              QStringList({"Informe Diario", "Rango de Documentos: ", "Diciembre 06 de 2026", " ",
                           "Documento Inicial: ", "Documento Final: ", " ",
                           "<-- Total Registros: 2 -->", " ", "Total: $0", " ", "Fin", " ", " "}));
    EXPECT_EQ(ArchivoResumenVentas(Periodo("06/12/2026 08:00:00 am", "05/12/2026 09:00:00 am"),
                                   CifrasVentas{})[1],
              "06/12/2026;05/12/2026;;;0;0;0;0;");
}

// No exits, a No to the question, or a file that cannot be written: no page or no file, and
// never the file's log line.
TEST_F(PruebaResumen, SinSalidasNoPreguntaYSiNoHayArchivoNoSeDiceGenerado) {
    const PeriodoInforme dia = Periodo("06/12/2026 12:00:00 am", "06/12/2026 11:59:59 pm");
    EXPECT_FALSE(ImprimirResumenVentas(dia));
    EXPECT_EQ(dialogos.textos(), QStringList{"No hay registros para listar"});
    EXPECT_EQ(mensajes(), QStringList{kBoton + "Mensaje: No hay registros para listar"});

    salida("06/12/2026 08:00:00 am", 2000);
    dialogos.respuestas = {Boton::No, Boton::Si};
    EXPECT_TRUE(ImprimirResumenVentas(dia));
    EXPECT_TRUE(impresora.trabajos.isEmpty());
    ASSERT_TRUE(QDir(carpetas.programa).mkdir("ResumenVentas.txt"));
    EXPECT_TRUE(ImprimirResumenVentas(dia));
    EXPECT_EQ(impresora.trabajos.size(), 1);
    EXPECT_TRUE(dialogos.cajas.last().texto.startsWith("No se pudo escribir el archivo "));
    EXPECT_FALSE(mensajes().last().contains("se genera el archivo"));
}

} // namespace
