#pragma once
// Cashiers, stations and the figures of their shifts, for the shift and audit tests.

#include "tests/movimientos/apoyo_movimientos.h"
#include "turnos/turnos.h"

#include <ostream>

// Failures show texts as texts.
inline void PrintTo(const QString& texto, std::ostream* salida) {
    *salida << '"' << texto.toStdString() << '"';
}

inline void Cajero(int64_t id, const QString& usuario, const QString& estacion) {
    SesionActual.IdUsuario = id;
    SesionActual.Usuario = usuario;
    SesionActual.Nombre = usuario;
    ConfigInicio.PuntoControl = estacion;
}

inline CierreTurno CierreDe(const QString& estacion, int64_t numero) {
    AbrirConexion();
    const auto turno = TurnoDeEstacion(estacion, numero);
    const CierreTurno cierre = turno ? CalcularCierre(*turno) : CierreTurno{};
    CerrarConexion();
    EXPECT_TRUE(turno) << estacion.toStdString() << numero;
    return cierre;
}

// "exits/cash payments/cash expected" then each exception kind present as "kind:count/amount".
inline QString Cifras(const CierreTurno& c) {
    QStringList l{QStringLiteral("%1/%2").arg(c.salidas).arg(c.efectivoSalidas),
                  QStringLiteral("%1/%2").arg(c.pagos).arg(c.efectivoPagos),
                  QString::number(c.esperado())};
    for (const ExcepcionesTurno& x : c.excepciones)
        if (x.cantidad)
            l << QStringLiteral("%1:%2/%3").arg(x.tipo).arg(x.cantidad).arg(x.monto);
    return l.join(' ');
}

// Rates 1 CARRO (1.000 an hour) and 2 MOTO (400 per half hour); entries at 8:30, the clock at 10.
class PruebaTurnos : public PruebaMovimientosMotores {
protected:
    PruebaTurnos() { conTurno = false; }
    void SetUp() override {
        PruebaMovimientosMotores::SetUp();
        SembrarTarifa(1000, 60, "CARRO");
        SembrarTarifa(400, 30, "MOTO");
        Ajustar(kSinCambiosEnSalida);
        Cajero(1, "ana", "CAJA1");
    }
    Turno abrir(int64_t fondo) {
        const Cambio<Turno> c = AbrirTurno(fondo);
        EXPECT_TRUE(c.hecho());
        return c.valor;
    }
    void salirCon(const QString& placa, const QString& ajustes, const QStringList& entradas) {
        Ajustar(ajustes);
        dialogos.entradas = entradas;
        salir(placa);
        Ajustar(kSinCambiosEnSalida);
    }
};
