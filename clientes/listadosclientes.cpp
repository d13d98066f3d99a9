#include "clientes/listadosclientes.h"

#include "bd/conexion.h"
#include "bd/recordset.h"
#include "principal/formatos.h"
#include "principal/listados.h"
#include "principal/sucesos.h"

#include <QSet>
#include <functional>

namespace {

QString siNo(bool valor) {
    return valor ? QStringLiteral("Si") : QStringLiteral("No");
}

QString campo(const Valor& valor) {
    return CampoCsv(valor.aTexto(), valor.tipo() == Valor::Tipo::Texto);
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
            return QStringList{campo(rs.Fields(QStringLiteral("id_cliente"))),
                               campo(rs.Fields(QStringLiteral("Placa"))),
                               campo(rs.Fields(QStringLiteral("Ape1"))),
                               campo(rs.Fields(QStringLiteral("Ape2"))),
                               campo(rs.Fields(QStringLiteral("Nombre"))),
                               siNo(rs.Fields(QStringLiteral("Activo")).aBandera()),
                               campo(rs.Fields(QStringLiteral("Identificacion"))),
                               campo(rs.Fields(QStringLiteral("Notas")))};
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
            return QStringList{campo(rs.Fields(QStringLiteral("Clientes.id_cliente"))),
                               campo(rs.Fields(QStringLiteral("Ape1"))),
                               campo(rs.Fields(QStringLiteral("Ape2"))),
                               campo(rs.Fields(QStringLiteral("Nombre"))),
                               campo(rs.Fields(QStringLiteral("Placa"))),
                               campo(rs.Fields(QStringLiteral("Identificacion"))),
                               campo(rs.Fields(QStringLiteral("Notas"))),
                               conPeriodo ? siNo(activo && !pagado) : QString(),
                               fecha(rs.Fields(QStringLiteral("FechaInicio"))),
                               fecha(rs.Fields(QStringLiteral("FechaFin"))),
                               campo(rs.Fields(QStringLiteral("CantidadTotal"))),
                               campo(rs.Fields(QStringLiteral("NRecibo"))),
                               conPeriodo ? siNo(pagado) : QString(),
                               fecha(rs.Fields(QStringLiteral("FechaPago"))),
                               campo(rs.Fields(QStringLiteral("CantidadPago")))};
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
            return QStringList{campo(rs.Fields(QStringLiteral("id_exento"))),
                               campo(rs.Fields(QStringLiteral("PlacaExento"))),
                               campo(rs.Fields(QStringLiteral("Ape1Exento"))),
                               campo(rs.Fields(QStringLiteral("Ape2Exento"))),
                               campo(rs.Fields(QStringLiteral("NombreExento"))),
                               campo(rs.Fields(QStringLiteral("TipoExento"))),
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
