#include "impresora/conexion.h"
#include "impresora/escpos.h"
#include "impresora/estado.h"
#include "impresora/ui/frmImpresora.h"
#include "impresora/ui/impresoraescpos.h"
#include "movimientos/codigoticket.h"
#include "movimientos/tickets.h"
#include "principal/archivos.h"
#include "principal/registros.h"
#include "principal/ui/impresion.h"
#include "reportes/cierrecaja.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"
#include "turnos/turnos.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTcpSocket>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <ZXing/ReadBarcode.h>

namespace {

ConfigImpresora ajustes(const char* linea) {
    return *LeerLineaImpresora(linea).config;
}

QString describir(const LecturaImpresora& l) {
    if (!l.config)
        return l.error;
    const ConfigImpresora& c = *l.config;
    return QString::asprintf("%d %s %d %d ", int(c.clase), qPrintable(c.direccion),
                             c.puertoOVelocidad, c.columnas()) +
           (c.corte ? "corte " : "") + (c.cajon ? "cajon " : "") + (c.raster ? "raster" : "");
}

TEST(ConfigImpresora, LineasYSusErrores) {
    // Kind (0 red, 1 usb, 2 serie), address, port or speed, columns, options; or the error.
    const struct {
        const char* linea;
        const char* esperado;
    } casos[] = {
        {"red;192.168.1.50:9100;80;corte,cajon", "0 192.168.1.50 9100 48 corte cajon "},
        {" red ; caja2 ;58; raster", "0 caja2 9100 32 raster"},
        {"usb;/dev/usb/lp0;58;", "1 /dev/usb/lp0 0 32 "},
        {"serie;/dev/ttyUSB0:19200;80;corte", "2 /dev/ttyUSB0 19200 48 corte "},
        {"serie;/dev/ttyS0;80", "2 /dev/ttyS0 9600 48 "},
        {"lan;x;80;", "el campo TIPO (\"lan\") no es válido: use red, usb o serie"},
        {"red;x:70000;80;", "el campo DIRECCIÓN (\"x:70000\") no es válido: el puerto"},
        {"red;:9100;80;", "el campo DIRECCIÓN (\":9100\") no es válido: falta"},
        {"serie;/dev/ttyS0:1234;80;", "el campo DIRECCIÓN (\"/dev/ttyS0:1234\") no es válido: la "
                                      "velocidad"},
        {"usb;lp0;80;", "el campo DIRECCIÓN (\"lp0\") no es válido: debe ser la ruta"},
        {"red;x;60;", "el campo ANCHO (\"60\") no es válido: use 58 u 80"},
        {"red;x;80;corte,cortar", "el campo OPCIONES (\"cortar\") no es válido"},
        {"red;x", "la línea tiene 2 campos y debe tener 4"},
    };
    for (const auto& c : casos) {
        const LecturaImpresora l = LeerLineaImpresora(c.linea);
        EXPECT_TRUE(describir(l).contains(c.esperado))
            << c.linea << " → " << describir(l).toStdString();
        EXPECT_EQ(l.config.has_value(), l.error.isEmpty()) << c.linea;
    }
    QTemporaryDir carpeta;
    const QString ruta = carpeta.path() + "/" + kArchivoImpresora;
    EXPECT_EQ(describir(LeerConfigImpresora(carpeta.path())), QString());
    for (const auto& [contenido, esperado] :
         {std::pair{"", "vialtor_impresora.cfg: está vacío. Los tickets se imprimirán como "
                        "siempre"},
          std::pair{"\xEF\xBB\xBFusb;/dev/usb/lp0;80;corte\r\nsobra",
                    "1 /dev/usb/lp0 0 48 corte"}}) {
        ASSERT_TRUE(EscribirArchivo(ruta, contenido));
        EXPECT_TRUE(describir(LeerConfigImpresora(carpeta.path())).startsWith(esperado));
    }
}

TEST(EscPos, TextoEnCp858SinControles) {
    const struct {
        QString texto;
        QByteArray bytes;
    } casos[] = {
        {"ñÑ€¿¡áéíóú", "\xa4\xa5\xd5\xa8\xad\xa0\x82\xa1\xa2\xa3"},
        {"$ü Ж", "$\x81 ?"},
        {"A\033@B\035V\020\004\001C\177" + QString(QChar(0x85)) + "\t\r\nD", "A@BVCD"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(TextoCp858(c.texto).toHex(' '), c.bytes.toHex(' ')) << c.texto.toStdString();
}

// The bytes as hex, one printed line a line, and back.
QString enHex(const QByteArray& bytes) {
    QString hex;
    for (const QByteArray& linea : bytes.split('\n'))
        hex += QString::fromLatin1(linea.toHex(' ')) + '\n';
    return hex;
}
QByteArray desdeHex(const QByteArray& hex) {
    QByteArrayList lineas = hex.split('\n');
    lineas.removeLast();
    for (QByteArray& linea : lineas)
        linea = QByteArray::fromHex(linea);
    return lineas.join('\n');
}
const char* const kEsperados[] = {"entrada", "salida_detallada", "salida_cliente", "cierre_turno",
                                  "cierre_dia"};
QString rutaEsperado(const char* nombre) {
    return QStringLiteral(VIALTOR_ESPERADOS "/%1.hex").arg(nombre);
}

class PruebaEscPos : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        AjustesParqueadero& p = DatosParqueadero;
        p.NombreParqueadero = "PARQUEADERO CENTRAL ÑANDÚ", p.Identificacion = "NIT 900.123.456-7";
        p.Direccion = "Calle 10 # 5-20, frente a la estación de buses del centro";
        p.SimboloMoneda = "$", p.NombreDocumento = "FACTURA", p.NombreDocumentoEntrada = "TICKET";
        p.PieSalida = "¡Gracias! ¿Volverá?", p.ValorCobradoTexto = "Total: ";
        p.CajeroTexto = "Cajero:", p.CajeroImprimir = true;
        ConfigInicio.TamanoLetraPlaca = "24", ConfigInicio.PlacaNegrita = true;
        RegistroTicket& t = DatosTicket;
        t.Placa = "ABC123", t.Numero = 42, t.CopiasEntrada = t.CopiasSalida = 1;
        t.FechaEntrada = QDateTime(QDate(2026, 12, 6), QTime(9, 15, 30));
        t.FechaSalida = QDateTime(QDate(2026, 12, 6), QTime(14, 5));
        crearBaseDatos();
        // The ticket's code under a key of its own, the same on every run.
        Ejecutar("UPDATE ClaveTicket SET Clave = '00112233445566778899aabbccddeeff'");
    }

    TrabajoImpresion entrada() {
        impresora.trabajos.clear();
        ImprimirTicketEntrada(std::nullopt);
        return impresora.trabajos.value(0);
    }
    TrabajoImpresion salida(const QVector<ItemCobro>& items) {
        impresora.trabajos.clear();
        ImprimirTicketSalida(items, std::nullopt);
        return impresora.trabajos.value(0);
    }
};

TEST_F(PruebaEscPos, CincoDocumentosComoLosEsperados) {
    RegistroTicket& t = DatosTicket;
    const TrabajoImpresion ticketEntrada = entrada();
    t.Cobrado = 7000;
    const TrabajoImpresion detallada =
        salida({{"Minutos libres 30 min", 0}, {"1 hora", 2000}, {"Nocturno", 5000}});
    t.Cobrado = 0, t.Nombre = "José", t.Ape1 = "Núñez", t.FechaFin = QDate(2026, 12, 31);
    t.Pagado = true;
    const TrabajoImpresion cliente = salida({});
    const Turno turno{7,     "CAJA1", 3, 1, "ana", "Ana Gómez", t.FechaEntrada, t.FechaSalida,
                      50000, 56000};
    CierreTurno cierreTurno;
    cierreTurno.turno = turno, cierreTurno.salidas = 2, cierreTurno.efectivoSalidas = 7000;
    cierreTurno.documentoInicial = "FACTURA 41", cierreTurno.documentoFinal = "FACTURA 42";
    cierreTurno.excepciones = {{"reimpresion", "Reimpresiones", 1, 7000, {"FACTURA 42"}}};
    cierreTurno.ancla = AnclaAuditoria{12, "0123456789abcdef"};
    CierreCaja cierreDia{5, t.FechaSalida, "Ana Gómez", {2, "41", "42", 5882, 1118, 7000}};
    const struct {
        const char* nombre;
        TrabajoImpresion trabajo;
        const char* config;
    } casos[] = {
        {"entrada", ticketEntrada, "red;127.0.0.1;80;corte,cajon"},
        {"salida_detallada", detallada, "red;127.0.0.1;80;corte,cajon"},
        {"salida_cliente", cliente, "usb;/dev/usb/lp0;58;cajon"},
        {"cierre_turno", TrabajoCierreTurno(LineasCierre(cierreTurno)), "red;127.0.0.1;80;corte"},
        {"cierre_dia",
         TrabajoDocumento(LineasCierre({t.FechaEntrada, t.FechaSalida}, cierreDia, std::nullopt),
                          std::nullopt),
         "serie;/dev/ttyUSB0;58;"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        const QString hex = enHex(CodificarEscPos(c.trabajo, ajustes(c.config)));
        const QString ruta = rutaEsperado(c.nombre);
        // A differing result is left beside the test to compare, never taken as the expected.
        if (QString::fromLatin1(LeerArchivo(ruta)) != hex) {
            EscribirArchivo(QDir::currentPath() + "/" + c.nombre + ".obtenido.hex", hex.toLatin1());
            ADD_FAILURE() << "distinto de " << ruta.toStdString();
        }
    }
}

// A plate is text: its control bytes never reach the printer, and the ticket prints as the
// same plate without them.
TEST_F(PruebaEscPos, PlacaConBytesDeControl) {
    DatosTicket.Placa = "ABC123";
    const QByteArray limpio = CodificarEscPos(entrada(), ajustes("red;x;80;corte"));
    DatosTicket.Placa = "AB\033C\0351\020\00423\001";
    EXPECT_EQ(enHex(CodificarEscPos(entrada(), ajustes("red;x;80;corte"))), enHex(limpio));
}

// The drawer opens once for an exit charged now: not with its second copy, nor with a reprint.
TEST_F(PruebaEscPos, CajonSoloConElCobro) {
    DatosTicket.Cobrado = 2000, DatosTicket.CopiasSalida = 2;
    ImprimirTicketSalida({}, std::nullopt);
    ImprimirTicketSalida({}, reloj.ahora());
    QVector<bool> cajon;
    for (const TrabajoImpresion& t : impresora.trabajos)
        cajon << t.cajon;
    EXPECT_EQ(cajon, QVector<bool>({true, false, false, false}));
}

// vialtor-impresora-virtual on a free port (its first line names it), with a connection to it.
class ImpresoraVirtual {
public:
    explicit ImpresoraVirtual(const QStringList& argumentos) {
        proceso.start(VIALTOR_IMPRESORA_VIRTUAL, QStringList{"--puerto", "0"} + argumentos);
        proceso.waitForReadyRead(5000);
        puerto = proceso.readLine().split(':').last().trimmed();
        socket.connectToHost("127.0.0.1", puerto.toUShort());
        socket.waitForConnected(2000);
    }
    ~ImpresoraVirtual() {
        proceso.kill();
        proceso.waitForFinished();
    }
    void enviar(const QByteArray& bytes) {
        socket.write(bytes);
        socket.waitForBytesWritten(1000);
    }
    // Each job it printed, its lines joined by '|', once the connection is closed.
    QStringList trabajos(int cuantos) {
        socket.disconnectFromHost();
        QByteArray salida = proceso.readAll();
        while (salida.count("=== trabajo") < cuantos && proceso.waitForReadyRead(5000))
            salida += proceso.readAll();
        return QString::fromUtf8(salida).replace('\n', '|').split("=== trabajo ");
    }
    QProcess proceso;
    QTcpSocket socket;
    QString puerto;
};

// What ZXing reads off a drawn ticket, as a scanner would.
QString leerCodigo(const QString& png) {
    const QImage g = QImage(png).convertToFormat(QImage::Format_Grayscale8);
    return QString::fromStdString(
        ZXing::ReadBarcode(
            {g.constBits(), g.width(), g.height(), ZXing::ImageFormat::Lum, int(g.bytesPerLine())},
            ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::Code128))
            .text());
}

// The five documents over TCP, and the entry ticket again with its code as an image: each
// comes out as its lines, and both drawn codes read back as the ticket's.
TEST_F(PruebaEscPos, TrabajosPorTcpALaImpresoraVirtual) {
    QTemporaryDir pngs;
    ImpresoraVirtual virtual_({"--png", pngs.path()});
    QByteArray bytes;
    for (const char* nombre : kEsperados)
        bytes += desdeHex(LeerArchivo(rutaEsperado(nombre)));
    virtual_.enviar(bytes + CodificarEscPos(entrada(), ajustes("red;x;58;raster")));
    const QStringList trabajos = virtual_.trabajos(6);
    const QString codigo = CodigoTicket(42, ClaveTickets());
    const QStringList esperados[] = {
        {"1 ===|[página de códigos 19]| |PARQUEADERO CENTRAL ÑANDÚ|",
         "|[negrita] [doble alto]          ABC123|Entrada|",
         "|[Code 128: " + codigo + "]|" + codigo + "|", "|[corte]|"},
        {"|Nocturno $5.000|Total: $7.000|", "|[cajón]|[corte]|"},
        {"|Calle 10 # 5-20, frente a la|estación", "Cliente: José Núñez"},
        {"|[negrita] CIERRE DE TURNO|Estación: CAJA1|", "|[negrita] EXCEPCIONES|Reimpresiones"},
        {"|Diciembre 06 de 2026 - 02:05:00|pm|"},
        {"|[imagen de 296×80 puntos]|" + codigo + "|"}};
    ASSERT_EQ(trabajos.size(), 7) << trabajos.join('\n').toStdString();
    for (int i = 0; i < 6; ++i)
        for (const QString& parte : esperados[i])
            EXPECT_TRUE(trabajos[i + 1].contains(parte)) << trabajos[i + 1].toStdString();
    for (const int trabajo : {1, 6})
        EXPECT_EQ(leerCodigo(QStringLiteral("%1/trabajo_%2.png").arg(pngs.path()).arg(trabajo)),
                  codigo);
}

// The program's side, over TCP and through a serial line and a device file (pseudo-terminals
// of socat in front of the same printer): what the printer answers decides whether the job
// goes, and a job sent is confirmed.
TEST(ConexionImpresora, EstadoYTrabajoPorCadaVia) {
    const struct {
        const char* estado;
        const char* via;
        EstadoImpresora esperado;
    } casos[] = {
        {"listo", "red", EstadoImpresora::Lista},
        {"poco-papel", "red", EstadoImpresora::PocoPapel},
        {"sin-papel", "red", EstadoImpresora::SinPapel},
        {"tapa", "red", EstadoImpresora::TapaAbierta},
        {"mudo", "red", EstadoImpresora::SinRespuesta},
        {"listo", "serie", EstadoImpresora::Lista},
        {"listo", "usb", EstadoImpresora::Lista},
        {"tapa", "usb", EstadoImpresora::TapaAbierta},
    };
    const QByteArray trabajo = CodificarEscPos({{{"Prueba ñ"}}}, ajustes("red;x;80;corte"));
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.estado) + " " + c.via);
        ImpresoraVirtual virtual_({"--estado", c.estado});
        QString linea = "red;127.0.0.1:" + virtual_.puerto + ";80;corte";
        QTemporaryDir carpeta;
        QProcess socat;
        if (QString(c.via) != "red") {
            const QString dispositivo = carpeta.path() + "/dispositivo";
            socat.start("socat",
                        {"pty,raw,echo=0,link=" + dispositivo, "tcp:127.0.0.1:" + virtual_.puerto});
            for (int i = 0; i < 100 && !QFile::exists(dispositivo); ++i)
                QThread::msleep(20);
            linea = QString(c.via) + ";" + dispositivo + ";80;corte";
        }
        ConexionImpresora conexion(ajustes(linea.toUtf8()));
        const EnvioImpresora envio = conexion.imprimir(trabajo);
        const bool imprime = PuedeImprimir(c.esperado);
        EXPECT_EQ(TextoEstado(envio.estado), TextoEstado(c.esperado));
        EXPECT_EQ(envio.enviado, imprime);
        EXPECT_EQ(envio.confirmado, imprime);
        EXPECT_EQ(virtual_.trabajos(imprime).join('|').contains("|Prueba ñ|[corte]|"), imprime);
        socat.kill();
        socat.waitForFinished();
    }
}

