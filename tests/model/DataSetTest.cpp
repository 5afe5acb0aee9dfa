#include "model/DataSet.h"
#include "TestSupport.h"
#include "model/FormTables.h"
#include "model/FormatSettings.h"
#include "model/SilentAbort.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<DataSet> numbers(std::initializer_list<std::pair<QString, int>> rows)
{
    auto ds = std::make_unique<DataSet>(u"T"_s, QList<FieldDef>{stringField(u"Kod"_s, 10),
                                                                integerField(u"Val"_s),
                                                                booleanField(u"Flag"_s)});
    ds->createDataSet();
    for (const auto& [kod, val] : rows) {
        ds->append();
        ds->fieldByName(u"Kod"_s).setAsString(kod);
        ds->fieldByName(u"Val"_s).setAsInteger(val);
        ds->fieldByName(u"Flag"_s).setAsBoolean(val % 2 == 0);
        ds->post();
    }
    ds->mergeChangeLog();
    return ds;
}

QStringList kods(DataSet& ds)
{
    QStringList out;
    for (ds.first(); !ds.eof(); ds.next())
        out << ds.fieldByName(u"Kod"_s).asString();
    return out;
}

} // namespace

TEST(DataSetFields, TextConventionsOfEveryType)
{
    DataSet ds(u"T"_s, {stringField(u"S"_s, 5), integerField(u"I"_s), floatField(u"F"_s),
                        moneyField(u"M"_s), booleanField(u"B"_s), dateField(u"D"_s)});
    ds.createDataSet();
    ds.append();
    struct Case {
        QString field, in, out;
    } cases[] = {
        {u"S"_s, u"abcdefgh"_s, u"abcde"_s},
        {u"I"_s, u"-42"_s, u"-42"_s},
        {u"I"_s, u" 7"_s, u"7"_s},
        {u"F"_s, u"12.5"_s, u"12.5"_s},
        {u"F"_s, u"0.1"_s, u"0.1"_s},
        {u"F"_s, u"1e-5"_s, u"1E-5"_s},
        {u"F"_s, u"123456789012345678"_s, u"1.23456789012346E17"_s},
        {u"M"_s, u"1234.5"_s, u"1234.5"_s},
        {u"B"_s, u"true"_s, u"True"_s},
        {u"B"_s, u"FALSE"_s, u"False"_s},
        {u"D"_s, u"05.03.2009"_s, u"05.03.2009"_s},
        {u"D"_s, u"5.3.2009"_s, u"05.03.2009"_s},
    };
    for (const Case& c : cases) {
        ds.fieldByName(c.field).setAsString(c.in);
        EXPECT_EQ(ds.fieldByName(c.field).asString(), c.out)
            << c.field.toStdString() << " " << c.in.toStdString();
    }
    // 0.1 + 0.2 shows as 0.3 at 15 significant digits
    ds.fieldByName(u"F"_s).setAsFloat(0.1 + 0.2);
    EXPECT_EQ(ds.fieldByName(u"F"_s).asString(), u"0.3"_s);
}

TEST(DataSetFields, EmptyReadsAsEmptyZeroFalse)
{
    auto ds = numbers({{u"a"_s, 1}});
    ds->edit();
    for (const char* name : {"Kod", "Val", "Flag"})
        ds->fieldByName(QString::fromLatin1(name)).clear();
    EXPECT_EQ(ds->fieldByName(u"Val"_s).asString(), QString());
    EXPECT_EQ(ds->fieldByName(u"Val"_s).asInteger(), 0);
    EXPECT_DOUBLE_EQ(ds->fieldByName(u"Val"_s).asFloat(), 0.0);
    EXPECT_FALSE(ds->fieldByName(u"Flag"_s).asBoolean());
    EXPECT_TRUE(ds->fieldByName(u"Kod"_s).isNull());
    ds->fieldByName(u"Val"_s).setAsString(QString());
    EXPECT_TRUE(ds->fieldByName(u"Val"_s).isNull());
}

