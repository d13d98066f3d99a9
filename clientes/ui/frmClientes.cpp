#include "clientes/ui/frmClientes.h"

#include "bd/conexion.h"
#include "clientes/clientes.h"
#include "clientes/listadosclientes.h"
#include "clientes/periodos.h"
#include "clientes/ui/eleccionlista.h"
#include "clientes/ui/modeloclientes.h"
#include "clientes/ui/panelpagos.h"
#include "movimientos/vehiculos.h"
#include "principal/formatos.h"
#include "principal/manejadores.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"
#include "principal/ui/controles.h"
#include "principal/ui/etiquetapulsable.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const QString kTitulo = QStringLiteral("Gestión de Clientes");
const QString kConPendiente = QStringLiteral("Clientes con pago pendiente");
const QString kSinPendiente = QStringLiteral("Clientes sin pago pendiente");
const QString kNoEncontrado = QStringLiteral("El registro seleccionado ya no existe; pudo haber "
                                             "sido eliminado desde otro punto de control");

enum ColumnaCliente { CNombre = 2, CApe1, CApe2, CPlaca, CDebe, CIdentificacion, CNotas };

} // namespace

frmClientes::frmClientes(QWidget* parent)
    : VentanaHija(QStringLiteral("frmClientes"), QStringLiteral("clientes.ico"),
                  QStringLiteral("fondo9.jpg"),
                  QStringLiteral("Cierra la ventana de Gestión de Clientes"), parent) {
    construirControles();
    conectarSenales();
    cargar();
}

void frmClientes::construirControles() {
    setWindowTitle(kTitulo);
    crearDatos();
    crearBotones();
    ListView1 = NuevaListaClientes("ListView1", kColumnasClientes, modelo1_, this);
    auto* arriba = new QHBoxLayout;
    arriba->addLayout(disponerDatos(), 1);
    arriba->addSpacing(12);
    arriba->addLayout(disponerBotones());
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(arriba);
    todo->addWidget(ListView1, 1);
    todo->addWidget(construirPeriodos());
    ordenarTabulacion();
    resize(1000, 640);
}

// The client's boxes and its two marks.
void frmClientes::crearDatos() {
    txtNombre = NuevaCaja("txtNombre", 20, this);
    txtApe1 = NuevaCaja("txtApe1", 20, this);
    txtApe2 = NuevaCaja("txtApe2", 20, this);
    txtPlaca = NuevaCaja("txtPlaca", kLargoPlaca, this);
    txtIdentificacion = NuevaCaja("txtIdentificacion", 15, this);
    txtNotas = NuevaCaja("txtNotas", 100, this);
    chkClienteActivo = NuevaCasilla("chkClienteActivo", kConPendiente, this);
    chkClienteActivo->setChecked(true);
    lblClienteActivo = NuevaEtiquetaPulsable("lblClienteActivo", kConPendiente, nullptr, this);
    chkAutoCamposCliente = NuevaCasilla("chkAutoCamposCliente", QString(), this);
    Label13 = NuevaEtiquetaPulsable(
        "Label13", QStringLiteral("Active para rellenar automáticamente campos del cliente"),
        nullptr, this);
    chkAutoCamposCliente->setAccessibleName(Label13->text());
}

void frmClientes::crearBotones() {
    btnAgregar = NuevoBoton("btnAgregar", QStringLiteral("    &Agregar Cliente"),
                            QStringLiteral("cliente_agregar.ico"), this);
    btnModificar = NuevoBoton("btnModificar", QStringLiteral("  &Modificar Cliente"),
                              QStringLiteral("cliente_modificar.ico"), this);
    btnEliminar = NuevoBoton("btnEliminar", QStringLiteral("   &Eliminar Cliente"),
                             QStringLiteral("cliente_eliminar.ico"), this);
    btnBuscarCliente = NuevoBoton("btnBuscarCliente", QStringLiteral("  &Buscar Cliente"),
                                  QStringLiteral("cliente_buscar.ico"), this);
    btnListadoCompleto =
        NuevoBoton("btnListadoCompleto", QStringLiteral("  &Listar todos los Clientes"),
                   QStringLiteral("cliente_listado_completo.ico"), this);
    btnVaciarFormulario = NuevoBoton("btnVaciarFormulario", QStringLiteral("  &Vaciar Campos"),
                                     QStringLiteral("cliente_vaciar_formulario.ico"), this);
}

