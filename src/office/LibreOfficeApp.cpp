#include "office/LibreOfficeApp.h"
#include "office/OfficeSessionImpl.h"
#include "office/UnoText.h"

#include "print/CellReplace.h"
#include "print/FooterCodes.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>

#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XHeaderFooterContent.hpp>
#include <com/sun/star/sheet/XPrintAreas.hpp>
#include <com/sun/star/sheet/XSheetCellCursor.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/sheet/XUsedAreaCursor.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/table/BorderLine2.hpp>
#include <com/sun/star/table/BorderLineStyle.hpp>
#include <com/sun/star/table/CellHoriJustify.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>
#include <com/sun/star/table/CellVertJustify2.hpp>
#include <com/sun/star/table/TableBorder2.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/table/XTableColumns.hpp>
#include <com/sun/star/table/XTableRows.hpp>
#include <com/sun/star/text/FilenameDisplayFormat.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XMergeable.hpp>
#include <com/sun/star/util/XProtectable.hpp>
#include <com/sun/star/util/XReplaceDescriptor.hpp>
#include <com/sun/star/util/XReplaceable.hpp>
#include <com/sun/star/util/XSearchDescriptor.hpp>
#include <com/sun/star/util/XSearchable.hpp>

using namespace Qt::StringLiterals;
using css::uno::Any;
using css::uno::Reference;
using css::uno::Sequence;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

namespace {

css::beans::PropertyValue prop(const char* name, const Any& value)
{
    css::beans::PropertyValue p;
    p.Name = ou(name);
    p.Value = value;
    return p;
}

Sequence<css::beans::PropertyValue> props(std::initializer_list<css::beans::PropertyValue> list)
{
    Sequence<css::beans::PropertyValue> out(sal_Int32(list.size()));
    std::copy(list.begin(), list.end(), out.getArray());
    return out;
}

rtl::OUString fileUrl(const QString& path)
{
    return ou(QUrl::fromLocalFile(QDir::cleanPath(QDir().absoluteFilePath(path)))
                  .toString(QUrl::FullyEncoded));
}

} // namespace

// ---------------------------------------------------------------- application

struct LibreOfficeApp::Doc {
    Reference<css::lang::XComponent> component;
    Reference<css::sheet::XSpreadsheet> sheet;

    css::sheet::XSpreadsheet& firstSheet()
    {
        if (!sheet.is())
            throw SpreadsheetError(u"Нет открытой книги"_s);
        return *sheet;
    }
    Reference<css::table::XCellRange> range(const CellRange& r)
    {
        return firstSheet().getCellRangeByPosition(r.left - 1, r.top - 1, r.right - 1,
                                                   r.bottom - 1);
    }
    void set(const CellRange& r, const char* name, const Any& value)
    {
        Reference<css::beans::XPropertySet>(range(r), UNO_QUERY_THROW)
            ->setPropertyValue(ou(name), value);
    }
    Reference<css::beans::XPropertySet> pageStyle()
    {
        rtl::OUString name;
        Reference<css::beans::XPropertySet>(sheet, UNO_QUERY_THROW)
            ->getPropertyValue(ou("PageStyle")) >>= name;
        Reference<css::style::XStyleFamiliesSupplier> families(component, UNO_QUERY_THROW);
        Reference<css::container::XNameAccess> pages(
            families->getStyleFamilies()->getByName(ou("PageStyles")), UNO_QUERY_THROW);
        return Reference<css::beans::XPropertySet>(pages->getByName(name), UNO_QUERY_THROW);
    }
    void adopt(const Reference<css::lang::XComponent>& c)
    {
        Reference<css::sheet::XSpreadsheetDocument> doc(c, UNO_QUERY);
        if (!doc.is()) {
            Reference<css::util::XCloseable> closeable(c, UNO_QUERY);
            if (closeable.is())
                closeable->close(true);
            throw SpreadsheetError(u"Файл не является книгой электронной таблицы"_s);
        }
        component = c;
        Reference<css::container::XIndexAccess> sheets(doc->getSheets(), UNO_QUERY_THROW);
        sheet.set(sheets->getByIndex(0), UNO_QUERY_THROW);
    }
    void close()
    {
        sheet.clear();
        Reference<css::lang::XComponent> c = component;
        component.clear();
        if (!c.is())
            return;
        try {
            Reference<css::util::XCloseable> closeable(c, UNO_QUERY);
            if (closeable.is())
                closeable->close(true);
            else
                c->dispose();
        } catch (const css::uno::Exception&) {
            // A document of an office that died is gone already.
        }
    }
};

