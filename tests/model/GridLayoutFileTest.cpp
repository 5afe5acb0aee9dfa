#include "model/GridLayoutFile.h"
#include "TestSupport.h"
#include "model/AppPaths.h"
#include "model/DataSetError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class FakeGrid : public GridLayoutHost {
public:
    explicit FakeGrid(GridLayout layout) : m_layout(std::move(layout)) {}
    GridLayout currentLayout() const override { return m_layout; }
    void applyLayout(const GridLayout& layout) override
    {
        m_layout = layout;
        ++applied;
    }
    const GridLayout& layout() const { return m_layout; }
    int applied = 0;

private:
    GridLayout m_layout;
};

// The grid's built-in layout: every column visible, unsorted, default widths.
GridLayout builtIn(std::initializer_list<QString> fields)
{
    GridLayout layout;
    for (const QString& f : fields)
        layout.columns.append({f, 64, 0, true});
    layout.rowHeight = 17;
    return layout;
}

// Another layout of the same columns: order, widths, sorting, visibility, row height.
GridLayout rearranged()
{
    GridLayout layout;
    layout.columns = {{u"Graf03"_s, 120, -1, true},
                      {u"NameRow"_s, 300, 0, true},
                      {u"KodRow"_s, 40, 1, false},
                      {u"Graf04"_s, 0, 0, false}};
    layout.rowHeight = 23;
    return layout;
}

const std::initializer_list<QString> kFields = {u"NameRow"_s, u"KodRow"_s, u"Graf03"_s,
                                                u"Graf04"_s};

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

class GridLayoutFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QTemporaryDir m_dir;
    AppPaths m_paths{m_dir.filePath(u"form2audit.exe"_s)};
};

} // namespace

TEST_F(GridLayoutFileTest, WholeLayoutRoundTrips)
{
    FakeGrid saved(rearranged());
    ASSERT_TRUE(SaveGridLayout(&saved, m_paths, u"02"_s, u"2008"_s));
    EXPECT_TRUE(QFile::exists(m_dir.filePath(u"ParamsOfGrid_2008_02.ini"_s)));

    FakeGrid restored(builtIn(kFields));
    EXPECT_TRUE(RestoreGridLayout(&restored, m_paths, u"02"_s, u"2008"_s));
    EXPECT_EQ(restored.applied, 1);
    EXPECT_EQ(restored.layout(), rearranged());
}

TEST_F(GridLayoutFileTest, WithoutGridOrFileNothingHappens)
{
    EXPECT_FALSE(SaveGridLayout(nullptr, m_paths, u"02"_s, u"2008"_s));
    EXPECT_FALSE(QFile::exists(m_paths.GridLayoutFileName(u"02"_s, u"2008"_s)));

    FakeGrid grid(builtIn(kFields));
    EXPECT_FALSE(RestoreGridLayout(&grid, m_paths, u"02"_s, u"2008"_s));
    EXPECT_EQ(grid.applied, 0);

    ASSERT_TRUE(SaveGridLayout(&grid, m_paths, u"02"_s, u"2008"_s));
    EXPECT_FALSE(RestoreGridLayout(nullptr, m_paths, u"02"_s, u"2008"_s));
}

TEST_F(GridLayoutFileTest, SectionIsErasedBeforeRewriting)
{
    const QString file = m_dir.filePath(u"layout.ini"_s);
    const GridLayout other = builtIn({u"A"_s, u"B"_s});
    writeGridLayout(file, u"03"_s, other);
    writeGridLayout(file, u"02"_s, rearranged());

    GridLayout fewer = rearranged();
    fewer.columns.removeLast();
    writeGridLayout(file, u"02"_s, fewer);

    EXPECT_EQ(readGridLayout(file, u"02"_s), fewer);
    EXPECT_EQ(readGridLayout(file, u"03"_s), other);
    QFile raw(file);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_FALSE(raw.readAll().contains("Column4_"));
}

TEST_F(GridLayoutFileTest, EachCodeAndYearHasItsOwnFile)
{
    const std::tuple<QString, QString, int> keys[] = {
        {u"01"_s, u"2008"_s, 101}, {u"02"_s, u"2008"_s, 102}, {u"01"_s, u"2009"_s, 201}};
    for (const auto& [code, year, width] : keys) {
        GridLayout layout = builtIn(kFields);
        layout.columns[0].width = width;
        FakeGrid grid(layout);
        ASSERT_TRUE(SaveGridLayout(&grid, m_paths, code, year));
    }
    for (const auto& [code, year, width] : keys) {
        SCOPED_TRACE(QString(code + u' ' + year).toStdString());
        FakeGrid grid(builtIn(kFields));
        ASSERT_TRUE(RestoreGridLayout(&grid, m_paths, code, year));
        EXPECT_EQ(grid.layout().columns[0].width, width);
    }
    EXPECT_TRUE(QFile::exists(m_dir.filePath(u"ParamsOfGrid_2009_01.ini"_s)));
}

