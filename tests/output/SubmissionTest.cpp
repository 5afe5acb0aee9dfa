#include "output/Submission.h"

#include "MailLinkDecoding.h"
#include "TestSupport.h"
#include "control/ControlTestSupport.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"
#include "model/UserError.h"
#include "output/ArchiveError.h"
#include "output/Crc32.h"
#include "output/MailSubmission.h"
#include "output/ZipPack.h"
#include "support/RecordingGateHost.h"
#include "support/RecordingUrls.h"
#include "support/ScriptedMessages.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Puts the working folder back, which the mail workflow changes.
class KeepCurrentFolder {
public:
    ~KeepCurrentFolder() { QDir::setCurrent(m_saved); }

private:
    QString m_saved = QDir::currentPath();
};

const QString kArchive = u"<archive>"_s;
const QString kExportAsk =
    u"Предупреждение? Вы действительно хотите создать файл для передачи в Минфин"_s;
const QString kPrintedAsk =
    u"Предупреждение? Перед отправкой отчёта по электронной почте, надо напечатать его.\n\rВы "
    u"напечатали отчёт"_s;
const QString kSendAsk = u"Предупреждение? Сформирован Файл отчёта для отправки в Минфин:\n\r"_s +
                         kArchive +
                         u"\n\r\n\rОтправить его по электронному адресу: 2audit@minfin.ru"_s;
const QString kWritten =
    u"Сообщение: Данные для отправки в Минфин записаны в файл \n\r"_s + kArchive;
const QString kMailFallback =
    u"Сообщение: Если не удалось отослать отчёт по электронной почте из программы,\n\rотправьте "
    u"самостоятельно файл:\n\r"_s +
    kArchive + u"\n\rпо электронному адресу: 2audit@minfin.ru"_s;

// A report the control passes, and its folder.
struct Fixture {
    QTemporaryDir dir;
    ReportTables tables;
    ScriptedMessages messages;
    RecordingGateHost host{messages.log};
    RecordingUrls urls;
    SubmissionPlace place;

    Fixture()
    {
        setCells(tables, validRekvizity());
        setCells(tables, consistentFigures());
        place = {dir.path() + u"/export/"_s, kTestYear};
        QDir().mkpath(place.exportDir);
        messages.unscripted = false;
    }
    QStringList files() const { return QDir(place.exportDir).entryList(QDir::Files); }
    // The transcript with the archive's place written as "<archive>".
    QStringList transcript(const SubmissionResult& r) const
    {
        QStringList out = messages.log;
        if (!r.file.archivePath.isEmpty())
            out.replaceInStrings(QDir::toNativeSeparators(r.file.archivePath), kArchive);
        return out;
    }
};

OutputGateCounts counts(int errors, int warnings)
{
    return {errors, warnings, false, false};
}

// ------------------------------------------------------------------ the window's export

struct ExportCase {
    const char* name;
    OutputGateCounts counts;
    QList<bool> answers;
    SubmissionStatus status;
    QStringList steps;
};

class ExportWorkflow : public ::testing::TestWithParam<ExportCase> {};

TEST_P(ExportWorkflow, AsksGatesWritesAndTells)
{
    const ExportCase& c = GetParam();
    Fixture f;
    f.host.report = c.counts;
    f.messages.answers = c.answers;
    const SubmissionResult r = ExportSubmission(f.tables, f.place, f.host, f.messages);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(f.transcript(r), c.steps) << f.messages.log.join(u'|').toStdString();
    EXPECT_TRUE(f.messages.answers.isEmpty()) << "a scripted answer was not asked for";
    if (c.status == SubmissionStatus::Written) {
        EXPECT_EQ(f.files(), QStringList{QFileInfo(r.file.archivePath).fileName()});
        EXPECT_EQ(QFileInfo(r.file.archivePath).absolutePath(),
                  QDir(f.place.exportDir).absolutePath());
        EXPECT_TRUE(r.file.archivePath.endsWith(u"--090.zip"_s))
            << r.file.archivePath.toStdString();
    } else {
        EXPECT_TRUE(f.files().isEmpty());
    }
}

const QString kWarnAsk =
    u"Предупреждение? В данных отчёта есть предупреждения (всего - 2)\n\rПоказать предупреждения"_s;

