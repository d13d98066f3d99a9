#include "principal/conexion.h"
#include "principal/crearbd.h"
#include "tests/comun/dobles.h"
#include "principal/formatos.h"
#include "principal/funcionesbd.h"
#include "principal/jet.h"
#include "principal/recordset.h"
#include "principal/registros.h"
#include "principal/sql.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <sqlite3.h>
#include <thread>

namespace {

void ejecutar(const QString& jet) {
    Recordset().Open(jet);
}

Valor leer(const QString& jet, const QString& campo) {
    Recordset rs;
    rs.Open(jet);
    return rs.Eof() ? Valor::nulo() : rs.Fields(campo);
}

// One column of every row, as the windows read it.
QStringList columnas(const QString& jet, const QString& campo) {
    Recordset rs;
    rs.Open(jet);
    QStringList valores;
    for (; !rs.Eof(); rs.MoveNext())
        valores << rs.Fields(campo).aTexto();
    return valores;
}

// Rows of a FROM clause: a table, maybe with a condition.
int64_t contar(const QString& desde) {
    return leer(QStringLiteral("SELECT COUNT(*) As Total FROM ") + desde, "Total").aEntero();
}

// Rows straight from SQLite (no translation, no conversion), columns joined by '|'.
QStringList crudas(const QString& sql, sqlite3* db = nullptr) {
    db = db ? db : Conexion.manejador();
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    QStringList filas;
    while (st && sqlite3_step(st) == SQLITE_ROW) {
        QStringList fila;
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            fila << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
        filas << fila.join(QLatin1Char('|'));
    }
    sqlite3_finalize(st);
    return filas;
}

QString crudo(const QString& sql, sqlite3* db = nullptr) {
    return crudas(sql, db).value(0);
}

// Every row of every table, the key counters included.
QStringList volcado() {
    QStringList filas;
    for (const QString& tabla :
         crudas("SELECT name FROM sqlite_master WHERE type='table' ORDER BY 1"))
        filas << crudas(QStringLiteral("SELECT '%1', * FROM %1 ORDER BY 2").arg(tabla));
    return filas;
}

// The insert of an exit as the exit registration writes it: every value quoted.
int64_t insertarSalida(const QString& placa, const QDateTime& salida, int consecutivo) {
    ejecutar(QStringLiteral("INSERT INTO salidas (FechaEntrada,FechaSalida,Placa,id_tarifa,Tarifa,"
                            "Tiempo,DescrTarifa,Cobrado,ConsecutivoDia,IVA) VALUES (%1,%2,%3,'1',"
                            "'2000','60','AUTOMOVIL','4000','%4','19')")
                 .arg(Texto(FechaHoraTexto(salida.addSecs(-3600))), Texto(FechaHoraTexto(salida)),
                      Texto(placa))
                 .arg(consecutivo));
    return Recordset::UltimoId();
}

int64_t insertarCliente(const QString& nombre, const QString& placa) {
    ejecutar(QStringLiteral("INSERT INTO Clientes (Nombre,Ape1,Ape2,Placa,Activo,Notas) VALUES "
                            "(%1,'','',%2,False,'')")
                 .arg(Texto(nombre), Texto(placa)));
    return Recordset::UltimoId();
}

// Another station's own handle on the same file, with no busy timeout.
class OtraEstacion {
public:
    explicit OtraEstacion(const QString& ruta) {
        EXPECT_EQ(sqlite3_open_v2(ruta.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr),
                  SQLITE_OK);
        RegistrarFuncionesJet(db);
    }
    ~OtraEstacion() { sqlite3_close_v2(db); }
    int ejecutar(const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }
    sqlite3* db = nullptr;
};

} // namespace

TEST(ValorDeCampo, ConversionesComoLasLeenLasVentanas) {
    const QDateTime tarde(QDate(2026, 12, 6), QTime(14, 5, 9));
    EXPECT_EQ(Valor::numero(12.5).aTexto(), "12,5");
    EXPECT_EQ(Valor::numero(2.5).aEntero(), 2);
    EXPECT_EQ(Valor::numero(3.5).aEntero(), 4);
    EXPECT_EQ(Valor::texto(" 12abc").aEntero(), 12);
    EXPECT_EQ(Valor::bandera(true).aEntero(), -1);
    EXPECT_EQ(Valor::fecha(tarde).aTexto(), "06/12/2026 02:05:09 pm");
    EXPECT_EQ(Valor::texto("2026-12-06 14:05:09").aFecha(), tarde);
    EXPECT_TRUE(Valor::nulo().aTexto().isEmpty() && Valor::nulo().aEntero() == 0);
}

