#include "clientes/frmClientes.h"

#include "clientes/clientes.h"
#include "clientes/listadosclientes.h"
#include "clientes/modeloclientes.h"
#include "clientes/periodos.h"
#include "movimientos/vehiculos.h"
#include "principal/conexion.h"
#include "principal/controles.h"
#include "principal/etiquetapulsable.h"
#include "principal/formatos.h"
#include "principal/manejadores.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const QString kTitulo = QStringLiteral("Gestión de Clientes");
const QString kCrLf = QStringLiteral("\r\n");
const QString kConPendiente = QStringLiteral("Clientes con pago pendiente");
const QString kSinPendiente = QStringLiteral("Clientes sin pago pendiente");
const QString kNoEncontrado = QStringLiteral("El registro seleccionado ya no existe; pudo haber "
                                             "sido eliminado desde otro punto de control");

// Columns of the three lists; a width of 0 hides the column.
const std::pair<const char*, int> kColumnasClientes[] = {
    {"ID Cliente", 0},         {"ID Cliente", 0},          {"Nombre", 2000},
    {"Primer Apellido", 2000}, {"Segundo Apellido", 2000}, {"Placa", 1700},
    {"Debe Pago", 1700},       {"Identificacion", 1700},   {"Notas", 2000}};
const std::pair<const char*, int> kColumnasPeriodos[] = {
    {"ID Fecha Pago", 0}, {"ID Fecha Pago", 0},     {"ID Cliente", 0}, {"Fecha Inicio", 1700},
    {"Fecha Fin", 1700},  {"Cantidad Total", 1700}, {"Pagado", 1000},  {"N.Recibo", 1100}};
const std::pair<const char*, int> kColumnasPagos[] = {{"ID Pago", 0},
                                                      {"ID Pago", 0},
                                                      {"ID Fecha Pago", 0},
                                                      {"Fecha Pago", 1700},
                                                      {"Cantidad Pago", 1700}};

enum ColumnaCliente { CNombre = 2, CApe1, CApe2, CPlaca, CDebe, CIdentificacion, CNotas };

template <size_t N>
QTreeView* nuevaLista(const char* nombre, const std::pair<const char*, int> (&columnas)[N],
                      ModeloClientes*& modelo, QWidget* padre) {
    QStringList titulos;
    for (const auto& columna : columnas)
        titulos << QString::fromUtf8(columna.first);
    modelo = new ModeloClientes(titulos, padre);
    auto* lista = new QTreeView(padre);
    lista->setObjectName(QLatin1String(nombre));
    lista->setRootIsDecorated(false);
    lista->setAllColumnsShowFocus(true);
    lista->setUniformRowHeights(true);
    lista->setSelectionBehavior(QAbstractItemView::SelectRows);
    lista->setModel(modelo);
    for (int c = 0; c < static_cast<int>(N); ++c)
        if (columnas[c].second > 0)
            lista->setColumnWidth(c, columnas[c].second / 15);
        else
            lista->hideColumn(c);
    return lista;
}

QDate hoy() {
    return Servicios().reloj->ahora().date();
}

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
    ListView1 = nuevaLista("ListView1", kColumnasClientes, modelo1_, this);

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

    auto* botones = new QGridLayout;
    QPushButton* const orden[] = {btnAgregar,         btnBuscarCliente, btnModificar,
                                  btnListadoCompleto, btnEliminar,      btnVaciarFormulario};
    for (int i = 0; i < 6; ++i)
        botones->addWidget(orden[i], i / 2, i % 2);

    auto* arriba = new QHBoxLayout;
    arriba->addLayout(datos, 1);
    arriba->addSpacing(12);
    arriba->addLayout(botones);

    auto* todo = new QVBoxLayout(this);
    todo->addLayout(arriba);
    todo->addWidget(ListView1, 1);
    todo->addWidget(construirPeriodos());
    ordenarTabulacion();
    resize(1000, 640);
}

