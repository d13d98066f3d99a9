#include "principal/ui/servicios_qt.h"

#include "principal/ui/controles.h"
#include "principal/ui/impresion.h"
#include "principal/ui/ventanalineas.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QScreen>
#include <QSpacerItem>

namespace {

// Qt sizes a box by its text alone and the window manager cuts a longer title, so a box
// reserves the title's width in the usual bold title font, plus the frame's icon and buttons.
int anchoParaTitulo(const QString& titulo) {
    QFont fuente = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    fuente.setBold(true);
    const QFontMetrics medidas(fuente);
    return medidas.horizontalAdvance(titulo) + 6 * medidas.height() + 24;
}

void ensancharParaTitulo(QMessageBox& caja, const QString& titulo) {
    const int ancho = anchoParaTitulo(titulo);
    auto* rejilla = qobject_cast<QGridLayout*>(caja.layout());
    if (rejilla)
        rejilla->addItem(new QSpacerItem(ancho, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                         rejilla->rowCount(), 0, 1, rejilla->columnCount());
}

} // namespace

Boton DialogosQt::mensaje(const QString& texto, const QString& titulo, Icono icono, Botones botones,
                          Boton predeterminado) {
    QMessageBox caja(static_cast<QMessageBox::Icon>(icono), titulo, texto,
                     QMessageBox::StandardButtons(botones.toInt()), QApplication::activeWindow());
    caja.setObjectName(QStringLiteral("cajaMensaje"));
    ensancharParaTitulo(caja, titulo);
    static const std::pair<QMessageBox::StandardButton, const char*> textos[] = {
        {QMessageBox::Ok, "Aceptar"},
        {QMessageBox::Yes, "&Sí"},
        {QMessageBox::No, "&No"},
        {QMessageBox::Cancel, "&Cancelar"}};
    for (const auto& [boton, rotulo] : textos)
        if (QAbstractButton* b = caja.button(boton))
            b->setText(QString::fromUtf8(rotulo));
    if (predeterminado != Boton::Ninguno)
        caja.setDefaultButton(static_cast<QMessageBox::StandardButton>(predeterminado));
    return static_cast<Boton>(caja.exec());
}

QString DialogosQt::entrada(const QString& texto, const QString& titulo,
                            const QString& predeterminado) {
    QInputDialog caja(QApplication::activeWindow());
    caja.setObjectName(QStringLiteral("cajaEntrada"));
    caja.setWindowTitle(titulo);
    caja.setLabelText(texto);
    caja.setTextValue(predeterminado);
    caja.setOkButtonText(QStringLiteral("Aceptar"));
    caja.setCancelButtonText(QStringLiteral("Cancelar"));
    // The input box's own line edit exists once its mode is set.
    caja.setInputMode(QInputDialog::TextInput);
    if (auto* linea = caja.findChild<QLineEdit*>())
        UnaSolaLinea(linea);
    // The box's layout sets its minimum size over any minimum width given to the box itself.
    if (QLayout* disposicion = caja.layout())
        disposicion->addItem(
            new QSpacerItem(anchoParaTitulo(titulo), 0, QSizePolicy::Minimum, QSizePolicy::Fixed));
    return caja.exec() == QDialog::Accepted ? caja.textValue() : QString();
}

void DialogosQt::listado(const QStringList& lineas, const QString& titulo,
                         const std::function<void()>& imprimir) {
    QWidget* padre = QApplication::activeWindow();
    VentanaLineas ventana(titulo, lineas, imprimir, padre);
    if (const QScreen* pantalla = padre ? padre->screen() : QApplication::primaryScreen())
        ventana.ajustarA(pantalla->availableGeometry());
    ventana.exec();
}

bool ImpresoraQt::imprimir(const TrabajoImpresion& trabajo) {
    return ImprimirTicket(trabajo, QPrinterInfo::defaultPrinter(), &enPapel_);
}

CarpetasSistema::CarpetasSistema(const QString& programa) : programa_(programa) {}

QString CarpetasSistema::propia() const {
    return programa_.isEmpty() ? QApplication::applicationDirPath() : programa_;
}

QString CarpetasSistema::carpetaPrograma() const {
    if (!escribible_)
        escribible_ = carpetaRecursos() == propia() && SePuedeEscribirEn(propia());
    return *escribible_ ? propia() : carpetaTrabajo();
}

QString CarpetasSistema::carpetaRecursos() const {
    return CarpetaRecursos(propia(), QStringLiteral(VIALTOR_RECURSOS_INSTALADOS));
}

QString CarpetasSistema::carpetaTrabajo() const {
    return QDir::currentPath();
}

void InstalarServiciosReales() {
    static DialogosQt dialogos;
    static RelojSistema reloj;
    static ImpresoraQt impresora;
    static CarpetasSistema carpetas;
    Servicios() = {&dialogos, &reloj, &impresora, &carpetas};
}
