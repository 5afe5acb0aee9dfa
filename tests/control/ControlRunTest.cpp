#include "control/ControlTestSupport.h"

#include "TestSupport.h"
#include "control/ErrorList.h"
#include "model/DataSet.h"
#include "model/Razdels.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(ControlRun, EmptyReportCounts)
{
    ReportTables t;
    const ControlCounts c = runControl(t);
    // Requisites: 11 errors, OKPO and e-mail warnings; one not-filled warning for each
    // section of figures and for the membership table.
    EXPECT_EQ(c.RazdelErrCount, (std::array<int, 7>{11, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(c.RazdelWarnCount, (std::array<int, 7>{2, 1, 1, 1, 1, 0, 1}));
    EXPECT_EQ(c.AllErrCount, 11);
    EXPECT_EQ(c.AllWarnCount, 7);
    EXPECT_EQ(t.err().recordCount(), 18);
    EXPECT_FALSE(CanExitFromRazdel(PosRekvizity, t.err()));
    for (int p = 1; p < RazdelCount; ++p)
        EXPECT_TRUE(CanExitFromRazdel(p, t.err())) << p;
}

TEST(ControlRun, ChecksNeverMoveTheUsersRows)
{
    ReportTables t;
    setCells(t, validRekvizity());
    setCells(t, consistentFigures());
    const int rowOf[RazdelCount] = {2, 2, 4, 9, 5, 1, 12};
    for (int p = 0; p < RazdelCount; ++p)
        t.razdel(p)->setRecNo(rowOf[p]);
    // A pending edit of row 02 is posted and checked.
    DataSet& r1 = *t.razdel(PosRazdel1);
    r1.edit();
    r1.fieldByName(u"Graf04"_s).clear();
    runControl(t);
    for (int p = 0; p < RazdelCount; ++p)
        EXPECT_EQ(t.razdel(p)->recNo(), rowOf[p]) << p;
    EXPECT_EQ(r1.state(), DataSetState::Browse);
    EXPECT_EQ(
        errLines(t.err(), u"01"_s),
        QStringList{
            u"01\tE\t1\tGraf04\t02\t0\tВ строке 02 не заполнена графа 4, а графа 3 заполнена"_s});
    EXPECT_EQ(r1.fieldByName(u"KodRow"_s).asString(), u"02"_s);
}

TEST(ControlRun, SectionWithoutTableKeepsItsRecords)
{
    ReportTables t;
    runControl(t);
    const QStringList before = errLines(t.err(), u"01"_s);
    ASSERT_EQ(before.size(), 1);
    int e = 7, w = 7;
    ControlRazdel(PosRazdel1, nullptr, t, t.err(), e, w,
                  ControlEnv{kTestToday, nullptr, kTestYear});
    EXPECT_EQ(e, 0);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(errLines(t.err(), u"01"_s), before);
    ControlRazdel(7, t.razdel(PosRazdel1), t, t.err(), e, w,
                  ControlEnv{kTestToday, nullptr, kTestYear});
    EXPECT_EQ(errLines(t.err(), u"01"_s), before);
}
