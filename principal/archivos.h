#pragma once
// The one way the program writes a file of its own (listings, PDFs, schedule and configuration
// files): whole or not at all.

#include <QByteArray>
#include <QString>

// Makes `bytes` the content of `ruta`: written unbuffered into a temporary file beside it,
// flushed to the disk and its size checked, and only then put in place of the earlier file.
// On any failure (a full disk included) the earlier file stays as it was, nothing is left
// behind, `error` gets the reason and the answer is false.
bool EscribirArchivo(const QString& ruta, const QByteArray& bytes, QString* error = nullptr);
// The same for a file that holds a password: readable and writable by its owner only from the
// moment it appears, whatever the earlier file allowed.
bool EscribirArchivoPrivado(const QString& ruta, const QByteArray& bytes);