// An unreachable or silent printer is "sin respuesta" within the second it is given, and the
// event loop keeps running all the while.
TEST(ConexionImpresora, InalcanzableSinDetenerLaVentana) {
    ImpresoraVirtual muda({"--estado", "mudo"});
    // A refused connection is known at once; the others wait out the second.
    const std::pair<QString, int> casos[] = {{"red;10.255.255.1;80;", 1500},
                                             {"usb;/dev/no-existe;80;", 1500},
                                             {"red;127.0.0.1:" + muda.puerto + ";80;", 1500},
                                             {"red;127.0.0.1:1;80;", 300}};
    for (const auto& [linea, limiteMs] : casos) {
        QElapsedTimer desde, total;
        qint64 mayor = 0;
        QTimer pulso;
        QObject::connect(&pulso, &QTimer::timeout, [&] { mayor = qMax(mayor, desde.restart()); });
        pulso.start(5);
        desde.start(), total.start();
        EXPECT_EQ(ConexionImpresora(ajustes(linea.toUtf8())).estado(),
                  EstadoImpresora::SinRespuesta);
        EXPECT_LT(total.elapsed(), limiteMs) << linea.toStdString();
        EXPECT_LE(qMax(mayor, desde.elapsed()), 100) << linea.toStdString();
    }
}

