#include "principal/conexion.h"
#include "principal/parqueadero.h"
#include "principal/recordset.h"
#include "principal/registros.h"
#include "principal/sql.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"

#include <QStringList>
#include <string>

namespace {

struct ColumnaTexto {
    const char* columna;
    QString AjustesParqueadero::*campo;
    bool obligatoria;
};

const ColumnaTexto kTextos[] = {
    {"NombreParqueadero", &AjustesParqueadero::NombreParqueadero, true},
    {"Identificacion", &AjustesParqueadero::Identificacion, true},
    {"Direccion", &AjustesParqueadero::Direccion, true},
    {"SimboloMoneda", &AjustesParqueadero::SimboloMoneda, true},
    {"NombreDocumento", &AjustesParqueadero::NombreDocumento, true},
    {"NombreDocumentoEntrada", &AjustesParqueadero::NombreDocumentoEntrada, true},
    {"OtroNombre", &AjustesParqueadero::OtroNombre, false},
    {"Tfno", &AjustesParqueadero::Tfno, false},
    {"CabeceraEntrada", &AjustesParqueadero::CabeceraEntrada, false},
    {"CabeceraSalida", &AjustesParqueadero::CabeceraSalida, false},
    {"PieEntrada", &AjustesParqueadero::PieEntrada, false},
    {"PieSalida", &AjustesParqueadero::PieSalida, false},
    {"PrefijoFactura", &AjustesParqueadero::PrefijoFactura, false},
    {"BaseTexto", &AjustesParqueadero::BaseTexto, false},
    {"ValorIVATexto", &AjustesParqueadero::ValorIVATexto, false},
    {"ValorCobradoTexto", &AjustesParqueadero::ValorCobradoTexto, false},
    {"CajeroTexto", &AjustesParqueadero::CajeroTexto, false},
    {"CabeceraResumenVentas", &AjustesParqueadero::CabeceraResumenVentas, false},
    {"PieResumenVentas", &AjustesParqueadero::PieResumenVentas, false},
    {"CabeceraEfectuarCierre", &AjustesParqueadero::CabeceraEfectuarCierre, false},
    {"PieEfectuarCierre", &AjustesParqueadero::PieEfectuarCierre, false},
};

// Flags may never be Null.
const std::pair<const char*, bool AjustesParqueadero::*> kBanderas[] = {
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

// What a partial load would change, as one text.
QString memoria() {
    const AjustesParqueadero& d = DatosParqueadero;
    return QStringList{d.NombreParqueadero,
                       d.Tfno,
                       QString::number(d.Cupo),
                       QString::number(d.IVA),
                       QString::number(d.ModificarValorSalida),
                       QString::number(DatosTicket.IVA)}
        .join('|');
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
        Ejecutar(QStringLiteral("UPDATE DatosParqueadero SET ") + asignaciones);
    }
    // The load must refuse the row, name the column and leave memory as it was.
    static void esperarFilaDanada(const QString& columna) {
        DatosParqueadero.NombreParqueadero = "ANTERIOR";
        DatosParqueadero.ModificarValorSalida = true;
        DatosTicket.IVA = 4;
        const QString antes = memoria();
        try {
            CargarDatosParqueadero();
            ADD_FAILURE() << "a damaged row must not load";
        } catch (const ErrorBD& e) {
            EXPECT_TRUE(e.mensaje.contains(columna)) << e.mensaje.toStdString();
        }
        EXPECT_EQ(memoria(), antes);
        CerrarConexion();
    }
};

// Loads with the optional columns Null on empty memory, with every column set, and with the
// optional columns Null again: a Null leaves the value in memory as it was.
TEST_F(PruebaParqueadero, CadaColumnaVaASuAjusteYUnNuloOpcionalLoDeja) {
    QStringList valores{"Cupo = -123, IVA = 7, DigitosFactura = 9"};
    QStringList nulos{"IVA = Null, DigitosFactura = Null"};
    for (const ColumnaTexto& c : kTextos) {
        valores << QString(c.columna) + " = " + Texto(valorDistinto(c.columna));
        if (!c.obligatoria)
            nulos << QString(c.columna) + " = Null";
    }
    cambiarFila(nulos.join(", "));
    CargarDatosParqueadero();
    EXPECT_EQ(Conexion.State(), 0) << "the connection is closed after the load";
    for (const ColumnaTexto& c : kTextos)
        EXPECT_TRUE(c.obligatoria || (DatosParqueadero.*c.campo).isEmpty()) << c.columna;
    EXPECT_EQ(DatosParqueadero.IVA + DatosParqueadero.DigitosFactura + DatosTicket.IVA, 0);

    cambiarFila(valores.join(", "));
    // Two opposite patterns of flags, so no flag can pass by a constant.
    for (const bool primero : {true, false}) {
        QStringList banderas;
        bool valor = primero;
        for (const auto& [columna, campo] : kBanderas) {
            banderas << QString(columna) + (valor ? " = True" : " = False");
            valor = !valor;
        }
        cambiarFila(banderas.join(", "));
        CargarDatosParqueadero();
        for (const ColumnaTexto& c : kTextos)
            EXPECT_EQ(DatosParqueadero.*c.campo, valorDistinto(c.columna)) << c.columna;
        EXPECT_EQ(DatosParqueadero.Cupo, -123);
        EXPECT_EQ(DatosParqueadero.IVA, 7);
        EXPECT_EQ(DatosTicket.IVA, 7);
        EXPECT_EQ(DatosParqueadero.DigitosFactura, 9);
        valor = primero;
        for (const auto& [columna, campo] : kBanderas) {
            EXPECT_EQ(DatosParqueadero.*campo, valor) << columna;
            valor = !valor;
        }
    }

    cambiarFila(nulos.join(", "));
    DatosTicket.IVA = 5;
    CargarDatosParqueadero();
    for (const ColumnaTexto& c : kTextos)
        EXPECT_EQ(DatosParqueadero.*c.campo, valorDistinto(c.columna)) << c.columna;
    EXPECT_EQ(DatosParqueadero.IVA, 7);
    EXPECT_EQ(DatosParqueadero.DigitosFactura, 9);
    EXPECT_EQ(DatosTicket.IVA, 5);
}

TEST_F(PruebaParqueadero, FilaDanadaNombraLaColumnaYNoTocaLaMemoria) {
    // A sound row that differs from memory in every column memoria() shows.
    QStringList sana{"Cupo = 10, IVA = 10, DigitosFactura = 10, Tfno = 'nuevo'"};
    QStringList columnas{"Cupo"};
    for (const ColumnaTexto& c : kTextos)
        if (c.obligatoria) {
            sana << QString(c.columna) + " = 'sano'";
            columnas << c.columna;
        }
    for (const auto& [columna, campo] : kBanderas) {
        sana << QString(columna) + " = False";
        columnas << columna;
    }
    QStringList danos;
    for (const QString& columna : columnas)
        danos << columna + " = Null";
    danos += QStringList{"Cupo = 32768", "Cupo = -32769", "IVA = 256", "IVA = -1",
                         "DigitosFactura = 256"};
    for (const QString& dano : danos) {
        SCOPED_TRACE(dano.toStdString());
        cambiarFila(sana.join(", "));
        cambiarFila(dano);
        esperarFilaDanada(dano.section(QLatin1Char(' '), 0, 0));
    }
    cambiarFila(sana.join(", "));
    CargarDatosParqueadero();
    EXPECT_EQ(DatosParqueadero.Tfno, "nuevo");
}

TEST_F(PruebaParqueadero, NumerosEnLosBordesDelRango) {
    const std::pair<const char*, int> casos[] = {
        {"Cupo = 32767", 32767}, {"Cupo = -32768", -32768},     {"Cupo = 12.5", 12},
        {"IVA = 255", 255},      {"DigitosFactura = 255", 255},
    };
    for (const auto& [asignacion, esperado] : casos) {
        SCOPED_TRACE(asignacion);
        cambiarFila("Cupo = 1, IVA = 1, DigitosFactura = 1");
        cambiarFila(QLatin1String(asignacion));
        ASSERT_NO_THROW(CargarDatosParqueadero());
        // The other two stay at 1.
        EXPECT_EQ(DatosParqueadero.Cupo + DatosParqueadero.IVA + DatosParqueadero.DigitosFactura,
                  esperado + 2);
    }
}

TEST_F(PruebaParqueadero, SinFilaDeAjustesLanzaUnErrorClaro) {
    Ejecutar("DELETE FROM DatosParqueadero");
    esperarFilaDanada("DatosParqueadero");
}
