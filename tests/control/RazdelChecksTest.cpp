#include "control/ControlTestSupport.h"

#include "TestSupport.h"
#include "control/ErrorList.h"
#include "control/RazdelChecks.h"
#include "model/DataSet.h"
#include "model/FieldDef.h"
#include "model/FormatSettings.h"
#include "model/Razdels.h"
#include "model/Settings.h"
#include "model/Totals.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using RuleFn = void (*)(DataSet&, const ReportTables&, const ErrSink&);

// Runs one section's rules alone, without recomputing totals first, so the rules that
// compare a total with its parts can be seen to fire.
QStringList ruleLines(int pos, RuleFn rule, const std::vector<Cell>& cells)
{
    ReportTables t;
    setCells(t, cells);
    int e = 0, w = 0;
    rule(*t.razdel(pos), t, ErrSink{t.err(), pos, e, w});
    return errLines(t.err());
}

class DecimalComma {
public:
    DecimalComma()
    {
        FormatSettings f = formatSettings();
        f.decimalSeparator = u',';
        setFormatSettings(f);
    }
    ~DecimalComma() { SetFormatSettings(); }
    DecimalComma(const DecimalComma&) = delete;
    DecimalComma& operator=(const DecimalComma&) = delete;
};

const QString G3 = u"Graf03"_s, G4 = u"Graf04"_s;

} // namespace

