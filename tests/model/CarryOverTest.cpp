#include "model/CarryOver.h"
#include "TestSupport.h"
#include "model/AppPaths.h"
#include "model/DataSet.h"
#include "model/Datapacket.h"
#include "model/RazdelFiles.h"
#include "model/Razdels.h"
#include "model/ReportFiles.h"
#include "model/ReportTables.h"
#include "model/Settings.h"
#include "support/ReportCells.h"

#include <QDate>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Last year's report of an individual auditor.
void fillPrevious(ReportTables& t)
{
    DataSet& r = *t.razdel(PosRekvizity);
    setCell(r, 1, u"IsUrLico"_s, false);
    setCell(r, 1, u"FullName"_s, u"Сидоров Сидор Сидорович"_s);
    setCell(r, 1, u"KodGAI"_s, 50);
    setCell(r, 1, u"OGRN"_s, u"304500116000157"_s);
    setCell(r, 1, u"DataSost"_s, QDate(2009, 3, 5));
    DataSet& s2 = *t.razdel(PosRazdel2);
    for (int recNo = 1; recNo <= 7; ++recNo)
        setCell(s2, recNo, u"Graf03"_s, 100.5 * recNo); // row 05 included: a total, not carried
    setCell(s2, 2, u"Graf04"_s, 7.0);
    DataSet& m = *t.razdel(PosMembership);
    setCell(m, 2, u"Year"_s, 2001);
    setCell(m, 6, u"NameRow"_s, u"Союз аудиторов"_s);
    setCell(m, 6, u"Year"_s, 2004);
    setCell(m, 7, u"NameRow"_s, u"Другой союз"_s);
    setCell(m, 7, u"Year"_s, 2006);
}

} // namespace

TEST(CarryOver, NewYearTakesEverythingButTheDate)
{
    ReportTables previous, current;
    fillPrevious(previous);
    const CarryOverResult r = CarryOver(previous, current, CarryOverMode::NewYear);

    EXPECT_EQ(cellText(current, PosRekvizity, 1, u"IsUrLico"_s), u"False"_s);
    EXPECT_EQ(cellText(current, PosRekvizity, 1, u"FullName"_s), u"Сидоров Сидор Сидорович"_s);
    EXPECT_EQ(cellText(current, PosRekvizity, 1, u"KodGAI"_s), u"50"_s);
    EXPECT_EQ(cellText(current, PosRekvizity, 1, u"OKUD"_s), u"0609711"_s);
    EXPECT_EQ(cellText(current, PosRekvizity, 1, u"DataSost"_s), QString());
    // column 3 of rows 06-11 into column 4, row 05 recomputed as their sum (06..10)
    for (int recNo = 2; recNo <= 7; ++recNo)
        EXPECT_EQ(cellText(current, PosRazdel2, recNo, u"Graf04"_s),
                  cellText(previous, PosRazdel2, recNo, u"Graf03"_s));
    EXPECT_EQ(cellText(current, PosRazdel2, 1, u"Graf04"_s), u"2010"_s);
    EXPECT_EQ(cellText(current, PosRazdel2, 2, u"Graf03"_s), QString());
    EXPECT_EQ(cellText(current, PosMembership, 2, u"Year"_s), u"2001"_s);
    EXPECT_EQ(cellText(current, PosMembership, 6, u"NameRow"_s), u"Союз аудиторов"_s);
    EXPECT_EQ(cellText(current, PosMembership, 7, u"Year"_s), u"2006"_s);

    // reported: 4 requisites (OKUD is the same), 6 cells of section 2, 5 membership cells
    EXPECT_EQ(r.cells.size(), 4 + 6 + 5);
    EXPECT_EQ(r.changedPositions, (QList<int>{PosRekvizity, PosRazdel2, PosMembership}));
    const QStringList lines = CarryOverLines(r);
    EXPECT_TRUE(lines.contains(u"02\t06\tGraf04\t201"_s)) << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines.contains(u"05_11_30\t6\tNameRow\tСоюз аудиторов"_s));
}

