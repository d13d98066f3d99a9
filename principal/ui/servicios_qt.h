#pragma once
// The real services: Qt's boxes, the system clock, the default printer, the real folders.

#include "principal/servicios.h"

#include <optional>

class DialogosQt : public Dialogos {
public:
    Boton mensaje(const QString& texto, const QString& titulo, Icono icono, Botones botones,
                  Boton predeterminado) override;
    QString entrada(const QString& texto, const QString& titulo,
                    const QString& predeterminado) override;
    void listado(const QStringList& lineas, const QString& titulo,
                 const std::function<void()>& imprimir) override;
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

// The program's own folder while it runs from a build it may write in. An installed copy (its
// pictures in the shared data folder) or one in a folder it cannot write in writes in the
// station's folder instead: /usr/bin is no place for a lot's files, even when root runs it.
class CarpetasSistema : public Carpetas {
public:
    // `programa`: the executable's folder; empty for the running program's.
    explicit CarpetasSistema(const QString& programa = QString());
    QString carpetaPrograma() const override;
    QString carpetaTrabajo() const override;
    QString carpetaRecursos() const override;

private:
    QString propia() const;
    QString programa_;
    // Tried once: a build's folder does not become read-only while it runs.
    mutable std::optional<bool> escribible_;
};

// Installs the real services for the life of the process.
void InstalarServiciosReales();
