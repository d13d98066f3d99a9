#include "clientes/listadosclientes.h"

#include "principal/conexion.h"
#include "principal/formatos.h"
#include "principal/listados.h"
#include "principal/recordset.h"
#include "principal/sucesos.h"

#include <QSet>
#include <functional>

namespace {

QString siNo(bool valor) {
    return valor ? QStringLiteral("Si") : QStringLiteral("No");
}

QString fecha(const Valor& valor) {
    return valor.esNulo() ? QString() : FechaCorta(valor.aFecha().date());
}

// Runs the query and gives the header, a line per row, the empty line and the total. Every
// line's first field is its record's key: the total counts the keys, so a client with several
// lines counts once.
QStringList lineas(const QString& consulta, const QString& cabecera,
                   const std::function<QStringList(const Recordset&)>& campos,
                   const QString& rotuloTotal) {
    AbrirConexion();
    Recordset rs;
    rs.Open(consulta);
    QStringList resultado{cabecera};
    QSet<QString> claves;
    for (; !rs.Eof(); rs.MoveNext()) {
        const QStringList fila = campos(rs);
        claves.insert(fila.first());
        resultado << fila.join(QLatin1Char(';')) + QLatin1Char(';');
    }
    rs.Close();
    CerrarConexion();
    resultado << QString() << rotuloTotal + QString::number(claves.size());
    return resultado;
}

} // namespace

QStringList LineasListadoClientes() {
    return lineas(
        QStringLiteral("SELECT * FROM Clientes ORDER BY Ape1 ASC, Ape2 ASC, Nombre ASC"),
        QStringLiteral("Campo ID;Placa;Primer Apellido;Segundo Apellido;Nombre;Debe Pago;"
                       "Identificacion;Notas;"),
        [](const Recordset& rs) {
            return QStringList{rs.Fields(QStringLiteral("id_cliente")).aTexto(),
                               rs.Fields(QStringLiteral("Placa")).aTexto(),
                               rs.Fields(QStringLiteral("Ape1")).aTexto(),
                               rs.Fields(QStringLiteral("Ape2")).aTexto(),
                               rs.Fields(QStringLiteral("Nombre")).aTexto(),
                               siNo(rs.Fields(QStringLiteral("Activo")).aBandera()),
                               rs.Fields(QStringLiteral("Identificacion")).aTexto(),
                               rs.Fields(QStringLiteral("Notas")).aTexto()};
        },
        QStringLiteral("Total Clientes: "));
}

QStringList LineasListadoClientesFechasPago() {
    return lineas(
        QStringLiteral("SELECT * FROM (Clientes LEFT JOIN FechaPago ON Clientes.id_cliente = "
                       "FechaPago.id_cliente) LEFT JOIN Pagos ON FechaPago.id_fecha_pago = "
                       "Pagos.id_fecha_pago ORDER BY Ape1 ASC, Ape2 ASC, Nombre ASC, FechaFin "
                       "DESC, FechaPago DESC"),
        QStringLiteral("Campo ID;Primer Apellido;Segundo Apellido;Nombre;Placa;Identificación;"
                       "Notas;Debe;Fecha Inicio;Fecha Fin;Cantidad a Pagar;N.Recibo;Pagado;"
                       "Fecha Pago;Cantidad Pago;"),
        [](const Recordset& rs) {
            const bool conPeriodo = !rs.Fields(QStringLiteral("FechaInicio")).esNulo();
            const bool pagado = rs.Fields(QStringLiteral("Pagado")).aBandera();
            const bool activo = rs.Fields(QStringLiteral("Activo")).aBandera();
            return QStringList{rs.Fields(QStringLiteral("Clientes.id_cliente")).aTexto(),
                               rs.Fields(QStringLiteral("Ape1")).aTexto(),
                               rs.Fields(QStringLiteral("Ape2")).aTexto(),
                               rs.Fields(QStringLiteral("Nombre")).aTexto(),
                               rs.Fields(QStringLiteral("Placa")).aTexto(),
                               rs.Fields(QStringLiteral("Identificacion")).aTexto(),
                               rs.Fields(QStringLiteral("Notas")).aTexto(),
                               conPeriodo ? siNo(activo && !pagado) : QString(),
                               fecha(rs.Fields(QStringLiteral("FechaInicio"))),
                               fecha(rs.Fields(QStringLiteral("FechaFin"))),
                               rs.Fields(QStringLiteral("CantidadTotal")).aTexto(),
                               rs.Fields(QStringLiteral("NRecibo")).aTexto(),
                               conPeriodo ? siNo(pagado) : QString(),
                               fecha(rs.Fields(QStringLiteral("FechaPago"))),
                               rs.Fields(QStringLiteral("CantidadPago")).aTexto()};
        },
        QStringLiteral("Total Clientes: "));
}

QStringList LineasListadoExentos() {
    return lineas(
        QStringLiteral(
            "SELECT * FROM Exentos ORDER BY Ape1Exento ASC, Ape2Exento ASC, NombreExento ASC"),
        QStringLiteral(
            "Campo ID;Placa;Primer Apellido;Segundo Apellido;Nombre;Tipo;Activo/Inactivo;"),
        [](const Recordset& rs) {
            return QStringList{rs.Fields(QStringLiteral("id_exento")).aTexto(),
                               rs.Fields(QStringLiteral("PlacaExento")).aTexto(),
                               rs.Fields(QStringLiteral("Ape1Exento")).aTexto(),
                               rs.Fields(QStringLiteral("Ape2Exento")).aTexto(),
                               rs.Fields(QStringLiteral("NombreExento")).aTexto(),
                               rs.Fields(QStringLiteral("TipoExento")).aTexto(),
                               rs.Fields(QStringLiteral("ActivoExento")).aBandera()
                                   ? QStringLiteral("Activo")
                                   : QStringLiteral("Inactivo")};
        },
        QStringLiteral("Total Exentos: "));
}

bool GenerarListado(const QString& archivo, const QStringList& lineas, const QString& suceso) {
    if (!GuardarListado(archivo, lineas))
        return false;
    Registrar(QStringLiteral("Se genera el archivo: -") + archivo + suceso);
    InformarArchivoGenerado(archivo);
    return true;
}
