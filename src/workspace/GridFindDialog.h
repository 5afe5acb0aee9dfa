#pragma once

#include <QDialog>

class DBGrid;
class QLabel;
class QLineEdit;

// The grid's modeless "Найти" box: each "Найти далее" moves the grid to the next cell
// holding the text, or beeps and says the text was not found.
class GridFindDialog : public QDialog {
public:
    explicit GridFindDialog(DBGrid* grid);

    void start();

private:
    void findNext();

    DBGrid* m_grid;
    QLineEdit* m_text;
    QLabel* m_status;
};
