#include "acceso/ui/frmUsuarios.h"

#include "acceso/usuarios.h"
#include "bd/conexion.h"
#include "principal/formatos.h"
#include "principal/manejadores.h"
#include "principal/modelolista.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"
#include "principal/ui/controles.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeView>

namespace {

const QString kTitulo = QStringLiteral("Gestión de Usuarios");

const QStringList kTitulosLista = {"ID Usuario", "Usuario",         "Clave",           "Nivel",
                                   "Nombre",     "Primer Apellido", "Segundo Apellido"};
// The columns of each row after id_usuario, in the order of the list and of the boxes. The
// password is never read: its column shows a fixed mask and its box starts empty.
const char* const kColumnas[] = {"usuario", nullptr, "nivelacceso", "nombre", "ape1", "ape2"};
const QString kMascara = QStringLiteral("********");

const char* const kLeyenda[][2] = {
    {"1 - Administrador", "Acceso Completo"},
    {"2 - Supervisor C1", "Entradas/Salidas, Modificar Entradas, Reimprimir Tickets, Gestión de "
                          "Clientes, Gestión de Exentos"},
    {"3 - Supervisor C2", "Entradas/Salidas, Gestión de Clientes"},
    {"4 - Operario", "Entradas/Salidas"},
    {"5 - Operario C1", "Entradas/Salidas, Modificar Entradas"},
    {"6 - Operario C2", "Entradas/Salidas, Modificar Entradas, Reimprimir Tickets (Cierre)"}};

// The users' list: the stored fields as text, the name, password mask and level bold.
class ModeloUsuarios : public ModeloLista {
public:
    explicit ModeloUsuarios(QObject* padre) : ModeloLista(kTitulosLista, padre) {}
    QVariant data(const QModelIndex& indice, int rol) const override {
        if (!indice.isValid())
            return QVariant();
        if (rol == Qt::FontRole)
            return NegritaEntre(indice.column(), 1, 3);
        if (rol != Qt::DisplayRole)
            return QVariant();
        if (indice.column() == 2)
            return kMascara;
        return campo(indice.row(), indice.column() == 0
                                       ? QStringLiteral("id_usuario")
                                       : QLatin1String(kColumnas[indice.column() - 1]))
            .aTexto();
    }
};

const QString kNoExiste =
    QStringLiteral("El Usuario seleccionado ya no existe en la base de datos");

} // namespace

frmUsuarios::frmUsuarios(QWidget* parent)
    : VentanaHija(QStringLiteral("frmUsuarios"), QStringLiteral("usuarios.ico"),
                  QStringLiteral("fondo7.jpg"),
                  QStringLiteral("Cierra la ventana de Gestión de Usuarios"), parent) {
    construirControles();
    conectarSenales();
    btnListadoCompletoClicked();
}

