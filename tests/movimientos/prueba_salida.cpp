#include "conexion.h"
#include "dobles.h"
#include "frmGestionEntradasSalidas.h"
#include "funcionesbd.h"
#include "parqueadero.h"
#include "recordset.h"
#include "registros.h"
#include "sql.h"
#include "vehiculos.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <sqlite3.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

const QString kCrlf = QStringLiteral("\r\n");
const QString kNulo = QStringLiteral("(Null)");
const QString kEntrada = QStringLiteral("06/12/2026 08:30:00 am");
const QString kSalida = QStringLiteral("06/12/2026 10:00:00 am");
const QString kCliente = QStringLiteral("CLIENTE: ANA GOMEZ RUIZ");

using Fila = QMap<QString, QString>;

void ejecutar(const QString& sql) {
    AbrirConexion();
    Recordset rs;
    rs.Open(sql);
    CerrarConexion();
}

// Every row of a query, Null kept apart from an empty text.
QVector<Fila> consultar(const QString& sql) {
    AbrirConexion();
    Recordset rs;
    rs.Open(sql);
    QVector<Fila> filas;
    for (; !rs.EOF(); rs.MoveNext()) {
        Fila f;
        for (const QString& n : rs.nombresCampos()) {
            const Valor& v = rs.Fields(n);
            f[n] = v.esNulo() ? kNulo : v.aTexto();
        }
        filas << f;
    }
    CerrarConexion();
    return filas;
}

QVector<Fila> salidas() {
    return consultar(QStringLiteral("SELECT * FROM Salidas ORDER BY id_salida"));
}
QVector<Fila> entradas() {
    return consultar(QStringLiteral("SELECT * FROM Entradas ORDER BY id_entrada"));
}

Fila salidaDe(const QString& placa) {
    const auto filas =
        consultar(QStringLiteral("SELECT * FROM Salidas WHERE Placa = ") + Texto(placa));
    EXPECT_EQ(filas.size(), 1) << placa.toStdString();
    return filas.value(0);
}

int64_t entrada(const QString& placa, const QString& fecha = kEntrada, int64_t idTarifa = 1,
                int64_t tarifa = 1000, int64_t tiempo = 60,
                const QString& descr = QStringLiteral("CARRO")) {
    AbrirConexion();
    Recordset rs;
    rs.Open(QStringLiteral("INSERT INTO Entradas (FechaEntrada,Placa,DescrVeh,Observaciones,"
                           "id_tarifa,Tarifa,Tiempo,DescrTarifa) VALUES (") +
            QStringList{Texto(fecha), Texto(placa), Texto(QString()), Texto(QString()),
                        Texto(QString::number(idTarifa)), Texto(QString::number(tarifa)),
                        Texto(QString::number(tiempo)), Texto(descr)}
                .join(QLatin1Char(',')) +
            QLatin1Char(')'));
    const int64_t id = Recordset::UltimoId();
    CerrarConexion();
    return id;
}

void cliente(const QString& placa, const QString& fechaFin, bool pagado) {
    ejecutar(QStringLiteral("INSERT INTO Clientes (Nombre,Ape1,Ape2,Placa,Activo) VALUES "
                            "('ANA','GOMEZ','RUIZ',") +
             Texto(placa) + QStringLiteral(",True)"));
    ejecutar(QStringLiteral("INSERT INTO FechaPago (id_cliente,FechaInicio,FechaFin,CantidadTotal,"
                            "Pagado) SELECT MAX(id_cliente),'01/11/2026',") +
             Texto(fechaFin) + QStringLiteral(",90000,") +
             (pagado ? QStringLiteral("True") : QStringLiteral("False")) +
             QStringLiteral(" FROM Clientes"));
}

void ajustar(const QString& asignaciones) {
    ejecutar(QStringLiteral("UPDATE DatosParqueadero SET ") + asignaciones);
    CargarDatosParqueadero();
}

// The next exit row gets the key `siguiente`.
void fijarSiguienteSalida(int64_t siguiente) {
    AbrirConexion();
    EjecutarDirecto(Conexion.manejador(),
                    QStringLiteral("DELETE FROM sqlite_sequence WHERE name='Salidas';"
                                   "INSERT INTO sqlite_sequence (name,seq) VALUES ('Salidas',%1)")
                        .arg(siguiente - 1)
                        .toUtf8()
                        .constData());
    CerrarConexion();
}

SalidaNueva nuevaSalida(int64_t idEntrada, const QString& placa) {
    SalidaNueva s;
    s.idEntrada = idEntrada;
    s.placaEnCaja = placa;
    s.placa = placa;
    s.fechaEntrada = kEntrada;
    s.fechaSalida = kSalida;
    s.idTarifa = 1;
    s.tarifa = 1000;
    s.tiempo = 60;
    s.descrTarifa = QStringLiteral("CARRO");
    s.cobrado = 2000;
    return s;
}

// Runs a callback when a message box with the given title is about to be answered.
class DialogosConGancho : public DialogosGuion {
public:
    QMessageBox::StandardButton mensaje(const QString& texto, const QString& titulo,
                                        QMessageBox::Icon icono,
                                        QMessageBox::StandardButtons botones,
                                        QMessageBox::StandardButton predeterminado) override {
        if (titulo == tituloGancho && gancho)
            gancho();
        return DialogosGuion::mensaje(texto, titulo, icono, botones, predeterminado);
    }
    QString tituloGancho;
    std::function<void()> gancho;
};

class PruebaSalida : public PruebaVialtor {
protected:
    void SetUp() override {
        PruebaVialtor::SetUp();
        crearBaseDatos();
        const char* const tarifas[] = {"1000,60,'CARRO',True,True", "500,30,'MOTO',True,True",
                                       "3000,60,'BUS',True,False", "0,0,'GRATIS',False,True"};
        for (const char* t : tarifas)
            ejecutar(QStringLiteral("INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,"
                                    "MostrarEnEntradas,MostrarEnSalidas) VALUES (") +
                     QLatin1String(t) + QLatin1Char(')'));
        CargarDatosParqueadero();
    }

    void TearDown() override {
        ventana.reset();
        PruebaVialtor::TearDown();
    }

    void abrir() {
        ventana = std::make_unique<frmGestionEntradasSalidas>();
        ventana->Timer1->stop();
        ventana->show();
        ventana->Timer1Timer();
    }

    void hora(const QDateTime& momento) {
        reloj.momento = momento;
        if (ventana)
            ventana->Timer1Timer();
    }

    void salir(const QString& placa) {
        if (!ventana)
            abrir();
        ventana->txtPlaca->setText(placa);
        QTest::mouseClick(ventana->btnSalida, Qt::LeftButton);
    }

