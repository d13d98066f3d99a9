#include "reportes/ui/frmTablero.h"

#include "bd/conexion.h"
#include "principal/listados.h"
#include "principal/manejadores.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"
#include "principal/ui/controles.h"
#include "principal/ui/ventanas.h"
#include "reportes/informetablero.h"
#include "reportes/ui/graficotablero.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <initializer_list>

std::pair<QDate, QDate> DiasDeAtajo(AtajoPeriodo atajo, const QDate& hoy) {
    switch (atajo) {
    case AtajoPeriodo::Ayer:
        return {hoy.addDays(-1), hoy.addDays(-1)};
    case AtajoPeriodo::EstaSemana:
        return {hoy.addDays(1 - hoy.dayOfWeek()), hoy};
    case AtajoPeriodo::EsteMes:
        return {QDate(hoy.year(), hoy.month(), 1), hoy};
    case AtajoPeriodo::EsteAnio:
        break;
    }
    return {QDate(hoy.year(), 1, 1), hoy};
}

frmTablero::frmTablero(QWidget* parent)
    : VentanaHija(QStringLiteral("frmTablero"), QStringLiteral("imprimir.ico"), QString(),
                  QStringLiteral("Cierra la ventana Tablero"), parent) {
    setWindowTitle(QStringLiteral("Tablero"));
    construirControles();
    // One worker for the window's reads: its connection, and the pages it cached, serve the
    // next read too.
    hilo_ = new QThread(this);
    lector_ = new QObject;
    lector_->moveToThread(hilo_);
    connect(hilo_, &QThread::finished, lector_, &QObject::deleteLater);
    hilo_->start();
    demoraProgreso_ = new QTimer(this);
    demoraProgreso_->setSingleShot(true);
    demoraProgreso_->setInterval(300);
    conectar();
    const QDate hoy = Servicios().reloj->ahora().date();
    calDesde->setDate(hoy);
    calHasta->setDate(hoy);
    btnActualizarClicked();
}

frmTablero::~frmTablero() {
    cancelar_ = true;
    hilo_->quit();
    hilo_->wait();
}

void frmTablero::construirControles() {
    calDesde = NuevoCalendario("calDesde", this);
    calHasta = NuevoCalendario("calHasta", this);
    btnAyer = NuevoBoton("btnAyer", QStringLiteral("A&yer"), QString(), this);
    btnEstaSemana = NuevoBoton("btnEstaSemana", QStringLiteral("Esta &semana"), QString(), this);
    btnEsteMes = NuevoBoton("btnEsteMes", QStringLiteral("Este &mes"), QString(), this);
    btnEsteAnio = NuevoBoton("btnEsteAnio", QStringLiteral("Este a&ño"), QString(), this);
    btnActualizar = NuevoBoton("btnActualizar", QStringLiteral("&Actualizar"), QString(), this);
    btnGuardarInforme =
        NuevoBoton("btnGuardarInforme", QStringLiteral("&Guardar informe"), QString(), this);
    auto* arriba = new QHBoxLayout;
    arriba->addWidget(NuevaEtiqueta("lblDesde", QStringLiteral("Desde"), this));
    arriba->addWidget(calDesde);
    arriba->addWidget(NuevaEtiqueta("lblHasta", QStringLiteral("Hasta"), this));
    arriba->addWidget(calHasta);
    for (QPushButton* b :
         {btnAyer, btnEstaSemana, btnEsteMes, btnEsteAnio, btnActualizar, btnGuardarInforme})
        arriba->addWidget(b);
    arriba->addStretch();
    graOcupacion = new GraficoTablero("graOcupacion", this);
    graIngresos = new GraficoTablero("graIngresos", this);
    graEntradasSemana = new GraficoTablero("graEntradasSemana", this);
    graEstancias = new GraficoTablero("graEstancias", this);
    auto* graficos = new QGridLayout;
    graficos->addWidget(graOcupacion, 0, 0);
    graficos->addWidget(graIngresos, 0, 1);
    graficos->addWidget(graEntradasSemana, 1, 0);
    graficos->addWidget(graEstancias, 1, 1);
    auto* centro = new QHBoxLayout;
    centro->addWidget(construirCifras());
    centro->addLayout(graficos, 1);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(arriba);
    todo->addLayout(centro, 1);
    resize(1000, 640);
}

QWidget* frmTablero::construirCifras() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("panelCifras"));
    auto* rejilla = new QGridLayout(panel);
    rejilla->setContentsMargins(0, 0, 8, 0);
    int fila = 0;
    for (const CifraClave& c : CifrasClave(Tablero{})) {
        rejilla->addWidget(new QLabel(c.nombre, panel), fila, 0);
        QLabel* valor =
            NuevaEtiqueta(qPrintable(QStringLiteral("lbl_") + c.clave), QString(), panel);
        valor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        valor->setTextInteractionFlags(Qt::TextSelectableByMouse);
        QFont negrita = valor->font();
        negrita.setBold(true);
        valor->setFont(negrita);
        rejilla->addWidget(valor, fila++, 1);
        lblCifras.insert(c.clave, valor);
    }
    rejilla->setRowStretch(fila, 1);
    return panel;
}

void frmTablero::conectar() {
    Conectar(btnActualizar, &QPushButton::clicked, this, &frmTablero::btnActualizarClicked);
    Conectar(btnGuardarInforme, &QPushButton::clicked, this, &frmTablero::btnGuardarInformeClicked);
    Conectar(demoraProgreso_, &QTimer::timeout, this, &frmTablero::mostrarProgreso);
    const std::pair<QPushButton*, AtajoPeriodo> atajos[] = {
        {btnAyer, AtajoPeriodo::Ayer},
        {btnEstaSemana, AtajoPeriodo::EstaSemana},
        {btnEsteMes, AtajoPeriodo::EsteMes},
        {btnEsteAnio, AtajoPeriodo::EsteAnio}};
    for (const auto& [boton, atajo] : atajos)
        connect(boton, &QPushButton::clicked, this,
                [this, atajo = atajo] { EjecutarProtegido([&] { btnAtajoClicked(atajo); }); });
}

