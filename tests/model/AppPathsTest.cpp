#include "AppPaths.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(AppPathsTest, IniFileNameDropsOnlyTheLastExtension)
{
    struct Case {
        QString executable;
        QString ini;
    };
    const Case cases[] = {
        {u"/x/a.b.exe"_s, u"/x/a.b.ini"_s},
        {u"/x/form2audit"_s, u"/x/form2audit.ini"_s},
        {u"/x/prog.exe"_s, u"/x/prog.ini"_s},
        {u"/x.y/prog"_s, u"/x.y/prog.ini"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.executable.toStdString());
        EXPECT_EQ(AppPaths(c.executable).IniFileName(), c.ini);
    }
}

TEST(AppPathsTest, StripExtension)
{
    const std::pair<QString, QString> cases[] = {
        {u"a.b.exe"_s, u"a.b"_s}, {u"noext"_s, u"noext"_s}, {u"a."_s, u"a"_s},
        {u".ini"_s, QString()},   {QString(), QString()},
    };
    for (const auto& [name, stripped] : cases)
        EXPECT_EQ(StripExtension(name), stripped) << name.toStdString();
}

TEST(AppPathsTest, FilesBesideTheExecutable)
{
    const AppPaths paths(u"/opt/f2a/form2audit.exe"_s);
    EXPECT_EQ(paths.ExeDir(), u"/opt/f2a/"_s);
    EXPECT_EQ(paths.ShablonFileName(), u"/opt/f2a/Shablon.xls"_s);
    EXPECT_EQ(paths.ShablonChernovikFileName(), u"/opt/f2a/Shablon_Chernovik.xls"_s);
    EXPECT_EQ(paths.GridLayoutFileName(u"02"_s, u"2008"_s), u"/opt/f2a/ParamsOfGrid_2008_02.ini"_s);
}

TEST(AppPathsTest, WorkingFoldersAreCreatedEachTimeTheyAreAskedFor)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const AppPaths paths(tmp.filePath(u"form2audit.exe"_s));

    const std::pair<QString, QString (AppPaths::*)() const> folders[] = {
        {u"Data"_s, &AppPaths::DataDir},
        {u"Temp"_s, &AppPaths::TempDir},
        {u"Export"_s, &AppPaths::ExportDir},
    };
    for (const auto& [name, getter] : folders) {
        SCOPED_TRACE(name.toStdString());
        const QString expected = tmp.filePath(name) + u'/';
        EXPECT_EQ((paths.*getter)(), expected);
        EXPECT_TRUE(QFileInfo(expected).isDir());

        // Deleted while the program runs: back at the next use.
        ASSERT_TRUE(QDir(expected).removeRecursively());
        ASSERT_FALSE(QFileInfo::exists(expected));
        EXPECT_EQ((paths.*getter)(), expected);
        EXPECT_TRUE(QFileInfo(expected).isDir());
    }
    // Only the folders are created, never the settings file.
    EXPECT_FALSE(QFileInfo::exists(paths.IniFileName()));
}

TEST(AppPathsTest, DataDirOverride)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    AppPaths paths(tmp.filePath(u"form2audit"_s));
    paths.setDataDirOverride(tmp.filePath(u"elsewhere/data"_s));
    EXPECT_EQ(paths.DataDir(), tmp.filePath(u"elsewhere/data/"_s));
    EXPECT_TRUE(QFileInfo(tmp.filePath(u"elsewhere/data"_s)).isDir());

    paths.setDataDirOverride(QString());
    EXPECT_EQ(paths.DataDir(), tmp.filePath(u"Data/"_s));
}
