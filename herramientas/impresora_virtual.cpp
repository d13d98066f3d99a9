// vialtor-impresora-virtual: an ESC/POS printer on 127.0.0.1 that answers its status as a real
// one would and writes each job it receives as text (and, with --png, as a picture), so a
// station can be tried, and tested, without a printer.

#include "impresora/estado.h"
#include "impresora/lector.h"
#include "principal/code128.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextStream>
#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>

namespace {

const char* const kUso = "Uso: vialtor-impresora-virtual [--puerto 9100] "
                         "[--estado listo|poco-papel|sin-papel|tapa|mudo|sin-confirmar] "
                         "[--png CARPETA]";

// An 80 mm roll at 203 dots per inch, 72 mm of it printed; font A is 12 by 24 dots.
constexpr int kAnchoPapel = 640;
constexpr int kMargen = 32;
constexpr int kAltoLetra = 24;

struct Opciones {
    quint16 puerto = 9100;
    EstadoImpresora estado = EstadoImpresora::Lista;
    // Ready, but silent on a connection once a job came through it: the job is never confirmed.
    bool sinConfirmar = false;
    QString carpetaPng;
};

std::optional<EstadoImpresora> leerEstado(const QString& nombre) {
    const std::pair<const char*, EstadoImpresora> estados[] = {
        {"listo", EstadoImpresora::Lista},        {"poco-papel", EstadoImpresora::PocoPapel},
        {"sin-papel", EstadoImpresora::SinPapel}, {"tapa", EstadoImpresora::TapaAbierta},
        {"mudo", EstadoImpresora::SinRespuesta},  {"sin-confirmar", EstadoImpresora::Lista},
    };
    for (const auto& [texto, estado] : estados)
        if (nombre == QLatin1String(texto))
            return estado;
    return std::nullopt;
}

std::optional<Opciones> leerOpciones(const QStringList& argumentos) {
    Opciones o;
    for (int i = 1; i < argumentos.size(); i += 2) {
        const QString& opcion = argumentos[i];
        if (i + 1 >= argumentos.size())
            return std::nullopt;
        const QString& valor = argumentos[i + 1];
        bool ok = true;
        if (opcion == QLatin1String("--puerto")) {
            const uint puerto = valor.toUInt(&ok);
            ok = ok && puerto <= 65535;
            o.puerto = static_cast<quint16>(puerto);
        } else if (opcion == QLatin1String("--estado")) {
            const std::optional<EstadoImpresora> estado = leerEstado(valor);
            ok = estado.has_value();
            o.estado = estado.value_or(EstadoImpresora::Lista);
            o.sinConfirmar = valor == QLatin1String("sin-confirmar");
        } else if (opcion == QLatin1String("--png")) {
            o.carpetaPng = valor;
        } else {
            ok = false;
        }
        if (!ok)
            return std::nullopt;
    }
    return o;
}

// Whether `bytes` are status questions (DLE EOT n) and nothing else.
bool soloPreguntas(const QByteArray& bytes) {
    if (bytes.size() % 3 != 0)
        return false;
    for (qsizetype i = 0; i < bytes.size(); i += 3)
        if (bytes.mid(i, 2) != QByteArray("\x10\x04", 2))
            return false;
    return true;
}

int altoRenglon(const RenglonImpreso& r) {
    if (r.clase != RenglonImpreso::Clase::Texto)
        return r.alto;
    return r.dobleAlto ? 2 * kAltoLetra : kAltoLetra;
}

void dibujarTexto(QPainter& pintor, const RenglonImpreso& r, int y) {
    QFont fuente(QStringLiteral("Liberation Mono"));
    fuente.setPixelSize(20);
    fuente.setBold(r.negrita);
    pintor.save();
    pintor.setFont(fuente);
    pintor.translate(kMargen, y);
    if (r.dobleAlto)
        pintor.scale(1, 2);
    pintor.drawText(QRect(0, 0, kAnchoPapel - 2 * kMargen, kAltoLetra),
                    Qt::AlignLeft | Qt::AlignVCenter, r.texto);
    pintor.restore();
}

// The bars as the printer draws them from the data: encoded by ZXing, module by module.
void dibujarBarras(QPainter& pintor, const RenglonImpreso& r, int y) {
    const std::vector<bool> modulos = ModulosCode128(r.texto);
    for (size_t i = 0; i < modulos.size(); ++i)
        if (modulos[i])
            pintor.fillRect(kMargen + static_cast<int>(i) * r.modulo, y, r.modulo, r.alto,
                            Qt::black);
}

void dibujarImagen(QPainter& pintor, const RenglonImpreso& r, int y) {
    for (int fila = 0; fila < r.alto; ++fila)
        for (int x = 0; x < r.modulo * 8; ++x)
            if (static_cast<uchar>(r.puntos[fila * r.modulo + x / 8]) & (0x80 >> (x % 8)))
                pintor.fillRect(kMargen + x, y + fila, 1, 1, Qt::black);
}

QImage dibujar(const TrabajoRecibido& trabajo) {
    int alto = 2 * kMargen;
    for (const RenglonImpreso& r : trabajo.renglones)
        alto += altoRenglon(r);
    QImage imagen(kAnchoPapel, alto, QImage::Format_Grayscale8);
    imagen.fill(Qt::white);
    QPainter pintor(&imagen);
    int y = kMargen;
    for (const RenglonImpreso& r : trabajo.renglones) {
        if (r.clase == RenglonImpreso::Clase::Code128)
            dibujarBarras(pintor, r, y);
        else if (r.clase == RenglonImpreso::Clase::Imagen)
            dibujarImagen(pintor, r, y);
        else
            dibujarTexto(pintor, r, y);
        y += altoRenglon(r);
    }
    return imagen;
}

class ImpresoraVirtual : public QObject {
public:
    explicit ImpresoraVirtual(Opciones opciones) : opciones_(std::move(opciones)) {
        connect(&servidor_, &QTcpServer::newConnection, this, &ImpresoraVirtual::conexiones);
    }
    bool escuchar() { return servidor_.listen(QHostAddress::LocalHost, opciones_.puerto); }
    quint16 puerto() const { return servidor_.serverPort(); }
    QString error() const { return servidor_.errorString(); }

private:
    void conexiones() {
        while (QTcpSocket* socket = servidor_.nextPendingConnection())
            atender(socket);
    }

