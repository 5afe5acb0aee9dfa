#pragma once

#include <QHeaderView>
#include <QList>
#include <QStringList>

// One cell of a multi-level column title. Columns are positions in the list of titles
// given (display order, hidden columns left out); rows are title levels, 0 at the top.
struct HeaderCell {
    int firstColumn = 0;
    int lastColumn = 0;
    int firstRow = 0;
    int lastRow = 0;
    QString text;
    bool operator==(const HeaderCell&) const = default;
};

// Number of title rows needed for titles whose levels are separated by '|'.
int headerLevelCount(const QStringList& titles);

// Lays out titles whose levels are separated by '|'. The last level of every title sits
// in the bottom row, so the column numbers line up; the level above it stretches down to
// meet it. An upper level is joined with the neighbouring columns whose titles start with
// the same levels. `levelCount` (at least the titles' own count) lets a header showing
// part of the columns keep the rows of the whole header.
QList<HeaderCell> layoutHeaderCells(const QStringList& titles, int levelCount = 0);

// Height needed by `text` word-wrapped into `width` pixels (long words broken as well).
int wrappedTextHeight(const QFont& font, const QString& text, int width);

// A horizontal header drawing multi-level titles with joined upper levels; its height
// follows the tallest texts at the current column widths.
class MultiLevelHeaderView : public QHeaderView {
    Q_OBJECT
public:
    explicit MultiLevelHeaderView(QWidget* parent = nullptr);

    // A header that shows part of another grid's columns (a frozen overlay) takes its
    // row heights from the other header so that both draw the same lines.
    void setMaster(MultiLevelHeaderView* master);

    // The cells for the current visual order; columns here are logical indices.
    QList<HeaderCell> cells() const;
    // Heights of the title rows at the current column widths.
    QList<int> rowHeights() const;
    int titleHeight() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<int> visibleSections() const;
    QStringList titlesOf(const QList<int>& sections) const;
    QList<int> computeRowHeights() const;

    MultiLevelHeaderView* m_master = nullptr;
};
