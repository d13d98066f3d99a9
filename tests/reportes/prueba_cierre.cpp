#include "reportes/cierrecaja.h"
#include "tests/reportes/apoyo_ventas.h"

namespace {

const QString kBoton = "Reimprimir Tickets, Botón Efectuar Cierre - Reimprimir Cierre, ";
const QString kDia = "06/12/2026 12:00:00 am";
const QString kFinDia = "06/12/2026 11:59:59 pm";

class PruebaCierre : public PruebaVentas {
protected:
    void SetUp() override {
        PruebaVentas::SetUp();
        reloj.momento = Momento("06/12/2026 10:00:00 pm");
    }
    // Every question answered Yes.
    bool cerrar(const QString& inicio, const QString& fin) {
        dialogos.respuestas = {Boton::Si, Boton::Si};
        const bool hubo = EfectuarCierre(Periodo(inicio, fin));
        dialogos.respuestas.clear();
        return hubo;
    }
    QString cierres() {
        return Tabla("SELECT id_cierre,NDocumento,TotalRegistros,TotalTotales "
                     "FROM Cierres ORDER BY id_cierre");
    }
};

// The day closed, then asked for again the next day by another cashier, reprints it: the same
// number, both dates, the stored cashier.
TEST_F(PruebaCierre, DiaCerradoYPedidoDeNuevoSeReimprime) {
    salida("06/12/2026 08:00:00 am", 11900, "19", "'FV-1'");
    salida("06/12/2026 09:00:00 pm", 5000, "Null", "'FV-2'");
    EXPECT_TRUE(cerrar(kDia, kFinDia));
    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_EQ(dialogos.cajas[0].titulo, "EFECTUAR CIERRE");
    EXPECT_EQ(
        dialogos.cajas[0].texto,
        QString::fromUtf8(
            "¿DESEA EFECTUAR EL CIERRE?\r\n\r\nDe: Diciembre 06 de 2026 - 12:00:00 am\r\n"
            "A:   Diciembre 06 de 2026 - 11:59:59 pm\r\nCajero: Ana Gómez Ruiz\r\n\r\n"
            "RECUERDE: Tenga muy en cuenta el uso de Fecha, Hora, Minuto y Segundo que "
            "especifique\r\n"
            "(*) Si desea realizar un Cierre del Día Completo, especifique rango horario desde "
            "00:00:00 horas (12:00:00 a.m.) a 23:59:59 horas (11:59:59 p.m.)\r\n"
            "(*) Si desea realizar Cierres de Turno, ejemplo:\r\n"
            "Si un turno es de 06:00:00 horas (6:00:00 a.m.) a 14:00:00 horas (2:00:00 p.m.),\r\n"
            "especifique rango horario desde 06:00:00 horas (6:00:00 a.m.) a 13:59:59 horas "
            "(1:59:59 p.m.)\r\npara el siguiente turno especificaría de 14:00:00 horas (2:00:00 "
            "p.m.) a 22:00:00 horas (10:00:00 p.m.)\r\n\r\nSi tiene un tercer turno, cambiaría "
            "22:00:00 horas (10:00:00 p.m.) por 21:59:59 horas (9:59:59 p.m.) en el segundo turno,"
            "\r\ny el tercer turno iría desde 22:00:00 horas (10:00:00 p.m.) a 05:59:59 horas "
            "(5:59:59 a.m.)\r\nEl siguiente turno seguiría desde 06:00:00 horas (6:00:00 a.m.), "
            "volviendo a iniciar el ciclo\r\n"));
    EXPECT_EQ(Tabla("SELECT * FROM Cierres"),
              "1,1,06/12/2026 10:00:00 pm,06/12/2026 12:00:00 am,06/12/2026 11:59:59 pm,"
              "Ana Gómez Ruiz,FV-1,FV-2,2,10000,1900,16900");
    const QStringList cifras{"Informe Diario",
                             "Rango de Documentos: ",
                             "Diciembre 06 de 2026 - 12:00:00 am a 11:59:59 pm",
                             " ",
                             "Documento Inicial: FV-1",
                             "Documento Final: FV-2",
                             " ",
                             "<-- Total Registros: 2 -->",
                             " ",
                             "Base: $10.000",
                             "IVA $1.900",
                             "Total: $16.900",
                             " ",
                             " "};
    const QStringList impresion{"Fecha de Impresión:", "Diciembre 06 de 2026 - 10:00:00 pm",
                                "Cajero: Ana Gómez Ruiz", "Consecutivo de Cierre: 1", " "};
    EXPECT_EQ(impresora.textos(0), QStringList("CIERRE DE CAJA") + impresion + cifras);
    EXPECT_EQ(mensajes(), QStringList({kBoton + "se prepara una Impresión",
                                       kBoton + "finaliza la impresión correctamente"}));

    reloj.momento = reloj.momento.addDays(1);
    SesionActual.Nombre = "Luis";
    EXPECT_TRUE(cerrar(kDia, kFinDia));
    EXPECT_EQ(dialogos.cajas[1].titulo, "Listado de Cierres en el Rango Seleccionado: 1 cierres");
    EXPECT_EQ(dialogos.cajas[2].titulo, "REIMPRIMIR CIERRE");
    EXPECT_TRUE(dialogos.cajas[2].texto.endsWith("\r\n\r\nCajero: Luis Gómez Ruiz"));
    EXPECT_EQ(impresora.textos(1), QStringList({"CIERRE DE CAJA", "Fecha de Reimpresión:",
                                                "Diciembre 07 de 2026 - 10:00:00 pm", " "}) +
                                       impresion + cifras);
    EXPECT_EQ(mensajes(), QStringList({kBoton + "se muestran CIERRES REALIZADOS existentes",
                                       kBoton + "se prepara una Reimpresión",
                                       kBoton + "finaliza la impresión correctamente"}));
    EXPECT_EQ(cierres(), "1,1,2,16900");
}

// Two shifts, then a period overlapping both, then periods a second apart: each a new closing
// with the next number. Seven closings in the day list six and the advice.
TEST_F(PruebaCierre, TurnosYPeriodosSolapadosSonCierresNuevosConNumerosSeguidos) {
    salida("06/12/2026 07:00:00 am", 2000);
    salida("06/12/2026 02:00:00 pm", 3000);
    salida("06/12/2026 03:00:00 pm", 4000);
    cerrar("06/12/2026 06:00:00 am", "06/12/2026 01:59:59 pm");
    cerrar("06/12/2026 02:00:00 pm", "06/12/2026 09:59:59 pm");
    cerrar("06/12/2026 06:00:00 am", "06/12/2026 02:00:00 pm");
    EXPECT_EQ(cierres(), "1,1,1,2000|2,2,2,7000|3,3,2,5000");
    for (const char* inicio : {"06:00:01", "06:00:02", "06:00:03", "06:00:04"})
        cerrar(QStringLiteral("06/12/2026 %1 am").arg(inicio), "06/12/2026 02:00:00 pm");
    EXPECT_EQ(Columna("SELECT NDocumento FROM Cierres ORDER BY id_cierre", "NDocumento").join(','),
              "1,2,3,4,5,6,7");

    dialogos.cajas.clear();
    cerrar(kDia, kFinDia);
    EXPECT_EQ(dialogos.cajas[0].titulo, "Listado de Cierres en el Rango Seleccionado: 6 cierres");
    const QString& listado = dialogos.cajas[0].texto;
    EXPECT_TRUE(listado.startsWith(QString::fromUtf8(
        "<- CIERRES REALIZADOS EN EL RANGO DE FECHA SELECCIONADO ->\r\n\r\nConsecutivo de "
        "Cierre: 1 <-> De 06/12/2026 06:00:00 am a 06/12/2026 01:59:59 pm <-> Fecha de "
        "Impresión: 06/12/2026 10:00:00 pm\r\nConsecutivo de Cierre: 2 <-> ")));
    EXPECT_EQ(listado.count("Consecutivo de Cierre: "), 6);
    EXPECT_TRUE(listado.endsWith(QString::fromUtf8(
        "Consecutivo de Cierre: 6 <-> De 06/12/2026 06:00:03 am a 06/12/2026 02:00:00 pm <-> "
        "Fecha de Impresión: 06/12/2026 10:00:00 pm\r\n\r\nLISTADO DE 6 CIERRES DENTRO DEL "
        "RANGO SELECCIONADO\r\n\r\nSELECCIONE UN RANGO MÁS REDUCIDO PARA VISUALIZAR TODOS LOS "
        "CIERRES\r\n")));
}

// The number is the key of the row this closing inserted, even when another row comes in
// meanwhile; a row left "ENESPERA" reprints with its key; a failed update leaves no row; a
// period without exits stores nothing.
TEST_F(PruebaCierre, NumeroEsLaClavePropiaYUnFalloNoDejaFila) {
    salida("06/12/2026 08:00:00 am", 2000);
    Ejecutar("CREATE TRIGGER otra AFTER INSERT ON Cierres WHEN NEW.NDocumento = 'ENESPERA' BEGIN "
             "INSERT INTO Cierres (NDocumento) VALUES ('OTRA'); END");
    cerrar(kDia, kFinDia);
    Ejecutar("DROP TRIGGER otra");
    EXPECT_EQ(Tabla("SELECT id_cierre,NDocumento FROM Cierres ORDER BY id_cierre"), "1,1|2,OTRA");

    Ejecutar("INSERT INTO Cierres (NDocumento,FechaIni,FechaFin,TotalRegistros,TotalTotales) "
             "VALUES ('ENESPERA','2026-12-06 08:00:00','2026-12-06 09:00:00',1,2000)");
    cerrar("06/12/2026 08:00:00 am", "06/12/2026 09:00:00 am");
    EXPECT_TRUE(dialogos.cajas.last(2)[0].texto.contains("\r\nConsecutivo de Cierre: 3 <-> "));
    EXPECT_TRUE(impresora.textos(1).contains("Consecutivo de Cierre: 3"));

    Conexion.fallarSentencia(7); // the update, after two reads, the exits' three and the insert
    EXPECT_THROW(cerrar("06/12/2026 07:00:00 am", kFinDia), ErrorBD);
    EXPECT_FALSE(cerrar("07/12/2026 12:00:00 am", "07/12/2026 11:59:59 pm"));
    EXPECT_EQ(dialogos.cajas.last().texto, "No hay registros para realizar el cierre");
    EXPECT_EQ(mensajes().last(), kBoton + "Mensaje: No hay registros para realizar el cierre");
    EXPECT_EQ(Columna("SELECT id_cierre FROM Cierres ORDER BY id_cierre", "id_cierre").join(','),
              "1,2,3");
}

// A closing that reached neither the printer nor its PDF is stored, and the attendant is told
// to ask for it again; asking again reprints it.
TEST_F(PruebaCierre, SinImpresionNoSeDiceFinalizadaYSeOfreceReimprimir) {
    salida("06/12/2026 08:00:00 am", 2000);
    impresora.falla = true;
    cerrar(kDia, kFinDia);
    EXPECT_EQ(cierres(), "1,1,1,2000");
    EXPECT_EQ(mensajes().last(),
              kBoton + "no se pudo imprimir el cierre, queda guardado para reimprimirlo");
    EXPECT_EQ(dialogos.cajas.last().texto,
              "No se pudo imprimir el cierre. El cierre quedó guardado: para reimprimirlo, vuelva "
              "a efectuar el cierre con las mismas fechas y horas.");
    impresora.falla = false;
    cerrar(kDia, kFinDia);
    EXPECT_EQ(impresora.trabajos.size(), 1);
    EXPECT_EQ(mensajes().last(), kBoton + "finaliza la impresión correctamente");
}

} // namespace