INSTANTIATE_TEST_SUITE_P(
    Submission, ExportWorkflow,
    ::testing::Values(ExportCase{"NoAtTheStart",
                                 counts(0, 0),
                                 {false},
                                 SubmissionStatus::Declined,
                                 {kExportAsk + u" -> no"_s}},
                      ExportCase{
                          "Errors",
                          counts(3, 2),
                          {true},
                          SubmissionStatus::Held,
                          {kExportAsk + u" -> yes"_s, u"control report"_s,
                           u"Сообщение: В данных отчёта есть ошибки (всего - 3)\n\rСначало надо "
                           u"исправить ошибки"_s,
                           u"first record 0"_s}},
                      ExportCase{"WarningsShown",
                                 counts(0, 2),
                                 {true, true},
                                 SubmissionStatus::Held,
                                 {kExportAsk + u" -> yes"_s, u"control report"_s,
                                  kWarnAsk + u" -> yes"_s, u"first record 1"_s}},
                      ExportCase{"WarningsPassed",
                                 counts(0, 2),
                                 {true, false},
                                 SubmissionStatus::Written,
                                 {kExportAsk + u" -> yes"_s, u"control report"_s,
                                  kWarnAsk + u" -> no"_s, kWritten}},
                      ExportCase{"Clean",
                                 counts(0, 0),
                                 {true},
                                 SubmissionStatus::Written,
                                 {kExportAsk + u" -> yes"_s, u"control report"_s, kWritten}}),
    [](const auto& p) { return std::string(p.param.name); });

// ------------------------------------------------------------------ the e-mail

struct MailCase {
    const char* name;
    OutputGateCounts counts;
    QList<bool> answers;
    SubmissionStatus status;
    QStringList steps;
    bool opened; // the link went to the desktop
};

class MailWorkflow : public ::testing::TestWithParam<MailCase> {};

TEST_P(MailWorkflow, AsksGatesWritesAndSends)
{
    const MailCase& c = GetParam();
    KeepCurrentFolder keep;
    Fixture f;
    writeAll(f.place.exportDir + u"1111111111111--070.zip"_s, "old");
    f.host.report = c.counts;
    f.messages.answers = c.answers;
    const SubmissionResult r =
        SendSubmissionByMail(f.tables, f.place, u"2audit@minfin.ru"_s, f.host, f.messages, f.urls);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(f.transcript(r), c.steps) << f.messages.log.join(u'|').toStdString();
    EXPECT_TRUE(f.messages.answers.isEmpty()) << "a scripted answer was not asked for";
    if (r.file.archivePath.isEmpty()) {
        // Held back before the folder was touched.
        EXPECT_EQ(f.files(), QStringList{u"1111111111111--070.zip"_s});
    } else {
        // Only the new archive is left to attach.
        EXPECT_EQ(f.files(), QStringList{QFileInfo(r.file.archivePath).fileName()});
    }
    ASSERT_EQ(f.urls.opened.size(), c.opened ? 1 : 0);
    if (!c.opened)
        return;
    EXPECT_EQ(QDir(f.urls.folder).canonicalPath(), QDir(f.place.exportDir).canonicalPath());
    const DecodedMailTo mail = decodeMailTo(f.urls.opened[0].toEncoded());
    EXPECT_EQ(mail.address, u"2audit@minfin.ru"_s);
    EXPECT_EQ(mail.values(u"subject"_s), QStringList{kMailSubject});
    const QStringList body = mail.values(u"body"_s);
    ASSERT_EQ(body.size(), 1);
    EXPECT_TRUE(body[0].startsWith(u"Добавьте к письму файл "_s +
                                   QDir::toNativeSeparators(r.file.archivePath) + u" "_s));
    EXPECT_TRUE(body[0].contains(u"Общество с ограниченной ответственностью \"Аудит-Плюс\"\r\n"_s));
    EXPECT_TRUE(body[0].contains(u"за 2009 год в электронном виде."_s));
    EXPECT_TRUE(
        body[0].endsWith(u"Руководитель аудиторской организации      Иванов Иван Иванович"_s));
}

const QString kMailWarnAsk =
    u"Предупреждение? В данных отчёта есть предупреждения (всего - 1).\n\rПоказать предупреждения"_s;