    QString bitacora() const { return lineasSucesos().join(kCrlf) + kCrlf; }
    bool registrado(const QString& mensaje) const {
        return bitacora().contains(QLatin1Char(';') + mensaje + kCrlf);
    }

    const CajaMostrada& ultimaCaja() const { return dialogos.cajas.last(); }

    std::unique_ptr<frmGestionEntradasSalidas> ventana;
};

struct CasoCobro {
    const char* fechaEntrada;
    QTime salida;
    int64_t tarifa;
    int64_t tiempo;
    bool completo;
    bool primeraHora;
    int64_t cobrado;
    const char* estancia;
};

TEST_F(PruebaSalida, CobroSegunOpcionesDeLaVentana) {
    ajustar(QStringLiteral("ModificarPlacaSalida=False, ModificarTarifaSalida=False, "
                           "ModificarValorSalida=False"));
    const CasoCobro casos[] = {
        {"06/12/2026 08:30:00 am", {10, 0}, 1000, 60, false, false, 1500, "1 Hora 30 Minutos."},
        {"06/12/2026 08:30:00 am", {10, 0}, 1000, 60, true, false, 2000, "1 Hora 30 Minutos."},
        {"06/12/2026 09:15:00 am", {10, 0}, 1000, 60, false, true, 1000, "45 Minutos."},
        {"06/12/2026 09:15:00 am", {10, 0}, 1000, 60, true, true, 1000, "45 Minutos."},
        {"06/12/2026 09:15:00 am", {10, 0}, 1000, 60, false, false, 750, "45 Minutos."},
        {"06/12/2026 10:00:05 am", {10, 0, 50}, 1000, 60, false, false, 0, "0 Minutos."},
        {"06/12/2026 08:00:00 am", {10, 0}, 1000, 60, true, false, 2000, "2 Horas "},
        {"06/12/2026 07:59:00 am", {10, 0}, 1000, 60, true, false, 3000, "2 Horas 1 Minuto."},
        {"06/12/2026 09:45:00 am", {10, 0}, 50, 60, false, false, 12, "15 Minutos."},
        {"06/12/2026 09:33:00 am", {10, 0}, 50, 60, false, false, 22, "27 Minutos."},
        {"05/12/2026 07:55:00 am",
         {10, 0},
         1000,
         60,
         true,
         false,
         27000,
         "1 Día 2 Horas 5 Minutos."},
        // An entry clock ahead of the exit clock: the stay counts as 0 minutes.
        {"06/12/2026 10:30:00 am", {10, 0}, 1000, 60, false, false, 0, "0 Minutos."},
        {"06/12/2026 10:30:00 am", {10, 0}, 1000, 60, true, false, 1000, "0 Minutos."},
        // A rate without a time unit charges nothing, whatever the options.
        {"06/12/2026 09:15:00 am", {10, 0}, 1000, 0, true, true, 0, "45 Minutos."},
        {"06/12/2026 09:15:00 am", {10, 0}, 1000, -60, false, true, 0, "45 Minutos."},
    };
    abrir();
    int n = 0;
    for (const CasoCobro& c : casos) {
        const QString placa = QStringLiteral("COB%1").arg(++n);
        SCOPED_TRACE(placa.toStdString());
        entrada(placa, QLatin1String(c.fechaEntrada), 1, c.tarifa, c.tiempo);
        hora(QDateTime(QDate(2026, 12, 6), c.salida));
        ventana->chkCobroCompleto->setChecked(c.completo);
        ventana->chkCobroPrimeraHora->setChecked(c.primeraHora);
        dialogos.cajas.clear();
        salir(placa);
        ASSERT_EQ(dialogos.cajas.size(), 1);
        EXPECT_EQ(ultimaCaja().titulo, QStringLiteral("CONFIRMAR SALIDA"));
        EXPECT_TRUE(ultimaCaja().texto.contains(QStringLiteral("<------> TIEMPO TOTAL: ") +
                                                QString::fromUtf8(c.estancia) +
                                                QStringLiteral(" <------>")));
        EXPECT_TRUE(ultimaCaja().texto.contains(QStringLiteral("Valor a cobrar: $") +
                                                QString::number(c.cobrado) + kCrlf));
        EXPECT_EQ(salidaDe(placa).value(QStringLiteral("Cobrado")), QString::number(c.cobrado));
        EXPECT_EQ(DatosTicket.Cobrado, c.cobrado);
    }
}

TEST_F(PruebaSalida, ConsecutivoDelDiaEmpiezaEnUnoCadaDia) {
    ajustar(QStringLiteral("ModificarPlacaSalida=False, ModificarTarifaSalida=False"));
    // An exit of another day does not count.
    ejecutar(QStringLiteral("INSERT INTO Salidas (FechaEntrada,FechaSalida,Placa,Cobrado,"
                            "ConsecutivoDia) VALUES ('05/12/2026 08:00:00 am',"
                            "'05/12/2026 11:00:00 pm','VIEJA',0,9)"));
    for (const char* placa : {"AAA111", "BBB222", "CCC333"})
        entrada(QLatin1String(placa));
    abrir();
    salir(QStringLiteral("AAA111"));
    EXPECT_EQ(DatosTicket.ConsecutivoDia, 1);
    hora(QDateTime(QDate(2026, 12, 6), QTime(11, 0)));
    salir(QStringLiteral("BBB222"));
    EXPECT_EQ(DatosTicket.ConsecutivoDia, 2);
    ASSERT_FALSE(impresora.trabajos.isEmpty());
    EXPECT_TRUE(impresora.textos(impresora.trabajos.size() - 1)
                    .contains(QStringLiteral("Consecutivo Nro. 2")));
    hora(QDateTime(QDate(2026, 12, 7), QTime(0, 5)));
    salir(QStringLiteral("CCC333"));
    EXPECT_EQ(salidaDe(QStringLiteral("AAA111")).value(QStringLiteral("ConsecutivoDia")),
              QStringLiteral("1"));
    EXPECT_EQ(salidaDe(QStringLiteral("BBB222")).value(QStringLiteral("ConsecutivoDia")),
              QStringLiteral("2"));
    EXPECT_EQ(salidaDe(QStringLiteral("CCC333")).value(QStringLiteral("ConsecutivoDia")),
              QStringLiteral("1"));
}

