#include "acceso/frmPrincipal.h"
#include "principal/aplicacion.h"
#include "principal/conexion.h"
#include "principal/manejadores.h"
#include "principal/recordset.h"
#include "principal/registros.h"
#include "principal/ventanahija.h"
#include "principal/ventanas.h"
#include "tests/comun/dobles.h"

#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

class PruebaPrincipal : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        crearBaseDatos();
        SesionActual = {QStringLiteral("ana"), QStringLiteral("Ana"), QStringLiteral("Rojas"),
                        QStringLiteral("Gil"), QStringLiteral("1")};
    }

    static void ejecutar(const QString& sql) {
        AbrirConexion();
        Recordset rs;
        rs.Open(sql);
        CerrarConexion();
    }
    // Registers a plain stand-in for a window another subsystem builds.
    static void registrarSustituta(const QString& nombre) {
        RegistrarVentana(nombre, [nombre] {
            auto* w = new QWidget;
            w->setObjectName(nombre);
            return w;
        });
    }

    int abiertas(const QString& nombre) const {
        int n = 0;
        for (QMdiSubWindow* sub : ventana.areaMdi->subWindowList())
            n += sub->widget()->objectName() == nombre;
        return n;
    }

    frmPrincipal ventana;
};

TEST_F(PruebaPrincipal, LaCargaMuestraLasDosCajasEnOrdenYPoneElTitulo) {
    ASSERT_TRUE(ventana.cargar());
    ASSERT_EQ(dialogos.cajas.size(), 2);
    EXPECT_EQ(dialogos.cajas[0].titulo + "|" + dialogos.cajas[1].titulo + "|" +
                  dialogos.cajas[1].texto + "|" + ventana.windowTitle(),
              QStringLiteral("Software Vialtor|Bienvenido al Sistema Vialtor|Bienvenido Ana "
                             "Rojas Gil|Usuario: Ana Rojas Gil"));
    EXPECT_TRUE(dialogos.cajas[0].texto.startsWith(
        QStringLiteral("Recuerde realizar RESPALDOS DE SEGURIDAD")));
    EXPECT_TRUE(dialogos.cajas[0].texto.endsWith(
        QStringLiteral("\n\n¿La información no es igualmente valiosa para usted?")));
    EXPECT_EQ(DatosParqueadero.SimboloMoneda, QStringLiteral("$"));
    EXPECT_TRUE(ventana.pop->isActive() && ventana.pop->interval() == 60000);
}

TEST_F(PruebaPrincipal, LosMenusSeRecortanSegunElNivel) {
    struct Caso {
        const char* nivel;
        const char* visibles; // E R T D U C X: the seven options under the first menu
    };
    const Caso casos[] = {{"0", "ERTDUCX"}, {"1", "ERTDUCX"}, {"2", "ER...CX"}, {"3", "E....C."},
                          {"4", "E......"}, {"5", "E......"}, {"6", "ER....."}, {"9", "E......"}};
    for (const Caso& caso : casos) {
        SesionActual.NivelAcceso = QLatin1String(caso.nivel);
        frmPrincipal v;
        ASSERT_TRUE(v.cargar());
        const QList<QAction*> opciones = {
            v.mnuEntradasSalidas, v.mnuReimprimir,      v.mnuTarifas,       v.mnuDatosParqueadero,
            v.mnuGestionUsuarios, v.mnuGestionClientes, v.mnuGestionExentos};
        QString vistas;
        for (int i = 0; i < opciones.size(); ++i)
            vistas += opciones[i]->isVisible() ? QLatin1Char("ERTDUCX"[i]) : QLatin1Char('.');
        EXPECT_EQ(vistas, QLatin1String(caso.visibles)) << "nivel " << caso.nivel;
        EXPECT_TRUE(v.mnuSalir->isVisible() && v.mnuAyuda->isVisible() &&
                    v.mnuSeparador8->isVisible());
        EXPECT_FALSE(v.mnuModificarDatosEntradaSalida->menuAction()->isVisible());
        v.hide();
    }
    EXPECT_EQ(SesionActual.NivelAcceso, QStringLiteral("4"));
}

