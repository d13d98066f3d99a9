#include "clientes/ui/panelpagos.h"

#include "bd/conexion.h"
#include "clientes/clientes.h"
#include "clientes/periodos.h"
#include "clientes/ui/eleccionlista.h"
#include "clientes/ui/modeloclientes.h"
#include "principal/formatos.h"
#include "principal/manejadores.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"
#include "principal/ui/controles.h"
#include "turnos/acciones/accionesturno.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

namespace {

const QString kPagoProtegido[] = {
    QStringLiteral("El Pago que desea eliminar corresponde a una Fecha de Pago ya pagada."),
    QStringLiteral("NO se pueden eliminar Pagos de Fechas de Pago pagadas,"),
    QStringLiteral("mientras existan Fechas de Pago impagadas,"),
    QStringLiteral("pero SÍ puede eliminar la Fecha de Pago completa si lo requiere.")};

// An amount box's value: a whole number as the program prints it, that the database can hold.
std::optional<int64_t> importe(const QLineEdit* caja) {
    const std::optional<int64_t> valor = ImporteEstricto(caja->text());
    return valor && ImporteCabe(*valor) ? valor : std::nullopt;
}

QDate hoy() {
    return Servicios().reloj->ahora().date();
}

} // namespace

PanelPagos::PanelPagos(const int32_t& idCliente, QWidget* focoCliente, QWidget* parent)
    : QWidget(parent), idCliente_(idCliente), focoCliente_(focoCliente) {
    construirControles();
    conectarSenales();
}

void PanelPagos::construirControles() {
    ListView2 = NuevaListaClientes("ListView2", kColumnasPeriodos, modelo2_, this);
    ListView3 = NuevaListaClientes("ListView3", kColumnasPagos, modelo3_, this);
    for (QTreeView* lista : {ListView2, ListView3})
        lista->setMinimumHeight(110);
    calFechaInicio = NuevoCalendario("calFechaInicio", this);
    calFechaFin = NuevoCalendario("calFechaFin", this);
    calFechaPago = NuevoCalendario("calFechaPago", this);
    txtCantidadPago = NuevaCaja("txtCantidadPago", 10, this);
    txtRecibo = NuevaCaja("txtRecibo", 9, this);
    txtEfectuarPago = NuevaCaja("txtEfectuarPago", 10, this);
    for (QLineEdit* caja : {txtCantidadPago, txtEfectuarPago})
        CajaNumerica(caja);
    btnAgregarFechaPago = NuevoBoton("btnAgregarFechaPago",
                                     QStringLiteral("  Agregar &Fechas de Pago,Cantidad,Recibo"),
                                     QStringLiteral("cliente_agregar_fecha_pago.ico"), this);
    btnEliminarFechaPago =
        NuevoBoton("btnEliminarFechaPago", QStringLiteral("  Elimi&nar Fecha de Pago"),
                   QStringLiteral("cliente_eliminar_fecha_pago.ico"), this);
    btnEfectuarPago = NuevoBoton("btnEfectuarPago", QStringLiteral("  Efectuar &Pago"),
                                 QStringLiteral("cliente_efectuar_pago.ico"), this);
    btnEliminarPago = NuevoBoton("btnEliminarPago", QStringLiteral("  Elimina&r Pago"),
                                 QStringLiteral("cliente_eliminar_pago.ico"), this);

    auto rotulo = [this](const char* texto, QWidget* control) {
        auto* r = new QLabel(QString::fromUtf8(texto), this);
        r->setBuddy(control);
        return r;
    };
    auto* periodos = new QGridLayout;
    periodos->addWidget(new QLabel(QStringLiteral("Fechas de pago del cliente"), this), 0, 0, 1, 4);
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
    pagos->addWidget(new QLabel(QStringLiteral("Pagos realizados"), this), 0, 0, 1, 2);
    pagos->addWidget(ListView3, 1, 0, 1, 2);
    pagos->addWidget(rotulo("Fecha Pago", calFechaPago), 2, 0);
    pagos->addWidget(calFechaPago, 2, 1);
    pagos->addWidget(rotulo("Pago", txtEfectuarPago), 3, 0);
    pagos->addWidget(txtEfectuarPago, 3, 1);
    pagos->addWidget(btnEfectuarPago, 4, 0);
    pagos->addWidget(btnEliminarPago, 4, 1);

    auto* fila = new QHBoxLayout(this);
    fila->setContentsMargins(0, 0, 0, 0);
    fila->addLayout(periodos, 5);
    fila->addSpacing(8);
    fila->addLayout(pagos, 3);
}

