#include "acceso/ui/frmPrincipal.h"

#include "acceso/parqueadero.h"
#include "acceso/respaldo.h"
#include "bd/conexion.h"
#include "bd/recordset.h"
#include "movimientos/correcciones.h"
#include "movimientos/tarifas.h"
#include "principal/avisos.h"
#include "principal/formatos.h"
#include "principal/manejadores.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"
#include "principal/ui/controles.h"
#include "principal/ui/recursos.h"
#include "principal/ui/ventanas.h"
#include "turnos/acciones/accionesturno.h"
#include "turnos/rastroauditoria.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QProgressDialog>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

namespace {

// 1000 twips at 96 dots per inch.
constexpr int kAltoReservado = 67;

const char* const kRecomendaciones[] = {
    "Recuerde realizar RESPALDOS DE SEGURIDAD de la base de datos asiduamente, se recomienda un "
    "respaldo diario",
    "",
    "Contrate un Servicio de Soporte, presencial y/o remoto, para realizar mantenimiento de la "
    "base de datos",
    "cada mes (recomendado)",
    "",
    "Si no aplica las recomendaciones indicadas, podrían presentarse daños en la información,",
    "quedando bajo su plena responsabilidad",
    "",
    "Prevenir es mejor que curar. Si compra un vehículo, le brinda mantenimiento",
    "",
    "¿La información no es igualmente valiosa para usted?"};

QString textoRecomendaciones() {
    QStringList lineas;
    for (const char* linea : kRecomendaciones)
        lineas << QString::fromUtf8(linea);
    return lineas.join(QLatin1Char('\n'));
}

QString nombreCompleto() {
    return SesionActual.Nombre + QLatin1Char(' ') + SesionActual.Ape1 + QLatin1Char(' ') +
           SesionActual.Ape2;
}

} // namespace

frmPrincipal::frmPrincipal(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmPrincipal"));
    areaMdi = new QMdiArea(this);
    areaMdi->setObjectName(QStringLiteral("areaMdi"));
    areaMdi->viewport()->installEventFilter(this);
    setCentralWidget(areaMdi);
    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->hide();
    BarraEstado = new QStatusBar(this);
    BarraEstado->setObjectName(QStringLiteral("BarraEstado"));
    setStatusBar(BarraEstado);
    EstablecerBarraEstado(BarraEstado);
    pop = new QTimer(this);
    pop->setObjectName(QStringLiteral("pop"));
    pop->setInterval(60000);
    respaldo = new MonitorRespaldo(this);
    construirMenus();
    Conectar(pop, &QTimer::timeout, this, &frmPrincipal::popTimer);
    Conectar(&Avisos(), &AvisosVentanas::datosParqueaderoModificados, this,
             &frmPrincipal::datosParqueaderoModificados);
}

QAction* frmPrincipal::agregarOpcion(const char* nombre, const QString& rotulo,
                                     const QKeySequence& tecla, void (frmPrincipal::*manejador)()) {
    QAction* accion = mnuGestionParqueadero->addAction(rotulo);
    accion->setObjectName(QLatin1String(nombre));
    accion->setShortcut(tecla);
    Conectar(accion, &QAction::triggered, this, manejador);
    return accion;
}

QAction* frmPrincipal::agregarDivisor(const char* nombre, bool visible) {
    QAction* divisor = menuBar()->addAction(QStringLiteral("|"));
    divisor->setObjectName(QLatin1String(nombre));
    divisor->setVisible(visible);
    return divisor;
}

