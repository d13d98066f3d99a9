#include "acceso/usuarios.h"
#include "bd/recordset.h"
#include "clientes/periodos.h"
#include "movimientos/vehiculos.h"
#include "principal/archivos.h"
#include "tests/turnos/apoyo_turnos.h"
#include "turnos/acciones/accionesturno.h"
#include "turnos/rastroauditoria.h"

#include <QProcess>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString Nombrada(const VerificacionAuditoria& v) {
    static const char* const fallas[] = {"íntegra",   "modificada", "borrada", "insertada",
                                         "reescrita", "sin cabeza", "vaciada", "sin tabla"};
    return (QString::fromUtf8(fallas[static_cast<int>(v.falla)]) +
            (v.orden ? QStringLiteral(" %1").arg(v.orden) : QString()) +
            (v.ancla.isEmpty() ? QString() : " ante " + v.ancla.section(':', 0, 0)) + ' ' + v.tabla)
        .trimmed();
}

VerificacionAuditoria Verificar(const QVector<AnclaAuditoria>& anclas = {}) {
    AbrirConexion();
    const VerificacionAuditoria v = VerificarAuditoria(anclas, 2);
    CerrarConexion();
    return v;
}

FilaAuditoria FilaDeOrden(int64_t orden) {
    AbrirConexion();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM Auditoria WHERE Orden = %1").arg(orden));
    const auto t = [&rs](const char* campo) { return rs.Fields(campo).aTexto(); };
    const FilaAuditoria f{
        orden,        rs.Fields("Fecha").aFecha(), t("Estacion"), t("Usuario"), t("Accion"),
        t("Detalle"), t("HashAnterior"),           t("Hash")};
    CerrarConexion();
    return f;
}

void Vaciar() {
    Ejecutar("DELETE FROM Auditoria");
    Ejecutar("DELETE FROM AuditoriaCabeza");
}

// What a script with write access does: the rows from `desde` to `hasta` rewritten and chained
// again as the program chains them; the head made to fit when they reach the last row, 5.
void Reescribir(int64_t desde, int64_t hasta = 5) {
    QString anterior = desde > 1 ? FilaDeOrden(desde - 1).hash : QString();
    for (int64_t n = desde; n <= hasta; ++n) {
        FilaAuditoria f = FilaDeOrden(n);
        f.detalle += " rehecha";
        f.hashAnterior = anterior;
        anterior = f.hash = HashAuditoria(f);
        Ejecutar(QStringLiteral("UPDATE Auditoria SET Detalle=%1, HashAnterior=%2, Hash=%3 WHERE "
                                "Orden=%4")
                     .arg(Texto(f.detalle), Texto(f.hashAnterior), Texto(f.hash))
                     .arg(n));
    }
    if (hasta == 5)
        Ejecutar("UPDATE AuditoriaCabeza SET Hash=" + Texto(anterior));
}

QString Ancla(int64_t orden) {
    return QStringLiteral("%1:").arg(orden) + FilaDeOrden(orden).hash.left(16);
}

// A copy of row %3 added as row %1, its chain fields taken as %2.
const QString kCopiar = QStringLiteral(
    "INSERT INTO Auditoria (Orden,Fecha,Estacion,Usuario,Accion,Detalle,HashAnterior,Hash) SELECT "
    "%1,Fecha,Estacion,Usuario,Accion,Detalle,%2 FROM Auditoria WHERE Orden=%3");

class PruebaAuditoria : public PruebaTurnos {
protected:
    // Five rows, a second apart, after wiping any trail.
    void sembrarCadena() {
        Vaciar();
        for (int n = 1; n <= 5; ++n) {
            reloj.avanzar(1);
            AuditarSolo("Prueba", QStringLiteral("fila %1 con 'comillas'").arg(n));
        }
    }
};
using PruebaAuditoriaMotores = PruebaAuditoria;
VIALTOR_EN_AMBOS_MOTORES(PruebaAuditoriaMotores);

