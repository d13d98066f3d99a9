#pragma once
// The exempt vehicles window: lists the records, adds, changes and deletes them, and writes
// their listing file.

#include "principal/ui/etiquetapulsable.h"
#include "principal/ui/ventanahija.h"

#include <cstdint>

class QCheckBox;
class QLineEdit;
class QPushButton;
class ModeloClientes;
class QModelIndex;
class QTreeView;
struct Exento;

class frmExentos : public VentanaHija {
    Q_OBJECT
public:
    explicit frmExentos(QWidget* parent = nullptr);

    QLineEdit* txtPlacaExento = nullptr;
    QLineEdit* txtNombreExento = nullptr;
    QLineEdit* txtApe1Exento = nullptr;
    QLineEdit* txtApe2Exento = nullptr;
    QLineEdit* txtTipoExento = nullptr;
    QCheckBox* chkActivoExento = nullptr;
    EtiquetaPulsable* Label2 = nullptr;
    QPushButton* btnAgregarExento = nullptr;
    QPushButton* btnModificarExento = nullptr;
    QPushButton* btnEliminarExento = nullptr;
    QPushButton* btnListadoExentos = nullptr;
    QPushButton* btnListadoCompleto = nullptr;
    QTreeView* ListView1 = nullptr;

    // id_exento of the record picked in the list; 0 when none. A listing leaves it as it is.
    int64_t IdExentoSeleccionado = 0;

public slots:
    void btnListadoCompletoClicked();
    void btnAgregarExentoClicked();
    void btnModificarExentoClicked();
    void btnEliminarExentoClicked();
    void btnListadoExentosClicked();
    void txtPlacaExentoFocusOut();
    void Label2Clicked();

private:
    void construirControles();
    void conectarSenales();
    void mostrarFila(int fila);
    Exento leerCajas() const;
    bool placaIndicada();
    void avisar(const QString& texto);
    void enfocarPlaca();
    // Tells the attendant and the log that the record went away at another station.
    void informarNoEncontrado(const QString& sentencia);

    ModeloClientes* modelo_ = nullptr;
};
