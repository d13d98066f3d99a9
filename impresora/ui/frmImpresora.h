#pragma once
// The station's direct printer settings: edits the line of vialtor_impresora.cfg, checked by
// the same reader the program starts with, and tries the line as typed on the printer. The
// printer in use is chosen at the login, so a saved line takes effect at the next one.

#include "impresora/configimpresora.h"
#include "principal/ui/ventanahija.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class frmImpresora : public VentanaHija {
    Q_OBJECT
public:
    explicit frmImpresora(QWidget* parent = nullptr);

    QComboBox* cboTipo = nullptr;
    QLineEdit* txtDireccion = nullptr;
    QComboBox* cboAncho = nullptr;
    QCheckBox* chkCorte = nullptr;
    QCheckBox* chkCajon = nullptr;
    QCheckBox* chkRaster = nullptr;
    QLineEdit* txtEstado = nullptr;
    QPushButton* btnGuardar = nullptr;
    QPushButton* btnProbar = nullptr;

public slots:
    void btnGuardarClicked();
    void btnProbarClicked();

private:
    void construirControles();
    void cargar();
    // The line the boxes hold: empty for no direct printer.
    QString linea() const;
    // The printer the boxes set; none, after the reader's message and the focus on the box of
    // the damaged field, when the line cannot be used.
    std::optional<ConfigImpresora> validar();
    QString ruta() const;
};
