#include "conexion.h"
#include "crearbd.h"
#include "dobles.h"
#include "formatos.h"
#include "funcionesbd.h"
#include "jet.h"
#include "recordset.h"
#include "registros.h"
#include "sql.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <set>
#include <sqlite3.h>
#include <thread>

namespace {

void ejecutar(const QString& jet) {
    Recordset rs;
    rs.Open(jet);
}

Valor leer(const QString& jet, const QString& campo) {
    Recordset rs;
    rs.Open(jet);
    if (rs.EOF())
        return Valor::nulo();
    return rs.Fields(campo);
}

int64_t contar(const QString& tabla) {
    return leer(QStringLiteral("SELECT COUNT(*) As Total FROM ") + tabla, QStringLiteral("Total"))
        .aEntero();
}

// First column of the first row, straight from SQLite (no translation, no conversion).
QString crudo(sqlite3* db, const QString& sql) {
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    QString valor;
    if (st && sqlite3_step(st) == SQLITE_ROW)
        valor = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return valor;
}

QString crudo(const QString& sql) {
    return crudo(Conexion.manejador(), sql);
}

// Every row of every table, the key counters included, as text.
QStringList volcado() {
    sqlite3* db = Conexion.manejador();
    QStringList filas;
    sqlite3_stmt* tablas = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type='table' ORDER BY name", -1,
                       &tablas, nullptr);
    while (sqlite3_step(tablas) == SQLITE_ROW) {
        const QString tabla =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(tablas, 0)));
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, ("SELECT * FROM " + tabla + " ORDER BY 1").toUtf8().constData(), -1,
                           &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            QString fila = tabla;
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                fila +=
                    QLatin1Char('|') +
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
            filas << fila;
        }
        sqlite3_finalize(st);
    }
    sqlite3_finalize(tablas);
    return filas;
}

int64_t insertarEntrada(const QString& placa, const QDateTime& fecha) {
    ejecutar(QStringLiteral("INSERT INTO entradas (FechaEntrada,Placa,DescrVeh,Observaciones,"
                            "id_tarifa,Tarifa,Tiempo,DescrTarifa) VALUES (%1,%2,'','','1',"
                            "'2000','60','AUTOMOVIL')")
                 .arg(Texto(FechaHoraTexto(fecha)), Texto(placa)));
    return Recordset::UltimoId();
}

// The insert of an exit as the exit registration writes it: every value quoted.
int64_t insertarSalida(const QString& placa, const QDateTime& salida, int consecutivo) {
    ejecutar(QStringLiteral("INSERT INTO salidas (FechaEntrada,FechaSalida,Placa,DescrVeh,"
                            "Observaciones,id_tarifa,Tarifa,Tiempo,DescrTarifa,Cobrado,"
                            "ConsecutivoDia,IVA) VALUES (%1,%2,%3,'','','1','2000','60',"
                            "'AUTOMOVIL','4000','%4','19')")
                 .arg(Texto(FechaHoraTexto(salida.addSecs(-3600))), Texto(FechaHoraTexto(salida)),
                      Texto(placa))
                 .arg(consecutivo));
    return Recordset::UltimoId();
}

int64_t insertarCliente(const QString& nombre, const QString& placa) {
    ejecutar(QStringLiteral("INSERT INTO Clientes (Nombre,Ape1,Ape2,Placa,Activo,Identificacion,"
                            "Notas) VALUES (%1,'','',%2,False,'','')")
                 .arg(Texto(nombre), Texto(placa)));
    return Recordset::UltimoId();
}

int64_t insertarPeriodo(int64_t cliente, const QDate& inicio, const QDate& fin) {
    ejecutar(QStringLiteral("INSERT INTO FechaPago (id_cliente, FechaInicio, FechaFin, "
                            "CantidadTotal, Pagado, NRecibo) VALUES (%1,%2,%3,100000,False,'')")
                 .arg(cliente)
                 .arg(LiteralFechaSimple(inicio), LiteralFechaSimple(fin)));
    return Recordset::UltimoId();
}

void insertarPago(int64_t periodo, const QDate& dia, int cantidad) {
    ejecutar(QStringLiteral("INSERT INTO Pagos (id_fecha_pago, FechaPago, CantidadPago) VALUES "
                            "(%1,%2,%3)")
                 .arg(periodo)
                 .arg(LiteralFechaSimple(dia))
                 .arg(cantidad));
}

// The planner's steps for a Jet statement, as SQLite explains them.
QString planConsulta(const QString& jet) {
    sqlite3* db = Conexion.manejador();
    const QByteArray sql = "EXPLAIN QUERY PLAN " + TraducirJet(jet).toUtf8();
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr), SQLITE_OK);
    QStringList pasos;
    while (st && sqlite3_step(st) == SQLITE_ROW)
        pasos << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 3)));
    sqlite3_finalize(st);
    return pasos.join(QLatin1Char(';'));
}

