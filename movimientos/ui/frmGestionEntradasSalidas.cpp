#include "movimientos/ui/frmGestionEntradasSalidas.h"

#include "bd/conexion.h"
#include "bd/recordset.h"
#include "movimientos/cobro.h"
#include "movimientos/codigoticket.h"
#include "movimientos/correcciones.h"
#include "movimientos/modeloentradas.h"
#include "movimientos/pasossalida.h"
#include "movimientos/tarifas.h"
#include "movimientos/tickets.h"
#include "movimientos/ui/delegadotexto.h"
#include "movimientos/ui/validadorplaca.h"
#include "movimientos/vehiculos.h"
#include "principal/avisos.h"
#include "principal/formatos.h"
#include "principal/manejadores.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"
#include "principal/ui/controles.h"
#include "principal/ui/etiquetapulsable.h"
#include "principal/ui/filtroescaneo.h"
#include "principal/ui/recursos.h"
#include "principal/ui/ventanas.h"
#include "turnos/acciones/accionesturno.h"
#include "turnos/turnos.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const QString kCliente = QStringLiteral("CLIENTE");
const QString kExento = QStringLiteral("EXENTO");

// A copies box holds one digit; anything else is no number of copies.
std::optional<uint8_t> copias(const QLineEdit* caja) {
    const auto n = EnteroEstricto(caja->text());
    if (!n || *n > 255)
        return std::nullopt;
    return static_cast<uint8_t>(*n);
}

// A fault still goes on to the handler's wrapper; the log first names the plate it left out.
template <class Grabar> auto anotandoFallo(const QString& movimiento, Grabar grabar) {
    try {
        return grabar();
    } catch (const ErrorBD&) {
        Registrar(QStringLiteral("No se registró la ") + movimiento +
                  QStringLiteral(" del vehículo, Placa: ") + DatosTicket.Placa);
        throw;
    }
}

QString comoEntro(TipoEntrada tipo) {
    switch (tipo) {
    case TipoEntrada::Cliente:
        return QStringLiteral("datos de Cliente");
    case TipoEntrada::Exento:
        return QStringLiteral("datos de Exento");
    case TipoEntrada::Tarifa:
        break;
    }
    return QStringLiteral("tarifa normal");
}

QCheckBox* casilla(const char* nombre, QWidget* padre) {
    auto* c = new QCheckBox(padre);
    c->setObjectName(QLatin1String(nombre));
    return c;
}

// Focus moved by the user, not taken by a popup, a box or another window for a while.
bool focoDelUsuario(const QEvent* evento) {
    const Qt::FocusReason razon = static_cast<const QFocusEvent*>(evento)->reason();
    return razon != Qt::PopupFocusReason && razon != Qt::ActiveWindowFocusReason;
}

bool porTabulador(const QEvent* evento) {
    const Qt::FocusReason razon = static_cast<const QFocusEvent*>(evento)->reason();
    return razon == Qt::TabFocusReason || razon == Qt::BacktabFocusReason;
}

bool esIntro(const QKeyEvent* tecla) {
    return tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
}

} // namespace

frmGestionEntradasSalidas::frmGestionEntradasSalidas(QWidget* parent)
    : VentanaHija(QStringLiteral("frmGestionEntradasSalidas"), QStringLiteral("vialtor.ico"),
                  QStringLiteral("fondo3.jpg"),
                  QStringLiteral("Cierra la ventana de Entradas/Salidas"), parent) {
    setWindowTitle(QStringLiteral("Gestión Entradas Salidas"));
    construirControles();
    Conectar(Timer1, &QTimer::timeout, this, &frmGestionEntradasSalidas::Timer1Timer);
    Conectar(btnEntrada, &QPushButton::clicked, this,
             &frmGestionEntradasSalidas::btnEntradaClicked);
    Conectar(btnSalida, &QPushButton::clicked, this, &frmGestionEntradasSalidas::btnSalidaClicked);
    Conectar(btnTicketPerdido, &QPushButton::clicked, this,
             &frmGestionEntradasSalidas::btnTicketPerdidoClicked);
    Conectar(ListView1, &QTreeView::clicked, this,
             &frmGestionEntradasSalidas::ListView1ItemClicked);
    // Selecting a row with the keys picks the vehicle as a click does.
    Conectar(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
             &frmGestionEntradasSalidas::ListView1SelectionChanged);
    Conectar(ListView1, &QTreeView::doubleClicked, this,
             &frmGestionEntradasSalidas::ListView1DoubleClicked);
    Conectar(ListView1, &QTreeView::customContextMenuRequested, this,
             &frmGestionEntradasSalidas::ListView1RightClicked);
    Conectar(&Avisos(), &AvisosVentanas::tarifasCambiadas, this,
             &frmGestionEntradasSalidas::comTarifaTarifasCambiadas);
    for (QObject* o : {static_cast<QObject*>(txtPlaca), static_cast<QObject*>(comTarifa),
                       static_cast<QObject*>(comTarifa->view()), static_cast<QObject*>(ListView1)})
        o->installEventFilter(this);
    // Last, so a scan's keys are seen before the window's own filters act on them.
    escaner = new FiltroEscaneo(this);
    Conectar(escaner, &FiltroEscaneo::leido, this, &frmGestionEntradasSalidas::codigoLeido);
    cargar();
}

