#include "movimientos/vehiculos.h"
#include "tests/movimientos/apoyo_movimientos.h"

namespace {

// An exit at 10:00 of an entry at 08:30 under rate 1, charged 2000.
SalidaNueva NuevaSalida(int64_t idEntrada, const QString& placa) {
    const QDate dia(2026, 12, 6);
    SalidaNueva s;
    s.idEntrada = idEntrada, s.placa = placa, s.tarifa = {1, 1000, 60, "CARRO"}, s.cobrado = 2000;
    s.fechaEntrada = QDateTime(dia, QTime(8, 30)), s.fechaSalida = QDateTime(dia, QTime(10, 0));
    return s;
}

using PruebaGrabacion = PruebaMovimientos;

// Every statement of the exit must change its one row, or nothing of the exit stays.
TEST_F(PruebaGrabacion, SalidaSeDeshaceSiUnaSentenciaNoCambiaSuFila) {
    Ajustar("PrefijoFactura='FV-'");
    const int64_t id = SembrarEntrada("SS");
    for (const char* disparador :
         {"BEFORE DELETE ON Entradas", "BEFORE UPDATE OF NroTicket ON Salidas",
          "BEFORE UPDATE OF NDocumento ON Salidas"}) {
        SCOPED_TRACE(disparador);
        Ejecutar(QStringLiteral("CREATE TRIGGER ignorar %1 BEGIN SELECT RAISE(IGNORE); END")
                     .arg(disparador));
        EXPECT_THROW(GrabarSalida(NuevaSalida(id, "SS")), ErrorBD);
        CerrarConexion();
        Ejecutar("DROP TRIGGER ignorar");
        EXPECT_EQ(Salidas(), "");
    }
}

using PruebaGrabacionMotores = PruebaMovimientosMotores;
VIALTOR_EN_AMBOS_MOTORES(PruebaGrabacionMotores);

// A failure at any statement of an entry or an exit leaves nothing of it; the exit after a
// stored one is numbered on.
TEST_P(PruebaGrabacionMotores, FalloEnEntradaOSalidaDejaTodoONada) {
    SembrarTarifa(1000, 60, "CARRO");
    Ajustar("PrefijoFactura='FV-'");
    Ejecutar("INSERT INTO Salidas (FechaSalida,Placa,Cobrado,ConsecutivoDia) VALUES "
             "('06/12/2026 09:00:00 am','PREVIA',0,1)");
    int64_t entrada = 0;
    const std::function<void()> escrituras[] = {
        [&] {
            entrada = GrabarEntrada({reloj.momento, "ABC123", "", "", 1}).valor.idEntrada;
        },
        [&] { GrabarSalida(NuevaSalida(entrada, "ABC123")); }};
    for (const auto& escribir : escrituras)
        EXPECT_GE(FallarCadaSentencia(escribir, [] { return Entradas() + "/" + Salidas(); }), 5);
    const QString id = DeSalida("ABC123", "id_salida");
    EXPECT_EQ(DeSalida("ABC123", "NroTicket,NDocumento,ConsecutivoDia"), id + ",FV-" + id + ",2");
}

// One station's work: the exit of every entry of `ids` (the other station tries them too) and
// a new entry after each. The exits it wrote.
int Trabajar(const QVector<int64_t>& ids, const QString& prefijo) {
    int hechas = 0;
    for (int i = 0; i < ids.size(); ++i) {
        hechas += GrabarSalida(NuevaSalida(ids[i], prefijo + QString::number(i))).hecho();
        GrabarEntrada({QDateTime(QDate(2026, 12, 6), QTime(9, 0)),
                       prefijo + "N" + QString::number(i), "", "", 1});
    }
    CerrarConexion();
    return hechas;
}

using PruebaDosEstaciones = PruebaMovimientosMotores;
VIALTOR_EN_AMBOS_MOTORES(PruebaDosEstaciones);

// Two processes on one database: every vehicle leaves once, the day's numbers are 1..n with no
// repeat, and no entry registered meanwhile is lost.
TEST_P(PruebaDosEstaciones, NuncaCompartenConsecutivoNiSacanDosVecesNiPierdenEntradas) {
    constexpr int kEntradas = 100;
    SembrarTarifa(1000, 60, "CARRO");
    QVector<int64_t> ids;
    QStringList esperados, nuevas;
    {
        Transaccion carga;
        for (int i = 0; i < kEntradas; ++i) {
            ids << SembrarEntrada("E" + QString::number(i));
            esperados << QString::number(i + 1);
            nuevas << "PN" + QString::number(i) << "HN" + QString::number(i);
        }
        carga.confirmar();
    }
    const pid_t otra = EnOtraEstacion([&ids] { return Trabajar(ids, "H"); });
    const int esta = Trabajar(ids, "P");
    EXPECT_EQ(esta + Esperar(otra), kEntradas) << esta;
    EXPECT_EQ(Tabla("SELECT ConsecutivoDia FROM Salidas ORDER BY ConsecutivoDia").toStdString(),
              esperados.join('|').toStdString());
    nuevas.sort();
    EXPECT_EQ(Tabla("SELECT Placa FROM Entradas ORDER BY Placa").split('|'), nuevas);
}

} // namespace