QStringList columnas(const QString& jet, const QString& campo) {
    Recordset rs;
    rs.Open(jet);
    QStringList valores;
    for (; !rs.EOF(); rs.MoveNext())
        valores << rs.Fields(campo).aTexto();
    return valores;
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
    EXPECT_EQ(Valor::numero(1000).aTexto(), QLatin1String("1000"));
    EXPECT_EQ(Valor::numero(12.5).aTexto(), QLatin1String("12,5"));
    EXPECT_EQ(Valor::numero(2.5).aEntero(), 2);
    EXPECT_EQ(Valor::numero(3.5).aEntero(), 4);
    EXPECT_EQ(Valor::numero(-2.5).aEntero(), -2);
    EXPECT_EQ(Valor::texto(QStringLiteral(" 12abc")).aEntero(), 12);
    EXPECT_EQ(Valor::texto(QStringLiteral("abc")).aEntero(), 0);
    EXPECT_EQ(Valor::bandera(true).aTexto(), QLatin1String("Verdadero"));
    EXPECT_EQ(Valor::bandera(false).aTexto(), QLatin1String("Falso"));
    EXPECT_EQ(Valor::bandera(true).aEntero(), -1);
    EXPECT_TRUE(Valor::numero(-1).aBandera());
    EXPECT_FALSE(Valor::numero(0).aBandera());
    EXPECT_EQ(Valor::fecha(tarde).aTexto(), QLatin1String("06/12/2026 02:05:09 pm"));
    EXPECT_EQ(Valor::texto(QStringLiteral("2026-12-06 14:05:09")).aFecha(), tarde);
    EXPECT_TRUE(Valor::nulo().esNulo());
    EXPECT_TRUE(Valor::nulo().aTexto().isEmpty());
    EXPECT_EQ(Valor::nulo().aEntero(), 0);
    EXPECT_FALSE(Valor::nulo().aFecha().isValid());
    EXPECT_FALSE(Valor::nulo().aBandera());
}

class PruebaBd : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        crearBaseDatos();
        AbrirConexion();
    }
};

TEST_F(PruebaBd, GuardaYLeeUnaEntradaConFechaDelReloj) {
    Recordset rs;
    rs.Open(QStringLiteral("INSERT INTO Entradas (FechaEntrada,Placa,id_tarifa,Tarifa,Tiempo,"
                           "DescrTarifa) VALUES ('06/12/2026 02:05:09 pm',%1,1,'1000','60','A')")
                .arg(Texto(QStringLiteral("abc'1"))));
    rs.Open(QStringLiteral("SELECT * FROM entradas WHERE placa = 'ABC''1'"));
    ASSERT_FALSE(rs.EOF());
    EXPECT_EQ(rs.Fields(QStringLiteral("FechaEntrada")).aFecha(),
              QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9)));
    EXPECT_EQ(rs.Fields(QStringLiteral("Tarifa")).aEntero(), 1000);
}

TEST_F(PruebaBd, FechasDelRelojSeGuardanIsoYSeLeenIgual) {
    const QDateTime momentos[] = {
        QDateTime(QDate(2026, 12, 6), QTime(0, 0, 0)),
        QDateTime(QDate(2026, 12, 6), QTime(0, 30, 15)),
        QDateTime(QDate(2026, 12, 6), QTime(11, 59, 59)),
        QDateTime(QDate(2026, 12, 6), QTime(12, 0, 0)),
        QDateTime(QDate(2026, 1, 31), QTime(13, 5, 9)),
        QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59)),
    };
    for (const QDateTime& m : momentos) {
        const int64_t id = insertarEntrada(QStringLiteral("AAA111"), m);
        EXPECT_EQ(crudo(QStringLiteral("SELECT typeof(FechaEntrada) || ' ' || FechaEntrada FROM "
                                       "Entradas WHERE id_entrada = %1")
                            .arg(id)),
                  QLatin1String("text ") + m.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM Entradas WHERE id_entrada = %1").arg(id));
        ASSERT_FALSE(rs.EOF());
        EXPECT_EQ(rs.Fields(QStringLiteral("fechaentrada")).aFecha(), m);
        EXPECT_EQ(rs.Fields(QStringLiteral("FechaEntrada")).aTexto(), FechaHoraTexto(m));
    }
}

TEST_F(PruebaBd, FechasEntreAlmohadillasYEnActualizaciones) {
    ejecutar(QStringLiteral("INSERT INTO Cierres (NDocumento,FechaImp,FechaIni,FechaFin,Cajero) "
                            "VALUES ('ENESPERA',%1,%2,#03 ene 2017 10:00:00#,'ana')")
                 .arg(LiteralFechaHoraAmPm(QDateTime(QDate(2026, 12, 1), QTime(14, 5, 9))),
                      QStringLiteral("#2026/12/01#")));
    const int64_t id = Recordset::UltimoId();
    const QString fila = QStringLiteral(
        "SELECT FechaImp || '|' || FechaIni || '|' || FechaFin FROM Cierres WHERE id_cierre = %1");
    EXPECT_EQ(crudo(fila.arg(id)),
              QLatin1String("2026-12-01 14:05:09|2026-12-01 00:00:00|2017-01-03 10:00:00"));

    ejecutar(QStringLiteral("UPDATE Cierres SET FechaFin='07/12/2026 01:00:00 am' WHERE "
                            "id_cierre=%1")
                 .arg(id));
    EXPECT_EQ(crudo(fila.arg(id)),
              QLatin1String("2026-12-01 14:05:09|2026-12-01 00:00:00|2026-12-07 01:00:00"));
}

TEST_F(PruebaBd, FechaQueNoEsFechaEsUnErrorYNoSeGuarda) {
    const char* const malas[] = {"'ayer'", "'31/02/2026 10:00:00 am'", "'06/12/2026 13:00:00 pm'",
                                 "1234"};
    for (const char* mala : malas) {
        EXPECT_THROW(ejecutar(QStringLiteral("INSERT INTO Entradas (FechaEntrada,Placa) VALUES "
                                             "(%1,'X')")
                                  .arg(QLatin1String(mala))),
                     ErrorBD)
            << mala;
    }
    EXPECT_EQ(contar(QStringLiteral("Entradas")), 0);
}

