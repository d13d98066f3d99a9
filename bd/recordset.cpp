#include "bd/recordset.h"

#include "bd/conexion.h"
#include "bd/conversiones.h"
#include "bd/jet.h"
#include "bd/servidor.h"

#include <cmath>
#include <memory>
#include <sqlite3.h>

Valor Valor::texto(const QString& t) {
    Valor v;
    v.tipo_ = Tipo::Texto;
    v.texto_ = t;
    return v;
}

Valor Valor::texto(QString&& t) {
    Valor v;
    v.tipo_ = Tipo::Texto;
    v.texto_ = std::move(t);
    return v;
}

Valor Valor::numero(double n) {
    Valor v;
    v.tipo_ = Tipo::Numero;
    v.numero_ = n;
    return v;
}

// Kept as wall-clock fields in UTC form: building a local QDateTime looks the time zone up,
// and most dates read are only shown.
Valor Valor::fecha(const QDateTime& f) {
    Valor v;
    v.tipo_ = Tipo::Fecha;
    v.fecha_ = f.timeSpec() == Qt::UTC ? f : QDateTime(f.date(), f.time(), Qt::UTC);
    return v;
}

namespace {

// The digits of t[desde, desde + cifras); -1 when one is not a digit.
int cifrasEn(const char* t, int desde, int cifras) {
    int n = 0;
    for (int i = desde; i < desde + cifras; ++i) {
        if (t[i] < '0' || t[i] > '9')
            return -1;
        n = n * 10 + (t[i] - '0');
    }
    return n;
}

QChar* escribirCifras(QChar* p, int64_t n, int cifras) {
    for (int i = cifras - 1; i >= 0; --i, n /= 10)
        p[i] = QLatin1Char(static_cast<char>('0' + n % 10));
    return p + cifras;
}

} // namespace

Valor Valor::fechaGuardada(const char* t, int largo) {
    if (largo == 19 && t[4] == '-' && t[7] == '-' && t[10] == ' ' && t[13] == ':' && t[16] == ':') {
        const int anio = cifrasEn(t, 0, 4), mes = cifrasEn(t, 5, 2), dia = cifrasEn(t, 8, 2),
                  hora = cifrasEn(t, 11, 2), minuto = cifrasEn(t, 14, 2),
                  segundo = cifrasEn(t, 17, 2);
        if (anio >= 1 && QDate::isValid(anio, mes, dia) && QTime::isValid(hora, minuto, segundo)) {
            Valor v;
            v.tipo_ = Tipo::Fecha;
            v.numero_ = static_cast<double>(
                ((((int64_t(anio) * 100 + mes) * 100 + dia) * 100 + hora) * 100 + minuto) * 100 +
                segundo);
            return v;
        }
    }
    return fecha(LeerFechaGuardada(QString::fromUtf8(t, largo)).value_or(QDateTime()));
}

Valor Valor::bandera(bool b) {
    Valor v;
    v.tipo_ = Tipo::Bandera;
    v.numero_ = b ? -1 : 0;
    return v;
}

