#include "reportes/listadosperiodo.h"

#include "bd/recordset.h"
#include "bd/sql.h"
#include "movimientos/tickets.h"
#include "principal/formatos.h"
#include "principal/listados.h"
#include "principal/registros.h"

#include <QVector>
#include <initializer_list>
#include <optional>

namespace {

const QString kCamposGenerales =
    QStringLiteral(";Placa;Descr.Veh.;Observaciones;Id.Tarifa;Tarifa;Tiempo;DescrTarifa");

constexpr int kLargoLinea = 128;

// Every field followed by ";"; Null gives an empty field.
class Fila {
public:
    // Room for a whole line at once: grown field by field, it is copied a few times over.
    explicit Fila(const Recordset& rs) : rs_(rs) { linea_.reserve(kLargoLinea); }
    Fila& campos(std::initializer_list<const char*> nombres) {
        for (const char* nombre : nombres)
            campo(rs_.Fields(QLatin1String(nombre)));
        return *this;
    }
    Fila& campos(const QVector<int>& columnas) {
        for (const int columna : columnas)
            campo(rs_.celda(columna));
        return *this;
    }
    // A value of the program's own making, already a field.
    Fila& texto(const QString& valor) {
        linea_ += valor;
        linea_ += QLatin1Char(';');
        return *this;
    }
    const QString& linea() const { return linea_; }

private:
    void campo(const Valor& valor) {
        texto(CampoCsv(valor.aTexto(), valor.tipo() == Valor::Tipo::Texto));
    }
    const Recordset& rs_;
    QString linea_;
};

QString oPredeterminado(const QString& texto, const char* predeterminado) {
    return texto.isEmpty() ? QLatin1String(predeterminado) : texto;
}

bool numeracionFactura() {
    return !DatosParqueadero.PrefijoFactura.isEmpty() || DatosParqueadero.DigitosFactura > 0;
}

QString encabezadoGeneral(bool salidas) {
    const AjustesParqueadero& p = DatosParqueadero;
    if (!salidas)
        return p.NombreDocumentoEntrada + QStringLiteral(";F.Entrada") + kCamposGenerales;
    const bool factura = numeracionFactura();
    QString encabezado = (factura ? QStringLiteral("Consecutivo General") : p.NombreDocumento) +
                         QStringLiteral(";F.Entrada;F.Salida") + kCamposGenerales +
                         QLatin1Char(';') + oPredeterminado(p.ValorCobradoTexto, "Cobrado") +
                         QStringLiteral(";Consecutivo del día;IVA;") +
                         oPredeterminado(p.BaseTexto, "Base") + QLatin1Char(';') +
                         oPredeterminado(p.ValorIVATexto, "ValorIva");
    if (factura)
        encabezado += QStringLiteral(";N. Documento ") + p.NombreDocumento;
    return encabezado;
}

// The columns of a listing by position, found once: looked up by name on every row, they cost
// as much as the rest of the line. An unknown name fails as Fields does.
QVector<int> columnasDe(const Recordset& rs, std::initializer_list<const char*> nombres) {
    QVector<int> columnas;
    for (const char* nombre : nombres) {
        const QString campo = QLatin1String(nombre);
        columnas << rs.indiceColumna(campo);
        if (columnas.back() < 0)
            rs.Fields(campo);
    }
    return columnas;
}

struct ColumnasGenerales {
    bool salidas = false;
    QVector<int> campos;        // up to ConsecutivoDia for exits, DescrTarifa for entries
    int cobrado = -1, iva = -1; // exits only
    QVector<int> documento;     // NDocumento, when invoices are numbered
};

ColumnasGenerales columnasGenerales(const Recordset& rs, bool salidas) {
    ColumnasGenerales c;
    c.salidas = salidas;
    if (!salidas) {
        c.campos =
            columnasDe(rs, {"id_entrada", "FechaEntrada", "Placa", "DescrVeh", "Observaciones",
                            "id_tarifa", "Tarifa", "Tiempo", "DescrTarifa"});
        return c;
    }
    c.campos = columnasDe(rs, {"NroTicket", "FechaEntrada", "FechaSalida", "Placa", "DescrVeh",
                               "Observaciones", "id_tarifa", "Tarifa", "Tiempo", "DescrTarifa",
                               "Cobrado", "ConsecutivoDia"});
    c.cobrado = c.campos[10];
    c.iva = columnasDe(rs, {"IVA"}).front();
    if (numeracionFactura())
        c.documento = columnasDe(rs, {"NDocumento"});
    return c;
}

QString lineaGeneral(const Recordset& rs, const ColumnasGenerales& columnas) {
    Fila fila(rs);
    fila.campos(columnas.campos);
    if (!columnas.salidas)
        return fila.linea();
    const Valor& iva = rs.celda(columnas.iva);
    if (iva.esNulo()) {
        fila.texto(QString()).texto(QString()).texto(QString());
    } else {
        const DivisionIva division =
            DividirIva(rs.celda(columnas.cobrado).aEntero(), iva.aEntero());
        fila.texto(iva.aTexto())
            .texto(QString::number(division.base))
            .texto(QString::number(division.valorIva));
    }
    return fila.campos(columnas.documento).linea();
}

QString totalDocumentos(int cantidad) {
    return QStringLiteral("Total ") + DatosParqueadero.NombreDocumento + QStringLiteral(": ") +
           QString::number(cantidad);
}

struct DatosRegistro {
    const char* tabla; // the table of the owners, for their lookup by plate
    const char* campoPlaca;
    const char* orden;
    std::initializer_list<const char*> campos;
    const char* encabezado; // up to the plate
    const char* marca;
    const char* total;
};

const DatosRegistro& datosRegistro(Registro registro) {
    static const DatosRegistro clientes{
        "Clientes",
        "Placa",
        " ORDER BY Ape1 ASC, Ape2 ASC, Nombre ASC",
        {"ape1", "ape2", "Nombre", "Identificacion", "Notas"},
        "Primer Apellido;Segundo Apellido;Nombre;Identificacion;Notas;",
        "CLIENTE",
        "Total Registro de Clientes: "};
    static const DatosRegistro exentos{"Exentos",
                                       "PlacaExento",
                                       " ORDER BY Ape1Exento ASC, Ape2Exento ASC, NombreExento ASC",
                                       {"TipoExento", "Ape1Exento", "Ape2Exento", "NombreExento"},
                                       "TipoExento;Primer Apellido;Segundo Apellido;Nombre;",
                                       "EXENTO",
                                       "Total Registro de Exentos: "};
    return registro == Registro::Clientes ? clientes : exentos;
}

// The owner's fields of the first row found, or as many empty fields.
QString camposDueno(const DatosRegistro& d, const QString& placa) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM ") + QLatin1String(d.tabla) + QStringLiteral(" WHERE ") +
            QLatin1String(d.campoPlaca) + QLatin1Char('=') + Texto(placa) + QLatin1String(d.orden));
    if (rs.Eof())
        return QString(static_cast<int>(d.campos.size()), QLatin1Char(';'));
    return Fila(rs).campos(d.campos).linea();
}

} // namespace