LibreOfficeApp::LibreOfficeApp(OfficeSession& session)
    : m_session(session), m_doc(std::make_unique<Doc>())
{
}

LibreOfficeApp::~LibreOfficeApp()
{
    // Nothing was opened (a start failed or was cancelled): nothing to let go, and no need
    // to wait for the worker, which may still be starting the office.
    if (!m_doc->component.is() && !m_doc->sheet.is())
        return;
    try {
        // References to the office are let go on its own thread.
        callAlways([this] { m_doc->close(); });
    } catch (...) {
    }
    m_session.run([this] { m_doc.reset(); });
}

void LibreOfficeApp::call(const std::function<void()>& fn)
{
    if (m_session.cancelRequested())
        throw SpreadsheetCancelled(u"Отменено"_s);
    callAlways(fn);
}

void LibreOfficeApp::callAlways(const std::function<void()>& fn)
{
    m_session.run([&] {
        try {
            fn();
        } catch (const css::lang::DisposedException& e) {
            m_session.impl().dead = true;
            throw SpreadsheetError(u"LibreOffice перестал отвечать: "_s + qs(e.Message));
        } catch (const css::uno::Exception& e) {
            throw SpreadsheetError(u"Ошибка LibreOffice: "_s + qs(e.Message));
        }
    });
}

void LibreOfficeApp::create()
{
    m_session.ensureStarted();
}

void LibreOfficeApp::setVisible(bool)
{
    // A headless office has no windows: what the user sees is our own preview.
}

void LibreOfficeApp::setDisplayAlerts(bool)
{
    // A headless office never asks.
}

void LibreOfficeApp::openWorkbook(const QString& path)
{
    call([&] {
        m_doc->close();
        Reference<css::frame::XComponentLoader> loader(m_session.impl().desktop, UNO_QUERY_THROW);
        const Reference<css::lang::XComponent> c = loader->loadComponentFromURL(
            fileUrl(path), ou("_blank"), 0,
            props({prop("Hidden", Any(true)), prop("AsTemplate", Any(true))}));
        if (!c.is())
            throw SpreadsheetError(u"Не удалось открыть файл "_s + path);
        m_doc->adopt(c);
    });
}

void LibreOfficeApp::addWorkbook()
{
    call([&] {
        m_doc->close();
        Reference<css::frame::XComponentLoader> loader(m_session.impl().desktop, UNO_QUERY_THROW);
        m_doc->adopt(loader->loadComponentFromURL(ou("private:factory/scalc"), ou("_blank"), 0,
                                                  props({prop("Hidden", Any(true))})));
    });
}

void LibreOfficeApp::unprotectSheet(const QString& password)
{
    call([&] {
        Reference<css::util::XProtectable> p(&m_doc->firstSheet(), UNO_QUERY_THROW);
        if (p->isProtected())
            p->unprotect(ou(password));
    });
}

void LibreOfficeApp::protectSheet(const QString& password, SheetProtection what)
{
    call([&] {
        Reference<css::util::XProtectable> p(&m_doc->firstSheet(), UNO_QUERY_THROW);
        switch (what) {
        case SheetProtection::Everything:
            p->protect(ou(password));
            break;
        case SheetProtection::UserInterfaceOnly:
            // Calc has no protection that lets programs write: the sheet stays open.
            break;
        case SheetProtection::Nothing:
            if (p->isProtected())
                p->unprotect(ou(password));
            break;
        }
    });
}

namespace {

void setSearchFlags(const Reference<css::util::XSearchDescriptor>& d, const QString& what)
{
    Reference<css::beans::XPropertySet> p(d, UNO_QUERY_THROW);
    for (const char* flag : {"SearchCaseSensitive", "SearchWords", "SearchRegularExpression",
                             "SearchWildcard", "SearchSimilarity", "SearchStyles"})
        p->setPropertyValue(ou(flag), Any(false));
    d->setSearchString(ou(what));
}

} // namespace