void frmGestionEntradasSalidas::construirControles() {
    const QFont grande = crearDatos();
    crearOpciones();
    crearEstado(grande);
    crearLista();
    auto* arriba = new QHBoxLayout;
    arriba->addLayout(disponerDatos(), 3);
    arriba->addSpacing(20);
    arriba->addLayout(disponerOpciones(), 2);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(arriba);
    todo->addLayout(disponerEstado());
    todo->addWidget(ListView1, 1);
    ordenarTabulacion();
    resize(980, 620);
}

// The clock, the vehicle's boxes, the rate and the copies; answers the clock's large font.
QFont frmGestionEntradasSalidas::crearDatos() {
    lblFechaActual = NuevaEtiqueta("lblFechaActual", QString(), this);
    QFont grande = lblFechaActual->font();
    grande.setPointSize(14);
    grande.setBold(true);
    lblFechaActual->setFont(grande);
    Label1 = NuevaEtiqueta("Label1", QStringLiteral("Fecha/Hora"), this);
    Label2 = NuevaEtiqueta("Label2", QStringLiteral("Placa"), this);
    // Room for ten characters of two halves each; the validator counts characters.
    txtPlaca = NuevaCaja("txtPlaca", 2 * kLargoPlaca, this);
    txtPlaca->setValidator(new ValidadorPlaca(txtPlaca));
    txtPlaca->setFont(grande);
    Label3 = NuevaEtiqueta("Label3", QStringLiteral("Descripción Vehículo"), this);
    txtDescrVeh = NuevaCaja("txtDescrVeh", 50, this);
    Label4 = NuevaEtiqueta("Label4", QStringLiteral("Observaciones"), this);
    txtObservaciones = NuevaCaja("txtObservaciones", 50, this);
    Label5 = NuevaEtiqueta("Label5", QStringLiteral("Tarifa"), this);
    comTarifa = new QComboBox(this);
    comTarifa->setObjectName(QStringLiteral("comTarifa"));
    comTarifa->setMinimumWidth(220);
    Label6 = NuevaEtiqueta("Label6", QStringLiteral("Nro copias Ticket Entrada"), this);
    txtCopiasEntrada = NuevaCaja("txtCopiasEntrada", 1, this);
    Label7 = NuevaEtiqueta("Label7", QStringLiteral("Nro copias Ticket Salida"), this);
    txtCopiasSalida = NuevaCaja("txtCopiasSalida", 1, this);
    for (QLineEdit* c : {txtCopiasEntrada, txtCopiasSalida})
        c->setMaximumWidth(40);
    return grande;
}

// The printing and charging options and the three buttons.
void frmGestionEntradasSalidas::crearOpciones() {
    chkImprimirTicket = casilla("chkImprimirTicket", this);
    Label9 = new EtiquetaPulsable(QStringLiteral("Imprimir Tickets"), chkImprimirTicket, this);
    Label9->setObjectName(QStringLiteral("Label9"));
    chkCobroCompleto = casilla("chkCobroCompleto", this);
    Label10 =
        new EtiquetaPulsable(QStringLiteral("Cobro por tiempo completo"), chkCobroCompleto, this);
    Label10->setObjectName(QStringLiteral("Label10"));
    Label8 = NuevaEtiqueta(
        "Label8", QStringLiteral("* Desmarque la casilla para cobros por fracción de tiempo"),
        this);
    chkCobroPrimeraHora = casilla("chkCobroPrimeraHora", this);
    Label11 = new EtiquetaPulsable(QStringLiteral("Cobrar primera hora completa"),
                                   chkCobroPrimeraHora, this);
    Label11->setObjectName(QStringLiteral("Label11"));
    btnEntrada = new QPushButton(IconoPrograma(QStringLiteral("entradas.ico")),
                                 QStringLiteral("Registrar &Entrada"), this);
    btnEntrada->setObjectName(QStringLiteral("btnEntrada"));
    btnSalida = new QPushButton(IconoPrograma(QStringLiteral("salidas.ico")),
                                QStringLiteral("Registrar &Salida  "), this);
    btnSalida->setObjectName(QStringLiteral("btnSalida"));
    btnTicketPerdido = new QPushButton(QStringLiteral("Ticket &Perdido"), this);
    btnTicketPerdido->setObjectName(QStringLiteral("btnTicketPerdido"));
    for (QPushButton* b : {btnEntrada, btnSalida}) {
        b->setIconSize(QSize(32, 32));
        b->setMinimumHeight(48);
    }
}