TEST(CarryOver, EmptyCellsOnlyKeepsWhatWasTyped)
{
    ReportTables previous, current;
    fillPrevious(previous);
    setCell(*current.razdel(PosRekvizity), 1, u"FullName"_s, u"Сидоров С. С."_s);
    setCell(*current.razdel(PosRazdel2), 3, u"Graf04"_s, 1.5);
    setCell(*current.razdel(PosMembership), 7, u"NameRow"_s, u"Третий союз"_s); // another one
    const CarryOverResult r = CarryOver(previous, current, CarryOverMode::EmptyCellsOnly);

    EXPECT_EQ(cellText(current, PosRekvizity, 1, u"FullName"_s), u"Сидоров С. С."_s);
    EXPECT_EQ(cellText(current, PosRekvizity, 1, u"IsUrLico"_s), u"True"_s); // the built-in answer
    EXPECT_EQ(cellText(current, PosRekvizity, 1, u"OGRN"_s), u"304500116000157"_s);
    EXPECT_EQ(cellText(current, PosRazdel2, 3, u"Graf04"_s), u"1.5"_s);
    EXPECT_EQ(cellText(current, PosRazdel2, 2, u"Graf04"_s), u"201"_s);
    EXPECT_EQ(cellText(current, PosMembership, 7, u"Year"_s), QString());
    EXPECT_EQ(cellText(current, PosMembership, 6, u"Year"_s), u"2004"_s);
    for (const CarriedCell& c : r.cells)
        EXPECT_FALSE(c.field == u"FullName"_s || (c.position == PosRazdel2 && c.row == u"07"_s));

    // a second run finds nothing left to fill
    const CarryOverResult again = CarryOver(previous, current, CarryOverMode::EmptyCellsOnly);
    EXPECT_TRUE(again.cells.isEmpty());
    EXPECT_TRUE(CarryOverMessage(again, u"2008"_s).contains(u"переносить нечего"_s));
}

TEST(CarryOverFiles, FromTheFilesOfTheYearBefore)
{
    QTemporaryDir dir;
    AppPaths paths(dir.filePath(u"form2audit"_s));
    EXPECT_FALSE(CarryOverFiles(paths, u"2009"_s, CarryOverMode::NewYear).has_value());
    EXPECT_TRUE(ExistingReportFiles(paths, u"2009"_s).isEmpty());

    ReportTables previous;
    fillPrevious(previous);
    SaveReportFiles(previous, paths, u"2008"_s, {PosRekvizity, PosRazdel2});

    const auto r = CarryOverFiles(paths, u"2009"_s, CarryOverMode::NewYear);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(ExistingReportFiles(paths, u"2009"_s).size(), RazdelCount);
    DataSet saved(u"saved"_s);
    loadTableFromFile(saved, RazdelFileName(paths, u"02"_s, u"2009"_s));
    ASSERT_TRUE(saved.locate(u"KodRow"_s, {u"11"_s}));
    EXPECT_EQ(saved.fieldByName(u"Graf04"_s).asString(), u"703.5"_s);

    // only the changed files are written when filling empty cells
    QFile::remove(RazdelFileName(paths, u"04"_s, u"2009"_s));
    const auto none = CarryOverFiles(paths, u"2009"_s, CarryOverMode::EmptyCellsOnly);
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->cells.isEmpty());
    EXPECT_FALSE(QFile::exists(RazdelFileName(paths, u"04"_s, u"2009"_s)));
}

TEST(CarryOverFiles, DamagedFileStopsBeforeAnythingIsWritten)
{
    QTemporaryDir dir;
    AppPaths paths(dir.filePath(u"form2audit"_s));
    writeAll(RazdelFileName(paths, u"00"_s, u"2008"_s), "<DATAPACKET");
    EXPECT_THROW(CarryOverFiles(paths, u"2009"_s, CarryOverMode::NewYear), DataSetError);
    EXPECT_TRUE(ExistingReportFiles(paths, u"2009"_s).isEmpty());
    EXPECT_EQ(readAll(RazdelFileName(paths, u"00"_s, u"2008"_s)), "<DATAPACKET");
}

TEST(CarryOverSettings, DeclinedIsRememberedPerYear)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(u"f.ini"_s);
    Settings y2009(ini, u"2009"_s);
    EXPECT_FALSE(y2009.GetCarryOverDeclined());
    y2009.SetCarryOverDeclined(true);
    EXPECT_TRUE(Settings(ini, u"2009"_s).GetCarryOverDeclined());
    EXPECT_FALSE(Settings(ini, u"2010"_s).GetCarryOverDeclined());
    EXPECT_EQ(IniRead(ini, u"2009"_s, u"CarryOverDeclined"_s, {}), u"1"_s);
}
