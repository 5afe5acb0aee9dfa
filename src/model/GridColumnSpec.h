#pragma once

#include <QString>
#include <Qt>

// One column of a data grid: the field it shows and how.
struct GridColumnSpec {
    QString field;
    int width = 64;
    bool readOnly = false;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;
    bool checkBox = false; // a boolean field shown as a check box
};
