#include "model/Totals.h"
#include "TestSupport.h"
#include "model/CellTests.h"
#include "model/FormTables.h"
#include "model/FormatSettings.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Writes cells by row code as text; an empty text clears the cell.
void put(DataSet& t, const QString& row, const QString& column, const QString& text)
{
    ASSERT_TRUE(t.locate(u"KodRow"_s, {row}));
    t.edit();
    t.fieldByName(column).setAsString(text);
    t.post();
}

QString cell(DataSet& t, const QString& row, const QString& column)
{
    auto k = t.clone();
    if (!k->locate(u"KodRow"_s, {row}))
        return u"<missing>"_s;
    return k->fieldByName(column).asString();
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
};

} // namespace

TEST(CellTests, TextTests)
{
    struct Case {
        QString text;
        bool number, integer, date, digits;
    } cases[] = {
        {u""_s, false, false, false, true},
        {u"12"_s, true, true, false, true},
        {u" 5"_s, true, true, false, false},
        {u"12.5"_s, true, false, false, false},
        {u" 12.5 "_s, true, false, false, false},
        {u"1e3"_s, true, false, false, false},
        {u"1 000"_s, false, false, false, false},
        {u"-7"_s, true, true, false, false},
        {u"2147483648"_s, true, false, false, true},
        {u"05.03.2009"_s, false, false, true, false},
        {u"31.02.2009"_s, false, false, false, false},
        {u"abc"_s, false, false, false, false},
        {u"٣"_s, false, false, false, false}, // a digit of another script
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsNumberText(c.text), c.number) << c.text.toStdString();
        EXPECT_EQ(IsIntegerText(c.text), c.integer) << c.text.toStdString();
        EXPECT_EQ(IsDateText(c.text), c.date) << c.text.toStdString();
        EXPECT_EQ(IsDigitsOnly(c.text), c.digits) << c.text.toStdString();
    }
}

TEST(CellTests, SumsFollowTheDecimalSeparator)
{
    auto t = createRazdelTable(2);
    put(*t, u"06"_s, u"Graf03"_s, u"10.5"_s);
    put(*t, u"07"_s, u"Graf03"_s, u"2"_s);
    EXPECT_EQ(SumGrafByRows(t.get(), u"KodRow"_s, u"Graf03"_s, {u"06"_s, u"07"_s}), u"12.5"_s);
    {
        DecimalComma comma;
        const QString s = SumGrafByRows(t.get(), u"KodRow"_s, u"Graf03"_s, {u"06"_s, u"07"_s});
        EXPECT_EQ(s, u"12,5"_s);
        EXPECT_EQ(parseFloat(s), 12.5);
    }
    EXPECT_EQ(parseFloat(u"12.5"_s), 12.5);
}

TEST(CellTests, SumsSkipMissingBlankAndUnknown)
{
    auto t = createRazdelTable(1);
    EXPECT_EQ(SumGrafByRows(t.get(), u"KodRow"_s, u"Graf03"_s, {u"03"_s, u"04"_s}), u"0"_s);
    put(*t, u"03"_s, u"Graf03"_s, u"3"_s);
    put(*t, u"03"_s, u"Graf04"_s, u"0.25"_s);
    EXPECT_EQ(SumGrafByRows(t.get(), u"KodRow"_s, u"Graf03"_s, {u"03"_s, u"99"_s, u"04"_s}),
              u"3"_s);
    EXPECT_EQ(SumGrafByRows(t.get(), u"kodrow"_s, u"NoSuch"_s, {u"03"_s}), u"0"_s);
    EXPECT_EQ(SumGrafsOfRow(t.get(), u"KodRow"_s, u"03"_s, {u"Graf03"_s, u"Graf04"_s, u"NoSuch"_s}),
              u"3.25"_s);
    EXPECT_EQ(SumGrafsOfRow(t.get(), u"KodRow"_s, u"99"_s, {u"Graf03"_s}), QString());
    EXPECT_EQ(SumGrafsOfRow(t.get(), u"KodRow"_s, u"04"_s, {u"Graf03"_s}), u"0"_s);
    // NameRow holds text that is no number: ignored
    EXPECT_EQ(SumGrafsOfRow(t.get(), u"KodRow"_s, u"03"_s, {u"NameRow"_s}), u"0"_s);
}

TEST(CellTests, SumsCarryExtendedPrecision)
{
    auto t = createRazdelTable(2);
    const QStringList rows = {u"06"_s, u"07"_s, u"08"_s, u"09"_s, u"10"_s};
    for (const QString& r : rows)
        put(*t, r, u"Graf03"_s, u"0.1"_s);
    EXPECT_EQ(SumGrafByRows(t.get(), u"KodRow"_s, u"Graf03"_s, rows), u"0.5"_s);
    put(*t, u"06"_s, u"Graf03"_s, u"123456789012.3"_s);
    EXPECT_EQ(SumGrafByRows(t.get(), u"KodRow"_s, u"Graf03"_s, {u"06"_s}), u"123456789012.3"_s);
}

TEST(CellTests, SumsDoNotMoveTheCursor)
{
    auto t = createRazdelTable(3);
    t->setRecNo(5);
    int moves = 0;
    t->onDataChange = [&](DataSet&) { ++moves; };
    SumGrafByRows(t.get(), u"KodRow"_s, u"Graf03"_s, {u"13"_s, u"28"_s});
    EXPECT_EQ(t->recNo(), 5);
    EXPECT_EQ(moves, 0);
}

