#include "acceso/frmPrincipal.h"
#include "principal/funcionesbd.h"
#include "principal/registros.h"
#include "principal/respaldo.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <atomic>
#include <thread>

class PruebaRespaldo : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        crearBaseDatos();
        ConfigInicio.AvisoTamanoBD = false;
    }
    void calendario(const QByteArray& contenido) {
        QFile archivo(RutaCalendario());
        ASSERT_TRUE(archivo.open(QIODevice::WriteOnly) && archivo.write(contenido));
    }
    // One tick of the main window, waiting for the copy it starts.
    void tick(bool copia = false) {
        QSignalSpy terminada(ventana.respaldo, &MonitorRespaldo::copiaTerminada);
        ventana.popTimer();
        ASSERT_EQ(copia, ventana.respaldo->copiando());
        ASSERT_TRUE(!copia || terminada.wait(10000));
        reloj.avanzar(60);
    }
    QStringList copias() const {
        return QDir(carpetas.programa + "/respaldos").entryList(QDir::Files);
    }
    QString ultimoSuceso() const { return lineasSucesos().last().section(';', 7); }

    frmPrincipal ventana;
};

TEST_F(PruebaRespaldo, ElCalendarioCuentaLosTicksYCopiaAlVencer) {
    calendario("840,900");
    tick();
    EXPECT_EQ(LeerArchivo(RutaCalendario()), "900\r\n900\r\n");
    tick(true);
    EXPECT_EQ(LeerArchivo(RutaCalendario()), "0\r\n900\r\n");
    ASSERT_EQ(copias(), QStringList{"vialtor 06-12-2026 10-01-00-CAJA1.mdb"});
    EXPECT_EQ(ultimoSuceso(), "Se ha realizado la copia de seguridad automática correctamente");
    // With no interval every tick copies.
    calendario("0\r\n0\r\n");
    tick(true);
    tick(true);
    EXPECT_EQ(copias().size(), 3);
    EXPECT_EQ(LeerArchivo(RutaCalendario()), "0\r\n0\r\n");
}

TEST_F(PruebaRespaldo, UnaCopiaFallidaAvisaYSeReintentaAlTickSiguiente) {
    // Root writes anywhere: a file where the folder should be makes the copy fail.
    QFile(carpetas.programa + "/respaldos").open(QIODevice::WriteOnly);
    calendario("900\r\n900\r\n");
    tick(true);
    EXPECT_EQ(LeerArchivo(RutaCalendario()), "900\r\n900\r\n");
    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_TRUE(dialogos.cajas[0].texto.contains("\nAutomáticamente se realiza cada 0,25 horas."));
    EXPECT_TRUE(lineasSucesos().join('\n').contains(
        "La copia de seguridad automática no se ha podido realizar - El sistema intentará "
        "realizarla nuevamente"));
    QFile::remove(carpetas.programa + "/respaldos");
    tick(true);
    EXPECT_EQ(copias().size(), 1);
}

TEST_F(PruebaRespaldo, SinCalendarioSeCreaUnoDiarioYElTickSigue) {
    for (const QByteArray& contenido : {QByteArray(), QByteArray("840\r\n")}) {
        if (!contenido.isNull())
            calendario(contenido);
        ConfigInicio.AvisoTamanoBD = true;
        tick();
        EXPECT_EQ(LeerArchivo(RutaCalendario()), "0\r\n86400\r\n");
        EXPECT_TRUE(lineasSucesos().join('\n').contains("vialtor_respaldos.cfg no existe"));
        EXPECT_TRUE(ultimoSuceso().startsWith("Tamaño de la base de datos: "));
    }
    // Switched off, the file is neither read nor written.
    ConfigInicio.RespaldoAutomatico = ConfigInicio.AvisoTamanoBD = false;
    calendario("900\r\n900\r\n");
    tick();
    EXPECT_EQ(LeerArchivo(RutaCalendario()), "900\r\n900\r\n");
}

