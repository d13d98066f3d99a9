#pragma once
// The station's one-line startup file, vialtor.cfg, read into ConfigInicio.

#include <QByteArray>
#include <QString>

enum class ResultadoConfig { Correcta, NoExiste, SinPuntoControl, CarpetaDatosInaccesible };

// The first item of the file: up to the first comma or line end, blanks before it skipped,
// a double-quoted item read without its quotes.
QString PrimerElemento(const QString& contenido);
// Fills the fields of ConfigInicio from the item, one character at a time.
void AplicarLineaConfig(const QString& elemento);
// The line a new station's vialtor.cfg starts with: backup, event log and size warnings on, with
// thresholds (bytes) that fit the database's engine, plate at 14 points in bold. A small
// database never warns.
QString LineaConfigNueva(const QString& carpetaDatos, const QString& puntoControl, bool servidor);
// The station folder the menu entry starts the program in: "vialtor" in the user's data folder
// ($XDG_DATA_HOME, usually ~/.local/share).
QString CarpetaEstacionMenu();
// Reads vialtor.cfg from the working folder, logs it and reports the failures with their
// boxes; the caller ends the program on anything but Correcta.
ResultadoConfig LeerConfigInicio();