// The occupancy and the stay of the vehicle picked, the stay in `grande`.
void frmGestionEntradasSalidas::crearEstado(const QFont& grande) {
    lblCupo = NuevaEtiqueta("lblCupo", QString(), this);
    lblOcupacionActual = NuevaEtiqueta("lblOcupacionActual", QString(), this);
    lblTiempo = NuevaEtiqueta("lblTiempo", QStringLiteral("Tiempo:"), this);
    lblTiempoTranscurrido = NuevaEtiqueta("lblTiempoTranscurrido", QString(), this);
    lblTiempoTranscurrido->setFont(grande);
    // The stay keeps its room while hidden, so the list below never moves under the mouse.
    lblTiempoTranscurrido->setText(TextoEstancia(0));
    lblTiempoTranscurrido->setMinimumHeight(lblTiempoTranscurrido->sizeHint().height());
    lblTiempoTranscurrido->clear();
    for (QLabel* l : {lblTiempo, lblTiempoTranscurrido}) {
        QSizePolicy politica = l->sizePolicy();
        politica.setRetainSizeWhenHidden(true);
        l->setSizePolicy(politica);
        l->hide();
    }
}

// The vehicles inside, and the clock's tick.
void frmGestionEntradasSalidas::crearLista() {
    modelo_ = new ModeloEntradas(DatosParqueadero.NombreDocumentoEntrada, this);
    ListView1 = NuevaListaFilas("ListView1", modelo_,
                                {1500, 2500, 1500, 100, 100, 100, 1000, 1000, 2500}, this);
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    ListView1->setItemDelegate(new DelegadoTexto(ListView1));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
}

QLayout* frmGestionEntradasSalidas::disponerDatos() {
    auto* datos = new QGridLayout;
    int f = 0;
    datos->addWidget(Label1, f, 0);
    datos->addWidget(lblFechaActual, f++, 1, 1, 3);
    // The rate comes right above the plate: a key in the rate list goes on to the plate.
    const std::pair<QLabel*, QWidget*> filas[] = {
        {Label5, comTarifa}, {Label2, txtPlaca}, {Label3, txtDescrVeh}, {Label4, txtObservaciones}};
    for (const auto& [rotulo, control] : filas) {
        datos->addWidget(rotulo, f, 0);
        datos->addWidget(control, f++, 1, 1, 3);
    }
    datos->addWidget(Label6, f, 0);
    datos->addWidget(txtCopiasEntrada, f, 1);
    datos->addWidget(Label7, f, 2);
    datos->addWidget(txtCopiasSalida, f, 3);
    return datos;
}

QLayout* frmGestionEntradasSalidas::disponerOpciones() {
    auto* opciones = new QGridLayout;
    const std::pair<QCheckBox*, QLabel*> marcas[] = {
        {chkImprimirTicket, Label9}, {chkCobroCompleto, Label10}, {chkCobroPrimeraHora, Label11}};
    int o = 0;
    for (const auto& [marca, rotulo] : marcas) {
        opciones->addWidget(marca, o, 0);
        opciones->addWidget(rotulo, o++, 1);
    }
    opciones->addWidget(Label8, o++, 0, 1, 2);
    opciones->setColumnStretch(1, 1);
    opciones->addWidget(btnEntrada, o, 0, 1, 2);
    opciones->addWidget(btnSalida, o + 1, 0, 1, 2);
    opciones->addWidget(btnTicketPerdido, o + 2, 0, 1, 2);
    return opciones;
}

QLayout* frmGestionEntradasSalidas::disponerEstado() {
    auto* estado = new QHBoxLayout;
    for (QWidget* w : {lblCupo, lblOcupacionActual, lblTiempo, lblTiempoTranscurrido})
        estado->addWidget(w);
    estado->addStretch();
    return estado;
}

// Left column top to bottom, then the options column, then the list.
void frmGestionEntradasSalidas::ordenarTabulacion() {
    QWidget* const orden[] = {
        comTarifa,       txtPlaca,          txtDescrVeh,      txtObservaciones,    txtCopiasEntrada,
        txtCopiasSalida, chkImprimirTicket, chkCobroCompleto, chkCobroPrimeraHora, btnEntrada,
        btnSalida,       btnTicketPerdido,  ListView1};
    for (size_t i = 1; i < std::size(orden); ++i)
        setTabOrder(orden[i - 1], orden[i]);
}

