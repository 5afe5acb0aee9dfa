#include "output/ExportFile.h"
#include "TestSupport.h"
#include "model/AppPaths.h"
#include "model/DataSet.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"
#include "output/ArchiveError.h"
#include "output/ZipPack.h"
#include "support/ReportCells.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zlib.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray golden(const char* name)
{
    const QByteArray bytes =
        readAll(QStringLiteral(F2A_TEST_DATA "/output/") + QLatin1String(name));
    EXPECT_FALSE(bytes.isEmpty()) << name;
    return bytes;
}

QString crcOf(const QByteArray& bytes)
{
    const uLong crc =
        crc32(0, reinterpret_cast<const Bytef*>(bytes.constData()), uInt(bytes.size()));
    return u"%1"_s.arg(quint32(crc), 8, 16, QChar(u'0')).toUpper();
}

// Row record numbers of the built-in rows: codes 01.. in section 1, 05.. in section 2 ...
void fillLegalEntity(ReportTables& t)
{
    DataSet& r = *t.razdel(PosRekvizity);
    const std::pair<const char16_t*, QVariant> requisites[] = {
        {u"IsUrLico", true},
        {u"FullName", u"Общество с ограниченной ответственностью \"Аудит|Плюс\""_s},
        {u"name", u"ООО Аудит=Плюс"_s},
        {u"UrAdress", u"101000, г. Москва, ул. Мясницкая, д. 1"_s},
        {u"KodGAI", 77},
        {u"OKPO", u"12345678"_s},
        {u"OGRN", u"1333333339955"_s},
        {u"TelFax", u"(495) 123-45-67"_s},
        {u"email", u"audit@example.ru"_s},
        {u"rukovod", u"Иванов Иван Иванович"_s},
        {u"FIOotv", u"Петрова Анна Сергеевна"_s},
        {u"PositionOtv", u"Главный бухгалтер"_s},
        {u"telOtv", u"8 (495) 765-43-21"_s},
        {u"DataSost", QDate(2009, 3, 5)},
    };
    for (const auto& [field, value] : requisites)
        setCell(r, 1, QString::fromUtf16(field), value);

    DataSet& s1 = *t.razdel(PosRazdel1);
    setCell(s1, 1, u"Graf03"_s, 12);
    setCell(s1, 1, u"Graf04"_s, 10.5);
    setCell(s1, 2, u"Graf03"_s, 5);
    setCell(s1, 2, u"Graf04"_s, 3.0);
    setCell(s1, 3, u"Graf03"_s, 3);
    setCell(s1, 4, u"Graf03"_s, 2);
    setCell(s1, 4, u"Graf04"_s, 2.5);

    DataSet& s2 = *t.razdel(PosRazdel2);
    setCell(s2, 2, u"Graf03"_s, 1234.5);
    setCell(s2, 2, u"Graf04"_s, 1000.0);
    setCell(s2, 3, u"Graf03"_s, 12.25);
    setCell(s2, 4, u"Graf03"_s, -3.0);
    setCell(s2, 4, u"Graf04"_s, 0.5);

    setCell(*t.razdel(PosRazdel3), 1, u"Graf03"_s, 40);

    DataSet& s4 = *t.razdel(PosRazdel4);
    const int row29[] = {7, 1, 2, 3, 1, 0};
    for (int g = 0; g < 6; ++g)
        setCell(s4, 1, u"Graf0%1"_s.arg(g + 3), row29[g]);
    setCell(s4, 9, u"Graf03"_s, -1);

    setCell(*t.razdel(PosQualityTest), 1, u"ValueYes"_s, true);

    DataSet& m = *t.razdel(PosMembership);
    setCell(m, 1, u"Year"_s, 2001);
    setCell(m, 3, u"Year"_s, 2005); // row 2 keeps its name but has no year
    setCell(m, 6, u"NameRow"_s, u"   "_s);
    setCell(m, 6, u"Year"_s, 2003);
    setCell(m, 11, u"NameRow"_s, u"Сеть \"Альфа|Бета=Гамма\""_s);
    setCell(m, 11, u"Year"_s, 0);
    setCell(m, 12, u"NameRow"_s, u"  Сеть  "_s);
    setCell(m, 12, u"Year"_s, 2007);
    setCell(m, 13, u"NameRow"_s, u"Без года"_s);
}

void fillIndividual(ReportTables& t)
{
    DataSet& r = *t.razdel(PosRekvizity);
    setCell(r, 1, u"IsUrLico"_s, false);
    setCell(r, 1, u"FullName"_s, u"Сидоров Сидор Сидорович"_s);
    setCell(r, 1, u"rukovod"_s, u"Сидоров Сидор Сидорович"_s);
    setCell(r, 1, u"OGRN"_s, u"304500116000157"_s);
    DataSet& s1 = *t.razdel(PosRazdel1);
    for (int row = 1; row <= 3; ++row)
        setCell(s1, row, u"Graf03"_s, 1);
    setCell(s1, 1, u"Graf04"_s, 1.0);
    setCell(s1, 2, u"Graf04"_s, 1.0);
    setCell(*t.razdel(PosRazdel2), 1, u"Graf03"_s, 1000.0);
    setCell(*t.razdel(PosRazdel2), 2, u"Graf03"_s, 1000.0);
}

