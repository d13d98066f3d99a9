#pragma once
// Controls built in code, each named with its system name so tests and tools find it.

#include <QStringList>
#include <QValidator>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <initializer_list>

class EtiquetaPulsable;
class ModeloLista;
class QAbstractItemModel;
class QCheckBox;
class QDateEdit;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeView;
class QWidget;

// Drops control characters (line breaks, tabs) from whatever reaches the box, typed, pasted or
// set; also applied on setText.
class ValidadorUnaLinea : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& texto, int& posicion) const override;
};

QLabel* NuevaEtiqueta(const char* nombre, const QString& texto, QWidget* padre);
// A single-line box: what is pasted or set into it loses its line breaks and other control
// characters, so a typed value never spans lines.
QLineEdit* NuevaCaja(const char* nombre, int largoMaximo, QWidget* padre);
// True when the box holds nothing but blanks.
bool CajaVacia(const QLineEdit* caja);
// A box for a number (an amount, minutes): a character that belongs to no number is refused
// as it is typed or pasted (CaracteresDeNumero); the handler's strict parse judges the rest.
void CajaNumerica(QLineEdit* caja);
// The same for a single-line box built elsewhere (the login boxes, the input box).
void UnaSolaLinea(QLineEdit* caja);
// A box of several lines follows the same rule and keeps only its line breaks, whatever
// reaches it (typed, pasted or set).
void VariasLineas(QPlainTextEdit* caja);
// `icono` is a file of the program's ico folder; empty for none.
QPushButton* NuevoBoton(const char* nombre, const QString& texto, const QString& icono,
                        QWidget* padre);
// True when a box of `ventana` holds text typed by the user that no load or save has replaced.
bool ConTextoEscrito(const QWidget* ventana);

// A list cell's font for a model's FontRole: bold in columns desde to hasta, the list's own
// elsewhere.
QVariant NegritaEntre(int columna, int desde, int hasta);
// Column widths given in twips (15 to a pixel), each never narrower than its title: today's
// fonts are wider than those the twips were set for.
void AnchosColumnas(QTreeView* lista, std::initializer_list<int> twips);
// A list of whole rows over `modelo`: no tree lines, the focus and the selection cover the
// row; the widths as in AnchosColumnas.
QTreeView* NuevaListaFilas(const char* nombre, QAbstractItemModel* modelo,
                           std::initializer_list<int> twips, QWidget* padre);
// The layout of the small management windows: `arriba` (the boxes) gets the column of
// `botones` at its right, then come the row of `listadoCompleto` and the list filling the rest.
void DistribuirGestion(QWidget* ventana, QHBoxLayout* arriba,
                       std::initializer_list<QPushButton*> botones, QPushButton* listadoCompleto,
                       QWidget* lista);
// A check box without a caption of its own: its label beside it (`texto`) shows it.
QCheckBox* NuevaCasilla(const char* nombre, const QString& texto, QWidget* padre);
// A label that toggles `casilla` when clicked; with none, the window's own handler does.
EtiquetaPulsable* NuevaEtiquetaPulsable(const char* nombre, const QString& texto,
                                        QCheckBox* casilla, QWidget* padre);
// A date picker showing dd/mm/yyyy, with its calendar.
QDateEdit* NuevoCalendario(const char* nombre, QWidget* padre);

// A list beside its edit form: a row is chosen by a click, or by moving to it with the keys, and
// only while it is selected (a Ctrl+click unselects it). The chosen row's `clave` goes to
// `*elegida` and `mostrar` fills the form with it; no row chosen leaves 0.
void ConectarEleccionFila(QTreeView* lista, const ModeloLista* modelo, const QString& clave,
                          int64_t* elegida, std::function<void(int fila)> mostrar);
