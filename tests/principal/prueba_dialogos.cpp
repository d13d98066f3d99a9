#include "principal/servicios_qt.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QMessageBox>
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
