#pragma once

#include "print/SpreadsheetOffice.h"

#include <QString>
#include <memory>

// The office module is a library loaded at run time, so that the programs start and do
// everything but printing and table export on a machine without LibreOffice.
class OfficeModule {
public:
    // `moduleFile` comes from AppPaths; $FORM2AUDIT_OFFICE_MODULE overrides it.
    OfficeModule(const QString& moduleFile, OfficeConfig config);
    ~OfficeModule();
    OfficeModule(const OfficeModule&) = delete;
    OfficeModule& operator=(const OfficeModule&) = delete;

    // Loads the module and opens the office once. Throws SpreadsheetStartError saying what
    // is missing.
    SpreadsheetOffice& office();
    // An application whose create() does the loading, so a missing office is reported
    // where the callers expect a failed start.
    std::unique_ptr<SpreadsheetApp> newApp();
    // Shuts the office down when it was opened; the next use opens a new one.
    void shutdown();

    // Starts the office in the background when the module loads and the office program is
    // installed. Nothing is reported: what is missing is said when a command needs it.
    void startEarly();
    // Passed on to the office, now or when it is opened.
    void setWaitObserver(OfficeWaitObserver* observer);
    // The office when it was opened, else nullptr.
    SpreadsheetOffice* opened() const { return m_office.get(); }

private:
    QString m_file;
    OfficeConfig m_config;
    std::unique_ptr<SpreadsheetOffice> m_office;
    OfficeWaitObserver* m_observer = nullptr;
};
