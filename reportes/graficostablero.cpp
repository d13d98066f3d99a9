#include "reportes/graficostablero.h"

#include "principal/formatos.h"
#include "principal/registros.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {

Grafico grafico(ClaseGrafico clase, const char* titulo, const char* ejeX, const char* ejeY) {
    Grafico g;
    g.clase = clase;
    g.titulo = QString::fromUtf8(titulo);
    g.ejeX = QString::fromUtf8(ejeX);
    g.ejeY = QString::fromUtf8(ejeY);
    return g;
}

SerieGrafico serie(const QString& nombre, bool aparte = false) {
    SerieGrafico s;
    s.nombre = nombre;
    s.aparte = aparte;
    return s;
}

Grafico ocupacion(const Tablero& t, int cupo) {
    Grafico g = grafico(ClaseGrafico::Barras, "Ocupación por hora", "Hora", "Vehículos dentro");
    const bool variosDias = t.periodo.inicio.date() != t.periodo.fin.date();
    SerieGrafico dentro = serie(QStringLiteral("Vehículos"));
    for (const OcupacionHora& o : t.ocupacion) {
        g.categorias << o.hora.toString(variosDias ? QStringLiteral("dd/MM HH:mm")
                                                   : QStringLiteral("HH:mm"));
        dentro.valores << static_cast<double>(o.vehiculos);
    }
    g.series << dentro;
    g.limite = cupo;
    g.nombreLimite = QStringLiteral("Cupo: %1").arg(cupo);
    return g;
}

Grafico ingresos(const Tablero& t) {
    Grafico g = grafico(ClaseGrafico::Barras, "Ingresos por día", "Día", "Cobrado");
    g.dinero = true;
    for (const QString& tarifa : t.tarifas)
        g.series << serie(tarifa);
    SerieGrafico pagos = serie(QStringLiteral("Pagos de clientes"), true);
    for (const IngresosDia& d : t.porDia) {
        g.categorias << d.dia.toString(QStringLiteral("dd/MM"));
        for (int i = 0; i < t.tarifas.size(); ++i)
            g.series[i].valores << static_cast<double>(d.porTarifa.value(t.tarifas[i]));
        pagos.valores << static_cast<double>(d.pagosClientes);
    }
    g.series << pagos;
    return g;
}

Grafico entradasSemana(const Tablero& t) {
    Grafico g = grafico(ClaseGrafico::Mapa, "Entradas por día de la semana y hora", "Hora", "Día");
    for (int h = 0; h < 24; ++h)
        g.categorias << QString::number(h);
    static const char* const dias[] = {"lun", "mar", "mié", "jue", "vie", "sáb", "dom"};
    for (int d = 0; d < 7; ++d) {
        SerieGrafico fila = serie(QString::fromUtf8(dias[d]));
        for (int64_t n : t.entradasSemana[d])
            fila.valores << static_cast<double>(n);
        g.series << fila;
    }
    return g;
}

// Where a stay of `minutos` lies on the buckets' axis, within its bucket by its share of it
// (the open last one as wide as the one before).
double posicionEstancia(double minutos) {
    const int grupo = GrupoEstancia(static_cast<int64_t>(std::ceil(minutos)));
    const double desde = grupo == 0 ? 0 : kLimitesEstancia[grupo - 1];
    const double hasta =
        grupo < kGruposEstancia - 1 ? kLimitesEstancia[grupo] : 2.0 * kLimitesEstancia.back();
    return grupo + std::clamp((minutos - desde) / (hasta - desde), 0.0, 1.0);
}

QString minutos(double m) {
    return QLocale(QLocale::Spanish).toString(m, 'f', m == std::floor(m) ? 0 : 1) +
           QStringLiteral(" min");
}

Grafico estancias(const Tablero& t) {
    Grafico g = grafico(ClaseGrafico::Barras, "Duración de las estancias", "Duración", "Estancias");
    SerieGrafico cuenta = serie(QStringLiteral("Estancias"));
    for (int i = 0; i < kGruposEstancia; ++i) {
        g.categorias << NombreGrupoEstancia(i);
        cuenta.valores << static_cast<double>(t.estancias[i]);
    }
    g.series << cuenta;
    if (t.cifras.salidas > 0 && t.cifras.estanciaMediaMin > 0)
        g.marcas = {{QStringLiteral("Media ") + minutos(t.cifras.estanciaMediaMin),
                     posicionEstancia(t.cifras.estanciaMediaMin)},
                    {QStringLiteral("Mediana ") + minutos(t.cifras.estanciaMedianaMin),
                     posicionEstancia(t.cifras.estanciaMedianaMin)}};
    return g;
}

