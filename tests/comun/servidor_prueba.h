#pragma once
// A throw-away PostgreSQL cluster for the tests of one process: initdb into a temporary folder,
// a Unix socket there, no TCP. Started on first use (as the user postgres when the tests run as
// root) and stopped when the process ends. When it cannot start, the test fails.

#include <QString>
#include <QTemporaryDir>

class ServidorPrueba {
public:
    static ServidorPrueba& instancia();
    // The one role that signs in with a password (the others are trusted).
    static constexpr const char* kUsuarioConClave = "conclave";
    static constexpr const char* kClave = "Correcta1";
    ~ServidorPrueba();
    // A new database with the program's tables, the settings row and admin/admin.
    QString baseNueva();
    // A new database with nothing in it.
    QString baseVacia();
    // Stops the server, cutting every connection, and starts it again.
    void detener();
    void iniciar();

private:
    ServidorPrueba();
    QString conexion(const QString& base) const;
    QString crear(const QString& plantilla);
    QString datos() const;
    // One of the server's programs with its arguments; throws with its output when it fails.
    void correr(QStringList programaYArgumentos);
    QTemporaryDir carpeta_;
    QString bin_;
    qint64 pid_ = 0;
    bool iniciado_ = false;
    bool plantilla_ = false;
    int bases_ = 0;
};
