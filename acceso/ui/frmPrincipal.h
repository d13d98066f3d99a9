#pragma once
// The main window: a multiple-document frame whose menus, cut to the user's level, open the
// child windows; it finishes the start and asks before the program ends.

#include <QMainWindow>
#include <QPixmap>
#include <cstdint>

class ErrorBD;
class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QStatusBar;
class QTimer;
class MonitorRespaldo;

class frmPrincipal : public QMainWindow {
    Q_OBJECT
public:
    explicit frmPrincipal(QWidget* parent = nullptr);
    // The load: settings, size, the two start messages, menus by level. False when the
    // settings cannot be loaded and the program must end; a damaged settings row lets a
    // level-1 user through to the settings window alone.
    bool cargar();
    // Opens the child window of that system name, or brings the open one to the front.
    QWidget* mostrarVentana(const QString& nombre);

    QMdiArea* areaMdi;
    QLabel* Picture1;
    QTimer* pop;
    QStatusBar* BarraEstado;
    QMenu* mnuGestionParqueadero;
    QAction* mnuEntradasSalidas;
    QAction* mnuReimprimir;
    QAction* mnuTablero;
    QAction* mnuTarifas;
    QAction* mnuDatosParqueadero;
    QAction* mnuImpresora;
    QAction* mnuGestionUsuarios;
    QAction* mnuGestionClientes;
    QAction* mnuGestionExentos;
    QAction* mnuAbrirTurno;
    QAction* mnuCerrarTurno;
    QAction* mnuReabrirTurno;
    QAction* mnuRespaldarAhora;
    QAction* mnuVerificarAuditoria;
    QAction* mnuSeparador1;
    QAction* mnuCambiarUsuario;
    QAction* mnuSalir;
    QAction* mnuSeparador8;
    QAction* mnuAyuda;
    QMenu* mnuModificarDatosEntradaSalida;
    QAction* mnuModificarES;
    QList<QAction*> separadoresOcultos; // mnuSeparador2 to mnuSeparador7

    // Length of the last tick in seconds, for the automatic backup.
    int16_t SegundosTick = 0;
    // The backup and size warnings each tick drives.
    MonitorRespaldo* respaldo;

public slots:
    void mnuGestionParqueaderoClicked();
    void mnuEntradasSalidasClicked();
    void mnuReimprimirClicked();
    void mnuTableroClicked();
    void mnuTarifasClicked();
    void mnuDatosParqueaderoClicked();
    void mnuImpresoraClicked();
    void mnuGestionUsuariosClicked();
    void mnuGestionClientesClicked();
    void mnuGestionExentosClicked();
    void mnuAbrirTurnoClicked();
    void mnuCerrarTurnoClicked();
    void mnuReabrirTurnoClicked();
    void mnuRespaldarAhoraClicked();
    void mnuVerificarAuditoriaClicked();
    void mnuCambiarUsuarioClicked();
    void mnuSalirClicked();
    void mnuAyudaClicked();
    void popTimer();
    // After a save in the settings window: the options held back by a damaged row return.
    void datosParqueaderoModificados();

signals:
    // The session ended without ending the program: the login comes back for the next user.
    void cambioDeUsuario();

protected:
    void closeEvent(QCloseEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void construirMenus();
    QAction* agregarOpcion(const char* nombre, const QString& rotulo, const QKeySequence& tecla,
                           void (frmPrincipal::*manejador)());
    QAction* agregarDivisor(const char* nombre, bool visible);
    void ocultarMenusPorNivel();
    void habilitarOpciones(bool todas);
    void noSeCargan(const ErrorBD& error, const QString& mensaje);
    void abrirConSuceso(const QString& texto, const QString& ventana);
    void estirarFondo();
    // Closes every child window, a window with typed text asking first; false when one stays.
    bool cerrarVentanas();

    // The settings row was damaged at the load: only the settings window may be opened.
    bool soloAjustes_ = false;
    // Closing for a change of user: no question, and the program goes on.
    bool cambiandoUsuario_ = false;
};
