#pragma once
// Test doubles of the four services and a fixture with a fresh data folder per test.

#include "principal/servicios.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVector>
#include <ctime>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <utility>

struct CajaMostrada {
    QString texto;
    QString titulo;
    Icono icono = Icono::Ninguno;
    Botones botones;
    bool esEntrada = false;
    // A window of lines' "Imprimir", when it offered one.
    std::function<void()> imprimir{};
};

// Answers boxes from a script and records every box shown.
class DialogosGuion : public Dialogos {
public:
    Boton mensaje(const QString& texto, const QString& titulo, Icono icono, Botones botones,
                  Boton predeterminado) override;
    QString entrada(const QString& texto, const QString& titulo,
                    const QString& predeterminado) override;
    void listado(const QStringList& lineas, const QString& titulo,
                 const std::function<void()>& imprimir) override;

    // Answers used in order; when they run out, boxes answer their default (or first) button
    // and input boxes their default text.
    QVector<Boton> respuestas;
    QStringList entradas;
    QVector<CajaMostrada> cajas;
    QStringList textos() const;
};

// Runs `gancho` once, as the box titled `titulo` is about to be answered: another station, or
// the clock, moving on while this one's attendant reads it.
class DialogosConGancho : public DialogosGuion {
public:
    explicit DialogosConGancho(QString titulo) : titulo_(std::move(titulo)) {}
    Boton mensaje(const QString& texto, const QString& titulo, Icono icono, Botones botones,
                  Boton predeterminado) override {
        if (titulo == titulo_ && gancho)
            std::exchange(gancho, nullptr)();
        return DialogosGuion::mensaje(texto, titulo, icono, botones, predeterminado);
    }
    std::function<void()> gancho;

private:
    QString titulo_;
};

class RelojFijo : public Reloj {
public:
    QDateTime ahora() const override { return momento; }
    void avanzar(int segundos) { momento = momento.addSecs(segundos); }
    QDateTime momento{QDate(2026, 12, 6), QTime(10, 0, 0)};
};

class ImpresoraGrabadora : public Impresora {
public:
    // A failing printer keeps nothing, as when neither the printer nor the PDF took the job.
    bool imprimir(const TrabajoImpresion& trabajo) override {
        if (!falla)
            trabajos.append(trabajo);
        return !falla;
    }
    bool ultimoEnPapel() const override { return !falla && !enPdf; }
    void abrirCajonCobro() override { ++cajones; }
    bool falla = false;
    int cajones = 0;
    // Jobs taken as the real printer keeps them when no printer takes them: as PDFs.
    bool enPdf = false;
    QVector<TrabajoImpresion> trabajos;
    // The texts of one job's lines; a barcode reads "[Code 128: digits]".
    QStringList textos(int trabajo) const;
};

class CarpetasTemporales : public Carpetas {
public:
    QString carpetaPrograma() const override { return programa; }
    QString carpetaTrabajo() const override { return trabajo; }
    QString programa;
    QString trabajo;
};

// Each test: empty records, scripted services, a program folder and a working folder.
// Call crearBaseDatos() for a new database in the program folder, or on the test server when
// `servidor` is set.
class PruebaVialtor : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void crearBaseDatos();
    // The lines of today's event log (control point as configured).
    QStringList lineasSucesos() const;
    // Whole log messages: a line not starting with date, time and station continues the one
    // above it.
    QStringList mensajes() const;
    // The last whole message; an empty log fails the test instead of crashing it.
    QString ultimoMensaje() const;
    bool registrado(const QString& mensaje) const { return mensajes().contains(mensaje); }
    // The texts of the boxes shown, joined by '|'.
    QString textos() const { return dialogos.textos().join('|'); }

    QTemporaryDir carpeta;
    DialogosGuion dialogos;
    RelojFijo reloj;
    ImpresoraGrabadora impresora;
    CarpetasTemporales carpetas;
    bool servidor = false;
};

// The same, with a new database made before each test.
class PruebaConBase : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        crearBaseDatos();
    }
};

enum class Motor { Sqlite, Servidor };

// `Base`'s tests once on the embedded file and once on a PostgreSQL server.
template <class Base>
class EnAmbosMotores : public Base, public ::testing::WithParamInterface<Motor> {
protected:
    void SetUp() override {
        this->servidor = this->GetParam() == Motor::Servidor;
        Base::SetUp();
    }
};
using PruebaMotores = EnAmbosMotores<PruebaVialtor>;

#define VIALTOR_EN_AMBOS_MOTORES(Fixture)                                                          \
    INSTANTIATE_TEST_SUITE_P(, Fixture, ::testing::Values(Motor::Sqlite, Motor::Servidor),         \
                             [](const ::testing::TestParamInfo<Motor>& i) {                        \
                                 return std::string(i.param == Motor::Sqlite ? "Sqlite"            \
                                                                             : "Servidor");        \
                             })

// A file's bytes; empty when it cannot be read.
QByteArray LeerArchivo(const QString& ruta);
// A file's permission bits (0600…); -1 when it is not there.
int ModoArchivo(const QString& ruta);

// While it lives, the process may not make a file larger than `bytes`: a write beyond is cut
// short, as on a full disk.
class LimiteArchivo {
public:
    explicit LimiteArchivo(rlim_t bytes);
    ~LimiteArchivo();

private:
    rlimit previo_{};
    void (*senalPrevia_)(int) = nullptr;
};

// While it lives, local times are read in a zone with summer time, whatever the machine's: Madrid's
// clocks go back from 03:00 to 02:00 on Sunday 25 October 2026.
struct ZonaConVerano {
    ZonaConVerano() { qputenv("TZ", "Europe/Madrid"), tzset(); }
    ~ZonaConVerano() { qputenv("TZ", previa), tzset(); }
    QByteArray previa = qgetenv("TZ");
};
