#include "output/ExportImport.h"
#include "TestSupport.h"
#include "model/AppPaths.h"
#include "model/DataSet.h"
#include "model/Datapacket.h"
#include "model/Razdels.h"
#include "model/ReportFiles.h"
#include "model/ReportTables.h"
#include "output/ExportFile.h"
#include "support/RandomReport.h"
#include "support/ReportCells.h"

#include <QDir>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray cp1251(const QString& text)
{
    QStringEncoder encoder("windows-1251");
    return encoder.encode(text);
}

// Membership records the export writes: name and year both filled.
int writtenMembers(const ReportTables& t)
{
    int n = 0;
    for (const Row& r : t.razdel(PosMembership)->rows())
        n += !IsBlankText(r.values[1].toString()) && !IsBlankText(r.values[3].toString()) ? 1 : 0;
    return n;
}

// Lines of an export text without any value running over several lines.
constexpr int kFixedLines = 60;

// A well-formed text to break in the refusal cases.
QByteArray goodText()
{
    ReportTables t;
    std::mt19937 rng(7);
    fillRandomReport(t, rng, {.lineBreaks = false});
    setCell(*t.razdel(PosMembership), 1, u"Year"_s, 2001);
    setCell(*t.razdel(PosRazdel2), 2, u"Graf03"_s, 1000.0);
    return RepFileBytes(t);
}

} // namespace

TEST(ExportImportProperty, RandomReportsComeBackByteForByteAndValueForValue)
{
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE(seed);
        ReportTables original;
        std::mt19937 rng(seed);
        fillRandomReport(original, rng, {.totals = seed % 2 == 0});
        const QByteArray text = RepFileBytes(original);

        ReportTables back;
        const QStringList notes = ImportRepText(text, back);
        ASSERT_EQ(RepFileBytes(back), text);
        for (int p = 0; p < RazdelCount; ++p)
            ASSERT_EQ(writeDatapacket(*back.razdel(p)), writeDatapacket(*original.razdel(p)))
                << Razdels()[p].Kod.toStdString();
        // A note exactly when some value holds CR LF and so spans lines.
        const bool spans = text.count("\r\n") > kFixedLines + writtenMembers(original);
        EXPECT_EQ(!notes.isEmpty(), spans) << notes.join(u'\n').toStdString();
    }
}

TEST(ExportImportProperty, GoldenAndControlReportsComeBackByteForByte)
{
    QList<QByteArray> texts = {
        readAll(QStringLiteral(F2A_TEST_DATA "/output/legal_entity_2008.txt")),
        readAll(QStringLiteral(F2A_TEST_DATA "/output/individual_auditor_2008.txt"))};
    const QString controls = QStringLiteral(F2A_TEST_DATA "/control");
    for (const QString& name : QDir(controls).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        // Its membership file declares the year as text and holds "19a5": the form's integer
        // column cannot take that back (see the refusal below).
        if (name == u"membership_foreign_year"_s)
            continue;
        AppPaths paths(controls + u"/x/form2audit"_s);
        paths.setDataDirOverride(controls + u'/' + name);
        ReportTables t;
        LoadReportFiles(t, paths, u"2009"_s);
        texts << RepFileBytes(t);
    }
    for (const QByteArray& text : std::as_const(texts)) {
        ASSERT_FALSE(text.isEmpty());
        ReportTables back;
        ImportRepText(text, back);
        EXPECT_EQ(RepFileBytes(back), text);
    }

    AppPaths paths(controls + u"/x/form2audit"_s);
    paths.setDataDirOverride(controls + u"/membership_foreign_year"_s);
    ReportTables foreign;
    LoadReportFiles(foreign, paths, u"2009"_s);
    ReportTables back;
    try {
        ImportRepText(RepFileBytes(foreign), back);
        ADD_FAILURE() << "a year of 19a5 was taken";
    } catch (const ImportError& e) {
        EXPECT_TRUE(e.reason().contains(u"19a5"_s)) << e.message().toStdString();
    }
}

