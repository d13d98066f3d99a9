#pragma once
// A caption that toggles its check box when clicked, as the windows' option labels do.

#include <QLabel>

class QCheckBox;

class EtiquetaPulsable : public QLabel {
    Q_OBJECT
public:
    EtiquetaPulsable(const QString& texto, QCheckBox* casilla, QWidget* parent = nullptr);

signals:
    void pulsada();

protected:
    void mouseReleaseEvent(QMouseEvent* evento) override;
};
