#pragma once

#include "model/AppPaths.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class ReportTables;

// What is taken from last year's report into this year's: the requisites except the date
// the form was drawn up, the membership table, and section 2's column 3 (rows 06-11)
// as this year's column 4 ("for the previous year").
enum class CarryOverMode {
    NewYear,        // this year has no data yet: every carried value is taken
    EmptyCellsOnly, // only cells that are empty this year are filled
};

struct CarriedCell {
    int position;  // section position
    QString row;   // KodRow, the membership Num, empty for the requisites
    QString field; // the field filled in this year's table
    QString value; // its new text
};

struct CarryOverResult {
    QList<CarriedCell> cells;
    QList<int> changedPositions; // sections whose tables changed, totals included
};

// Carries `previous` into `current` through second cursors (no hooks run), then recomputes
// section 2's totals.
CarryOverResult CarryOver(const ReportTables& previous, ReportTables& current, CarryOverMode mode);

// The same on the section files: the year before `year` into `year`. Nothing when the year
// before has no files. In NewYear mode all seven files of `year` are written, otherwise
// only the changed ones. Throws DataSetError for a file that cannot be read or written;
// nothing is written when a file cannot be read.
std::optional<CarryOverResult> CarryOverFiles(const AppPaths& paths, const QString& year,
                                              CarryOverMode mode);

// One TAB-separated line per filled cell: section code, row, field, value (escaped so
// that it stays on one line).
QStringList CarryOverLines(const CarryOverResult& result);
// "Перенесено значений из отчёта за 2008 год: N".
QString CarryOverSummary(const CarryOverResult& result, const QString& previousYear);
// The notice of the window: the summary and the count per section.
QString CarryOverMessage(const CarryOverResult& result, const QString& previousYear);
// The question asked when a new reporting year opens.
QString CarryOverQuestion(const QString& previousYear, const QString& year);
