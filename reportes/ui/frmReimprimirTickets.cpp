#include "reportes/ui/frmReimprimirTickets.h"

#include "bd/conexion.h"
#include "bd/recordset.h"
#include "movimientos/codigoticket.h"
#include "movimientos/correcciones.h"
#include "movimientos/tarifas.h"
#include "movimientos/tickets.h"
#include "principal/formatos.h"
#include "principal/listados.h"
#include "principal/manejadores.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"
#include "principal/ui/controles.h"
#include "principal/ui/etiquetapulsable.h"
#include "principal/ui/filtroescaneo.h"
#include "principal/ui/ventanas.h"
#include "reportes/busqueda.h"
#include "reportes/cierrecaja.h"
#include "reportes/listadosperiodo.h"
#include "reportes/modelobusqueda.h"
#include "reportes/reimpresion.h"
#include "reportes/resumenventas.h"
#include "turnos/turnos.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QTreeView>
#include <QVBoxLayout>
#include <utility>

namespace {

const QString kVentana = QStringLiteral("Reimprimir Tickets, ");
const QString kSinRegistros = QStringLiteral("No hay registros para listar");
const QString kSeGenera = QStringLiteral(", se genera el archivo: ");

// Twips of the payments panel and its close button, as pixels at 15 twips each.
constexpr int kPanelArriba = 100 / 15, kPanelIzquierda = 200 / 15, kPanelAncho = 15700 / 15,
              kPanelAlto = 6400 / 15, kCerrarArriba = 800 / 15;

bool esIntro(const QKeyEvent* tecla) {
    return tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
}

QTimeEdit* reloj(const char* nombre, QWidget* padre) {
    auto* r = new QTimeEdit(padre);
    r->setObjectName(QLatin1String(nombre));
    r->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return r;
}

QRadioButton* opcion(const char* nombre, const QString& texto, QWidget* padre) {
    auto* o = new QRadioButton(padre);
    o->setObjectName(QLatin1String(nombre));
    o->setAccessibleName(texto);
    return o;
}

} // namespace

frmReimprimirTickets::frmReimprimirTickets(QWidget* parent)
    : VentanaHija(QStringLiteral("frmReimprimirTickets"), QStringLiteral("imprimir.ico"),
                  QStringLiteral("fondo4.jpg"),
                  QStringLiteral("Cierra la ventana de Reimprimir Tickets - Totales Cobrados"),
                  parent) {
    setWindowTitle(QStringLiteral("Reimprimir Tickets - Totales Cobrados"));
    construirControles();
    conectar();
    Conectar(new FiltroEscaneo(this), &FiltroEscaneo::leido, this,
             &frmReimprimirTickets::codigoLeido);
    cargar();
}

