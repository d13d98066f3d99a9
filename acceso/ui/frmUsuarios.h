#pragma once
// The users window: lists the users with their levels (a password is never shown), and adds,
// changes and deletes them; a legend beside the level box tells what each level may use.

#include "principal/ui/ventanahija.h"

#include <cstdint>
#include <initializer_list>
#include <utility>

class QLayout;
class QLineEdit;
class QPushButton;
class ModeloLista;
class QModelIndex;
class QTreeView;
struct DatosUsuario;

class frmUsuarios : public VentanaHija {
    Q_OBJECT
public:
    explicit frmUsuarios(QWidget* parent = nullptr);

    QLineEdit* txtUsuario = nullptr;
    QLineEdit* txtClave = nullptr;
    QLineEdit* txtNombre = nullptr;
    QLineEdit* txtApe1 = nullptr;
    QLineEdit* txtApe2 = nullptr;
    QLineEdit* txtNivel = nullptr;
    QPushButton* btnAgregarUsuario = nullptr;
    QPushButton* btnModificarUsuario = nullptr;
    QPushButton* btnEliminarUsuario = nullptr;
    QPushButton* btnListadoCompleto = nullptr;
    QTreeView* ListView1 = nullptr;

    // id_usuario of the selected row; 0 when none is selected.
    int64_t IdUsuarioSeleccionado = 0;

public slots:
    void btnAgregarUsuarioClicked();
    void btnModificarUsuarioClicked();
    void btnEliminarUsuarioClicked();
    void btnListadoCompletoClicked();
    void txtNivelTextChanged();

private:
    void construirControles();
    QLayout* construirLeyenda();
    void conectarSenales();
    void mostrarFila(int fila);
    DatosUsuario datos() const;
    // The first empty box of those given, with its message, refuses; true when none is empty.
    bool completos(std::initializer_list<std::pair<QLineEdit*, const char*>> cajas);
    void avisar(const QString& texto);
    // The selected user is gone (another station deleted it): logged, told, list refreshed.
    void noEncontrado(const QString& suceso, const QString& sentencia);

    ModeloLista* modelo_ = nullptr;
};
