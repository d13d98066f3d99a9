#pragma once
// Seeding, reading and driving shared by the entry, exit and rate tests.

#include "acceso/parqueadero.h"
#include "bd/sql.h"
#include "movimientos/ui/frmGestionEntradasSalidas.h"
#include "principal/registros.h"
#include "principal/ui/ventanas.h"
#include "tests/acceso/apoyo_ventanas.h"
#include "tests/comun/consultas.h"
#include "tests/comun/dobles.h"
#include "turnos/turnos.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDate>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <functional>
#include <memory>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

inline const QString kEntrada = QStringLiteral("06/12/2026 08:30:00 am");
inline const QString kCliente = QStringLiteral("CLIENTE: Ana Gómez Ruiz");
// Only the confirmation is asked at an exit: plate, rate and amount stay as they are.
inline const QString kSinCambiosEnSalida = QStringLiteral(
    "ModificarPlacaSalida=False, ModificarTarifaSalida=False, ModificarValorSalida=False");

inline QString Entradas(const QString& campos = "*") {
    return Tabla("SELECT " + campos + " FROM Entradas ORDER BY id_entrada");
}
inline QString Salidas(const QString& campos = "*") {
    return Tabla("SELECT " + campos + " FROM Salidas ORDER BY id_salida");
}
inline QString DeSalida(const QString& placa, const QString& campos) {
    return Tabla("SELECT " + campos + " FROM Salidas WHERE Placa = " + Texto(placa));
}

inline int64_t SembrarTarifa(int64_t precio, int minutos, const QString& descr,
                             bool entradas = true, bool salidas = true) {
    return Ejecutar(
        QStringLiteral("INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,"
                       "MostrarEnEntradas,MostrarEnSalidas) VALUES (%1,%2,%3,%4,%5)")
            .arg(precio)
            .arg(minutos)
            .arg(Texto(descr), entradas ? "True" : "False", salidas ? "True" : "False"));
}

// An entry of `tarifa` an hour under rate `idTarifa`; with no rate, under a client's or an exempt
// vehicle's mark.
inline int64_t SembrarEntrada(const QString& placa, const QString& fecha = kEntrada,
                              int64_t idTarifa = 1, int64_t tarifa = 1000,
                              const QString& descr = QStringLiteral("CARRO")) {
    return Ejecutar(QStringLiteral("INSERT INTO Entradas (FechaEntrada,Placa,DescrVeh,id_tarifa,"
                                   "Tarifa,Tiempo,DescrTarifa) VALUES (%1,%2,'Sedán gris',%3,%4,"
                                   "%5,%6)")
                        .arg(Texto(fecha), Texto(placa), QString::number(idTarifa),
                             QString::number(tarifa), idTarifa ? "60" : "0", Texto(descr)));
}

// A client "Ana Gómez Ruiz" (or nameless) with one payment period ending on `fin`.
inline void SembrarCliente(const QString& placa, const QDate& fin, bool pagado,
                           const QString& nombre = QStringLiteral("Ana")) {
    const int64_t id = Ejecutar("INSERT INTO Clientes (Nombre,Ape1,Ape2,Placa,Activo) VALUES (" +
                                Texto(nombre) + ",'Gómez','Ruiz'," + Texto(placa) + ",True)");
    Ejecutar(QStringLiteral("INSERT INTO FechaPago (id_cliente,FechaInicio,FechaFin,CantidadTotal,"
                            "Pagado) VALUES (%1,%2,%3,90000,%4)")
                 .arg(id)
                 .arg(LiteralFechaSimple(fin.addMonths(-1)), LiteralFechaSimple(fin),
                      pagado ? "True" : "False"));
}

inline void Ajustar(const QString& asignaciones) {
    Ejecutar("UPDATE DatosParqueadero SET " + asignaciones);
    CargarDatosParqueadero();
}

// Runs `trabajo` as another station does: in another process, with a connection of its own. Its
// answer (0 to 254; 255 on a database error) is the process's exit code, which Esperar gives.
inline pid_t EnOtraEstacion(const std::function<int()>& trabajo) {
    CerrarConexion();
    const pid_t pid = fork();
    if (pid == 0) {
        Conexion.olvidarHeredada();
        int codigo = 255;
        try {
            codigo = trabajo();
            CerrarConexion();
        } catch (const ErrorBD&) {
        }
        _exit(codigo);
    }
    return pid;
}