void frmReimprimirTickets::construirControles() {
    Label1 = NuevaEtiqueta("Label1", QStringLiteral("Fecha Inicio"), this);
    calFecha = NuevoCalendario("calFecha", this);
    Label2 = NuevaEtiqueta("Label2", QStringLiteral("Hora Inicio"), this);
    calHoraInicio = reloj("calHoraInicio", this);
    Label3 = NuevaEtiqueta("Label3", QStringLiteral("Fecha Fin"), this);
    calFechaFin = NuevoCalendario("calFechaFin", this);
    Label4 = NuevaEtiqueta("Label4", QStringLiteral("Hora Fin"), this);
    calHoraFin = reloj("calHoraFin", this);
    optEntradas = opcion("optEntradas", QStringLiteral("Buscar en Entradas"), this);
    Label7 = NuevaEtiquetaPulsable("Label7", QStringLiteral("Buscar en Entradas"), nullptr, this);
    optSalidas = opcion("optSalidas", QStringLiteral("Buscar en Salidas"), this);
    Label9 = NuevaEtiquetaPulsable("Label9", QStringLiteral("Buscar en Salidas"), nullptr, this);
    optSalidas->setChecked(true);
    Label5 = NuevaEtiqueta("Label5", QStringLiteral("Placa"), this);
    txtPlaca = NuevaCaja("txtPlaca", 10, this);
    chkTarifa = new QCheckBox(this);
    chkTarifa->setObjectName(QStringLiteral("chkTarifa"));
    Label6 = NuevaEtiquetaPulsable(
        "Label6", QStringLiteral("Marcar la casilla para buscar la Tarifa indicada"), chkTarifa,
        this);
    chkTarifa->setAccessibleName(Label6->text());
    comTarifa = new QComboBox(this);
    comTarifa->setObjectName(QStringLiteral("comTarifa"));
    comTarifa->setMinimumWidth(180);
    Label8 = NuevaEtiqueta(
        "Label8", QStringLiteral("* Desmarque la casilla para buscar TODAS las tarifas"), this);
    construirBotones();
    modelo_ = new ModeloBusqueda(this);
    ListView1 = NuevaListaFilas("ListView1", modelo_, {}, this);
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    ListView1->header()->setStretchLastSection(false);
    AnchosColumnas(ListView1,
                   {2300, 2300, 2300, 1500, 100, 100, 0, 0, 0, 1300, 1500, 2000, 500, 3000});
    // Width 0: the rate's key, price and time stay in the model for the correction and the
    // reprint, without taking the room of the charge and the document.
    for (int c : {ModeloBusqueda::IdTarifa, ModeloBusqueda::Tarifa, ModeloBusqueda::Tiempo})
        ListView1->setColumnHidden(c, true);
    // 100 twips: the vehicle's description and remarks are there to be read back, barely shown.
    ListView1->header()->setMinimumSectionSize(100 / 15);
    for (int c : {ModeloBusqueda::DescrVeh, ModeloBusqueda::Observaciones})
        ListView1->setColumnWidth(c, 100 / 15);
    // Today's fonts need more room than the twips give a whole date and time.
    const int anchoFecha =
        ListView1->fontMetrics().horizontalAdvance(QStringLiteral("30/12/2026 12:59:59 pm")) + 16;
    for (int c : {ModeloBusqueda::FechaEntrada, ModeloBusqueda::FechaSalida})
        ListView1->setColumnWidth(c, qMax(ListView1->columnWidth(c), anchoFecha));
    txtListadoPagos = new QPlainTextEdit(this);
    txtListadoPagos->setObjectName(QStringLiteral("txtListadoPagos"));
    txtListadoPagos->setReadOnly(true);
    txtListadoPagos->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtListadoPagos->hide();
    btnCerrarPagos->hide();
    disponerControles();
    ordenarTabulacion();
}

void frmReimprimirTickets::construirBotones() {
    // The panel's button comes first: while it shows, its access key wins.
    btnCerrarPagos = NuevoBoton("btnCerrarPagos", QStringLiteral("&Cerrar"), QString(), this);
    btnBuscar =
        NuevoBoton("btnBuscar", QStringLiteral("&Buscar"), QStringLiteral("buscar.ico"), this);
    btnImprimir =
        NuevoBoton("btnImprimir", QStringLiteral("   &Imprimir registro   \n   seleccionado"),
                   QStringLiteral("imprimir.ico"), this);
    btnResumenVentas =
        NuevoBoton("btnResumenVentas", QStringLiteral("  Imprimir Resumen\n  de &Ventas/Cierre"),
                   QStringLiteral("imprimir.ico"), this);
    btnEfectuarRCierre =
        NuevoBoton("btnEfectuarRCierre", QStringLiteral("  Efectuar &Cierre\n  Reimprimir Cierre"),
                   QStringLiteral("cierre.ico"), this);
    btnImprimirListado = NuevoBoton("btnImprimirListado", QStringLiteral("Listado CSV"),
                                    QStringLiteral("guardar.ico"), this);
    btnListadoClientes =
        NuevoBoton("btnListadoClientes", QStringLiteral("  Listado Registro\n  de C&lientes CSV"),
                   QStringLiteral("cliente_registro_csv.ico"), this);
    btnListadoExentos =
        NuevoBoton("btnListadoExentos", QStringLiteral("  Listado Registro\n  de E&xentos CSV"),
                   QStringLiteral("guardar.ico"), this);
    btnListadoPagos =
        // Alt+C is the closing's: the payments take the P of "Pagos".
        NuevoBoton("btnListadoPagos", QStringLiteral("     Ver &Pagos    \n  de Clientes"),
                   QStringLiteral("cliente_pagos.ico"), this);
    btnTurnosDia = NuevoBoton("btnTurnosDia", QStringLiteral("  Ver Tur&nos\n  del Día"),
                              QStringLiteral("cierre.ico"), this);
}

