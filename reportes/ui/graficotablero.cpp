#include "reportes/ui/graficotablero.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

// Draws the texts and keeps them, so what a chart says can be read back.
class Rotulos {
public:
    explicit Rotulos(QPainter& p) : p_(p) {}
    void escribir(const QRectF& caja, int alineacion, const QString& texto) {
        p_.drawText(caja, alineacion, texto);
        escritos_ << texto;
    }
    QStringList escritos() const { return escritos_; }

private:
    QPainter& p_;
    QStringList escritos_;
};

// The painter's font made smaller, down to 6 points, until `ancho` of text fits `disponible`.
void ajustarFuente(QPainter& p, double ancho, double disponible) {
    if (ancho <= disponible || disponible <= 0)
        return;
    QFont f = p.font();
    f.setPointSizeF(std::max(6.0, f.pointSizeF() * disponible / ancho));
    p.setFont(f);
}

QColor color(int serie) {
    return QColor(ColorSerie(serie));
}

// Few enough to label each one, on two lines when it needs them: the eight stay lengths, a week's
// days. More days than that are labelled every so many, at a readable size.
bool pocasCategorias(const Grafico& g) {
    return g.clase == ClaseGrafico::Barras && g.categorias.size() <= 8;
}

// The plotting area inside the frame: room for the title and legend above, the value labels
// and the vertical axis name at the left, the category labels and axis name below.
QRectF areaDatos(const QPainter& p, const QRectF& marco, const Grafico& g) {
    const QFontMetricsF m(p.font());
    double izquierda = 0;
    for (const QString& e : EtiquetasEje(g))
        izquierda = std::max(izquierda, m.horizontalAdvance(e));
    const bool leyenda = g.clase == ClaseGrafico::Barras && g.series.size() > 1;
    const double alto = m.height();
    return marco.adjusted(izquierda + alto + 14, alto * (leyenda ? 3.0 : 2.0), -12,
                          -alto * (pocasCategorias(g) ? 4.6 : 2.6));
}

void marcoYEjes(QPainter& p, Rotulos& r, const QRectF& marco, const QRectF& a, const Grafico& g) {
    const double alto = QFontMetricsF(p.font()).height();
    QFont negrita = p.font();
    negrita.setBold(true);
    p.save();
    p.setFont(negrita);
    r.escribir(QRectF(marco.left(), marco.top(), marco.width(), alto * 1.4), Qt::AlignCenter,
               g.titulo);
    p.restore();
    r.escribir(QRectF(a.left(), marco.bottom() - alto * 1.2, a.width(), alto), Qt::AlignCenter,
               g.ejeX);
    p.save();
    p.translate(marco.left() + 2, a.center().y());
    p.rotate(-90);
    r.escribir(QRectF(-a.height() / 2, 0, a.height(), alto), Qt::AlignCenter, g.ejeY);
    p.restore();
    p.setPen(QColor(0x33, 0x33, 0x33));
    p.drawLine(a.bottomLeft(), a.topLeft());
    p.drawLine(a.bottomLeft(), a.bottomRight());
    if (g.clase == ClaseGrafico::Mapa || g.series.size() < 2)
        return;
    double total = 0;
    for (const SerieGrafico& serie : g.series)
        total += QFontMetricsF(p.font()).horizontalAdvance(serie.nombre) + alto * 2;
    p.save();
    ajustarFuente(p, total, marco.right() - a.left());
    double x = a.left();
    for (int i = 0; i < g.series.size(); ++i) {
        p.fillRect(QRectF(x, marco.top() + alto * 1.5, alto * 0.7, alto * 0.7), color(i));
        const double ancho = QFontMetricsF(p.font()).horizontalAdvance(g.series[i].nombre);
        r.escribir(QRectF(x + alto, marco.top() + alto * 1.2, ancho + 4, alto),
                   Qt::AlignLeft | Qt::AlignVCenter, g.series[i].nombre);
        x += ancho + alto * 2;
    }
    p.restore();
}

void categorias(QPainter& p, Rotulos& r, const QRectF& a, const Grafico& g) {
    const QFontMetricsF m(p.font());
    double mayor = 1;
    for (const QString& c : g.categorias)
        mayor = std::max(mayor, m.horizontalAdvance(c));
    const auto n = static_cast<int>(g.categorias.size());
    const double ancho = a.width() / std::max(1, n);
    p.setPen(Qt::black);
    if (pocasCategorias(g)) {
        double palabra = 1;
        for (const QString& c : g.categorias)
            for (const QString& w : c.split(QLatin1Char(' ')))
                palabra = std::max(palabra, m.horizontalAdvance(w));
        p.save();
        ajustarFuente(p, palabra, ancho - 6);
        for (int c = 0; c < n; ++c)
            r.escribir(QRectF(a.left() + c * ancho + 2, a.bottom() + 2, ancho - 4, m.height() * 3),
                       Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, g.categorias[c]);
        p.restore();
        return;
    }
    const int paso = PasoEtiquetas(n, std::max(1, static_cast<int>(a.width() / (mayor + 8))));
    for (int c = 0; c < n; c += paso)
        r.escribir(QRectF(a.left() + (c + 0.5) * ancho - mayor / 2 - 4, a.bottom() + 2, mayor + 8,
                          m.height()),
                   Qt::AlignCenter, g.categorias[c]);
}