TEST(DataSetFields, BadTextRaisesConversionError)
{
    DataSet ds(u"T"_s,
               {integerField(u"I"_s), floatField(u"F"_s), dateField(u"D"_s), booleanField(u"B"_s)});
    ds.createDataSet();
    ds.append();
    const std::pair<const char*, const char*> bad[] = {
        {"I", "12.5"},  {"I", "abc"}, {"I", "3000000000"}, {"I", "1 2"},        {"F", "1,5"},
        {"F", "1 000"}, {"F", "e5"},  {"D", "31.02.2009"}, {"D", "2009-03-05"}, {"B", "yes"},
    };
    for (const auto& [field, text] : bad)
        EXPECT_THROW(
            ds.fieldByName(QString::fromLatin1(field)).setAsString(QString::fromLatin1(text)),
            DataSetError)
            << field << " " << text;
}

TEST(DataSetFields, FindFieldIgnoresLetterCase)
{
    auto ds = createRazdelTable(1);
    ASSERT_TRUE(ds->findField(u"KODROW"_s).has_value());
    EXPECT_EQ(ds->findField(u"KODROW"_s)->fieldName(), u"KodRow"_s);
    EXPECT_FALSE(ds->findField(u"Nope"_s).has_value());
    EXPECT_THROW(ds->fieldByName(u"Nope"_s), DataSetError);
    auto req = createRazdelTable(0);
    EXPECT_EQ(req->fieldByName(u"Name"_s).fieldName(), u"name"_s);
}

TEST(DataSetStates, TransitionsAndForbiddenOperations)
{
    auto ds = numbers({{u"a"_s, 1}});
    EXPECT_THROW(ds->post(), DataSetError);                                // post from browse
    EXPECT_THROW(ds->fieldByName(u"Val"_s).setAsInteger(3), DataSetError); // write in browse
    ds->edit();
    EXPECT_EQ(ds->state(), DataSetState::Edit);
    ds->cancel();
    EXPECT_EQ(ds->state(), DataSetState::Browse);
    ds->close();
    EXPECT_EQ(ds->state(), DataSetState::Inactive);
    EXPECT_THROW(ds->edit(), DataSetError);
    ds->open();
    EXPECT_EQ(ds->recordCount(), 1);
}

TEST(DataSetStates, BeforeEditAbortKeepsBrowse)
{
    auto ds = numbers({{u"a"_s, 1}});
    ds->beforeEdit = [](DataSet&) { throw SilentAbort(); };
    EXPECT_THROW(ds->edit(), SilentAbort);
    EXPECT_EQ(ds->state(), DataSetState::Browse);
}

TEST(DataSetStates, BeforePostMayChangeOrAbort)
{
    auto ds = numbers({{u"a"_s, 1}});
    int afterPosts = 0;
    ds->beforePost = [](DataSet& t) {
        if (t.fieldByName(u"Val"_s).asInteger() < 0)
            throw SilentAbort();
        t.fieldByName(u"Kod"_s).setAsString(u"seen"_s);
    };
    ds->afterPost = [&](DataSet&) { ++afterPosts; };
    ds->edit();
    ds->fieldByName(u"Val"_s).setAsInteger(-1);
    EXPECT_THROW(ds->post(), SilentAbort);
    EXPECT_EQ(ds->state(), DataSetState::Edit);
    ds->fieldByName(u"Val"_s).setAsInteger(5);
    ds->post();
    EXPECT_EQ(ds->fieldByName(u"Kod"_s).asString(), u"seen"_s);
    EXPECT_EQ(afterPosts, 1);
    EXPECT_EQ(ds->changeCount(), 1);
}

TEST(DataSetChangeLog, CancelUpdatesAfterTwoPostsRestoresBoth)
{
    auto ds = numbers({{u"a"_s, 1}, {u"b"_s, 2}});
    ds->first();
    ds->edit();
    ds->fieldByName(u"Val"_s).setAsInteger(10);
    ds->post();
    ds->next();
    ds->edit();
    ds->fieldByName(u"Val"_s).setAsInteger(20);
    ds->post();
    EXPECT_EQ(ds->changeCount(), 2);
    ds->cancelUpdates();
    EXPECT_EQ(ds->changeCount(), 0);
    ds->first();
    EXPECT_EQ(ds->fieldByName(u"Val"_s).asInteger(), 1);
    ds->next();
    EXPECT_EQ(ds->fieldByName(u"Val"_s).asInteger(), 2);
}

