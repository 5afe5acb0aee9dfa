#include "TestSupport.h"
#include "model/FormTables.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(FormStructure, SectionTableBindsPositionsToCodesAndComponents)
{
    const auto& r = Razdels();
    const char* codes[] = {"00", "01", "02", "03", "04", "QualityTest", "05_11_30"};
    const int nomers[] = {0, 1, 2, 3, 4, 9, 5};
    const char* keys[] = {"", "KodRow", "KodRow", "KodRow", "KodRow", "", "Num"};
    ReportTables tables;
    for (int p = 0; p < RazdelCount; ++p) {
        EXPECT_EQ(r[p].Kod, QString::fromLatin1(codes[p]));
        EXPECT_EQ(r[p].Nomer, nomers[p]);
        EXPECT_EQ(r[p].KeyFieldName, QString::fromLatin1(keys[p]));
        EXPECT_EQ(r[p].Name, r[p].NameForMsg);
        EXPECT_EQ(tables.FindDataSet(r[p].DataSetName), tables.razdel(p));
        EXPECT_EQ(razdelPosByKod(r[p].Kod), p);
        // only the requisites have a panel; every other section has a grid
        EXPECT_EQ(r[p].PanelName.isEmpty(), p != 0);
    }
    EXPECT_EQ(r[0].GridName, u"DBGrid_00"_s);
    // no unit and no unit note for the requisites and both parts of section 5
    for (int p : {0, 5, 6}) {
        EXPECT_TRUE(r[p].EdIzm.isEmpty());
        EXPECT_TRUE(r[p].Zag_03.isEmpty());
    }
    EXPECT_EQ(r[1].Zag_03, u"Код по ОКЕИ: человек - 792.  "_s);
    EXPECT_EQ(tables.FindDataSet(u"clientdataset_err"_s), &tables.err());
    EXPECT_EQ(tables.FindDataSet(u"DBGrid_01"_s), nullptr);
}

TEST(FormStructure, BuiltInRowsOfEverySection)
{
    struct Case {
        int position;
        int rows;
        QString firstKod, lastKod;
        QStringList dataFields;
    } cases[] = {
        {1, 4, u"01"_s, u"04"_s, {u"NameRow"_s, u"KodRow"_s, u"Graf03"_s, u"Graf04"_s}},
        {2, 7, u"05"_s, u"11"_s, {u"NameRow"_s, u"KodRow"_s, u"Graf03"_s, u"Graf04"_s}},
        {3, 17, u"12"_s, u"28"_s, {u"NameRow"_s, u"KodRow"_s, u"Graf03"_s}},
        {4,
         9,
         u"29"_s,
         u"37"_s,
         {u"NameRow"_s, u"KodRow"_s, u"Graf03"_s, u"Graf04"_s, u"Graf05"_s, u"Graf06"_s,
          u"Graf07"_s, u"Graf08"_s, u"Graf09"_s}},
    };
    for (const Case& c : cases) {
        auto t = createRazdelTable(c.position);
        EXPECT_EQ(t->recordCount(), c.rows);
        QStringList names;
        for (const FieldDef& f : t->fieldDefs())
            names << f.name;
        EXPECT_EQ(names, c.dataFields);
        t->first();
        EXPECT_EQ(t->fieldByName(u"KodRow"_s).asString(), c.firstKod);
        t->last();
        EXPECT_EQ(t->fieldByName(u"KodRow"_s).asString(), c.lastKod);
        EXPECT_EQ(t->changeCount(), 0);
        for (t->first(); !t->eof(); t->next())
            for (int f = 2; f < t->fieldCount(); ++f)
                EXPECT_TRUE(t->field(f).isNull());
    }
    auto s2 = createRazdelTable(2);
    EXPECT_EQ(s2->fieldByName(u"Graf03"_s).def().type, FieldType::Money);
    auto s3 = createRazdelTable(3);
    EXPECT_EQ(s3->fieldByName(u"NameRow"_s).def().size, 400);
    ASSERT_TRUE(s3->locate(u"KodRow"_s, {u"21"_s}));
    const QString caption = s3->fieldByName(u"NameRow"_s).asString();
    EXPECT_TRUE(
        caption.contains(u"являются\r\n"_s + QString(27, u' ') + u"добыча полезных ископаемых"_s));
    auto s1 = createRazdelTable(1);
    ASSERT_TRUE(s1->locate(u"KodRow"_s, {u"02"_s}));
    EXPECT_EQ(s1->fieldByName(u"NameRow"_s).asString(),
              u"              из них аудиторов (сумма строк 03-04)"_s);
}