// The program's printer reads a silent printer's state in a thread of its own: the status bar
// says so, and the window's events never wait on it.
TEST(ImpresoraDirecta, EstadoEnLaBarraSinDetenerLaVentana) {
    ImpresoraVirtual muda({"--estado", "mudo"});
    ImpresoraEscPos directa(ajustes(("red;127.0.0.1:" + muda.puerto + ";80;").toUtf8()));
    QStatusBar barra;
    MostrarEstadoImpresora(directa, &barra);
    const auto* etiqueta = barra.findChild<QLabel*>("lblImpresora");
    ASSERT_TRUE(etiqueta);
    QElapsedTimer desde, total;
    qint64 mayor = 0;
    for (desde.start(), total.start(); total.elapsed() < 2500; mayor = qMax(mayor, desde.restart()))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_LE(mayor, 100);
    EXPECT_EQ(etiqueta->text().toStdString(), "Impresora: sin respuesta");
}

// The program's printer, for each state: the exit ticket prints (near the paper's end with a
// warning) or lands in a PDF with a box that says why, the log tells it and the shift counts it.
// A damaged line is named in a box at start and leaves today's printing.
class PruebaImpresoraDirecta : public PruebaMotores {};

TEST_P(PruebaImpresoraDirecta, CadaEstadoSuAvisoYSuExcepcion) {
    EscribirArchivo(carpetas.trabajo + "/vialtor_impresora.cfg", "red;127.0.0.1;70;corte");
    EXPECT_FALSE(ElegirImpresora(carpetas.trabajo));
    EXPECT_TRUE(textos().contains("el campo ANCHO (\"70\")")) << textos().toStdString();
    crearBaseDatos();
    SesionActual.IdUsuario = 1;
    SesionActual.Usuario = "admin";
    ASSERT_TRUE(AbrirTurno(0).hecho());
    const struct {
        const char* estado;
        const char* caja; // the box, before the PDF's path
        const char* registro;
        bool entrada = false; // an entry's ticket, else an exit's
    } casos[] = {
        {"listo", "", ""},
        {"poco-papel", "", "La impresora tiene poco papel: cambie el rollo pronto"},
        {"sin-papel", "La impresora no tiene papel: el ticket se guardó en ",
         "Ticket no impreso (la impresora no tiene papel): guardado en "},
        {"tapa", "La impresora tiene la tapa abierta: el ticket se guardó en ",
         "Ticket no impreso (la impresora tiene la tapa abierta)"},
        {"mudo", "La impresora no responde: el ticket se guardó en ",
         "Ticket no impreso (la impresora no responde)"},
        {"sin-papel", "La impresora no tiene papel: el ticket se guardó en ",
         "Ticket no impreso (la impresora no tiene papel)", true},
        {"sin-confirmar", "La impresora no confirmó el ticket: el ticket se guardó en ",
         "Ticket no impreso (la impresora no confirmó el ticket)"},
    };
    int noImpresos = 0;
    for (const auto& c : casos) {
        SCOPED_TRACE(c.estado);
        ImpresoraVirtual virtual_({"--estado", c.estado});
        auto directa = std::make_unique<ImpresoraEscPos>(
            ajustes(("red;127.0.0.1:" + virtual_.puerto + ";80;").toUtf8()));
        Servicios().impresora = directa.get();
        dialogos.cajas.clear();
        const int antes = mensajes().size();
        EXPECT_TRUE(directa->imprimir({{{"Salida ABC123"}}}));
        ASSERT_TRUE((c.entrada ? AnotarImpresionEntrada(9, "ABC123")
                               : AnotarImpresionSalida(true, 7, "", "ABC123", 2000))
                        .hecho());
        Servicios().impresora = &impresora;
        directa.reset(); // the printer ends the job with the connection
        const QString caja = textos(), aviso = c.caja, pdf = caja.mid(aviso.size());
        noImpresos += !pdf.isEmpty();
        EXPECT_EQ(caja.left(aviso.size()), aviso);
        EXPECT_TRUE(pdf.isEmpty() || PdfCompleto(LeerArchivo(pdf))) << pdf.toStdString();
        EXPECT_EQ(mensajes().mid(antes).join('|').left(QString(c.registro).size()), c.registro);
        // Sent but not confirmed, the printer may have printed it: it is kept all the same.
        const bool enviado = pdf.isEmpty() || QString(c.estado) == "sin-confirmar";
        EXPECT_EQ(virtual_.trabajos(enviado).join('|').contains("|Salida ABC123|"), enviado);
        EXPECT_EQ(Tabla("SELECT COUNT(*) FROM MovimientosTurno WHERE Tipo='" +
                        tipo_turno::NoImpreso + "'"),
                  QString::number(noImpresos));
    }
    // The drawer without a sale: cancelled, nothing; with a reason, its audit row and the pulse.
    ImpresoraVirtual conCajon({});
    {
        ImpresoraEscPos directa(
            ajustes(("red;127.0.0.1:" + conCajon.puerto + ";80;cajon").toUtf8()));
        dialogos.entradas = QStringList{"", "Cambio para un cliente"};
        AbrirCajon(directa);
        AbrirCajon(directa);
        directa.abrirCajonCobro(); // a client's payment: no reason asked
        // Each pulse is a job of its own while the station stays connected.
        EXPECT_EQ(conCajon.trabajos(2).join('|').count("[cajón]"), 2);
    }
    EXPECT_EQ(Tabla("SELECT Detalle FROM Auditoria WHERE Accion='Abrir cajón'"),
              "Cambio para un cliente");
}
VIALTOR_EN_AMBOS_MOTORES(PruebaImpresoraDirecta);

