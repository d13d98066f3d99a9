#include "reportes/informetablero.h"

#include "principal/formatos.h"
#include "principal/listados.h"
#include "principal/registros.h"
#include "principal/sucesos.h"
#include "reportes/graficostablero.h"

#include <algorithm>

namespace {

constexpr double kAncho = 760, kAlto = 320;
constexpr double kIzq = 90, kDer = kAncho - 20, kArriba = 56, kAbajo = kAlto - 56;

QString escapar(const QString& texto) {
    return texto.toHtmlEscaped();
}

QString num(double v) {
    return QString::number(v, 'f', 1);
}

QString texto(double x, double y, const QString& t, const char* extra = "") {
    return QStringLiteral("<text x=\"%1\" y=\"%2\" %3>%4</text>")
        .arg(num(x), num(y), QLatin1String(extra), escapar(t));
}

QString rect(double x, double y, double w, double h, const QString& color,
             const QString& extra = {}) {
    return QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"%6/>")
        .arg(num(x), num(y), num(std::max(w, 0.0)), num(std::max(h, 0.0)), color, extra);
}

QString linea(double x1, double y1, double x2, double y2, const char* estilo) {
    return QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" %5/>")
        .arg(num(x1), num(y1), num(x2), num(y2), QLatin1String(estilo));
}

// Title, axis names, legend and frame, shared by both kinds of chart.
QString marco(const Grafico& g) {
    QString s = texto(kAncho / 2, 22, g.titulo,
                      "text-anchor=\"middle\" font-size=\"16\" "
                      "font-weight=\"bold\"") +
                texto(kAncho / 2, kAlto - 8, g.ejeX, "text-anchor=\"middle\"") +
                QStringLiteral("<text transform=\"translate(16,%1) rotate(-90)\" "
                               "text-anchor=\"middle\">%2</text>")
                    .arg(num((kArriba + kAbajo) / 2), escapar(g.ejeY)) +
                linea(kIzq, kArriba, kIzq, kAbajo, "stroke=\"#333\"") +
                linea(kIzq, kAbajo, kDer, kAbajo, "stroke=\"#333\"");
    if (g.clase == ClaseGrafico::Mapa || g.series.size() < 2)
        return s;
    double x = kIzq;
    for (int i = 0; i < g.series.size(); ++i) {
        s += rect(x, 32, 10, 10, ColorSerie(i)) + texto(x + 14, 41, g.series[i].nombre);
        x += 24 + 7 * g.series[i].nombre.size();
    }
    return s;
}

QString etiquetasX(const Grafico& g, double ancho) {
    QString s;
    // About 6.5 px a character at 11 px, and a gap between labels.
    qsizetype largo = 1;
    for (const QString& c : g.categorias)
        largo = std::max(largo, c.size());
    const int paso = PasoEtiquetas(static_cast<int>(g.categorias.size()),
                                   static_cast<int>((kDer - kIzq) / (6.5 * largo + 12)));
    for (int c = 0; c < g.categorias.size(); c += paso)
        s += texto(kIzq + (c + 0.5) * ancho, kAbajo + 16, g.categorias[c],
                   "text-anchor=\"middle\" font-size=\"11\"");
    return s;
}