class PruebaBd : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        crearBaseDatos();
        AbrirConexion();
    }
};

TEST_F(PruebaBd, FechasSeGuardanIsoDesdeElTextoDelRelojYLosLiterales) {
    for (const QTime hora : {QTime(0, 30, 15), QTime(12, 0, 0), QTime(13, 5, 9)}) {
        const QDateTime m(QDate(2026, 1, 31), hora);
        const QString donde =
            QString(" FROM Salidas WHERE id_salida = %1").arg(insertarSalida("AAA111", m, 1));
        EXPECT_EQ(crudo("SELECT typeof(FechaSalida), FechaSalida" + donde),
                  "text|" + m.toString("yyyy-MM-dd HH:mm:ss"));
        EXPECT_EQ(leer("SELECT *" + donde, "fechasalida").aFecha(), m);
    }

    ejecutar(QStringLiteral("INSERT INTO Cierres (NDocumento,FechaImp,FechaIni,FechaFin) VALUES "
                            "('ENESPERA',#2026/12/01 02:05:09 pm#,#2026/12/01#,"
                            "#03 ene 2017 10:00:00#)"));
    const QString fila = "SELECT FechaImp, FechaIni, FechaFin FROM Cierres";
    EXPECT_EQ(crudo(fila), "2026-12-01 14:05:09|2026-12-01 00:00:00|2017-01-03 10:00:00");
    ejecutar("UPDATE Cierres SET FechaFin='07/12/2026 01:00:00 am'");
    EXPECT_TRUE(crudo(fila).endsWith("|2026-12-07 01:00:00"));

    for (const char* mala :
         {"'ayer'", "'31/02/2026 10:00:00 am'", "'06/12/2026 13:00:00 pm'", "1234"})
        EXPECT_THROW(ejecutar(QString("INSERT INTO Entradas (FechaEntrada) VALUES (%1)").arg(mala)),
                     ErrorBD)
            << mala;
    EXPECT_EQ(contar("Entradas"), 0);
}

TEST_F(PruebaBd, BanderasSeGuardanMenosUnoYCeroYVerdaderoVaPrimero) {
    const std::pair<const char*, int> casos[] = {{"True", -1}, {"False", 0},  {"5", -1},
                                                 {"'1'", -1},  {"0", 0},      {"'True'", -1},
                                                 {"-3", -1},   {"'false'", 0}};
    for (const auto& [valor, guardado] : casos) {
        ejecutar(QStringLiteral("INSERT INTO Exentos (PlacaExento,ActivoExento) VALUES (%1,%2)")
                     .arg(Texto(QLatin1String(valor)), QLatin1String(valor)));
        EXPECT_EQ(crudo(QStringLiteral("SELECT ActivoExento FROM Exentos WHERE id_exento=%1")
                            .arg(Recordset::UltimoId())),
                  QString::number(guardado))
            << valor;
    }
    const QString orden = "SELECT * FROM Exentos ORDER BY ActivoExento ASC, id_exento ASC";
    EXPECT_EQ(columnas(orden, "PlacaExento"),
              QStringList({"True", "5", "'1'", "'True'", "-3", "False", "0", "'false'"}));
    EXPECT_EQ(columnas(orden, "ActivoExento").mid(4, 2), QStringList({"Verdadero", "Falso"}));

    ejecutar("UPDATE Exentos SET ActivoExento=7 WHERE ActivoExento=False");
    EXPECT_EQ(crudo("SELECT COUNT(*) FROM Exentos WHERE ActivoExento=-1"), "8");
    EXPECT_THROW(ejecutar("UPDATE Exentos SET ActivoExento='quizá'"), ErrorBD);
}

