#include "workspace/MultiLevelHeaderView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QTextLayout>
#include <QtMath>
#include <algorithm>

namespace {

constexpr int kTextMarginX = 1;
constexpr int kTextMarginY = 2;

QTextOption wrapOption(Qt::Alignment align)
{
    QTextOption option(align);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

} // namespace

int headerLevelCount(const QStringList& titles)
{
    int levels = 0;
    for (const QString& t : titles)
        levels = std::max(levels, int(t.count(u'|')) + 1);
    return levels;
}

QList<HeaderCell> layoutHeaderCells(const QStringList& titles, int levelCount)
{
    const int rows = std::max(levelCount, headerLevelCount(titles));
    QList<HeaderCell> cells;
    // Per level of the previous column: its cell (or -1 when it cannot be joined) and
    // the title levels leading to it.
    QList<int> prevCell;
    QStringList prevParts;
    for (int col = 0; col < titles.size(); ++col) {
        const QStringList parts = titles[col].split(u'|');
        const int k = int(parts.size());
        QList<int> thisCell(k, -1);
        for (int level = 0; level < k; ++level) {
            int first = level;
            int last = level;
            if (k == 1) {
                last = rows - 1;
            } else if (level == k - 1) {
                first = last = rows - 1;
            } else if (level == k - 2) {
                last = rows - 2;
            }
            const bool upper = level < k - 1;
            int joined = -1;
            if (upper && level < prevCell.size() && prevCell[level] >= 0) {
                const HeaderCell& left = cells[prevCell[level]];
                bool samePrefix = left.firstRow == first && left.lastRow == last &&
                                  left.lastColumn == col - 1 && level < prevParts.size() - 1;
                for (int i = 0; samePrefix && i <= level; ++i)
                    samePrefix = prevParts[i] == parts[i];
                if (samePrefix)
                    joined = prevCell[level];
            }
            if (joined >= 0) {
                cells[joined].lastColumn = col;
            } else {
                cells.append(HeaderCell{col, col, first, last, parts[level]});
                joined = int(cells.size()) - 1;
            }
            if (upper)
                thisCell[level] = joined;
        }
        prevCell = thisCell;
        prevParts = parts;
    }
    return cells;
}

int wrappedTextHeight(const QFont& font, const QString& text, int width)
{
    if (text.isEmpty())
        return QFontMetrics(font).height();
    QTextLayout layout(text, font);
    layout.setTextOption(wrapOption(Qt::AlignLeft));
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(1, width));
        height += line.height();
    }
    layout.endLayout();
    return qCeil(height);
}

MultiLevelHeaderView::MultiLevelHeaderView(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);
    // The height depends on the widths: wrapped titles grow when a column narrows.
    connect(this, &QHeaderView::sectionResized, this, [this] { updateGeometry(); });
}

void MultiLevelHeaderView::setMaster(MultiLevelHeaderView* master)
{
    m_master = master;
    updateGeometry();
    viewport()->update();
}

QList<int> MultiLevelHeaderView::visibleSections() const
{
    QList<int> out;
    for (int v = 0; v < count(); ++v) {
        const int logical = logicalIndex(v);
        if (!isSectionHidden(logical))
            out << logical;
    }
    return out;
}

QStringList MultiLevelHeaderView::titlesOf(const QList<int>& sections) const
{
    QStringList titles;
    for (int logical : sections)
        titles << (model() ? model()->headerData(logical, orientation()).toString() : QString());
    return titles;
}

QList<HeaderCell> MultiLevelHeaderView::cells() const
{
    const QList<int> sections = visibleSections();
    const int levels = m_master ? int(m_master->rowHeights().size()) : 0;
    QList<HeaderCell> out = layoutHeaderCells(titlesOf(sections), levels);
    for (HeaderCell& c : out) {
        c.firstColumn = sections[c.firstColumn];
        c.lastColumn = sections[c.lastColumn];
    }
    return out;
}

QList<int> MultiLevelHeaderView::computeRowHeights() const
{
    const QList<int> sections = visibleSections();
    const QStringList titles = titlesOf(sections);
    const int levels = std::max(1, headerLevelCount(titles));
    const int minRow = fontMetrics().height() + 2 * kTextMarginY;
    QList<int> heights(levels, minRow);
    const QList<HeaderCell> laid = layoutHeaderCells(titles, levels);
    auto need = [&](const HeaderCell& c) {
        int width = 0;
        for (int i = c.firstColumn; i <= c.lastColumn; ++i)
            width += sectionSize(sections[i]);
        return wrappedTextHeight(font(), c.text, width - 2 * kTextMarginX) + 2 * kTextMarginY;
    };
    for (const HeaderCell& c : laid)
        if (c.firstRow == c.lastRow)
            heights[c.firstRow] = std::max(heights[c.firstRow], need(c));
    // A cell spanning several rows makes room in the lowest of them.
    for (const HeaderCell& c : laid) {
        if (c.firstRow == c.lastRow)
            continue;
        int have = 0;
        for (int r = c.firstRow; r <= c.lastRow; ++r)
            have += heights[r];
        const int missing = need(c) - have;
        if (missing > 0)
            heights[c.lastRow] += missing;
    }
    return heights;
}

QList<int> MultiLevelHeaderView::rowHeights() const
{
    return m_master ? m_master->rowHeights() : computeRowHeights();
}

int MultiLevelHeaderView::titleHeight() const
{
    int total = 0;
    for (int h : rowHeights())
        total += h;
    return total;
}

QSize MultiLevelHeaderView::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    size.setHeight(titleHeight());
    return size;
}

void MultiLevelHeaderView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().button());
    const QList<int> heights = rowHeights();
    QList<int> tops{0};
    for (int h : heights)
        tops << tops.last() + h;
    for (const HeaderCell& c : cells()) {
        if (c.lastRow >= heights.size())
            continue;
        const int left = sectionViewportPosition(c.firstColumn);
        const int right = sectionViewportPosition(c.lastColumn) + sectionSize(c.lastColumn);
        const QRect rect(left, tops[c.firstRow], right - left,
                         tops[c.lastRow + 1] - tops[c.firstRow]);
        if (!rect.intersects(event->rect()))
            continue;
        QStyleOptionHeader option;
        initStyleOption(&option);
        option.rect = rect;
        option.section = c.firstColumn;
        option.position = QStyleOptionHeader::Middle;
        option.state |= QStyle::State_Raised;
        style()->drawControl(QStyle::CE_HeaderSection, &option, &painter, this);
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(
            QRectF(rect.adjusted(kTextMarginX, kTextMarginY, -kTextMarginX, -kTextMarginY)), c.text,
            wrapOption(Qt::AlignCenter));
    }
}