void valores(QPainter& p, Rotulos& r, const QRectF& a, const Grafico& g, const EscalaEje& e) {
    const QStringList ticks = EtiquetasEje(g);
    const double alto = QFontMetricsF(p.font()).height();
    for (int i = 0; i < ticks.size(); ++i) {
        const double y = a.bottom() - i * e.paso / e.tope * a.height();
        p.setPen(QColor(0xdd, 0xdd, 0xdd));
        p.drawLine(QPointF(a.left(), y), QPointF(a.right(), y));
        p.setPen(Qt::black);
        r.escribir(QRectF(a.left() - 200 - 4, y - alto / 2, 200, alto),
                   Qt::AlignRight | Qt::AlignVCenter, ticks[i]);
    }
}

void barras(QPainter& p, Rotulos& r, const QRectF& a, const Grafico& g) {
    const EscalaEje e = Escala(g);
    valores(p, r, a, g, e);
    const auto y = [&](double v) { return a.bottom() - v / e.tope * a.height(); };
    const double ancho = a.width() / std::max<qsizetype>(1, g.categorias.size());
    const bool conAparte = std::any_of(g.series.begin(), g.series.end(),
                                       [](const SerieGrafico& s) { return s.aparte; });
    const double barra = std::max(1.0, ancho * (conAparte ? 0.4 : 0.8));
    for (int c = 0; c < g.categorias.size(); ++c) {
        const double x = a.left() + c * ancho + ancho * 0.1;
        double base = 0;
        for (int i = 0; i < g.series.size(); ++i) {
            const double v = g.series[i].valores.value(c);
            if (g.series[i].aparte) {
                p.fillRect(QRectF(QPointF(x + barra, y(v)), QPointF(x + 2 * barra, y(0))),
                           color(i));
                continue;
            }
            p.fillRect(QRectF(QPointF(x, y(base + v)), QPointF(x + barra, y(base))), color(i));
            base += v;
        }
        // Over the limit shows in its own colour, above the line.
        if (g.limite > 0 && base > g.limite)
            p.fillRect(QRectF(QPointF(x, y(base)), QPointF(x + barra, y(g.limite))),
                       QColor(kColorExceso));
    }
    const double alto = QFontMetricsF(p.font()).height();
    if (g.limite > 0) {
        p.setPen(QPen(QColor(kColorExceso), 1.5, Qt::DashLine));
        p.drawLine(QPointF(a.left(), y(g.limite)), QPointF(a.right(), y(g.limite)));
        // On white, so that it reads over the bars above the line.
        const double ancho = QFontMetricsF(p.font()).horizontalAdvance(g.nombreLimite) + 6;
        const QRectF caja(a.right() - ancho - 2, y(g.limite) - alto - 1, ancho, alto);
        p.fillRect(caja, Qt::white);
        r.escribir(caja, Qt::AlignCenter, g.nombreLimite);
    }
    for (int i = 0; i < g.marcas.size(); ++i) {
        const double x = a.left() + g.marcas[i].second * ancho;
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.drawLine(QPointF(x, a.top()), QPointF(x, a.bottom()));
        // Beside the line, on the side with more room.
        const bool izquierda = x > a.center().x();
        r.escribir(izquierda ? QRectF(a.left(), a.top() + i * alto, x - a.left() - 3, alto)
                             : QRectF(x + 3, a.top() + i * alto, a.right() - x - 3, alto),
                   (izquierda ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                   g.marcas[i].first);
    }
}

void mapa(QPainter& p, Rotulos& r, const QRectF& a, const Grafico& g) {
    const double tope = Escala(g).tope;
    const double ancho = a.width() / std::max<qsizetype>(1, g.categorias.size());
    const double alto = a.height() / std::max<qsizetype>(1, g.series.size());
    for (int f = 0; f < g.series.size(); ++f) {
        const QRectF fila(a.left(), a.top() + f * alto, a.width(), alto);
        p.setPen(Qt::black);
        r.escribir(QRectF(a.left() - 204, fila.top(), 200, alto), Qt::AlignRight | Qt::AlignVCenter,
                   g.series[f].nombre);
        for (int c = 0; c < g.categorias.size(); ++c) {
            QColor relleno = color(0);
            relleno.setAlphaF(
                static_cast<float>(0.05 + 0.95 * g.series[f].valores.value(c) / tope));
            p.fillRect(QRectF(fila.left() + c * ancho, fila.top(), ancho - 1, alto - 1), relleno);
        }
    }
}

} // namespace

QStringList PintarGrafico(QPainter& p, const QRectF& marco, const Grafico& g) {
    p.save();
    p.setClipRect(marco);
    p.fillRect(marco, Qt::white);
    Rotulos r(p);
    const QRectF a = areaDatos(p, marco, g);
    if (g.clase == ClaseGrafico::Mapa)
        mapa(p, r, a, g);
    else
        barras(p, r, a, g);
    categorias(p, r, a, g);
    marcoYEjes(p, r, marco, a, g);
    p.restore();
    return r.escritos();
}

GraficoTablero::GraficoTablero(const char* nombre, QWidget* parent) : QWidget(parent) {
    setObjectName(QLatin1String(nombre));
    setMinimumSize(300, 220);
}

void GraficoTablero::mostrar(const Grafico& grafico) {
    grafico_ = grafico;
    setAccessibleName(grafico.titulo);
    update();
}

void GraficoTablero::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    PintarGrafico(p, rect(), grafico_);
}
