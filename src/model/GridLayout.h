#pragma once

#include <QList>
#include <QString>
#include <optional>

// The five aspects of a grid's layout kept per section and year: column order,
// widths, sort markers, visibility, and the row height.
struct GridColumnLayout {
    QString fieldName;
    int width = 0;
    int sortMarker = 0; // 0 none, 1 ascending, -1 descending
    bool visible = true;
    bool operator==(const GridColumnLayout&) const = default;
};

struct GridLayout {
    QList<GridColumnLayout> columns; // in display order
    int rowHeight = 0;
    bool operator==(const GridLayout&) const = default;
};

// The grid side of layout saving; implemented by the window's grids.
class GridLayoutHost {
public:
    virtual ~GridLayoutHost() = default;
    virtual GridLayout currentLayout() const = 0;
    virtual void applyLayout(const GridLayout& layout) = 0;
};
