#include "acceso/parqueadero.h"
#include "bd/conexion.h"
#include "bd/sql.h"
#include "principal/registros.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"

namespace {

struct ColumnaTexto {
    const char* columna;
    QString AjustesParqueadero::*campo;
    bool obligatoria;
};

#define CAMPO(columna) #columna, &AjustesParqueadero::columna
const ColumnaTexto kTextos[] = {
    {CAMPO(NombreParqueadero), true}, {CAMPO(Identificacion), true},
    {CAMPO(Direccion), true},         {CAMPO(SimboloMoneda), true},
    {CAMPO(NombreDocumento), true},   {CAMPO(NombreDocumentoEntrada), true},
    {CAMPO(OtroNombre), false},       {CAMPO(Tfno), false},
    {CAMPO(CabeceraEntrada), false},  {CAMPO(CabeceraSalida), false},
    {CAMPO(PieEntrada), false},       {CAMPO(PieSalida), false},
    {CAMPO(PrefijoFactura), false},   {CAMPO(BaseTexto), false},
    {CAMPO(ValorIVATexto), false},    {CAMPO(ValorCobradoTexto), false},
    {CAMPO(CajeroTexto), false},      {CAMPO(CabeceraResumenVentas), false},
    {CAMPO(PieResumenVentas), false}, {CAMPO(CabeceraEfectuarCierre), false},
    {CAMPO(PieEfectuarCierre), false}};

// Flags may never be Null.
const std::pair<const char*, bool AjustesParqueadero::*> kBanderas[] = {
    {CAMPO(ConsecutivoDiaImprimir)}, {CAMPO(CajeroImprimir)},
    {CAMPO(FechaAdicionalImprimir)}, {CAMPO(ModificarPlacaSalida)},
    {CAMPO(ModificarTarifaSalida)},  {CAMPO(ModificarValorSalida)}};
#undef CAMPO

QString valorDistinto(const char* columna) {
    return QString::fromUtf8("valor de %1 ñ").arg(QLatin1String(columna));
}

// The settings a load fills, as one text: every text, the numbers, the flags and the ticket's tax.
QString memoria() {
    const AjustesParqueadero& d = DatosParqueadero;
    QStringList valores;
    for (const ColumnaTexto& c : kTextos)
        valores << d.*c.campo;
    for (const auto& [columna, campo] : kBanderas)
        valores << QString::number(d.*campo);
    for (const int n : {int(d.Cupo), int(d.IVA), int(d.DigitosFactura), int(DatosTicket.IVA)})
        valores << QString::number(n);
    return valores.join('|');
}

// Changes the settings row: "columna = valor" pairs in Jet SQL.
void cambiarFila(const QStringList& asignaciones) {
    Ejecutar("UPDATE DatosParqueadero SET " + asignaciones.join(", "));
}

} // namespace

using PruebaParqueadero = PruebaConBase;

// Loads with the optional columns Null on empty memory, with every column set (flags in two
// opposite patterns), and with the optional columns Null again: a Null leaves memory as it was.
TEST_F(PruebaParqueadero, CadaColumnaVaASuAjusteYUnNuloOpcionalLoDeja) {
    QStringList valores{"Cupo = -123, IVA = 7, DigitosFactura = 9"};
    QStringList nulos{"IVA = Null, DigitosFactura = Null"};
    QString textos;
    for (const ColumnaTexto& c : kTextos) {
        valores << QString(c.columna) + " = " + Texto(valorDistinto(c.columna));
        textos += valorDistinto(c.columna) + '|';
        if (!c.obligatoria)
            nulos << QString(c.columna) + " = Null";
    }
    cambiarFila(nulos);
    CargarDatosParqueadero();
    EXPECT_EQ(Conexion.State(), 0) << "the connection is closed after the load";
    for (const ColumnaTexto& c : kTextos)
        EXPECT_TRUE(c.obligatoria || (DatosParqueadero.*c.campo).isEmpty()) << c.columna;
    EXPECT_EQ(DatosParqueadero.IVA + DatosParqueadero.DigitosFactura + DatosTicket.IVA, 0);

    cambiarFila(valores);
    for (const char* patron : {"1|0|1|0|1|0|", "0|1|0|1|0|1|"}) {
        QStringList banderas;
        for (int i = 0; i < 6; ++i)
            banderas << QString(kBanderas[i].first) + (patron[2 * i] == '1' ? "=True" : "=False");
        cambiarFila(banderas);
        CargarDatosParqueadero();
        EXPECT_EQ(memoria(), textos + patron + "-123|7|9|7");
    }
    cambiarFila(nulos);
    DatosTicket.IVA = 5;
    CargarDatosParqueadero();
    EXPECT_EQ(memoria(), textos + "0|1|0|1|0|1|-123|7|9|5");
}

// A Null where a value is needed, a number out of range or no row at all: the load refuses,
// names the column and leaves memory as it was; the edges of each range load.
TEST_F(PruebaParqueadero, FilaDanadaNombraLaColumnaYNoTocaLaMemoria) {
    // A sound row that differs from memory in every column memoria() shows.
    QStringList sana{"Cupo = 10, IVA = 10, DigitosFactura = 10, Tfno = 'nuevo'"};
    QStringList danos{"Cupo = Null", "Cupo = 32768", "Cupo = -32769",
                      "IVA = 256",   "IVA = -1",     "DigitosFactura = 256"};
    for (const ColumnaTexto& c : kTextos)
        if (c.obligatoria) {
            sana << QString(c.columna) + " = 'sano'";
            danos << QString(c.columna) + " = Null";
        }
    for (const auto& [columna, campo] : kBanderas) {
        sana << QString(columna) + " = False";
        danos << QString(columna) + " = Null";
    }
    DatosParqueadero.ModificarValorSalida = true;
    DatosTicket.IVA = 4;
    QString antes = memoria();
    auto esperarFilaDanada = [&antes](const QString& columna) {
        const ErrorBD e = ErrorDe(CargarDatosParqueadero);
        EXPECT_TRUE(e.mensaje.contains(columna)) << e.mensaje.toStdString();
        EXPECT_EQ(memoria(), antes);
        CerrarConexion();
    };
    for (const QString& dano : danos) {
        SCOPED_TRACE(dano.toStdString());
        cambiarFila(sana);
        cambiarFila({dano});
        esperarFilaDanada(dano.section(' ', 0, 0));
    }

    cambiarFila(sana);
    const std::pair<const char*, int> bordes[] = {{"Cupo = 32767", 32767},
                                                  {"Cupo = -32768", -32768},
                                                  {"Cupo = 12.5", 12},
                                                  {"IVA = 255", 255},
                                                  {"DigitosFactura = 255", 255}};
    for (const auto& [asignacion, esperado] : bordes) {
        SCOPED_TRACE(asignacion);
        cambiarFila({"Cupo = 1, IVA = 1, DigitosFactura = 1", asignacion});
        ASSERT_NO_THROW(CargarDatosParqueadero());
        // The other two stay at 1.
        EXPECT_EQ(DatosParqueadero.Cupo + DatosParqueadero.IVA + DatosParqueadero.DigitosFactura,
                  esperado + 2);
    }
    EXPECT_EQ(DatosParqueadero.Tfno, "nuevo");

    DatosParqueadero.NombreParqueadero = "ANTERIOR";
    Ejecutar("DELETE FROM DatosParqueadero");
    antes = memoria();
    esperarFilaDanada("DatosParqueadero");
}
