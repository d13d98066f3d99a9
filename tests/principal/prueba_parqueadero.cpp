#include "conexion.h"
#include "dobles.h"
#include "parqueadero.h"
#include "recordset.h"
#include "registros.h"
#include "sql.h"

#include <QPair>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <string>

namespace {

struct ColumnaTexto {
    const char* columna;
    QString AjustesParqueadero::*campo;
};

const ColumnaTexto kTextosObligatorios[] = {
    {"NombreParqueadero", &AjustesParqueadero::NombreParqueadero},
    {"Identificacion", &AjustesParqueadero::Identificacion},
    {"Direccion", &AjustesParqueadero::Direccion},
    {"SimboloMoneda", &AjustesParqueadero::SimboloMoneda},
    {"NombreDocumento", &AjustesParqueadero::NombreDocumento},
    {"NombreDocumentoEntrada", &AjustesParqueadero::NombreDocumentoEntrada},
};

// Text settings whose Null leaves the value in memory as it was.
const ColumnaTexto kTextosOpcionales[] = {
    {"OtroNombre", &AjustesParqueadero::OtroNombre},
    {"Tfno", &AjustesParqueadero::Tfno},
    {"CabeceraEntrada", &AjustesParqueadero::CabeceraEntrada},
    {"CabeceraSalida", &AjustesParqueadero::CabeceraSalida},
    {"PieEntrada", &AjustesParqueadero::PieEntrada},
    {"PieSalida", &AjustesParqueadero::PieSalida},
    {"PrefijoFactura", &AjustesParqueadero::PrefijoFactura},
    {"BaseTexto", &AjustesParqueadero::BaseTexto},
    {"ValorIVATexto", &AjustesParqueadero::ValorIVATexto},
    {"ValorCobradoTexto", &AjustesParqueadero::ValorCobradoTexto},
    {"CajeroTexto", &AjustesParqueadero::CajeroTexto},
    {"CabeceraResumenVentas", &AjustesParqueadero::CabeceraResumenVentas},
    {"PieResumenVentas", &AjustesParqueadero::PieResumenVentas},
    {"CabeceraEfectuarCierre", &AjustesParqueadero::CabeceraEfectuarCierre},
    {"PieEfectuarCierre", &AjustesParqueadero::PieEfectuarCierre},
};

struct ColumnaBandera {
    const char* columna;
    bool AjustesParqueadero::*campo;
};

const ColumnaBandera kBanderas[] = {
    {"ConsecutivoDiaImprimir", &AjustesParqueadero::ConsecutivoDiaImprimir},
    {"CajeroImprimir", &AjustesParqueadero::CajeroImprimir},
    {"FechaAdicionalImprimir", &AjustesParqueadero::FechaAdicionalImprimir},
    {"ModificarPlacaSalida", &AjustesParqueadero::ModificarPlacaSalida},
    {"ModificarTarifaSalida", &AjustesParqueadero::ModificarTarifaSalida},
    {"ModificarValorSalida", &AjustesParqueadero::ModificarValorSalida},
};

QString valorDistinto(const char* columna) {
    return QString::fromUtf8("valor de %1 ñ").arg(QLatin1String(columna));
}

} // namespace

class PruebaParqueadero : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        crearBaseDatos();
    }
    // Changes the settings row: "columna = valor" pairs in Jet SQL.
    static void cambiarFila(const QString& asignaciones) {
        AbrirConexion();
        Recordset rs;
        rs.Open(QStringLiteral("UPDATE DatosParqueadero SET ") + asignaciones);
        rs.Close();
        CerrarConexion();
    }
    static QString leerColumna(const char* columna) {
        AbrirConexion();
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM DatosParqueadero"));
        const QString valor = rs.Fields(QLatin1String(columna)).aTexto();
        rs.Close();
        CerrarConexion();
        return valor;
    }
    // Marks memory so an unwanted change shows.
    static void marcarMemoria() {
        DatosParqueadero.NombreParqueadero = QStringLiteral("ANTERIOR");
        DatosParqueadero.Tfno = QStringLiteral("555");
        DatosParqueadero.Cupo = 7;
        DatosParqueadero.IVA = 3;
        DatosParqueadero.ModificarValorSalida = true;
        DatosTicket.IVA = 4;
    }
    static void esperarMemoriaMarcada() {
        EXPECT_EQ(DatosParqueadero.NombreParqueadero, QStringLiteral("ANTERIOR"));
        EXPECT_EQ(DatosParqueadero.Tfno, QStringLiteral("555"));
        EXPECT_EQ(DatosParqueadero.Cupo, 7);
        EXPECT_EQ(DatosParqueadero.IVA, 3);
        EXPECT_TRUE(DatosParqueadero.ModificarValorSalida);
        EXPECT_EQ(DatosTicket.IVA, 4);
    }
};

