#pragma once

#include "print/SpreadsheetApp.h"

#include <QMap>
#include <QSet>
#include <QStringList>

// A spreadsheet application that records every call as a line of text and keeps the
// texts written, so tests can check both the sequence and the resulting sheet.
class RecordingSpreadsheet final : public SpreadsheetApp {
public:
    QStringList calls;
    QMap<QPair<int, int>, QString> cells; // (row, col) -> text
    QSet<QString> failing;                // operations that throw (by name)
    QSet<QString> failingMarkers;         // replacements that throw
    QSet<QString> cancelling;             // operations the user cancels (by name)

    void create() override;
    void setVisible(bool visible) override;
    void setDisplayAlerts(bool on) override;
    void openWorkbook(const QString& path) override;
    void addWorkbook() override;
    void unprotectSheet(const QString& password) override;
    void protectSheet(const QString& password, SheetProtection what) override;
    bool replaceInRange(const QString& range, const QString& what, const QString& with) override;
    void setCellText(int row, int col, const QString& text) override;
    void setBlock(int row, int col, const QList<QStringList>& rows) override;
    void mergeCells(const CellRange& range) override;
    void setHorizontalAlignment(const CellRange& range, HAlign align) override;
    void setVerticalAlignment(const CellRange& range, VAlign align) override;
    void setWrapText(const CellRange& range, bool wrap) override;
    void setFont(const CellRange& range, const QString& name, double pointSize) override;
    void setBold(const CellRange& range, bool bold) override;
    void setBackColor(const CellRange& range, CellColor color) override;
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

    // The recorded calls whose text starts with `prefix`.
    QStringList callsStartingWith(const QString& prefix) const;

private:
    void record(const QString& name, const QString& args = {});
};

QString rangeText(const CellRange& r);
