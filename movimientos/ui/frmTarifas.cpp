#include "movimientos/ui/frmTarifas.h"

#include "bd/conexion.h"
#include "bd/conversiones.h"
#include "movimientos/ui/editorplanas.h"
#include "movimientos/ui/editortramos.h"
#include "principal/avisos.h"
#include "principal/formatos.h"
#include "principal/manejadores.h"
#include "principal/modelolista.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"
#include "principal/ui/controles.h"
#include "principal/ui/recursos.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeView>

namespace {

const QString kMostrar = QStringLiteral("Mostrar");
const QString kNoMostrar = QStringLiteral("No Mostrar");
const QString kTitulo = QStringLiteral("Gestión de Tarifas");
const QString kNoEncontrada = QStringLiteral("La tarifa seleccionada ya no existe; pudo haber "
                                             "sido eliminada desde otro punto de control");

// The list's columns.
const QStringList kTitulosLista = {
    "ID Tarifa",          "Tarifa", "Tiempo (minutos)", "Descr. Tarifa", "Mostrar en Entradas",
    "Mostrar en Salidas", "Reglas"};

// The rates' list: the stored fields as text, the rate, minutes and description bold, the two
// marks as Mostrar or No Mostrar.
class ModeloTarifas : public ModeloLista {
public:
    explicit ModeloTarifas(QObject* padre) : ModeloLista(kTitulosLista, padre) {}
    QVariant data(const QModelIndex& indice, int rol) const override {
        if (!indice.isValid())
            return QVariant();
        if (rol == Qt::FontRole)
            return NegritaEntre(indice.column(), 1, 3);
        if (rol != Qt::DisplayRole)
            return QVariant();
        static const char* const campos[] = {
            "id_tarifa",         "Tarifa",           "Tiempo",   "DescrTarifa",
            "MostrarEnEntradas", "MostrarEnSalidas", "ConReglas"};
        const Valor& valor = campo(indice.row(), QLatin1String(campos[indice.column()]));
        if (indice.column() == 6)
            return valor.esNulo() ? QString() : QStringLiteral("Con reglas");
        if (indice.column() >= 4)
            return valor.aBandera() ? kMostrar : kNoMostrar;
        return valor.esNulo() ? QString() : valor.aTexto();
    }
};

bool esReservada(const QString& descripcion) {
    return descripcion == QLatin1String("CLIENTE") || descripcion == QLatin1String("EXENTO");
}

const QString kMensajeParcial =
    QStringLiteral("Tarifa modificada parcialmente") + kCrLf + kCrLf +
    QStringLiteral("Se ha realizado su modificación sobre la Tarifa seleccionada,") + kCrLf +
    QStringLiteral("pero automáticamente será mostrada tanto en las Entradas como en las "
                   "Salidas.") +
    kCrLf + kCrLf +
    QStringLiteral("El motivo de esta asignación automática es porque no existían Tarifas "
                   "correctamente asignadas.") +
    kCrLf + kCrLf + QStringLiteral("RECUERDE:") + kCrLf +
    QStringLiteral("SIEMPRE debe existir al menos una Tarifa asignada en la Entrada y una Tarifa "
                   "asignada en la Salida.") +
    kCrLf + QStringLiteral("De no ser así, se ajustará automáticamente.") + kCrLf + kCrLf;

const QString kSucesoParcial =
    QStringLiteral("Tarifa modificada parcialmente. Se modifica todo correctamente, pero se "
                   "indicaron valores incongruentes para Mostrar en Entradas y Mostrar en "
                   "Salidas; debe existir siempre una tarifa para la Entrada y una tarifa para "
                   "la Salida, o se ajustará automáticamente por el software");

const QString kPreguntaEliminar =
    QStringLiteral("RECUERDE: Si elimina una Tarifa, no podrá seleccionar la misma en el "
                   "desplegable de los registros de Entradas y Salidas para consultas por "
                   "Tarifas.") +
    kCrLf + kCrLf +
    QStringLiteral("(***) En su lugar, puede desmarcar ambas casillas de verificación: Mostrar "
                   "en Entradas y Mostrar en Salidas.") +
    kCrLf +
    QStringLiteral("De esta forma conservará la Tarifa para las consultas, pero no será "
                   "mostrada ni en las Entradas ni en las Salidas") +
    kCrLf + kCrLf + QStringLiteral("¿Desea, no obstante, eliminar la tarifa seleccionada?");

QString sucesoReservada(const char* boton) {
    return QStringLiteral("Tarifas, botón %1 Tarifa, Mensaje: Indique una Descripción diferente "
                          "para la Tarifa ---(CLIENTE y EXENTO)---")
        .arg(QLatin1String(boton));
}

// A cap below one unit's price keeps every period under one unit: asked, never assumed.
bool aceptaTopeBajo(int64_t tope, int64_t tarifa) {
    const QString& moneda = DatosParqueadero.SimboloMoneda;
    return Servicios().dialogos->mensaje(
               QStringLiteral("El tope por periodo (%1%2) es menor que el valor de una unidad de "
                              "la tarifa (%1%3): ningún periodo cobrará una unidad completa.")
                       .arg(moneda, FormatoMiles(tope), FormatoMiles(tarifa)) +
                   kCrLf + kCrLf + QStringLiteral("¿Desea guardar la tarifa con este tope?"),
               QStringLiteral("Tope menor que la tarifa"), Icono::Exclamacion,
               Boton::Si | Boton::No, Boton::No) == Boton::Si;
}

// A weekly cap below the cap per period or below one unit's price overrides them: asked too.
bool aceptaTopeSemanalBajo(int64_t semanal, std::optional<int64_t> tope, int64_t tarifa) {
    const bool bajoTope = tope && semanal < *tope;
    if (!bajoTope && semanal >= tarifa)
        return true;
    const QString& moneda = DatosParqueadero.SimboloMoneda;
    const QString texto =
        bajoTope ? QStringLiteral("El tope semanal (%1%2) es menor que el tope por periodo "
                                  "(%1%3): el tope por periodo no llegará a aplicarse.")
                       .arg(moneda, FormatoMiles(semanal), FormatoMiles(*tope))
                 : QStringLiteral("El tope semanal (%1%2) es menor que el valor de una unidad de "
                                  "la tarifa (%1%3): ninguna semana cobrará una unidad completa.")
                       .arg(moneda, FormatoMiles(semanal), FormatoMiles(tarifa));
    return Servicios().dialogos->mensaje(
               texto + kCrLf + kCrLf +
                   QStringLiteral("¿Desea guardar la tarifa con este tope semanal?"),
               QStringLiteral("Tope semanal bajo"), Icono::Exclamacion, Boton::Si | Boton::No,
               Boton::No) == Boton::Si;
}

QString importe(int64_t valor) {
    return DatosParqueadero.SimboloMoneda +
           (valor == 0 ? QStringLiteral("0") : FormatoMiles(valor));
}

// The stay and its charge as the exit's confirmation shows them, with the options used.
QString textoSimulacion(const QDateTime& entrada, const QDateTime& salida,
                        const std::pair<int64_t, int64_t>& precio, const OpcionesCobro& opciones,
                        const Cobro& cobro) {
    const auto siNo = [](bool si) { return si ? QStringLiteral("Sí") : QStringLiteral("No"); };
    QStringList lineas = {
        QStringLiteral("Entrada: ") + FechaHoraTexto(entrada),
        QStringLiteral("Salida: ") + FechaHoraTexto(salida),
        QStringLiteral("<------> TIEMPO TOTAL: ") + TextoEstancia(MinutosEntre(entrada, salida)) +
            QStringLiteral(" <------>"),
        QStringLiteral("Tarifa: %1 cada %2 minutos").arg(importe(precio.first)).arg(precio.second),
        QStringLiteral("Cobro por tiempo completo: %1 - Cobrar primera hora completa: %2")
            .arg(siNo(opciones.cobroCompleto), siNo(opciones.cobroPrimeraHora))};
    lineas << LineasItems(cobro.items, DatosParqueadero.SimboloMoneda)
           << QStringLiteral("Valor a cobrar: ") + importe(cobro.valor);
    return lineas.join(QLatin1Char('\n'));
}

} // namespace