void frmGestionEntradasSalidas::cargar() {
    Timer1Timer();
    txtCopiasEntrada->setText(QStringLiteral("1"));
    txtCopiasSalida->setText(QStringLiteral("1"));
    chkImprimirTicket->setChecked(true);
    chkCobroCompleto->setChecked(true);
    chkCobroPrimeraHora->setChecked(false);
    AbrirConexion();
    cargarTarifas();
    lblCupo->setText(QStringLiteral("Cupo máximo: ") + QString::number(DatosParqueadero.Cupo));
    modelo_->rellenar();
    mostrarOcupacion();
    CerrarConexion();
    txtPlaca->setFocus();
    Timer1->start();
}

// Keeps the rate chosen, by its key, when it is still offered.
void frmGestionEntradasSalidas::cargarTarifas() {
    const QVariant elegida = comTarifa->currentData();
    comTarifa->clear();
    for (const TarifaListada& t : TarifasPorDescripcion())
        if (t.enEntradas)
            comTarifa->addItem(t.descripcion, QVariant::fromValue<qint64>(t.id));
    const int indice = elegida.isValid() ? comTarifa->findData(elegida) : -1;
    comTarifa->setCurrentIndex(indice >= 0 ? indice : (comTarifa->count() > 0 ? 0 : -1));
}

void frmGestionEntradasSalidas::comTarifaTarifasCambiadas() {
    AbrirConexion();
    cargarTarifas();
    CerrarConexion();
}

void frmGestionEntradasSalidas::mostrarOcupacion() {
    OcupacionActual = static_cast<int16_t>(modelo_->total());
    lblOcupacionActual->setText(QStringLiteral("Ocupación Actual: ") +
                                QString::number(OcupacionActual));
}

void frmGestionEntradasSalidas::Timer1Timer() {
    const QDateTime ahora = Servicios().reloj->ahora();
    fechaActual_ = ahora.addMSecs(-ahora.time().msec());
    lblFechaActual->setText(FechaHoraTexto(fechaActual_));
}

bool frmGestionEntradasSalidas::eventFilter(QObject* objeto, QEvent* evento) {
    const QEvent::Type tipo = evento->type();
    if (objeto == txtPlaca && tipo == QEvent::FocusOut) {
        // Still typed by the user, not saved: a change of user asks before closing it.
        const bool escrita = txtPlaca->isModified();
        txtPlaca->setText(NormalizarPlaca(txtPlaca->text()));
        txtPlaca->setModified(escrita);
    } else if (objeto == txtPlaca && tipo == QEvent::KeyPress &&
               esIntro(static_cast<QKeyEvent*>(evento))) {
        txtPlaca->setText(NormalizarPlaca(txtPlaca->text()));
        EjecutarProtegido([this] { btnEntradaClicked(); });
        return true;
    } else if (objeto == comTarifa && tipo == QEvent::FocusIn && porTabulador(evento)) {
        QTimer::singleShot(0, comTarifa, &QComboBox::showPopup);
    } else if ((objeto == comTarifa || objeto == comTarifa->view()) && tipo == QEvent::KeyPress) {
        return teclaEnTarifa(evento, objeto != comTarifa);
    } else if (objeto == ListView1 && tipo == QEvent::FocusOut && focoDelUsuario(evento)) {
        ocultarEstancia();
    }
    return VentanaHija::eventFilter(objeto, evento);
}

// A character, Enter or (with the list open) Tab takes the rate highlighted and goes on to the
// plate, Shift+Tab back to the list of vehicles; arrows move through the rates. The character
// is the plate's first, or the next after what the box holds: it is never lost.
bool frmGestionEntradasSalidas::teclaEnTarifa(const QEvent* evento, bool listaAbierta) {
    const auto* tecla = static_cast<const QKeyEvent*>(evento);
    const bool tab = tecla->key() == Qt::Key_Tab || tecla->key() == Qt::Key_Backtab;
    const bool caracter = !tecla->text().isEmpty() && tecla->text().at(0).isPrint();
    if (!esIntro(tecla) && !caracter && !(tab && listaAbierta))
        return false;
    if (listaAbierta) {
        comTarifa->setCurrentIndex(comTarifa->view()->currentIndex().row());
        comTarifa->hidePopup();
    }
    if (tecla->key() == Qt::Key_Backtab) {
        ListView1->setFocus(Qt::BacktabFocusReason);
        return true;
    }
    txtPlaca->setFocus(Qt::TabFocusReason);
    if (caracter) {
        txtPlaca->end(false);
        txtPlaca->insert(tecla->text());
    }
    return true;
}

void frmGestionEntradasSalidas::mostrarEstancia(const QDateTime& entrada, const QDateTime& salida) {
    lblTiempoTranscurrido->setText(TextoEstancia(MinutosEntre(entrada, salida)));
    lblTiempo->show();
    lblTiempoTranscurrido->show();
}