void PanelPagos::conectarSenales() {
    const std::pair<QPushButton*, void (PanelPagos::*)()> botones[] = {
        {btnAgregarFechaPago, &PanelPagos::btnAgregarFechaPagoClicked},
        {btnEfectuarPago, &PanelPagos::btnEfectuarPagoClicked},
        {btnEliminarFechaPago, &PanelPagos::btnEliminarFechaPagoClicked},
        {btnEliminarPago, &PanelPagos::btnEliminarPagoClicked}};
    for (const auto& [boton, manejador] : botones)
        Conectar(boton, &QPushButton::clicked, this, manejador);
    // Enter in a box does what its part of the form is for.
    for (QLineEdit* caja : {txtCantidadPago, txtRecibo})
        Conectar(caja, &QLineEdit::returnPressed, this, &PanelPagos::btnAgregarFechaPagoClicked);
    Conectar(txtEfectuarPago, &QLineEdit::returnPressed, this, &PanelPagos::btnEfectuarPagoClicked);
    EleccionLista::Conectar(ListView2, this, &PanelPagos::ListView2ItemClicked);
    EleccionLista::Conectar(ListView3, this, &PanelPagos::ListView3ItemClicked);
    Conectar(txtRecibo, &QLineEdit::textChanged, this, &PanelPagos::txtReciboChanged);
}

void PanelPagos::llenarPeriodos(int64_t idCliente, OrdenPeriodos orden, int64_t elegido) {
    clientePeriodos_ = idCliente;
    modelo2_->abrir(ConsultaPeriodos(idCliente, orden));
    periodoElegido_ = -1;
    for (int fila = 0; elegido != 0 && fila < modelo2_->rowCount(); ++fila)
        if (modelo2_->texto(fila, 0).toLongLong() == elegido)
            periodoElegido_ = fila;
    if (periodoElegido_ >= 0)
        llenarPagos(elegido);
    else if (modelo2_->rowCount() > 0)
        llenarPagos(modelo2_->texto(0, 1).toLongLong());
    else
        modelo3_->vaciar();
}

void PanelPagos::llenarPagos(int64_t idFechaPago) {
    modelo3_->abrir(ConsultaPagos(idFechaPago));
}

void PanelPagos::vaciar() {
    clientePeriodos_ = 0;
    periodoElegido_ = -1;
    modelo2_->vaciar();
    modelo3_->vaciar();
}

void PanelPagos::seleccionarPrimeras() {
    EleccionLista::Seleccionar(ListView2, periodoElegido_ >= 0 ? periodoElegido_ : 0);
    EleccionLista::Seleccionar(ListView3, 0);
    if (modelo2_->rowCount() == 0) {
        calFechaInicio->setDate(hoy());
        calFechaFin->setDate(hoy());
    }
}

void PanelPagos::restablecer() {
    for (QLineEdit* caja : {txtCantidadPago, txtRecibo, txtEfectuarPago})
        caja->clear();
    calFechaInicio->setDate(hoy());
    calFechaFin->setDate(hoy().addDays(30));
    calFechaPago->setDate(hoy());
}

void PanelPagos::ListView2ItemClicked(const QModelIndex& indice) {
    if (!indice.isValid())
        return;
    IdFechaPagoSeleccionada = modelo2_->texto(indice.row(), 0).toInt();
    IdPagoSeleccionado = 0;
    AbrirConexion();
    llenarPagos(IdFechaPagoSeleccionada);
    CerrarConexion();
    EleccionLista::Seleccionar(ListView3, 0);
    ListView2->setFocus();
}

void PanelPagos::ListView3ItemClicked(const QModelIndex& indice) {
    if (indice.isValid())
        IdPagoSeleccionado = modelo3_->texto(indice.row(), 0).toInt();
}

void PanelPagos::txtReciboChanged() {
    if (!txtRecibo->text().isEmpty() && !EnteroEstricto(txtRecibo->text()))
        txtRecibo->clear();
}

void PanelPagos::avisar(const QString& texto, QWidget* foco) {
    Informar(texto);
    foco->setFocus();
}

