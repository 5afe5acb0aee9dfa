#pragma once

#include "AppPaths.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <stdexcept>

// Bad usage of the command-line companion: exit code 2 with the message.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    const QString& message() const { return m_message; }

private:
    QString m_message;
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