TEST_F(PruebaParqueadero, BaseNuevaCargaSuFila) {
    CargarDatosParqueadero();
    EXPECT_FALSE(DatosParqueadero.NombreParqueadero.isEmpty());
    for (const ColumnaTexto& c : kTextosObligatorios)
        EXPECT_EQ(DatosParqueadero.*c.campo, leerColumna(c.columna)) << c.columna;
    EXPECT_EQ(DatosParqueadero.Cupo, leerColumna("Cupo").toInt());
    EXPECT_GT(DatosParqueadero.Cupo, 0);
    EXPECT_EQ(DatosParqueadero.IVA, leerColumna("IVA").toInt());
    EXPECT_EQ(DatosTicket.IVA, DatosParqueadero.IVA);
    EXPECT_EQ(Conexion.State(), 0) << "the connection is closed after the load";
}

TEST_F(PruebaParqueadero, CadaColumnaVaASuAjuste) {
    QStringList asignaciones;
    for (const ColumnaTexto& c : kTextosObligatorios)
        asignaciones << QLatin1String(c.columna) + QLatin1String(" = ") +
                            Texto(valorDistinto(c.columna));
    for (const ColumnaTexto& c : kTextosOpcionales)
        asignaciones << QLatin1String(c.columna) + QLatin1String(" = ") +
                            Texto(valorDistinto(c.columna));
    asignaciones << QStringLiteral("Cupo = -123, IVA = 7, DigitosFactura = 9");
    cambiarFila(asignaciones.join(QLatin1String(", ")));

    // Two opposite patterns of flags, so no flag can pass by a constant.
    for (const bool primero : {true, false}) {
        QStringList banderas;
        bool valor = primero;
        for (const ColumnaBandera& b : kBanderas) {
            banderas << QLatin1String(b.columna) + QLatin1String(valor ? " = True" : " = False");
            valor = !valor;
        }
        cambiarFila(banderas.join(QLatin1String(", ")));
        CargarDatosParqueadero();

        for (const ColumnaTexto& c : kTextosObligatorios)
            EXPECT_EQ(DatosParqueadero.*c.campo, valorDistinto(c.columna)) << c.columna;
        for (const ColumnaTexto& c : kTextosOpcionales)
            EXPECT_EQ(DatosParqueadero.*c.campo, valorDistinto(c.columna)) << c.columna;
        EXPECT_EQ(DatosParqueadero.Cupo, -123);
        EXPECT_EQ(DatosParqueadero.IVA, 7);
        EXPECT_EQ(DatosTicket.IVA, 7);
        EXPECT_EQ(DatosParqueadero.DigitosFactura, 9);
        valor = primero;
        for (const ColumnaBandera& b : kBanderas) {
            EXPECT_EQ(DatosParqueadero.*b.campo, valor) << b.columna;
            valor = !valor;
        }
    }
}

TEST_F(PruebaParqueadero, NuloOpcionalDejaElValorEnMemoria) {
    QStringList nulos;
    for (const ColumnaTexto& c : kTextosOpcionales)
        nulos << QLatin1String(c.columna) + QLatin1String(" = Null");
    nulos << QStringLiteral("IVA = Null, DigitosFactura = Null");
    cambiarFila(nulos.join(QLatin1String(", ")));

    CargarDatosParqueadero();
    for (const ColumnaTexto& c : kTextosOpcionales)
        EXPECT_TRUE((DatosParqueadero.*c.campo).isEmpty()) << c.columna;
    EXPECT_EQ(DatosParqueadero.IVA, 0);
    EXPECT_EQ(DatosTicket.IVA, 0);
    EXPECT_EQ(DatosParqueadero.DigitosFactura, 0);
    EXPECT_FALSE(DatosParqueadero.NombreParqueadero.isEmpty());

    for (const ColumnaTexto& c : kTextosOpcionales)
        DatosParqueadero.*c.campo = QStringLiteral("previo");
    DatosParqueadero.IVA = 16;
    DatosParqueadero.DigitosFactura = 6;
    DatosTicket.IVA = 5;
    CargarDatosParqueadero();
    for (const ColumnaTexto& c : kTextosOpcionales)
        EXPECT_EQ(DatosParqueadero.*c.campo, QStringLiteral("previo")) << c.columna;
    EXPECT_EQ(DatosParqueadero.IVA, 16);
    EXPECT_EQ(DatosTicket.IVA, 5);
    EXPECT_EQ(DatosParqueadero.DigitosFactura, 6);
}

