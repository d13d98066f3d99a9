#include "reportes/cierrecaja.h"
#include "tests/reportes/apoyo_ventas.h"

namespace {

const QString kBoton = "Reimprimir Tickets, Botón Efectuar Cierre - Reimprimir Cierre, ";
const QString kDia = "06/12/2026 12:00:00 am", kFinDia = "06/12/2026 11:59:59 pm";

class PruebaCierre : public PruebaVentas {
protected:
    // Every question answered Yes.
    bool cerrar(const QString& inicio, const QString& fin) {
        dialogos.respuestas = {Boton::Si, Boton::Si};
        return EfectuarCierre(Periodo(inicio, fin));
    }
    QString cierres() {
        return Tabla("SELECT id_cierre,NDocumento,TotalRegistros,TotalTotales FROM Cierres");
    }
};

// The day closed, then asked for again the next day by another cashier, reprints it: the same
// number, both dates, the stored cashier.
TEST_F(PruebaCierre, DiaCerradoYPedidoDeNuevoSeReimprime) {
    salida("06/12/2026 08:00:00 am", 11900, "19", "'FV-1'");
    salida("06/12/2026 09:00:00 pm", 5000, "Null", "'FV-2'");
    EXPECT_TRUE(cerrar(kDia, kFinDia));
    EXPECT_TRUE(dialogos.cajas.size() == 1 && dialogos.cajas[0].titulo == "EFECTUAR CIERRE" &&
                dialogos.cajas[0].texto.endsWith("(5:59:59 a.m.)\r\nEl siguiente turno seguiría "
                                                 "desde 06:00:00 horas (6:00:00 a.m.), volviendo a "
                                                 "iniciar el ciclo\r\n"));
    EXPECT_EQ(Tabla("SELECT * FROM Cierres"),
              "1,1,06/12/2026 10:00:00 pm,06/12/2026 12:00:00 am,06/12/2026 11:59:59 pm,"
              "Ana Gómez Ruiz,FV-1,FV-2,2,10000,1900,16900");
    EXPECT_EQ(impresora.textos(0),
              QString("CIERRE DE CAJA|Fecha de Impresión:|Diciembre 06 de 2026 - 10:00:00 pm|"
                      "Cajero: Ana Gómez Ruiz|Consecutivo de Cierre: 1| |Informe Diario|Rango de "
                      "Documentos: |Diciembre 06 de 2026 - 12:00:00 am a 11:59:59 pm| |Documento "
                      "Inicial: FV-1|Documento Final: FV-2| |<-- Total Registros: 2 -->| |Base: "
                      "$10.000|IVA $1.900|Total: $16.900| | ")
                  .split('|'));
    EXPECT_EQ(mensajes(), QStringList({kBoton + "se prepara una Impresión",
                                       kBoton + "finaliza la impresión correctamente"}));

    reloj.momento = reloj.momento.addDays(1);
    SesionActual.Nombre = "Luis";
    EXPECT_TRUE(cerrar(kDia, kFinDia));
    EXPECT_TRUE(dialogos.cajas.size() == 3 &&
                dialogos.cajas[1].titulo ==
                    "Listado de Cierres en el Rango Seleccionado: 1 cierres" &&
                dialogos.cajas[2].titulo == "REIMPRIMIR CIERRE" &&
                dialogos.cajas[2].texto.endsWith("\r\n\r\nCajero: Luis Gómez Ruiz"));
    EXPECT_EQ(impresora.textos(1).mid(0, 4),
              QString("CIERRE DE CAJA|Fecha de Reimpresión:|Diciembre 07 de 2026 - 10:00:00 pm| ")
                  .split('|'));
    EXPECT_EQ(impresora.textos(1).mid(4), impresora.textos(0).mid(1));
    EXPECT_EQ(mensajes(), QStringList({kBoton + "se muestran CIERRES REALIZADOS existentes",
                                       kBoton + "se prepara una Reimpresión",
                                       kBoton + "finaliza la impresión correctamente"}));
}

// Two shifts, then a period overlapping both, then periods a second apart: each a new closing
// with the next number. Seven closings in the day list six and the advice.
TEST_F(PruebaCierre, TurnosYPeriodosSolapadosSonCierresNuevosConNumerosSeguidos) {
    for (const char* hora : {"07:00:00 am", "02:00:00 pm", "03:00:00 pm"})
        salida(QStringLiteral("06/12/2026 %1").arg(hora), hora[1] == '7' ? 2000 : 3000);
    cerrar("06/12/2026 06:00:00 am", "06/12/2026 01:59:59 pm");
    cerrar("06/12/2026 02:00:00 pm", "06/12/2026 09:59:59 pm");
    for (const char* inicio : {"06:00:00", "06:00:01", "06:00:02", "06:00:03", "06:00:04"})
        cerrar(QStringLiteral("06/12/2026 %1 am").arg(inicio), "06/12/2026 02:00:00 pm");
    EXPECT_EQ(cierres(), "1,1,1,2000|2,2,2,6000|3,3,2,5000|4,4,2,5000|5,5,2,5000|6,6,2,5000|"
                         "7,7,2,5000");

    dialogos.cajas.clear();
    cerrar(kDia, kFinDia);
    EXPECT_EQ(dialogos.cajas[0].titulo, "Listado de Cierres en el Rango Seleccionado: 6 cierres");
    const QString& listado = dialogos.cajas[0].texto;
    EXPECT_TRUE(listado.startsWith("<- CIERRES REALIZADOS EN EL RANGO DE FECHA SELECCIONADO ->"
                                   "\r\n\r\nConsecutivo de Cierre: 1 <-> De 06/12/2026 06:00:00 am"
                                   " a 06/12/2026 01:59:59 pm <-> Fecha de Impresión: 06/12/2026 "
                                   "10:00:00 pm\r\n"));
    EXPECT_TRUE(listado.endsWith(" 10:00:00 pm\r\n\r\nLISTADO DE 6 CIERRES DENTRO DEL RANGO "
                                 "SELECCIONADO\r\n\r\nSELECCIONE UN RANGO MÁS REDUCIDO PARA "
                                 "VISUALIZAR TODOS LOS CIERRES\r\n"));
}

// The number is the key of the row this closing inserted, even when another row comes in
// meanwhile; a row left "ENESPERA" reprints with its key; a failed update leaves no row; a
// period without exits stores nothing; a document lost on the way to the printer is not said
// to be printed, and asking again reprints it.
TEST_F(PruebaCierre, NumeroEsLaClavePropiaYNiUnFalloNiUnaImpresionPerdidaDejanNadaAMedias) {
    salida("06/12/2026 08:00:00 am", 2000);
    Ejecutar("CREATE TRIGGER otra AFTER INSERT ON Cierres WHEN NEW.NDocumento = 'ENESPERA' BEGIN "
             "INSERT INTO Cierres (NDocumento) VALUES ('OTRA'); END");
    cerrar(kDia, kFinDia);
    Ejecutar("DROP TRIGGER otra");

    Ejecutar("INSERT INTO Cierres (NDocumento,FechaIni,FechaFin,TotalRegistros,TotalTotales) "
             "VALUES ('ENESPERA','2026-12-06 08:00:00','2026-12-06 09:00:00',1,2000)");
    cerrar("06/12/2026 08:00:00 am", "06/12/2026 09:00:00 am");
    EXPECT_TRUE(impresora.textos(1).contains("Consecutivo de Cierre: 3"));

    Conexion.fallarSentencia(7); // the update, after two reads, the exits' three and the insert
    EXPECT_THROW(cerrar("06/12/2026 07:00:00 am", kFinDia), ErrorBD);
    EXPECT_FALSE(cerrar("07/12/2026 12:00:00 am", "07/12/2026 11:59:59 pm"));
    EXPECT_TRUE(dialogos.cajas.last().texto == "No hay registros para realizar el cierre" &&
                mensajes().last() == kBoton + "Mensaje: No hay registros para realizar el cierre");
    EXPECT_EQ(cierres(), "1,1,1,2000|2,OTRA,(Null),(Null)|3,ENESPERA,1,2000");

    impresora.falla = true;
    cerrar("06/12/2026 07:00:00 am", kFinDia);
    EXPECT_TRUE(mensajes().last() == kBoton + "no se pudo imprimir el cierre, queda guardado "
                                              "para reimprimirlo" &&
                dialogos.cajas.last().texto.startsWith("No se pudo imprimir el cierre. El cierre "
                                                       "quedó guardado: para reimprimirlo, "));
    impresora.falla = false;
    cerrar("06/12/2026 07:00:00 am", kFinDia);
    EXPECT_TRUE(impresora.textos(2)[7] == "Consecutivo de Cierre: 4" &&
                mensajes().last() == kBoton + "finaliza la impresión correctamente");
}

} // namespace
