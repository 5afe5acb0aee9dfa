#pragma once

#include "control/Gates.h"
#include "output/ExportFile.h"

#include <QString>

class MessageBoxes;
class ReportTables;
class UrlOpener;
struct ControlEnv;

// The archive for the ministry, from the question that starts it to the notice that ends it.
// The window and the command line run the same steps: gate on the control's counts, write
// the archive, tell where it is.

// Where the archive goes and which year it reports.
struct SubmissionPlace {
    QString exportDir;
    QString year;
};

enum class SubmissionStatus {
    Declined, // the user answered No before the archive was written
    Held,     // the gate stopped it: errors, or the user chose to see the warnings
    Written,  // the archive is written (and, by mail, nothing more was asked)
    NotSent,  // by mail: the archive is written, the user chose not to send it
};

struct SubmissionResult {
    SubmissionStatus status = SubmissionStatus::Declined;
    RepFileResult file;      // once written
    OutputGateCounts counts; // of the batch run
    bool forced = false;     // written in spite of errors
};

// The window's export: asks, runs the pre-output gate, writes the archive and shows its
// place. On Written the window goes on to the final print.
SubmissionResult ExportSubmission(const ReportTables& tables, const SubmissionPlace& place,
                                  GateHost& host, MessageBoxes& messages);

// The e-mail: asks whether the report was printed, runs the gate, empties the export
// folder, writes the archive, asks whether to send it to `address`, then hands a
// "mailto:" link with the covering letter to the desktop from inside the export folder
// (where the mail program looks for the attachment) and says what to do if it fails.
// Throws UserError when that folder cannot be entered.
SubmissionResult SendSubmissionByMail(const ReportTables& tables, const SubmissionPlace& place,
                                      const QString& address, GateHost& host,
                                      MessageBoxes& messages, UrlOpener& urls);

// The command line's export: no questions; the control runs over the whole report, its
// errors hold the archive back unless `force` is set, warnings never do.
SubmissionResult BatchSubmission(ReportTables& tables, const SubmissionPlace& place,
                                 const ControlEnv& env, bool force);