TEST_F(PruebaBd, BanderasSeGuardanMenosUnoYCeroYVerdaderoVaPrimero) {
    const std::pair<const char*, int> casos[] = {{"True", -1},   {"False", 0},  {"5", -1},
                                                 {"-3", -1},     {"'1'", -1},   {"0", 0},
                                                 {"'True'", -1}, {"'false'", 0}};
    for (const auto& [valor, guardado] : casos) {
        ejecutar(QStringLiteral("INSERT INTO Exentos (PlacaExento,NombreExento,ActivoExento) "
                                "VALUES ('P',%1,%2)")
                     .arg(Texto(QLatin1String(valor)), QLatin1String(valor)));
        const int64_t id = Recordset::UltimoId();
        EXPECT_EQ(
            crudo(QStringLiteral("SELECT ActivoExento FROM Exentos WHERE id_exento=%1").arg(id)),
            QString::number(guardado))
            << valor;
        EXPECT_EQ(leer(QStringLiteral("SELECT * FROM Exentos WHERE id_exento=%1").arg(id),
                       QStringLiteral("ActivoExento"))
                      .aBandera(),
                  guardado != 0);
    }
    ejecutar(QStringLiteral("UPDATE Exentos SET ActivoExento=7 WHERE ActivoExento=False"));
    EXPECT_EQ(crudo(QStringLiteral("SELECT COUNT(*) FROM Exentos WHERE ActivoExento=-1")),
              QLatin1String("8"));

    ejecutar(QStringLiteral("UPDATE Exentos SET ActivoExento=False WHERE id_exento > 4"));
    const QStringList orden =
        columnas(QStringLiteral("SELECT * FROM Exentos ORDER BY ActivoExento ASC, id_exento ASC"),
                 QStringLiteral("ActivoExento"));
    EXPECT_EQ(orden, QStringList({"Verdadero", "Verdadero", "Verdadero", "Verdadero", "Falso",
                                  "Falso", "Falso", "Falso"}));
    EXPECT_THROW(ejecutar(QStringLiteral("UPDATE Exentos SET ActivoExento='quizá'")), ErrorBD);
}

TEST_F(PruebaBd, NumerosCitadosSonNumerosYLoDemasEsError) {
    ejecutar(QStringLiteral("INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,MostrarEnEntradas,"
                            "MostrarEnSalidas) VALUES ('2000','60','AUTOMOVIL',True,True)"));
    const int64_t id = Recordset::UltimoId();
    EXPECT_EQ(crudo(QStringLiteral("SELECT typeof(Tarifa) || ' ' || Tarifa || ' ' || "
                                   "typeof(Tiempo) FROM Tarifas WHERE id_tarifa=%1")
                        .arg(id)),
              QLatin1String("integer 2000 integer"));
    EXPECT_EQ(leer(QStringLiteral("SELECT * FROM Tarifas WHERE Tarifa = 2000"),
                   QStringLiteral("id_tarifa"))
                  .aEntero(),
              id);

    const char* const malos[] = {"'mil'", "'12abc'", "''", "'1O'"};
    for (const char* malo : malos) {
        EXPECT_THROW(ejecutar(QStringLiteral("INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa) "
                                             "VALUES (%1,'60','X')")
                                  .arg(QLatin1String(malo))),
                     ErrorBD)
            << malo;
        EXPECT_THROW(
            ejecutar(
                QStringLiteral("UPDATE DatosParqueadero SET Cupo=%1").arg(QLatin1String(malo))),
            ErrorBD)
            << malo;
    }
    EXPECT_EQ(contar(QStringLiteral("Tarifas")), 1);
    EXPECT_EQ(crudo(QStringLiteral("SELECT typeof(Cupo) FROM DatosParqueadero")),
              QLatin1String("integer"));

    ejecutar(QStringLiteral("UPDATE DatosParqueadero SET Cupo='80', IVA=Null"));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM DatosParqueadero"));
    EXPECT_EQ(rs.Fields(QStringLiteral("Cupo")).aEntero(), 80);
    EXPECT_TRUE(rs.Fields(QStringLiteral("IVA")).esNulo());
}

TEST_F(PruebaBd, ClavesNoSeReutilizan) {
    std::set<int64_t> usadas;
    for (int i = 0; i < 3; ++i)
        usadas.insert(insertarCliente(QStringLiteral("C%1").arg(i), QStringLiteral("P%1").arg(i)));
    ejecutar(QStringLiteral("DELETE FROM Clientes WHERE id_cliente = %1").arg(*usadas.rbegin()));
    const int64_t trasBorrar = insertarCliente(QStringLiteral("D"), QStringLiteral("D"));
    EXPECT_GT(trasBorrar, *usadas.rbegin());
    usadas.insert(trasBorrar);

    ejecutar(QStringLiteral("DELETE FROM Clientes"));
    CerrarConexion();
    AbrirConexion();
    EXPECT_GT(insertarCliente(QStringLiteral("E"), QStringLiteral("E")), *usadas.rbegin());
}

