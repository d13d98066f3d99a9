#pragma once
// One chart of the owner's figures painted with QPainter: on the window, or on any paint device
// (a printer, an image).

#include "reportes/graficostablero.h"

#include <QWidget>

class QPainter;

// Paints `g` inside `marco` and nowhere else; the texts it wrote (title, axis names, tick and
// category labels, legend, marks), in the order written.
QStringList PintarGrafico(QPainter& p, const QRectF& marco, const Grafico& g);

class GraficoTablero : public QWidget {
    Q_OBJECT
public:
    GraficoTablero(const char* nombre, QWidget* parent = nullptr);
    void mostrar(const Grafico& grafico);
    const Grafico& grafico() const { return grafico_; }

protected:
    void paintEvent(QPaintEvent* evento) override;

private:
    Grafico grafico_;
};
