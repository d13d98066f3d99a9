#include "movimientos/tarifas.h"

#include "principal/recordset.h"
#include "principal/sql.h"

namespace {

int64_t contar(const QString& condicion) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT COUNT(*) As Total FROM Tarifas WHERE ") + condicion);
    return rs.Fields(QStringLiteral("Total")).aEntero();
}

} // namespace

Cambio<> GrabarTarifa(const DatosTarifa& datos) {
    return EnTransaccion([&] {
        // The check and the insert together, so two stations cannot both add the same rate.
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM Tarifas WHERE Tarifa=") +
                QString::number(datos.tarifa) + QStringLiteral(" AND Tiempo=") +
                QString::number(datos.tiempo) + QStringLiteral(" AND DescrTarifa=") +
                Texto(datos.descripcion));
        if (!rs.Eof())
            return Rechazo(Resultado::TarifaRepetida);
        const QString insercion = QStringLiteral("INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,"
                                                 "MostrarEnEntradas,MostrarEnSalidas) VALUES (") +
                                  Texto(QString::number(datos.tarifa)) + QLatin1Char(',') +
                                  Texto(QString::number(datos.tiempo)) + QLatin1Char(',') +
                                  Texto(datos.descripcion) + QStringLiteral(",True,True)");
        ExigirUnaFila(insercion);
        return Hecho({insercion});
    });
}

Cambio<bool> ModificarTarifa(int64_t idTarifa, const DatosTarifa& datos) {
    const QString donde = QStringLiteral(" WHERE id_tarifa=") + QString::number(idTarifa);
    return EnTransaccion([&] {
        const QString cambio =
            QStringLiteral("UPDATE Tarifas SET Tarifa=") + QString::number(datos.tarifa) +
            QStringLiteral(",Tiempo=") + QString::number(datos.tiempo) +
            QStringLiteral(",DescrTarifa=") + Texto(datos.descripcion) +
            QStringLiteral(",MostrarEnEntradas=") + QString::number(datos.enEntradas) +
            QStringLiteral(",MostrarEnsalidas=") + QString::number(datos.enSalidas) + donde;
        if (EjecutarCambio(cambio) != 1)
            return Rechazo<bool>(Resultado::NoEncontrado);
        const int64_t enEntradas = contar(QStringLiteral("MostrarEnEntradas=True"));
        const int64_t enSalidas = contar(QStringLiteral("MostrarEnSalidas=True"));
        if (enEntradas > 0 && enSalidas > 0)
            return Hecho<bool>({cambio}, false);
        const QString ambas =
            QStringLiteral("UPDATE Tarifas SET MostrarEnEntradas=True,MostrarEnSalidas=True") +
            donde;
        ExigirUnaFila(ambas);
        return Hecho<bool>({cambio, ambas}, true);
    });
}

Cambio<> EliminarTarifa(int64_t idTarifa) {
    return EnTransaccion([&] {
        const QString borrado =
            QStringLiteral("DELETE FROM Tarifas WHERE id_tarifa = ") + QString::number(idTarifa);
        if (EjecutarCambio(borrado) != 1)
            return Rechazo(Resultado::NoEncontrado);
        return Hecho({borrado});
    });
}

namespace {

std::optional<int64_t> importe(const Valor& campo) {
    return campo.esNulo() ? std::nullopt : std::optional<int64_t>(campo.aEntero());
}

} // namespace

ReglasTarifa LeerReglasTarifa(int64_t idTarifa) {
    ReglasTarifa reglas;
    const QString id = QString::number(idTarifa);
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM ReglasTarifas WHERE id_tarifa = ") + id);
    if (!rs.Eof()) {
        reglas.gracia = rs.Fields(QStringLiteral("MinutosGracia")).aEntero();
        reglas.minimo = importe(rs.Fields(QStringLiteral("CobroMinimo")));
        reglas.tope = importe(rs.Fields(QStringLiteral("TopeCobro")));
        reglas.topeDiaCalendario = rs.Fields(QStringLiteral("TopeDiaCalendario")).aBandera();
        reglas.ticketPerdido = importe(rs.Fields(QStringLiteral("ValorTicketPerdido")));
    }
    rs.Close();
    rs.Open(QStringLiteral("SELECT * FROM FranjasTarifas WHERE id_tarifa = ") + id +
            QStringLiteral(" ORDER BY id_franja"));
    for (; !rs.Eof(); rs.MoveNext())
        reglas.franjas << FranjaTarifa{
            rs.Fields(QStringLiteral("NombreFranja")).aTexto(),
            static_cast<int>(rs.Fields(QStringLiteral("MinutoInicio")).aEntero()),
            static_cast<int>(rs.Fields(QStringLiteral("MinutoFin")).aEntero()),
            static_cast<int>(rs.Fields(QStringLiteral("DiasSemana")).aEntero()),
            importe(rs.Fields(QStringLiteral("TarifaFranja"))),
            importe(rs.Fields(QStringLiteral("ValorFijo")))};
    return reglas;
}
