#include "clientes/listadosclientes.h"
#include "clientes/ui/frmExentos.h"
#include "tests/acceso/apoyo_ventanas.h"
#include "tests/clientes/apoyo_clientes.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTreeView>
#include <memory>

namespace {

class PruebaExentos : public PruebaClientesMotores {
protected:
    frmExentos& abrir() { return Abrir(v); }
    static void exentos(const QString& valores) {
        Ejecutar("INSERT INTO Exentos (PlacaExento,NombreExento,ActivoExento) VALUES " + valores);
    }
    // As the arrow keys do.
    void elegirFila(int fila) {
        v->ListView1->selectionModel()->setCurrentIndex(v->ListView1->model()->index(fila, 1),
                                                        QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
    }
    // The list's plates, names and marks, column by column.
    QString lista() const {
        const QAbstractItemModel& m = *v->ListView1->model();
        return Columna(m, 1) + '#' + Columna(m, 2) + '#' + Columna(m, 6);
    }
    std::unique_ptr<frmExentos> v;
};

TEST_P(PruebaExentos, AgregaEnMayusculasRechazaLaPlacaRepetidaYListaEnArchivo) {
    exentos("('pol7','Caro',False)");
    abrir();
    // Typed plate and name, the check box, the box shown.
    const std::tuple<const char*, const char*, bool, const char*> casos[] = {
        {"  ", "", true, "Debe indicar la Placa"},
        {"POL7", "", true, "La Placa especificada ya existe"},
        {" amb01 ", "O'Neil", false, "Datos agregados correctamente"},
        {"Amb01", "Otro", true, "La Placa especificada ya existe"},
    };
    for (const auto& [placa, nombre, activo, caja] : casos) {
        v->txtPlacaExento->setText(placa);
        v->txtNombreExento->setText(nombre);
        v->chkActivoExento->setChecked(activo);
        Pulsar(v->btnAgregarExento);
        EXPECT_EQ(dialogos.cajas.last().texto, caja);
    }
    // Always added in force; those in force list first.
    EXPECT_EQ(v->windowTitle() + ": " + lista(),
              "Gestión de Exentos - 2 registro/s: AMB01|pol7#O'Neil|Caro#Activo|Inactivo");
    Pulsar(v->btnListadoExentos);
    EXPECT_TRUE(lista() == "##" && archivo(kArchivoListadoExentos).contains(";AMB01;;;O'Neil;"));
    EXPECT_TRUE(dialogos.cajas.last().texto.startsWith("Archivo generado: ListadoExentosCSV.txt"));
    EXPECT_EQ(avisos().join('|'), "Se agrega un nuevo registro desde Gestión de Exentos+|Se "
                                  "genera el archivo: -ListadoExentosCSV.txt- desde el botón "
                                  "Listado de Exentos CSV de Gestión de Exentos");
    SesionActual.NivelAcceso = "2";
    EXPECT_FALSE(abrir().btnEliminarExento->isVisible());
}

TEST_P(PruebaExentos, ModificaYEliminaElRegistroElegidoTrasConfirmarSiAunExiste) {
    exentos("('AMB01','Ana',True),('POL7','Caro',True)");
    abrir();
    Pulsar(v->btnModificarExento);
    Pulsar(v->btnEliminarExento);
    elegirFila(1);
    // A listing shows the first record but leaves the picked one picked.
    Pulsar(v->btnListadoCompleto);
    v->txtPlacaExento->setText("amb01");
    Pulsar(v->Label2);
    dialogos.respuestas = {Boton::No, Boton::Si};
    Pulsar(v->btnModificarExento);
    Pulsar(v->btnModificarExento);
    // Another record's plate is accepted; the inactive record lists last.
    EXPECT_EQ(lista(), "AMB01|AMB01#Ana|Ana#Activo|Inactivo");
    EXPECT_EQ(v->IdExentoSeleccionado, 0);
    elegirFila(0);
    dialogos.respuestas = {Boton::No, Boton::Si};
    Pulsar(v->btnEliminarExento);
    const CajaMostrada pregunta = dialogos.cajas.last();
    EXPECT_TRUE(pregunta.titulo == "Eliminar Registro" && pregunta.icono == Icono::Exclamacion &&
                pregunta.texto.endsWith("\r\n\r\n¿Desea eliminar el registro seleccionado?"));
    Pulsar(v->btnEliminarExento);
    EXPECT_EQ(lista(), "AMB01#Ana#Inactivo");
    // The picked record went at another station: neither a change nor a deletion claims success.
    dialogos.respuestas = {Boton::Si, Boton::Aceptar, Boton::Si};
    for (QPushButton* boton : {v->btnModificarExento, v->btnEliminarExento}) {
        v->IdExentoSeleccionado = 9;
        Pulsar(boton);
    }
    const QString modificar = "¿Desea modificar el registro seleccionads?|";
    const QString noExiste = "El registro seleccionado ya no existe; pudo haber sido eliminado "
                             "desde otro punto de control";
    EXPECT_EQ(dialogos.textos().join('|'),
              "Debe seleccionar un registro del listado|Debe seleccionar un registro del listado|" +
                  modificar + modificar + "Registro modificado correctamente|" + pregunta.texto +
                  "|" + pregunta.texto + "|Registro eliminads correctamente|" + modificar +
                  noExiste + "|" + pregunta.texto + "|" + noExiste);
    const QString sinFila = "Gestión de Exentos, Mensaje: El registro seleccionado ya no existe+";
    EXPECT_EQ(avisos().join('|'), "Se modifica un registro desde Gestión de Exentos+|Se elimina un "
                                  "registro desde Gestión de Exentos+|" +
                                      sinFila + '|' + sinFila);
    // The statements that found no row name the key picked.
    EXPECT_EQ(mensajes().filter(QRegularExpression("id_exento ?= ?9$")).size(), 2);
}

VIALTOR_EN_AMBOS_MOTORES(PruebaExentos);

} // namespace