double maximo(const Grafico& g) {
    double m = g.limite;
    for (int c = 0; c < g.categorias.size(); ++c)
        m = std::max(m, g.clase == ClaseGrafico::Mapa ? 0.0 : AlturaCategoria(g, c));
    if (g.clase == ClaseGrafico::Mapa)
        for (const SerieGrafico& s : g.series)
            for (double v : s.valores)
                m = std::max(m, v);
    return m;
}

} // namespace

QVector<CifraClave> CifrasClave(const Tablero& t) {
    const CifrasTablero& c = t.cifras;
    const auto numero = [](const char* clave, const char* nombre, int64_t v) {
        return CifraClave{QLatin1String(clave), QString::fromUtf8(nombre), QString::number(v),
                          v == 0 ? QStringLiteral("0") : FormatoMiles(v)};
    };
    const auto importe = [](const char* clave, const char* nombre, int64_t v) {
        return CifraClave{QLatin1String(clave), QString::fromUtf8(nombre), QString::number(v),
                          DatosParqueadero.SimboloMoneda +
                              (v == 0 ? QStringLiteral("0") : FormatoMiles(v))};
    };
    const auto estancia = [](const char* clave, const char* nombre, double v) {
        return CifraClave{QLatin1String(clave), QString::fromUtf8(nombre), QString::number(v),
                          minutos(v)};
    };
    return {numero("entradas", "Entradas", c.entradas),
            numero("salidas", "Salidas", c.salidas),
            importe("cobrado", "Cobrado", c.cobrado),
            importe("pagos_clientes", "Pagos de clientes", c.pagosClientes),
            numero("salidas_exentos", "Salidas de exentos", c.salidasExentos),
            numero("salidas_clientes", "Salidas de clientes", c.salidasClientes),
            numero("tickets_perdidos", "Tickets perdidos", c.ticketsPerdidos),
            estancia("estancia_media_min", "Estancia media", c.estanciaMediaMin),
            estancia("estancia_mediana_min", "Estancia mediana", c.estanciaMedianaMin),
            numero("ocupacion_max", "Ocupación máxima", c.ocupacionMax),
            {QStringLiteral("ocupacion_max_hora"), QStringLiteral("Hora de la ocupación máxima"),
             c.ocupacionMaxHora.toString(Qt::ISODate),
             FechaCorta(c.ocupacionMaxHora.date()) + QLatin1Char(' ') +
                 c.ocupacionMaxHora.toString(QStringLiteral("HH:mm"))}};
}

QVector<Grafico> GraficosTablero(const Tablero& tablero, int cupo) {
    return {ocupacion(tablero, cupo), ingresos(tablero), entradasSemana(tablero),
            estancias(tablero)};
}

EscalaEje Escala(const Grafico& g) {
    const double m = maximo(g);
    if (m <= 0)
        return {};
    // 1, 2 or 5 times a power of ten, about five steps; counts never step by less than one.
    const double bruto = m / 5;
    const double potencia = std::pow(10.0, std::floor(std::log10(bruto)));
    double paso = potencia;
    for (double f : {1.0, 2.0, 5.0, 10.0})
        if (f * potencia >= bruto) {
            paso = f * potencia;
            break;
        }
    paso = std::max(paso, 1.0);
    return {std::ceil(m / paso) * paso, paso};
}

QStringList EtiquetasEje(const Grafico& g) {
    QStringList etiquetas;
    if (g.clase == ClaseGrafico::Mapa) {
        for (const SerieGrafico& s : g.series)
            etiquetas << s.nombre;
        return etiquetas;
    }
    const EscalaEje e = Escala(g);
    for (int i = 0; i * e.paso <= e.tope + e.paso / 2; ++i)
        etiquetas << TextoValor(g, i * e.paso);
    return etiquetas;
}

QString TextoValor(const Grafico& g, double valor) {
    const auto entero = static_cast<int64_t>(std::llround(valor));
    const QString cifras = entero == 0 ? QStringLiteral("0") : FormatoMiles(entero);
    return g.dinero ? DatosParqueadero.SimboloMoneda + cifras : cifras;
}

double AlturaCategoria(const Grafico& g, int categoria) {
    double pila = 0, aparte = 0;
    for (const SerieGrafico& s : g.series) {
        const double v = s.valores.value(categoria);
        if (s.aparte)
            aparte = std::max(aparte, v);
        else
            pila += v;
    }
    return std::max(pila, aparte);
}

int PasoEtiquetas(int categorias, int maximo) {
    return std::max(1, (categorias + maximo - 1) / std::max(1, maximo));
}

QString ColorSerie(int i) {
    static const char* const colores[] = {"#1565c0", "#2e7d32", "#f9a825", "#6a1b9a",
                                          "#00838f", "#ef6c00", "#5d4037", "#546e7a"};
    return QLatin1String(colores[i % 8]);
}
