#include "acceso/respaldo.h"
#include "acceso/ui/frmPrincipal.h"
#include "principal/registros.h"
#include "tests/acceso/apoyo_ventanas.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"
#include "tests/principal/apoyo_bd.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <functional>
#include <optional>
#include <thread>

class PruebaRespaldo : public PruebaMotores {
protected:
    void SetUp() override {
        PruebaMotores::SetUp();
        crearBaseDatos();
        ConfigInicio.AvisoTamanoBD = false;
        path_ = qgetenv("PATH");
    }
    void TearDown() override {
        qputenv("PATH", path_);
        PruebaMotores::TearDown();
    }
    // A program found before the real one of that name: a shell script with `cuerpo`, where
    // $REAL names the real program.
    void herramientaFalsa(const QString& nombre, const QString& cuerpo) {
        const QString bin = carpeta.path() + "/bin", script = bin + '/' + nombre;
        QDir().mkpath(bin);
        escribir(script, ("#!/bin/sh\nREAL=" + QStandardPaths::findExecutable(nombre) + "\n" +
                          cuerpo + "\n")
                             .toUtf8());
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", (bin + ':').toUtf8() + path_);
    }
    static void escribir(const QString& ruta, const QByteArray& bytes) {
        QFile archivo(ruta);
        ASSERT_TRUE(archivo.open(QIODevice::WriteOnly) && archivo.write(bytes) == bytes.size());
    }
    void calendario(const QByteArray& contenido) { escribir(RutaCalendario(), contenido); }
    // One tick of the main window, waiting for the copy it starts.
    void tick(bool copia = false) {
        QSignalSpy terminada(ventana.respaldo, &MonitorRespaldo::copiaTerminada);
        ventana.popTimer();
        ASSERT_TRUE(copia == ventana.respaldo->copiando() && (!copia || terminada.wait(10000)));
        reloj.avanzar(60);
    }
    QStringList copias() const {
        return QDir(carpetas.programa + "/respaldos").entryList(QDir::Files | QDir::Hidden);
    }
    // A copy's name at the clock's time.
    QString nombreCopia() const {
        return "vialtor " + reloj.momento.toString("dd-MM-yyyy HH-mm-ss") + "-CAJA1" +
               (servidor ? ".dump" : ".mdb");
    }

    frmPrincipal ventana;
    QByteArray path_;
};

VIALTOR_EN_AMBOS_MOTORES(PruebaRespaldo);

// The schedule and the size warnings, the same with either engine, and the file's own copy.
using PruebaRespaldoArchivo = PruebaRespaldo;
INSTANTIATE_TEST_SUITE_P(Sqlite, PruebaRespaldoArchivo, ::testing::Values(Motor::Sqlite));

// The server's password is checked (for one role) on the test cluster.
class PruebaRespaldoClave : public PruebaRespaldo {};
INSTANTIATE_TEST_SUITE_P(Servidor, PruebaRespaldoClave, ::testing::Values(Motor::Servidor));

