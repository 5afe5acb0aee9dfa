#include "control/EditRules.h"
#include "TestSupport.h"
#include "model/FormTables.h"
#include "model/Razdels.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Types the keys one by one into an editor that starts empty; refused keys are dropped.
template <typename Filter> QString typeKeys(const QString& keys, Filter filter)
{
    EditorState ed;
    for (QChar k : keys) {
        if (ed.text.size() >= ed.maxLength)
            continue;
        if (const auto c = filter(k, ed)) {
            ed.text.insert(ed.selectionStart, *c);
            ++ed.selectionStart;
        }
    }
    return ed.text;
}

QString decimal(const QString& keys, int n)
{
    return typeKeys(keys, [n](QChar k, EditorState& e) { return decimalKeyFilter(k, e, n); });
}

QString year(const QString& keys)
{
    return typeKeys(
        keys, [](QChar k, EditorState& e) { return yearKeyFilter(k, e, u"1990"_s, u"2015"_s); });
}

} // namespace

TEST(EditRulesKeys, DecimalFilter)
{
    struct Case {
        QString keys;
        int n;
        QString expected;
    } cases[] = {
        {u"1234,5"_s, 9, u"1234.5"_s}, // comma becomes a point
        {u"7,25"_s, 9, u"7.2"_s},      // a second decimal is refused
        {u"7ю5"_s, 9, u"7.5"_s},       // the Russian full-stop key
        {u"7б5"_s, 9, u"7.5"_s},
        {u"7/5"_s, 9, u"7.5"_s},
        {u"1234567890"_s, 9, u"123456789"_s}, // a tenth digit before the point
        {u"-5"_s, 9, u"5"_s},                 // no sign
        {u".5"_s, 9, u"5"_s},                 // a lone point is no number
        {u"1..2"_s, 9, u"1.2"_s},
        {u"12345"_s, 4, u"1234"_s},
        {u"12.5"_s, 4, u"12.5"_s},
        {u"1234.56"_s, 4, u"1234.5"_s},
        {u"1a2 3"_s, 4, u"123"_s},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decimal(c.keys, c.n), c.expected) << c.keys.toStdString();

    // a lone point is refused: it is not a number
    EditorState empty;
    EXPECT_FALSE(decimalKeyFilter(u'.', empty, 9).has_value());
    // with a selection the key replaces it
    EditorState sel{u"123.4"_s, 0, 3};
    EXPECT_EQ(sel.candidate(u'9'), u"9.4"_s);
    EXPECT_TRUE(decimalKeyFilter(u'9', sel, 4).has_value());
}

TEST(EditRulesKeys, IntegerFilterDigitsOnlyFourLong)
{
    EXPECT_EQ(typeKeys(u"12345"_s, integerKeyFilter), u"1234"_s);
    EXPECT_EQ(typeKeys(u"-1.2a3"_s, integerKeyFilter), u"123"_s);
}

TEST(EditRulesKeys, YearFilterAgainstLimitPrefixes)
{
    EXPECT_EQ(year(u"2015"_s), u"2015"_s);
    EXPECT_EQ(year(u"3"_s), u""_s);
    EXPECT_EQ(year(u"1989"_s), u"199"_s); // the 8 is refused, the last 9 passes
    EXPECT_EQ(year(u"2016"_s), u"201"_s);
    EXPECT_EQ(year(u"20"_s), u"20"_s); // a short year is not prevented here
    EXPECT_EQ(year(u"19x95"_s), u"1995"_s);
}