TEST_F(PruebaBd, TextoSinMayusculasNiAcentosDeMayuscula) {
    const QStringList nombres = {
        QStringLiteral("ZORRO"), QStringLiteral("ñandú"),  QStringLiteral("Ángel"),
        QStringLiteral("nube"),  QStringLiteral("oso"),    QStringLiteral("ángela"),
        QStringLiteral("Ñu"),    QStringLiteral("Abeja"),  QStringLiteral("Núñez"),
        QStringLiteral("NUNCA"), QStringLiteral("ábside"),
    };
    for (int i = 0; i < nombres.size(); ++i)
        insertarCliente(nombres[i], QStringLiteral("abc%1").arg(i));

    EXPECT_EQ(columnas(QStringLiteral("SELECT * FROM Clientes ORDER BY Nombre ASC"),
                       QStringLiteral("Nombre")),
              QStringList({"Abeja", "ábside", "Ángel", "ángela", "nube", "NUNCA", "Núñez", "ñandú",
                           "Ñu", "oso", "ZORRO"}));

    const std::pair<const char*, const char*> busquedas[] = {
        {"Placa = 'ABC3'", "nube"},       {"Nombre = 'ÑANDÚ'", "ñandú"},
        {"Nombre = 'ÁNGEL'", "Ángel"},    {"Nombre = 'núñez'", "Núñez"},
        {"Nombre LIKE '%ÑAN%'", "ñandú"}, {"Nombre LIKE 'ÁNGELA'", "ángela"},
        {"Nombre LIKE 'zo%'", "ZORRO"},   {"Nombre LIKE '_U'", "Ñu"},
    };
    for (const auto& [condicion, nombre] : busquedas)
        EXPECT_EQ(
            columnas(QStringLiteral("SELECT * FROM Clientes WHERE ") + QString::fromUtf8(condicion),
                     QStringLiteral("Nombre")),
            QStringList{QString::fromUtf8(nombre)})
            << condicion;
    EXPECT_EQ(leer(QStringLiteral("SELECT COUNT(*) As VerificarPlaca FROM Clientes WHERE "
                                  "Placa = 'Abc10'"),
                   QStringLiteral("verificarplaca"))
                  .aEntero(),
              1);
}

TEST_F(PruebaBd, TextoGuardaCualquierValorYLoEncuentra) {
    QString largo;
    while (largo.size() < 10000)
        largo += QStringLiteral("ab'ñ\"#%_");
    largo.truncate(10000);
    const QStringList valores = {
        QStringLiteral("'"),
        QStringLiteral("''"),
        QStringLiteral("O'Brien"),
        QStringLiteral("#01 jan 2020#"),
        QStringLiteral("True"),
        QStringLiteral("TOP 1"),
        QStringLiteral(";"),
        QStringLiteral("--"),
        QStringLiteral("%"),
        QStringLiteral("línea 1\r\nlínea 2"),
        QStringLiteral("x'); DELETE FROM Clientes; --"),
        QStringLiteral("[Placa] \"dobles\" (TOP 2)"),
        QStringLiteral("Peña Ñandú čeština 漢字 😀"),
        largo,
    };
    QVector<int64_t> ids;
    for (const QString& v : valores) {
        ejecutar(QStringLiteral("INSERT INTO Clientes (Nombre,Placa,Activo,Notas) VALUES "
                                "(%1,'X',False,%2)")
                     .arg(Texto(v), Texto(v)));
        ids << Recordset::UltimoId();
    }
    EXPECT_EQ(contar(QStringLiteral("Clientes")), valores.size());
    for (int i = 0; i < valores.size(); ++i) {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM Clientes WHERE Notas = %1").arg(Texto(valores[i])));
        ASSERT_EQ(rs.RecordCount(), 1) << i;
        EXPECT_EQ(rs.Fields(QStringLiteral("id_cliente")).aEntero(), ids[i]) << i;
        EXPECT_EQ(rs.Fields(QStringLiteral("Notas")).aTexto(), valores[i]) << i;
        EXPECT_EQ(rs.Fields(QStringLiteral("Nombre")).aTexto(), valores[i]) << i;
    }
}

TEST_F(PruebaBd, UnaSolaSentenciaPorEjecucion) {
    const int64_t antes = contar(QStringLiteral("Usuarios"));
    const char* const dobles[] = {
        "INSERT INTO Usuarios (usuario) VALUES ('a'); DELETE FROM Usuarios",
        "INSERT INTO Usuarios (usuario) VALUES ('a');DROP TABLE Usuarios;",
        "SELECT * FROM Usuarios; UPDATE Usuarios SET pwd = ''",
    };
    for (const char* doble : dobles)
        EXPECT_THROW(ejecutar(QLatin1String(doble)), ErrorBD) << doble;
    EXPECT_EQ(contar(QStringLiteral("Usuarios")), antes);
    EXPECT_EQ(leer(QStringLiteral("SELECT * FROM Usuarios"), QStringLiteral("pwd")).aTexto(),
              QLatin1String("admin"));
    EXPECT_EQ(leer(QStringLiteral("SELECT COUNT(*) As n FROM Usuarios;  "), QStringLiteral("n"))
                  .aEntero(),
              antes);
}

