#include "acceso/crearbd.h"
#include "bd/conexion.h"
#include "movimientos/codigoticket.h"
#include "principal/registros.h"
#include "tests/comun/dobles.h"
#include "tests/comun/servidor_prueba.h"

namespace {

// Every single changed digit and every swap of two different neighbours of a valid code is
// refused, under two installations' keys and keys up to the largest that fits; so are a code
// of the other installation, a made-up one with a right check digit, and malformed ones.
TEST(CodigoTicket, SoloElCodigoExactoDeLaInstalacionSeAcepta) {
    const QByteArray claves[] = {QByteArray(32, '\x5a'), QByteArray::fromHex("8f1e2d3c4b5a6978")};
    for (const QByteArray& clave : claves)
        for (const int64_t id : {int64_t{1}, int64_t{1000001}, int64_t{9999999999}}) {
            const QString codigo = CodigoTicket(id, clave);
            ASSERT_EQ(codigo.size(), kLargoCodigoTicket);
            EXPECT_EQ(EntradaDeCodigo(codigo, clave), id);
            EXPECT_EQ(EntradaDeCodigo(codigo, claves[clave == claves[0]]), std::nullopt);
            for (int i = 0; i < codigo.size(); ++i) {
                QStringList malos;
                for (char d = '0'; d <= '9'; ++d)
                    malos << QString(codigo).replace(i, 1, QChar(d));
                if (i + 1 < codigo.size())
                    malos << codigo.left(i) + codigo[i + 1] + codigo[i] + codigo.mid(i + 2);
                for (const QString& malo : malos)
                    EXPECT_TRUE(malo == codigo || !EntradaDeCodigo(malo, clave))
                        << qPrintable(malo);
            }
        }
    const QString valido = CodigoTicket(1234, claves[0]), cuerpo = valido.left(10) + "000000000";
    for (const QString& malo : {cuerpo + QString::number(DigitoDamm(cuerpo)), valido.left(19),
                                valido + "0", " " + valido, QString()})
        EXPECT_EQ(EntradaDeCodigo(malo, claves[0]), std::nullopt) << qPrintable(malo);
    EXPECT_EQ(CodigoTicket(10000000000, claves[0]) + CodigoTicket(7, QByteArray()), "");
    // Any text is safe: full-width, Arabic-Indic and other characters are no digits here.
    for (const QString& texto : {QString("12a"), QString::fromUtf8("１２"),
                                 QString::fromUtf8("١٢"), QString("/"), QString(":")})
        EXPECT_EQ(DigitoDamm(texto), -1) << qPrintable(texto);
}

using PruebaClaveTickets = PruebaMotores;
VIALTOR_EN_AMBOS_MOTORES(PruebaClaveTickets);

// Each new database draws its own key; it reaches no log.
TEST_P(PruebaClaveTickets, CadaInstalacionSuClave) {
    crearBaseDatos();
    const QByteArray primera = ClaveTickets();
    Conexion.descartar();
    if (servidor)
        CrearBaseDatosServidor(ConfigInicio.Servidor = ServidorPrueba::instancia().baseVacia(),
                               "admin", "admin");
    else
        CrearBaseDatos(ConfigInicio.CarpetaDatos = carpetas.programa + "/otra", "admin", "admin");
    const QByteArray segunda = ClaveTickets();
    EXPECT_GE(qMin(primera.size(), segunda.size()), 32);
    EXPECT_NE(segunda, primera);
    EXPECT_FALSE(lineasSucesos().join("").contains(segunda.toHex(), Qt::CaseInsensitive));
}

} // namespace
