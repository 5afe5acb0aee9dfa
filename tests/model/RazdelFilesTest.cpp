#include "model/RazdelFiles.h"
#include "TestSupport.h"
#include "model/Datapacket.h"
#include "model/FormTables.h"
#include "model/GridLayout.h"
#include "model/Razdels.h"
#include "support/ReportCells.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

QString damagedDir()
{
    return QStringLiteral(F2A_TEST_DATA "/packets/damaged/");
}

// A program folder in a temporary directory.
struct Sandbox {
    QTemporaryDir dir;
    AppPaths paths{dir.filePath(u"form2audit"_s)};
    QString file(int pos) const { return RazdelFileName(paths, Razdels()[pos].Kod, u"2009"_s); }
    LoadRazdelResult load(DataSet* t, int pos)
    {
        return LoadRazdel(t, paths, Razdels()[pos].Kod, u"2009"_s);
    }
    bool save(DataSet* t, int pos) { return SaveRazdel(t, paths, Razdels()[pos].Kod, u"2009"_s); }
};

// Makes a folder refuse new entries for the life of the object, also for root (through
// the immutable flag, where the file system allows it).
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& path) : m_path(path)
    {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                        QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        if (refusesWrites())
            return;
#ifdef __linux__
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
        if (fd >= 0) {
            int flags = 0;
            if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags |= FS_IMMUTABLE_FL;
                m_immutable = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
            }
            ::close(fd);
        }
#endif
    }
    ~ReadOnlyFolder()
    {
#ifdef __linux__
        if (m_immutable) {
            const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_DIRECTORY);
            int flags = 0;
            if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
            }
            if (fd >= 0)
                ::close(fd);
        }
#endif
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool refusesWrites() const
    {
        QFile probe(m_path + u"/probe.tmp"_s);
        if (!probe.open(QIODevice::WriteOnly))
            return true;
        probe.close();
        probe.remove();
        return false;
    }

private:
    QString m_path;
    bool m_immutable = false;
};

class FakeGrid : public GridLayoutHost {
public:
    GridLayout layout;
    int applied = 0;
    GridLayout currentLayout() const override { return layout; }
    void applyLayout(const GridLayout& l) override
    {
        layout = l;
        ++applied;
    }
};

} // namespace

TEST(RazdelFilesName, DataFolderYearAndCode)
{
    Sandbox s;
    const QString data = QDir(s.dir.path()).filePath(u"Data/"_s);
    const char* expected[] = {"2009_00.XML",      "2009_01.XML", "2009_02.XML",
                              "2009_03.XML",      "2009_04.XML", "2009_QualityTest.XML",
                              "2009_05_11_30.XML"};
    for (int pos = 0; pos < RazdelCount; ++pos)
        EXPECT_EQ(s.file(pos), data + QString::fromLatin1(expected[pos]));
    EXPECT_TRUE(QFileInfo(data).isDir());
}

TEST(RazdelFilesLoad, NoTableOrNoFile)
{
    Sandbox s;
    EXPECT_FALSE(s.load(nullptr, PosRazdel1).loaded);
    auto t = createRazdelTable(PosRazdel1);
    setCell(*t, 1, u"Graf03"_s, 5);
    t->close();
    const LoadRazdelResult r = s.load(t.get(), PosRazdel1);
    EXPECT_FALSE(r.loaded);
    EXPECT_FALSE(r.damaged);
    EXPECT_TRUE(r.message.isEmpty());
    EXPECT_TRUE(t->isOpen());
    EXPECT_EQ(t->recordCount(), 4);
    EXPECT_EQ(t->rows()[0].values[2], QVariant(5));
}