TEST_F(PruebaBd, ErroresLlevanMensajeYTextoDelControlador) {
    try {
        ejecutar(QStringLiteral("SELECT * FROM NoExiste WHERE a = True"));
        FAIL() << "sin error";
    } catch (const ErrorBD& e) {
        EXPECT_FALSE(e.mensaje.isEmpty());
        EXPECT_TRUE(e.detalle.contains(QLatin1String("no such table: NoExiste"))) << e.what();
        EXPECT_TRUE(e.detalle.contains(QLatin1String("SELECT * FROM NoExiste")));
        EXPECT_TRUE(e.textoCompleto().startsWith(e.mensaje));
        EXPECT_TRUE(e.textoCompleto().endsWith(e.detalle));
    }
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM Usuarios"));
    EXPECT_THROW(rs.Fields(QStringLiteral("NoHay")), ErrorBD);
    rs.MoveNext();
    ASSERT_TRUE(rs.EOF());
    EXPECT_THROW(rs.Fields(QStringLiteral("usuario")), ErrorBD);
    CerrarConexion();
    EXPECT_THROW(rs.Open(QStringLiteral("SELECT * FROM Usuarios")), ErrorBD);
}

TEST_F(PruebaBd, RecorridoAdelanteYAtras) {
    for (int i = 1; i <= 3; ++i)
        insertarCliente(QStringLiteral("N%1").arg(i), QStringLiteral("P%1").arg(i));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM Clientes ORDER BY Nombre DESC"));
    EXPECT_EQ(rs.State(), 1);
    EXPECT_EQ(rs.RecordCount(), 3);
    rs.MoveLast();
    EXPECT_EQ(rs.Fields(QStringLiteral("Nombre")).aTexto(), QLatin1String("N1"));
    rs.MovePrevious();
    EXPECT_EQ(rs.Fields(QStringLiteral("Nombre")).aTexto(), QLatin1String("N2"));
    rs.MovePrevious();
    rs.MovePrevious();
    EXPECT_TRUE(rs.BOF());
    EXPECT_TRUE(rs.EOF());
    rs.Close();
    EXPECT_EQ(rs.State(), 0);
}

TEST_F(PruebaBd, ConsultaDeUnPeriodoPorFechaDeSalida) {
    const QDate dias[] = {QDate(2017, 1, 3),  QDate(2016, 12, 24), QDate(2026, 12, 1),
                          QDate(2020, 8, 31), QDate(2020, 4, 1),   QDate(2020, 2, 29)};
    Transaccion carga;
    for (const QDate& d : dias) {
        const QString p = d.toString(QStringLiteral("yyMMdd"));
        insertarSalida(p + QLatin1String("A"), QDateTime(d.addDays(-1), QTime(23, 59, 59)), 1);
        insertarSalida(p + QLatin1String("B"), QDateTime(d, QTime(0, 0, 0)), 1);
        insertarSalida(p + QLatin1String("C"), QDateTime(d, QTime(12, 0, 0)), 2);
        insertarSalida(p + QLatin1String("D"), QDateTime(d, QTime(23, 59, 59)), 3);
        insertarSalida(p + QLatin1String("E"), QDateTime(d.addDays(1), QTime(0, 0, 0)), 1);
    }
    carga.confirmar();
    for (const QDate& d : dias) {
        const QString p = d.toString(QStringLiteral("yyMMdd"));
        const QString periodo =
            QStringLiteral("FROM Salidas WHERE FechaSalida >= %1 AND Fechasalida <= %2")
                .arg(LiteralInicioDia(d), LiteralFinDia(d));
        EXPECT_EQ(columnas(QStringLiteral("SELECT * ") + periodo +
                               QLatin1String(" ORDER BY FechaSalida ASC"),
                           QStringLiteral("Placa")),
                  QStringList({p + "B", p + "C", p + "D"}))
            << LiteralInicioDia(d).toStdString();
        Recordset rs;
        rs.Open(QStringLiteral("SELECT TOP 1 ConsecutivoDia ") + periodo +
                QLatin1String(" ORDER BY ConsecutivoDia DESC"));
        EXPECT_EQ(rs.RecordCount(), 1);
        EXPECT_EQ(rs.Fields(QStringLiteral("ConsecutivoDia")).aEntero(), 3);
        rs.Open(QStringLiteral("SELECT COUNT(*) As Registros, SUM(Cobrado) as Total ") + periodo);
        EXPECT_EQ(rs.Fields(QStringLiteral("Registros")).aEntero(), 3);
        EXPECT_EQ(rs.Fields(QStringLiteral("total")).aEntero(), 3 * 4000);
    }
    const QDate vacio(2030, 5, 5);
    Recordset rs;
    rs.Open(QStringLiteral("SELECT TOP 1 ConsecutivoDia FROM Salidas WHERE FechaSalida >= %1 AND "
                           "FechaSalida <= %2 ORDER BY ConsecutivoDia DESC")
                .arg(LiteralInicioDia(vacio), LiteralFinDia(vacio)));
    EXPECT_TRUE(rs.EOF());
    rs.Open(QStringLiteral("SELECT SUM(Cobrado) as Total FROM Salidas WHERE FechaSalida >= %1")
                .arg(LiteralInicioDia(vacio)));
    EXPECT_TRUE(rs.Fields(QStringLiteral("Total")).esNulo());
    EXPECT_EQ(rs.Fields(QStringLiteral("Total")).aEntero(), 0);
}

