#include "RecordingSpreadsheetSupport.h"

#include <QFile>

using namespace Qt::StringLiterals;

QString rangeText(const CellRange& r)
{
    return u"R%1C%2:R%3C%4"_s.arg(r.top).arg(r.left).arg(r.bottom).arg(r.right);
}

void RecordingSpreadsheet::record(const QString& name, const QString& args)
{
    calls << (args.isEmpty() ? name : name + u' ' + args);
    if (cancelling.contains(name))
        throw SpreadsheetCancelled(name + u" cancelled"_s);
    if (failing.contains(name) || failing.contains(calls.last()))
        throw SpreadsheetError(name + u" failed"_s);
}

QStringList RecordingSpreadsheet::callsStartingWith(const QString& prefix) const
{
    QStringList out;
    for (const QString& c : calls)
        if (c.startsWith(prefix))
            out << c;
    return out;
}

void RecordingSpreadsheet::create()
{
    calls << u"create"_s;
    if (cancelling.contains(u"create"_s))
        throw SpreadsheetCancelled(u"create cancelled"_s);
    if (failing.contains(u"create"_s))
        throw SpreadsheetStartError(u"no office"_s);
}
void RecordingSpreadsheet::setVisible(bool v)
{
    record(u"visible"_s, v ? u"1"_s : u"0"_s);
}
void RecordingSpreadsheet::setDisplayAlerts(bool on)
{
    record(u"alerts"_s, on ? u"1"_s : u"0"_s);
}
void RecordingSpreadsheet::openWorkbook(const QString& path)
{
    record(u"open"_s, path);
}
void RecordingSpreadsheet::addWorkbook()
{
    record(u"add"_s);
}
void RecordingSpreadsheet::unprotectSheet(const QString& pw)
{
    record(u"unprotect"_s, pw);
}
void RecordingSpreadsheet::protectSheet(const QString& pw, SheetProtection what)
{
    const QString mode = what == SheetProtection::Everything          ? u"all"_s
                         : what == SheetProtection::UserInterfaceOnly ? u"ui"_s
                                                                      : u"none"_s;
    record(u"protect"_s, pw + u'/' + mode);
}
bool RecordingSpreadsheet::replaceInRange(const QString& range, const QString& what,
                                          const QString& with)
{
    record(u"replace"_s, range + u' ' + what + u'\t' + with);
    if (failingMarkers.contains(what))
        throw SpreadsheetError(u"replace failed"_s);
    return true;
}
void RecordingSpreadsheet::setCellText(int row, int col, const QString& text)
{
    record(u"cell"_s, u"R%1C%2=%3"_s.arg(row).arg(col).arg(text));
    cells[{row, col}] = text;
}
void RecordingSpreadsheet::setBlock(int row, int col, const QList<QStringList>& rows)
{
    record(u"block"_s,
           u"R%1C%2 %3x%4"_s.arg(row).arg(col).arg(rows.size()).arg(rows.value(0).size()));
    for (int i = 0; i < rows.size(); ++i)
        for (int k = 0; k < rows[i].size(); ++k)
            cells[{row + i, col + k}] = rows[i][k];
}
void RecordingSpreadsheet::mergeCells(const CellRange& r)
{
    record(u"merge"_s, rangeText(r));
}
void RecordingSpreadsheet::setHorizontalAlignment(const CellRange& r, HAlign a)
{
    record(u"halign"_s, rangeText(r) + (a == HAlign::Left     ? u" left"_s
                                        : a == HAlign::Center ? u" center"_s
                                                              : u" right"_s));
}
void RecordingSpreadsheet::setVerticalAlignment(const CellRange& r, VAlign a)
{
    record(u"valign"_s, rangeText(r) + (a == VAlign::Top      ? u" top"_s
                                        : a == VAlign::Center ? u" center"_s
                                                              : u" bottom"_s));
}
void RecordingSpreadsheet::setWrapText(const CellRange& r, bool w)
{
    record(u"wrap"_s, rangeText(r) + (w ? u" 1"_s : u" 0"_s));
}
void RecordingSpreadsheet::setFont(const CellRange& r, const QString& name, double size)
{
    record(u"font"_s, rangeText(r) + u' ' + name + u' ' + QString::number(size));
}
void RecordingSpreadsheet::setBold(const CellRange& r, bool b)
{
    record(u"bold"_s, rangeText(r) + (b ? u" 1"_s : u" 0"_s));
}
void RecordingSpreadsheet::setBackColor(const CellRange& r, CellColor c)
{
    record(u"back"_s, rangeText(r) + u" #"_s + QString::number(c, 16).rightJustified(6, u'0'));
}
void RecordingSpreadsheet::setBorder(const CellRange& r, BorderEdge e)
{
    static const char16_t* names[] = {u"left", u"top", u"bottom", u"right", u"insideV", u"insideH"};
    const QString name = QString::fromUtf16(names[int(e)]);
    calls << u"border "_s + rangeText(r) + u' ' + name;
    if (failing.contains(u"border "_s + name))
        throw SpreadsheetError(u"border failed"_s);
}
void RecordingSpreadsheet::setColumnWidth(int col, double chars)
{
    record(u"width"_s, u"%1=%2"_s.arg(col).arg(chars));
}
void RecordingSpreadsheet::setColumnWidthMm(int col, double mm)
{
    record(u"widthMm"_s, u"%1=%2"_s.arg(col).arg(mm));
}
void RecordingSpreadsheet::setOptimalRowHeights(int a, int b)
{
    record(u"heights"_s, u"%1-%2"_s.arg(a).arg(b));
}
void RecordingSpreadsheet::setPrintTitleRows(const QString& rows)
{
    record(u"titleRows"_s, rows);
}
void RecordingSpreadsheet::setPrintTitleColumns(const QString& cols)
{
    record(u"titleCols"_s, cols);
}
void RecordingSpreadsheet::setFooters(const QString& l, const QString& c, const QString& r)
{
    record(u"footers"_s, l + u'|' + c + u'|' + r);
}
void RecordingSpreadsheet::setPageSetup(const PageSetup& s)
{
    record(u"page"_s, (s.orientation == Orientation::Landscape ? u"landscape "_s : u"portrait "_s) +
                          s.printArea);
}
void RecordingSpreadsheet::storeAs(const QString& path, FileFormat f)
{
    record(u"store"_s, (f == FileFormat::Pdf    ? u"pdf "_s
                        : f == FileFormat::Xlsx ? u"xlsx "_s
                                                : u"xls "_s) +
                           path);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("%PDF-fake");
}
void RecordingSpreadsheet::closeWorkbook()
{
    record(u"close"_s);
}
void RecordingSpreadsheet::release()
{
    record(u"release"_s);
}
void RecordingSpreadsheet::setPageBreakBefore(int row)
{
    record(u"pageBreak"_s, QString::number(row));
}