TEST_F(PruebaSalida, SalidaConfirmadaTrasMedianocheConservaElDiaMostrado) {
    ajustar(QStringLiteral("ModificarPlacaSalida=False, ModificarTarifaSalida=False"));
    ejecutar(QStringLiteral("INSERT INTO Salidas (FechaSalida,Placa,Cobrado,ConsecutivoDia) "
                            "VALUES ('06/12/2026 09:00:00 pm','DIA6',0,4)"));
    ejecutar(QStringLiteral("INSERT INTO Salidas (FechaSalida,Placa,Cobrado,ConsecutivoDia) "
                            "VALUES ('07/12/2026 12:00:10 am','DIA7',0,7)"));
    entrada(QStringLiteral("NOCHE1"));
    hora(QDateTime(QDate(2026, 12, 6), QTime(23, 59, 50)));
    DialogosConGancho gancho;
    gancho.tituloGancho = QStringLiteral("CONFIRMAR SALIDA");
    // The attendant answers after midnight; the clock label is not refreshed meanwhile.
    gancho.gancho = [this] { reloj.momento = QDateTime(QDate(2026, 12, 7), QTime(0, 0, 40)); };
    Servicios().dialogos = &gancho;
    salir(QStringLiteral("NOCHE1"));
    const Fila f = salidaDe(QStringLiteral("NOCHE1"));
    EXPECT_EQ(f.value(QStringLiteral("FechaSalida")), QStringLiteral("06/12/2026 11:59:50 pm"));
    EXPECT_EQ(f.value(QStringLiteral("ConsecutivoDia")), QStringLiteral("5"));
}

TEST_F(PruebaSalida, IvaSoloCuandoElAjusteNoEsCero) {
    const std::pair<const char*, QString> casos[] = {{"19", QStringLiteral("19")}, {"0", kNulo}};
    for (const auto& [iva, esperado] : casos) {
        SCOPED_TRACE(iva);
        ajustar(QStringLiteral("IVA=") + QLatin1String(iva));
        const QString placa = QStringLiteral("IVA") + QLatin1String(iva);
        entrada(placa);
        salir(placa);
        EXPECT_EQ(salidaDe(placa).value(QStringLiteral("IVA")), esperado);
        EXPECT_EQ(DatosTicket.IVA, QString::fromLatin1(iva).toInt());
    }
}

struct CasoDocumento {
    const char* prefijo;
    int digitos;
    int64_t idSalida;
    const char* documento; // nullptr: no document number
};

TEST_F(PruebaSalida, NumeroDeTicketYDocumento) {
    // Ascending keys: a key below one already used is never given again.
    const CasoDocumento casos[] = {{"", 3, 7, "007"},
                                   {"", 0, 40, nullptr},
                                   {"FV-", 6, 123, "FV-000123"},
                                   {"FV-", 4, 12345, "FV-12345"}};
    abrir();
    for (const CasoDocumento& c : casos) {
        const QString placa = QStringLiteral("DOC%1").arg(c.idSalida);
        SCOPED_TRACE(placa.toStdString());
        ajustar(QStringLiteral("PrefijoFactura=") + Texto(QLatin1String(c.prefijo)) +
                QStringLiteral(", DigitosFactura=") + QString::number(c.digitos));
        fijarSiguienteSalida(c.idSalida);
        // The entry key differs from the exit key, so the two cannot be confused.
        entrada(placa);
        impresora.trabajos.clear();
        salir(placa);
        const Fila f = salidaDe(placa);
        const QString id = QString::number(c.idSalida);
        EXPECT_EQ(f.value(QStringLiteral("id_salida")), id);
        EXPECT_EQ(f.value(QStringLiteral("NroTicket")), id);
        EXPECT_EQ(DatosTicket.Numero, c.idSalida);
        const QString documento = c.documento ? QLatin1String(c.documento) : kNulo;
        EXPECT_EQ(f.value(QStringLiteral("NDocumento")), documento);
        ASSERT_EQ(impresora.trabajos.size(), 1);
        EXPECT_TRUE(impresora.textos(0).contains(QStringLiteral("Factura de venta # ") +
                                                 (c.documento ? documento : id)));
        EXPECT_TRUE(DatosTicket.NDocumento.isEmpty());
    }
}

TEST_F(PruebaSalida, MontoMenorAceptadoYMayorRechazado) {
    ajustar(QStringLiteral("ModificarPlacaSalida=False, ModificarTarifaSalida=False"));
    entrada(QStringLiteral("BAJA01"));
    entrada(QStringLiteral("ALTA01"));
    dialogos.entradas = {QStringLiteral("0")};
    salir(QStringLiteral("BAJA01"));
    EXPECT_EQ(ultimaCaja().titulo, QStringLiteral("TARIFA DEFINIDA POR EL USUARIO"));
    EXPECT_EQ(ultimaCaja().texto, QStringLiteral("Modifique la tarifa manualmente si lo desea"));
    EXPECT_EQ(salidaDe(QStringLiteral("BAJA01")).value(QStringLiteral("Cobrado")),
              QStringLiteral("0"));

    const auto antes = salidas();
    dialogos.entradas = {QStringLiteral("2001")};
    salir(QStringLiteral("ALTA01"));
    EXPECT_EQ(ultimaCaja().texto,
              QStringLiteral("No se permite cobrar por encima del valor tarificado"));
    EXPECT_TRUE(
        registrado(QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas: Mensaje: "
                                  "No se permite cobrar por encima del valor tarificado; "
                                  "Valor inicial: -2000- Valor Modificado: -2001-")));
    EXPECT_EQ(salidas(), antes);
    EXPECT_EQ(entradas().size(), 1);
}

TEST_F(PruebaSalida, MontoNoNumericoOCanceladoNoEscribe) {
    ajustar(QStringLiteral("ModificarPlacaSalida=False, ModificarTarifaSalida=False"));
    entrada(QStringLiteral("MAL001"));
    abrir();
    const auto antesS = salidas();
    const auto antesE = entradas();
    for (const char* monto : {"1,5", "-3", "abc", "1.500", "+5"}) {
        SCOPED_TRACE(monto);
        dialogos.entradas = {QLatin1String(monto)};
        salir(QStringLiteral("MAL001"));
        EXPECT_EQ(ultimaCaja().texto, QStringLiteral("Espeficique valores correctos a cobrar"));
        EXPECT_TRUE(registrado(QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas: "
                                              "Mensaje: Espeficique valores correctos a cobrar, "
                                              "Valor a Cobrar indicado: -") +
                               QLatin1String(monto) + QLatin1Char('-')));
    }
    dialogos.cajas.clear();
    dialogos.entradas = {QString()};
    salir(QStringLiteral("MAL001"));
    ASSERT_FALSE(dialogos.cajas.isEmpty());
    EXPECT_TRUE(ultimaCaja().esEntrada);
    EXPECT_EQ(salidas(), antesS);
    EXPECT_EQ(entradas(), antesE);
}

