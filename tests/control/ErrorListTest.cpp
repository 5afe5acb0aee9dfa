#include "control/ControlTestSupport.h"

#include "TestSupport.h"
#include "control/ErrorList.h"
#include "control/ErrorListText.h"
#include "model/DataSet.h"
#include "model/FormTables.h"
#include "model/Razdels.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Rec {
    QString msg;
    bool warning;
    int pos;
    bool mayExit = false;
};

void add(DataSet& err, const std::vector<Rec>& recs)
{
    std::array<int, RazdelCount> e{}, w{};
    for (const Rec& r : recs)
        AddErr(r.msg, r.warning, r.pos, u"Graf03"_s, u"01"_s, err, e[r.pos], w[r.pos], r.mayExit);
}

} // namespace

TEST(ErrorList, NumbersErrorsAndWarningsSeparatelyPerSection)
{
    auto err = createErrTable();
    add(*err, {{u"e1"_s, false, 1},
               {u"w1"_s, true, 1},
               {u"e2"_s, false, 1},
               {u"x1"_s, false, 2},
               {u"w2"_s, true, 1}});
    EXPECT_EQ(errLines(*err), (QStringList{
                                  u"01\tE\t1\tGraf03\t01\t0\te1"_s,
                                  u"01\tE\t2\tGraf03\t01\t0\te2"_s,
                                  u"01\tW\t1\tGraf03\t01\t0\tw1"_s,
                                  u"01\tW\t2\tGraf03\t01\t0\tw2"_s,
                                  u"02\tE\t1\tGraf03\t01\t0\tx1"_s,
                              }));
}

TEST(ErrorList, RecordCarriesTheSectionDescriptor)
{
    auto err = createErrTable();
    int e = 0, w = 0;
    AddErr(u"m"_s, true, PosMembership, u"Year"_s, u"7"_s, *err, e, w, false);
    AddErr(u"q"_s, false, PosQualityTest, u"ValueYes"_s, {}, *err, e, w, true);
    err->first();
    auto f = [&](const char* name) { return err->fieldByName(QString::fromLatin1(name)); };
    ASSERT_TRUE(err->locate(u"RazdelKod"_s, {u"05_11_30"_s}));
    EXPECT_EQ(f("RazdelName").asString(), Razdels()[PosMembership].Title);
    EXPECT_EQ(f("KodRow_FieldName").asString(), u"Num"_s);
    EXPECT_EQ(f("KodRow_Value").asString(), u"7"_s);
    EXPECT_EQ(f("RazdelInd").asInteger(), 6);
    EXPECT_TRUE(f("IsWarning").asBoolean());
    EXPECT_TRUE(f("ErrorKod").isNull());
    ASSERT_TRUE(err->locate(u"RazdelKod"_s, {u"QualityTest"_s}));
    EXPECT_TRUE(f("KodRow_FieldName").isNull()); // the section has no key field
    EXPECT_TRUE(f("KodRow_Value").isNull());
    EXPECT_EQ(f("RazdelInd").asInteger(), 5);
    EXPECT_TRUE(f("MayExitFromRazdel").asBoolean());
    EXPECT_EQ(e, 1);
    EXPECT_EQ(w, 1);
}

TEST(ErrorList, AddingKeepsTheListCursorAndItsOrder)
{
    auto err = createErrTable();
    add(*err, {{u"a"_s, false, 3}, {u"b"_s, false, 3}, {u"c"_s, false, 0}});
    err->first(); // the "00" record comes first by the index
    ASSERT_EQ(err->fieldByName(u"ErrorName"_s).asString(), u"c"_s);
    err->next();
    const RowId current = err->bookmark();
    int e = 5, w = 0;
    AddErr(u"d"_s, false, 1, {}, {}, *err, e, w, false);
    EXPECT_EQ(err->bookmark(), current);
    QStringList order;
    for (err->first(); !err->eof(); err->next())
        order << err->fieldByName(u"ErrorName"_s).asString();
    EXPECT_EQ(order, (QStringList{u"c"_s, u"d"_s, u"a"_s, u"b"_s}));
}

TEST(ErrorList, ClearRemovesOnlyTheExactCode)
{
    auto err = createErrTable();
    add(*err, {{u"r1"_s, false, 1},
               {u"r0"_s, false, 0},
               {u"r1w"_s, true, 1},
               {u"q"_s, false, 5},
               {u"r2"_s, false, 2},
               {u"r1b"_s, false, 1}});
    err->setFilter(u"IsWarning=false and RazdelKod='02'"_s);
    err->setFiltered(true);
    EXPECT_TRUE(ClearRazdelErr(*err, u"01"_s));
    EXPECT_FALSE(err->filtered());
    EXPECT_TRUE(ClearRazdelErr(*err, u"qualitytest"_s)); // codes compare case-sensitively
    EXPECT_EQ(errLines(*err), (QStringList{
                                  u"00\tE\t1\tGraf03\t01\t0\tr0"_s,
                                  u"02\tE\t1\tGraf03\t01\t0\tr2"_s,
                                  u"QualityTest\tE\t1\tGraf03\t01\t0\tq"_s,
                              }));
}

