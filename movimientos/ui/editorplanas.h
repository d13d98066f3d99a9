#pragma once
// The rates window's entry-time flats: a stay entering in a window of the day, on some weekdays
// (and leaving by a time, where set), pays a flat amount.

#include "movimientos/tablasreglas.h"

#include <QWidget>
#include <optional>

class QTableWidget;

class EditorPlanas : public QWidget {
    Q_OBJECT
public:
    explicit EditorPlanas(QWidget* parent = nullptr);

    QTableWidget* tblPlanas = nullptr;

    void mostrar(const ReglasTarifa& reglas);
    // The flats as typed into `reglas`; a refusal's message, the focus left for after it is said.
    std::optional<QString> leer(ReglasTarifa& reglas);
    // The focus on the cell the last refusal named.
    void enfocarError();

private:
    ErrorCelda error_;
};