// The boxes two to a row, each after its label, the marks below them.
QLayout* frmClientes::disponerDatos() {
    const std::pair<const char*, QLineEdit*> campos[] = {
        {"Nombre", txtNombre}, {"Primer Apellido", txtApe1},          {"Segundo Apellido", txtApe2},
        {"Placa", txtPlaca},   {"Identificación", txtIdentificacion}, {"Notas", txtNotas}};
    auto* datos = new QGridLayout;
    for (int i = 0; i < 6; ++i) {
        auto* rotulo = new QLabel(QString::fromUtf8(campos[i].first), this);
        rotulo->setBuddy(campos[i].second);
        datos->addWidget(rotulo, i / 2, (i % 2) * 2);
        datos->addWidget(campos[i].second, i / 2, (i % 2) * 2 + 1);
    }
    auto* marcas = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{chkClienteActivo, lblClienteActivo})
        marcas->addWidget(w);
    marcas->addSpacing(24);
    for (QWidget* w : std::initializer_list<QWidget*>{chkAutoCamposCliente, Label13})
        marcas->addWidget(w);
    marcas->addStretch();
    datos->addLayout(marcas, 3, 0, 1, 4);
    datos->setColumnStretch(1, 1);
    datos->setColumnStretch(3, 1);
    return datos;
}

QLayout* frmClientes::disponerBotones() {
    auto* botones = new QGridLayout;
    QPushButton* const orden[] = {btnAgregar,         btnBuscarCliente, btnModificar,
                                  btnListadoCompleto, btnEliminar,      btnVaciarFormulario};
    for (int i = 0; i < 6; ++i)
        botones->addWidget(orden[i], i / 2, i % 2);
    return botones;
}

QWidget* frmClientes::construirPeriodos() {
    auto* abajo = new QWidget(this);
    pagos = new PanelPagos(IdClienteSeleccionado, txtNombre, abajo);
    btnListadoClientes =
        NuevoBoton("btnListadoClientes", QStringLiteral("  Listado de &Clientes CSV"),
                   QStringLiteral("cliente_listado_csv.ico"), abajo);
    // "&Pago" is the payment button's key already.
    btnListadoClientesFPagos =
        NuevoBoton("btnListadoClientesFPagos",
                   QStringLiteral("    Listado de Clientes y\n    Fechas de Pago C&SV"),
                   QStringLiteral("cliente_fpagos_csv.ico"), abajo);
    auto* listados = new QVBoxLayout;
    listados->addStretch();
    listados->addWidget(btnListadoClientes);
    listados->addWidget(btnListadoClientesFPagos);

    auto* fila = new QHBoxLayout(abajo);
    fila->setContentsMargins(0, 0, 0, 0);
    fila->addWidget(pagos, 8);
    fila->addSpacing(8);
    fila->addLayout(listados);
    return abajo;
}

// The client's boxes and their buttons, the client list, then the payment half left to right.
void frmClientes::ordenarTabulacion() {
    QWidget* const orden[] = {txtNombre,
                              txtApe1,
                              txtApe2,
                              txtPlaca,
                              txtIdentificacion,
                              txtNotas,
                              chkClienteActivo,
                              chkAutoCamposCliente,
                              btnAgregar,
                              btnBuscarCliente,
                              btnModificar,
                              btnListadoCompleto,
                              btnEliminar,
                              btnVaciarFormulario,
                              ListView1,
                              pagos->ListView2,
                              pagos->calFechaInicio,
                              pagos->calFechaFin,
                              pagos->txtCantidadPago,
                              pagos->txtRecibo,
                              pagos->btnAgregarFechaPago,
                              pagos->btnEliminarFechaPago,
                              pagos->ListView3,
                              pagos->calFechaPago,
                              pagos->txtEfectuarPago,
                              pagos->btnEfectuarPago,
                              pagos->btnEliminarPago,
                              btnListadoClientes,
                              btnListadoClientesFPagos};
    for (size_t i = 1; i < std::size(orden); ++i)
        setTabOrder(orden[i - 1], orden[i]);
}

