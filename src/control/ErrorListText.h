#pragma once

#include <QString>
#include <QStringList>

class DataSet;

// The error list as plain text lines, one per record, for scripts and golden files:
// RazdelKod, "E" or "W", ErrorNum, FieldName, KodRow_Value, MayExitFromRazdel as
// "1"/"0", ErrorName, separated by TAB. Backslash, TAB, CR and LF inside a value are
// written as \\, \t, \r and \n so that every record stays on one line. Ordered by section
// code, errors before warnings, then by number. Reads through a second cursor.
QStringList ErrorListLines(const DataSet& err);
// A text that stays on one line: backslash, TAB, CR and LF written as \\, \t, \r, \n.
QString escapeLineText(const QString& text);

// "Ошибок: N, предупреждений: M".
QString ErrorListSummary(int errors, int warnings);
