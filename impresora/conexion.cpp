#include "impresora/conexion.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSerialPort>
#include <QTcpSocket>
#include <QThread>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The longest the event loop is left alone while waiting.
constexpr int kPasoMs = 10;

std::unique_ptr<QIODevice> canalRed(const ConfigImpresora& c) {
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(c.direccion, static_cast<quint16>(c.puertoOVelocidad));
    return socket;
}

std::unique_ptr<QIODevice> canalSerie(const ConfigImpresora& c) {
    auto puerto = std::make_unique<QSerialPort>(c.direccion);
    puerto->setBaudRate(c.puertoOVelocidad);
    if (!puerto->open(QIODevice::ReadWrite))
        return nullptr;
    return puerto;
}

// A device file opened without blocking: an unplugged printer must not hold a read or a write.
std::unique_ptr<QIODevice> canalDispositivo(const ConfigImpresora& c) {
    const int fd = ::open(QFile::encodeName(c.direccion).constData(), O_RDWR | O_NONBLOCK);
    if (fd < 0)
        return nullptr;
    auto archivo = std::make_unique<QFile>();
    if (!archivo->open(fd, QIODevice::ReadWrite | QIODevice::Unbuffered,
                       QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return archivo;
}

bool conectado(QIODevice* canal) {
    const auto* socket = qobject_cast<QTcpSocket*>(canal);
    return !socket || socket->state() == QAbstractSocket::ConnectedState;
}

// Still looking the host up or connecting: a refused connection has ended, with no need to wait.
bool conectando(QIODevice* canal) {
    const auto* socket = qobject_cast<QTcpSocket*>(canal);
    return socket && (socket->state() == QAbstractSocket::HostLookupState ||
                      socket->state() == QAbstractSocket::ConnectingState);
}

} // namespace

bool ConexionImpresora::esperar(const std::function<bool()>& listo, int esperaMs) {
    QElapsedTimer reloj;
    reloj.start();
    while (!listo()) {
        if (reloj.elapsed() >= esperaMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, kPasoMs);
        QThread::msleep(1);
    }
    return true;
}

bool ConexionImpresora::abrir(int esperaMs) {
    if (canal_ && canal_->isOpen() && conectado(canal_.get()))
        return true;
    switch (config_.clase) {
    case ClaseImpresora::Red:
        canal_ = canalRed(config_);
        break;
    case ClaseImpresora::Serie:
        canal_ = canalSerie(config_);
        break;
    case ClaseImpresora::Usb:
        canal_ = canalDispositivo(config_);
        break;
    }
    return canal_ && esperar([this] { return !conectando(canal_.get()); }, esperaMs) &&
           conectado(canal_.get());
}

bool ConexionImpresora::escribir(const QByteArray& bytes, int esperaMs) {
    qsizetype escritos = 0;
    return esperar(
        [&] {
            const qint64 n = canal_->write(bytes.constData() + escritos, bytes.size() - escritos);
            escritos += n > 0 ? n : 0;
            return escritos == bytes.size() && canal_->bytesToWrite() == 0;
        },
        esperaMs);
}

QByteArray ConexionImpresora::preguntarEstado(int esperaMs) {
    canal_->readAll();
    QByteArray respuestas;
    if (!escribir(PreguntasEstado(), esperaMs))
        return respuestas;
    esperar(
        [&] {
            respuestas += canal_->read(3 - respuestas.size());
            return respuestas.size() >= 3;
        },
        esperaMs);
    return respuestas;
}

EstadoImpresora ConexionImpresora::estado(int esperaMs) {
    QElapsedTimer reloj;
    reloj.start();
    if (!abrir(esperaMs))
        return EstadoImpresora::SinRespuesta;
    const EstadoImpresora e =
        LeerEstado(preguntarEstado(qMax<int>(0, esperaMs - static_cast<int>(reloj.elapsed()))));
    if (e == EstadoImpresora::SinRespuesta)
        canal_.reset();
    return e;
}

EnvioImpresora ConexionImpresora::imprimir(const QByteArray& bytes) {
    EnvioImpresora envio;
    envio.estado = estado();
    if (!PuedeImprimir(envio.estado))
        return envio;
    envio.enviado = escribir(bytes, kEsperaConfirmacionMs);
    envio.confirmado = envio.enviado && LeerEstado(preguntarEstado(kEsperaConfirmacionMs)) !=
                                            EstadoImpresora::SinRespuesta;
    if (!envio.confirmado)
        canal_.reset();
    return envio;
}
