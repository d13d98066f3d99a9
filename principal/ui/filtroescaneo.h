#pragma once
// A barcode scanner read wherever the focus is in a window: its digits never reach the focused
// control, and the code comes out as one signal. Keys typed by a person reach their control
// as always, a digit at most a few milliseconds late.

#include "principal/escaneo.h"

#include <QObject>
#include <QPointer>
#include <QVector>
#include <memory>

class QKeyEvent;
class QTimer;
class QWidget;

class FiltroEscaneo : public QObject {
    Q_OBJECT
public:
    // Watches `ventana` and every control inside it at the time of the call.
    explicit FiltroEscaneo(QWidget* ventana);
    ~FiltroEscaneo() override;

signals:
    void leido(const QString& codigo);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    struct Retenida {
        QPointer<QObject> destino;
        std::unique_ptr<QKeyEvent> tecla;
    };
    void soltar(int cuantas);
    void soltarTodo();

    DetectorEscaneo detector_;
    QVector<std::shared_ptr<Retenida>> retenidas_;
    QTimer* espera_;
    bool reenviando_ = false;
};
