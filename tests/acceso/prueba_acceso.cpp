#include "acceso/frmAcceso.h"
#include "principal/claves.h"
#include "principal/registros.h"
#include "principal/sql.h"
#include "principal/usuarios.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"

#include <QElapsedTimer>
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

TEST_F(PruebaAcceso, TresFallosNieganElAccesoSinTerceraCaja) {
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
// matches as the database compares texts; a hash made at another cost matches and asks to be
// made anew.
TEST(Claves, SoloElCasoDeLasLetrasNoImporta) {
    const std::pair<const char*, const char*> pliegues[] = {
        {"ÑANDÚ", "ñandú"}, {"Éxito É", "éxito é"}, {"STRASSE ß", "strasse ß"}, {"ΣΑΣ ς", "σασ σ"}};
    for (const auto& [clave, plegada] : pliegues)
        EXPECT_EQ(ClavePlegada(QString::fromUtf8(clave)), QString::fromUtf8(plegada));
    FijarCostoMinimoClaves(false);
    const QString otroCosto = CifrarClave("Ñandú 1");
    FijarCostoMinimoClaves(true);
    const QString hash = CifrarClave("Ñandú 1");
    EXPECT_TRUE(hash.startsWith("$argon2id$") && hash != CifrarClave("Ñandú 1"));
    const std::tuple<const char*, QString, Coincidencia> casos[] = {
        {"ñANDÚ 1", hash, Coincidencia::Si},
        {"nandu 1", hash, Coincidencia::No},
        {"Ñandú1", hash, Coincidencia::No},
        {"ÑANDÚ 1", otroCosto, Coincidencia::SiRecifrar},
        {"CLAVE", "clave", Coincidencia::SiRecifrar},
        {"clave ", "clave", Coincidencia::No},
        {"", "", Coincidencia::SiRecifrar},
        {"$ARGON2ID$NADA", "$argon2id$nada", Coincidencia::SiRecifrar},
        {"x", "$argon2id$nada", Coincidencia::No}};
    for (const auto& [escrita, guardada, coincidencia] : casos)
        EXPECT_EQ(ComprobarClave(QString::fromUtf8(escrita), guardada), coincidencia) << escrita;
}

using PruebaAccesoMotores = EnAmbosMotores<PruebaAcceso>;

// A password kept as typed (an older version's, or one set by hand) lets in once as typed,
// letter case aside, and is stored hashed at that login with its audit row; then the hash does.
TEST_P(PruebaAccesoMotores, ClaveSinCifrarEntraUnaVezYQuedaCifradaConSuAuditoria) {
    const int64_t id = Ejecutar("INSERT INTO Usuarios (usuario,pwd,nivelacceso) VALUES "
                                "('Ñu','Clave É','3')");
    const QString cifrada = QString("UPDATE Usuarios SET pwd='***' WHERE id_usuario=%1 AND "
                                    "pwd='***'")
                                .arg(id);
    const auto guardada = [&] {
        return Columna(QString("SELECT pwd FROM Usuarios WHERE id_usuario=%1").arg(id), "pwd")
            .value(0);
    };
    intentar("ñU", "CLAVE é");
    EXPECT_EQ(ComprobarClave("clave É", guardada()), Coincidencia::Si);
    EXPECT_EQ(Tabla("SELECT Usuario, Accion, Detalle FROM Auditoria WHERE Accion LIKE 'Clave%'"),
              "Ñu,Clave cifrada al ingresar," + cifrada);
    EXPECT_TRUE(registrado("Clave guardada cifrada al ingresar: \r\n" + cifrada));
    const QString hash = guardada();
    intentar("ñu", "clave é");
    EXPECT_TRUE(senales() == "2 0" && guardada() == hash);
}

// A login takes as long whether or not the user exists: an unknown name spends the time of one
// hash too (at the program's own cost here).
TEST_P(PruebaAccesoMotores, UnUsuarioDesconocidoTardaComoUnoConocido) {
    FijarCostoMinimoClaves(false);
    Ejecutar("INSERT INTO Usuarios (usuario,pwd) VALUES ('ana'," + Texto(CifrarClave("clave")) +
             ")");
    AbrirConexion();
    const auto tiempo = [](const QString& usuario) {
        qint64 menor = std::numeric_limits<qint64>::max();
        for (int i = 0; i < 3; ++i) {
            QElapsedTimer cronometro;
            cronometro.start();
            IngresarUsuario(usuario, "clave");
            menor = qMin(menor, cronometro.nsecsElapsed());
        }
        return menor;
    };
    const qint64 conocido = tiempo("ana"), desconocido = tiempo("nadie");
    FijarCostoMinimoClaves(true);
    EXPECT_GE(desconocido * 10, conocido * 3) << desconocido << " ns / " << conocido << " ns";
}
VIALTOR_EN_AMBOS_MOTORES(PruebaAccesoMotores);