    void atender(QTcpSocket* socket) {
        auto lector = std::make_shared<LectorEscPos>();
        auto conTrabajo = std::make_shared<bool>(false);
        lector->alPedirEstado = [this, socket, conTrabajo](int n) {
            if (!(opciones_.sinConfirmar && *conTrabajo))
                socket->write(respuesta(n));
        };
        lector->alTerminarTrabajo = [this](const TrabajoRecibido& t) { publicar(t); };
        connect(socket, &QTcpSocket::readyRead, this, [socket, lector, conTrabajo] {
            const QByteArray bytes = socket->readAll();
            *conTrabajo = *conTrabajo || !soloPreguntas(bytes);
            lector->recibir(bytes);
        });
        connect(socket, &QTcpSocket::disconnected, this, [socket, lector] {
            lector->recibir(socket->readAll());
            lector->cerrar();
            socket->deleteLater();
        });
    }

    // DLE EOT 1, 2 and 4 each get their byte; a silent printer answers nothing.
    QByteArray respuesta(int n) const {
        const QByteArray respuestas = RespuestasEstado(opciones_.estado);
        const int indice = n == 1 ? 0 : n == 2 ? 1 : n == 4 ? 2 : -1;
        return indice < 0 ? QByteArray() : respuestas.mid(indice, 1);
    }

    void publicar(const TrabajoRecibido& trabajo) {
        QTextStream salida(stdout);
        salida << QStringLiteral("=== trabajo %1 ===\n").arg(++trabajos_);
        for (const QString& linea : trabajo.transcripcion())
            salida << linea << '\n';
        if (!opciones_.carpetaPng.isEmpty()) {
            QDir().mkpath(opciones_.carpetaPng);
            const QString png =
                QStringLiteral("%1/trabajo_%2.png").arg(opciones_.carpetaPng).arg(trabajos_);
            salida << (dibujar(trabajo).save(png)
                           ? QStringLiteral("[png: %1]\n").arg(png)
                           : QStringLiteral("[png no guardado: %1]\n").arg(png));
        }
        salida.flush();
    }

    Opciones opciones_;
    QTcpServer servidor_;
    int trabajos_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    QTextStream salida(stdout);
    // Before the platform starts, so that the usage is the first line written.
    if (std::find(argv, argv + argc, std::string_view("--help")) != argv + argc) {
        salida << kUso << '\n';
        return 0;
    }
    // It shows no window: pictures are drawn off screen, with or without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication aplicacion(argc, argv);
    const QStringList argumentos = QCoreApplication::arguments();
    const std::optional<Opciones> opciones = leerOpciones(argumentos);
    if (!opciones) {
        QTextStream(stderr) << kUso << '\n';
        return 2;
    }
    ImpresoraVirtual impresora(*opciones);
    if (!impresora.escuchar()) {
        QTextStream(stderr) << QStringLiteral("No se pudo escuchar en 127.0.0.1:%1: %2\n")
                                   .arg(opciones->puerto)
                                   .arg(impresora.error());
        return 1;
    }
    salida << QStringLiteral("Impresora virtual en 127.0.0.1:%1\n").arg(impresora.puerto());
    salida.flush();
    return aplicacion.exec();
}
