#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class AppPaths;
class MessageBoxes;
class OfficeSession;
class QWidget;
class ReportTables;
struct GridSnapshot;

// Printing and table export for the main window. Owns the office of the session: it is
// started at the first print or export and shut down with this object.
class OfficeService {
public:
    OfficeService(ReportTables& tables, const AppPaths& paths, std::function<QString()> reportYear,
                  MessageBoxes& messages, QWidget* window = nullptr);
    ~OfficeService();

    void setWindow(QWidget* window) { m_window = window; }

    // Starts the office in the background when it is installed and `allowed` (the settings
    // file may say no), so that the first print finds it ready.
    void startEarly(bool allowed);
    // A wait longer than this shows the cancellable progress window.
    void setProgressDelayMs(int ms) { m_progressDelayMs = ms; }

    // The print of the report (final with the checksum, or the preview) and its preview.
    void printReport(bool finalMode);
    // The grid's contents as a workbook handed to the user.
    void exportGrid(const GridSnapshot& grid, const QStringList& titles);

    OfficeSession& session() { return *m_session; }

private:
    ReportTables& m_tables;
    const AppPaths& m_paths;
    std::function<QString()> m_reportYear;
    MessageBoxes& m_messages;
    QWidget* m_window;
    std::unique_ptr<OfficeSession> m_session;
    int m_progressDelayMs = 300;
};
