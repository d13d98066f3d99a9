#include "principal/ui/ventanahija.h"

#include "principal/registros.h"
#include "principal/sucesos.h"
#include "principal/ui/recursos.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPointer>

namespace {

// Qt would offer an access key to every widget of the top-level window at once, so the menu
// bar's "&Ayuda" and a child's "&Agregar" share Alt+A and take turns. The child claims the
// key before the shortcut map sees it; the key press that follows must not reach the focused
// box (a line edit would type the letter), so this one-shot filter takes it and activates
// the control as its own shortcut would.
class PulsacionDeAcceso : public QObject {
public:
    PulsacionDeAcceso(QWidget* foco, QWidget* dueno, QKeyCombination tecla)
        : QObject(foco), dueno_(dueno), tecla_(tecla) {
        foco->installEventFilter(this);
    }

    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() != QEvent::KeyPress)
            return false;
        objeto->removeEventFilter(this);
        deleteLater();
        if (static_cast<QKeyEvent*>(evento)->keyCombination() != tecla_ || !dueno_)
            return false;
        activar(dueno_);
        return true;
    }

private:
    static void activar(QWidget* dueno) {
        if (auto* etiqueta = qobject_cast<QLabel*>(dueno)) {
            etiqueta->buddy()->setFocus(Qt::ShortcutFocusReason);
            return;
        }
        auto* boton = static_cast<QAbstractButton*>(dueno);
        if (!boton->isDown())
            boton->animateClick();
    }

    QPointer<QWidget> dueno_;
    QKeyCombination tecla_;
};

bool tieneTecla(const QString& texto, const QKeyEvent& tecla) {
    const QKeySequence propia = QKeySequence::mnemonic(texto);
    return !propia.isEmpty() && propia == QKeySequence(tecla.keyCombination());
}

} // namespace

VentanaHija::VentanaHija(const QString& nombre, const QString& icono, const QString& fondo,
                         const QString& sucesoCierre, QWidget* parent)
    : QWidget(parent), fondo_(ImagenPrograma(fondo)), sucesoCierre_(sucesoCierre) {
    setObjectName(nombre);
    setWindowIcon(IconoPrograma(icono));
    setAttribute(Qt::WA_DeleteOnClose);
}

QWidget* VentanaHija::duenoDeTecla(const QKeyEvent& tecla) const {
    if (tecla.modifiers() != Qt::AltModifier)
        return nullptr;
    for (QAbstractButton* boton : findChildren<QAbstractButton*>())
        if (boton->isVisible() && boton->isEnabled() && tieneTecla(boton->text(), tecla))
            return boton;
    for (QLabel* etiqueta : findChildren<QLabel*>())
        if (etiqueta->buddy() && etiqueta->isVisible() && etiqueta->buddy()->isEnabled() &&
            tieneTecla(etiqueta->text(), tecla))
            return etiqueta;
    return nullptr;
}

bool VentanaHija::event(QEvent* evento) {
    // Sent to the focused control first and up to here unless a control wants the key itself.
    if (evento->type() == QEvent::ShortcutOverride) {
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        QWidget* foco = QApplication::focusWidget();
        if (QWidget* dueno = foco ? duenoDeTecla(*tecla) : nullptr) {
            new PulsacionDeAcceso(foco, dueno, tecla->keyCombination());
            evento->accept();
            return true;
        }
    }
    return QWidget::event(evento);
}

void VentanaHija::closeEvent(QCloseEvent* evento) {
    Registrar(sucesoCierre_);
    evento->accept();
}

void VentanaHija::paintEvent(QPaintEvent*) {
    if (fondo_.isNull())
        return;
    QPainter pintor(this);
    pintor.drawPixmap(rect(), fondo_);
}
