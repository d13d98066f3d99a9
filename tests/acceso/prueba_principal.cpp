#include "acceso/frmDatosParqueadero.h"
#include "acceso/frmPrincipal.h"
#include "acceso/ventanasacceso.h"
#include "principal/registros.h"
#include "principal/ui/ventanahija.h"
#include "principal/ui/ventanas.h"
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

class PruebaPrincipal : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        crearBaseDatos();
        SesionActual = {"ana", "Ana", "Rojas", "Gil", "1"};
    }

    // A plain stand-in for a window another subsystem builds.
    static void RegistrarSuplente(const QString& nombre) {
        RegistrarVentana(nombre, [nombre] {
            auto* w = new QWidget;
            w->setObjectName(nombre);
            return w;
        });
    }

    frmPrincipal ventana;
};

// The welcome boxes in order; then the close box and Salir ask the same and log the same.
TEST_F(PruebaPrincipal, LaCargaSaludaYCerrarPreguntaYNoMantieneLaVentana) {
    ASSERT_TRUE(ventana.cargar());
    ASSERT_EQ(dialogos.cajas.size(), 2);
    EXPECT_EQ(dialogos.cajas[0].titulo + "|" + dialogos.cajas[1].titulo + "|" +
                  dialogos.cajas[1].texto + "|" + ventana.windowTitle(),
              "Software Vialtor|Bienvenido al Sistema Vialtor|Bienvenido Ana Rojas Gil|Usuario: "
              "Ana Rojas Gil");
    EXPECT_TRUE(dialogos.cajas[0].texto.startsWith("Recuerde realizar RESPALDOS DE SEGURIDAD") &&
                dialogos.cajas[0].texto.endsWith(
                    "\n\n¿La información no es igualmente valiosa para usted?"));
    EXPECT_TRUE(ventana.pop->isActive() && ventana.pop->interval() == 60000);
    dialogos.respuestas = {Boton::No, Boton::Si};
    ventana.close();
    EXPECT_TRUE(ventana.isVisible());
    ventana.mnuSalir->trigger();
    EXPECT_FALSE(ventana.isVisible());
    ASSERT_EQ(dialogos.cajas.size(), 4);
    for (const CajaMostrada& c : dialogos.cajas.mid(2))
        EXPECT_TRUE(c.texto + "|" + c.titulo == "¿Salir del programa? |Vialtor - Salida" &&
                    c.icono == Icono::Exclamacion && c.botones == (Boton::Si | Boton::No));
    EXPECT_EQ(mensajes().mid(mensajes().size() - 3).join('|'),
              "Cancela el proceso de Salir del programa|Hace click en la opción "
              "Salir del Menú Principal|Sale del programa desde la opción "
              "Salir del Menú Principal");
}

TEST_F(PruebaPrincipal, LosMenusSeRecortanSegunElNivel) {
    // The seven options under the first menu (E R T D U C X) left visible; above 6 counts as 4.
    const char* const casos[][2] = {{"0", "ERTDUCX"}, {"1", "ERTDUCX"}, {"2", "ER...CX"},
                                    {"3", "E....C."}, {"4", "E......"}, {"5", "E......"},
                                    {"6", "ER....."}, {"7", "E......"}, {"9", "E......"}};
    for (const auto& [nivel, visibles] : casos) {
        SesionActual.NivelAcceso = nivel;
        frmPrincipal v;
        ASSERT_TRUE(v.cargar());
        const QList<QAction*> opciones = v.mnuGestionParqueadero->actions();
        QString vistas;
        for (int i = 0; i < 7; ++i)
            vistas += opciones[i]->isVisible() ? QChar("ERTDUCX"[i]) : QChar('.');
        EXPECT_EQ(vistas, visibles) << "nivel " << nivel;
        EXPECT_TRUE(v.mnuSalir->isVisible() && v.mnuAyuda->isVisible() &&
                    !v.mnuModificarDatosEntradaSalida->menuAction()->isVisible());
        v.hide();
    }
    EXPECT_EQ(SesionActual.NivelAcceso, "4");
}

TEST_F(PruebaPrincipal, EntradasYReimprimirPidenDatosAntesDeAbrirse) {
    ASSERT_TRUE(ventana.cargar());
    const std::tuple<QAction*, QString, QString, QString, QString> casos[] = {
        {ventana.mnuEntradasSalidas, "frmGestionEntradasSalidas", "No existen tarifas",
         "Entradas/Salidas", "INSERT INTO Tarifas (DescrTarifa) VALUES ('CARRO')"},
        {ventana.mnuReimprimir, "frmReimprimirTickets", "No existen datos para Reimprimir",
         "Reimprimir Tickets - Totales Cobrados", "INSERT INTO Entradas (Placa) VALUES ('ABC')"},
    };
    int abiertas = 0;
    for (const auto& [opcion, nombre, mensaje, ingreso, datos] : casos) {
        RegistrarSuplente(nombre);
        opcion->trigger();
        EXPECT_EQ(dialogos.cajas.last().texto + "|" + dialogos.cajas.last().titulo + "|" +
                      lineasSucesos().last().section(';', 7),
                  mensaje + "|Vialtor|Se muestra mensaje - " + mensaje);
        Ejecutar(datos);
        opcion->trigger();
        opcion->trigger();
        EXPECT_EQ(lineasSucesos().last().section(';', 7) + "|" +
                      QString::number(ventana.areaMdi->subWindowList().size()),
                  "Ingresa a la ventana " + ingreso + "|" + QString::number(++abiertas));
    }
    EXPECT_EQ(ventana.areaMdi->subWindowList().first()->pos(), QPoint(0, 0));
}

