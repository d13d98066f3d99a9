#include "movimientos/tarifas.h"

#include "principal/auditoria.h"
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
        return Auditado(QStringLiteral("Alta de tarifa"), Hecho({insercion}));
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
            return Auditado(QStringLiteral("Cambio de tarifa"), Hecho<bool>({cambio}, false));
        const QString ambas =
            QStringLiteral("UPDATE Tarifas SET MostrarEnEntradas=True,MostrarEnSalidas=True") +
            donde;
        ExigirUnaFila(ambas);
        return Auditado(QStringLiteral("Cambio de tarifa"), Hecho<bool>({cambio, ambas}, true));
    });
}

Cambio<> EliminarTarifa(int64_t idTarifa) {
    return EnTransaccion([&] {
        const QString borrado =
            QStringLiteral("DELETE FROM Tarifas WHERE id_tarifa = ") + QString::number(idTarifa);
        if (EjecutarCambio(borrado) != 1)
            return Rechazo(Resultado::NoEncontrado);
        return Auditado(QStringLiteral("Baja de tarifa"), Hecho({borrado}));
    });
}