TEST_F(PruebaSalida, ExentoSaleSinCobroNiCajaDeMonto) {
    entrada(QStringLiteral("EXE001"), kEntrada, 0, 0, 0, QStringLiteral("EXENTO"));
    dialogos.respuestas = {QMessageBox::No};
    salir(QStringLiteral("EXE001"));
    EXPECT_TRUE(salidas().isEmpty());
    dialogos.cajas.clear();
    salir(QStringLiteral("EXE001"));
    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_EQ(ultimaCaja().titulo, QStringLiteral("CONFIRMAR SALIDA DE EXENTO DE COBRO"));
    EXPECT_EQ(ultimaCaja().texto, QStringLiteral("EXENTO DE COBRO") + kCrlf + kCrlf +
                                      QStringLiteral("¿Proceder con la salida?") + kCrlf + kCrlf);
    const Fila f = salidaDe(QStringLiteral("EXE001"));
    EXPECT_EQ(f.value(QStringLiteral("Cobrado")), QStringLiteral("0"));
    EXPECT_EQ(f.value(QStringLiteral("DescrTarifa")), QStringLiteral("EXENTO"));
    EXPECT_TRUE(registrado(QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas: Se "
                                          "realiza salida de Exento, Placa: EXE001")));
}

TEST_F(PruebaSalida, ClienteConPeriodoVigenteConfirmaYSaleGratis) {
    cliente(QStringLiteral("CLI001"), QStringLiteral("31/12/2026"), true);
    entrada(QStringLiteral("CLI001"), kEntrada, 0, 0, 0, QStringLiteral("CLIENTE"));
    dialogos.respuestas = {QMessageBox::No};
    salir(QStringLiteral("CLI001"));
    EXPECT_TRUE(salidas().isEmpty());
    dialogos.cajas.clear();
    salir(QStringLiteral("CLI001"));
    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_EQ(ultimaCaja().titulo, QStringLiteral("CONFIRMAR SALIDA DE CLIENTE"));
    EXPECT_EQ(ultimaCaja().texto,
              kCliente + kCrlf +
                  QStringLiteral("Puede ingresar hasta el día: JUEVES, 31 DE DICIEMBRE DE 2026") +
                  kCrlf + kCrlf + QStringLiteral("¿Proceder con la salida?") + kCrlf + kCrlf);
    const Fila f = salidaDe(QStringLiteral("CLI001"));
    EXPECT_EQ(f.value(QStringLiteral("Cobrado")), QStringLiteral("0"));
    EXPECT_EQ(f.value(QStringLiteral("DescrTarifa")), QStringLiteral("CLIENTE"));
    EXPECT_TRUE(registrado(QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas: Se "
                                          "realiza salida de Cliente, Placa: CLI001")));
}

TEST_F(PruebaSalida, ClienteVencidoAyerHaceSuUltimaSalidaSinAviso) {
    cliente(QStringLiteral("CLI002"), QStringLiteral("05/12/2026"), true);
    entrada(QStringLiteral("CLI002"), kEntrada, 0, 0, 0, QStringLiteral("CLIENTE"));
    salir(QStringLiteral("CLI002"));
    ASSERT_EQ(dialogos.cajas.size(), 2);
    EXPECT_EQ(dialogos.cajas[0].titulo, QStringLiteral("CONFIRMAR SALIDA DE CLIENTE"));
    EXPECT_EQ(dialogos.cajas[0].texto,
              QStringLiteral("Es su última Salida como Cliente. En adelante, se le cobrará por "
                             "tarificación.") +
                  kCrlf + kCrlf + QStringLiteral("¿Proceder con la salida?") + kCrlf + kCrlf);
    EXPECT_EQ(dialogos.cajas[1].titulo, QStringLiteral("TARIFA DEFINIDA POR EL USUARIO"));
    EXPECT_EQ(salidaDe(QStringLiteral("CLI002")).value(QStringLiteral("Cobrado")),
              QStringLiteral("0"));
    EXPECT_TRUE(registrado(QStringLiteral("Mensaje: Última salida como Cliente. En adelante, se le "
                                          "cobrará por tarificación; botón Registrar Salida, desde "
                                          "Entradas/Salidas")));
}

TEST_F(PruebaSalida, VehiculoPorTarifaQueResultaClienteSaleGratisSinPregunta) {
    cliente(QStringLiteral("TAR001"), QStringLiteral("31/12/2026"), true);
    entrada(QStringLiteral("TAR001"));
    salir(QStringLiteral("TAR001"));
    ASSERT_EQ(dialogos.cajas.size(), 2);
    EXPECT_EQ(dialogos.cajas[0].titulo, QStringLiteral("VERIFICAR/MODIFICAR PLACA"));
    EXPECT_EQ(dialogos.cajas[1].titulo, QStringLiteral("VERIFICAR/MODIFICAR TARIFA"));
    const Fila f = salidaDe(QStringLiteral("TAR001"));
    EXPECT_EQ(f.value(QStringLiteral("Cobrado")), QStringLiteral("0"));
    EXPECT_EQ(f.value(QStringLiteral("Tarifa")), QStringLiteral("0"));
    EXPECT_EQ(f.value(QStringLiteral("Tiempo")), QStringLiteral("0"));
    EXPECT_EQ(f.value(QStringLiteral("DescrTarifa")), QStringLiteral("CLIENTE"));
    EXPECT_EQ(f.value(QStringLiteral("id_tarifa")), QStringLiteral("1"));
}

struct CasoAviso {
    bool pagado;
    const char* fechaFin;
    const char* suceso; // nullptr: no alert
    const char* mensaje;
};

TEST_F(PruebaSalida, AvisosDeClienteAlSalir) {
    const QString n = kCrlf + kCliente;
    const CasoAviso casos[] = {
        {false, "08/12/2026",
         "Botón Registrar Salida, desde Entradas/Salidas: Queda/n 2 día/s para realizar el pago",
         "Queda/n 2 día/s para realizar el pago"},
        {false, "06/12/2026",
         "Botón Registrar Salida, desde Entradas/Salidas: Hoy vence la fecha de pago",
         "Hoy vence la fecha de pago"},
        {true, "09/12/2026",
         "Botón Registrar Salida, desde Entradas/Salidas - Mensaje: Le queda/n 3 día/s como "
         "Cliente",
         "Le queda/n 3 día/s como Cliente"},
        {true, "06/12/2026",
         "Botón Registrar Salida, desde Entradas/Salidas - Mensaje: Hoy es su último día permitido "
         "como Cliente",
         "Hoy es su último día permitido como Cliente"},
        {true, "10/12/2026", nullptr, nullptr},
    };
    const QString colas[] = {
        n + kCrlf +
            QStringLiteral("Debe realizar su pago antes del día: MARTES, 8 DE DICIEMBRE DE 2026"),
        n,
        n + kCrlf +
            QStringLiteral("Puede ingresar hasta el día: MIÉRCOLES, 9 DE DICIEMBRE DE 2026"),
        n, QString()};
    abrir();
    for (int i = 0; i < 5; ++i) {
        const CasoAviso& c = casos[i];
        const QString placa = QStringLiteral("AVI%1").arg(i);
        SCOPED_TRACE(placa.toStdString());
        cliente(placa, QLatin1String(c.fechaFin), c.pagado);
        entrada(placa, kEntrada, 0, 0, 0, QStringLiteral("CLIENTE"));
        dialogos.cajas.clear();
        salir(placa);
        EXPECT_FALSE(salidaDe(placa).isEmpty());
        if (!c.suceso) {
            EXPECT_EQ(dialogos.cajas.size(), 1);
            continue;
        }
        ASSERT_EQ(dialogos.cajas.size(), 2);
        EXPECT_EQ(ultimaCaja().titulo, QStringLiteral("Vialtor"));
        EXPECT_EQ(ultimaCaja().icono, QMessageBox::Information);
        const QString primera = QString::fromUtf8(c.mensaje);
        EXPECT_EQ(ultimaCaja().texto, primera + kCrlf + colas[i]);
        EXPECT_TRUE(registrado(QString::fromUtf8(c.suceso) + colas[i]));
    }
}

