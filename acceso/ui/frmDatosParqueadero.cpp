#include "acceso/ui/frmDatosParqueadero.h"

#include "acceso/parqueadero.h"
#include "bd/conexion.h"
#include "bd/recordset.h"
#include "principal/avisos.h"
#include "principal/formatos.h"
#include "principal/manejadores.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"
#include "principal/ui/controles.h"
#include "principal/ui/etiquetapulsable.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kSucesoBoton =
    QStringLiteral("Datos Parqueadero, botón Modificar Datos Parqueadero: ");

QPlainTextEdit* nuevoTextoLargo(const char* nombre, QWidget* padre) {
    auto* caja = new QPlainTextEdit(padre);
    caja->setObjectName(QLatin1String(nombre));
    caja->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on, as in every other box; Enter still breaks the line.
    caja->setTabChangesFocus(true);
    VariasLineas(caja);
    return caja;
}

EtiquetaPulsable* nuevaEtiquetaPulsable(const char* nombre, const char* texto, QCheckBox* casilla,
                                        QWidget* padre) {
    // The toggle goes through the window's own handler, so no casilla is tied here.
    auto* etiqueta = NuevaEtiquetaPulsable(nombre, QString::fromUtf8(texto), nullptr, padre);
    casilla->setAccessibleName(etiqueta->text());
    return etiqueta;
}

// A stored number the box cannot hold whole (out of range, a fraction, damaged) shows as an
// empty box, never cut down to a different number.
QString textoNumero(const Valor& valor, const QLineEdit* caja) {
    const QString texto = valor.aTexto();
    return EnteroEstricto(texto) && texto.size() <= caja->maxLength() ? texto : QString();
}

} // namespace

frmDatosParqueadero::frmDatosParqueadero(QWidget* parent)
    : VentanaHija(QStringLiteral("frmDatosParqueadero"),
                  QStringLiteral("datos_parqueadero_gestion.ico"), QStringLiteral("fondo6.jpg"),
                  QStringLiteral("Cierra la ventana de Datos Parqueadero"), parent) {
    construirControles();
    conectarSenales();
    cargar();
}

void frmDatosParqueadero::construirControles() {
    setWindowTitle(QStringLiteral("Datos del Parqueadero"));
    QGridLayout* cajas = construirCajas();
    QGridLayout* largos = construirTextosLargos();
    QGridLayout* casillas = construirCasillas();
    btnModificar = NuevoBoton("btnModificar", QStringLiteral("  &Modificar Datos Parqueadero"),
                              QStringLiteral("datos_parqueadero_modificar.ico"), this);
    btnModificar->setMinimumHeight(34);

    auto* abajo = new QHBoxLayout;
    abajo->addLayout(casillas, 1);
    abajo->addSpacing(12);
    abajo->addWidget(btnModificar, 0, Qt::AlignBottom);

    auto* principal = new QVBoxLayout(this);
    principal->addLayout(cajas);
    principal->addSpacing(6);
    principal->addLayout(largos, 1);
    principal->addSpacing(6);
    principal->addLayout(abajo);
    resize(990, 580);
}