frmTarifas::frmTarifas(QWidget* parent)
    : VentanaHija(QStringLiteral("frmTarifas"), QStringLiteral("tarifas_gestion.ico"),
                  QStringLiteral("fondo5.jpg"), QStringLiteral("Cierra la ventana de Tarifas"),
                  parent) {
    construirControles();
    conectarSenales();
    btnListadoCompletoClicked();
}

void frmTarifas::construirControles() {
    setWindowTitle(kTitulo);
    crearDatos();
    crearReglas();
    modelo_ = new ModeloTarifas(this);
    ListView1 =
        NuevaListaFilas("ListView1", modelo_, {0, 1200, 1500, 3600, 1800, 1800, 1500}, this);
    ListView1->hideColumn(0);
    auto* izquierda = new QVBoxLayout;
    izquierda->addLayout(disponerDatos());
    izquierda->addWidget(crearPestanas());
    auto* arriba = new QHBoxLayout;
    arriba->addLayout(izquierda, 1);
    arriba->addSpacing(16);
    DistribuirGestion(this, arriba, {btnAgregar, btnModificarTarifa, btnEliminarTarifa},
                      btnListadoCompleto, ListView1);
    ordenarTabulacion();
    resize(960, 780);
}

// The rate's own boxes and the buttons.
void frmTarifas::crearDatos() {
    txtTarifa = NuevaCaja("txtTarifa", 10, this);
    txtTiempo = NuevaCaja("txtTiempo", 4, this);
    txtTiempo->setText(QStringLiteral("60"));
    CajaNumerica(txtTarifa);
    CajaNumerica(txtTiempo);
    txtDescrTarifa = NuevaCaja("txtDescrTarifa", 50, this);
    Label3 = NuevaEtiqueta("Label3", QStringLiteral("Valor Tarifa"), this);
    Label1 = NuevaEtiqueta("Label1", QStringLiteral("Tiempo (en minutos)"), this);
    Label2 = NuevaEtiqueta("Label2", QStringLiteral("Descripción Tarifa"), this);
    chkMostrarEnEntradas =
        NuevaCasilla("chkMostrarEnEntradas", QStringLiteral("Mostrar en Entradas"), this);
    chkMostrarEnSalidas =
        NuevaCasilla("chkMostrarEnSalidas", QStringLiteral("Mostrar en Salidas"), this);
    Label4 = NuevaEtiquetaPulsable("Label4", QStringLiteral("Mostrar en Entradas"), nullptr, this);
    Label5 = NuevaEtiquetaPulsable("Label5", QStringLiteral("Mostrar en Salidas"), nullptr, this);
    btnAgregar = NuevoBoton("btnAgregar", QStringLiteral("  &Agregar Tarifa"),
                            QStringLiteral("agregar_tarifa.ico"), this);
    btnModificarTarifa =
        NuevoBoton("btnModificarTarifa", QStringLiteral("  &Modificar Tarifa Seleccionada"),
                   QStringLiteral("modificar_tarifa.ico"), this);
    btnEliminarTarifa =
        NuevoBoton("btnEliminarTarifa", QStringLiteral("  &Eliminar Tarifa Seleccionada"),
                   QStringLiteral("eliminar_tarifa.ico"), this);
    btnListadoCompleto =
        NuevoBoton("btnListadoCompleto", QStringLiteral("Listado Completo"), QString(), this);
}

