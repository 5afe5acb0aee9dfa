#pragma once

#include "model/GridColumnSpec.h"

#include <QList>
#include <QString>

// How each section's grid is laid out and takes input: one description per section, from
// which the window builds its grids.
struct SectionGrid {
    int position = 0;
    int frozenColumns = 0;
    int rowHeight = 0;
    bool titles = true;    // the column titles shown
    bool indicator = true; // the current-row marker shown
    QList<GridColumnSpec> columns;
};

// The grids of the sections, in the order of the sections (the requisites have a panel).
const QList<SectionGrid>& SectionGrids();

// What a key typed into a cell may be.
enum class KeyRule {
    Any,
    Integer,
    Decimal4, // at most four digits before the point
    Decimal9, // at most nine digits before the point
    Year,     // within the settings' limits of the year of joining
};
KeyRule KeyRuleFor(int position, const QString& field);

// How a cell is drawn beyond its text: totals bold on the button colour, locked cells
// blank on it, and the membership list's fixed names and code ranges in their colours.
enum class CellLook { Plain, Total, Locked, FixedName, FirstCodes, SecondCodes };
CellLook CellLookFor(int position, int recNo, const QString& field);
