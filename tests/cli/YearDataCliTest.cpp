// carry-over, import and check-archives as scripts see them.

#include "CliRunner.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString caseDir(const QString& name)
{
    return QString::fromUtf8(F2A_TEST_DATA) + u"/control/"_s + name;
}

// The case's files copied into `data` under another year.
void copyCase(const QString& name, const QString& data, const QString& year)
{
    QDir().mkpath(data);
    for (const QString& f : QDir(caseDir(name)).entryList({u"2009_*.XML"_s}, QDir::Files))
        ASSERT_TRUE(QFile::copy(caseDir(name) + u'/' + f, data + u'/' + year + f.mid(4)));
}

QString exportArchive(const QString& data, const QString& out)
{
    const CliRun r = runCliProgram({u"export"_s, u"--out"_s, out, u"--data"_s, data, u"--year"_s,
                                    u"2009"_s, u"--today"_s, u"2010-03-15"_s, u"--force"_s});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    return r.lines().value(0).mid(9);
}

QStringList dataFiles(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files, QDir::Name);
}

} // namespace

TEST(CarryOverCli, FillsEmptyCellsAndPrintsThem)
{
    QTemporaryDir tmp;
    const QString data = tmp.path() + u"/data"_s;
    const CliRun none = runCliProgram({u"carry-over"_s, u"--data"_s, data, u"--year"_s, u"2010"_s});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_TRUE(none.err.contains(u"2009"_s)) << none.err.toStdString();
    EXPECT_TRUE(none.out.isEmpty());

    copyCase(u"consistent_report"_s, data, u"2009"_s);
    const CliRun r = runCliProgram({u"carry-over"_s, u"--data"_s, data, u"--year"_s, u"2010"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.lines();
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.last(),
              u"Перенесено значений из отчёта за 2009 год: %1"_s.arg(lines.size() - 1));
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        EXPECT_EQ(lines[i].split(u'\t').size(), 4) << lines[i].toStdString();
    EXPECT_TRUE(lines.contains(u"02\t06\tGraf04\t1500.5"_s)) << r.out.toStdString();
    EXPECT_TRUE(QFile::exists(data + u"/2010_00.XML"_s));

    // the same call again fills nothing
    const CliRun again =
        runCliProgram({u"carry-over"_s, u"--data"_s, data, u"--year"_s, u"2010"_s});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.lines(), QStringList{u"Перенесено значений из отчёта за 2009 год: 0"_s});

    const CliRun noYear = runCliProgram({u"carry-over"_s, u"--data"_s, data});
    EXPECT_EQ(noYear.exitCode, 2);
    EXPECT_TRUE(noYear.err.contains(u"--year"_s));
}

TEST(ImportCli, RestoresTheYearFromItsArchive)
{
    QTemporaryDir tmp;
    const QString archive = exportArchive(caseDir(u"consistent_report"_s), tmp.path());
    const QString data = tmp.path() + u"/data"_s;
    const CliRun r = runCliProgram({u"import"_s, archive, u"--data"_s, data});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.lines().size(), 7);
    EXPECT_TRUE(r.lines().value(0).endsWith(u"2009_00.XML"_s));

    // the restored report gives the same text as the one packed
    const auto text = [](const QString& dir) {
        return runCliProgram({u"text"_s, u"--data"_s, dir, u"--year"_s, u"2009"_s}).out;
    };
    EXPECT_EQ(text(data), text(caseDir(u"consistent_report"_s)));

    // files of that year are not replaced without --force
    QFile::remove(data + u"/2009_03.XML"_s);
    writeAll(data + u"/2009_01.XML"_s, "typed by hand");
    const QStringList before = dataFiles(data);
    const CliRun refused = runCliProgram({u"import"_s, archive, u"--data"_s, data});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains(u"--force"_s)) << refused.err.toStdString();
    EXPECT_EQ(dataFiles(data), before);

    const CliRun forced = runCliProgram({u"import"_s, archive, u"--data"_s, data, u"--force"_s});
    ASSERT_EQ(forced.exitCode, 0) << forced.err.toStdString();
    EXPECT_EQ(readAll(data + u"/2009_01.XML.replaced"_s), "typed by hand");
    EXPECT_TRUE(QFile::exists(data + u"/2009_03.XML"_s));
    EXPECT_FALSE(QFile::exists(data + u"/2009_03.XML.replaced"_s));
    EXPECT_EQ(text(data), text(caseDir(u"consistent_report"_s)));
}

