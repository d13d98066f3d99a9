#include "movimientos/frmGestionEntradasSalidas.h"

#include "movimientos/cobro.h"
#include "principal/manejadores.h"
#include "principal/conexion.h"
#include "principal/controles.h"
#include "principal/etiquetapulsable.h"
#include "principal/formatos.h"
#include "principal/recordset.h"
#include "principal/recursos.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sql.h"
#include "principal/sucesos.h"
#include "movimientos/tickets.h"
#include "movimientos/vehiculos.h"
#include "principal/ventanas.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

namespace {

const QString kCrlf = QStringLiteral("\r\n");
const QString kCliente = QStringLiteral("CLIENTE");
const QString kExento = QStringLiteral("EXENTO");

// A copies box holds one digit; anything else is no number of copies.
std::optional<uint8_t> copias(const QLineEdit* caja) {
    const auto n = EnteroEstricto(caja->text());
    if (!n || *n > 255)
        return std::nullopt;
    return static_cast<uint8_t>(*n);
}

// The stay between two times as the window shows them; 0 when either cannot be read.
int64_t minutosEntreTextos(const QString& entrada, const QString& salida) {
    const auto desde = LeerFechaHoraTexto(entrada);
    const auto hasta = LeerFechaHoraTexto(salida);
    return desde && hasta ? MinutosEntre(*desde, *hasta) : 0;
}

QCheckBox* casilla(const char* nombre, bool marcada, QWidget* padre) {
    auto* c = new QCheckBox(padre);
    c->setObjectName(QLatin1String(nombre));
    c->setChecked(marcada);
    return c;
}

} // namespace

frmGestionEntradasSalidas::frmGestionEntradasSalidas(QWidget* parent)
    : VentanaHija(QStringLiteral("frmGestionEntradasSalidas"), QStringLiteral("vialtor.ico"),
                  QStringLiteral("fondo3.jpg"),
                  QStringLiteral("Cierra la ventana de Entradas/Salidas"), parent) {
    setWindowTitle(QStringLiteral("Gestión Entradas Salidas"));
    construirControles();
    Conectar(Timer1, &QTimer::timeout, this, &frmGestionEntradasSalidas::Timer1Timer);
    Conectar(btnEntrada, &QPushButton::clicked, this, &frmGestionEntradasSalidas::btnEntradaClicked);
    Conectar(btnSalida, &QPushButton::clicked, this, &frmGestionEntradasSalidas::btnSalidaClicked);
    Conectar(ListView1, &QTreeWidget::itemClicked, this,
            &frmGestionEntradasSalidas::ListView1ItemClicked);
    Conectar(ListView1, &QTreeWidget::itemDoubleClicked, this,
            &frmGestionEntradasSalidas::ListView1DoubleClicked);
    Conectar(ListView1, &QTreeWidget::customContextMenuRequested, this,
            &frmGestionEntradasSalidas::ListView1RightClicked);
    for (QWidget* w : {static_cast<QWidget*>(txtPlaca), static_cast<QWidget*>(comTarifa),
                       static_cast<QWidget*>(ListView1)})
        w->installEventFilter(this);
    cargar();
}

