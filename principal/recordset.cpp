#include "recordset.h"

#include "conexion.h"
#include "formatos.h"
#include "jet.h"

#include <QHash>
#include <cmath>
#include <sqlite3.h>

Valor Valor::texto(const QString& t) {
    Valor v;
    v.tipo_ = Tipo::Texto;
    v.dato_ = t;
    return v;
}

Valor Valor::numero(double n) {
    Valor v;
    v.tipo_ = Tipo::Numero;
    v.dato_ = n;
    return v;
}

Valor Valor::fecha(const QDateTime& f) {
    Valor v;
    v.tipo_ = Tipo::Fecha;
    v.dato_ = f;
    return v;
}

Valor Valor::bandera(bool b) {
    Valor v;
    v.tipo_ = Tipo::Bandera;
    v.dato_ = b;
    return v;
}

QString Valor::aTexto() const {
    switch (tipo_) {
    case Tipo::Nulo:
        return QString();
    case Tipo::Texto:
        return dato_.toString();
    case Tipo::Numero: {
        const double n = dato_.toDouble();
        if (n == std::floor(n) && std::fabs(n) < 1e15)
            return QString::number(static_cast<qint64>(n));
        return QString::number(n, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
    }
    case Tipo::Fecha:
        return FechaHoraTexto(dato_.toDateTime());
    case Tipo::Bandera:
        return dato_.toBool() ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    }
    return QString();
}

double Valor::aNumero() const {
    switch (tipo_) {
    case Tipo::Numero:
        return dato_.toDouble();
    case Tipo::Bandera:
        return dato_.toBool() ? -1 : 0;
    case Tipo::Texto:
        return ValorNumerico(dato_.toString());
    default:
        return 0;
    }
}

int64_t Valor::aEntero() const { return static_cast<int64_t>(RedondeoPar(aNumero())); }

QDateTime Valor::aFecha() const {
    if (tipo_ == Tipo::Fecha)
        return dato_.toDateTime();
    if (tipo_ == Tipo::Texto)
        return LeerFechaGuardada(dato_.toString()).value_or(QDateTime());
    return QDateTime();
}

bool Valor::aBandera() const {
    if (tipo_ == Tipo::Bandera)
        return dato_.toBool();
    return aNumero() != 0;
}

namespace {

// Reads "yyyy-mm-dd hh:mm:ss" at fixed positions; the hot path of every date column.
QDateTime leerIso(const unsigned char* t, int largo) {
    auto num = [t](int desde, int cifras) {
        int n = 0;
        for (int i = desde; i < desde + cifras; ++i)
            n = n * 10 + (t[i] - '0');
        return n;
    };
    if (largo == 19)
        return QDateTime(QDate(num(0, 4), num(5, 2), num(8, 2)),
                         QTime(num(11, 2), num(14, 2), num(17, 2)));
    return LeerFechaGuardada(QString::fromUtf8(reinterpret_cast<const char*>(t), largo))
        .value_or(QDateTime());
}

enum class Declarado { Otro, Fecha, Bandera };

Declarado tipoDeclarado(sqlite3_stmt* st, int col) {
    const char* d = sqlite3_column_decltype(st, col);
    if (!d)
        return Declarado::Otro;
    if (qstricmp(d, "DATETIME") == 0)
        return Declarado::Fecha;
    if (qstricmp(d, "YESNO") == 0)
        return Declarado::Bandera;
    return Declarado::Otro;
}

Valor leerValor(sqlite3_stmt* st, int col, Declarado declarado) {
    switch (sqlite3_column_type(st, col)) {
    case SQLITE_NULL:
        return Valor::nulo();
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        if (declarado == Declarado::Bandera)
            return Valor::bandera(sqlite3_column_int64(st, col) != 0);
        return Valor::numero(sqlite3_column_double(st, col));
    default: {
        const unsigned char* t = sqlite3_column_text(st, col);
        const int largo = sqlite3_column_bytes(st, col);
        if (declarado == Declarado::Fecha)
            return Valor::fecha(leerIso(t, largo));
        return Valor::texto(QString::fromUtf8(reinterpret_cast<const char*>(t), largo));
    }
    }
}

// Names as Jet's SELECT * gives them: a name two tables share reads "Table.column".
QStringList nombresColumnas(sqlite3_stmt* st) {
    const int n = sqlite3_column_count(st);
    QStringList nombres;
    QHash<QString, int> veces;
    for (int i = 0; i < n; ++i) {
        nombres << QString::fromUtf8(sqlite3_column_name(st, i));
        ++veces[nombres.last().toLower()];
    }
    for (int i = 0; i < n; ++i) {
        const char* tabla = sqlite3_column_table_name(st, i);
        if (tabla && veces.value(nombres[i].toLower()) > 1)
            nombres[i] = QString::fromUtf8(tabla) + QLatin1Char('.') + nombres[i];
    }
    return nombres;
}

[[noreturn]] void fallo(sqlite3* db, const QString& sql) {
    throw ErrorBD(QStringLiteral("Error de base de datos"),
                  QString::fromUtf8(sqlite3_errmsg(db)) + QLatin1String(" [") + sql +
                      QLatin1Char(']'));
}

bool soloBlancos(const char* cola) {
    for (; cola && *cola; ++cola)
        if (!isspace(static_cast<unsigned char>(*cola)) && *cola != ';')
            return false;
    return true;
}

} // namespace

void Recordset::Open(const QString& sql) {
    Close();
    sqlite3* db = Conexion.manejador();
    Conexion.contarSentencia();
    const QByteArray texto = TraducirJet(sql).toUtf8();
    sqlite3_stmt* st = nullptr;
    const char* cola = nullptr;
    if (sqlite3_prepare_v2(db, texto.constData(), texto.size(), &st, &cola) != SQLITE_OK)
        fallo(db, sql);
    if (!st || !soloBlancos(cola)) {
        sqlite3_finalize(st);
        throw ErrorBD(QStringLiteral("Error de base de datos"),
                      QStringLiteral("se esperaba una sola sentencia [%1]").arg(sql));
    }
    const int columnas = sqlite3_column_count(st);
    QVector<Declarado> declarados(columnas);
    for (int c = 0; c < columnas; ++c)
        declarados[c] = tipoDeclarado(st, c);
    nombres_ = nombresColumnas(st);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        QVector<Valor> fila(columnas);
        for (int c = 0; c < columnas; ++c)
            fila[c] = leerValor(st, c, declarados[c]);
        filas_.append(std::move(fila));
    }
    if (rc != SQLITE_DONE) {
        sqlite3_finalize(st);
        filas_.clear();
        fallo(db, sql);
    }
    sqlite3_finalize(st);
    abierto_ = true;
    fila_ = 0;
}

void Recordset::Close() {
    abierto_ = false;
    nombres_.clear();
    filas_.clear();
    fila_ = -1;
}

int Recordset::indiceCampo(const QString& nombre) const {
    for (int i = 0; i < nombres_.size(); ++i)
        if (nombres_[i].compare(nombre, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const Valor& Recordset::Fields(const QString& nombre) const {
    const int i = indiceCampo(nombre);
    if (i < 0)
        throw ErrorBD(QStringLiteral("No se encuentra el campo %1").arg(nombre));
    if (EOF())
        throw ErrorBD(QStringLiteral("No hay registro actual"), nombre);
    return filas_[fila_][i];
}

int64_t Recordset::UltimoId() { return sqlite3_last_insert_rowid(Conexion.manejador()); }

int Recordset::FilasAfectadas() { return sqlite3_changes(Conexion.manejador()); }