TEST(ErrorList, CanExitFromRazdel)
{
    struct Case {
        const char* what;
        std::vector<Rec> recs;
        bool canExit;
    } cases[] = {
        {"no records", {}, true},
        {"warnings only", {{u"w"_s, true, 2}}, true},
        {"cross-section errors only", {{u"x"_s, false, 2, true}, {u"y"_s, false, 2, true}}, true},
        {"a blocking error", {{u"x"_s, false, 2, true}, {u"e"_s, false, 2}}, false},
        {"a blocking error elsewhere", {{u"e"_s, false, 3}, {u"w"_s, true, 2}}, true},
    };
    for (const Case& c : cases) {
        auto err = createErrTable();
        add(*err, c.recs);
        EXPECT_EQ(CanExitFromRazdel(PosRazdel2, *err), c.canExit) << c.what;
    }
}

TEST(ErrorList, LinesEscapeLineBreaksAndSortWarningsAfterErrors)
{
    auto err = createErrTable();
    int e = 0, w = 0, e6 = 0, w6 = 0;
    AddErr(u"first\n\rsecond\tthird\\"_s, true, 0, u"OGRN"_s, {}, *err, e, w, false);
    AddErr(u"x"_s, false, PosMembership, u"Year"_s, u"3"_s, *err, e6, w6, false);
    AddErr(u"y"_s, false, PosQualityTest, u"ValueYes"_s, {}, *err, e, w, true);
    AddErr(u"z"_s, false, 0, u"OKUD"_s, {}, *err, e, w, false);
    EXPECT_EQ(ErrorListLines(*err), (QStringList{
                                        u"00\tE\t2\tOKUD\t\t0\tz"_s,
                                        u"00\tW\t1\tOGRN\t\t0\tfirst\\n\\rsecond\\tthird\\\\"_s,
                                        u"05_11_30\tE\t1\tYear\t3\t0\tx"_s,
                                        u"QualityTest\tE\t1\tValueYes\t\t1\ty"_s,
                                    }));
    EXPECT_EQ(ErrorListSummary(3, 1), u"Ошибок: 3, предупреждений: 1"_s);
}

TEST(ErrorList, IsRazdelEmptyLooksAtTheFiguresOfEachSection)
{
    struct Case {
        const char* what;
        int pos;
        std::vector<Cell> cells;
        bool empty;
    } cases[] = {
        {"section 1 built-in", PosRazdel1, {}, true},
        {"section 1 column 4 only", PosRazdel1, {{1, u"02"_s, u"Graf04"_s, 0.5}}, false},
        {"section 2 previous year only", PosRazdel2, {{2, u"11"_s, u"Graf04"_s, 3}}, false},
        {"section 3 built-in", PosRazdel3, {}, true},
        {"section 3 row 28", PosRazdel3, {{3, u"28"_s, u"Graf03"_s, 1}}, false},
        {"section 4 column 9 only", PosRazdel4, {{4, u"36"_s, u"Graf09"_s, 1}}, false},
        {"membership built-in names", PosMembership, {}, true},
        {"membership listed association with a year",
         PosMembership,
         {{6, u"5"_s, u"Year"_s, 2001}},
         false},
        {"membership listed association renamed",
         PosMembership,
         {{6, u"1"_s, u"NameRow"_s, u"Другое имя"_s}},
         true},
        {"membership typed name only", PosMembership, {{6, u"10"_s, u"NameRow"_s, u"X"_s}}, false},
        {"membership blank name only", PosMembership, {{6, u"11"_s, u"NameRow"_s, u"   "_s}}, true},
    };
    for (const Case& c : cases) {
        ReportTables t;
        setCells(t, c.cells);
        EXPECT_EQ(IsRazdelEmpty(c.pos, t.razdel(c.pos)), c.empty) << c.what;
    }
    EXPECT_TRUE(IsRazdelEmpty(PosRazdel1, nullptr));
    auto closed = createRazdelTable(PosRazdel1);
    setCell(*closed, 1, u"01"_s, u"Graf03"_s, 5);
    closed->close();
    EXPECT_TRUE(IsRazdelEmpty(PosRazdel1, closed.get()));
}
