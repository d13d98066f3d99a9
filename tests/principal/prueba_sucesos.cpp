#include "dobles.h"
#include "registros.h"
#include "sucesos.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QByteArray leerBytes(const QString& ruta) {
    QFile archivo(ruta);
    return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray();
}

void crearArchivo(const QString& ruta, const QByteArray& contenido) {
    QFile archivo(ruta);
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly)) << ruta.toStdString();
    archivo.write(contenido);
}

} // namespace

class PruebaSucesos : public PruebaVialtor {
protected:
    QString sucesosPrograma() const { return carpetas.programa + QLatin1String("/sucesos"); }
    QString archivoDelDia(const QString& carpetaSucesos, const char* nombre) const {
        return carpetaSucesos + QLatin1Char('/') + QLatin1String(nombre);
    }
    void registrar(const QString& mensaje) {
        MensajeSuceso = mensaje;
        RegistrarSuceso();
    }
};

TEST_F(PruebaSucesos, LineaDeOchoCamposConFinDeLineaWindows) {
    reloj.momento = QDateTime(QDate(2026, 3, 5), QTime(14, 7, 33));
    SesionActual.Usuario = QStringLiteral("ana");
    SesionActual.Nombre = QStringLiteral("Ana");
    SesionActual.Ape1 = QStringLiteral("Rojas");
    SesionActual.Ape2 = QStringLiteral("Gil");
    registrar(QStringLiteral("Ingresa al programa"));

    EXPECT_EQ(leerBytes(archivoDelDia(sucesosPrograma(), "20260305_CAJA1.hap")),
              QByteArray("05-03-2026;14:07:33;CAJA1;ana;Ana;Rojas;Gil;Ingresa al programa\r\n"));
    EXPECT_TRUE(MensajeSuceso.isEmpty());
    EXPECT_TRUE(dialogos.cajas.isEmpty());
}

TEST_F(PruebaSucesos, AntesDelIngresoLosCamposDeUsuarioVanVacios) {
    reloj.momento = QDateTime(QDate(2026, 12, 6), QTime(0, 5, 9));
    registrar(QStringLiteral("Abre el programa"));
    EXPECT_EQ(leerBytes(archivoDelDia(sucesosPrograma(), "20261206_CAJA1.hap")),
              QByteArray("06-12-2026;00:05:09;CAJA1;;;;;Abre el programa\r\n"));
}

TEST_F(PruebaSucesos, TextoEnLaPaginaDeCodigosDeWindows) {
    SesionActual.Nombre = QString::fromUtf8("Ñusta");
    SesionActual.Ape1 = QString::fromUtf8("Muñoz");
    registrar(QString::fromUtf8("Configuración de Inicio: C:\\Datos€;Pérez"));
    const QByteArray bytes = leerBytes(archivoDelDia(sucesosPrograma(), "20261206_CAJA1.hap"));
    EXPECT_EQ(bytes, QByteArray("06-12-2026;10:00:00;CAJA1;;\xD1usta;Mu\xF1oz;;Configuraci\xF3n "
                                "de Inicio: C:\\Datos\x80;P\xE9rez\r\n"));
    EXPECT_FALSE(bytes.contains('\xC3')) << "UTF-8 leaked into the log";
}

TEST_F(PruebaSucesos, MensajeConPuntoYComaYSaltoDeLineaSeEscribeTalCual) {
    const QByteArray mensaje("Corrige el registro: UPDATE Salidas SET Placa='A;B'\r\nWHERE "
                             "id_salida=3;");
    registrar(QString::fromLatin1(mensaje));
    EXPECT_EQ(leerBytes(archivoDelDia(sucesosPrograma(), "20261206_CAJA1.hap")),
              QByteArray("06-12-2026;10:00:00;CAJA1;;;;;") + mensaje + "\r\n");
}

