#include "movimientos/tarifas.h"

#include "bd/recordset.h"
#include "bd/sql.h"
#include "principal/auditar.h"
#include "principal/formatos.h"

namespace {

int64_t contar(const QString& condicion) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT COUNT(*) As Total FROM Tarifas WHERE ") + condicion);
    return rs.Fields(QStringLiteral("Total")).aEntero();
}

QString importeSql(const std::optional<int64_t>& v) {
    return v ? QString::number(*v) : QStringLiteral("Null");
}

// The rate's rules in place of those it had; the statements that changed something.
QStringList escribirReglas(int64_t idTarifa, const ReglasTarifa& reglas) {
    const QString id = QString::number(idTarifa);
    QStringList sentencias;
    for (const char* tabla :
         {"ReglasTarifas", "FranjasTarifas", "TramosTarifas", "TarifasPlanas"}) {
        const QString borrado =
            QStringLiteral("DELETE FROM %1 WHERE id_tarifa = ").arg(QLatin1String(tabla)) + id;
        if (EjecutarCambio(borrado) > 0)
            sentencias << borrado;
    }
    if (reglas.vacias())
        return sentencias;
    sentencias << QStringLiteral("INSERT INTO ReglasTarifas (id_tarifa,MinutosGracia,CobroMinimo,"
                                 "TopeCobro,TopeDiaCalendario,ValorTicketPerdido,MinutosLibres,"
                                 "TopeSemanal,MinutosBloque,PrecioBloque,ValorDiaTramos) VALUES "
                                 "(%1,%2,%3,%4,%5,%6,%7,%8,%9,%10,%11)")
                      .arg(id)
                      .arg(reglas.gracia)
                      .arg(importeSql(reglas.minimo), importeSql(reglas.tope),
                           QLatin1String(reglas.topeDiaCalendario ? "True" : "False"),
                           importeSql(reglas.ticketPerdido),
                           importeSql(reglas.libres > 0 ? std::optional(reglas.libres)
                                                        : std::nullopt),
                           importeSql(reglas.topeSemanal),
                           importeSql(reglas.precioBloque ? std::optional(reglas.minutosBloque)
                                                          : std::nullopt),
                           importeSql(reglas.precioBloque), importeSql(reglas.diaTrasTramos));
    ExigirUnaFila(sentencias.last());
    for (const TarifaPlana& p : reglas.planas) {
        sentencias << QStringLiteral(
                          "INSERT INTO TarifasPlanas (id_tarifa,NombrePlana,EntradaDesde,"
                          "EntradaHasta,SalidaHasta,DiasSemana,ValorPlano) VALUES "
                          "(%1,%2,%3,%4,%5,%6,%7)")
                          .arg(id, Texto(p.nombre))
                          .arg(p.desde)
                          .arg(p.hasta)
                          .arg(p.salidaHasta ? QString::number(*p.salidaHasta)
                                             : QStringLiteral("Null"))
                          .arg(p.dias)
                          .arg(p.valor);
        ExigirUnaFila(sentencias.last());
    }
    for (const TramoTarifa& t : reglas.tramos) {
        sentencias << QStringLiteral(
                          "INSERT INTO TramosTarifas (id_tarifa,MinutosTramo,ValorTramo) "
                          "VALUES (%1,%2,%3)")
                          .arg(id)
                          .arg(t.hasta)
                          .arg(t.valor);
        ExigirUnaFila(sentencias.last());
    }
    for (const FranjaTarifa& f : reglas.franjas) {
        sentencias << QStringLiteral("INSERT INTO FranjasTarifas (id_tarifa,NombreFranja,"
                                     "MinutoInicio,MinutoFin,DiasSemana,TarifaFranja,ValorFijo,"
                                     "MaximoFranja) VALUES (%1,%2,%3,%4,%5,%6,%7,%8)")
                          .arg(id, Texto(f.nombre))
                          .arg(f.inicio)
                          .arg(f.fin)
                          .arg(f.dias)
                          .arg(importeSql(f.tarifa), importeSql(f.fijo), importeSql(f.maximo));
        ExigirUnaFila(sentencias.last());
    }
    return sentencias;
}

} // namespace