// Made in the order they read on screen, which is the Tab order: the boxes, the level beside
// its legend, the buttons, the list.
void frmUsuarios::construirControles() {
    setWindowTitle(kTitulo);
    txtUsuario = NuevaCaja("txtUsuario", 15, this);
    txtClave = NuevaCaja("txtClave", 15, this);
    txtClave->setEchoMode(QLineEdit::Password);
    txtNombre = NuevaCaja("txtNombre", 15, this);
    txtApe1 = NuevaCaja("txtApe1", 20, this);
    txtApe2 = NuevaCaja("txtApe2", 20, this);
    txtNivel = NuevaCaja("txtNivel", 1, this);
    txtNivel->setFixedWidth(txtNivel->fontMetrics().horizontalAdvance(QStringLiteral("00")) + 16);
    btnAgregarUsuario = NuevoBoton("btnAgregarUsuario", QStringLiteral("  &Agregar Usuario"),
                                   QStringLiteral("usuario_agregar.ico"), this);
    btnModificarUsuario =
        NuevoBoton("btnModificarUsuario", QStringLiteral("  &Modificar Usuario Seleccionado"),
                   QStringLiteral("usuario_modificar.ico"), this);
    btnEliminarUsuario =
        NuevoBoton("btnEliminarUsuario", QStringLiteral("  &Eliminar Usuario Seleccionado"),
                   QStringLiteral("usuario_eliminar.ico"), this);
    btnListadoCompleto =
        NuevoBoton("btnListadoCompleto", QStringLiteral("Listado Completo"), QString(), this);

    modelo_ = new ModeloUsuarios(this);
    ListView1 =
        NuevaListaFilas("ListView1", modelo_, {1100, 1800, 1800, 800, 1800, 2000, 2000}, this);

    const std::pair<const char*, QLineEdit*> campos[] = {{"Nombre de Usuario", txtUsuario},
                                                         {"Clave", txtClave},
                                                         {"Nombre", txtNombre},
                                                         {"Primer Apellido", txtApe1},
                                                         {"Segundo Apellido", txtApe2}};
    auto* datos = new QGridLayout;
    int fila = 0;
    for (const auto& [rotulo, caja] : campos) {
        datos->addWidget(new QLabel(QString::fromUtf8(rotulo), this), fila, 0);
        datos->addWidget(caja, fila++, 1);
    }
    auto* arriba = new QHBoxLayout;
    arriba->addLayout(datos, 2);
    arriba->addSpacing(12);
    arriba->addLayout(construirLeyenda(), 3);
    arriba->addSpacing(12);
    DistribuirGestion(this, arriba, {btnAgregarUsuario, btnModificarUsuario, btnEliminarUsuario},
                      btnListadoCompleto, ListView1);
    resize(900, 480);
}

QLayout* frmUsuarios::construirLeyenda() {
    auto* leyenda = new QGridLayout;
    auto* titulo = new QLabel(QStringLiteral("NIVEL DE ACCESO"), this);
    QFont negrita = titulo->font();
    negrita.setBold(true);
    titulo->setFont(negrita);
    leyenda->addWidget(titulo, 0, 0);
    leyenda->addWidget(txtNivel, 0, 1, Qt::AlignLeft);
    int fila = 1;
    for (const auto& [nivel, permisos] : kLeyenda) {
        auto* nombre = new QLabel(QString::fromUtf8(nivel), this);
        nombre->setFont(negrita);
        auto* uso = new QLabel(QString::fromUtf8(permisos), this);
        uso->setWordWrap(true);
        leyenda->addWidget(nombre, fila, 0, Qt::AlignTop);
        leyenda->addWidget(uso, fila++, 1);
    }
    leyenda->setColumnStretch(1, 1);
    return leyenda;
}

void frmUsuarios::conectarSenales() {
    Conectar(btnAgregarUsuario, &QPushButton::clicked, this,
             &frmUsuarios::btnAgregarUsuarioClicked);
    Conectar(btnModificarUsuario, &QPushButton::clicked, this,
             &frmUsuarios::btnModificarUsuarioClicked);
    Conectar(btnEliminarUsuario, &QPushButton::clicked, this,
             &frmUsuarios::btnEliminarUsuarioClicked);
    Conectar(btnListadoCompleto, &QPushButton::clicked, this,
             &frmUsuarios::btnListadoCompletoClicked);
    ConectarEleccionFila(ListView1, modelo_, QStringLiteral("id_usuario"), &IdUsuarioSeleccionado,
                         [this](int fila) { mostrarFila(fila); });
    Conectar(txtNivel, &QLineEdit::textChanged, this, &frmUsuarios::txtNivelTextChanged);
}

void frmUsuarios::btnListadoCompletoClicked() {
    AbrirConexion();
    {
        const QSignalBlocker bloqueo(ListView1->selectionModel());
        modelo_->abrir({QStringLiteral("id_usuario,usuario,nivelacceso,nombre,ape1,ape2"),
                        QStringLiteral("Usuarios"),
                        {},
                        QStringLiteral("usuario ASC, id_usuario ASC"),
                        QStringLiteral("id_usuario")});
    }
    CerrarConexion();
    // The boxes show the first user; a change must not fall on a user chosen before.
    if (modelo_->total() > 0)
        mostrarFila(0);
    IdUsuarioSeleccionado = 0;
    setWindowTitle(kTitulo + QStringLiteral(" - %1 registros").arg(modelo_->total()));
}

