#include "acceso/frmAcceso.h"
#include "principal/conexion.h"
#include "principal/recordset.h"
#include "principal/registros.h"
#include "tests/comun/dobles.h"

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
    // Closed without logging in, the program ends.
    ventana.close();
    EXPECT_EQ(denegado.count(), 1);
    EXPECT_EQ(ingreso.count(), 0);
}

// Typed texts are matched as values, whatever their quotes or case, at any control point.
TEST_F(PruebaAcceso, DosFallosYLuegoElCorrectoEntraYLlenaLaSesion) {
    AbrirConexion();
    Recordset rs;
    rs.Open(QStringLiteral("INSERT INTO Usuarios (usuario,pwd,nombre,ape1,ape2,nivelacceso,"
                           "puntodecontrol) VALUES ('o''neil','cl''ave','Olga',NULL,'Ruiz','4',"
                           "'OTRA')"));
    CerrarConexion();
    intentar(QStringLiteral("o'neil' OR '1'='1"), QStringLiteral("x' OR '1'='1"));
    intentar(QStringLiteral("o'neil"), QStringLiteral("mala"));
    // The typed texts stay for another try.
    EXPECT_EQ(ventana.txtUsuario->text() + ventana.txtPwd->text(), QStringLiteral("o'neilmala"));
    intentar(QStringLiteral("O'NEIL"), QStringLiteral("CL'AVE"));
    EXPECT_EQ(ingreso.count(), 1);
    EXPECT_EQ(denegado.count(), 0);
    EXPECT_FALSE(ventana.isVisible());
    EXPECT_EQ(QStringList({SesionActual.Usuario, SesionActual.Nombre, SesionActual.Ape1,
                           SesionActual.Ape2, SesionActual.NivelAcceso}),
              QStringList({"o'neil", "Olga", "", "Ruiz", "4"}));
    EXPECT_EQ(dialogos.cajas.size(), 2);
    const QStringList lineas = lineasSucesos();
    ASSERT_EQ(lineas.size(), 3);
    EXPECT_TRUE(lineas[0].endsWith(QStringLiteral(
        ";CAJA1;;;;;Primer intento fallido de ingresar al programa. Intenta utilizar como usr "
        "<-o'neil' OR '1'='1-> y pwd <-x' OR '1'='1->")));
    EXPECT_TRUE(lineas[2].endsWith(QStringLiteral(";CAJA1;o'neil;Olga;;Ruiz;Ingresa al programa")));
}

TEST_F(PruebaAcceso, TresFallosNieganElAccesoSinTerceraCaja) {
    const char* const inicios[] = {
        "Primer intento fallido de ingresar al programa.",
        "Segundo intento fallido de ingresar al programa.",
        "Tercer intento fallido de ingresar al programa, se le niega el acceso."};
    for (int i = 0; i < 3; ++i) {
        intentar(QStringLiteral("nadie"), QString::number(i));
        EXPECT_TRUE(lineasSucesos().last().endsWith(
            QString::fromUtf8(inicios[i]) +
            QStringLiteral(" Intenta utilizar como usr <-nadie-> y pwd <-%1->").arg(i)));
        EXPECT_EQ(denegado.count(), i == 2 ? 1 : 0);
    }
    ASSERT_EQ(dialogos.cajas.size(), 2);
    for (const CajaMostrada& caja : dialogos.cajas)
        EXPECT_EQ(caja.texto + "|" + caja.titulo + "|" + QString::number(int(caja.icono)),
                  QStringLiteral("Digite un usuario y contraseña válidas|Datos no válidos|%1")
                      .arg(int(Icono::Exclamacion)));
    EXPECT_EQ(ingreso.count(), 0);
}

TEST_F(PruebaAcceso, AmbasCajasMuestranAsteriscosYEnterIngresaComoElBoton) {
    for (QLineEdit* caja : {ventana.txtUsuario, ventana.txtPwd}) {
        QTest::keyClicks(caja, QStringLiteral("admin"));
        EXPECT_EQ(caja->displayText(), QStringLiteral("*****"));
    }
    QTest::keyClick(ventana.txtUsuario, Qt::Key_Return);
    EXPECT_EQ(ingreso.count(), 1);
    QTest::keyClick(ventana.txtPwd, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(ingreso.count(), 2);
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
