#pragma once
// The login window: reads the station's configuration, then checks user and password with
// three attempts.

#include <QPixmap>
#include <QWidget>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

class frmAcceso : public QWidget {
    Q_OBJECT
public:
    explicit frmAcceso(QWidget* parent = nullptr);
    // The load: false when the configuration is missing or faulty and the program must end.
    bool cargar();
    // Shown again for the next user, empty, with three attempts and centred.
    void reiniciar();

    QLabel* Label1;
    QLineEdit* txtUsuario;
    QLabel* Label2;
    QLineEdit* txtPwd;
    QPushButton* btnAceptarAcceso;

signals:
    void ingresoCorrecto();
    // Three failed attempts, or the window closed without logging in.
    void terminarPrograma();

public slots:
    void btnAceptarAccesoClicked();

protected:
    void paintEvent(QPaintEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    void construirControles();
    void registrarIntentoFallido(const QString& usuario);
    void centrar();

    uint8_t intentosFallidos_ = 0;
    bool ingresoHecho_ = false;
    QPixmap fondo_;
};
