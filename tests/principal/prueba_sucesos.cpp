#include "principal/archivos.h"
#include "principal/registros.h"
#include "principal/sucesos.h"
#include "tests/comun/dobles.h"

#include <QDir>
#include <QFileInfo>

class PruebaSucesos : public PruebaVialtor {
protected:
    QString sucesosPrograma() const { return carpetas.programa + "/sucesos"; }
    QString archivo(const char* nombre = "20261206_CAJA1.hap") const {
        return sucesosPrograma() + '/' + nombre;
    }
    static void registrar(const QString& mensaje) {
        MensajeSuceso = mensaje;
        RegistrarSuceso();
    }
};

// The whole format, byte for byte: eight fields, Windows-1252, CRLF; appended to the day's file
// beside the data folder, each day in its own.
TEST_F(PruebaSucesos, LineasDeOchoCamposEnWindows1252AlArchivoDelDiaEnLaCarpetaDeDatos) {
    const QString datos = carpeta.path() + "/datos", dia = datos + "/sucesos/20260305_CAJA1.hap";
    ASSERT_TRUE(QDir().mkpath(datos + "/sucesos") && EscribirArchivo(dia, "previo\r\n"));
    ConfigInicio.CarpetaDatos = datos;
    reloj.momento = QDateTime(QDate(2026, 3, 5), QTime(23, 59, 59));
    SesionActual = {"ana", QString::fromUtf8("Ñusta"), QString::fromUtf8("Muñoz"), "Gil", "1"};
    registrar(QString::fromUtf8("Configuración de Inicio: C:\\Datos€;Pérez"));
    EXPECT_TRUE(MensajeSuceso.isEmpty());
    reloj.avanzar(1);
    registrar("dos");
    EXPECT_EQ(LeerArchivo(dia),
              QByteArray("previo\r\n05-03-2026;23:59:59;CAJA1;ana;\xD1usta;Mu\xF1oz;Gil;"
                         "Configuraci\xF3n de Inicio: C:\\Datos\x80;P\xE9rez\r\n"));
    EXPECT_EQ(LeerArchivo(datos + "/sucesos/20260306_CAJA1.hap"),
              QByteArray("06-03-2026;00:00:00;CAJA1;ana;\xD1usta;Mu\xF1oz;Gil;dos\r\n"));
    EXPECT_FALSE(QFileInfo::exists(sucesosPrograma()));
    EXPECT_TRUE(dialogos.cajas.isEmpty());
}

// Line breaks typed into a name, a box or a statement's value cannot make a line of their own:
// a message given alone is one line, even where a break is followed by what reads as a
// statement; given its lines, a message keeps the program's breaks between them, and only those.
TEST_F(PruebaSucesos, UnTextoConSaltosDeLineaNoFalsificaOtroSuceso) {
    const QString falso = "\r\n06-12-2026;10:00:00;CAJA1;jefe;Jefe;;;Ingresa\n";
    const QByteArray escrito = "  06-12-2026;10:00:00;CAJA1;jefe;Jefe;;;Ingresa ";
    SesionActual.Usuario = "ana" + falso;
    SesionActual.Ape2 = "\tGil\x1b";
    registrar("Placa no existe: X" + falso);
    registrar("Alerta\r\nAna\r\nPuede ingresar");
    registrar("Tarifa agregada\r\nINSERT INTO Tarifas VALUES ('X" + falso + "')");
    SesionActual = {};
    Registrar("Pago de X\r\nDELETE * FROM Pagos: ",
              {"INSERT INTO Pagos VALUES ('X\r\nDELETE * FROM Pagos')",
               "UPDATE FechaPago SET Pagado=True WHERE id_fecha_pago=1"});
    Registrar("Mensaje: ", {"NO se pueden eliminar,", "mientras existan"});
    const QByteArray sesion = "06-12-2026;10:00:00;CAJA1;ana" + escrito + ";;; Gil ;";
    const QByteArray inicio = "06-12-2026;10:00:00;CAJA1;;;;;";
    EXPECT_EQ(LeerArchivo(archivo()),
              sesion + "Placa no existe: X" + escrito + "\r\n" + sesion +
                  "Alerta  Ana  Puede ingresar\r\n" + sesion +
                  "Tarifa agregada  INSERT INTO Tarifas VALUES ('X" + escrito + "')\r\n" + inicio +
                  "Pago de X  DELETE * FROM Pagos: \r\n"
                  "INSERT INTO Pagos VALUES ('X  DELETE * FROM Pagos')\r\n"
                  "UPDATE FechaPago SET Pagado=True WHERE id_fecha_pago=1\r\n" +
                  inicio + "Mensaje: \r\nNO se pueden eliminar,\r\nmientras existan\r\n");
}

// A failure is shown once and logging goes on when it can; a write cut short (a full disk) is
// taken back whole, so the next event starts on its own line. During the start a failure is
// returned, and the data folder itself is never made by the log.
TEST_F(PruebaSucesos, UnFalloSeAvisaUnaVezSeDeshaceEnteroYAlInicioSeDevuelve) {
    const QString estorbo = archivo();
    QDir().mkpath(estorbo);
    registrar("primero");
    QDir().rmdir(estorbo);
    registrar("segundo");
    {
        LimiteArchivo limite(QFileInfo(estorbo).size() + 10);
        registrar("este suceso no cabe entero");
    }
    registrar("tercero");
    EXPECT_EQ(LeerArchivo(estorbo), QByteArray("06-12-2026;10:00:00;CAJA1;;;;;segundo\r\n"
                                               "06-12-2026;10:00:00;CAJA1;;;;;tercero\r\n"));
    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_TRUE(dialogos.cajas[0].titulo == TituloAplicacion &&
                dialogos.cajas[0].icono == Icono::Exclamacion &&
                dialogos.cajas[0].texto.contains("primero"));

    ConfigInicio.CarpetaDatos = carpeta.path() + "/no_existe";
    MensajeSuceso = "sin carpeta de datos";
    EXPECT_FALSE(RegistrarSucesoInicio());
    EXPECT_TRUE(MensajeSuceso.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(ConfigInicio.CarpetaDatos));
    EXPECT_EQ(dialogos.cajas.size(), 1);
}
