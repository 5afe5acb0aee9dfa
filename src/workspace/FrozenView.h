#pragma once

#include <QTableView>

// The overlay showing a grid's frozen columns; the grid refreshes its geometry whenever
// its own changes.
class FrozenView : public QTableView {
public:
    using QTableView::QTableView;
    void refreshGeometries() { updateGeometries(); }
};