TEST_F(PruebaBd, NumerosCitadosSonNumerosYLoDemasEsError) {
    ejecutar(QStringLiteral("INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa) VALUES "
                            "('2000','60','AUTOMOVIL')"));
    EXPECT_EQ(crudo("SELECT typeof(Tarifa), Tarifa, typeof(Tiempo) FROM Tarifas"),
              "integer|2000|integer");
    EXPECT_EQ(contar("Tarifas WHERE Tarifa = 2000"), 1);

    for (const char* plantilla :
         {"INSERT INTO Tarifas (Tarifa) VALUES (%1)", "UPDATE DatosParqueadero SET Cupo=%1"})
        for (const char* malo : {"'mil'", "'12abc'", "''", "'1O'"})
            EXPECT_THROW(ejecutar(QString(plantilla).arg(malo)), ErrorBD) << plantilla << malo;
    EXPECT_EQ(contar("Tarifas"), 1);
    ejecutar("UPDATE DatosParqueadero SET Cupo='80', IVA=Null");
    EXPECT_EQ(crudo("SELECT typeof(Cupo), Cupo, typeof(IVA) FROM DatosParqueadero"),
              "integer|80|null");
}

TEST_F(PruebaBd, ClavesNoSeReutilizan) {
    insertarCliente("A", "A");
    const int64_t ultimo = insertarCliente("B", "B");
    ejecutar(QStringLiteral("DELETE FROM Clientes WHERE id_cliente = %1").arg(ultimo));
    const int64_t trasBorrar = insertarCliente("C", "C");
    EXPECT_GT(trasBorrar, ultimo);
    ejecutar("DELETE FROM Clientes");
    CerrarConexion();
    AbrirConexion();
    EXPECT_GT(insertarCliente("D", "D"), trasBorrar);
}

TEST_F(PruebaBd, TextoSinMayusculasNiAcentosDeMayuscula) {
    const char* const nombres[] = {"ZORRO", "ñandú", "Ángel", "nube",  "oso",   "ángela",
                                   "Ñu",    "Abeja", "Núñez", "NUNCA", "ábside"};
    for (int i = 0; i < 11; ++i)
        insertarCliente(QString::fromUtf8(nombres[i]), QStringLiteral("abc%1").arg(i));

    EXPECT_EQ(columnas("SELECT * FROM Clientes ORDER BY Nombre ASC", "Nombre"),
              QStringList({"Abeja", "ábside", "Ángel", "ángela", "nube", "NUNCA", "Núñez", "ñandú",
                           "Ñu", "oso", "ZORRO"}));
    const std::pair<const char*, const char*> busquedas[] = {
        {"Placa = 'ABC3'", "nube"},         {"Nombre = 'ÑANDÚ'", "ñandú"},
        {"Nombre = 'núñez'", "Núñez"},      {"Nombre LIKE '%ÑAN%'", "ñandú"},
        {"Nombre LIKE 'ÁNGELA'", "ángela"}, {"Nombre LIKE '_U'", "Ñu"},
    };
    for (const auto& [condicion, nombre] : busquedas)
        EXPECT_EQ(
            columnas(QStringLiteral("SELECT * FROM Clientes WHERE ") + QString::fromUtf8(condicion),
                     "Nombre"),
            QStringList{QString::fromUtf8(nombre)})
            << condicion;
}

TEST_F(PruebaBd, TextoCitadoGuardaCualquierValorYLoEncuentra) {
    QString largo;
    while (largo.size() < 10000)
        largo += "ab'ñ\"#%_";
    largo.truncate(10000);
    QStringList valores{largo};
    for (const char* v : {"'", "''", "#01 jan 2020#", "True", "TOP 1", ";", "--", "%",
                          "línea 1\r\nlínea 2", "x'); DELETE FROM Clientes; --",
                          "[Placa] \"dobles\" (TOP 2)", "Peña Ñandú čeština 漢字 😀"})
        valores << QString::fromUtf8(v);
    for (const QString& v : valores)
        ejecutar(QStringLiteral("INSERT INTO Clientes (Nombre,Placa,Activo,Notas) VALUES "
                                "(%1,'X',False,%1)")
                     .arg(Texto(v)));
    EXPECT_EQ(contar("Clientes"), valores.size());
    for (int i = 0; i < valores.size(); ++i) {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM Clientes WHERE Notas = %1").arg(Texto(valores[i])));
        ASSERT_EQ(rs.RecordCount(), 1) << i;
        EXPECT_EQ(rs.Fields("id_cliente").aEntero(), i + 1) << i;
        EXPECT_EQ(rs.Fields("Nombre").aTexto(), valores[i]) << i;
    }
}