QGridLayout* frmDatosParqueadero::construirCajas() {
    const struct {
        QLineEdit** caja;
        const char* nombre;
        const char* rotulo;
        int largo;
    } cajas[] = {
        {&txtNombreParqueadero, "txtNombreParqueadero", "Nombre Parqueadero", 50},
        {&txtOtroNombre, "txtOtroNombre", "Nombre Adicional (opcional)", 50},
        {&txtIdentificacion, "txtIdentificacion", "Identificación", 30},
        {&txtDireccion, "txtDireccion", "Dirección", 50},
        {&txtTfno, "txtTfno", "Teléfono", 35},
        {&txtCupo, "txtCupo", "Cupo", 4},
        {&txtSimboloMoneda, "txtSimboloMoneda", "Simbolo Moneda", 1},
        {&txtNombreDocumentoEntrada, "txtNombreDocumentoEntrada", "Nombre Doc. Entrada", 20},
        {&txtNombreDocumento, "txtNombreDocumento", "Nombre Doc. Salida", 20},
        {&txtIVA, "txtIVA", "I.V.A.", 2},
        {&txtPrefijoFactura, "txtPrefijoFactura", "Prefijo de Factura", 4},
        {&txtDigitosFactura, "txtDigitosFactura", "Dígitos a completar en Factura", 2},
        {&txtBaseTexto, "txtBaseTexto", "Texto para el valor de la Base", 20},
        {&txtValorIVATexto, "txtValorIVATexto", "Texto para el valor del I.V.A.", 20},
        {&txtValorCobradoTexto, "txtValorCobradoTexto", "Texto para el Total Cobrado", 20},
        {&txtCajeroTexto, "txtCajeroTexto", "Texto para Cajero", 20}};
    // Two columns of eight, read (and tabbed) down the left one first.
    auto* rejilla = new QGridLayout;
    const int filas = static_cast<int>(std::size(cajas)) / 2;
    for (int i = 0; i < static_cast<int>(std::size(cajas)); ++i) {
        *cajas[i].caja = NuevaCaja(cajas[i].nombre, cajas[i].largo, this);
        const int columna = i < filas ? 0 : 3;
        rejilla->addWidget(new QLabel(QString::fromUtf8(cajas[i].rotulo), this), i % filas,
                           columna);
        rejilla->addWidget(*cajas[i].caja, i % filas, columna + 1);
    }
    txtSimboloMoneda->setAlignment(Qt::AlignCenter);
    for (QLineEdit* corta :
         {txtCupo, txtSimboloMoneda, txtIVA, txtPrefijoFactura, txtDigitosFactura})
        corta->setMaximumWidth(corta->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 24);
    rejilla->setColumnMinimumWidth(2, 16);
    rejilla->setColumnStretch(1, 1);
    rejilla->setColumnStretch(4, 1);
    return rejilla;
}

QGridLayout* frmDatosParqueadero::construirTextosLargos() {
    const struct {
        QPlainTextEdit** caja;
        const char* nombre;
        const char* rotulo;
    } largos[] = {
        {&txtCabeceraEntrada, "txtCabeceraEntrada", "Cabecera Ticket de Entrada"},
        {&txtCabeceraSalida, "txtCabeceraSalida", "Cabecera Ticket Salida"},
        {&txtCabeceraResumenVentas, "txtCabeceraResumenVentas",
         "Cabecera Resumen de Ventas/Cierre"},
        {&txtCabeceraEfectuarCierre, "txtCabeceraEfectuarCierre", "Cabecera Efectuar Cierre"},
        {&txtPieEntrada, "txtPieEntrada", "Pie Ticket de Entrada"},
        {&txtPieSalida, "txtPieSalida", "Pie Ticket de Salida"},
        {&txtPieResumenVentas, "txtPieResumenVentas", "Pie Resumen de Ventas/Cierre"},
        {&txtPieEfectuarCierre, "txtPieEfectuarCierre", "Pie Efectuar Cierre"}};
    // Headers above their footers, one column per document.
    auto* rejilla = new QGridLayout;
    for (int i = 0; i < static_cast<int>(std::size(largos)); ++i) {
        *largos[i].caja = nuevoTextoLargo(largos[i].nombre, this);
        rejilla->addWidget(new QLabel(QString::fromUtf8(largos[i].rotulo), this), (i / 4) * 2,
                           i % 4);
        rejilla->addWidget(*largos[i].caja, (i / 4) * 2 + 1, i % 4);
    }
    return rejilla;
}

