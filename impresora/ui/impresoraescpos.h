#pragma once
// The station's thermal printer as the program's printer. Its connection lives in a thread of
// its own, where jobs and the status read every 2 s queue one after another: a dead printer
// holds that thread, never the window. They queue outside Qt's events, because the connection
// runs its thread's events while it waits and must not start a second task inside the first.

#include "impresora/conexion.h"
#include "principal/servicios.h"

#include <QObject>
#include <QThread>
#include <QTimer>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

class QAction;
class QMenu;
class QStatusBar;

class ImpresoraEscPos : public QObject, public Impresora {
    Q_OBJECT
public:
    explicit ImpresoraEscPos(ConfigImpresora config);
    ~ImpresoraEscPos() override;
    // A job the printer refuses or does not confirm is kept as a PDF, and a box says why.
    bool imprimir(const TrabajoImpresion& trabajo) override;
    bool ultimoEnPapel() const override { return enPapel_; }
    // With `cajon` set; a box says so when the printer could not take the pulse.
    void abrirCajonCobro() override;
    // Opens the cash drawer when the printer can take it.
    EnvioImpresora abrirCajon();
    // A short test ticket; its answer names the state read.
    EnvioImpresora probar();
    // Whether a cash drawer hangs from it.
    bool cajon() const { return config_.cajon; }

signals:
    void estadoLeido(EstadoImpresora estado);

private:
    static constexpr int kSondeoMs = 2000;
    using Tarea = std::function<void(ConexionImpresora&)>;
    // Queues `tarea` for the printer's thread.
    void enHilo(Tarea tarea);
    // The printer's thread: its tasks, one after another, until the printer ends.
    void atender();
    void sondear();
    // Sends `bytes` after the printer's state, waiting for its answer with the window painting.
    EnvioImpresora enviar(const QByteArray& bytes);
    // Keeps a job that did not reach paper as a PDF and tells the attendant why.
    bool guardar(const TrabajoImpresion& trabajo, const EnvioImpresora& envio);

    ConfigImpresora config_;
    std::mutex cerrojo_;
    std::condition_variable aviso_;
    std::deque<Tarea> tareas_;
    bool terminar_ = false;
    std::unique_ptr<QThread> hilo_;
    QTimer sondeo_;
    int pendientes_ = 0; // jobs and status reads under way: no read is queued behind them
    bool enPapel_ = true;
};

// The printer set beside the station's vialtor.cfg in `carpeta`; none without the file, and
// none, after a box naming the damaged field, when its line cannot be used.
std::unique_ptr<ImpresoraEscPos> ElegirImpresora(const QString& carpeta);

// "Abrir cajón" in `menu` before `antes`, when a drawer hangs from the printer and the session
// is of level 1 or 2: asks why, writes the audit row, then opens the drawer.
void AgregarAbrirCajon(ImpresoraEscPos& impresora, QMenu* menu, QAction* antes);
// What that action does.
void AbrirCajon(ImpresoraEscPos& impresora);

// Shows the printer's state in `barra` from now on: "Impresora: lista"…
void MostrarEstadoImpresora(ImpresoraEscPos& impresora, QStatusBar* barra);