void frmClientes::conectarSenales() {
    const std::pair<QPushButton*, void (frmClientes::*)()> botones[] = {
        {btnListadoCompleto, &frmClientes::btnListadoCompletoClicked},
        {btnBuscarCliente, &frmClientes::btnBuscarClienteClicked},
        {btnAgregar, &frmClientes::btnAgregarClicked},
        {btnModificar, &frmClientes::btnModificarClicked},
        {btnEliminar, &frmClientes::btnEliminarClicked},
        {btnVaciarFormulario, &frmClientes::btnVaciarFormularioClicked},
        {btnListadoClientes, &frmClientes::btnListadoClientesClicked},
        {btnListadoClientesFPagos, &frmClientes::btnListadoClientesFPagosClicked}};
    for (const auto& [boton, manejador] : botones)
        Conectar(boton, &QPushButton::clicked, this, manejador);
    // Enter in a box does what its part of the form is for.
    for (QLineEdit* caja : {txtNombre, txtApe1, txtApe2, txtPlaca, txtIdentificacion, txtNotas})
        Conectar(caja, &QLineEdit::returnPressed, this, &frmClientes::btnBuscarClienteClicked);
    EleccionLista::Conectar(ListView1, this, &frmClientes::ListView1ItemClicked);
    pagos->mostrarCliente = [this](int64_t idCliente) { mostrarCliente(idCliente); };
    pagos->noEncontrado = [this](const QString& origen) { avisarNoEncontrado(origen); };
    Conectar(chkClienteActivo, &QCheckBox::clicked, this, &frmClientes::chkClienteActivoClicked);
    Conectar(lblClienteActivo, &EtiquetaPulsable::pulsada, this,
             &frmClientes::lblClienteActivoClicked);
    Conectar(Label13, &EtiquetaPulsable::pulsada, this, &frmClientes::Label13Clicked);
    txtPlaca->installEventFilter(this);
}

bool frmClientes::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == txtPlaca && evento->type() == QEvent::FocusOut)
        txtPlaca->setText(txtPlaca->text().toUpper());
    return VentanaHija::eventFilter(objeto, evento);
}

void frmClientes::cargar() {
    const bool nivel1 = static_cast<int>(ValorNumerico(SesionActual.NivelAcceso)) == 1;
    for (QPushButton* boton : {btnEliminar, pagos->btnEliminarFechaPago, pagos->btnEliminarPago})
        boton->setVisible(nivel1);
    btnVaciarFormularioClicked();
    btnListadoCompletoClicked();
}

void frmClientes::btnVaciarFormularioClicked() {
    for (QLineEdit* caja : {txtNombre, txtApe1, txtApe2, txtPlaca, txtIdentificacion, txtNotas})
        caja->clear();
    pagos->restablecer();
}

void frmClientes::btnBuscarClienteClicked() {
    ModoBusquedaClientes = true;
    btnListadoCompletoClicked();
}

DatosCliente frmClientes::datosFormulario() const {
    return {txtNombre->text(), txtApe1->text(),           txtApe2->text(),
            txtPlaca->text(),  txtIdentificacion->text(), txtNotas->text()};
}

void frmClientes::btnListadoCompletoClicked() {
    const ConsultaLista consulta =
        ModoBusquedaClientes ? ConsultaBusqueda(datosFormulario(), chkClienteActivo->isChecked())
                             : ConsultaClientes();
    ModoBusquedaClientes = false;
    AbrirConexion();
    modelo1_->abrir(consulta);
    const int total = modelo1_->total();
    if (total > 0)
        pagos->llenarPeriodos(modelo1_->texto(0, 0).toLongLong(), OrdenPeriodos::PorInicio);
    else
        pagos->vaciar();
    CerrarConexion();
    // The row shown selected is the client the buttons act on.
    EleccionLista::Seleccionar(ListView1, 0);
    IdClienteSeleccionado = total > 0 ? modelo1_->texto(0, 0).toInt() : 0;
    pagos->seleccionarPrimeras();
    if (chkAutoCamposCliente->isChecked() && total > 0) {
        copiarCliente(0);
        const bool debe = modelo1_->texto(0, CDebe) == QLatin1String("Si");
        if (chkClienteActivo->isChecked() != debe) {
            // The box's own click: a search by the boxes as now filled replaces this listing.
            chkClienteActivo->setChecked(debe);
            chkClienteActivoClicked();
            return;
        }
    }
    setWindowTitle(kTitulo + QStringLiteral(" - %1 clientes listados").arg(total));
}

