#pragma once
// The four services through which windows reach the user, the clock, the printer and the
// program's folders, so tests can replace each of them.

#include <QDateTime>
#include <QFlags>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

// What a box shows and offers; the values are those of Qt's message box, so the real
// service passes them straight on.
enum class Icono { Ninguno = 0, Informacion = 1, Exclamacion = 2, Critico = 3 };
enum class Boton {
    Ninguno = 0,
    Aceptar = 0x00000400,
    Si = 0x00004000,
    No = 0x00010000,
    Cancelar = 0x00400000
};
Q_DECLARE_FLAGS(Botones, Boton)
Q_DECLARE_OPERATORS_FOR_FLAGS(Botones)

class Dialogos {
public:
    virtual ~Dialogos() = default;
    // A modal message box; returns the button pressed.
    virtual Boton mensaje(const QString& texto, const QString& titulo, Icono icono,
                          Botones botones = Boton::Aceptar,
                          Boton predeterminado = Boton::Ninguno) = 0;
    // A modal input box; Cancel gives an empty text, as the handlers expect.
    virtual QString entrada(const QString& texto, const QString& titulo,
                            const QString& predeterminado = QString()) = 0;
    // Lines too many for a box, in a modal window that fits the screen and scrolls them, with
    // "Aceptar" and, when `imprimir` is given, "Imprimir". Without a window, a box.
    virtual void listado(const QStringList& lineas, const QString& titulo,
                         const std::function<void()>& imprimir = {});
};

class Reloj {
public:
    virtual ~Reloj() = default;
    virtual QDateTime ahora() const = 0;
};

struct LineaImpresion {
    QString texto;
    QString fuente = QStringLiteral("Times New Roman");
    double tamano = 11;
    bool negrita = false;
    // Digits drawn as a Code 128 barcode in place of the text, when not empty.
    QString barras{};
};

struct TrabajoImpresion {
    QVector<LineaImpresion> lineas;
    // Cash was taken: a printer with a cash drawer opens it.
    bool cajon = false;
    // Heads a reprint with "COPIA" in large bold letters and the moment it was reprinted, so it
    // cannot pass as a second original; the original's lines follow unchanged.
    void marcarCopia(const QDateTime& reimpresion);
};

class Impresora {
public:
    virtual ~Impresora() = default;
    // One job is one document. True when the printer took it or it was kept in its stead (as
    // a PDF); false when it is lost, so a caller with a stored copy can offer a reprint.
    virtual bool imprimir(const TrabajoImpresion& trabajo) = 0;
    // Whether the last job reached paper: false when it was kept as a PDF or lost, which the
    // cashier's shift records.
    virtual bool ultimoEnPapel() const { return true; }
    // Cash was taken with no ticket printed (a client's payment): a printer with a cash drawer
    // opens it.
    virtual void abrirCajonCobro() {}
};

class Carpetas {
public:
    virtual ~Carpetas() = default;
    // Where the program writes "beside itself": listing files, ticket PDFs, the start-up log.
    virtual QString carpetaPrograma() const = 0;
    // The station's folder, where vialtor.cfg lies.
    virtual QString carpetaTrabajo() const = 0;
    // Where its pictures (ico/, img/) lie.
    virtual QString carpetaRecursos() const { return carpetaPrograma(); }
};

// The folder of a program's pictures: its own when `ico` lies beside it (a build), else
// `instalados`, a path relative to it (the shared data folder of an installed copy).
QString CarpetaRecursos(const QString& programa, const QString& instalados);
// Whether a file can be made in `carpeta`. Tried, not read from the permissions, which root
// passes even on a read-only file system.
bool SePuedeEscribirEn(const QString& carpeta);

struct ServiciosPrincipal {
    Dialogos* dialogos = nullptr;
    Reloj* reloj = nullptr;
    Impresora* impresora = nullptr;
    Carpetas* carpetas = nullptr;
};

// The services in force; main() installs the real ones, tests their doubles.
ServiciosPrincipal& Servicios();

// The application's own title, used by boxes without a title of their own.
inline const QString TituloAplicacion = QStringLiteral("Vialtor");

// An information box with OK.
void Informar(const QString& texto, const QString& titulo = TituloAplicacion);
// An information box with Yes and No; true for Yes.
bool PreguntarSiNo(const QString& texto, const QString& titulo);
