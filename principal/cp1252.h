#pragma once
// The Windows single-byte code page the station's text files are written in.

#include <QByteArray>
#include <QString>

QByteArray ACp1252(const QString& texto);
QString DeCp1252(const QByteArray& bytes);
