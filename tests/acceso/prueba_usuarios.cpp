#include "acceso/ui/frmUsuarios.h"
#include "acceso/usuarios.h"
#include "bd/claves.h"
#include "tests/acceso/apoyo_acceso.h"
#include "tests/acceso/apoyo_ventanas.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

namespace {

class PruebaUsuarios : public EnAmbosMotores<PruebaAdministracion> {
protected:
    void SetUp() override {
        EnAmbosMotores::SetUp();
        Abrir(v);
    }
    void llenar(const QString& usuario, const QString& clave, const QString& nivel,
                const QString& nombre = "Luz") {
        v->txtUsuario->setText(usuario);
        v->txtClave->setText(clave);
        v->txtNivel->setText(nivel);
        v->txtNombre->setText(nombre);
        v->txtApe1->setText("Paz");
        v->txtApe2->clear();
    }
    void elegir(int64_t id) {
        const QAbstractItemModel* m = v->ListView1->model();
        const QModelIndexList filas =
            m->match(m->index(0, 0), Qt::DisplayRole, QString::number(id), 1, Qt::MatchExactly);
        ASSERT_EQ(filas.size(), 1);
        QTest::mouseClick(v->ListView1->viewport(), Qt::LeftButton, {},
                          v->ListView1->visualRect(filas.first().siblingAtColumn(1)).center());
    }
    static QString filas() {
        return Tabla("SELECT id_usuario,usuario,nombre,ape1,ape2,nivelacceso,puntodecontrol "
                     "FROM Usuarios ORDER BY id_usuario");
    }
    // Whether user `id`'s password is stored as a hash that `clave` verifies, while the window
    // shows none: an empty box, a mask in the list.
    bool cifrada(int64_t id, const QString& clave) const {
        const QString sql = QString("SELECT pwd FROM Usuarios WHERE id_usuario=%1").arg(id);
        return ComprobarClave(clave, Columna(sql, "pwd").value(0)) == Coincidencia::Si &&
               v->txtClave->text() + v->ListView1->model()->index(1, 2).data().toString() ==
                   "********";
    }

