#pragma once
// Monthly clients: the statements of their list and search, the cells the lists show, and the
// all-or-nothing writes of clients. The payment half lives in clientes/periodos.h.

#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <functional>

class Recordset;

// How a change to clients, periods or payments ended. Anything but Hecho wrote nothing.
enum class Resultado {
    Hecho,
    PlacaRepetida,    // another client holds the plate
    PeriodoPendiente, // the client still has an unpaid period
    NoEncontrado,     // the row is gone: another station removed it
    YaPagada,         // the period is paid already
    Excede,           // the payment is above what is still owed
    PagoProtegido     // a paid period's payment while the client has another unpaid period
};

struct Cambio {
    Resultado resultado = Resultado::Hecho;
    // The statements that changed rows, in the order they ran, for the log.
    QStringList sentencias;
    // What is still owed on the period, when a payment exceeds it.
    int64_t pendiente = 0;
    // The payment completed its period.
    bool finalizado = false;
};

// A change that wrote nothing, and why.
inline Cambio Rechazo(Resultado resultado) {
    Cambio cambio;
    cambio.resultado = resultado;
    return cambio;
}

inline Cambio Hecho(const QStringList& sentencias) {
    Cambio cambio;
    cambio.sentencias = sentencias;
    return cambio;
}

struct DatosCliente {
    QString nombre;
    QString ape1;
    QString ape2;
    QString placa;
    QString identificacion;
    QString notas;
};

// Every client, the ones who owe first.
QString SentenciaClientes();
// Clients matching every non-empty field (as a part of it) whose Activo is `activo`.
QString SentenciaBusqueda(const DatosCliente& campos, bool activo);
// A client's periods, unpaid first; then by first day (a listing) or latest last day (a pick).
enum class OrdenPeriodos { PorInicio, PorFin };
QString SentenciaPeriodos(int64_t idCliente, OrdenPeriodos orden);
// A period's payments, latest first.
QString SentenciaPagos(int64_t idFechaPago);

// The cells of one row of the client, period and payment lists, the key twice in front.
QStringList FilaCliente(const Recordset& rs);
QStringList FilaPeriodo(const Recordset& rs);
QStringList FilaPago(const Recordset& rs);
// Every row of the statement's result as `fila` makes it, on the open connection.
QVector<QStringList> LeerFilas(const QString& sentencia, QStringList (*fila)(const Recordset&));

// Adds the client (not owing) unless another holds the plate.
Cambio GrabarCliente(const DatosCliente& datos);
// True when a client other than `idCliente` holds the plate.
bool PlacaDeOtroCliente(const QString& placa, int64_t idCliente);
// Changes the client's fields (Activo untouched) unless another client holds the plate.
Cambio ModificarCliente(int64_t idCliente, const DatosCliente& datos);
// Deletes the client with its periods and their payments; the first statement is the client's.
Cambio EliminarCliente(int64_t idCliente);

// Runs `cambiar` in one transaction, kept only when it answers Hecho; closes the connection.
Cambio EnTransaccion(const std::function<Cambio()>& cambiar);
