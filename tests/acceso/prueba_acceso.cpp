#include "principal/conexion.h"
#include "tests/comun/dobles.h"
#include "acceso/frmAcceso.h"
#include "principal/recordset.h"
#include "principal/registros.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class PruebaAcceso : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        crearBaseDatos();
        ventana.show();
    }

    void intentar(const QString& usuario, const QString& clave) {
        ventana.txtUsuario->setText(usuario);
        ventana.txtPwd->setText(clave);
        QTest::mouseClick(ventana.btnAceptarAcceso, Qt::LeftButton);
    }

    void agregarUsuario(const QString& valores) {
        AbrirConexion();
        Recordset rs;
        rs.Open(QStringLiteral("INSERT INTO Usuarios (usuario,pwd,nombre,ape1,ape2,nivelacceso,"
                               "puntodecontrol) VALUES (") +
                valores + QLatin1Char(')'));
        CerrarConexion();
    }

    frmAcceso ventana;
    QSignalSpy ingreso{&ventana, &frmAcceso::ingresoCorrecto};
    QSignalSpy denegado{&ventana, &frmAcceso::terminarPrograma};
};

TEST_F(PruebaAcceso, LaCargaTerminaSinArchivoDeConfiguracionYSigueConUno) {
    EXPECT_FALSE(ventana.cargar());
    QFile cfg(carpetas.trabajo + QLatin1String("/vialtor.cfg"));
    ASSERT_TRUE(cfg.open(QIODevice::WriteOnly));
    cfg.write(";CAJA2;1;1;1\r\n");
    cfg.close();
    EXPECT_TRUE(ventana.cargar());
    EXPECT_EQ(ConfigInicio.PuntoControl, QStringLiteral("CAJA2"));
}

TEST_F(PruebaAcceso, ConDatosCorrectosLlenaLaSesionYRegistraElIngreso) {
    intentar(QStringLiteral("admin"), QStringLiteral("admin"));
    EXPECT_EQ(ingreso.count(), 1);
    EXPECT_EQ(SesionActual.Usuario, QStringLiteral("admin"));
    EXPECT_EQ(SesionActual.Nombre, QStringLiteral("Administrador"));
    EXPECT_EQ(SesionActual.NivelAcceso, QStringLiteral("1"));
    EXPECT_TRUE(dialogos.cajas.isEmpty());
    EXPECT_FALSE(ventana.isVisible());
    EXPECT_EQ(denegado.count(), 0);
    EXPECT_TRUE(lineasSucesos().last().endsWith(
        QStringLiteral(";CAJA1;admin;Administrador;;;Ingresa al programa")));
}

TEST_F(PruebaAcceso, DosFallosYLuegoElCorrectoEntra) {
    intentar(QStringLiteral("ana"), QStringLiteral("x"));
    intentar(QStringLiteral("admin"), QStringLiteral("mala"));
    intentar(QStringLiteral("admin"), QStringLiteral("admin"));
    const QStringList lineas = lineasSucesos();
    ASSERT_EQ(lineas.size(), 3);
    EXPECT_TRUE(lineas[0].endsWith(QStringLiteral(
        ";CAJA1;;;;;Primer intento fallido de ingresar al programa. Intenta utilizar como usr "
        "<-ana-> y pwd <-x->")));
    EXPECT_TRUE(lineas[1].endsWith(QStringLiteral(
        "Segundo intento fallido de ingresar al programa. Intenta utilizar como usr <-admin-> y "
        "pwd <-mala->")));
    EXPECT_TRUE(lineas[2].endsWith(QStringLiteral("Ingresa al programa")));
    EXPECT_EQ(dialogos.cajas.size(), 2);
    EXPECT_EQ(ingreso.count(), 1);
    // The typed texts stay for another try.
    EXPECT_EQ(ventana.txtPwd->text(), QStringLiteral("admin"));
}