// Each case: the row whose anchor was printed before (0: none), what the check names, and what
// was done to the trail.
TEST_P(PruebaAuditoriaMotores, LaVerificacionNombraLaFilaCambiadaBorradaOInsertada) {
    const std::tuple<int64_t, const char*, std::function<void()>> casos[] = {
        {0, "íntegra", [] {}},
        {0, "modificada 3",
         [] { Ejecutar("UPDATE Auditoria SET Detalle='fila 3' WHERE Orden=3"); }},
        {0, "modificada 1", [] { Ejecutar("UPDATE Auditoria SET Usuario='otro' WHERE Orden=1"); }},
        {0, "modificada 2",
         [] { Ejecutar("UPDATE Auditoria SET Fecha='06/12/2026 09:00:00 am' WHERE Orden=2"); }},
        {0, "borrada 3", [] { Ejecutar("DELETE FROM Auditoria WHERE Orden=3"); }},
        {0, "borrada 5", [] { Ejecutar("DELETE FROM Auditoria WHERE Orden=5"); }},
        {0, "borrada 1", [] { Ejecutar("DELETE FROM Auditoria WHERE Orden=1"); }},
        // A copy of row 2 added after the others.
        {0, "insertada 2", [] { Ejecutar(kCopiar.arg("Orden", "HashAnterior,Hash").arg(2)); }},
        // Rewritten with a hash of its own that fits: its successor still tells.
        {0, "modificada 3", [] { Reescribir(3, 3); }},
        // The last row rewritten with a hash of its own, the head left: the head tells.
        {0, "modificada 5",
         [] {
             const QString cabeza = FilaDeOrden(5).hash;
             Reescribir(5);
             Ejecutar("UPDATE AuditoriaCabeza SET Hash=" + Texto(cabeza));
         }},
        // A whole row forged after the last, chained as the program would: the head tells.
        {0, "insertada 6", [] { Ejecutar(kCopiar.arg("6", "Hash,''").arg(5)), Reescribir(6, 6); }},
        // Rows and head rewritten, or the tail cut and the head moved back: only an anchor
        // printed before tells.
        {3, "reescrita 3 ante 3", [] { Reescribir(1); }},
        {5, "borrada 4 ante 5",
         [] {
             Ejecutar("DELETE FROM Auditoria WHERE Orden>3");
             Ejecutar("UPDATE AuditoriaCabeza SET Orden=3, Hash=" + Texto(FilaDeOrden(3).hash));
         }},
        // Emptied: whole only while there was never an exit or a shift.
        {0, "íntegra", [] { Vaciar(); }},
        {0, "vaciada", [] { Vaciar(), Ejecutar("INSERT INTO Salidas (Placa) VALUES ('A1')"); }},
        {0, "vaciada", [this] { Ejecutar("DELETE FROM Salidas"), abrir(0), Vaciar(); }},
        {0, "sin cabeza", [] { Ejecutar("DELETE FROM AuditoriaCabeza"); }},
        {0, "sin tabla AuditoriaCabeza", [] { Ejecutar("DROP TABLE AuditoriaCabeza"); }},
    };
    for (const auto& [ancla, nombrada, alterar] : casos) {
        sembrarCadena();
        QVector<AnclaAuditoria> anclas;
        if (ancla)
            anclas << *LeerAncla(Ancla(ancla).toUpper());
        alterar();
        EXPECT_EQ(Nombrada(Verificar(anclas)), QString::fromUtf8(nombrada));
    }
}

TEST_P(PruebaAuditoriaMotores, UnaSentenciaQueFallaNoDejaNiLaAccionNiSuFila) {
    abrir(1000);
    SembrarEntrada("AAA111");
    AbrirConexion();
    const EntradaDentro e = *BuscarEntrada("AAA111");
    CerrarConexion();
    // Charged 1000 where the rate computed 1500.
    const SalidaNueva salida{e.idEntrada, e.fechaEntrada, reloj.momento, "AAA111", {},
                             {},          e.tarifa,       1000,          {},       false,
                             1500};
    // Each action with the least statements it runs (its own, its shift's and trail's rows) and
    // what no failure among them may change.
    const std::tuple<std::function<void()>, int, std::function<QString()>> acciones[] = {
        {[&] { GrabarSalida(salida); }, 8,
         [] {
             return Tabla("SELECT Orden, Accion FROM Auditoria") + ';' +
                    Tabla("SELECT COUNT(*) FROM MovimientosTurno") + ';' +
                    Tabla("SELECT COUNT(*) FROM Salidas") + ';' +
                    Tabla("SELECT Placa FROM Entradas");
         }},
        {[] { CerrarTurno(900); }, 2,
         [] {
             return Tabla("SELECT Contado FROM Turnos") + ';' +
                    Tabla("SELECT COUNT(*) FROM Auditoria WHERE Accion='Cierre de turno'");
         }}};
    for (const auto& [accion, minimo, estado] : acciones) {
        EXPECT_GE(FallarCadaSentencia(accion, estado), minimo);
        EXPECT_EQ(Nombrada(Verificar()), "íntegra");
    }
    EXPECT_EQ(Tabla("SELECT Tipo, Monto FROM MovimientosTurno ORDER BY id_movimiento"),
              "Salida,1000|ValorRebajado,500");
    EXPECT_EQ(Tabla("SELECT Contado, Diferencia FROM Turnos"), "900,-1100");
}

