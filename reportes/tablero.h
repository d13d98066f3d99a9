#pragma once
// The owner's figures of a period: key figures, occupancy by hour, revenue per day, entries by
// weekday and hour, and stay lengths. Each is an aggregate the database computes; nothing is
// stored. An entry belongs to the period by its entry time, an exit by its exit time.

#include "reportes/periodo.h"

#include <QDate>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

struct CifrasTablero {
    int64_t entradas = 0;
    int64_t salidas = 0;
    int64_t cobrado = 0; // as the sales summary sums it
    int64_t pagosClientes = 0;
    int64_t salidasExentos = 0;
    int64_t salidasClientes = 0;
    int64_t ticketsPerdidos = 0;
    double estanciaMediaMin = 0;
    double estanciaMedianaMin = 0;
    int64_t ocupacionMax = 0;
    QDateTime ocupacionMaxHora; // the start of the hour it happened in
};

struct OcupacionHora {
    QDateTime hora;
    int64_t vehiculos = 0;
};

struct IngresosDia {
    QDate dia;
    QMap<QString, int64_t> porTarifa; // charged, by the rate's description
    int64_t pagosClientes = 0;
};

// Stay buckets' upper bounds in minutes, the last one open.
inline constexpr std::array<int, 7> kLimitesEstancia{15, 30, 60, 120, 240, 480, 1440};
inline constexpr int kGruposEstancia = static_cast<int>(kLimitesEstancia.size()) + 1;

struct Tablero {
    PeriodoInforme periodo;
    CifrasTablero cifras;
    QVector<OcupacionHora> ocupacion;
    QVector<IngresosDia> porDia;
    QStringList tarifas; // every rate charged in the period, in order
    std::array<std::array<int64_t, 24>, 7> entradasSemana{}; // Monday first
    std::array<int64_t, kGruposEstancia> estancias{};
};

// The figures of the period, both bounds included, read at one moment on the caller's closed
// connection. Stays count in real minutes, a begun minute whole. Faults: ErrorBD.
Tablero LeerTablero(const PeriodoInforme& periodo);
// The same read step by step: `avance` hears after each step how many of the steps are done;
// its false cancels the read, which then gives nothing.
std::optional<Tablero>
LeerTableroPorPasos(const PeriodoInforme& periodo,
                    const std::function<bool(int hechos, int pasos)>& avance);

// The days from `desde` to `hasta`, whole, but ending at `ahora` when they reach past it: no one
// knows yet who will be inside in the hours to come.
PeriodoInforme DiasHastaAhora(const QDate& desde, const QDate& hasta, const QDateTime& ahora);

// The bucket of a stay of `minutos`.
int GrupoEstancia(int64_t minutos);
// "hasta 15 min", "15–30 min", …, "más de 24 h".
QString NombreGrupoEstancia(int grupo);