QGridLayout* frmDatosParqueadero::construirCasillas() {
    // Made in the order they are laid out, which is the Tab order.
    chkConsecutivoDiaImprimir = NuevaCasilla("chkConsecutivoDiaImprimir", QString(), this);
    chkFechaAdicionalImprimir = NuevaCasilla("chkFechaAdicionalImprimir", QString(), this);
    chkCajeroImprimir = NuevaCasilla("chkCajeroImprimir", QString(), this);
    chkModificarValorSalida = NuevaCasilla("chkModificarValorSalida", QString(), this);
    chkModificarTarifaSalida = NuevaCasilla("chkModificarTarifaSalida", QString(), this);
    chkModificarPlacaSalida = NuevaCasilla("chkModificarPlacaSalida", QString(), this);
    Label25 = nuevaEtiquetaPulsable("Label25", "Imprimir Consecutivo del día",
                                    chkConsecutivoDiaImprimir, this);
    Label26 = nuevaEtiquetaPulsable("Label26", "Permitir modificar Valor a cobrar en la Salida",
                                    chkModificarValorSalida, this);
    Label27 = nuevaEtiquetaPulsable("Label27", "Permitir modificar Tarifa en la Salida",
                                    chkModificarTarifaSalida, this);
    Label28 = nuevaEtiquetaPulsable("Label28", "Permitir modificar Placa en la Salida",
                                    chkModificarPlacaSalida, this);
    Label29 = nuevaEtiquetaPulsable("Label29", "Imprimir Fecha adicional en Documento Salida",
                                    chkFechaAdicionalImprimir, this);
    Label30 =
        nuevaEtiquetaPulsable("Label30", "Imprimir Nombre del Cajero en Documento Entrada y Salida",
                              chkCajeroImprimir, this);
    const std::pair<QCheckBox*, QLabel*> pares[] = {
        {chkConsecutivoDiaImprimir, Label25}, {chkFechaAdicionalImprimir, Label29},
        {chkCajeroImprimir, Label30},         {chkModificarValorSalida, Label26},
        {chkModificarTarifaSalida, Label27},  {chkModificarPlacaSalida, Label28}};
    // Printing switches on the left, the exit's corrections on the right.
    auto* rejilla = new QGridLayout;
    for (int i = 0; i < 6; ++i) {
        rejilla->addWidget(pares[i].first, i % 3, (i / 3) * 2);
        rejilla->addWidget(pares[i].second, i % 3, (i / 3) * 2 + 1);
    }
    rejilla->setColumnStretch(1, 1);
    rejilla->setColumnStretch(3, 1);
    return rejilla;
}

void frmDatosParqueadero::conectarSenales() {
    Conectar(btnModificar, &QPushButton::clicked, this, &frmDatosParqueadero::btnModificarClicked);
    Conectar(Label25, &EtiquetaPulsable::pulsada, this, &frmDatosParqueadero::Label25Clicked);
    Conectar(Label26, &EtiquetaPulsable::pulsada, this, &frmDatosParqueadero::Label26Clicked);
    Conectar(Label27, &EtiquetaPulsable::pulsada, this, &frmDatosParqueadero::Label27Clicked);
    Conectar(Label28, &EtiquetaPulsable::pulsada, this, &frmDatosParqueadero::Label28Clicked);
    Conectar(Label29, &EtiquetaPulsable::pulsada, this, &frmDatosParqueadero::Label29Clicked);
    Conectar(Label30, &EtiquetaPulsable::pulsada, this, &frmDatosParqueadero::Label30Clicked);
}

void frmDatosParqueadero::cargar() {
    const std::pair<QLineEdit*, const char*> textos[] = {
        {txtNombreParqueadero, "NombreParqueadero"},
        {txtOtroNombre, "OtroNombre"},
        {txtIdentificacion, "Identificacion"},
        {txtDireccion, "Direccion"},
        {txtTfno, "Tfno"},
        {txtSimboloMoneda, "SimboloMoneda"},
        {txtNombreDocumentoEntrada, "NombreDocumentoEntrada"},
        {txtNombreDocumento, "NombreDocumento"},
        {txtPrefijoFactura, "PrefijoFactura"},
        {txtBaseTexto, "BaseTexto"},
        {txtValorIVATexto, "ValorIVATexto"},
        {txtValorCobradoTexto, "ValorCobradoTexto"},
        {txtCajeroTexto, "CajeroTexto"}};
    const std::pair<QLineEdit*, const char*> numeros[] = {
        {txtCupo, "Cupo"}, {txtIVA, "IVA"}, {txtDigitosFactura, "DigitosFactura"}};
    const std::pair<QPlainTextEdit*, const char*> largos[] = {
        {txtCabeceraEntrada, "CabeceraEntrada"},
        {txtCabeceraSalida, "CabeceraSalida"},
        {txtPieEntrada, "PieEntrada"},
        {txtPieSalida, "PieSalida"},
        {txtCabeceraResumenVentas, "CabeceraResumenVentas"},
        {txtPieResumenVentas, "PieResumenVentas"},
        {txtCabeceraEfectuarCierre, "CabeceraEfectuarCierre"},
        {txtPieEfectuarCierre, "PieEfectuarCierre"}};
    const std::pair<QCheckBox*, const char*> casillas[] = {
        {chkConsecutivoDiaImprimir, "ConsecutivoDiaImprimir"},
        {chkModificarValorSalida, "ModificarValorSalida"},
        {chkModificarTarifaSalida, "ModificarTarifaSalida"},
        {chkModificarPlacaSalida, "ModificarPlacaSalida"},
        {chkFechaAdicionalImprimir, "FechaAdicionalImprimir"},
        {chkCajeroImprimir, "CajeroImprimir"}};
    AbrirConexion();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM datosparqueadero"));
    CerrarConexion();
    // No row: the boxes stay empty and a save reports that nothing was there to change.
    if (rs.Eof())
        return;
    const auto campo = [&rs](const char* columna) -> const Valor& {
        return rs.Fields(QLatin1String(columna));
    };
    for (const auto& [caja, columna] : textos)
        caja->setText(campo(columna).aTexto());
    for (const auto& [caja, columna] : numeros)
        caja->setText(textoNumero(campo(columna), caja));
    for (const auto& [caja, columna] : largos)
        caja->setPlainText(campo(columna).aTexto());
    for (const auto& [casilla, columna] : casillas)
        casilla->setChecked(campo(columna).aBandera());
}