void frmGestionEntradasSalidas::construirControles() {
    lblFechaActual = NuevaEtiqueta("lblFechaActual", QString(), this);
    QFont reloj = lblFechaActual->font();
    reloj.setPointSize(14);
    reloj.setBold(true);
    lblFechaActual->setFont(reloj);
    Label1 = NuevaEtiqueta("Label1", QStringLiteral("Fecha/Hora"), this);
    Label2 = NuevaEtiqueta("Label2", QStringLiteral("Placa"), this);
    txtPlaca = NuevaCaja("txtPlaca", 10, this);
    QFont grande = txtPlaca->font();
    grande.setPointSize(14);
    grande.setBold(true);
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
    chkImprimirTicket = casilla("chkImprimirTicket", true, this);
    Label9 = new EtiquetaPulsable(QStringLiteral("Imprimir Tickets"), chkImprimirTicket, this);
    Label9->setObjectName(QStringLiteral("Label9"));
    chkCobroCompleto = casilla("chkCobroCompleto", true, this);
    Label10 =
        new EtiquetaPulsable(QStringLiteral("Cobro por tiempo completo"), chkCobroCompleto, this);
    Label10->setObjectName(QStringLiteral("Label10"));
    Label8 = NuevaEtiqueta(
        "Label8", QStringLiteral("* Desmarque la casilla para cobros por fracción de tiempo"),
        this);
    chkCobroPrimeraHora = casilla("chkCobroPrimeraHora", false, this);
    Label11 = new EtiquetaPulsable(QStringLiteral("Cobrar primera hora completa"),
                                   chkCobroPrimeraHora, this);
    Label11->setObjectName(QStringLiteral("Label11"));
    btnEntrada = new QPushButton(IconoPrograma(QStringLiteral("entradas.ico")),
                                 QStringLiteral("Registrar &Entrada"), this);
    btnEntrada->setObjectName(QStringLiteral("btnEntrada"));
    btnSalida = new QPushButton(IconoPrograma(QStringLiteral("salidas.ico")),
                                QStringLiteral("Registrar &Salida  "), this);
    btnSalida->setObjectName(QStringLiteral("btnSalida"));
    for (QPushButton* b : {btnEntrada, btnSalida}) {
        b->setIconSize(QSize(32, 32));
        b->setMinimumHeight(48);
    }
    lblCupo = NuevaEtiqueta("lblCupo", QString(), this);
    lblOcupacionActual = NuevaEtiqueta("lblOcupacionActual", QString(), this);
    lblTiempo = NuevaEtiqueta("lblTiempo", QStringLiteral("Tiempo:"), this);
    lblTiempoTranscurrido = NuevaEtiqueta("lblTiempoTranscurrido", QString(), this);
    lblTiempoTranscurrido->setFont(reloj);
    lblTiempo->hide();
    lblTiempoTranscurrido->hide();
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setUniformRowHeights(true);
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);

    auto* datos = new QGridLayout;
    int f = 0;
    datos->addWidget(Label1, f, 0);
    datos->addWidget(lblFechaActual, f++, 1, 1, 3);
    const std::pair<QLabel*, QWidget*> filas[] = {
        {Label2, txtPlaca}, {Label3, txtDescrVeh}, {Label4, txtObservaciones}, {Label5, comTarifa}};
    for (const auto& [rotulo, control] : filas) {
        datos->addWidget(rotulo, f, 0);
        datos->addWidget(control, f++, 1, 1, 3);
    }
    datos->addWidget(Label6, f, 0);
    datos->addWidget(txtCopiasEntrada, f, 1);
    datos->addWidget(Label7, f, 2);
    datos->addWidget(txtCopiasSalida, f++, 3);

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

    auto* estado = new QHBoxLayout;
    for (QWidget* w : {lblCupo, lblOcupacionActual, lblTiempo, lblTiempoTranscurrido})
        estado->addWidget(w);
    estado->addStretch();

    auto* arriba = new QHBoxLayout;
    arriba->addLayout(datos, 3);
    arriba->addSpacing(20);
    arriba->addLayout(opciones, 2);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(arriba);
    todo->addLayout(estado);
    todo->addWidget(ListView1, 1);
    resize(980, 620);
}

void frmGestionEntradasSalidas::cargar() {
    Timer1Timer();
    txtCopiasEntrada->setText(QStringLiteral("1"));
    txtCopiasSalida->setText(QStringLiteral("1"));
    AbrirConexion();
    cargarTarifas();
    lblCupo->setText(QStringLiteral("Cupo máximo: ") + QString::number(DatosParqueadero.Cupo));
    ListView1->setHeaderLabels({DatosParqueadero.NombreDocumentoEntrada, QStringLiteral("Fecha"),
                                QStringLiteral("Placa"), QStringLiteral("Descripción"),
                                QStringLiteral("Observaciones"), QStringLiteral("ID Tarifa"),
                                QStringLiteral("Tarifa"), QStringLiteral("Tiempo"),
                                QStringLiteral("DescrTarifa")});
    // Widths in twips, at 15 twips a pixel.
    const int anchos[] = {1500, 2500, 1500, 100, 100, 100, 1000, 1000, 2500};
    for (int c = 0; c < 9; ++c)
        ListView1->setColumnWidth(c, anchos[c] / 15);
    rellenarLista();
    lblOcupacionActual->setText(QStringLiteral("Ocupación Actual: ") +
                                QString::number(OcupacionActual));
    CerrarConexion();
    Timer1->start();
}