TEST_F(PruebaBd, UnionesLeenTablaPuntoColumnaSoloSiSeRepite) {
    const int64_t ana = insertarCliente(QStringLiteral("Ana"), QStringLiteral("ANA111"));
    const int64_t beto = insertarCliente(QStringLiteral("Beto"), QStringLiteral("BET222"));
    insertarCliente(QStringLiteral("Ciro"), QStringLiteral("CIR333"));
    const int64_t p1 = insertarPeriodo(ana, QDate(2026, 11, 1), QDate(2026, 11, 30));
    const int64_t p2 = insertarPeriodo(ana, QDate(2026, 12, 1), QDate(2026, 12, 31));
    const int64_t p3 = insertarPeriodo(beto, QDate(2026, 12, 1), QDate(2026, 12, 31));
    insertarPago(p1, QDate(2026, 11, 5), 100000);
    insertarPago(p2, QDate(2026, 12, 1), 40000);
    insertarPago(p2, QDate(2026, 12, 2), 60000);
    insertarPago(p3, QDate(2026, 11, 30), 30000);

    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM (Clientes INNER JOIN FechaPago ON Clientes.id_cliente = "
                           "FechaPago.id_cliente) INNER JOIN Pagos ON FechaPago.id_fecha_pago = "
                           "Pagos.id_fecha_pago WHERE FechaPago >= %1 ORDER BY FechaPago ASC")
                .arg(LiteralFechaSimple(QDate(2026, 12, 1))));
    const QStringList nombres = rs.nombresCampos();
    for (const char* repetida : {"Clientes.id_cliente", "FechaPago.id_cliente",
                                 "FechaPago.id_fecha_pago", "Pagos.id_fecha_pago"})
        EXPECT_TRUE(nombres.contains(QLatin1String(repetida))) << repetida;
    for (const char* unica :
         {"Nombre", "Placa", "FechaFin", "CantidadPago", "FechaPago", "id_pago"})
        EXPECT_TRUE(nombres.contains(QLatin1String(unica))) << unica;
    EXPECT_THROW(rs.Fields(QStringLiteral("id_cliente")), ErrorBD);
    ASSERT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.Fields(QStringLiteral("clientes.ID_CLIENTE")).aEntero(), ana);
    EXPECT_EQ(rs.Fields(QStringLiteral("Pagos.id_fecha_pago")).aEntero(), p2);
    EXPECT_EQ(rs.Fields(QStringLiteral("FechaPago")).aFecha(),
              QDateTime(QDate(2026, 12, 1), QTime(0, 0)));
    rs.MoveNext();
    EXPECT_EQ(rs.Fields(QStringLiteral("CantidadPago")).aEntero(), 60000);

    rs.Open(QStringLiteral("SELECT TOP 1 * FROM Clientes INNER JOIN FechaPago ON "
                           "Clientes.id_cliente = FechaPago.id_cliente WHERE Clientes.Placa = "
                           "'ana111' ORDER BY FechaFin DESC"));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields(QStringLiteral("Clientes.id_cliente")).aEntero(), ana);
    EXPECT_EQ(rs.Fields(QStringLiteral("FechaFin")).aFecha().date(), QDate(2026, 12, 31));
    EXPECT_FALSE(rs.Fields(QStringLiteral("Pagado")).aBandera());

    EXPECT_EQ(leer(QStringLiteral("SELECT SUM(CantidadPago) as TotalPagos FROM Pagos WHERE "
                                  "id_fecha_pago = %1")
                       .arg(p2),
                   QStringLiteral("TotalPagos"))
                  .aEntero(),
              100000);

    EXPECT_EQ(columnas(QStringLiteral("SELECT * FROM (Clientes LEFT JOIN FechaPago ON "
                                      "Clientes.id_cliente = FechaPago.id_cliente) LEFT JOIN "
                                      "Pagos ON FechaPago.id_fecha_pago = Pagos.id_fecha_pago "
                                      "ORDER BY Ape1 ASC, Ape2 ASC, Nombre ASC, FechaFin DESC, "
                                      "FechaPago DESC"),
                       QStringLiteral("CantidadPago")),
              QStringList({"60000", "40000", "100000", "30000", ""}));
}

TEST_F(PruebaBd, IndicesEnLoQueSeBusca) {
    const char* const consultas[] = {
        "SELECT * FROM entradas WHERE placa = 'ABC123'",
        "SELECT * FROM Entradas WHERE FechaEntrada <= #06 dic 2026 10:00:00#",
        "SELECT * FROM Salidas WHERE Placa = 'ABC123'",
        "SELECT * FROM Salidas WHERE FechaSalida >= #03 jan 2017 00:00:00# AND Fechasalida <= "
        "#03 jan 2017 23:59:59#",
        "SELECT * FROM Salidas WHERE FechaEntrada >= #03 jan 2017 00:00:00#",
        "SELECT * FROM Clientes WHERE placa = 'ABC123'",
        "SELECT * FROM FechaPago WHERE id_cliente = 4",
        "SELECT * FROM Pagos WHERE id_fecha_pago = 4",
        "SELECT * FROM Exentos WHERE PlacaExento = 'ABC123' AND ActivoExento=True",
    };
    for (const char* consulta : consultas) {
        const QString plan = planConsulta(QLatin1String(consulta));
        EXPECT_TRUE(plan.contains(QLatin1String("USING INDEX")))
            << consulta << " -> " << plan.toStdString();
    }
}

