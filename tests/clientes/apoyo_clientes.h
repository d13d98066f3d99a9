#pragma once
// A fresh database with an administrator's session, the listing files and the log read back.

#include "principal/registros.h"
#include "principal/sucesos.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"

class PruebaClientes : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        crearBaseDatos();
        SesionActual.NivelAcceso = QStringLiteral("1");
    }
    QByteArray archivo(const QString& nombre) const {
        return LeerArchivo(carpetas.programa + "/" + nombre);
    }
    // The log's lines joined by '|', without the date, time and station that begin each event.
    QString sucesos() const {
        return lineasSucesos().join('|').remove(LineaSuceso(reloj.momento, QString()));
    }
};