QWidget* frmClientes::construirPeriodos() {
    auto* panel = new QWidget(this);
    ListView2 = nuevaLista("ListView2", kColumnasPeriodos, modelo2_, panel);
    ListView3 = nuevaLista("ListView3", kColumnasPagos, modelo3_, panel);
    for (QTreeView* lista : {ListView2, ListView3})
        lista->setMinimumHeight(110);
    calFechaInicio = NuevoCalendario("calFechaInicio", panel);
    calFechaFin = NuevoCalendario("calFechaFin", panel);
    calFechaPago = NuevoCalendario("calFechaPago", panel);
    txtCantidadPago = NuevaCaja("txtCantidadPago", 10, panel);
    txtRecibo = NuevaCaja("txtRecibo", 9, panel);
    txtEfectuarPago = NuevaCaja("txtEfectuarPago", 10, panel);
    for (QLineEdit* caja : {txtCantidadPago, txtEfectuarPago})
        CajaNumerica(caja);
    btnAgregarFechaPago = NuevoBoton("btnAgregarFechaPago",
                                     QStringLiteral("  Agregar &Fechas de Pago,Cantidad,Recibo"),
                                     QStringLiteral("cliente_agregar_fecha_pago.ico"), panel);
    btnEliminarFechaPago =
        NuevoBoton("btnEliminarFechaPago", QStringLiteral("  Elimi&nar Fecha de Pago"),
                   QStringLiteral("cliente_eliminar_fecha_pago.ico"), panel);
    btnEfectuarPago = NuevoBoton("btnEfectuarPago", QStringLiteral("  Efectuar &Pago"),
                                 QStringLiteral("cliente_efectuar_pago.ico"), panel);
    btnEliminarPago = NuevoBoton("btnEliminarPago", QStringLiteral("  Elimina&r Pago"),
                                 QStringLiteral("cliente_eliminar_pago.ico"), panel);
    btnListadoClientes =
        NuevoBoton("btnListadoClientes", QStringLiteral("  Listado de &Clientes CSV"),
                   QStringLiteral("cliente_listado_csv.ico"), panel);
    // "&Pago" is the payment button's key already.
    btnListadoClientesFPagos =
        NuevoBoton("btnListadoClientesFPagos",
                   QStringLiteral("    Listado de Clientes y\n    Fechas de Pago C&SV"),
                   QStringLiteral("cliente_fpagos_csv.ico"), panel);

    auto rotulo = [panel](const char* texto, QWidget* control) {
        auto* r = new QLabel(QString::fromUtf8(texto), panel);
        r->setBuddy(control);
        return r;
    };
    auto* periodos = new QGridLayout;
    periodos->addWidget(new QLabel(QStringLiteral("Fechas de pago del cliente"), panel), 0, 0, 1,
                        4);
    periodos->addWidget(ListView2, 1, 0, 1, 4);
    periodos->addWidget(rotulo("Fecha Inicio", calFechaInicio), 2, 0);
    periodos->addWidget(calFechaInicio, 2, 1);
    periodos->addWidget(rotulo("Fecha Fin", calFechaFin), 2, 2);
    periodos->addWidget(calFechaFin, 2, 3);
    periodos->addWidget(rotulo("Cantidad", txtCantidadPago), 3, 0);
    periodos->addWidget(txtCantidadPago, 3, 1);
    periodos->addWidget(rotulo("Recibo Nro", txtRecibo), 3, 2);
    periodos->addWidget(txtRecibo, 3, 3);
    periodos->addWidget(btnAgregarFechaPago, 4, 0, 1, 3);
    periodos->addWidget(btnEliminarFechaPago, 4, 3);

    auto* pagos = new QGridLayout;
    pagos->addWidget(new QLabel(QStringLiteral("Pagos realizados"), panel), 0, 0, 1, 2);
    pagos->addWidget(ListView3, 1, 0, 1, 2);
    pagos->addWidget(rotulo("Fecha Pago", calFechaPago), 2, 0);
    pagos->addWidget(calFechaPago, 2, 1);
    pagos->addWidget(rotulo("Pago", txtEfectuarPago), 3, 0);
    pagos->addWidget(txtEfectuarPago, 3, 1);
    pagos->addWidget(btnEfectuarPago, 4, 0);
    pagos->addWidget(btnEliminarPago, 4, 1);

    auto* listados = new QVBoxLayout;
    listados->addStretch();
    listados->addWidget(btnListadoClientes);
    listados->addWidget(btnListadoClientesFPagos);

    auto* fila = new QHBoxLayout(panel);
    fila->setContentsMargins(0, 0, 0, 0);
    fila->addLayout(periodos, 5);
    fila->addSpacing(8);
    fila->addLayout(pagos, 3);
    fila->addSpacing(8);
    fila->addLayout(listados);
    return panel;
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
                              ListView2,
                              calFechaInicio,
                              calFechaFin,
                              txtCantidadPago,
                              txtRecibo,
                              btnAgregarFechaPago,
                              btnEliminarFechaPago,
                              ListView3,
                              calFechaPago,
                              txtEfectuarPago,
                              btnEfectuarPago,
                              btnEliminarPago,
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
        {btnAgregarFechaPago, &frmClientes::btnAgregarFechaPagoClicked},
        {btnEfectuarPago, &frmClientes::btnEfectuarPagoClicked},
        {btnEliminarFechaPago, &frmClientes::btnEliminarFechaPagoClicked},
        {btnEliminarPago, &frmClientes::btnEliminarPagoClicked},
        {btnListadoClientes, &frmClientes::btnListadoClientesClicked},
        {btnListadoClientesFPagos, &frmClientes::btnListadoClientesFPagosClicked}};
    for (const auto& [boton, manejador] : botones)
        Conectar(boton, &QPushButton::clicked, this, manejador);
    // Enter in a box does what its part of the form is for.
    for (QLineEdit* caja : {txtNombre, txtApe1, txtApe2, txtPlaca, txtIdentificacion, txtNotas})
        Conectar(caja, &QLineEdit::returnPressed, this, &frmClientes::btnBuscarClienteClicked);
    for (QLineEdit* caja : {txtCantidadPago, txtRecibo})
        Conectar(caja, &QLineEdit::returnPressed, this, &frmClientes::btnAgregarFechaPagoClicked);
    Conectar(txtEfectuarPago, &QLineEdit::returnPressed, this,
             &frmClientes::btnEfectuarPagoClicked);
    conectarLista(ListView1, &frmClientes::ListView1ItemClicked);
    conectarLista(ListView2, &frmClientes::ListView2ItemClicked);
    conectarLista(ListView3, &frmClientes::ListView3ItemClicked);
    Conectar(chkClienteActivo, &QCheckBox::clicked, this, &frmClientes::chkClienteActivoClicked);
    Conectar(lblClienteActivo, &EtiquetaPulsable::pulsada, this,
             &frmClientes::lblClienteActivoClicked);
    Conectar(Label13, &EtiquetaPulsable::pulsada, this, &frmClientes::Label13Clicked);
    Conectar(txtRecibo, &QLineEdit::textChanged, this, &frmClientes::txtReciboChanged);
    txtPlaca->installEventFilter(this);
}

