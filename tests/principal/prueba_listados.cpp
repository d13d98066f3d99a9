#include "principal/listados.h"
#include "tests/comun/dobles.h"

#include <QDir>
#include <QFile>

using PruebaListados = PruebaVialtor;

// Every line ends with CRLF, the last included, in Windows-1252; a second run replaces the file.
TEST_F(PruebaListados, LineasEnWindows1252ConCrLfReemplazandoElAnterior) {
    ASSERT_TRUE(GuardarListado("L.txt", {"viejo", "contenido largo que no debe quedar"}));
    ASSERT_TRUE(GuardarListado("L.txt", {QString::fromUtf8("Identificación;Ñ;"), "", "Total: 1"}));
    EXPECT_EQ(LeerArchivo(carpetas.programa + "/L.txt"),
              QByteArray("Identificaci\xF3n;\xD1;\r\n\r\nTotal: 1\r\n"));
    EXPECT_TRUE(dialogos.cajas.isEmpty());

    InformarArchivoGenerado("L.txt");
    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_EQ(dialogos.cajas[0].texto,
              QString::fromUtf8("Archivo generado: L.txt\nFormato: Delimitado por puntos y coma "
                                "(CSV).\n\nUbicación: ") +
                  QDir::toNativeSeparators(carpetas.programa + "/L.txt") +
                  QString::fromUtf8("\n\nPuede, a modo ejemplo, abrirlo desde Excel y organizar "
                                    "la información como requiera."));
}

// A file that cannot be replaced (here a folder holds its name) is reported and logged, and
// nothing of it is left behind.
TEST_F(PruebaListados, UnArchivoQueNoSePuedeEscribirSeInformaYNoDejaRastro) {
    ASSERT_TRUE(QDir(carpetas.programa).mkdir("L.txt"));
    EXPECT_FALSE(GuardarListado("L.txt", {"a;b;"}));
    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_EQ(dialogos.cajas[0].icono, Icono::Exclamacion);
    EXPECT_TRUE(dialogos.cajas[0].texto.startsWith("No se pudo escribir el archivo " +
                                                   QDir::toNativeSeparators(carpetas.programa)));
    ASSERT_EQ(lineasSucesos().size(), 1);
    EXPECT_TRUE(lineasSucesos()[0].contains("No se pudo escribir el archivo "));
    EXPECT_EQ(QDir(carpetas.programa).entryList(QDir::Files), QStringList());
}
