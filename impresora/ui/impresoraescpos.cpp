#include "impresora/ui/impresoraescpos.h"

#include "bd/conversiones.h"
#include "impresora/escpos.h"
#include "principal/manejadores.h"
#include "principal/registros.h"
#include "principal/sucesos.h"
#include "principal/ui/impresion.h"
#include "principal/ui/ventanas.h"
#include "turnos/rastroauditoria.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <future>

namespace {

constexpr int kPasoMs = 10;

// Why a job did not reach paper, as the log and the attendant read it.
QString motivoFallo(const EnvioImpresora& envio) {
    if (envio.enviado)
        return QStringLiteral("la impresora no confirmó el ticket");
    switch (envio.estado) {
    case EstadoImpresora::SinPapel:
        return QStringLiteral("la impresora no tiene papel");
    case EstadoImpresora::TapaAbierta:
        return QStringLiteral("la impresora tiene la tapa abierta");
    case EstadoImpresora::FueraDeLinea:
        return QStringLiteral("la impresora está fuera de línea");
    default:
        return QStringLiteral("la impresora no responde");
    }
}

} // namespace

ImpresoraEscPos::ImpresoraEscPos(ConfigImpresora config)
    : config_(std::move(config)), hilo_(QThread::create([this] { atender(); })) {
    hilo_->start();
    sondeo_.setInterval(kSondeoMs);
    Conectar(&sondeo_, &QTimer::timeout, this, &ImpresoraEscPos::sondear);
    sondeo_.start();
    sondear();
}

ImpresoraEscPos::~ImpresoraEscPos() {
    {
        std::lock_guard<std::mutex> cerrado(cerrojo_);
        terminar_ = true;
    }
    aviso_.notify_one();
    hilo_->wait();
}

void ImpresoraEscPos::enHilo(Tarea tarea) {
    {
        std::lock_guard<std::mutex> cerrado(cerrojo_);
        tareas_.push_back(std::move(tarea));
    }
    aviso_.notify_one();
}

void ImpresoraEscPos::atender() {
    // Made and ended in this thread, which its socket belongs to.
    ConexionImpresora conexion(config_);
    for (;;) {
        Tarea tarea;
        {
            std::unique_lock<std::mutex> cerrado(cerrojo_);
            aviso_.wait(cerrado, [this] { return terminar_ || !tareas_.empty(); });
            if (terminar_)
                return;
            tarea = std::move(tareas_.front());
            tareas_.pop_front();
        }
        tarea(conexion);
    }
}

void ImpresoraEscPos::sondear() {
    if (pendientes_ > 0)
        return;
    ++pendientes_;
    enHilo([this](ConexionImpresora& conexion) {
        const EstadoImpresora estado = conexion.estado();
        QMetaObject::invokeMethod(this, [this, estado] {
            --pendientes_;
            emit estadoLeido(estado);
        });
    });
}

EnvioImpresora ImpresoraEscPos::enviar(const QByteArray& bytes) {
    auto promesa = std::make_shared<std::promise<EnvioImpresora>>();
    std::future<EnvioImpresora> futuro = promesa->get_future();
    ++pendientes_;
    enHilo([promesa, bytes](ConexionImpresora& conexion) {
        promesa->set_value(conexion.imprimir(bytes));
    });
    // The window keeps painting; keys wait for the answer, so no handler runs inside this one.
    while (futuro.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, kPasoMs);
    --pendientes_;
    const EnvioImpresora envio = futuro.get();
    emit estadoLeido(envio.estado);
    return envio;
}

EnvioImpresora ImpresoraEscPos::abrirCajon() {
    return enviar(QByteArray("\x1b@", 2) + PulsoCajon());
}

EnvioImpresora ImpresoraEscPos::probar() {
    const TrabajoImpresion prueba{
        {{QStringLiteral("Prueba de impresora")}, {QStringLiteral("ñÑ€¿¡áéíóú $")}}};
    return enviar(CodificarEscPos(prueba, config_));
}

