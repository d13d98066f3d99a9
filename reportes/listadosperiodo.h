#pragma once
// The listing files of a period: the general listing of the search, the registers of clients'
// and exempt vehicles' stays, and the clients' payments. Each function runs its statements on
// the open connection and gives the file's lines; no rows give no lines.

#include "reportes/busqueda.h"

#include <QStringList>
#include <cstdint>

inline const QString kArchivoListado = QStringLiteral("ListadoCSV.txt");
inline const QString kArchivoRegistroClientes = QStringLiteral("ListadoRegistroClientesCSV.txt");
inline const QString kArchivoRegistroExentos = QStringLiteral("ListadoRegistroExentosCSV.txt");
inline const QString kArchivoPagos = QStringLiteral("ListadoPagosClientesCSV.txt");

struct ListadoPeriodo {
    QStringList lineas;
    int cantidad = 0;
    int64_t total = 0; // charged by the exits, or paid by the clients
};

ListadoPeriodo ListadoGeneral(const FiltroBusqueda& filtro);

enum class Registro { Clientes, Exentos };
// The rate filter of `filtro` is not applied: the register's own mark is.
ListadoPeriodo ListadoRegistro(const FiltroBusqueda& filtro, Registro registro);

ListadoPeriodo ListadoPagos(const PeriodoInforme& periodo, const QString& placa);

// The window's title after the general listing.
QString TituloListado(int cantidad, bool salidas, int64_t cobrado);
// The payments panel: how to open the file, then the file's own lines.
QStringList PanelPagos(const QStringList& lineasArchivo);
