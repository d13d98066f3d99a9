#include "acceso/ui/frmPrincipal.h"
#include "acceso/ui/sesiones.h"
#include "acceso/ui/ventanasacceso.h"
#include "principal/registros.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace {

class PruebaSesiones : public PruebaConBase {
protected:
    void SetUp() override {
        PruebaConBase::SetUp();
        RegistrarVentanasAcceso();
        Ejecutar("INSERT INTO Usuarios (usuario,pwd,nombre,nivelacceso,puntodecontrol) VALUES "
                 "('ana','a','Ana','1','CAJA1'), ('beto','b','Beto','4','CAJA1')");
        sesiones.acceso.show();
    }
    // A login, the float box answered with `fondo` when it is asked.
    void ingresar(const QString& usuario, const QString& clave, const QString& fondo) {
        dialogos.respuestas.clear();
        dialogos.entradas = {fondo};
        sesiones.acceso.txtUsuario->setText(usuario);
        sesiones.acceso.txtPwd->setText(clave);
        QTest::mouseClick(sesiones.acceso.btnAceptarAcceso, Qt::LeftButton);
        ASSERT_TRUE(sesiones.principal() && sesiones.principal()->isVisible());
    }
    // The handover, its boxes answered in turn and the count typed when asked.
    void cambiar(QVector<Boton> respuestas, const QString& contado = {}) {
        dialogos.respuestas = std::move(respuestas);
        dialogos.entradas = {contado};
        sesiones.principal()->mnuCambiarUsuario->trigger();
        QCoreApplication::processEvents();
    }

    Sesiones sesiones;
};
using PruebaSesionesMotores = EnAmbosMotores<PruebaSesiones>;
VIALTOR_EN_AMBOS_MOTORES(PruebaSesionesMotores);

// Two cashiers hand over at one station without quitting: a window with typed text asks first;
// A leaves a shift open, B closes theirs; each comes back to the login, empty and centred, and
// the next session starts with its own float box. The trail and the log tell who left and who
// came.
TEST_P(PruebaSesionesMotores, DosCajerosSeRelevanSinSalirDelPrograma) {
    ingresar("ana", "a", "50000");
    frmPrincipal* primera = sesiones.principal();
    primera->mnuGestionUsuarios->trigger();
    QTest::keyClicks(primera->areaMdi->findChild<QLineEdit*>("txtNombre"), "Eva");
    cambiar({Boton::No});
    EXPECT_EQ(sesiones.principal(), primera);
    EXPECT_TRUE(primera->isVisible() && !sesiones.acceso.isVisible());
    cambiar({Boton::Si, Boton::No});
    EXPECT_TRUE(sesiones.acceso.isVisible() && sesiones.acceso.txtUsuario->text().isEmpty());
    const QRect pantalla = sesiones.acceso.screen()->availableGeometry();
    EXPECT_LE((sesiones.acceso.geometry().center() - pantalla.center()).manhattanLength(), 4);
    ingresar("beto", "b", "30000");
    EXPECT_EQ(dialogos.cajas.last().titulo, "ABRIR TURNO");
    cambiar({Boton::Si}, "30000");
    ingresar("ana", "a", "");
    EXPECT_EQ(Tabla("SELECT Usuario, Fondo, Contado FROM Turnos ORDER BY id_turno"),
              "ana,50000,(Null)|beto,30000,30000");
    EXPECT_EQ(Tabla("SELECT Accion, Detalle FROM Auditoria WHERE Accion IN ('Ingreso','Salida') "
                    "ORDER BY Orden"),
              "Ingreso,ana|Salida,ana|Ingreso,beto|Salida,beto|Ingreso,ana");
    const QStringList registro = mensajes();
    EXPECT_EQ(registro.count("Cancela el cambio de usuario"), 1);
    EXPECT_EQ(registro.count("Cambio de usuario con el turno abierto"), 1);
    EXPECT_EQ(registro.count("Sale de la sesión para el cambio de usuario"), 2);
}

} // namespace