TEST(RazdelFilesSave, SaveMergesAndLoadReplaces)
{
    Sandbox s;
    EXPECT_FALSE(s.save(nullptr, PosRazdel2));
    auto t = createRazdelTable(PosRazdel2);
    setCell(*t, 2, u"Graf03"_s, 12.3);
    EXPECT_GT(t->changeCount(), 0);
    EXPECT_TRUE(s.save(t.get(), PosRazdel2));
    EXPECT_EQ(t->changeCount(), 0);
    const QByteArray saved = readAll(s.file(PosRazdel2));
    EXPECT_EQ(saved, writeDatapacket(*t));

    setCell(*t, 2, u"Graf03"_s, 99.9);
    setCell(*t, 3, u"Graf04"_s, 1.0);
    const LoadRazdelResult r = s.load(t.get(), PosRazdel2);
    EXPECT_TRUE(r.loaded);
    EXPECT_FALSE(r.damaged);
    EXPECT_EQ(t->changeCount(), 0);
    EXPECT_EQ(writeDatapacket(*t), saved);
    t->setRecNo(2);
    EXPECT_EQ(t->fieldByName(u"Graf03"_s).asString(), u"12.3"_s);
    EXPECT_TRUE(t->isOpen());
}

TEST(RazdelFilesSave, MessageNamesTheFile)
{
    EXPECT_EQ(SaveRazdelMessage(u"/a/Data/2009_01.XML"_s),
              u"Данные текущего раздела сохранены в файле \n\r/a/Data/2009_01.XML"_s);
}

TEST(RazdelFilesSave, UnwritableFolderOrTextLeavesTheOldFile)
{
    Sandbox s;
    auto t = createRazdelTable(PosMembership);
    ASSERT_TRUE(s.save(t.get(), PosMembership));
    const QString path = s.file(PosMembership);
    const QByteArray old = readAll(path);

    setCell(*t, 7, u"NameRow"_s, u"Сеть 德勤"_s);
    try {
        s.save(t.get(), PosMembership);
        FAIL() << "no error";
    } catch (const DataSetError& e) {
        EXPECT_TRUE(e.message().contains(path)) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(u"德"_s)) << e.message().toStdString();
    }
    EXPECT_EQ(readAll(path), old);
    EXPECT_GT(t->changeCount(), 0) << "a change that never reached the disk stays logged";

    setCell(*t, 7, u"NameRow"_s, u"Сеть «Делойт»"_s);
    {
        ReadOnlyFolder ro(QFileInfo(path).absolutePath());
        if (!ro.refusesWrites())
            GTEST_SKIP() << "cannot make a folder read-only here";
        try {
            s.save(t.get(), PosMembership);
            FAIL() << "no error";
        } catch (const DataSetError& e) {
            EXPECT_TRUE(e.message().contains(path)) << e.message().toStdString();
        }
        EXPECT_EQ(readAll(path), old);
    }
    EXPECT_TRUE(s.save(t.get(), PosMembership));
    EXPECT_NE(readAll(path), old);
    EXPECT_EQ(t->changeCount(), 0);
}

// ------------------------------------------------------------------ damaged files

class RazdelFilesDamaged : public ::testing::TestWithParam<const char*> {};

TEST_P(RazdelFilesDamaged, MovedAsideAndTableKept)
{
    Sandbox s;
    auto t = createRazdelTable(PosRazdel1);
    setCell(*t, 1, u"Graf03"_s, 42);
    t->mergeChangeLog();
    const QByteArray before = writeDatapacket(*t);
    const QList<FieldDef> defsBefore = t->fieldDefs();

    const QByteArray bad = readAll(damagedDir() + QString::fromLatin1(GetParam()));
    const QString path = s.file(PosRazdel1);
    writeAll(path, bad);

    const LoadRazdelResult r = s.load(t.get(), PosRazdel1);
    EXPECT_FALSE(r.loaded);
    EXPECT_TRUE(r.damaged);
    EXPECT_EQ(r.movedTo, path + u".damaged"_s);
    EXPECT_TRUE(r.message.contains(u"«"_s + path + u"»"_s)) << r.message.toStdString();
    EXPECT_TRUE(r.message.contains(u"«"_s + r.movedTo + u"»"_s)) << r.message.toStdString();
    EXPECT_TRUE(r.message.contains(u"\n\r"_s));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(readAll(r.movedTo), bad);
    EXPECT_EQ(writeDatapacket(*t), before);
    EXPECT_EQ(t->fieldDefs().size(), defsBefore.size());
    EXPECT_EQ(t->changeCount(), 0);
    EXPECT_TRUE(t->isOpen());

    // Another damaged file does not overwrite the first one.
    const QByteArray other = bad + "second";
    writeAll(path, other);
    const LoadRazdelResult r2 = s.load(t.get(), PosRazdel1);
    EXPECT_TRUE(r2.damaged);
    EXPECT_EQ(r2.movedTo, path + u".damaged.1"_s);
    EXPECT_EQ(readAll(path + u".damaged"_s), bad);
    EXPECT_EQ(readAll(path + u".damaged.1"_s), other);
    EXPECT_EQ(writeDatapacket(*t), before);

    // The next save writes a fresh file and leaves the kept ones alone.
    EXPECT_TRUE(s.save(t.get(), PosRazdel1));
    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(readAll(path + u".damaged"_s), bad);
}

