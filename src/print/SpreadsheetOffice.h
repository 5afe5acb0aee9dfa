#pragma once

#include "print/OfficeWaitObserver.h"
#include "print/SpreadsheetApp.h"

#include <QString>
#include <memory>

struct OfficeConfig {
    QString soffice;            // empty: the office of the build, or $FORM2AUDIT_SOFFICE
    QString workDir;            // the private profile and logs go in a folder under it
    int startTimeoutMs = 20000; // not answering by then: cannot be created
};

// One office for the program: started at first use or early in the background, shut down
// with this object.
class SpreadsheetOffice {
public:
    virtual ~SpreadsheetOffice() = default;
    // An application object of its own on this office.
    virtual std::unique_ptr<SpreadsheetApp> newApp() = 0;
    // Whether the configured office program is there at all.
    virtual bool isInstalled() const = 0;
    // Starts the office without waiting for it. A failure is kept quiet: the next command
    // that needs the office tries again and reports. A command meanwhile waits for this start
    // instead of making another.
    virtual void startInBackground() = 0;
    // The observer of the waits of one command (nullptr: none). Setting it also forgets a
    // cancel: once the user cancelled, every further call of the command but closing fails
    // at once with SpreadsheetCancelled.
    virtual void setWaitObserver(OfficeWaitObserver* observer) = 0;
    // How many office processes were started, and the process group of the running one.
    virtual int startCount() const = 0;
    virtual qint64 processGroup() const = 0;
};

// The entry point the office module exports: a new office for the configuration.
using OpenOfficeFunction = SpreadsheetOffice* (*)(const OfficeConfig* config);
inline constexpr char kOpenOfficeSymbol[] = "form2audit_open_office_v2";
