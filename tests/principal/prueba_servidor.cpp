#include "tests/principal/apoyo_bd.h"

class PruebaBdServidor : public PruebaBd {};
INSTANTIATE_TEST_SUITE_P(, PruebaBdServidor, ::testing::Values(Motor::Servidor));

// A database that reads a backslash as an escape: each connection reads it as a character again,
// so a text ending in one cannot end the next one early and store what it selects; a connection
// turned back to escapes sends nothing more.
TEST_P(PruebaBdServidor, BarraInvertidaSiempreEsUnCaracter) {
    Conexion.servidor().ejecutar("DO $$BEGIN EXECUTE format('ALTER DATABASE %I SET "
                                 "standard_conforming_strings = off', current_database()); END$$");
    Conexion.descartar();
    const QStringList antes = volcado();
    const QString id = "\\", notas = ", (SELECT pwd FROM Usuarios WHERE id_usuario = 1)) --";
    Ejecutar("INSERT INTO Clientes (Nombre,Identificacion,Notas) VALUES ('X'," + Texto(id) + "," +
             Texto(notas) + ")");
    EXPECT_EQ(Crudas("SELECT Nombre, Identificacion, Notas FROM Clientes"),
              QStringList{"X|" + id + "|" + notas});
    const QRegularExpression otraTabla("^(?!Clientes\\|)");
    EXPECT_EQ(volcado().filter(otraTabla), antes.filter(otraTabla));

    AbrirConexion();
    Conexion.servidor().ejecutar("SET standard_conforming_strings = off");
    EXPECT_TRUE(ErrorDe([] { insertarCliente("no"); }).mensaje.contains("barra invertida"));
    Conexion.descartar();
    EXPECT_EQ(contar("Clientes"), "1");
}

// A transaction reserves writing as on the file: another station waits, and gives up in time.
TEST_P(PruebaBdServidor, TransaccionReservaLaEscritura) {
    ServidorPg otra(ConfigInicio.Servidor, 200);
    const QString bloqueo = QString("pg_advisory_xact_lock(%1)").arg(ClaveBloqueoEscritura);
    {
        Transaccion t;
        EXPECT_EQ(ErrorDe([&] { otra.ejecutar("BEGIN; SELECT " + bloqueo); }).causa,
                  CausaBD::Ocupada);
        otra.ejecutar("ROLLBACK");
    }
    otra.ejecutar("BEGIN; SELECT " + bloqueo);
    Conexion.fijarEsperaMaxima(200);
    EXPECT_EQ(ErrorDe([] { Transaccion t; }).causa, CausaBD::Ocupada);
    otra.ejecutar("COMMIT");
    EXPECT_NO_THROW(insertarCliente("después"));
}

// A connection lost in the middle of a change leaves nothing and says so naming the server; a
// server stopped says it does not answer; after a restart, or a backend another session ended,
// the next action connects again instead of failing once. Another server named meanwhile (the
// station's settings changed) gets the next statement, never the old one through its connection.
TEST_P(PruebaBdServidor, ConexionPerdidaNoDejaNadaYTrasUnReinicioSeReconecta) {
    insertarCliente("antes");
    const QString pid = Crudas("SELECT pg_backend_pid()").value(0);
    EXPECT_FALSE(EjecutarProtegido([&] {
        Transaccion t;
        insertarCliente("a medias");
        ServidorPg(ConfigInicio.Servidor, 1000)
            .ejecutar("SELECT pg_terminate_backend(" + pid + ", 5000)");
        insertarCliente("perdido");
        t.confirmar();
    }));
    ServidorPrueba::instancia().detener();
    EXPECT_FALSE(EjecutarProtegido([] { insertarCliente("sin servidor"); }));
    ServidorPrueba::instancia().iniciar();
    const QString servidor = DescripcionServidor(ConfigInicio.Servidor).mid(9);
    const QString sitio = servidor.section('/', 0, -2), base = servidor.section('/', -1);
    // The stopped server's sentence is checked with every other cause of connection.
    ASSERT_EQ(dialogos.cajas.size(), 2);
    EXPECT_EQ(dialogos.cajas[0].texto,
              "No se pudo completar la operación.\n\nSe perdió la conexión con el servidor de "
              "base de datos " +
                  sitio + " (base de datos " + base +
                  "); no se guardó nada de la operación. Vuelva a intentarlo.");

    insertarCliente("uno");
    ServidorPrueba::instancia().detener();
    ServidorPrueba::instancia().iniciar();
    EXPECT_TRUE(EjecutarProtegido([] { insertarCliente("tras reiniciar"); }));
    ServidorPg(ConfigInicio.Servidor, 1000)
        .ejecutar("SELECT pg_terminate_backend(" + Crudas("SELECT pg_backend_pid()").value(0) +
                  ", 5000)");
    EXPECT_TRUE(EjecutarProtegido([] { insertarCliente("tras terminar"); }));
    CerrarConexion();
    const QString primero = ConfigInicio.Servidor;
    ConfigInicio.Servidor = primero + " port=1";
    EXPECT_EQ(ErrorDe([] { insertarCliente("otro servidor"); }).causa, CausaBD::SinServidor);
    ConfigInicio.Servidor = primero;
    EXPECT_EQ(Columna("SELECT * FROM Clientes ORDER BY id_cliente", "Nombre"),
              QStringList({"antes", "uno", "tras reiniciar", "tras terminar"}));
    EXPECT_EQ(dialogos.cajas.size(), 2);
}