struct Folders {
    QTemporaryDir dir;
    QString exportDir = dir.filePath(u"Export"_s);
    QString tempDir = dir.filePath(u"Temp"_s);
    QStringList exportFiles() const { return QDir(exportDir).entryList(QDir::Files); }
    QStringList tempFiles() const { return QDir(tempDir).entryList(QDir::Files); }
};

struct GoldenCase {
    const char* name;
    void (*fill)(ReportTables&);
    const char* goldenFile;
    const char* archive;
};

const GoldenCase kGoldenCases[] = {
    {"legal entity", fillLegalEntity, "legal_entity_2008.txt", "1333333339955--080.zip"},
    {"individual auditor", fillIndividual, "individual_auditor_2008.txt", "304500116000157080.zip"},
};

} // namespace

TEST(ExportFileGolden, TextBytesMatch)
{
    for (const GoldenCase& c : kGoldenCases) {
        SCOPED_TRACE(c.name);
        ReportTables t;
        c.fill(t);
        const QByteArray expected = golden(c.goldenFile);
        const QByteArray actual = RepFileBytes(t);
        // Line by line first, for a readable failure.
        const QList<QByteArray> want = expected.split('\n');
        const QList<QByteArray> got = actual.split('\n');
        for (qsizetype i = 0; i < std::min(want.size(), got.size()); ++i)
            ASSERT_EQ(got[i].toStdString(), want[i].toStdString()) << "line " << i + 1;
        EXPECT_EQ(actual, expected);
    }
}

TEST(ExportFileGolden, SubmissionLeavesOnlyTheArchiveHoldingTheText)
{
    for (const GoldenCase& c : kGoldenCases) {
        SCOPED_TRACE(c.name);
        ReportTables t;
        c.fill(t);
        Folders f;
        const RepFileResult r =
            MakeRepFile(t, f.exportDir, f.tempDir, u"2008"_s, RepFileMode::Submission);

        EXPECT_EQ(f.exportFiles(), QStringList{QString::fromLatin1(c.archive)});
        EXPECT_EQ(r.archivePath,
                  QDir(f.exportDir).absoluteFilePath(QString::fromLatin1(c.archive)));
        const QByteArray expected = golden(c.goldenFile);
        EXPECT_EQ(r.checksum, crcOf(expected));

        const QString out = f.dir.filePath(u"out/"_s);
        QDir().mkpath(out);
        const auto files = UnZipRepFile(r.archivePath, out, RepZipPassword);
        ASSERT_EQ(files.size(), 1);
        EXPECT_EQ(files[0].name, StripExtension(QString::fromLatin1(c.archive)) + u".txt"_s);
        EXPECT_EQ(readAll(files[0].path), expected);
    }
}

TEST(ExportFileModes, ChecksumOnlyMatchesSubmissionAndLeavesNothing)
{
    ReportTables t;
    fillLegalEntity(t);
    Folders f;
    const RepFileResult first =
        MakeRepFile(t, f.exportDir, f.tempDir, u"2008"_s, RepFileMode::ChecksumOnly);
    const RepFileResult second =
        MakeRepFile(t, f.exportDir, f.tempDir, u"2008"_s, RepFileMode::ChecksumOnly);
    EXPECT_EQ(first.checksum, second.checksum);
    EXPECT_TRUE(first.archivePath.isEmpty());
    EXPECT_TRUE(f.tempFiles().isEmpty());
    EXPECT_TRUE(QDir(f.exportDir).exists()); // the export folder is made in both modes
    EXPECT_TRUE(f.exportFiles().isEmpty());

    const RepFileResult submitted =
        MakeRepFile(t, f.exportDir, f.tempDir, u"2008"_s, RepFileMode::Submission);
    EXPECT_EQ(submitted.checksum, first.checksum);

    const AppPaths paths(f.dir.filePath(u"app/form2audit"_s));
    EXPECT_EQ(MakeRepFile(t, paths, u"2008"_s, RepFileMode::Submission).archivePath,
              paths.ExportDir() + u"1333333339955--080.zip"_s);
}