TEST(ImportCli, YearFromTheNameOrFromTheOption)
{
    QTemporaryDir tmp;
    const QByteArray text = runCliProgram({u"text"_s, u"--data"_s, caseDir(u"consistent_report"_s),
                                           u"--year"_s, u"2009"_s})
                                .out;
    const QString renamed = tmp.path() + u"/report.txt"_s;
    writeAll(renamed, text);
    const QString data = tmp.path() + u"/data"_s;
    const CliRun noYear = runCliProgram({u"import"_s, renamed, u"--data"_s, data});
    EXPECT_EQ(noYear.exitCode, 2);
    EXPECT_TRUE(noYear.err.contains(u"--year"_s));
    const CliRun withYear =
        runCliProgram({u"import"_s, renamed, u"--data"_s, data, u"--year"_s, u"2007"_s});
    ASSERT_EQ(withYear.exitCode, 0) << withYear.err.toStdString();
    EXPECT_TRUE(QFile::exists(data + u"/2007_02.XML"_s));
}

TEST(ImportCli, MalformedTextIsRefusedWithItsLineAndNothingIsWritten)
{
    QTemporaryDir tmp;
    QByteArray text = runCliProgram({u"text"_s, u"--data"_s, caseDir(u"consistent_report"_s),
                                     u"--year"_s, u"2009"_s})
                          .out;
    text.replace("\r\n06|", "\r\n06|1000|"); // a money cell without its decimal and one column more
    const QString file = tmp.path() + u"/1027700132195--090.txt"_s;
    writeAll(file, text);
    const QString data = tmp.path() + u"/data"_s;
    const CliRun r = runCliProgram({u"import"_s, file, u"--data"_s, data});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(u"Строка 17: "_s)) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(dataFiles(data).isEmpty());

    const CliRun wrongKind = runCliProgram({u"import"_s, tmp.path() + u"/x.doc"_s});
    EXPECT_EQ(wrongKind.exitCode, 2);
    const CliRun two = runCliProgram({u"import"_s, file, file});
    EXPECT_EQ(two.exitCode, 2);
}

TEST(CheckArchivesCli, OneLinePerArchiveThenTheSummary)
{
    QTemporaryDir tmp;
    const QString good = tmp.path() + u"/good"_s;
    const QString bad = tmp.path() + u"/bad"_s;
    QDir().mkpath(good);
    QDir().mkpath(bad + u"/deeper"_s);
    const QString clean = exportArchive(caseDir(u"consistent_report"_s), good);
    const QString withErrors = exportArchive(caseDir(u"empty_report"_s), bad + u"/deeper"_s);
    writeAll(bad + u"/broken--090.zip"_s, "PK\x03\x04 not really");

    const CliRun ok = runCliProgram({u"check-archives"_s, good, u"--today"_s, u"2010-03-15"_s});
    EXPECT_EQ(ok.exitCode, 0) << ok.err.toStdString();
    ASSERT_EQ(ok.lines().size(), 2);
    const QStringList cells = ok.lines()[0].split(u'\t');
    ASSERT_EQ(cells.size(), 8);
    EXPECT_EQ(cells[0], clean);
    EXPECT_EQ(cells[1], u"открыт"_s);
    EXPECT_EQ(cells[3], u"1027700132195"_s);
    EXPECT_EQ(cells[5], u"2009"_s);
    EXPECT_EQ(cells[6], u"0"_s);
    EXPECT_EQ(ok.lines()[1], u"Архивов: 1, открыто: 1, с ошибками: 0, не прочитано: 0"_s);
    // the checksum is the one the export printed
    EXPECT_EQ(cells[2], runCliProgram({u"unzip"_s, clean, u"--to"_s, tmp.path() + u"/u"_s})
                            .lines()
                            .value(0)
                            .section(u'\t', 1));

    const CliRun errors = runCliProgram({u"check-archives"_s, withErrors, clean});
    EXPECT_EQ(errors.exitCode, 1);

    const QStringList before = dataFiles(bad);
    const CliRun all = runCliProgram({u"check-archives"_s, good, bad});
    EXPECT_EQ(all.exitCode, 2);
    ASSERT_EQ(all.lines().size(), 4);
    EXPECT_TRUE(all.lines()[1].startsWith(bad + u"/broken--090.zip\tне открыт\t"_s))
        << all.lines()[1].toStdString();
    EXPECT_EQ(all.lines()[3], u"Архивов: 3, открыто: 2, с ошибками: 1, не прочитано: 1"_s);
    EXPECT_EQ(dataFiles(bad), before);

    EXPECT_EQ(runCliProgram({u"check-archives"_s}).exitCode, 2);
    const CliRun help = runCliProgram({u"--help"_s});
    for (const QString& command : {u"carry-over"_s, u"import"_s, u"check-archives"_s})
        EXPECT_TRUE(QString::fromUtf8(help.out).contains(u"\n  "_s + command))
            << command.toStdString();
}
