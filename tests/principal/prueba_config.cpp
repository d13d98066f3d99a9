#include "configinicio.h"
#include "dobles.h"
#include "registros.h"
#include "sucesos.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

namespace {

const char* const kInicio = "Configuración de Inicio: ";
const char* const kNoExiste = "El archivo de configuración no existe";
const char* const kNoExisteSuceso =
    "El archivo de configuración no existe - Error de configuración";
const char* const kSinPunto =
    "El archivo de configuración es incorrecto - El punto de control no está asignado";

QString u8(const char* texto) {
    return QString::fromUtf8(texto);
}

// The message of a log line: everything after the seventh separator.
QString mensajeDe(const QString& linea) {
    return linea.section(QLatin1Char(';'), 7);
}

struct CasoConfig {
    const char* nombre;
    QByteArray contenido; // '@' stands for the test's data folder
    const char* elemento; // the item as logged; '@' likewise
    ResultadoConfig resultado;
    const char* carpetaDatos;
    const char* puntoControl;
    bool respaldo = true;
    bool registro = true;
    bool aviso = true;
    const char* desde = "";
    const char* hasta = "";
    const char* urgente = "";
    const char* letra = "";
    bool negrita = true;
};

const ResultadoConfig kBien = ResultadoConfig::Correcta;
const ResultadoConfig kNoHay = ResultadoConfig::NoExiste;
const ResultadoConfig kSinPc = ResultadoConfig::SinPuntoControl;

const CasoConfig kCasos[] = {
    {"two fields", "@;CAJA2", "@;CAJA2", kBien, "@", "CAJA2"},
    {"full line", "@;ENTRADA1;1;1;0;;;;14;1", "@;ENTRADA1;1;1;0;;;;14;1", kBien, "@", "ENTRADA1",
     true, true, false, "", "", "", "14", true},
    {"empty control point", "@;;1;1;1", "@;;1;1;1", kSinPc, "@", ""},
    {"comma cuts the item", "@;CAJA,2;1", "@;CAJA", kBien, "@", "CAJA"},
    {"last digit of a flag counts", "@;CAJA;10;01;1", "@;CAJA;10;01;1", kBien, "@", "CAJA", false,
     true, true},
    {"any digit but 0 is true", "@;CAJA;07;0;9", "@;CAJA;07;0;9", kBien, "@", "CAJA", true, false,
     true},
    {"flag x or empty keeps the default", "@;CAJA;x;;x;;;;;x", "@;CAJA;x;;x;;;;;x", kBien, "@",
     "CAJA"},
    {"every switch off", "@;CAJA;0;0;0;;;;;0", "@;CAJA;0;0;0;;;;;0", kBien, "@", "CAJA", false,
     false, false, "", "", "", "", false},
    {"thresholds kept as written", "@;CAJA;1;1;1; 100 ;2 00;abc;12;0",
     "@;CAJA;1;1;1; 100 ;2 00;abc;12;0", kBien, "@", "CAJA", true, true, true, " 100 ", "2 00",
     "abc", "12", false},
    {"blanks stay in values", "@ ; CAJA", "@ ; CAJA", kBien, "@ ", " CAJA"},
    {"quoted item", "  \"@;CAJA,2;0\" ,otro", "@;CAJA,2;0", kBien, "@", "CAJA,2", false},
    {"leading blanks skipped", " \t @;CAJA", "@;CAJA", kBien, "@", "CAJA"},
    {"only the first line (CRLF)", "@;CAJA\r\n@;OTRA;0;0;0\r\n", "@;CAJA", kBien, "@", "CAJA"},
    {"only the first line (LF)", "@;CAJA\nX;OTRA", "@;CAJA", kBien, "@", "CAJA"},
    {"fields after the tenth ignored", "@;CAJA;1;1;1;a;b;c;d;1;0;0", "@;CAJA;1;1;1;a;b;c;d;1;0;0",
     kBien, "@", "CAJA", true, true, true, "a", "b", "c", "d", true},
    {"Windows-1252 bytes",
     "@\x80\xF1;CA\xD1"
     "A",
     "@€ñ;CAÑA", kBien, "@€ñ", "CAÑA"},
    {"control point PROBLEMACFG", "@;PROBLEMACFG", "@;PROBLEMACFG", kSinPc, "@", ""},
    {"empty file", "", "", kNoHay, "", ""},
    {"empty first line", "\r\n@;CAJA", "", kNoHay, "", ""},
    {"comma first", ",@;CAJA", "", kNoHay, "", ""},
    {"blanks only", "   ", "", kNoHay, "", ""},
};

} // namespace

