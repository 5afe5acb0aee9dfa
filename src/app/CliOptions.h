#pragma once

#include "model/AppPaths.h"
#include "model/UserError.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

// Bad usage of the command-line companion: exit code 2 with the message.
class UsageError : public UserError {
public:
    using UserError::UserError;
};

// The options every command takes, and the positional arguments left over.
struct CliOptions {
    QString command;
    QStringList positional;
    QString dataDir;        // --data
    QString year;           // --year, or the reporting year of `today`
    bool yearGiven = false; // --year was on the command line
    QDate today;            // --today, or the system date
    QString settingsFile;   // --settings; empty: every setting takes its default
    QString outDir;         // --out
    QString toDir;          // --to
    bool force = false;     // --force
    bool draft = false;     // --draft
    QString templatesDir;   // --templates

    // Throws UsageError.
    static CliOptions parse(const QStringList& arguments);
    AppPaths paths() const;
};