void frmGestionEntradasSalidas::cargarTarifas() {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM tarifas ORDER BY DescrTarifa ASC"));
    comTarifa->clear();
    for (; !rs.Eof(); rs.MoveNext())
        if (rs.Fields(QStringLiteral("MostrarEnEntradas")).aBandera())
            comTarifa->addItem(
                rs.Fields(QStringLiteral("DescrTarifa")).aTexto(),
                QVariant::fromValue<qint64>(rs.Fields(QStringLiteral("id_tarifa")).aEntero()));
    comTarifa->setCurrentIndex(comTarifa->count() > 0 ? 0 : -1);
}

void frmGestionEntradasSalidas::rellenarLista() {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM entradas ORDER BY FechaEntrada DESC"));
    ListView1->clear();
    OcupacionActual = 0;
    const char* const columnas[] = {"FechaEntrada", "Placa",  "DescrVeh", "Observaciones",
                                    "id_tarifa",    "Tarifa", "Tiempo",   "DescrTarifa"};
    // Rows are filled apart and handed to the list at once: one model change, not one per cell.
    QList<QTreeWidgetItem*> filas;
    for (; !rs.Eof(); rs.MoveNext()) {
        auto* fila = new QTreeWidgetItem;
        fila->setText(0, rs.Fields(QStringLiteral("id_entrada")).aTexto());
        for (int c = 0; c < 8; ++c) {
            const Valor& v = rs.Fields(QLatin1String(columnas[c]));
            if (!v.esNulo())
                fila->setText(c + 1, v.aTexto());
        }
        filas.append(fila);
        ++OcupacionActual;
    }
    rs.Close();
    ListView1->addTopLevelItems(filas);
}

void frmGestionEntradasSalidas::Timer1Timer() {
    lblFechaActual->setText(FechaHoraTexto(Servicios().reloj->ahora()));
}

namespace {
// Focus moved by the user, not taken by a popup, a box or another window for a while.
bool focoDelUsuario(const QEvent* evento) {
    const Qt::FocusReason razon = static_cast<const QFocusEvent*>(evento)->reason();
    return razon != Qt::PopupFocusReason && razon != Qt::ActiveWindowFocusReason;
}
} // namespace

bool frmGestionEntradasSalidas::eventFilter(QObject* objeto, QEvent* evento) {
    const QEvent::Type tipo = evento->type();
    if (objeto == txtPlaca && tipo == QEvent::FocusOut) {
        txtPlaca->setText(txtPlaca->text().toUpper());
    } else if (objeto == txtPlaca && tipo == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            txtPlaca->setText(txtPlaca->text().toUpper());
            EjecutarProtegido([this] { btnEntradaClicked(); });
            return true;
        }
    } else if (objeto == comTarifa && tipo == QEvent::FocusIn && focoDelUsuario(evento)) {
        QTimer::singleShot(0, comTarifa, &QComboBox::showPopup);
    } else if (objeto == comTarifa && tipo == QEvent::KeyPress) {
        txtPlaca->setFocus();
    } else if (objeto == ListView1 && tipo == QEvent::FocusOut && focoDelUsuario(evento)) {
        ocultarEstancia();
        PlacaCorreccion.clear();
    }
    return VentanaHija::eventFilter(objeto, evento);
}

void frmGestionEntradasSalidas::closeEvent(QCloseEvent* evento) {
    PlacaCorreccion.clear();
    VentanaHija::closeEvent(evento);
}

void frmGestionEntradasSalidas::mostrarEstancia(const QString& fechaEntrada,
                                                const QString& fechaSalida) {
    lblTiempoTranscurrido->setText(TextoEstancia(minutosEntreTextos(fechaEntrada, fechaSalida)));
    lblTiempo->show();
    lblTiempoTranscurrido->show();
}

void frmGestionEntradasSalidas::ocultarEstancia() {
    lblTiempo->hide();
    lblTiempoTranscurrido->hide();
}

void frmGestionEntradasSalidas::ListView1ItemClicked(QTreeWidgetItem* fila) {
    DatosTicket.FechaSalida = lblFechaActual->text();
    DatosTicket.FechaEntrada = fila->text(1);
    mostrarEstancia(DatosTicket.FechaEntrada, DatosTicket.FechaSalida);
    txtPlaca->setText(fila->text(2));
    PlacaCorreccion = fila->text(2);
    txtDescrVeh->setText(fila->text(3));
    txtObservaciones->setText(fila->text(4));
    // A rate not offered at entries (or a client's or exempt's mark) leaves the list as it is.
    const int indice = comTarifa->findText(fila->text(8));
    if (indice >= 0)
        comTarifa->setCurrentIndex(indice);
}

