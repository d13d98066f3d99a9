#include "tests/comun/dobles.h"

#include "acceso/crearbd.h"
#include "bd/conexion.h"
#include "principal/cp1252.h"
#include "principal/registros.h"
#include "principal/sucesos.h"
#include "tests/comun/servidor_prueba.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <csignal>
#include <sys/stat.h>

Boton DialogosGuion::mensaje(const QString& texto, const QString& titulo, Icono icono,
                             Botones botones, Boton predeterminado) {
    cajas.append({texto, titulo, icono, botones, false});
    if (!respuestas.isEmpty())
        return respuestas.takeFirst();
    if (predeterminado != Boton::Ninguno)
        return predeterminado;
    for (Boton b : {Boton::Aceptar, Boton::Si, Boton::No, Boton::Cancelar})
        if (botones.testFlag(b))
            return b;
    return Boton::Aceptar;
}

QString DialogosGuion::entrada(const QString& texto, const QString& titulo,
                               const QString& predeterminado) {
    cajas.append({texto, titulo, Icono::Ninguno, {}, true});
    return entradas.isEmpty() ? predeterminado : entradas.takeFirst();
}

void DialogosGuion::listado(const QStringList& lineas, const QString& titulo,
                            const std::function<void()>& imprimir) {
    cajas.append({lineas.join(QStringLiteral("\r\n")), titulo, Icono::Ninguno, Boton::Aceptar,
                  false, imprimir});
}

QStringList DialogosGuion::textos() const {
    QStringList t;
    for (const CajaMostrada& c : cajas)
        t << c.texto;
    return t;
}

QStringList ImpresoraGrabadora::textos(int trabajo) const {
    QStringList t;
    for (const LineaImpresion& l : trabajos.at(trabajo).lineas)
        t << (l.barras.isEmpty() ? l.texto : QStringLiteral("[Code 128: %1]").arg(l.barras));
    return t;
}

void PruebaVialtor::SetUp() {
    ASSERT_TRUE(carpeta.isValid());
    CerrarConexion();
    ReiniciarRegistros();
    carpetas.programa = carpeta.path() + QLatin1String("/programa");
    carpetas.trabajo = carpeta.path() + QLatin1String("/trabajo");
    QDir().mkpath(carpetas.programa);
    QDir().mkpath(carpetas.trabajo);
    Servicios() = {&dialogos, &reloj, &impresora, &carpetas};
    ConfigInicio.PuntoControl = QStringLiteral("CAJA1");
}

void PruebaVialtor::TearDown() {
    Conexion.fallarSentencia(0);
    Conexion.antesDeSentencia(0);
    Conexion.fijarEsperaMaxima(ConexionBD::EsperaPredeterminadaMs);
    EstablecerAvisoEspera(nullptr);
    CerrarConexion();
    Servicios() = {};
}

void PruebaVialtor::crearBaseDatos() {
    if (servidor) {
        ConfigInicio.Servidor = ServidorPrueba::instancia().baseNueva();
        return;
    }
    CrearBaseDatos(carpetas.programa, QStringLiteral("admin"), QStringLiteral("admin"));
}

QStringList PruebaVialtor::lineasSucesos() const {
    QFile archivo(CarpetaSucesos() + QLatin1Char('/') + NombreArchivoSucesos(reloj.momento.date()));
    if (!archivo.open(QIODevice::ReadOnly))
        return {};
    QStringList lineas = DeCp1252(archivo.readAll()).split(QStringLiteral("\r\n"));
    if (!lineas.isEmpty() && lineas.last().isEmpty())
        lineas.removeLast();
    return lineas;
}

QStringList PruebaVialtor::mensajes() const {
    static const QRegularExpression inicio(
        QStringLiteral("^\\d\\d-\\d\\d-\\d{4};\\d\\d:\\d\\d:\\d\\d;"));
    QStringList m;
    for (const QString& linea : lineasSucesos()) {
        if (inicio.match(linea).hasMatch() || m.isEmpty())
            m << linea.section(QLatin1Char(';'), 7);
        else
            m.last() += QStringLiteral("\r\n") + linea;
    }
    return m;
}

QString PruebaVialtor::ultimoMensaje() const {
    const QStringList m = mensajes();
    if (m.isEmpty()) {
        ADD_FAILURE() << "el registro de sucesos no tiene mensajes";
        return QString();
    }
    return m.last();
}

QByteArray LeerArchivo(const QString& ruta) {
    QFile archivo(ruta);
    return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray();
}

int ModoArchivo(const QString& ruta) {
    struct stat datos;
    return ::stat(QFile::encodeName(ruta).constData(), &datos) == 0 ? datos.st_mode & 0777 : -1;
}

LimiteArchivo::LimiteArchivo(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &previo_);
    senalPrevia_ = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limite{bytes, previo_.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limite);
}

LimiteArchivo::~LimiteArchivo() {
    setrlimit(RLIMIT_FSIZE, &previo_);
    std::signal(SIGXFSZ, senalPrevia_);
}
