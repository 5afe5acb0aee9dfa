#pragma once

#include "OfficeModule.h"

#include <QtGlobal>
#include <functional>
#include <memory>

// One headless LibreOffice for the program: started at first use, kept for the session,
// shut down with this object. One worker thread owns it and makes every UNO call; callers
// wait for their call while their own thread keeps processing events (not user input).
class OfficeSession {
public:
    explicit OfficeSession(OfficeConfig config);
    ~OfficeSession();
    OfficeSession(const OfficeSession&) = delete;
    OfficeSession& operator=(const OfficeSession&) = delete;

    // Starts the office unless a live one answers. Throws SpreadsheetStartError.
    void ensureStarted();
    // Closes every document, terminates the office and kills what is left of it.
    void shutdown();
    // The process group of the running office, 0 when none.
    qint64 processGroup() const;

    // Runs `fn` on the worker thread and waits for it; exceptions come back to the caller.
    void run(const std::function<void()>& fn);

    struct Impl;
    Impl& impl() { return *d; }

private:
    std::unique_ptr<Impl> d;
};