std::optional<PeriodoInforme> frmTablero::periodoElegido() {
    if (calHasta->date() < calDesde->date()) {
        Informar(QStringLiteral("La fecha final no puede ser anterior a la fecha inicial"));
        calHasta->setFocus();
        return std::nullopt;
    }
    return DiasHastaAhora(calDesde->date(), calHasta->date(), Servicios().reloj->ahora());
}

void frmTablero::btnAtajoClicked(AtajoPeriodo atajo) {
    const auto [desde, hasta] = DiasDeAtajo(atajo, Servicios().reloj->ahora().date());
    calDesde->setDate(desde);
    calHasta->setDate(hasta);
    btnActualizarClicked();
}

void frmTablero::btnActualizarClicked() {
    tablero_.reset();
    if (const auto periodo = periodoElegido())
        leer(*periodo, false);
}

// The worker reads while the window keeps answering; the period can only change again once the
// read has ended, so one read runs at a time. The figures shown stay until a read ends.
void frmTablero::leer(const PeriodoInforme& periodo, bool guardar) {
    cancelar_ = false;
    permitirCambios(false);
    demoraProgreso_->start();
    QMetaObject::invokeMethod(lector_, [this, periodo, guardar] {
        std::optional<Tablero> leido;
        std::exception_ptr fallo;
        try {
            leido = LeerTableroPorPasos(periodo, [this](int hechos, int pasos) {
                QMetaObject::invokeMethod(
                    this, [this, hechos, pasos] { alAvanzar(hechos, pasos); },
                    Qt::QueuedConnection);
                return !cancelar_;
            });
        } catch (...) {
            // As a handler's failure does: nothing the handle held outlives it.
            Conexion.descartar();
            fallo = std::current_exception();
        }
        QMetaObject::invokeMethod(
            this, [this, leido, fallo, guardar] { alTerminar(leido, fallo, guardar); },
            Qt::QueuedConnection);
    });
}

// Shown only when the read lasts: a short one never flashes a box.
void frmTablero::mostrarProgreso() {
    progreso_ = new QProgressDialog(QStringLiteral("Calculando las cifras del período..."),
                                    QStringLiteral("Cancelar"), 0, 1, this);
    progreso_->setObjectName(QStringLiteral("prgTablero"));
    progreso_->setWindowTitle(QStringLiteral("Tablero"));
    progreso_->setWindowModality(Qt::WindowModal);
    connect(progreso_, &QProgressDialog::canceled, this, [this] { cancelar_ = true; });
    progreso_->show();
}

// The bar itself is set: a modal dialog's setValue() would run the event loop inside this slot.
void frmTablero::alAvanzar(int hechos, int pasos) {
    if (!progreso_)
        return;
    auto* barra = progreso_->findChild<QProgressBar*>();
    barra->setRange(0, pasos);
    barra->setValue(hechos);
}

void frmTablero::alTerminar(const std::optional<Tablero>& leido, const std::exception_ptr& fallo,
                            bool guardar) {
    demoraProgreso_->stop();
    delete std::exchange(progreso_, nullptr);
    permitirCambios(true);
    EjecutarProtegido([&] {
        if (fallo)
            std::rethrow_exception(fallo);
        if (!leido)
            return MostrarEnBarraEstado(QStringLiteral("Tablero: cálculo cancelado"));
        mostrar(*leido);
        if (guardar)
            guardarInforme();
    });
    emit lecturaTerminada();
}

void frmTablero::permitirCambios(bool permitir) {
    if (!permitir)
        foco_ = isAncestorOf(focusWidget()) ? focusWidget() : calDesde;
    for (QWidget* control :
         std::initializer_list<QWidget*>{calDesde, calHasta, btnAyer, btnEstaSemana, btnEsteMes,
                                         btnEsteAnio, btnActualizar, btnGuardarInforme})
        control->setEnabled(permitir);
    // Disabled controls let the keys go to the main window, whose menu takes this window's keys.
    if (permitir && foco_)
        foco_->setFocus();
}

void frmTablero::mostrar(const Tablero& tablero) {
    tablero_ = tablero;
    for (const CifraClave& c : CifrasClave(tablero))
        lblCifras.value(c.clave)->setText(c.texto);
    const QVector<Grafico> graficos = GraficosTablero(tablero, DatosParqueadero.Cupo);
    GraficoTablero* const destinos[] = {graOcupacion, graIngresos, graEntradasSemana, graEstancias};
    for (int i = 0; i < graficos.size(); ++i)
        destinos[i]->mostrar(graficos[i]);
}

void frmTablero::btnGuardarInformeClicked() {
    const auto periodo = periodoElegido();
    if (!periodo)
        return;
    // The figures shown, unless the days were changed since they were read (a read of today ends
    // at its own moment, so the days are compared, not the instants).
    if (tablero_ && tablero_->periodo.inicio == periodo->inicio &&
        tablero_->periodo.fin.date() == periodo->fin.date())
        return guardarInforme();
    leer(*periodo, true);
}

void frmTablero::guardarInforme() {
    if (const std::optional<QString> nombre = GuardarInformeTablero(*tablero_))
        MostrarEnBarraEstado(QStringLiteral("Informe guardado: ") + RutaListado(*nombre));
}