TEST_F(PruebaParqueadero, IvaConValorFijaTambienElDelTicket) {
    cambiarFila(QStringLiteral("IVA = 19"));
    DatosTicket.IVA = 5;
    CargarDatosParqueadero();
    EXPECT_EQ(DatosParqueadero.IVA, 19);
    EXPECT_EQ(DatosTicket.IVA, 19);
}

TEST_F(PruebaParqueadero, NuloNoPermitidoEsFilaDanadaYNoTocaLaMemoria) {
    // Each required column with the value that repairs it afterwards.
    QVector<QPair<QString, QString>> columnas{{QStringLiteral("Cupo"), QStringLiteral("50")}};
    for (const ColumnaTexto& c : kTextosObligatorios)
        columnas.append({QLatin1String(c.columna), Texto(leerColumna(c.columna))});
    for (const ColumnaBandera& b : kBanderas)
        columnas.append({QLatin1String(b.columna), QStringLiteral("True")});
    // A later column changes too, so a partial update of memory would show.
    cambiarFila(QStringLiteral("IVA = 200, Tfno = 'nuevo'"));

    for (const auto& [columna, reparacion] : columnas) {
        SCOPED_TRACE(columna.toStdString());
        cambiarFila(columna + QLatin1String(" = Null"));
        marcarMemoria();
        try {
            CargarDatosParqueadero();
            ADD_FAILURE() << "a Null in a required column must not load";
        } catch (const ErrorBD& e) {
            EXPECT_TRUE(e.mensaje.contains(columna)) << e.mensaje.toStdString();
        }
        esperarMemoriaMarcada();
        CerrarConexion();
        cambiarFila(columna + QLatin1String(" = ") + reparacion);
    }
    CargarDatosParqueadero();
    EXPECT_EQ(DatosParqueadero.IVA, 200);
    EXPECT_EQ(DatosParqueadero.Tfno, QStringLiteral("nuevo"));
}

TEST_F(PruebaParqueadero, NumerosFueraDeRango) {
    const struct {
        const char* columna;
        const char* valor;
        bool valido;
        int esperado;
    } casos[] = {
        {"Cupo", "32767", true, 32767},
        {"Cupo", "-32768", true, -32768},
        {"Cupo", "32768", false, 0},
        {"Cupo", "-32769", false, 0},
        {"Cupo", "70000", false, 0},
        {"Cupo", "12.6", true, 13},
        {"Cupo", "12.5", true, 12},
        {"IVA", "0", true, 0},
        {"IVA", "255", true, 255},
        {"IVA", "256", false, 0},
        {"IVA", "-1", false, 0},
        {"DigitosFactura", "255", true, 255},
        {"DigitosFactura", "256", false, 0},
        {"DigitosFactura", "-1", false, 0},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.columna) + " = " + c.valor);
        cambiarFila(QStringLiteral("Cupo = 10, IVA = 10, DigitosFactura = 10"));
        cambiarFila(
            QStringLiteral("%1 = %2").arg(QLatin1String(c.columna), QLatin1String(c.valor)));
        marcarMemoria();
        if (!c.valido) {
            try {
                CargarDatosParqueadero();
                ADD_FAILURE() << "an out-of-range value must not load";
            } catch (const ErrorBD& e) {
                EXPECT_TRUE(e.mensaje.contains(QLatin1String(c.columna)))
                    << e.mensaje.toStdString();
            }
            esperarMemoriaMarcada();
            CerrarConexion();
            continue;
        }
        ASSERT_NO_THROW(CargarDatosParqueadero());
        const QString columna = QLatin1String(c.columna);
        const int leido = columna == QLatin1String("Cupo")  ? DatosParqueadero.Cupo
                          : columna == QLatin1String("IVA") ? DatosParqueadero.IVA
                                                            : DatosParqueadero.DigitosFactura;
        EXPECT_EQ(leido, c.esperado);
    }
}

TEST_F(PruebaParqueadero, SinFilaDeAjustesLanzaUnErrorClaro) {
    AbrirConexion();
    Recordset rs;
    rs.Open(QStringLiteral("DELETE FROM DatosParqueadero"));
    CerrarConexion();
    marcarMemoria();
    try {
        CargarDatosParqueadero();
        ADD_FAILURE() << "a missing settings row must not load";
    } catch (const ErrorBD& e) {
        EXPECT_TRUE(e.mensaje.contains(QLatin1String("DatosParqueadero")))
            << e.mensaje.toStdString();
    }
    esperarMemoriaMarcada();
    EXPECT_EQ(Conexion.State(), 0);
}