QString Valor::aTexto() const {
    switch (tipo_) {
    case Tipo::Nulo:
        return QString();
    case Tipo::Texto:
        return texto_;
    case Tipo::Numero:
        if (numero_ == std::floor(numero_) && std::fabs(numero_) < 1e15)
            return QString::number(static_cast<qint64>(numero_));
        return QString::number(numero_, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
    case Tipo::Fecha:
        return numero_ != 0 ? textoDeCifras() : FechaHoraTexto(fecha_);
    case Tipo::Bandera:
        return numero_ != 0 ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    }
    return QString();
}

// "dd/mm/yyyy hh:mm:ss am/pm" from the digits yyyymmddhhmmss, as FechaHoraTexto writes it.
QString Valor::textoDeCifras() const {
    const auto cifras = static_cast<int64_t>(numero_);
    const auto parte = [cifras](int64_t divisor, int64_t modulo) {
        return cifras / divisor % modulo;
    };
    const int64_t hora = parte(10000, 100), hora12 = hora % 12 == 0 ? 12 : hora % 12;
    QString texto(22, Qt::Uninitialized);
    QChar* p = escribirCifras(texto.data(), parte(1000000, 100), 2);
    *p++ = QLatin1Char('/');
    p = escribirCifras(p, parte(100000000, 100), 2);
    *p++ = QLatin1Char('/');
    p = escribirCifras(p, parte(10000000000, 10000), 4);
    *p++ = QLatin1Char(' ');
    p = escribirCifras(p, hora12, 2);
    *p++ = QLatin1Char(':');
    p = escribirCifras(p, parte(100, 100), 2);
    *p++ = QLatin1Char(':');
    p = escribirCifras(p, parte(1, 100), 2);
    *p++ = QLatin1Char(' ');
    *p++ = QLatin1Char(hora < 12 ? 'a' : 'p');
    *p = QLatin1Char('m');
    return texto;
}

double Valor::aNumero() const {
    switch (tipo_) {
    case Tipo::Numero:
    case Tipo::Bandera:
        return numero_;
    case Tipo::Texto:
        return ValorNumerico(texto_);
    default:
        return 0;
    }
}

int64_t Valor::aEntero() const {
    return static_cast<int64_t>(RedondeoPar(aNumero()));
}

bool Valor::mismo(const Valor& otro) const {
    if (tipo_ != otro.tipo_)
        return false;
    switch (tipo_) {
    case Tipo::Nulo:
        return true;
    case Tipo::Texto:
        return texto_ == otro.texto_;
    case Tipo::Fecha:
        return numero_ != 0 && otro.numero_ != 0 ? numero_ == otro.numero_
                                                 : aFecha() == otro.aFecha();
    default:
        return numero_ == otro.numero_;
    }
}

QDateTime Valor::aFecha() const {
    if (tipo_ == Tipo::Fecha && numero_ != 0) {
        const auto c = static_cast<int64_t>(numero_);
        return QDateTime(
            QDate(static_cast<int>(c / 10000000000), c / 100000000 % 100, c / 1000000 % 100),
            QTime(c / 10000 % 100, c / 100 % 100, c % 100));
    }
    if (tipo_ == Tipo::Fecha)
        return QDateTime(fecha_.date(), fecha_.time());
    if (tipo_ == Tipo::Texto)
        return LeerFechaGuardada(texto_).value_or(QDateTime());
    return QDateTime();
}

bool Valor::aBandera() const {
    return aNumero() != 0;
}

namespace {

enum class Declarado { Otro, Texto, Fecha, Bandera };

Declarado tipoDeclarado(sqlite3_stmt* st, int col) {
    const char* d = sqlite3_column_decltype(st, col);
    if (!d)
        return Declarado::Otro;
    if (qstricmp(d, "TEXT") == 0)
        return Declarado::Texto;
    if (qstricmp(d, "DATETIME") == 0)
        return Declarado::Fecha;
    if (qstricmp(d, "YESNO") == 0)
        return Declarado::Bandera;
    return Declarado::Otro;
}

Valor leerTexto(sqlite3_stmt* st, int col, Declarado declarado) {
    const unsigned char* t = sqlite3_column_text(st, col);
    if (!t)
        return Valor::nulo();
    const int largo = sqlite3_column_bytes(st, col);
    if (declarado == Declarado::Fecha)
        return Valor::fechaGuardada(reinterpret_cast<const char*>(t), largo);
    return Valor::texto(QString::fromUtf8(reinterpret_cast<const char*>(t), largo));
}

Valor leerValor(sqlite3_stmt* st, int col, Declarado declarado) {
    // Text and date columns hold only text or Null (the schema sees to it), so their type is
    // not asked: every call into SQLite takes its lock, and this runs for every cell.
    if (declarado == Declarado::Texto || declarado == Declarado::Fecha)
        return leerTexto(st, col, declarado);
    switch (sqlite3_column_type(st, col)) {
    case SQLITE_NULL:
        return Valor::nulo();
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        if (declarado == Declarado::Bandera)
            return Valor::bandera(sqlite3_column_int64(st, col) != 0);
        return Valor::numero(sqlite3_column_double(st, col));
    default:
        return leerTexto(st, col, declarado);
    }
}

bool nombreRepetido(const QVector<const char*>& nombres, int columna) {
    for (int otra = 0; otra < nombres.size(); ++otra)
        if (otra != columna && sqlite3_stricmp(nombres[columna], nombres[otra]) == 0)
            return true;
    return false;
}

// Names as Jet's SELECT * gives them: a name two tables share reads "Table.column".
// Compared on SQLite's own texts, as this runs for every statement.
QStringList nombresColumnas(sqlite3_stmt* st) {
    const int n = sqlite3_column_count(st);
    QVector<const char*> crudos(n);
    for (int i = 0; i < n; ++i)
        crudos[i] = sqlite3_column_name(st, i);
    QStringList nombres;
    nombres.reserve(n);
    for (int i = 0; i < n; ++i) {
        const QString nombre = QString::fromUtf8(crudos[i]);
        const char* tabla = nombreRepetido(crudos, i) ? sqlite3_column_table_name(st, i) : nullptr;
        nombres << (tabla ? QString::fromUtf8(tabla) + QLatin1Char('.') + nombre : nombre);
    }
    return nombres;
}

// A statement's columns as the windows read them: names and declared types.
struct Columnas {
    QByteArray firma; // SQLite's names, tables and types, each ended by a zero
    QStringList nombres;
    QVector<Declarado> declarados;
};

void agregarFirma(QByteArray& firma, const char* texto) {
    firma.append(texto ? texto : "");
    firma.append('\0');
}

// The windows run a few statement shapes again and again: the columns of the last few shapes
// are kept, so their names are not built anew for every statement. Each thread keeps its own.
const Columnas& columnasDe(sqlite3_stmt* st) {
    constexpr int kRecientes = 8;
    thread_local Columnas recientes[kRecientes];
    thread_local int siguiente = 0;
    thread_local QByteArray firma;
    firma.truncate(0);
    const int n = sqlite3_column_count(st);
    for (int c = 0; c < n; ++c) {
        agregarFirma(firma, sqlite3_column_name(st, c));
        agregarFirma(firma, sqlite3_column_table_name(st, c));
        agregarFirma(firma, sqlite3_column_decltype(st, c));
    }
    for (const Columnas& columnas : recientes)
        if (columnas.firma == firma)
            return columnas;
    Columnas& nuevas = recientes[siguiente];
    siguiente = (siguiente + 1) % kRecientes;
    nuevas.firma = QByteArray(firma.constData(), firma.size());
    nuevas.nombres = nombresColumnas(st);
    nuevas.declarados.resize(n);
    for (int c = 0; c < n; ++c)
        nuevas.declarados[c] = tipoDeclarado(st, c);
    return nuevas;
}

[[noreturn]] void fallo(sqlite3* db, const QString& sql) {
    throw ErrorBD::deSentencia(QString::fromUtf8(sqlite3_errmsg(db)), sql, CausaSqlite(db));
}

bool soloBlancos(const char* cola) {
    for (; cola && *cola; ++cola)
        if (!isspace(static_cast<unsigned char>(*cola)) && *cola != ';')
            return false;
    return true;
}

} // namespace

void Recordset::Open(const QString& sql) {
    abrir(sql, nullptr);
}

void Recordset::recorrer(const QString& sql, const std::function<void()>& porFila) {
    abrir(sql, porFila);
    Close();
}

void Recordset::abrir(const QString& sql, const std::function<void()>& porFila) {
    Close();
    try {
        ejecutar(sql, porFila);
    } catch (const ErrorBD&) {
        Conexion.sentenciaFallida();
        Close();
        throw;
    }
}

void Recordset::ejecutar(const QString& sql, const std::function<void()>& porFila) {
    if (Conexion.esServidor()) {
        ServidorPg& servidor = Conexion.servidor();
        Conexion.contarSentencia();
        servidor.consultar(TraducirJet(sql, DestinoSql::Postgres), sql, nombres_, celdas_);
        abierto_ = true;
        fila_ = 0;
        for (; porFila && !Eof(); MoveNext())
            porFila();
        return;
    }
    sqlite3* db = Conexion.manejador();
    Conexion.contarSentencia();
    const QByteArray texto = TraducirJet(sql).toUtf8();
    sqlite3_stmt* crudo = nullptr;
    const char* cola = nullptr;
    if (sqlite3_prepare_v2(db, texto.constData(), texto.size(), &crudo, &cola) != SQLITE_OK)
        fallo(db, sql);
    // A row's handler may throw: the statement is finalized all the same.
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> st(crudo, sqlite3_finalize);
    if (!st || !soloBlancos(cola))
        throw ErrorBD::deSentencia(QStringLiteral("se esperaba una sola sentencia"), sql);
    const Columnas& columnas = columnasDe(st.get());
    nombres_ = columnas.nombres;
    const QVector<Declarado> declarados = columnas.declarados;
    const int n = declarados.size();
    abierto_ = true;
    fila_ = 0;
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        if (porFila)
            celdas_.clear();
        for (int c = 0; c < n; ++c)
            celdas_.append(leerValor(st.get(), c, declarados[c]));
        if (porFila)
            porFila();
    }
    if (rc != SQLITE_DONE) {
        st.reset();
        fallo(db, sql);
    }
}

