#include "principal/ui/servicios_qt.h"

#include <QApplication>
#include <QDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

// A box's or an input box's title is not cut: "VERIFICAR PLACA" whole, not "VERIF... PLACA".
TEST(DialogosQt, LaCajaYLaDeEntradaSonTanAnchasComoSuTitulo) {
    QFont fuente = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    fuente.setBold(true);
    const QFontMetrics medidas(fuente);
    DialogosQt dialogos;
    // Odd titles go to a box, even ones to an input box.
    const QString titulos[] = {QStringLiteral("Placa no existe"), QStringLiteral("VERIFICAR PLACA"),
                               QStringLiteral("Confirmación de salida del programa"),
                               QStringLiteral("MODIFICAR DATOS DE LA SALIDA DEL VEHÍCULO")};
    for (int i = 0; i < 4; ++i) {
        int ancho = 0;
        QTimer::singleShot(0, [&ancho] {
            QWidget* caja = QApplication::activeModalWidget();
            ASSERT_NE(caja, nullptr);
            ancho = caja->width();
            caja->close();
        });
        if (i % 2 == 0)
            dialogos.mensaje(QStringLiteral("Sí"), titulos[i], Icono::Informacion, Boton::Aceptar,
                             Boton::Ninguno);
        else
            dialogos.entrada(QStringLiteral("Placa:"), titulos[i], QString());
        // The frame's icon and buttons take about four title heights beside the title.
        EXPECT_GE(ancho, medidas.horizontalAdvance(titulos[i]) + 4 * medidas.height())
            << titulos[i].toStdString();
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
