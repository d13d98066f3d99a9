#pragma once
// The listing files of the clients, of the clients with their periods and payments, and of the
// exempt vehicles: a header, one line per record, an empty line and the total, every field
// followed by ";" and written unquoted, as the spreadsheets that read them expect.

#include <QString>
#include <QStringList>

inline const QString kArchivoListadoClientes = QStringLiteral("ListadoClientesCSV.txt");
inline const QString kArchivoListadoClientesFechasPago =
    QStringLiteral("ListadoClientesFechasDePagoCSV.txt");
inline const QString kArchivoListadoExentos = QStringLiteral("ListadoExentosCSV.txt");

// What the log line "Se genera el archivo: -<file>" goes on with, per button.
inline const QString kSucesoListadoClientes =
    QStringLiteral("- desde el botón Listado de Clientes CSV de Gestión de Clientes");
inline const QString kSucesoListadoClientesFechasPago = QStringLiteral(
    "- desde el botón Listado de Clientes y Fechas de Pago CSV, de Gestión de Clientes");
inline const QString kSucesoListadoExentos =
    QStringLiteral("- desde el botón Listado de Exentos CSV de Gestión de Exentos");

// Each reads its table (opening and closing the connection) and gives the file's lines.
QStringList LineasListadoClientes();
// One line per payment, per period without payments and per client without periods; dates as
// dd/mm/yyyy; each client counted once in the total.
QStringList LineasListadoClientesFechasPago();
QStringList LineasListadoExentos();

// Writes the file, logs it and shows the closing box. When it cannot be written the attendant
// has been told why, nothing claims it was generated, and the answer is false.
bool GenerarListado(const QString& archivo, const QStringList& lineas, const QString& suceso);