QString barras(const Grafico& g) {
    const EscalaEje e = Escala(g);
    const auto y = [&e](double v) { return kAbajo - v / e.tope * (kAbajo - kArriba); };
    QString s;
    const QStringList ticks = EtiquetasEje(g);
    for (int i = 0; i < ticks.size(); ++i) {
        s += linea(kIzq - 4, y(i * e.paso), kDer, y(i * e.paso), "stroke=\"#ddd\"");
        s += texto(kIzq - 6, y(i * e.paso) + 4, ticks[i], "text-anchor=\"end\" font-size=\"11\"");
    }
    const double ancho = (kDer - kIzq) / std::max<qsizetype>(1, g.categorias.size());
    const bool conAparte = std::any_of(g.series.begin(), g.series.end(),
                                       [](const SerieGrafico& serie) { return serie.aparte; });
    const double barra = ancho * (conAparte ? 0.4 : 0.8);
    for (int c = 0; c < g.categorias.size(); ++c) {
        double base = 0;
        const double x = kIzq + c * ancho + ancho * 0.1;
        for (int i = 0; i < g.series.size(); ++i) {
            const SerieGrafico& serie = g.series[i];
            const double v = serie.valores.value(c);
            if (serie.aparte) {
                s += rect(x + barra, y(v), barra, y(0) - y(v), ColorSerie(i));
                continue;
            }
            s += rect(x, y(base + v), barra, y(base) - y(base + v), ColorSerie(i));
            base += v;
        }
        // Over the limit shows in its own colour, above the line.
        if (g.limite > 0 && base > g.limite)
            s += rect(x, y(base), barra, y(g.limite) - y(base), kColorExceso);
    }
    if (g.limite > 0)
        s += linea(kIzq, y(g.limite), kDer, y(g.limite),
                   "stroke=\"#c62828\" stroke-dasharray=\"6 3\"") +
             texto(kDer, y(g.limite) - 4, g.nombreLimite, "text-anchor=\"end\" fill=\"#c62828\"");
    for (int i = 0; i < g.marcas.size(); ++i) {
        const double x = kIzq + g.marcas[i].second * ancho;
        s += linea(x, kArriba, x, kAbajo, "stroke=\"#000\" stroke-dasharray=\"3 3\"") +
             texto(x + 3, kArriba + 12 + 14 * i, g.marcas[i].first, "font-size=\"11\"");
    }
    return s + etiquetasX(g, ancho);
}

QString mapa(const Grafico& g) {
    const double tope = Escala(g).tope;
    const double ancho = (kDer - kIzq) / std::max<qsizetype>(1, g.categorias.size());
    const double alto = (kAbajo - kArriba) / std::max<qsizetype>(1, g.series.size());
    QString s;
    for (int f = 0; f < g.series.size(); ++f) {
        const double y = kArriba + f * alto;
        s += texto(kIzq - 6, y + alto / 2 + 4, g.series[f].nombre, "text-anchor=\"end\"");
        for (int c = 0; c < g.categorias.size(); ++c) {
            const double v = g.series[f].valores.value(c);
            s += rect(kIzq + c * ancho, y, ancho - 1, alto - 1, ColorSerie(0),
                      QStringLiteral(" fill-opacity=\"%1\"").arg(num(0.05 + 0.95 * v / tope)));
            if (v > 0)
                s += texto(kIzq + (c + 0.5) * ancho, y + alto / 2 + 4, TextoValor(g, v),
                           "text-anchor=\"middle\" font-size=\"10\"");
        }
    }
    return s + etiquetasX(g, ancho);
}

QString svg(const Grafico& g) {
    return QStringLiteral("<figure><svg xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" "
                          "viewBox=\"0 0 %1 %2\" width=\"%1\" height=\"%2\" "
                          "font-family=\"sans-serif\" font-size=\"12\"><title>%3</title>")
               .arg(kAncho)
               .arg(kAlto)
               .arg(escapar(g.titulo)) +
           marco(g) + (g.clase == ClaseGrafico::Mapa ? mapa(g) : barras(g)) +
           QStringLiteral("</svg></figure>\n");
}

QString celda(const QString& valor, const QString& textoVisible) {
    return QStringLiteral("<td data-valor=\"%1\">%2</td>")
        .arg(escapar(valor), escapar(textoVisible));
}

QString tablaCifras(const Tablero& t) {
    QString s = QStringLiteral("<table id=\"cifras\"><caption>Cifras del período</caption>\n");
    for (const CifraClave& c : CifrasClave(t))
        s += QStringLiteral("<tr data-clave=\"%1\"><th scope=\"row\">%2</th>%3</tr>\n")
                 .arg(c.clave, escapar(c.nombre), celda(c.valor, c.texto));
    return s + QStringLiteral("</table>\n");
}