TEST_F(PruebaBd, UnaSolaSentenciaPorEjecucion) {
    for (const char* doble : {"INSERT INTO Usuarios (usuario) VALUES ('a'); DELETE FROM Usuarios",
                              "SELECT * FROM Usuarios; UPDATE Usuarios SET pwd = ''"})
        EXPECT_THROW(ejecutar(QLatin1String(doble)), ErrorBD) << doble;
    EXPECT_EQ(columnas("SELECT * FROM Usuarios;  ", "pwd"), QStringList{"admin"});
}

TEST_F(PruebaBd, RecorridoYErroresConMensajeYTextoDelControlador) {
    for (int i = 1; i <= 3; ++i)
        insertarCliente(QStringLiteral("N%1").arg(i), QStringLiteral("P%1").arg(i));
    Recordset rs;
    rs.Open("SELECT * FROM Clientes ORDER BY Nombre DESC");
    rs.MoveLast();
    rs.MovePrevious();
    EXPECT_EQ(rs.Fields("Nombre").aTexto(), "N2");
    EXPECT_THROW(rs.Fields("NoHay"), ErrorBD);
    rs.MovePrevious();
    rs.MovePrevious();
    EXPECT_TRUE(rs.BOF() && rs.Eof());
    EXPECT_THROW(rs.Fields("Nombre"), ErrorBD);
    try {
        ejecutar("SELECT * FROM NoExiste WHERE a = True");
        ADD_FAILURE() << "sin error";
    } catch (const ErrorBD& e) {
        EXPECT_FALSE(e.mensaje.isEmpty());
        EXPECT_TRUE(e.detalle.contains("no such table: NoExiste"));
        EXPECT_TRUE(e.detalle.contains("SELECT * FROM NoExiste WHERE a = True"));
    }
    CerrarConexion();
    EXPECT_THROW(rs.Open("SELECT * FROM Usuarios"), ErrorBD);
}

// The rows just before and after the day must stay out; other days' rows are far away.
TEST_F(PruebaBd, ConsultaDeUnDiaPorFechaDeSalida) {
    for (const QDate& d : {QDate(2017, 1, 3), QDate(2016, 12, 24), QDate(2026, 12, 1)}) {
        const QString p = d.toString("yyMMdd");
        insertarSalida(p + "A", QDateTime(d.addDays(-1), QTime(23, 59, 59)), 1);
        insertarSalida(p + "B", QDateTime(d, QTime(0, 0, 0)), 1);
        insertarSalida(p + "C", QDateTime(d, QTime(12, 0, 0)), 3);
        insertarSalida(p + "D", QDateTime(d, QTime(23, 59, 59)), 2);
        insertarSalida(p + "E", QDateTime(d.addDays(1), QTime(0, 0, 0)), 1);
        const QString periodo =
            QString(" FROM Salidas WHERE FechaSalida >= %1 AND Fechasalida <= %2")
                .arg(LiteralInicioDia(d), LiteralFinDia(d));
        EXPECT_EQ(columnas("SELECT *" + periodo + " ORDER BY FechaSalida ASC", "Placa"),
                  QStringList({p + "B", p + "C", p + "D"}));
        EXPECT_EQ(
            columnas("SELECT TOP 1 ConsecutivoDia" + periodo + " ORDER BY ConsecutivoDia DESC",
                     "ConsecutivoDia"),
            QStringList{"3"});
        EXPECT_EQ(leer("SELECT SUM(Cobrado) as Total" + periodo, "total").aEntero(), 3 * 4000);
    }
    EXPECT_TRUE(leer("SELECT SUM(Cobrado) as Total FROM Salidas WHERE FechaSalida >= "
                     "#05 may 2030 00:00:00#",
                     "Total")
                    .esNulo());
}

