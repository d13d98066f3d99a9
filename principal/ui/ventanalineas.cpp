#include "principal/ui/ventanalineas.h"

#include "principal/manejadores.h"
#include "principal/ui/controles.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRect>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QtMath>
#include <algorithm>

namespace {

// Room left around the window for the window manager's title bar and borders, which Qt does
// not know before the window is shown.
constexpr int kTituloMarco = 40, kBordeMarco = 8;
constexpr int kAnchoMinimo = 420;

} // namespace

VentanaLineas::VentanaLineas(const QString& titulo, const QStringList& lineas,
                             std::function<void()> imprimir, QWidget* parent)
    : QDialog(parent), imprimir_(std::move(imprimir)) {
    setObjectName(QStringLiteral("frmLineas"));
    setWindowTitle(titulo);
    txtLineas = new QPlainTextEdit(this);
    txtLineas->setObjectName(QStringLiteral("txtLineas"));
    txtLineas->setReadOnly(true);
    txtLineas->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtLineas->setPlainText(lineas.join(QLatin1Char('\n')));
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    if (imprimir_) {
        btnImprimir = NuevoBoton("btnImprimir", QStringLiteral("&Imprimir"), QString(), this);
        botones->addWidget(btnImprimir);
        Conectar(btnImprimir, &QPushButton::clicked, this, &VentanaLineas::btnImprimirClicked);
    }
    btnAceptar = NuevoBoton("btnAceptar", QStringLiteral("&Aceptar"), QString(), this);
    btnAceptar->setDefault(true);
    botones->addWidget(btnAceptar);
    Conectar(btnAceptar, &QPushButton::clicked, this, &QDialog::accept);
    auto* todo = new QVBoxLayout(this);
    todo->addWidget(txtLineas, 1);
    todo->addLayout(botones);
    txtLineas->setFocus();
}

void VentanaLineas::ajustarA(const QRect& disponible) {
    const QRect area = disponible.adjusted(kBordeMarco, kTituloMarco, -kBordeMarco, -kBordeMarco);
    const QFontMetrics medidas(txtLineas->font());
    const QTextDocument* documento = txtLineas->document();
    int anchoTexto = 0;
    qreal altoTexto = 0;
    for (QTextBlock b = documento->begin(); b.isValid(); b = b.next()) {
        anchoTexto = std::max(anchoTexto, medidas.horizontalAdvance(b.text()));
        altoTexto += documento->documentLayout()->blockBoundingRect(b).height();
    }
    const int bordes =
        2 * (txtLineas->frameWidth() + static_cast<int>(documento->documentMargin()));
    const QSize texto(anchoTexto + bordes +
                          style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, txtLineas),
                      qCeil(altoTexto) + bordes);
    // The margins and the row of buttons around the text.
    const QSize resto = sizeHint() - txtLineas->sizeHint();
    const QSize tamano(
        std::min(std::max(texto.width() + resto.width(), kAnchoMinimo), area.width()),
        std::min(texto.height() + resto.height(), area.height()));
    QRect geometria(QPoint(), tamano);
    geometria.moveCenter(area.center());
    setGeometry(geometria);
}

void VentanaLineas::btnImprimirClicked() {
    imprimir_();
}