// The rate's optional rules, each box with its label (Label6 to Label10, Label16 to Label19).
void frmTarifas::crearReglas() {
    const auto regla = [this](const char* nombre, const char* etiqueta, const QString& texto,
                              int largo) {
        QLineEdit* caja = NuevaCaja(nombre, largo, this);
        NuevaEtiqueta(etiqueta, texto, this)->setBuddy(caja);
        return caja;
    };
    txtMinutosGracia = regla("txtMinutosGracia", "Label6", QStringLiteral("Minutos de &gracia"), 4);
    txtMinutosLibres = regla("txtMinutosLibres", "Label16", QStringLiteral("Minutos li&bres"), 4);
    txtCobroMinimo = regla("txtCobroMinimo", "Label7", QStringLiteral("Cobro mí&nimo"), 13);
    txtTopeCobro = regla("txtTopeCobro", "Label8", QStringLiteral("&Tope por periodo"), 13);
    txtTopeSemanal = regla("txtTopeSemanal", "Label17", QStringLiteral("T&ope semanal"), 13);
    txtTicketPerdido = regla("txtTicketPerdido", "Label9", QStringLiteral("Ticket &perdido"), 13);
    txtMinutosBloque =
        regla("txtMinutosBloque", "Label18", QStringLiteral("Pr&imer bloque (minutos)"), 4);
    txtPrecioBloque = regla("txtPrecioBloque", "Label19", QStringLiteral("Precio del bloq&ue"), 13);
    txtFranjas = regla("txtFranjas", "Label10", QStringLiteral("&Franjas"), 400);
    txtFranjas->setPlaceholderText(
        QStringLiteral("Nocturno 20:00-06:00 LMXJVSD fijo 5.000; Diurno 06:00-20:00 LMXJV 2.000"));
    chkTopeDiaCalendario = NuevaCasilla(
        "chkTopeDiaCalendario", QStringLiteral("Por día calendario (si no, por 24 horas)"), this);
    // The tiers and the flats, each a table of its own on a page of its own.
    edtTramos = new EditorTramos(this);
    edtPlanas = new EditorPlanas(this);
}

