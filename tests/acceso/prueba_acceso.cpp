#include "acceso/ui/frmAcceso.h"
#include "acceso/usuarios.h"
#include "bd/claves.h"
#include "principal/registros.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class PruebaAcceso : public PruebaConBase {
protected:
    void SetUp() override {
        PruebaConBase::SetUp();
        ventana.show();
    }
    void intentar(const QString& usuario, const QString& clave) {
        ventana.txtUsuario->setText(usuario);
        ventana.txtPwd->setText(clave);
        QTest::mouseClick(ventana.btnAceptarAcceso, Qt::LeftButton);
    }
    // How many times the window let the user in, and how many times it ended the program.
    QString senales() const { return QString("%1 %2").arg(ingreso.count()).arg(denegado.count()); }

    frmAcceso ventana;
    QSignalSpy ingreso{&ventana, &frmAcceso::ingresoCorrecto};
    QSignalSpy denegado{&ventana, &frmAcceso::terminarPrograma};
};

// Reading the file itself is the start-up settings' own concern.
TEST_F(PruebaAcceso, SinConfiguracionNoCargaYCerrarSinEntrarTerminaElPrograma) {
    EXPECT_FALSE(ventana.cargar());
    ventana.close();
    EXPECT_EQ(senales(), "0 1");
}

