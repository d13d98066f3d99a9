#pragma once
// A table of a rate's rule rows typed cell by cell (tiers, entry-time flats): one empty row stays
// last for the next, Tab leaves the table and the arrows move between cells.

#include <QStringList>
#include <QVector>

class QTableWidget;
class QWidget;

QTableWidget* NuevaTablaReglas(const char* nombre, const QStringList& titulos, QWidget* padre);
// Every row as typed, the empty last one too.
QVector<QStringList> FilasTablaReglas(const QTableWidget* tabla);
// The rows in place of the table's, and the empty one after them.
void LlenarTablaReglas(QTableWidget* tabla, const QVector<QStringList>& filas);
// The focus on a refused cell, its text selected for typing over.
void EnfocarCelda(QTableWidget* tabla, int fila, int columna);