// The panel that charges a stay by the rate as typed: its two moments, the exit's two options
// (checked as the entries window checks them) and the itemised charge.
QGroupBox* frmTarifas::crearSimulador() {
    fraSimular = new QGroupBox(this);
    fraSimular->setFlat(true);
    fraSimular->setObjectName(QStringLiteral("fraSimular"));
    const QDateTime ahora = Servicios().reloj->ahora();
    const QDateTime minuto(ahora.date(), QTime(ahora.time().hour(), ahora.time().minute()));
    const auto momento = [this](const char* nombre, const QDateTime& valor) {
        auto* caja = new QDateTimeEdit(valor, fraSimular);
        caja->setObjectName(QLatin1String(nombre));
        caja->setDisplayFormat(QStringLiteral("dd/MM/yyyy HH:mm"));
        caja->setCalendarPopup(true);
        return caja;
    };
    dtpEntradaSimulada = momento("dtpEntradaSimulada", minuto.addSecs(-3600));
    dtpSalidaSimulada = momento("dtpSalidaSimulada", minuto);
    chkCobroCompleto =
        NuevaCasilla("chkCobroCompleto", QStringLiteral("Cobro por tiempo completo"), fraSimular);
    chkCobroCompleto->setChecked(true);
    chkCobroPrimeraHora = NuevaCasilla("chkCobroPrimeraHora",
                                       QStringLiteral("Cobrar primera hora completa"), fraSimular);
    btnSimular = NuevoBoton("btnSimular", QStringLiteral("Calc&ular"), QString(), fraSimular);
    txtSimulacion = new QPlainTextEdit(fraSimular);
    txtSimulacion->setObjectName(QStringLiteral("txtSimulacion"));
    txtSimulacion->setReadOnly(true);
    txtSimulacion->setTabChangesFocus(true);
    // As tall as the panel's controls beside it; longer charges scroll.
    txtSimulacion->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    txtSimulacion->setMinimumHeight(170);
    disponerSimulador();
    return fraSimular;
}

void frmTarifas::disponerSimulador() {
    auto* rejilla = new QGridLayout(fraSimular);
    const auto fila = [&](int f, const char* etiqueta, const QString& texto, QWidget* control) {
        auto* label = NuevaEtiqueta(etiqueta, texto, fraSimular);
        label->setBuddy(control);
        rejilla->addWidget(label, f, 0);
        rejilla->addWidget(control, f, 1);
    };
    fila(0, "Label12", QStringLiteral("Ent&rada"), dtpEntradaSimulada);
    fila(1, "Label13", QStringLiteral("Sa&lida"), dtpSalidaSimulada);
    int f = 2;
    for (auto [casilla, etiqueta] :
         {std::pair{chkCobroCompleto, "Label14"}, {chkCobroPrimeraHora, "Label15"}}) {
        auto* linea = new QHBoxLayout;
        linea->addWidget(casilla);
        linea->addWidget(
            NuevaEtiquetaPulsable(etiqueta, casilla->accessibleName(), casilla, fraSimular));
        linea->addStretch();
        rejilla->addLayout(linea, f++, 0, 1, 2);
    }
    rejilla->addWidget(btnSimular, f, 0, 1, 2, Qt::AlignLeft);
    // The controls stay together at the top; the charge takes the height left.
    rejilla->addWidget(txtSimulacion, 0, 2, f + 2, 1);
    rejilla->setRowStretch(f + 1, 1);
    rejilla->setColumnStretch(2, 1);
}

QLayout* frmTarifas::disponerDatos() {
    auto* datos = new QGridLayout;
    datos->addWidget(Label3, 0, 0);
    datos->addWidget(txtTarifa, 0, 1);
    datos->addWidget(Label1, 1, 0);
    datos->addWidget(txtTiempo, 1, 1);
    datos->addWidget(Label2, 2, 0);
    datos->addWidget(txtDescrTarifa, 2, 1, 1, 3);
    auto* casillas = new QHBoxLayout;
    casillas->addWidget(chkMostrarEnEntradas);
    casillas->addWidget(Label4);
    casillas->addSpacing(24);
    casillas->addWidget(chkMostrarEnSalidas);
    casillas->addWidget(Label5);
    casillas->addStretch();
    datos->addLayout(casillas, 3, 1, 1, 3);
    datos->setColumnStretch(3, 1);
    return datos;
}