TEST_F(PruebaSucesos, SeAgregaAlArchivoExistenteYCadaDiaTieneElSuyo) {
    QDir().mkpath(sucesosPrograma());
    const QString hoy = archivoDelDia(sucesosPrograma(), "20261206_CAJA1.hap");
    crearArchivo(hoy, "previo\r\n");
    reloj.momento = QDateTime(QDate(2026, 12, 6), QTime(23, 59, 58));
    registrar(QStringLiteral("uno"));
    reloj.avanzar(1);
    registrar(QStringLiteral("dos"));
    reloj.avanzar(1);
    registrar(QStringLiteral("tres"));

    EXPECT_EQ(leerBytes(hoy), QByteArray("previo\r\n06-12-2026;23:59:58;CAJA1;;;;;uno\r\n"
                                         "06-12-2026;23:59:59;CAJA1;;;;;dos\r\n"));
    EXPECT_EQ(leerBytes(archivoDelDia(sucesosPrograma(), "20261207_CAJA1.hap")),
              QByteArray("07-12-2026;00:00:00;CAJA1;;;;;tres\r\n"));
}

TEST_F(PruebaSucesos, CarpetaDelRegistroSegunLaCarpetaDeDatos) {
    const QString datos = carpeta.path() + QLatin1String("/datos");
    QDir().mkpath(datos);
    const struct {
        QString carpetaDatos;
        QString carpetaEsperada;
        QString carpetaAjena;
    } casos[] = {
        {QString(), sucesosPrograma(), datos + QLatin1String("/sucesos")},
        {datos, datos + QLatin1String("/sucesos"), sucesosPrograma()},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.carpetaEsperada.toStdString());
        QDir(sucesosPrograma()).removeRecursively();
        QDir(datos + QLatin1String("/sucesos")).removeRecursively();
        ConfigInicio.CarpetaDatos = c.carpetaDatos;
        registrar(QStringLiteral("hola"));
        EXPECT_EQ(CarpetaSucesos(), c.carpetaEsperada);
        EXPECT_EQ(leerBytes(archivoDelDia(c.carpetaEsperada, "20261206_CAJA1.hap")),
                  QByteArray("06-12-2026;10:00:00;CAJA1;;;;;hola\r\n"));
        EXPECT_FALSE(QFileInfo::exists(c.carpetaAjena));
    }
}

TEST_F(PruebaSucesos, RegistroApagadoNoCreaNadaPeroVaciaElMensaje) {
    ConfigInicio.RegistroSucesos = false;
    MensajeSuceso = QStringLiteral("no se escribe");
    EXPECT_TRUE(RegistrarSucesoInicio());
    registrar(QStringLiteral("tampoco"));
    EXPECT_TRUE(MensajeSuceso.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(sucesosPrograma()));
    EXPECT_TRUE(dialogos.cajas.isEmpty());
    EXPECT_EQ(ConfigInicio.PuntoControl, QStringLiteral("CAJA1"));
}

TEST_F(PruebaSucesos, SinPuntoDeControlSeUsaElProvisionalSoloEnEsaLlamada) {
    ConfigInicio.PuntoControl.clear();
    registrar(QStringLiteral("sin punto"));
    EXPECT_EQ(leerBytes(archivoDelDia(sucesosPrograma(), "20261206_PROBLEMACFG.hap")),
              QByteArray("06-12-2026;10:00:00;PROBLEMACFG;;;;;sin punto\r\n"));
    EXPECT_TRUE(ConfigInicio.PuntoControl.isEmpty());
    EXPECT_EQ(QDir(sucesosPrograma()).entryList(QDir::Files).size(), 1);
}

TEST_F(PruebaSucesos, PuntoDeControlLlamadoComoElProvisionalSeBorra) {
    for (const bool encendido : {true, false}) {
        SCOPED_TRACE(encendido ? "log on" : "log off");
        ConfigInicio.RegistroSucesos = encendido;
        ConfigInicio.PuntoControl = QStringLiteral("PROBLEMACFG");
        registrar(QStringLiteral("primero"));
        EXPECT_TRUE(ConfigInicio.PuntoControl.isEmpty());
        EXPECT_TRUE(MensajeSuceso.isEmpty());
    }
}