bool ImpresoraEscPos::imprimir(const TrabajoImpresion& trabajo) {
    const EnvioImpresora envio = enviar(CodificarEscPos(trabajo, config_));
    enPapel_ = envio.confirmado;
    if (!enPapel_)
        return guardar(trabajo, envio);
    const bool poco = envio.estado == EstadoImpresora::PocoPapel;
    const QString aviso = QStringLiteral("La impresora tiene poco papel: cambie el rollo pronto");
    MostrarEnBarraEstado(poco ? aviso : QString());
    if (poco)
        Registrar(aviso);
    return true;
}

bool ImpresoraEscPos::guardar(const TrabajoImpresion& trabajo, const EnvioImpresora& envio) {
    const QString motivo = motivoFallo(envio);
    QString archivo;
    if (!GuardarSinImprimir(trabajo, motivo, &archivo))
        return false;
    Servicios().dialogos->mensaje(motivo.left(1).toUpper() + motivo.mid(1) +
                                      QStringLiteral(": el ticket se guardó en ") + archivo,
                                  TituloAplicacion, Icono::Exclamacion);
    return true;
}

std::unique_ptr<ImpresoraEscPos> ElegirImpresora(const QString& carpeta) {
    const LecturaImpresora lectura = LeerConfigImpresora(carpeta);
    if (!lectura.error.isEmpty())
        Servicios().dialogos->mensaje(lectura.error, TituloAplicacion, Icono::Exclamacion);
    if (!lectura.config)
        return nullptr;
    return std::make_unique<ImpresoraEscPos>(*lectura.config);
}

namespace {

const QString kTituloCajon = QStringLiteral("Abrir cajón");

void avisarCajon(const EnvioImpresora& envio) {
    if (envio.enviado)
        return;
    const QString causa = motivoFallo(envio);
    Servicios().dialogos->mensaje(causa.left(1).toUpper() + causa.mid(1) +
                                      QStringLiteral(": el cajón no se abrió"),
                                  kTituloCajon, Icono::Exclamacion);
}

} // namespace

void ImpresoraEscPos::abrirCajonCobro() {
    if (config_.cajon)
        avisarCajon(abrirCajon());
}

void AbrirCajon(ImpresoraEscPos& impresora) {
    const QString motivo =
        Servicios()
            .dialogos
            ->entrada(QStringLiteral("¿Por qué abre el cajón sin una venta?"), kTituloCajon)
            .trimmed();
    if (motivo.isEmpty() || !AuditarSolo(kTituloCajon, motivo).hecho())
        return;
    avisarCajon(impresora.abrirCajon());
}

void AgregarAbrirCajon(ImpresoraEscPos& impresora, QMenu* menu, QAction* antes) {
    // Opening the drawer without a sale is for administrators and supervisors.
    const int nivel = static_cast<int>(ValorNumerico(SesionActual.NivelAcceso));
    if (!impresora.cajon() || (nivel != 1 && nivel != 2))
        return;
    auto* accion = new QAction(QStringLiteral("Abrir ca&jón"), menu);
    menu->insertAction(antes, accion);
    accion->setObjectName(QStringLiteral("mnuAbrirCajon"));
    QObject::connect(accion, &QAction::triggered, &impresora,
                     [&impresora] { EjecutarProtegido([&] { AbrirCajon(impresora); }); });
}

void MostrarEstadoImpresora(ImpresoraEscPos& impresora, QStatusBar* barra) {
    auto* etiqueta = new QLabel(QStringLiteral("Impresora: …"), barra);
    etiqueta->setObjectName(QStringLiteral("lblImpresora"));
    barra->addPermanentWidget(etiqueta);
    QObject::connect(&impresora, &ImpresoraEscPos::estadoLeido, etiqueta,
                     [etiqueta](EstadoImpresora estado) {
                         EjecutarProtegido([&] {
                             etiqueta->setText(QStringLiteral("Impresora: ") + TextoEstado(estado));
                         });
                     });
}