// A database out of reach is told with its path and is no try. Typed texts are matched as values,
// whatever their quotes or case, at any control point; both boxes hide what is typed, and Enter
// in either lets in as the button does.
TEST_F(PruebaAcceso, SinBaseNoCuentaYTrasDosFallosElCorrectoEntraYLlenaLaSesion) {
    Ejecutar("INSERT INTO Usuarios (usuario,pwd,nombre,ape1,ape2,nivelacceso,puntodecontrol) "
             "VALUES ('o''neil','cl''ave','Olga',NULL,'Ruiz','4','OTRA')");
    const QString ruta = carpetas.programa + "/vialtor.mdb";
    ASSERT_TRUE(QFile::rename(ruta, ruta + ".aparte"));
    for (int i = 0; i < 3; ++i)
        intentar("o'neil", "cl'ave");
    EXPECT_TRUE(dialogos.cajas.size() == 3 && dialogos.cajas[0].texto.contains(ruta) &&
                dialogos.cajas[0].icono == Icono::Critico);
    EXPECT_TRUE(lineasSucesos()[0].contains("No se puede abrir la base de datos"));
    EXPECT_FALSE(QFile::exists(ruta));
    ASSERT_TRUE(QFile::rename(ruta + ".aparte", ruta));
    intentar("o'neil' OR '1'='1", "x' OR '1'='1");
    intentar("o'neil", "mala");
    // The typed texts stay for another try.
    EXPECT_EQ(ventana.txtUsuario->text() + ventana.txtPwd->text(), "o'neilmala");
    ventana.txtUsuario->clear(), ventana.txtPwd->clear();
    QTest::keyClicks(ventana.txtUsuario, "O'NEIL");
    QTest::keyClicks(ventana.txtPwd, "CL'AVE");
    EXPECT_EQ(ventana.txtUsuario->displayText() + ventana.txtPwd->displayText(), QString(12, '*'));
    QTest::keyClick(ventana.txtUsuario, Qt::Key_Return);
    EXPECT_TRUE(senales() == "1 0" && !ventana.isVisible());
    // The session as stored, a Null surname left empty.
    EXPECT_TRUE(lineasSucesos().last().endsWith(";CAJA1;o'neil;Olga;;Ruiz;Ingresa al programa"));
    EXPECT_EQ(SesionActual.NivelAcceso + QString::number(SesionActual.IdUsuario), "42");
    QTest::keyClick(ventana.txtPwd, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(senales(), "2 0");
}

using PruebaAccesoMotores = EnAmbosMotores<PruebaAcceso>;

TEST_P(PruebaAccesoMotores, TresFallosNieganElAccesoSinTerceraCaja) {
    const char* const inicios[] = {"Primer intento fallido de ingresar al programa.",
                                   "Segundo intento fallido de ingresar al programa.",
                                   "Tercer intento fallido de ingresar al programa, se le niega "
                                   "el acceso."};
    for (int i = 0; i < 3; ++i) {
        // The user logged as typed, quotes and all, with no session yet; the password never.
        intentar("o'neil' OR '1'='1", QString::number(i));
        EXPECT_TRUE(lineasSucesos().last().endsWith(
            ";CAJA1;;;;;" + QString(inicios[i]) +
            " Intenta utilizar como usr <-o'neil' OR '1'='1-> y pwd <-***->"));
        EXPECT_EQ(senales(), i == 2 ? "0 1" : "0 0");
    }
    ASSERT_EQ(dialogos.textos(), QStringList(2, QString("Digite un usuario y contraseña válidas")));
    EXPECT_TRUE(dialogos.cajas[1].titulo == "Datos no válidos" &&
                dialogos.cajas[1].icono == Icono::Exclamacion);
}

// Letter case is folded, accents and the rest kept. A stored text that is not one of our hashes
// is a password kept as typed.
TEST(Claves, SoloElCasoDeLasLetrasNoImporta) {
    const std::pair<const char*, const char*> pliegues[] = {
        {"ÑANDÚ É", "ñandú é"}, {"STRASSE ß", "strasse ß"}, {"ΣΑΣ ς", "σασ σ"}};
    for (const auto& [clave, plegada] : pliegues)
        EXPECT_EQ(ClavePlegada(QString::fromUtf8(clave)), QString::fromUtf8(plegada));
    EXPECT_EQ(ComprobarClave("nandu 1", CifrarClave("Ñandú 1")), Coincidencia::No);
    EXPECT_EQ(ComprobarClave("$ARGON2ID$X", "$argon2id$x"), Coincidencia::SiRecifrar);
}

// A password kept as typed (an older version's, or one set by hand) lets in once as typed,
// letter case aside, and is stored hashed at that login with its audit row; then the hash does.
TEST_P(PruebaAccesoMotores, ClaveSinCifrarEntraUnaVezYQuedaCifradaConSuAuditoria) {
    Ejecutar("INSERT INTO Usuarios (usuario,pwd,nivelacceso) VALUES ('Ñu','Clave É','3')");
    const QString guardada = "SELECT pwd FROM Usuarios WHERE id_usuario=2";
    intentar("ñU", "CLAVE é");
    const QStringList hash = Columna(guardada, "pwd");
    EXPECT_EQ(ComprobarClave("clave É", hash.value(0)), Coincidencia::Si);
    EXPECT_EQ(Tabla("SELECT Usuario, Accion, Detalle FROM Auditoria WHERE Accion LIKE 'Clave%'"),
              "Ñu,Clave cifrada al ingresar,UPDATE Usuarios SET pwd='***' WHERE id_usuario=2 AND "
              "pwd='***'");
    intentar("ñu", "clave é");
    EXPECT_TRUE(senales() == "2 0" && Columna(guardada, "pwd") == hash);
}

// A login takes as long whether or not the user exists (at the program's own cost here).
TEST_P(PruebaAccesoMotores, UnUsuarioDesconocidoTardaComoUnoConocido) {
    FijarCostoMinimoClaves(false);
    Ejecutar("UPDATE Usuarios SET pwd='" + CifrarClave("admin") + "'");
    AbrirConexion();
    // The least of three tries each, known and unknown in turn.
    QElapsedTimer cronometro;
    qint64 tiempos[2] = {INT64_MAX, INT64_MAX};
    for (int i = 0; i < 6; ++i) {
        cronometro.start();
        IngresarUsuario(i % 2 ? "nadie" : "admin", "admin");
        tiempos[i % 2] = qMin(tiempos[i % 2], cronometro.nsecsElapsed());
    }
    FijarCostoMinimoClaves(true);
    EXPECT_GE(tiempos[1] * 10, tiempos[0] * 3) << tiempos[1] << " ns / " << tiempos[0] << " ns";
}
VIALTOR_EN_AMBOS_MOTORES(PruebaAccesoMotores);