// The rules, the tiers and the simulator, a page each, so that the list keeps its room below.
QTabWidget* frmTarifas::crearPestanas() {
    tabReglas = new QTabWidget(this);
    tabReglas->setObjectName(QStringLiteral("tabReglas"));
    auto* cobro = new QWidget;
    cobro->setLayout(disponerReglas());
    tabReglas->addTab(cobro, QStringLiteral("Reglas de &cobro"));
    tabReglas->addTab(edtTramos, QStringLiteral("Tramos por &duración"));
    tabReglas->addTab(edtPlanas, QStringLiteral("Tarifas planas por &hora de entrada"));
    tabReglas->addTab(crearSimulador(), QStringLiteral("&Simular estancia"));
    return tabReglas;
}

QLayout* frmTarifas::disponerReglas() {
    auto* datos = new QGridLayout;
    // Each row's boxes with their labels: Label6 "Minutos de gracia" ... Label19 "Precio del
    // bloque".
    const auto caja = [this, datos](int fila, int columna, const char* etiqueta, QLineEdit* caja) {
        datos->addWidget(findChild<QLabel*>(QLatin1String(etiqueta)), fila, columna);
        datos->addWidget(caja, fila, columna + 1, Qt::AlignLeft);
    };
    caja(0, 0, "Label6", txtMinutosGracia);
    caja(0, 2, "Label16", txtMinutosLibres);
    caja(1, 0, "Label7", txtCobroMinimo);
    caja(2, 0, "Label18", txtMinutosBloque);
    caja(2, 2, "Label19", txtPrecioBloque);
    caja(3, 0, "Label8", txtTopeCobro);
    datos->addLayout(disponerTopeDia(), 3, 2, 1, 2);
    caja(4, 0, "Label9", txtTicketPerdido);
    caja(4, 2, "Label17", txtTopeSemanal);
    datos->addWidget(findChild<QLabel*>(QStringLiteral("Label10")), 5, 0);
    datos->addWidget(txtFranjas, 5, 1, 1, 3);
    datos->setRowStretch(6, 1);
    datos->setColumnStretch(3, 1);
    return datos;
}

// The choice of the cap's period, beside the cap's box.
QLayout* frmTarifas::disponerTopeDia() {
    auto* dia = new QHBoxLayout;
    dia->addWidget(chkTopeDiaCalendario);
    dia->addWidget(NuevaEtiquetaPulsable("Label11",
                                         QStringLiteral("Por día calendario (si no, por 24 horas)"),
                                         chkTopeDiaCalendario, this));
    dia->addStretch();
    return dia;
}

// The rules come right after the rate's own boxes, before the buttons; the simulator after them.
void frmTarifas::ordenarTabulacion() {
    QWidget* const orden[] = {chkMostrarEnSalidas, txtMinutosGracia,
                              txtMinutosLibres,    txtCobroMinimo,
                              txtMinutosBloque,    txtPrecioBloque,
                              txtTopeCobro,        chkTopeDiaCalendario,
                              txtTopeSemanal,      txtTicketPerdido,
                              txtFranjas,          btnAgregar,
                              btnModificarTarifa,  btnEliminarTarifa,
                              dtpEntradaSimulada,  dtpSalidaSimulada,
                              chkCobroCompleto,    chkCobroPrimeraHora,
                              btnSimular,          txtSimulacion,
                              btnListadoCompleto,  ListView1};
    for (size_t i = 1; i < std::size(orden); ++i)
        setTabOrder(orden[i - 1], orden[i]);
    // The rules' tables go between the bands and the buttons.
    QWidget* const tablas[] = {txtFranjas,
                               edtTramos->tblTramos,
                               edtTramos->optTramosSigueTarifa,
                               edtTramos->optTramosPorDia,
                               edtTramos->txtValorDiaTramos,
                               edtPlanas->tblPlanas,
                               btnAgregar};
    for (size_t i = 1; i < std::size(tablas); ++i)
        setTabOrder(tablas[i - 1], tablas[i]);
}

