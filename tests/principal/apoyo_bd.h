#pragma once
// Helpers of the database tests: rows as the windows write them, a dump of every table,
// another station's handle, and the fixture with a new database open.

#include "acceso/crearbd.h"
#include "acceso/respaldo.h"
#include "acceso/usuarios.h"
#include "bd/cambio.h"
#include "bd/conexion.h"
#include "bd/esquema.h"
#include "bd/funcionesbd.h"
#include "bd/servidor.h"
#include "bd/sql.h"
#include "principal/formatos.h"
#include "principal/manejadores.h"
#include "principal/registros.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"
#include "tests/comun/servidor_prueba.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <memory>
#include <thread>

inline QString contar(const QString& desde) {
    return Tabla("SELECT COUNT(*) AS n FROM " + desde);
}

// Every row of every table, on the file the key counters included.
inline QStringList volcado() {
    QStringList filas, tablas = TablasEsquema();
    if (!Conexion.esServidor())
        tablas << "sqlite_sequence";
    for (const QString& tabla : tablas)
        filas << Crudas(
            tabla == "ClaveTicket"
                // Drawn at random by each database: only its length compares.
                ? QStringLiteral("SELECT id_claveticket, length(Clave) FROM %1").arg(tabla)
                : QStringLiteral("SELECT '%1', * FROM %1 ORDER BY 2").arg(tabla));
    // A password's hash has a salt of its own: only its kind compares.
    return filas.replaceInStrings(QRegularExpression("\\$argon2id\\$[^|]*"), "$argon2id$");
}

// The insert of an exit as the exit registration writes it: every value quoted.
inline int64_t insertarSalida(const QString& placa, const QDateTime& salida, int consecutivo) {
    return Ejecutar(
        QStringLiteral("INSERT INTO salidas (FechaEntrada,FechaSalida,Placa,id_tarifa,Tarifa,"
                       "Tiempo,DescrTarifa,Cobrado,ConsecutivoDia,IVA) VALUES (%1,%2,%3,'1',"
                       "'2000','60','AUTOMOVIL','4000','%4','19')")
            .arg(Texto(FechaHoraTexto(salida.addSecs(-3600))), Texto(FechaHoraTexto(salida)),
                 Texto(placa))
            .arg(consecutivo));
}

inline int64_t insertarCliente(const QString& nombre, const QString& placa = "P") {
    return Ejecutar(QStringLiteral("INSERT INTO Clientes (Nombre,Ape1,Ape2,Placa,Activo,Notas) "
                                   "VALUES (%1,'','',%2,False,'')")
                        .arg(Texto(nombre), Texto(placa)));
}

// Another station's own handle on the same file, with no busy timeout.
struct OtraEstacion {
    explicit OtraEstacion(const QString& ruta, int modo = SQLITE_OPEN_READWRITE) {
        EXPECT_EQ(sqlite3_open_v2(ruta.toUtf8().constData(), &db, modo, nullptr), SQLITE_OK);
        RegistrarFuncionesJet(db);
    }
    ~OtraEstacion() { sqlite3_close_v2(db); }
    int ejecutar(const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }
    sqlite3* db = nullptr;
};

class PruebaBd : public PruebaMotores {
protected:
    void SetUp() override {
        PruebaMotores::SetUp();
        crearBaseDatos();
        AbrirConexion();
    }
    // A new database in place of this one, made by the schema steps in force.
    void baseNueva() {
        Conexion.descartar();
        if (servidor) {
            ConfigInicio.Servidor = ServidorPrueba::instancia().baseVacia();
            CrearBaseDatosServidor(ConfigInicio.Servidor, "admin", "admin");
        } else {
            ASSERT_TRUE(QFile::remove(Conexion.rutaBaseDatos()));
            crearBaseDatos();
        }
    }
};
