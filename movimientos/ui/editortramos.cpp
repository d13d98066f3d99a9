#include "movimientos/ui/editortramos.h"

#include "movimientos/ui/tablareglas.h"
#include "principal/manejadores.h"
#include "principal/ui/controles.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>

EditorTramos::EditorTramos(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("edtTramos"));
    tblTramos = NuevaTablaReglas(
        "tblTramos", {QStringLiteral("Hasta (minutos)"), QStringLiteral("Valor")}, this);
    optTramosSigueTarifa = new QRadioButton(QStringLiteral("sigue la tarifa por unidad"), this);
    optTramosSigueTarifa->setObjectName(QStringLiteral("optTramosSigueTarifa"));
    optTramosSigueTarifa->setChecked(true);
    optTramosPorDia =
        new QRadioButton(QStringLiteral("cada día adicional (24 h o fracción):"), this);
    optTramosPorDia->setObjectName(QStringLiteral("optTramosPorDia"));
    txtValorDiaTramos = NuevaCaja("txtValorDiaTramos", 13, this);
    CajaNumerica(txtValorDiaTramos);
    txtValorDiaTramos->setEnabled(false);
    auto* rejilla = new QGridLayout(this);
    rejilla->setContentsMargins(0, 0, 0, 0);
    rejilla->addWidget(tblTramos, 0, 0, 5, 1);
    rejilla->addWidget(new QLabel(QStringLiteral("Tras el último tramo:"), this), 0, 1);
    rejilla->addWidget(optTramosSigueTarifa, 1, 1);
    rejilla->addWidget(optTramosPorDia, 2, 1);
    rejilla->addWidget(txtValorDiaTramos, 3, 1, Qt::AlignLeft);
    rejilla->setRowStretch(4, 1);
    rejilla->setColumnStretch(2, 1);
    Conectar(optTramosPorDia, &QRadioButton::toggled, this, &EditorTramos::optTramosPorDiaToggled);
}

void EditorTramos::optTramosPorDiaToggled(bool marcado) {
    txtValorDiaTramos->setEnabled(marcado);
}

void EditorTramos::mostrar(const ReglasTarifa& reglas) {
    const auto [filas, valorDia] = TextosTramos(reglas);
    LlenarTablaReglas(tblTramos, filas);
    (reglas.diaTrasTramos ? optTramosPorDia : optTramosSigueTarifa)->setChecked(true);
    txtValorDiaTramos->setText(valorDia);
}

std::optional<QString> EditorTramos::leer(ReglasTarifa& reglas) {
    const auto error = LeerTramos(FilasTablaReglas(tblTramos), optTramosPorDia->isChecked(),
                                  txtValorDiaTramos->text(), reglas);
    if (!error)
        return std::nullopt;
    error_ = *error;
    return error->texto;
}

void EditorTramos::enfocarError() {
    if (error_.fila < 0)
        txtValorDiaTramos->setFocus();
    else
        EnfocarCelda(tblTramos, error_.fila, error_.columna);
}
