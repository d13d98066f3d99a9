#include "clientes/exentos.h"

#include "bd/conexion.h"
#include "bd/recordset.h"
#include "bd/sql.h"

namespace {

Cambio<> cambiarUna(const QString& sentencia) {
    return EnTransaccion([&] {
        if (EjecutarCambio(sentencia) != 1)
            return Rechazo(Resultado::NoEncontrado);
        return Hecho({sentencia});
    });
}

} // namespace

QString PlacaExento(const QString& texto) {
    return texto.trimmed().toUpper();
}

ConsultaLista ConsultaExentos() {
    return {QStringLiteral("*"),
            QStringLiteral("Exentos"),
            {},
            QStringLiteral("ActivoExento ASC, Ape1Exento ASC, Ape2Exento ASC, NombreExento ASC, "
                           "id_exento ASC"),
            QStringLiteral("id_exento")};
}

Cambio<> AgregarExento(const Exento& e) {
    return EnTransaccion([&] {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM Exentos WHERE PlacaExento=") + Texto(e.placa));
        if (!rs.Eof())
            return Rechazo(Resultado::PlacaRepetida);
        const QString insercion =
            QStringLiteral("INSERT INTO Exentos (PlacaExento,NombreExento,Ape1Exento,Ape2Exento,"
                           "TipoExento,ActivoExento) VALUES (") +
            Texto(e.placa) + QLatin1Char(',') + Texto(e.nombre) + QLatin1Char(',') + Texto(e.ape1) +
            QLatin1Char(',') + Texto(e.ape2) + QLatin1Char(',') + Texto(e.tipo) +
            QStringLiteral(",True)");
        ExigirUnaFila(insercion);
        return Hecho({insercion});
    });
}

QString ModificacionExento(const Exento& e) {
    return QStringLiteral("UPDATE Exentos SET PlacaExento=") + Texto(e.placa) +
           QStringLiteral(",NombreExento=") + Texto(e.nombre) + QStringLiteral(",Ape1Exento=") +
           Texto(e.ape1) + QStringLiteral(",Ape2Exento=") + Texto(e.ape2) +
           QStringLiteral(",TipoExento=") + Texto(e.tipo) + QStringLiteral(",ActivoExento=") +
           (e.activo ? QLatin1Char('1') : QLatin1Char('0')) + QStringLiteral(" WHERE id_exento=") +
           QString::number(e.id);
}

QString EliminacionExento(int64_t id) {
    return QStringLiteral("DELETE FROM Exentos WHERE id_exento = ") + QString::number(id);
}

Cambio<> ModificarExento(const Exento& e) {
    return cambiarUna(ModificacionExento(e));
}

Cambio<> EliminarExento(int64_t id) {
    return cambiarUna(EliminacionExento(id));
}
