// The client's payment periods and payments: adding and deleting periods, making and deleting
// payments. The rest of the window is in frmClientes.cpp.

#include "clientes/frmClientes.h"

#include "clientes/clientes.h"
#include "clientes/modeloclientes.h"
#include "clientes/periodos.h"
#include "principal/conexion.h"
#include "principal/controles.h"
#include "principal/formatos.h"
#include "principal/manejadores.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"

#include <QDateEdit>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTreeView>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
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

} // namespace

void frmClientes::btnAgregarFechaPagoClicked() {
    if (IdClienteSeleccionado == 0) {
        avisar(QStringLiteral("Debe seleccionar un cliente"), txtNombre);
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
    const Cambio<> cambio =
        AgregarPeriodo({IdClienteSeleccionado, inicio, fin, *cantidad, txtRecibo->text()});
    if (cambio.resultado == Resultado::PeriodoPendiente) {
        const QString texto = QStringLiteral("No se agregará la Fecha de Pago hasta que termine "
                                             "de pagar la que está pendiente");
        Registrar(origen + texto);
        Informar(texto);
        return;
    }
    if (cambio.resultado == Resultado::NoEncontrado) {
        avisarNoEncontrado(QStringLiteral("Botón Agregar Fecha de Pago y Cantidad"));
        return;
    }
    mostrarCliente(IdClienteSeleccionado);
    Registrar(origen + QStringLiteral("Fecha de pago agregada correctamente: ") + kCrLf +
              cambio.sentencias.first());
    avisar(QStringLiteral("Fecha de pago agregada correctamente"), txtCantidadPago);
}

void frmClientes::btnEfectuarPagoClicked() {
    if (IdFechaPagoSeleccionada == 0) {
        avisar(QStringLiteral("Debe seleccionar una Fecha de Pago"), txtEfectuarPago);
        return;
    }
    const std::optional<Periodo> periodo = LeerPeriodo(IdFechaPagoSeleccionada);
    if (!periodo) {
        avisarNoEncontrado(QStringLiteral("Botón Efectuar Pago"));
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
    mostrarPago(EfectuarPago(IdFechaPagoSeleccionada, calFechaPago->date(), *cantidad));
}

void frmClientes::mostrarPago(const Cambio<SaldoPeriodo>& pago) {
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
        avisarNoEncontrado(QStringLiteral("Botón Efectuar Pago"));
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
    Informar(texto);
    mostrarCliente(clientePeriodos_);
    txtEfectuarPago->setFocus();
}

void frmClientes::btnEliminarFechaPagoClicked() {
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
        avisarNoEncontrado(QStringLiteral("Botón Eliminar Fecha de Pago"));
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

void frmClientes::btnEliminarPagoClicked() {
    const QString origen = QStringLiteral("Botón Eliminar Pago");
    if (IdFechaPagoSeleccionada == 0 || IdPagoSeleccionado == 0) {
        avisar(IdFechaPagoSeleccionada == 0 ? QStringLiteral("Debe seleccionar una Fecha de Pago")
                                            : QStringLiteral("Debe seleccionar un Pago"),
               txtEfectuarPago);
        return;
    }
    Resultado resultado = PuedeEliminarsePago(IdPagoSeleccionado);
    if (resultado == Resultado::Hecho) {
        if (Servicios().dialogos->mensaje(QStringLiteral("¿Desea eliminar el pago seleccionado?"),
                                          QStringLiteral("Eliminar Pago"), Icono::Informacion,
                                          Boton::Si | Boton::No, Boton::No) != Boton::Si)
            return;
        const Cambio<> cambio = EliminarPago(IdPagoSeleccionado);
        resultado = cambio.resultado;
        if (resultado == Resultado::Hecho) {
            mostrarCliente(clientePeriodos_);
            Registrar(QStringLiteral("Clientes, Botón Eliminar Pago, Mensaje: Pago eliminado "
                                     "correctamente: ") +
                      kCrLf + cambio.sentencias.first());
            Informar(QStringLiteral("Pago eliminado correctamente"));
            IdPagoSeleccionado = 0;
            txtEfectuarPago->setFocus();
            return;
        }
    }
    if (resultado == Resultado::NoEncontrado) {
        avisarNoEncontrado(origen);
        return;
    }
    Registrar(QStringLiteral("Clientes, Botón Eliminar Pago, Mensaje: "),
              QStringList(std::begin(kPagoProtegido), std::end(kPagoProtegido)));
    avisar(kPagoProtegido[0] + kCrLf + kCrLf +
               QStringList(std::begin(kPagoProtegido) + 1, std::end(kPagoProtegido)).join(kCrLf),
           txtEfectuarPago);
}