    std::unique_ptr<frmUsuarios> v;
};

// Typed into an empty level box: what stays. Only one digit from 1 to 6 gets in.
TEST_P(PruebaUsuarios, ElNivelSoloAdmiteUnDigitoDeUnoASeis) {
    for (const auto& [teclas, queda] : {std::pair{"70a -1", "1"}, {"6", "6"}, {"16", "1"}}) {
        v->txtNivel->clear();
        QTest::keyClicks(v->txtNivel, teclas);
        EXPECT_EQ(v->txtNivel->text(), queda) << teclas;
    }
}

// Only the pair name and password must be new; a quote is part of the value.
TEST_P(PruebaUsuarios, AgregarRechazaNombreYClaveRepetidosPeroNoElNombreSolo) {
    llenar("admin", "", "1");
    Pulsar(v->btnAgregarUsuario);
    llenar("ADMIN", "admin", "1");
    Pulsar(v->btnAgregarUsuario);
    llenar("admin", "o'tra", "3", "Lu'z");
    Pulsar(v->btnAgregarUsuario);
    EXPECT_EQ(textos(), "Debe indicar la Clave|Especifique un Nombre de Usuario y Clave "
                        "diferente|Usuario agregado correctamente");
    EXPECT_EQ(filas(), "1,admin,Administrador,,,1,CAJA1|"
                       "2,admin,Lu'z,Paz,,3,CAJA1");
    EXPECT_TRUE(cifrada(2, "O'TRA") && !cifrada(2, "admin"));
    EXPECT_EQ(ultimoSuceso(), "Usuario agregado correctamente: \n"
                              "INSERT INTO Usuarios (usuario,nombre,ape1,ape2,nivelacceso,"
                              "puntodecontrol) VALUES ('admin','Lu''z','Paz','','3','CAJA1')");
    // The boxes show the first user listed; nothing stays chosen.
    EXPECT_EQ(v->windowTitle() + v->txtNombre->text() + QString::number(v->IdUsuarioSeleccionado),
              "Gestión de Usuarios - 2 registrosAdministrador0");
}

// The session's names follow only the logged-in user's own row; deleting that user is allowed
// and renames nothing. A password typed is stored hashed, an empty box keeps it. A row another
// station removed is a failure for both buttons.
TEST_P(PruebaUsuarios, ModificarYEliminarSoloTocanLaSesionEnSuFilaYUnaFilaDesaparecidaEsUnFallo) {
    const int64_t otro = Ejecutar("INSERT INTO Usuarios (usuario,pwd,nivelacceso) VALUES "
                                  "('bea','b','4')");
    v->btnListadoCompletoClicked();
    Pulsar(v->btnModificarUsuario);
    elegir(otro);
    EXPECT_TRUE(cifrada(1, "admin"));
    llenar("bea", "b2", "2", "Beatriz");
    dialogos.respuestas = {Boton::No, Boton::Si};
    Pulsar(v->btnModificarUsuario);
    EXPECT_EQ(filas().section('|', 1), QString("%1,bea,(Null),(Null),(Null),4,(Null)").arg(otro));
    Pulsar(v->btnModificarUsuario);
    const QString bea = QString("%1,bea,Beatriz,Paz,,2,(Null)").arg(otro);
    EXPECT_EQ(filas().section('|', 1), bea);
    EXPECT_TRUE(cifrada(otro, "B2"));
    EXPECT_EQ(SesionActual.Nombre + SesionActual.Ape1, "Administrador");
    // The statement is logged, its password never.
    EXPECT_TRUE(ultimoSuceso().startsWith("Usuario modificado correctamente: \nUPDATE Usuarios") &&
                !ultimoSuceso().contains("b2"));
    elegir(1);
    llenar("admin", "", "1", "Ana");
    Pulsar(v->btnModificarUsuario);
    EXPECT_EQ(SesionActual.Nombre + SesionActual.Ape1, "AnaPaz");
    EXPECT_TRUE(cifrada(1, "admin"));
    EXPECT_EQ(textos(), "Debe seleccionar un Usuario|¿Desea modificar el Usuario seleccionado?|"
                        "¿Desea modificar el Usuario seleccionado?|Usuario modificado "
                        "correctamente|¿Desea modificar el Usuario seleccionado?|Usuario "
                        "modificado correctamente");
    // Deleting asks with No as the default.
    elegir(1);
    Pulsar(v->btnEliminarUsuario);
    EXPECT_EQ(filas().count(','), 12);
    EXPECT_EQ(dialogos.cajas.last().titulo, "Eliminar Usuario");
    dialogos.respuestas = {Boton::Si};
    Pulsar(v->btnEliminarUsuario);
    EXPECT_TRUE(filas() == bea && SesionActual.Nombre == "Ana");
    EXPECT_EQ(ultimoSuceso(), "Usuario eliminado correctamente: \n"
                              "DELETE FROM Usuarios WHERE id_usuario = 1");
    for (QPushButton* boton : {v->btnModificarUsuario, v->btnEliminarUsuario}) {
        elegir(otro);
        Ejecutar("DELETE FROM Usuarios");
        dialogos.respuestas = {Boton::Si};
        Pulsar(boton);
        EXPECT_EQ(dialogos.cajas.last().texto,
                  "El Usuario seleccionado ya no existe en la base de datos");
        EXPECT_TRUE(ultimoSuceso().contains(" ya no existe: \n"));
        Ejecutar(QString("INSERT INTO Usuarios (id_usuario,usuario) VALUES (%1,'bea')").arg(otro));
        v->btnListadoCompletoClicked();
    }
}

VIALTOR_EN_AMBOS_MOTORES(PruebaUsuarios);

} // namespace