TEST_F(PruebaBd, UnionesLeenTablaPuntoColumnaSoloSiSeRepite) {
    const int64_t ana = insertarCliente("Ana", "ANA111");
    insertarCliente("Beto", "BET222");
    ejecutar("INSERT INTO FechaPago (id_cliente, FechaInicio, FechaFin) VALUES "
             "(1,#2026/11/01#,#2026/11/30#), (1,#2026/12/01#,#2026/12/31#)");
    ejecutar("INSERT INTO Pagos (id_fecha_pago, FechaPago, CantidadPago) VALUES "
             "(1,#2026/11/05#,100), (2,#2026/12/01#,40), (2,#2026/12/02#,60)");

    Recordset rs;
    rs.Open(QString("SELECT * FROM (Clientes INNER JOIN FechaPago ON Clientes.id_cliente = "
                    "FechaPago.id_cliente) INNER JOIN Pagos ON FechaPago.id_fecha_pago = "
                    "Pagos.id_fecha_pago WHERE FechaPago >= #2026/12/01# ORDER BY "
                    "FechaPago ASC"));
    EXPECT_THROW(rs.Fields("id_cliente"), ErrorBD);
    ASSERT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.Fields("clientes.ID_CLIENTE").aEntero(), ana);
    EXPECT_EQ(rs.Fields("Pagos.id_fecha_pago").aEntero(), 2);
    EXPECT_EQ(rs.Fields("CantidadPago").aEntero(), 40);

    EXPECT_EQ(columnas(QString("SELECT * FROM (Clientes LEFT JOIN FechaPago ON "
                               "Clientes.id_cliente = FechaPago.id_cliente) LEFT JOIN "
                               "Pagos ON FechaPago.id_fecha_pago = Pagos.id_fecha_pago "
                               "ORDER BY Nombre ASC, FechaFin DESC, FechaPago DESC"),
                       "CantidadPago"),
              QStringList({"60", "40", "100", ""}));
}

TEST_F(PruebaBd, IndicesEnLoQueSeBusca) {
    const char* const consultas[] = {
        "SELECT * FROM entradas WHERE placa = 'ABC123'",
        "SELECT * FROM Entradas WHERE FechaEntrada <= #06 dic 2026 10:00:00#",
        "SELECT * FROM Salidas WHERE Placa = 'ABC123'",
        "SELECT * FROM Salidas WHERE FechaSalida >= #03 jan 2017 00:00:00#",
        "SELECT * FROM Salidas WHERE FechaEntrada >= #03 jan 2017 00:00:00#",
        "SELECT * FROM Clientes WHERE placa = 'ABC123'",
        "SELECT * FROM FechaPago WHERE id_cliente = 4",
        "SELECT * FROM Pagos WHERE id_fecha_pago = 4",
        "SELECT * FROM Exentos WHERE PlacaExento = 'ABC123' AND ActivoExento=True",
    };
    for (const char* consulta : consultas) {
        const QString plan =
            crudas(QStringLiteral("EXPLAIN QUERY PLAN ") + TraducirJet(QLatin1String(consulta)))
                .join(QLatin1Char(';'));
        EXPECT_TRUE(plan.contains("USING INDEX")) << consulta << " -> " << plan.toStdString();
    }
}

// Two stations on one file: a rollback journal, and a writer waits for the other one.
TEST_F(PruebaBd, DiarioDeReversionYEsperaPorOtraEstacion) {
    EXPECT_EQ(crudo("PRAGMA journal_mode"), "delete");
    insertarCliente("A", "A");
    EXPECT_FALSE(QFileInfo::exists(Conexion.rutaBaseDatos() + "-wal"));

    OtraEstacion otra(Conexion.rutaBaseDatos());
    ASSERT_EQ(otra.ejecutar("BEGIN IMMEDIATE; INSERT INTO Usuarios (usuario) VALUES ('otra')"),
              SQLITE_OK);
    std::thread confirmar([&otra] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        otra.ejecutar("COMMIT");
    });
    QElapsedTimer cronometro;
    cronometro.start();
    EXPECT_NO_THROW(ejecutar("INSERT INTO Usuarios (usuario) VALUES ('esta')"));
    const qint64 espera = cronometro.elapsed();
    confirmar.join();
    EXPECT_GE(espera, 250);
    EXPECT_LT(espera, 2000);
    EXPECT_EQ(columnas("SELECT * FROM Usuarios ORDER BY id_usuario", "usuario"),
              QStringList({"admin", "otra", "esta"}));
}