// A damaged row ends the load for every level but 1, whose only way on is the settings
// window; a sound row saved there brings the other options back. Activating another child then
// asks before closing the settings; No keeps the unsaved edits.
TEST_F(PruebaPrincipal, UnaFilaDanadaSoloDejaAlNivelUnoLaVentanaDeDatosQuePreguntaAlCerrarse) {
    Ejecutar("UPDATE DatosParqueadero SET Cupo=32768");
    SesionActual.NivelAcceso = "3";
    EXPECT_FALSE(ventana.cargar() || ventana.isVisible());
    EXPECT_TRUE(dialogos.cajas.size() == 1 && dialogos.cajas[0].texto.contains("Cupo") &&
                dialogos.cajas[0].texto.contains("nivel 1"));
    SesionActual.NivelAcceso = "1";
    frmPrincipal v;
    ASSERT_TRUE(v.cargar());
    const auto habilitadas = [&v] {
        QString t;
        for (QAction* a : v.mnuGestionParqueadero->actions())
            t += a->isEnabled() ? a->objectName().mid(3, 2) : "";
        return t;
    };
    EXPECT_EQ(habilitadas(), "DaSa");
    RegistrarVentanasAcceso();
    v.mnuDatosParqueadero->trigger();
    auto* datos = v.areaMdi->findChild<frmDatosParqueadero*>();
    ASSERT_TRUE(datos && datos->txtCupo->text().isEmpty());
    datos->txtCupo->setText("60");
    QTest::mouseClick(datos->btnModificar, Qt::LeftButton);
    EXPECT_EQ(habilitadas(), "EnReTaDaGeGeGeAbCeReVeSeSa");
    RegistrarSuplente("frmOtra");
    datos->txtCupo->setText("77");
    dialogos.cajas.clear();
    dialogos.respuestas = {Boton::No, Boton::Si};
    v.mostrarVentana("frmOtra");
    EXPECT_EQ(datos->txtCupo->text(), "77");
    // The program losing the focus and getting it back asks nothing more.
    v.mostrarVentana("frmDatosParqueadero");
    v.areaMdi->setActiveSubWindow(nullptr);
    v.mostrarVentana("frmDatosParqueadero");
    v.mostrarVentana("frmOtra");
    QTest::qWait(1);
    EXPECT_EQ(v.areaMdi->subWindowList().size(), 1);
    EXPECT_EQ(dialogos.cajas.size() == 2 ? dialogos.cajas[0].titulo + "|" + dialogos.cajas[1].titulo
                                         : QString(),
              "CONFIRMAR CIERRE VENTANA DE CONFIGURACIÓN DATOS PARQUEADERO|CONFIRMAR CIERRE "
              "VENTANA DE CONFIGURACIÓN DATOS PARQUEADERO");
    EXPECT_EQ(mensajes().last(), "Cierra la ventana de Datos Parqueadero");
    v.hide();
}

TEST_F(PruebaPrincipal, LasTeclasDeAccesoDeUnaHijaGananALasDelMenuMientrasTieneElFoco) {
    // A child with its own Alt+A beside a box that would type the letter.
    RegistrarVentana("frmHija", [] {
        auto* hija = new VentanaHija("frmHija", QString(), QString(), "Cierra la hija");
        new QLineEdit(hija);
        new QPushButton("  &Agregar", hija);
        return hija;
    });
    ASSERT_TRUE(ventana.cargar());
    ventana.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&ventana));
    QWidget* hija = ventana.mostrarVentana("frmHija");
    auto* caja = hija->findChild<QLineEdit*>();
    auto* boton = hija->findChild<QPushButton*>();
    QSignalSpy pulsado(boton, &QPushButton::clicked);
    caja->setFocus();
    const int cajas = dialogos.cajas.size();
    QTest::keyClick(caja, Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pulsado.count() == 1; }, 1000));
    EXPECT_TRUE(caja->text().isEmpty() && dialogos.cajas.size() == cajas);
    // With no control of its own for the key, the menu bar's Ayuda takes it.
    boton->setEnabled(false);
    QTest::keyClick(caja, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(dialogos.cajas.last().titulo, "Acerca de Vialtor");
}
