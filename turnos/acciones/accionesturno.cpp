#include "turnos/acciones/accionesturno.h"

#include "acceso/parqueadero.h"
#include "bd/conexion.h"
#include "principal/formatos.h"
#include "principal/registros.h"
#include "principal/servicios.h"
#include "principal/sucesos.h"
#include "turnos/rastroauditoria.h"
#include "turnos/turnos.h"

#include <QRegularExpression>

namespace {

const QString kTituloAbrir = QStringLiteral("ABRIR TURNO");
const QString kTituloCerrar = QStringLiteral("CERRAR TURNO");
const QString kTituloReabrir = QStringLiteral("REABRIR TURNO");
const QString kTituloVerificar = QStringLiteral("VERIFICAR AUDITORÍA");

std::optional<Turno> turnoAbierto() {
    AbrirConexion();
    auto turno = TurnoAbierto();
    CerrarConexion();
    return turno;
}

// The strict money parse of every amount box; a wrong amount is logged and asked for again,
// with the reason above the question, until it is right or the box is emptied.
std::optional<int64_t> pedirImporte(const QString& pregunta, const QString& titulo,
                                    const QString& que) {
    QString motivo;
    for (;;) {
        const QString texto = Servicios().dialogos->entrada(motivo + pregunta, titulo);
        if (texto.isEmpty())
            return std::nullopt;
        const auto valor = ImporteEstricto(texto);
        if (valor && ImporteCabe(*valor))
            return valor;
        Registrar(QStringLiteral("Mensaje: Valor incorrecto en ") + que + QStringLiteral(": -") +
                  texto + QLatin1Char('-'));
        motivo = QStringLiteral("El valor indicado para ") + que +
                 QStringLiteral(" no es correcto: ") + texto + kCrLf + kCrLf;
    }
}

void imprimirCierre(const QStringList& lineas) {
    if (!Servicios().impresora->imprimir(TrabajoCierreTurno(lineas))) {
        Registrar(QStringLiteral("Mensaje: No se pudo imprimir ni guardar el cierre de turno"));
        Informar(QStringLiteral("No se pudo imprimir ni guardar el cierre de turno; el cierre "
                                "quedó grabado y puede consultarse en Reimprimir Tickets"));
    }
}

// The anchors printed on closes, as the owner types them; none for an empty box. A malformed
// one is told, and the box asked again with what was typed.
QVector<AnclaAuditoria> pedirAnclas() {
    static const QRegularExpression separadores(QStringLiteral("[\\s,]+"));
    QString texto;
    for (;;) {
        texto = Servicios().dialogos->entrada(
            QStringLiteral("Anclas de auditoría impresas en los cierres, para comprobar que la "
                           "auditoría aún pasa por ellas (opcional; varias separadas por espacios "
                           "o comas, por ejemplo 1234:0123456789abcdef)"),
            kTituloVerificar, texto);
        QVector<AnclaAuditoria> anclas;
        QString incorrecta;
        for (const QString& parte : texto.split(separadores, Qt::SkipEmptyParts)) {
            const auto ancla = LeerAncla(parte);
            if (!ancla) {
                incorrecta = parte;
                break;
            }
            anclas << *ancla;
        }
        if (incorrecta.isEmpty())
            return anclas;
        Informar(AnclaIncorrecta(incorrecta), kTituloVerificar);
    }
}

bool nivelUno() {
    if (SesionActual.NivelAcceso == QLatin1String("1"))
        return true;
    Informar(QStringLiteral("Solo un usuario de nivel 1 puede hacer esta operación"));
    return false;
}

} // namespace

namespace {

// Asks for the float and opens the shift; false when the box was emptied.
bool abrirConFondo() {
    const auto fondo = pedirImporte(QStringLiteral("Indique el fondo inicial de caja (el efectivo "
                                                   "con que abre el turno)"),
                                    kTituloAbrir, QStringLiteral("el fondo inicial"));
    if (!fondo)
        return false;
    const Cambio<Turno> cambio = AbrirTurno(*fondo);
    if (!cambio.hecho()) {
        Informar(QStringLiteral("Ya tiene un turno abierto en esta estación"));
        return true;
    }
    Registrar(QStringLiteral("Se abre el turno %1 con fondo inicial %2")
                  .arg(cambio.valor.numero)
                  .arg(*fondo),
              cambio.sentencias);
    Informar(QStringLiteral("Turno %1 abierto con fondo inicial ").arg(cambio.valor.numero) +
                 ImporteMoneda(*fondo),
             kTituloAbrir);
    return true;
}

} // namespace

