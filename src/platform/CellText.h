#pragma once
// Draws the cells of lists, trees and grids as the style draws them, with
// each text laid out once: a cell drawn again with the same text, font and
// size (a window shown again, a list switching back) takes the lines laid
// out before instead of laying its text out anew. Any other style, and a
// cell being typed into, are drawn by the style as they are.
#include <QStyledItemDelegate>

class CellTextDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