void frmGestionEntradasSalidas::ListView1DoubleClicked(QTreeWidgetItem*) {
    btnSalidaClicked();
}

void frmGestionEntradasSalidas::ListView1RightClicked(const QPoint& posicion) {
    QTreeWidgetItem* fila = ListView1->currentItem();
    if (!fila || !fila->isSelected() || fila->text(8) == kCliente || fila->text(8) == kExento)
        return;
    CorreccionDesdeEntradas = true;
    const int nivel = static_cast<int>(ValorNumerico(SesionActual.NivelAcceso));
    if (nivel == 1 || nivel == 2 || nivel == 5 || nivel == 6)
        MostrarMenuCorrecciones(ListView1->viewport()->mapToGlobal(posicion));
}

void frmGestionEntradasSalidas::abortar() {
    txtPlaca->setFocus();
}

std::optional<uint8_t> frmGestionEntradasSalidas::validarPlacaYCopias(const QString& aviso,
                                                                      const QString& movimiento,
                                                                      QLineEdit* cajaCopias) {
    const QString desde = QStringLiteral("; se hizo click en Registrar ") + movimiento +
                          QStringLiteral(", desde Entradas/Salidas");
    if (txtPlaca->text().isEmpty()) {
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
    DatosTicket.Placa = txtPlaca->text().toUpper();
    DatosTicket.CopiasEntrada = *nCopias;
    if (VerificarPlacaDentro(DatosTicket.Placa)) {
        btnSalidaClicked();
        return;
    }
    if (comTarifa->currentIndex() < 0) {
        Registrar(
            QStringLiteral("Se muestra mensaje - No hay tarifas para registrar la Entrada; se "
                           "hizo click en Registrar Entrada, desde Entradas/Salidas"));
        Informar(QStringLiteral("No hay tarifas disponibles para registrar la Entrada"));
        txtPlaca->setFocus();
        return;
    }
    if (!PreguntarSiNo(QStringLiteral("¿Desea realizar la Entrada?") + kCrlf + kCrlf +
                           QStringLiteral("PLACA: ") + DatosTicket.Placa + kCrlf +
                           QStringLiteral("TARIFA: ") + comTarifa->currentText().toUpper() + kCrlf +
                           kCrlf +
                           QStringLiteral("(*) Si se trata de un Cliente o Exento de Cobro, no se "
                                          "aplicará Tarifa") +
                           kCrlf + kCrlf,
                       QStringLiteral("Registrar Entrada")))
        return;
    if (VerificarCupo(DatosParqueadero.Cupo))
        return;
    registrarEntrada(comTarifa->currentData().toLongLong());
}

void frmGestionEntradasSalidas::registrarEntrada(int64_t idTarifa) {
    ReiniciarDatosCliente();
    AbrirConexion();
    DatosTicket.FechaEntrada = lblFechaActual->text();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM Tarifas WHERE id_tarifa = ") + QString::number(idTarifa));
    if (rs.Eof()) {
        // Deleted at another station since the list was loaded.
        rs.Close();
        cargarTarifas();
        CerrarConexion();
        Informar(QStringLiteral("La tarifa seleccionada ya no existe; elija otra tarifa"));
        return;
    }
    QString valores[] = {QString::number(idTarifa),
                         QString::number(rs.Fields(QStringLiteral("Tarifa")).aEntero()),
                         QString::number(rs.Fields(QStringLiteral("Tiempo")).aEntero()),
                         rs.Fields(QStringLiteral("DescrTarifa")).aTexto()};
    rs.Close();
    QString tabla = QStringLiteral("entradas");
    QString suceso = QStringLiteral("Se registra la Entrada del vehículo con tarifa normal desde "
                                    "Entradas/Salidas");
    if (ContarPeriodosVigentes(txtPlaca->text(), Servicios().reloj->ahora().date()) > 0) {
        LeerUltimoPeriodo(txtPlaca->text());
        valores[0] = valores[1] = valores[2] = QStringLiteral("0");
        valores[3] = kCliente;
        Informar(QStringLiteral("CLIENTE: ") + DatosTicket.Nombre + QLatin1Char(' ') +
                     DatosTicket.Ape1 + QLatin1Char(' ') + DatosTicket.Ape2 + kCrlf +
                     QStringLiteral("Puede ingresar hasta el día: ") +
                     FechaLarga(DatosTicket.FechaFin).toUpper() + kCrlf + kCrlf,
                 QStringLiteral("INGRESO DE CLIENTE"));
        suceso = QStringLiteral("Se registra la Entrada del vehículo con datos de Cliente desde "
                                "Entradas/Salidas");
    } else {
        rs.Open(QStringLiteral("SELECT TOP 1 * FROM Exentos WHERE PlacaExento = ") +
                Texto(DatosTicket.Placa) + QStringLiteral(" AND ActivoExento=True"));
        if (!rs.Eof()) {
            valores[0] = valores[1] = valores[2] = QStringLiteral("0");
            valores[3] = kExento;
            tabla = QStringLiteral("Entradas");
            suceso = QStringLiteral("Se registra la Entrada del vehículo con datos de Exento desde "
                                    "Entradas/Salidas");
        }
        rs.Close();
    }
    const QString sentencia =
        QStringLiteral("INSERT INTO ") + tabla +
        QStringLiteral(" (FechaEntrada,Placa,DescrVeh,Observaciones,id_tarifa,Tarifa,Tiempo,"
                       "DescrTarifa) VALUES (") +
        QStringList{Texto(DatosTicket.FechaEntrada),
                    Texto(DatosTicket.Placa),
                    Texto(txtDescrVeh->text()),
                    Texto(txtObservaciones->text()),
                    Texto(valores[0]),
                    Texto(valores[1]),
                    Texto(valores[2]),
                    Texto(valores[3])}
            .join(QLatin1Char(',')) +
        QLatin1Char(')');
    Registrar(suceso + kCrlf + sentencia);
    {
        // The ticket number is the new row's own key, read in the same transaction.
        Transaccion transaccion;
        rs.Open(sentencia);
        DatosTicket.Numero = static_cast<int32_t>(Recordset::UltimoId());
        transaccion.confirmar();
    }
    terminarEntrada();
}

void frmGestionEntradasSalidas::terminarEntrada() {
    rellenarLista();
    lblOcupacionActual->setText(QStringLiteral("Ocupación Actual: ") +
                                QString::number(OcupacionActual));
    Registrar(QStringLiteral("Se actualiza la Ocupación Actual, siendo de: -") +
              QString::number(OcupacionActual) + QStringLiteral("- desde Entradas/Salidas"));
    AvisarCliente(Momento::Entrada, Servicios().reloj->ahora().date());
    txtPlaca->clear();
    txtDescrVeh->clear();
    txtObservaciones->clear();
    txtPlaca->setFocus();
    if (chkImprimirTicket->isChecked()) {
        ImprimirTicketEntrada();
        Registrar(QStringLiteral("Se inicia impresión Ticket de Entrada, con ") +
                  QString::number(DatosTicket.CopiasEntrada) + QStringLiteral(" copia/s"));
    }
    CerrarConexion();
}

// What one exit decides, step by step, before it is written.
struct DatosSalida {
    QString placaEnCaja;
    int64_t idEntrada = 0;
    int64_t idTarifa = 0;
    int64_t tarifa = 0;
    int64_t tiempo = 0;
    QString descrTarifa;
    QString tiempoTexto;
    bool clienteVigente = false;
    bool ultimaSalidaCliente = false;

    bool ordinaria() const {
        return idTarifa != 0 && descrTarifa != kCliente && descrTarifa != kExento;
    }
    bool porTarifa() const { return idTarifa != 0 && descrTarifa != kExento; }
    bool entroComoCliente() const { return idTarifa == 0 && descrTarifa == kCliente; }
    bool exenta() const { return idTarifa == 0 && descrTarifa == kExento; }
};

void frmGestionEntradasSalidas::btnSalidaClicked() {
    const auto nCopias = validarPlacaYCopias(QStringLiteral("Mensaje - "), QStringLiteral("Salida"),
                                             txtCopiasSalida);
    if (!nCopias)
        return;
    DatosTicket.Placa = txtPlaca->text().toUpper();
    DatosTicket.CopiasSalida = *nCopias;
    DatosTicket.FechaSalida = lblFechaActual->text();
    ReiniciarDatosCliente();
    DatosTicket.Cobrado = 0;
    DatosSalida s;
    s.placaEnCaja = txtPlaca->text();
    if (!leerEntrada(s) || !corregirPlacaYTarifa(s))
        return;
    AbrirConexion();
    s.clienteVigente = ContarPeriodosVigentes(s.placaEnCaja, Servicios().reloj->ahora().date()) > 0;
    if (s.clienteVigente) {
        LeerUltimoPeriodo(s.placaEnCaja);
        s.tarifa = s.tiempo = 0;
        s.descrTarifa = kCliente;
    } else {
        const int64_t minutos =
            minutosEntreTextos(DatosTicket.FechaEntrada, DatosTicket.FechaSalida);
        const int64_t cobrado =
            CalcularCobro(minutos, s.tarifa, s.tiempo,
                          {chkCobroCompleto->isChecked(), chkCobroPrimeraHora->isChecked()});
        DatosTicket.Cobrado = static_cast<int32_t>(std::clamp<int64_t>(cobrado, 0, INT32_MAX));
        if (!confirmarSalida(s) || !fijarValor(s))
            return;
    }
    if (s.entroComoCliente() && !s.ultimaSalidaCliente) {
        if (!PreguntarSiNo(QStringLiteral("CLIENTE: ") + DatosTicket.Nombre + QLatin1Char(' ') +
                               DatosTicket.Ape1 + QLatin1Char(' ') + DatosTicket.Ape2 + kCrlf +
                               (DatosTicket.Pagado
                                    ? QStringLiteral("Puede ingresar hasta el día: ")
                                    : QStringLiteral("Debe realizar su pago antes del día: ")) +
                               FechaLarga(DatosTicket.FechaFin).toUpper() + kCrlf + kCrlf +
                               QStringLiteral("¿Proceder con la salida?") + kCrlf + kCrlf,
                           QStringLiteral("CONFIRMAR SALIDA DE CLIENTE"))) {
            CerrarConexion();
            abortar();
            return;
        }
        Registrar(
            QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas: Se realiza salida "
                           "de Cliente, Placa: ") +
            DatosTicket.Placa);
    }
    grabarSalida(s);
}

