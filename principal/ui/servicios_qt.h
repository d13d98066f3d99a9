#pragma once
// The real services: Qt's boxes, the system clock, the default printer, the real folders.

#include "principal/servicios.h"

class DialogosQt : public Dialogos {
public:
    Boton mensaje(const QString& texto, const QString& titulo, Icono icono, Botones botones,
                  Boton predeterminado) override;
    QString entrada(const QString& texto, const QString& titulo,
                    const QString& predeterminado) override;
};

class RelojSistema : public Reloj {
public:
    QDateTime ahora() const override { return QDateTime::currentDateTime(); }
};

// The default printer; when it does not take a job, one PDF per job in "impresiones" beside
// the program, so no ticket is lost.
class ImpresoraQt : public Impresora {
public:
    bool imprimir(const TrabajoImpresion& trabajo) override;
    bool ultimoEnPapel() const override { return enPapel_; }

private:
    bool enPapel_ = true;
};

class CarpetasSistema : public Carpetas {
public:
    QString carpetaPrograma() const override;
    QString carpetaTrabajo() const override;
};

// Installs the real services for the life of the process.
void InstalarServiciosReales();