QString tablaOcupacion(const Tablero& t) {
    QString s = QStringLiteral("<table id=\"ocupacion\"><caption>Vehículos dentro al comenzar "
                               "cada hora</caption>\n<tr><th scope=\"col\">Hora</th>"
                               "<th scope=\"col\">Vehículos</th></tr>\n");
    for (const OcupacionHora& o : t.ocupacion)
        s += QStringLiteral("<tr><td>%1</td>%2</tr>\n")
                 .arg(o.hora.toString(Qt::ISODate),
                      celda(QString::number(o.vehiculos), QString::number(o.vehiculos)));
    return s + QStringLiteral("</table>\n");
}

QString importe(int64_t v) {
    return celda(QString::number(v),
                 DatosParqueadero.SimboloMoneda + (v == 0 ? QStringLiteral("0") : FormatoMiles(v)));
}

QString tablaPorDia(const Tablero& t) {
    QString s = QStringLiteral("<table id=\"por-dia\"><caption>Ingresos por día</caption>\n"
                               "<tr><th scope=\"col\">Día</th>");
    for (const QString& tarifa : t.tarifas)
        s += QStringLiteral("<th scope=\"col\">%1</th>").arg(escapar(tarifa));
    s += QStringLiteral("<th scope=\"col\">Pagos de clientes</th></tr>\n");
    for (const IngresosDia& d : t.porDia) {
        s += QStringLiteral("<tr><td>%1</td>").arg(d.dia.toString(Qt::ISODate));
        for (const QString& tarifa : t.tarifas)
            s += importe(d.porTarifa.value(tarifa));
        s += importe(d.pagosClientes) + QStringLiteral("</tr>\n");
    }
    return s + QStringLiteral("</table>\n");
}

} // namespace

QString NombreInformeTablero(const PeriodoInforme& periodo) {
    return QStringLiteral("tablero_%1_%2.html")
        .arg(periodo.inicio.date().toString(QStringLiteral("yyyyMMdd")),
             periodo.fin.date().toString(QStringLiteral("yyyyMMdd")));
}

QByteArray HtmlTablero(const Tablero& t) {
    const QString titulo =
        QStringLiteral("Tablero del %1 al %2")
            .arg(FechaCorta(t.periodo.inicio.date()), FechaCorta(t.periodo.fin.date()));
    QString html =
        QStringLiteral("<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" "
                       "lang=\"es\">\n<head><meta charset=\"utf-8\"/><title>%1</title>"
                       "<style>body{font-family:sans-serif;margin:1em 2em}table{border-collapse:"
                       "collapse;margin:1em 0}td,th{border:1px solid #999;padding:2px 8px}"
                       "td{text-align:right}figure{margin:1em 0}</style></head>\n<body>\n"
                       "<h1>%2</h1>\n<p>%3</p>\n")
            .arg(escapar(titulo), escapar(DatosParqueadero.NombreParqueadero), escapar(titulo));
    html += tablaCifras(t);
    for (const Grafico& g : GraficosTablero(t, DatosParqueadero.Cupo))
        html += svg(g);
    html += tablaPorDia(t) + tablaOcupacion(t) + QStringLiteral("</body>\n</html>\n");
    return html.toUtf8();
}

std::optional<QString> GuardarInformeTablero(const Tablero& tablero) {
    const QString nombre = NombreInformeTablero(tablero.periodo);
    if (!GuardarBytesListado(nombre, HtmlTablero(tablero)))
        return std::nullopt;
    Registrar(QStringLiteral("Tablero, se genera el archivo: ") + nombre);
    return nombre;
}

std::optional<QString> GuardarInformeDelCierre(const PeriodoInforme& periodo,
                                               const QDateTime& ahora) {
    return GuardarInformeTablero(
        LeerTablero(DiasHastaAhora(periodo.inicio.date(), periodo.fin.date(), ahora)));
}
