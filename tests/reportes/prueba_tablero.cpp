#include "reportes/informetablero.h"
#include "reportes/resumenventas.h"
#include "reportes/tablero.h"
#include "tests/reportes/apoyo_ventas.h"

#include <QXmlStreamReader>

namespace {

class PruebaTablero : public PruebaVentas {
protected:
    void SetUp() override {
        PruebaVentas::SetUp();
        // A: across midnight, 210 min, its ticket lost; B: a client's across the change, 240
        // wall-clock minutes but 300 real ones; C: exempt, 10 min; D: a lost ticket, 120 min 30 s;
        // E: inside.
        Ejecutar("INSERT INTO Salidas (FechaEntrada,FechaSalida,id_tarifa,DescrTarifa,Cobrado,IVA,"
                 "TicketPerdido) VALUES "
                 "('2026-10-24 22:00:00','2026-10-25 01:30:00',1,'CARRO',5000,19,True),"
                 "('2026-10-25 01:00:00','2026-10-25 05:00:00',0,'CLIENTE',0,Null,False),"
                 "('2026-10-25 10:00:00','2026-10-25 10:10:00',0,'EXENTO',0,0,False),"
                 "('2026-10-25 10:00:00','2026-10-25 12:00:30',2,'MOTO',30000,19,True)");
        // F: no rate, in and out at midnight; G and H: an hour each, the same count twice.
        Ejecutar("INSERT INTO Salidas (FechaEntrada,FechaSalida,DescrTarifa,Cobrado,IVA) VALUES "
                 "('2026-10-26 00:00:00','2026-10-26 00:00:00',Null,800,Null),"
                 "('2026-10-26 08:00:00','2026-10-26 09:00:00','CARRO',1000,19),"
                 "('2026-10-26 15:00:00','2026-10-26 16:00:00','CARRO',1000,19)");
        Ejecutar("INSERT INTO Entradas (FechaEntrada,Placa) VALUES ('2026-10-25 09:30:00','E1')");
        Ejecutar("INSERT INTO Pagos (id_fecha_pago,FechaPago,CantidadPago) VALUES "
                 "(1,'2026-10-25 11:00:00',50000),(1,'2026-10-26 00:00:00',7000)");
    }
    ZonaConVerano zona;
};
VIALTOR_EN_AMBOS_MOTORES(PruebaTablero);

QDateTime el(int dia, const char* hora) {
    return QDateTime(QDate(2026, 10, dia), QTime::fromString(hora, "HH:mm:ss"));
}

// Key figures, then the stays' buckets, the occupancy at each hour's start, the days' revenue
// and the entries by weekday/hour, each as one line.
QStringList resumen(const Tablero& t) {
    const CifrasTablero& c = t.cifras;
    QStringList estancias, ocupacion, dias, semana;
    for (int64_t n : t.estancias)
        estancias << QString::number(n);
    for (const OcupacionHora& o : t.ocupacion)
        ocupacion << o.hora.toString("d/HH=") + QString::number(o.vehiculos);
    for (const IngresosDia& d : t.porDia) {
        QString dia = d.dia.toString("d");
        for (auto i = d.porTarifa.cbegin(); i != d.porTarifa.cend(); ++i)
            dia += ' ' + i.key() + ':' + QString::number(i.value());
        dias << dia + " pagos:" + QString::number(d.pagosClientes);
    }
    for (int d = 0; d < 7; ++d)
        for (int h = 0; h < 24; ++h)
            if (t.entradasSemana[d][h])
                semana << QString("%1/%2=%3").arg(d).arg(h).arg(t.entradasSemana[d][h]);
    return {QString("%1 %2 %3 %4 %5 %6 %7 %8 %9")
                    .arg(c.entradas)
                    .arg(c.salidas)
                    .arg(c.cobrado)
                    .arg(c.pagosClientes)
                    .arg(c.salidasExentos)
                    .arg(c.salidasClientes)
                    .arg(c.ticketsPerdidos)
                    .arg(c.estanciaMediaMin)
                    .arg(c.estanciaMedianaMin) +
                QString(" max %1 %2").arg(c.ocupacionMax).arg(c.ocupacionMaxHora.toString("d/HH")),
            estancias.join(' '), ocupacion.join(' '), dias.join(" | "), semana.join(' ')};
}

struct CasoTablero {
    QDateTime inicio, fin;
    QStringList esperado;
};

TEST_P(PruebaTablero, CifrasDelPeriodoContadasEnLaBase) {
    const QString dia25 = "25/00=1 25/01=2 25/02=1 25/03=1 25/04=1 25/05=0 25/06=0 25/07=0 "
                          "25/08=0 25/09=0 25/10=3 25/11=2 25/12=2 25/13=1 25/14=1 25/15=1 "
                          "25/16=1 25/17=1 25/18=1 25/19=1 25/20=1 25/21=1 25/22=1 25/23=1";
    QString dia26;
    for (int h = 0; h < 24; ++h)
        dia26 += QString(" 26/%1=%2").arg(h, 2, 10, QChar('0')).arg(h == 8 || h == 15 ? 2 : 1);
    const CasoTablero casos[] = {
        {el(25, "00:00:00"),
         el(25, "23:59:59"),
         {"4 4 35000 50000 1 1 2 160.25 165.5 max 3 25/10", "1 0 0 0 2 1 0 0", dia25,
          "25 CARRO:5000 MOTO:30000 pagos:50000", "6/1=1 6/9=1 6/10=2"}},
        {el(24, "21:00:00"),
         el(24, "23:59:59"),
         {"1 0 0 0 0 0 0 0 0 max 1 24/22", "0 0 0 0 0 0 0 0", "24/21=0 24/22=1 24/23=1",
          "24 pagos:0", "5/22=1"}},
        {el(25, "10:00:00"),
         el(25, "10:00:59"),
         {"2 0 0 0 0 0 0 0 0 max 3 25/10", "0 0 0 0 0 0 0 0", "25/10=3", "25 pagos:0", "6/10=2"}},
        {el(25, "09:00:00"),
         el(25, "09:59:59"),
         {"1 0 0 0 0 0 0 0 0 max 1 25/09", "0 0 0 0 0 0 0 0", "25/09=0", "25 pagos:0", "6/9=1"}},
        {el(25, "09:30:00"),
         el(25, "10:00:59"),
         {"3 0 0 0 0 0 0 0 0 max 3 25/10", "0 0 0 0 0 0 0 0", "25/10=3", "25 pagos:0",
          "6/9=1 6/10=2"}},
        {el(25, "12:00:30"),
         el(25, "12:00:40"),
         {"0 1 30000 0 0 0 1 121 121 max 1 25/12", "0 0 0 0 1 0 0 0", "", "25 MOTO:30000 pagos:0",
          ""}},
        {el(25, "23:30:00"),
         el(26, "23:59:59"),
         {"3 3 2800 7000 0 0 0 40 60 max 2 26/08", "1 0 2 0 0 0 0 0", dia26.mid(1),
          "25 pagos:0 | 26 CARRO:2000 Sin tarifa:800 pagos:7000", "0/0=1 0/8=1 0/15=1"}},
        {el(20, "00:00:00"),
         el(20, "02:59:59"),
         {"0 0 0 0 0 0 0 0 0 max 0 20/00", "0 0 0 0 0 0 0 0", "20/00=0 20/01=0 20/02=0",
          "20 pagos:0", ""}},
    };
    for (const CasoTablero& caso : casos) {
        const Tablero t = LeerTablero({caso.inicio, caso.fin});
        EXPECT_EQ(resumen(t), caso.esperado) << caso.inicio.toString().toStdString();
        // The same exits and amount as the sales summary of the period.
        AbrirConexion();
        const CifrasVentas ventas =
            LeerCifrasVentas({caso.inicio, caso.fin}).value_or(CifrasVentas{});
        CerrarConexion();
        EXPECT_EQ(ventas.totalRegistros, t.cifras.salidas);
        EXPECT_EQ(ventas.totalCobrado, t.cifras.cobrado);
    }
    // Step by step, each step told; a false answer stops the read after that step.
    QStringList avances;
    const auto hasta = [&avances](int corte) {
        return [&avances, corte](int hechos, int pasos) {
            avances << QString("%1/%2").arg(hechos).arg(pasos);
            return hechos != corte;
        };
    };
    EXPECT_EQ(resumen(*LeerTableroPorPasos({casos[0].inicio, casos[0].fin}, hasta(0))),
              casos[0].esperado);
    EXPECT_FALSE(LeerTableroPorPasos({casos[0].inicio, casos[0].fin}, hasta(2)));
    EXPECT_EQ(avances.join(' '), "1/4 2/4 3/4 4/4 1/4 2/4");
}

// Each table of the report as rows of cells, "key=value" when the cell has a data-valor; the
// whole file must be well-formed.
QMap<QString, QStringList> tablasHtml(const QByteArray& html, int* graficos) {
    QMap<QString, QStringList> tablas;
    QXmlStreamReader xml(html);
    QString tabla, clave;
    QStringList fila;
    while (!xml.atEnd()) {
        xml.readNext();
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.isStartElement() && xml.name() == u"svg")
            ++*graficos;
        else if (xml.isStartElement() && xml.name() == u"table")
            tabla = a.value("id").toString();
        else if (xml.isStartElement() && xml.name() == u"tr")
            fila = a.hasAttribute("data-clave") ? QStringList{a.value("data-clave").toString()}
                                                : QStringList{};
        else if (xml.isStartElement() && (xml.name() == u"td" || xml.name() == u"th")) {
            clave = a.value("data-valor").toString();
            const QString texto = xml.readElementText();
            fila << (a.hasAttribute("data-valor") ? clave : texto);
        } else if (xml.isEndElement() && xml.name() == u"tr" && !tabla.isEmpty())
            tablas[tabla] << fila.join(' ');
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return tablas;
}

TEST_P(PruebaTablero, InformeConLasMismasCifrasEnSusTablas) {
    const PeriodoInforme periodo{el(25, "09:00:00"), el(25, "10:30:00")};
    DatosParqueadero.NombreParqueadero = "Pérez & <Hijos>";
    ASSERT_EQ(GuardarInformeTablero(LeerTablero(periodo)), "tablero_20261025_20261025.html");
    int graficos = 0;
    const auto tablas =
        tablasHtml(LeerArchivo(carpetas.programa + "/tablero_20261025_20261025.html"), &graficos);
    EXPECT_EQ(graficos, 4);
    EXPECT_EQ(
        tablas["cifras"],
        QStringList({"entradas Entradas 3", "salidas Salidas 1", "cobrado Cobrado 0",
                     "pagos_clientes Pagos de clientes 0", "salidas_exentos Salidas de exentos 1",
                     "salidas_clientes Salidas de clientes 0",
                     "tickets_perdidos Tickets perdidos 0", "estancia_media_min Estancia media 10",
                     "estancia_mediana_min Estancia mediana 10", "ocupacion_max Ocupación máxima 3",
                     "ocupacion_max_hora Hora de la ocupación máxima 2026-10-25T10:00:00"}));
    EXPECT_EQ(tablas["ocupacion"],
              QStringList({"Hora Vehículos", "2026-10-25T09:00:00 0", "2026-10-25T10:00:00 3"}));
    EXPECT_EQ(tablas["por-dia"], QStringList({"Día Pagos de clientes", "2026-10-25 0"}));
}

} // namespace