TEST_F(PruebaSalida, PlacaCorregidaGuardaLaNuevaYBorraLaEntradaOriginal) {
    entrada(QStringLiteral("ABC123"));
    entrada(QStringLiteral("OTRA01"));
    dialogos.entradas = {QStringLiteral("xyz789")};
    salir(QStringLiteral("ABC123"));
    EXPECT_EQ(dialogos.cajas[0].texto, QStringLiteral("Verifique/Modifique la Placa"));
    EXPECT_TRUE(dialogos.cajas[2].texto.contains(QStringLiteral("Placa: XYZ789") + kCrlf));
    EXPECT_FALSE(salidaDe(QStringLiteral("XYZ789")).isEmpty());
    const auto quedan = entradas();
    ASSERT_EQ(quedan.size(), 1);
    EXPECT_EQ(quedan[0].value(QStringLiteral("Placa")), QStringLiteral("OTRA01"));
}

TEST_F(PruebaSalida, PlacaCorregidaVaciaOLargaNoEscribe) {
    entrada(QStringLiteral("ABC123"));
    abrir();
    const auto antes = entradas();
    const std::pair<const char*, const char*> casos[] = {
        {"ABCDEFGHIJK", "La Placa excede el límite de 10 caracteres"}, {"", nullptr}};
    for (const auto& [placa, mensaje] : casos) {
        SCOPED_TRACE(placa);
        dialogos.cajas.clear();
        dialogos.entradas = {QLatin1String(placa)};
        ventana->txtDescrVeh->setFocus();
        salir(QStringLiteral("ABC123"));
        ASSERT_EQ(dialogos.cajas.size(), mensaje ? 2 : 1);
        if (mensaje) {
            EXPECT_EQ(ultimaCaja().texto, QString::fromUtf8(mensaje));
        }
        EXPECT_EQ(ventana->focusWidget(), ventana->txtPlaca);
        EXPECT_TRUE(salidas().isEmpty());
        EXPECT_EQ(entradas(), antes);
    }
}

TEST_F(PruebaSalida, CodigoDeTarifaNoValido) {
    entrada(QStringLiteral("ABC123"));
    abrir();
    const auto antes = entradas();
    const QString general = QStringLiteral("El valor indicado para la Tarifa no es correcto");
    const QString sucesoGeneral = QStringLiteral("Mensaje: Valor incorrecto en modificación de "
                                                 "Tarifa; botón Registrar Salida, desde "
                                                 "Entradas/Salidas");
    for (const char* codigo : {"x1", "1.5", "-1", "3", "99"}) {
        SCOPED_TRACE(codigo);
        const QString c = QLatin1String(codigo);
        const bool numerico = c == QLatin1String("3") || c == QLatin1String("99");
        dialogos.entradas = {QStringLiteral("ABC123"), c};
        salir(QStringLiteral("ABC123"));
        EXPECT_EQ(ultimaCaja().texto,
                  numerico ? general + QStringLiteral(", no existe el código de la tarifa: ") + c
                           : general);
        EXPECT_TRUE(registrado(numerico ? QStringLiteral("Mensaje: Valor incorrecto en "
                                                         "modificación de Tarifa, no existe el "
                                                         "código de la tarifa indicada: -") +
                                              c +
                                              QStringLiteral("-; botón Registrar Salida, desde "
                                                             "Entradas/Salidas")
                                        : sucesoGeneral));
        EXPECT_TRUE(salidas().isEmpty());
        EXPECT_EQ(entradas(), antes);
    }
}

TEST_F(PruebaSalida, TarifaCambiadaOCancelada) {
    entrada(QStringLiteral("ABC123"));
    abrir();
    dialogos.entradas = {QStringLiteral("ABC123"), QString()};
    ventana->txtDescrVeh->setFocus();
    salir(QStringLiteral("ABC123"));
    ASSERT_EQ(dialogos.cajas.size(), 2);
    EXPECT_EQ(ultimaCaja().texto,
              QStringLiteral("Verifique/Modifique la Tarifa indicando el Código Numérico de Tarifa "
                             "de su elección") +
                  kCrlf + kCrlf + QStringLiteral("      1 <-----> CARRO <-> $1.000") + kCrlf +
                  QStringLiteral("      4 <-----> GRATIS <-> $0") + kCrlf +
                  QStringLiteral("      2 <-----> MOTO <-> $500") + kCrlf);
    // Cancelling the rate box ends without putting the focus back in the plate box.
    EXPECT_NE(ventana->focusWidget(), ventana->txtPlaca);
    EXPECT_TRUE(salidas().isEmpty());

    dialogos.entradas = {QStringLiteral("ABC123"), QStringLiteral("2")};
    salir(QStringLiteral("ABC123"));
    const Fila f = salidaDe(QStringLiteral("ABC123"));
    EXPECT_EQ(f.value(QStringLiteral("id_tarifa")), QStringLiteral("2"));
    EXPECT_EQ(f.value(QStringLiteral("DescrTarifa")), QStringLiteral("MOTO"));
    EXPECT_EQ(f.value(QStringLiteral("Tarifa")), QStringLiteral("500"));
    EXPECT_EQ(f.value(QStringLiteral("Tiempo")), QStringLiteral("30"));
    // 90 minutes in whole units of 30 minutes.
    EXPECT_EQ(f.value(QStringLiteral("Cobrado")), QStringLiteral("1500"));
}

