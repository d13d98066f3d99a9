#include "conexion.h"
#include "dobles.h"
#include "recordset.h"
#include "sql.h"

class PruebaBd : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        crearBaseDatos();
        AbrirConexion();
    }
};

TEST_F(PruebaBd, GuardaYLeeUnaEntradaConFechaDelReloj) {
    Recordset rs;
    rs.Open(QStringLiteral("INSERT INTO Entradas (FechaEntrada,Placa,id_tarifa,Tarifa,Tiempo,"
                           "DescrTarifa) VALUES ('06/12/2026 02:05:09 pm',%1,1,'1000','60','A')")
                .arg(Texto(QStringLiteral("abc'1"))));
    rs.Open(QStringLiteral("SELECT * FROM entradas WHERE placa = 'ABC''1'"));
    ASSERT_FALSE(rs.EOF());
    EXPECT_EQ(rs.Fields(QStringLiteral("FechaEntrada")).aFecha(),
              QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9)));
    EXPECT_EQ(rs.Fields(QStringLiteral("Tarifa")).aEntero(), 1000);
}