// A click picks a row; so does moving to it with the keys, but not selecting it from here.
void frmClientes::conectarLista(QTreeView* lista,
                                void (frmClientes::*eleccion)(const QModelIndex&)) {
    Conectar(lista, &QTreeView::clicked, this, eleccion);
    lista->installEventFilter(this);
    lista->viewport()->installEventFilter(this);
    QObject::connect(lista->selectionModel(), &QItemSelectionModel::currentChanged, this,
                     [this, eleccion](const QModelIndex& actual) {
                         if (porTeclado_ && actual.isValid())
                             EjecutarProtegido([&] { (this->*eleccion)(actual); });
                     });
}

bool frmClientes::eventFilter(QObject* objeto, QEvent* evento) {
    const QEvent::Type tipo = evento->type();
    if (objeto == txtPlaca && tipo == QEvent::FocusOut)
        txtPlaca->setText(txtPlaca->text().toUpper());
    else if (tipo == QEvent::KeyPress && qobject_cast<QTreeView*>(objeto))
        porTeclado_ = true;
    else if (tipo == QEvent::MouseButtonPress)
        porTeclado_ = false;
    return VentanaHija::eventFilter(objeto, evento);
}

void frmClientes::cargar() {
    const bool nivel1 = static_cast<int>(ValorNumerico(SesionActual.NivelAcceso)) == 1;
    for (QPushButton* boton : {btnEliminar, btnEliminarFechaPago, btnEliminarPago})
        boton->setVisible(nivel1);
    calFechaPago->setDate(hoy());
    btnVaciarFormularioClicked();
    btnListadoCompletoClicked();
}

