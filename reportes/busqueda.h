#pragma once
// The search of the entries or exits of a period, as the reprint window and its listings run
// it, and the figures its title shows.

#include "bd/consultalista.h"
#include "reportes/periodo.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

struct FiltroBusqueda {
    PeriodoInforme periodo;
    bool salidas = false;          // Salidas, otherwise Entradas
    QString placa;                 // a part of a plate, as typed; empty for every plate
    std::optional<QString> tarifa; // the one rate description searched, when narrowed
};

// Newest first. `tabla` as written in the statement; `condicion` replaces the rate filter
// when given (the registers of clients and exempt vehicles).
QString SentenciaBusqueda(const FiltroBusqueda& filtro);
QString SentenciaPeriodo(const FiltroBusqueda& filtro, const QString& tabla,
                         const QString& condicion);

// The search as a list: newest first, the higher key first among rows of the same second.
ConsultaLista ConsultaBusqueda(const FiltroBusqueda& filtro);
// The search's exits' Cobrado summed as TotalCobrado.
QString SentenciaCobradoBusqueda(const FiltroBusqueda& filtro);

// The clients' payments dated in the period, whatever the plate or rate (connection open).
QString SentenciaTotalPagos(const PeriodoInforme& periodo);
int64_t TotalPagos(const PeriodoInforme& periodo);

QString TituloBusqueda(int cantidad, bool salidas, int64_t cobrado, int64_t pagos);

// A user of level 6 works only within today: a date picker may not leave it.
bool FechaPermitida(int nivelAcceso, const QDate& elegida, const QDate& hoy);
// SesionActual.NivelAcceso as a number.
int NivelAcceso();
