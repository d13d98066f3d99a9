#include "movimientos/correcciones.h"

#include "bd/cambio.h"
#include "bd/conexion.h"
#include "bd/recordset.h"
#include "bd/sql.h"
#include "movimientos/vehiculos.h"
#include "principal/formatos.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"
#include "turnos/acciones/accionesturno.h"
#include "turnos/turnos.h"

#include <optional>

namespace {

const QString kSinCambios = QStringLiteral(
    "No realizó cambios en los valores originales - No se efectuará ninguna modificación");

// What the chain of boxes gathered.
struct DatosCorreccion {
    QString placa;
    QString codigo;
    TarifaVehiculo tarifa;
    QString cobradoPrevio; // exits: as shown, without the currency symbol
    QString cobradoTexto;
    int64_t cobrado = 0;
};

QString prefijo(const FilaACorregir& f) {
    return f.desdeEntradas
               ? QStringLiteral("Modificar Datos (Menú Desplegable Contextual Click Derecho "
                                "sobre Entrada), ")
               : QStringLiteral("Modificar Datos (Menú Desplegable Contextual Click Derecho "
                                "sobre Salida), ");
}

Ofrecidas tarifasOfrecidas(const FilaACorregir& f) {
    return f.desdeEntradas ? Ofrecidas::EnSalidas : Ofrecidas::Todas;
}

// Logs the refusal with its own detail and shows it.
void rechazar(const FilaACorregir& f, const QString& suceso, const QString& mensaje) {
    if (!suceso.isEmpty())
        Registrar(prefijo(f) + QStringLiteral("Mensaje: ") + suceso);
    Informar(mensaje);
}

QString importe(int64_t valor) {
    return valor == 0 ? QStringLiteral("0") : FormatoMiles(valor);
}

// The amount as the confirmation shows it; a text that is not an amount as it stands.
QString importeTexto(const QString& texto) {
    const std::optional<int64_t> valor = ImporteEstricto(texto);
    return DatosParqueadero.SimboloMoneda + (valor ? importe(*valor) : texto);
}

QString entrada(const QString& texto, const QString& titulo, const QString& predeterminado) {
    return Servicios().dialogos->entrada(texto, titulo, predeterminado);
}

bool pedirPlaca(const FilaACorregir& f, DatosCorreccion& c) {
    c.placa = NormalizarPlaca(entrada(
        QStringLiteral("Modifique la Placa") + kCrLf + kCrLf +
            (f.desdeEntradas
                 ? QStringLiteral("A continuación podrá modificar la Tarifa")
                 : QStringLiteral("A continuación podrá modificar la Tarifa y el Valor Cobrado")),
        QStringLiteral("MODIFICAR PLACA"), f.placa));
    if (c.placa.isEmpty())
        return false;
    if (ContarCaracteres(c.placa) > kLargoPlaca) {
        rechazar(f, {}, QStringLiteral("La Placa excede el límite de 10 caracteres"));
        return false;
    }
    if (f.desdeEntradas && c.placa != f.placa && VerificarPlacaDentro(c.placa)) {
        const QString texto = QStringLiteral("La Placa indicada ya existe en las Entradas: ");
        rechazar(f, texto + c.placa, texto + c.placa);
        return false;
    }
    return true;
}

bool pedirTarifa(const FilaACorregir& f, DatosCorreccion& c) {
    QString texto = QStringLiteral("Modifique la Tarifa indicando el Código Numérico de Tarifa de "
                                   "su elección") +
                    kCrLf + kCrLf + ListaTarifasSalida(tarifasOfrecidas(f));
    if (!f.desdeEntradas)
        texto += kCrLf + kCrLf + QStringLiteral("A continuación podrá modificar el Valor Cobrado");
    c.codigo = entrada(texto, QStringLiteral("MODIFICAR - INDIQUE CÓDIGO NUMÉRICO DE TARIFA"),
                       f.fila.idTarifa);
    if (c.codigo.isEmpty())
        return false;
    const std::optional<int64_t> codigo = EnteroEstricto(c.codigo);
    if (!codigo || !ImporteCabe(*codigo)) {
        rechazar(f,
                 QStringLiteral("El valor indicado para la Tarifa no es correcto: -") + c.codigo +
                     QStringLiteral("-"),
                 QStringLiteral("El valor indicado para la Tarifa no es correcto"));
        return false;
    }
    const std::optional<TarifaVehiculo> tarifa = TarifaDeSalida(*codigo, tarifasOfrecidas(f));
    if (!tarifa) {
        const QString texto = QStringLiteral(
            "El valor indicado para la Tarifa no es correcto, no existe el código de la tarifa: ");
        rechazar(f, texto + QStringLiteral("-") + c.codigo + QStringLiteral("-"), texto + c.codigo);
        return false;
    }
    c.tarifa = *tarifa;
    return true;
}

bool pedirCobrado(const FilaACorregir& f, DatosCorreccion& c) {
    c.cobradoPrevio = f.fila.cobrado;
    c.cobradoPrevio.remove(DatosParqueadero.SimboloMoneda);
    c.cobradoTexto = entrada(QStringLiteral("Modifique el Valor Cobrado"),
                             QStringLiteral("MODIFICAR VALOR COBRADO"), c.cobradoPrevio);
    if (c.cobradoTexto.isEmpty())
        return false;
    if (c.cobradoTexto.size() > 10) {
        rechazar(f, {}, QStringLiteral("El Valor Cobrado excede el límite de 9 dígitos"));
        return false;
    }
    // A dot groups thousands, as the list shows amounts; 32 bits is what the column holds.
    const std::optional<int64_t> cobrado = ImporteEstricto(c.cobradoTexto);
    if (!cobrado || !ImporteCabe(*cobrado)) {
        rechazar(f,
                 QStringLiteral("El valor indicado para el Valor Cobrado no es correcto: -") +
                     c.cobradoTexto + QStringLiteral("-"),
                 QStringLiteral("El valor indicado para el Valor Cobrado no es correcto"));
        return false;
    }
    c.cobrado = *cobrado;
    return true;
}

// The confirmation's text, each change logged as it is listed; empty when nothing changed.
QString confirmacion(const FilaACorregir& f, const DatosCorreccion& c) {
    QString cambios;
    const auto anotar = [&](const QString& suceso, const QString& texto) {
        Registrar(prefijo(f) + QStringLiteral("Mensaje de confirmación: ") + suceso);
        cambios += texto;
    };
    if (c.placa != f.placa)
        anotar(QStringLiteral("PLACA A MODIFICAR: ") + f.placa +
                   QStringLiteral(" - PLACA MODIFICADA: ") + c.placa,
               QStringLiteral("PLACA A MODIFICAR: ") + f.placa + kCrLf +
                   QStringLiteral("PLACA MODIFICADA:  ") + c.placa + kCrLf + kCrLf);
    if (c.codigo != f.fila.idTarifa) {
        const QString tarifa = QStringLiteral("TARIFA MODIFICADA: ") + c.codigo +
                               QStringLiteral(" - ") + c.tarifa.descrTarifa +
                               QStringLiteral(" - ") + DatosParqueadero.SimboloMoneda +
                               importe(c.tarifa.tarifa);
        anotar(tarifa, tarifa + kCrLf + kCrLf);
    }
    if (!f.desdeEntradas && c.cobradoTexto != c.cobradoPrevio)
        anotar(QStringLiteral("VALOR COBRADO A MODIFICAR: ") + importeTexto(c.cobradoPrevio) +
                   QStringLiteral(" - VALOR COBRADO MODIFICADO:  ") + importeTexto(c.cobradoTexto),
               QStringLiteral("VALOR COBRADO A MODIFICAR: ") + importeTexto(c.cobradoPrevio) +
                   kCrLf + QStringLiteral("VALOR COBRADO MODIFICADO:  ") +
                   importeTexto(c.cobradoTexto) + kCrLf);
    return cambios.isEmpty() ? QString()
                             : QStringLiteral("¿Está seguro de realizar la modificación?") + kCrLf +
                                   kCrLf + cambios;
}

QString actualizacion(const FilaACorregir& f, const DatosCorreccion& c) {
    const QString valores = QStringLiteral("Placa=") + Texto(c.placa) +
                            QStringLiteral(",id_tarifa=") + QString::number(c.tarifa.idTarifa) +
                            QStringLiteral(",Tarifa=") + QString::number(c.tarifa.tarifa) +
                            QStringLiteral(",Tiempo=") + QString::number(c.tarifa.tiempo) +
                            QStringLiteral(",DescrTarifa=") + Texto(c.tarifa.descrTarifa);
    const QString id = QString::number(f.fila.id);
    return f.desdeEntradas
               ? QStringLiteral("UPDATE Entradas SET ") + valores +
                     QStringLiteral(" WHERE id_entrada = ") + id
               : QStringLiteral("UPDATE Salidas SET ") + valores + QStringLiteral(",Cobrado=") +
                     QString::number(c.cobrado) + QStringLiteral(" WHERE id_salida = ") + id;
}

// Plate, rate and (exits) amount, before or after, as the cashier's shift lists them.
QString datosCorreccion(const FilaACorregir& f, const QString& placa, const QString& tarifa,
                        const QString& cobrado) {
    return QStringLiteral("placa ") + placa + QStringLiteral(", tarifa ") + tarifa +
           (f.desdeEntradas ? QString() : QStringLiteral(", cobrado ") + importeTexto(cobrado));
}

bool cambiaCobrado(const FilaACorregir& f, const DatosCorreccion& c) {
    return !f.desdeEntradas && ImporteEstricto(c.cobradoPrevio) != c.cobrado;
}

// An exit's items explain its amount under its rate: when either changes they would no longer
// add up, so they go and the reprint shows the plain ticket.
QString borradoItems(const FilaACorregir& f, const DatosCorreccion& c) {
    if (f.desdeEntradas ||
        (EnteroEstricto(f.fila.idTarifa) == c.tarifa.idTarifa && !cambiaCobrado(f, c)))
        return {};
    return QStringLiteral("DELETE FROM ItemsSalidas WHERE id_salida = ") +
           QString::number(f.fila.id);
}

// The one UPDATE, the items' removal and the shift's note; another station may have removed the
// row meanwhile.
Cambio<> corregir(const FilaACorregir& f, const DatosCorreccion& c, const QString& sql) {
    return EnTransaccion([&] {
        if (EjecutarCambio(sql) != 1)
            return Rechazo(Resultado::NoEncontrado);
        AnotarCorreccion(
            f.desdeEntradas ? 0 : f.fila.id, c.placa,
            datosCorreccion(f, f.placa, f.fila.idTarifa, c.cobradoPrevio),
            datosCorreccion(f, c.placa, c.codigo, c.cobradoTexto),
            f.desdeEntradas ? 0 : c.cobrado - ImporteEstricto(c.cobradoPrevio).value_or(c.cobrado));
        const QString borrado = borradoItems(f, c);
        if (borrado.isEmpty())
            return Hecho({sql});
        EjecutarCambio(borrado);
        return Hecho({sql, borrado});
    });
}

} // namespace

