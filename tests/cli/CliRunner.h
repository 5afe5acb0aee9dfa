#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
    QStringList lines() const; // standard output as UTF-8 lines
};

// Runs the built command-line companion with the arguments.
CliRun runCliProgram(const QStringList& arguments,
                     const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment());