ListadoPeriodo ListadoGeneral(const FiltroBusqueda& filtro) {
    ListadoPeriodo listado;
    Recordset rs;
    std::optional<ColumnasGenerales> columnas;
    rs.recorrer(SentenciaBusqueda(filtro), [&] {
        if (!columnas) {
            columnas = columnasGenerales(rs, filtro.salidas);
            listado.lineas << encabezadoGeneral(filtro.salidas);
        }
        listado.lineas << lineaGeneral(rs, *columnas);
        if (filtro.salidas)
            listado.total += rs.celda(columnas->cobrado).aEntero();
        ++listado.cantidad;
    });
    if (listado.cantidad == 0)
        return listado;
    listado.lineas << QString() << totalDocumentos(listado.cantidad);
    if (filtro.salidas && listado.total >= 1)
        listado.lineas << QStringLiteral("Total Cobrado: ") + FormatoMiles(listado.total);
    return listado;
}

ListadoPeriodo ListadoRegistro(const FiltroBusqueda& filtro, Registro registro) {
    const DatosRegistro& d = datosRegistro(registro);
    Recordset rs;
    rs.Open(SentenciaPeriodo(
        filtro, filtro.salidas ? QStringLiteral("Salidas") : QStringLiteral("Entradas"),
        QStringLiteral(" AND DescrTarifa = ") + Texto(QLatin1String(d.marca))));
    ListadoPeriodo listado;
    if (rs.Eof())
        return listado;
    listado.lineas << QLatin1String(d.encabezado) +
                          (filtro.salidas ? QStringLiteral("Placa;FechaEntrada;FechaSalida;")
                                          : QStringLiteral("Placa;FechaEntrada;")) +
                          QStringLiteral("ConsecutivoGeneral;");
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString placa = rs.Fields(QStringLiteral("Placa")).aTexto();
        Fila fila(rs);
        fila.campos({"Placa", "FechaEntrada"});
        if (filtro.salidas)
            fila.campos({"FechaSalida", "NroTicket"});
        else
            fila.campos({"id_entrada"});
        listado.lineas << camposDueno(d, placa) + fila.linea();
        ++listado.cantidad;
    }
    listado.lineas << QString() << QLatin1String(d.total) + QString::number(listado.cantidad);
    return listado;
}

