#include "clientes/ui/frmExentos.h"

#include "bd/conexion.h"
#include "clientes/exentos.h"
#include "clientes/listadosclientes.h"
#include "clientes/ui/modeloclientes.h"
#include "principal/formatos.h"
#include "principal/manejadores.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"
#include "principal/ui/controles.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeView>

namespace {

const QString kTitulo = QStringLiteral("Gestión de Exentos");
const QString kActivo = QStringLiteral("Activo");
const QString kInactivo = QStringLiteral("Inactivo");

const QString kPreguntaEliminar =
    QStringLiteral("RECUERDE: Si elimina un registro, cuando consulte el Listado de Registro de "
                   "Exentos,") +
    kCrLf + QStringLiteral("SÓLO podrá conocer las Fechas de Entrada, Fechas de Salida y Placas,") +
    kCrLf +
    QStringLiteral("NO obtendrá la información de Nombre y Apellidos al ser eliminado el "
                   "registro.") +
    kCrLf + kCrLf +
    QStringLiteral("REALICE primero un Listado de Registro de Exentos para tener la información "
                   "de Nombre y Apellidos,") +
    kCrLf +
    QStringLiteral("almacenando los datos en un archivo de histórico para referencias futuras.") +
    kCrLf + kCrLf +
    QStringLiteral("RECUERDE: Puede desmarcar la casilla de verificación -Activo- y modificar el "
                   "registro, quedando -Inactivo-;") +
    kCrLf +
    QStringLiteral("de esta forma, conservará la información relacionada y cualquier Entrada que "
                   "se realice de la Placa será tarificada.") +
    kCrLf + kCrLf + QStringLiteral("¿Desea eliminar el registro seleccionado?");

// Only level 1 may delete: the level read as a number, at most 5 and none of 2 to 5.
bool puedeEliminar() {
    const double nivel = ValorNumerico(SesionActual.NivelAcceso);
    return nivel <= 5 && nivel != 2 && nivel != 3 && nivel != 4 && nivel != 5;
}

bool confirmar(const QString& texto, const QString& titulo, Icono icono) {
    return Servicios().dialogos->mensaje(texto, titulo, icono, Boton::Si | Boton::No, Boton::No) ==
           Boton::Si;
}

} // namespace

frmExentos::frmExentos(QWidget* parent)
    : VentanaHija(QStringLiteral("frmExentos"), QStringLiteral("exentos_gestion.ico"),
                  QStringLiteral("fondo8.jpg"),
                  QStringLiteral("Cierra la ventana de Gestión de Exentos"), parent) {
    construirControles();
    conectarSenales();
    btnEliminarExento->setVisible(puedeEliminar());
    btnListadoCompletoClicked();
}