// An emptied or damaged schedule is never replaced by one of the program's making: left as it is
// until mended (told once, logged once), or, once one was read whole, rewritten with that. The
// copy's name at an afternoon hour, so a 12-hour clock would show. What a copy of this station cut
// off earlier left behind goes; another station's copy under way stays. With no schedule a daily
// one is made and the tick goes on to the size check.
TEST_P(PruebaRespaldo, ElCalendarioSeCreaCuentaLosTicksYCopiaAlVencer) {
    reloj.momento.setTime(QTime(22, 0, 0));
    const QString respaldos = carpetas.programa + "/respaldos/vialtor 05-12-2026 09-00-00-";
    QDir().mkpath(carpetas.programa + "/respaldos");
    for (const char* resto :
         {"CAJA1.mdb.tmp", "CAJA1.mdb.tmp-journal", "CAJA1.dump.tmp", "CAJA2.mdb.tmp"})
        QFile(respaldos + resto).open(QIODevice::WriteOnly);
    // The schedule written before a tick (nullptr: as the last tick left it; "-": none, and the
    // tick measures the database), whether the tick copies, the schedule it leaves.
    const std::tuple<const char*, bool, const char*> ticks[] = {
        {"", false, ""},
        {"840\r\n", false, "840\r\n"},
        {"x\r\n900\r\n", false, "x\r\n900\r\n"},
        {"840,900", false, "900\r\n900\r\n"},
        {nullptr, true, "0\r\n900\r\n"},
        {"", false, "60\r\n900\r\n"},
        {nullptr, false, "120\r\n900\r\n"},
        {"-", false, "0\r\n86400\r\n"},
        // With no interval every tick copies.
        {"0\r\n0\r\n", true, "0\r\n0\r\n"},
        {nullptr, true, "0\r\n0\r\n"}};
    QStringList hechas{"vialtor 05-12-2026 09-00-00-CAJA2.mdb.tmp"};
    for (const auto& [antes, copia, despues] : ticks) {
        ConfigInicio.AvisoTamanoBD = antes && *antes == '-';
        if (antes)
            *antes == '-' ? void(QFile::remove(RutaCalendario())) : calendario(antes);
        if (copia)
            hechas << nombreCopia();
        tick(copia);
        EXPECT_EQ(LeerArchivo(RutaCalendario()), despues) << (antes ? antes : "");
    }
    EXPECT_EQ(copias(), hechas);
    const QString danado = "El archivo vialtor_respaldos.cfg está vacío o dañado - ";
    const QString hecha = "Se ha realizado la copia de seguridad automática correctamente";
    const QStringList m = mensajes().replaceInStrings(QRegularExpression(" \\d+ bytes - .*"), "");
    EXPECT_EQ(m, QStringList({danado + "No se modifica y la copia de seguridad automática queda "
                                       "detenida hasta que se corrija",
                              hecha, danado + "Se reescribe con el último calendario válido",
                              "El archivo vialtor_respaldos.cfg no existe - Se crea con 0 "
                              "segundos transcurridos y un intervalo de 86400 segundos",
                              "Tamaño de la base de datos:", hecha, hecha}));
    // Each damaged schedule told once in a box, its sentence first.
    EXPECT_EQ(
        dialogos.textos().replaceInStrings(QRegularExpression("\\.\n[\\s\\S]*"), "").mid(0, 2),
        QStringList({m.value(0), m.value(2)}));
}

// Each step that can fail: the copy cut short by a full disk, a copy that does not pass its
// check (a damaged page in the file, a dump that is garbage), a rename refused. Never anything
// under the final name unless checked, nothing left behind, the attendant told (once the typing
// has stopped: the box would take a key meant for another window), the next tick tries again
// and succeeds.
TEST_P(PruebaRespaldo, CadaPasoFallidoNoDejaNadaAvisaYSeReintenta) {
    const QString base = carpetas.programa + "/vialtor.mdb";
    const QByteArray original = LeerArchivo(base);
    std::optional<LimiteArchivo> discoLleno;
    const std::pair<std::function<void()>, QString> pasos[] = {
        {[&] { discoLleno.emplace(8192); }, servidor ? "pg_dump: " : "copia de páginas: "},
        {[&] {
             if (servidor)
                 return herramientaFalsa("pg_dump", "while [ \"$1\" != --file ]; do shift; "
                                                    "done; head -c 5000 /dev/urandom > \"$2\"");
             // A page in the middle, which the page copy takes as it is.
             ASSERT_GT(original.size(), 8 * 4096);
             escribir(base, QByteArray(original).replace(6 * 4096, 4096, QByteArray(4096, 'U')));
         },
         servidor ? "pg_restore: " : "comprobación de integridad: "},
        {[&] { QDir().mkpath(carpetas.programa + "/respaldos/" + nombreCopia() + "/otro"); },
         "no se pudo renombrar la copia a "}};
    QLineEdit placa;
    for (const auto& [romper, causa] : pasos) {
        calendario("900\r\n900\r\n");
        dialogos.cajas.clear();
        romper();
        QTest::keyClick(&placa, Qt::Key_A);
        tick(true);
        discoLleno.reset();
        qputenv("PATH", path_);
        if (!servidor)
            escribir(base, original);
        const QString m = mensajes().mid(mensajes().size() - 2).join('|');
        EXPECT_TRUE(m.startsWith("La copia de seguridad automática no se ha podido realizar - El "
                                 "sistema intentará realizarla nuevamente|Causa de la falla de la "
                                 "copia de seguridad: " +
                                 causa))
            << m.toStdString();
        // Nothing under any name, the copy due at the next tick, no box yet.
        EXPECT_EQ(copias().join('|') + LeerArchivo(RutaCalendario()) + UltimaCaja(dialogos),
                  "900\r\n900\r\n");
        const QString siguiente = nombreCopia();
        tick(true);
        EXPECT_EQ(copias(), QStringList{siguiente});
        EXPECT_TRUE(UltimaCaja(dialogos).contains("\nAutomáticamente se realiza cada 0,25 horas."));
        QFile::remove(carpetas.programa + "/respaldos/" + siguiente);
    }
}