INSTANTIATE_TEST_SUITE_P(Corpus, RazdelFilesDamaged,
                         ::testing::Values("truncated.xml", "wrong_root.xml", "nested_type.xml",
                                           "bad_integer.xml", "bad_date.xml", "bad_boolean.xml",
                                           "entity_bomb.xml", "external_entity.xml",
                                           "binary_junk.bin", "empty.xml", "missing_fields.xml",
                                           "bad_utf8.xml"));

TEST(RazdelFilesDamagedMove, RenameFailureIsReported)
{
    Sandbox s;
    auto t = createRazdelTable(PosRazdel3);
    const QByteArray before = writeDatapacket(*t);
    const QString path = s.file(PosRazdel3);
    writeAll(path, "<DATAPACKET");
    ReadOnlyFolder ro(QFileInfo(path).absolutePath());
    if (!ro.refusesWrites())
        GTEST_SKIP() << "cannot make a folder read-only here";
    const LoadRazdelResult r = s.load(t.get(), PosRazdel3);
    EXPECT_TRUE(r.damaged);
    EXPECT_TRUE(r.movedTo.isEmpty());
    EXPECT_TRUE(r.message.contains(u"Переименовать файл не удалось"_s)) << r.message.toStdString();
    EXPECT_EQ(readAll(path), "<DATAPACKET");
    EXPECT_EQ(writeDatapacket(*t), before);
}

// ------------------------------------------------------------------ with the grid layout

TEST(RazdelFilesLayout, SaveAndLoadTogether)
{
    Sandbox s;
    auto t = createRazdelTable(PosRazdel1);
    FakeGrid grid;
    for (const char* name : {"NameRow", "KodRow", "Graf03", "Graf04"})
        grid.layout.columns << GridColumnLayout{QString::fromLatin1(name), 80, 0, true};
    grid.layout.columns[2].width = 123;
    grid.layout.rowHeight = 30;
    const QString kod = Razdels()[PosRazdel1].Kod;
    setCell(*t, 2, u"Graf03"_s, 7);
    EXPECT_TRUE(SaveRazdelAndLayout(t.get(), &grid, s.paths, kod, u"2009"_s));
    EXPECT_TRUE(QFile::exists(s.file(PosRazdel1)));
    EXPECT_TRUE(QFile::exists(s.paths.GridLayoutFileName(kod, u"2009"_s)));

    const GridLayout saved = grid.layout;
    grid.layout.columns[2].width = 10;
    setCell(*t, 2, u"Graf03"_s, 8);
    const LoadRazdelResult r = LoadRazdelAndLayout(t.get(), &grid, s.paths, kod, u"2009"_s);
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(grid.applied, 1);
    EXPECT_EQ(grid.layout, saved);
    t->setRecNo(2);
    EXPECT_EQ(t->fieldByName(u"Graf03"_s).asInteger(), 7);

    // Without a grid only the table is concerned.
    EXPECT_TRUE(SaveRazdelAndLayout(t.get(), nullptr, s.paths, kod, u"2009"_s));
    EXPECT_TRUE(LoadRazdelAndLayout(t.get(), nullptr, s.paths, kod, u"2009"_s).loaded);
    EXPECT_FALSE(SaveRazdelAndLayout(nullptr, nullptr, s.paths, kod, u"2009"_s));
}
