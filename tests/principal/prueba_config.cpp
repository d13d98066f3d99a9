#include "acceso/respaldo.h"
#include "principal/configinicio.h"
#include "principal/registros.h"
#include "principal/sucesos.h"
#include "tests/comun/dobles.h"

#include <QDir>
#include <QFile>

namespace {

const char* const kInicio = "Configuración de Inicio: ";
const char* const kNoExiste = "El archivo de configuración no existe";
const char* const kSinPunto =
    "El archivo de configuración es incorrecto - El punto de control no está asignado";
const QString kPorDefecto = "||1|1|1|||||1";

// ConfigInicio's ten fields in file order, flags as 1 or 0.
QString campos() {
    const RegistroConfigInicio& c = ConfigInicio;
    auto b = [](bool v) { return QString::number(v); };
    return QStringList{c.CarpetaDatos,       c.PuntoControl,       b(c.RespaldoAutomatico),
                       b(c.RegistroSucesos), b(c.AvisoTamanoBD),   c.TamanoAvisoDesde,
                       c.TamanoAvisoHasta,   c.TamanoAvisoUrgente, c.TamanoLetraPlaca,
                       b(c.PlacaNegrita)}
        .join('|');
}

const ResultadoConfig kBien = ResultadoConfig::Correcta;
const ResultadoConfig kNoHay = ResultadoConfig::NoExiste;

struct CasoConfig {
    QByteArray contenido; // '@' stands for the test's data folder
    const char* elemento; // the item as logged, '@' likewise; nullptr: the whole content
    const char* campos;   // ConfigInicio afterwards, as campos() writes it; "" the defaults
    ResultadoConfig resultado = kBien;
};

const CasoConfig kCasos[] = {
    {"@;ENTRADA1;1;1;0;;;;14;1", nullptr, "@|ENTRADA1|1|1|0||||14|1"},
    {"@;;1;1;1", nullptr, "@||1|1|1|||||1", ResultadoConfig::SinPuntoControl},
    // With the log off the provisional point is cleared all the same.
    {"@;PROBLEMACFG;1;0", nullptr, "@||1|0|1|||||1", ResultadoConfig::SinPuntoControl},
    {"@;CAJA,2;1", "@;CAJA", "@|CAJA|1|1|1|||||1"},
    // The last digit of a flag counts; any digit but 0 is true; anything else keeps the default.
    {"@;CAJA;10;01;1", nullptr, "@|CAJA|0|1|1|||||1"},
    {"@;CAJA;07;0;9", nullptr, "@|CAJA|1|0|1|||||1"},
    {"@;CAJA;x;;x;;;;;x", nullptr, "@|CAJA|1|1|1|||||1"},
    // Blanks stay; fields after the tenth are left alone.
    {"@;CAJA;1;1;1; 100 ;2 00;abc;12;0;1;1", nullptr, "@|CAJA|1|1|1| 100 |2 00|abc|12|0"},
    {"@ ; CAJA", nullptr, "@ | CAJA|1|1|1|||||1"},
    {" \t \"@;CAJA,2;0\" ,otro", "@;CAJA,2;0", "@|CAJA,2|0|1|1|||||1"},
    {"@;CAJA\nX;OTRA", "@;CAJA", "@|CAJA|1|1|1|||||1"},
    {"@\x80\xF1;CA\xD1"
     "A",
     "@€ñ;CAÑA", "@€ñ|CAÑA|1|1|1|||||1"},
    {"\r\n@;CAJA", "", "", kNoHay},
    {",@;CAJA", "", "", kNoHay}};

} // namespace

class PruebaConfig : public PruebaVialtor {
protected:
    // '@' stands for the data folder, '!' for a folder that does not exist.
    QString conDatos(QString texto) const {
        return texto.replace('@', carpeta.path() + "/datos")
            .replace('!', carpeta.path() + "/no_existe");
    }
    void escribirCfg(const QString& carpetaCfg, const char* contenido) {
        QFile archivo(carpetaCfg + "/vialtor.cfg");
        ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
        archivo.write(QByteArray(contenido)
                          .replace('@', conDatos("@").toLocal8Bit())
                          .replace('!', conDatos("!").toLocal8Bit()));
    }
    // The one box of a failed start, taken away.
    void esperarCaja(const QString& texto) {
        ASSERT_EQ(dialogos.cajas.size(), 1);
        const CajaMostrada c = dialogos.cajas.takeFirst();
        EXPECT_TRUE(c.texto == texto && c.titulo == "Error de configuración" &&
                    c.icono == Icono::Exclamacion && c.botones == Botones(Boton::Aceptar))
            << c.texto.toStdString();
    }
};

