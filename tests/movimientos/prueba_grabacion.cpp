#include "tests/movimientos/apoyo_movimientos.h"
#include "principal/funcionesbd.h"
#include "movimientos/vehiculos.h"

#include <QTreeWidget>
#include <chrono>
#include <future>
#include <sqlite3.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// An exit at 10:00 of an entry at 08:30 under rate 1, charged 2000 (fields in declared order).
SalidaNueva NuevaSalida(int64_t idEntrada, const QString& placa) {
    return {idEntrada, placa,   kEntrada, "06/12/2026 10:00:00 am", placa, "", "", 1, 1000,
            60,        "CARRO", 2000};
}

class PruebaGrabacion : public PruebaMovimientos {
protected:
    // Another station: a connection of its own to the same database.
    sqlite3* otraEstacion() const {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open((carpetas.programa + "/vialtor.mdb").toUtf8().constData(), &db),
                  SQLITE_OK);
        RegistrarFuncionesJet(db);
        return db;
    }
};

TEST_F(PruebaGrabacion, SalidaTomadaPorOtraEstacionNoEscribeNadaYSoloSaleSuEntrada) {
    SembrarTarifa(1000, 60, "CARRO");
    const int64_t id = SembrarEntrada("ABC123");
    DialogosConGancho gancho;
    gancho.tituloGancho = QStringLiteral("CONFIRMAR SALIDA");
    gancho.gancho = [this] {
        sqlite3* otra = otraEstacion();
        EjecutarDirecto(otra, "DELETE FROM Entradas");
        sqlite3_close(otra);
    };
    Servicios().dialogos = &gancho;
    salir("ABC123");
    EXPECT_EQ(Salidas(), "");
    ASSERT_FALSE(gancho.cajas.isEmpty());
    EXPECT_EQ(gancho.cajas.last().texto,
              QStringLiteral("La salida de este vehículo ya fue registrada desde otro punto de "
                             "control; no se registra de nuevo"));
    EXPECT_TRUE(registrado(QStringLiteral("Mensaje: La salida ya fue registrada desde otro punto "
                                          "de control; botón Registrar Salida, desde "
                                          "Entradas/Salidas, Placa: ABC123")));
    EXPECT_EQ(v().ListView1->topLevelItemCount(), 0);
    EXPECT_FALSE(GrabarSalida(NuevaSalida(id, "ABC123")).has_value());
    EXPECT_EQ(Salidas(), "");
    // Of two entries of one plate, only the one leaving goes.
    const int64_t primera = SembrarEntrada("DOBLE1");
    const int64_t segunda = SembrarEntrada("DOBLE1", "06/12/2026 09:00:00 am");
    ASSERT_TRUE(GrabarSalida(NuevaSalida(primera, "DOBLE1")).has_value());
    EXPECT_EQ(Entradas("id_entrada"), QString::number(segunda));
}

TEST_F(PruebaGrabacion, FalloDuranteLaSalidaDesdeLaVentanaDejaTodoONada) {
    SembrarTarifa(1000, 60, "CARRO");
    Ajustar("PrefijoFactura='FV-'");
    Ejecutar("INSERT INTO Salidas (FechaSalida,Placa,Cobrado,ConsecutivoDia) VALUES "
             "('06/12/2026 09:00:00 am','PREVIA',0,1)");
    SembrarEntrada("ABC123");
    const QString antesS = Salidas();
    const QString antesE = Entradas();
    bool terminada = false;
    int intactas = 0;
    for (int k = 1; k < 200 && !terminada; ++k) {
        SCOPED_TRACE(k);
        v().txtPlaca->setText("ABC123");
        Conexion.fallarSentencia(k);
        bool fallo = true;
        try {
            v().btnSalidaClicked();
            fallo = false;
        } catch (const ErrorBD&) {
        }
        Conexion.fallarSentencia(0);
        CerrarConexion();
        const QString ahoraE = Entradas();
        if (fallo && ahoraE == antesE) {
            EXPECT_EQ(Salidas(), antesS);
            ++intactas;
            continue;
        }
        // Done whole: the exit is written and numbered and its entry is gone.
        terminada = true;
        EXPECT_EQ(ahoraE, "");
        const QString id = DeSalida("ABC123", "id_salida");
        EXPECT_EQ(DeSalida("ABC123", "NroTicket,NDocumento,ConsecutivoDia"),
                  id + ",FV-" + id + ",2");
    }
    EXPECT_TRUE(terminada);
    EXPECT_GE(intactas, 6);
}

TEST_F(PruebaGrabacion, ConsecutivoSeLeeTrasEsperarAlOtroEscritor) {
    const int64_t id = SembrarEntrada("ABC123");
    std::promise<void> escribiendo;
    // Another station holds the write lock with an uncommitted exit of the same day.
    std::thread otra([this, &escribiendo] {
        sqlite3* db = otraEstacion();
        EjecutarDirecto(db, "BEGIN IMMEDIATE");
        EjecutarDirecto(db, "INSERT INTO Salidas (FechaSalida,Placa,Cobrado,ConsecutivoDia) "
                            "VALUES ('2026-12-06 09:59:00','OTRA01',0,1)");
        escribiendo.set_value();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EjecutarDirecto(db, "COMMIT");
        sqlite3_close(db);
    });
    escribiendo.get_future().wait();
    std::optional<SalidaGrabada> grabada;
    EXPECT_NO_THROW(grabada = GrabarSalida(NuevaSalida(id, "ABC123")));
    otra.join();
    ASSERT_TRUE(grabada.has_value());
    EXPECT_EQ(grabada->consecutivoDia, 2);
    EXPECT_EQ(DeSalida("ABC123", "ConsecutivoDia"), "2");
}

// Exits registered by one process; the number of failures.
int RegistrarSalidas(const QVector<int64_t>& ids, const QString& prefijo) {
    int fallos = 0;
    for (int i = 0; i < ids.size(); ++i) {
        try {
            if (!GrabarSalida(NuevaSalida(ids[i], prefijo + QString::number(i))))
                ++fallos;
        } catch (const ErrorBD&) {
            ++fallos;
        }
    }
    CerrarConexion();
    return fallos;
}

TEST_F(PruebaGrabacion, DosProcesosNuncaCompartenElConsecutivoDelDia) {
    constexpr int kPorProceso = 40;
    QVector<int64_t> padre, hijo;
    {
        Transaccion carga;
        for (int i = 0; i < kPorProceso; ++i) {
            padre << SembrarEntrada("P" + QString::number(i));
            hijo << SembrarEntrada("H" + QString::number(i));
        }
        carga.confirmar();
    }
    CerrarConexion();
    const pid_t pid = fork();
    ASSERT_NE(pid, -1);
    if (pid == 0) {
        Conexion.olvidarHeredada();
        _exit(qMin(RegistrarSalidas(hijo, "H"), 100));
    }
    const int fallosPadre = RegistrarSalidas(padre, "P");
    int estado = 0;
    ASSERT_EQ(waitpid(pid, &estado, 0), pid);
    EXPECT_EQ(fallosPadre, 0);
    ASSERT_TRUE(WIFEXITED(estado));
    EXPECT_EQ(WEXITSTATUS(estado), 0);
    QStringList esperados;
    for (int i = 1; i <= 2 * kPorProceso; ++i)
        esperados << QString::number(i);
    EXPECT_EQ(Tabla("SELECT ConsecutivoDia FROM Salidas ORDER BY ConsecutivoDia").toStdString(),
              esperados.join('|').toStdString());
    EXPECT_EQ(Entradas(), "");
}

} // namespace