void frmReimprimirTickets::disponerControles() {
    auto* periodo = new QGridLayout;
    const std::tuple<QLabel*, QWidget*, QLabel*, QWidget*, QWidget*, QLabel*> filas[] = {
        {Label1, calFecha, Label2, calHoraInicio, optEntradas, Label7},
        {Label3, calFechaFin, Label4, calHoraFin, optSalidas, Label9}};
    int f = 0;
    for (const auto& [rFecha, fecha, rHora, hora, opcion, rOpcion] : filas) {
        int c = 0;
        for (QWidget* w :
             {static_cast<QWidget*>(rFecha), fecha, static_cast<QWidget*>(rHora), hora})
            periodo->addWidget(w, f, c++);
        periodo->setColumnMinimumWidth(c++, 16);
        periodo->addWidget(opcion, f, c++);
        periodo->addWidget(rOpcion, f++, c);
    }
    periodo->addWidget(Label5, f, 0);
    periodo->addWidget(txtPlaca, f, 1);
    periodo->addWidget(chkTarifa, f, 5);
    periodo->addWidget(Label6, f++, 6);
    periodo->addWidget(comTarifa, f, 1, 1, 3);
    periodo->addWidget(Label8, f, 4, 1, 3);
    periodo->setColumnStretch(7, 1);

    auto* principales = new QVBoxLayout;
    principales->addWidget(btnBuscar);
    principales->addWidget(btnImprimir);
    auto* arriba = new QHBoxLayout;
    arriba->addLayout(periodo, 1);
    arriba->addLayout(principales);

    auto* informes = new QHBoxLayout;
    for (QPushButton* b : {btnResumenVentas, btnEfectuarRCierre, btnImprimirListado,
                           btnListadoClientes, btnListadoExentos, btnListadoPagos, btnTurnosDia})
        informes->addWidget(b);
    informes->addStretch();
    for (QPushButton* b : findChildren<QPushButton*>())
        b->setMinimumHeight(44);

    auto* todo = new QVBoxLayout(this);
    todo->addLayout(arriba);
    todo->addLayout(informes);
    todo->addWidget(ListView1, 1);
    resize(1000, 580);
}

// Row by row, left to right: the period, what to search, the filters, then the buttons.
void frmReimprimirTickets::ordenarTabulacion() {
    QWidget* const orden[] = {calFecha,           calHoraInicio,      optEntradas,
                              calFechaFin,        calHoraFin,         optSalidas,
                              txtPlaca,           chkTarifa,          comTarifa,
                              btnBuscar,          btnImprimir,        btnResumenVentas,
                              btnEfectuarRCierre, btnImprimirListado, btnListadoClientes,
                              btnListadoExentos,  btnListadoPagos,    btnTurnosDia,
                              ListView1,          txtListadoPagos,    btnCerrarPagos};
    for (size_t i = 1; i < std::size(orden); ++i)
        setTabOrder(orden[i - 1], orden[i]);
}