TEST_F(PruebaBd, DiarioDeReversionYEsperaPorOtraEstacion) {
    EXPECT_EQ(leer(QStringLiteral("PRAGMA journal_mode"), QStringLiteral("journal_mode")).aTexto(),
              QLatin1String("delete"));
    insertarCliente(QStringLiteral("A"), QStringLiteral("A"));
    EXPECT_FALSE(QFileInfo::exists(Conexion.rutaBaseDatos() + QLatin1String("-wal")));

    OtraEstacion otra(Conexion.rutaBaseDatos());
    ASSERT_EQ(otra.ejecutar("BEGIN IMMEDIATE; INSERT INTO Usuarios (usuario) VALUES ('otra')"),
              SQLITE_OK);
    std::thread confirmar([&otra] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        otra.ejecutar("COMMIT");
    });
    QElapsedTimer cronometro;
    cronometro.start();
    EXPECT_NO_THROW(ejecutar(QStringLiteral("INSERT INTO Usuarios (usuario) VALUES ('esta')")));
    const qint64 espera = cronometro.elapsed();
    confirmar.join();
    EXPECT_GE(espera, 250);
    EXPECT_LT(espera, 2000);
    EXPECT_EQ(columnas(QStringLiteral("SELECT * FROM Usuarios ORDER BY id_usuario"),
                       QStringLiteral("usuario")),
              QStringList({"admin", "otra", "esta"}));
}

TEST_F(PruebaBd, TransaccionConfirmadaOAnulada) {
    {
        Transaccion t;
        insertarCliente(QStringLiteral("anulado"), QStringLiteral("A"));
    }
    EXPECT_EQ(contar(QStringLiteral("Clientes")), 0);
    {
        Transaccion t;
        insertarCliente(QStringLiteral("confirmado"), QStringLiteral("B"));
        t.confirmar();
    }
    EXPECT_EQ(columnas(QStringLiteral("SELECT * FROM Clientes"), QStringLiteral("Nombre")),
              QStringList{"confirmado"});
}

TEST_F(PruebaBd, TransaccionesAnidadasSeUnenALaExterior) {
    {
        Transaccion externa;
        {
            Transaccion interna;
            insertarCliente(QStringLiteral("interno"), QStringLiteral("A"));
            interna.confirmar();
        }
        insertarCliente(QStringLiteral("externo"), QStringLiteral("B"));
    }
    EXPECT_EQ(contar(QStringLiteral("Clientes")), 0);
    {
        Transaccion externa;
        {
            Transaccion interna;
            insertarCliente(QStringLiteral("interno"), QStringLiteral("A"));
        }
        EXPECT_THROW(externa.confirmar(), ErrorBD);
    }
    EXPECT_EQ(contar(QStringLiteral("Clientes")), 0);
    {
        Transaccion externa;
        {
            Transaccion interna;
            insertarCliente(QStringLiteral("interno"), QStringLiteral("A"));
            interna.confirmar();
        }
        externa.confirmar();
    }
    EXPECT_EQ(contar(QStringLiteral("Clientes")), 1);
}

TEST_F(PruebaBd, TransaccionReservaLaEscrituraYDemoraElCierre) {
    OtraEstacion otra(Conexion.rutaBaseDatos());
    {
        Transaccion t;
        EXPECT_EQ(otra.ejecutar("BEGIN IMMEDIATE"), SQLITE_BUSY);
        CerrarConexion();
        EXPECT_EQ(Conexion.State(), 1);
        insertarCliente(QStringLiteral("dentro"), QStringLiteral("A"));
        t.confirmar();
    }
    EXPECT_EQ(Conexion.State(), 0);
    EXPECT_EQ(otra.ejecutar("BEGIN IMMEDIATE"), SQLITE_OK);
    EXPECT_EQ(crudo(otra.db, QStringLiteral("SELECT Nombre FROM Clientes")),
              QLatin1String("dentro"));
    otra.ejecutar("ROLLBACK");
}

// A helper inside the transaction closes, the next one opens again: the connection must stay
// open after the transaction, as it would without one.
TEST_F(PruebaBd, AbrirTrasCierreDemoradoAnulaElCierre) {
    {
        Transaccion t;
        CerrarConexion();
        AbrirConexion();
        insertarCliente(QStringLiteral("dentro"), QStringLiteral("A"));
        t.confirmar();
    }
    ASSERT_EQ(Conexion.State(), 1);
    EXPECT_EQ(contar(QStringLiteral("Clientes")), 1);
}

TEST_F(PruebaBd, SalidaQueFallaDejaTodoComoEstaba) {
    reloj.momento = QDateTime(QDate(2026, 12, 6), QTime(15, 0, 0));
    insertarEntrada(QStringLiteral("ABC123"), reloj.momento.addSecs(-7200));
    insertarSalida(QStringLiteral("XYZ987"), reloj.momento.addSecs(-60), 1);
    const QStringList antes = volcado();
    auto registrarSalida = [this] {
        Transaccion t;
        const int64_t id = insertarSalida(QStringLiteral("ABC123"), reloj.momento, 2);
        ejecutar(QStringLiteral("UPDATE Salidas SET NroTicket='%1' WHERE Placa='ABC123' AND "
                                "id_salida=%1")
                     .arg(id));
        ejecutar(QStringLiteral("DELETE FROM Entradas WHERE Placa = 'ABC123'"));
        t.confirmar();
        return id;
    };
    for (int n = 1; n <= 3; ++n) {
        Conexion.fallarSentencia(n);
        EXPECT_THROW(registrarSalida(), ErrorBD) << n;
        EXPECT_EQ(volcado(), antes) << n;
    }
    const int64_t id = registrarSalida();
    EXPECT_EQ(contar(QStringLiteral("Entradas")), 0);
    EXPECT_EQ(columnas(QStringLiteral("SELECT * FROM Salidas ORDER BY id_salida"),
                       QStringLiteral("NroTicket")),
              QStringList({"", QString::number(id)}));
}

