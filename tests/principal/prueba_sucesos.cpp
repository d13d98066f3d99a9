#include "tests/comun/dobles.h"
#include "principal/registros.h"
#include "principal/sucesos.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

class PruebaSucesos : public PruebaVialtor {
protected:
    QString sucesosPrograma() const { return carpetas.programa + "/sucesos"; }
    QString archivo(const char* nombre) const {
        return sucesosPrograma() + QLatin1Char('/') + QLatin1String(nombre);
    }
    static QByteArray leerBytes(const QString& ruta) {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void registrar(const QString& mensaje) {
        MensajeSuceso = mensaje;
        RegistrarSuceso();
    }
};

TEST_F(PruebaSucesos, LineasDeOchoCamposEnWindows1252ConFinCrLf) {
    reloj.momento = QDateTime(QDate(2026, 3, 5), QTime(14, 7, 33));
    SesionActual.Usuario = "ana";
    SesionActual.Nombre = QString::fromUtf8("Ñusta");
    SesionActual.Ape1 = QString::fromUtf8("Muñoz");
    SesionActual.Ape2 = "Gil";
    registrar(QString::fromUtf8("Configuración de Inicio: C:\\Datos€;Pérez"));
    EXPECT_TRUE(MensajeSuceso.isEmpty());
    SesionActual = {};
    registrar("UPDATE Salidas SET Placa='A;B'\r\nWHERE id_salida=3;");

    EXPECT_EQ(leerBytes(archivo("20260305_CAJA1.hap")),
              QByteArray("05-03-2026;14:07:33;CAJA1;ana;\xD1usta;Mu\xF1oz;Gil;Configuraci\xF3n "
                         "de Inicio: C:\\Datos\x80;P\xE9rez\r\n"
                         "05-03-2026;14:07:33;CAJA1;;;;;UPDATE Salidas SET Placa='A;B'\r\n"
                         "WHERE id_salida=3;\r\n"));
    EXPECT_TRUE(dialogos.cajas.isEmpty());
}

TEST_F(PruebaSucesos, SeAgregaAlArchivoExistenteYCadaDiaTieneElSuyo) {
    QDir().mkpath(sucesosPrograma());
    {
        QFile previo(archivo("20261206_CAJA1.hap"));
        ASSERT_TRUE(previo.open(QIODevice::WriteOnly));
        previo.write("previo\r\n");
    }
    reloj.momento = QDateTime(QDate(2026, 12, 6), QTime(23, 59, 59));
    registrar("uno");
    reloj.avanzar(1);
    registrar("dos");
    EXPECT_EQ(leerBytes(archivo("20261206_CAJA1.hap")),
              QByteArray("previo\r\n06-12-2026;23:59:59;CAJA1;;;;;uno\r\n"));
    EXPECT_EQ(leerBytes(archivo("20261207_CAJA1.hap")),
              QByteArray("07-12-2026;00:00:00;CAJA1;;;;;dos\r\n"));
}

TEST_F(PruebaSucesos, CarpetaDelRegistroSegunLaCarpetaDeDatos) {
    const QString datos = carpeta.path() + "/datos";
    QDir().mkpath(datos);
    for (const QString& carpetaDatos : {QString(), datos}) {
        SCOPED_TRACE(carpetaDatos.toStdString());
        const QString esperada = carpetaDatos.isEmpty() ? sucesosPrograma() : datos + "/sucesos";
        const QString ajena = carpetaDatos.isEmpty() ? datos + "/sucesos" : sucesosPrograma();
        QDir(esperada).removeRecursively();
        QDir(ajena).removeRecursively();
        ConfigInicio.CarpetaDatos = carpetaDatos;
        registrar("hola");
        EXPECT_EQ(leerBytes(esperada + "/20261206_CAJA1.hap"),
                  QByteArray("06-12-2026;10:00:00;CAJA1;;;;;hola\r\n"));
        EXPECT_FALSE(QFileInfo::exists(ajena));
    }
}

TEST_F(PruebaSucesos, RegistroApagadoNoCreaNadaPeroVaciaElMensaje) {
    ConfigInicio.RegistroSucesos = false;
    MensajeSuceso = "no se escribe";
    EXPECT_TRUE(RegistrarSucesoInicio());
    registrar("tampoco");
    EXPECT_TRUE(MensajeSuceso.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(sucesosPrograma()));
    EXPECT_TRUE(dialogos.cajas.isEmpty());
}

TEST_F(PruebaSucesos, PuntoDeControlVacioOProvisionalQuedaVacio) {
    ConfigInicio.PuntoControl.clear();
    registrar("sin punto");
    EXPECT_EQ(leerBytes(archivo("20261206_PROBLEMACFG.hap")),
              QByteArray("06-12-2026;10:00:00;PROBLEMACFG;;;;;sin punto\r\n"));
    EXPECT_TRUE(ConfigInicio.PuntoControl.isEmpty());
    for (const bool encendido : {true, false}) {
        SCOPED_TRACE(encendido ? "log on" : "log off");
        ConfigInicio.RegistroSucesos = encendido;
        ConfigInicio.PuntoControl = "PROBLEMACFG";
        registrar("primero");
        EXPECT_TRUE(ConfigInicio.PuntoControl.isEmpty());
    }
}

// Outside the start the failure is shown once, and logging goes on when it can.
TEST_F(PruebaSucesos, FalloDeEscrituraSeAvisaUnaSolaVez) {
    const QString estorbo = archivo("20261206_CAJA1.hap");
    QDir().mkpath(estorbo);
    EXPECT_NO_THROW(registrar("primero"));
    EXPECT_TRUE(MensajeSuceso.isEmpty());
    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_EQ(dialogos.cajas[0].titulo, TituloAplicacion);
    EXPECT_EQ(dialogos.cajas[0].icono, Icono::Exclamacion);
    EXPECT_TRUE(dialogos.cajas[0].texto.contains("primero"));
    registrar("segundo");
    EXPECT_EQ(dialogos.cajas.size(), 1) << "a second failure must not show another box";

    QDir().rmdir(estorbo);
    registrar("escrito");
    EXPECT_EQ(leerBytes(estorbo), QByteArray("06-12-2026;10:00:00;CAJA1;;;;;escrito\r\n"));
    EXPECT_EQ(dialogos.cajas.size(), 1);
}

TEST_F(PruebaSucesos, RegistroDeInicioDevuelveElResultadoSinMostrarCajas) {
    EXPECT_TRUE(RegistrarSucesoInicio());
    ConfigInicio.CarpetaDatos = carpeta.path() + "/no_existe";
    MensajeSuceso = "sin carpeta de datos";
    EXPECT_FALSE(RegistrarSucesoInicio());
    EXPECT_TRUE(MensajeSuceso.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(ConfigInicio.CarpetaDatos))
        << "the data folder itself must not be made by the log";
    EXPECT_TRUE(dialogos.cajas.isEmpty());
}