void frmGestionEntradasSalidas::ocultarEstancia() {
    lblTiempo->hide();
    lblTiempoTranscurrido->hide();
}

void frmGestionEntradasSalidas::vaciarCajas() {
    txtPlaca->clear();
    txtDescrVeh->clear();
    txtObservaciones->clear();
    txtPlaca->setFocus();
}

void frmGestionEntradasSalidas::ListView1ItemClicked(const QModelIndex& indice) {
    if (!indice.isValid())
        return;
    const ModeloEntradas::Fila& fila = modelo_->fila(indice.row());
    DatosTicket.FechaSalida = fechaActual_;
    DatosTicket.FechaEntrada = fila[ModeloEntradas::Fecha].aFecha();
    mostrarEstancia(DatosTicket.FechaEntrada, DatosTicket.FechaSalida);
    txtPlaca->setText(fila[ModeloEntradas::Placa].aTexto());
    txtDescrVeh->setText(fila[ModeloEntradas::DescrVeh].aTexto());
    txtObservaciones->setText(fila[ModeloEntradas::Observaciones].aTexto());
    // By key, as two rates may share a description; a client's or exempt vehicle's mark
    // (key 0) or a rate not offered at entries leaves the list as it is.
    const int tarifa =
        comTarifa->findData(QVariant::fromValue<qint64>(fila[ModeloEntradas::IdTarifa].aEntero()));
    if (tarifa >= 0)
        comTarifa->setCurrentIndex(tarifa);
}

void frmGestionEntradasSalidas::ListView1SelectionChanged() {
    const QModelIndexList elegidas = ListView1->selectionModel()->selectedRows();
    if (!elegidas.isEmpty())
        ListView1ItemClicked(elegidas.first());
}

void frmGestionEntradasSalidas::ListView1DoubleClicked(const QModelIndex&) {
    btnSalidaClicked();
}

void frmGestionEntradasSalidas::ListView1RightClicked(const QPoint& posicion) {
    const QModelIndex actual = ListView1->currentIndex();
    if (!actual.isValid() || !ListView1->selectionModel()->isRowSelected(actual.row()))
        return;
    const QString descr = modelo_->fila(actual.row())[ModeloEntradas::DescrTarifa].aTexto();
    if (descr == kCliente || descr == kExento)
        return;
    const int nivel = static_cast<int>(ValorNumerico(SesionActual.NivelAcceso));
    if (nivel != 1 && nivel != 2 && nivel != 5 && nivel != 6)
        return;
    const ModeloEntradas::Fila& fila = modelo_->fila(actual.row());
    QPointer<frmGestionEntradasSalidas> ventana(this);
    const FilaACorregir correccion{fila[ModeloEntradas::Placa].aTexto(),
                                   true,
                                   {fila[ModeloEntradas::Id].aEntero(),
                                    fila[ModeloEntradas::IdTarifa].aTexto(),
                                    {},
                                    [ventana] {
                                        if (ventana)
                                            ventana->reabrir();
                                    }}};
    MostrarMenuCorrecciones(ListView1->viewport()->mapToGlobal(posicion),
                            [correccion] { ModificarDatos(correccion); });
}

// After a correction the window is as when it opens: the corrected row's old plate left in the
// box would be offered again by Enter.
void frmGestionEntradasSalidas::reabrir() {
    ListView1->selectionModel()->clear();
    ocultarEstancia();
    txtPlaca->clear();
    txtDescrVeh->clear();
    txtObservaciones->clear();
    // No rate kept: the first one offered, as on opening.
    comTarifa->setCurrentIndex(-1);
    Timer1->stop();
    cargar();
}

void frmGestionEntradasSalidas::abortar() {
    txtPlaca->setFocus();
}

std::optional<uint8_t> frmGestionEntradasSalidas::validarPlacaYCopias(const QString& aviso,
                                                                      const QString& movimiento,
                                                                      QLineEdit* cajaCopias) {
    const QString desde = QStringLiteral("; se hizo click en Registrar ") + movimiento +
                          QStringLiteral(", desde Entradas/Salidas");
    if (NormalizarPlaca(txtPlaca->text()).isEmpty()) {
        Registrar(aviso + QStringLiteral("Debe indicar la Placa") + desde);
        Informar(QStringLiteral("Debe indicar la Placa"));
        txtPlaca->setFocus();
        return std::nullopt;
    }
    const auto nCopias = copias(cajaCopias);
    if (!nCopias) {
        const QString texto = QStringLiteral("Debe indicar Nro Copias Ticket ") + movimiento;
        Registrar(aviso + texto + desde);
        Informar(texto);
        cajaCopias->setFocus();
        return std::nullopt;
    }
    Registrar(QStringLiteral("Botón Registrar ") + movimiento +
              QStringLiteral(", desde Entradas/Salidas: Placa Inicial (sin corrección de "
                             "mayúsculas): ") +
              txtPlaca->text() + QStringLiteral(" - Tarifa Activa Inicial: ") +
              comTarifa->currentText());
    return nCopias;
}