Cambio<> GrabarTarifa(const DatosTarifa& datos) {
    return EnTransaccion([&] {
        // The check and the insert together, so two stations cannot both add the same rate.
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM Tarifas WHERE Tarifa=") +
                QString::number(datos.tarifa) + QStringLiteral(" AND Tiempo=") +
                QString::number(datos.tiempo) + QStringLiteral(" AND DescrTarifa=") +
                Texto(datos.descripcion));
        if (!rs.Eof())
            return Rechazo(Resultado::TarifaRepetida);
        const QString insercion = QStringLiteral("INSERT INTO Tarifas (Tarifa,Tiempo,DescrTarifa,"
                                                 "MostrarEnEntradas,MostrarEnSalidas) VALUES (") +
                                  Texto(QString::number(datos.tarifa)) + QLatin1Char(',') +
                                  Texto(QString::number(datos.tiempo)) + QLatin1Char(',') +
                                  Texto(datos.descripcion) + QStringLiteral(",True,True)");
        ExigirUnaFila(insercion);
        return Auditado(
            QStringLiteral("Alta de tarifa"),
            Hecho(QStringList{insercion} + escribirReglas(Recordset::UltimoId(), datos.reglas)));
    });
}

Cambio<bool> ModificarTarifa(int64_t idTarifa, const DatosTarifa& datos) {
    const QString donde = QStringLiteral(" WHERE id_tarifa=") + QString::number(idTarifa);
    return EnTransaccion([&] {
        const QString cambio =
            QStringLiteral("UPDATE Tarifas SET Tarifa=") + QString::number(datos.tarifa) +
            QStringLiteral(",Tiempo=") + QString::number(datos.tiempo) +
            QStringLiteral(",DescrTarifa=") + Texto(datos.descripcion) +
            QStringLiteral(",MostrarEnEntradas=") + QString::number(datos.enEntradas) +
            QStringLiteral(",MostrarEnsalidas=") + QString::number(datos.enSalidas) + donde;
        if (EjecutarCambio(cambio) != 1)
            return Rechazo<bool>(Resultado::NoEncontrado);
        const int64_t enEntradas = contar(QStringLiteral("MostrarEnEntradas=True"));
        const int64_t enSalidas = contar(QStringLiteral("MostrarEnSalidas=True"));
        const QStringList reglas = escribirReglas(idTarifa, datos.reglas);
        if (enEntradas > 0 && enSalidas > 0)
            return Auditado(QStringLiteral("Cambio de tarifa"),
                            Hecho<bool>(QStringList{cambio} + reglas, false));
        const QString ambas =
            QStringLiteral("UPDATE Tarifas SET MostrarEnEntradas=True,MostrarEnSalidas=True") +
            donde;
        ExigirUnaFila(ambas);
        return Auditado(QStringLiteral("Cambio de tarifa"),
                        Hecho<bool>(QStringList{cambio, ambas} + reglas, true));
    });
}

Cambio<> EliminarTarifa(int64_t idTarifa) {
    return EnTransaccion([&] {
        const QString borrado =
            QStringLiteral("DELETE FROM Tarifas WHERE id_tarifa = ") + QString::number(idTarifa);
        if (EjecutarCambio(borrado) != 1)
            return Rechazo(Resultado::NoEncontrado);
        return Auditado(QStringLiteral("Baja de tarifa"),
                        Hecho(QStringList{borrado} + escribirReglas(idTarifa, {})));
    });
}

namespace {

std::optional<int64_t> importe(const Valor& campo) {
    return campo.esNulo() ? std::nullopt : std::optional<int64_t>(campo.aEntero());
}

} // namespace

QVector<TarifaListada> TarifasPorDescripcion() {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM Tarifas ORDER BY DescrTarifa ASC"));
    QVector<TarifaListada> tarifas;
    for (; !rs.Eof(); rs.MoveNext())
        tarifas.push_back({rs.Fields(QStringLiteral("id_tarifa")).aEntero(),
                           rs.Fields(QStringLiteral("DescrTarifa")).aTexto(),
                           rs.Fields(QStringLiteral("Tarifa")).aEntero(),
                           rs.Fields(QStringLiteral("MostrarEnEntradas")).aBandera(),
                           rs.Fields(QStringLiteral("MostrarEnSalidas")).aBandera()});
    return tarifas;
}