void frmUsuarios::mostrarFila(int fila) {
    QLineEdit* const cajas[] = {txtUsuario, txtClave, txtNivel, txtNombre, txtApe1, txtApe2};
    for (int i = 0; i < 6; ++i)
        cajas[i]->setText(kColumnas[i] ? modelo_->texto(fila, i + 1) : QString());
}

void frmUsuarios::txtNivelTextChanged() {
    if (!NivelAdmitido(txtNivel->text()))
        txtNivel->clear();
}

DatosUsuario frmUsuarios::datos() const {
    return {txtUsuario->text(), txtClave->text(), txtNombre->text(),
            txtApe1->text(),    txtApe2->text(),  txtNivel->text()};
}

void frmUsuarios::avisar(const QString& texto) {
    Informar(texto);
    txtUsuario->setFocus();
}

bool frmUsuarios::completos(std::initializer_list<std::pair<QLineEdit*, const char*>> cajas) {
    for (const auto& [caja, mensaje] : cajas) {
        if (caja->text().isEmpty()) {
            Informar(QString::fromUtf8(mensaje));
            caja->setFocus();
            return false;
        }
    }
    return true;
}

void frmUsuarios::btnAgregarUsuarioClicked() {
    if (!completos({{txtUsuario, "Debe indicar el Usuario"},
                    {txtClave, "Debe indicar la Clave"},
                    {txtNivel, "Debe indicar el Nivel"}}))
        return;
    const Cambio<> cambio = AgregarUsuario(datos());
    if (!cambio.hecho()) {
        avisar(QStringLiteral("Especifique un Nombre de Usuario y Clave diferente"));
        return;
    }
    btnListadoCompletoClicked();
    Registrar(QStringLiteral("Usuario agregado correctamente: "), {cambio.sentencias.first()});
    avisar(QStringLiteral("Usuario agregado correctamente"));
}

void frmUsuarios::btnModificarUsuarioClicked() {
    if (IdUsuarioSeleccionado == 0) {
        avisar(QStringLiteral("Debe seleccionar un Usuario"));
        return;
    }
    // An empty password box keeps the stored password.
    if (!completos({{txtUsuario, "Debe indicar un Usuario"}, {txtNivel, "Debe indicar el Nivel"}}))
        return;
    if (!PreguntarSiNo(QStringLiteral("¿Desea modificar el Usuario seleccionado?"),
                       QStringLiteral("Modificar Usuario")))
        return;
    const int64_t id = IdUsuarioSeleccionado;
    const DatosUsuario usuario = datos();
    const Cambio<> cambio = ModificarUsuario(id, usuario);
    if (!cambio.hecho()) {
        noEncontrado(QStringLiteral("Usuario no modificado, ya no existe: "),
                     ActualizacionUsuarioSuceso(id, usuario));
        return;
    }
    btnListadoCompletoClicked();
    Registrar(QStringLiteral("Usuario modificado correctamente: "), {cambio.sentencias.first()});
    avisar(QStringLiteral("Usuario modificado correctamente"));
}

void frmUsuarios::btnEliminarUsuarioClicked() {
    if (IdUsuarioSeleccionado == 0) {
        avisar(QStringLiteral("Debe seleccionar un Usuario"));
        return;
    }
    if (Servicios().dialogos->mensaje(QStringLiteral("¿Desea eliminar el Usuario seleccionado?"),
                                      QStringLiteral("Eliminar Usuario"), Icono::Informacion,
                                      Boton::Si | Boton::No, Boton::No) != Boton::Si)
        return;
    const int64_t id = IdUsuarioSeleccionado;
    const Cambio<> cambio = EliminarUsuario(id);
    if (!cambio.hecho()) {
        noEncontrado(QStringLiteral("Usuario no eliminado, ya no existe: "),
                     EliminacionUsuario(id));
        return;
    }
    btnListadoCompletoClicked();
    Registrar(QStringLiteral("Usuario eliminado correctamente: "), {cambio.sentencias.first()});
    avisar(QStringLiteral("Usuario eliminado correctamente"));
}

void frmUsuarios::noEncontrado(const QString& suceso, const QString& sentencia) {
    btnListadoCompletoClicked();
    Registrar(suceso, {sentencia});
    avisar(kNoExiste);
}