void ModificarDatos(const FilaACorregir& f) {
    if (f.placa.isEmpty()) {
        Informar(QStringLiteral("1.- Realice un click con el botón izquierdo del ratón/mouse "
                                "sobre la Entrada") +
                 kCrLf + kCrLf +
                 QStringLiteral("2.- Realice un click con el botón derecho para realizar la "
                                "modificación"));
        return;
    }
    DatosCorreccion c;
    if (!pedirPlaca(f, c) || !pedirTarifa(f, c) || (!f.desdeEntradas && !pedirCobrado(f, c)))
        return;
    const QString pregunta = confirmacion(f, c);
    if (pregunta.isEmpty())
        return rechazar(f, kSinCambios, kSinCambios);
    if (cambiaCobrado(f, c) && !AsegurarTurno(prefijo(f)))
        return;
    if (Servicios().dialogos->mensaje(pregunta, QStringLiteral("Vialtor - Modificar Datos Salida"),
                                      Icono::Exclamacion, Boton::Si | Boton::No) != Boton::Si)
        return;
    const QString sql = actualizacion(f, c);
    const Cambio<> cambio = corregir(f, c, sql);
    if (f.fila.refrescar)
        f.fila.refrescar();
    if (!cambio.hecho())
        return rechazar(f,
                        QStringLiteral("El registro ya no existe, no se efectuó ninguna "
                                       "modificación: ") +
                            sql,
                        QStringLiteral("El registro ya no existe: otra estación lo retiró o lo "
                                       "cambió. No se efectuó ninguna modificación."));
    Registrar(prefijo(f) + QStringLiteral("Datos modificados correctamente: "), cambio.sentencias);
    Informar(QStringLiteral("Datos modificados correctamente"));
}