void frmGestionEntradasSalidas::btnEntradaClicked() {
    const auto nCopias = validarPlacaYCopias(QStringLiteral("Se muestra mensaje - "),
                                             QStringLiteral("Entrada"), txtCopiasEntrada);
    if (!nCopias)
        return;
    DatosTicket.Placa = NormalizarPlaca(txtPlaca->text());
    DatosTicket.CopiasEntrada = *nCopias;
    if (VerificarPlacaDentro(DatosTicket.Placa)) {
        btnSalidaClicked();
        return;
    }
    if (comTarifa->currentIndex() < 0) {
        rechazarEntrada(QStringLiteral("No hay tarifas disponibles para registrar la Entrada"));
        return;
    }
    if (!PreguntarSiNo(PreguntaEntrada(DatosTicket.Placa, comTarifa->currentText()),
                       QStringLiteral("Registrar Entrada")))
        return;
    if (VerificarCupo(DatosParqueadero.Cupo))
        return;
    registrarEntrada(comTarifa->currentData().toLongLong());
}

void frmGestionEntradasSalidas::rechazarEntrada(const QString& aviso) {
    Registrar(QStringLiteral("Se muestra mensaje - ") + aviso +
              QStringLiteral("; se hizo click en Registrar Entrada, desde Entradas/Salidas"));
    Informar(aviso);
    txtPlaca->setFocus();
}

void frmGestionEntradasSalidas::registrarEntrada(int64_t idTarifa) {
    ReiniciarDatosCliente();
    AbrirConexion();
    DatosTicket.FechaEntrada = fechaActual_;
    const Cambio<EntradaGrabada> grabada = anotandoFallo(QStringLiteral("Entrada"), [&] {
        return GrabarEntrada({DatosTicket.FechaEntrada, DatosTicket.Placa, txtDescrVeh->text(),
                              txtObservaciones->text(), idTarifa});
    });
    AbrirConexion();
    if (!grabada.hecho()) {
        // Deleted at another station since the list was loaded.
        cargarTarifas();
        CerrarConexion();
        rechazarEntrada(QStringLiteral("La tarifa seleccionada ya no existe; elija otra tarifa"));
        return;
    }
    Registrar(QStringLiteral("Se registra la Entrada del vehículo con ") +
                  comoEntro(grabada.valor.tipo) + QStringLiteral(" desde Entradas/Salidas"),
              grabada.sentencias);
    DatosTicket.Numero = static_cast<int32_t>(grabada.valor.idEntrada);
    if (grabada.valor.tipo == TipoEntrada::Cliente) {
        LeerUltimoPeriodo(DatosTicket.Placa);
        Informar(MensajeIngresoCliente(), QStringLiteral("INGRESO DE CLIENTE"));
    }
    terminarEntrada(grabada.valor.idEntrada);
}

void frmGestionEntradasSalidas::terminarEntrada(int64_t idEntrada) {
    ListView1->selectionModel()->clear();
    modelo_->agregar(idEntrada);
    mostrarOcupacion();
    Registrar(QStringLiteral("Se actualiza la Ocupación Actual, siendo de: -") +
              QString::number(OcupacionActual) + QStringLiteral("- desde Entradas/Salidas"));
    AvisarCliente(Momento::Entrada, Servicios().reloj->ahora().date());
    vaciarCajas();
    if (chkImprimirTicket->isChecked()) {
        ImprimirTicketEntrada(std::nullopt);
        Registrar(QStringLiteral("Se inicia impresión Ticket de Entrada, con ") +
                  QString::number(DatosTicket.CopiasEntrada) + QStringLiteral(" copia/s"));
        if (DatosTicket.CopiasEntrada > 0)
            AnotarImpresionEntrada(idEntrada, DatosTicket.Placa);
    }
    CerrarConexion();
}

// What one exit decides, step by step, before it is written.
struct DatosSalida {
    QString placa; // as the box gave it: the entry's plate, whatever the ticket's becomes
    std::optional<int64_t> idEntrada; // the entry a scanned ticket names
    EntradaDentro entrada;
    QString tiempoTexto;
    bool ultimaSalidaCliente = false;
    bool ticketPerdido = false;
    int64_t calculado = -1; // before the attendant lowers it
    QVector<ItemCobro> items; // what explains the charge
};

void frmGestionEntradasSalidas::btnSalidaClicked() {
    registrarSalida(false);
}

void frmGestionEntradasSalidas::btnTicketPerdidoClicked() {
    registrarSalida(true);
}

