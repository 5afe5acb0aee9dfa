#include "CliRunner.h"
#include "TestSupport.h"
#include "model/Datapacket.h"
#include "model/FormTables.h"
#include "model/Razdels.h"
#include "support/ReportCells.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

} // namespace

TEST(CliUsage, BadCallsExitWithTwoAndAMessage)
{
    const QStringList calls[] = {
        {},
        {u"nosuchcommand"_s},
        {u"recalc"_s, u"--year"_s},
        {u"recalc"_s, u"--year"_s, u"09"_s},
        {u"recalc"_s, u"--today"_s, u"2009-13-01"_s},
        {u"recalc"_s, u"--bogus"_s},
        {u"dump"_s},
        {u"dump"_s, u"/nonexistent/file.XML"_s},
    };
    for (const QStringList& args : calls) {
        const CliRun r = runCliProgram(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_FALSE(r.err.trimmed().isEmpty()) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << args.join(u' ').toStdString();
    }
    const CliRun help = runCliProgram({u"--help"_s});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.lines().join(u'\n').contains(u"recalc"_s));
}

TEST(CliRecalc, WritesAllSevenFilesWithTotals)
{
    QTemporaryDir dir;
    const QString data = dir.path() + u"/data"_s;
    QDir().mkpath(data);
    // section 1 typed in without its total
    auto s1 = createRazdelTable(PosRazdel1);
    setCell(*s1, PosRazdel1, u"03"_s, u"Graf03"_s, 3);
    setCell(*s1, PosRazdel1, u"04"_s, u"Graf03"_s, 2);
    saveTableToFile(*s1, data + u"/2009_01.XML"_s);

    // the year comes from --today: September 2010 is still the 2009 report
    const CliRun r = runCliProgram({u"recalc"_s, u"--data"_s, data, u"--today"_s, u"2010-09-30"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.lines();
    ASSERT_EQ(lines.size(), RazdelCount);
    for (int p = 0; p < RazdelCount; ++p) {
        EXPECT_TRUE(lines[p].endsWith(u"/2009_"_s + Razdels()[p].Kod + u".XML"_s))
            << lines[p].toStdString();
        EXPECT_TRUE(QFile::exists(lines[p]));
    }
    DataSet back(u"back"_s);
    loadTableFromFile(back, data + u"/2009_01.XML"_s);
    ASSERT_TRUE(back.locate(u"KodRow"_s, {u"02"_s}));
    EXPECT_EQ(back.fieldByName(u"Graf03"_s).asString(), u"5"_s);
}

TEST(CliRecalc, DamagedFileStopsBeforeAnythingIsWritten)
{
    QTemporaryDir dir;
    const QString data = dir.path();
    const QByteArray junk = "<?xml version=\"1.0\"?><DATAPACKET><METADATA>";
    {
        QFile f(data + u"/2009_03.XML"_s);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(junk);
    }
    const CliRun r = runCliProgram({u"recalc"_s, u"--data"_s, data, u"--year"_s, u"2009"_s});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(u"2009_03.XML"_s)) << r.err.toStdString();
    EXPECT_EQ(readAll(data + u"/2009_03.XML"_s), junk); // left where it was, unchanged
    EXPECT_EQ(QDir(data).entryList(QDir::Files), QStringList{u"2009_03.XML"_s});
}

TEST(CliDump, PrintsFieldsAndRowsWithEscapes)
{
    QTemporaryDir dir;
    const QString file = dir.path() + u"/2009_03.XML"_s;
    auto s3 = createRazdelTable(PosRazdel3);
    setCell(*s3, PosRazdel3, u"14"_s, u"Graf03"_s, 12);
    saveTableToFile(*s3, file);
    const CliRun r = runCliProgram({u"dump"_s, file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.lines();
    ASSERT_EQ(lines.size(), 1 + 17);
    EXPECT_EQ(lines[0], u"NameRow\tKodRow\tGraf03"_s);
    EXPECT_EQ(lines[3], u"                           от 1 до 20 млн. руб.\t14\t12"_s);
    // the caption of row 21 holds CR LF: printed escaped so every row stays one line
    EXPECT_TRUE(lines[10].startsWith(u"Из строки 12"_s));
    EXPECT_TRUE(lines[10].contains(u"являются\\r\\n   "_s));
    EXPECT_TRUE(lines[10].endsWith(u"\t21\t"_s));
}

TEST(CliDump, ReadsForeignPacketsWithChangeLog)
{
    const CliRun r =
        runCliProgram({u"dump"_s, QString::fromUtf8(F2A_TEST_DATA) +
                                      u"/datapackets/jvdbgrid_country_changelog.xml"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.lines().size(), 1 + 18);
}
