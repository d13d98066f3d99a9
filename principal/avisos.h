#pragma once
// Notices between windows that share no state but the database.

#include <QObject>

class AvisosVentanas : public QObject {
    Q_OBJECT
signals:
    // The rates were added, changed or deleted at this station.
    void tarifasCambiadas();
    // The settings row was saved at this station (memory holds it already).
    void datosParqueaderoModificados();
};

AvisosVentanas& Avisos();