bool frmGestionEntradasSalidas::leerEntrada(DatosSalida& s) {
    AbrirConexion();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM entradas WHERE placa = ") + Texto(DatosTicket.Placa));
    if (rs.Eof()) {
        Registrar(QStringLiteral("Mensaje: Placa no existe; desde botón Registrar Salida, desde "
                                 "Entradas/Salidas, Placa (sin corregir a mayúsculas "
                                 "automáticamente): ") +
                  s.placaEnCaja);
        Informar(QStringLiteral("Placa no existe"), QStringLiteral("Placa no existe"));
        CerrarConexion();
        return false;
    }
    DatosTicket.FechaEntrada = FechaHoraTexto(rs.Fields(QStringLiteral("FechaEntrada")).aFecha());
    s.idTarifa = rs.Fields(QStringLiteral("id_tarifa")).aEntero();
    s.tarifa = rs.Fields(QStringLiteral("Tarifa")).aEntero();
    s.tiempo = rs.Fields(QStringLiteral("Tiempo")).aEntero();
    s.descrTarifa = rs.Fields(QStringLiteral("DescrTarifa")).aTexto();
    s.idEntrada = rs.Fields(QStringLiteral("id_entrada")).aEntero();
    DatosTicket.Numero = static_cast<int32_t>(s.idEntrada);
    rs.Close();
    CerrarConexion();
    mostrarEstancia(DatosTicket.FechaEntrada, DatosTicket.FechaSalida);
    s.tiempoTexto = lblTiempoTranscurrido->text();
    Registrar(
        QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas, Control de Tiempo: ") +
        s.tiempoTexto + QStringLiteral(" --- Placa: ") + DatosTicket.Placa);
    return true;
}