TEST_F(PruebaSalida, EntradaDeTipoDesconocidoTerminaEnSilencio) {
    const std::pair<int64_t, const char*> casos[] = {{0, "OTRA"}, {0, ""}, {1, "EXENTO"}};
    abrir();
    int n = 0;
    for (const auto& [idTarifa, descr] : casos) {
        const QString placa = QStringLiteral("RARA%1").arg(++n);
        SCOPED_TRACE(placa.toStdString());
        entrada(placa, kEntrada, idTarifa, 1000, 60, QLatin1String(descr));
        const auto antes = entradas();
        dialogos.cajas.clear();
        salir(placa);
        EXPECT_TRUE(dialogos.cajas.isEmpty());
        EXPECT_TRUE(salidas().isEmpty());
        EXPECT_EQ(entradas(), antes);
    }
}

TEST_F(PruebaSalida, TextosDeConfirmacionYSucesos) {
    entrada(QStringLiteral("ABC123"));
    abrir();
    ventana->txtDescrVeh->setText(QStringLiteral("Mazda rojo"));
    ventana->txtObservaciones->setText(QStringLiteral("Rayón puerta"));
    dialogos.respuestas = {QMessageBox::No};
    // As with the button's shortcut: the plate box keeps its text as typed.
    ventana->txtPlaca->setText(QStringLiteral("abc123"));
    ventana->btnSalida->click();
    ASSERT_EQ(dialogos.cajas.size(), 3);
    const QString pregunta =
        QStringLiteral("Entrada: 06/12/2026 08:30:00 am") + kCrlf +
        QStringLiteral("Salida: 06/12/2026 10:00:00 am") + kCrlf + kCrlf +
        QStringLiteral("<------> TIEMPO TOTAL: 1 Hora 30 Minutos. <------>") + kCrlf + kCrlf +
        QStringLiteral("Placa: ABC123") + kCrlf +
        QStringLiteral("DescrTarifa: CARRO - Tarifa: $1000") + kCrlf +
        QStringLiteral("Valor a cobrar: $2000") + kCrlf +
        QStringLiteral("¿Proceder con la salida?") + kCrlf + kCrlf +
        QStringLiteral("*** Podrá modificar el Valor a Cobrar en la siguiente pantalla ***") +
        kCrlf + kCrlf;
    EXPECT_EQ(ultimaCaja().texto, pregunta);
    EXPECT_EQ(ultimaCaja().icono, QMessageBox::Information);
    EXPECT_EQ(ultimaCaja().botones, QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(registrado(QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas: Placa "
                                          "Inicial (sin corrección de mayúsculas): abc123 - Tarifa "
                                          "Activa Inicial: BUS")));
    EXPECT_TRUE(registrado(QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas, Control "
                                          "de Tiempo: 1 Hora 30 Minutos. --- Placa: ABC123")));
    EXPECT_TRUE(registrado(
        QStringLiteral("Botón Registrar Salida, desde Entradas/Salidas, Proceso Normal de Cobro "
                       "por Tarifa, confirmación de Salida; Entrada: 06/12/2026 08:30:00 am - "
                       "Salida: 06/12/2026 10:00:00 am<------> TIEMPO TOTAL: 1 Hora 30 Minutos. "
                       "<------>Placa: ABC123 - DescrTarifa: CARRO - Tarifa: $1000 - Valor a "
                       "cobrar: $2000")));
    EXPECT_TRUE(salidas().isEmpty());
    // After a refusal the stay stays on screen.
    EXPECT_FALSE(ventana->lblTiempoTranscurrido->isHidden());
    EXPECT_EQ(ventana->lblTiempoTranscurrido->text(), QStringLiteral("1 Hora 30 Minutos."));

    salir(QStringLiteral("abc123"));
    const Fila f = salidaDe(QStringLiteral("ABC123"));
    EXPECT_EQ(f.value(QStringLiteral("DescrVeh")), QStringLiteral("Mazda rojo"));
    EXPECT_EQ(f.value(QStringLiteral("Observaciones")), QStringLiteral("Rayón puerta"));
    EXPECT_EQ(f.value(QStringLiteral("FechaEntrada")), kEntrada);
    EXPECT_EQ(f.value(QStringLiteral("FechaSalida")), kSalida);
    EXPECT_TRUE(
        registrado(QStringLiteral("Ocupación Actual, botón Salida, desde Entradas/Salidas: 0")));
    EXPECT_TRUE(registrado(QStringLiteral("Se inicia impresión Ticket de Salida, con 1 copia/s")));
    EXPECT_EQ(ventana->lblOcupacionActual->text(), QStringLiteral("Ocupación Actual: 0"));
    EXPECT_EQ(ventana->ListView1->topLevelItemCount(), 0);
    EXPECT_TRUE(ventana->lblTiempoTranscurrido->isHidden());
    EXPECT_TRUE(ventana->lblTiempo->isHidden());
    EXPECT_TRUE(ventana->txtPlaca->text().isEmpty());
    EXPECT_TRUE(ventana->txtDescrVeh->text().isEmpty());
    EXPECT_TRUE(ventana->txtObservaciones->text().isEmpty());
}

TEST_F(PruebaSalida, SinPermisoDeCambioSoloSePreguntaLaConfirmacion) {
    ajustar(QStringLiteral("ModificarPlacaSalida=False, ModificarTarifaSalida=False, "
                           "ModificarValorSalida=False"));
    entrada(QStringLiteral("ABC123"));
    salir(QStringLiteral("ABC123"));
    ASSERT_EQ(dialogos.cajas.size(), 1);
    EXPECT_FALSE(ultimaCaja().texto.contains(QStringLiteral("Podrá modificar")));
    EXPECT_TRUE(
        ultimaCaja().texto.endsWith(QStringLiteral("¿Proceder con la salida?") + kCrlf + kCrlf));
    EXPECT_EQ(salidaDe(QStringLiteral("ABC123")).value(QStringLiteral("Cobrado")),
              QStringLiteral("2000"));
}

TEST_F(PruebaSalida, ImpresionSegunCasilla) {
    const std::tuple<bool, const char*, int> casos[] = {
        {true, "2", 2}, {true, "0", 0}, {false, "1", 0}};
    abrir();
    int n = 0;
    for (const auto& [imprimir, copias, trabajos] : casos) {
        const QString placa = QStringLiteral("IMP%1").arg(++n);
        SCOPED_TRACE(placa.toStdString());
        entrada(placa);
        impresora.trabajos.clear();
        ventana->chkImprimirTicket->setChecked(imprimir);
        ventana->txtCopiasSalida->setText(QLatin1String(copias));
        salir(placa);
        EXPECT_FALSE(salidaDe(placa).isEmpty());
        EXPECT_EQ(impresora.trabajos.size(), trabajos);
        EXPECT_EQ(registrado(QStringLiteral("Se inicia impresión Ticket de Salida, con ") +
                             QLatin1String(copias) + QStringLiteral(" copia/s")),
                  imprimir);
        for (int t = 0; t < trabajos; ++t)
            EXPECT_TRUE(impresora.textos(t).contains(placa));
    }
}