TEST(DataSetChangeLog, MergeMakesChangesPermanent)
{
    auto ds = numbers({{u"a"_s, 1}});
    ds->edit();
    ds->fieldByName(u"Val"_s).setAsInteger(9);
    ds->post();
    ds->append();
    ds->fieldByName(u"Kod"_s).setAsString(u"new"_s);
    ds->post();
    ds->mergeChangeLog();
    EXPECT_EQ(ds->changeCount(), 0);
    ds->cancelUpdates();
    EXPECT_EQ(kods(*ds), (QStringList{u"a"_s, u"new"_s}));
    ds->first();
    EXPECT_EQ(ds->fieldByName(u"Val"_s).asInteger(), 9);
}

TEST(DataSetChangeLog, CancelUpdatesUndoesInsertAndDelete)
{
    auto ds = numbers({{u"a"_s, 1}, {u"b"_s, 2}, {u"c"_s, 3}});
    ds->setRecNo(2);
    ds->deleteRecord();
    EXPECT_EQ(ds->fieldByName(u"Kod"_s).asString(), u"c"_s); // moved to the next row
    ds->append();
    ds->fieldByName(u"Kod"_s).setAsString(u"d"_s);
    ds->post();
    EXPECT_EQ(kods(*ds), (QStringList{u"a"_s, u"c"_s, u"d"_s}));
    ds->cancelUpdates();
    EXPECT_EQ(kods(*ds), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
}

TEST(DataSetView, FilterCountsAndRecNoSeeVisibleRowsOnly)
{
    auto ds = numbers({{u"a"_s, 1}, {u"b"_s, 2}, {u"c"_s, 3}, {u"d"_s, 4}});
    struct Case {
        QString filter;
        QStringList visible;
    } cases[] = {
        {u"Flag=true"_s, {u"b"_s, u"d"_s}},
        {u"Flag=false"_s, {u"a"_s, u"c"_s}},
        {u"Kod='c'"_s, {u"c"_s}},
        {u"Val>1 and Val<=3"_s, {u"b"_s, u"c"_s}},
        {u"Val<>2 and Flag=true"_s, {u"d"_s}},
        {u"Kod='it''s'"_s, {}},
    };
    for (const Case& c : cases) {
        ds->setFilter(c.filter);
        ds->setFiltered(true);
        EXPECT_EQ(ds->recordCount(), c.visible.size()) << c.filter.toStdString();
        EXPECT_EQ(kods(*ds), c.visible) << c.filter.toStdString();
        if (!c.visible.isEmpty()) {
            ds->last();
            EXPECT_EQ(ds->recNo(), c.visible.size());
        }
    }
    ds->setFiltered(false);
    EXPECT_EQ(ds->recordCount(), 4);
    EXPECT_THROW(ds->setFilter(u"Kod = "_s), DataSetError);
}

TEST(DataSetView, IndexOrdersRowsAndFollowsPosts)
{
    auto ds = numbers({{u"c"_s, 1}, {u"a"_s, 2}, {u"b"_s, 3}});
    ds->setIndexFieldNames(u"Kod"_s);
    EXPECT_EQ(kods(*ds), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    ds->first();
    ds->edit();
    ds->fieldByName(u"Kod"_s).setAsString(u"z"_s);
    ds->post();
    // the cursor follows the row to its new place
    EXPECT_EQ(ds->recNo(), 3);
    EXPECT_EQ(kods(*ds), (QStringList{u"b"_s, u"c"_s, u"z"_s}));
    ds->setIndexFieldNames(u"Val"_s);
    EXPECT_EQ(kods(*ds), (QStringList{u"c"_s, u"z"_s, u"b"_s}));
    ds->setIndexFieldNames(u"Flag; Val"_s);
    EXPECT_EQ(kods(*ds), (QStringList{u"c"_s, u"b"_s, u"z"_s}));
}

TEST(DataSetView, LocateAndBookmarks)
{
    auto ds = numbers({{u"Aa"_s, 1}, {u"bb"_s, 2}, {u"cc"_s, 2}});
    EXPECT_FALSE(ds->locate(u"Kod"_s, {u"AA"_s}));
    EXPECT_TRUE(ds->locate(u"Kod"_s, {u"AA"_s}, true));
    const RowId mark = ds->bookmark();
    EXPECT_TRUE(ds->locate(u"Val;Flag"_s, {2, true}));
    EXPECT_EQ(ds->fieldByName(u"Kod"_s).asString(), u"bb"_s);
    EXPECT_FALSE(ds->locate(u"Val; Flag"_s, {2, false}));
    EXPECT_EQ(ds->fieldByName(u"Kod"_s).asString(), u"bb"_s); // a failed locate stays put
    EXPECT_FALSE(ds->locate(u"Missing"_s, {1}));
    ds->gotoBookmark(mark);
    EXPECT_EQ(ds->fieldByName(u"Kod"_s).asString(), u"Aa"_s);
}

TEST(DataSetClone, PostsThroughCloneAreSeenBySourceAndListeners)
{
    auto err = createErrTable();
    int resets = 0;
    err->addListener([&](TableEvent e, RowId) { resets += e == TableEvent::Reset; });
    err->setFilter(u"IsWarning=false"_s);
    err->setFiltered(true);
    const std::pair<QString, int> rows[] = {{u"02"_s, 1}, {u"00"_s, 2}, {u"01"_s, 1}, {u"00"_s, 1}};
    for (const auto& [kod, num] : rows) {
        auto k = err->clone();
        EXPECT_FALSE(k->filtered());
        EXPECT_TRUE(k->indexFieldNames().isEmpty());
        k->disableControls();
        k->insert();
        k->fieldByName(u"RazdelKod"_s).setAsString(kod);
        k->fieldByName(u"ErrorNum"_s).setAsInteger(num);
        k->fieldByName(u"IsWarning"_s).setAsBoolean(false);
        k->post();
        EXPECT_EQ(resets, 0) << "suspended clone must not repaint per write";
        k->enableControls();
        resets = 0;
    }
    QStringList seen;
    for (err->first(); !err->eof(); err->next())
        seen << err->fieldByName(u"RazdelKod"_s).asString() +
                    err->fieldByName(u"ErrorNum"_s).asString();
    EXPECT_EQ(seen, (QStringList{u"001"_s, u"002"_s, u"011"_s, u"021"_s}));
}

TEST(DataSetClone, CloneDoesNotMoveSourceCursor)
{
    auto ds = numbers({{u"a"_s, 1}, {u"b"_s, 2}, {u"c"_s, 3}});
    ds->setRecNo(2);
    {
        auto k = ds->clone();
        k->last();
        k->edit();
        k->fieldByName(u"Val"_s).setAsInteger(30);
        k->post();
    }
    EXPECT_EQ(ds->recNo(), 2);
    ds->last();
    EXPECT_EQ(ds->fieldByName(u"Val"_s).asInteger(), 30);
}

TEST(DataSetClone, SourceSurvivesDeletionOfItsRowThroughClone)
{
    auto ds = numbers({{u"a"_s, 1}, {u"b"_s, 2}, {u"c"_s, 3}});
    ds->setRecNo(3);
    auto k = ds->clone();
    k->last();
    k->deleteRecord();
    EXPECT_EQ(ds->recordCount(), 2);
    EXPECT_EQ(ds->fieldByName(u"Kod"_s).asString(), u"b"_s);
}

TEST(DataSetControls, SuspendIsNestableAndResumesOnce)
{
    auto ds = numbers({{u"a"_s, 1}, {u"b"_s, 2}});
    int changes = 0;
    ds->onDataChange = [&](DataSet&) { ++changes; };
    ds->disableControls();
    ds->disableControls();
    ds->next();
    ds->first();
    ds->enableControls();
    EXPECT_EQ(changes, 0);
    ds->enableControls();
    EXPECT_EQ(changes, 1);
    ds->next();
    EXPECT_EQ(changes, 2);
}

TEST(DataSetLoad, LoadReplacesDefinitionsKeepsCalculatedFields)
{
    auto q = createRazdelTable(5);
    ASSERT_TRUE(q->findField(u"ValueNo"_s));
    q->loadData({stringField(u"Other"_s, 10), booleanField(u"ValueYes"_s)},
                {RowValues{u"x"_s, true}});
    EXPECT_FALSE(q->findField(u"NameRow"_s).has_value());
    EXPECT_TRUE(q->findField(u"Other"_s).has_value());
    EXPECT_EQ(q->changeCount(), 0);
    EXPECT_FALSE(q->fieldByName(u"ValueNo"_s).asBoolean());
}
