#include "movimientos/ui/frmTarifas.h"
#include "principal/ui/aplicacion.h"
#include "principal/ui/controles.h"
#include "tests/movimientos/apoyo_movimientos.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <sqlite3.h>

namespace {

class PruebaManejadores : public PruebaMovimientos {
protected:
    void SetUp() override {
        PruebaMovimientos::SetUp();
        tarifas = std::make_unique<frmTarifas>();
        tarifas->show();
        sqlite3_open_v2(Conexion.rutaBaseDatos().toUtf8().constData(), &otra, SQLITE_OPEN_READWRITE,
                        nullptr);
    }
    void TearDown() override {
        sqlite3_close_v2(otra);
        tarifas.reset();
        PruebaMovimientos::TearDown();
    }
    void agregar(const char* descripcion) {
        tarifas->txtTarifa->setText("1500");
        tarifas->txtTiempo->setText("60");
        tarifas->txtDescrTarifa->setText(descripcion);
        Pulsar(tarifas->btnAgregar);
    }
    // SQL from another station.
    bool otraEstacion(const char* sql) {
        return sqlite3_exec(otra, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    }

    std::unique_ptr<frmTarifas> tarifas;
    sqlite3* otra = nullptr;
};

// A failure at a button's edge, seen by the attendant, the log, the database and the next click;
// while another station holds the file, a wait cursor, then a sentence in Spanish, the driver's
// text only in the log.
TEST_F(PruebaManejadores, UnBotonQueFallaMuestraRegistraSueltaLaBaseYLaVentanaSigue) {
    QVector<Qt::CursorShape> cursores;
    EstablecerAvisoEspera([&cursores](bool esperando) {
        MostrarCursorEspera(esperando);
        const QCursor* cursor = QGuiApplication::overrideCursor();
        cursores << (cursor ? cursor->shape() : Qt::ArrowCursor);
    });
    Conexion.fijarEsperaMaxima(100);
    const std::tuple<std::function<void()>, const char*, const char*> casos[] = {
        // The check, then the insert inside the transaction, which fails.
        {[] { Conexion.fallarSentencia(2); }, "Error de base de datos.", "fallo simulado"},
        {[&] { ASSERT_TRUE(otraEstacion("BEGIN IMMEDIATE")); },
         "Otra estación está usando la base de datos y no la liberó a tiempo. Espere un momento y "
         "vuelva a intentarlo.",
         "database is locked"},
    };
    for (const auto& [fallar, explicacion, causa] : casos) {
        Ejecutar("DELETE FROM Tarifas");
        dialogos.cajas.clear();
        fallar();
        agregar("CARRO");
        otraEstacion("ROLLBACK");
        ASSERT_EQ(dialogos.cajas.size(), 1);
        EXPECT_EQ(dialogos.cajas[0].texto + "|" + dialogos.cajas[0].titulo,
                  QString("No se pudo completar la operación.\n\n") + explicacion +
                      "|Error de base de datos");
        EXPECT_EQ(dialogos.cajas[0].icono, Icono::Critico);
        EXPECT_EQ(mensajes().last(),
                  QString("Error de base de datos: Error de base de datos - ") + causa);
        // Nothing of ours is left open: the other station can take the write lock.
        EXPECT_EQ(Conexion.State(), 0);
        EXPECT_TRUE(otraEstacion("BEGIN IMMEDIATE; ROLLBACK"));
        EXPECT_EQ(Tabla("SELECT DescrTarifa FROM Tarifas"), "");
        agregar("MOTO");
        EXPECT_EQ(ultimaCaja().texto + "|" + Tabla("SELECT DescrTarifa FROM Tarifas"),
                  "Tarifa agregada correctamente|MOTO");
    }
    // Only the held file made the click wait.
    EXPECT_EQ(cursores, QVector<Qt::CursorShape>({Qt::WaitCursor, Qt::ArrowCursor}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// Pasted or set, a single-line box keeps one line.
TEST_F(PruebaManejadores, LasCajasDeUnaLineaQuitanLosSaltosDeLinea) {
    QLineEdit* caja = tarifas->txtDescrTarifa;
    caja->clear();
    QGuiApplication::clipboard()->setText("AUTO\r\nMÓVIL\n");
    caja->paste();
    caja->insert("a\tb\u2028c");
    QLineEdit otra;
    UnaSolaLinea(&otra);
    otra.setText("x\r\ny");
    EXPECT_EQ(caja->text() + "|" + otra.text(), "AUTOMÓVILabc|xy");
}

} // namespace