// The settings window: a damaged line is refused with the reader's words and the focus on its
// box; a sound one is saved whole and reads back; the test ticket, with the line as typed, shows
// the state read and saves nothing; no printer removes the file.
TEST_F(PruebaEscPos, VentanaDeLaImpresora) {
    ImpresoraVirtual virtual_({"--estado", "sin-papel"});
    const QString archivo = carpetas.trabajo + "/vialtor_impresora.cfg";
    const QString direccion = "127.0.0.1:" + virtual_.puerto;
    frmImpresora v;
    const struct {
        int tipo;
        const char* ancho;
        QPushButton* boton;
        const char *caja, *foco, *estado, *guardado;
    } casos[] = {
        {1, "70", v.btnGuardar, "el campo ANCHO (\"70\")", "cboAncho", "", ""},
        {1, "58", v.btnGuardar, "rige desde el próximo ingreso", "", "", "red;%1;58;corte\n"},
        {0, "80", v.btnGuardar, "como siempre", "", "", ""},
        {1, "80", v.btnProbar, "", "", "sin papel", ""},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.ancho);
        dialogos.cajas.clear();
        v.cboTipo->setCurrentIndex(c.tipo);
        v.txtDireccion->setText(direccion);
        v.cboAncho->setEditText(c.ancho);
        v.chkCorte->setChecked(true);
        QTest::mouseClick(c.boton, Qt::LeftButton);
        EXPECT_TRUE(textos().contains(c.caja) && textos().isEmpty() == !*c.caja)
            << qPrintable(textos());
        EXPECT_TRUE(!*c.foco || v.focusWidget()->objectName() == c.foco);
        EXPECT_EQ(v.txtEstado->text(), c.estado);
        EXPECT_EQ(LeerArchivo(archivo), QString(c.guardado).replace("%1", direccion));
        EXPECT_EQ(LeerConfigImpresora(carpetas.trabajo).config.has_value(), *c.guardado != 0);
    }
}

} // namespace