bool frmGestionEntradasSalidas::corregirPlacaYTarifa(DatosSalida& s) {
    if (!s.ordinaria())
        return true;
    if (DatosParqueadero.ModificarPlacaSalida) {
        DatosTicket.Placa =
            Servicios()
                .dialogos
                ->entrada(QStringLiteral("Verifique/Modifique la Placa"),
                          QStringLiteral("VERIFICAR/MODIFICAR PLACA"), DatosTicket.Placa)
                .toUpper();
        if (DatosTicket.Placa.isEmpty()) {
            abortar();
            return false;
        }
        if (DatosTicket.Placa.size() > 10) {
            Informar(QStringLiteral("La Placa excede el límite de 10 caracteres"));
            abortar();
            return false;
        }
    }
    return !DatosParqueadero.ModificarTarifaSalida || elegirOtraTarifa(s);
}

bool frmGestionEntradasSalidas::elegirOtraTarifa(DatosSalida& s) {
    const QString lista = ListaTarifasSalida();
    const QString respuesta = Servicios().dialogos->entrada(
        QStringLiteral("Verifique/Modifique la Tarifa indicando el Código Numérico de Tarifa de su "
                       "elección") +
            kCrlf + kCrlf + lista,
        QStringLiteral("VERIFICAR/MODIFICAR TARIFA"), QString::number(s.idTarifa));
    if (respuesta.isEmpty())
        return false;
    const auto id = EnteroEstricto(respuesta);
    if (!id) {
        Registrar(QStringLiteral("Mensaje: Valor incorrecto en modificación de Tarifa; botón "
                                 "Registrar Salida, desde Entradas/Salidas"));
        Informar(QStringLiteral("El valor indicado para la Tarifa no es correcto"));
        abortar();
        return false;
    }
    AbrirConexion();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM Tarifas WHERE id_tarifa = ") + QString::number(*id) +
            QStringLiteral(" AND MostrarEnSalidas = True"));
    if (rs.Eof()) {
        rs.Close();
        CerrarConexion();
        Registrar(
            QStringLiteral("Mensaje: Valor incorrecto en modificación de Tarifa, no existe el "
                           "código de la tarifa indicada: -") +
            respuesta + QStringLiteral("-; botón Registrar Salida, desde Entradas/Salidas"));
        Informar(QStringLiteral("El valor indicado para la Tarifa no es correcto, no existe el "
                                "código de la tarifa: ") +
                 respuesta);
        abortar();
        return false;
    }
    s.idTarifa = *id;
    s.tarifa = rs.Fields(QStringLiteral("Tarifa")).aEntero();
    s.tiempo = rs.Fields(QStringLiteral("Tiempo")).aEntero();
    s.descrTarifa = rs.Fields(QStringLiteral("DescrTarifa")).aTexto();
    rs.Close();
    CerrarConexion();
    return true;
}

