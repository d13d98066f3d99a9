#pragma once
// The first start from the menu: the user's station folder has no vialtor.cfg yet, so this window
// asks for what crear_bd asks and makes the station the same way.

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
struct EstacionNueva;

class frmPrimerInicio : public QDialog {
    Q_OBJECT
public:
    // `carpetaEstacion` receives vialtor.cfg; it is also the data folder offered.
    explicit frmPrimerInicio(const QString& carpetaEstacion, QWidget* parent = nullptr);

    QLabel* Label1;
    QRadioButton* optArchivo;
    QRadioButton* optServidor;
    QLabel* lblServidor;
    QLineEdit* txtServidor;
    QLabel* lblCarpetaDatos;
    QLineEdit* txtCarpetaDatos;
    QLabel* lblPuntoControl;
    QLineEdit* txtPuntoControl;
    QLabel* lblUsuario;
    QLineEdit* txtUsuario;
    QLabel* lblClave;
    QLineEdit* txtClave;
    QLabel* lblConfirmarClave;
    QLineEdit* txtConfirmarClave;
    QCheckBox* chkTarifasDemo;
    QPushButton* btnCrear;
    QPushButton* btnCancelar;

public slots:
    void btnCrearClicked();
    void optServidorToggled(bool activo);

private:
    void construirControles();
    void disponerControles();
    EstacionNueva estacion() const;
    // A refusal: its box, then the box at fault gets the focus.
    void rechazar(const QString& texto, QLineEdit* caja);

    QString carpetaEstacion_;
};

// Started from the menu: moves to the user's station folder (made when missing) and, when it
// has no vialtor.cfg yet, shows the first-start window. False when the user gives up or the
// folder cannot be made (said in a box): the program then ends.
bool PrepararEstacionDelMenu();