TEST(RazdelChecks, TotalsThatWereNotWrittenAreReported)
{
    struct Case {
        const char* what;
        int pos;
        RuleFn rule;
        std::vector<Cell> cells;
        QStringList expected;
    } cases[] = {
        {"section 1, row 02",
         PosRazdel1,
         ControlRazdel1,
         {{1, u"01"_s, G3, 10},
          {1, u"01"_s, G4, 9},
          {1, u"02"_s, G4, 4},
          {1, u"03"_s, G3, 3},
          {1, u"04"_s, G3, 2}},
         {u"01\tE\t1\tGraf03\t02\t0\tЧисленность аудиторов не равна суммарной численности аудиторов по договорам всех видов (строка 02 не равна сумме строк 03-04 (сумма = 5 ) в графе 3)"_s}},
        {"section 3, row 12 and the activities",
         PosRazdel3,
         ControlRazdel3,
         {{3, u"12"_s, G3, 5}, {3, u"13"_s, G3, 2}, {3, u"14"_s, G3, 2}, {3, u"21"_s, G3, 6}},
         {u"03\tE\t1\tGraf03\t12\t0\tКоличество клиентов аудита не равно сумме клиентов, разделенных по объему выручки(cтрока 12 не равна сумме строк 13-20 (сумма = 4 ) в графе 3)"_s,
          u"03\tE\t2\tGraf03\t12\t0\tКоличество клиентов аудита меньше суммы клиентов по заданным видам деятельности (cтрока 12 меньше суммы строк 21-28 (сумма = 6 ) в графе 3)"_s,
          u"03\tE\t3\tGraf03\t12\t1\tКоличество клиентов аудита - строка 12 раздела 3 ( =5 ) больше количества всех выданных аудиторских заключений - сумма строк 29 и 37 раздела 4 ( = 0 )"_s,
          u"03\tE\t4\tGraf03\t12\t1\tУказаны клиенты - строка 12 раздела 3 ( = 5 ), но не указан объем оказанных услуг в области аудита - сумма строк 06..09 раздела 2"_s}},
        {"section 4, row 29 and column 3",
         PosRazdel4,
         ControlRazdel4,
         {{4, u"30"_s, G3, 5}, {4, u"30"_s, G4, 4}},
         {u"04\tE\t1\tGraf03\t29\t0\tСтрока 29 не равна сумме строк 30-36 (сумма = 5 ) в графе 3"_s,
          u"04\tE\t2\tGraf04\t29\t0\tСтрока 29 не равна сумме строк 30-36 (сумма = 4 ) в графе 4"_s,
          u"04\tE\t3\tGraf03\t30\t0\tВ строке 30 графа 3 не равна сумме граф 4-7 (сумма = 4 )"_s}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ruleLines(c.pos, c.rule, c.cells), c.expected) << c.what;
}

TEST(RazdelChecks, Section2SumsFollowTheDecimalSeparator)
{
    DecimalComma comma;
    const QStringList lines = ruleLines(PosRazdel2, ControlRazdel2,
                                        {{2, u"05"_s, G3, 100},
                                         {2, u"06"_s, G3, 99.5},
                                         {2, u"05"_s, G4, 11},
                                         {2, u"06"_s, G4, 10},
                                         {2, u"10"_s, G4, 1},
                                         {2, u"11"_s, G4, 2}});
    EXPECT_EQ(
        lines,
        (QStringList{
            u"02\tE\t1\tGraf03\t05\t0\tПолный объем услуг не равен сумме объемов всех видов услуг (строка 05 не равна сумме строк 06-10 (сумма = 99,5 ) в графе 3)"_s,
            u"02\tE\t2\tGraf04\t10\t0\tСтрока 10 меньше строки 11 в графе 4"_s,
            u"02\tE\t3\tGraf03\t06\t1\tУказан объем услуг от аудита - сумма строк 06..09 раздела 2 ( = 99,5 ), но не указаны клиенты - строка 12 раздела 3"_s,
            u"02\tE\t4\tGraf03\t06\t1\tУказан объем услуг от аудита - сумма строк 06..09 раздела 2 ( = 99,5 ), но не указано количество выданных заключений - сумма строк 29, 37 раздела 4"_s,
        }));
}

TEST(RazdelChecks, SectionRulesAfterTotals)
{
    struct Case {
        const char* what;
        QString kod;
        std::vector<Cell> cells;
        QStringList expected;
    } cases[] = {
        {"section 1: fewer staff than auditors in column 3",
         u"01"_s,
         {{1, u"01"_s, G3, 10},
          {1, u"01"_s, G4, 10},
          {1, u"02"_s, G4, 9},
          {1, u"03"_s, G3, 7},
          {1, u"04"_s, G3, 5}},
         {u"01\tE\t1\tGraf03\t01\t0\tЧисленность работников меньше численности аудиторов ( cтрока 01 меньше строки 02 в графе 3)"_s}},
        {"section 1: column 4 of both rows missing",
         u"01"_s,
         {{1, u"01"_s, G3, 10}, {1, u"03"_s, G3, 3}, {1, u"04"_s, G3, 2}},
         {u"01\tE\t1\tGraf04\t01\t0\tВ строке 01 не заполнена графа 4, а графа 3 заполнена"_s,
          u"01\tE\t2\tGraf04\t02\t0\tВ строке 02 не заполнена графа 4, а графа 3 заполнена"_s}},
        {"section 1: staff without auditors is no finding",
         u"01"_s,
         {{1, u"01"_s, G3, 10}, {1, u"01"_s, G4, 10}},
         {}},
        {"section 2: previous year blank",
         u"02"_s,
         {{2, u"06"_s, G3, 10}, {3, u"13"_s, G3, 1}, {4, u"37"_s, G3, 1}},
         {u"02\tW\t1\tGraf04\t05\t0\tНе указан объем оказанных услуг за предыдущий год"_s}},
        {"section 2: row 11 counts as previous year, but exceeds row 10",
         u"02"_s,
         {{2, u"06"_s, G3, 10}, {2, u"11"_s, G4, 5}, {3, u"13"_s, G3, 1}, {4, u"37"_s, G3, 1}},
         {u"02\tE\t1\tGraf04\t10\t0\tСтрока 10 меньше строки 11 в графе 4"_s}},
        {"section 4: opinions without revenue",
         u"04"_s,
         {{4, u"37"_s, G3, 2}},
         {u"04\tE\t1\tGraf03\t29\t1\tУказано количество выданных аудиторских заключений - сумма строк 29, 37 раздела 4 ( = 2 ), но не указан объем оказанных услуг в области аудита - сумма строк 06, 07, 08, 09 раздела 2"_s}},
    };
    for (const Case& c : cases) {
        ReportTables t;
        setCells(t, c.cells);
        CalcAllRazdels(t); // as the grids leave them: relations read other sections' totals
        runControl(t);
        EXPECT_EQ(errLines(t.err(), c.kod), c.expected) << c.what;
    }
}

TEST(RazdelChecks, QualityTestNeedsExactlyOneAnswer)
{
    const QString msg =
        u"QualityTest\tE\t1\tValueYes\t\t0\tВо внешней проверке качества должно быть отмечено ДА или НЕТ"_s;
    for (const QVariant& yes : {QVariant(true), QVariant(false), QVariant()}) {
        ReportTables t;
        setCell(*t.razdel(5), 5, {}, u"ValueYes"_s, yes);
        runControl(t);
        EXPECT_EQ(errLines(t.err(), u"QualityTest"_s), QStringList())
            << yes.toString().toStdString();
    }
    // Both flags stored, as a foreign file might hold them.
    for (bool both : {false, true}) {
        ReportTables t;
        DataSet& q = *t.razdel(PosQualityTest);
        q.loadData({booleanField(u"ValueYes"_s), booleanField(u"ValueNo"_s)}, {{both, both}});
        q.setOnCalcFields(nullptr);
        runControl(t);
        EXPECT_EQ(errLines(t.err(), u"QualityTest"_s), QStringList{msg}) << both;
    }
}

TEST(RazdelChecks, UnreadableYearLimitsFallBackToTheirDefaults)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(u"f.ini"_s);
    IniWrite(ini, u"Parms"_s, u"YearVstuplen_Min"_s, u"abc"_s);
    IniWrite(ini, u"Parms"_s, u"YearVstuplen_Max"_s, u"20x9"_s);
    const Settings s(ini, kTestYear);
    const auto limits = MembershipYearLimits::from(ControlEnv{kTestToday, &s, u"2011"_s});
    ASSERT_TRUE(limits.min && limits.max);
    EXPECT_EQ(limits.min->value, 1990);
    EXPECT_EQ(limits.min->text, u"1990"_s);
    EXPECT_EQ(limits.max->value, 2011); // the reporting year of the run
    EXPECT_EQ(limits.max->text, u"2011"_s);
}

TEST(RazdelChecks, MembershipWalksRowsInNumOrder)
{
    // Stored order differs from the table's order; numbering follows the latter.
    ReportTables t;
    DataSet& m = *t.razdel(PosMembership);
    std::vector<RowValues> rows;
    for (const Row& r : m.rows())
        rows.insert(rows.begin(), r.values);
    m.loadData(m.fieldDefs(), std::move(rows));
    setCell(m, 6, u"3"_s, u"Year"_s, 1900);
    setCell(m, 6, u"9"_s, u"Year"_s, 2100);
    m.locate(u"Num"_s, {9});
    const RowId current = m.bookmark();
    runControl(t);
    EXPECT_EQ(
        errLines(t.err(), u"05_11_30"_s),
        (QStringList{
            u"05_11_30\tE\t1\tYear\t3\t0\tВ строке номер 3 год вступления (1900) меньше 1990"_s,
            u"05_11_30\tE\t2\tNameRow\t9\t0\tВ строке номер 9 указан год, но не указано ПАО"_s,
            u"05_11_30\tE\t3\tYear\t9\t0\tВ строке номер 9 год вступления (2100) больше 2009"_s,
        }));
    EXPECT_EQ(m.bookmark(), current);
}
