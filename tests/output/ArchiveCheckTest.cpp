#include "output/ArchiveCheck.h"
#include "TestSupport.h"
#include "control/Control.h"
#include "model/DataSet.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"
#include "output/Crc32.h"
#include "output/ExportFile.h"
#include "output/ZipPack.h"
#include "support/RandomReport.h"
#include "support/ReportCells.h"
#include "support/TestArchives.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QDate kToday{2010, 3, 15};

QStringList filesBelow(const QString& dir)
{
    QStringList files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

// A random report's submission archive in `dir`; answers its path.
QString makeArchive(const QString& dir, unsigned seed, ReportTables& t)
{
    std::mt19937 rng(seed);
    fillRandomReport(t, rng);
    // each report its own registration number, and so its own archive name
    DataSet& req = *t.razdel(PosRekvizity);
    req.first();
    setField(req, u"OGRN"_s, QString::number(1000000000000LL + seed));
    return MakeRepFile(t, dir, QString(), u"2009"_s, RepFileMode::Submission).archivePath;
}

} // namespace

TEST(ArchiveCheckOne, GoodArchiveAndTextGiveTheControlFigures)
{
    QTemporaryDir dir;
    ReportTables t;
    const QString archive = makeArchive(dir.path(), 3, t);
    const QByteArray text = RepFileBytes(t);
    const QString txt = dir.filePath(QFileInfo(archive).completeBaseName() + u".txt"_s);
    writeAll(txt, text);

    ControlCounts counts;
    int errors = 0, warnings = 0;
    ControlAllRazdels(t, t.err(), counts, ControlEnv{kToday, nullptr, u"2009"_s}, errors, warnings);
    for (const QString& path : {archive, txt}) {
        SCOPED_TRACE(path.toStdString());
        const ArchiveCheck c = CheckRepArchive(path, kToday, nullptr);
        ASSERT_TRUE(c.opened) << c.reason.toStdString();
        auto req = t.razdel(PosRekvizity)->clone();
        req->first();
        EXPECT_EQ(c.ogrn, req->fieldByName(u"OGRN"_s).asString());
        EXPECT_EQ(c.shortName, req->fieldByName(u"name"_s).asString());
        EXPECT_EQ(c.year, u"2009"_s);
        EXPECT_EQ(c.checksum, FileCRCText(txt));
        EXPECT_EQ(c.errors, errors);
        EXPECT_EQ(c.warnings, warnings);
        const QStringList cells = ArchiveCheckLine(c).split(u'\t');
        ASSERT_EQ(cells.size(), 8);
        EXPECT_EQ(cells[1], u"открыт"_s);
        EXPECT_EQ(cells[6], QString::number(errors));
    }
}