TEST(ExportImportValues, EdgesOfTextComeBackOrAreNoted)
{
    struct Case {
        const char* name;
        int pos;
        int recNo;
        const char16_t* field;
        QString value;
        bool noted;
    } cases[] = {
        {"bars, equals, edge blanks", PosRekvizity, 1, u"FullName", u"  ООО \"Аудит|Плюс\"=1  "_s,
         false},
        {"lone LF", PosRekvizity, 1, u"name", u"первая\nвторая"_s, false},
        {"lone CR at the end", PosRekvizity, 1, u"Address", u"адрес\r"_s, false},
        {"CR LF in a requisite", PosRekvizity, 1, u"UrAdress", u"строка 1\r\nстрока 2"_s, true},
        {"CR LF in the last requisite", PosRekvizity, 1, u"telOtv", u"1\r\n2"_s, true},
        {"name looking like code and year", PosMembership, 11, u"NameRow", u"Сеть|Альфа|20|1999"_s,
         false},
        {"CR LF in a member's name", PosMembership, 6, u"NameRow", u"Союз\r\nаудиторов"_s, true},
        {"member's name with a blank edge", PosMembership, 6, u"NameRow", u" Союз "_s, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReportTables t;
        const QString field = QString::fromUtf16(c.field);
        setCell(*t.razdel(c.pos), c.recNo, field, c.value);
        if (c.pos == PosMembership)
            setCell(*t.razdel(c.pos), c.recNo, u"Year"_s, 2005);
        const QByteArray text = RepFileBytes(t);
        ReportTables back;
        const QStringList notes = ImportRepText(text, back);
        EXPECT_EQ(cellText(back, c.pos, c.recNo, field), c.value);
        EXPECT_EQ(RepFileBytes(back), text);
        EXPECT_EQ(notes.size(), c.noted ? 1 : 0) << notes.join(u'\n').toStdString();
        if (c.noted) {
            EXPECT_TRUE(notes[0].startsWith(u"Строка "_s)) << notes[0].toStdString();
        }
    }
}

TEST(ExportImportValues, AmbiguousLineBreakIsNotedNotHidden)
{
    // The value's second line starts like the next key: the text reads back differently,
    // gives the same bytes, and the import says where it had to choose.
    ReportTables t;
    setCell(*t.razdel(PosRekvizity), 1, u"FullName"_s, u"Полное\r\nЮЛКН=Краткое"_s);
    setCell(*t.razdel(PosRekvizity), 1, u"name"_s, u"Другое"_s);
    const QByteArray text = RepFileBytes(t);
    ReportTables back;
    const QStringList notes = ImportRepText(text, back);
    EXPECT_EQ(RepFileBytes(back), text);
    EXPECT_EQ(cellText(back, PosRekvizity, 1, u"FullName"_s), u"Полное"_s);
    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes[0].contains(u"ЮЛКН"_s)) << notes[0].toStdString();
}

TEST(ExportImportValues, WhatTheTextDoesNotCarryComesBackEmpty)
{
    ReportTables t;
    setCell(*t.razdel(PosRekvizity), 1, u"IsUrLico"_s, QVariant()); // written as an individual
    setCell(*t.razdel(PosMembership), 8, u"NameRow"_s, u"Без года"_s);
    setCell(*t.razdel(PosMembership), 9, u"Year"_s, 2004); // a year without a name
    ReportTables back;
    ImportRepText(RepFileBytes(t), back);
    EXPECT_EQ(cellText(back, PosRekvizity, 1, u"IsUrLico"_s), u"False"_s);
    EXPECT_EQ(cellText(back, PosMembership, 8, u"NameRow"_s), QString());
    EXPECT_EQ(cellText(back, PosMembership, 9, u"Year"_s), QString());
}

