#include "principal/ui/controles.h"

#include "principal/formatos.h"
#include "principal/manejadores.h"
#include "principal/modelolista.h"
#include "principal/ui/etiquetapulsable.h"
#include "principal/ui/recursos.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFont>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTreeView>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>

QValidator::State ValidadorUnaLinea::validate(QString& texto, int& posicion) const {
    posicion -=
        static_cast<int>(texto.left(posicion).size() - SinControles(texto.left(posicion)).size());
    texto = SinControles(texto);
    return Acceptable;
}

namespace {

// Never rewrites the text: what is refused leaves the box as it was.
class ValidadorNumero : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& texto, int&) const override {
        return CaracteresDeNumero(texto) ? Acceptable : Invalid;
    }
};

} // namespace

QLabel* NuevaEtiqueta(const char* nombre, const QString& texto, QWidget* padre) {
    auto* etiqueta = new QLabel(texto, padre);
    etiqueta->setObjectName(QLatin1String(nombre));
    return etiqueta;
}

QLineEdit* NuevaCaja(const char* nombre, int largoMaximo, QWidget* padre) {
    auto* caja = new QLineEdit(padre);
    caja->setObjectName(QLatin1String(nombre));
    caja->setMaxLength(largoMaximo);
    UnaSolaLinea(caja);
    return caja;
}

void CajaNumerica(QLineEdit* caja) {
    caja->setValidator(new ValidadorNumero(caja));
}

void UnaSolaLinea(QLineEdit* caja) {
    caja->setValidator(new ValidadorUnaLinea(caja));
}

void VariasLineas(QPlainTextEdit* caja) {
    // Rewritten only when something had to go; the rewrite comes back here clean.
    QObject::connect(caja, &QPlainTextEdit::textChanged, caja, [caja] {
        const QString texto = caja->toPlainText();
        const QString limpio = SinControlesSalvoSaltos(texto);
        if (limpio == texto)
            return;
        const int cursor = static_cast<int>(
            SinControlesSalvoSaltos(texto.left(caja->textCursor().position())).size());
        caja->setPlainText(limpio);
        QTextCursor nuevo = caja->textCursor();
        nuevo.setPosition(cursor);
        caja->setTextCursor(nuevo);
    });
}

QPushButton* NuevoBoton(const char* nombre, const QString& texto, const QString& icono,
                        QWidget* padre) {
    auto* boton = new QPushButton(texto, padre);
    boton->setObjectName(QLatin1String(nombre));
    if (!icono.isEmpty()) {
        boton->setIcon(IconoPrograma(icono));
        boton->setIconSize(QSize(24, 24));
    }
    return boton;
}

bool ConTextoEscrito(const QWidget* ventana) {
    for (const QLineEdit* caja : ventana->findChildren<QLineEdit*>())
        if (caja->isModified() && !caja->isReadOnly() && !caja->text().isEmpty())
            return true;
    for (const QPlainTextEdit* texto : ventana->findChildren<QPlainTextEdit*>())
        if (texto->document()->isModified() && !texto->isReadOnly())
            return true;
    return false;
}

QVariant NegritaEntre(int columna, int desde, int hasta) {
    if (columna < desde || columna > hasta)
        return QVariant();
    QFont negrita;
    negrita.setBold(true);
    return negrita;
}

void AnchosColumnas(QTreeView* lista, std::initializer_list<int> twips) {
    const QFontMetrics medidas = lista->header()->fontMetrics();
    int c = 0;
    for (const int ancho : twips) {
        const QString titulo =
            lista->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        lista->setColumnWidth(c, std::max(ancho / 15, medidas.horizontalAdvance(titulo) + 16));
        ++c;
    }
}

QTreeView* NuevaListaFilas(const char* nombre, QAbstractItemModel* modelo,
                           std::initializer_list<int> twips, QWidget* padre) {
    auto* lista = new QTreeView(padre);
    lista->setObjectName(QLatin1String(nombre));
    lista->setRootIsDecorated(false);
    lista->setAllColumnsShowFocus(true);
    lista->setUniformRowHeights(true);
    lista->setSelectionBehavior(QAbstractItemView::SelectRows);
    lista->setModel(modelo);
    AnchosColumnas(lista, twips);
    return lista;
}

void DistribuirGestion(QWidget* ventana, QHBoxLayout* arriba,
                       std::initializer_list<QPushButton*> botones, QPushButton* listadoCompleto,
                       QWidget* lista) {
    auto* columna = new QVBoxLayout;
    for (QPushButton* boton : botones) {
        boton->setMinimumHeight(34);
        columna->addWidget(boton);
    }
    columna->addStretch();
    arriba->addLayout(columna);

    auto* listado = new QHBoxLayout;
    listado->addWidget(listadoCompleto);
    listado->addStretch();

    auto* principal = new QVBoxLayout(ventana);
    principal->addLayout(arriba);
    principal->addSpacing(8);
    principal->addLayout(listado);
    principal->addWidget(lista, 1);
}

bool CajaVacia(const QLineEdit* caja) {
    return caja->text().trimmed().isEmpty();
}

QCheckBox* NuevaCasilla(const char* nombre, const QString& texto, QWidget* padre) {
    auto* casilla = new QCheckBox(padre);
    casilla->setObjectName(QLatin1String(nombre));
    casilla->setAccessibleName(texto);
    return casilla;
}

EtiquetaPulsable* NuevaEtiquetaPulsable(const char* nombre, const QString& texto,
                                        QCheckBox* casilla, QWidget* padre) {
    auto* etiqueta = new EtiquetaPulsable(texto, casilla, padre);
    etiqueta->setObjectName(QLatin1String(nombre));
    return etiqueta;
}

QDateEdit* NuevoCalendario(const char* nombre, QWidget* padre) {
    auto* calendario = new QDateEdit(padre);
    calendario->setObjectName(QLatin1String(nombre));
    calendario->setCalendarPopup(true);
    calendario->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    return calendario;
}

void ConectarEleccionFila(QTreeView* lista, const ModeloLista* modelo, const QString& clave,
                          int64_t* elegida, std::function<void(int fila)> mostrar) {
    const auto elegir = [=](const QModelIndex& indice) {
        if (!indice.isValid() || !lista->selectionModel()->isRowSelected(indice.row())) {
            *elegida = 0;
            return;
        }
        *elegida = modelo->campo(indice.row(), clave).aEntero();
        mostrar(indice.row());
    };
    QObject::connect(lista, &QTreeView::clicked, lista, [elegir](const QModelIndex& indice) {
        EjecutarProtegido([&] { elegir(indice); });
    });
    // Moving with the keys selects like a click; tabbing in only makes a row current.
    QObject::connect(lista->selectionModel(), &QItemSelectionModel::selectionChanged, lista,
                     [lista, elegir] {
                         EjecutarProtegido([&] {
                             const QModelIndexList filas = lista->selectionModel()->selectedRows();
                             elegir(filas.isEmpty() ? QModelIndex() : filas.first());
                         });
                     });
}