// Each reason a server cannot be used has its own sentence naming the server and the database,
// never the password; the station's file path is not mentioned.
TEST_P(PruebaBdServidor, CadaCausaDeConexionTieneSuFraseSinLaClave) {
    const QString buena = ConfigInicio.Servidor;
    Conexion.descartar();
    const QString sitio = DescripcionServidor(buena).mid(9).section('/', 0, -2);
    const QString base = buena.section("dbname=", 1).section(' ', 0, 0);
    const QString host = sitio.section(':', 0, -2),
                  conClave = QString(" user=") + ServidorPrueba::kUsuarioConClave + " password=";
    // What the connection adds to the good one; the cause; the sentence, where %1 is the
    // server, %2 its database, %3 the user with a password and %4 the server's host.
    const std::tuple<QString, CausaBD, const char*> casos[] = {
        {" port=1", CausaBD::SinServidor,
         "No hay respuesta del servidor de base de datos %4:1 (base de datos %2). Compruebe que el "
         "servidor esté encendido y que la dirección y el puerto sean correctos."},
        {" dbname=noexiste", CausaBD::SinBaseServidor,
         "El servidor de base de datos %1 no tiene la base de datos noexiste. Revise el nombre de "
         "la base de datos en vialtor_servidor.cfg."},
        {" user=nadie", CausaBD::UsuarioRechazado,
         "El servidor de base de datos %1 no admite al usuario nadie en la base de datos %2. "
         "Revise el usuario en vialtor_servidor.cfg."},
        {conClave + "Mala9", CausaBD::ClaveRechazada,
         "El servidor de base de datos %1 no aceptó la contraseña del usuario %3 para la base de "
         "datos %2. Revise la contraseña en vialtor_servidor.cfg."},
        {conClave + ServidorPrueba::kClave + " dbname=postgres", CausaBD::SinTablas,
         "La base de datos postgres del servidor %1 no tiene las tablas del programa. Consulte al "
         "soporte técnico."}};
    for (const auto& [resto, causa, frase] : casos) {
        ConfigInicio.Servidor = buena + resto;
        dialogos.cajas.clear();
        const ErrorBD e = ErrorDe([] { AbrirConexion(); });
        EXPECT_EQ(e.causa, causa) << e.detalle.toStdString();
        EXPECT_FALSE(EjecutarProtegido([] { AbrirConexion(); }));
        EXPECT_EQ(dialogos.textos(),
                  QStringList{"No se pudo completar la operación.\n\n" +
                              QString::fromUtf8(frase)
                                  .replace("%1", sitio)
                                  .replace("%2", base)
                                  .replace("%3", ServidorPrueba::kUsuarioConClave)
                                  .replace("%4", host)});
        EXPECT_EQ(Conexion.State(), 0);
    }
    const QStringList m = mensajes();
    const QString clave = ServidorPrueba::kClave;
    EXPECT_TRUE(m.filter(QRegularExpression("Mala9|vialtor\\.mdb|" + clave)).isEmpty());
    const QString suceso =
        "Error de base de datos: No se puede conectar con el servidor - servidor ";
    EXPECT_EQ(m.filter(suceso).size(), 5);
}

// A station's file moved to the server: every row of every table reads the same as on the file,
// the keys continue after the file's, and a database that holds the tables is refused.
TEST_P(PruebaBdServidor, CopiaDesdeElArchivoIgualFilaPorFila) {
    const QString ocupada = ConfigInicio.Servidor;
    Conexion.descartar();
    ConfigInicio.Servidor.clear();
    servidor = false;
    crearBaseDatos();
    insertarSalida("ABC123", QDateTime(QDate(2026, 12, 6), QTime(13, 5, 9)), 1);
    for (const char* nombre : {"Peña 'Ñandú' \\ 漢字", "", "borrado"})
        insertarCliente(QString::fromUtf8(nombre));
    Ejecutar("DELETE FROM Clientes WHERE Nombre = 'borrado'");
    Ejecutar("INSERT INTO FechaPago (id_cliente,FechaInicio,FechaFin,CantidadTotal,Pagado) VALUES "
             "(1,#2026/11/01#,#2026/11/30#,90000.5,True)");
    Ejecutar("INSERT INTO Exentos (PlacaExento,ActivoExento) VALUES (Null,False)");
    Ejecutar("UPDATE Salidas SET TicketPerdido = True");
    Ejecutar("INSERT INTO ReglasTarifas (id_tarifa,MinutosGracia,ValorTicketPerdido) VALUES "
             "(1,15,30000)");
    Ejecutar("INSERT INTO FranjasTarifas (id_tarifa,NombreFranja,MinutoInicio,MinutoFin,"
             "DiasSemana,TarifaFranja) VALUES (1,'Diurno',360,1200,31,2000)");
    Ejecutar("INSERT INTO ItemsSalidas (id_salida,Orden,Concepto,Valor) VALUES (1,1,'Gracia',0)");
    const QString archivo = Conexion.rutaBaseDatos();
    auto filas = [] {
        QStringList todas;
        for (const QString& t : TablasEsquema())
            todas << Tabla(QString("SELECT * FROM %1 ORDER BY %2").arg(t, ClaveDeTabla(t)));
        return todas;
    };
    const QStringList enArchivo = filas();
    CerrarConexion();

    EXPECT_THROW(CopiarAlServidor(archivo, ocupada), ErrorBD);
    ConfigInicio.Servidor = ServidorPrueba::instancia().baseVacia();
    int64_t total = 0;
    for (const FilasCopiadas& f : CopiarAlServidor(archivo, ConfigInicio.Servidor)) {
        EXPECT_EQ(f.archivo, f.servidor) << f.tabla.toStdString();
        total += f.servidor;
    }
    EXPECT_EQ(total, 11);
    EXPECT_EQ(Crudas("SELECT TicketPerdido FROM Salidas"), QStringList{"-1"});
    EXPECT_EQ(filas(), enArchivo);
    EXPECT_EQ(insertarCliente("nuevo"), 4);
}