void frmReimprimirTickets::conectar() {
    Conectar(btnBuscar, &QPushButton::clicked, this, &frmReimprimirTickets::btnBuscarClicked);
    // A release of the mouse over an option, or the space bar on it, searches again.
    for (QRadioButton* o : {optEntradas, optSalidas})
        Conectar(o, &QRadioButton::clicked, this, &frmReimprimirTickets::btnBuscarClicked);
    Conectar(Label7, &EtiquetaPulsable::pulsada, this, &frmReimprimirTickets::Label7Clicked);
    Conectar(Label9, &EtiquetaPulsable::pulsada, this, &frmReimprimirTickets::Label9Clicked);
    Conectar(calFecha, &QDateEdit::dateChanged, this, &frmReimprimirTickets::calFechaChange);
    Conectar(calFechaFin, &QDateEdit::dateChanged, this, &frmReimprimirTickets::calFechaFinChange);
    Conectar(ListView1, &QTreeView::clicked, this, &frmReimprimirTickets::ListView1ItemClicked);
    Conectar(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
             &frmReimprimirTickets::ListView1SelectionChanged);
    Conectar(ListView1, &QTreeView::doubleClicked, this,
             &frmReimprimirTickets::ListView1DoubleClicked);
    Conectar(ListView1, &QTreeView::customContextMenuRequested, this,
             &frmReimprimirTickets::ListView1RightClicked);
    Conectar(btnImprimir, &QPushButton::clicked, this, &frmReimprimirTickets::btnImprimirClicked);
    Conectar(btnResumenVentas, &QPushButton::clicked, this,
             &frmReimprimirTickets::btnResumenVentasClicked);
    Conectar(btnEfectuarRCierre, &QPushButton::clicked, this,
             &frmReimprimirTickets::btnEfectuarRCierreClicked);
    Conectar(btnImprimirListado, &QPushButton::clicked, this,
             &frmReimprimirTickets::btnImprimirListadoClicked);
    Conectar(btnListadoClientes, &QPushButton::clicked, this,
             &frmReimprimirTickets::btnListadoClientesClicked);
    Conectar(btnListadoExentos, &QPushButton::clicked, this,
             &frmReimprimirTickets::btnListadoExentosClicked);
    Conectar(btnListadoPagos, &QPushButton::clicked, this,
             &frmReimprimirTickets::btnListadoPagosClicked);
    Conectar(btnTurnosDia, &QPushButton::clicked, this, &frmReimprimirTickets::btnTurnosDiaClicked);
    Conectar(btnCerrarPagos, &QPushButton::clicked, this,
             &frmReimprimirTickets::btnCerrarPagosClicked);
}

void frmReimprimirTickets::cargar() {
    if (NivelAcceso() == 6) {
        chkTarifa->setEnabled(false);
        comTarifa->setEnabled(false);
        for (QPushButton* b : {btnResumenVentas, btnImprimirListado, btnListadoExentos,
                               btnListadoClientes, btnListadoPagos, btnTurnosDia})
            b->hide();
    }
    const QDate hoy = Servicios().reloj->ahora().date();
    calFecha->setDate(hoy);
    calFechaFin->setDate(hoy);
    calHoraInicio->setTime(QTime(0, 0, 0));
    calHoraFin->setTime(QTime(23, 59, 59));
    AbrirConexion();
    cargarTarifas();
    CerrarConexion();
}

void frmReimprimirTickets::cargarTarifas() {
    for (const TarifaListada& t : TarifasPorDescripcion())
        comTarifa->addItem(t.descripcion);
    comTarifa->addItem(QStringLiteral("CLIENTE"));
    comTarifa->addItem(QStringLiteral("EXENTO"));
    comTarifa->setCurrentIndex(0);
}

PeriodoInforme frmReimprimirTickets::periodoElegido() const {
    return {QDateTime(calFecha->date(), calHoraInicio->time()),
            QDateTime(calFechaFin->date(), calHoraFin->time())};
}

FiltroBusqueda frmReimprimirTickets::filtroElegido() const {
    FiltroBusqueda filtro{periodoElegido(), optSalidas->isChecked(), txtPlaca->text(), {}};
    if (chkTarifa->isChecked())
        filtro.tarifa = comTarifa->currentText();
    return filtro;
}

bool frmReimprimirTickets::guardarFecha(QDateEdit* calendario, const QString& mensaje) {
    const QDate hoy = Servicios().reloj->ahora().date();
    if (FechaPermitida(NivelAcceso(), calendario->date(), hoy))
        return true;
    Informar(mensaje);
    calendario->setDate(hoy);
    return false;
}

bool frmReimprimirTickets::verificarFechasNivel6() {
    const bool inicio = guardarFecha(
        calFecha, QStringLiteral("No puede seleccionar Fecha Inicio diferente a la Fecha Actual"));
    const bool fin = guardarFecha(
        calFechaFin, QStringLiteral("No puede seleccionar Fecha Fin diferente a la Fecha Actual"));
    return inicio && fin;
}

void frmReimprimirTickets::calFechaChange() {
    guardarFecha(calFecha,
                 QStringLiteral("No puede seleccionar Fecha Inicio diferente a la Fecha Actual"));
}

