#include "model/DataDirLock.h"
#include "TestSupport.h"
#include "model/InterruptedSaves.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A lock file as another process leaves it: its id, its name and this machine.
void writeLockOf(const QString& dataDir, qint64 pid, const QString& appName)
{
    writeAll(QDir(dataDir).filePath(QString::fromUtf16(kDataDirLockName)),
             QByteArray::number(pid) + '\n' + appName.toUtf8() + '\n' +
                 QSysInfo::machineHostName().toUtf8() + '\n');
}

} // namespace

TEST(DataDirLockTest, ASecondHolderIsRefusedUntilTheFirstLetsGo)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    DataDirLock first(dir.path());
    DataDirLock second(dir.path());
    ASSERT_TRUE(first.tryLock());
    EXPECT_TRUE(QFileInfo::exists(first.fileName()));
    EXPECT_FALSE(second.tryLock());
    first.unlock();
    EXPECT_TRUE(second.tryLock());
}

TEST(DataDirLockTest, ALockOfARunningProgramIsRespectedWhateverItsAge)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcess holder;
    holder.start(u"sleep"_s, {u"30"_s});
    ASSERT_TRUE(holder.waitForStarted());
    writeLockOf(dir.path(), holder.processId(), u"sleep"_s);
    QFile lockFile(QDir(dir.path()).filePath(QString::fromUtf16(kDataDirLockName)));
    ASSERT_TRUE(lockFile.open(QIODevice::ReadWrite));
    // An hour old: a window open since then still holds the folder.
    ASSERT_TRUE(lockFile.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                     QFileDevice::FileModificationTime));
    lockFile.close();

    DataDirLock lock(dir.path());
    EXPECT_FALSE(lock.tryLock());
    holder.kill();
    holder.waitForFinished();
}

TEST(DataDirLockTest, ALockLeftByAProgramThatDiedIsTakenOver)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcess gone;
    gone.start(u"true"_s, QStringList());
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 pid = gone.processId();
    ASSERT_TRUE(gone.waitForFinished());
    writeLockOf(dir.path(), pid, u"form2audit"_s);

    DataDirLock lock(dir.path());
    EXPECT_TRUE(lock.tryLock());
    DataDirLock other(dir.path());
    EXPECT_FALSE(other.tryLock());
}

TEST(InterruptedSavesTest, OnlyTheTemporaryFilesOfSectionSavesAreRemoved)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QStringList leftovers = {u"2009_02.XML.xUXsKC"_s, u"2010_01.xml.a1B2c3"_s};
    const QStringList kept = {
        u"2009_02.XML"_s,         // the section file itself
        u"2009_02.XML.bak"_s,     // not six letters
        u"2009_02.XML.xUXsKC7"_s, // seven
        u"notes.txt.xUXsKC"_s,    // not a section save
        u"2009_02.XML.xU-sKC"_s,  // not letters and digits
        u".form2audit.lock"_s,    // the folder's lock
        u"a.b.XML.xUXsKC"_s,      // not a name we save
    };
    for (const QString& name : leftovers + kept)
        writeAll(dir.filePath(name), "x");
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"2008_01.XML.qwerty"_s)); // a folder stays too

    QStringList removed = RemoveInterruptedSaves(dir.path());
    removed.sort();
    QStringList expected = leftovers;
    expected.sort();
    EXPECT_EQ(removed, expected);
    for (const QString& name : leftovers)
        EXPECT_FALSE(QFileInfo::exists(dir.filePath(name))) << name.toStdString();
    for (const QString& name : kept)
        EXPECT_TRUE(QFileInfo::exists(dir.filePath(name))) << name.toStdString();
    EXPECT_TRUE(QFileInfo(dir.filePath(u"2008_01.XML.qwerty"_s)).isDir());
}
