#pragma once

#include <QStyledItemDelegate>

class DBGrid;

// Paints a grid's cells: read-only columns grey, the current cell only tinted while the
// grid has no focus, check-box columns as a centred box, then the grid's drawCell hook.
class DBGridDelegate : public QStyledItemDelegate {
public:
    explicit DBGridDelegate(DBGrid* grid);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    DBGrid* m_grid;
};