class PruebaConfig : public PruebaVialtor {
protected:
    QString datos() const { return carpeta.path() + QLatin1String("/datos"); }
    QString conDatos(const char* texto) const {
        return u8(texto).replace(QLatin1Char('@'), datos());
    }
    void escribirCfg(const QString& carpetaCfg, QByteArray contenido) {
        contenido.replace('@', datos().toLocal8Bit());
        QFile archivo(carpetaCfg + QLatin1String("/vialtor.cfg"));
        ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
        archivo.write(contenido);
    }
    void esperarCaja(const char* texto) const {
        ASSERT_EQ(dialogos.cajas.size(), 1);
        const CajaMostrada& caja = dialogos.cajas[0];
        EXPECT_EQ(caja.texto, u8(texto));
        EXPECT_EQ(caja.titulo, u8("Error de configuración"));
        EXPECT_EQ(caja.icono, QMessageBox::Warning);
        EXPECT_EQ(caja.botones, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
};

TEST_F(PruebaConfig, LineasDeConfiguracion) {
    for (const CasoConfig& c : kCasos) {
        SCOPED_TRACE(c.nombre);
        ConfigInicio = {};
        dialogos.cajas.clear();
        if (*c.carpetaDatos)
            QDir().mkpath(conDatos(c.carpetaDatos));
        escribirCfg(carpetas.trabajo, c.contenido);

        EXPECT_EQ(LeerConfigInicio(), c.resultado);
        EXPECT_EQ(ConfigInicio.CarpetaDatos, conDatos(c.carpetaDatos));
        EXPECT_EQ(ConfigInicio.PuntoControl, u8(c.puntoControl));
        EXPECT_EQ(ConfigInicio.RespaldoAutomatico, c.respaldo);
        EXPECT_EQ(ConfigInicio.RegistroSucesos, c.registro);
        EXPECT_EQ(ConfigInicio.AvisoTamanoBD, c.aviso);
        EXPECT_EQ(ConfigInicio.TamanoAvisoDesde, u8(c.desde));
        EXPECT_EQ(ConfigInicio.TamanoAvisoHasta, u8(c.hasta));
        EXPECT_EQ(ConfigInicio.TamanoAvisoUrgente, u8(c.urgente));
        EXPECT_EQ(ConfigInicio.TamanoLetraPlaca, u8(c.letra));
        EXPECT_EQ(ConfigInicio.PlacaNegrita, c.negrita);
        EXPECT_EQ(dialogos.cajas.size(), c.resultado == kBien ? 0 : 1);

        const QStringList lineas = lineasSucesos();
        if (c.registro) {
            ASSERT_EQ(lineas.size(), c.resultado == kBien ? 1 : 2);
            EXPECT_EQ(mensajeDe(lineas[0]), u8(kInicio) + conDatos(c.elemento));
        } else {
            EXPECT_TRUE(lineas.isEmpty());
        }
        QDir(CarpetaSucesos()).removeRecursively();
    }
}

TEST_F(PruebaConfig, LineaDeInicioCompleta) {
    QDir().mkpath(datos());
    escribirCfg(carpetas.trabajo, "@;CAJA2;1;1;1;;;;11");
    ASSERT_EQ(LeerConfigInicio(), ResultadoConfig::Correcta);
    EXPECT_EQ(lineasSucesos(), QStringList{u8("06-12-2026;10:00:00;CAJA2;;;;;") + u8(kInicio) +
                                           conDatos("@;CAJA2;1;1;1;;;;11")});
    EXPECT_TRUE(QFile::exists(datos() + QLatin1String("/sucesos/20261206_CAJA2.hap")));
    EXPECT_TRUE(dialogos.cajas.isEmpty());
    EXPECT_TRUE(MensajeSuceso.isEmpty());
}

TEST_F(PruebaConfig, SinArchivoEnLaCarpetaDeTrabajo) {
    for (const bool enPrograma : {false, true}) {
        SCOPED_TRACE(enPrograma ? "file only beside the program" : "no file");
        dialogos.cajas.clear();
        QDir(carpetas.programa + QLatin1String("/sucesos")).removeRecursively();
        if (enPrograma)
            escribirCfg(carpetas.programa, "@;CAJA");
        ConfigInicio.PuntoControl = QStringLiteral("VIEJO");

        EXPECT_EQ(LeerConfigInicio(), ResultadoConfig::NoExiste);
        EXPECT_TRUE(ConfigInicio.CarpetaDatos.isEmpty());
        EXPECT_TRUE(ConfigInicio.PuntoControl.isEmpty());
        EXPECT_TRUE(ConfigInicio.RegistroSucesos);
        EXPECT_TRUE(ConfigInicio.PlacaNegrita);
        EXPECT_EQ(lineasSucesos(),
                  (QStringList{u8("06-12-2026;10:00:00;PROBLEMACFG;;;;;") + u8(kInicio),
                               u8("06-12-2026;10:00:00;PROBLEMACFG;;;;;") + u8(kNoExisteSuceso)}));
        EXPECT_TRUE(
            QFile::exists(carpetas.programa + QLatin1String("/sucesos/20261206_PROBLEMACFG.hap")));
        esperarCaja(kNoExiste);
    }
}

TEST_F(PruebaConfig, SinPuntoDeControl) {
    QDir().mkpath(datos());
    escribirCfg(carpetas.trabajo, "@;;1;1;1");
    EXPECT_EQ(LeerConfigInicio(), ResultadoConfig::SinPuntoControl);
    EXPECT_EQ(lineasSucesos(),
              (QStringList{u8("06-12-2026;10:00:00;PROBLEMACFG;;;;;") + u8(kInicio) +
                               conDatos("@;;1;1;1"),
                           u8("06-12-2026;10:00:00;PROBLEMACFG;;;;;") + u8(kSinPunto)}));
    esperarCaja(kSinPunto);
}

TEST_F(PruebaConfig, PuntoDeControlProblemacfgSeBorraEnElPrimerRegistro) {
    QDir().mkpath(datos());
    escribirCfg(carpetas.trabajo, "@;PROBLEMACFG;1;1;1");
    EXPECT_EQ(LeerConfigInicio(), ResultadoConfig::SinPuntoControl);
    EXPECT_TRUE(ConfigInicio.PuntoControl.isEmpty());
    const QStringList lineas = lineasSucesos();
    ASSERT_EQ(lineas.size(), 2);
    EXPECT_EQ(mensajeDe(lineas[1]), u8(kSinPunto));
    esperarCaja(kSinPunto);
}

TEST_F(PruebaConfig, CarpetaDeDatosInexistenteConRegistroEncendido) {
    const QString archivoComun = carpeta.path() + QLatin1String("/archivo");
    {
        QFile f(archivoComun);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const struct {
        const char* nombre;
        QString carpetaDatos;
    } casos[] = {
        {"under a regular file", archivoComun + QLatin1String("/datos")},
        {"missing folder", carpeta.path() + QLatin1String("/no_existe")},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        for (const bool registro : {true, false}) {
            SCOPED_TRACE(registro ? "log on" : "log off");
            dialogos.cajas.clear();
            QFile cfg(carpetas.trabajo + QLatin1String("/vialtor.cfg"));
            ASSERT_TRUE(cfg.open(QIODevice::WriteOnly));
            cfg.write(c.carpetaDatos.toLocal8Bit() + (registro ? ";CAJA;1;1" : ";CAJA;1;0"));
            cfg.close();

            if (registro) {
                EXPECT_EQ(LeerConfigInicio(), ResultadoConfig::NoExiste);
                esperarCaja(kNoExiste);
            } else {
                EXPECT_EQ(LeerConfigInicio(), ResultadoConfig::Correcta);
                EXPECT_TRUE(dialogos.cajas.isEmpty());
            }
            EXPECT_EQ(ConfigInicio.CarpetaDatos, c.carpetaDatos);
            EXPECT_FALSE(QDir(c.carpetaDatos).exists());
        }
    }
}
