#pragma once
// A statement's result, read whole when opened (a static, client-side cursor).

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <functional>

// One field's value: knows whether it is Null, a text, a number, a date or a flag.
class Valor {
public:
    enum class Tipo { Nulo, Texto, Numero, Fecha, Bandera };
    Valor() = default;
    static Valor nulo() { return Valor(); }
    static Valor texto(const QString& t);
    static Valor texto(QString&& t);
    static Valor numero(double n);
    static Valor fecha(const QDateTime& f);
    // A date as stored, "yyyy-mm-dd hh:mm:ss"; a text of another form is read as stored dates
    // are.
    static Valor fechaGuardada(const char* t, int largo);
    static Valor bandera(bool b);

    Tipo tipo() const { return tipo_; }
    bool esNulo() const { return tipo_ == Tipo::Nulo; }
    // As text: numbers without needless decimals, dates "dd/mm/yyyy hh:mm:ss am/pm",
    // flags "Verdadero"/"Falso"; Null gives an empty text.
    QString aTexto() const;
    double aNumero() const;
    // Whole value rounded half to even; Null and texts without a number give 0.
    int64_t aEntero() const;
    QDateTime aFecha() const;
    bool aBandera() const;
    // The same type and value, compared as held: nothing is formatted or parsed.
    bool mismo(const Valor& otro) const;

private:
    QString textoDeCifras() const;
    // Plain members rather than a QVariant: every cell read makes and drops one.
    Tipo tipo_ = Tipo::Nulo;
    // Numbers, flags as -1 / 0, and stored dates as the digits yyyymmddhhmmss: most dates
    // read are only shown, and their text is written from the digits without a QDateTime.
    double numero_ = 0;
    QString texto_;
    QDateTime fecha_; // other dates: wall-clock fields in UTC form
};
// Its members move by plain copy of bytes: a growing result needs no copies of every cell.
Q_DECLARE_TYPEINFO(Valor, Q_RELOCATABLE_TYPE);

class Recordset {
public:
    // Runs the statement: reading statements keep their rows, others just execute.
    void Open(const QString& sql);
    // Runs a reading statement and calls `porFila` with each row in turn as the current one,
    // then closes. On a file only that row is held, so a month's listing takes one row's memory.
    void recorrer(const QString& sql, const std::function<void()>& porFila);
    void Close();
    int State() const { return abierto_ ? 1 : 0; }
    // EOF is a C macro, so the documented member is spelled Eof.
    bool Eof() const { return fila_ < 0 || fila_ >= RecordCount(); }
    bool BOF() const { return fila_ < 0; }
    void MoveNext() { ++fila_; }
    void MovePrevious() { --fila_; }
    void MoveLast() { fila_ = RecordCount() - 1; }
    int RecordCount() const { return nombres_.isEmpty() ? 0 : celdas_.size() / nombres_.size(); }
    // A column shared by two joined tables reads as "Table.column".
    const Valor& Fields(const QString& nombre) const;
    const QStringList& nombresCampos() const { return nombres_; }
    // For a model that keeps the whole result: a column's position (-1 when there is none) and
    // any row's cell, without moving the current row.
    int indiceColumna(const QString& nombre) const { return indiceCampo(nombre); }
    const Valor& celda(int fila, int columna) const {
        return celdas_[fila * nombres_.size() + columna];
    }
    // The current row's cell of a column found by indiceColumna(), for a listing of many rows.
    const Valor& celda(int columna) const { return celda(fila_, columna); }
    // Key of the last row inserted by this connection.
    static int64_t UltimoId();
    // Rows changed by the last INSERT, UPDATE or DELETE of this connection.
    static int64_t FilasAfectadas();

private:
    void abrir(const QString& sql, const std::function<void()>& porFila);
    void ejecutar(const QString& sql, const std::function<void()>& porFila);
    int indiceCampo(const QString& nombre) const;
    bool abierto_ = false;
    QStringList nombres_;
    // Row after row in one block: one allocation instead of one per row.
    QVector<Valor> celdas_;
    int fila_ = -1;
    // Windows read a row's fields in the same order on every row: the one after the last found
    // is tried first.
    mutable int ultimoCampo_ = -1;
};

// Runs one changing statement on the open connection; the rows it changed.
int64_t EjecutarCambio(const QString& sql);
// The same for a statement that must change exactly `filas` rows (one row, ExigirUnaFila):
// anything else is an ErrorBD, so the transaction around it is undone.
void ExigirFilas(const QString& sql, int64_t filas);
void ExigirUnaFila(const QString& sql);
// Opens the connection, runs one changing statement by key and closes it; false when the row
// was not there (another station removed it).
bool CambiarFila(const QString& sql);
