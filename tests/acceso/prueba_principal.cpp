#include "acceso/ui/frmDatosParqueadero.h"
#include "acceso/ui/frmPrincipal.h"
#include "acceso/ui/ventanasacceso.h"
#include "impresora/ui/impresoraescpos.h"
#include "principal/registros.h"
#include "principal/ui/ventanahija.h"
#include "principal/ui/ventanas.h"
#include "tests/acceso/apoyo_ventanas.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class PruebaPrincipal : public PruebaConBase {
protected:
    void SetUp() override {
        PruebaConBase::SetUp();
        SesionActual = {"ana", "Ana", "Rojas", "Gil", "1"};
    }

    // A stand-in for a window another subsystem builds: a box that would type a letter, beside a
    // button with its own Alt+A.
    static void RegistrarSuplente(const QString& nombre) {
        RegistrarVentana(nombre, [nombre] {
            auto* hija = new VentanaHija(nombre, QString(), QString(), "Cierra " + nombre);
            new QLineEdit(hija);
            new QPushButton("  &Agregar", hija);
            return hija;
        });
    }

    frmPrincipal ventana;
};

// One session: the welcome boxes; an option that needs data says so until there is some, then
// opens its window once, at the corner; a child's own access key beats the menu bar's while it
// has the focus; the close box and Salir ask the same and log the same.
TEST_F(PruebaPrincipal, UnaSesionSaludaAbreVentanasYPreguntaAlSalir) {
    ASSERT_TRUE(ventana.cargar());
    EXPECT_TRUE(ventana.pop->isActive() && ventana.pop->interval() == 60000);
    EXPECT_EQ(ventana.windowTitle(), "Usuario: Ana Rojas Gil");
    // Option, its window, the message without data, the window's log name, the data.
    const std::tuple<QAction*, const char*, const char*, const char*, const char*> opciones[] = {
        {ventana.mnuEntradasSalidas, "frmGestionEntradasSalidas", "No existen tarifas",
         "Entradas/Salidas", "INSERT INTO Tarifas (DescrTarifa) VALUES ('CARRO')"},
        {ventana.mnuReimprimir, "frmReimprimirTickets", "No existen datos para Reimprimir",
         "Reimprimir Tickets - Totales Cobrados", "INSERT INTO Entradas (Placa) VALUES ('ABC')"}};
    for (const auto& [opcion, nombre, mensaje, ingreso, datos] : opciones) {
        RegistrarSuplente(nombre);
        opcion->trigger();
        EXPECT_EQ(ultimoMensaje(), QString("Se muestra mensaje - ") + mensaje);
        Ejecutar(datos);
        opcion->trigger();
        opcion->trigger();
        EXPECT_EQ(ultimoMensaje(), QString("Ingresa a la ventana ") + ingreso);
    }
    EXPECT_EQ(ventana.areaMdi->subWindowList().size(), 2);
    EXPECT_EQ(ventana.areaMdi->subWindowList().last()->pos(), QPoint(0, 0));

    ventana.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&ventana));
    QWidget* hija = ventana.areaMdi->activeSubWindow()->widget();
    auto* caja = hija->findChild<QLineEdit*>();
    auto* boton = hija->findChild<QPushButton*>();
    QSignalSpy pulsado(boton, &QPushButton::clicked);
    caja->setFocus();
    QTest::keyClick(caja, Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pulsado.count() == 1; }, 1000));
    EXPECT_TRUE(caja->text().isEmpty());
    // With no control of its own for the key, the menu bar's Ayuda takes it.
    boton->setEnabled(false);
    QTest::keyClick(caja, Qt::Key_A, Qt::AltModifier);
    dialogos.respuestas = {Boton::No, Boton::Si};
    ventana.close();
    EXPECT_TRUE(ventana.isVisible());
    ventana.mnuSalir->trigger();
    EXPECT_FALSE(ventana.isVisible());
    // Each box by its title and the first and last lines of its text.
    QStringList vistas;
    for (const CajaMostrada& c : dialogos.cajas)
        vistas << c.titulo + ": " + c.texto.section('\n', 0, 0) +
                      (c.texto.contains('\n') ? " ... " + c.texto.section('\n', -1) : "");
    EXPECT_EQ(vistas.join('\n'),
              "Software Vialtor: Recuerde realizar RESPALDOS DE SEGURIDAD de la base de datos "
              "asiduamente, se recomienda un respaldo diario ... ¿La información no es igualmente "
              "valiosa para usted?\nBienvenido al Sistema Vialtor: Bienvenido Ana Rojas Gil\n"
              "Vialtor: No existen tarifas\nVialtor: No existen datos para Reimprimir\n"
              "Acerca de Vialtor: Vialtor - Software de gestión de parqueaderos ... \n"
              "Vialtor - Salida: ¿Salir del programa? \nVialtor - Salida: ¿Salir del programa? ");
    for (const CajaMostrada& c : dialogos.cajas.mid(5))
        EXPECT_TRUE(c.icono == Icono::Exclamacion && c.botones == (Boton::Si | Boton::No));
    EXPECT_EQ(mensajes().filter("Salir").join('|'),
              "Cancela el proceso de Salir del programa|Hace click en la opción "
              "Salir del Menú Principal|Sale del programa desde la opción "
              "Salir del Menú Principal");
}