bool LibreOfficeApp::replaceInRange(const QString& rangeName, const QString& what,
                                    const QString& with)
{
    bool result = false;
    call([&] {
        const Reference<css::table::XCellRange> range =
            m_doc->firstSheet().getCellRangeByName(ou(rangeName));
        if (!with.startsWith(u'\'')) {
            Reference<css::util::XReplaceable> r(range, UNO_QUERY_THROW);
            Reference<css::util::XReplaceDescriptor> d = r->createReplaceDescriptor();
            setSearchFlags(Reference<css::util::XSearchDescriptor>(d.get()), what);
            d->setReplaceString(ou(with));
            r->replaceAll(Reference<css::util::XSearchDescriptor>(d.get()));
            result = true;
            return;
        }
        // Calc shows a leading apostrophe unless a number follows it; the other spreadsheet
        // never does. Such results are written as the text after the apostrophe.
        Reference<css::util::XSearchable> s(range, UNO_QUERY_THROW);
        Reference<css::util::XSearchDescriptor> d = s->createSearchDescriptor();
        setSearchFlags(d, what);
        const Reference<css::container::XIndexAccess> found = s->findAll(d);
        result = true;
        if (!found.is())
            return;
        for (sal_Int32 i = 0; i < found->getCount(); ++i) {
            Reference<css::sheet::XCellRangeAddressable> a(found->getByIndex(i), UNO_QUERY_THROW);
            const css::table::CellRangeAddress addr = a->getRangeAddress();
            for (sal_Int32 row = addr.StartRow; row <= addr.EndRow; ++row) {
                for (sal_Int32 col = addr.StartColumn; col <= addr.EndColumn; ++col) {
                    Reference<css::text::XText> text(
                        m_doc->firstSheet().getCellByPosition(col, row), UNO_QUERY_THROW);
                    QString value = qs(text->getString());
                    if (!value.contains(what, Qt::CaseInsensitive))
                        continue;
                    value.replace(what, with, Qt::CaseInsensitive);
                    if (value.startsWith(u'\''))
                        value.remove(0, 1);
                    text->setString(ou(value));
                }
            }
            // A longer text in a wrapped cell needs a taller row.
            Reference<css::table::XColumnRowRange> rows(found->getByIndex(i), UNO_QUERY);
            if (rows.is())
                Reference<css::beans::XPropertySet>(rows->getRows(), UNO_QUERY_THROW)
                    ->setPropertyValue(ou("OptimalHeight"), Any(true));
        }
    });
    return result;
}

