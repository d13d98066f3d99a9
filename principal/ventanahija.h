#pragma once
// What every child window of the main window shares: its system name, icon, background
// picture stretched over it, and the log line written when it closes.

#include <QPixmap>
#include <QWidget>

class VentanaHija : public QWidget {
    Q_OBJECT
public:
    VentanaHija(const QString& nombre, const QString& icono, const QString& fondo,
                const QString& sucesoCierre, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* evento) override;
    void paintEvent(QPaintEvent* evento) override;

private:
    QPixmap fondo_;
    QString sucesoCierre_;
};