void frmPrincipal::construirMenus() {
    mnuGestionParqueadero = menuBar()->addMenu(QStringLiteral("&Gestión del Parqueadero"));
    mnuGestionParqueadero->setObjectName(QStringLiteral("mnuGestionParqueadero"));
    mnuGestionParqueadero->menuAction()->setObjectName(QStringLiteral("mnuGestionParqueadero"));
    Conectar(mnuGestionParqueadero, &QMenu::aboutToShow, this,
             &frmPrincipal::mnuGestionParqueaderoClicked);
    mnuEntradasSalidas = agregarOpcion("mnuEntradasSalidas", QStringLiteral("&Entradas/Salidas"),
                                       Qt::Key_F2, &frmPrincipal::mnuEntradasSalidasClicked);
    mnuReimprimir =
        agregarOpcion("mnuReimprimir", QStringLiteral("&Reimprimir Tickets - Totales Cobrados"),
                      Qt::Key_F3, &frmPrincipal::mnuReimprimirClicked);
    mnuTablero = agregarOpcion("mnuTablero", QStringLiteral("Tab&lero"), {},
                               &frmPrincipal::mnuTableroClicked);
    mnuTarifas = agregarOpcion("mnuTarifas", QStringLiteral("&Tarifas"), Qt::Key_F4,
                               &frmPrincipal::mnuTarifasClicked);
    mnuDatosParqueadero = agregarOpcion("mnuDatosParqueadero", QStringLiteral("&Datos Parqueadero"),
                                        Qt::Key_F5, &frmPrincipal::mnuDatosParqueaderoClicked);
    mnuImpresora = agregarOpcion("mnuImpresora", QStringLiteral("&Impresora"), {},
                                 &frmPrincipal::mnuImpresoraClicked);
    mnuGestionUsuarios = agregarOpcion("mnuGestionUsuarios", QStringLiteral("Gestión de &Usuarios"),
                                       Qt::Key_F6, &frmPrincipal::mnuGestionUsuariosClicked);
    mnuGestionClientes = agregarOpcion("mnuGestionClientes", QStringLiteral("Gestión de &Clientes"),
                                       Qt::Key_F7, &frmPrincipal::mnuGestionClientesClicked);
    mnuGestionExentos = agregarOpcion("mnuGestionExentos", QStringLiteral("Gestión de E&xentos"),
                                      Qt::Key_F8, &frmPrincipal::mnuGestionExentosClicked);
    mnuAbrirTurno = agregarOpcion("mnuAbrirTurno", QStringLiteral("&Abrir Turno"), Qt::Key_F9,
                                  &frmPrincipal::mnuAbrirTurnoClicked);
    mnuCerrarTurno = agregarOpcion("mnuCerrarTurno", QStringLiteral("Cerrar Tur&no"), Qt::Key_F10,
                                   &frmPrincipal::mnuCerrarTurnoClicked);
    mnuReabrirTurno = agregarOpcion("mnuReabrirTurno", QStringLiteral("Rea&brir Turno"), {},
                                    &frmPrincipal::mnuReabrirTurnoClicked);
    mnuRespaldarAhora = agregarOpcion("mnuRespaldarAhora", QStringLiteral("Res&paldar Ahora"), {},
                                      &frmPrincipal::mnuRespaldarAhoraClicked);
    mnuVerificarAuditoria =
        agregarOpcion("mnuVerificarAuditoria", QStringLiteral("&Verificar auditoría"), {},
                      &frmPrincipal::mnuVerificarAuditoriaClicked);
    mnuSeparador1 = mnuGestionParqueadero->addSeparator();
    mnuSeparador1->setObjectName(QStringLiteral("mnuSeparador1"));
    mnuCambiarUsuario = agregarOpcion("mnuCambiarUsuario", QStringLiteral("Ca&mbiar de Usuario"),
                                      {}, &frmPrincipal::mnuCambiarUsuarioClicked);
    mnuSalir = agregarOpcion("mnuSalir", QStringLiteral("&Salir"), Qt::Key_F12,
                             &frmPrincipal::mnuSalirClicked);

    mnuSeparador8 = agregarDivisor("mnuSeparador8", true);
    mnuAyuda = menuBar()->addAction(QStringLiteral("&Ayuda"));
    mnuAyuda->setObjectName(QStringLiteral("mnuAyuda"));
    Conectar(mnuAyuda, &QAction::triggered, this, &frmPrincipal::mnuAyudaClicked);

    // Never shown in the bar: the lists pop it up as their context menu.
    mnuModificarDatosEntradaSalida =
        menuBar()->addMenu(QStringLiteral("Modificar Datos de Entradas/Salidas"));
    mnuModificarDatosEntradaSalida->setObjectName(QStringLiteral("mnuModificarDatosEntradaSalida"));
    mnuModificarDatosEntradaSalida->menuAction()->setVisible(false);
    mnuModificarES = mnuModificarDatosEntradaSalida->addAction(QStringLiteral("Modificar Datos"));
    mnuModificarES->setObjectName(QStringLiteral("mnuModificarES"));
    EstablecerMenuCorrecciones(mnuModificarDatosEntradaSalida);

    for (int n = 2; n <= 7; ++n)
        separadoresOcultos << agregarDivisor(qPrintable(QStringLiteral("mnuSeparador%1").arg(n)),
                                             false);
}