// By hand, while the event loop ticks every 5 ms (its longest gap measured; the database large
// enough for the copy to last): a second request is refused, the bar goes at the end, the copy
// lands where the box says. Then a file stands where the folder should: named in box and log.
TEST_P(PruebaRespaldo, RespaldarAhoraNoDetieneLaVentanaYExplicaLaFalla) {
    Crudas(QString("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<20000) "
                   "INSERT INTO Entradas (Placa, Observaciones) SELECT 'P'||i, %1 FROM n")
               .arg(servidor ? "repeat(md5(i::text), 30)" : "hex(randomblob(500))"));
    const QString carpeta = carpetas.programa + "/respaldos", copia = carpeta + '/' + nombreCopia();
    const QString falla = "no se puede escribir en la carpeta de respaldos " + carpeta;
    // What the box after the refusal holds, the last line logged.
    const std::pair<QString, QString> casos[] = {
        {"correctamente en el archivo:\n\n" + copia,
         "Se ha realizado la copia de seguridad manual correctamente: " + copia},
        {"Causa: " + falla, "Causa de la falla de la copia de seguridad: " + falla}};
    for (const auto& [caja, linea] : casos) {
        dialogos.cajas.clear();
        QSignalSpy terminada(ventana.respaldo, &MonitorRespaldo::copiaTerminada);
        QElapsedTimer lapso;
        qint64 pausa = 0;
        QTimer latido;
        QObject::connect(&latido, &QTimer::timeout, [&] { pausa = qMax(pausa, lapso.restart()); });
        latido.start(5), lapso.start();
        ventana.mnuRespaldarAhora->trigger();
        const QPointer<QWidget> barra = ventana.findChild<QProgressDialog*>("frmRespaldarAhora");
        EXPECT_TRUE(barra && barra->isVisible());
        ventana.mnuRespaldarAhora->trigger();
        ASSERT_TRUE(terminada.wait(30000));
        EXPECT_LT(qMax(pausa, lapso.elapsed()), 100);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(textos().startsWith("Ya se está realizando una copia de seguridad. Espere a "
                                        "que termine.|") &&
                    textos().contains(caja))
            << textos().toStdString();
        EXPECT_TRUE(!barra && ultimoMensaje() == linea &&
                    QFile::exists(copia) == caja.endsWith(copia));
        QDir(carpeta).removeRecursively(), escribir(carpeta, "x");
    }
}

// The password reaches pg_dump in its environment: the arguments, which every local user can
// read, hold none. A wrong one is refused, so the right one was really used.
TEST_P(PruebaRespaldoClave, LaClaveNoVaEnLosArgumentosDePgDump) {
    const QString archivoHba = Tabla("SHOW hba_file");
    Ejecutar("DROP ROLE IF EXISTS con_clave");
    Ejecutar("CREATE ROLE con_clave LOGIN PASSWORD 'secreto' IN ROLE pg_read_all_data");
    escribir(archivoHba, "local all con_clave scram-sha-256\n" + LeerArchivo(archivoHba));
    Tabla("SELECT pg_reload_conf()");
    const QString argumentos = carpeta.path() + "/argumentos";
    herramientaFalsa("pg_dump", "echo \"$@\" >> '" + argumentos + "'; exec \"$REAL\" \"$@\"");
    const QString conexion = ConfigInicio.Servidor + " user=con_clave password=";
    const QString destino = carpetas.programa + "/r.dump";
    // The server reads its rules again on its own time.
    QString error;
    for (int i = 0;
         i < 50 && (error = CopiarBaseDatosServidor(conexion + "otra", destino)).isEmpty(); ++i)
        QThread::msleep(100);
    EXPECT_TRUE(error.contains("password authentication failed")) << error.toStdString();
    EXPECT_EQ(CopiarBaseDatosServidor(conexion + "secreto", destino), "");
    const QByteArray vistos = LeerArchivo(argumentos);
    EXPECT_TRUE(vistos.contains("user='con_clave'") &&
                !(vistos.contains("secreto") || vistos.contains("otra")));
}