// The texts of the used part of the range are read in one call and replaced here; only
// the cells that change are written back. A sheet with formulas in that part goes the slow
// way, so that no formula is ever written over with its result.
void LibreOfficeApp::replaceAllInRange(const QString& rangeName,
                                       const QList<QPair<QString, QString>>& replacements)
{
    bool slow = false;
    call([&] {
        css::sheet::XSpreadsheet& sheet = m_doc->firstSheet();
        const css::table::CellRangeAddress wanted =
            Reference<css::sheet::XCellRangeAddressable>(sheet.getCellRangeByName(ou(rangeName)),
                                                         UNO_QUERY_THROW)
                ->getRangeAddress();
        Reference<css::sheet::XUsedAreaCursor> cursor(sheet.createCursor(), UNO_QUERY_THROW);
        cursor->gotoStartOfUsedArea(false);
        cursor->gotoEndOfUsedArea(true);
        const css::table::CellRangeAddress used =
            Reference<css::sheet::XCellRangeAddressable>(cursor, UNO_QUERY_THROW)
                ->getRangeAddress();
        const sal_Int32 left = std::max(wanted.StartColumn, used.StartColumn);
        const sal_Int32 top = std::max(wanted.StartRow, used.StartRow);
        const sal_Int32 right = std::min(wanted.EndColumn, used.EndColumn);
        const sal_Int32 bottom = std::min(wanted.EndRow, used.EndRow);
        if (left > right || top > bottom)
            return;
        const Reference<css::table::XCellRange> area =
            sheet.getCellRangeByPosition(left, top, right, bottom);
        const Reference<css::sheet::XSheetCellRanges> formulas =
            Reference<css::sheet::XCellRangesQuery>(area, UNO_QUERY_THROW)
                ->queryContentCells(css::sheet::CellFlags::FORMULA);
        if (formulas.is() && formulas->getRangeAddresses().getLength() > 0) {
            slow = true;
            return;
        }
        const Sequence<Sequence<Any>> data =
            Reference<css::sheet::XCellRangeData>(area, UNO_QUERY_THROW)->getDataArray();
        std::vector<sal_Int32> grownRows;
        for (sal_Int32 r = 0; r < data.getLength(); ++r) {
            const Sequence<Any>& row = data[r];
            for (sal_Int32 c = 0; c < row.getLength(); ++c) {
                rtl::OUString value;
                if (!(row[c] >>= value) || value.isEmpty())
                    continue;
                const ReplacedCell done = ReplaceInCellText(qs(value), replacements);
                if (!done.changed)
                    continue;
                const Reference<css::table::XCell> cell = area->getCellByPosition(c, r);
                if (!done.verbatim && ReadsAsNumber(done.text)) {
                    cell->setValue(done.text.toDouble());
                    continue;
                }
                Reference<css::text::XText>(cell, UNO_QUERY_THROW)->setString(ou(done.text));
                if (done.verbatim && (grownRows.empty() || grownRows.back() != top + r))
                    grownRows.push_back(top + r);
            }
        }
        // A longer text in a wrapped cell needs a taller row; neighbouring rows together.
        for (size_t i = 0; i < grownRows.size();) {
            size_t j = i;
            while (j + 1 < grownRows.size() && grownRows[j + 1] == grownRows[j] + 1)
                ++j;
            const Reference<css::table::XColumnRowRange> rows(
                sheet.getCellRangeByPosition(left, grownRows[i], left, grownRows[j]),
                UNO_QUERY_THROW);
            Reference<css::beans::XPropertySet>(rows->getRows(), UNO_QUERY_THROW)
                ->setPropertyValue(ou("OptimalHeight"), Any(true));
            i = j + 1;
        }
    });
    if (slow)
        SpreadsheetApp::replaceAllInRange(rangeName, replacements);
}

void LibreOfficeApp::setCellText(int row, int col, const QString& text)
{
    call([&] {
        Reference<css::text::XText>(m_doc->firstSheet().getCellByPosition(col - 1, row - 1),
                                    UNO_QUERY_THROW)
            ->setString(ou(text));
    });
}

void LibreOfficeApp::setBlock(int row, int col, const QList<QStringList>& rows)
{
    if (rows.isEmpty())
        return;
    qsizetype width = 1;
    for (const QStringList& r : rows)
        width = std::max(width, r.size());
    call([&] {
        Sequence<Sequence<Any>> data(sal_Int32(rows.size()));
        Sequence<Any>* out = data.getArray();
        for (qsizetype i = 0; i < rows.size(); ++i) {
            Sequence<Any> cells(static_cast<sal_Int32>(width));
            Any* c = cells.getArray();
            for (qsizetype k = 0; k < width; ++k)
                c[k] <<= ou(rows[i].value(k));
            out[i] = cells;
        }
        const CellRange r{row, col, row + int(rows.size()) - 1, col + int(width) - 1};
        Reference<css::sheet::XCellRangeData>(m_doc->range(r), UNO_QUERY_THROW)->setDataArray(data);
    });
}

void LibreOfficeApp::mergeCells(const CellRange& range)
{
    call([&] {
        Reference<css::util::XMergeable>(m_doc->range(range), UNO_QUERY_THROW)->merge(true);
    });
}

void LibreOfficeApp::setHorizontalAlignment(const CellRange& range, HAlign align)
{
    const css::table::CellHoriJustify j = align == HAlign::Left ? css::table::CellHoriJustify_LEFT
                                          : align == HAlign::Center
                                              ? css::table::CellHoriJustify_CENTER
                                              : css::table::CellHoriJustify_RIGHT;
    call([&] { m_doc->set(range, "HoriJustify", Any(j)); });
}

void LibreOfficeApp::setVerticalAlignment(const CellRange& range, VAlign align)
{
    const sal_Int32 j = align == VAlign::Top      ? css::table::CellVertJustify2::TOP
                        : align == VAlign::Center ? css::table::CellVertJustify2::CENTER
                                                  : css::table::CellVertJustify2::BOTTOM;
    call([&] { m_doc->set(range, "VertJustify", Any(j)); });
}

