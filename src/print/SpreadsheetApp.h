#pragma once

#include "print/SpreadsheetError.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Cells counted from 1, as the sheet shows them; both corners inclusive.
struct CellRange {
    int top = 1;
    int left = 1;
    int bottom = 1;
    int right = 1;
    static CellRange cell(int row, int col) { return {row, col, row, col}; }
    friend bool operator==(const CellRange&, const CellRange&) = default;
};

// A colour as 0xRRGGBB.
using CellColor = quint32;

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Center, Bottom };
enum class Orientation { Portrait, Landscape };
enum class FileFormat { Xls, Xlsx, Pdf };
// What a sheet's protection covers: everything, only what the user types (programs may
// still write), or nothing at all.
enum class SheetProtection { Everything, UserInterfaceOnly, Nothing };

// The edges of a range's frame, in the order they are drawn.
enum class BorderEdge { Left, Top, Bottom, Right, InsideVertical, InsideHorizontal };

// Page setup of the first sheet; zero or empty values are left as they are.
struct PageSetup {
    Orientation orientation = Orientation::Portrait;
    int fitPagesWide = 0; // scale so that the print area is this many pages wide
    double marginMm = 0;  // all four margins
    QString printArea;    // "A1:J120"
    friend bool operator==(const PageSetup&, const PageSetup&) = default;
};

// One running spreadsheet application and the workbook it works on. Calls fail with
// SpreadsheetError; create() fails with SpreadsheetStartError.
class SpreadsheetApp {
public:
    virtual ~SpreadsheetApp() = default;

    // Makes sure the application runs and answers.
    virtual void create() = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void setDisplayAlerts(bool on) = 0;

    // Opens the file as an untitled copy, so it can never be overwritten.
    virtual void openWorkbook(const QString& path) = 0;
    virtual void addWorkbook() = 0;
    // What follows works on the first sheet of that workbook.
    virtual void unprotectSheet(const QString& password) = 0;
    virtual void protectSheet(const QString& password, SheetProtection what) = 0;

    // Replaces every occurrence of `what` (any letter case, also inside a cell's text) in
    // the range given by name. A result cell whose text starts with "'" is kept as the
    // text after the apostrophe. Answers whether the call produced a result.
    virtual bool replaceInRange(const QString& range, const QString& what, const QString& with) = 0;
    // Every replacement in order, with the result of one replaceInRange each; an
    // application may do it in fewer round trips.
    virtual void replaceAllInRange(const QString& range,
                                   const QList<QPair<QString, QString>>& replacements)
    {
        for (const auto& [what, with] : replacements)
            if (!what.isEmpty())
                replaceInRange(range, what, with);
    }

    // Text exactly as given (never parsed as a number or formula).
    virtual void setCellText(int row, int col, const QString& text) = 0;
    // Rows of texts from (row, col) on, in one call.
    virtual void setBlock(int row, int col, const QList<QStringList>& rows) = 0;
    virtual void mergeCells(const CellRange& range) = 0;

    virtual void setHorizontalAlignment(const CellRange& range, HAlign align) = 0;
    virtual void setVerticalAlignment(const CellRange& range, VAlign align) = 0;
    virtual void setWrapText(const CellRange& range, bool wrap) = 0;
    virtual void setFont(const CellRange& range, const QString& name, double pointSize) = 0;
    virtual void setBold(const CellRange& range, bool bold) = 0;
    virtual void setBackColor(const CellRange& range, CellColor color) = 0;
    // A thin continuous line in the automatic colour.
    virtual void setBorder(const CellRange& range, BorderEdge edge) = 0;

    // Width in characters of "0" in the standard font.
    virtual void setColumnWidth(int col, double chars) = 0;
    virtual void setColumnWidthMm(int col, double mm) = 0;
    virtual void setOptimalRowHeights(int firstRow, int lastRow) = 0;
    // A printed page starts with this row.
    virtual void setPageBreakBefore(int row) = 0;

    // "$1:$2"
    virtual void setPrintTitleRows(const QString& rows) = 0;
    // "$A:$B"
    virtual void setPrintTitleColumns(const QString& cols) = 0;
    // Footer texts with the codes of FooterCodes.h.
    virtual void setFooters(const QString& left, const QString& center, const QString& right) = 0;
    virtual void setPageSetup(const PageSetup& setup) = 0;

    // Writes the workbook (the PDF holds the first sheet) without changing which file the
    // workbook belongs to.
    virtual void storeAs(const QString& path, FileFormat format) = 0;
    // Closes the workbook without saving; harmless when none is open.
    virtual void closeWorkbook() = 0;
    // Lets go of the application; it keeps running for the next command.
    virtual void release() = 0;
};

// Closes the workbook unsaved and lets the application go, whatever state they are in;
// used on every way out of a print or an export.
inline void closeQuietly(SpreadsheetApp& app) noexcept
{
    try {
        app.closeWorkbook();
    } catch (...) {
    }
    try {
        app.release();
    } catch (...) {
    }
}