bool frmGestionEntradasSalidas::confirmarSalida(DatosSalida& s) {
    bool si = true;
    if (s.entroComoCliente()) {
        Registrar(
            QStringLiteral("Mensaje: Última salida como Cliente. En adelante, se le cobrará "
                           "por tarificación; botón Registrar Salida, desde Entradas/Salidas"));
        si = PreguntarSiNo(
            QStringLiteral("Es su última Salida como Cliente. En adelante, se le cobrará "
                           "por tarificación.") +
                kCrlf + kCrlf + QStringLiteral("¿Proceder con la salida?") + kCrlf + kCrlf,
            QStringLiteral("CONFIRMAR SALIDA DE CLIENTE"));
        s.ultimaSalidaCliente = true;
    } else {
        mostrarEstancia(DatosTicket.FechaEntrada, DatosTicket.FechaSalida);
        s.tiempoTexto = lblTiempoTranscurrido->text();
        if (s.porTarifa()) {
            Registrar(QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas, Proceso "
                                     "Normal de Cobro por Tarifa; Control de Tiempo: ") +
                      s.tiempoTexto + QStringLiteral(" --- Placa: ") + DatosTicket.Placa);
            const ResumenCobro resumen{s.tiempoTexto, s.descrTarifa, s.tarifa};
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

bool frmGestionEntradasSalidas::fijarValor(DatosSalida& s) {
    QString valor;
    if (s.exenta()) {
        if (!PreguntarSiNo(QStringLiteral("EXENTO DE COBRO") + kCrlf + kCrlf +
                               QStringLiteral("¿Proceder con la salida?") + kCrlf + kCrlf,
                           QStringLiteral("CONFIRMAR SALIDA DE EXENTO DE COBRO"))) {
            CerrarConexion();
            abortar();
            return false;
        }
        Registrar(
            QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas: Se realiza salida "
                           "de Exento, Placa: ") +
            DatosTicket.Placa);
        valor = QStringLiteral("0");
    } else if (s.porTarifa() || s.ultimaSalidaCliente) {
        valor = DatosParqueadero.ModificarValorSalida
                    ? Servicios().dialogos->entrada(
                          QStringLiteral("Modifique la tarifa manualmente si lo desea"),
                          QStringLiteral("TARIFA DEFINIDA POR EL USUARIO"),
                          QString::number(DatosTicket.Cobrado))
                    : QString::number(DatosTicket.Cobrado);
    } else {
        // An entry of no known kind: nothing to charge it by.
        CerrarConexion();
        return false;
    }
    const auto v = EnteroEstricto(valor);
    if (v && *v > DatosTicket.Cobrado) {
        CerrarConexion();
        Registrar(
            QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas: Mensaje: No se "
                           "permite cobrar por encima del valor tarificado; Valor inicial: -") +
            QString::number(DatosTicket.Cobrado) + QStringLiteral("- Valor Modificado: -") + valor +
            QLatin1Char('-'));
        Informar(QStringLiteral("No se permite cobrar por encima del valor tarificado"));
        abortar();
        return false;
    }
    if (!valor.isEmpty() && !v) {
        CerrarConexion();
        Registrar(
            QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas: Mensaje: "
                           "Espeficique valores correctos a cobrar, Valor a Cobrar indicado: -") +
            valor + QLatin1Char('-'));
        Informar(QStringLiteral("Espeficique valores correctos a cobrar"));
        abortar();
        return false;
    }
    if (valor.isEmpty()) {
        CerrarConexion();
        return false;
    }
    DatosTicket.Cobrado = static_cast<int32_t>(*v);
    return true;
}