void frmExentos::construirControles() {
    setWindowTitle(kTitulo);
    // Created in the order Tab walks them: the boxes down, the buttons, the list.
    const std::pair<const char*, QString> rotulos[] = {
        {"Label1", QStringLiteral("Placa")},
        {"Label3", QStringLiteral("Nombre")},
        {"Label4", QStringLiteral("Primer Apellido")},
        {"Label5", QStringLiteral("Segundo Apellido")},
        {"Label6", QStringLiteral("Tipo de Exento")}};
    txtPlacaExento = NuevaCaja("txtPlacaExento", 10, this);
    txtNombreExento = NuevaCaja("txtNombreExento", 15, this);
    txtApe1Exento = NuevaCaja("txtApe1Exento", 20, this);
    txtApe2Exento = NuevaCaja("txtApe2Exento", 20, this);
    txtTipoExento = NuevaCaja("txtTipoExento", 50, this);
    chkActivoExento = new QCheckBox(this);
    chkActivoExento->setObjectName(QStringLiteral("chkActivoExento"));
    chkActivoExento->setAccessibleName(kActivo);
    chkActivoExento->setChecked(true);
    Label2 = new EtiquetaPulsable(kActivo, nullptr, this);
    Label2->setObjectName(QStringLiteral("Label2"));
    btnAgregarExento = NuevoBoton("btnAgregarExento", QStringLiteral("  &Agregar"),
                                  QStringLiteral("exentos_agregar.ico"), this);
    btnModificarExento = NuevoBoton("btnModificarExento", QStringLiteral("  &Modificar"),
                                    QStringLiteral("exentos_modificar.ico"), this);
    btnEliminarExento = NuevoBoton("btnEliminarExento", QStringLiteral("  &Eliminar"),
                                   QStringLiteral("exentos_eliminar.ico"), this);
    btnListadoExentos = NuevoBoton("btnListadoExentos", QStringLiteral("  &Listado de Exentos CSV"),
                                   QStringLiteral("exentos_listado_csv.ico"), this);
    btnListadoCompleto =
        NuevoBoton("btnListadoCompleto", QStringLiteral("Listado Completo"), QString(), this);

    ListView1 = NuevaListaClientes("ListView1", kColumnasExentos, modelo_, this);

    auto* datos = new QGridLayout;
    QLineEdit* const cajas[] = {txtPlacaExento, txtNombreExento, txtApe1Exento, txtApe2Exento,
                                txtTipoExento};
    for (int i = 0; i < 5; ++i) {
        QLabel* etiqueta = NuevaEtiqueta(rotulos[i].first, rotulos[i].second, this);
        etiqueta->setBuddy(cajas[i]);
        datos->addWidget(etiqueta, i, 0);
        datos->addWidget(cajas[i], i, 1, 1, i == 4 ? 2 : 1);
    }
    auto* activo = new QHBoxLayout;
    activo->addWidget(chkActivoExento);
    activo->addWidget(Label2);
    activo->addStretch();
    datos->addLayout(activo, 5, 1);
    datos->setColumnStretch(2, 1);

    auto* arriba = new QHBoxLayout;
    arriba->addLayout(datos, 1);
    arriba->addSpacing(16);
    DistribuirGestion(this, arriba,
                      {btnAgregarExento, btnModificarExento, btnEliminarExento, btnListadoExentos},
                      btnListadoCompleto, ListView1);
    resize(900, 520);
}

void frmExentos::conectarSenales() {
    Conectar(btnAgregarExento, &QPushButton::clicked, this, &frmExentos::btnAgregarExentoClicked);
    Conectar(btnModificarExento, &QPushButton::clicked, this,
             &frmExentos::btnModificarExentoClicked);
    Conectar(btnEliminarExento, &QPushButton::clicked, this, &frmExentos::btnEliminarExentoClicked);
    Conectar(btnListadoExentos, &QPushButton::clicked, this, &frmExentos::btnListadoExentosClicked);
    Conectar(btnListadoCompleto, &QPushButton::clicked, this,
             &frmExentos::btnListadoCompletoClicked);
    ConectarEleccionFila(ListView1, modelo_, QStringLiteral("id_exento"), &IdExentoSeleccionado,
                         [this](int fila) { mostrarFila(fila); });
    // Leaving the box, or Enter in it.
    Conectar(txtPlacaExento, &QLineEdit::editingFinished, this,
             &frmExentos::txtPlacaExentoFocusOut);
    Conectar(Label2, &EtiquetaPulsable::pulsada, this, &frmExentos::Label2Clicked);
}

void frmExentos::btnListadoCompletoClicked() {
    AbrirConexion();
    {
        // Refilling is no choice of the user's: the picked record stays picked.
        const QSignalBlocker bloqueo(ListView1->selectionModel());
        modelo_->abrir(ConsultaExentos());
    }
    CerrarConexion();
    if (modelo_->total() > 0)
        mostrarFila(0);
    setWindowTitle(kTitulo + QStringLiteral(" - %1 registro/s").arg(modelo_->total()));
    enfocarPlaca();
}

void frmExentos::mostrarFila(int fila) {
    QLineEdit* const cajas[] = {txtPlacaExento, txtNombreExento, txtApe1Exento, txtApe2Exento,
                                txtTipoExento};
    for (int c = 1; c <= 5; ++c)
        cajas[c - 1]->setText(modelo_->texto(fila, c));
    chkActivoExento->setChecked(modelo_->campo(fila, QStringLiteral("ActivoExento")).aBandera());
}