void PanelPagos::btnAgregarFechaPagoClicked() {
    if (idCliente_ == 0) {
        avisar(QStringLiteral("Debe seleccionar un cliente"), focoCliente_);
        return;
    }
    if (CajaVacia(txtCantidadPago)) {
        avisar(QStringLiteral("Debe indicar la Cantidad de Pago"), txtCantidadPago);
        return;
    }
    const std::optional<int64_t> cantidad = importe(txtCantidadPago);
    if (!cantidad) {
        avisar(QStringLiteral("Debe indicar datos numéricos en la Cantidad de Pago"),
               txtCantidadPago);
        return;
    }
    const QDate inicio = calFechaInicio->date();
    const QDate fin = calFechaFin->date();
    if (Servicios().reloj->ahora().date().daysTo(inicio) < 0) {
        Informar(QStringLiteral("La Fecha de Inicio no puede ser menor a la Fecha Actual"));
        return;
    }
    if (inicio.daysTo(fin) < 0) {
        Informar(QStringLiteral("La Fecha de Fin no puede ser menor a la Fecha de Inicio"));
        return;
    }
    const QString origen = QStringLiteral("Clientes, Botón Agregar Fecha de Pago y Cantidad, "
                                          "Mensaje: ");
    const Cambio<> cambio = AgregarPeriodo({idCliente_, inicio, fin, *cantidad, txtRecibo->text()});
    if (cambio.resultado == Resultado::PeriodoPendiente) {
        const QString texto = QStringLiteral("No se agregará la Fecha de Pago hasta que termine "
                                             "de pagar la que está pendiente");
        Registrar(origen + texto);
        Informar(texto);
        return;
    }
    if (cambio.resultado == Resultado::NoEncontrado) {
        noEncontrado(QStringLiteral("Botón Agregar Fecha de Pago y Cantidad"));
        return;
    }
    mostrarCliente(idCliente_);
    Registrar(origen + QStringLiteral("Fecha de pago agregada correctamente: "),
              {cambio.sentencias.first()});
    avisar(QStringLiteral("Fecha de pago agregada correctamente"), txtCantidadPago);
}

void PanelPagos::btnEfectuarPagoClicked() {
    if (IdFechaPagoSeleccionada == 0) {
        avisar(QStringLiteral("Debe seleccionar una Fecha de Pago"), txtEfectuarPago);
        return;
    }
    const std::optional<Periodo> periodo = LeerPeriodo(IdFechaPagoSeleccionada);
    if (!periodo) {
        noEncontrado(QStringLiteral("Botón Efectuar Pago"));
        return;
    }
    if (periodo->pagado) {
        avisar(QStringLiteral("La Fecha de Pago seleccionada ya está pagada"), ListView2);
        return;
    }
    if (CajaVacia(txtEfectuarPago)) {
        avisar(QStringLiteral("Debe indicar el valor del Pago"), txtEfectuarPago);
        return;
    }
    const std::optional<int64_t> cantidad = importe(txtEfectuarPago);
    if (!cantidad) {
        avisar(QStringLiteral("Debe indicar datos numéricos en el valor del Pago"),
               txtEfectuarPago);
        return;
    }
    if (Servicios().reloj->ahora().date().daysTo(calFechaPago->date()) != 0) {
        Informar(QStringLiteral("La Fecha de Pago debe ser igual a la Fecha Actual") + kCrLf +
                 kCrLf +
                 QStringLiteral("No se permiten pagos en fechas anteriores o posteriores a la "
                                "Fecha Actual"));
        return;
    }
    if (!AsegurarTurno(QStringLiteral("Clientes, Botón Efectuar Pago")))
        return;
    mostrarPago(EfectuarPago(IdFechaPagoSeleccionada, calFechaPago->date(), *cantidad));
}