TEST_F(GridLayoutFileTest, DamagedFilesAreNeverApplied)
{
    const QByteArray good = "[02]\nColumnCount=2\nRowHeight=20\n"
                            "Column1_Field=KodRow\nColumn1_Width=40\nColumn1_Sort=0\n"
                            "Column1_Visible=1\n"
                            "Column2_Field=NameRow\nColumn2_Width=300\nColumn2_Sort=1\n"
                            "Column2_Visible=0\n";
    auto with = [&](const char* from, const char* to) {
        QByteArray text = good;
        return text.replace(from, to);
    };
    struct Case {
        const char* name;
        QByteArray content;
        bool readable = false; // a layout, only not of this grid
    };
    const Case cases[] = {
        {"empty", ""},
        {"binary garbage", QByteArray("\x00\x01\xff\xfe\x80[02\n\x00=\x02", 12)},
        {"truncated", good.left(good.indexOf("Column2_Width"))},
        {"other code only", with("[02]", "[03]")},
        {"count missing", with("ColumnCount=2\n", "")},
        {"count beyond columns", with("ColumnCount=2", "ColumnCount=3")},
        {"count zero", with("ColumnCount=2", "ColumnCount=0")},
        {"count huge", with("ColumnCount=2", "ColumnCount=2000000000")},
        {"row height missing", with("RowHeight=20\n", "")},
        {"row height negative", with("RowHeight=20", "RowHeight=-5")},
        {"width not a number", with("Column2_Width=300", "Column2_Width=wide")},
        {"width negative", with("Column2_Width=300", "Column2_Width=-1")},
        {"sort out of range", with("Column2_Sort=1", "Column2_Sort=2")},
        {"visibility unreadable", with("Column2_Visible=0", "Column2_Visible=maybe")},
        {"field empty", with("Column2_Field=NameRow", "Column2_Field=")},
        {"field a list", with("Column2_Field=NameRow", "Column2_Field=NameRow,KodRow")},
        {"field twice", with("Column2_Field=NameRow", "Column2_Field=KodRow")},
        {"unknown field", with("Column2_Field=NameRow", "Column2_Field=Graf99"), true},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A year per case, hence a file per case.
        const QString year = QString::number(3000 + ++n);
        const QString file = m_paths.GridLayoutFileName(u"02"_s, year);
        writeFile(file, c.content);
        EXPECT_EQ(readGridLayout(file, u"02"_s).has_value(), c.readable);
        FakeGrid grid(builtIn({u"NameRow"_s, u"KodRow"_s}));
        EXPECT_FALSE(RestoreGridLayout(&grid, m_paths, u"02"_s, year));
        EXPECT_EQ(grid.applied, 0);
    }

    // The intact file is read, with the lenient spellings of a hand edit.
    writeFile(m_paths.GridLayoutFileName(u"02"_s, u"2999"_s),
              with("Column2_Visible=0", "Column2_Visible=false"));
    FakeGrid grid(builtIn({u"NameRow"_s, u"KodRow"_s}));
    ASSERT_TRUE(RestoreGridLayout(&grid, m_paths, u"02"_s, u"2999"_s));
    GridLayout expected;
    expected.columns = {{u"KodRow"_s, 40, 0, true}, {u"NameRow"_s, 300, 1, false}};
    expected.rowHeight = 20;
    EXPECT_EQ(grid.layout(), expected);
}

TEST_F(GridLayoutFileTest, WriteFailureNamesTheFile)
{
    // A plain file where the folder should be fails for every user, root included.
    writeFile(m_dir.filePath(u"plain"_s), "x");
    const QString file = m_dir.filePath(u"plain/ParamsOfGrid_2008_02.ini"_s);
    try {
        writeGridLayout(file, u"02"_s, rearranged());
        ADD_FAILURE() << "no exception";
    } catch (const DataSetError& e) {
        EXPECT_TRUE(
            e.message().startsWith(u"Не удалось сохранить параметры таблицы в файл «%1»: "_s.arg(
                QDir::toNativeSeparators(file))))
            << e.what();
    }
}