TEST(EditRulesRounding, RoundNumText)
{
    const std::pair<QString, QString> cases[] = {
        {u"2.35"_s, u"2.4"_s},   {u"0.04"_s, u"0.0"_s},       {u"9.96"_s, u"10."_s},
        {u"-2.35"_s, u"-2.4"_s}, {u"12"_s, u"12"_s},          {u"  "_s, u"  "_s},
        {u"7.2"_s, u"7.2"_s},    {u"1234.55"_s, u"1234.6"_s},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(RoundNumText(in, 1), out) << in.toStdString();
    EXPECT_EQ(RoundNumText(u"2.5"_s, 0), u"3"_s);
}

TEST(EditRulesCells, ClassesAndBeforeEditVerdicts)
{
    struct Case {
        int pos, rec;
        QString field;
        CellClass cls;
        EditVerdict verdict;
    } cases[] = {
        {1, 2, u"Graf03"_s, CellClass::Total, EditVerdict::RefuseTotal},
        {1, 2, u"Graf04"_s, CellClass::Input, EditVerdict::Allow},
        {1, 3, u"Graf04"_s, CellClass::Locked, EditVerdict::RefuseSilently},
        {1, 1, u"Graf03"_s, CellClass::Input, EditVerdict::Allow},
        {2, 1, u"Graf04"_s, CellClass::Total, EditVerdict::RefuseTotal},
        {2, 7, u"Graf03"_s, CellClass::Input, EditVerdict::Allow},
        {3, 1, u"Graf03"_s, CellClass::Total, EditVerdict::RefuseTotal},
        {3, 17, u"Graf03"_s, CellClass::Input, EditVerdict::Allow},
        {4, 1, u"Graf09"_s, CellClass::Total, EditVerdict::RefuseTotal},
        {4, 5, u"Graf03"_s, CellClass::Total, EditVerdict::RefuseTotal},
        {4, 5, u"Graf08"_s, CellClass::Input, EditVerdict::Allow},
        {4, 9, u"Graf03"_s, CellClass::Input, EditVerdict::Allow},
        {4, 9, u"Graf05"_s, CellClass::Locked, EditVerdict::RefuseSilently},
        {6, 5, u"NameRow"_s, CellClass::FixedText, EditVerdict::RefuseFixedText},
        {6, 5, u"Year"_s, CellClass::Input, EditVerdict::Allow},
        {6, 6, u"NameRow"_s, CellClass::Input, EditVerdict::Allow},
        {5, 1, u"ValueYes"_s, CellClass::Input, EditVerdict::Allow},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cellClass(c.pos, c.rec, c.field), c.cls)
            << c.pos << " " << c.rec << " " << c.field.toStdString();
        EXPECT_EQ(beforeEditVerdict(c.pos, c.rec, c.field), c.verdict)
            << c.pos << " " << c.rec << " " << c.field.toStdString();
    }
}

TEST(EditRulesPost, NormalisingRows)
{
    auto s2 = createRazdelTable(PosRazdel2);
    s2->setRecNo(2);
    s2->edit();
    s2->fieldByName(u"Graf03"_s).setAsString(u"0.04"_s);
    s2->fieldByName(u"Graf04"_s).setAsString(u"2.35"_s);
    normaliseRowBeforePost(PosRazdel2, *s2);
    EXPECT_TRUE(s2->fieldByName(u"Graf03"_s).isNull());
    EXPECT_EQ(s2->fieldByName(u"Graf04"_s).asString(), u"2.4"_s);

    auto s4 = createRazdelTable(PosRazdel4);
    s4->setRecNo(3);
    s4->edit();
    s4->fieldByName(u"Graf05"_s).setAsInteger(0);
    s4->fieldByName(u"Graf06"_s).setAsInteger(7);
    normaliseRowBeforePost(PosRazdel4, *s4);
    EXPECT_TRUE(s4->fieldByName(u"Graf05"_s).isNull());
    EXPECT_EQ(s4->fieldByName(u"Graf06"_s).asInteger(), 7);

    auto s1 = createRazdelTable(PosRazdel1);
    s1->edit();
    s1->fieldByName(u"Graf03"_s).setAsInteger(0);
    s1->fieldByName(u"Graf04"_s).setAsString(u"0.0"_s);
    normaliseRowBeforePost(PosRazdel1, *s1);
    EXPECT_TRUE(s1->fieldByName(u"Graf03"_s).isNull());
    EXPECT_TRUE(s1->fieldByName(u"Graf04"_s).isNull());
}