void frmReimprimirTickets::calFechaFinChange() {
    guardarFecha(calFechaFin,
                 QStringLiteral("No puede seleccionar Fecha Fin diferente a la Fecha Actual"));
}

void frmReimprimirTickets::btnBuscarClicked() {
    const FiltroBusqueda filtro = filtroElegido();
    AbrirConexion();
    modelo_->buscar(filtro);
    if (modelo_->rowCount() == 0) {
        CerrarConexion();
        setWindowTitle(TituloListado(0, false, 0));
        Registrar(kVentana + QStringLiteral("Botón Buscar, Mensaje: ") + kSinRegistros);
        Informar(kSinRegistros);
        return;
    }
    const int64_t pagos = filtro.salidas ? TotalPagos(filtro.periodo) : 0;
    CerrarConexion();
    setWindowTitle(TituloBusqueda(modelo_->cantidad(), filtro.salidas, modelo_->cobrado(), pagos));
    Registrar(kVentana + QStringLiteral("Botón Buscar, se realizó una búsqueda"));
}

void frmReimprimirTickets::codigoLeido(const QString& codigo) {
    const auto idEntrada = EntradaDeCodigo(codigo, ClaveTickets());
    const EstadoTicket ticket = idEntrada ? BuscarTicket(*idEntrada) : EstadoTicket{};
    if (ticket.lugar == EstadoTicket::NoEsta) {
        const QString texto =
            idEntrada ? kSinRegistros : QStringLiteral("Código de ticket no válido");
        Registrar(kVentana + QStringLiteral("Lectura del código del ticket, Mensaje: ") + texto +
                  QStringLiteral(", Código: ") + codigo);
        Informar(texto);
        return;
    }
    // The day of the entry, or of its exit, and that plate alone.
    const bool salio = ticket.lugar == EstadoTicket::Salio;
    (salio ? optSalidas : optEntradas)->setChecked(true);
    calFecha->setDate(ticket.fecha.date());
    calFechaFin->setDate(ticket.fecha.date());
    calHoraInicio->setTime(QTime(0, 0, 0));
    calHoraFin->setTime(QTime(23, 59, 59));
    txtPlaca->setText(ticket.placa);
    chkTarifa->setChecked(false);
    btnBuscarClicked();
    const int64_t clave = salio ? ticket.idSalida : *idEntrada;
    for (int i = 0; i < modelo_->rowCount(); ++i)
        if (modelo_->clave(i) == clave)
            ListView1->setCurrentIndex(modelo_->index(i, 0));
}

void frmReimprimirTickets::Label7Clicked() {
    optEntradas->setChecked(true);
    btnBuscarClicked();
}

void frmReimprimirTickets::Label9Clicked() {
    optSalidas->setChecked(true);
    btnBuscarClicked();
}

void frmReimprimirTickets::ListView1ItemClicked(const QModelIndex& indice) {
    if (!indice.isValid())
        return;
    const ModeloBusqueda::Fila fila = modelo_->fila(indice.row());
    DatosTicket.Numero = static_cast<int32_t>(fila[ModeloBusqueda::Consecutivo].aEntero());
    DatosTicket.Placa = fila[ModeloBusqueda::Placa].aTexto();
}

void frmReimprimirTickets::ListView1SelectionChanged() {
    const QModelIndexList elegidas = ListView1->selectionModel()->selectedRows();
    if (!elegidas.isEmpty())
        ListView1ItemClicked(elegidas.first());
}

void frmReimprimirTickets::ListView1DoubleClicked() {
    btnImprimirClicked();
}