void LibreOfficeApp::setWrapText(const CellRange& range, bool wrap)
{
    call([&] { m_doc->set(range, "IsTextWrapped", Any(wrap)); });
}

void LibreOfficeApp::setFont(const CellRange& range, const QString& name, double pointSize)
{
    call([&] {
        if (!name.isEmpty())
            m_doc->set(range, "CharFontName", Any(ou(name)));
        if (pointSize > 0)
            m_doc->set(range, "CharHeight", Any(float(pointSize)));
    });
}

void LibreOfficeApp::setBold(const CellRange& range, bool bold)
{
    call([&] {
        m_doc->set(range, "CharWeight",
                   Any(bold ? css::awt::FontWeight::BOLD : css::awt::FontWeight::NORMAL));
    });
}

void LibreOfficeApp::setBackColor(const CellRange& range, CellColor color)
{
    call([&] { m_doc->set(range, "CellBackColor", Any(sal_Int32(color & 0xFFFFFF))); });
}

void LibreOfficeApp::setBorder(const CellRange& range, BorderEdge edge)
{
    call([&] {
        Reference<css::beans::XPropertySet> p(m_doc->range(range), UNO_QUERY_THROW);
        css::table::TableBorder2 b;
        p->getPropertyValue(ou("TableBorder2")) >>= b;
        b.IsLeftLineValid = b.IsTopLineValid = b.IsBottomLineValid = b.IsRightLineValid = false;
        b.IsVerticalLineValid = b.IsHorizontalLineValid = b.IsDistanceValid = false;
        css::table::BorderLine2 line;
        line.Color = 0;
        line.InnerLineWidth = 0;
        line.OuterLineWidth = 26;
        line.LineDistance = 0;
        line.LineStyle = css::table::BorderLineStyle::SOLID;
        line.LineWidth = 26; // thin: 0.75 pt
        switch (edge) {
        case BorderEdge::Left:
            b.LeftLine = line;
            b.IsLeftLineValid = true;
            break;
        case BorderEdge::Top:
            b.TopLine = line;
            b.IsTopLineValid = true;
            break;
        case BorderEdge::Bottom:
            b.BottomLine = line;
            b.IsBottomLineValid = true;
            break;
        case BorderEdge::Right:
            b.RightLine = line;
            b.IsRightLineValid = true;
            break;
        case BorderEdge::InsideVertical:
            b.VerticalLine = line;
            b.IsVerticalLineValid = true;
            break;
        case BorderEdge::InsideHorizontal:
            b.HorizontalLine = line;
            b.IsHorizontalLineValid = true;
            break;
        }
        p->setPropertyValue(ou("TableBorder2"), Any(b));
    });
}

void LibreOfficeApp::setColumnWidth(int col, double chars)
{
    // The other spreadsheet's unit: "0" of its standard font is 7 px, plus 5 px padding.
    const double px = chars > 0 ? chars * 7 + 5 : 0;
    setColumnWidthMm(col, px * 25.4 / 96);
}

void LibreOfficeApp::setColumnWidthMm(int col, double mm)
{
    call([&] {
        Reference<css::table::XColumnRowRange> cr(&m_doc->firstSheet(), UNO_QUERY_THROW);
        Reference<css::beans::XPropertySet> column(cr->getColumns()->getByIndex(col - 1),
                                                   UNO_QUERY_THROW);
        column->setPropertyValue(ou("Width"), Any(sal_Int32(std::lround(mm * 100))));
    });
}

void LibreOfficeApp::setOptimalRowHeights(int firstRow, int lastRow)
{
    call([&] {
        Reference<css::table::XColumnRowRange> cr(m_doc->range({firstRow, 1, lastRow, 1}),
                                                  UNO_QUERY_THROW);
        Reference<css::beans::XPropertySet>(cr->getRows(), UNO_QUERY_THROW)
            ->setPropertyValue(ou("OptimalHeight"), Any(true));
    });
}

