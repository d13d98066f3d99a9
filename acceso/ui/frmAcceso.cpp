#include "acceso/ui/frmAcceso.h"

#include "acceso/usuarios.h"
#include "bd/conexion.h"
#include "principal/configinicio.h"
#include "principal/manejadores.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"
#include "principal/ui/controles.h"
#include "principal/ui/recursos.h"
#include "turnos/rastroauditoria.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>

namespace {

// The boxes mask with "*", whatever masking character the platform's style prefers.
class EstiloAsterisco : public QProxyStyle {
public:
    int styleHint(StyleHint consulta, const QStyleOption* opcion, const QWidget* control,
                  QStyleHintReturn* retorno) const override {
        if (consulta == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(consulta, opcion, control, retorno);
    }
};

} // namespace

frmAcceso::frmAcceso(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmAcceso"));
    setWindowTitle(QStringLiteral("Control de Acceso"));
    construirControles();
    Conectar(btnAceptarAcceso, &QPushButton::clicked, this, &frmAcceso::btnAceptarAccesoClicked);
    // returnPressed covers both Return and the keypad's Enter.
    Conectar(txtUsuario, &QLineEdit::returnPressed, this, &frmAcceso::btnAceptarAccesoClicked);
    Conectar(txtPwd, &QLineEdit::returnPressed, this, &frmAcceso::btnAceptarAccesoClicked);
}

void frmAcceso::construirControles() {
    Label1 = new QLabel(QStringLiteral("Usuario"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtUsuario = new QLineEdit(this);
    txtUsuario->setObjectName(QStringLiteral("txtUsuario"));
    Label2 = new QLabel(QStringLiteral("Contraseña"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    txtPwd = new QLineEdit(this);
    txtPwd->setObjectName(QStringLiteral("txtPwd"));
    // Both boxes hide what is typed, the user name too.
    auto* asterisco = new EstiloAsterisco;
    asterisco->setParent(this);
    for (QLineEdit* caja : {txtUsuario, txtPwd}) {
        caja->setStyle(asterisco);
        caja->setEchoMode(QLineEdit::Password);
        caja->setMinimumWidth(180);
        UnaSolaLinea(caja);
    }
    btnAceptarAcceso = new QPushButton(QStringLiteral("Ingresar"), this);
    btnAceptarAcceso->setObjectName(QStringLiteral("btnAceptarAcceso"));

    auto* rejilla = new QGridLayout(this);
    rejilla->setContentsMargins(40, 40, 40, 30);
    rejilla->setVerticalSpacing(12);
    rejilla->addWidget(Label1, 0, 0);
    rejilla->addWidget(txtUsuario, 0, 1);
    rejilla->addWidget(Label2, 1, 0);
    rejilla->addWidget(txtPwd, 1, 1);
    rejilla->addWidget(btnAceptarAcceso, 2, 1, Qt::AlignRight);
    setTabOrder(txtUsuario, txtPwd);
    setTabOrder(txtPwd, btnAceptarAcceso);
}

bool frmAcceso::cargar() {
    setWindowIcon(IconoPrograma(QStringLiteral("acceso.ico")));
    fondo_ = ImagenPrograma(QStringLiteral("fondo2.jpg"));
    centrar();
    intentosFallidos_ = 0;
    return LeerConfigInicio() == ResultadoConfig::Correcta;
}

void frmAcceso::reiniciar() {
    txtUsuario->clear();
    txtPwd->clear();
    intentosFallidos_ = 0;
    ingresoHecho_ = false;
    centrar();
    show();
    activateWindow();
    txtUsuario->setFocus();
}

// Before it is shown, move() places the frame, provided the size is settled first: the size
// fixed at showing would otherwise shift the window.
void frmAcceso::centrar() {
    adjustSize();
    if (const QScreen* pantalla = screen())
        move(pantalla->availableGeometry().center() - rect().center());
}

void frmAcceso::paintEvent(QPaintEvent*) {
    if (fondo_.isNull())
        return;
    QPainter pintor(this);
    pintor.drawPixmap(rect(), fondo_);
}

void frmAcceso::closeEvent(QCloseEvent* evento) {
    if (!ingresoHecho_)
        emit terminarPrograma();
    QWidget::closeEvent(evento);
}

void frmAcceso::btnAceptarAccesoClicked() {
    const QString usuario = txtUsuario->text();
    try {
        AbrirConexion();
    } catch (const ErrorBD& error) {
        // A database that cannot be reached is no failed attempt.
        CerrarConexion();
        Registrar(QStringLiteral("No se puede abrir la base de datos: ") + Conexion.ubicacion() +
                  QStringLiteral(" - ") + error.textoCompleto());
        Servicios().dialogos->mensaje(QStringLiteral("No se puede abrir la base de datos:\n") +
                                          Conexion.ubicacion() + QStringLiteral("\n\n") +
                                          error.explicacion(),
                                      QStringLiteral("Error de base de datos"), Icono::Critico);
        return;
    }
    const Cambio<> ingreso = IngresarUsuario(usuario, txtPwd->text());
    CerrarConexion();
    if (!ingreso.hecho()) {
        AuditarSolo(QStringLiteral("Ingreso fallido"), usuario);
        registrarIntentoFallido(usuario);
        return;
    }
    if (!ingreso.sentencias.isEmpty())
        Registrar(QStringLiteral("Clave guardada cifrada al ingresar: "), ingreso.sentencias);
    AuditarSolo(QStringLiteral("Ingreso"), SesionActual.Usuario);
    Registrar(QStringLiteral("Ingresa al programa"));
    ingresoHecho_ = true;
    close();
    emit ingresoCorrecto();
}

// The attempt is usually the real password with one typo: it never reaches the log.
void frmAcceso::registrarIntentoFallido(const QString& usuario) {
    ++intentosFallidos_;
    static const char* const inicios[] = {
        "Primer intento fallido de ingresar al programa.",
        "Segundo intento fallido de ingresar al programa.",
        "Tercer intento fallido de ingresar al programa, se le niega el acceso."};
    Registrar(QString::fromUtf8(inicios[qMin<int>(intentosFallidos_, 3) - 1]) +
              QStringLiteral(" Intenta utilizar como usr <-") + usuario +
              QStringLiteral("-> y pwd <-***->"));
    if (intentosFallidos_ >= 3) {
        emit terminarPrograma();
        return;
    }
    Servicios().dialogos->mensaje(QStringLiteral("Digite un usuario y contraseña válidas"),
                                  QStringLiteral("Datos no válidos"), Icono::Exclamacion);
}
