#pragma once
// What every child window of the main window shares: its system name, icon, background
// picture stretched over it, the log line written when it closes, and its access keys, which
// win over the main window's menu bar while the focus is inside it.

#include <QPixmap>
#include <QWidget>

class QKeyEvent;

class VentanaHija : public QWidget {
    Q_OBJECT
public:
    VentanaHija(const QString& nombre, const QString& icono, const QString& fondo,
                const QString& sucesoCierre, QWidget* parent = nullptr);

protected:
    bool event(QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void paintEvent(QPaintEvent* evento) override;

private:
    // The visible, enabled control of this window whose access key ("&A") is that key.
    QWidget* duenoDeTecla(const QKeyEvent& tecla) const;

    QPixmap fondo_;
    QString sucesoCierre_;
};