TEST_F(PruebaBd, FalloSimuladoCuentaDesdeAhoraYSeDesarma) {
    Conexion.fallarSentencia(2);
    EXPECT_NO_THROW(insertarCliente(QStringLiteral("uno"), QStringLiteral("1")));
    EXPECT_THROW(insertarCliente(QStringLiteral("dos"), QStringLiteral("2")), ErrorBD);
    EXPECT_NO_THROW(insertarCliente(QStringLiteral("tres"), QStringLiteral("3")));
    EXPECT_EQ(columnas(QStringLiteral("SELECT * FROM Clientes ORDER BY id_cliente"),
                       QStringLiteral("Nombre")),
              QStringList({"uno", "tres"}));
}

TEST_F(PruebaBd, AbrirAbiertaYCerrarCerradaNoCambianNada) {
    sqlite3* antes = Conexion.manejador();
    ejecutar(QStringLiteral("CREATE TEMP TABLE marca (x INTEGER)"));
    insertarCliente(QStringLiteral("A"), QStringLiteral("A"));
    const int64_t ultimo = Recordset::UltimoId();
    AbrirConexion();
    EXPECT_EQ(Conexion.manejador(), antes);
    EXPECT_EQ(Recordset::UltimoId(), ultimo);
    EXPECT_EQ(contar(QStringLiteral("marca")), 0);

    CerrarConexion();
    EXPECT_EQ(Conexion.State(), 0);
    EXPECT_NO_THROW(CerrarConexion());
    EXPECT_EQ(Conexion.State(), 0);
    EXPECT_THROW(Conexion.manejador(), ErrorBD);
    AbrirConexion();
    EXPECT_EQ(contar(QStringLiteral("Clientes")), 1);
}

TEST_F(PruebaBd, CrearBaseDatosNoSobrescribe) {
    insertarCliente(QStringLiteral("queda"), QStringLiteral("A"));
    CerrarConexion();
    EXPECT_THROW(crearBaseDatos(), ErrorBD);
    EXPECT_EQ(QDir(carpetas.programa).entryList(QDir::Files), QStringList{"vialtor.mdb"});
    AbrirConexion();
    EXPECT_EQ(columnas(QStringLiteral("SELECT * FROM Clientes"), QStringLiteral("Nombre")),
              QStringList{"queda"});
}

class PruebaRutaBd : public PruebaVialtor {};

TEST_F(PruebaRutaBd, SinCarpetaDeDatosUsaLaDelPrograma) {
    crearBaseDatos();
    EXPECT_EQ(Conexion.rutaBaseDatos(), carpetas.programa + QLatin1String("/vialtor.mdb"));
    AbrirConexion();
    EXPECT_EQ(contar(QStringLiteral("Usuarios")), 1);
}

TEST_F(PruebaRutaBd, ConCarpetaDeDatosLaUsaTalCual) {
    crearBaseDatos();
    const QString datos = carpeta.path() + QLatin1String("/compartida");
    CrearBaseDatos(datos, QStringLiteral("otro"), QStringLiteral("x"));
    for (const QString& campo : {datos, datos + QLatin1Char('/')}) {
        ConfigInicio.CarpetaDatos = campo;
        EXPECT_EQ(Conexion.rutaBaseDatos(), campo + QLatin1String("/vialtor.mdb"));
        AbrirConexion();
        EXPECT_EQ(
            leer(QStringLiteral("SELECT * FROM Usuarios"), QStringLiteral("usuario")).aTexto(),
            QLatin1String("otro"));
        CerrarConexion();
    }
}

TEST_F(PruebaRutaBd, SinArchivoEsErrorYNoSeCreaNada) {
    const QString vacia = carpeta.path() + QLatin1String("/vacia");
    QDir().mkpath(vacia);
    const QString sinCarpeta = carpeta.path() + QLatin1String("/no/existe");
    for (const QString& datos : {QString(), vacia, sinCarpeta}) {
        ConfigInicio.CarpetaDatos = datos;
        try {
            AbrirConexion();
            ADD_FAILURE() << "sin error: " << datos.toStdString();
        } catch (const ErrorBD& e) {
            EXPECT_FALSE(e.mensaje.isEmpty());
            EXPECT_EQ(e.detalle, Conexion.rutaBaseDatos());
        }
        EXPECT_EQ(Conexion.State(), 0);
    }
    EXPECT_TRUE(QDir(vacia).isEmpty());
    EXPECT_TRUE(QDir(carpetas.programa).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(sinCarpeta));
}

TEST_F(PruebaRutaBd, ArchivoQueNoEsBaseDeDatosNiDeEstaVersion) {
    const QString ruta = carpetas.programa + QLatin1String("/vialtor.mdb");
    QFile basura(ruta);
    ASSERT_TRUE(basura.open(QIODevice::WriteOnly));
    basura.write(QByteArray(4096, 'x'));
    basura.close();
    EXPECT_THROW(AbrirConexion(), ErrorBD);
    EXPECT_EQ(Conexion.State(), 0);
    QFile::remove(ruta);

    crearBaseDatos();
    {
        OtraEstacion otra(ruta);
        ASSERT_EQ(otra.ejecutar("PRAGMA user_version=99"), SQLITE_OK);
    }
    EXPECT_THROW(AbrirConexion(), ErrorBD);
    EXPECT_EQ(Conexion.State(), 0);
}