TEST_F(PruebaSucesos, FalloDeEscrituraSeAvisaUnaSolaVezYNoLanza) {
    const QString bloqueo = carpeta.path() + QLatin1String("/archivo");
    crearArchivo(bloqueo, "x");
    const struct {
        const char* nombre;
        QString carpetaDatos;
        QString estorbo; // a folder where the day's file should go
    } casos[] = {
        {"data folder under a regular file", bloqueo + QLatin1String("/datos"), QString()},
        {"day's file name taken by a folder", QString(),
         archivoDelDia(sucesosPrograma(), "20261206_CAJA1.hap")},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        ReiniciarAvisoSucesos();
        dialogos.cajas.clear();
        ConfigInicio.CarpetaDatos = c.carpetaDatos;
        if (!c.estorbo.isEmpty())
            QDir().mkpath(c.estorbo);

        EXPECT_NO_THROW(registrar(QStringLiteral("primero")));
        EXPECT_TRUE(MensajeSuceso.isEmpty());
        ASSERT_EQ(dialogos.cajas.size(), 1);
        EXPECT_EQ(dialogos.cajas[0].titulo, TituloAplicacion);
        EXPECT_EQ(dialogos.cajas[0].icono, QMessageBox::Warning);
        EXPECT_FALSE(dialogos.cajas[0].texto.isEmpty());

        EXPECT_NO_THROW(registrar(QStringLiteral("segundo")));
        EXPECT_TRUE(MensajeSuceso.isEmpty());
        EXPECT_EQ(dialogos.cajas.size(), 1) << "a second failure must not show another box";
        EXPECT_EQ(ConfigInicio.PuntoControl, QStringLiteral("CAJA1"));
    }
}

TEST_F(PruebaSucesos, TrasUnFalloElRegistroSigueCuandoVuelveAPoderEscribir) {
    const QString estorbo = archivoDelDia(sucesosPrograma(), "20261206_CAJA1.hap");
    QDir().mkpath(estorbo);
    registrar(QStringLiteral("perdido"));
    ASSERT_EQ(dialogos.cajas.size(), 1);
    QDir().rmdir(estorbo);
    registrar(QStringLiteral("escrito"));
    EXPECT_EQ(leerBytes(estorbo), QByteArray("06-12-2026;10:00:00;CAJA1;;;;;escrito\r\n"));
    EXPECT_EQ(dialogos.cajas.size(), 1);
}

TEST_F(PruebaSucesos, RegistroDeInicioDevuelveElResultadoSinMostrarCajas) {
    MensajeSuceso = QStringLiteral("bien");
    EXPECT_TRUE(RegistrarSucesoInicio());
    EXPECT_TRUE(MensajeSuceso.isEmpty());

    QDir().mkpath(archivoDelDia(sucesosPrograma(), "20261207_CAJA1.hap"));
    reloj.momento = reloj.momento.addDays(1);
    MensajeSuceso = QStringLiteral("mal");
    EXPECT_FALSE(RegistrarSucesoInicio());
    EXPECT_TRUE(MensajeSuceso.isEmpty());
    EXPECT_TRUE(dialogos.cajas.isEmpty());

    ConfigInicio.CarpetaDatos = carpeta.path() + QLatin1String("/no_existe");
    MensajeSuceso = QStringLiteral("sin carpeta de datos");
    EXPECT_FALSE(RegistrarSucesoInicio());
    EXPECT_FALSE(QFileInfo::exists(ConfigInicio.CarpetaDatos))
        << "the data folder itself must not be made by the log";
    EXPECT_TRUE(dialogos.cajas.isEmpty());
}