ReglasTarifa LeerReglasTarifa(int64_t idTarifa) {
    ReglasTarifa reglas;
    const QString id = QString::number(idTarifa);
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM ReglasTarifas WHERE id_tarifa = ") + id);
    // Tiers, flats and bands are written only beside a row of rules: a plain rate has none, and
    // its exits skip their three reads.
    if (rs.Eof())
        return reglas;
    reglas.gracia = rs.Fields(QStringLiteral("MinutosGracia")).aEntero();
    reglas.minimo = importe(rs.Fields(QStringLiteral("CobroMinimo")));
    reglas.tope = importe(rs.Fields(QStringLiteral("TopeCobro")));
    reglas.topeDiaCalendario = rs.Fields(QStringLiteral("TopeDiaCalendario")).aBandera();
    reglas.ticketPerdido = importe(rs.Fields(QStringLiteral("ValorTicketPerdido")));
    reglas.libres = importe(rs.Fields(QStringLiteral("MinutosLibres"))).value_or(0);
    reglas.topeSemanal = importe(rs.Fields(QStringLiteral("TopeSemanal")));
    reglas.minutosBloque = importe(rs.Fields(QStringLiteral("MinutosBloque"))).value_or(0);
    reglas.precioBloque = importe(rs.Fields(QStringLiteral("PrecioBloque")));
    reglas.diaTrasTramos = importe(rs.Fields(QStringLiteral("ValorDiaTramos")));
    rs.Close();
    rs.Open(QStringLiteral("SELECT * FROM TramosTarifas WHERE id_tarifa = ") + id +
            QStringLiteral(" ORDER BY MinutosTramo"));
    for (; !rs.Eof(); rs.MoveNext())
        reglas.tramos << TramoTarifa{rs.Fields(QStringLiteral("MinutosTramo")).aEntero(),
                                     rs.Fields(QStringLiteral("ValorTramo")).aEntero()};
    rs.Close();
    rs.Open(QStringLiteral("SELECT * FROM TarifasPlanas WHERE id_tarifa = ") + id +
            QStringLiteral(" ORDER BY id_plana"));
    for (; !rs.Eof(); rs.MoveNext()) {
        const auto minuto = [&](const char* campo) {
            return static_cast<int>(rs.Fields(QLatin1String(campo)).aEntero());
        };
        const auto salida = importe(rs.Fields(QStringLiteral("SalidaHasta")));
        reglas.planas << TarifaPlana{rs.Fields(QStringLiteral("NombrePlana")).aTexto(),
                                     minuto("EntradaDesde"),
                                     minuto("EntradaHasta"),
                                     minuto("DiasSemana"),
                                     salida ? std::optional<int>(static_cast<int>(*salida))
                                            : std::nullopt,
                                     rs.Fields(QStringLiteral("ValorPlano")).aEntero()};
    }
    rs.Close();
    rs.Open(QStringLiteral("SELECT * FROM FranjasTarifas WHERE id_tarifa = ") + id +
            QStringLiteral(" ORDER BY id_franja"));
    for (; !rs.Eof(); rs.MoveNext())
        reglas.franjas << FranjaTarifa{
            rs.Fields(QStringLiteral("NombreFranja")).aTexto(),
            static_cast<int>(rs.Fields(QStringLiteral("MinutoInicio")).aEntero()),
            static_cast<int>(rs.Fields(QStringLiteral("MinutoFin")).aEntero()),
            static_cast<int>(rs.Fields(QStringLiteral("DiasSemana")).aEntero()),
            importe(rs.Fields(QStringLiteral("TarifaFranja"))),
            importe(rs.Fields(QStringLiteral("ValorFijo"))),
            importe(rs.Fields(QStringLiteral("MaximoFranja")))};
    return reglas;
}

