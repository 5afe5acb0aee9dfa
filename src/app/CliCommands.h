#pragma once

#include <QString>
#include <QStringList>

class AppPaths;
class ReportTables;

// Runs the command-line companion; answers the process exit code.
int runCli(const QStringList& arguments);

// Loads every section file of the year over the built-in rows without moving anything
// aside. Throws DataSetError naming a file that cannot be read.
void loadReport(ReportTables& tables, const AppPaths& paths, const QString& year);
