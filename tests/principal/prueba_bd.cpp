#include "tests/principal/apoyo_bd.h"

VIALTOR_EN_AMBOS_MOTORES(PruebaBd);

class PruebaBdArchivo : public PruebaBd {};
INSTANTIATE_TEST_SUITE_P(, PruebaBdArchivo, ::testing::Values(Motor::Sqlite));

// Dates, flags and numbers as the windows write them are stored in one form; others refused.
TEST_P(PruebaBd, FechasBanderasYNumerosSeGuardanEnUnaFormaYLoDemasEsError) {
    for (const QTime hora : {QTime(0, 30, 15), QTime(12, 0, 0), QTime(13, 5, 9)}) {
        const QDateTime m(QDate(2026, 1, 31), hora);
        const QString donde =
            QString(" FROM Salidas WHERE id_salida = %1").arg(insertarSalida("AAA111", m, 1));
        EXPECT_EQ(Crudas("SELECT FechaSalida" + donde).value(0), m.toString("yyyy-MM-dd HH:mm:ss"));
        EXPECT_EQ(Tabla("SELECT FechaSalida" + donde), FechaHoraTexto(m));
    }
    Ejecutar("INSERT INTO Cierres (NDocumento,FechaImp,FechaIni,FechaFin) VALUES ('ENESPERA',"
             "#2026/12/01 02:05:09 pm#,#2026/12/01#,#03 ene 2017 10:00:00#)");
    const QString fila = "SELECT FechaImp, FechaIni, FechaFin FROM Cierres";
    EXPECT_EQ(Crudas(fila).value(0), "2026-12-01 14:05:09|2026-12-01 00:00:00|2017-01-03 10:00:00");
    Ejecutar("UPDATE Cierres SET FechaFin='07/12/2026 01:00:00 am'");
    EXPECT_TRUE(Crudas(fila).value(0).endsWith("|2026-12-07 01:00:00"));

    // Each flag as typed is stored as -1 (true, so it sorts first) or 0. The server takes
    // True/False and numbers, not the words in quotes.
    const QStringList falsas{"False", "0", servidor ? "False" : "'false'"};
    const QStringList verdaderas{"True", "5", "'1'", "-3", servidor ? "True" : "'True'"};
    QStringList leidas;
    for (const QString& b : falsas + verdaderas)
        Ejecutar(QString("INSERT INTO Exentos (PlacaExento,ActivoExento) VALUES (%1,%2)")
                     .arg(Texto(b), b));
    for (const QString& b : verdaderas + falsas)
        leidas << (verdaderas.contains(b) ? "Verdadero," : "Falso,") + b;
    EXPECT_EQ(Tabla("SELECT ActivoExento, PlacaExento FROM Exentos ORDER BY ActivoExento, "
                    "id_exento"),
              leidas.join('|'));
    Ejecutar("UPDATE Exentos SET ActivoExento=7 WHERE ActivoExento=False");
    EXPECT_EQ(contar("Exentos WHERE ActivoExento=-1"),
              QString::number(falsas.size() + verdaderas.size()));

    Ejecutar("INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa) VALUES ('2000','60','AUTOMOVIL')");
    EXPECT_EQ(Crudas("SELECT Tarifa, Tiempo FROM Tarifas"), QStringList{"2000|60"});
    EXPECT_EQ(contar("Tarifas WHERE Tarifa = 2000"), "1");
    Ejecutar("UPDATE DatosParqueadero SET Cupo='80', IVA=Null");
    EXPECT_EQ(Tabla("SELECT Cupo, IVA FROM DatosParqueadero"), "80,(Null)");
    if (!servidor) {
        EXPECT_EQ(Crudas("SELECT typeof(Tarifa), typeof(Cupo) FROM Tarifas, DatosParqueadero"),
                  QStringList{"integer|integer"});
    }

    const QString antes = volcado().join('\n');
    for (const char* malo :
         {"INSERT INTO Entradas (FechaEntrada) VALUES ('ayer')",
          "INSERT INTO Entradas (FechaEntrada) VALUES ('31/02/2026 10:00:00 am')",
          "INSERT INTO Entradas (FechaEntrada) VALUES ('06/12/2026 13:00:00 pm')",
          "INSERT INTO Entradas (FechaEntrada) VALUES (1234)",
          "UPDATE Exentos SET ActivoExento='quizá'", "INSERT INTO Tarifas (Tarifa) VALUES ('mil')",
          "INSERT INTO Tarifas (Tarifa) VALUES ('12abc')", "UPDATE DatosParqueadero SET Cupo=''",
          "UPDATE DatosParqueadero SET Cupo='1O'"})
        EXPECT_THROW(Ejecutar(QString::fromUtf8(malo)), ErrorBD) << malo;
    EXPECT_EQ(volcado().join('\n'), antes);
}