bool frmPrincipal::cargar() {
    SegundosTick = 0;
    bool soloAjustes = false;
    try {
        CargarDatosParqueadero();
    } catch (const ErrorFilaAjustes& error) {
        soloAjustes = ValorNumerico(SesionActual.NivelAcceso) == 1;
        if (!soloAjustes) {
            noSeCargan(error, error.mensaje + QStringLiteral(".\n\nUn usuario de nivel 1 - "
                                                             "Administrador debe corregirlos en "
                                                             "la ventana Datos Parqueadero."));
            return false;
        }
        Registrar(QStringLiteral("Datos del parqueadero dañados, solo se permite la ventana Datos "
                                 "Parqueadero: ") +
                  error.textoCompleto());
        Servicios().dialogos->mensaje(
            error.mensaje +
                QStringLiteral(".\n\nHasta que los corrija y los guarde, solo podrá usar la "
                               "ventana Datos Parqueadero (menú Gestión del Parqueadero, F5); "
                               "las demás opciones quedan deshabilitadas."),
            QStringLiteral("Datos del parqueadero"), Icono::Exclamacion);
    } catch (const ErrorBD& error) {
        noSeCargan(error, error.explicacion());
        return false;
    }
    setWindowIcon(IconoPrograma(QStringLiteral("vialtor.ico")));
    setWindowTitle(QStringLiteral("Usuario: ") + nombreCompleto());
    if (const QScreen* pantalla = screen()) {
        const QRect area = pantalla->geometry();
        resize(area.width(), area.height() - kAltoReservado);
        move(area.topLeft());
    }
    Informar(textoRecomendaciones(), QStringLiteral("Software Vialtor"));
    if (ValorNumerico(SesionActual.NivelAcceso) > 6)
        SesionActual.NivelAcceso = QStringLiteral("4");
    ocultarMenusPorNivel();
    habilitarOpciones(!soloAjustes);
    Picture1->setPixmap(ImagenPrograma(QStringLiteral("fondo1.jpg")));
    show();
    estirarFondo();
    Informar(QStringLiteral("Bienvenido ") + nombreCompleto(),
             QStringLiteral("Bienvenido al Sistema Vialtor"));
    pop->start();
    return true;
}

void frmPrincipal::noSeCargan(const ErrorBD& error, const QString& mensaje) {
    CerrarConexion();
    Registrar(QStringLiteral("No se pueden cargar los datos del parqueadero: ") +
              error.textoCompleto());
    Servicios().dialogos->mensaje(mensaje, QStringLiteral("Datos del parqueadero"), Icono::Critico);
}