TEST_F(PruebaAcceso, TresFallosNieganElAccesoSinTerceraCaja) {
    for (int i = 0; i < 3; ++i)
        intentar(QStringLiteral("nadie"), QString::number(i));
    const QStringList lineas = lineasSucesos();
    ASSERT_EQ(lineas.size(), 3);
    EXPECT_TRUE(lineas[2].endsWith(QStringLiteral(
        "Tercer intento fallido de ingresar al programa, se le niega el acceso. Intenta utilizar "
        "como usr <-nadie-> y pwd <-2->")));
    ASSERT_EQ(dialogos.cajas.size(), 2);
    for (const CajaMostrada& caja : dialogos.cajas) {
        EXPECT_EQ(caja.texto, QStringLiteral("Digite un usuario y contraseña válidas"));
        EXPECT_EQ(caja.titulo, QStringLiteral("Datos no válidos"));
        EXPECT_EQ(caja.icono, Icono::Exclamacion);
    }
    EXPECT_EQ(denegado.count(), 1);
    EXPECT_EQ(ingreso.count(), 0);
}

TEST_F(PruebaAcceso, CerrarSinIngresarTerminaElPrograma) {
    ventana.close();
    EXPECT_EQ(denegado.count(), 1);
    EXPECT_EQ(ingreso.count(), 0);
}

TEST_F(PruebaAcceso, EnterEnCualquierCajaIngresaComoElBoton) {
    ventana.txtUsuario->setText(QStringLiteral("admin"));
    ventana.txtPwd->setText(QStringLiteral("admin"));
    QTest::keyClick(ventana.txtUsuario, Qt::Key_Return);
    EXPECT_EQ(ingreso.count(), 1);
    QTest::keyClick(ventana.txtPwd, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(ingreso.count(), 2);
}

TEST_F(PruebaAcceso, LasComillasSonParteDelValorYLasMayusculasNoImportan) {
    agregarUsuario(QStringLiteral("'o''neil','cl''ave',NULL,NULL,NULL,'4','OTRA'"));
    intentar(QStringLiteral("admin' OR '1'='1"), QStringLiteral("x' OR '1'='1"));
    EXPECT_EQ(ingreso.count(), 0);
    intentar(QStringLiteral("O'NEIL"), QStringLiteral("CL'AVE"));
    ASSERT_EQ(ingreso.count(), 1);
    // Null names give empty fields; another control point logs in all the same.
    EXPECT_EQ(SesionActual.Usuario, QStringLiteral("o'neil"));
    EXPECT_TRUE(SesionActual.Nombre.isEmpty());
    EXPECT_TRUE(
        lineasSucesos().last().endsWith(QStringLiteral(";CAJA1;o'neil;;;;Ingresa al programa")));
}

TEST_F(PruebaAcceso, SinBaseDeDatosAvisaConLaRutaYNoCuentaComoIntento) {
    const QString ruta = carpetas.programa + QLatin1String("/vialtor.mdb");
    ASSERT_TRUE(QFile::rename(ruta, ruta + QLatin1String(".aparte")));
    for (int i = 0; i < 3; ++i)
        intentar(QStringLiteral("admin"), QStringLiteral("admin"));
    EXPECT_EQ(denegado.count(), 0);
    ASSERT_EQ(dialogos.cajas.size(), 3);
    EXPECT_TRUE(dialogos.cajas[0].texto.contains(ruta));
    EXPECT_EQ(dialogos.cajas[0].icono, Icono::Critico);
    EXPECT_TRUE(lineasSucesos()[0].contains(QStringLiteral("No se puede abrir la base de datos")));
    EXPECT_FALSE(QFile::exists(ruta));
    ASSERT_TRUE(QFile::rename(ruta + QLatin1String(".aparte"), ruta));
    intentar(QStringLiteral("admin"), QStringLiteral("admin"));
    EXPECT_EQ(ingreso.count(), 1);
}