TEST(ExportImportRefusal, MalformedTextsNameTheLineAndTheReason)
{
    const QByteArray good = goodText();
    QList<QByteArray> lines = good.split('\n');
    lines.removeLast();
    const auto lineOf = [&](const QString& start) {
        const QByteArray b = cp1251(start);
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (lines[i].startsWith(b))
                return int(i);
        return -1;
    };
    const auto with = [&](int index, const QString& replacement) -> QByteArray {
        QList<QByteArray> l = lines;
        l[index] = cp1251(replacement) + '\r';
        return l.join('\n') + '\n';
    };
    const auto without = [&](int index) -> QByteArray {
        QList<QByteArray> l = lines;
        l.removeAt(index);
        return l.join('\n') + '\n';
    };
    const int members = lineOf(u"1|"_s);
    ASSERT_GT(members, 0);
    struct Case {
        const char* name;
        QByteArray text;
        int line;
        QString reason;
    };
    const int last = int(lines.size());
    const auto at = [&](const QString& start) { return lineOf(start) + 1; };
    const Case cases[] = {
        {"empty", QByteArray(), 1, u"пуст"_s},
        {"last line unfinished", good.chopped(2), last, u"не закончена"_s},
        {"byte order mark", "\xEF\xBB\xBF" + good, 1, u"ЛИЦО="_s},
        {"bad kind of person", with(0, u"ЛИЦО=3"_s), 1, u"1 или 2"_s},
        {"key missing", without(lineOf(u"РЕГИОН="_s)), at(u"РЕГИОН="_s), u"РЕГИОН="_s},
        {"region not a number", with(lineOf(u"РЕГИОН="_s), u"РЕГИОН=77а"_s), at(u"РЕГИОН="_s),
         u"целое"_s},
        {"money without decimals", with(lineOf(u"06|"_s), u"06|1000|2.0|"_s), at(u"06|"_s),
         u"1000.0"_s},
        {"integer with a leading zero", with(lineOf(u"12|"_s), u"12|007|"_s), at(u"12|"_s),
         u"007"_s},
        {"row code out of order", with(lineOf(u"06|"_s), u"07|||"_s), at(u"06|"_s), u"06"_s},
        {"row without its last bar", with(lineOf(u"12|"_s), u"12|5"_s), at(u"12|"_s), u"«|»"_s},
        {"section header", with(lineOf(u"РД=3"_s), u"РД=7"_s), at(u"РД=3"_s), u"РД=3"_s},
        {"quality answer", with(lineOf(u"0|"_s), u"0|МОЖЕТ"_s), at(u"0|"_s), u"0|ДА"_s},
        {"unknown association code", with(members, u"1|Союз|99|2001"_s), members + 1,
         u"не предусмотрен"_s},
        {"record numbering", with(members, u"2|Союз|20|2001"_s), members + 1, u"№ 1"_s},
        {"date without zeros", with(lineOf(u"ДАТАОТ="_s), u"ДАТАОТ=5.3.2009"_s), last, u"05.03"_s},
        {"date that is no date", with(lineOf(u"ДАТАОТ="_s), u"ДАТАОТ=31.02.2009"_s), last,
         u"дата"_s},
        {"text after the date", good + "x\r\n", last + 1, u"заканчиваться"_s},
        {"text too long", with(lineOf(u"ОГРН="_s), u"ОГРН=1234567890123456"_s), 9, u"15"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReportTables back;
        try {
            ImportRepText(c.text, back);
            ADD_FAILURE() << "accepted";
        } catch (const ImportError& e) {
            EXPECT_EQ(e.line(), c.line) << e.message().toStdString();
            EXPECT_TRUE(e.reason().contains(c.reason)) << e.message().toStdString();
            EXPECT_TRUE(e.message().startsWith(u"Строка %1: "_s.arg(c.line)));
        }
    }
}

TEST(ExportImportRefusal, MembershipBeyondTheForm)
{
    struct Case {
        const char* name;
        QStringList records;
        QString reason;
    } cases[] = {
        {"code given twice", {u"1|А|11|2001"_s, u"2|Б|11|2002"_s}, u"повторно"_s},
        {"sixth network",
         {u"1|А|30|2001"_s, u"2|Б|30|2001"_s, u"3|В|30|2001"_s, u"4|Г|30|2001"_s, u"5|Д|30|2001"_s,
          u"6|Е|30|2001"_s},
         u"свободных"_s},
        {"no code", {u"1|А2001"_s}, u"№|наименование|код|год"_s},
    };
    ReportTables t;
    QList<QByteArray> base = RepFileBytes(t).split('\n');
    base.removeLast();
    const qsizetype hash = base.indexOf(QByteArray("#\r"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QList<QByteArray> l = base;
        for (qsizetype i = 0; i < c.records.size(); ++i)
            l.insert(hash + i, cp1251(c.records[i]) + '\r');
        ReportTables back;
        try {
            ImportRepText(l.join('\n') + '\n', back);
            ADD_FAILURE() << "accepted";
        } catch (const ImportError& e) {
            EXPECT_EQ(e.line(), hash + c.records.size()) << e.message().toStdString();
            EXPECT_TRUE(e.reason().contains(c.reason)) << e.message().toStdString();
        }
    }
}

TEST(ExportImportNames, YearFromTheFileName)
{
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"1333333339955--080.zip", u"2008"},
        {u"/a/b/304500116000157100.txt", u"2010"},
        {u"1080.txt", u"2008"},
        {u"report.zip", u""},
        {u"1333333339955--081.zip", u""},
        {u"1333333339955--0a0.zip", u""},
        {u"00.txt", u""},
    };
    for (const auto& [name, year] : cases)
        EXPECT_EQ(RepYearFromFileName(QString::fromUtf16(name)), QString::fromUtf16(year))
            << QString::fromUtf16(name).toStdString();
}

TEST(ExportImportFiles, ExistingFilesAreMovedAsideUnchanged)
{
    QTemporaryDir dir;
    AppPaths paths(dir.filePath(u"form2audit"_s));
    const QString old = paths.DataDir() + u"2009_01.XML"_s;
    writeAll(old, "not even xml");
    writeAll(old + u".replaced"_s, "an earlier one");
    ReportTables t;
    setCell(*t.razdel(PosRazdel1), 1, u"Graf03"_s, 12);
    const ImportWriteResult r = WriteImportedReport(t, paths, u"2009"_s);
    EXPECT_EQ(r.movedAside, QStringList{old + u".replaced.1"_s});
    EXPECT_EQ(readAll(old + u".replaced.1"_s), "not even xml");
    EXPECT_EQ(readAll(old + u".replaced"_s), "an earlier one");
    EXPECT_EQ(r.written.size(), RazdelCount);
    EXPECT_EQ(ExistingReportFiles(paths, u"2009"_s).size(), RazdelCount);
    DataSet back(u"back"_s);
    loadTableFromFile(back, old);
    back.setRecNo(1);
    EXPECT_EQ(back.fieldByName(u"Graf03"_s).asString(), u"12"_s);
}
