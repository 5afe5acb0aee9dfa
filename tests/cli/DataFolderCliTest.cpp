#include "CliRunner.h"
#include "TestSupport.h"
#include "model/DataDirLock.h"
#include "model/Datapacket.h"
#include "model/FormTables.h"
#include "model/Razdels.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString sectionFile(const QString& data, int razdel)
{
    return data + u"/2009_"_s + Razdels()[razdel].Kod + u".XML"_s;
}

} // namespace

TEST(CliDataFolder, RecalcIsRefusedWhileAWindowHoldsTheFolderAndReadingIsNot)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = dir.path();
    saveTableToFile(*createRazdelTable(PosRazdel1), sectionFile(data, PosRazdel1));
    const QByteArray before = readAll(sectionFile(data, PosRazdel1));

    DataDirLock window(data);
    ASSERT_TRUE(window.tryLock());
    const QStringList year = {u"--data"_s, data, u"--year"_s, u"2009"_s};
    const CliRun refused = runCliProgram(QStringList{u"recalc"_s} + year);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains(u"занята"_s)) << refused.err.toStdString();
    EXPECT_TRUE(refused.out.isEmpty());
    EXPECT_EQ(readAll(sectionFile(data, PosRazdel1)), before);
    for (int p = 0; p < RazdelCount; ++p) {
        if (p == PosRazdel1)
            continue;
        EXPECT_FALSE(QFileInfo::exists(sectionFile(data, p))) << p;
    }

    // Reading commands go on while the window works.
    for (const QString& command : {u"check"_s, u"text"_s}) {
        const CliRun r = runCliProgram(QStringList{command} + year);
        EXPECT_TRUE(r.exitCode == 0 || r.exitCode == 1)
            << command.toStdString() << ' ' << r.err.toStdString();
    }
    const CliRun dump = runCliProgram({u"dump"_s, sectionFile(data, PosRazdel1)});
    EXPECT_EQ(dump.exitCode, 0) << dump.err.toStdString();

    window.unlock();
    const CliRun done = runCliProgram(QStringList{u"recalc"_s} + year);
    EXPECT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_EQ(done.lines().size(), RazdelCount);
    // The command let the folder go again.
    EXPECT_TRUE(window.tryLock());
}

TEST(CliDataFolder, VersionNeedsNoCommand)
{
    const CliRun r = runCliProgram({u"--version"_s});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.lines(), QStringList{u"form2audit-cli "_s + QStringLiteral(FORM2AUDIT_VERSION)});
}

TEST(CliDataFolder, PdfWithoutTheOfficeExitsWithTwoAndSaysWhy)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"FORM2AUDIT_OFFICE_MODULE"_s, dir.filePath(u"no-office/form2audit_office.so"_s));
    const CliRun r = runCliProgram({u"pdf"_s, u"--out"_s, dir.filePath(u"form.pdf"_s), u"--data"_s,
                                    dir.path(), u"--year"_s, u"2009"_s},
                                   env);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(u"LibreOffice"_s)) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(u"form.pdf"_s)));
}

TEST(CliDataFolder, TheCommandLineLinksNeitherQtGuiNorTheOffice)
{
    QProcess ldd;
    ldd.start(u"ldd"_s, {QString::fromUtf8(F2A_CLI)});
    if (!ldd.waitForStarted())
        GTEST_SKIP() << "ldd is not available";
    ASSERT_TRUE(ldd.waitForFinished());
    const QString libraries = QString::fromUtf8(ldd.readAllStandardOutput());
    ASSERT_TRUE(libraries.contains(u"libQt6Core"_s)) << libraries.toStdString();
    for (const QString& forbidden : {u"libQt6Gui"_s, u"libQt6Widgets"_s, u"libuno_"_s})
        EXPECT_FALSE(libraries.contains(forbidden)) << forbidden.toStdString();
}
