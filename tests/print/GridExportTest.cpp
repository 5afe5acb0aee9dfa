// Table export to a workbook, footer codes and the form template's markers, against a
// recording spreadsheet application.
#include "print/GridExport.h"
#include "RecordingSpreadsheetSupport.h"
#include "ReportFixtureSupport.h"
#include "model/ReportTables.h"
#include "print/FooterCodes.h"
#include "print/FormTemplate.h"
#include "print/GridSnapshot.h"
#include "print/PrintReport.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

GridSnapshot threeWarnings()
{
    GridSnapshot g = errorListSnapshot(0);
    g.pixelWidths = {60, 998};
    g.zeroCharWidthPx = 6;
    g.rows = {{u"1"_s, u"Нулевой объём услуг"_s}, {u"2"_s, u"007"_s}, {u"3"_s, u"1.50"_s}};
    return g;
}

struct Harness {
    RecordingSpreadsheet app;
    QTemporaryDir dir;
    QStringList messages;
    QStringList handedOver;
    bool handOverWorks = true;
    GridExportEnv env;
    GridExportOptions options;

    Harness()
    {
        env.app = &app;
        env.tempDir = dir.path();
        env.message = [this](const QString& text, const QString& title, bool exclamation) {
            messages << title + (exclamation ? u" (!): "_s : u": "_s) + text;
        };
        env.handOver = [this](const QString& path) {
            handedOver << path;
            return handOverWorks ? QString() : u"нет программы"_s;
        };
        options.progId = u"Excel.Application"_s;
        options.alignList = {u"-1"_s};
        options.cellPrefix = u"'"_s;
    }
    bool run(const GridSnapshot& g = threeWarnings())
    {
        return ExportGridToExcel({u"Предупреждения (всего - 3)"_s}, g, options, env);
    }
};

} // namespace

class GridExportTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void threeWarningsSheet()
    {
        Harness h;
        QVERIFY(h.run());
        QVERIFY(h.messages.isEmpty());
        QCOMPARE(h.app.cells.value({1, 1}), u"Предупреждения (всего - 3)"_s);
        QCOMPARE(h.app.cells.value({2, 1}), u"Номер ошибки"_s);
        QCOMPARE(h.app.cells.value({2, 2}), u"Наименование ошибки"_s);
        // Values arrive as the text they were, without the text-entry apostrophe.
        QCOMPARE(h.app.cells.value({3, 2}), u"Нулевой объём услуг"_s);
        QCOMPARE(h.app.cells.value({4, 2}), u"007"_s);
        QCOMPARE(h.app.cells.value({5, 2}), u"1.50"_s);
        QCOMPARE(h.app.cells.value({5, 1}), u"3"_s);
        QVERIFY(!h.app.cells.contains({6, 1}));
        // Header and data in one call.
        QCOMPARE(h.app.callsStartingWith(u"block"_s), QStringList{u"block R2C1 4x2"_s});
        QCOMPARE(h.app.callsStartingWith(u"back"_s), QStringList{u"back R2C1:R2C2 #c0c0c0"_s});
        QCOMPARE(h.app.callsStartingWith(u"titleRows"_s), QStringList{u"titleRows $1:$2"_s});
        QVERIFY(h.app.callsStartingWith(u"titleCols"_s).isEmpty());
        QCOMPARE(h.app.callsStartingWith(u"footers"_s),
                 QStringList{u"footers &7&Д, &В|&Z&F|&7&С из &К"_s});
        QCOMPARE(h.app.callsStartingWith(u"border"_s),
                 (QStringList{u"border R2C1:R5C2 left"_s, u"border R2C1:R5C2 top"_s,
                              u"border R2C1:R5C2 bottom"_s, u"border R2C1:R5C2 right"_s,
                              u"border R2C1:R5C2 insideV"_s, u"border R2C1:R5C2 insideH"_s}));
        QVERIFY(h.app.calls.contains(u"font R2C1:R5C2 Liberation Sans 9"_s));
        QVERIFY(h.app.calls.contains(u"wrap R2C1:R5C2 1"_s));
        // Data aligned as the grid's columns; the header stays centred.
        QCOMPARE(h.app.callsStartingWith(u"halign"_s),
                 (QStringList{u"halign R2C1:R5C2 center"_s, u"halign R3C1:R5C1 center"_s,
                              u"halign R3C2:R5C2 left"_s}));
        // Protected for the user interface while filling, unprotected before the hand-over.
        QCOMPARE(h.app.callsStartingWith(u"protect"_s),
                 (QStringList{u"protect /ui"_s, u"protect /none"_s}));
        const QString stored =
            QDir(h.dir.path()).absoluteFilePath(u"Предупреждения (всего - 3).xlsx"_s);
        QCOMPARE(h.handedOver, QStringList{stored});
        QCOMPARE(h.app.calls.mid(h.app.calls.size() - 4),
                 (QStringList{u"store xlsx "_s + stored, u"close"_s, u"alerts 1"_s, u"release"_s}));
    }

    void columnWidths_data()
    {
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("zero");
        QTest::addColumn<int>("chars");
        QTest::newRow("998 / 6") << 998 << 6 << 166;
        QTest::newRow("rounded down") << 71 << 7 << 10;
        QTest::newRow("narrower than 0") << 5 << 6 << 0;
        QTest::newRow("no font metrics") << 100 << 0 << 0;
    }
    void columnWidths()
    {
        QFETCH(int, pixels);
        QFETCH(int, zero);
        QFETCH(int, chars);
        QCOMPARE(sheetColumnWidth(pixels, zero), chars);
        Harness h;
        GridSnapshot g = threeWarnings();
        g.pixelWidths[1] = pixels;
        g.zeroCharWidthPx = zero;
        QVERIFY(h.run(g));
        QVERIFY(h.app.calls.contains(u"width 2=%1"_s.arg(chars)));
    }

    void alignList_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QStringList>("extra");
        QTest::newRow("hright any case")
            << QStringList{u"1"_s, u"hRight"_s} << QStringList{u"halign R3C2:R5C2 right"_s};
        QTest::newRow("vtop first column")
            << QStringList{u"0"_s, u"VTOP"_s} << QStringList{u"valign R3C1:R5C1 top"_s};
        QTest::newRow("two pairs")
            << QStringList{u"0"_s, u"HLEFT"_s, u"1"_s, u"VBOTTOM"_s}
            << QStringList{u"halign R3C1:R5C1 left"_s, u"valign R3C2:R5C2 bottom"_s};
        QTest::newRow("one element") << QStringList{u"1"_s} << QStringList{};
        QTest::newRow("other letter") << QStringList{u"1"_s, u"XRIGHT"_s} << QStringList{};
        QTest::newRow("unknown H code") << QStringList{u"1"_s, u"HJUSTIFY"_s} << QStringList{};
    }
    void alignList()
    {
        QFETCH(QStringList, list);
        QFETCH(QStringList, extra);
        Harness h;
        h.options.alignList = list;
        QVERIFY(h.run());
        QStringList aligns =
            h.app.callsStartingWith(u"halign"_s) + h.app.callsStartingWith(u"valign"_s);
        const QStringList defaults = {u"halign R2C1:R5C2 center"_s, u"halign R3C1:R5C1 center"_s,
                                      u"halign R3C2:R5C2 left"_s, u"valign R2C1:R5C2 center"_s};
        for (const QString& d : defaults)
            QVERIFY(aligns.removeOne(d));
        aligns.sort();
        extra.sort();
        QCOMPARE(aligns, extra);
    }

    void leadColumns()
    {
        Harness h;
        h.options.leadCols = 2;
        QVERIFY(h.run());
        QCOMPARE(h.app.callsStartingWith(u"back"_s),
                 (QStringList{u"back R2C1:R5C2 #c0c0c0"_s, u"back R2C1:R2C2 #c0c0c0"_s}));
        QCOMPARE(h.app.callsStartingWith(u"titleCols"_s), QStringList{u"titleCols $A:$B"_s});
        Harness noShade;
        noShade.options.headerShade = false;
        QVERIFY(noShade.run());
        QVERIFY(noShade.app.callsStartingWith(u"back"_s).isEmpty());
    }

    void creationFailure()
    {
        Harness h;
        h.app.failing << u"create"_s;
        QVERIFY(!h.run());
        QCOMPARE(
            h.messages,
            QStringList{
                u"Ошибка: Ошибка при создании объекта Excel.Application\n\rВозможно не та версия EXCEL"_s});
        QCOMPARE(h.app.calls, QStringList{u"create"_s});
        QVERIFY(h.handedOver.isEmpty());
    }

    // The user cancelling at any step: no message, nothing handed over, open or left on disk.
    void cancelAtAnyStep_data()
    {
        QTest::addColumn<QString>("step");
        QTest::newRow("start") << u"create"_s;
        QTest::newRow("new workbook") << u"add"_s;
        QTest::newRow("cells") << u"block"_s;
        QTest::newRow("saving") << u"store"_s;
    }
    void cancelAtAnyStep()
    {
        QFETCH(QString, step);
        Harness h;
        h.app.cancelling << step;
        QVERIFY(!h.run());
        QVERIFY(h.messages.isEmpty());
        QVERIFY(h.handedOver.isEmpty());
        if (step == u"create"_s)
            QCOMPARE(h.app.calls, QStringList{u"create"_s});
        else
            QCOMPARE(h.app.calls.mid(h.app.calls.size() - 2),
                     (QStringList{u"close"_s, u"release"_s}));
        QVERIFY(QDir(h.dir.path()).entryList(QDir::Files).isEmpty());
    }

    void finalStepFailure_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::newRow("store fails") << u"store"_s;
        QTest::newRow("final protection fails") << u"protect /none"_s;
    }
    void finalStepFailure()
    {
        QFETCH(QString, failing);
        Harness h;
        h.options.fileName = u"C:\\errors.xls"_s;
        h.app.failing << failing;
        const bool result = h.run();
        QVERIFY(!result);
        QCOMPARE(h.messages, QStringList{u"Сообщение (!): Освободите файл C:\\errors.xls"_s});
        QCOMPARE(h.app.calls.mid(h.app.calls.size() - 2), (QStringList{u"close"_s, u"release"_s}));
        QVERIFY(h.handedOver.isEmpty());
    }

    // The workbook is on disk; the user learns where, and why it did not open.
    void handOverFailureNamesTheSavedWorkbook()
    {
        Harness h;
        h.handOverWorks = false;
        h.options.fileName = u"C:\\errors.xls"_s;
        QVERIFY(!h.run());
        QCOMPARE(h.handedOver.size(), 1);
        QVERIFY(h.app.calls.contains(u"store xlsx "_s + h.handedOver[0]));
        QVERIFY(QFile::exists(h.handedOver[0]));
        QCOMPARE(h.messages, QStringList{u"Сообщение (!): Таблица сохранена в файле "_s +
                                         QDir::toNativeSeparators(h.handedOver[0]) +
                                         u",\n\rно открыть её не удалось: нет программы"_s});
        QCOMPARE(h.app.calls.mid(h.app.calls.size() - 2), (QStringList{u"close"_s, u"release"_s}));
    }

    void insideVerticalFailureIsIgnored()
    {
        Harness h;
        h.app.failing << u"border insideV"_s;
        QVERIFY(h.run());
        QVERIFY(h.app.calls.contains(u"border R2C1:R5C2 insideH"_s));

        Harness broken;
        broken.app.failing << u"border top"_s;
        QVERIFY_THROWS_EXCEPTION(SpreadsheetError, broken.run());
        QCOMPARE(broken.app.calls.mid(broken.app.calls.size() - 2),
                 (QStringList{u"close"_s, u"release"_s}));
        QVERIFY(broken.handedOver.isEmpty());
    }

    void hiddenColumnsLeaveNoGap()
    {
        // The snapshot holds only visible columns; they fill consecutive sheet columns.
        Harness h;
        GridSnapshot g = threeWarnings();
        g.titles.prepend(u"Наменование раздела"_s);
        g.pixelWidths.prepend(120);
        g.alignments.prepend(int(Qt::AlignLeft));
        for (QStringList& row : g.rows)
            row.prepend(u"Раздел 2"_s);
        QVERIFY(h.run(g));
        QCOMPARE(h.app.cells.value({2, 1}), u"Наменование раздела"_s);
        QCOMPARE(h.app.cells.value({3, 3}), u"Нулевой объём услуг"_s);
        QCOMPARE(h.app.callsStartingWith(u"block"_s), QStringList{u"block R2C1 4x3"_s});
        QVERIFY(h.app.calls.contains(u"halign R3C1:R5C1 left"_s));
    }

    void columnLettersAndNames_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("letters");
        QTest::newRow("1") << 1 << u"A"_s;
        QTest::newRow("2") << 2 << u"B"_s;
        QTest::newRow("25") << 25 << u"Y"_s;
        QTest::newRow("26") << 26 << u"Z"_s;
        QTest::newRow("27") << 27 << u"AA"_s;
        QTest::newRow("142") << 142 << u"EL"_s;
    }
    void columnLettersAndNames()
    {
        QFETCH(int, col);
        QFETCH(QString, letters);
        QCOMPARE(columnLetters(col), letters);
        QCOMPARE(workbookFileName(u"Ошибки: a/b"_s), u"Ошибки_ a_b.xlsx"_s);
    }

    void footerCodes_data()
    {
        QTest::addColumn<QString>("codes");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("parts");
        QTest::newRow("date, time") << u"&7&Д, &В"_s << 7 << u"Date|T:, |Time"_s;
        QTest::newRow("path and file") << u"&Z&F"_s << 0 << u"Path|FileName"_s;
        QTest::newRow("page of pages") << u"&7&С из &К"_s << 7 << u"Page|T: из |Pages"_s;
        QTest::newRow("latin codes") << u"&P/&N"_s << 0 << u"Page|T:/|Pages"_s;
        QTest::newRow("ampersand") << u"A&&B"_s << 0 << u"T:A&B"_s;
        QTest::newRow("unknown code dropped") << u"x&Qy"_s << 0 << u"T:xy"_s;
        QTest::newRow("trailing ampersand") << u"x&"_s << 0 << u"T:x&"_s;
    }
    void footerCodes()
    {
        QFETCH(QString, codes);
        QFETCH(int, size);
        QFETCH(QString, parts);
        const FooterText f = parseFooterCodes(codes);
        QCOMPARE(f.pointSize, size);
        static const char16_t* names[] = {u"T",        u"Date", u"Time", u"Path",
                                          u"FileName", u"Page", u"Pages"};
        QStringList got;
        for (const FooterPart& p : f.parts)
            got << (p.kind == FooterPart::Text ? u"T:"_s + p.text
                                               : QString::fromUtf16(names[p.kind]));
        QCOMPARE(got.join(u'|'), parts);
    }

    void templateHoldsEveryMarker_data()
    {
        QTest::addColumn<bool>("draft");
        QTest::newRow("final") << false;
        QTest::newRow("draft") << true;
    }
    void templateHoldsEveryMarker()
    {
        QFETCH(bool, draft);
        RecordingSpreadsheet app;
        BuildFormTemplate(app, draft);
        QString sheet;
        for (auto it = app.cells.cbegin(); it != app.cells.cend(); ++it) {
            QVERIFY2(it.key().first <= 1000 && it.key().second <= 142, qPrintable(it.value()));
            sheet += it.value() + u'\n';
        }
        ReportTables tables;
        fillMembers(tables, 10);
        for (const MarkerValue& m : ReportMarkers(tables, u"2009"_s))
            QVERIFY2(sheet.contains(m.first), qPrintable(m.first));
        QVERIFY(sheet.contains(u"КС = #FileCRC#"_s));
        QCOMPARE(sheet.contains(u"ЧЕРНОВИК"_s), draft);
        // Values with a text-entry apostrophe must be a cell's whole text.
        for (const MarkerValue& m : ReportMarkers(tables, u"2009"_s))
            if (m.second.startsWith(u'\''))
                QVERIFY2(std::find(app.cells.cbegin(), app.cells.cend(), m.first) !=
                             app.cells.cend(),
                         qPrintable(m.first));
        QCOMPARE(app.calls.first(), u"add"_s);
        QCOMPARE(app.calls.last(), u"protect vazu/all"_s);
    }
};

QTEST_GUILESS_MAIN(GridExportTest)
#include "GridExportTest.moc"
