#include "acceso/ui/frmPrimerInicio.h"

#include "acceso/crearbd.h"
#include "bd/conexion.h"
#include "principal/configinicio.h"
#include "principal/manejadores.h"
#include "principal/servicios.h"
#include "principal/ui/controles.h"
#include "principal/ui/recursos.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
const QString kTitulo = QStringLiteral("Primer inicio de Vialtor");
} // namespace

frmPrimerInicio::frmPrimerInicio(const QString& carpetaEstacion, QWidget* parent)
    : QDialog(parent), carpetaEstacion_(carpetaEstacion) {
    setObjectName(QStringLiteral("frmPrimerInicio"));
    setWindowTitle(kTitulo);
    setWindowIcon(IconoPrograma(QStringLiteral("vialtor.ico")));
    construirControles();
    Conectar(btnCrear, &QPushButton::clicked, this, &frmPrimerInicio::btnCrearClicked);
    Conectar(optServidor, &QRadioButton::toggled, this, &frmPrimerInicio::optServidorToggled);
    connect(btnCancelar, &QPushButton::clicked, this, &QDialog::reject);
    txtCarpetaDatos->setText(QDir::toNativeSeparators(carpetaEstacion));
    txtPuntoControl->setText(QStringLiteral("CAJA1"));
    txtUsuario->setText(QStringLiteral("admin"));
    optServidorToggled(false);
}

void frmPrimerInicio::construirControles() {
    Label1 = NuevaEtiqueta(
        "Label1",
        QStringLiteral("Este usuario aún no tiene una estación de Vialtor. Indique dónde se "
                       "guardan los datos, el nombre de esta caja (punto de control) y el primer "
                       "usuario, que será administrador."),
        this);
    Label1->setWordWrap(true);
    optArchivo =
        new QRadioButton(QStringLiteral("Base de datos en un &archivo de este equipo"), this);
    optArchivo->setObjectName(QStringLiteral("optArchivo"));
    optArchivo->setChecked(true);
    optServidor =
        new QRadioButton(QStringLiteral("Base de datos en un &servidor PostgreSQL"), this);
    optServidor->setObjectName(QStringLiteral("optServidor"));
    lblServidor = NuevaEtiqueta("lblServidor", QStringLiteral("C&onexión al servidor:"), this);
    txtServidor = NuevaCaja("txtServidor", 500, this);
    txtServidor->setPlaceholderText(QStringLiteral("host=servidor dbname=vialtor user=caja1"));
    lblCarpetaDatos = NuevaEtiqueta("lblCarpetaDatos", QStringLiteral("Carpeta de &datos:"), this);
    txtCarpetaDatos = NuevaCaja("txtCarpetaDatos", 500, this);
    lblPuntoControl = NuevaEtiqueta("lblPuntoControl", QStringLiteral("&Punto de control:"), this);
    txtPuntoControl = NuevaCaja("txtPuntoControl", 50, this);
    lblUsuario = NuevaEtiqueta("lblUsuario", QStringLiteral("&Usuario:"), this);
    txtUsuario = NuevaCaja("txtUsuario", 50, this);
    lblClave = NuevaEtiqueta("lblClave", QStringLiteral("&Contraseña:"), this);
    txtClave = NuevaCaja("txtClave", 50, this);
    lblConfirmarClave =
        NuevaEtiqueta("lblConfirmarClave", QStringLiteral("Con&firmar contraseña:"), this);
    txtConfirmarClave = NuevaCaja("txtConfirmarClave", 50, this);
    for (QLineEdit* clave : {txtClave, txtConfirmarClave})
        clave->setEchoMode(QLineEdit::Password);
    chkTarifasDemo = new QCheckBox(QStringLiteral("Agregar tres &tarifas de demostración"), this);
    chkTarifasDemo->setObjectName(QStringLiteral("chkTarifasDemo"));
    btnCrear = NuevoBoton("btnCrear", QStringLiteral("C&rear estación"), QString(), this);
    btnCrear->setDefault(true);
    btnCancelar = NuevoBoton("btnCancelar", QStringLiteral("Ca&ncelar"), QString(), this);
    disponerControles();
}

