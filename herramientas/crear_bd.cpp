// crear_bd CARPETA [--usuario U --clave C] [--punto-control P] [--tarifas-demo]
// crear_bd [CARPETA] --servidor CONEXION [--usuario U --clave C --punto-control P] [--tarifas-demo]
// crear_bd [CARPETA] --servidor CONEXION --copiar-desde CARPETA/vialtor.mdb
// crear_bd --verificar-auditoria CARPETA [--ancla N:HEX]...
// Creates a new data folder and the vialtor.cfg of a station that uses it; with a server, the
// database on the server (empty, or with a station's data) and the station's
// vialtor_servidor.cfg beside its vialtor.cfg.

#include "acceso/crearbd.h"
#include "bd/conexion.h"
#include "bd/servidor.h"
#include "principal/registros.h"
#include "turnos/rastroauditoria.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QTextStream>
#include <optional>

namespace {

// Named as it was called: installed, the tool is vialtor-crear-bd.
int uso() {
    const QString programa = QFileInfo(QCoreApplication::arguments().value(0)).fileName();
    QTextStream(stderr) << QStringLiteral(
                               "Uso: %1 CARPETA [--usuario U --clave C] [--punto-control P] "
                               "[--tarifas-demo]\n"
                               "     %1 [CARPETA] --servidor CONEXION [--usuario U --clave C "
                               "--punto-control P --tarifas-demo | --copiar-desde ARCHIVO]\n"
                               "     %1 --verificar-auditoria CARPETA [--ancla N:HEX]...\n"
                               "La clave puede ir en la variable VIALTOR_CLAVE en vez de --clave, "
                               "que otros usuarios del equipo pueden ver.\n")
                               .arg(programa);
    return 2;
}

struct Opciones {
    QString carpeta, servidor, copiarDesde;
    QString usuario = QStringLiteral("admin"), clave = QStringLiteral("admin"),
            punto = QStringLiteral("CAJA1");
    bool demo = false;
};

std::optional<Opciones> leerOpciones(QStringList args) {
    Opciones o;
    // The environment keeps the first user's password out of the process list.
    if (const QByteArray clave = qgetenv("VIALTOR_CLAVE"); !clave.isEmpty())
        o.clave = QString::fromUtf8(clave);
    if (!args.isEmpty() && !args.first().startsWith(QLatin1String("--")))
        o.carpeta = args.takeFirst();
    const QMap<QString, QString*> valores{{QStringLiteral("--usuario"), &o.usuario},
                                          {QStringLiteral("--clave"), &o.clave},
                                          {QStringLiteral("--punto-control"), &o.punto},
                                          {QStringLiteral("--servidor"), &o.servidor},
                                          {QStringLiteral("--copiar-desde"), &o.copiarDesde}};
    while (!args.isEmpty()) {
        const QString opcion = args.takeFirst();
        if (opcion == QLatin1String("--tarifas-demo"))
            o.demo = true;
        else if (valores.contains(opcion) && !args.isEmpty())
            *valores[opcion] = args.takeFirst();
        else
            return std::nullopt;
    }
    const bool conServidor = !o.servidor.isEmpty();
    if ((!conServidor && (o.carpeta.isEmpty() || !o.copiarDesde.isEmpty())) ||
        (!o.copiarDesde.isEmpty() && o.demo))
        return std::nullopt;
    return o;
}

// The station as the first-start window would make it: FOLDER holds both its configuration
// and its data.
EstacionNueva estacion(const Opciones& o) {
    return {o.carpeta, o.carpeta, o.servidor, o.usuario, o.clave, o.punto, o.demo};
}

void copiarAlServidor(const Opciones& o) {
    const QVector<FilasCopiadas> cuentas = CopiarAlServidor(o.copiarDesde, o.servidor);
    QTextStream salida(stdout);
    salida << "Tabla: filas en el archivo / filas en el servidor\n";
    for (const FilasCopiadas& f : cuentas)
        salida << f.tabla << ": " << f.archivo << " / " << f.servidor << '\n';
    if (!o.carpeta.isEmpty() && !EscribirConfiguracionEstacion(estacion(o)))
        throw ErrorBD(QStringLiteral("No se pudo escribir la configuración de la estación"),
                      o.carpeta);
}

// Walks the audit trail of the data folder (or of the server its vialtor_servidor.cfg names)
// through each anchor given: 0 when it is whole, 3 when a row was tampered with, 1 when it
// cannot be read, 2 when an anchor is malformed.
int verificarAuditoria(QStringList args) {
    const QString carpeta = args.takeFirst();
    QVector<AnclaAuditoria> anclas;
    while (args.size() >= 2 && args.first() == QLatin1String("--ancla")) {
        args.removeFirst();
        const QString texto = args.takeFirst();
        const std::optional<AnclaAuditoria> ancla = LeerAncla(texto);
        if (!ancla) {
            QTextStream(stderr) << AnclaIncorrecta(texto) << '\n';
            return 2;
        }
        anclas << *ancla;
    }
    if (!args.isEmpty())
        return uso();
    ConfigInicio.CarpetaDatos = QDir(carpeta).absolutePath();
    ConfigInicio.Servidor = LeerConexionServidor(carpeta);
    try {
        AbrirConexion();
        const VerificacionAuditoria v = VerificarAuditoria(anclas);
        CerrarConexion();
        QTextStream(v.integra() ? stdout : stderr) << v.mensaje() << '\n';
        return v.integra() ? 0 : 3;
    } catch (const ErrorBD& e) {
        QTextStream(stderr) << e.textoCompleto() << '\n';
        return 1;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList argumentos = app.arguments().mid(1);
    if (argumentos.size() >= 2 && argumentos.first() == QLatin1String("--verificar-auditoria"))
        return verificarAuditoria(argumentos.mid(1));
    const std::optional<Opciones> o = leerOpciones(argumentos);
    if (!o)
        return uso();
    if (const ReparoEstacion reparo = RevisarEstacionNueva(estacion(*o));
        reparo.campo != ReparoEstacion::Ninguno) {
        QTextStream(stderr) << reparo.texto << '\n';
        return 2;
    }
    try {
        if (o->copiarDesde.isEmpty())
            CrearEstacion(estacion(*o));
        else
            copiarAlServidor(*o);
    } catch (const ErrorBD& e) {
        QTextStream(stderr) << e.textoCompleto() << '\n';
        return 1;
    }
    if (o->carpeta.isEmpty()) {
        QTextStream(stdout) << "Base de datos creada en el servidor\n";
        return 0;
    }
    QTextStream(stdout) << "Base de datos creada"
                        << (o->servidor.isEmpty() ? " en " + QDir(o->carpeta).absolutePath()
                                                  : QStringLiteral(" en el servidor"))
                        << " (usuario " << o->usuario << ", punto de control " << o->punto << ")\n";
    return 0;
}