// Text compares without regard to case (accents included) and any typed value is stored and
// found again exactly as typed.
TEST_P(PruebaBd, TextoSinMayusculasYCualquierValorCitado) {
    const QStringList nombres = QString::fromUtf8("ZORRO ñandú Ángel nube oso ángela Ñu Abeja "
                                                  "Núñez NUNCA ábside")
                                    .split(' ');
    for (int i = 0; i < nombres.size(); ++i)
        insertarCliente(nombres[i], QStringLiteral("abc%1").arg(i));
    EXPECT_EQ(Columna("SELECT * FROM Clientes ORDER BY Nombre ASC", "Nombre").join(' '),
              QString::fromUtf8("Abeja ábside Ángel ángela nube NUNCA Núñez ñandú Ñu oso ZORRO"));
    const std::pair<const char*, const char*> busquedas[] = {
        {"Placa = 'ABC3'", "nube"}, {"Nombre = 'ÑANDÚ'", "ñandú"}, {"Nombre = 'núñez'", "Núñez"}};
    for (const auto& [condicion, nombre] : busquedas)
        EXPECT_EQ(Columna("SELECT * FROM Clientes WHERE " + QString::fromUtf8(condicion), "Nombre"),
                  QStringList{QString::fromUtf8(nombre)})
            << condicion;

    QStringList valores{QString(10000, QLatin1Char('\''))};
    for (const char* v : {"''", "#01 jan 2020#", "True", "TOP 1", ";", "--", "%",
                          "línea 1\r\nlínea 2", "x'); DELETE FROM Clientes; --",
                          "[Placa] \"dobles\" (TOP 2)", "Peña Ñandú čeština 漢字 😀"})
        valores << QString::fromUtf8(v);
    for (const QString& v : valores) {
        insertarCliente(v, v);
        EXPECT_EQ(Columna("SELECT * FROM Clientes WHERE Placa = " + Texto(v), "Nombre"),
                  QStringList{v});
    }
    EXPECT_EQ(contar("Clientes"), QString::number(nombres.size() + valores.size()));
    // A NUL would end the statement on the file and the server refuses it: the value drops it.
    insertarCliente(QString("N") + QChar(0) + "'UL");
    EXPECT_EQ(Columna("SELECT * FROM Clientes WHERE Nombre = 'N''UL'", "Nombre").size(), 1);

    // LIKE with its wildcards, no regard to case, and no escape character; one character
    // between brackets stands for itself.
    const std::tuple<const char*, const char*, bool> parecidos[] = {
        {"%ñan%", "ÑANDÚ", true}, {"abc%", "ABCD", true},        {"abc%", "xabc", false},
        {"_bc", "Abc", true},     {"_bc", "bc", false},          {"%", "", true},
        {"", "a", false},         {"a%b%c", "axbyc", true},      {"a%b%c", "axcyb", false},
        {"%aab", "aaab", true},   {"%josé%", "JOSÉ LUIS", true}, {"a\\_", "a\\x", true},
        {"_U", "ñu", true},       {"%[%]", "50%", true},         {"[%]", "x", false},
        {"a[_]", "ab", false},    {"[[]1", "[1", true},          {"%[\\]%", "[\\]", true},
        {"[ab]", "a", false}};
    for (const auto& [patron, valor, parecido] : parecidos)
        EXPECT_EQ(
            contar(QString("Usuarios WHERE %1 LIKE %2 AND %1 NOT LIKE 'zz'")
                       .arg(Texto(QString::fromUtf8(valor)), Texto(QString::fromUtf8(patron)))),
            parecido ? "1" : "0")
            << patron << " ~ " << valor;
}

