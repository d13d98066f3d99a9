#include "principal/listados.h"
#include "tests/comun/dobles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

using PruebaListados = PruebaVialtor;

// Every line ends with CRLF, the last included, in Windows-1252; a second run replaces the file.
// A file that cannot be replaced (a folder holds its name, or the disk fills up halfway) is
// reported and logged, the earlier file stays whole, and nothing else is left behind.
TEST_F(PruebaListados, LineasEnWindows1252QueReemplazanElAnteriorOLoDejanEntero) {
    const QString ruta = carpetas.programa + "/L.txt";
    ASSERT_TRUE(QDir(carpetas.programa).mkdir("L.txt"));
    EXPECT_FALSE(GuardarListado("L.txt", {"a;b;"}));
    ASSERT_TRUE(QDir(carpetas.programa).rmdir("L.txt"));
    ASSERT_TRUE(GuardarListado("L.txt", {"viejo", "contenido largo que no debe quedar"}));
    ASSERT_TRUE(GuardarListado("L.txt", {QString::fromUtf8("Identificación;Ñ;"), "", "Total: 1"}));
    const QByteArray escrito("Identificaci\xF3n;\xD1;\r\n\r\nTotal: 1\r\n");
    {
        LimiteArchivo discoLleno(4096);
        EXPECT_FALSE(GuardarListado("L.txt", QStringList(500, "una linea del listado;")));
    }
    EXPECT_EQ(LeerArchivo(ruta), escrito);
    ASSERT_EQ(dialogos.cajas.size(), 2);
    for (const CajaMostrada& caja : dialogos.cajas) {
        EXPECT_EQ(caja.icono, Icono::Exclamacion);
        EXPECT_TRUE(caja.texto.startsWith("No se pudo escribir el archivo " +
                                          QDir::toNativeSeparators(ruta)));
    }
    ASSERT_EQ(mensajes().size(), 2);
    EXPECT_TRUE(mensajes()[1].startsWith("No se pudo escribir el archivo "));
    EXPECT_EQ(QDir(carpetas.programa).entryList(QDir::Files | QDir::Hidden), QStringList{"L.txt"});

    InformarArchivoGenerado("L.txt");
    EXPECT_EQ(dialogos.cajas.last().texto,
              QString::fromUtf8("Archivo generado: L.txt\nFormato: Delimitado por puntos y coma "
                                "(CSV).\n\nUbicación: ") +
                  QDir::toNativeSeparators(ruta) +
                  QString::fromUtf8("\n\nPuede, a modo ejemplo, abrirlo desde Excel y organizar "
                                    "la información como requiera."));
}

// What a spreadsheet reads back: every value in its own cell, typed text as text, a number as a
// number. Needs LibreOffice; without it the test is skipped.
TEST_F(PruebaListados, UnaHojaDeCalculoLeeCadaValorEnSuCelda) {
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty())
        GTEST_SKIP() << "sin soffice";
    const QStringList textos{
        "carro gris; puesto 4", "=1+1", "dice \"hola\"", "-abc", "@x", "+57 300",
        "dos\nlíneas",          "Peña"};
    QString linea;
    for (const QString& texto : textos)
        linea += CampoCsv(texto) + ';';
    linea += CampoCsv("-90", false) + ';' + CampoCsv("7", false) + ';';
    ASSERT_TRUE(GuardarListado("L.txt", {linea}));
    QProcess conversion;
    conversion.setWorkingDirectory(carpetas.programa);
    conversion.start(soffice, {"-env:UserInstallation=file://" + carpeta.path() + "/perfil",
                               "--headless", "--infilter=Text - txt - csv (StarCalc):59,34,1",
                               "--convert-to", "csv:Text - txt - csv (StarCalc):9,34,76,1,,0,true",
                               "--outdir", "hoja", "L.txt"});
    ASSERT_TRUE(conversion.waitForFinished(300000));
    // Text cells come back quoted, numbers bare: an evaluated formula would be a bare 2.
    EXPECT_EQ(
        LeerArchivo(carpetas.programa + "/hoja/L.csv").toStdString(),
        QString::fromUtf8("\"carro gris; puesto 4\"\t\"'=1+1\"\t\"dice \"\"hola\"\"\"\t\"'-abc\"\t"
                          "\"'@x\"\t\"'+57 300\"\t\"dos\nlíneas\"\t\"Peña\"\t-90\t7\n")
            .toStdString());
}