TEST(ArchiveCheckOne, HostileAndBrokenArchivesGiveAReason)
{
    QTemporaryDir dir;
    ReportTables t;
    const QString good = makeArchive(dir.path(), 4, t);
    const QByteArray text = RepFileBytes(t);
    const QString name = QFileInfo(good).completeBaseName();
    const QByteArray entry = (name + u".txt"_s).toUtf8();
    const auto path = [&](const char* file) { return dir.filePath(QString::fromUtf8(file)); };
    const QByteArray zeros(1024 * 1024, '\0');
    const QByteArray huge(5 * 1024 * 1024, 'A');

    buildArchive(path("wrongpw--090.zip"), {{"wrongpw--090.txt", text}}, "abcd");
    buildArchive(path("two--090.zip"), {{"two--090.txt", text}, {"b.txt", text}}, "vazu");
    buildArchive(path("slip--090.zip"), {{"../slip--090.txt", text}}, "vazu");
    buildArchive(path("plain--090.zip"), {{"plain--090.txt", text}});
    buildArchive(path("other--090.zip"), {{entry, text}}, "vazu");
    buildArchive(path("ratio--090.zip"), {{"ratio--090.txt", zeros}}, "vazu");
    buildArchive(path("huge--090.zip"), {{"huge--090.txt", huge}}, "vazu");
    buildArchive(path("junk--090.zip"), {{"junk--090.txt", "ЛИЦО=2\r\n"}}, "vazu");
    buildArchive(path("noyear.zip"), {{"noyear.txt", text}}, "vazu");
    writeAll(path("notazip--090.zip"), "PK this is not an archive");

    const std::pair<const char*, const char16_t*> cases[] = {
        {"wrongpw--090.zip", u"неверный пароль"},
        {"two--090.zip", u"2 файлов вместо одного"},
        {"slip--090.zip", u"за пределы папки"},
        {"plain--090.zip", u"не защищён паролем"},
        {"other--090.zip", u"называется"},
        {"ratio--090.zip", u"степень сжатия"},
        {"huge--090.zip", u"больше 4194304 байт"},
        {"junk--090.zip", u"не читается как отчёт: Строка 1"},
        {"noyear.zip", u"отчётный год"},
        {"notazip--090.zip", u"не прочитан"},
        {"missing--090.zip", u"не найден"},
    };
    const QStringList before = filesBelow(dir.path());
    for (const auto& [file, reason] : cases) {
        SCOPED_TRACE(file);
        const ArchiveCheck c = CheckRepArchive(path(file), kToday, nullptr);
        EXPECT_FALSE(c.opened);
        EXPECT_TRUE(c.reason.contains(QString::fromUtf16(reason))) << c.reason.toStdString();
        const QStringList cells = ArchiveCheckLine(c).split(u'\t');
        ASSERT_EQ(cells.size(), 3);
        EXPECT_EQ(cells[1], u"не открыт"_s);
    }
    EXPECT_EQ(filesBelow(dir.path()), before); // nothing written, nothing unpacked
}

TEST(ArchiveCheckMany, ParallelRunEqualsOneByOneInFileOrder)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(u"a/b"_s));
    for (unsigned seed = 1; seed <= 24; ++seed) {
        ReportTables t;
        makeArchive(dir.filePath(seed % 2 ? u"a"_s : u"a/b"_s), seed, t);
    }
    writeAll(dir.filePath(u"a/b/bad--090.txt"_s), "ЛИЦО=5\r\n");
    writeAll(dir.filePath(u"a/notes.doc"_s), "ignored");

    QStringList missing;
    const QStringList files =
        FindRepArchives({dir.filePath(u"a"_s), dir.filePath(u"none"_s)}, &missing);
    EXPECT_EQ(missing, QStringList{dir.filePath(u"none"_s)});
    ASSERT_EQ(files.size(), 25);

    const QList<ArchiveCheck> serial = CheckRepArchives(files, kToday, nullptr, 1);
    const QList<ArchiveCheck> parallel = CheckRepArchives(files, kToday, nullptr, 4);
    ASSERT_EQ(parallel.size(), serial.size());
    for (qsizetype i = 0; i < files.size(); ++i) {
        EXPECT_EQ(parallel[i].path, files[i]);
        EXPECT_EQ(ArchiveCheckLine(parallel[i]), ArchiveCheckLine(serial[i]));
    }
    // every archive opened, the bad text did not: exit code 2 and the counts
    EXPECT_EQ(ArchiveCheckExitCode(parallel), 2);
    EXPECT_TRUE(ArchiveCheckSummary(parallel).startsWith(u"Архивов: 25, открыто: 24, "_s))
        << ArchiveCheckSummary(parallel).toStdString();
}

TEST(ArchiveCheckMany, ExitCodes)
{
    ArchiveCheck clean;
    clean.opened = true;
    ArchiveCheck errors = clean;
    errors.errors = 3;
    ArchiveCheck warnings = clean;
    warnings.warnings = 2;
    ArchiveCheck unread;
    EXPECT_EQ(ArchiveCheckExitCode({}), 0);
    EXPECT_EQ(ArchiveCheckExitCode({clean, warnings}), 0);
    EXPECT_EQ(ArchiveCheckExitCode({clean, errors}), 1);
    EXPECT_EQ(ArchiveCheckExitCode({errors, unread, clean}), 2);
    EXPECT_EQ(ArchiveCheckSummary({clean, errors, unread}),
              u"Архивов: 3, открыто: 2, с ошибками: 1, не прочитано: 1"_s);
}