void frmClientes::mostrarCliente(int64_t idCliente) {
    AbrirConexion();
    modelo1_->abrir(ConsultaCliente(idCliente));
    pagos->llenarPeriodos(idCliente, OrdenPeriodos::PorFin, pagos->IdFechaPagoSeleccionada);
    CerrarConexion();
    IdClienteSeleccionado = modelo1_->total() > 0 ? static_cast<int32_t>(idCliente) : 0;
    EleccionLista::Seleccionar(ListView1, 0);
    pagos->seleccionarPrimeras();
    setWindowTitle(kTitulo + QStringLiteral(" - %1 clientes listados").arg(modelo1_->total()));
}

// Every box, so none keeps another client's value.
void frmClientes::copiarCliente(int fila) {
    txtNombre->setText(modelo1_->texto(fila, CNombre));
    txtApe1->setText(modelo1_->texto(fila, CApe1));
    txtApe2->setText(modelo1_->texto(fila, CApe2));
    txtPlaca->setText(modelo1_->texto(fila, CPlaca));
    txtIdentificacion->setText(modelo1_->texto(fila, CIdentificacion));
    txtNotas->setText(modelo1_->texto(fila, CNotas));
}

// The client just added is the one picked, as if clicked, to take its first period.
void frmClientes::elegirPorPlaca(const QString& placa) {
    for (int fila = 0; fila < modelo1_->rowCount(); ++fila) {
        if (modelo1_->texto(fila, CPlaca) == placa) {
            EleccionLista::Seleccionar(ListView1, fila);
            return ListView1ItemClicked(modelo1_->index(fila, 0));
        }
    }
}

void frmClientes::ListView1ItemClicked(const QModelIndex& indice) {
    if (!indice.isValid())
        return;
    IdClienteSeleccionado = modelo1_->texto(indice.row(), 0).toInt();
    pagos->IdFechaPagoSeleccionada = 0;
    pagos->IdPagoSeleccionado = 0;
    AbrirConexion();
    pagos->llenarPeriodos(IdClienteSeleccionado, OrdenPeriodos::PorFin);
    CerrarConexion();
    pagos->seleccionarPrimeras();
    if (chkAutoCamposCliente->isChecked())
        copiarCliente(indice.row());
    ListView1->setFocus();
}

// The box lists the clients who owe when checked, so its caption says so.
void frmClientes::chkClienteActivoClicked() {
    lblClienteActivo->setText(chkClienteActivo->isChecked() ? kConPendiente : kSinPendiente);
    pagos->IdFechaPagoSeleccionada = 0;
    btnBuscarClienteClicked();
}

void frmClientes::lblClienteActivoClicked() {
    chkClienteActivo->toggle();
    chkClienteActivoClicked();
}

void frmClientes::Label13Clicked() {
    chkAutoCamposCliente->toggle();
}

void frmClientes::avisar(const QString& texto, QWidget* foco) {
    Informar(texto);
    foco->setFocus();
}

void frmClientes::registrarYAvisar(const QString& suceso, const QString& texto, QWidget* foco) {
    Registrar(suceso);
    avisar(texto, foco);
}

void frmClientes::avisarNoEncontrado(const QString& origen) {
    Registrar(QStringLiteral("Clientes, ") + origen + QStringLiteral(", Mensaje: ") +
              kNoEncontrado);
    Informar(kNoEncontrado);
    IdClienteSeleccionado = 0;
    pagos->IdFechaPagoSeleccionada = 0;
    pagos->IdPagoSeleccionado = 0;
    btnBuscarClienteClicked();
}

bool frmClientes::validarCliente() {
    const std::pair<QLineEdit*, const char*> obligatorios[] = {
        {txtNombre, "Debe indicar el Nombre"},
        {txtApe1, "Debe indicar el Primer Apellido"},
        {txtPlaca, "Debe indicar la Placa"}};
    for (const auto& [caja, mensaje] : obligatorios)
        if (CajaVacia(caja)) {
            avisar(QString::fromUtf8(mensaje), caja);
            return false;
        }
    txtPlaca->setText(NormalizarPlaca(txtPlaca->text()));
    return true;
}

