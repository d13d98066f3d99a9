#include "acceso/frmPrimerInicio.h"
#include "principal/configinicio.h"
#include "principal/crearbd.h"
#include "principal/registros.h"
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
#include <functional>

class PruebaPrimerInicio : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        estacion = carpeta.filePath("estacion");
        datos = carpeta.filePath("datos");
    }
    // Everything a user types for a station on a file, the demo rates asked for.
    void llenar(frmPrimerInicio& v) {
        v.txtCarpetaDatos->setText(datos);
        v.txtPuntoControl->setText(" CAJA2 ");
        v.txtUsuario->setText("ana");
        v.txtClave->setText("cl'ave 1");
        v.txtConfirmarClave->setText("cl'ave 1");
        v.chkTarifasDemo->setChecked(true);
    }
    static void pulsar(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }
    bool hayConfiguracion() const { return QFile::exists(estacion + "/vialtor.cfg"); }
    bool hayBaseDatos() const { return QFile::exists(datos + "/vialtor.mdb"); }
    QString estacion, datos;
};
using PruebaPrimerInicioMotores = EnAmbosMotores<PruebaPrimerInicio>;

// The station made from the window reads back as crear_bd's: the configuration, the first user
// (level 1, at the control point) and the demo rates.
TEST_P(PruebaPrimerInicioMotores, CreaLaEstacionComoCrearBdYArrancaConElla) {
    frmPrimerInicio ventana(estacion);
    ventana.show();
    EXPECT_EQ(ventana.txtCarpetaDatos->text(), QDir::toNativeSeparators(estacion));
    EXPECT_FALSE(ventana.txtServidor->isEnabled());
    llenar(ventana);
    const QString conexion = servidor ? ServidorPrueba::instancia().baseVacia() : QString();
    if (servidor) {
        pulsar(ventana.optServidor);
        ventana.txtServidor->setText(conexion);
    }
    pulsar(ventana.btnCrear);

    EXPECT_EQ(textos(), "");
    EXPECT_EQ(ventana.result(), QDialog::Accepted);
    EXPECT_EQ(LeerArchivo(estacion + "/vialtor.cfg"),
              (LineaConfigNueva(datos, "CAJA2", servidor) + "\r\n").toUtf8());
    EXPECT_EQ(LeerArchivo(estacion + "/vialtor_servidor.cfg"),
              servidor ? (conexion + '\n').toUtf8() : QByteArray());
    EXPECT_EQ(hayBaseDatos(), !servidor);
    carpetas.trabajo = estacion;
    ASSERT_EQ(LeerConfigInicio(), ResultadoConfig::Correcta);
    EXPECT_EQ(Tabla("SELECT usuario, pwd, nivelacceso, puntodecontrol FROM Usuarios"),
              "ana,cl'ave 1,1,CAJA2");
    EXPECT_EQ(Tabla("SELECT DescrTarifa FROM Tarifas ORDER BY Tarifa"), "MOTO|AUTOMOVIL|CAMIONETA");
}
VIALTOR_EN_AMBOS_MOTORES(PruebaPrimerInicioMotores);

// Each refusal names what is missing or wrong, puts the cursor there and makes nothing.
TEST_F(PruebaPrimerInicio, CadaDatoQueFaltaOEstaMalSeSenalaSinCrearNada) {
    using Cambio = std::function<void(frmPrimerInicio&)>;
    const QString separadores = " no puede llevar ; , \" ni saltos de línea";
    const struct {
        Cambio cambio;
        QString texto;
        const char* caja;
    } casos[] = {
        {[](frmPrimerInicio& v) { v.txtCarpetaDatos->setText("  "); }, "Digite la carpeta de datos",
         "txtCarpetaDatos"},
        {[](frmPrimerInicio& v) { v.txtCarpetaDatos->setText("/srv/caja;1"); },
         "La carpeta de datos" + separadores, "txtCarpetaDatos"},
        {[](frmPrimerInicio& v) { v.txtPuntoControl->clear(); }, "Digite el punto de control",
         "txtPuntoControl"},
        {[](frmPrimerInicio& v) { v.txtPuntoControl->setText("CAJA,2"); },
         "El punto de control" + separadores, "txtPuntoControl"},
        {[](frmPrimerInicio& v) { v.txtUsuario->setText(" "); }, "Digite el usuario", "txtUsuario"},
        {[](frmPrimerInicio& v) { v.txtClave->clear(); }, "Digite la contraseña", "txtClave"},
        {[](frmPrimerInicio& v) { v.txtConfirmarClave->setText("cl'ave 2"); },
         "La contraseña y su confirmación no coinciden", "txtConfirmarClave"},
        {[](frmPrimerInicio& v) { pulsar(v.optServidor); }, "Digite la conexión al servidor",
         "txtServidor"},
    };
    for (const auto& c : casos) {
        dialogos.cajas.clear();
        frmPrimerInicio ventana(estacion);
        ventana.show();
        llenar(ventana);
        c.cambio(ventana);
        pulsar(ventana.btnCrear);
        ASSERT_EQ(dialogos.cajas.size(), 1) << c.texto.toStdString();
        EXPECT_EQ(dialogos.cajas[0].texto, c.texto);
        EXPECT_EQ(dialogos.cajas[0].titulo, "Primer inicio de Vialtor");
        ASSERT_TRUE(ventana.focusWidget());
        EXPECT_EQ(ventana.focusWidget()->objectName(), c.caja) << c.texto.toStdString();
        EXPECT_TRUE(ventana.result() != QDialog::Accepted && ventana.isVisible());
        EXPECT_FALSE(hayConfiguracion() || hayBaseDatos()) << c.texto.toStdString();
    }
}

