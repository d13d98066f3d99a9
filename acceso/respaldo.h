#pragma once
// The automatic backup and the database-size monitor that the main window's timer drives: the
// schedule file vialtor_respaldos.cfg in the working folder, copies in the respaldos folder
// beside the database, and the size warnings.

#include "principal/servicios.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVector>
#include <optional>

class QEvent;
class QThread;

// Seconds counted since the last backup, and the seconds between backups.
struct Calendario {
    double transcurridos = 0;
    double intervalo = 0;
};

// What a missing or unreadable schedule file is replaced by: a copy a day.
constexpr double kIntervaloPredeterminado = 86400;

QString RutaCalendario();
enum class EstadoCalendario { Leido, NoExiste, Danado };
struct LecturaCalendario {
    EstadoCalendario estado = EstadoCalendario::NoExiste;
    Calendario calendario;
};
// The two numbers of the file, read leniently. Damaged: the file cannot be read, holds fewer
// than two items, or an item that does not start with a number (an emptied file among them).
LecturaCalendario LeerCalendario(const QString& ruta);
// Each number followed by CRLF, written whole or not at all; the reason on failure.
bool EscribirCalendario(const QString& ruta, const Calendario& calendario,
                        QString* error = nullptr);
// The next schedule after a tick of `segundos` that finds no backup due.
Calendario Avanzar(const Calendario& calendario, double segundos);
bool Vencido(const Calendario& calendario);

// "vialtor dd-mm-yyyy hh-mm-ss-PUNTO.mdb"
QString NombreRespaldo(const QDateTime& momento, const QString& puntoControl);
// The interval in hours, two decimals at most, with the Spanish decimal comma: 900 is "0,25".
QString HorasIntervalo(double segundos);

enum class AvisoTamano { Ninguno, Revisar, Urgente };
// The band [desde, hasta] is tested first: a size inside it never gets the urgent warning.
AvisoTamano EvaluarTamano(qint64 tamano, const QString& desde, const QString& hasta,
                          const QString& urgente);

// A consistent copy of a database that other connections may be writing: SQLite's online
// backup into `destino`.tmp, a few pages per step so writers elsewhere wait for one step at
// most, then an integrity check and the rename. Empty on success, else the reason. Touches no
// service, so it may run on any thread.
QString CopiarBaseDatos(const QString& origen, const QString& destino);

// The same from a server: pg_dump --format=custom into `destino`.tmp, the dump's table of
// contents read back with pg_restore, then the rename. Empty on success, else the reason.
QString CopiarBaseDatosServidor(const QString& conexion, const QString& destino);

// What a copy of this station cut off halfway (the program killed meanwhile) left in `carpeta`.
void BorrarTemporales(const QString& carpeta, const QString& puntoControl);

// The two jobs of the timer's tick. The copy runs on a worker thread with its own connections,
// so the window keeps answering while it lasts; its outcome is logged and shown when it ends.
class MonitorRespaldo : public QObject {
    Q_OBJECT
public:
    // Its boxes wait this long after the attendant's last key, so none takes a key typed for
    // another window: they are postponed to a later tick.
    static constexpr int kPausaTecladoSegundos = 5;

    explicit MonitorRespaldo(QObject* padre = nullptr);
    ~MonitorRespaldo() override;
    // `segundosTick`: the length of the tick that just ended.
    void tick(int segundosTick);
    // The same checked copy, asked for by hand; its outcome is told and logged when it ends. The
    // schedule is left as it is. False, and the attendant told, while another copy is under way.
    bool respaldarAhora();
    bool copiando() const { return hilo_ != nullptr; }

signals:
    void copiaTerminada(bool correcta);

protected:
    // Notes the time of every key pressed anywhere in the program.
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    struct AvisoPendiente {
        bool* abierta;
        QString texto;
        Icono icono;
    };
    bool tecleando() const;
    void respaldar(int segundosTick);
    void iniciarCopia(bool manual);
    void alTerminarCopia();
    void avisarCopiaManual(bool correcta);
    void vigilarTamano();
    void guardar(const Calendario& calendario);
    std::optional<Calendario> calendarioVigente();
    void mostrarSinRepetir(bool& abierta, const QString& texto, Icono icono);

    QThread* hilo_ = nullptr;
    QString errorCopia_;
    double intervaloCopia_ = 0;
    bool copiaManual_ = false;
    QString destinoCopia_;
    // The schedule last read or written whole: what a damaged file is rewritten with.
    std::optional<Calendario> ultimoBueno_;
    bool calendarioAvisado_ = false;
    bool escrituraAvisada_ = false;
    bool avisoTamanoAbierto_ = false;
    bool avisoCopiaAbierto_ = false;
    bool avisoCalendarioAbierto_ = false;
    QDateTime ultimaTecla_;
    QVector<AvisoPendiente> pendientes_;
};
