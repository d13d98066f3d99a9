#pragma once
// The application object: the last catch for an error that escaped every handler's wrapper.

#include <QApplication>

class AplicacionVialtor : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receptor, QEvent* evento) override;
};
