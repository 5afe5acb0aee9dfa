#pragma once

#include "SpreadsheetApp.h"

#include <QString>
#include <functional>
#include <memory>

struct OfficeConfig {
    QString soffice;            // empty: the office of the build, or $FORM2AUDIT_SOFFICE
    QString workDir;            // the private profile and logs go in a folder under it
    int startTimeoutMs = 20000; // not answering by then: cannot be created
};

// Told by the session while the GUI thread waits for a call, so the wait can be shown and
// cancelled. Called on the waiting thread only.
class OfficeWaitObserver {
public:
    virtual ~OfficeWaitObserver() = default;
    virtual void waitStarted() = 0;
    // Called about every 50 ms; answers false once the user cancelled.
    virtual bool waitGoesOn(qint64 elapsedMs) = 0;
    // True while a window of the observer's own (application-modal) takes the user's input;
    // until then no user input is handled during a wait.
    virtual bool takesInput() const = 0;
    virtual void waitEnded() = 0;
};

// One headless LibreOffice for the program: started at first use (or early, in the
// background), kept for the session, shut down with this object. One worker thread owns it
// and makes every UNO call; callers wait for their call while their own thread keeps
// processing events (not user input).
class OfficeSession {
public:
    explicit OfficeSession(OfficeConfig config);
    ~OfficeSession();
    OfficeSession(const OfficeSession&) = delete;
    OfficeSession& operator=(const OfficeSession&) = delete;

    // Whether the configured office program is there at all.
    bool isInstalled() const;
    // Starts the office on the worker thread without waiting for it; a failure is kept
    // quiet (the next call that needs the office tries again and reports). A call made
    // meanwhile waits for this start instead of making another.
    void startInBackground();
    // Starts the office unless a live one answers. Throws SpreadsheetStartError. A user who
    // cancels the wait gets SpreadsheetCancelled while the start goes on for later.
    void ensureStarted();
    // How many times an office process was started (tests).
    int startCount() const;
    void setWaitObserver(OfficeWaitObserver* observer);
    // Once the user cancelled, every further call of the command but closing fails at once
    // with SpreadsheetCancelled, so nothing more is done; a new command clears it.
    void clearCancel();
    bool cancelRequested() const;
    // Closes every document, terminates the office and kills what is left of it.
    void shutdown();
    // The process group of the running office, 0 when none.
    qint64 processGroup() const;

    // Runs `fn` on the worker thread and waits for it; exceptions come back to the caller.
    // A detachable `fn` (one that holds nothing of the caller's) may be left to finish on
    // its own when the user cancels the wait.
    void run(const std::function<void()>& fn, bool detachable = false);

    struct Impl;
    Impl& impl() { return *d; }

private:
    std::unique_ptr<Impl> d;
};

// The spreadsheet application as LibreOffice Calc on a session.
class LibreOfficeApp final : public SpreadsheetApp {
public:
    explicit LibreOfficeApp(OfficeSession& session);
    ~LibreOfficeApp() override;

    void create() override;
    void setVisible(bool visible) override;
    void setDisplayAlerts(bool on) override;
    void openWorkbook(const QString& path) override;
    void addWorkbook() override;
    void unprotectSheet(const QString& password) override;
    void protectSheet(const QString& password, SheetProtection what) override;
    bool replaceInRange(const QString& range, const QString& what, const QString& with) override;
    void replaceAllInRange(const QString& range,
                           const QList<QPair<QString, QString>>& replacements) override;
    void setCellText(int row, int col, const QString& text) override;
    void setBlock(int row, int col, const QList<QStringList>& rows) override;
    void mergeCells(const CellRange& range) override;
    void setHorizontalAlignment(const CellRange& range, HAlign align) override;
    void setVerticalAlignment(const CellRange& range, VAlign align) override;
    void setWrapText(const CellRange& range, bool wrap) override;
    void setFont(const CellRange& range, const QString& name, double pointSize) override;
    void setBold(const CellRange& range, bool bold) override;
    void setBackColor(const CellRange& range, const QColor& color) override;
    void setBorder(const CellRange& range, BorderEdge edge) override;
    void setColumnWidth(int col, double chars) override;
    void setColumnWidthMm(int col, double mm) override;
    void setOptimalRowHeights(int firstRow, int lastRow) override;
    void setPageBreakBefore(int row) override;
    void setPrintTitleRows(const QString& rows) override;
    void setPrintTitleColumns(const QString& cols) override;
    void setFooters(const QString& left, const QString& center, const QString& right) override;
    void setPageSetup(const PageSetup& setup) override;
    void storeAs(const QString& path, FileFormat format) override;
    void closeWorkbook() override;
    void release() override;

    // Texts of the first sheet's cells in the range, row by row (for checks).
    QList<QStringList> readBlock(const CellRange& range);

    struct Doc;

private:
    void call(const std::function<void()>& fn);
    void callAlways(const std::function<void()>& fn);

    OfficeSession& m_session;
    std::unique_ptr<Doc> m_doc;
};
