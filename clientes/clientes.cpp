#include "clientes/clientes.h"

#include "bd/conexion.h"
#include "bd/recordset.h"
#include "bd/sql.h"
#include "movimientos/vehiculos.h"

namespace {

ConsultaLista consultaClientes(const QString& condicion) {
    return {QStringLiteral("*"), QStringLiteral("Clientes"), condicion,
            QStringLiteral("Activo ASC, Ape1 ASC, Ape2 ASC, Nombre ASC, id_cliente ASC"),
            QStringLiteral("id_cliente")};
}

} // namespace

ConsultaLista ConsultaClientes() {
    return consultaClientes({});
}

ConsultaLista ConsultaCliente(int64_t idCliente) {
    return consultaClientes(QStringLiteral("id_cliente = ") + QString::number(idCliente));
}

ConsultaLista ConsultaBusqueda(const DatosCliente& campos, bool activo) {
    const std::pair<const char*, const QString*> filtros[] = {
        {"Nombre", &campos.nombre},
        {"Ape1", &campos.ape1},
        {"Ape2", &campos.ape2},
        {"Placa", &campos.placa},
        {"Identificacion", &campos.identificacion},
        {"Notas", &campos.notas}};
    QString condicion;
    for (const auto& [columna, texto] : filtros)
        if (!texto->isEmpty())
            condicion += QLatin1String(columna) + QStringLiteral(" LIKE ") +
                         PatronContiene(*texto) + QStringLiteral(" AND ");
    return consultaClientes(
        condicion + (activo ? QStringLiteral("Activo=True") : QStringLiteral("Activo=False")));
}

ConsultaLista ConsultaPeriodos(int64_t idCliente, OrdenPeriodos orden) {
    return {QStringLiteral("*"), QStringLiteral("FechaPago"),
            QStringLiteral("id_cliente = ") + QString::number(idCliente),
            orden == OrdenPeriodos::PorInicio
                ? QStringLiteral("Pagado DESC, FechaInicio ASC, id_fecha_pago ASC")
                : QStringLiteral("Pagado DESC, FechaFin DESC, id_fecha_pago DESC"),
            QStringLiteral("id_fecha_pago")};
}

ConsultaLista ConsultaPagos(int64_t idFechaPago) {
    return {QStringLiteral("*"), QStringLiteral("Pagos"),
            QStringLiteral("id_fecha_pago = ") + QString::number(idFechaPago),
            QStringLiteral("FechaPago DESC, id_pago DESC"), QStringLiteral("id_pago")};
}

Cambio<> GrabarCliente(const DatosCliente& d) {
    const QString placa = NormalizarPlaca(d.placa);
    return EnTransaccion([&] {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT COUNT(*) as VerificarPlaca FROM Clientes WHERE Placa = ") +
                Texto(placa));
        if (rs.Fields(QStringLiteral("VerificarPlaca")).aEntero() > 0)
            return Rechazo(Resultado::PlacaRepetida);
        const QString insercion =
            QStringLiteral("INSERT INTO Clientes (Nombre,Ape1,Ape2,Placa,Activo,Identificacion,"
                           "Notas) VALUES (") +
            Texto(d.nombre) + QLatin1Char(',') + Texto(d.ape1) + QLatin1Char(',') + Texto(d.ape2) +
            QLatin1Char(',') + Texto(placa) + QStringLiteral(",False,") + Texto(d.identificacion) +
            QLatin1Char(',') + Texto(d.notas) + QLatin1Char(')');
        ExigirUnaFila(insercion);
        return Hecho({insercion});
    });
}

bool PlacaDeOtroCliente(const QString& placa, int64_t idCliente) {
    AbrirConexion();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM Clientes WHERE placa = ") +
            Texto(NormalizarPlaca(placa)) + QStringLiteral(" AND id_cliente <> ") +
            QString::number(idCliente));
    const bool otro = !rs.Eof();
    CerrarConexion();
    return otro;
}

Cambio<> ModificarCliente(int64_t idCliente, const DatosCliente& d) {
    return EnTransaccion([&] {
        // Checked again: another station may have taken the plate while the question was open.
        if (PlacaDeOtroCliente(d.placa, idCliente))
            return Rechazo(Resultado::PlacaRepetida);
        const QString cambio = QStringLiteral("UPDATE Clientes SET Nombre=") + Texto(d.nombre) +
                               QStringLiteral(",Ape1=") + Texto(d.ape1) + QStringLiteral(",Ape2=") +
                               Texto(d.ape2) + QStringLiteral(",Placa=") +
                               Texto(NormalizarPlaca(d.placa)) +
                               QStringLiteral(",Identificacion=") + Texto(d.identificacion) +
                               QStringLiteral(",Notas=") + Texto(d.notas) +
                               QStringLiteral(" WHERE id_cliente=") + QString::number(idCliente);
        if (EjecutarCambio(cambio) != 1)
            return Rechazo(Resultado::NoEncontrado);
        return Hecho({cambio});
    });
}

Cambio<> EliminarCliente(int64_t idCliente) {
    const QString id = QString::number(idCliente);
    return EnTransaccion([&] {
        const QString borrado = QStringLiteral("DELETE FROM Clientes WHERE id_cliente = ") + id;
        if (EjecutarCambio(borrado) != 1)
            return Rechazo(Resultado::NoEncontrado);
        Cambio<> hecho = Hecho({borrado});
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM FechaPago WHERE id_cliente = ") + id);
        for (; !rs.Eof(); rs.MoveNext()) {
            hecho.sentencias << QStringLiteral("DELETE FROM Pagos WHERE id_fecha_pago = ") +
                                    rs.Fields(QStringLiteral("id_fecha_pago")).aTexto();
            EjecutarCambio(hecho.sentencias.last());
        }
        const int periodos = rs.RecordCount();
        if (periodos > 0) {
            hecho.sentencias << QStringLiteral("DELETE FROM FechaPago WHERE id_cliente = ") + id;
            if (EjecutarCambio(hecho.sentencias.last()) != periodos)
                return Rechazo(Resultado::NoEncontrado);
        }
        return hecho;
    });
}