void PedirAbrirTurno(bool alIngresar) {
    if (const auto turno = turnoAbierto()) {
        if (!alIngresar)
            Informar(
                QStringLiteral("Ya tiene abierto el turno %1 en esta estación").arg(turno->numero));
        return;
    }
    abrirConFondo();
}

bool AsegurarTurno(const QString& desde) {
    if (turnoAbierto() || abrirConFondo())
        return true;
    Registrar(QStringLiteral("Mensaje: ") + kSinTurnoParaCobrar + QStringLiteral("; ") + desde);
    Informar(kSinTurnoParaCobrar, kTituloAbrir);
    return false;
}

void PedirCerrarTurno() {
    if (!turnoAbierto()) {
        Informar(QStringLiteral("No tiene un turno abierto en esta estación"), kTituloCerrar);
        return;
    }
    // Blind: the count comes first, and nothing of what is expected is shown or logged before.
    const auto contado =
        pedirImporte(QStringLiteral("Cuente el efectivo de la caja e indique el total contado"),
                     kTituloCerrar, QStringLiteral("el efectivo contado"));
    if (!contado)
        return;
    const Cambio<CierreTurno> cambio = CerrarTurno(*contado);
    if (!cambio.hecho()) {
        Informar(QStringLiteral("No tiene un turno abierto en esta estación"), kTituloCerrar);
        return;
    }
    const QStringList lineas = LineasCierre(cambio.valor);
    Registrar(QStringLiteral("Se cierra el turno %1").arg(cambio.valor.turno.numero),
              cambio.sentencias + lineas);
    imprimirCierre(lineas);
    Servicios().dialogos->listado(lineas, kTituloCerrar, [lineas] { imprimirCierre(lineas); });
}

bool OfrecerCierreTurno() {
    if (!turnoAbierto())
        return true;
    if (!PreguntarSiNo(QStringLiteral("Tiene un turno abierto en esta estación. ¿Desea cerrarlo "
                                      "antes de cambiar de usuario?"),
                       kTituloCerrar)) {
        Registrar(QStringLiteral("Cambio de usuario con el turno abierto"));
        return true;
    }
    PedirCerrarTurno();
    return !turnoAbierto();
}

void PedirReabrirTurno() {
    if (!nivelUno())
        return;
    Dialogos& d = *Servicios().dialogos;
    const QString estacion = d.entrada(QStringLiteral("Estación del turno a reabrir"),
                                       kTituloReabrir, ConfigInicio.PuntoControl);
    if (estacion.isEmpty())
        return;
    const QString numeroTexto =
        d.entrada(QStringLiteral("Número del turno a reabrir"), kTituloReabrir);
    if (numeroTexto.isEmpty())
        return;
    const auto numero = EnteroEstricto(numeroTexto);
    if (!numero) {
        Informar(QStringLiteral("El número de turno indicado no es correcto: ") + numeroTexto);
        return;
    }
    const QString motivo =
        d.entrada(QStringLiteral("Motivo de la reapertura (queda registrado)"), kTituloReabrir)
            .trimmed();
    if (motivo.isEmpty()) {
        Informar(QStringLiteral("Sin un motivo no se reabre el turno"), kTituloReabrir);
        return;
    }
    const Cambio<> cambio = ReabrirTurno(estacion, *numero, motivo);
    switch (cambio.resultado) {
    case Resultado::Hecho:
        Registrar(
            QStringLiteral("Se reabre el turno %1 de %2; motivo: ").arg(*numero).arg(estacion) +
                motivo,
            cambio.sentencias);
        Informar(QStringLiteral("Turno %1 de %2 reabierto").arg(*numero).arg(estacion),
                 kTituloReabrir);
        return;
    case Resultado::SinTurno:
        Informar(QStringLiteral("El turno %1 de %2 está abierto").arg(*numero).arg(estacion),
                 kTituloReabrir);
        return;
    case Resultado::TurnoYaAbierto:
        Informar(QStringLiteral("El cajero de ese turno tiene otro turno abierto en %1; ciérrelo "
                                "antes de reabrir este")
                     .arg(estacion),
                 kTituloReabrir);
        return;
    default:
        Informar(QStringLiteral("No existe el turno %1 de %2").arg(*numero).arg(estacion),
                 kTituloReabrir);
    }
}

void PedirVerificarAuditoria() {
    if (!nivelUno())
        return;
    const QVector<AnclaAuditoria> anclas = pedirAnclas();
    AbrirConexion();
    const VerificacionAuditoria v = VerificarAuditoria(anclas);
    CerrarConexion();
    Registrar(QStringLiteral("Verificación de la auditoría: ") + v.mensaje());
    Servicios().dialogos->mensaje(v.mensaje(), kTituloVerificar,
                                  v.integra() ? Icono::Informacion : Icono::Critico);
}
