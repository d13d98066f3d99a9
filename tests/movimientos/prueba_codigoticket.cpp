#include "movimientos/codigoticket.h"
#include "principal/registros.h"
#include "principal/crearbd.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"
#include "tests/comun/servidor_prueba.h"

#include <QSet>

namespace {

const QByteArray kClave = QByteArray::fromHex("8f1e2d3c4b5a69788796a5b4c3d2e1f00112233445566778"
                                              "899aabbccddeeff0");

// Codes of keys from the first to the largest that fits, under two installations' keys.
TEST(CodigoTicket, IdaYVueltaYCadaErrorDeUnDigitoOVecinosRechazado) {
    const QByteArray otraClave = QByteArray(32, '\x5a');
    int probados = 0;
    for (const QByteArray& clave : {kClave, otraClave})
        for (const int64_t id : {int64_t{1}, int64_t{42}, int64_t{1000001}, int64_t{2147483647},
                                 int64_t{9999999999}}) {
            SCOPED_TRACE(id);
            const QString codigo = CodigoTicket(id, clave);
            ASSERT_EQ(codigo.size(), kLargoCodigoTicket);
            EXPECT_EQ(EntradaDeCodigo(codigo, clave), id);
            EXPECT_EQ(EntradaDeCodigo(codigo, clave == kClave ? otraClave : kClave), std::nullopt);
            for (int i = 0; i < codigo.size(); ++i) {
                for (char d = '0'; d <= '9'; ++d) {
                    QString cambiado = codigo;
                    cambiado[i] = QLatin1Char(d);
                    if (cambiado == codigo)
                        continue;
                    EXPECT_EQ(EntradaDeCodigo(cambiado, clave), std::nullopt)
                        << qPrintable(cambiado);
                    ++probados;
                }
                if (i + 1 < codigo.size() && codigo[i] != codigo[i + 1]) {
                    QString cruzado = codigo;
                    std::swap(cruzado[i], cruzado[i + 1]);
                    EXPECT_EQ(EntradaDeCodigo(cruzado, clave), std::nullopt) << qPrintable(cruzado);
                    ++probados;
                }
            }
        }
    EXPECT_GT(probados, 2 * 5 * 20 * 9);
    // A key too large for its digits, or no installation key, gives no code at all.
    EXPECT_EQ(CodigoTicket(10000000000, kClave), "");
    EXPECT_EQ(CodigoTicket(-1, kClave), "");
    EXPECT_EQ(CodigoTicket(7, QByteArray()), "");
}

// A made-up code with a right check digit but no knowledge of the key, and anything that is
// not exactly the code's digits, is refused.
TEST(CodigoTicket, FalsificadoOMalFormadoRechazado) {
    const QString valido = CodigoTicket(1234, kClave);
    const QString cuerpo = valido.left(kDigitosClave) + "000000000";
    const QString falsificado = cuerpo + QString::number(DigitoDamm(cuerpo));
    ASSERT_EQ(DigitoDamm(falsificado), 0);
    for (const QString& codigo :
         {falsificado, valido.left(19), valido + "0", " " + valido, valido.left(19) + "A",
          QString(), QString("00000000000000000000"), QString::fromUtf8("١٢٣٤٥٦٧٨٩٠١٢٣٤٥٦٧٨٩٠")})
        EXPECT_EQ(EntradaDeCodigo(codigo, kClave), std::nullopt) << qPrintable(codigo);
    EXPECT_EQ(EntradaDeCodigo(valido, QByteArray()), std::nullopt);
}

using PruebaClaveTickets = PruebaMotores;
VIALTOR_EN_AMBOS_MOTORES(PruebaClaveTickets);

// Each new database draws its own key of at least 32 bytes; it is never written to the log.
TEST_P(PruebaClaveTickets, CadaInstalacionSuClave) {
    crearBaseDatos();
    const QByteArray primera = ClaveTickets();
    EXPECT_GE(primera.size(), 32);
    EXPECT_EQ(ClaveTickets(), primera);
    Conexion.descartar();
    if (servidor) {
        ConfigInicio.Servidor = ServidorPrueba::instancia().baseVacia();
        CrearBaseDatosServidor(ConfigInicio.Servidor, "admin", "admin");
    } else {
        carpetas.programa += "/otra";
        crearBaseDatos();
    }
    const QByteArray segunda = ClaveTickets();
    EXPECT_GE(segunda.size(), 32);
    EXPECT_NE(segunda, primera);
    EXPECT_EQ(EntradaDeCodigo(CodigoTicket(5, primera), segunda), std::nullopt);
    for (const QString& linea : lineasSucesos())
        EXPECT_FALSE(linea.contains(segunda.toHex(), Qt::CaseInsensitive));
}

} // namespace
