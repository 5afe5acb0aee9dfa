// Runs `form2audit-cli check` on the control cases of tests/data/control.

#include "CliRunner.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

CliRun check(const QStringList& extra)
{
    return runCliProgram(
        QStringList{u"check"_s, u"--year"_s, u"2009"_s, u"--today"_s, u"2010-03-15"_s} + extra);
}

QString casesDir()
{
    return QStringLiteral(F2A_TEST_DATA "/control");
}

} // namespace

TEST(CheckCli, PrintsTheExpectedListOfEveryCase)
{
    const QStringList cases = QDir(casesDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_FALSE(cases.isEmpty());
    for (const QString& name : cases) {
        SCOPED_TRACE(name.toStdString());
        const QString dir = casesDir() + u'/' + name;
        QStringList args{u"--data"_s, dir};
        if (QFile::exists(dir + u"/settings.ini"_s))
            args << u"--settings"_s << dir + u"/settings.ini"_s;
        const QStringList before = QDir(dir).entryList(QDir::Files, QDir::Name);
        const CliRun r = check(args);
        const QByteArray expected = readAll(dir + u"/expected.txt"_s);
        EXPECT_EQ(r.out.toStdString(), expected.toStdString());
        EXPECT_EQ(r.err, QString());
        const bool anyError =
            !expected.contains("\nОшибок: 0,") && !expected.startsWith("Ошибок: 0,");
        EXPECT_EQ(r.exitCode, anyError ? 1 : 0);
        EXPECT_EQ(QDir(dir).entryList(QDir::Files, QDir::Name), before); // read-only
    }
}

TEST(CheckCli, RefusesBadUsageAndUnreadableFiles)
{
    QTemporaryDir tmp;
    const QString dir = tmp.path();
    const CliRun extra = check({u"--data"_s, dir, u"more"_s});
    EXPECT_EQ(extra.exitCode, 2);
    EXPECT_TRUE(extra.out.isEmpty());

    const CliRun noSettings = check({u"--data"_s, dir, u"--settings"_s, dir + u"/none.ini"_s});
    EXPECT_EQ(noSettings.exitCode, 2);
    EXPECT_TRUE(noSettings.err.contains(u"none.ini"_s));

    const QString damaged = dir + u"/2009_03.XML"_s;
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(F2A_TEST_DATA "/packets/damaged/bad_integer.xml"), damaged));
    const CliRun bad = check({u"--data"_s, dir});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.out.isEmpty());
    EXPECT_FALSE(bad.err.isEmpty());
    EXPECT_TRUE(QFile::exists(damaged)); // never moved aside by a check
}
