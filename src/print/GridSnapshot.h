#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What a grid shows, taken without its widget: the visible columns in grid order and
// every row of its table as text.
struct GridSnapshot {
    QStringList titles; // column titles, levels joined as the grid shows them
    QList<int> pixelWidths;
    QList<int> alignments;   // Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter
    int zeroCharWidthPx = 0; // width of "0" in the grid's font
    QString fontFamily;
    double fontPointSize = 0;
    QList<QStringList> rows;
};