void LibreOfficeApp::setPageBreakBefore(int row)
{
    call([&] {
        Reference<css::table::XColumnRowRange> cr(m_doc->range({row, 1, row, 1}), UNO_QUERY_THROW);
        Reference<css::beans::XPropertySet>(cr->getRows(), UNO_QUERY_THROW)
            ->setPropertyValue(ou("IsStartOfNewPage"), Any(true));
    });
}

namespace {

int columnNumber(const QString& letters)
{
    int n = 0;
    for (QChar c : letters)
        n = n * 26 + (c.toUpper().unicode() - u'A' + 1);
    return n;
}

} // namespace

void LibreOfficeApp::setPrintTitleRows(const QString& rows)
{
    static const QRegularExpression re(u"^\\$?(\\d+):\\$?(\\d+)$"_s);
    const auto m = re.match(rows);
    if (!m.hasMatch())
        throw SpreadsheetError(u"Неверные строки заголовка: "_s + rows);
    call([&] {
        css::table::CellRangeAddress a;
        a.Sheet = 0;
        a.StartColumn = a.EndColumn = 0;
        a.StartRow = m.captured(1).toInt() - 1;
        a.EndRow = m.captured(2).toInt() - 1;
        Reference<css::sheet::XPrintAreas> p(&m_doc->firstSheet(), UNO_QUERY_THROW);
        p->setTitleRows(a);
        p->setPrintTitleRows(true);
    });
}

void LibreOfficeApp::setPrintTitleColumns(const QString& cols)
{
    static const QRegularExpression re(u"^\\$?([A-Za-z]+):\\$?([A-Za-z]+)$"_s);
    const auto m = re.match(cols);
    if (!m.hasMatch())
        throw SpreadsheetError(u"Неверные столбцы заголовка: "_s + cols);
    call([&] {
        css::table::CellRangeAddress a;
        a.Sheet = 0;
        a.StartRow = a.EndRow = 0;
        a.StartColumn = columnNumber(m.captured(1)) - 1;
        a.EndColumn = columnNumber(m.captured(2)) - 1;
        Reference<css::sheet::XPrintAreas> p(&m_doc->firstSheet(), UNO_QUERY_THROW);
        p->setTitleColumns(a);
        p->setPrintTitleColumns(true);
    });
}

namespace {

void fillFooter(const Reference<css::text::XText>& text, const QString& codes,
                const Reference<css::lang::XMultiServiceFactory>& factory)
{
    const FooterText footer = parseFooterCodes(codes);
    text->setString(rtl::OUString());
    Reference<css::text::XTextCursor> cursor = text->createTextCursor();
    cursor->gotoEnd(false);
    for (const FooterPart& part : footer.parts) {
        if (part.kind == FooterPart::Text) {
            text->insertString(Reference<css::text::XTextRange>(cursor.get()), ou(part.text),
                               false);
            continue;
        }
        const char* service = "com.sun.star.text.TextField.Date";
        sal_Int16 fileFormat = -1;
        switch (part.kind) {
        case FooterPart::Time:
            service = "com.sun.star.text.TextField.Time";
            break;
        case FooterPart::Path:
            service = "com.sun.star.text.TextField.FileName";
            fileFormat = css::text::FilenameDisplayFormat::PATH;
            break;
        case FooterPart::FileName:
            service = "com.sun.star.text.TextField.FileName";
            fileFormat = css::text::FilenameDisplayFormat::NAME_AND_EXT;
            break;
        case FooterPart::Page:
            service = "com.sun.star.text.TextField.PageNumber";
            break;
        case FooterPart::Pages:
            service = "com.sun.star.text.TextField.PageCount";
            break;
        default:
            break;
        }
        Reference<css::text::XTextContent> field(factory->createInstance(ou(service)),
                                                 UNO_QUERY_THROW);
        if (fileFormat >= 0)
            Reference<css::beans::XPropertySet>(field, UNO_QUERY_THROW)
                ->setPropertyValue(ou("FileFormat"), Any(fileFormat));
        text->insertTextContent(Reference<css::text::XTextRange>(cursor.get()), field, false);
    }
    if (footer.pointSize > 0) {
        cursor->gotoStart(false);
        cursor->gotoEnd(true);
        Reference<css::beans::XPropertySet>(cursor, UNO_QUERY_THROW)
            ->setPropertyValue(ou("CharHeight"), Any(float(footer.pointSize)));
    }
}

} // namespace

