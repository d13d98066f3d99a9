#pragma once
// Demo data for the owner's figures, straight into a station's file: `dias` days up to `hasta`
// of exits from 06:00 to 20:00 (cars and motorbikes, one in twenty a client's, one in twenty
// exempt, a few lost tickets, stays from minutes to over a day, none of the last day's reaching
// the next evening), eight vehicles still inside and a client's payment every week.

#include "bench/comun.h"

#include <QDate>
#include <string>

inline void CargarDemoTablero(const QString& carpeta, const QDate& hasta, int dias,
                              int salidasPorDia) {
    CargaDirecta carga(carpeta, "'Salidas','Entradas','Pagos'");
    const std::string desde = hasta.addDays(1 - dias).toString(Qt::ISODate).toStdString();
    const std::string porDia = std::to_string(salidasPorDia);
    const std::string salidas =
        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < " +
        std::to_string(static_cast<int64_t>(dias) * salidasPorDia) +
        "), e(i, fe, seg, clase) AS (SELECT i, datetime('" + desde + " 06:00:00', '+' || (i / " +
        porDia + ") || ' days', '+' || ((i % " + porDia + ") * 50400 / " + porDia +
        ") || ' seconds'), CASE WHEN i % 50 = 0 AND i / " + porDia + " < " +
        std::to_string(dias - 1) +
        " THEN 93600 WHEN i % 7 = 0 THEN 300 + i % 13 * 60 "
        "ELSE 1200 + i * 37 % 480 * 60 END, CASE i % 20 WHEN 0 THEN 'CLIENTE' WHEN 1 THEN "
        "'EXENTO' ELSE CASE WHEN i % 3 = 0 THEN 'MOTO' ELSE 'AUTOMOVIL' END END FROM n) "
        "INSERT INTO Salidas (FechaEntrada,FechaSalida,Placa,DescrVeh,id_tarifa,Tarifa,Tiempo,"
        "DescrTarifa,Cobrado,ConsecutivoDia,IVA,NroTicket,NDocumento,TicketPerdido) "
        "SELECT fe, datetime(fe, '+' || seg || ' seconds'), printf('D%05d', i % 60000), '', "
        "CASE clase WHEN 'AUTOMOVIL' THEN 1 WHEN 'MOTO' THEN 2 ELSE 0 END, "
        "CASE clase WHEN 'AUTOMOVIL' THEN 2000 WHEN 'MOTO' THEN 1000 ELSE 0 END, 60, clase, "
        "CASE clase WHEN 'AUTOMOVIL' THEN 2000 WHEN 'MOTO' THEN 1000 ELSE 0 END * "
        "((seg + 3599) / 3600), i % " +
        porDia +
        " + 1, CASE clase WHEN 'CLIENTE' THEN NULL WHEN 'EXENTO' THEN 0 ELSE 19 END, i + 1, "
        "printf('FV-%07d', i + 1), CASE WHEN i % 97 = 5 THEN -1 ELSE 0 END FROM e";
    EjecutarDirecto(carga.db, salidas.c_str());
    const std::string dentro =
        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 7) "
        "INSERT INTO Entradas (FechaEntrada,Placa,DescrVeh,id_tarifa,Tarifa,Tiempo,DescrTarifa) "
        "SELECT datetime('" +
        hasta.toString(Qt::ISODate).toStdString() +
        " 18:00:00', '+' || (i * 11) || ' minutes'), printf('IN%03d', i), '', 1, 2000, 60, "
        "'AUTOMOVIL' FROM n";
    EjecutarDirecto(carga.db, dentro.c_str());
    const std::string pagos =
        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 7 FROM n WHERE i + 7 < " +
        std::to_string(dias) +
        ") INSERT INTO Pagos (id_fecha_pago,FechaPago,CantidadPago) SELECT 1, datetime('" + desde +
        " 11:00:00', '+' || i || ' days'), 90000 FROM n";
    EjecutarDirecto(carga.db, pagos.c_str());
    carga.terminar();
}
