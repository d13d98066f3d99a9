#include "movimientos/ui/editorplanas.h"

#include "movimientos/ui/tablareglas.h"

#include <QTableWidget>
#include <QVBoxLayout>

EditorPlanas::EditorPlanas(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("edtPlanas"));
    tblPlanas = NuevaTablaReglas("tblPlanas",
                                 {QStringLiteral("Nombre"), QStringLiteral("Entrada desde"),
                                  QStringLiteral("Hasta (+1)"), QStringLiteral("Salida hasta"),
                                  QStringLiteral("Días"), QStringLiteral("Valor")},
                                 this);
    tblPlanas->setToolTip(QStringLiteral("Horas HH:MM; una ventana que cruza la medianoche "
                                         "termina con +1 (22:00 a 02:00+1); salida vacía: "
                                         "cualquier salida; días con las letras LMXJVSD"));
    auto* caja = new QVBoxLayout(this);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->addWidget(tblPlanas);
}

void EditorPlanas::mostrar(const ReglasTarifa& reglas) {
    LlenarTablaReglas(tblPlanas, TextosPlanas(reglas));
}

std::optional<QString> EditorPlanas::leer(ReglasTarifa& reglas) {
    const auto error = LeerPlanas(FilasTablaReglas(tblPlanas), reglas);
    if (!error)
        return std::nullopt;
    error_ = *error;
    return error->texto;
}

void EditorPlanas::enfocarError() {
    EnfocarCelda(tblPlanas, error_.fila, error_.columna);
}