void Recordset::Close() {
    abierto_ = false;
    nombres_.clear();
    celdas_.clear();
    fila_ = -1;
    ultimoCampo_ = -1;
}

int Recordset::indiceCampo(const QString& nombre) const {
    const int siguiente = ultimoCampo_ + 1 < nombres_.size() ? ultimoCampo_ + 1 : 0;
    if (siguiente < nombres_.size() && nombres_.at(siguiente) == nombre)
        return ultimoCampo_ = siguiente;
    // Windows mostly spell names as the table does: try that before folding case.
    const int exacto = nombres_.indexOf(nombre);
    if (exacto >= 0)
        return ultimoCampo_ = exacto;
    for (int i = 0; i < nombres_.size(); ++i)
        if (nombres_[i].compare(nombre, Qt::CaseInsensitive) == 0)
            return ultimoCampo_ = i;
    return -1;
}

const Valor& Recordset::Fields(const QString& nombre) const {
    const int i = indiceCampo(nombre);
    if (i < 0)
        throw ErrorBD(QStringLiteral("No se encuentra el campo %1").arg(nombre));
    if (Eof())
        throw ErrorBD(QStringLiteral("No hay registro actual"), nombre);
    return celdas_[fila_ * nombres_.size() + i];
}

int64_t Recordset::UltimoId() {
    if (Conexion.esServidor())
        return Conexion.servidor().ultimoId();
    return sqlite3_last_insert_rowid(Conexion.manejador());
}

int64_t Recordset::FilasAfectadas() {
    if (Conexion.esServidor())
        return Conexion.servidor().filasAfectadas();
    return sqlite3_changes64(Conexion.manejador());
}

int64_t EjecutarCambio(const QString& sql) {
    Recordset().Open(sql);
    return Recordset::FilasAfectadas();
}

void ExigirFilas(const QString& sql, int64_t filas) {
    const int64_t cambiadas = EjecutarCambio(sql);
    if (cambiadas != filas) {
        Conexion.sentenciaFallida();
        throw ErrorBD::deSentencia(
            filas == 1
                ? QStringLiteral("se esperaba una fila y cambiaron %1").arg(cambiadas)
                : QStringLiteral("se esperaban %1 filas y cambiaron %2").arg(filas).arg(cambiadas),
            sql);
    }
}

void ExigirUnaFila(const QString& sql) {
    ExigirFilas(sql, 1);
}

bool CambiarFila(const QString& sql) {
    AbrirConexion();
    const bool cambiada = EjecutarCambio(sql) > 0;
    CerrarConexion();
    return cambiada;
}
