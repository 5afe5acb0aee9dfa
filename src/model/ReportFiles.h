#pragma once

#include "model/AppPaths.h"

#include <QList>
#include <QString>
#include <QStringList>

class ReportTables;

// The section files of a whole report year, for the commands that work on the report as a
// unit (carrying a year over, restoring a report) rather than one section at a time.

// The seven section files of the year that exist, in section order.
QStringList ExistingReportFiles(const AppPaths& paths, const QString& year);
bool HasReportFiles(const AppPaths& paths, const QString& year);

// Loads every existing section file of the year over the built-in rows. Read-only: a file
// that cannot be read stops the load with DataSetError naming it and stays where it is.
void LoadReportFiles(ReportTables& tables, const AppPaths& paths, const QString& year);

// Saves the sections at `positions` (every section when empty); answers the paths written.
// Throws DataSetError naming the file that cannot be written.
QStringList SaveReportFiles(ReportTables& tables, const AppPaths& paths, const QString& year,
                            const QList<int>& positions = {});

// The year before, as four digits.
QString PreviousYear(const QString& year);