void frmDatosParqueadero::Label25Clicked() {
    chkConsecutivoDiaImprimir->toggle();
}

void frmDatosParqueadero::Label26Clicked() {
    chkModificarValorSalida->toggle();
}

void frmDatosParqueadero::Label27Clicked() {
    chkModificarTarifaSalida->toggle();
}

void frmDatosParqueadero::Label28Clicked() {
    chkModificarPlacaSalida->toggle();
}

void frmDatosParqueadero::Label29Clicked() {
    chkFechaAdicionalImprimir->toggle();
}

void frmDatosParqueadero::Label30Clicked() {
    chkCajeroImprimir->toggle();
}

bool frmDatosParqueadero::validar() {
    const auto vacia = [](const QLineEdit* caja) { return caja->text().isEmpty(); };
    const std::pair<QLineEdit*, bool> comprobaciones[] = {
        {txtNombreParqueadero, vacia(txtNombreParqueadero)},
        {txtIdentificacion, vacia(txtIdentificacion)},
        {txtDireccion, vacia(txtDireccion)},
        {txtCupo, !CupoValido(txtCupo->text())},
        {txtSimboloMoneda, vacia(txtSimboloMoneda)},
        {txtNombreDocumento, vacia(txtNombreDocumento)},
        {txtNombreDocumentoEntrada, vacia(txtNombreDocumentoEntrada)},
        {txtValorCobradoTexto, vacia(txtValorCobradoTexto)}};
    const char* const mensajes[] = {
        "Debe indicar el Nombre del Parqueadero",
        "Debe indicar la Identificación",
        "Debe indicar la Dirección",
        "Debe indicar el Cupo",
        "Debe indicar el Símbolo de la Moneda",
        "Debe indicar el Nombre del Documento de Salida (Ticket, Recibo, Folio, Factura)",
        "Debe indicar el Nombre del Documento de Entrada (Ticket, Recibo, Folio, Factura)",
        "Debe indicar el Texto para el Valor Cobrado"};
    for (int i = 0; i < 8; ++i) {
        if (comprobaciones[i].second) {
            Informar(QString::fromUtf8(mensajes[i]));
            comprobaciones[i].first->setFocus();
            return false;
        }
    }
    return true;
}