void frmClientes::btnVaciarFormularioClicked() {
    for (QLineEdit* caja : {txtNombre, txtApe1, txtApe2, txtPlaca, txtCantidadPago, txtRecibo,
                            txtEfectuarPago, txtIdentificacion, txtNotas})
        caja->clear();
    calFechaInicio->setDate(hoy());
    calFechaFin->setDate(hoy().addDays(30));
    calFechaPago->setDate(hoy());
}

void frmClientes::fechasDeHoy() {
    calFechaInicio->setDate(hoy());
    calFechaFin->setDate(hoy());
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
    const QString sentencia =
        ModoBusquedaClientes ? SentenciaBusqueda(datosFormulario(), chkClienteActivo->isChecked())
                             : SentenciaClientes();
    ModoBusquedaClientes = false;
    AbrirConexion();
    modelo1_->asignar(LeerFilas(sentencia, FilaCliente));
    const int total = modelo1_->rowCount();
    if (total > 0) {
        llenarPeriodos(modelo1_->texto(0, 0).toLongLong(), OrdenPeriodos::PorInicio);
    } else {
        modelo2_->vaciar();
        modelo3_->vaciar();
    }
    CerrarConexion();
    for (QTreeView* lista : {ListView1, ListView2, ListView3})
        seleccionarPrimera(lista);
    if (chkAutoCamposCliente->isChecked() && total > 0) {
        copiarCliente(0, false);
        const bool debe = modelo1_->texto(0, CDebe) == QLatin1String("Si");
        if (chkClienteActivo->isChecked() != debe) {
            // The box's own click: a search by the boxes as now filled replaces this listing.
            chkClienteActivo->setChecked(debe);
            chkClienteActivoClicked();
            return;
        }
    }
    if (modelo2_->rowCount() == 0)
        fechasDeHoy();
    setWindowTitle(kTitulo + QStringLiteral(" - %1 clientes listados").arg(total));
}

void frmClientes::llenarPeriodos(int64_t idCliente, OrdenPeriodos orden) {
    modelo2_->asignar(LeerFilas(SentenciaPeriodos(idCliente, orden), FilaPeriodo));
    if (modelo2_->rowCount() > 0)
        llenarPagos(modelo2_->texto(0, 1).toLongLong());
    else
        modelo3_->vaciar();
}

void frmClientes::llenarPagos(int64_t idFechaPago) {
    modelo3_->asignar(LeerFilas(SentenciaPagos(idFechaPago), FilaPago));
}

