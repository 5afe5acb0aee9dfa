#pragma once

#include "office/OfficeSession.h"
#include "print/SpreadsheetApp.h"

#include <QString>
#include <functional>
#include <memory>

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

    // Texts of the first sheet's cells in the range, row by row (for checks).
    QList<QStringList> readBlock(const CellRange& range);

    struct Doc;

private:
    void call(const std::function<void()>& fn);
    void callAlways(const std::function<void()>& fn);

    OfficeSession& m_session;
    std::unique_ptr<Doc> m_doc;
};