TEST_F(PruebaBd, TransaccionesAnidadasSeUnenALaExterior) {
    const struct {
        bool interna, externa;
        int64_t quedan;
    } casos[] = {{true, false, 0}, {false, true, 0}, {true, true, 1}};
    for (const auto& c : casos) {
        SCOPED_TRACE(testing::Message() << c.interna << c.externa);
        ejecutar("DELETE FROM Clientes");
        {
            Transaccion externa;
            {
                Transaccion interna;
                insertarCliente("interno", "A");
                if (c.interna)
                    interna.confirmar();
            }
            insertarCliente("externo", "B");
            if (c.externa && !c.interna)
                EXPECT_THROW(externa.confirmar(), ErrorBD);
            else if (c.externa)
                externa.confirmar();
        }
        EXPECT_EQ(contar("Clientes"), 2 * c.quedan);
    }
}

TEST_F(PruebaBd, TransaccionReservaLaEscrituraYDemoraElCierre) {
    OtraEstacion otra(Conexion.rutaBaseDatos());
    {
        Transaccion t;
        EXPECT_EQ(otra.ejecutar("BEGIN IMMEDIATE"), SQLITE_BUSY);
        CerrarConexion();
        EXPECT_EQ(Conexion.State(), 1);
        insertarCliente("dentro", "A");
        t.confirmar();
    }
    EXPECT_EQ(Conexion.State(), 0);
    EXPECT_EQ(otra.ejecutar("BEGIN IMMEDIATE; ROLLBACK"), SQLITE_OK);
    EXPECT_EQ(crudo("SELECT Nombre FROM Clientes", otra.db), "dentro");

    // A helper inside closes and the next opens again: the connection stays open, as without one.
    {
        Transaccion t;
        CerrarConexion();
        AbrirConexion();
        t.confirmar();
    }
    EXPECT_EQ(Conexion.State(), 1);
}

TEST_F(PruebaBd, SalidaQueFallaDejaTodoComoEstaba) {
    reloj.momento = QDateTime(QDate(2026, 12, 6), QTime(15, 0, 0));
    ejecutar(
        "INSERT INTO Entradas (FechaEntrada,Placa) VALUES ('06/12/2026 01:00:00 pm','ABC123')");
    insertarSalida("XYZ987", reloj.momento.addSecs(-60), 1);
    const QStringList antes = volcado();
    auto registrarSalida = [this] {
        Transaccion t;
        const int64_t id = insertarSalida("ABC123", reloj.momento, 2);
        ejecutar(QStringLiteral("UPDATE Salidas SET NroTicket='%1' WHERE id_salida=%1").arg(id));
        ejecutar("DELETE FROM Entradas WHERE Placa = 'ABC123'");
        t.confirmar();
        return id;
    };
    for (int n = 1; n <= 3; ++n) {
        Conexion.fallarSentencia(n);
        EXPECT_THROW(registrarSalida(), ErrorBD) << n;
        EXPECT_EQ(volcado(), antes) << n;
    }
    const int64_t id = registrarSalida();
    EXPECT_EQ(contar("Entradas"), 0);
    EXPECT_EQ(columnas("SELECT * FROM Salidas ORDER BY id_salida", "NroTicket"),
              QStringList({"", QString::number(id)}));

    // The hook counts from now and disarms itself once it has fired.
    Conexion.fallarSentencia(2);
    EXPECT_NO_THROW(insertarCliente("uno", "1"));
    EXPECT_THROW(insertarCliente("dos", "2"), ErrorBD);
    EXPECT_NO_THROW(insertarCliente("tres", "3"));
    EXPECT_EQ(contar("Clientes"), 2);
}

