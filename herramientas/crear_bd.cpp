// crear_bd CARPETA [--usuario U --clave C] [--punto-control P] [--tarifas-demo]
// Creates a new data folder and the vialtor.cfg of a station that uses it.

#include "principal/conexion.h"
#include "principal/cp1252.h"
#include "principal/crearbd.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>
#include <QTextStream>

namespace {

int uso() {
    QTextStream(stderr) << "Uso: crear_bd CARPETA [--usuario U --clave C] [--punto-control P] "
                           "[--tarifas-demo]\n";
    return 2;
}

bool escribirConfiguracion(const QString& carpeta, const QString& puntoControl) {
    QSaveFile archivo(carpeta + QLatin1String("/vialtor.cfg"));
    if (!archivo.open(QIODevice::WriteOnly))
        return false;
    const QString linea = QDir(carpeta).absolutePath() + QLatin1Char(';') + puntoControl +
                          QLatin1String(";1;1;1;;;;14;1\r\n");
    archivo.write(ACp1252(linea));
    return archivo.commit();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first().startsWith(QLatin1String("--")))
        return uso();
    const QString carpeta = args.takeFirst();
    QString usuario = QStringLiteral("admin"), clave = QStringLiteral("admin"),
            punto = QStringLiteral("CAJA1");
    bool demo = false;
    while (!args.isEmpty()) {
        const QString opcion = args.takeFirst();
        if (opcion == QLatin1String("--tarifas-demo")) {
            demo = true;
            continue;
        }
        if (args.isEmpty())
            return uso();
        const QString valor = args.takeFirst();
        if (opcion == QLatin1String("--usuario"))
            usuario = valor;
        else if (opcion == QLatin1String("--clave"))
            clave = valor;
        else if (opcion == QLatin1String("--punto-control"))
            punto = valor;
        else
            return uso();
    }
    try {
        CrearBaseDatos(carpeta, usuario, clave, punto);
        if (demo)
            AgregarTarifasDemo(carpeta);
    } catch (const ErrorBD& e) {
        QTextStream(stderr) << e.textoCompleto() << '\n';
        return 1;
    }
    if (!escribirConfiguracion(carpeta, punto)) {
        QTextStream(stderr) << "No se pudo escribir vialtor.cfg en " << carpeta << '\n';
        return 1;
    }
    QTextStream(stdout) << "Base de datos creada en " << QDir(carpeta).absolutePath()
                        << " (usuario " << usuario << ", punto de control " << punto << ")\n";
    return 0;
}