namespace {

const QString kDias = QStringLiteral("LMXJVSD");

std::optional<int> horaEstricta(const QString& texto) {
    const QStringList partes = texto.split(QLatin1Char(':'));
    if (partes.size() != 2 || partes[0].size() != 2 || partes[1].size() != 2)
        return std::nullopt;
    const auto h = EnteroEstricto(partes[0]), m = EnteroEstricto(partes[1]);
    if (!h || !m || *h > 23 || *m > 59)
        return std::nullopt;
    return static_cast<int>(*h * 60 + *m);
}

std::optional<FranjaTarifa> franjaEstricta(const QString& texto) {
    QStringList p = texto.simplified().split(QLatin1Char(' '));
    std::optional<int64_t> maximo;
    if (p.size() > 2 && QStringList({QStringLiteral("máx"), QStringLiteral("max")})
                            .contains(p[p.size() - 2], Qt::CaseInsensitive)) {
        maximo = ImporteEstricto(p.takeLast());
        p.removeLast();
        if (!maximo || *maximo == 0 || !ImporteCabe(*maximo))
            return std::nullopt;
    }
    if (p.size() != 4 &&
        !(p.size() == 5 && p[3].compare(QLatin1String("fijo"), Qt::CaseInsensitive) == 0))
        return std::nullopt;
    FranjaTarifa f;
    f.nombre = p[0];
    f.maximo = maximo;
    const QStringList horas = p[1].split(QLatin1Char('-'));
    const auto inicio = horas.size() == 2 ? horaEstricta(horas[0]) : std::nullopt;
    const auto fin = horas.size() == 2 ? horaEstricta(horas[1]) : std::nullopt;
    const auto valor = ImporteEstricto(p.last());
    if (!inicio || !fin || !valor || !ImporteCabe(*valor))
        return std::nullopt;
    f.inicio = *inicio;
    f.fin = *fin;
    f.dias = 0;
    for (const QChar c : p[2].toUpper()) {
        const int bit = 1 << kDias.indexOf(c);
        if (kDias.indexOf(c) < 0 || (f.dias & bit) != 0)
            return std::nullopt;
        f.dias |= bit;
    }
    (p.size() == 5 ? f.fijo : f.tarifa) = *valor;
    return f;
}

QString textoImporte(const std::optional<int64_t>& v) {
    return !v ? QString() : *v == 0 ? QStringLiteral("0") : FormatoMiles(*v);
}

QString textoHora(int minutos) {
    return QStringLiteral("%1:%2")
        .arg(minutos / 60, 2, 10, QLatin1Char('0'))
        .arg(minutos % 60, 2, 10, QLatin1Char('0'));
}

// The first block's minutes and price, both or neither; false with the box and its error set.
bool leerBloque(const TextosReglas& t, LecturaReglas& l) {
    const bool conMinutos = !t.minutosBloque.trimmed().isEmpty();
    const bool conPrecio = !t.precioBloque.trimmed().isEmpty();
    const auto minutos = EnteroEstricto(t.minutosBloque);
    const auto precio = ImporteEstricto(t.precioBloque);
    const auto fallo = [&](CajaRegla caja, const QString& error) {
        l.caja = caja;
        l.error = error;
        return false;
    };
    if (conMinutos && (!minutos || *minutos == 0))
        return fallo(CajaRegla::MinutosBloque,
                     QStringLiteral("Los minutos del primer bloque deben ser un número entero "
                                    "mayor que cero"));
    if (conMinutos && *minutos > 1440)
        return fallo(CajaRegla::MinutosBloque,
                     QStringLiteral("El primer bloque no puede durar más de un día (1440 "
                                    "minutos)"));
    if (conPrecio && (!precio || !ImporteCabe(*precio)))
        return fallo(CajaRegla::PrecioBloque,
                     QStringLiteral("El precio del primer bloque debe ser un valor numérico, por "
                                    "ejemplo 1.500"));
    if (conMinutos != conPrecio)
        return fallo(conMinutos ? CajaRegla::PrecioBloque : CajaRegla::MinutosBloque,
                     QStringLiteral("Indique los minutos y el precio del primer bloque, o deje "
                                    "ambos vacíos"));
    if (conPrecio) {
        l.reglas.minutosBloque = *minutos;
        l.reglas.precioBloque = *precio;
    }
    return true;
}

} // namespace

