#pragma once

#include "print/PrintPreview.h"

#include <QList>
#include <QPair>
#include <QString>

class AppPaths;
class MessageBoxes;
class ReportTables;
class SpreadsheetApp;

enum class PrintMode { Final, Preview };

// Password of the templates' first sheet (a second copy of the archive's password).
inline constexpr char16_t kShablonPassword[] = u"vazu";
// The range every marker of a template stands in.
inline constexpr char16_t kShablonRange[] = u"A1:EL1000";
// Rows of the membership table on the form.
inline constexpr int kMembershipRows = 10;
// The identifier named in the creation-failure messages.
inline constexpr char16_t kSpreadsheetProgId[] = u"Excel.Application";

// A marker ("#OKPO#") and the text that replaces it, in the order of replacement.
using MarkerValue = QPair<QString, QString>;

// Every replacement of the filled form except the checksum, read through second cursors.
// Throws DataSetError for a missing table or field.
QList<MarkerValue> ReportMarkers(const ReportTables& tables, const QString& year);

// Replaces the marker in the template's range; never fails outward.
bool ReplaceInSheet(SpreadsheetApp& app, const QString& marker, const QString& value);
// Every marker in turn, with the result of one ReplaceInSheet each, in as few calls into
// the application as it allows; never fails outward.
void ReplaceAllInSheet(SpreadsheetApp& app, const QList<MarkerValue>& markers);

// Fills the template of the mode, shows it in the preview and closes it unsaved. Answers
// true when the preview was reached; false after a reported failure to find the template,
// start the application or open the template, or when the user cancelled the wait. Other failures
// throw. The templates are taken from `shablonDir` when given, else from the executable's folder.
bool PrintRepExcel(const ReportTables& tables, const AppPaths& paths, const QString& year,
                   PrintMode mode, SpreadsheetApp& app, MessageBoxes& messages,
                   PrintPreview& preview, const QString& shablonDir = {});
