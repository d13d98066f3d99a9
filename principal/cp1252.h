#pragma once
// The Windows single-byte code page the station's text files are written in.

#include <QByteArray>
#include <QString>

QByteArray ACp1252(const QString& texto);
// The same bytes added at the end of `bytes`: a file of many lines is built in one buffer.
void AgregarCp1252(QByteArray& bytes, const QString& texto);
QString DeCp1252(const QByteArray& bytes);