TEST_P(PruebaAuditoriaMotores, LasAccionesSensiblesDejanSuFila) {
    abrir(0);
    ASSERT_TRUE(AgregarUsuario({"pepe", "secreta", "Pepe", "", "", "3"}).hecho());
    AjustesParqueadero ajustes = DatosParqueadero;
    ajustes.Cupo = 12;
    ASSERT_TRUE(GrabarDatosParqueadero(ajustes, false).hecho());
    SembrarCliente("PAG001", QDate(2027, 1, 31), false);
    const int64_t periodo = Tabla("SELECT id_fecha_pago FROM FechaPago").toLongLong();
    ASSERT_TRUE(EfectuarPago(periodo, QDate(2026, 12, 6), 1000).hecho());
    // A deleted payment is no longer in the drawer.
    ASSERT_TRUE(EliminarPago(Tabla("SELECT id_pago FROM Pagos").toLongLong()).hecho());
    ASSERT_TRUE(CerrarTurno(1000).hecho());
    EXPECT_EQ(Tabla("SELECT Esperado FROM Turnos"), "0");
    EXPECT_EQ(Tabla("SELECT Orden, Usuario, Accion FROM Auditoria ORDER BY Orden"),
              "1,ana,Apertura de turno|2,ana,Alta de usuario|3,ana,Datos del parqueadero|"
              "4,ana,Pago de cliente|5,ana,Baja de pago de cliente|6,ana,Cierre de turno");
    // The password never reaches the trail.
    EXPECT_FALSE(Tabla("SELECT Detalle FROM Auditoria").contains("secreta"));
    EXPECT_EQ(Nombrada(Verificar()), "íntegra");
}

// Before each statement of the check in turn, another station (a process with its own
// connection) adds a row through the real writer: on the file the check's lock holds its commit
// back until the check ends, on the server it goes through at once. Never a false alarm.
TEST_P(PruebaAuditoriaMotores, OtraEstacionEscribiendoDuranteLaVerificacionNoEsUnaAlteracion) {
    sembrarCadena();
    int64_t filas = 5;
    for (int n = 1, escrita = 1; escrita; ++n) {
        int orden[2], aviso[2];
        ASSERT_TRUE(pipe(orden) == 0 && pipe(aviso) == 0);
        // Forked before the check: a process forked while SQLite holds a lock could never lock.
        const pid_t pid = fork();
        if (pid == 0) {
            Conexion.olvidarHeredada();
            close(orden[1]), close(aviso[0]);
            EstablecerAvisoEspera([&](bool espera) {
                if (espera && write(aviso[1], "e", 1) != 1)
                    _exit(2);
            });
            if (char c; read(orden[0], &c, 1) == 1)
                AuditarSolo("Otra estación", "escrita durante la verificación");
            _exit(0);
        }
        close(orden[0]), close(aviso[1]);
        escrita = 0;
        // Goes on once the other station's row is written or waits for the lock.
        Conexion.antesDeSentencia(n, [&] {
            char c;
            escrita = write(orden[1], "g", 1) == 1 && read(aviso[0], &c, 1) >= 0;
            ++filas;
        });
        EXPECT_EQ(Nombrada(Verificar()), "íntegra") << n;
        close(orden[1]);
        int estado = 0;
        EXPECT_TRUE(waitpid(pid, &estado, 0) == pid && WIFEXITED(estado) && !WEXITSTATUS(estado));
        close(aviso[0]);
    }
    Conexion.antesDeSentencia(0);
    EXPECT_EQ(Verificar().filas, filas);
}

// The anchors of a trail rewritten whole, checked by the tool (its exit code and words, on the
// folder or the server its vialtor_servidor.cfg names) and by the window.
TEST_P(PruebaAuditoriaMotores, LasAnclasImpresasDelatanLaReescrituraEnCrearBdYEnLaVentana) {
    sembrarCadena();
    ASSERT_TRUE(EscribirArchivo(carpetas.programa + "/vialtor_servidor.cfg",
                                ConfigInicio.Servidor.toUtf8()));
    const QString ancla3 = Ancla(3), ancla5 = Ancla(5);
    const auto crearBd = [&](const QStringList& anclas) {
        QProcess p;
        p.start(CREAR_BD, QStringList{"--verificar-auditoria", carpetas.programa} + anclas);
        p.waitForFinished();
        return QString::number(p.exitCode()) + ' ' +
               QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
    };
    EXPECT_EQ(crearBd({"--ancla", ancla3, "--ancla", ancla5.toUpper()}),
              "0 La auditoría está íntegra: 5 filas verificadas; anclas comprobadas: 2.");
    EXPECT_TRUE(crearBd({"--ancla", ancla3, "--ancla", "5:1234"})
                    .startsWith("2 El ancla indicada no es correcta: 5:1234 (escriba"));
    Reescribir(2);
    EXPECT_EQ(crearBd({"--ancla", ancla3}), "3 Alguna fila de la 1 a la 3 de la auditoría fue "
                                            "reescrita: la fila 3 ya no coincide con el ancla " +
                                                ancla3 + '.');
    // A malformed anchor is told and the box asked again; blanks and commas part them.
    SesionActual.NivelAcceso = "1";
    dialogos.entradas = QStringList{ancla5 + ",x", " 1:" + Ancla(1).mid(2) + ", " + ancla5 + ' '};
    PedirVerificarAuditoria();
    EXPECT_TRUE(dialogos.cajas.size() == 4 &&
                dialogos.cajas[1].texto.startsWith("El ancla indicada no es correcta: x (") &&
                dialogos.cajas[3].texto == "Alguna fila de la 2 a la 5 de la auditoría fue "
                                           "reescrita: la fila 5 ya no coincide con el ancla " +
                                               ancla5 + '.')
        << textos().toStdString();
}

} // namespace