// With a damaged settings row every option but the settings window (and leaving) waits.
void frmPrincipal::habilitarOpciones(bool todas) {
    soloAjustes_ = !todas;
    for (QAction* opcion : mnuGestionParqueadero->actions())
        opcion->setEnabled(todas || opcion == mnuDatosParqueadero || opcion == mnuCambiarUsuario ||
                           opcion == mnuSalir);
}

void frmPrincipal::datosParqueaderoModificados() {
    if (!soloAjustes_)
        return;
    // Saved is not yet loaded: the whole row must read back sound.
    CargarDatosParqueadero();
    habilitarOpciones(true);
    Registrar(QStringLiteral("Datos del parqueadero corregidos, se habilitan las opciones del "
                             "menú"));
}

void frmPrincipal::ocultarMenusPorNivel() {
    const int nivel = static_cast<int>(ValorNumerico(SesionActual.NivelAcceso));
    QList<QAction*> ocultas;
    switch (nivel) {
    case 2:
        ocultas = {mnuTarifas, mnuDatosParqueadero, mnuGestionUsuarios};
        break;
    case 3:
        ocultas = {mnuReimprimir, mnuTarifas, mnuDatosParqueadero, mnuGestionUsuarios,
                   mnuGestionExentos};
        break;
    case 4:
    case 5:
    case 6:
        ocultas = {mnuTarifas, mnuDatosParqueadero, mnuGestionUsuarios, mnuGestionClientes,
                   mnuGestionExentos};
        if (nivel != 6)
            ocultas << mnuReimprimir;
        break;
    default:
        break;
    }
    if (nivel != 1 && nivel != 2)
        ocultas << mnuTablero;
    if (nivel != 1)
        ocultas << mnuReabrirTurno << mnuRespaldarAhora << mnuVerificarAuditoria << mnuImpresora;
    for (QAction* accion : ocultas)
        accion->setVisible(false);
}

bool frmPrincipal::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == areaMdi->viewport() && evento->type() == QEvent::Resize)
        estirarFondo();
    return QMainWindow::eventFilter(objeto, evento);
}