TEST_F(PruebaPrincipal, LosMenusSeRecortanSegunElNivel) {
    // The nine options under the first menu (E R L T D I U C X) left visible, then J when "Abrir
    // cajón" is offered (a printer with a drawer and one without try); above 6 counts as 4.
    const char* const casos[][2] = {{"0", "ER.TD.UCX."}, {"1", "ERLTDIUCXJ"}, {"2", "ERL....CXJ"},
                                    {"3", "E......C.."}, {"4", "E........."}, {"5", "E........."},
                                    {"6", "ER........"}, {"7", "E........."}, {"9", "E........."}};
    ImpresoraEscPos conCajon(*LeerLineaImpresora("usb;/dev/no-existe;80;cajon").config);
    ImpresoraEscPos sinCajon(*LeerLineaImpresora("usb;/dev/no-existe;80;").config);
    for (const auto& [nivel, visibles] : casos) {
        SesionActual.NivelAcceso = nivel;
        frmPrincipal v;
        ASSERT_TRUE(v.cargar());
        for (ImpresoraEscPos* impresora : {&conCajon, &sinCajon})
            AgregarAbrirCajon(*impresora, v.mnuGestionParqueadero, v.mnuSeparador1);
        const QList<QAction*> opciones = v.mnuGestionParqueadero->actions();
        QString vistas;
        for (int i = 0; i < 9; ++i)
            vistas += opciones[i]->isVisible() ? QChar("ERLTDIUCX"[i]) : QChar('.');
        const auto cajon = v.findChildren<QAction*>("mnuAbrirCajon");
        vistas += QChar(cajon.size() == 1 && cajon[0]->isVisible() ? 'J' : '.');
        EXPECT_EQ(vistas, visibles) << "nivel " << nivel;
        EXPECT_EQ(v.mnuRespaldarAhora->isVisible(), *nivel == '1') << nivel;
        EXPECT_TRUE(v.mnuSalir->isVisible() && v.mnuCambiarUsuario->isVisible() &&
                    v.mnuAyuda->isVisible() &&
                    !v.mnuModificarDatosEntradaSalida->menuAction()->isVisible());
        v.hide();
    }
    EXPECT_EQ(SesionActual.NivelAcceso, "4");
}

// A damaged row ends the load for every level but 1, whose only way on is the settings
// window; a sound row saved there brings the other options back. Activating another child then
// asks before closing the settings, not the program losing the focus and getting it back; No
// keeps the unsaved edits.
TEST_F(PruebaPrincipal, UnaFilaDanadaSoloDejaAlNivelUnoLaVentanaDeDatosQuePreguntaAlCerrarse) {
    Ejecutar("UPDATE DatosParqueadero SET Cupo=32768");
    SesionActual.NivelAcceso = "3";
    EXPECT_FALSE(ventana.cargar() || ventana.isVisible());
    EXPECT_TRUE(dialogos.cajas.size() == 1 && dialogos.cajas[0].texto.contains("Cupo") &&
                dialogos.cajas[0].texto.contains("nivel 1"));
    SesionActual.NivelAcceso = "1";
    ASSERT_TRUE(ventana.cargar());
    const auto habilitadas = [this] {
        QString t;
        for (QAction* a : ventana.mnuGestionParqueadero->actions())
            t += a->isEnabled() ? a->objectName().mid(3, 2) : "";
        return t;
    };
    EXPECT_EQ(habilitadas(), "DaCaSa");
    RegistrarVentanasAcceso();
    ventana.mnuDatosParqueadero->trigger();
    auto* datos = ventana.areaMdi->findChild<frmDatosParqueadero*>();
    ASSERT_TRUE(datos && datos->txtCupo->text().isEmpty());
    datos->txtCupo->setText("60");
    QTest::mouseClick(datos->btnModificar, Qt::LeftButton);
    EXPECT_EQ(habilitadas(), "EnReTaTaDaImGeGeGeAbCeReReVeSeCaSa");
    RegistrarSuplente("frmOtra");
    datos->txtCupo->setText("77");
    dialogos.cajas.clear();
    dialogos.respuestas = {Boton::No, Boton::Si};
    ventana.mostrarVentana("frmOtra");
    EXPECT_EQ(datos->txtCupo->text(), "77");
    ventana.mostrarVentana("frmDatosParqueadero");
    ventana.areaMdi->setActiveSubWindow(nullptr);
    ventana.mostrarVentana("frmDatosParqueadero");
    ventana.mostrarVentana("frmOtra");
    QTest::qWait(1);
    EXPECT_EQ(ventana.areaMdi->subWindowList().size(), 1);
    EXPECT_TRUE(dialogos.cajas.size() == 2 && dialogos.cajas[1].titulo ==
                                                  "CONFIRMAR CIERRE VENTANA DE CONFIGURACIÓN "
                                                  "DATOS PARQUEADERO");
    EXPECT_EQ(mensajes().last(), "Cierra la ventana de Datos Parqueadero");
}
