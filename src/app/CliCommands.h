#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

class AppPaths;
class ReportTables;
struct CliOptions;

// Runs the command-line companion; answers the process exit code. Handlers throw
// UsageError or DataSetError for exit code 2.
int runCli(const QStringList& arguments);

using CliHandler = std::function<int(const CliOptions&)>;

// A command defined in its own file registers itself with a static registrar:
//   static CliCommandRegistrar reg(u"check"_s, cmdCheck);
struct CliCommandRegistrar {
    CliCommandRegistrar(const QString& name, CliHandler handler);
};

// Loads every section file of the year over the built-in rows without moving anything
// aside. Throws DataSetError naming a file that cannot be read.
void loadReport(ReportTables& tables, const AppPaths& paths, const QString& year);

// UTF-8 lines on standard output / standard error, and raw bytes on standard output.
void out(const QString& line);
void err(const QString& line);
void outBytes(const QByteArray& bytes);