// A join names a column "Table.column" only where two tables share it; the rows are walked both
// ways; a field that is not there, or of no row, is an error, and so is a second statement; a
// driver's error carries its text and the statement.
TEST_P(PruebaBd, RecorridoDeUnaUnionYErroresConElTextoDelControlador) {
    const int64_t ana = insertarCliente("Ana");
    insertarCliente("Beto");
    Ejecutar("INSERT INTO FechaPago (id_cliente, FechaInicio, FechaFin) VALUES "
             "(1,#2026/11/01#,#2026/11/30#), (1,#2026/12/01#,#2026/12/31#)");
    Ejecutar("INSERT INTO Pagos (id_fecha_pago, FechaPago, CantidadPago) VALUES "
             "(1,#2026/11/05#,100), (2,#2026/12/01#,40), (2,#2026/12/02#,60)");
    const QString union_ = "SELECT * FROM (Clientes %1 JOIN FechaPago ON Clientes.id_cliente = "
                           "FechaPago.id_cliente) %1 JOIN Pagos ON FechaPago.id_fecha_pago = "
                           "Pagos.id_fecha_pago ";
    Recordset rs;
    rs.Open(union_.arg("INNER") + "WHERE FechaPago >= #2026/12/01# ORDER BY FechaPago ASC");
    EXPECT_THROW(rs.Fields("id_cliente"), ErrorBD);
    ASSERT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.Fields("clientes.ID_CLIENTE").aEntero(), ana);
    EXPECT_EQ(rs.Fields("Pagos.id_fecha_pago").aEntero(), 2);
    rs.MoveLast();
    EXPECT_EQ(rs.Fields("CantidadPago").aEntero(), 60);
    rs.MovePrevious();
    EXPECT_EQ(rs.Fields("CantidadPago").aEntero(), 40);
    rs.MovePrevious();
    EXPECT_TRUE(rs.BOF() && rs.Eof());
    EXPECT_THROW(rs.Fields("CantidadPago"), ErrorBD);
    EXPECT_EQ(Columna(union_.arg("LEFT") + "ORDER BY Nombre ASC, FechaFin DESC, FechaPago DESC",
                      "CantidadPago"),
              QStringList({"60", "40", "100", ""}));

    for (const char* doble : {"INSERT INTO Usuarios (usuario) VALUES ('a'); DELETE FROM Usuarios",
                              "SELECT * FROM Usuarios; UPDATE Usuarios SET pwd = ''"})
        EXPECT_THROW(Ejecutar(QLatin1String(doble)), ErrorBD) << doble;
    EXPECT_TRUE(Columna("SELECT * FROM Usuarios;  ", "pwd").value(0).startsWith("$argon2id$"));
    const ErrorBD e = ErrorDe([] { Ejecutar("SELECT * FROM NoExiste WHERE a = True"); });
    EXPECT_EQ(e.detalle, QString(servidor ? "relation \"noexiste\" does not exist"
                                          : "no such table: NoExiste") +
                             " [SELECT * FROM NoExiste WHERE a = True]");
    EXPECT_EQ(e.causa, CausaBD::Otra);
    EXPECT_EQ(e.explicacion(), e.mensaje + ".");
    EXPECT_EQ(Valor::numero(12.5).aTexto(), "12,5"); // as the windows show a fraction
    CerrarConexion();
    EXPECT_THROW(rs.Open("SELECT * FROM Usuarios"), ErrorBD);
}

