#pragma once
// A fresh database with its settings loaded and its administrator (id 1) logged in, for the
// administration windows' tests.

#include "acceso/parqueadero.h"
#include "principal/registros.h"
#include "tests/acceso/apoyo_ventanas.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"

class PruebaAdministracion : public PruebaConBase {
protected:
    void SetUp() override {
        PruebaConBase::SetUp();
        CargarDatosParqueadero();
        SesionActual = {"admin", "Administrador", "", "", "1", 1};
    }
    // The last event logged: its message and, for a statement, its second line.
    QString ultimoSuceso() const {
        const QStringList l = lineasSucesos();
        return l.size() > 1 && !l.last().contains(';')
                   ? l[l.size() - 2].section(';', 7) + "\n" + l.last()
                   : l.last().section(';', 7);
    }
};