TEST_F(PruebaPrincipal, EntradasYReimprimirPidenDatosAntesDeAbrirse) {
    ASSERT_TRUE(ventana.cargar());
    const struct {
        QAction* opcion;
        QString nombre, mensaje, ingreso;
        const char* datos;
    } casos[] = {
        {ventana.mnuEntradasSalidas, "frmGestionEntradasSalidas", "No existen tarifas",
         "Entradas/Salidas",
         "INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,MostrarEnEntradas,MostrarEnSalidas) "
         "VALUES (1000,60,'CARRO',True,True)"},
        {ventana.mnuReimprimir, "frmReimprimirTickets", "No existen datos para Reimprimir",
         "Reimprimir Tickets - Totales Cobrados",
         "INSERT INTO Entradas (FechaEntrada,Placa,id_tarifa,Tarifa,Tiempo,DescrTarifa) VALUES "
         "('06/12/2026 10:00:00 am','ABC123',1,1000,60,'C')"},
    };
    for (const auto& c : casos) {
        registrarSustituta(c.nombre);
        c.opcion->trigger();
        EXPECT_EQ(dialogos.cajas.last().texto + "|" + dialogos.cajas.last().titulo,
                  c.mensaje + "|Vialtor");
        EXPECT_TRUE(lineasSucesos().last().endsWith("Se muestra mensaje - " + c.mensaje));
        EXPECT_EQ(abiertas(c.nombre), 0);
        ejecutar(QLatin1String(c.datos));
        c.opcion->trigger();
        c.opcion->trigger();
        EXPECT_EQ(abiertas(c.nombre), 1);
        EXPECT_TRUE(lineasSucesos().last().endsWith("Ingresa a la ventana " + c.ingreso));
    }
    EXPECT_EQ(ventana.areaMdi->subWindowList().first()->pos(), QPoint(0, 0));
}

// The close box and Salir ask the same and log the same.
TEST_F(PruebaPrincipal, CerrarPreguntaYNoMantieneLaVentana) {
    ASSERT_TRUE(ventana.cargar());
    dialogos.respuestas = {Boton::No, Boton::Si};
    ventana.close();
    EXPECT_TRUE(ventana.isVisible());
    ventana.mnuSalir->trigger();
    EXPECT_FALSE(ventana.isVisible());
    ASSERT_EQ(dialogos.cajas.size(), 4);
    for (const CajaMostrada& pregunta : dialogos.cajas.mid(2)) {
        EXPECT_EQ(pregunta.texto + "|" + pregunta.titulo,
                  QStringLiteral("¿Salir del programa? |Vialtor - Salida"));
        EXPECT_TRUE(pregunta.icono == Icono::Exclamacion &&
                    pregunta.botones == (Boton::Si | Boton::No));
    }
    const QStringList lineas = lineasSucesos().mid(lineasSucesos().size() - 3);
    const char* const finales[] = {"Cancela el proceso de Salir del programa",
                                   "Hace click en la opción Salir del Menú Principal",
                                   "Sale del programa desde la opción Salir del Menú Principal"};
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(lineas[i].endsWith(QString::fromUtf8(finales[i]))) << finales[i];
}

TEST_F(PruebaPrincipal, UnaFilaDeAjustesDanadaDetieneLaCargaNombrandoLaColumna) {
    ejecutar(QStringLiteral("UPDATE DatosParqueadero SET SimboloMoneda=Null"));
    EXPECT_FALSE(ventana.cargar());
    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_TRUE(dialogos.cajas[0].texto.contains(QStringLiteral("SimboloMoneda")));
    EXPECT_FALSE(ventana.isVisible());
}

TEST_F(PruebaPrincipal, UnErrorInesperadoSeMuestraSeRegistraYCierraLaConexion) {
    AbrirConexion();
    ManejarErrorBD(
        ErrorBD(QStringLiteral("Error de base de datos"), QStringLiteral("database is locked")));
    EXPECT_EQ(Conexion.State(), 0);
    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_FALSE(dialogos.cajas[0].texto.contains(QStringLiteral("database is locked")));
    EXPECT_EQ(dialogos.cajas[0].icono, Icono::Critico);
    EXPECT_TRUE(lineasSucesos().last().contains(QStringLiteral("database is locked")));
}

TEST_F(PruebaPrincipal, LasTeclasDeAccesoDeUnaHijaGananALasDelMenuMientrasTieneElFoco) {
    // A child with its own Alt+A beside a box that would type the letter.
    RegistrarVentana(QStringLiteral("frmHija"), [] {
        auto* hija = new VentanaHija("frmHija", QString(), QString(), "Cierra la hija");
        auto* columna = new QVBoxLayout(hija);
        columna->addWidget(new QLineEdit(hija));
        columna->addWidget(new QPushButton(QStringLiteral("  &Agregar"), hija));
        return hija;
    });
    ASSERT_TRUE(ventana.cargar());
    ventana.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&ventana));
    QWidget* hija = ventana.mostrarVentana(QStringLiteral("frmHija"));
    auto* caja = hija->findChild<QLineEdit*>();
    auto* boton = hija->findChild<QPushButton*>();
    QSignalSpy pulsado(boton, &QPushButton::clicked);
    caja->setFocus();
    const int cajas = dialogos.cajas.size();
    QTest::keyClick(caja, Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pulsado.count() == 1; }, 1000));
    EXPECT_EQ(caja->text(), QString());
    EXPECT_EQ(dialogos.cajas.size(), cajas);
    // With no control of its own for the key, the menu bar's Ayuda takes it.
    boton->setEnabled(false);
    QTest::keyClick(caja, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(dialogos.cajas.last().titulo, QStringLiteral("Acerca de Vialtor"));
}