void frmTarifas::conectarSenales() {
    Conectar(btnAgregar, &QPushButton::clicked, this, &frmTarifas::btnAgregarClicked);
    Conectar(btnModificarTarifa, &QPushButton::clicked, this,
             &frmTarifas::btnModificarTarifaClicked);
    Conectar(btnEliminarTarifa, &QPushButton::clicked, this, &frmTarifas::btnEliminarTarifaClicked);
    Conectar(btnListadoCompleto, &QPushButton::clicked, this,
             &frmTarifas::btnListadoCompletoClicked);
    Conectar(btnSimular, &QPushButton::clicked, this, &frmTarifas::btnSimularClicked);
    ConectarEleccionFila(ListView1, modelo_, QStringLiteral("id_tarifa"), &IdTarifaSeleccionada,
                         [this](int fila) { mostrarFila(fila); });
    Conectar(Label4, &EtiquetaPulsable::pulsada, this, &frmTarifas::Label4Clicked);
    Conectar(Label5, &EtiquetaPulsable::pulsada, this, &frmTarifas::Label5Clicked);
}

void frmTarifas::btnListadoCompletoClicked() {
    AbrirConexion();
    {
        // Refilling is no selection by the user.
        const QSignalBlocker bloqueo(ListView1->selectionModel());
        modelo_->abrir({QStringLiteral("Tarifas.*, ReglasTarifas.id_tarifa AS ConReglas"),
                        QStringLiteral("Tarifas LEFT JOIN ReglasTarifas ON Tarifas.id_tarifa = "
                                       "ReglasTarifas.id_tarifa"),
                        {},
                        QStringLiteral("DescrTarifa ASC, Tarifa ASC, Tarifas.id_tarifa ASC"),
                        QStringLiteral("Tarifas.id_tarifa")});
    }
    CerrarConexion();
    // The first rate fills the boxes without becoming the selected one.
    if (modelo_->total() > 0)
        mostrarFila(0);
    // The selection went with the old rows: nothing is chosen until a row is selected again.
    IdTarifaSeleccionada = 0;
    setWindowTitle(kTitulo + QStringLiteral(" - %1 tarifas listadas").arg(modelo_->total()));
    txtTarifa->setFocus();
}

void frmTarifas::mostrarFila(int fila) {
    txtTarifa->setText(modelo_->texto(fila, 1));
    txtTiempo->setText(modelo_->texto(fila, 2));
    txtDescrTarifa->setText(modelo_->texto(fila, 3));
    chkMostrarEnEntradas->setChecked(modelo_->texto(fila, 4) == kMostrar);
    chkMostrarEnSalidas->setChecked(modelo_->texto(fila, 5) == kMostrar);
    AbrirConexion();
    const ReglasTarifa leidas =
        LeerReglasTarifa(modelo_->campo(fila, QStringLiteral("id_tarifa")).aEntero());
    CerrarConexion();
    const TextosReglas reglas = TextosDeReglas(leidas);
    edtTramos->mostrar(leidas);
    edtPlanas->mostrar(leidas);
    txtMinutosGracia->setText(reglas.gracia);
    txtMinutosLibres->setText(reglas.libres);
    txtCobroMinimo->setText(reglas.minimo);
    txtTopeCobro->setText(reglas.tope);
    txtTopeSemanal->setText(reglas.topeSemanal);
    txtMinutosBloque->setText(reglas.minutosBloque);
    txtPrecioBloque->setText(reglas.precioBloque);
    txtTicketPerdido->setText(reglas.ticketPerdido);
    txtFranjas->setText(reglas.franjas);
    chkTopeDiaCalendario->setChecked(reglas.topeDiaCalendario);
}

void frmTarifas::Label4Clicked() {
    chkMostrarEnEntradas->toggle();
}

void frmTarifas::Label5Clicked() {
    chkMostrarEnSalidas->toggle();
}

void frmTarifas::avisar(const QString& texto, QWidget* foco) {
    Informar(texto);
    mostrarPaginaDe(foco);
    foco->setFocus();
}

// A refused box on a page out of view brings its page forward.
void frmTarifas::mostrarPaginaDe(QWidget* control) {
    for (int i = 0; i < tabReglas->count(); ++i)
        if (tabReglas->widget(i) == control || tabReglas->widget(i)->isAncestorOf(control))
            tabReglas->setCurrentIndex(i);
}