AjustesParqueadero frmDatosParqueadero::ajustesDeCajas() const {
    AjustesParqueadero d;
    d.NombreParqueadero = txtNombreParqueadero->text();
    d.OtroNombre = txtOtroNombre->text();
    d.Identificacion = txtIdentificacion->text();
    d.Direccion = txtDireccion->text();
    d.Tfno = txtTfno->text();
    d.Cupo = CupoValido(txtCupo->text()).value_or(0);
    d.SimboloMoneda = txtSimboloMoneda->text();
    d.NombreDocumento = txtNombreDocumento->text();
    d.NombreDocumentoEntrada = txtNombreDocumentoEntrada->text();
    d.CabeceraEntrada = txtCabeceraEntrada->toPlainText();
    d.CabeceraSalida = txtCabeceraSalida->toPlainText();
    d.PieEntrada = txtPieEntrada->toPlainText();
    d.PieSalida = txtPieSalida->toPlainText();
    d.ConsecutivoDiaImprimir = chkConsecutivoDiaImprimir->isChecked();
    d.IVA = IvaValido(txtIVA->text()).value_or(0);
    d.PrefijoFactura = txtPrefijoFactura->text();
    d.DigitosFactura = DigitosFacturaValidos(txtDigitosFactura->text()).value_or(0);
    d.BaseTexto = txtBaseTexto->text();
    d.ValorIVATexto = txtValorIVATexto->text();
    d.ValorCobradoTexto = txtValorCobradoTexto->text();
    d.CajeroTexto = txtCajeroTexto->text();
    d.CajeroImprimir = chkCajeroImprimir->isChecked();
    d.FechaAdicionalImprimir = chkFechaAdicionalImprimir->isChecked();
    d.CabeceraResumenVentas = txtCabeceraResumenVentas->toPlainText();
    d.PieResumenVentas = txtPieResumenVentas->toPlainText();
    d.CabeceraEfectuarCierre = txtCabeceraEfectuarCierre->toPlainText();
    d.PieEfectuarCierre = txtPieEfectuarCierre->toPlainText();
    d.ModificarPlacaSalida = chkModificarPlacaSalida->isChecked();
    d.ModificarTarifaSalida = chkModificarTarifaSalida->isChecked();
    d.ModificarValorSalida = chkModificarValorSalida->isChecked();
    return d;
}

void frmDatosParqueadero::btnModificarClicked() {
    if (!validar())
        return;
    if (!EnteroEstricto(txtIVA->text()))
        txtIVA->clear();
    if (!PreguntarSiNo(QStringLiteral("¿Desea modificar los datos?"),
                       QStringLiteral("Modificar Datos Parqueadero")))
        return;
    const AjustesParqueadero ajustes = ajustesDeCajas();
    const bool digitosNulos = !DigitosFacturaValidos(txtDigitosFactura->text());
    // What is stored as Null shows as an empty box.
    if (ajustes.IVA == 0)
        txtIVA->clear();
    if (digitosNulos)
        txtDigitosFactura->clear();
    if (!GrabarDatosParqueadero(ajustes, digitosNulos).hecho()) {
        Registrar(kSucesoBoton + QStringLiteral("Datos no modificados, no existe la fila de "
                                                "DatosParqueadero en la base de datos"));
        Servicios().dialogos->mensaje(
            QStringLiteral("No se han modificado los datos: no existen los datos del "
                           "parqueadero en la base de datos. Consulte al soporte técnico."),
            TituloAplicacion, Icono::Exclamacion);
        return;
    }
    Registrar(kSucesoBoton + QStringLiteral("Datos modificados correctamente"));
    Informar(QStringLiteral("Datos modificados correctamente"));
    txtNombreParqueadero->setFocus();
    emit Avisos().datosParqueaderoModificados();
}

void frmDatosParqueadero::showEvent(QShowEvent* evento) {
    VentanaHija::showEvent(evento);
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (vigilandoArea_ || !sub || !sub->mdiArea())
        return;
    vigilandoArea_ = true;
    eraActiva_ = sub->mdiArea()->activeSubWindow() == sub;
    Conectar(sub->mdiArea(), &QMdiArea::subWindowActivated, this,
             &frmDatosParqueadero::FormDeactivate);
}

void frmDatosParqueadero::FormDeactivate(QMdiSubWindow* activada) {
    // No window active at all is the whole program losing the focus, to a box for instance.
    if (!activada)
        return;
    const bool estaActiva = activada == parentWidget();
    const bool preguntar = eraActiva_ && !estaActiva;
    eraActiva_ = estaActiva;
    if (!preguntar)
        return;
    const QString texto =
        QStringLiteral("Se va a cerrar automáticamente la ventana de configuración de datos del "
                       "parqueadero") +
        kCrLf + kCrLf +
        QStringLiteral("Asegúrese de haber guardado los cambios que haya realizado") + kCrLf +
        kCrLf + QStringLiteral("¿Desea cerrar la ventana?") + kCrLf + kCrLf;
    if (PreguntarSiNo(texto, QStringLiteral("CONFIRMAR CIERRE VENTANA DE CONFIGURACIÓN DATOS "
                                            "PARQUEADERO")))
        parentWidget()->close();
}