// The text and the choice of engine on top, then each box after its label, the buttons below.
void frmPrimerInicio::disponerControles() {
    const std::pair<QLabel*, QLineEdit*> filas[] = {{lblServidor, txtServidor},
                                                    {lblCarpetaDatos, txtCarpetaDatos},
                                                    {lblPuntoControl, txtPuntoControl},
                                                    {lblUsuario, txtUsuario},
                                                    {lblClave, txtClave},
                                                    {lblConfirmarClave, txtConfirmarClave}};
    auto* rejilla = new QGridLayout(this);
    rejilla->addWidget(Label1, 0, 0, 1, 2);
    rejilla->addWidget(optArchivo, 1, 0, 1, 2);
    rejilla->addWidget(optServidor, 2, 0, 1, 2);
    int fila = 3;
    for (const auto& [etiqueta, caja] : filas) {
        etiqueta->setBuddy(caja);
        rejilla->addWidget(etiqueta, fila, 0);
        rejilla->addWidget(caja, fila++, 1);
    }
    rejilla->addWidget(chkTarifasDemo, fila++, 1);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(btnCrear);
    botones->addWidget(btnCancelar);
    rejilla->addLayout(botones, fila, 0, 1, 2);
    rejilla->setColumnMinimumWidth(1, 360);
}

void frmPrimerInicio::optServidorToggled(bool activo) {
    lblServidor->setEnabled(activo);
    txtServidor->setEnabled(activo);
    // Demo rates go into a file or a server alike; only the folder's meaning changes.
    lblCarpetaDatos->setText(activo ? QStringLiteral("Carpeta de &datos (sucesos y respaldos):")
                                    : QStringLiteral("Carpeta de &datos:"));
}

EstacionNueva frmPrimerInicio::estacion() const {
    EstacionNueva e;
    e.carpetaEstacion = carpetaEstacion_;
    e.carpetaDatos = QDir::fromNativeSeparators(txtCarpetaDatos->text().trimmed());
    e.servidor = optServidor->isChecked() ? txtServidor->text().trimmed() : QString();
    e.puntoControl = txtPuntoControl->text().trimmed();
    e.usuario = txtUsuario->text().trimmed();
    e.clave = txtClave->text();
    e.tarifasDemo = chkTarifasDemo->isChecked();
    return e;
}

void frmPrimerInicio::rechazar(const QString& texto, QLineEdit* caja) {
    Servicios().dialogos->mensaje(texto, kTitulo, Icono::Informacion);
    caja->setFocus();
    caja->selectAll();
}

void frmPrimerInicio::btnCrearClicked() {
    const EstacionNueva e = estacion();
    if (optServidor->isChecked() && e.servidor.isEmpty())
        return rechazar(QStringLiteral("Digite la conexión al servidor"), txtServidor);
    if (const ReparoEstacion reparo = RevisarEstacionNueva(e);
        reparo.campo != ReparoEstacion::Ninguno) {
        QLineEdit* const cajas[] = {nullptr, txtCarpetaDatos, txtPuntoControl, txtUsuario,
                                    txtClave};
        return rechazar(reparo.texto, cajas[reparo.campo]);
    }
    if (txtConfirmarClave->text() != e.clave)
        return rechazar(QStringLiteral("La contraseña y su confirmación no coinciden"),
                        txtConfirmarClave);
    try {
        CrearEstacion(e);
    } catch (const ErrorBD& error) {
        Servicios().dialogos->mensaje(QStringLiteral("No se pudo crear la estación:\n\n") +
                                          error.textoCompleto(),
                                      kTitulo, Icono::Critico);
        return;
    }
    accept();
}

bool PrepararEstacionDelMenu() {
    const QString carpeta = CarpetaEstacionMenu();
    if (!QDir().mkpath(carpeta) || !QDir::setCurrent(carpeta)) {
        Servicios().dialogos->mensaje(
            QStringLiteral("No se pudo crear la carpeta de la estación ") +
                QDir::toNativeSeparators(carpeta),
            kTitulo, Icono::Critico);
        return false;
    }
    if (QFileInfo::exists(carpeta + QLatin1String("/vialtor.cfg")))
        return true;
    frmPrimerInicio ventana(carpeta);
    return ventana.exec() == QDialog::Accepted;
}