TEST(ExportFileName, Rule)
{
    struct Case {
        const char16_t* ogrn;
        bool urLico;
        const char16_t* year;
        const char16_t* expected;
    } cases[] = {
        {u"1333333339955", true, u"2008", u"1333333339955--080.txt"},
        {u"1333333339955", false, u"2008", u"1333333339955080.txt"},
        {u"304500116000157", false, u"2010", u"304500116000157100.txt"},
        {u"", true, u"2009", u"--090.txt"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RepFileName(QString::fromUtf16(c.ogrn), c.urLico, QString::fromUtf16(c.year)),
                  QString::fromUtf16(c.expected));
}

TEST(ExportFileLines, LegalEntityFlagEmptyCountsAsIndividual)
{
    ReportTables t;
    setCell(*t.razdel(PosRekvizity), 1, u"IsUrLico"_s, QVariant());
    setCell(*t.razdel(PosRekvizity), 1, u"OGRN"_s, u"1"_s);
    EXPECT_EQ(RepFileLines(t).first(), u"ЛИЦО=1"_s);
    Folders f;
    const RepFileResult r =
        MakeRepFile(t, f.exportDir, f.tempDir, u"2008"_s, RepFileMode::Submission);
    EXPECT_EQ(QFileInfo(r.archivePath).fileName(), u"1080.zip"_s);
}

TEST(ExportFileLines, RowsFollowTheTableOrderNotTheStoredOrder)
{
    ReportTables t;
    DataSet& s3 = *t.razdel(PosRazdel3);
    std::vector<RowValues> rows;
    for (const Row& r : s3.rows())
        rows.insert(rows.begin(), r.values);
    s3.loadData(s3.fieldDefs(), rows);
    ASSERT_EQ(s3.rows().front().values[1].toString(), u"28"_s);
    const QStringList lines = RepFileLines(t);
    const qsizetype at = lines.indexOf(u"РД=3"_s);
    EXPECT_EQ(lines[at + 1], u"12||"_s);
    EXPECT_EQ(lines[at + 17], u"28||"_s);
}

TEST(ExportFileLines, ReadingMovesNoCursorAndNotifiesNoView)
{
    ReportTables t;
    fillLegalEntity(t);
    int recNos[RazdelCount];
    int events = 0;
    for (int p = 0; p < RazdelCount; ++p) {
        DataSet& table = *t.razdel(p);
        table.setRecNo(table.recordCount());
        recNos[p] = table.recNo();
        table.addListener([&events](TableEvent, RowId) { ++events; });
    }
    Folders f;
    MakeRepFile(t, f.exportDir, f.tempDir, u"2008"_s, RepFileMode::ChecksumOnly);
    for (int p = 0; p < RazdelCount; ++p)
        EXPECT_EQ(t.razdel(p)->recNo(), recNos[p]) << p;
    EXPECT_EQ(events, 0);
}

TEST(ExportFileFailure, TextOutsideTheCodePageIsRefused)
{
    ReportTables t;
    setCell(*t.razdel(PosRekvizity), 1, u"FullName"_s, u"Аудит 漢"_s);
    EXPECT_THROW(RepFileBytes(t), DataSetError);
    Folders f;
    EXPECT_THROW(MakeRepFile(t, f.exportDir, f.tempDir, u"2008"_s, RepFileMode::Submission),
                 DataSetError);
    EXPECT_TRUE(f.exportFiles().isEmpty());
}

TEST(ExportFileFailure, FailedPackingKeepsTheText)
{
    ReportTables t;
    fillLegalEntity(t);
    Folders f;
    // A folder in the archive's place makes packing fail.
    const QString archive = QDir(f.exportDir).filePath(u"1333333339955--080.zip"_s);
    ASSERT_TRUE(QDir().mkpath(archive + u"/keep"_s));
    try {
        MakeRepFile(t, f.exportDir, f.tempDir, u"2008"_s, RepFileMode::Submission);
        FAIL() << "packing into a folder succeeded";
    } catch (const ArchiveError& e) {
        EXPECT_TRUE(e.message().startsWith(u"Не удалось создать архив"_s))
            << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(u"1333333339955--080.zip"_s)) << e.message().toStdString();
    }
    EXPECT_EQ(f.exportFiles(), QStringList{u"1333333339955--080.txt"_s});
    EXPECT_EQ(readAll(QDir(f.exportDir).filePath(u"1333333339955--080.txt"_s)),
              golden("legal_entity_2008.txt"));
}

TEST(ExportFileFailure, UnwritableFolderNamesTheFile)
{
    ReportTables t;
    Folders f;
    QFile blocker(f.exportDir);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    try {
        MakeRepFile(t, f.exportDir, f.tempDir, u"2008"_s, RepFileMode::Submission);
        FAIL() << "writing below a file succeeded";
    } catch (const DataSetError& e) {
        EXPECT_TRUE(e.message().startsWith(u"Не удалось записать файл"_s))
            << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(u"--080.txt"_s)) << e.message().toStdString();
    }
}

TEST(ExportFileFailure, SectionWithMissingRowsIsRefused)
{
    ReportTables t;
    DataSet& s3 = *t.razdel(PosRazdel3);
    std::vector<RowValues> rows;
    for (const Row& r : s3.rows())
        rows.push_back(r.values);
    rows.pop_back();
    s3.loadData(s3.fieldDefs(), rows);
    EXPECT_THROW(RepFileLines(t), DataSetError);
}