TEST_F(PruebaSalida, DatosIncompletosOPlacaAusente) {
    entrada(QStringLiteral("ABC123"));
    abrir();
    struct Caso {
        const char* placa;
        const char* copias;
        const char* mensaje;
        const char* titulo;
        const char* suceso;
    };
    const Caso casos[] = {
        {"", "1", "Debe indicar la Placa", "Vialtor",
         "Mensaje - Debe indicar la Placa; se hizo click en Registrar Salida, desde "
         "Entradas/Salidas"},
        {"ABC123", "", "Debe indicar Nro Copias Ticket Salida", "Vialtor",
         "Mensaje - Debe indicar Nro Copias Ticket Salida; se hizo click en Registrar Salida, "
         "desde Entradas/Salidas"},
        {"ABC123", "x", "Debe indicar Nro Copias Ticket Salida", "Vialtor", nullptr},
        {"noesta", "1", "Placa no existe", "Placa no existe",
         "Mensaje: Placa no existe; desde botón Registrar Salida, desde Entradas/Salidas, Placa "
         "(sin corregir a mayúsculas automáticamente): noesta"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.mensaje);
        dialogos.cajas.clear();
        ventana->txtCopiasSalida->setText(QLatin1String(c.copias));
        salir(QLatin1String(c.placa));
        ASSERT_EQ(dialogos.cajas.size(), 1);
        EXPECT_EQ(ultimaCaja().texto, QString::fromUtf8(c.mensaje));
        EXPECT_EQ(ultimaCaja().titulo, QString::fromUtf8(c.titulo));
        if (c.suceso) {
            EXPECT_TRUE(registrado(QString::fromUtf8(c.suceso)));
        }
    }
    EXPECT_TRUE(salidas().isEmpty());
    EXPECT_EQ(entradas().size(), 1);
}

TEST_F(PruebaSalida, DobleClicEnLaListaRegistraLaSalidaDeEsaFila) {
    ajustar(QStringLiteral("ModificarPlacaSalida=False, ModificarTarifaSalida=False, "
                           "ModificarValorSalida=False"));
    entrada(QStringLiteral("ABC123"));
    entrada(QStringLiteral("DEF456"), QStringLiteral("06/12/2026 09:00:00 am"));
    abrir();
    ASSERT_EQ(ventana->ListView1->topLevelItemCount(), 2);
    QTreeWidgetItem* fila =
        ventana->ListView1->findItems(QStringLiteral("DEF456"), Qt::MatchExactly, 2).value(0);
    ASSERT_NE(fila, nullptr);
    const QPoint centro = ventana->ListView1->visualItemRect(fila).center();
    QTest::mouseClick(ventana->ListView1->viewport(), Qt::LeftButton, {}, centro);
    QTest::mouseDClick(ventana->ListView1->viewport(), Qt::LeftButton, {}, centro);
    EXPECT_EQ(salidaDe(QStringLiteral("DEF456")).value(QStringLiteral("Cobrado")),
              QStringLiteral("1000"));
    const auto quedan = entradas();
    ASSERT_EQ(quedan.size(), 1);
    EXPECT_EQ(quedan[0].value(QStringLiteral("Placa")), QStringLiteral("ABC123"));
    EXPECT_EQ(ventana->ListView1->topLevelItemCount(), 1);
}

TEST_F(PruebaSalida, EntradaDePlacaYaDentroRegistraSuSalida) {
    entrada(QStringLiteral("ABC123"));
    abrir();
    ventana->txtPlaca->setText(QStringLiteral("abc123"));
    QTest::mouseClick(ventana->btnEntrada, Qt::LeftButton);
    for (const CajaMostrada& c : dialogos.cajas)
        EXPECT_NE(c.titulo, QStringLiteral("Registrar Entrada"));
    EXPECT_EQ(salidaDe(QStringLiteral("ABC123")).value(QStringLiteral("Cobrado")),
              QStringLiteral("2000"));
    EXPECT_TRUE(entradas().isEmpty());
}

TEST_F(PruebaSalida, SalidaTomadaPorOtraEstacionNoEscribeNada) {
    const int64_t id = entrada(QStringLiteral("ABC123"));
    // The other station's delete goes through a connection of its own.
    DialogosConGancho gancho;
    gancho.tituloGancho = QStringLiteral("CONFIRMAR SALIDA");
    gancho.gancho = [this, id] {
        sqlite3* otra = nullptr;
        ASSERT_EQ(
            sqlite3_open((carpetas.programa + QStringLiteral("/vialtor.mdb")).toUtf8().constData(),
                         &otra),
            SQLITE_OK);
        RegistrarFuncionesJet(otra);
        EjecutarDirecto(otra, QStringLiteral("DELETE FROM Entradas WHERE id_entrada=%1")
                                  .arg(id)
                                  .toUtf8()
                                  .constData());
        sqlite3_close(otra);
    };
    Servicios().dialogos = &gancho;
    salir(QStringLiteral("ABC123"));
    EXPECT_TRUE(salidas().isEmpty());
    EXPECT_TRUE(entradas().isEmpty());
    ASSERT_FALSE(gancho.cajas.isEmpty());
    EXPECT_TRUE(gancho.cajas.last().texto.contains(QStringLiteral("ya fue registrada")));
    EXPECT_EQ(ventana->ListView1->topLevelItemCount(), 0);

    // Called directly: an entry that is no longer there gives nothing back.
    EXPECT_FALSE(GrabarSalida(nuevaSalida(id, QStringLiteral("ABC123"))).has_value());
    EXPECT_TRUE(salidas().isEmpty());
}

TEST_F(PruebaSalida, DosEntradasDeLaMismaPlacaSoloSaleLaRegistrada) {
    const int64_t primera = entrada(QStringLiteral("DOBLE1"));
    entrada(QStringLiteral("DOBLE1"), QStringLiteral("06/12/2026 09:00:00 am"));
    ASSERT_TRUE(GrabarSalida(nuevaSalida(primera, QStringLiteral("DOBLE1"))).has_value());
    const auto quedan = entradas();
    ASSERT_EQ(quedan.size(), 1);
    EXPECT_NE(quedan[0].value(QStringLiteral("id_entrada")), QString::number(primera));
}