// With the working folder's disk full (a 64 KiB tmpfs mounted over it, root only) the schedule
// keeps its content; told and logged once.
TEST_P(PruebaRespaldoArchivo, ConElDiscoLlenoElCalendarioConservaSuContenido) {
    const QString trabajo = carpetas.trabajo;
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", trabajo}) != 0)
        GTEST_SKIP() << "no se puede montar un tmpfs";
    const auto desmontar = qScopeGuard([&] { QProcess::execute("umount", {trabajo}); });
    calendario("840\r\n900\r\n");
    // More than the whole disk, written as far as it goes.
    QFile relleno(trabajo + "/relleno");
    relleno.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    relleno.write(QByteArray(128 * 1024, 'x'));
    tick();
    tick();
    EXPECT_EQ(LeerArchivo(RutaCalendario()), "840\r\n900\r\n");
    const QString suceso = "No se pudo escribir el archivo vialtor_respaldos.cfg: ";
    const QStringList m = mensajes();
    EXPECT_TRUE(m.size() == 1 && m[0].startsWith(suceso) && dialogos.cajas.size() == 1 &&
                dialogos.cajas[0].texto.startsWith(suceso));
    EXPECT_EQ(QDir(trabajo).entryList(QDir::Files | QDir::Hidden),
              QStringList({"relleno", "vialtor_respaldos.cfg"}));
}

// A box's own event loop lets the next tick run under it: no second box, one more log line.
TEST_P(PruebaRespaldoArchivo, LosUmbralesDanUnAvisoYNoSeRepiteMientrasEstaAbierto) {
    DialogosConGancho anidados(TituloAplicacion);
    anidados.gancho = [&] { tick(); };
    Servicios().dialogos = &anidados;
    ConfigInicio.AvisoTamanoBD = true;
    // Copies switched off: the schedule is neither read nor written.
    ConfigInicio.RespaldoAutomatico = false;
    calendario("900\r\n900\r\n");
    // A key typed a moment ago postpones the box, so it takes no key meant for another window.
    QLineEdit placa;
    QTest::keyClick(&placa, Qt::Key_A);
    reloj.avanzar(MonitorRespaldo::kPausaTecladoSegundos - 1);
    tick();
    EXPECT_TRUE(anidados.cajas.isEmpty() && mensajes().isEmpty());
    tick();
    EXPECT_TRUE(anidados.cajas.size() == 1 && anidados.cajas[0].icono == Icono::Exclamacion);
    const QString linea = QString("Tamaño de la base de datos: %1 bytes - Debe ser revisado lo "
                                  "antes posible por el soporte técnico")
                              .arg(QFile(carpetas.programa + "/vialtor.mdb").size());
    EXPECT_EQ(lineasSucesos().filter(linea).size(), 2);
    tick();
    EXPECT_EQ(anidados.cajas.size(), 2);
    EXPECT_EQ(LeerArchivo(RutaCalendario()), "900\r\n900\r\n");
}

// The other station's open transaction has rewritten pages in the file (its cache is small): a
// copy of the bytes would mix old pages and new. Then it writes a row every few milliseconds,
// which starts the page copy over.
TEST_P(PruebaRespaldoArchivo, LaCopiaEsValidaConOtraEstacionEscribiendoYFallaSinLaBase) {
    const QString origen = carpetas.programa + "/vialtor.mdb";
    Crudas("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<3000) INSERT "
           "INTO Entradas (Placa, Observaciones) SELECT 'P'||i, hex(randomblob(1000)) FROM n");
    std::atomic<int> fase{0};
    std::thread otraEstacion([&] {
        OtraEstacion otra(origen);
        otra.ejecutar("PRAGMA busy_timeout=5000; PRAGMA cache_size=10; BEGIN; UPDATE Entradas SET "
                      "Placa='N'");
        fase = 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        otra.ejecutar("COMMIT");
        for (; fase == 1; std::this_thread::sleep_for(std::chrono::milliseconds(2)))
            otra.ejecutar("INSERT INTO Entradas (Placa) VALUES ('OTRA')");
    });
    while (fase == 0)
        std::this_thread::yield();
    EXPECT_EQ(CopiarBaseDatos(origen, origen + "2"), "");
    fase = 2;
    otraEstacion.join();
    EXPECT_EQ(Crudas("SELECT (SELECT * FROM pragma_integrity_check), count(*) FROM Entradas "
                     "WHERE Placa='N'",
                     OtraEstacion(origen + "2", SQLITE_OPEN_READONLY).db),
              QStringList{"ok|3000"});
    // A database gone from its folder (a share gone offline, say) is a failed copy: never an
    // empty copy called good, nor an empty database left where the data should be.
    const QString ausente = carpetas.programa + "/ausente.mdb";
    EXPECT_TRUE(
        CopiarBaseDatos(ausente, ausente + "2").startsWith("apertura de la base de datos: "));
    EXPECT_EQ(QDir(carpetas.programa).entryList({"ausente*"}, QDir::Files), QStringList());
}