void frmReimprimirTickets::ListView1RightClicked(const QPoint& posicion) {
    if (!optSalidas->isChecked() || NivelAcceso() != 1)
        return;
    // The record pointed at is the one to correct.
    const QModelIndex apuntada = ListView1->indexAt(posicion);
    if (apuntada.isValid() && apuntada.row() != ListView1->currentIndex().row())
        ListView1->setCurrentIndex(apuntada);
    FilaACorregir correccion;
    const int fila = ListView1->currentIndex().row();
    if (fila >= 0) {
        const auto mostrado = [&](int columna) {
            return modelo_->index(fila, columna).data().toString();
        };
        QPointer<frmReimprimirTickets> ventana(this);
        correccion = {modelo_->fila(fila)[ModeloBusqueda::Placa].aTexto(),
                      false,
                      {modelo_->clave(fila), mostrado(ModeloBusqueda::IdTarifa),
                       mostrado(ModeloBusqueda::Cobrado), [ventana] {
                           if (ventana)
                               ventana->btnBuscarClicked();
                       }}};
    }
    MostrarMenuCorrecciones(ListView1->viewport()->mapToGlobal(posicion),
                            [correccion] { ModificarDatos(correccion); });
}

void frmReimprimirTickets::btnImprimirClicked() {
    const QModelIndexList elegidas = ListView1->selectionModel()->selectedRows();
    if (elegidas.isEmpty()) {
        Registrar(kVentana + QStringLiteral("Botón Imprimir registro seleccionado, Mensaje: No "
                                            "hay registro seleccionado para imprimir"));
        Informar(QStringLiteral("No hay registro seleccionado para imprimir"));
        return;
    }
    const bool salida = modelo_->salidas();
    AbrirConexion();
    const int fila = elegidas.first().row();
    const QVector<ItemCobro> items =
        PrepararReimpresion(modelo_->fila(fila), salida, modelo_->clave(fila));
    const QString suceso = kVentana +
                           QStringLiteral("Botón Imprimir Registro Seleccionado: Se inicia la "
                                          "reimpresión del Ticket (de %1), Placa: ")
                               .arg(salida ? QStringLiteral("Salida") : QStringLiteral("Entrada")) +
                           DatosTicket.Placa;
    Registrar(suceso);
    AnotarReimpresion(salida, DatosTicket);
    const QDateTime ahora = Servicios().reloj->ahora();
    if (salida)
        ImprimirTicketSalida(items, ahora);
    else
        ImprimirTicketEntrada(ahora);
    DatosTicket.Numero = 0;
    CerrarConexion();
}

void frmReimprimirTickets::btnResumenVentasClicked() {
    if (!ImprimirResumenVentas(periodoElegido()))
        setWindowTitle(TituloListado(0, false, 0));
}

void frmReimprimirTickets::btnEfectuarRCierreClicked() {
    if (!verificarFechasNivel6())
        return;
    if (!EfectuarCierre(periodoElegido(), NombreCajero()))
        setWindowTitle(TituloListado(0, false, 0));
}

void frmReimprimirTickets::btnImprimirListadoClicked() {
    const FiltroBusqueda filtro = filtroElegido();
    AbrirConexion();
    const ListadoPeriodo listado = ListadoGeneral(filtro);
    CerrarConexion();
    setWindowTitle(TituloListado(listado.cantidad, filtro.salidas, listado.total));
    const QString boton = kVentana + QStringLiteral("Botón Listado CSV");
    if (listado.cantidad == 0) {
        Registrar(boton + QStringLiteral(", Mensaje: ") + kSinRegistros);
        Informar(kSinRegistros);
        return;
    }
    if (!GuardarListado(kArchivoListado, listado.lineas))
        return;
    Registrar(boton + kSeGenera + kArchivoListado);
    InformarArchivoGenerado(kArchivoListado);
}

void frmReimprimirTickets::listarRegistro(Registro registro, const QString& archivo,
                                          const QString& boton) {
    AbrirConexion();
    const ListadoPeriodo listado = ListadoRegistro(filtroElegido(), registro);
    CerrarConexion();
    const QString suceso = kVentana + QStringLiteral("Botón ") + boton;
    if (listado.cantidad == 0) {
        Registrar(suceso + QStringLiteral(", Mensaje: ") + kSinRegistros);
        Informar(kSinRegistros);
        return;
    }
    if (!GuardarListado(archivo, listado.lineas))
        return;
    Registrar(suceso + kSeGenera + archivo);
    InformarArchivoGenerado(archivo);
}

void frmReimprimirTickets::btnListadoClientesClicked() {
    listarRegistro(Registro::Clientes, kArchivoRegistroClientes,
                   QStringLiteral("Listado Registro de Clientes CSV"));
}