void frmClientes::btnAgregarClicked() {
    if (!validarCliente())
        return;
    const Cambio<> cambio = GrabarCliente(datosFormulario());
    if (cambio.resultado == Resultado::PlacaRepetida) {
        registrarYAvisar(QStringLiteral("Clientes, botón Agregar Cliente:, Mensaje: La placa ya "
                                        "está asignada a un cliente"),
                         QStringLiteral("La placa ya está asignada a un cliente"), txtPlaca);
        return;
    }
    btnListadoCompletoClicked();
    elegirPorPlaca(NormalizarPlaca(txtPlaca->text()));
    Registrar(QStringLiteral("Cliente agregado correctamente: "), {cambio.sentencias.first()});
    avisar(QStringLiteral("Cliente agregado correctamente"), txtNombre);
}

void frmClientes::btnModificarClicked() {
    if (IdClienteSeleccionado == 0) {
        avisar(QStringLiteral("Debe seleccionar un Cliente"), txtNombre);
        return;
    }
    if (!validarCliente())
        return;
    const QString sucesoRepetida =
        QStringLiteral("Clientes, botón Modificar, Mensaje: Ya existe un Cliente con la placa "
                       "asignada");
    const QString repetida = QStringLiteral("Ya existe un Cliente con la placa asignada");
    if (PlacaDeOtroCliente(txtPlaca->text(), IdClienteSeleccionado)) {
        Registrar(sucesoRepetida);
        Informar(repetida, QStringLiteral("Placa existente"));
        txtPlaca->setFocus();
        return;
    }
    if (!PreguntarSiNo(QStringLiteral("¿Desea modificar el cliente seleccionado?"),
                       QStringLiteral("Modificar Cliente")))
        return;
    const Cambio<> cambio = ModificarCliente(IdClienteSeleccionado, datosFormulario());
    if (cambio.resultado == Resultado::PlacaRepetida) {
        Registrar(sucesoRepetida);
        Informar(repetida, QStringLiteral("Placa existente"));
        txtPlaca->setFocus();
        return;
    }
    if (cambio.resultado == Resultado::NoEncontrado) {
        avisarNoEncontrado(QStringLiteral("botón Modificar"));
        return;
    }
    Registrar(QStringLiteral("Cliente modificado correctamente: "), {cambio.sentencias.first()});
    IdClienteSeleccionado = 0;
    btnListadoCompletoClicked();
    avisar(QStringLiteral("Cliente modificado correctamente"), txtNombre);
}

void frmClientes::btnEliminarClicked() {
    if (IdClienteSeleccionado == 0) {
        avisar(QStringLiteral("Debe seleccionar un cliente"), txtNombre);
        return;
    }
    if (Servicios().dialogos->mensaje(
            QStringLiteral("¿Desea eliminar el cliente seleccionado?") + kCrLf +
                QStringLiteral("Se eliminarán todos los pagos relacionados"),
            QStringLiteral("Eliminar Cliente"), Icono::Informacion, Boton::Si | Boton::No,
            Boton::No) != Boton::Si)
        return;
    const Cambio<> cambio = EliminarCliente(IdClienteSeleccionado);
    if (cambio.resultado == Resultado::NoEncontrado) {
        avisarNoEncontrado(QStringLiteral("botón Eliminar Cliente"));
        return;
    }
    btnListadoCompletoClicked();
    Registrar(QStringLiteral("Cliente y pagos relacionados eliminados correctamente: "),
              {cambio.sentencias.first()});
    Informar(QStringLiteral("Cliente y pagos relacionados eliminados correctamente"));
    IdClienteSeleccionado = 0;
    txtNombre->setFocus();
}

// The client list on screen stays empty until the next listing.
void frmClientes::btnListadoClientesClicked() {
    const QStringList lineas = LineasListadoClientes();
    modelo1_->vaciar();
    GenerarListado(kArchivoListadoClientes, lineas, kSucesoListadoClientes);
}

void frmClientes::btnListadoClientesFPagosClicked() {
    GenerarListado(kArchivoListadoClientesFechasPago, LineasListadoClientesFechasPago(),
                   kSucesoListadoClientesFechasPago);
}
