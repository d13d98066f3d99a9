#include "movimientos/ui/tablareglas.h"

#include "principal/manejadores.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

namespace {

bool filaVacia(const QTableWidget* tabla, int fila) {
    for (int c = 0; c < tabla->columnCount(); ++c)
        if (tabla->item(fila, c) && !tabla->item(fila, c)->text().trimmed().isEmpty())
            return false;
    return true;
}

} // namespace

QTableWidget* NuevaTablaReglas(const char* nombre, const QStringList& titulos, QWidget* padre) {
    auto* tabla = new QTableWidget(1, static_cast<int>(titulos.size()), padre);
    tabla->setObjectName(QLatin1String(nombre));
    tabla->setHorizontalHeaderLabels(titulos);
    tabla->setTabKeyNavigation(false);
    tabla->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                           QAbstractItemView::EditKeyPressed);
    tabla->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tabla->horizontalHeader()->setStretchLastSection(true);
    tabla->verticalHeader()->setDefaultSectionSize(tabla->fontMetrics().height() + 8);
    tabla->setMinimumHeight(4 * (tabla->fontMetrics().height() + 8));
    // Every column's title in view, beside the row numbers and a scroll bar.
    int ancho = 4 * tabla->frameWidth() + tabla->verticalScrollBar()->sizeHint().width() + 40;
    for (const QString& titulo : titulos)
        ancho += tabla->fontMetrics().horizontalAdvance(titulo) + 24;
    tabla->setMinimumWidth(ancho);
    QObject::connect(tabla, &QTableWidget::itemChanged, tabla, [tabla](QTableWidgetItem* item) {
        EjecutarProtegido([&] {
            if (item->row() == tabla->rowCount() - 1 && !filaVacia(tabla, item->row()))
                tabla->insertRow(tabla->rowCount());
        });
    });
    return tabla;
}

QVector<QStringList> FilasTablaReglas(const QTableWidget* tabla) {
    QVector<QStringList> filas;
    for (int f = 0; f < tabla->rowCount(); ++f) {
        QStringList celdas;
        for (int c = 0; c < tabla->columnCount(); ++c)
            celdas << (tabla->item(f, c) ? tabla->item(f, c)->text().trimmed() : QString());
        filas << celdas;
    }
    return filas;
}

void LlenarTablaReglas(QTableWidget* tabla, const QVector<QStringList>& filas) {
    tabla->setRowCount(0);
    tabla->setRowCount(static_cast<int>(filas.size()) + 1);
    for (int f = 0; f < filas.size(); ++f)
        for (int c = 0; c < filas[f].size(); ++c)
            tabla->setItem(f, c, new QTableWidgetItem(filas[f][c]));
}

void EnfocarCelda(QTableWidget* tabla, int fila, int columna) {
    tabla->setFocus();
    tabla->setCurrentCell(fila, columna);
}