// A failed statement goes to the log, but no password in it does, nor into the box: a user's
// insert and change the database refuses, and a login that fails.
TEST_P(PruebaBd, SentenciaFallidaNoLlevaLaClaveAlRegistroNiALaCaja) {
    Ejecutar("UPDATE Usuarios SET pwd='ClaveAdmin7'");
    if (servidor)
        Conexion.servidor().ejecutar(
            "CREATE FUNCTION rechazar() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN RAISE "
            "EXCEPTION 'rechazado'; END$$; CREATE TRIGGER rechazo BEFORE INSERT OR UPDATE ON "
            "usuarios FOR EACH ROW EXECUTE FUNCTION rechazar()");
    else
        for (const char* cambio : {"INSERT", "UPDATE"})
            EjecutarDirecto(Conexion.manejador(),
                            qPrintable(QString("CREATE TRIGGER rechazo_%1 BEFORE %1 ON Usuarios "
                                               "BEGIN SELECT RAISE(ABORT, 'rechazado'); END")
                                           .arg(cambio)));
    const std::function<void()> acciones[] = {
        [] {
            AgregarUsuario({"ana", "Secreta1", "Ana", "", "", "2"});
        },
        [] {
            ModificarUsuario(1, {"admin", "NuevaSecreta9", "Admin", "", "", "1"});
        },
        [] { Ejecutar("SELECT * FROM usuarios WHERE pwd='ClaveAdmin7' AND NoHay = 1"); }};
    for (const auto& accion : acciones)
        EXPECT_FALSE(EjecutarProtegido(accion));
    EXPECT_EQ(mensajes().filter("'***'").size(), 3) << mensajes().join('\n').toStdString();
    for (const char* clave : {"Secreta1", "NuevaSecreta9", "ClaveAdmin7"}) {
        EXPECT_TRUE(mensajes().filter(clave).isEmpty()) << clave;
        EXPECT_FALSE(textos().contains(clave)) << clave;
    }
    EXPECT_EQ(Crudas("SELECT usuario, pwd FROM Usuarios"), QStringList{"admin|ClaveAdmin7"});
}

// Exits are looked up by plate and by day (the day's bounds are the exit numbering's to check):
// both go through an index.
TEST_P(PruebaBdArchivo, SalidasPorPlacaYPorFechaConIndice) {
    const QString plan = "EXPLAIN QUERY PLAN SELECT * FROM Salidas WHERE %1 >= '2017'";
    for (const char* c : {"Placa", "FechaSalida"})
        EXPECT_TRUE(Crudas(plan.arg(c)).join(';').contains("USING INDEX")) << c;
}

// Two stations on one file: a rollback journal; a writer waits for the other one, and the
// windows are told when the wait begins and ends.
TEST_P(PruebaBdArchivo, DiarioDeReversionYEsperaPorOtraEstacion) {
    EXPECT_EQ(Crudas("PRAGMA journal_mode"), QStringList{"delete"});
    QVector<bool> avisos;
    EstablecerAvisoEspera([&avisos](bool esperando) { avisos << esperando; });

    OtraEstacion otra(Conexion.rutaBaseDatos());
    ASSERT_EQ(otra.ejecutar("BEGIN IMMEDIATE; INSERT INTO Usuarios (usuario) VALUES ('otra')"),
              SQLITE_OK);
    std::thread confirmar([&otra] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        otra.ejecutar("COMMIT");
    });
    QElapsedTimer cronometro;
    cronometro.start();
    EXPECT_NO_THROW(Ejecutar("INSERT INTO Usuarios (usuario) VALUES ('esta')"));
    const qint64 espera = cronometro.elapsed();
    confirmar.join();
    EXPECT_TRUE(espera >= 250 && espera < 2000) << espera;
    EXPECT_EQ(avisos, QVector<bool>{true});
    CerrarConexion();
    EXPECT_EQ(avisos, QVector<bool>({true, false}));
    EXPECT_EQ(Columna("SELECT * FROM Usuarios ORDER BY id_usuario", "usuario"),
              QStringList({"admin", "otra", "esta"}));

    // A station that never lets go: the wait ends, and the error says who holds the file.
    ASSERT_EQ(otra.ejecutar("BEGIN IMMEDIATE"), SQLITE_OK);
    Conexion.fijarEsperaMaxima(200);
    const ErrorBD e = ErrorDe([] { Ejecutar("INSERT INTO Usuarios (usuario) VALUES ('no')"); });
    EXPECT_EQ(e.causa, CausaBD::Ocupada);
    EXPECT_EQ(e.detalle, "database is locked [INSERT INTO Usuarios (usuario) VALUES ('no')]");
    EXPECT_EQ(avisos, QVector<bool>({true, false, true, false}));
}

