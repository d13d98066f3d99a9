#include "movimientos/codigoticket.h"

#include "bd/conexion.h"
#include "bd/recordset.h"
#include "principal/registros.h"

#include <QMessageAuthenticationCode>

namespace {

// The table of a quasigroup of order 10 with zero diagonal (Damm, 2004).
constexpr int kDamm[10][10] = {{0, 3, 1, 7, 5, 9, 8, 6, 4, 2}, {7, 0, 9, 2, 1, 5, 4, 8, 6, 3},
                               {4, 2, 0, 6, 8, 7, 1, 3, 5, 9}, {1, 7, 5, 0, 9, 8, 3, 4, 2, 6},
                               {6, 1, 2, 3, 0, 4, 5, 9, 7, 8}, {3, 6, 7, 4, 2, 0, 9, 5, 8, 1},
                               {5, 8, 6, 9, 7, 2, 0, 1, 3, 4}, {8, 9, 4, 5, 3, 6, 2, 0, 1, 7},
                               {9, 4, 3, 8, 6, 1, 7, 2, 0, 5}, {2, 5, 8, 1, 4, 3, 6, 7, 9, 0}};

bool soloDigitos(const QString& texto) {
    for (const QChar c : texto)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// The first bytes of HMAC-SHA-256 of the key's digits, as kDigitosFirma digits.
QString firma(const QString& digitosClave, const QByteArray& clave) {
    const QByteArray hmac = QMessageAuthenticationCode::hash(digitosClave.toLatin1(), clave,
                                                             QCryptographicHash::Sha256);
    uint64_t n = 0;
    for (int i = 0; i < 8; ++i)
        n = (n << 8) | static_cast<uint8_t>(hmac[i]);
    uint64_t modulo = 1;
    for (int i = 0; i < kDigitosFirma; ++i)
        modulo *= 10;
    return QStringLiteral("%1").arg(n % modulo, kDigitosFirma, 10, QLatin1Char('0'));
}

// Reads on the caller's open connection, or opens and closes one of its own.
template <class Leer> auto conConexion(Leer leer) {
    const bool abierta = Conexion.State() == 1;
    if (!abierta)
        AbrirConexion();
    auto leido = leer();
    if (!abierta)
        CerrarConexion();
    return leido;
}

} // namespace

int DigitoDamm(const QString& digitos) {
    // Only ASCII digits index the table.
    if (!soloDigitos(digitos))
        return -1;
    int interino = 0;
    for (const QChar c : digitos)
        interino = kDamm[interino][c.unicode() - '0'];
    return interino;
}

QString CodigoTicket(int64_t idEntrada, const QByteArray& clave) {
    const QString digitosClave =
        QStringLiteral("%1").arg(idEntrada, kDigitosClave, 10, QLatin1Char('0'));
    if (clave.isEmpty() || idEntrada < 0 || digitosClave.size() != kDigitosClave)
        return QString();
    const QString cuerpo = digitosClave + firma(digitosClave, clave);
    return cuerpo + QString::number(DigitoDamm(cuerpo));
}

std::optional<int64_t> EntradaDeCodigo(const QString& codigo, const QByteArray& clave) {
    if (clave.isEmpty() || codigo.size() != kLargoCodigoTicket ||
        DigitoDamm(codigo) != 0)
        return std::nullopt;
    const QString digitosClave = codigo.left(kDigitosClave);
    // Every digit compared, so a forger learns nothing from how long the comparison took.
    const QString esperada = firma(digitosClave, clave);
    int diferencia = 0;
    for (int i = 0; i < kDigitosFirma; ++i)
        diferencia |= esperada[i].unicode() ^ codigo[kDigitosClave + i].unicode();
    if (diferencia != 0)
        return std::nullopt;
    return digitosClave.toLongLong();
}

QByteArray ClaveTickets() {
    const QByteArray clave = conConexion([] {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT TOP 1 Clave FROM ClaveTicket ORDER BY id_claveticket"));
        return rs.Eof()
                   ? QByteArray()
                   : QByteArray::fromHex(rs.Fields(QStringLiteral("Clave")).aTexto().toLatin1());
    });
    if (clave.isEmpty())
        throw ErrorBD(QStringLiteral("Error de base de datos"),
                      QStringLiteral("falta la clave de los códigos de ticket"));
    return clave;
}

EstadoTicket BuscarTicket(int64_t idEntrada) {
    const QString id = QString::number(idEntrada);
    return conConexion([&id] {
        EstadoTicket estado;
        Recordset rs;
        rs.Open(QStringLiteral(
                    "SELECT Placa, DescrVeh, Observaciones, FechaEntrada FROM Entradas WHERE "
                    "id_entrada = ") +
                id);
        if (!rs.Eof()) {
            estado.lugar = EstadoTicket::Dentro;
            estado.placa = rs.Fields(QStringLiteral("Placa")).aTexto();
            estado.descrVeh = rs.Fields(QStringLiteral("DescrVeh")).aTexto();
            estado.observaciones = rs.Fields(QStringLiteral("Observaciones")).aTexto();
            estado.fecha = rs.Fields(QStringLiteral("FechaEntrada")).aFecha();
        } else {
            rs.Open(QStringLiteral(
                        "SELECT id_salida, NroTicket, NDocumento, Placa, FechaSalida FROM Salidas "
                        "WHERE id_salida IN "
                        "(SELECT id_salida FROM SalidasEntrada WHERE id_entrada = ") +
                    id + QLatin1Char(')'));
            if (!rs.Eof()) {
                const QString documento = rs.Fields(QStringLiteral("NDocumento")).aTexto();
                estado.lugar = EstadoTicket::Salio;
                estado.placa = rs.Fields(QStringLiteral("Placa")).aTexto();
                estado.idSalida = rs.Fields(QStringLiteral("id_salida")).aEntero();
                estado.fecha = rs.Fields(QStringLiteral("FechaSalida")).aFecha();
                estado.numeroSalida =
                    DatosParqueadero.NombreDocumento + QStringLiteral(" # ") +
                    (documento.isEmpty() ? rs.Fields(QStringLiteral("NroTicket")).aTexto()
                                         : documento);
            }
        }
        return estado;
    });
}