void frmReimprimirTickets::btnListadoExentosClicked() {
    listarRegistro(Registro::Exentos, kArchivoRegistroExentos,
                   QStringLiteral("Listado Registro de Exentos CSV"));
}

void frmReimprimirTickets::btnListadoPagosClicked() {
    AbrirConexion();
    const ListadoPeriodo listado = ListadoPagos(periodoElegido(), txtPlaca->text());
    CerrarConexion();
    const QString boton = kVentana + QStringLiteral("Botón Ver Pagos de Clientes");
    if (listado.cantidad == 0) {
        Registrar(boton + QStringLiteral(", Mensaje: No hay Pagos para listar"));
        Informar(QStringLiteral("No hay Pagos para listar"));
        return;
    }
    // The panel says the file was made: it opens only once it is.
    if (!GuardarListado(kArchivoPagos, listado.lineas))
        return;
    mostrarPanel(PanelPagos(listado.lineas));
    Registrar(boton + kSeGenera + kArchivoPagos);
}

// The day of calFecha: every cashier's shift with its figures and difference, in a window of
// its own rather than over this one's controls.
void frmReimprimirTickets::btnTurnosDiaClicked() {
    AbrirConexion();
    const QStringList lineas =
        LineasTurnosDelDia(calFecha->date(), SesionActual.NivelAcceso == QLatin1String("1"));
    CerrarConexion();
    Registrar(kVentana + QStringLiteral("Botón Ver Turnos del Día: ") +
              FechaCorta(calFecha->date()));
    Servicios().dialogos->listado(lineas, QStringLiteral("Ver Turnos del Día"));
}

void frmReimprimirTickets::mostrarPanel(const QStringList& lineas) {
    txtListadoPagos->setPlainText(lineas.join(QLatin1Char('\n')));
    colocarPanelPagos();
    if (txtListadoPagos->isHidden())
        cubrirConPanel(true);
    txtListadoPagos->show();
    txtListadoPagos->raise();
    btnCerrarPagos->show();
    btnCerrarPagos->raise();
    txtListadoPagos->setFocus();
}

void frmReimprimirTickets::btnCerrarPagosClicked() {
    txtListadoPagos->hide();
    btnCerrarPagos->hide();
    txtListadoPagos->clear();
    cubrirConPanel(false);
    btnListadoPagos->setFocus();
}

// The controls under the panel are out of reach while it shows: its own access key wins over
// theirs.
void frmReimprimirTickets::cubrirConPanel(bool cubrir) {
    for (QWidget* w : std::exchange(cubiertos_, {}))
        if (w)
            w->setEnabled(true);
    if (!cubrir)
        return;
    for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (w != txtListadoPagos && w != btnCerrarPagos && w->isEnabled() &&
            w->geometry().intersects(txtListadoPagos->geometry())) {
            w->setEnabled(false);
            cubiertos_ << w;
        }
    }
}

// Where the panel's twips put it, narrowed to the window when it is smaller.
void frmReimprimirTickets::colocarPanelPagos() {
    const int ancho = qMin(kPanelAncho, width() - 2 * kPanelIzquierda);
    const int alto = qMin(kPanelAlto, height() - 2 * kPanelArriba);
    txtListadoPagos->setGeometry(kPanelIzquierda, kPanelArriba, ancho, alto);
    btnCerrarPagos->adjustSize();
    btnCerrarPagos->move(kPanelIzquierda + ancho - btnCerrarPagos->width() - 30,
                         kPanelArriba + kCerrarArriba - kPanelArriba);
}

void frmReimprimirTickets::resizeEvent(QResizeEvent* evento) {
    VentanaHija::resizeEvent(evento);
    colocarPanelPagos();
}

// Enter reprints from the list, presses a focused button, and searches from anywhere else.
void frmReimprimirTickets::keyPressEvent(QKeyEvent* evento) {
    QWidget* foco = focusWidget();
    if (!esIntro(evento) || foco == txtListadoPagos) {
        VentanaHija::keyPressEvent(evento);
        return;
    }
    if (foco == ListView1)
        btnImprimir->click();
    else if (auto* boton = qobject_cast<QPushButton*>(foco))
        boton->animateClick();
    else
        btnBuscar->click();
}
