#pragma once

#include <QString>

class DataSet;

// Appends one record to the error list through a second cursor, so the list's own
// cursor and filter stay as they are. The section's error or warning counter is
// incremented and gives the record its number.
void AddErr(const QString& msg, bool isWarning, int position, const QString& fieldName,
            const QString& kodRowValue, DataSet& err, int& e, int& w, bool mayExit);

// Removes every record of the section with the given code (exact, case-sensitive).
// Switches the list's filter off; whoever shows the list sets it again. Answers true.
bool ClearRazdelErr(DataSet& err, const QString& kod);

// True when the section has no error that forbids leaving it: warnings and
// cross-section errors (MayExitFromRazdel) do not count.
bool CanExitFromRazdel(int position, DataSet& err);

// True when the section at `position` holds no figures; also for a missing, closed or
// row-less table. Positions without figures (requisites, quality review) answer false
// once the table has rows.
bool IsRazdelEmpty(int position, DataSet* table);

// The text without leading and trailing blanks and control characters.
QString trimBlanks(const QString& text);

// The code of a membership row read as an integer. A code that is no number (only
// possible in a foreign file) reads as 0, so the row counts as a listed association.
int membershipKod(const QString& kodRow);

// The findings of one section during a run: its position, the error list and the
// section's two counters.
struct ErrSink {
    DataSet& err;
    int position;
    int& e;
    int& w;

    void error(const QString& msg, const QString& fieldName, const QString& kodRowValue = {}) const
    {
        AddErr(msg, false, position, fieldName, kodRowValue, err, e, w, false);
    }
    void warning(const QString& msg, const QString& fieldName,
                 const QString& kodRowValue = {}) const
    {
        AddErr(msg, true, position, fieldName, kodRowValue, err, e, w, false);
    }
    // An error of a relation between sections: mending it may need another section, so
    // it does not keep the user in this one.
    void crossError(const QString& msg, const QString& fieldName, const QString& kodRowValue) const
    {
        AddErr(msg, false, position, fieldName, kodRowValue, err, e, w, true);
    }
};
