#include "bd/servidor.h"
#include "principal/ui/ventanas.h"
#include "reportes/ui/frmTablero.h"
#include "reportes/ui/graficotablero.h"
#include "tests/reportes/apoyo_ventas.h"

#include <QApplication>
#include <QDateEdit>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QUrl>

namespace {

// Ten to eleven holds 6 vehicles on a lot of 2.
Tablero tableroDePrueba() {
    Tablero t;
    t.periodo = {QDateTime(QDate(2026, 12, 7), QTime(0, 0)),
                 QDateTime(QDate(2026, 12, 8), QTime(23, 59, 59))};
    for (int h = 0; h < 3; ++h)
        t.ocupacion.append({QDateTime(QDate(2026, 12, 7), QTime(9 + h, 0)), QList{1, 6, 0}[h]});
    t.tarifas = QStringList{"CARRO"};
    t.porDia = {{QDate(2026, 12, 7), {{"CARRO", 12000}}, 50000},
                {QDate(2026, 12, 8), {{"CARRO", 3000}}, 0}};
    t.entradasSemana[0][9] = 4;
    t.estancias = {1, 0, 0, 0, 2, 1, 0, 0};
    t.cifras.salidas = 4;
    t.cifras.estanciaMediaMin = 160.25;
    t.cifras.estanciaMedianaMin = 165.5;
    return t;
}

bool enColor(QRgb p) {
    return qAbs(qRed(p) - qGreen(p)) + qAbs(qGreen(p) - qBlue(p)) > 40;
}

// Each chart painted into a frame inside a larger grey image: it draws its data (coloured
// pixels) and nothing outside the frame, writes its title, axis names, value labels and first
// category, and shows over capacity in its own colour.
TEST(GraficosTablero, CadaGraficoDibujaDentroDeSuMarcoConSusEjes) {
    DatosParqueadero.SimboloMoneda = "$";
    const QVector<Grafico> graficos = GraficosTablero(tableroDePrueba(), 2);
    const struct {
        const char* eje;
        int exceso; // pixels in the over-capacity colour, at least
    } casos[] = {{"0|2|4|6", 4000},
                 {"$0|$10.000|$20.000|$30.000|$40.000|$50.000", 0},
                 {"lun|mar|mié|jue|vie|sáb|dom", 0},
                 {"0|1|2", 0}};
    ASSERT_EQ(graficos.size(), 4);
    const QRect marco(20, 20, 480, 300);
    for (int i = 0; i < 4; ++i) {
        const Grafico& g = graficos[i];
        EXPECT_EQ(EtiquetasEje(g).join('|'), casos[i].eje) << i;
        QImage imagen(540, 360, QImage::Format_RGB32);
        imagen.fill(Qt::gray);
        QPainter p(&imagen);
        const QStringList escritos = PintarGrafico(p, marco, g);
        p.end();
        int fuera = 0, datos = 0, exceso = 0;
        for (int y = 0; y < imagen.height(); ++y)
            for (int x = 0; x < imagen.width(); ++x) {
                const QRgb px = imagen.pixel(x, y);
                fuera += !marco.contains(x, y) && px != QColor(Qt::gray).rgb();
                datos += marco.contains(x, y) && enColor(px);
                exceso += px == QColor(kColorExceso).rgb();
            }
        EXPECT_EQ(fuera, 0) << i;
        EXPECT_GT(datos, 500) << i;
        EXPECT_GE(exceso, casos[i].exceso) << i;
        QStringList esperados =
            EtiquetasEje(g) + QStringList{g.titulo, g.ejeX, g.ejeY, g.categorias.first()};
        for (const auto& marca : g.marcas)
            esperados << marca.first;
        for (const QString& texto : esperados)
            EXPECT_TRUE(escritos.contains(texto)) << i << ' ' << texto.toStdString();
    }
}

// Until the read the last action started has ended.
void Esperar(frmTablero& v) {
    QSignalSpy fin(&v, &frmTablero::lecturaTerminada);
    ASSERT_TRUE(fin.wait(20000));
}

using PruebaVentanaTablero = PruebaVentas;
VIALTOR_EN_AMBOS_MOTORES(PruebaVentanaTablero);

// The window opens on today; each shortcut sets its days and reads them; a period ending
// before it starts is refused; the report lands where the listings go.
TEST_P(PruebaVentanaTablero, AtajosCifrasEInforme) {
    reloj.momento = QDateTime(QDate(2026, 12, 9), QTime(18, 0)); // a Wednesday
    salida("07/12/2026 10:00:00 am", 5000);
    salida("09/12/2026 10:00:00 am", 2000);
    frmTablero v;
    v.show();
    v.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&v));
    Esperar(v);
    EXPECT_EQ(v.lblCifras["cobrado"]->text(), "$2.000");
    // The keys stay in the window across a read: the menu would take its access keys.
    EXPECT_EQ(QApplication::focusWidget(), v.calDesde);
    // Today is read up to now: 00:00 to 18:00, no hour still to come.
    EXPECT_EQ(v.graOcupacion->grafico().categorias.size(), 19);
    const struct {
        QPushButton* boton;
        QDate desde, hasta;
        const char* salidas;
    } casos[] = {{v.btnAyer, QDate(2026, 12, 8), QDate(2026, 12, 8), "0"},
                 {v.btnEstaSemana, QDate(2026, 12, 7), QDate(2026, 12, 9), "2"},
                 {v.btnEsteMes, QDate(2026, 12, 1), QDate(2026, 12, 9), "2"},
                 {v.btnEsteAnio, QDate(2026, 1, 1), QDate(2026, 12, 9), "2"}};
    for (const auto& c : casos) {
        QTest::mouseClick(c.boton, Qt::LeftButton);
        Esperar(v);
        EXPECT_EQ(v.calDesde->date(), c.desde);
        EXPECT_EQ(v.calHasta->date(), c.hasta);
        EXPECT_EQ(v.lblCifras["salidas"]->text(), c.salidas);
        EXPECT_EQ(QApplication::focusWidget(), c.boton);
    }
    v.calHasta->setDate(QDate(2025, 12, 31));
    QTest::mouseClick(v.btnActualizar, Qt::LeftButton);
    EXPECT_EQ(ultimaCaja(), "La fecha final no puede ser anterior a la fecha inicial");
    v.calHasta->setDate(QDate(2026, 12, 7));
    QTest::mouseClick(v.btnGuardarInforme, Qt::LeftButton);
    Esperar(v);
    const QString informe = carpetas.programa + "/tablero_20260101_20261207.html";
    EXPECT_TRUE(LeerArchivo(informe).contains("data-valor=\"5000\""));
    EXPECT_EQ(ultimoMensaje(), "Tablero, se genera el archivo: tablero_20260101_20261207.html");

    // A read held back by this station's lock never stops the window for 100 ms: no second read
    // starts, its progress shows past 300 ms, its waits reach no wait cursor, and "Cancelar"
    // leaves the figures shown as they were.
    QStatusBar barra;
    EstablecerBarraEstado(&barra);
    int avisosAjenos = 0;
    EstablecerAvisoEspera([&avisosAjenos, gui = QThread::currentThread()](bool) {
        avisosAjenos += QThread::currentThread() != gui;
    });
    const auto retener = [](const char* archivo, const char* servidor) {
        AbrirConexion();
        Conexion.esServidor() ? Conexion.servidor().ejecutar(servidor)
                              : EjecutarDirecto(Conexion.manejador(), archivo);
    };
    bool progresoVisible = false;
    qint64 pausaMaxima = 0;
    QElapsedTimer desdeTic;
    QTimer tic;
    QObject::connect(&tic, &QTimer::timeout,
                     [&] { pausaMaxima = qMax(pausaMaxima, desdeTic.restart()); });
    QTimer::singleShot(450, [&] {
        const auto* progreso = v.findChild<QProgressDialog*>("prgTablero");
        progresoVisible = progreso && progreso->isVisible();
        if (progresoVisible)
            QTest::mouseClick(progreso->findChild<QPushButton*>(), Qt::LeftButton);
        retener("ROLLBACK", "ROLLBACK");
    });
    retener("BEGIN EXCLUSIVE", "BEGIN; LOCK TABLE Salidas IN ACCESS EXCLUSIVE MODE");
    desdeTic.start();
    tic.start(10);
    QTest::mouseClick(v.btnEsteMes, Qt::LeftButton);
    EXPECT_FALSE(v.btnActualizar->isEnabled());
    Esperar(v);
    EstablecerBarraEstado(nullptr);
    EXPECT_TRUE(pausaMaxima < 100 && progresoVisible && avisosAjenos == 0) << pausaMaxima;
    EXPECT_EQ(barra.currentMessage(), "Tablero: cálculo cancelado");
    EXPECT_EQ(v.lblCifras["cobrado"]->text(), "$5.000");

    // A real browser draws it: Debian's Chromium, headless, leaves a page neither blank nor grey.
    QTemporaryDir perfil;
    QProcess chromium;
    chromium.start("chromium", {"--headless", "--no-sandbox", "--disable-gpu",
                                "--user-data-dir=" + perfil.path(), "--window-size=800,1200",
                                "--screenshot=" + perfil.path() + "/p.png",
                                QUrl::fromLocalFile(informe).toString()});
    ASSERT_TRUE(chromium.waitForFinished(90000));
    const QImage pagina(perfil.path() + "/p.png");
    int tinta = 0, colores = 0;
    for (int y = 0; y < pagina.height(); ++y)
        for (int x = 0; x < pagina.width(); ++x) {
            tinta += qGray(pagina.pixel(x, y)) < 128;
            colores += enColor(pagina.pixel(x, y));
        }
    EXPECT_TRUE(pagina.width() == 800 && tinta > 5000 && colores > 200) << tinta << ' ' << colores;
}

} // namespace