void frmGestionEntradasSalidas::registrarSalida(bool ticketPerdido,
                                                std::optional<int64_t> idEntrada) {
    const auto nCopias = validarPlacaYCopias(QStringLiteral("Mensaje - "), QStringLiteral("Salida"),
                                             txtCopiasSalida);
    if (!nCopias)
        return;
    DatosSalida s;
    s.ticketPerdido = ticketPerdido;
    s.idEntrada = idEntrada;
    s.placa = NormalizarPlaca(txtPlaca->text());
    DatosTicket.Placa = s.placa;
    DatosTicket.CopiasSalida = *nCopias;
    DatosTicket.FechaSalida = fechaActual_;
    ReiniciarDatosCliente();
    DatosTicket.Cobrado = 0;
    if (!leerEntrada(s))
        return;
    if (!AsegurarTurno(kBotonSalida + QStringLiteral(", Placa: ") + s.placa))
        return abortar();
    if (!seguir(CorregirPlacaYTarifa(s.entrada.tarifa)))
        return;
    AbrirConexion();
    if (ContarPeriodosVigentes(s.placa, Servicios().reloj->ahora().date()) > 0) {
        LeerUltimoPeriodo(s.placa);
        s.entrada.tarifa.tarifa = s.entrada.tarifa.tiempo = 0;
        s.entrada.tarifa.descrTarifa = kCliente;
    } else if (!seguir(
                   CobrarEstancia(s.entrada.tarifa,
                                  {chkCobroCompleto->isChecked(), chkCobroPrimeraHora->isChecked()},
                                  s.ticketPerdido, s.items)) ||
               !confirmarSalida(s) ||
               !seguir(FijarValor(s.entrada.tarifa, s.ultimaSalidaCliente, s.items))) {
        return;
    }
    if (s.entrada.tarifa.cliente() && !s.ultimaSalidaCliente) {
        if (!PreguntarSiNo(PreguntaSalidaCliente(),
                           QStringLiteral("CONFIRMAR SALIDA DE CLIENTE"))) {
            CerrarConexion();
            abortar();
            return;
        }
        Registrar(kBotonSalida + QStringLiteral(": Se realiza salida de Cliente, Placa: ") +
                  DatosTicket.Placa);
    }
    grabarSalida(s);
}

void frmGestionEntradasSalidas::codigoLeido(const QString& codigo) {
    const QString desde =
        QStringLiteral("; lectura del código del ticket, desde Entradas/Salidas, Código: ") +
        codigo;
    const auto idEntrada = EntradaDeCodigo(codigo, ClaveTickets());
    const EstadoTicket ticket = idEntrada ? BuscarTicket(*idEntrada) : EstadoTicket{};
    if (idEntrada && ticket.lugar == EstadoTicket::Dentro) {
        Registrar(QStringLiteral("Salida por lectura del código del ticket, desde "
                                 "Entradas/Salidas: Entrada # ") +
                  QString::number(*idEntrada) + QStringLiteral(" - Placa: ") + ticket.placa);
        ListView1->selectionModel()->clear();
        txtPlaca->setText(ticket.placa);
        txtDescrVeh->setText(ticket.descrVeh);
        txtObservaciones->setText(ticket.observaciones);
        registrarSalida(false, idEntrada);
        return;
    }
    if (!idEntrada) {
        Registrar(QStringLiteral("Mensaje: Código de ticket no válido") + desde);
        Informar(QStringLiteral("Código de ticket no válido"));
    } else if (ticket.lugar == EstadoTicket::Salio) {
        const QString texto =
            QStringLiteral("Este ticket ya registró su salida: ") + ticket.numeroSalida;
        Registrar(QStringLiteral("Mensaje: ") + texto + desde);
        Informar(texto);
    } else {
        Registrar(QStringLiteral("Mensaje: Placa no existe; entrada # ") +
                  QString::number(*idEntrada) + desde);
        Informar(QStringLiteral("Placa no existe"), QStringLiteral("Placa no existe"));
    }
    abortar();
}

bool frmGestionEntradasSalidas::leerEntrada(DatosSalida& s) {
    const auto entrada = BuscarEntrada(s.placa, s.idEntrada);
    if (!entrada) {
        Registrar(QStringLiteral("Mensaje: Placa no existe; desde botón Registrar Salida, desde "
                                 "Entradas/Salidas, Placa (sin corregir a mayúsculas "
                                 "automáticamente): ") +
                  txtPlaca->text());
        Informar(QStringLiteral("Placa no existe"), QStringLiteral("Placa no existe"));
        return false;
    }
    s.entrada = *entrada;
    DatosTicket.FechaEntrada = entrada->fechaEntrada;
    DatosTicket.Numero = static_cast<int32_t>(entrada->idEntrada);
    mostrarEstancia(DatosTicket.FechaEntrada, DatosTicket.FechaSalida);
    s.tiempoTexto = lblTiempoTranscurrido->text();
    Registrar(kBotonSalida + QStringLiteral(", Control de Tiempo: ") + s.tiempoTexto +
              QStringLiteral(" --- Placa: ") + DatosTicket.Placa);
    return true;
}