TEST(FormStructure, QualityReviewAnswerIsCalculated)
{
    auto q = createRazdelTable(5);
    ASSERT_EQ(q->recordCount(), 1);
    EXPECT_FALSE(q->fieldByName(u"ValueYes"_s).asBoolean());
    EXPECT_TRUE(q->fieldByName(u"ValueNo"_s).asBoolean());
    EXPECT_TRUE(q->fieldByName(u"ValueNo"_s).def().isCalculated());
    q->edit();
    q->fieldByName(u"ValueYes"_s).setAsBoolean(true);
    EXPECT_FALSE(q->fieldByName(u"ValueNo"_s).asBoolean()); // follows the pending value
    q->post();
    EXPECT_FALSE(q->fieldByName(u"ValueNo"_s).asBoolean());
    EXPECT_FALSE(q->valueAt(0, q->fieldIndex(u"ValueNo"_s)).toBool());
    // not stored: the row holds no value for it
    EXPECT_TRUE(q->rows()[0].values[q->fieldIndex(u"ValueNo"_s)].isNull());
}

TEST(FormStructure, MembershipRowsAndNames)
{
    auto m = createRazdelTable(6);
    ASSERT_EQ(m->recordCount(), 15);
    QStringList kods;
    for (m->first(); !m->eof(); m->next()) {
        kods << m->fieldByName(u"KodRow"_s).asString();
        EXPECT_EQ(m->fieldByName(u"Num"_s).asInteger(), m->recNo());
        EXPECT_TRUE(m->fieldByName(u"Year"_s).isNull());
        EXPECT_EQ(m->fieldByName(u"NameRow"_s).isNull(), m->recNo() > 5);
    }
    EXPECT_EQ(kods.mid(0, 6), (QStringList{u"11"_s, u"12"_s, u"13"_s, u"14"_s, u"16"_s, u"20"_s}));
    EXPECT_EQ(kods.count(u"20"_s), 5);
    EXPECT_EQ(kods.count(u"30"_s), 5);
    m->setRecNo(4);
    EXPECT_EQ(m->fieldByName(u"NameRow"_s).asString(),
              u"Некоммерческое партнерство  \"Российская Коллегия аудиторов\""_s);
}

TEST(FormStructure, RequisitesTwoRecordsFirstIsLegalEntity)
{
    auto r = createRazdelTable(0);
    ASSERT_EQ(r->recordCount(), 2);
    ASSERT_EQ(r->fieldCount(), 16);
    EXPECT_EQ(r->fieldDefs()[1].name, u"name"_s);
    EXPECT_EQ(r->fieldDefs()[15].name, u"DataSost"_s);
    r->first();
    EXPECT_TRUE(r->fieldByName(u"IsUrLico"_s).asBoolean());
    EXPECT_EQ(r->fieldByName(u"OKUD"_s).asString(), u"0609711"_s);
    EXPECT_TRUE(r->fieldByName(u"OGRN"_s).isNull());
    EXPECT_EQ(r->fieldByName(u"OGRN"_s).def().size, 15);
    r->next();
    for (int f = 0; f < r->fieldCount(); ++f)
        EXPECT_TRUE(r->field(f).isNull());
}

TEST(FormStructure, RegionsListWithCalculatedCaption)
{
    auto t = createTerrTable();
    ASSERT_EQ(t->recordCount(), 90);
    t->last();
    EXPECT_EQ(t->fieldByName(u"KodGai"_s).asInteger(), 100);
    EXPECT_EQ(t->fieldByName(u"Kod_Name"_s).asString(), u"100   Территория  не  определена"_s);
    ASSERT_TRUE(t->locate(u"KodGai"_s, {87}));
    EXPECT_EQ(t->fieldByName(u"Kod_Name"_s).asString(), u"87    Чукотский  АО"_s);
    t->first();
    EXPECT_EQ(t->fieldByName(u"Kod_Name"_s).asString(), u"1   Республика Адыгея"_s);
}

TEST(FormStructure, ErrorListIsEmptyAndOrderedByCodeThenNumber)
{
    auto e = createErrTable();
    EXPECT_EQ(e->recordCount(), 0);
    EXPECT_EQ(e->fieldCount(), 11);
    EXPECT_EQ(e->indexFieldNames(), u"RazdelKod; ErrorNum"_s);
    const QStringList kods = {u"QualityTest"_s, u"05_11_30"_s, u"01"_s, u"00"_s};
    for (const QString& k : kods) {
        e->append();
        e->fieldByName(u"RazdelKod"_s).setAsString(k);
        e->fieldByName(u"ErrorNum"_s).setAsInteger(1);
        e->post();
    }
    QStringList order;
    for (e->first(); !e->eof(); e->next())
        order << e->fieldByName(u"RazdelKod"_s).asString();
    EXPECT_EQ(order, (QStringList{u"00"_s, u"01"_s, u"05_11_30"_s, u"QualityTest"_s}));
}