INSTANTIATE_TEST_SUITE_P(
    Submission, MailWorkflow,
    ::testing::Values(
        MailCase{"NotPrinted",
                 counts(0, 0),
                 {false},
                 SubmissionStatus::Declined,
                 {kPrintedAsk + u" -> no"_s},
                 false},
        MailCase{"Errors",
                 counts(1, 0),
                 {true},
                 SubmissionStatus::Held,
                 {kPrintedAsk + u" -> yes"_s, u"control report"_s, u"first record 0"_s,
                  u"Сообщение: В данных отчёта есть ошибки (всего - 1).\n\rПеред отправкой отчёта "
                  u"необходимо устранить ошибки"_s},
                 false},
        MailCase{"WarningsShown",
                 counts(0, 1),
                 {true, true},
                 SubmissionStatus::Held,
                 {kPrintedAsk + u" -> yes"_s, u"control report"_s, kMailWarnAsk + u" -> yes"_s,
                  u"first record 1"_s},
                 false},
        MailCase{"NotSent",
                 counts(0, 1),
                 {true, false, false},
                 SubmissionStatus::NotSent,
                 {kPrintedAsk + u" -> yes"_s, u"control report"_s, kMailWarnAsk + u" -> no"_s,
                  kSendAsk + u" -> no"_s},
                 false},
        MailCase{"Sent",
                 counts(0, 0),
                 {true, true},
                 SubmissionStatus::Written,
                 {kPrintedAsk + u" -> yes"_s, u"control report"_s, kSendAsk + u" -> yes"_s,
                  kMailFallback},
                 true}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(MailWorkflowFailure, FolderGoneBeforeSendingIsReportedAndNothingIsSent)
{
    KeepCurrentFolder keep;
    Fixture f;
    f.messages.answers = {true, true};
    // The folder disappears while the sending question is open.
    f.messages.onQuestion = [&](const QString& q) {
        if (q.startsWith(u"Сформирован"_s))
            QDir(f.place.exportDir).removeRecursively();
    };
    try {
        SendSubmissionByMail(f.tables, f.place, u"2audit@minfin.ru"_s, f.host, f.messages, f.urls);
        FAIL() << "the mail went on without its folder";
    } catch (const UserError& e) {
        EXPECT_EQ(e.message(), u"Не удалось перейти в папку «%1»"_s.arg(
                                   QDir::toNativeSeparators(f.place.exportDir)));
    }
    EXPECT_TRUE(f.urls.opened.isEmpty());
    EXPECT_EQ(f.messages.infos, QStringList{}); // no notice as if it had been sent
}

// ------------------------------------------------------------------ the command line's export

enum class Report { Consistent, WarningsOnly, Empty };

std::vector<Cell> cellsOf(Report report)
{
    std::vector<Cell> out;
    if (report == Report::Empty)
        return out; // requisites and figures missing: the control finds errors
    out = validRekvizity();
    for (const Cell& c : consistentFigures())
        // Section 1 alone: the other sections are warned about as not filled in.
        if (report == Report::Consistent || c.pos == PosRazdel1 || c.pos == PosQualityTest)
            out.push_back(c);
    return out;
}

struct BatchCase {
    const char* name;
    Report report;
    bool force;
    SubmissionStatus status;
    bool forced;
};

class BatchWorkflow : public ::testing::TestWithParam<BatchCase> {};

TEST_P(BatchWorkflow, ErrorsHoldTheArchiveBackUnlessForced)
{
    const BatchCase& c = GetParam();
    QTemporaryDir dir;
    ReportTables tables;
    setCells(tables, cellsOf(c.report));
    const SubmissionPlace place{dir.path() + u"/out"_s, kTestYear};
    const ControlEnv env{kTestToday, nullptr, kTestYear};
    const SubmissionResult r = BatchSubmission(tables, place, env, c.force);

    // The counts are those of the control run over the whole report.
    ReportTables again;
    setCells(again, cellsOf(c.report));
    const ControlCounts expected = runControl(again);
    EXPECT_EQ(r.counts.errors, expected.AllErrCount);
    EXPECT_EQ(r.counts.warnings, expected.AllWarnCount);
    EXPECT_EQ(r.counts.errors > 0, c.report == Report::Empty);
    EXPECT_EQ(r.counts.warnings > 0, c.report != Report::Consistent);
    EXPECT_EQ(tables.err().recordCount(), again.err().recordCount());

    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.forced, c.forced);
    const QStringList files = QDir(place.exportDir).entryList(QDir::Files);
    if (c.status != SubmissionStatus::Written) {
        EXPECT_TRUE(files.isEmpty());
        EXPECT_TRUE(r.file.archivePath.isEmpty());
        return;
    }
    // The archive alone is left; its text, unpacked with the password, has the checksum.
    ASSERT_EQ(files, QStringList{QFileInfo(r.file.archivePath).fileName()});
    const auto unpacked =
        UnZipRepFile(r.file.archivePath, dir.path() + u"/check/"_s, RepZipPassword);
    ASSERT_EQ(unpacked.size(), 1);
    EXPECT_EQ(FileCRCText(unpacked[0].path), r.file.checksum);
    EXPECT_EQ(readAll(unpacked[0].path), RepFileBytes(tables));
}

INSTANTIATE_TEST_SUITE_P(
    Submission, BatchWorkflow,
    ::testing::Values(
        BatchCase{"Clean", Report::Consistent, false, SubmissionStatus::Written, false},
        BatchCase{"CleanForced", Report::Consistent, true, SubmissionStatus::Written, false},
        // Warnings never hold the archive back: nobody is there to look at them.
        BatchCase{"Warnings", Report::WarningsOnly, false, SubmissionStatus::Written, false},
        BatchCase{"Errors", Report::Empty, false, SubmissionStatus::Held, false},
        BatchCase{"ErrorsForced", Report::Empty, true, SubmissionStatus::Written, true}),
    [](const auto& p) { return std::string(p.param.name); });

} // namespace
