#pragma once

#include <QString>

class DataSet;
class MessageBoxes;

struct SectionGateCounts;
struct OutputGateCounts;

// What the gates may ask of the window: the control runs and the errors panel. The window
// implements it, tests record it.
class GateHost {
public:
    virtual ~GateHost() = default;
    // Posts the pending edit, lists the current section and runs the control.
    virtual SectionGateCounts runSectionControl() = 0;
    // Posts the pending edit, lists the whole report and runs the control.
    virtual OutputGateCounts runReportControl() = 0;
    virtual bool panelVisible() const = 0;
    // Shows or hides the panel together with its splitter handle.
    virtual void setPanelVisible(bool visible) = 0;
    // Hides the panel alone; the splitter keeps its place for the next showing.
    virtual void hidePanelOnly() = 0;
    // The errors (0) or warnings (1) tab, refiltered and shown.
    virtual void showTab(int tab) = 0;
    // The tab shown, the list focused, and the jump to its first record's cell.
    virtual void showFirstRecord(int tab) = 0;
    // The jump to the cell of the record of a section's row.
    virtual void jumpToRecord(const QString& kodRow, int razdelInd) = 0;
    // Whether the panel lists the whole report (true) or the current section.
    virtual bool showAll() const = 0;
    virtual void setShowAll(bool showAll) = 0;
    // The shared control command follows the list's scope.
    virtual void updateCommonAction() = 0;
};

// The counts of one section after a control run.
struct SectionGateCounts {
    int errors = 0;
    int warnings = 0;
    bool blocked = false; // CanExitFromRazdel answered false
};

// The counts of the whole report after a control run, with the two warnings the final
// print asks about once more.
struct OutputGateCounts {
    int errors = 0;
    int warnings = 0;
    bool zeroPreviousYear = false; // warning on row 05 of section 2
    bool equalAudits = false;      // warning on row 29 of section 4
};

enum class LeaveTarget { Next, Prev, Print };
enum class OutputKind { Print, Export, Mail };

// The section gate: runs the control; true lets the user leave; false has shown the list
// and the message that keep the user in the section.
bool LeaveRazdelGate(LeaveTarget target, GateHost& host, MessageBoxes& messages);

// The pre-output gate: runs the control over the whole report; true lets the output go
// ahead. A final print that goes ahead finds the panel as it was before.
bool OutputGate(OutputKind kind, GateHost& host, MessageBoxes& messages);

// What Next does once pressed on the section at `current` of `count`.
enum class NextStep { Stay, Print, SelectNext };
NextStep NextRazdelGate(int current, int count, GateHost& host, MessageBoxes& messages);

// The warning records of the error list at a section's row, read through a second
// cursor (the list's filter and current record stay).
bool HasWarningAt(DataSet& err, const QString& kodRow, int razdelInd);
OutputGateCounts OutputCountsOf(DataSet& err, int errors, int warnings);