void PanelPagos::mostrarPago(const Cambio<SaldoPeriodo>& pago) {
    switch (pago.resultado) {
    case Resultado::Hecho:
        break;
    case Resultado::YaPagada:
        avisar(QStringLiteral("La Fecha de Pago seleccionada ya está pagada"), ListView2);
        return;
    case Resultado::Excede: {
        const QString texto = QStringLiteral("El valor del Pago es mayor que la cantidad "
                                             "pendiente de ") +
                              QString::number(pago.valor.pendiente);
        Registrar(QStringLiteral("Clientes, Mensaje: ") + texto);
        Informar(texto);
        return;
    }
    default:
        noEncontrado(QStringLiteral("Botón Efectuar Pago"));
        return;
    }
    const QString texto =
        pago.valor.finalizado
            ? QStringLiteral("La Fecha de Pago ha sido finalizada correctamente con "
                             "este último pago")
            : QStringLiteral("Pago efectuado correctamente");
    Registrar(QStringLiteral("Clientes, Botón Efectuar Pago, Mensaje: ") + texto +
                  QStringLiteral(": "),
              pago.sentencias);
    Servicios().impresora->abrirCajonCobro();
    Informar(texto);
    mostrarCliente(clientePeriodos_);
    txtEfectuarPago->setFocus();
}

void PanelPagos::btnEliminarFechaPagoClicked() {
    if (IdFechaPagoSeleccionada == 0) {
        avisar(QStringLiteral("Debe seleccionar una Fecha de Pago"), txtCantidadPago);
        return;
    }
    if (Servicios().dialogos->mensaje(
            QStringLiteral("¿Desea eliminar la Fecha de Pago seleccionada?") + kCrLf +
                QStringLiteral("Se eliminarán todos los pagos relacionados"),
            QStringLiteral("Eliminar Fecha de Pago"), Icono::Informacion, Boton::Si | Boton::No,
            Boton::No) != Boton::Si)
        return;
    const Cambio<> cambio = EliminarPeriodo(IdFechaPagoSeleccionada);
    if (cambio.resultado != Resultado::Hecho) {
        noEncontrado(QStringLiteral("Botón Eliminar Fecha de Pago"));
        return;
    }
    IdFechaPagoSeleccionada = 0;
    mostrarCliente(clientePeriodos_);
    Registrar(QStringLiteral("Clientes, Botón Eliminar Fecha de Pago, Mensaje: Fecha de pago y "
                             "pagos relacionados se eliminaron correctamente: "),
              cambio.sentencias);
    Informar(QStringLiteral("Fecha de Pago y pagos relacionados se eliminaron correctamente"));
    IdFechaPagoSeleccionada = 0;
    txtCantidadPago->setFocus();
}

void PanelPagos::btnEliminarPagoClicked() {
    const QString origen = QStringLiteral("Botón Eliminar Pago");
    if (IdFechaPagoSeleccionada == 0 || IdPagoSeleccionado == 0) {
        avisar(IdFechaPagoSeleccionada == 0 ? QStringLiteral("Debe seleccionar una Fecha de Pago")
                                            : QStringLiteral("Debe seleccionar un Pago"),
               txtEfectuarPago);
        return;
    }
    Resultado resultado = PuedeEliminarsePago(IdPagoSeleccionado);
    if (resultado == Resultado::Hecho) {
        if (!AsegurarTurno(QStringLiteral("Clientes, ") + origen))
            return;
        if (Servicios().dialogos->mensaje(QStringLiteral("¿Desea eliminar el pago seleccionado?"),
                                          QStringLiteral("Eliminar Pago"), Icono::Informacion,
                                          Boton::Si | Boton::No, Boton::No) != Boton::Si)
            return;
        const Cambio<> cambio = EliminarPago(IdPagoSeleccionado);
        resultado = cambio.resultado;
        if (resultado == Resultado::Hecho) {
            mostrarCliente(clientePeriodos_);
            Registrar(QStringLiteral("Clientes, Botón Eliminar Pago, Mensaje: Pago eliminado "
                                     "correctamente: "),
                      {cambio.sentencias.first()});
            Informar(QStringLiteral("Pago eliminado correctamente"));
            IdPagoSeleccionado = 0;
            txtEfectuarPago->setFocus();
            return;
        }
    }
    if (resultado == Resultado::NoEncontrado) {
        noEncontrado(origen);
        return;
    }
    Registrar(QStringLiteral("Clientes, Botón Eliminar Pago, Mensaje: "),
              QStringList(std::begin(kPagoProtegido), std::end(kPagoProtegido)));
    avisar(kPagoProtegido[0] + kCrLf + kCrLf +
               QStringList(std::begin(kPagoProtegido) + 1, std::end(kPagoProtegido)).join(kCrLf),
           txtEfectuarPago);
}