TEST_F(PruebaSalida, FalloEnCualquierSentenciaDeLaGrabacionNoDejaNadaAMedias) {
    ajustar(QStringLiteral("PrefijoFactura='FV-', DigitosFactura=6"));
    ejecutar(QStringLiteral("INSERT INTO Salidas (FechaSalida,Placa,Cobrado,ConsecutivoDia) "
                            "VALUES ('06/12/2026 09:00:00 am','PREVIA',0,1)"));
    const int64_t id = entrada(QStringLiteral("ABC123"));
    entrada(QStringLiteral("OTRA01"));
    const auto antesS = salidas();
    const auto antesE = entradas();
    int fallos = 0;
    std::optional<SalidaGrabada> grabada;
    for (int k = 1; k < 50 && !grabada; ++k) {
        SCOPED_TRACE(k);
        Conexion.fallarSentencia(k);
        try {
            grabada = GrabarSalida(nuevaSalida(id, QStringLiteral("ABC123")));
            ASSERT_TRUE(grabada.has_value());
        } catch (const ErrorBD&) {
            ++fallos;
        }
        Conexion.fallarSentencia(0);
        if (!grabada) {
            EXPECT_EQ(salidas(), antesS);
            EXPECT_EQ(entradas(), antesE);
        }
    }
    // Entry check, day's number, insert, ticket number, document number, delete.
    EXPECT_GE(fallos, 6);
    ASSERT_TRUE(grabada.has_value());
    const Fila f = salidaDe(QStringLiteral("ABC123"));
    EXPECT_EQ(f.value(QStringLiteral("ConsecutivoDia")), QStringLiteral("2"));
    EXPECT_EQ(f.value(QStringLiteral("NroTicket")), QString::number(grabada->idSalida));
    EXPECT_EQ(f.value(QStringLiteral("NDocumento")),
              QStringLiteral("FV-") +
                  QString::number(grabada->idSalida).rightJustified(6, QLatin1Char('0')));
    EXPECT_EQ(entradas().size(), 1);
}

TEST_F(PruebaSalida, FalloDuranteLaSalidaDesdeLaVentanaDejaTodoONada) {
    ajustar(QStringLiteral("PrefijoFactura='FV-'"));
    entrada(QStringLiteral("ABC123"));
    abrir();
    const auto antesS = salidas();
    const auto antesE = entradas();
    bool terminada = false;
    int intactas = 0;
    for (int k = 1; k < 200 && !terminada; ++k) {
        SCOPED_TRACE(k);
        dialogos.entradas.clear();
        dialogos.respuestas.clear();
        ventana->txtPlaca->setText(QStringLiteral("ABC123"));
        Conexion.fallarSentencia(k);
        bool fallo = true;
        try {
            ventana->btnSalidaClicked();
            fallo = false;
        } catch (const ErrorBD&) {
        }
        Conexion.fallarSentencia(0);
        CerrarConexion();
        const auto ahoraE = entradas();
        if (fallo && ahoraE == antesE) {
            EXPECT_EQ(salidas(), antesS);
            ++intactas;
            continue;
        }
        // Done whole: the exit is written and numbered and its entry is gone.
        terminada = true;
        EXPECT_TRUE(ahoraE.isEmpty());
        const Fila f = salidaDe(QStringLiteral("ABC123"));
        EXPECT_EQ(f.value(QStringLiteral("NroTicket")), f.value(QStringLiteral("id_salida")));
        EXPECT_EQ(f.value(QStringLiteral("NDocumento")),
                  QStringLiteral("FV-") + f.value(QStringLiteral("id_salida")));
    }
    EXPECT_TRUE(terminada);
    EXPECT_GE(intactas, 6);
}

TEST_F(PruebaSalida, ConsecutivoSeLeeTrasEsperarAlOtroEscritor) {
    const int64_t id = entrada(QStringLiteral("ABC123"));
    CerrarConexion();
    std::promise<void> escribiendo;
    // Another station holds the write lock with an uncommitted exit of the same day.
    std::thread otra([&escribiendo, ruta = carpetas.programa + QStringLiteral("/vialtor.mdb")] {
        sqlite3* db = nullptr;
        sqlite3_open(ruta.toUtf8().constData(), &db);
        RegistrarFuncionesJet(db);
        EjecutarDirecto(db, "BEGIN IMMEDIATE");
        EjecutarDirecto(db, "INSERT INTO Salidas (FechaSalida,Placa,Cobrado,ConsecutivoDia) "
                            "VALUES ('2026-12-06 09:59:00','OTRA01',0,1)");
        escribiendo.set_value();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EjecutarDirecto(db, "COMMIT");
        sqlite3_close(db);
    });
    escribiendo.get_future().wait();
    const auto grabada = GrabarSalida(nuevaSalida(id, QStringLiteral("ABC123")));
    otra.join();
    ASSERT_TRUE(grabada.has_value());
    EXPECT_EQ(grabada->consecutivoDia, 2);
    EXPECT_EQ(salidaDe(QStringLiteral("ABC123")).value(QStringLiteral("ConsecutivoDia")),
              QStringLiteral("2"));
}

// Exits registered by one process; the number of failures.
int registrarSalidas(const QVector<int64_t>& ids, const QString& prefijo) {
    int fallos = 0;
    for (int i = 0; i < ids.size(); ++i) {
        try {
            if (!GrabarSalida(nuevaSalida(ids[i], prefijo + QString::number(i))))
                ++fallos;
        } catch (const ErrorBD&) {
            ++fallos;
        }
    }
    CerrarConexion();
    return fallos;
}

TEST_F(PruebaSalida, DosProcesosNuncaCompartenElConsecutivoDelDia) {
    constexpr int kPorProceso = 40;
    QVector<int64_t> padre, hijo;
    {
        Transaccion carga;
        for (int i = 0; i < kPorProceso; ++i) {
            padre << entrada(QStringLiteral("P") + QString::number(i));
            hijo << entrada(QStringLiteral("H") + QString::number(i));
        }
        carga.confirmar();
    }
    CerrarConexion();
    const pid_t pid = fork();
    ASSERT_NE(pid, -1);
    if (pid == 0)
        _exit(qMin(registrarSalidas(hijo, QStringLiteral("H")), 100));
    const int fallosPadre = registrarSalidas(padre, QStringLiteral("P"));
    int estado = 0;
    ASSERT_EQ(waitpid(pid, &estado, 0), pid);
    EXPECT_EQ(fallosPadre, 0);
    ASSERT_TRUE(WIFEXITED(estado));
    EXPECT_EQ(WEXITSTATUS(estado), 0);
    const auto filas =
        consultar(QStringLiteral("SELECT ConsecutivoDia FROM Salidas ORDER BY ConsecutivoDia"));
    QStringList numeros, esperados;
    for (int i = 0; i < filas.size(); ++i)
        numeros << filas[i].value(QStringLiteral("ConsecutivoDia"));
    for (int i = 1; i <= 2 * kPorProceso; ++i)
        esperados << QString::number(i);
    EXPECT_EQ(numeros.join(QLatin1Char(' ')).toStdString(),
              esperados.join(QLatin1Char(' ')).toStdString());
    EXPECT_TRUE(entradas().isEmpty());
}

} // namespace
