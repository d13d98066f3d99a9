#pragma once
// Paints a list's cells as one line of plain text each, keeping the laid-out texts: a list of
// vehicles repaints every visible row on each entry, and most of its texts were on screen
// already one row higher.

#include <QCache>
#include <QStaticText>
#include <QStyledItemDelegate>

class DelegadoTexto : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* pintor, const QStyleOptionViewItem& opcion,
               const QModelIndex& indice) const override;

private:
    // By text and width; elided to fit.
    mutable QCache<QString, QStaticText> textos_{4000};
};