void frmGestionEntradasSalidas::grabarSalida(DatosSalida& s) {
    DatosTicket.IVA = DatosParqueadero.IVA;
    SalidaNueva nueva;
    nueva.idEntrada = s.idEntrada;
    nueva.placaEnCaja = s.placaEnCaja;
    nueva.fechaEntrada = DatosTicket.FechaEntrada;
    nueva.fechaSalida = DatosTicket.FechaSalida;
    nueva.placa = DatosTicket.Placa;
    nueva.descrVeh = txtDescrVeh->text();
    nueva.observaciones = txtObservaciones->text();
    nueva.idTarifa = s.idTarifa;
    nueva.tarifa = s.tarifa;
    nueva.tiempo = s.tiempo;
    nueva.descrTarifa = s.descrTarifa;
    nueva.cobrado = DatosTicket.Cobrado;
    const auto grabada = GrabarSalida(nueva);
    if (!grabada) {
        rellenarLista();
        lblOcupacionActual->setText(QStringLiteral("Ocupación Actual: ") +
                                    QString::number(OcupacionActual));
        CerrarConexion();
        Registrar(
            QStringLiteral("Mensaje: La salida ya fue registrada desde otro punto de control; "
                           "botón Registrar Salida, desde Entradas/Salidas, Placa: ") +
            DatosTicket.Placa);
        Informar(QStringLiteral("La salida de este vehículo ya fue registrada desde otro punto de "
                                "control; no se registra de nuevo"));
        abortar();
        return;
    }
    DatosTicket.ConsecutivoDia = grabada->consecutivoDia;
    DatosTicket.Numero = static_cast<int32_t>(grabada->idSalida);
    DatosTicket.NDocumento = grabada->nDocumento;
    rellenarLista();
    lblOcupacionActual->setText(QStringLiteral("Ocupación Actual: ") +
                                QString::number(OcupacionActual));
    Registrar(QStringLiteral("Ocupación Actual, botón Salida, desde Entradas/Salidas: ") +
              QString::number(OcupacionActual));
    if (!DatosTicket.Nombre.isEmpty())
        AvisarCliente(Momento::Salida, Servicios().reloj->ahora().date());
    ocultarEstancia();
    if (chkImprimirTicket->isChecked()) {
        ImprimirTicketSalida();
        Registrar(QStringLiteral("Se inicia impresión Ticket de Salida, con ") +
                  QString::number(DatosTicket.CopiasSalida) + QStringLiteral(" copia/s"));
    }
    txtPlaca->clear();
    txtDescrVeh->clear();
    txtObservaciones->clear();
    txtPlaca->setFocus();
    CerrarConexion();
}
