#pragma once
// A small fixed set of records around 24 December 2016, shared by the tests of the reports.

#include "acceso/parqueadero.h"
#include "principal/registros.h"
#include "reportes/busqueda.h"
#include "tests/acceso/apoyo_ventanas.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"

#include <QAbstractItemModel>

inline const QDate kDia(2016, 12, 24);

// Exits 7 (charged, 19 %), 8 (a client's, tax Null) and 9 (exempt) on the day, one a second
// before and one a second after it; one vehicle inside; the client "Ana Gómez Ruiz" of XAB9
// with a paid period and two unpaid ones, and a payment on the day and one after it.
inline const char* const kRegistros[] = {
    "INSERT INTO Salidas (FechaEntrada,FechaSalida,Placa,DescrVeh,Observaciones,id_tarifa,"
    "Tarifa,Tiempo,DescrTarifa,Cobrado,ConsecutivoDia,IVA,NroTicket,NDocumento) VALUES "
    "('24/12/2016 08:00:00 am','24/12/2016 10:00:00 am','ABC123','Sedán',NULL,1,1000,60,'CARRO',"
    "11900,1,19,'7','FV-007'),"
    "('24/12/2016 09:00:00 am','24/12/2016 11:00:00 am','XAB9','Moto','Casco',0,0,0,'CLIENTE',0,"
    "2,NULL,'8',NULL),"
    "('24/12/2016 10:00:00 am','24/12/2016 12:00:00 pm','EXE1','',NULL,0,0,0,'EXENTO',0,3,0,'9',"
    "NULL),"
    "('23/12/2016 10:00:00 pm','23/12/2016 11:59:59 pm','ABX0','','',1,1000,60,'CARRO',5000,9,"
    "19,'6',NULL),"
    "('24/12/2016 10:00:00 pm','25/12/2016 12:00:00 am','ABY0','','',1,1000,60,'CARRO',5000,1,"
    "19,'10',NULL)",
    "INSERT INTO Entradas (FechaEntrada,Placa,DescrVeh,Observaciones,id_tarifa,Tarifa,Tiempo,"
    "DescrTarifa) VALUES ('24/12/2016 09:30:00 am','ABD555','Van','',1,1000,60,'CARRO')",
    "INSERT INTO Clientes (Nombre,Ape1,Ape2,Placa,Activo,Identificacion) VALUES "
    "('Ana','Gómez','Ruiz','XAB9',True,'C-123')",
    "INSERT INTO FechaPago (id_cliente,FechaInicio,FechaFin,CantidadTotal,Pagado) VALUES "
    "(1,#2016/12/01#,#2016/12/31#,90000,True),(1,#2017/02/01#,#2017/02/28#,90000,False),"
    "(1,#2017/01/01#,#2017/01/31#,80000,False)",
    "INSERT INTO Pagos (id_fecha_pago,FechaPago,CantidadPago) VALUES "
    "(1,#2016/12/24#,50000),(1,#2016/12/25#,40000)"};

class PruebaReportes : public PruebaConBase {
protected:
    void SetUp() override {
        PruebaConBase::SetUp();
        for (const char* sentencia : kRegistros)
            Ejecutar(QString::fromUtf8(sentencia));
        CargarDatosParqueadero();
        reloj.momento = QDateTime(kDia, QTime(15, 0));
        SesionActual.NivelAcceso = QStringLiteral("1");
    }

    // The whole day, as the window's pickers give it by default.
    static FiltroBusqueda filtro(bool salidas, const QString& placa = QString(),
                                 std::optional<QString> tarifa = std::nullopt) {
        const PeriodoInforme dia{QDateTime(kDia, QTime(0, 0)), QDateTime(kDia, QTime(23, 59, 59))};
        return {dia, salidas, placa, tarifa};
    }

    // `n` exits of the day's afternoon, seven to a second, each inserted one a second earlier
    // than the one before, charging 1, 2, 3...; their tickets in the list's order.
    QStringList agregarSalidasDeLaTarde(int n) {
        QStringList valores, orden;
        for (int j = 0; j < n; ++j)
            valores << QStringLiteral("('24/12/2016 %1','CARRO',%2,'T%3')")
                           .arg(QTime(13, 0).addSecs((n - 1) / 7 - j / 7).toString("hh:mm:ss ap"))
                           .arg(j + 1)
                           .arg(j);
        // Newest second first; within a second, the later inserted (the higher key) first.
        for (int segundo = 0; segundo * 7 < n; ++segundo)
            for (int j = qMin(n - 1, segundo * 7 + 6); j >= segundo * 7; --j)
                orden << QStringLiteral("T%1").arg(j);
        Ejecutar("INSERT INTO Salidas (FechaSalida,DescrTarifa,Cobrado,NroTicket) VALUES " +
                 valores.join(','));
        return orden;
    }

    // Every column of row `f`, joined by '|'.
    static QString fila(const QAbstractItemModel& m, int f) {
        QStringList t;
        for (int c = 0; c < m.columnCount(); ++c)
            t << m.index(f, c).data().toString();
        return t.join('|');
    }
};

using PruebaReportesMotores = EnAmbosMotores<PruebaReportes>;