void LibreOfficeApp::setFooters(const QString& left, const QString& center, const QString& right)
{
    call([&] {
        const Reference<css::beans::XPropertySet> style = m_doc->pageStyle();
        const Reference<css::lang::XMultiServiceFactory> factory(m_doc->component, UNO_QUERY_THROW);
        style->setPropertyValue(ou("FooterIsOn"), Any(true));
        for (const char* which : {"RightPageFooterContent", "LeftPageFooterContent"}) {
            Reference<css::sheet::XHeaderFooterContent> content(style->getPropertyValue(ou(which)),
                                                                UNO_QUERY_THROW);
            fillFooter(content->getLeftText(), left, factory);
            fillFooter(content->getCenterText(), center, factory);
            fillFooter(content->getRightText(), right, factory);
            style->setPropertyValue(ou(which), Any(content));
        }
    });
}

void LibreOfficeApp::setPageSetup(const PageSetup& setup)
{
    call([&] {
        const Reference<css::beans::XPropertySet> style = m_doc->pageStyle();
        const bool landscape = setup.orientation == Orientation::Landscape;
        style->setPropertyValue(ou("IsLandscape"), Any(landscape));
        style->setPropertyValue(ou("HeaderIsOn"), Any(false));
        // A4 in hundredths of a millimetre, turned with the orientation.
        style->setPropertyValue(ou("Width"), Any(sal_Int32(landscape ? 29700 : 21000)));
        style->setPropertyValue(ou("Height"), Any(sal_Int32(landscape ? 21000 : 29700)));
        if (setup.fitPagesWide > 0) {
            style->setPropertyValue(ou("ScaleToPagesX"), Any(sal_Int16(setup.fitPagesWide)));
            style->setPropertyValue(ou("ScaleToPagesY"), Any(sal_Int16(0)));
        }
        if (setup.marginMm > 0) {
            const Any margin(sal_Int32(std::lround(setup.marginMm * 100)));
            for (const char* name : {"LeftMargin", "RightMargin", "TopMargin", "BottomMargin"})
                style->setPropertyValue(ou(name), margin);
        }
        if (!setup.printArea.isEmpty()) {
            Reference<css::sheet::XCellRangeAddressable> a(
                m_doc->firstSheet().getCellRangeByName(ou(setup.printArea)), UNO_QUERY_THROW);
            Sequence<css::table::CellRangeAddress> areas(1);
            areas.getArray()[0] = a->getRangeAddress();
            Reference<css::sheet::XPrintAreas>(&m_doc->firstSheet(), UNO_QUERY_THROW)
                ->setPrintAreas(areas);
        }
    });
}

void LibreOfficeApp::storeAs(const QString& path, FileFormat format)
{
    const char* filter = format == FileFormat::Xls    ? "MS Excel 97"
                         : format == FileFormat::Xlsx ? "Calc MS Excel 2007 XML"
                                                      : "calc_pdf_Export";
    call([&] {
        if (!m_doc->component.is())
            throw SpreadsheetError(u"Нет открытой книги"_s);
        Reference<css::frame::XStorable>(m_doc->component, UNO_QUERY_THROW)
            ->storeToURL(fileUrl(path), props({prop("FilterName", Any(ou(filter))),
                                               prop("Overwrite", Any(true))}));
    });
}

// Closing is never cancelled: nothing of a cancelled command stays open in the office.
void LibreOfficeApp::closeWorkbook()
{
    if (m_doc->component.is() || m_doc->sheet.is())
        callAlways([&] { m_doc->close(); });
}

void LibreOfficeApp::release()
{
    // Nothing is left open in the shared office.
    closeWorkbook();
}

QList<QStringList> LibreOfficeApp::readBlock(const CellRange& range)
{
    QList<QStringList> out;
    call([&] {
        for (int row = range.top; row <= range.bottom; ++row) {
            QStringList cells;
            for (int col = range.left; col <= range.right; ++col)
                cells << qs(
                    Reference<css::text::XText>(
                        m_doc->firstSheet().getCellByPosition(col - 1, row - 1), UNO_QUERY_THROW)
                        ->getString());
            out << cells;
        }
    });
    return out;
}