LecturaReglas LeerTextosReglas(const TextosReglas& t) {
    LecturaReglas l;
    const auto fallo = [&](CajaRegla caja, const QString& error) {
        l.caja = caja;
        l.error = error;
        return l;
    };
    const auto importe = [](const QString& texto, std::optional<int64_t>& destino) {
        if (texto.trimmed().isEmpty())
            return true;
        destino = ImporteEstricto(texto);
        return destino && ImporteCabe(*destino);
    };
    // Minutes of a day at most; empty is none.
    const auto minutos = [](const QString& texto, int64_t& destino) {
        if (texto.trimmed().isEmpty())
            return true;
        const auto valor = EnteroEstricto(texto);
        destino = valor.value_or(0);
        return valor && *valor <= 1440;
    };
    const QString deUnDia = QStringLiteral(" deben ser un número entero de minutos, de 0 a 1440");
    if (!minutos(t.gracia, l.reglas.gracia))
        return fallo(CajaRegla::Gracia, QStringLiteral("Los minutos de gracia") + deUnDia);
    if (!minutos(t.libres, l.reglas.libres))
        return fallo(CajaRegla::Libres, QStringLiteral("Los minutos libres") + deUnDia);
    const QString ejemplo = QStringLiteral(" debe ser un valor numérico, por ejemplo 1.500");
    if (!importe(t.minimo, l.reglas.minimo))
        return fallo(CajaRegla::Minimo, QStringLiteral("El cobro mínimo") + ejemplo);
    if (!importe(t.tope, l.reglas.tope) || l.reglas.tope == int64_t(0))
        return fallo(CajaRegla::Tope, QStringLiteral("El tope por periodo") + ejemplo +
                                          QStringLiteral(", mayor que cero"));
    if (!importe(t.topeSemanal, l.reglas.topeSemanal) || l.reglas.topeSemanal == int64_t(0))
        return fallo(CajaRegla::TopeSemanal, QStringLiteral("El tope semanal") + ejemplo +
                                                 QStringLiteral(", mayor que cero"));
    if (!importe(t.ticketPerdido, l.reglas.ticketPerdido))
        return fallo(CajaRegla::TicketPerdido,
                     QStringLiteral("El valor del ticket perdido") + ejemplo);
    if (l.reglas.minimo && l.reglas.tope && *l.reglas.minimo > *l.reglas.tope)
        return fallo(CajaRegla::Minimo,
                     QStringLiteral("El cobro mínimo no puede superar el tope por periodo"));
    if (l.reglas.minimo && l.reglas.topeSemanal && *l.reglas.minimo > *l.reglas.topeSemanal)
        return fallo(CajaRegla::Minimo,
                     QStringLiteral("El cobro mínimo no puede superar el tope semanal"));
    l.reglas.topeDiaCalendario = l.reglas.tope && t.topeDiaCalendario;
    if (!leerBloque(t, l))
        return l;
    const QStringList franjas = t.franjas.split(QLatin1Char(';'));
    for (int i = 0; i < franjas.size(); ++i) {
        if (franjas[i].trimmed().isEmpty() && (i == franjas.size() - 1 || franjas.size() == 1))
            continue;
        const auto franja = franjaEstricta(franjas[i]);
        if (!franja)
            return fallo(CajaRegla::Franjas,
                         QStringLiteral("La franja %1 no es correcta. Escriba cada franja como "
                                        "Nombre HH:MM-HH:MM días [fijo] valor [máx máximo], "
                                        "separadas por punto y coma; por ejemplo: Nocturno "
                                        "20:00-06:00 LMXJVSD fijo 5.000")
                             .arg(i + 1));
        if (franja->maximo && l.reglas.tope && *franja->maximo > *l.reglas.tope)
            return fallo(CajaRegla::Franjas,
                         QStringLiteral("El máximo de la franja %1 (%2) no puede superar el tope "
                                        "por periodo (%3)")
                             .arg(franja->nombre, FormatoMiles(*franja->maximo),
                                  FormatoMiles(*l.reglas.tope)));
        l.reglas.franjas << *franja;
    }
    return l;
}

TextosReglas TextosDeReglas(const ReglasTarifa& r) {
    TextosReglas t;
    t.gracia = r.gracia > 0 ? QString::number(r.gracia) : QString();
    t.libres = r.libres > 0 ? QString::number(r.libres) : QString();
    t.minimo = textoImporte(r.minimo);
    t.tope = textoImporte(r.tope);
    t.topeSemanal = textoImporte(r.topeSemanal);
    t.minutosBloque = r.precioBloque ? QString::number(r.minutosBloque) : QString();
    t.precioBloque = textoImporte(r.precioBloque);
    t.ticketPerdido = textoImporte(r.ticketPerdido);
    t.topeDiaCalendario = r.topeDiaCalendario;
    QStringList franjas;
    for (const FranjaTarifa& f : r.franjas) {
        QString dias;
        for (int d = 0; d < 7; ++d)
            if (f.dias & (1 << d))
                dias += kDias.at(d);
        franjas << QStringList{f.nombre, textoHora(f.inicio) + QLatin1Char('-') + textoHora(f.fin),
                               dias,
                               f.fijo ? QStringLiteral("fijo ") + textoImporte(f.fijo)
                                      : textoImporte(f.tarifa)}
                           .join(QLatin1Char(' ')) +
                       (f.maximo ? QStringLiteral(" máx ") + textoImporte(f.maximo) : QString());
    }
    t.franjas = franjas.join(QStringLiteral("; "));
    return t;
}
