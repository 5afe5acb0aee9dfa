#pragma once

#include <QWidget>

class DBGrid;
class DataSet;
class QLabel;
class QTabBar;
struct ErrorsView;

// The errors panel under the data area: its caption, "Закрыть", the two tabs (errors and
// warnings) with their counters, and the read-only grid of the error list.
class ErrorsPanel : public QWidget {
    Q_OBJECT
public:
    ErrorsPanel(DataSet& errors, QWidget* parent);
    ~ErrorsPanel() override;

    // 0: errors, 1: warnings.
    int currentTab() const;
    // Changes the tab without telling tabChanged.
    void setCurrentTabQuietly(int tab);
    // Filters the list and sets the counters and titles of the view.
    void apply(const ErrorsView& view);
    DBGrid* grid() const { return m_grid; }
    // The grid lets go of the list before the list goes.
    void detach();

Q_SIGNALS:
    void tabChanged();
    void closeClicked();
    // A click or double click on a record: the user wants to go to its cell.
    void recordChosen();

private:
    DataSet& m_errors;
    QLabel* m_caption = nullptr;
    QTabBar* m_tabs = nullptr;
    DBGrid* m_grid = nullptr;
};
