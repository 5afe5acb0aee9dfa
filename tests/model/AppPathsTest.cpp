#include "model/AppPaths.h"
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

namespace {

// The per-user folders pointed into a temporary home for the life of the object.
class TemporaryHome {
public:
    TemporaryHome()
    {
        for (const char* name : kVariables) {
            m_saved.emplace_back(name, qgetenv(name));
            qputenv(name, (home.path() + u'/' + QString::fromLatin1(name)).toUtf8());
        }
    }
    ~TemporaryHome()
    {
        for (const auto& [name, value] : m_saved)
            qputenv(name, value);
    }
    QString dir(const char* variable) const
    {
        return home.path() + u'/' + QString::fromLatin1(variable) + u'/';
    }

    QTemporaryDir home;

private:
    static constexpr const char* kVariables[] = {"XDG_DATA_HOME", "XDG_CONFIG_HOME",
                                                 "XDG_CACHE_HOME"};
    std::vector<std::pair<const char*, QByteArray>> m_saved;
};

} // namespace

TEST(AppPathsTest, TheMarkerFileChoosesThePortableLayout)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    EXPECT_EQ(AppPaths::layoutOf(tmp.path()), AppPaths::Layout::Installed);
    // A folder of that name is no marker.
    ASSERT_TRUE(QDir(tmp.path()).mkdir(u"portable"_s));
    EXPECT_EQ(AppPaths::layoutOf(tmp.path()), AppPaths::Layout::Installed);
    ASSERT_TRUE(QDir(tmp.path()).rmdir(u"portable"_s));
    writeAll(tmp.filePath(u"portable"_s), {});
    EXPECT_EQ(AppPaths::layoutOf(tmp.path()), AppPaths::Layout::Portable);
}

TEST(AppPathsTest, InstalledLayoutWritesOnlyInThePerUserFolders)
{
    TemporaryHome home;
    ASSERT_TRUE(home.home.isValid());
    QTemporaryDir install;
    ASSERT_TRUE(install.isValid());
    ASSERT_TRUE(QDir(install.path()).mkpath(u"bin"_s));
    const AppPaths paths(install.filePath(u"bin/form2audit"_s), AppPaths::Layout::Installed);

    const QString data = home.dir("XDG_DATA_HOME") + u"form2audit/"_s;
    const std::pair<QString, QString> folders[] = {
        {paths.DataDir(), data + u"Data/"_s},
        {paths.ExportDir(), data + u"Export/"_s},
        {paths.TempDir(), home.dir("XDG_CACHE_HOME") + u"form2audit/"_s},
    };
    for (const auto& [actual, expected] : folders) {
        EXPECT_EQ(actual, expected);
        EXPECT_TRUE(QFileInfo(expected).isDir()) << expected.toStdString();
    }
    EXPECT_EQ(paths.IniFileName(), home.dir("XDG_CONFIG_HOME") + u"form2audit/form2audit.ini"_s);
    EXPECT_EQ(paths.GridLayoutFileName(u"02"_s, u"2008"_s), data + u"ParamsOfGrid_2008_02.ini"_s);
    EXPECT_EQ(paths.OfficeModuleFileName(),
              install.filePath(u"lib/form2audit/form2audit_office.so"_s));

    // --data still wins.
    AppPaths overridden = paths;
    overridden.setDataDirOverride(home.home.filePath(u"mine"_s));
    EXPECT_EQ(overridden.DataDir(), home.home.filePath(u"mine/"_s));

    // Nothing was created beside the executable or in the installation.
    EXPECT_EQ(QDir(install.filePath(u"bin"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList());
    EXPECT_EQ(QDir(install.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{u"bin"_s});
}

TEST(AppPathsTest, TheUsersOwnTemplateWinsOverTheInstalledOne)
{
    TemporaryHome home;
    QTemporaryDir install;
    ASSERT_TRUE(install.isValid());
    const AppPaths paths(install.filePath(u"bin/form2audit"_s), AppPaths::Layout::Installed);
    const QString installed = install.filePath(u"share/form2audit/"_s);
    EXPECT_EQ(paths.ShablonFileName(), installed + u"Shablon.xls"_s);
    EXPECT_EQ(paths.ShablonChernovikFileName(), installed + u"Shablon_Chernovik.xls"_s);

    const QString own = home.dir("XDG_DATA_HOME") + u"form2audit/"_s;
    ASSERT_TRUE(QDir().mkpath(own));
    writeAll(own + u"Shablon_Chernovik.xls"_s, "mine");
    EXPECT_EQ(paths.ShablonChernovikFileName(), own + u"Shablon_Chernovik.xls"_s);
    EXPECT_EQ(paths.ShablonFileName(), installed + u"Shablon.xls"_s);
}

TEST(AppPathsTest, PortableLayoutKeepsTheOfficeModuleBesideTheExecutable)
{
    const AppPaths paths(u"/opt/f2a/form2audit"_s);
    EXPECT_EQ(paths.layout(), AppPaths::Layout::Portable);
    EXPECT_EQ(paths.OfficeModuleFileName(), u"/opt/f2a/form2audit_office.so"_s);
}
