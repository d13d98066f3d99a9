#include "principal/manejadores.h"
#include "principal/aplicacion.h"
#include "principal/conexion.h"
#include "tests/comun/dobles.h"
#include "acceso/frmPrincipal.h"
#include "principal/recordset.h"
#include "principal/registros.h"
#include "principal/ventanas.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>

class PruebaPrincipal : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        crearBaseDatos();
        SesionActual = {QStringLiteral("ana"), QStringLiteral("Ana"), QStringLiteral("Rojas"),
                        QStringLiteral("Gil"), QStringLiteral("1")};
    }

    void ejecutar(const QString& sql) {
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
    EXPECT_EQ(dialogos.cajas[0].titulo, QStringLiteral("Software Vialtor"));
    EXPECT_TRUE(dialogos.cajas[0].texto.startsWith(
        QStringLiteral("Recuerde realizar RESPALDOS DE SEGURIDAD")));
    EXPECT_TRUE(dialogos.cajas[0].texto.endsWith(
        QStringLiteral("\n\n¿La información no es igualmente valiosa para usted?")));
    EXPECT_EQ(dialogos.cajas[1].titulo, QStringLiteral("Bienvenido al Sistema Vialtor"));
    EXPECT_EQ(dialogos.cajas[1].texto, QStringLiteral("Bienvenido Ana Rojas Gil"));
    EXPECT_EQ(ventana.windowTitle(), QStringLiteral("Usuario: Ana Rojas Gil"));
    EXPECT_EQ(DatosParqueadero.SimboloMoneda, QStringLiteral("$"));
    EXPECT_TRUE(ventana.pop->isActive());
    EXPECT_EQ(ventana.pop->interval(), 60000);
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
        EXPECT_TRUE(v.mnuSalir->isVisible());
        EXPECT_TRUE(v.mnuAyuda->isVisible());
        EXPECT_TRUE(v.mnuSeparador8->isVisible());
        EXPECT_FALSE(v.mnuModificarDatosEntradaSalida->menuAction()->isVisible());
        v.hide();
    }
    EXPECT_EQ(SesionActual.NivelAcceso, QStringLiteral("4"));
}

TEST_F(PruebaPrincipal, SinTarifasNoAbreEntradasSalidas) {
    registrarSustituta(QStringLiteral("frmGestionEntradasSalidas"));
    ASSERT_TRUE(ventana.cargar());
    ventana.mnuEntradasSalidas->trigger();
    EXPECT_EQ(dialogos.cajas.last().texto, QStringLiteral("No existen tarifas"));
    EXPECT_EQ(dialogos.cajas.last().titulo, QStringLiteral("Vialtor"));
    EXPECT_EQ(abiertas(QStringLiteral("frmGestionEntradasSalidas")), 0);
    EXPECT_TRUE(
        lineasSucesos().last().endsWith(QStringLiteral("Se muestra mensaje - No existen tarifas")));

    ejecutar(QStringLiteral("INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,MostrarEnEntradas,"
                            "MostrarEnSalidas) VALUES (1000,60,'CARRO',True,True)"));
    ventana.mnuEntradasSalidas->trigger();
    ventana.mnuEntradasSalidas->trigger();
    EXPECT_EQ(abiertas(QStringLiteral("frmGestionEntradasSalidas")), 1);
    EXPECT_TRUE(
        lineasSucesos().last().endsWith(QStringLiteral("Ingresa a la ventana Entradas/Salidas")));
    EXPECT_EQ(ventana.areaMdi->subWindowList().first()->pos(), QPoint(0, 0));
}

TEST_F(PruebaPrincipal, ReimprimirPideAlgunaEntradaOSalida) {
    registrarSustituta(QStringLiteral("frmReimprimirTickets"));
    ASSERT_TRUE(ventana.cargar());
    ventana.mnuReimprimir->trigger();
    EXPECT_EQ(dialogos.cajas.last().texto, QStringLiteral("No existen datos para Reimprimir"));
    EXPECT_EQ(abiertas(QStringLiteral("frmReimprimirTickets")), 0);
    ejecutar(
        QStringLiteral("INSERT INTO Entradas (FechaEntrada,Placa,id_tarifa,Tarifa,Tiempo,"
                       "DescrTarifa) VALUES ('06/12/2026 10:00:00 am','ABC123',1,1000,60,'C')"));
    ventana.mnuReimprimir->trigger();
    EXPECT_EQ(abiertas(QStringLiteral("frmReimprimirTickets")), 1);
}

TEST_F(PruebaPrincipal, CerrarPreguntaYNoMantieneLaVentana) {
    ASSERT_TRUE(ventana.cargar());
    dialogos.respuestas = {Boton::No};
    ventana.close();
    EXPECT_TRUE(ventana.isVisible());
    const CajaMostrada pregunta = dialogos.cajas.last();
    EXPECT_EQ(pregunta.texto, QStringLiteral("¿Salir del programa? "));
    EXPECT_EQ(pregunta.titulo, QStringLiteral("Vialtor - Salida"));
    EXPECT_EQ(pregunta.icono, Icono::Exclamacion);
    EXPECT_EQ(pregunta.botones, Boton::Si | Boton::No);
    EXPECT_TRUE(lineasSucesos().last().endsWith(
        QStringLiteral("Cancela el proceso de Salir del programa")));

    // The close box and Salir ask the same and log the same.
    dialogos.respuestas = {Boton::Si};
    ventana.mnuSalir->trigger();
    EXPECT_FALSE(ventana.isVisible());
    const QStringList lineas = lineasSucesos();
    EXPECT_TRUE(lineas[lineas.size() - 2].endsWith(
        QStringLiteral("Hace click en la opción Salir del Menú Principal")));
    EXPECT_TRUE(lineas.last().endsWith(
        QStringLiteral("Sale del programa desde la opción Salir del Menú Principal")));
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
