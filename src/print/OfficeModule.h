#pragma once

#include "SpreadsheetApp.h"

#include <QString>
#include <memory>

struct OfficeConfig {
    QString soffice;            // empty: the office of the build, or $FORM2AUDIT_SOFFICE
    QString workDir;            // the private profile and logs go in a folder under it
    int startTimeoutMs = 20000; // not answering by then: cannot be created
};

// One office for the program: started at first use, shut down with this object.
class SpreadsheetOffice {
public:
    virtual ~SpreadsheetOffice() = default;
    // An application object of its own on this office.
    virtual std::unique_ptr<SpreadsheetApp> newApp() = 0;
};

// The entry point the office module exports: a new office for the configuration.
using OpenOfficeFunction = SpreadsheetOffice* (*)(const OfficeConfig* config);
inline constexpr char kOpenOfficeSymbol[] = "form2audit_open_office_v1";

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

private:
    QString m_file;
    OfficeConfig m_config;
    std::unique_ptr<SpreadsheetOffice> m_office;
};