// The exit code of the station `pid`; -1 when it did not end by itself.
inline int Esperar(pid_t pid) {
    int estado = 0;
    return waitpid(pid, &estado, 0) == pid && WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
}

inline void ComoOtraEstacion(const std::function<void()>& escribir) {
    ASSERT_EQ(Esperar(EnOtraEstacion([&escribir] {
                  escribir();
                  return 0;
              })),
              0);
}

// A fresh database with its settings, an administrator logged in, and the entries and exits
// window driven as the attendant does.
class PruebaMovimientos : public PruebaConBase {
protected:
    void SetUp() override {
        PruebaConBase::SetUp();
        CargarDatosParqueadero();
        SesionActual.Usuario = QStringLiteral("admin");
        SesionActual.NivelAcceso = QStringLiteral("1");
        // Cash moves only inside a shift: the attendant has one unless a test opens its own.
        if (conTurno) {
            ASSERT_TRUE(AbrirTurno(0).hecho());
        }
    }
    void TearDown() override {
        ventana.reset();
        EstablecerMenuCorrecciones(nullptr);
        PruebaVialtor::TearDown();
    }

    frmGestionEntradasSalidas& v() { return Perezosa(ventana); }
    // The clock label shows `momento`: entries and exits take their time from it.
    void hora(const QDateTime& momento) {
        reloj.momento = momento;
        v().Timer1Timer();
    }
    void entrar(const QString& placa) {
        v().txtPlaca->setText(placa);
        Pulsar(v().btnEntrada);
    }
    void salir(const QString& placa) {
        v().txtPlaca->setText(placa);
        Pulsar(v().btnSalida);
    }
    // The vehicles list: all rows' column `c` joined by '|'.
    QString columna(int c) { return Columna(*v().ListView1->model(), c); }
    // A left click on the list row of `placa`, then a pause so the next click is no double one.
    void clicEnFila(const QString& placa) {
        const QModelIndexList filas = v().ListView1->model()->match(
            v().ListView1->model()->index(0, 2), Qt::DisplayRole, placa, 1, Qt::MatchExactly);
        ASSERT_EQ(filas.size(), 1) << placa.toStdString();
        QTest::mouseClick(v().ListView1->viewport(), Qt::LeftButton, {},
                          v().ListView1->visualRect(filas.first()).center());
        QTest::qWait(QApplication::doubleClickInterval() + 10);
    }

    // The titles of the boxes shown, joined by '|'.
    QString titulos() const {
        QStringList t;
        for (const CajaMostrada& c : dialogos.cajas)
            t << c.titulo;
        return t.join('|');
    }
    const CajaMostrada& ultimaCaja() const { return dialogos.cajas.last(); }
    // The next boxes' answers by letter: S for Sí, N for No.
    void responder(const QString& letras) {
        dialogos.respuestas.clear();
        for (const QChar letra : letras)
            dialogos.respuestas << (letra == 'S' ? Boton::Si : Boton::No);
    }
    // The last box titled `titulo`; an empty one when none was.
    CajaMostrada caja(const QString& titulo) const {
        for (auto c = dialogos.cajas.crbegin(); c != dialogos.cajas.crend(); ++c)
            if (c->titulo == titulo)
                return *c;
        return {};
    }
    // The log from message `desde` on, each message by its first line and the first word of
    // each statement it carries: "Tarifa agregada correctamente [INSERT]".
    QStringList sucesos(int desde = 0) const {
        QStringList lineas;
        for (const QString& m : mensajes().mid(desde)) {
            QStringList partes = m.split(QStringLiteral("\r\n"));
            lineas << partes.takeFirst();
            for (const QString& sentencia : partes)
                lineas.last() += " [" + sentencia.section(' ', 0, 0) + "]";
        }
        return lineas;
    }

    std::unique_ptr<frmGestionEntradasSalidas> ventana;
    bool conTurno = true;
};

using PruebaMovimientosMotores = EnAmbosMotores<PruebaMovimientos>;
