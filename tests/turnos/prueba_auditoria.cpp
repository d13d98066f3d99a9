#include "clientes/periodos.h"
#include "movimientos/vehiculos.h"
#include "principal/recordset.h"
#include "principal/usuarios.h"
#include "tests/turnos/apoyo_turnos.h"
#include "turnos/auditoria.h"

#include <functional>

namespace {

QString Nombrada(const VerificacionAuditoria& v) {
    static const char* const fallas[] = {"íntegra", "modificada", "borrada", "insertada"};
    return QString::fromUtf8(fallas[static_cast<int>(v.falla)]) +
           (v.integra() ? QString() : QStringLiteral(" %1").arg(v.orden));
}

VerificacionAuditoria Verificar(int filasPorLectura = 2) {
    AbrirConexion();
    const VerificacionAuditoria v = VerificarAuditoria(filasPorLectura);
    CerrarConexion();
    return v;
}

FilaAuditoria FilaDeOrden(int64_t orden) {
    AbrirConexion();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM Auditoria WHERE Orden = %1").arg(orden));
    FilaAuditoria f{orden,
                    rs.Fields("Fecha").aFecha(),
                    rs.Fields("Estacion").aTexto(),
                    rs.Fields("Usuario").aTexto(),
                    rs.Fields("Accion").aTexto(),
                    rs.Fields("Detalle").aTexto(),
                    rs.Fields("HashAnterior").aTexto(),
                    rs.Fields("Hash").aTexto()};
    CerrarConexion();
    return f;
}

// A copy of row %3 added as row %1, its chain fields taken as %2.
const QString kCopiar = QStringLiteral(
    "INSERT INTO Auditoria (Orden,Fecha,Estacion,Usuario,Accion,Detalle,HashAnterior,Hash) SELECT "
    "%1,Fecha,Estacion,Usuario,Accion,Detalle,%2 FROM Auditoria WHERE Orden=%3");

class PruebaAuditoria : public PruebaTurnos {
protected:
    // Five rows, a second apart, after wiping any trail.
    void sembrarCadena() {
        Ejecutar("DELETE FROM Auditoria");
        Ejecutar("DELETE FROM AuditoriaCabeza");
        for (int n = 1; n <= 5; ++n) {
            reloj.avanzar(1);
            AuditarSolo("Prueba", QStringLiteral("fila %1 con 'comillas'").arg(n));
        }
    }
};
using PruebaAuditoriaMotores = PruebaAuditoria;
VIALTOR_EN_AMBOS_MOTORES(PruebaAuditoriaMotores);

TEST_P(PruebaAuditoriaMotores, LaVerificacionNombraLaFilaCambiadaBorradaOInsertada) {
    const std::pair<std::function<void()>, const char*> casos[] = {
        {[] {}, "íntegra"},
        {[] { Ejecutar("UPDATE Auditoria SET Detalle='fila 3' WHERE Orden=3"); }, "modificada 3"},
        {[] { Ejecutar("UPDATE Auditoria SET Usuario='otro' WHERE Orden=1"); }, "modificada 1"},
        {[] { Ejecutar("UPDATE Auditoria SET Fecha='06/12/2026 09:00:00 am' WHERE Orden=2"); },
         "modificada 2"},
        {[] { Ejecutar("DELETE FROM Auditoria WHERE Orden=3"); }, "borrada 3"},
        {[] { Ejecutar("DELETE FROM Auditoria WHERE Orden=5"); }, "borrada 5"},
        {[] { Ejecutar("DELETE FROM Auditoria WHERE Orden=1"); }, "borrada 1"},
        // A copy of row 2 added after the others.
        {[] { Ejecutar(kCopiar.arg("Orden", "HashAnterior,Hash").arg(2)); }, "insertada 2"},
        // Rewritten with a hash of its own that fits: its successor still tells.
        {[] {
             FilaAuditoria f = FilaDeOrden(3);
             f.detalle = "fila 3 rehecha";
             f.hash = HashAuditoria(f);
             Ejecutar("UPDATE Auditoria SET Detalle=" + Texto(f.detalle) +
                      ", Hash=" + Texto(f.hash) + " WHERE Orden=3");
         },
         "modificada 3"},
        // A whole row forged after the last, chained as the program would: the head tells.
        {[] {
             Ejecutar(kCopiar.arg("6", "Hash,''").arg(5));
             Ejecutar("UPDATE Auditoria SET Hash=" + Texto(HashAuditoria(FilaDeOrden(6))) +
                      " WHERE Orden=6");
         },
         "insertada 6"},
    };
    for (const auto& [alterar, nombrada] : casos) {
        sembrarCadena();
        alterar();
        EXPECT_EQ(Nombrada(Verificar()), QString::fromUtf8(nombrada));
    }
}

TEST_P(PruebaAuditoriaMotores, UnaSentenciaQueFallaNoDejaNiLaAccionNiSuFila) {
    abrir(1000);
    SembrarEntrada("AAA111");
    AbrirConexion();
    const EntradaDentro entrada = *BuscarEntrada("AAA111");
    CerrarConexion();
    SalidaNueva salida;
    salida.idEntrada = entrada.idEntrada;
    salida.fechaEntrada = entrada.fechaEntrada;
    salida.fechaSalida = reloj.momento;
    salida.placa = "AAA111";
    salida.tarifa = entrada.tarifa;
    salida.cobrado = 1000;
    salida.calculado = 1500;
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
    ASSERT_TRUE(GrabarDatosParqueadero(ajustes, false));
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
    EXPECT_EQ(Nombrada(Verificar(5000)), "íntegra");
}

} // namespace
