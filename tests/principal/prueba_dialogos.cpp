#include "principal/ui/servicios_qt.h"

#include <QApplication>
#include <QDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

TEST(DialogosQt, LaCajaEsTanAnchaComoSuTitulo) {
    QFont fuente = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    fuente.setBold(true);
    const QFontMetrics medidas(fuente);
    DialogosQt dialogos;
    for (const QString& titulo :
         {QStringLiteral("Placa no existe"), QStringLiteral("Bienvenido al Sistema Vialtor"),
          QStringLiteral("Confirmación de salida del programa")}) {
        int ancho = 0;
        QTimer::singleShot(0, [&ancho] {
            QWidget* caja = QApplication::activeModalWidget();
            ASSERT_NE(caja, nullptr);
            ancho = caja->width();
            caja->close();
        });
        dialogos.mensaje(QStringLiteral("Sí"), titulo, Icono::Informacion, Boton::Aceptar,
                         Boton::Ninguno);
        // The frame's icon and buttons take about four title heights beside the title.
        EXPECT_GE(ancho, medidas.horizontalAdvance(titulo) + 4 * medidas.height())
            << titulo.toStdString();
    }
}

// An input box's title is not cut: "VERIFICAR PLACA" whole, not "VERIF... PLACA".
TEST(DialogosQt, LaCajaDeEntradaEsTanAnchaComoSuTitulo) {
    QFont fuente = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    fuente.setBold(true);
    const QFontMetrics medidas(fuente);
    DialogosQt dialogos;
    for (const QString& titulo : {QStringLiteral("VERIFICAR PLACA"),
                                  QStringLiteral("MODIFICAR DATOS DE LA SALIDA DEL VEHÍCULO"),
                                  QStringLiteral("INGRESE EL VALOR A COBRAR POR LA ESTADÍA")}) {
        int ancho = 0;
        QTimer::singleShot(0, [&ancho] {
            QWidget* caja = QApplication::activeModalWidget();
            ASSERT_NE(caja, nullptr);
            ancho = caja->width();
            caja->close();
        });
        dialogos.entrada(QStringLiteral("Placa:"), titulo, QString());
        EXPECT_GE(ancho, medidas.horizontalAdvance(titulo) + 4 * medidas.height())
            << titulo.toStdString();
    }
}

// An attendant answers a question with its letter alone, as the buttons show it.
TEST(DialogosQt, UnaPreguntaSeContestaConLaLetraDelBoton) {
    DialogosQt dialogos;
    for (const auto& [tecla, esperada] :
         {std::pair{Qt::Key_S, Boton::Si}, {Qt::Key_N, Boton::No}}) {
        QTimer::singleShot(0, [tecla = tecla] {
            QWidget* caja = QApplication::activeModalWidget();
            ASSERT_NE(caja, nullptr);
            QTest::keyClick(caja, tecla);
            // A key that answers nothing must not leave the test waiting.
            QTimer::singleShot(2000, caja, [caja] { static_cast<QDialog*>(caja)->done(0); });
        });
        EXPECT_EQ(dialogos.mensaje(QStringLiteral("¿Salir?"), QStringLiteral("Vialtor"),
                                   Icono::Exclamacion, Boton::Si | Boton::No, Boton::No),
                  esperada);
    }
}