std::optional<std::pair<int64_t, int64_t>> frmTarifas::leerPrecio() {
    // Both columns hold 32 bits: a larger number is refused, never cut down.
    if (CajaVacia(txtTarifa)) {
        avisar(QStringLiteral("Debe indicar la Tarifa"), txtTarifa);
        return std::nullopt;
    }
    const std::optional<int64_t> tarifa = ImporteEstricto(txtTarifa->text());
    if (!tarifa || !ImporteCabe(*tarifa)) {
        avisar(QStringLiteral("Debe indicar datos numéricos en la Tarifa"), txtTarifa);
        return std::nullopt;
    }
    const std::optional<int64_t> tiempo = EnteroEstricto(txtTiempo->text());
    if (!tiempo || !ImporteCabe(*tiempo)) {
        Registrar(QStringLiteral("Mensaje desde botón Agregar Tarifa: No introdujo un valor "
                                 "correcto: ") +
                  txtTiempo->text());
        avisar(QStringLiteral("Debe indicar el Tiempo (en minutos)"), txtTiempo);
        return std::nullopt;
    }
    if (*tiempo == 0) {
        // A unit of no minutes would charge nothing for any stay.
        const QString texto =
            QStringLiteral("El Tiempo (en minutos) debe ser de al menos 1 minuto");
        Registrar(QStringLiteral("Tarifas, Mensaje: ") + texto);
        avisar(texto, txtTiempo);
        return std::nullopt;
    }
    return std::pair{*tarifa, *tiempo};
}

std::optional<ReglasTarifa> frmTarifas::leerReglas() {
    LecturaReglas reglas = LeerTextosReglas({txtMinutosGracia->text(), txtCobroMinimo->text(),
                                             txtTopeCobro->text(), txtTicketPerdido->text(),
                                             txtFranjas->text(), chkTopeDiaCalendario->isChecked(),
                                             txtMinutosLibres->text(), txtTopeSemanal->text(),
                                             txtMinutosBloque->text(), txtPrecioBloque->text()});
    if (!reglas.error.isEmpty()) {
        QLineEdit* const cajas[] = {
            txtMinutosGracia, txtMinutosGracia, txtCobroMinimo, txtTopeCobro,     txtTicketPerdido,
            txtFranjas,       txtMinutosLibres, txtTopeSemanal, txtMinutosBloque, txtPrecioBloque};
        Registrar(QStringLiteral("Tarifas, Mensaje: ") + reglas.error);
        avisar(reglas.error, cajas[static_cast<int>(reglas.caja)]);
        return std::nullopt;
    }
    const auto rechazar = [this](const QString& error, auto* editor) {
        Registrar(QStringLiteral("Tarifas, Mensaje: ") + error);
        Informar(error);
        mostrarPaginaDe(editor);
        editor->enfocarError();
        return std::nullopt;
    };
    if (const auto error = edtTramos->leer(reglas.reglas))
        return rechazar(*error, edtTramos);
    if (const auto error = edtPlanas->leer(reglas.reglas))
        return rechazar(*error, edtPlanas);
    return reglas.reglas;
}

std::optional<DatosTarifa> frmTarifas::validar(const QString& sucesoDescripcionReservada) {
    const auto precio = leerPrecio();
    if (!precio)
        return std::nullopt;
    const auto [tarifa, tiempo] = *precio;
    const QString descripcion = txtDescrTarifa->text().trimmed().toUpper();
    if (descripcion.isEmpty()) {
        avisar(QStringLiteral("Debe indicar la Descripción de la Tarifa"), txtDescrTarifa);
        return std::nullopt;
    }
    if (esReservada(descripcion)) {
        Registrar(sucesoDescripcionReservada);
        avisar(QStringLiteral("Indique una Descripción diferente para la Tarifa"), txtDescrTarifa);
        return std::nullopt;
    }
    const std::optional<ReglasTarifa> reglas = leerReglas();
    if (!reglas)
        return std::nullopt;
    if (reglas->tope && *reglas->tope < tarifa && !aceptaTopeBajo(*reglas->tope, tarifa)) {
        txtTopeCobro->setFocus();
        return std::nullopt;
    }
    if (reglas->topeSemanal && !aceptaTopeSemanalBajo(*reglas->topeSemanal, reglas->tope, tarifa)) {
        txtTopeSemanal->setFocus();
        return std::nullopt;
    }
    return DatosTarifa{tarifa,
                       tiempo,
                       descripcion,
                       chkMostrarEnEntradas->isChecked(),
                       chkMostrarEnSalidas->isChecked(),
                       *reglas};
}