// What the attendant is told: one sentence per cause, never the driver's text.
TEST_P(PruebaBdArchivo, CadaCausaDeFalloTieneSuExplicacion) {
    const QString ruta = Conexion.rutaBaseDatos();
    auto reemplazar = [&ruta](bool porBasura) {
        QFile::remove(ruta);
        if (porBasura) {
            QFile archivo(ruta);
            archivo.open(QIODevice::WriteOnly);
            archivo.write(QByteArray(4096, 'x'));
        }
        AbrirConexion();
    };
    const std::tuple<std::function<void()>, CausaBD, const char*> casos[] = {
        {[&] {
             LimiteArchivo limite(QFileInfo(ruta).size() + 100);
             insertarCliente(QString(20000, QLatin1Char('x')));
         },
         CausaBD::DiscoLleno, "El disco de la base de datos está lleno"},
        {[&] {
             OtraEstacion lectora(ruta, SQLITE_OPEN_READONLY);
             lectora.ejecutar("DELETE FROM Clientes");
             throw ErrorBD("", sqlite3_errmsg(lectora.db), CausaSqlite(lectora.db));
         },
         CausaBD::SinPermiso, "No hay permiso para escribir"},
        {[&] { reemplazar(true); }, CausaBD::Danada, "El archivo de la base de datos está dañado"},
        {[&] { reemplazar(false); }, CausaBD::NoExiste, "No se encuentra la base de datos"}};
    for (const auto& [fallar, causa, inicio] : casos) {
        const ErrorBD e = ErrorDe(fallar);
        EXPECT_EQ(e.causa, causa) << e.detalle.left(200).toStdString();
        EXPECT_TRUE(e.explicacion().startsWith(QString::fromUtf8(inicio)) &&
                    !e.explicacion().contains(e.detalle))
            << e.explicacion().toStdString();
        Conexion.descartar();
    }
}

// A write keeps all its rows or none. An inner guard joins the outer one, and left unconfirmed
// dooms it. A statement that failed dooms it even when the write goes on and answers Hecho: the
// server answers its COMMIT with ROLLBACK, and the file refuses alike; so does a constraint that
// fails only at COMMIT. The next write works.
TEST_P(PruebaBd, UnaTransaccionGuardaTodasSusFilasONinguna) {
    // A write of one row and `paso`, answering Hecho when `confirma`, a refusal otherwise.
    const auto escritura = [](std::function<void()> paso, bool confirma = true) {
        return [=] {
            EnTransaccion([&] {
                insertarCliente("externo");
                paso();
                return confirma ? Hecho(QStringList()) : Rechazo(Resultado::NoEncontrado);
            });
        };
    };
    const auto interna = [](bool confirma) {
        return [=] {
            Transaccion t;
            insertarCliente("interno");
            if (confirma)
                t.confirmar();
        };
    };
    // The write; the start of the error it ends in ("" none); the rows left.
    std::vector<std::tuple<std::function<void()>, QString, const char*>> casos{
        {escritura(interna(true), false), "", "0"},
        {escritura(interna(false)), "una parte de la transacción falló", "0"},
        {escritura(interna(true)), "", "2"},
        {escritura([] { EXPECT_THROW(Ejecutar("INSERT INTO NoExiste (a) VALUES (1)"), ErrorBD); }),
         "una parte de la transacción falló", "0"}};
    if (servidor) {
        casos.push_back(
            {escritura([] { EXPECT_THROW(Conexion.servidor().ejecutar("SELECT 1/0"), ErrorBD); }),
             "el servidor deshizo la transacción", "0"});
        casos.push_back({escritura([] {
                             Conexion.servidor().ejecutar(
                                 "ALTER TABLE clientes ADD CONSTRAINT diferido FOREIGN KEY "
                                 "(id_cliente) REFERENCES usuarios DEFERRABLE INITIALLY DEFERRED");
                             insertarCliente("al confirmar");
                         }),
                         "insert or update on table \"clientes\" violates", "0"});
    }
    for (const auto& [escribir, error, quedan] : casos) {
        Ejecutar("DELETE FROM Clientes");
        if (error.isEmpty())
            EXPECT_NO_THROW(escribir());
        else
            EXPECT_TRUE(ErrorDe(escribir).detalle.startsWith(error)) << error.toStdString();
        EXPECT_EQ(contar("Clientes"), quedan) << error.toStdString();
    }
    EXPECT_NO_THROW(insertarCliente("después"));
    // A new database is never made over an old one.
    CerrarConexion();
    if (servidor)
        EXPECT_THROW(CrearBaseDatosServidor(ConfigInicio.Servidor, "otro", "x"), ErrorBD);
    else
        EXPECT_THROW(crearBaseDatos(), ErrorBD);
    EXPECT_EQ(QDir(carpetas.programa).entryList(QDir::Files),
              servidor ? QStringList() : QStringList{"vialtor.mdb"});
    EXPECT_EQ(Tabla("SELECT Clientes.Nombre FROM Clientes, Usuarios"), "después");
}