TEST_F(PruebaConfig, LineasDeConfiguracion) {
    for (const CasoConfig& c : kCasos) {
        SCOPED_TRACE(c.contenido.toStdString());
        const QString esperados = *c.campos ? conDatos(c.campos) : kPorDefecto;
        if (*c.campos)
            QDir().mkpath(esperados.section('|', 0, 0));
        escribirCfg(carpetas.trabajo, c.contenido.constData());

        EXPECT_EQ(LeerConfigInicio(), c.resultado);
        EXPECT_EQ(campos(), esperados);
        EXPECT_TRUE(MensajeSuceso.isEmpty());
        // The item read, then what went wrong; nothing with the log off.
        QStringList lineas{kInicio + conDatos(c.elemento ? c.elemento : c.contenido.constData())};
        if (c.resultado != kBien) {
            const bool noHay = c.resultado == kNoHay;
            lineas << (noHay ? kNoExiste + QString(" - Error de configuración") : kSinPunto);
            esperarCaja(noHay ? kNoExiste : kSinPunto);
        }
        EXPECT_TRUE(dialogos.cajas.isEmpty());
        EXPECT_EQ(mensajes(), ConfigInicio.RegistroSucesos ? lineas : QStringList());
        QDir(CarpetaSucesos()).removeRecursively();
    }
}

// A file beside the program does not count; a data folder that is not there, or takes no
// writes (not even root's), makes the first log line fail, and the box names the folder and
// what cannot be done there. With the log off it is found where it is used.
TEST_F(PruebaConfig, SoloElArchivoDeLaCarpetaDeTrabajoYSuCarpetaDeDatos) {
    escribirCfg(carpetas.programa, "@;CAJA");
    ConfigInicio.PuntoControl = "VIEJO";
    EXPECT_EQ(LeerConfigInicio(), kNoHay);
    EXPECT_EQ(campos(), kPorDefecto);
    // No user yet, so fields 4 to 7 are empty.
    const QString inicio = "06-12-2026;10:00:00;PROBLEMACFG;;;;;";
    EXPECT_EQ(lineasSucesos(),
              QStringList({inicio + kInicio, inicio + kNoExiste + " - Error de configuración"}));
    esperarCaja(kNoExiste);
    const QString queNo = " no se pueden guardar el registro de sucesos, los respaldos ni la "
                          "base de datos. Revise ";
    const std::pair<const char*, QString> casos[] = {
        {"!;CAJA;1;1", "La carpeta de datos no existe: " + conDatos("!") + "\r\n\r\nSin ella" +
                           queNo + "la carpeta de datos en vialtor.cfg."},
        {"/proc;CAJA", "No se puede escribir en la carpeta de datos: /proc\r\n\r\nAllí" + queNo +
                           "los permisos de la carpeta."},
        {"!;CAJA;1;0", ""}};
    for (const auto& [linea, caja] : casos) {
        escribirCfg(carpetas.trabajo, linea);
        EXPECT_EQ(LeerConfigInicio(),
                  caja.isEmpty() ? kBien : ResultadoConfig::CarpetaDatosInaccesible);
        if (!caja.isEmpty())
            esperarCaja(caja);
        EXPECT_TRUE(dialogos.cajas.isEmpty());
        EXPECT_FALSE(QDir(conDatos("!")).exists());
    }
}

// A new station's line: warnings on, yet a database of a lot's usual size never warns. Inside the
// range to review and above the urgent size, the range wins.
TEST_F(PruebaConfig, UnaEstacionNuevaSoloAvisaDeUnaBaseGrande) {
    EXPECT_EQ(EvaluarTamano(180, "100", "200", "150"), AvisoTamano::Revisar);
    for (const bool servidor : {false, true}) {
        ConfigInicio = {};
        AplicarLineaConfig(LineaConfigNueva("/datos", "CAJA1", servidor));
        EXPECT_EQ(campos().section('|', 0, 4), "/datos|CAJA1|1|1|1");
        const auto aviso = [](double tamano) {
            return EvaluarTamano(static_cast<qint64>(tamano), ConfigInicio.TamanoAvisoDesde,
                                 ConfigInicio.TamanoAvisoHasta, ConfigInicio.TamanoAvisoUrgente);
        };
        const double gb = servidor ? 1e10 : 1e9;
        EXPECT_EQ(QVector<AvisoTamano>(
                      {aviso(100 * 1024), aviso(gb - 1), aviso(1.5 * gb), aviso(2 * gb)}),
                  QVector<AvisoTamano>({AvisoTamano::Ninguno, AvisoTamano::Ninguno,
                                        AvisoTamano::Revisar, AvisoTamano::Urgente}))
            << servidor;
    }
}