void frmTarifas::btnAgregarClicked() {
    const std::optional<DatosTarifa> datos = validar(sucesoReservada("Agregar"));
    if (!datos)
        return;
    const Cambio<> cambio = GrabarTarifa(*datos);
    if (!cambio.hecho()) {
        avisar(QStringLiteral("Especifique una Tarifa, Descripción y Tiempo diferentes"),
               txtTarifa);
        return;
    }
    btnListadoCompletoClicked();
    Registrar(QStringLiteral("Tarifa agregada correctamente"), {cambio.sentencias.first()});
    emit Avisos().tarifasCambiadas();
    avisar(QStringLiteral("Tarifa agregada correctamente"), txtTarifa);
}

void frmTarifas::avisarNoEncontrada(const QString& boton) {
    Registrar(QStringLiteral("Tarifas, botón ") + boton + QStringLiteral(" Tarifa, Mensaje: ") +
              kNoEncontrada);
    Informar(kNoEncontrada);
    btnListadoCompletoClicked();
    emit Avisos().tarifasCambiadas();
}

void frmTarifas::btnModificarTarifaClicked() {
    if (IdTarifaSeleccionada == 0) {
        avisar(QStringLiteral("Debe seleccionar una Tarifa"), txtTarifa);
        return;
    }
    const std::optional<DatosTarifa> datos = validar(sucesoReservada("Modificar"));
    if (!datos)
        return;
    if (!PreguntarSiNo(QStringLiteral("¿Desea modificar la tarifa seleccionada?"),
                       QStringLiteral("Modificar Tarifa")))
        return;
    const Cambio<bool> cambio = ModificarTarifa(IdTarifaSeleccionada, *datos);
    if (cambio.resultado == Resultado::NoEncontrado)
        return avisarNoEncontrada(QStringLiteral("Modificar"));
    Registrar(QStringLiteral("Tarifa modificada correctamente"), {cambio.sentencias.first()});
    if (cambio.valor)
        Registrar(kSucesoParcial, {cambio.sentencias.last()});
    btnListadoCompletoClicked();
    emit Avisos().tarifasCambiadas();
    if (cambio.valor)
        Servicios().dialogos->mensaje(kMensajeParcial, TituloAplicacion, Icono::Exclamacion);
    else
        Informar(QStringLiteral("Tarifa modificada correctamente"));
}

void frmTarifas::btnEliminarTarifaClicked() {
    if (IdTarifaSeleccionada == 0) {
        avisar(QStringLiteral("Debe seleccionar una tarifa"), txtTarifa);
        return;
    }
    if (Servicios().dialogos->mensaje(kPreguntaEliminar, QStringLiteral("Eliminar Tarifa"),
                                      Icono::Exclamacion, Boton::Si | Boton::No,
                                      Boton::No) != Boton::Si)
        return;
    const Cambio<> cambio = EliminarTarifa(IdTarifaSeleccionada);
    if (!cambio.hecho())
        return avisarNoEncontrada(QStringLiteral("Eliminar"));
    btnListadoCompletoClicked();
    Registrar(QStringLiteral("Tarifa eliminada correctamente"), {cambio.sentencias.first()});
    emit Avisos().tarifasCambiadas();
    avisar(QStringLiteral("Tarifa eliminada correctamente"), txtTarifa);
}

// Nothing is read from or written to the database: the boxes are the rate.
void frmTarifas::btnSimularClicked() {
    txtSimulacion->clear();
    const auto precio = leerPrecio();
    const std::optional<ReglasTarifa> reglas = precio ? leerReglas() : std::nullopt;
    if (!reglas)
        return;
    const QDateTime entrada = dtpEntradaSimulada->dateTime();
    const QDateTime salida = dtpSalidaSimulada->dateTime();
    if (salida < entrada) {
        const QString texto =
            QStringLiteral("La salida de la estancia simulada no puede ser anterior a su entrada");
        Registrar(QStringLiteral("Tarifas, Mensaje: ") + texto);
        Informar(texto);
        dtpSalidaSimulada->setFocus();
        return;
    }
    const OpcionesCobro opciones{chkCobroCompleto->isChecked(), chkCobroPrimeraHora->isChecked()};
    const Cobro cobro =
        EvaluarCobro(entrada, salida, precio->first, precio->second, opciones, *reglas);
    txtSimulacion->setPlainText(textoSimulacion(entrada, salida, *precio, opciones, cobro));
    Registrar(QStringLiteral("Tarifas, botón Simular: Entrada: ") + FechaHoraTexto(entrada) +
              QStringLiteral(" - Salida: ") + FechaHoraTexto(salida) +
              QStringLiteral(" - Valor a cobrar: ") + importe(cobro.valor));
}