ListadoPeriodo ListadoPagos(const PeriodoInforme& periodo, const QString& placa) {
    QString sql =
        QStringLiteral("SELECT * FROM (Clientes INNER JOIN FechaPago ON Clientes.id_cliente = "
                       "FechaPago.id_cliente) INNER JOIN Pagos ON FechaPago.id_fecha_pago = "
                       "Pagos.id_fecha_pago WHERE FechaPago >= ") +
        LiteralFechaHora(periodo.inicio) + QStringLiteral(" AND FechaPago <= ") +
        LiteralFechaHora(periodo.fin);
    if (!placa.isEmpty())
        sql += QStringLiteral(" AND Placa LIKE ") + PatronContiene(placa);
    sql += QStringLiteral(" ORDER BY FechaPago DESC, Ape1 ASC, Ape2 ASC, Nombre ASC");
    Recordset rs;
    rs.Open(sql);
    ListadoPeriodo listado;
    if (rs.Eof())
        return listado;
    listado.lineas << QStringLiteral(
        "Fecha Pago;Cantidad Pagada;Primer Apellido;Segundo Apellido;Nombre;Placa;");
    for (; !rs.Eof(); rs.MoveNext()) {
        Fila fila(rs);
        fila.texto(FechaCorta(rs.Fields(QStringLiteral("FechaPago")).aFecha().date()))
            .campos({"CantidadPago", "ape1", "ape2", "Nombre", "Placa"});
        listado.lineas << fila.linea();
        listado.total += rs.Fields(QStringLiteral("CantidadPago")).aEntero();
        ++listado.cantidad;
    }
    listado.lineas << QString()
                   << QStringLiteral("Total Listado: ") + QString::number(listado.cantidad)
                   << QStringLiteral("Total Pagos: ") + FormatoMiles(listado.total);
    return listado;
}

QString TituloListado(int cantidad, bool salidas, int64_t cobrado) {
    QString titulo = QStringLiteral("Reimprimir Tickets - ") + QString::number(cantidad) +
                     QStringLiteral(" tickets listados");
    if (salidas && cobrado >= 1)
        titulo += QStringLiteral(" - Total Cobrado: ") + DatosParqueadero.SimboloMoneda +
                  FormatoMiles(cobrado);
    return titulo;
}

QStringList PanelPagos(const QStringList& lineasArchivo) {
    return QStringList{
               QStringLiteral("(***) El siguiente listado está en formato universal CSV."),
               QString(),
               QStringLiteral("- Se ha generado el archivo: ") + kArchivoPagos,
               QStringLiteral("- Formato: Delimitado por puntos y coma (CSV)."),
               QStringLiteral("- Ubicación: ") + RutaListado(kArchivoPagos),
               QString(),
               QStringLiteral("(***) Puede, a modo ejemplo, abrirlo desde Excel y organizar la "
                              "información como requiera."),
               QString(),
               QStringLiteral("LISTADO")} +
           lineasArchivo;
}
