#include "workspace/DBGridDelegate.h"

#include "workspace/DBGrid.h"

#include <QApplication>
#include <QPainter>

DBGridDelegate::DBGridDelegate(DBGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

void DBGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const GridColumnSpec& colDef = m_grid->m_model->column(index.column());
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    if (colDef.readOnly && !m_grid->m_readOnly && !(opt.state & QStyle::State_Selected))
        opt.backgroundBrush = opt.palette.button();
    if ((opt.state & QStyle::State_Selected) && !m_grid->hasFocusWithin()) {
        // Without the focus the current cell is only tinted, as the grid is not in use.
        QColor tint = opt.palette.color(QPalette::Highlight);
        tint.setAlpha(60);
        opt.state &= ~QStyle::State_Selected;
        opt.backgroundBrush =
            colDef.readOnly && !m_grid->m_readOnly ? opt.palette.button() : opt.palette.base();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
        painter->fillRect(opt.rect, tint);
        opt.backgroundBrush = Qt::NoBrush;
    }
    if (colDef.checkBox) {
        const bool checked = opt.checkState == Qt::Checked;
        opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        opt.text.clear();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        QStyleOptionViewItem box(opt);
        box.features |= QStyleOptionViewItem::HasCheckIndicator;
        const QSize size =
            style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &box, widget).size();
        box.rect = QStyle::alignedRect(opt.direction, Qt::AlignCenter, size, opt.rect);
        box.state &= ~QStyle::State_HasFocus;
        box.state |= checked ? QStyle::State_On : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
    } else {
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    }
    if (m_grid->drawCell) {
        painter->save();
        try {
            m_grid->drawCell(painter, option, index.row() + 1, colDef.field);
        } catch (...) {
            // A failing rule leaves the default picture; painting must go on.
        }
        painter->restore();
    }
}
