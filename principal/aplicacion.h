#pragma once
// The application object: the one place where a database error that no handler expected
// is caught, so the program reports it and carries on instead of crashing.

#include <QApplication>

class ErrorBD;

class AplicacionVialtor : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receptor, QEvent* evento) override;
};

// Closes the connection (any transaction has already rolled back), logs the error and shows it.
void ManejarErrorInesperado(const ErrorBD& error);
