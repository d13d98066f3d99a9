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
        ASSERT_TRUE(copia == ventana.respaldo->copiando() && (!copia || terminada.wait(10000)));
        reloj.avanzar(60);
    }
    QStringList copias() const {
        return QDir(carpetas.programa + "/respaldos").entryList(QDir::Files);
    }

    frmPrincipal ventana;
};

TEST_F(PruebaRespaldo, ElCalendarioCuentaLosTicksYCopiaAlVencer) {
    calendario("840,900");
    tick();
    EXPECT_EQ(LeerArchivo(RutaCalendario()), "900\r\n900\r\n");
    tick(true);
    EXPECT_EQ(LeerArchivo(RutaCalendario()), "0\r\n900\r\n");
    EXPECT_EQ(copias().join('|') + '|' + lineasSucesos().last().section(';', 7),
              "vialtor 06-12-2026 10-01-00-CAJA1.mdb|Se ha realizado la copia de seguridad "
              "automática correctamente");
    // With no interval every tick copies.
    calendario("0\r\n0\r\n");
    tick(true);
    tick(true);
    EXPECT_EQ(copias().size(), 3);
}

TEST_F(PruebaRespaldo, UnaCopiaFallidaAvisaYSeReintentaAlTickSiguiente) {
    // Root writes anywhere: a file where the folder should be makes the copy fail.
    QFile(carpetas.programa + "/respaldos").open(QIODevice::WriteOnly);
    calendario("900\r\n900\r\n");
    tick(true);
    EXPECT_EQ(LeerArchivo(RutaCalendario()), "900\r\n900\r\n");
    EXPECT_TRUE(
        dialogos.textos().join("").contains("\nAutomáticamente se realiza cada 0,25 horas.") &&
        lineasSucesos().join('\n').contains("La copia de seguridad automática no se ha "
                                            "podido realizar - El sistema intentará "
                                            "realizarla nuevamente"));
    QFile::remove(carpetas.programa + "/respaldos");
    tick(true);
    EXPECT_EQ(copias().size(), 1);
}

TEST_F(PruebaRespaldo, SinCalendarioSeCreaUnoDiarioYElTickSigue) {
    ConfigInicio.AvisoTamanoBD = true;
    // No file, then a file of one item.
    for (const QByteArray contenido : {"", "840\r\n"}) {
        if (!contenido.isEmpty())
            calendario(contenido);
        tick();
        EXPECT_EQ(LeerArchivo(RutaCalendario()), "0\r\n86400\r\n");
        EXPECT_TRUE(lineasSucesos().join('\n').contains("vialtor_respaldos.cfg no existe"));
        EXPECT_TRUE(lineasSucesos().last().contains(";Tamaño de la base de datos: "));
    }
    // Switched off, the file is neither read nor written.
    ConfigInicio.RespaldoAutomatico = ConfigInicio.AvisoTamanoBD = false;
    calendario("900\r\n900\r\n");
    tick();
    EXPECT_EQ(LeerArchivo(RutaCalendario()), "900\r\n900\r\n");
}

// A box's own event loop lets the next tick run under it: no second box, one more log line.
TEST_F(PruebaRespaldo, LosUmbralesDanUnAvisoYNoSeRepiteMientrasEstaAbierto) {
    const std::tuple<const char*, const char*, const char*, int, AvisoTamano> casos[] = {
        {"", "", "", 1, AvisoTamano::Urgente},
        {"100", "200", "150", 180, AvisoTamano::Revisar},
        {"100", "200", "150", 201, AvisoTamano::Urgente},
        {"100", "200", "150", 99, AvisoTamano::Ninguno}};
    for (const auto& [desde, hasta, urgente, tamano, aviso] : casos)
        EXPECT_EQ(EvaluarTamano(tamano, desde, hasta, urgente), aviso) << tamano;
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
    ASSERT_EQ(anidados.cajas.size(), 1);
    EXPECT_EQ(anidados.cajas[0].icono, Icono::Exclamacion);
    const QString linea = QString("Tamaño de la base de datos: %1 bytes - Debe ser revisado lo "
                                  "antes posible por el soporte técnico")
                              .arg(QFile(carpetas.programa + "/vialtor.mdb").size());
    EXPECT_EQ(lineasSucesos().filter(linea).size(), 2);
    tick();
    EXPECT_EQ(anidados.cajas.size(), 2);
}

// The other station's open transaction has rewritten pages in the file (its cache is small): a
// copy of the bytes would mix old pages and new. Then it writes a row every few milliseconds,
// which starts the page copy over.
TEST_F(PruebaRespaldo, LaCopiaDeUnaBaseQueOtraEstacionEscribeEsValida) {
    const QString origen = carpetas.programa + "/vialtor.mdb";
    Crudas("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<3000) INSERT "
           "INTO Entradas (Placa, Observaciones) SELECT 'P'||i, hex(randomblob(1000)) FROM n");
    std::atomic<int> fase{0};
    std::thread otraEstacion([&] {
        sqlite3* db = nullptr;
        sqlite3_open_v2(QFile::encodeName(origen).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        RegistrarFuncionesJet(db);
        const auto sql = [db](const char* texto) { sqlite3_exec(db, texto, {}, {}, {}); };
        sql("PRAGMA busy_timeout=5000; PRAGMA cache_size=10; BEGIN; UPDATE Entradas SET Placa='N'");
        fase = 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        sql("COMMIT");
        for (; fase == 1; std::this_thread::sleep_for(std::chrono::milliseconds(2)))
            sql("INSERT INTO Entradas (Placa) VALUES ('OTRA')");
        sqlite3_close(db);
    });
    while (fase == 0)
        std::this_thread::yield();
    EXPECT_EQ(CopiarBaseDatos(origen, origen + "2"), "");
    fase = 2;
    otraEstacion.join();
    sqlite3* copia = nullptr;
    sqlite3_open_v2(QFile::encodeName(origen + "2").constData(), &copia, SQLITE_OPEN_READONLY, {});
    RegistrarFuncionesJet(copia);
    const char* consulta = "SELECT (SELECT * FROM pragma_integrity_check), count(*) FROM Entradas "
                           "WHERE Placa='N'";
    EXPECT_EQ(Crudas(consulta, copia), QStringList{"ok|3000"});
    sqlite3_close(copia);
}