bool frmGestionEntradasSalidas::seguir(Paso paso) {
    if (paso == Paso::Aborta)
        abortar();
    return paso == Paso::Sigue;
}

bool frmGestionEntradasSalidas::confirmarSalida(DatosSalida& s) {
    bool si = true;
    s.calculado = DatosTicket.Cobrado;
    const TarifaVehiculo& t = s.entrada.tarifa;
    if (t.cliente()) {
        Registrar(
            QStringLiteral("Mensaje: Última salida como Cliente. En adelante, se le cobrará "
                           "por tarificación; botón Registrar Salida, desde Entradas/Salidas"));
        si = PreguntarSiNo(PreguntaUltimaSalidaCliente(),
                           QStringLiteral("CONFIRMAR SALIDA DE CLIENTE"));
        s.ultimaSalidaCliente = true;
    } else {
        mostrarEstancia(DatosTicket.FechaEntrada, DatosTicket.FechaSalida);
        s.tiempoTexto = lblTiempoTranscurrido->text();
        if (t.porTarifa()) {
            Registrar(kBotonSalida +
                      QStringLiteral(", Proceso Normal de Cobro por Tarifa; Control de Tiempo: ") +
                      s.tiempoTexto + QStringLiteral(" --- Placa: ") + DatosTicket.Placa);
            const ResumenCobro resumen{s.tiempoTexto, t.descrTarifa, t.tarifa, s.items};
            si =
                PreguntarSiNo(PreguntaSalidaPorTarifa(resumen), QStringLiteral("CONFIRMAR SALIDA"));
            Registrar(SucesoConfirmacionSalida(resumen));
        }
    }
    if (!si) {
        CerrarConexion();
        abortar();
    }
    return si;
}

void frmGestionEntradasSalidas::grabarSalida(DatosSalida& s) {
    DatosTicket.IVA = DatosParqueadero.IVA;
    const Cambio<SalidaGrabada> grabada = anotandoFallo(QStringLiteral("Salida"), [&] {
        return GrabarSalida({s.entrada.idEntrada, DatosTicket.FechaEntrada, DatosTicket.FechaSalida,
                             DatosTicket.Placa, txtDescrVeh->text(), txtObservaciones->text(),
                             s.entrada.tarifa, DatosTicket.Cobrado, s.items, s.ticketPerdido,
                             s.calculado});
    });
    AbrirConexion();
    ListView1->selectionModel()->clear();
    if (!grabada.hecho()) {
        modelo_->rellenar();
        mostrarOcupacion();
        CerrarConexion();
        Registrar(QStringLiteral("Mensaje: La salida ya fue registrada desde otro punto de "
                                 "control; botón Registrar Salida, desde Entradas/Salidas, "
                                 "Placa: ") +
                  DatosTicket.Placa);
        Informar(QStringLiteral("La salida de este vehículo ya fue registrada desde otro punto de "
                                "control; no se registra de nuevo"));
        abortar();
        return;
    }
    DatosTicket.ConsecutivoDia = grabada.valor.consecutivoDia;
    DatosTicket.Numero = static_cast<int32_t>(grabada.valor.idSalida);
    DatosTicket.NDocumento = grabada.valor.nDocumento;
    if (s.ticketPerdido)
        Registrar(kBotonSalida + QStringLiteral(": Salida con ticket perdido, Placa: ") +
                  DatosTicket.Placa + QStringLiteral(" - Valor cobrado: ") +
                  DatosParqueadero.SimboloMoneda + QString::number(DatosTicket.Cobrado));
    modelo_->quitar(s.entrada.idEntrada);
    mostrarOcupacion();
    Registrar(QStringLiteral("Ocupación Actual, botón Salida, desde Entradas/Salidas: ") +
              QString::number(OcupacionActual));
    if (!DatosTicket.Nombre.isEmpty())
        AvisarCliente(Momento::Salida, Servicios().reloj->ahora().date());
    ocultarEstancia();
    if (chkImprimirTicket->isChecked()) {
        ImprimirTicketSalida(s.items, std::nullopt);
        Registrar(QStringLiteral("Se inicia impresión Ticket de Salida, con ") +
                  QString::number(DatosTicket.CopiasSalida) + QStringLiteral(" copia/s"));
    }
    AnotarImpresionSalida(chkImprimirTicket->isChecked() && DatosTicket.CopiasSalida > 0,
                          grabada.valor.idSalida, grabada.valor.nDocumento, DatosTicket.Placa,
                          DatosTicket.Cobrado);
    vaciarCajas();
    CerrarConexion();
}
