#pragma once
// A fresh database with an administrator's session; clients, periods and payments seeded as
// stored; the listing files and the log's messages read back.

#include "bd/sql.h"
#include "principal/formatos.h"
#include "principal/registros.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"
#include "turnos/turnos.h"

#include <initializer_list>

class PruebaClientes : public PruebaConBase {
protected:
    void SetUp() override {
        PruebaConBase::SetUp();
        SesionActual.Usuario = QStringLiteral("admin");
        SesionActual.NivelAcceso = QStringLiteral("1");
        ASSERT_TRUE(AbrirTurno(0).hecho());
    }
    QDate hoy() const { return reloj.momento.date(); }
    QByteArray archivo(const QString& nombre) const {
        return LeerArchivo(carpetas.programa + "/" + nombre);
    }
    // The log's messages by their first line, "+" when statements follow it.
    QStringList avisos() const {
        QStringList l;
        for (const QString& m : mensajes())
            l << m.section(kCrLf, 0, 0) + (m.contains(kCrLf) ? "+" : "");
        return l;
    }

    // Identification and notes left Null unless given.
    int64_t cliente(const QString& placa, bool activo = false, const QString& nombre = "Ana",
                    const QString& identificacion = QString(), const QString& notas = QString()) {
        const auto valor = [](const QString& t) { return t.isNull() ? "Null" : Texto(t); };
        return Ejecutar("INSERT INTO Clientes (Nombre,Ape1,Ape2,Placa,Activo,Identificacion,Notas) "
                        "VALUES (" +
                        Texto(nombre) + ",'Gómez','Ruiz'," + Texto(placa) +
                        (activo ? ",True," : ",False,") + valor(identificacion) + ',' +
                        valor(notas) + ')');
    }
    // A period of `total` from today, with its payments made today.
    int64_t periodo(int64_t idCliente, int total, bool pagado, std::initializer_list<int> pagos) {
        const int64_t id = Ejecutar(
            QStringLiteral("INSERT INTO FechaPago (id_cliente,FechaInicio,FechaFin,CantidadTotal,"
                           "Pagado,NRecibo) VALUES (%1,%2,%3,%4,%5,'7')")
                .arg(idCliente)
                .arg(LiteralFechaSimple(hoy()), LiteralFechaSimple(hoy().addDays(30)))
                .arg(total)
                .arg(pagado ? "True" : "False"));
        for (int pago : pagos)
            Ejecutar(QStringLiteral("INSERT INTO Pagos (id_fecha_pago,FechaPago,CantidadPago) "
                                    "VALUES (%1,%2,%3)")
                         .arg(id)
                         .arg(LiteralFechaSimple(hoy()))
                         .arg(pago));
        return id;
    }
    static void vaciar() {
        for (const char* tabla : {"Pagos", "FechaPago", "Clientes"})
            Ejecutar(QString("DELETE FROM ") + tabla);
    }
    // Every row of the three tables as stored.
    QString estado() {
        return Crudas("SELECT * FROM Clientes ORDER BY id_cliente").join(';') + '#' +
               Crudas("SELECT * FROM FechaPago ORDER BY id_fecha_pago").join(';') + '#' +
               Crudas("SELECT * FROM Pagos ORDER BY id_pago").join(';');
    }
};

using PruebaClientesMotores = EnAmbosMotores<PruebaClientes>;
