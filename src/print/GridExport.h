#pragma once

#include "print/SpreadsheetApp.h"

#include <QString>
#include <QStringList>
#include <functional>

struct GridSnapshot;

struct GridExportOptions {
    QString progId;
    QString fileName;      // named by the final-step message; empty: the stored workbook's path
    int leadCols = 0;      // leading columns shaded and repeated on every page
    int headerRows = 0;    // ignored: one header row
    QStringList alignList; // pairs: 0-based column index, code (HLEFT, VTOP, ...)
    bool headerShade = true;
    QString cellPrefix;
};

// What the export needs from outside: the application, messages, and the hand-over.
struct GridExportEnv {
    SpreadsheetApp* app = nullptr;
    // A message box: text, title, with an exclamation icon or none.
    std::function<void(const QString& text, const QString& title, bool exclamation)> message;
    // Opens the stored workbook for the user; the reason when that failed, else empty.
    std::function<QString(const QString& path)> handOver;
    QString tempDir;
};

// Column width in characters: the grid's pixel width over the width of "0", rounded down.
int sheetColumnWidth(int pixelWidth, int zeroCharWidthPx);
// "A" for 1 ... "Z" for 26, "AA" for 27.
QString columnLetters(int col);
// A name the file system takes for a workbook titled `title`.
QString workbookFileName(const QString& title);

// Frames the range with thin lines; the inside vertical lines may fail (one column).
void SetRangeBorders(SpreadsheetApp& app, const CellRange& range);

// Puts the grid's visible columns and rows into a new workbook, formats it for reading
// and printing, stores it as .xlsx and hands it to the user. False after a reported
// failure; other failures throw after the workbook is closed.
bool ExportGridToExcel(const QStringList& titles, const GridSnapshot& grid,
                       const GridExportOptions& options, GridExportEnv& env);
