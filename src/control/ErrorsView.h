#pragma once

#include "control/Control.h"

#include <QString>

// What the errors panel shows for one of its tabs: the filter of the error list, the tab
// titles with their counters, the caption above the list and the titles of its columns.
struct ErrorsView {
    QString filter;
    bool texts = false; // false: no section is current; only the filter applies
    QString errorsTab;
    QString warningsTab;
    QString caption;
    QString numberTitle;
    QString nameTitle;
    bool sectionColumn = false; // the section's name is shown (the whole document)
};

// `tab` 0 shows the errors, 1 the warnings; `wholeDocument` the list of every section
// rather than of `razdel` (negative: none is current).
ErrorsView ErrorsViewFor(int tab, bool wholeDocument, int razdel, const ControlCounts& counts);
