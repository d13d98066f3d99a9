#include "acceso/crearbd.h"
#include "acceso/ui/frmPrimerInicio.h"
#include "bd/claves.h"
#include "principal/configinicio.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"
#include "tests/comun/servidor_prueba.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <tuple>

class PruebaPrimerInicio : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        ventana.show();
        // What a user types for a station on a file, the demo rates asked for.
        ventana.txtCarpetaDatos->setText(datos);
        ventana.txtPuntoControl->setText(" CAJA2 ");
        ventana.txtUsuario->setText("ana");
        ventana.txtClave->setText("cl'ave 1");
        ventana.txtConfirmarClave->setText("cl'ave 1");
        ventana.chkTarifasDemo->setChecked(true);
    }
    void crear() { QTest::mouseClick(ventana.btnCrear, Qt::LeftButton); }
    QString estacion = carpeta.filePath("estacion"), datos = carpeta.filePath("datos");
    frmPrimerInicio ventana{estacion};
};
using PruebaPrimerInicioMotores = EnAmbosMotores<PruebaPrimerInicio>;

// The station reads back as crear_bd's: configuration, first user at level 1 with the password
// hashed, demo rates. The connection string is its owner's alone, also when written anew.
TEST_P(PruebaPrimerInicioMotores, CreaLaEstacionComoCrearBdYArrancaConElla) {
    const QString conexion = servidor ? ServidorPrueba::instancia().baseVacia() : QString();
    const QString cfgServidor = estacion + "/vialtor_servidor.cfg";
    ventana.optServidor->setChecked(servidor);
    ventana.txtServidor->setText(conexion);
    if (servidor) {
        ASSERT_TRUE(QDir().mkpath(estacion) && QFile(cfgServidor).open(QIODevice::WriteOnly) &&
                    QFile::setPermissions(cfgServidor,
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    }
    crear();
    EXPECT_TRUE(textos().isEmpty() && ventana.result() == QDialog::Accepted);
    EXPECT_EQ(LeerArchivo(estacion + "/vialtor.cfg"),
              (LineaConfigNueva(datos, "CAJA2", servidor) + "\r\n").toUtf8());
    EXPECT_EQ(LeerArchivo(cfgServidor), servidor ? (conexion + '\n').toUtf8() : QByteArray());
    EXPECT_EQ(ModoArchivo(cfgServidor), servidor ? 0600 : -1);
    carpetas.trabajo = estacion;
    ASSERT_EQ(LeerConfigInicio(), ResultadoConfig::Correcta);
    EXPECT_EQ(Tabla("SELECT usuario, nivelacceso, puntodecontrol FROM Usuarios"), "ana,1,CAJA2");
    EXPECT_EQ(ComprobarClave("CL'AVE 1", Columna("SELECT pwd FROM Usuarios", "pwd").value(0)),
              Coincidencia::Si);
    EXPECT_EQ(Tabla("SELECT DescrTarifa FROM Tarifas ORDER BY Tarifa"), "MOTO|AUTOMOVIL|CAMIONETA");
}
VIALTOR_EN_AMBOS_MOTORES(PruebaPrimerInicioMotores);

// Each refusal names what is missing or wrong, puts the cursor there and makes nothing; a
// database already there is never overwritten; a configuration that cannot be written takes
// back the database just made.
TEST_F(PruebaPrimerInicio, CadaDatoQueFaltaOEstaMalSeSenalaSinCrearNada) {
    const QString no = " no puede llevar ; , \" ni saltos de línea";
    const QString archivo =
        "El punto de control forma parte de nombres de archivo: no puede llevar "
        "\\ / : * ? < > |, \"..\" ni caracteres de control, ni empezar o "
        "terminar con un espacio o un punto";
    const std::tuple<const char*, const char*, QString> casos[] = {
        {"txtCarpetaDatos", " ", "Digite la carpeta de datos"},
        {"txtCarpetaDatos", "/srv/caja;1", "La carpeta de datos" + no},
        {"txtPuntoControl", "", "Digite el punto de control"},
        {"txtPuntoControl", "CAJA,2", "El punto de control" + no},
        {"txtPuntoControl", "CAJA_PRINCIPAL_DEL_PARQUEADERO1",
         "El punto de control no puede tener más de 30 caracteres"},
        {"txtPuntoControl", "CAJA/../../PWN", archivo},
        {"txtPuntoControl", "CAJA..1", archivo},
        {"txtPuntoControl", "CAJA:1", archivo},
        {"txtPuntoControl", ".CAJA", archivo},
        {"txtPuntoControl", "CAJA. ", archivo},
        {"txtUsuario", " ", "Digite el usuario"},
        {"txtClave", "", "Digite la contraseña"},
        {"txtConfirmarClave", "otra", "La contraseña y su confirmación no coinciden"},
        {"txtServidor", "", "Digite la conexión al servidor"}};
    for (const auto& [nombre, texto, aviso] : casos) {
        auto* caja = ventana.findChild<QLineEdit*>(nombre);
        const QString antes = caja->text();
        ventana.optServidor->setChecked(caja == ventana.txtServidor);
        caja->setText(texto);
        crear();
        caja->setText(antes);
        EXPECT_EQ(dialogos.textos().last(), aviso);
        EXPECT_EQ(ventana.focusWidget(), caja) << nombre;
    }
    ventana.optArchivo->setChecked(true);
    CrearBaseDatos(datos, "otro", "x");
    crear();
    ASSERT_TRUE(QFile::remove(datos + "/vialtor.mdb") &&
                QFile(estacion).open(QIODevice::WriteOnly));
    crear();
    EXPECT_EQ(dialogos.textos().mid(std::size(casos)).join('|'),
              "No se pudo crear la estación:\n\nYa existe una base de datos; no se sobrescribe\n" +
                  datos +
                  "/vialtor.mdb|No se pudo crear la estación:\n\nNo se pudo escribir la "
                  "configuración de la estación\n" +
                  estacion);
    EXPECT_FALSE(QFile::exists(estacion + "/vialtor.cfg") ||
                 QFile::exists(datos + "/vialtor.mdb") || ventana.result() == QDialog::Accepted);
}

// From the menu the program moves to the user's station folder; the window shows only while
// that folder has no vialtor.cfg, and giving up there ends the program.
TEST_F(PruebaPrimerInicio, DesdeElMenuLaVentanaSoloApareceSinConfiguracion) {
    const QString previa = QDir::currentPath();
    const QByteArray xdg = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", carpeta.filePath("xdg").toUtf8());
    int mostrada = 0;
    QTimer vigia;
    QObject::connect(&vigia, &QTimer::timeout, [&] {
        if (auto* v = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ++mostrada;
            v->reject();
        }
    });
    vigia.start(10);
    for (const bool hay : {false, true}) {
        if (hay)
            QFile(CarpetaEstacionMenu() + "/vialtor.cfg").open(QIODevice::WriteOnly);
        EXPECT_EQ(PrepararEstacionDelMenu(), hay);
        EXPECT_EQ(QDir::currentPath(), carpeta.filePath("xdg/vialtor"));
    }
    EXPECT_EQ(mostrada, 1);
    QDir::setCurrent(previa);
    xdg.isEmpty() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", xdg);
}
