#include "principal/ui/filtroescaneo.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

FiltroEscaneo::FiltroEscaneo(QWidget* ventana) : QObject(ventana), espera_(new QTimer(this)) {
    setObjectName(QStringLiteral("FiltroEscaneo"));
    // A digit nothing follows in time was typed: it goes on to its control.
    espera_->setSingleShot(true);
    connect(espera_, &QTimer::timeout, this, &FiltroEscaneo::soltarTodo);
    ventana->installEventFilter(this);
    for (QWidget* control : ventana->findChildren<QWidget*>())
        control->installEventFilter(this);
}

FiltroEscaneo::~FiltroEscaneo() = default;

bool FiltroEscaneo::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() != QEvent::KeyPress || reenviando_)
        return false;
    const auto* tecla = static_cast<const QKeyEvent*>(evento);
    const bool intro = tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
    const bool conModificador =
        tecla->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const DetectorEscaneo::Decision d = detector_.tecla(
        conModificador ? QString() : tecla->text(), intro && !conModificador, tecla->timestamp());
    soltar(d.soltar);
    if (!d.retenida)
        return false;
    if (!d.codigo.isEmpty()) {
        // The scan's digits were held, never typed.
        retenidas_.clear();
        espera_->stop();
        emit leido(d.codigo);
        return true;
    }
    // A copy of its own: Qt's event lives only while it is being delivered.
    auto copia = std::make_unique<QKeyEvent>(
        tecla->type(), tecla->key(), tecla->modifiers(), tecla->nativeScanCode(),
        tecla->nativeVirtualKey(), tecla->nativeModifiers(), tecla->text(), tecla->isAutoRepeat(),
        static_cast<quint16>(tecla->count()));
    copia->setTimestamp(tecla->timestamp());
    retenidas_.append(std::make_shared<Retenida>(Retenida{objeto, std::move(copia)}));
    espera_->start(static_cast<int>(detector_.esperaMs()));
    return true;
}

void FiltroEscaneo::soltar(int cuantas) {
    // Taken off the list first: a control that opens a box while it handles a key runs the
    // event loop, and the timer may let go of the rest meanwhile.
    const QVector<std::shared_ptr<Retenida>> ahora = retenidas_.mid(0, cuantas);
    retenidas_.remove(0, qMin(cuantas, static_cast<int>(retenidas_.size())));
    for (const auto& r : ahora) {
        if (!r->destino)
            continue;
        reenviando_ = true;
        QCoreApplication::sendEvent(r->destino, r->tecla.get());
        reenviando_ = false;
    }
}

void FiltroEscaneo::soltarTodo() {
    soltar(detector_.soltarTodo());
}
