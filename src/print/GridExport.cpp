#include "print/GridExport.h"

#include "print/GridSnapshot.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace {

// The other spreadsheet's light grey of its standard palette (colour index 15).
constexpr CellColor kHeaderGrey = 0xC0C0C0;

HAlign columnAlign(int qtAlignment)
{
    if (qtAlignment & Qt::AlignRight)
        return HAlign::Right;
    if (qtAlignment & Qt::AlignHCenter)
        return HAlign::Center;
    return HAlign::Left;
}

// A leading apostrophe marks a text entry; what we write is always text.
QString cellText(const QString& prefix, const QString& value)
{
    const QString text = prefix + value;
    return text.startsWith(u'\'') ? text.mid(1) : text;
}

void applyOverride(SpreadsheetApp& app, const CellRange& range, const QString& rawCode)
{
    const QString code = rawCode.toUpper();
    if (code.startsWith(u'H')) {
        if (code == u"HLEFT"_s)
            app.setHorizontalAlignment(range, HAlign::Left);
        else if (code == u"HRIGHT"_s)
            app.setHorizontalAlignment(range, HAlign::Right);
        else if (code == u"HCENTER"_s)
            app.setHorizontalAlignment(range, HAlign::Center);
    } else if (code.startsWith(u'V')) {
        if (code == u"VTOP"_s)
            app.setVerticalAlignment(range, VAlign::Top);
        else if (code == u"VBOTTOM"_s)
            app.setVerticalAlignment(range, VAlign::Bottom);
        else if (code == u"VCENTER"_s)
            app.setVerticalAlignment(range, VAlign::Center);
    }
}

} // namespace

int sheetColumnWidth(int pixelWidth, int zeroCharWidthPx)
{
    return zeroCharWidthPx > 0 ? pixelWidth / zeroCharWidthPx : 0;
}

QString columnLetters(int col)
{
    QString out;
    for (; col > 0; col = (col - 1) / 26)
        out.prepend(QChar(u'A' + (col - 1) % 26));
    return out;
}

QString workbookFileName(const QString& title)
{
    QString name = title.trimmed();
    for (QChar& c : name)
        if (c.unicode() < u' ' || QStringView(u"/\\:*?\"<>|").contains(c))
            c = u'_';
    if (name.isEmpty())
        name = u"Таблица"_s;
    return name + u".xlsx"_s;
}

void SetRangeBorders(SpreadsheetApp& app, const CellRange& range)
{
    for (BorderEdge edge :
         {BorderEdge::Left, BorderEdge::Top, BorderEdge::Bottom, BorderEdge::Right,
          BorderEdge::InsideVertical, BorderEdge::InsideHorizontal}) {
        if (edge == BorderEdge::InsideVertical) {
            try {
                app.setBorder(range, edge);
            } catch (const SpreadsheetError&) {
                // A range one column wide has no inside vertical lines.
            }
        } else {
            app.setBorder(range, edge);
        }
    }
}

