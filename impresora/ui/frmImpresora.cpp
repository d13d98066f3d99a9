#include "impresora/ui/frmImpresora.h"

#include "impresora/ui/impresoraescpos.h"
#include "principal/archivos.h"
#include "principal/manejadores.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"
#include "principal/ui/controles.h"
#include "principal/ui/etiquetapulsable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kSuceso = QStringLiteral("Impresora, botón ");
const QString kSinImpresora = QStringLiteral("(ninguna: imprimir como siempre)");

QComboBox* nuevoCombo(const char* nombre, const QStringList& opciones, QWidget* padre) {
    auto* combo = new QComboBox(padre);
    combo->setObjectName(QLatin1String(nombre));
    combo->addItems(opciones);
    return combo;
}

} // namespace

frmImpresora::frmImpresora(QWidget* parent)
    : VentanaHija(QStringLiteral("frmImpresora"), QStringLiteral("datos_parqueadero_gestion.ico"),
                  QStringLiteral("fondo6.jpg"), QStringLiteral("Cierra la ventana de Impresora"),
                  parent) {
    construirControles();
    Conectar(btnGuardar, &QPushButton::clicked, this, &frmImpresora::btnGuardarClicked);
    Conectar(btnProbar, &QPushButton::clicked, this, &frmImpresora::btnProbarClicked);
    cargar();
}

void frmImpresora::construirControles() {
    setWindowTitle(QStringLiteral("Impresora"));
    cboTipo = nuevoCombo("cboTipo", {kSinImpresora, "red", "usb", "serie"}, this);
    txtDireccion = NuevaCaja("txtDireccion", 100, this);
    txtDireccion->setPlaceholderText(QStringLiteral("192.168.1.50:9100, /dev/usb/lp0, "
                                                    "/dev/ttyUSB0:19200"));
    cboAncho = nuevoCombo("cboAncho", {"80", "58"}, this);
    cboAncho->setEditable(true);
    cboAncho->lineEdit()->setObjectName(QStringLiteral("txtAncho"));
    chkCorte = NuevaCasilla("chkCorte", QStringLiteral("C&ortar el papel tras cada ticket"), this);
    chkCajon = NuevaCasilla("chkCajon", QStringLiteral("Abrir el ca&jón en cada cobro"), this);
    chkRaster = NuevaCasilla("chkRaster", QStringLiteral("Código de barras como &imagen"), this);
    txtEstado = NuevaCaja("txtEstado", 40, this);
    txtEstado->setReadOnly(true);
    btnGuardar = NuevoBoton("btnGuardar", QStringLiteral("&Guardar"), QString(), this);
    btnProbar = NuevoBoton("btnProbar", QStringLiteral("&Probar impresora"), QString(), this);

    auto* formulario = new QFormLayout;
    formulario->addRow(QStringLiteral("&Tipo"), cboTipo);
    formulario->addRow(QStringLiteral("&Dirección"), txtDireccion);
    formulario->addRow(QStringLiteral("&Ancho (mm)"), cboAncho);
    // Each option's box with its text beside it, the text's key moving to the box.
    for (auto [casilla, etiqueta] :
         {std::pair{chkCorte, "lblCorte"}, {chkCajon, "lblCajon"}, {chkRaster, "lblRaster"}}) {
        auto* linea = new QHBoxLayout;
        auto* texto = NuevaEtiquetaPulsable(etiqueta, casilla->accessibleName(), casilla, this);
        texto->setBuddy(casilla);
        linea->addWidget(casilla);
        linea->addWidget(texto);
        linea->addStretch();
        formulario->addRow(QString(), linea);
    }
    formulario->addRow(QStringLiteral("&Estado leído"), txtEstado);
    auto* botones = new QHBoxLayout;
    botones->addWidget(btnProbar);
    botones->addStretch(1);
    botones->addWidget(btnGuardar);
    auto* principal = new QVBoxLayout(this);
    principal->addLayout(formulario);
    principal->addWidget(new QLabel(
        QStringLiteral("La configuración guardada rige desde el próximo ingreso al programa."),
        this));
    principal->addLayout(botones);
    resize(520, 300);
}