TEST_F(PruebaBd, AbrirAbiertaYCerrarCerradaNoCambianNada) {
    sqlite3* antes = Conexion.manejador();
    ejecutar("CREATE TEMP TABLE marca (x INTEGER)");
    const int64_t ultimo = insertarCliente("A", "A");
    AbrirConexion();
    EXPECT_EQ(Conexion.manejador(), antes);
    EXPECT_EQ(Recordset::UltimoId(), ultimo);
    EXPECT_EQ(contar("marca"), 0);
    CerrarConexion();
    EXPECT_NO_THROW(CerrarConexion());
    EXPECT_EQ(Conexion.State(), 0);
    EXPECT_THROW(Conexion.manejador(), ErrorBD);
}

TEST_F(PruebaBd, CrearBaseDatosNoSobrescribe) {
    insertarCliente("queda", "A");
    CerrarConexion();
    EXPECT_THROW(crearBaseDatos(), ErrorBD);
    EXPECT_EQ(QDir(carpetas.programa).entryList(QDir::Files), QStringList{"vialtor.mdb"});
    AbrirConexion();
    EXPECT_EQ(contar("Clientes"), 1);
}

// The handle kept between operations must not outlive the file it was opened on.
TEST_F(PruebaBd, UnaBaseReemplazadaBajoElMismoNombreSeAbreDeNuevo) {
    insertarCliente("vieja", "A");
    CerrarConexion();
    const QString ruta = carpetas.programa + QLatin1String("/vialtor.mdb");
    ASSERT_TRUE(QFile::rename(ruta, ruta + QLatin1String(".respaldo")));
    crearBaseDatos();
    AbrirConexion();
    EXPECT_EQ(contar("Clientes"), 0);
    insertarCliente("nueva", "B");
    CerrarConexion();
    ASSERT_TRUE(QFile::remove(ruta));
    EXPECT_THROW(AbrirConexion(), ErrorBD);
}

using PruebaRutaBd = PruebaVialtor;

// An empty data folder means the program's folder; otherwise the field is used unchanged.
TEST_F(PruebaRutaBd, CarpetaDeDatosOLaDelPrograma) {
    crearBaseDatos();
    const QString datos = carpeta.path() + "/compartida";
    CrearBaseDatos(datos, "otro", "x");
    const std::pair<QString, const char*> casos[] = {
        {QString(), "admin"}, {datos, "otro"}, {datos + QLatin1Char('/'), "otro"}};
    for (const auto& [campo, usuario] : casos) {
        ConfigInicio.CarpetaDatos = campo;
        EXPECT_EQ(Conexion.rutaBaseDatos(),
                  (campo.isEmpty() ? carpetas.programa : campo) + "/vialtor.mdb");
        AbrirConexion();
        EXPECT_EQ(columnas("SELECT * FROM Usuarios", "usuario"), QStringList{usuario});
        CerrarConexion();
    }
}

// A missing file is an error and nothing is created; so is a file that is not a database of
// this program or is of a later version.
TEST_F(PruebaRutaBd, SinBaseValidaEsErrorYNoSeCreaNada) {
    const QString vacia = carpeta.path() + "/vacia";
    QDir().mkpath(vacia);
    const QString sinCarpeta = carpeta.path() + "/no/existe";
    for (const QString& datos : {QString(), vacia, sinCarpeta}) {
        ConfigInicio.CarpetaDatos = datos;
        try {
            AbrirConexion();
            ADD_FAILURE() << "sin error: " << datos.toStdString();
        } catch (const ErrorBD& e) {
            EXPECT_EQ(e.detalle, Conexion.rutaBaseDatos());
        }
        EXPECT_EQ(Conexion.State(), 0);
    }
    EXPECT_TRUE(QDir(vacia).isEmpty());
    EXPECT_TRUE(QDir(carpetas.programa).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(sinCarpeta));

    ConfigInicio.CarpetaDatos.clear();
    QFile basura(carpetas.programa + "/vialtor.mdb");
    ASSERT_TRUE(basura.open(QIODevice::WriteOnly));
    basura.write(QByteArray(4096, 'x'));
    basura.close();
    EXPECT_THROW(AbrirConexion(), ErrorBD);
    basura.remove();
    crearBaseDatos();
    ASSERT_EQ(OtraEstacion(basura.fileName()).ejecutar("PRAGMA user_version=99"), SQLITE_OK);
    EXPECT_THROW(AbrirConexion(), ErrorBD);
    EXPECT_EQ(Conexion.State(), 0);
}