// A database already there is never overwritten; a configuration that cannot be written takes
// back the database just made, so the next try starts clean.
TEST_F(PruebaPrimerInicio, SiNoSePuedeCrearLoDiceYNoDejaMediaEstacion) {
    CrearBaseDatos(datos, "otro", "x");
    frmPrimerInicio ventana(estacion);
    llenar(ventana);
    pulsar(ventana.btnCrear);
    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_EQ(dialogos.cajas[0].texto,
              "No se pudo crear la estación:\n\nYa existe una base de datos; no se "
              "sobrescribe\n" +
                  datos + "/vialtor.mdb");
    EXPECT_EQ(dialogos.cajas[0].icono, Icono::Critico);
    EXPECT_FALSE(hayConfiguracion());

    ASSERT_TRUE(QFile::remove(datos + "/vialtor.mdb"));
    ASSERT_TRUE(QFile(estacion).open(QIODevice::WriteOnly));
    pulsar(ventana.btnCrear);
    ASSERT_EQ(dialogos.cajas.size(), 2);
    EXPECT_EQ(dialogos.cajas[1].texto,
              "No se pudo crear la estación:\n\nNo se pudo escribir la configuración de la "
              "estación\n" +
                  estacion);
    EXPECT_FALSE(hayBaseDatos());
    EXPECT_NE(ventana.result(), QDialog::Accepted);
}

// Started from the menu, the program moves to the user's station folder; the window appears
// only while that folder has no vialtor.cfg, and giving up there ends the program.
TEST_F(PruebaPrimerInicio, DesdeElMenuLaVentanaSoloApareceSinConfiguracion) {
    const QString previa = QDir::currentPath();
    const QByteArray xdg = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", carpeta.filePath("xdg").toUtf8());
    estacion = carpeta.filePath("xdg/vialtor");
    datos = estacion;
    const QString menu = CarpetaEstacionMenu();
    // What the user does in the window, when it shows; how many times it showed.
    int mostrada = 0;
    std::function<void(frmPrimerInicio&)> usuario;
    QTimer vigia;
    QObject::connect(&vigia, &QTimer::timeout, [&] {
        if (auto* v = qobject_cast<frmPrimerInicio*>(QApplication::activeModalWidget())) {
            ++mostrada;
            if (usuario)
                usuario(*v);
            else
                v->reject();
        }
    });
    vigia.start(10);
    const struct {
        std::function<void(frmPrimerInicio&)> usuario;
        bool sigue;
        int mostrada;
    } pasos[] = {{[](frmPrimerInicio& v) { pulsar(v.btnCancelar); }, false, 1},
                 {[this](frmPrimerInicio& v) {
                      llenar(v);
                      v.txtCarpetaDatos->setText(datos);
                      pulsar(v.btnCrear);
                  },
                  true, 2},
                 // Made: later starts go straight to the login.
                 {nullptr, true, 2}};
    for (const auto& p : pasos) {
        usuario = p.usuario;
        QDir::setCurrent(previa);
        EXPECT_EQ(PrepararEstacionDelMenu(), p.sigue);
        EXPECT_EQ(mostrada, p.mostrada);
        EXPECT_EQ(QDir::currentPath(), menu);
        EXPECT_EQ(hayConfiguracion(), p.sigue);
    }
    EXPECT_EQ(menu, estacion);
    EXPECT_EQ(textos(), "");
    QDir::setCurrent(previa);
    if (xdg.isEmpty())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", xdg);
}