void frmClientes::seleccionarPrimera(QTreeView* lista) {
    porTeclado_ = false;
    if (lista->model()->rowCount() > 0)
        lista->selectionModel()->setCurrentIndex(lista->model()->index(0, 1),
                                                 QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
}

// The name, surnames and plate; with `todos`, the identification and notes too.
void frmClientes::copiarCliente(int fila, bool todos) {
    txtNombre->setText(modelo1_->texto(fila, CNombre));
    txtApe1->setText(modelo1_->texto(fila, CApe1));
    txtApe2->setText(modelo1_->texto(fila, CApe2));
    txtPlaca->setText(modelo1_->texto(fila, CPlaca));
    if (!todos)
        return;
    txtIdentificacion->setText(modelo1_->texto(fila, CIdentificacion));
    txtNotas->setText(modelo1_->texto(fila, CNotas));
}

void frmClientes::ListView1ItemClicked(const QModelIndex& indice) {
    if (!indice.isValid())
        return;
    IdClienteSeleccionado = modelo1_->texto(indice.row(), 0).toInt();
    IdFechaPagoSeleccionada = 0;
    IdPagoSeleccionado = 0;
    AbrirConexion();
    llenarPeriodos(IdClienteSeleccionado, OrdenPeriodos::PorFin);
    CerrarConexion();
    seleccionarPrimera(ListView2);
    seleccionarPrimera(ListView3);
    if (chkAutoCamposCliente->isChecked())
        copiarCliente(indice.row(), true);
    if (modelo2_->rowCount() == 0)
        fechasDeHoy();
    ListView1->setFocus();
}

void frmClientes::ListView2ItemClicked(const QModelIndex& indice) {
    if (!indice.isValid())
        return;
    IdFechaPagoSeleccionada = modelo2_->texto(indice.row(), 0).toInt();
    IdPagoSeleccionado = 0;
    AbrirConexion();
    llenarPagos(IdFechaPagoSeleccionada);
    CerrarConexion();
    seleccionarPrimera(ListView3);
    ListView2->setFocus();
}

void frmClientes::ListView3ItemClicked(const QModelIndex& indice) {
    if (indice.isValid())
        IdPagoSeleccionado = modelo3_->texto(indice.row(), 0).toInt();
}

// The box lists the clients who owe when checked, so its caption says so.
void frmClientes::chkClienteActivoClicked() {
    lblClienteActivo->setText(chkClienteActivo->isChecked() ? kConPendiente : kSinPendiente);
    IdFechaPagoSeleccionada = 0;
    btnBuscarClienteClicked();
}

void frmClientes::lblClienteActivoClicked() {
    chkClienteActivo->toggle();
    chkClienteActivoClicked();
}

void frmClientes::Label13Clicked() {
    chkAutoCamposCliente->toggle();
}

void frmClientes::txtReciboChanged() {
    if (!txtRecibo->text().isEmpty() && !EnteroEstricto(txtRecibo->text()))
        txtRecibo->clear();
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
    IdFechaPagoSeleccionada = 0;
    IdPagoSeleccionado = 0;
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
    const Cambio cambio = GrabarCliente(datosFormulario());
    if (cambio.resultado == Resultado::PlacaRepetida) {
        registrarYAvisar(QStringLiteral("Clientes, botón Agregar Cliente:, Mensaje: La placa ya "
                                        "está asignada a un cliente"),
                         QStringLiteral("La placa ya está asignada a un cliente"), txtPlaca);
        return;
    }
    btnListadoCompletoClicked();
    Registrar(QStringLiteral("Cliente agregado correctamente: ") + kCrLf +
              cambio.sentencias.first());
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
    const Cambio cambio = ModificarCliente(IdClienteSeleccionado, datosFormulario());
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
    Registrar(QStringLiteral("Cliente modificado correctamente: ") + kCrLf +
              cambio.sentencias.first());
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
    const Cambio cambio = EliminarCliente(IdClienteSeleccionado);
    if (cambio.resultado == Resultado::NoEncontrado) {
        avisarNoEncontrado(QStringLiteral("botón Eliminar Cliente"));
        return;
    }
    btnListadoCompletoClicked();
    Registrar(QStringLiteral("Cliente y pagos relacionados eliminados correctamente: ") + kCrLf +
              cambio.sentencias.first());
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
