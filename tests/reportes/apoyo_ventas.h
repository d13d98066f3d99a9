#pragma once
// A database with the lot's settings, a logged-in cashier, and exits seeded by their exit time,
// shared by the summary and closing tests.

#include "acceso/parqueadero.h"
#include "bd/sql.h"
#include "principal/registros.h"
#include "reportes/periodo.h"
#include "tests/acceso/apoyo_ventanas.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"

// Bounds written dd/mm/yyyy hh:mm:ss am/pm, as the program writes its moments.
inline PeriodoInforme Periodo(const QString& inicio, const QString& fin) {
    return {QDateTime::fromString(inicio, "dd/MM/yyyy hh:mm:ss ap"),
            QDateTime::fromString(fin, "dd/MM/yyyy hh:mm:ss ap")};
}

// Once on the file and once on the server.
class PruebaVentas : public PruebaMotores {
protected:
    void SetUp() override {
        PruebaMotores::SetUp();
        crearBaseDatos();
        CargarDatosParqueadero();
        SesionActual = {"ana", "Ana", "Gómez", "Ruiz", "1"};
        reloj.momento = QDateTime(QDate(2026, 12, 6), QTime(22, 0));
    }
    // The text of the last box shown, empty if none.
    QString ultimaCaja() const { return UltimaCaja(dialogos); }
    // An exit at `fecha`, its ticket number its key; `iva` and `documento` as SQL ("Null",
    // "19", "'FV-2'").
    void salida(const QString& fecha, int cobrado, const QString& iva = "19",
                const QString& documento = "Null") {
        Ejecutar(QStringLiteral("INSERT INTO Salidas (FechaSalida,Cobrado,IVA,NDocumento,NroTicket)"
                                " VALUES (%1,%2,%3,%4,(SELECT COUNT(*) + 1 FROM Salidas))")
                     .arg(Texto(fecha))
                     .arg(cobrado)
                     .arg(iva, documento));
    }
};