bool ExportGridToExcel(const QStringList& titles, const GridSnapshot& grid,
                       const GridExportOptions& options, GridExportEnv& env)
{
    SpreadsheetApp& app = *env.app;
    try {
        app.create();
    } catch (const SpreadsheetCancelled&) {
        return false;
    } catch (const SpreadsheetError&) {
        env.message(u"Ошибка при создании объекта "_s + options.progId + u"\n\r"_s +
                        u"Возможно не та версия EXCEL"_s,
                    u"Ошибка"_s, false);
        return false;
    }
    const int n = int(titles.size());
    const int lastCol = int(grid.titles.size());
    const int headerRow = n + 1;
    const int lastRow = headerRow + int(grid.rows.size());
    const CellRange table{headerRow, 1, lastRow, lastCol};
    QString stored;
    try {
        app.setVisible(false);
        app.setDisplayAlerts(false);
        app.addWorkbook();
        app.protectSheet(QString(), SheetProtection::UserInterfaceOnly);

        for (int k = 1; k <= lastCol; ++k)
            app.setColumnWidth(
                k, sheetColumnWidth(grid.pixelWidths.value(k - 1), grid.zeroCharWidthPx));
        for (int i = 1; i <= n; ++i)
            app.setCellText(i, 1, titles[i - 1]);

        // Header and data in one call: a call per cell takes seconds for a few hundred rows.
        QList<QStringList> block;
        block.reserve(grid.rows.size() + 1);
        block.append(grid.titles);
        for (const QStringList& row : grid.rows) {
            QStringList cells;
            cells.reserve(lastCol);
            for (int k = 0; k < lastCol; ++k)
                cells.append(cellText(options.cellPrefix, row.value(k)));
            block.append(cells);
        }
        app.setBlock(headerRow, 1, block);

        app.setHorizontalAlignment(table, HAlign::Center);
        app.setVerticalAlignment(table, VAlign::Center);
        app.setWrapText(table, true);
        app.setFont(table, grid.fontFamily, grid.fontPointSize);
        SetRangeBorders(app, table);

        if (options.headerShade) {
            if (options.leadCols > 0)
                app.setBackColor({headerRow, 1, lastRow, options.leadCols}, kHeaderGrey);
            app.setBackColor({headerRow, 1, headerRow, lastCol}, kHeaderGrey);
        }

        app.setPrintTitleRows(u"$1:$"_s + QString::number(headerRow));
        if (options.leadCols >= 1 && options.leadCols <= 25)
            app.setPrintTitleColumns(u"$A:$"_s + columnLetters(options.leadCols));
        app.setFooters(u"&7&Д, &В"_s, u"&Z&F"_s, u"&7&С из &К"_s);

        if (lastRow > headerRow) {
            for (int k = 1; k <= lastCol; ++k)
                app.setHorizontalAlignment({headerRow + 1, k, lastRow, k},
                                           columnAlign(grid.alignments.value(k - 1)));
            for (int i = 0; i + 1 < options.alignList.size(); i += 2) {
                const int m = options.alignList[i].toInt() + 1;
                applyOverride(app, {headerRow + 1, m, lastRow, m}, options.alignList[i + 1]);
            }
        }
        // Wrapped rows keep their old heights until asked.
        app.setOptimalRowHeights(1, lastRow);
    } catch (const SpreadsheetCancelled&) {
        closeQuietly(app);
        return false;
    } catch (...) {
        closeQuietly(app);
        throw;
    }

    stored = QDir(env.tempDir).absoluteFilePath(workbookFileName(titles.value(0)));
    try {
        app.setDisplayAlerts(false);
        app.protectSheet(QString(), SheetProtection::Nothing);
        // The user may still have the previous copy open: never fight over it.
        if (QFile::exists(stored) && !QFile::remove(stored)) {
            for (int i = 2; QFile::exists(stored); ++i)
                stored =
                    QDir(env.tempDir)
                        .absoluteFilePath(workbookFileName(titles.value(0) + u" (%1)"_s.arg(i)));
        }
        app.storeAs(stored, FileFormat::Xlsx);
        app.closeWorkbook();
    } catch (const SpreadsheetCancelled&) {
        closeQuietly(app);
        QFile::remove(stored); // nothing half-written is left
        return false;
    } catch (const SpreadsheetError&) {
        closeQuietly(app);
        env.message(u"Освободите файл "_s + QDir::toNativeSeparators(options.fileName.isEmpty()
                                                                         ? stored
                                                                         : options.fileName),
                    u"Сообщение"_s, true);
        return false;
    }
    // The workbook is saved; only opening it for the user failed, and nothing holds the file.
    if (const QString reason = env.handOver(stored); !reason.isEmpty()) {
        closeQuietly(app);
        env.message(u"Таблица сохранена в файле "_s + QDir::toNativeSeparators(stored) +
                        u",\n\rно открыть её не удалось: "_s + reason,
                    u"Сообщение"_s, true);
        return false;
    }
    app.setDisplayAlerts(true);
    app.release();
    return true;
}