TEST_F(PruebaRespaldo, LosUmbralesDanUnAvisoYLaBandaVaPrimero) {
    const std::tuple<const char*, const char*, const char*, int, AvisoTamano> casos[] = {
        {"", "", "", 1, AvisoTamano::Urgente},
        {"100", "200", "150", 180, AvisoTamano::Revisar},
        {"100", "200", "150", 201, AvisoTamano::Urgente},
        {"100", "200", "150", 99, AvisoTamano::Ninguno},
        {"1e", "2 0 0", "x", 201, AvisoTamano::Urgente}};
    for (const auto& [desde, hasta, urgente, tamano, aviso] : casos)
        EXPECT_EQ(EvaluarTamano(tamano, desde, hasta, urgente), aviso) << tamano;
    ConfigInicio.AvisoTamanoBD = true;
    ConfigInicio.RespaldoAutomatico = false;
    tick();
    const qint64 tamano = QFile(carpetas.programa + "/vialtor.mdb").size();
    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_EQ(dialogos.cajas[0].icono, Icono::Exclamacion);
    EXPECT_EQ(ultimoSuceso(), QString("Tamaño de la base de datos: %1 bytes - Debe ser revisado lo "
                                      "antes posible por el soporte técnico")
                                  .arg(tamano));
}

// A box's own event loop lets the next tick run under it.
TEST_F(PruebaRespaldo, UnAvisoAbiertoNoSeRepite) {
    struct DialogosAnidados : DialogosGuion {
        std::function<void()> alMostrar;
        Boton mensaje(const QString& t, const QString& ti, Icono i, Botones b, Boton p) override {
            if (auto anidado = std::exchange(alMostrar, nullptr))
                anidado();
            return DialogosGuion::mensaje(t, ti, i, b, p);
        }
    } anidados;
    anidados.alMostrar = [&] { tick(); };
    Servicios().dialogos = &anidados;
    ConfigInicio.AvisoTamanoBD = true;
    ConfigInicio.RespaldoAutomatico = false;
    tick();
    EXPECT_EQ(anidados.cajas.size(), 1);
    EXPECT_EQ(lineasSucesos().filter("Tamaño de la base de datos").size(), 2);
    tick();
    EXPECT_EQ(anidados.cajas.size(), 2);
}

TEST_F(PruebaRespaldo, LaCopiaDeUnaBaseQueOtraEstacionEscribeEsValida) {
    const QString origen = carpetas.programa + "/vialtor.mdb";
    AbrirConexion();
    EjecutarDirecto(Conexion.manejador(),
                    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<3000) "
                    "INSERT INTO Entradas (Placa, Observaciones) SELECT 'P'||i, "
                    "hex(randomblob(1000)) FROM n");
    CerrarConexion();
    std::atomic<bool> seguir{true};
    std::atomic<int> escritas{0};
    std::thread otraEstacion([&] {
        sqlite3* db = nullptr;
        sqlite3_open_v2(QFile::encodeName(origen).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        RegistrarFuncionesJet(db);
        sqlite3_busy_timeout(db, 5000);
        for (; seguir; std::this_thread::sleep_for(std::chrono::milliseconds(2)))
            if (sqlite3_exec(db, "INSERT INTO Entradas (Placa) VALUES ('OTRA')", nullptr, nullptr,
                             nullptr) == SQLITE_OK)
                ++escritas;
        sqlite3_close(db);
    });
    while (escritas == 0)
        std::this_thread::yield();
    const QString destino = carpetas.programa + "/copia.mdb";
    const QString error = CopiarBaseDatos(origen, destino);
    const int durante = escritas;
    seguir = false;
    otraEstacion.join();
    EXPECT_EQ(error, "");
    sqlite3* copia = nullptr;
    sqlite3_open_v2(QFile::encodeName(destino).constData(), &copia, SQLITE_OPEN_READONLY, nullptr);
    RegistrarFuncionesJet(copia);
    EXPECT_EQ(Crudas("PRAGMA integrity_check", copia), QStringList{"ok"});
    const int filas = Crudas("SELECT count(*) FROM Entradas WHERE Placa='OTRA'", copia)[0].toInt();
    EXPECT_TRUE(filas >= 1 && filas <= durante) << filas << " de " << durante;
    sqlite3_close(copia);
    EXPECT_FALSE(QFile::exists(destino + ".tmp"));
}