TEST(Totals, Section1)
{
    struct Case {
        QString r03, r04, expected;
    } cases[] = {
        {u"3"_s, u"2"_s, u"5"_s},
        {u""_s, u""_s, u""_s},
        {u"3"_s, u"-3"_s, u""_s}, // a zero sum is stored empty
        {u"7"_s, u""_s, u"7"_s},
    };
    for (const Case& c : cases) {
        auto t = createRazdelTable(1);
        put(*t, u"02"_s, u"Graf03"_s, u"99"_s); // stale total is replaced
        put(*t, u"03"_s, u"Graf03"_s, c.r03);
        put(*t, u"04"_s, u"Graf03"_s, c.r04);
        put(*t, u"02"_s, u"Graf04"_s, u"4.5"_s);
        CalcRazdel(PosRazdel1, t.get());
        EXPECT_EQ(cell(*t, u"02"_s, u"Graf03"_s), c.expected);
        EXPECT_EQ(cell(*t, u"02"_s, u"Graf04"_s), u"4.5"_s); // typed, not a total
    }
}

TEST(Totals, Section2MoneyColumnsRow11Excluded)
{
    auto t = createRazdelTable(2);
    put(*t, u"06"_s, u"Graf03"_s, u"1.5"_s);
    put(*t, u"07"_s, u"Graf03"_s, u"2.5"_s);
    put(*t, u"10"_s, u"Graf03"_s, u"1"_s);
    put(*t, u"11"_s, u"Graf03"_s, u"100"_s);
    put(*t, u"08"_s, u"Graf04"_s, u"0.3"_s);
    CalcRazdel(PosRazdel2, t.get());
    EXPECT_EQ(cell(*t, u"05"_s, u"Graf03"_s), u"5"_s);
    EXPECT_EQ(cell(*t, u"05"_s, u"Graf04"_s), u"0.3"_s);
    EXPECT_EQ(cell(*t, u"11"_s, u"Graf03"_s), u"100"_s);
}

TEST(Totals, Section3OnlyRows13To20)
{
    auto t = createRazdelTable(3);
    put(*t, u"13"_s, u"Graf03"_s, u"1"_s);
    put(*t, u"20"_s, u"Graf03"_s, u"2"_s);
    put(*t, u"21"_s, u"Graf03"_s, u"50"_s);
    CalcRazdel(PosRazdel3, t.get());
    EXPECT_EQ(cell(*t, u"12"_s, u"Graf03"_s), u"3"_s);
}

TEST(Totals, Section4RowsAndColumn3)
{
    auto t = createRazdelTable(4);
    put(*t, u"30"_s, u"Graf04"_s, u"1"_s);
    put(*t, u"30"_s, u"Graf05"_s, u"2"_s);
    put(*t, u"30"_s, u"Graf07"_s, u"4"_s);
    put(*t, u"30"_s, u"Graf08"_s, u"9"_s);
    put(*t, u"31"_s, u"Graf04"_s, u"10"_s);
    put(*t, u"31"_s, u"Graf09"_s, u"3"_s);
    put(*t, u"37"_s, u"Graf03"_s, u"6"_s);
    put(*t, u"36"_s, u"Graf03"_s, u"77"_s); // stale: row 36 has no parts
    CalcRazdel(PosRazdel4, t.get());
    EXPECT_EQ(cell(*t, u"30"_s, u"Graf03"_s), u"7"_s);
    EXPECT_EQ(cell(*t, u"31"_s, u"Graf03"_s), u"10"_s);
    EXPECT_EQ(cell(*t, u"29"_s, u"Graf04"_s), u"11"_s);
    EXPECT_EQ(cell(*t, u"29"_s, u"Graf05"_s), u"2"_s);
    EXPECT_EQ(cell(*t, u"29"_s, u"Graf06"_s), u""_s);
    EXPECT_EQ(cell(*t, u"29"_s, u"Graf08"_s), u"9"_s);
    EXPECT_EQ(cell(*t, u"29"_s, u"Graf09"_s), u"3"_s);
    EXPECT_EQ(cell(*t, u"29"_s, u"Graf03"_s), u"17"_s); // from row 29's recomputed parts
    EXPECT_EQ(cell(*t, u"36"_s, u"Graf03"_s), u""_s);
    EXPECT_EQ(cell(*t, u"37"_s, u"Graf03"_s), u"6"_s);
}

TEST(Totals, IdempotentQuietAndPostsPendingEdit)
{
    auto t = createRazdelTable(4);
    put(*t, u"33"_s, u"Graf06"_s, u"5"_s);
    t->setRecNo(3);
    t->edit();
    t->fieldByName(u"Graf04"_s).setAsString(u"2"_s); // row 31, not yet posted
    int notices = 0;
    t->onDataChange = [&](DataSet&) { ++notices; };
    CalcRazdel(PosRazdel4, t.get());
    EXPECT_EQ(t->state(), DataSetState::Browse);
    EXPECT_EQ(t->recNo(), 3);
    EXPECT_EQ(cell(*t, u"29"_s, u"Graf03"_s), u"7"_s);
    const auto before = t->rows();
    CalcRazdel(PosRazdel4, t.get());
    ASSERT_EQ(before.size(), t->rows().size());
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(before[i].values, t->rows()[i].values);
}

TEST(Totals, OtherPositionsUntouched)
{
    ReportTables tables;
    put(*tables.razdel(1), u"03"_s, u"Graf03"_s, u"2"_s);
    for (int p : {0, 5, 6}) {
        const auto before = tables.razdel(p)->rows();
        CalcRazdel(p, tables.razdel(p));
        for (size_t i = 0; i < before.size(); ++i)
            EXPECT_EQ(before[i].values, tables.razdel(p)->rows()[i].values);
    }
    CalcAllRazdels(tables);
    EXPECT_EQ(cell(*tables.razdel(1), u"02"_s, u"Graf03"_s), u"2"_s);
    CalcRazdel(PosRazdel1, nullptr); // no table: nothing to do
}