QString frmImpresora::ruta() const {
    return Servicios().carpetas->carpetaTrabajo() + QLatin1Char('/') + kArchivoImpresora;
}

void frmImpresora::cargar() {
    QFile archivo(ruta());
    if (!archivo.open(QIODevice::ReadOnly))
        return;
    // A damaged line still shows as it is, to be corrected here.
    const QStringList campos = QString::fromUtf8(archivo.readAll())
                                   .section(QLatin1Char('\n'), 0, 0)
                                   .trimmed()
                                   .split(QLatin1Char(';'));
    const int tipo = cboTipo->findText(campos.value(0).trimmed());
    cboTipo->setCurrentIndex(qMax(tipo, 0));
    txtDireccion->setText(campos.value(1).trimmed());
    cboAncho->setEditText(campos.value(2).trimmed());
    const QStringList opciones = campos.value(3).split(QLatin1Char(','));
    chkCorte->setChecked(opciones.contains(QStringLiteral("corte")));
    chkCajon->setChecked(opciones.contains(QStringLiteral("cajon")));
    chkRaster->setChecked(opciones.contains(QStringLiteral("raster")));
}

QString frmImpresora::linea() const {
    if (cboTipo->currentIndex() <= 0)
        return QString();
    QStringList opciones;
    for (const auto& [casilla, nombre] :
         {std::pair{chkCorte, "corte"}, {chkCajon, "cajon"}, {chkRaster, "raster"}})
        if (casilla->isChecked())
            opciones << QLatin1String(nombre);
    return QStringList{cboTipo->currentText(), txtDireccion->text().trimmed(),
                       cboAncho->currentText().trimmed(), opciones.join(QLatin1Char(','))}
        .join(QLatin1Char(';'));
}

std::optional<ConfigImpresora> frmImpresora::validar() {
    const LecturaImpresora lectura = LeerLineaImpresora(linea());
    if (lectura.config)
        return lectura.config;
    Informar(lectura.error);
    const std::pair<const char*, QWidget*> campos[] = {
        {"TIPO", cboTipo}, {"DIRECCIÓN", txtDireccion}, {"ANCHO", cboAncho}};
    for (const auto& [campo, caja] : campos)
        if (lectura.error.contains(QStringLiteral("el campo %1 ").arg(QString::fromUtf8(campo))))
            caja->setFocus();
    return std::nullopt;
}

void frmImpresora::btnGuardarClicked() {
    if (cboTipo->currentIndex() <= 0) {
        if (QFile::exists(ruta()) && !QFile::remove(ruta())) {
            Informar(QStringLiteral("No se pudo quitar %1").arg(ruta()));
            return;
        }
        Registrar(kSuceso + QStringLiteral("Guardar: sin impresora directa"));
        Informar(QStringLiteral("Los tickets se imprimirán como siempre desde el próximo "
                                "ingreso."));
        return;
    }
    if (!validar())
        return;
    QString error;
    if (!EscribirArchivo(ruta(), (linea() + QLatin1Char('\n')).toUtf8(), &error)) {
        Informar(QStringLiteral("No se pudo guardar %1: %2").arg(ruta(), error));
        return;
    }
    Registrar(kSuceso + QStringLiteral("Guardar: ") + linea());
    Informar(QStringLiteral("Impresora guardada: rige desde el próximo ingreso."));
}

void frmImpresora::btnProbarClicked() {
    const std::optional<ConfigImpresora> config = validar();
    if (!config)
        return;
    txtEstado->setText(QStringLiteral("probando…"));
    btnProbar->setEnabled(false);
    ImpresoraEscPos impresora(*config);
    const EnvioImpresora envio = impresora.probar();
    btnProbar->setEnabled(true);
    txtEstado->setText(TextoEstado(envio.estado));
    Registrar(kSuceso + QStringLiteral("Probar impresora: ") + TextoEstado(envio.estado));
}
