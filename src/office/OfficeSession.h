#pragma once

#include "print/SpreadsheetOffice.h"

#include <QtGlobal>
#include <functional>
#include <memory>

// One headless LibreOffice for the program: started at first use (or early, in the
// background), kept for the session, shut down with this object. One worker thread owns it
// and makes every UNO call; callers wait for their call while their own thread keeps
// processing events (not user input, unless the wait observer's own window takes it).
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
    // How many times an office process was started.
    int startCount() const;
    // The observer of the waits of one command; setting it forgets an earlier cancel.
    void setWaitObserver(OfficeWaitObserver* observer);
    // Once the user cancelled, every further call of the command but closing fails at once.
    bool cancelRequested() const;
    // Closes every document, terminates the office and kills what is left of it.
    void shutdown();
    // The process group of the running office, 0 when none.
    qint64 processGroup() const;

    // Runs `fn` on the worker thread and waits for it; exceptions come back to the caller.
    // A detachable `fn` (one that holds nothing of the caller's) is left to finish on its
    // own when the user cancels the wait.
    void run(const std::function<void()>& fn, bool detachable = false);

    struct Impl;
    Impl& impl() { return *d; }

private:
    std::unique_ptr<Impl> d;
};
