#pragma once
// A database with the lot's settings, a logged-in cashier, and exits seeded by their exit time,
// shared by the summary and closing tests.

#include "principal/parqueadero.h"
#include "principal/registros.h"
#include "principal/sql.h"
#include "reportes/periodo.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"

inline const QString kCrlf = QStringLiteral("\r\n");

// dd/mm/yyyy hh:mm:ss am/pm, as the program writes its moments.
inline QDateTime Momento(const QString& texto) {
    return QDateTime::fromString(texto, QStringLiteral("dd/MM/yyyy hh:mm:ss ap"));
}

inline PeriodoInforme Periodo(const QString& inicio, const QString& fin) {
    return {Momento(inicio), Momento(fin)};
}

class PruebaVentas : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        crearBaseDatos();
        CargarDatosParqueadero();
        SesionActual = {"ana", "Ana", "Gómez", "Ruiz", "1"};
    }
    // An exit at `fecha`; `iva` and `documento` as SQL ("Null", "19", "'FV-2'"). Its ticket
    // number is its key.
    void salida(const QString& fecha, int cobrado, const QString& iva = "19",
                const QString& documento = "Null") {
        const int64_t id = Ejecutar(QStringLiteral("INSERT INTO Salidas (FechaSalida,Cobrado,IVA,"
                                                   "NDocumento) VALUES (%1,%2,%3,%4)")
                                        .arg(Texto(fecha))
                                        .arg(cobrado)
                                        .arg(iva, documento));
        Ejecutar(QStringLiteral("UPDATE Salidas SET NroTicket='%1' WHERE id_salida=%1").arg(id));
    }
    // Today's log messages, without date, time, station and user.
    QStringList mensajes() const {
        QStringList m;
        for (const QString& linea : lineasSucesos())
            m << linea.section(QLatin1Char(';'), 7);
        return m;
    }
};
