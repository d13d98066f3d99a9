#include "bd/conexion.h"
#include "reportes/cierrecaja.h"
#include "tests/reportes/apoyo_ventas.h"

#include <tuple>

namespace {

const QString kBoton = "Reimprimir Tickets, Botón Efectuar Cierre - Reimprimir Cierre, ";
const QString kDia = "06/12/2026 12:00:00 am", kFinDia = "06/12/2026 11:59:59 pm";
const QString kFuturo = "El período termina después de ahora: las ventas posteriores no quedarán "
                        "en este cierre.";

class PruebaCierre : public PruebaVentas {
protected:
    // Every question answered Yes.
    bool cerrar(const QString& inicio, const QString& fin) {
        dialogos.respuestas = {Boton::Si, Boton::Si};
        return EfectuarCierre(Periodo(inicio, fin), NombreCajero());
    }
    QString cierres() {
        return Tabla("SELECT id_cierre,NDocumento,TotalRegistros,TotalTotales FROM Cierres "
                     "ORDER BY id_cierre");
    }
};
VIALTOR_EN_AMBOS_MOTORES(PruebaCierre);

// Closed at 10 pm with an exit of that second in it and one timed 10:30 pm (another station's
// clock) left out; a row removed, the day asked for again the next day by another cashier: the
// stored closing is reprinted (same number, both dates, the stored cashier), and the question
// and the document tell the later sale apart from the row removed.
TEST_P(PruebaCierre, DiaCerradoYPedidoDeNuevoSeReimprimeConLasVentasPosteriores) {
    salida("06/12/2026 08:00:00 am", 11900, "19", "'FV-1'");
    salida("06/12/2026 10:00:00 pm", 5000, "Null", "'FV-2'");
    salida("06/12/2026 10:30:00 pm", 3000, "19", "'FV-3'");
    EXPECT_TRUE(cerrar(kDia, kFinDia));
    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_TRUE(
        dialogos.cajas[0].titulo == "EFECTUAR CIERRE" &&
        dialogos.cajas[0].texto.contains("\r\nCajero: Ana Gómez Ruiz\r\n" + kFuturo + "\r\n\r\n") &&
        dialogos.cajas[0].texto.endsWith("(5:59:59 a.m.)\r\nEl siguiente turno seguiría desde "
                                         "06:00:00 horas (6:00:00 a.m.), volviendo a iniciar el "
                                         "ciclo\r\n"));
    EXPECT_EQ(Tabla("SELECT * FROM Cierres"),
              "1,1,06/12/2026 10:00:00 pm,06/12/2026 12:00:00 am,06/12/2026 11:59:59 pm,"
              "Ana Gómez Ruiz,FV-1,FV-2,2,10000,1900,16900");
    // The closing's lines after its title, up to its last figure.
    const QString cuerpo = "Fecha de Impresión:|Diciembre 06 de 2026 - 10:00:00 pm|Cajero: Ana "
                           "Gómez Ruiz|Consecutivo de Cierre: 1| |Informe Diario|Rango de "
                           "Documentos: |Diciembre 06 de 2026 - 12:00:00 am a 11:59:59 pm| |"
                           "Documento Inicial: FV-1|Documento Final: FV-2| |<-- Total Registros: "
                           "2 -->| |Base: $10.000|IVA $1.900|Total: $16.900|";
    // Last, the trail's head with the closing's own row.
    const QString ancla = "Ancla de auditoría: " +
                          Tabla("SELECT Orden FROM Auditoria WHERE Accion='Cierre de caja'") + ':' +
                          Tabla("SELECT Hash FROM AuditoriaCabeza").left(16);
    ASSERT_EQ(impresora.trabajos.size(), 1);
    EXPECT_EQ(impresora.textos(0).join('|'), "CIERRE DE CAJA|" + cuerpo + ancla + "| | ");
    EXPECT_EQ(mensajes(), QStringList({kBoton + "se prepara una Impresión", kBoton + ancla,
                                       kBoton + "finaliza la impresión correctamente",
                                       "Tablero, se genera el archivo: "
                                       "tablero_20261206_20261206.html"}));

    Ejecutar("DELETE FROM Salidas WHERE NDocumento = 'FV-1'");
    reloj.momento = reloj.momento.addDays(1);
    SesionActual.Nombre = "Luis";
    EXPECT_TRUE(cerrar(kDia, kFinDia));
    const QString cambios = "Ventas posteriores al cierre: 1 registro, $3.000|Cambios posteriores "
                            "en los registros del cierre: 1 registro menos, $11.900 menos";
    ASSERT_EQ(dialogos.cajas.size(), 3);
    EXPECT_TRUE(dialogos.cajas[2].titulo == "REIMPRIMIR CIERRE" &&
                dialogos.cajas[2].texto.endsWith("\r\n\r\nCajero: Luis Gómez Ruiz\r\n\r\n" +
                                                 QString(cambios).replace('|', "\r\n")));
    ASSERT_EQ(impresora.trabajos.size(), 2);
    EXPECT_EQ(impresora.textos(1).join('|'),
              "*** COPIA ***|Reimpresión: 07/12/2026 10:00:00 pm| |CIERRE DE CAJA|Fecha de "
              "Reimpresión:|Diciembre 07 de 2026 - 10:00:00 pm| |" +
                  cuerpo + " |" + cambios + "| | ");
    EXPECT_EQ(mensajes(), QStringList({kBoton + "se muestran CIERRES REALIZADOS existentes",
                                       kBoton + "se prepara una Reimpresión",
                                       kBoton + "finaliza la impresión correctamente"}));
    EXPECT_EQ(cierres(), "1,1,2,16900");
}

// Sales after the closing's print time apart from its own rows changed since, each in its own
// words, never a negative count.
TEST(CambiosDesdeCierre, VentasPosterioresAparteDeLosRegistrosCambiados) {
    DatosParqueadero.SimboloMoneda = "$";
    const auto cifras = [](int64_t registros, int64_t cobrado) {
        return std::optional<CifrasVentas>(CifrasVentas{registros, "", "", 0, 0, cobrado});
    };
    const QString ventas = "Ventas posteriores al cierre: ";
    const QString cambios = "Cambios posteriores en los registros del cierre: ";
    const std::tuple<std::optional<CifrasVentas>, std::optional<CifrasVentas>, QString> casos[] = {
        {cifras(20, 100000), std::nullopt, ""},
        {cifras(20, 100000), cifras(1, 3000), ventas + "1 registro, $3.000"},
        {cifras(9, 24300), std::nullopt, cambios + "11 registros menos, $75.700 menos"},
        {cifras(20, 102000), cifras(2, 0), ventas + "2 registros, $0|" + cambios + "$2.000 más"},
        {cifras(21, 100000), std::nullopt, cambios + "1 registro más"},
        {std::nullopt, cifras(3, 9000),
         ventas + "3 registros, $9.000|" + cambios + "20 registros menos, $100.000 menos"}};
    for (const auto& [hasta, despues, lineas] : casos)
        EXPECT_EQ(CambiosDesdeCierre(*cifras(20, 100000), hasta, despues).join('|'), lineas);
}

// Two stations answer Sí to the closing of the same period: the one that writes second finds
// the other's closing under the write lock and reprints it; one row, one number.
TEST_P(PruebaCierre, DosEstacionesCierranElMismoPeriodoUnaSolaVez) {
    salida("06/12/2026 08:00:00 am", 2000, "19", "'FV-1'");
    DialogosConGancho gancho("EFECTUAR CIERRE");
    gancho.respuestas = {Boton::Si, Boton::Si};
    // The other station's closing, at its own moment and by its own cashier.
    gancho.gancho = [] {
        EXPECT_TRUE(GrabarCierre(Periodo(kDia, kFinDia),
                                 QDateTime(QDate(2026, 12, 6), QTime(21, 0)), "Luis Pérez Díaz")
                        .hecho());
    };
    Servicios().dialogos = &gancho;
    EXPECT_TRUE(EfectuarCierre(Periodo(kDia, kFinDia), NombreCajero()));
    EXPECT_EQ(Tabla("SELECT id_cierre,NDocumento,Cajero,TotalTotales FROM Cierres"),
              "1,1,Luis Pérez Díaz,2000");
    ASSERT_EQ(impresora.trabajos.size(), 1);
    // A reprint of the other station's closing, after the copy's mark: its moment and cashier,
    // as stored.
    EXPECT_EQ(impresora.textos(0).mid(8, 3),
              QString("Diciembre 06 de 2026 - 09:00:00 pm|Cajero: Luis Pérez Díaz|Consecutivo de "
                      "Cierre: 1")
                  .split('|'));
}

// Two shifts, then a period overlapping both, then periods a second apart: each a new closing
// with the next number, and none of them told it ends later than now. Seven closings in the
// day list six and the advice.
TEST_P(PruebaCierre, TurnosYPeriodosSolapadosSonCierresNuevosConNumerosSeguidos) {
    for (const char* hora : {"07:00:00 am", "02:00:00 pm", "03:00:00 pm"})
        salida(QStringLiteral("06/12/2026 %1").arg(hora), hora[1] == '7' ? 2000 : 3000);
    // Cash an older version took without a shift shows apart on the closing of its period.
    Ejecutar("INSERT INTO MovimientosTurno (id_turno,Fecha,Tipo,Referencia,Monto) VALUES "
             "(0,'06/12/2026 07:00:00 am','Salida',1,2000)");
    cerrar("06/12/2026 06:00:00 am", "06/12/2026 01:59:59 pm");
    cerrar("06/12/2026 02:00:00 pm", "06/12/2026 09:59:59 pm");
    ASSERT_EQ(impresora.trabajos.size(), 2);
    EXPECT_TRUE(impresora.textos(0).contains("Sin turno: salidas (1) $2.000, pagos (0) $0"));
    EXPECT_FALSE(impresora.textos(1).join('|').contains("Sin turno"));
    for (const char* inicio : {"06:00:00", "06:00:01", "06:00:02", "06:00:03", "06:00:04"})
        cerrar(QStringLiteral("06/12/2026 %1 am").arg(inicio), "06/12/2026 02:00:00 pm");
    EXPECT_EQ(cierres(), "1,1,1,2000|2,2,2,6000|3,3,2,5000|4,4,2,5000|5,5,2,5000|6,6,2,5000|"
                         "7,7,2,5000");
    EXPECT_FALSE(dialogos.textos().join('|').contains("El período termina"));

    dialogos.cajas.clear();
    cerrar(kDia, kFinDia);
    ASSERT_FALSE(dialogos.cajas.isEmpty());
    EXPECT_EQ(dialogos.cajas[0].titulo, "Listado de Cierres en el Rango Seleccionado: 6 cierres");
    const QString listado = dialogos.cajas[0].texto;
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
TEST_P(PruebaCierre, NumeroEsLaClavePropiaYNiUnFalloNiUnaImpresionPerdidaDejanNadaAMedias) {
    salida("06/12/2026 08:00:00 am", 2000);
    // Another row comes in right after the closing's own, inside its transaction.
    const bool pg = GetParam() == Motor::Servidor;
    Crudas(pg ? "CREATE FUNCTION otra() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN INSERT INTO "
                "cierres (ndocumento) VALUES ('OTRA'); RETURN NEW; END $$; CREATE TRIGGER otra "
                "AFTER INSERT ON cierres FOR EACH ROW WHEN (NEW.ndocumento = 'ENESPERA') EXECUTE "
                "FUNCTION otra()"
              : "CREATE TRIGGER otra AFTER INSERT ON Cierres WHEN NEW.NDocumento = 'ENESPERA' "
                "BEGIN INSERT INTO Cierres (NDocumento) VALUES ('OTRA'); END");
    cerrar(kDia, kFinDia);
    Crudas(pg ? "DROP TRIGGER otra ON cierres" : "DROP TRIGGER otra");

    Ejecutar("INSERT INTO Cierres (NDocumento,FechaIni,FechaFin,TotalRegistros,TotalTotales) "
             "VALUES ('ENESPERA','2026-12-06 08:00:00','2026-12-06 09:00:00',1,2000)");
    cerrar("06/12/2026 08:00:00 am", "06/12/2026 09:00:00 am");
    ASSERT_EQ(impresora.trabajos.size(), 2);
    // Without its print time every exit of the period is the closing's: nothing changed since.
    EXPECT_TRUE(impresora.textos(1).contains("Consecutivo de Cierre: 3") &&
                !impresora.textos(1).join('|').contains("posteriores"));

    // The update: after the listing, the period's two reads, the exits' three and the insert.
    Conexion.fallarSentencia(8);
    EXPECT_THROW(cerrar("06/12/2026 07:00:00 am", kFinDia), ErrorBD);
    EXPECT_FALSE(cerrar("07/12/2026 12:00:00 am", "07/12/2026 11:59:59 pm"));
    EXPECT_TRUE(ultimaCaja() == "No hay registros para realizar el cierre" &&
                ultimoMensaje() == kBoton + "Mensaje: No hay registros para realizar el cierre");
    EXPECT_EQ(cierres(), "1,1,1,2000|2,OTRA,(Null),(Null)|3,ENESPERA,1,2000");

    impresora.falla = true;
    cerrar("06/12/2026 07:00:00 am", kFinDia);
    EXPECT_TRUE(registrado(kBoton + "no se pudo imprimir el cierre, queda guardado "
                                    "para reimprimirlo") &&
                ultimaCaja().startsWith("No se pudo imprimir el cierre. El cierre "
                                        "quedó guardado: para reimprimirlo, "));
    impresora.falla = false;
    cerrar("06/12/2026 07:00:00 am", kFinDia);
    // The server's key counter does not go back with the failed closing's rollback.
    const QString ultimo = Tabla("SELECT MAX(id_cierre) FROM Cierres");
    EXPECT_EQ(Tabla("SELECT NDocumento FROM Cierres WHERE id_cierre = " + ultimo), ultimo);
    ASSERT_EQ(impresora.trabajos.size(), 3);
    EXPECT_TRUE(impresora.textos(2).contains("Consecutivo de Cierre: " + ultimo) &&
                ultimoMensaje() == kBoton + "finaliza la impresión correctamente");
}

} // namespace
