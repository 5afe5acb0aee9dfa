#pragma once

#include "model/Settings.h"

#include <QString>
#include <optional>

class DataSet;
struct CliOptions;

// Prints the error list, one TAB-separated line per record (see ErrorListLines).
void printErrorList(DataSet& err);
// Prints "Ошибок: N, предупреждений: M".
void printErrorSummary(int errors, int warnings);

// The settings file of --settings, none without it. Throws UsageError for a file that
// does not exist or cannot be read: silently taking every default would hide a typo.
std::optional<Settings> settingsOption(const CliOptions& o);
