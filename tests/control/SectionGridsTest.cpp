#include "control/SectionGrids.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// Every section but the requisites has one grid, and every column is a field of its table.
TEST(SectionGrids, OneGridPerSectionOverItsOwnFields)
{
    ReportTables tables;
    QSet<int> positions;
    for (const SectionGrid& g : SectionGrids()) {
        SCOPED_TRACE(g.position);
        EXPECT_FALSE(positions.contains(g.position));
        positions.insert(g.position);
        EXPECT_GT(g.rowHeight, 0);
        EXPECT_LT(g.frozenColumns, g.columns.size());
        QSet<QString> names;
        for (const FieldDef& d : tables.razdel(g.position)->fieldDefs())
            names.insert(d.name.toUpper());
        for (const GridColumnSpec& c : g.columns) {
            EXPECT_TRUE(names.contains(c.field.toUpper())) << qPrintable(c.field);
            EXPECT_GT(c.width, 0);
        }
        // The frozen columns are the row's name and code, which nobody types into.
        for (int i = 0; i < g.frozenColumns; ++i)
            EXPECT_TRUE(g.columns[i].readOnly) << qPrintable(g.columns[i].field);
    }
    EXPECT_EQ(positions.size(), RazdelCount - 1);
    EXPECT_FALSE(positions.contains(PosRekvizity));
}

TEST(SectionGrids, KeyRules)
{
    const struct {
        int position;
        const char* field;
        KeyRule rule;
    } cases[] = {
        {PosRazdel1, "Graf03", KeyRule::Integer},   {PosRazdel1, "graf04", KeyRule::Decimal4},
        {PosRazdel2, "Graf03", KeyRule::Decimal9},  {PosRazdel2, "Graf04", KeyRule::Decimal9},
        {PosRazdel3, "Graf03", KeyRule::Integer},   {PosRazdel4, "Graf09", KeyRule::Integer},
        {PosMembership, "Year", KeyRule::Year},     {PosMembership, "NameRow", KeyRule::Any},
        {PosQualityTest, "ValueYes", KeyRule::Any}, {PosRekvizity, "OKPO", KeyRule::Any},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeyRuleFor(c.position, QString::fromLatin1(c.field)), c.rule)
            << c.position << ' ' << c.field;
}

TEST(SectionGrids, MembershipCellsAndTheirColours)
{
    const struct {
        int recNo;
        const char* field;
        CellLook look;
    } cases[] = {
        {1, "NameRow", CellLook::FixedName},   {5, "namerow", CellLook::FixedName},
        {6, "NameRow", CellLook::Plain},       {5, "KodRow", CellLook::Plain},
        {6, "KodRow", CellLook::FirstCodes},   {10, "KodRow", CellLook::FirstCodes},
        {11, "KodRow", CellLook::SecondCodes}, {15, "KodRow", CellLook::SecondCodes},
        {16, "KodRow", CellLook::Plain},       {3, "Year", CellLook::Plain},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CellLookFor(PosMembership, c.recNo, QString::fromLatin1(c.field)), c.look)
            << c.recNo << ' ' << c.field;
}
