#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class AppPaths;
class DBGrid;
class MessageBoxes;
class OfficeModule;
class QWidget;
class ReportTables;
struct GridSnapshot;

// Printing and table export for the main window. Owns the office of the session: the
// office module is loaded and the office started early in the background or at the first
// print or export, and shut down with this object. A wait longer than a moment shows a busy
// cursor and a small progress window that can cancel the command.
class OfficeService {
public:
    OfficeService(ReportTables& tables, const AppPaths& paths, std::function<QString()> reportYear,
                  MessageBoxes& messages, QWidget* window = nullptr);
    ~OfficeService();

    void setWindow(QWidget* window) { m_window = window; }

    // Starts the office in the background when `allowed` (the settings may say no) and it is
    // installed, so that the first print finds it ready. Nothing is reported here.
    void startEarly(bool allowed);
    // A wait longer than this shows the progress window.
    void setProgressDelayMs(int ms) { m_progressDelayMs = ms; }
    OfficeModule& module() { return *m_office; }

    // The print of the report (final with the checksum, or the preview) and its preview.
    void printReport(bool finalMode);
    // The grid's contents as a workbook handed to the user.
    void exportGrid(const GridSnapshot& grid, const QStringList& titles);

private:
    ReportTables& m_tables;
    const AppPaths& m_paths;
    std::function<QString()> m_reportYear;
    MessageBoxes& m_messages;
    QWidget* m_window;
    std::unique_ptr<OfficeModule> m_office;
    int m_progressDelayMs = 300;
};

// What the grid shows, for the workbook: visible columns in display order, all rows.
GridSnapshot snapshotOf(DBGrid* grid);
