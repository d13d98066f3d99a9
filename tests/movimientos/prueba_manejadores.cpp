#include "movimientos/frmTarifas.h"
#include "principal/aplicacion.h"
#include "principal/controles.h"
#include "tests/movimientos/apoyo_movimientos.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <sqlite3.h>

namespace {

const QString kTitulo = QStringLiteral("Error de base de datos");
const QString kAgregada = QStringLiteral("Tarifa agregada correctamente");

// A failure at a button's edge, seen by the attendant, the log, the database and the next click.
class PruebaManejadores : public PruebaMovimientos {
protected:
    void SetUp() override {
        PruebaMovimientos::SetUp();
        tarifas = std::make_unique<frmTarifas>();
        tarifas->show();
    }
    void TearDown() override {
        tarifas.reset();
        PruebaMovimientos::TearDown();
    }
    void agregar(const char* descripcion) {
        tarifas->txtTarifa->setText("1500");
        tarifas->txtTiempo->setText("60");
        tarifas->txtDescrTarifa->setText(descripcion);
        Pulsar(tarifas->btnAgregar);
    }
    // Another station can take the write lock: nothing of ours is left open.
    bool archivoLibre() const {
        sqlite3* otra = nullptr;
        sqlite3_open_v2(Conexion.rutaBaseDatos().toUtf8().constData(), &otra, SQLITE_OPEN_READWRITE,
                        nullptr);
        const bool libre =
            sqlite3_exec(otra, "BEGIN IMMEDIATE; ROLLBACK", nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close_v2(otra);
        return libre;
    }
    // The failed click showed its box and logged it; the window still adds the next rate.
    void esperarFalloYSeguir(const QString& explicacion, const QString& suceso) {
        ASSERT_EQ(dialogos.cajas.size(), 1);
        EXPECT_EQ(dialogos.cajas[0].texto,
                  QStringLiteral("No se pudo completar la operación.\n\n") + explicacion);
        EXPECT_EQ(dialogos.cajas[0].titulo, kTitulo);
        EXPECT_EQ(dialogos.cajas[0].icono, Icono::Critico);
        EXPECT_EQ(mensajes().last(), suceso);
        EXPECT_EQ(Conexion.State(), 0);
        EXPECT_TRUE(archivoLibre());
        EXPECT_EQ(Tabla("SELECT DescrTarifa FROM Tarifas"), "");

        agregar("MOTO");
        EXPECT_EQ(dialogos.cajas.last().texto, kAgregada);
        EXPECT_EQ(Tabla("SELECT DescrTarifa FROM Tarifas"), "MOTO");
    }

    std::unique_ptr<frmTarifas> tarifas;
};

TEST_F(PruebaManejadores, UnBotonQueFallaMuestraRegistraCierraYLaVentanaSigue) {
    // The check, then the insert inside the transaction, which fails.
    Conexion.fallarSentencia(2);
    agregar("CARRO");
    esperarFalloYSeguir(QStringLiteral("Error de base de datos."),
                        QStringLiteral("Error de base de datos: Error de base de datos - fallo "
                                       "simulado"));
}

// Another station holds the file: a wait cursor while the click waits, then a sentence in
// Spanish; the driver's text and the statement only in the log.
TEST_F(PruebaManejadores, BaseOcupadaPorOtraEstacionCursorDeEsperaYFraseEnCastellano) {
    QVector<Qt::CursorShape> cursores;
    EstablecerAvisoEspera([&cursores](bool esperando) {
        MostrarCursorEspera(esperando);
        const QCursor* cursor = QGuiApplication::overrideCursor();
        cursores << (cursor ? cursor->shape() : Qt::ArrowCursor);
    });
    Conexion.fijarEsperaMaxima(100);
    sqlite3* otra = nullptr;
    sqlite3_open_v2(Conexion.rutaBaseDatos().toUtf8().constData(), &otra, SQLITE_OPEN_READWRITE,
                    nullptr);
    ASSERT_EQ(sqlite3_exec(otra, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    agregar("CARRO");
    sqlite3_exec(otra, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(otra);
    EXPECT_EQ(cursores, QVector<Qt::CursorShape>({Qt::WaitCursor, Qt::ArrowCursor}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    esperarFalloYSeguir(QStringLiteral("Otra estación está usando la base de datos y no la liberó "
                                       "a tiempo. Espere un momento y vuelva a intentarlo."),
                        QStringLiteral("Error de base de datos: Error de base de datos - "
                                       "database is locked"));
}

// Pasted or set, a single-line box keeps one line.
TEST_F(PruebaManejadores, LasCajasDeUnaLineaQuitanLosSaltosDeLinea) {
    QLineEdit* caja = tarifas->txtDescrTarifa;
    caja->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("AUTO\r\nMÓVIL\n"));
    caja->paste();
    EXPECT_EQ(caja->text(), QStringLiteral("AUTOMÓVIL"));
    caja->setText(QStringLiteral("a\tb\u2028c"));
    EXPECT_EQ(caja->text(), "abc");
    QLineEdit otra;
    UnaSolaLinea(&otra);
    otra.setText("x\r\ny");
    EXPECT_EQ(otra.text(), "xy");
}

} // namespace
