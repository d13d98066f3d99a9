#pragma once
// What an ESC/POS printer makes of the bytes it receives, for the printer that stands in for a
// real one in tests and installations: the rows it prints, the drawer, the cut.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

struct RenglonImpreso {
    enum class Clase { Texto, Code128, Imagen } clase = Clase::Texto;
    QString texto; // the text, or the barcode's data
    bool negrita = false;
    bool dobleAlto = false;
    int modulo = 0; // dots per module of a barcode; bytes per row of an image
    int alto = 0;   // dots of a barcode or an image
    QByteArray puntos{};
};

struct TrabajoRecibido {
    int pagina = 0; // code page chosen with ESC t
    QVector<RenglonImpreso> renglones;
    bool cajon = false;
    bool corte = false;
    // One line per row and event: "[negrita] TEXT", "[Code 128: digits]", "[cajón]", "[corte]".
    QStringList transcripcion() const;
};

// Reads a stream of bytes as they come. A job ends at the cut, at a status request, at the next
// reset, or when the stream ends.
class LectorEscPos {
public:
    // DLE EOT n: a printer answers at once, between jobs or inside one.
    std::function<void(int n)> alPedirEstado;
    std::function<void(const TrabajoRecibido&)> alTerminarTrabajo;

    void recibir(const QByteArray& bytes);
    void cerrar();

private:
    // The command at `i`: how many bytes it takes, 0 while it is not whole.
    qsizetype leerComando(qsizetype i);
    qsizetype leerEsc(qsizetype i);
    qsizetype leerGs(qsizetype i);
    qsizetype leerCode128(qsizetype i);
    qsizetype leerImagen(qsizetype i);
    void terminarLinea();
    // Text not ended by a line feed, before a barcode, an image or the end of the job.
    void terminarTextoSuelto();
    void terminarTrabajo();

    QByteArray pendiente_;
    QByteArray linea_;
    TrabajoRecibido trabajo_;
    bool empezado_ = false;
    int modo_ = 0;
    int modulo_ = 3;
    int altoBarras_ = 162;
};
