#pragma once
// A modal window for more lines than a box can hold (a shift's close, the day's shifts): they
// scroll in a read-only view, and the buttons stay on the screen however many there are.

#include <QDialog>
#include <functional>

class QPlainTextEdit;
class QPushButton;
class QRect;

class VentanaLineas : public QDialog {
    Q_OBJECT
public:
    // Without `imprimir` the window offers only "Aceptar".
    VentanaLineas(const QString& titulo, const QStringList& lineas, std::function<void()> imprimir,
                  QWidget* parent = nullptr);
    // As wide and tall as its lines want, within `disponible` (a screen's available geometry)
    // less the window manager's frame, and centred there.
    void ajustarA(const QRect& disponible);

    QPlainTextEdit* txtLineas;
    QPushButton* btnImprimir = nullptr;
    QPushButton* btnAceptar;

private:
    void btnImprimirClicked();

    std::function<void()> imprimir_;
};