void frmPrincipal::estirarFondo() {
    const QPixmap fondo = Picture1->pixmap();
    if (fondo.isNull() || areaMdi->viewport()->size().isEmpty())
        return;
    areaMdi->setBackground(
        fondo.scaled(areaMdi->viewport()->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

QWidget* frmPrincipal::mostrarVentana(const QString& nombre) {
    for (QMdiSubWindow* sub : areaMdi->subWindowList()) {
        if (sub->widget() && sub->widget()->objectName() == nombre) {
            sub->showNormal();
            areaMdi->setActiveSubWindow(sub);
            return sub->widget();
        }
    }
    QWidget* ventana = CrearVentana(nombre);
    if (!ventana) {
        Informar(QStringLiteral("Esta ventana aún no está disponible en esta versión del "
                                "programa."));
        return nullptr;
    }
    const QSize tamano = ventana->size();
    QMdiSubWindow* sub = areaMdi->addSubWindow(ventana);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(ventana->windowIcon());
    // The window's own size plus the frame around it.
    sub->resize(tamano + sub->sizeHint() - ventana->sizeHint());
    sub->move(0, 0);
    sub->show();
    areaMdi->setActiveSubWindow(sub);
    return ventana;
}

void frmPrincipal::abrirConSuceso(const QString& texto, const QString& ventana) {
    Registrar(texto);
    mostrarVentana(ventana);
}

void frmPrincipal::mnuGestionParqueaderoClicked() {
    Registrar(QStringLiteral(
        "Hace click en Gestión del Parqueadero - Despliega las opciones del Menú Principal"));
}

void frmPrincipal::mnuEntradasSalidasClicked() {
    Registrar(QStringLiteral("Hace click en la opción Entradas/Salidas"));
    AbrirConexion();
    const bool hayTarifas = !TarifasPorDescripcion().isEmpty();
    CerrarConexion();
    if (!hayTarifas) {
        Registrar(QStringLiteral("Se muestra mensaje - No existen tarifas"));
        Informar(QStringLiteral("No existen tarifas"));
        return;
    }
    abrirConSuceso(QStringLiteral("Ingresa a la ventana Entradas/Salidas"),
                   QStringLiteral("frmGestionEntradasSalidas"));
}

void frmPrincipal::mnuReimprimirClicked() {
    Registrar(QStringLiteral("Hace click en la opción Reimprimir Tickets - Totales Cobrados"));
    AbrirConexion();
    Recordset entradas, salidas;
    entradas.Open(QStringLiteral("SELECT TOP 1 * FROM Entradas"));
    salidas.Open(QStringLiteral("SELECT TOP 1 * FROM Salidas"));
    const bool hayDatos = !entradas.Eof() || !salidas.Eof();
    entradas.Close();
    salidas.Close();
    CerrarConexion();
    if (!hayDatos) {
        Registrar(QStringLiteral("Se muestra mensaje - No existen datos para Reimprimir"));
        Informar(QStringLiteral("No existen datos para Reimprimir"));
        return;
    }
    abrirConSuceso(QStringLiteral("Ingresa a la ventana Reimprimir Tickets - Totales Cobrados"),
                   QStringLiteral("frmReimprimirTickets"));
}

void frmPrincipal::mnuAbrirTurnoClicked() {
    Registrar(QStringLiteral("Hace click en la opción Abrir Turno"));
    PedirAbrirTurno(false);
}

void frmPrincipal::mnuCerrarTurnoClicked() {
    Registrar(QStringLiteral("Hace click en la opción Cerrar Turno"));
    PedirCerrarTurno();
}

void frmPrincipal::mnuReabrirTurnoClicked() {
    Registrar(QStringLiteral("Hace click en la opción Reabrir Turno"));
    PedirReabrirTurno();
}

// The copy runs on the monitor's worker thread; the modal bar keeps a second request from
// being clicked meanwhile and goes when the monitor tells the outcome.
void frmPrincipal::mnuRespaldarAhoraClicked() {
    Registrar(QStringLiteral("Hace click en la opción Respaldar Ahora"));
    if (!respaldo->respaldarAhora())
        return;
    auto* progreso = new QProgressDialog(this);
    progreso->setObjectName(QStringLiteral("frmRespaldarAhora"));
    progreso->setWindowTitle(TituloAplicacion);
    progreso->setLabelText(
        QStringLiteral("Realizando la copia de seguridad de la base de datos..."));
    auto* barra = new QProgressBar(progreso);
    barra->setObjectName(QStringLiteral("prgRespaldo"));
    progreso->setBar(barra);
    progreso->setCancelButton(nullptr);
    progreso->setRange(0, 0);
    progreso->setWindowModality(Qt::WindowModal);
    progreso->setAttribute(Qt::WA_DeleteOnClose);
    connect(respaldo, &MonitorRespaldo::copiaTerminada, progreso, &QWidget::close);
    progreso->show();
}

void frmPrincipal::mnuVerificarAuditoriaClicked() {
    Registrar(QStringLiteral("Hace click en la opción Verificar auditoría"));
    PedirVerificarAuditoria();
}

void frmPrincipal::mnuTableroClicked() {
    Registrar(QStringLiteral("Hace click en la opción Tablero"));
    abrirConSuceso(QStringLiteral("Ingresa a la ventana Tablero"), QStringLiteral("frmTablero"));
}

void frmPrincipal::mnuTarifasClicked() {
    abrirConSuceso(
        QStringLiteral("Hace click en la opción Tarifas - Ingresa a la ventana de Tarifas"),
        QStringLiteral("frmTarifas"));
}

void frmPrincipal::mnuDatosParqueaderoClicked() {
    abrirConSuceso(QStringLiteral("Hace click en la opción Datos Parqueadero - Ingresa a la "
                                  "ventana Datos Parqueadero"),
                   QStringLiteral("frmDatosParqueadero"));
}

void frmPrincipal::mnuImpresoraClicked() {
    abrirConSuceso(QStringLiteral("Hace click en la opción Impresora - Ingresa a la ventana "
                                  "Impresora"),
                   QStringLiteral("frmImpresora"));
}

void frmPrincipal::mnuGestionUsuariosClicked() {
    abrirConSuceso(QStringLiteral("Hace click en la opción Gestión de Usuarios - Ingresa a la "
                                  "ventana de Gestión de Usuarios"),
                   QStringLiteral("frmUsuarios"));
}

void frmPrincipal::mnuGestionClientesClicked() {
    abrirConSuceso(QStringLiteral("Hace click en la opción Gestión de Clientes - Ingresa a la "
                                  "ventana de Gestión de Clientes"),
                   QStringLiteral("frmClientes"));
}

void frmPrincipal::mnuGestionExentosClicked() {
    abrirConSuceso(QStringLiteral("Hace click en la opción Gestión de Exentos - Ingresa a la "
                                  "ventana de Gestión de Exentos"),
                   QStringLiteral("frmExentos"));
}

void frmPrincipal::mnuCambiarUsuarioClicked() {
    Registrar(QStringLiteral("Hace click en la opción Cambiar de Usuario"));
    if (!cerrarVentanas() || !OfrecerCierreTurno()) {
        Registrar(QStringLiteral("Cancela el cambio de usuario"));
        return;
    }
    AuditarSolo(QStringLiteral("Salida"), SesionActual.Usuario);
    Registrar(QStringLiteral("Sale de la sesión para el cambio de usuario"));
    cambiandoUsuario_ = true;
    close();
    emit cambioDeUsuario();
}

bool frmPrincipal::cerrarVentanas() {
    for (QMdiSubWindow* sub : areaMdi->subWindowList()) {
        if (ConTextoEscrito(sub->widget()) &&
            !PreguntarSiNo(QStringLiteral("La ventana ") + sub->widget()->windowTitle() +
                               QStringLiteral(" tiene datos escritos sin guardar. ¿Desea "
                                              "cerrarla de todos modos?"),
                           QStringLiteral("Vialtor - Cambiar de Usuario")))
            return false;
    }
    areaMdi->closeAllSubWindows();
    return areaMdi->subWindowList().isEmpty();
}

void frmPrincipal::mnuSalirClicked() {
    Registrar(QStringLiteral("Hace click en la opción Salir del Menú Principal"));
    close();
}

void frmPrincipal::mnuAyudaClicked() {
    Registrar(QStringLiteral("Hace click en la opción ayuda del menú principal"));
    Informar(QStringLiteral("Vialtor - Software de gestión de parqueaderos\n"
                            "Equipo de desarrollo de Vialtor\n\n"
                            "Vialtor v4.5\n\n"),
             QStringLiteral("Acerca de Vialtor"));
}

void frmPrincipal::popTimer() {
    SegundosTick = static_cast<int16_t>(pop->interval() / 1000);
    respaldo->tick(SegundosTick);
    SegundosTick = 0;
}

void frmPrincipal::closeEvent(QCloseEvent* evento) {
    if (cambiandoUsuario_) {
        pop->stop();
        return evento->accept();
    }
    const auto respuesta = Servicios().dialogos->mensaje(QStringLiteral("¿Salir del programa? "),
                                                         QStringLiteral("Vialtor - Salida"),
                                                         Icono::Exclamacion, Boton::Si | Boton::No);
    if (respuesta == Boton::No) {
        Registrar(QStringLiteral("Cancela el proceso de Salir del programa"));
        evento->ignore();
        return;
    }
    Registrar(QStringLiteral("Sale del programa desde la opción Salir del Menú Principal"));
    pop->stop();
    areaMdi->closeAllSubWindows();
    evento->accept();
    QCoreApplication::quit();
}
