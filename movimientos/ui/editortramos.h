#pragma once
// The rates window's tiers: "up to so many minutes, so much", and what a stay pays beyond the
// last one.

#include "movimientos/tablasreglas.h"

#include <QWidget>
#include <optional>

class QLineEdit;
class QRadioButton;
class QTableWidget;

class EditorTramos : public QWidget {
    Q_OBJECT
public:
    explicit EditorTramos(QWidget* parent = nullptr);

    QTableWidget* tblTramos = nullptr;
    QRadioButton* optTramosSigueTarifa = nullptr;
    QRadioButton* optTramosPorDia = nullptr;
    QLineEdit* txtValorDiaTramos = nullptr;

    void mostrar(const ReglasTarifa& reglas);
    // The tiers as typed into `reglas`; a refusal's message, the focus left for after it is said.
    std::optional<QString> leer(ReglasTarifa& reglas);
    // The focus on what the last refusal named.
    void enfocarError();

private:
    void optTramosPorDiaToggled(bool marcado);

    ErrorCelda error_;
};