void frmExentos::txtPlacaExentoFocusOut() {
    txtPlacaExento->setText(txtPlacaExento->text().toUpper());
}

void frmExentos::Label2Clicked() {
    chkActivoExento->toggle();
}

void frmExentos::avisar(const QString& texto) {
    Informar(texto);
    enfocarPlaca();
}

// The box shows a plate after a listing or a refusal: what is typed next replaces it.
void frmExentos::enfocarPlaca() {
    txtPlacaExento->setFocus();
    txtPlacaExento->selectAll();
}

Exento frmExentos::leerCajas() const {
    return {IdExentoSeleccionado,        PlacaExento(txtPlacaExento->text()),
            txtNombreExento->text(),     txtApe1Exento->text(),
            txtApe2Exento->text(),       txtTipoExento->text(),
            chkActivoExento->isChecked()};
}

// The plate box upper-cased; false (and the attendant told) when it holds no plate.
bool frmExentos::placaIndicada() {
    txtPlacaExento->setText(PlacaExento(txtPlacaExento->text()));
    if (!txtPlacaExento->text().isEmpty())
        return true;
    avisar(QStringLiteral("Debe indicar la Placa"));
    return false;
}

void frmExentos::btnAgregarExentoClicked() {
    if (!placaIndicada())
        return;
    const Cambio<> cambio = AgregarExento(leerCajas());
    if (!cambio.hecho()) {
        avisar(QStringLiteral("La Placa especificada ya existe"));
        return;
    }
    btnListadoCompletoClicked();
    Registrar(QStringLiteral("Se agrega un nuevo registro desde Gestión de Exentos"),
              {cambio.sentencias.first()});
    avisar(QStringLiteral("Datos agregados correctamente"));
}

void frmExentos::btnModificarExentoClicked() {
    if (IdExentoSeleccionado == 0) {
        avisar(QStringLiteral("Debe seleccionar un registro del listado"));
        return;
    }
    if (!placaIndicada())
        return;
    if (!confirmar(QStringLiteral("¿Desea modificar el registro seleccionads?"),
                   QStringLiteral("Modificar Registro"), Icono::Informacion))
        return;
    const Exento exento = leerCajas();
    const Cambio<> cambio = ModificarExento(exento);
    if (!cambio.hecho()) {
        informarNoEncontrado(ModificacionExento(exento));
        return;
    }
    btnListadoCompletoClicked();
    Registrar(QStringLiteral("Se modifica un registro desde Gestión de Exentos"),
              {cambio.sentencias.first()});
    IdExentoSeleccionado = 0;
    avisar(QStringLiteral("Registro modificado correctamente"));
}

void frmExentos::btnEliminarExentoClicked() {
    if (IdExentoSeleccionado == 0) {
        avisar(QStringLiteral("Debe seleccionar un registro del listado"));
        return;
    }
    if (!confirmar(kPreguntaEliminar, QStringLiteral("Eliminar Registro"), Icono::Exclamacion))
        return;
    const int64_t id = IdExentoSeleccionado;
    const Cambio<> cambio = EliminarExento(id);
    if (!cambio.hecho()) {
        informarNoEncontrado(EliminacionExento(id));
        return;
    }
    btnListadoCompletoClicked();
    Registrar(QStringLiteral("Se elimina un registro desde Gestión de Exentos"),
              {cambio.sentencias.first()});
    IdExentoSeleccionado = 0;
    avisar(QStringLiteral("Registro eliminads correctamente"));
}

void frmExentos::informarNoEncontrado(const QString& sentencia) {
    IdExentoSeleccionado = 0;
    btnListadoCompletoClicked();
    Registrar(QStringLiteral("Gestión de Exentos, Mensaje: El registro seleccionado ya no existe"),
              {sentencia});
    avisar(QStringLiteral("El registro seleccionado ya no existe; pudo haber sido eliminado desde "
                          "otro punto de control"));
}

void frmExentos::btnListadoExentosClicked() {
    const QStringList lineas = LineasListadoExentos();
    {
        const QSignalBlocker bloqueo(ListView1->selectionModel());
        modelo_->vaciar();
    }
    GenerarListado(kArchivoListadoExentos, lineas, kSucesoListadoExentos);
}
