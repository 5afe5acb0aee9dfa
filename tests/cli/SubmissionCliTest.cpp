// The submission commands working together on a report without errors.

#include "CliRunner.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QStringList kYear = {u"--year"_s, u"2009"_s, u"--today"_s, u"2010-03-15"_s};

QString caseDir(const QString& name)
{
    return QString::fromUtf8(F2A_TEST_DATA) + u"/control/"_s + name;
}

} // namespace

TEST(SubmissionCli, ExportCrcUnzipAndTextAgree)
{
    QTemporaryDir out, unpacked;
    const QString data = caseDir(u"consistent_report"_s);
    const CliRun exp =
        runCliProgram(QStringList{u"export"_s, u"--out"_s, out.path(), u"--data"_s, data} + kYear);
    ASSERT_EQ(exp.exitCode, 0) << exp.err.toStdString();
    const QStringList lines = exp.lines();
    ASSERT_EQ(lines.size(), 2);
    ASSERT_TRUE(lines[0].startsWith(u"archive: "_s));
    ASSERT_TRUE(lines[1].startsWith(u"checksum: "_s));
    const QString archive = lines[0].mid(9);
    const QString checksum = lines[1].mid(10);
    EXPECT_EQ(checksum.size(), 8);
    // only the archive stays in the folder
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), QStringList{QFileInfo(archive).fileName()});

    const CliRun unzip = runCliProgram({u"unzip"_s, archive, u"--to"_s, unpacked.path()});
    ASSERT_EQ(unzip.exitCode, 0) << unzip.err.toStdString();
    ASSERT_EQ(unzip.lines().size(), 1);
    const QStringList parts = unzip.lines()[0].split(u'\t');
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[1], checksum);

    const QString textFile = unpacked.path() + u'/' + parts[0];
    const CliRun crc = runCliProgram({u"crc"_s, textFile});
    ASSERT_EQ(crc.exitCode, 0);
    EXPECT_EQ(crc.lines(), QStringList{checksum});

    // the text command prints exactly what was packed
    const CliRun text =
        runCliProgram(QStringList{u"text"_s, u"--data"_s, data, u"--year"_s, u"2009"_s});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_EQ(text.out, readAll(textFile));
    EXPECT_TRUE(text.out.contains("\r\n"));
}

TEST(SubmissionCli, ExportRefusesAReportWithErrorsUnlessForced)
{
    QTemporaryDir out;
    const QString data = caseDir(u"empty_report"_s);
    const CliRun refused =
        runCliProgram(QStringList{u"export"_s, u"--out"_s, out.path(), u"--data"_s, data} + kYear);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, readAll(data + u"/expected.txt"_s)); // the records as check prints them
    EXPECT_TRUE(QDir(out.path()).entryList(QDir::Files).isEmpty());

    const CliRun forced = runCliProgram(
        QStringList{u"export"_s, u"--out"_s, out.path(), u"--force"_s, u"--data"_s, data} + kYear);
    EXPECT_EQ(forced.exitCode, 0) << forced.err.toStdString();
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files).size(), 1);
}

TEST(SubmissionCli, BadCallsExitWithTwo)
{
    QTemporaryDir tmp;
    const QStringList calls[] = {
        {u"export"_s},                          // no --out
        {u"crc"_s},                             // no file
        {u"crc"_s, tmp.path() + u"/missing"_s}, // unreadable
        {u"unzip"_s, tmp.path() + u"/missing.zip"_s, u"--to"_s, tmp.path()},
        {u"unzip"_s, tmp.path() + u"/missing.zip"_s}, // no --to
    };
    for (const QStringList& args : calls) {
        const CliRun r = runCliProgram(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << args.join(u' ').toStdString();
    }
    // a missing archive is reported, not created
    EXPECT_FALSE(QFile::exists(tmp.path() + u"/missing.zip"_s));
}