// The file's handle is opened once and kept across closes (its temporary tables, its last key);
// a transaction reserves writing and holds a close until it ends, a helper inside that closes and
// opens again leaving it open; a handle let go after an error takes its transaction with it; a
// child process after fork() leaves the parent's handle untouched and opens its own.
TEST_P(PruebaBdArchivo, ElManejadorSeConservaYUnaTransaccionReservaLaEscritura) {
    OtraEstacion otra(Conexion.rutaBaseDatos());
    sqlite3* antes = Conexion.manejador();
    Ejecutar("CREATE TEMP TABLE marca (x INTEGER)");
    {
        Transaccion t;
        EXPECT_EQ(otra.ejecutar("BEGIN IMMEDIATE"), SQLITE_BUSY);
        CerrarConexion();
        EXPECT_EQ(Conexion.State(), 1);
        insertarCliente("dentro");
        t.confirmar();
    }
    EXPECT_EQ(Conexion.State(), 0);
    EXPECT_EQ(otra.ejecutar("BEGIN IMMEDIATE; ROLLBACK"), SQLITE_OK);
    EXPECT_EQ(Crudas("SELECT Nombre FROM Clientes", otra.db), QStringList{"dentro"});
    int64_t ultimo = 0;
    {
        Transaccion t;
        ultimo = insertarCliente("A");
        CerrarConexion();
        AbrirConexion();
        t.confirmar();
    }
    EXPECT_EQ(Conexion.State(), 1);
    AbrirConexion();
    EXPECT_EQ(Conexion.manejador(), antes);
    EXPECT_EQ(Recordset::UltimoId(), ultimo);
    EXPECT_EQ(contar("marca"), "0");

    EXPECT_EQ(sqlite3_exec(Conexion.manejador(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr),
              SQLITE_OK);
    Conexion.descartar();
    EXPECT_EQ(Conexion.State(), 0);
    EXPECT_EQ(otra.ejecutar("BEGIN IMMEDIATE; ROLLBACK"), SQLITE_OK);
    EXPECT_NO_THROW(CerrarConexion());
    EXPECT_THROW(Conexion.manejador(), ErrorBD);

    AbrirConexion();
    antes = Conexion.manejador();
    Conexion.olvidarHeredada();
    AbrirConexion();
    EXPECT_NE(Conexion.manejador(), antes);
    EXPECT_EQ(Crudas("SELECT Nombre FROM Clientes ORDER BY 1", antes),
              QStringList({"A", "dentro"}));
    sqlite3_close_v2(antes);
    Ejecutar("DELETE FROM Clientes");
    EXPECT_GT(insertarCliente("B"), ultimo); // keys are never reused
}
