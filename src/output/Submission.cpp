#include "output/Submission.h"

#include "control/Control.h"
#include "model/DataSet.h"
#include "model/MessageBoxes.h"
#include "model/Razdels.h"
#include "model/ReportTables.h"
#include "model/UrlOpener.h"
#include "model/UserError.h"
#include "output/MailSubmission.h"

#include <QDir>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

const QString kMsgCaption = u"Сообщение"_s;
const QString kAskCaption = u"Предупреждение"_s;

// The step every submission shares once its gate has let it through.
SubmissionResult writeArchive(const ReportTables& tables, const SubmissionPlace& place)
{
    SubmissionResult r;
    r.file = MakeRepFile(tables, place.exportDir, QString(), place.year, RepFileMode::Submission);
    r.status = SubmissionStatus::Written;
    return r;
}

SubmissionResult held()
{
    SubmissionResult r;
    r.status = SubmissionStatus::Held;
    return r;
}

QString coveringLetter(const ReportTables& tables, const QString& archive, const QString& year)
{
    auto k = tables.razdel(PosRekvizity)->clone();
    return ComposeCoveringLetter(archive, k->fieldByName(u"FullName"_s).asString(),
                                 k->fieldByName(u"IsUrLico"_s).asBoolean(),
                                 k->fieldByName(u"rukovod"_s).asString(), year);
}

} // namespace

SubmissionResult ExportSubmission(const ReportTables& tables, const SubmissionPlace& place,
                                  GateHost& host, MessageBoxes& messages)
{
    if (!messages.AskYesNo(u"Вы действительно хотите создать файл для передачи в Минфин"_s,
                           kAskCaption))
        return {};
    if (!OutputGate(OutputKind::Export, host, messages))
        return held();
    SubmissionResult r = writeArchive(tables, place);
    messages.InfoBox(RepFileMessage(r.file.archivePath), kMsgCaption);
    return r;
}

SubmissionResult SendSubmissionByMail(const ReportTables& tables, const SubmissionPlace& place,
                                      const QString& address, GateHost& host,
                                      MessageBoxes& messages, UrlOpener& urls)
{
    if (!messages.AskYesNo(
            u"Перед отправкой отчёта по электронной почте, надо напечатать его.\n\rВы напечатали отчёт"_s,
            kAskCaption))
        return {};
    if (!OutputGate(OutputKind::Mail, host, messages))
        return held();
    // Only the new archive is left for the mail program to offer.
    ClearDir(place.exportDir);
    SubmissionResult r = writeArchive(tables, place);
    const QString archive = QDir::toNativeSeparators(r.file.archivePath);
    if (!messages.AskYesNo(u"Сформирован Файл отчёта для отправки в Минфин:\n\r"_s + archive +
                               u"\n\r\n\r"_s + u"Отправить его по электронному адресу: "_s +
                               address,
                           kAskCaption)) {
        r.status = SubmissionStatus::NotSent;
        return r;
    }
    const QString letter = coveringLetter(tables, archive, place.year);
    if (!QDir::setCurrent(place.exportDir))
        throw UserError(
            u"Не удалось перейти в папку «%1»"_s.arg(QDir::toNativeSeparators(place.exportDir)));
    // The link is encoded already: strict parsing keeps every escape as it is. The desktop's
    // answer is not examined; the notice below covers a mail program that did not open.
    urls.open(QUrl::fromEncoded(MailToLink(address, kMailSubject, letter), QUrl::StrictMode));
    messages.InfoBox(
        u"Если не удалось отослать отчёт по электронной почте из программы,\n\rотправьте самостоятельно файл:\n\r"_s +
            archive + u"\n\r"_s + u"по электронному адресу: "_s + address,
        kMsgCaption);
    return r;
}

SubmissionResult BatchSubmission(ReportTables& tables, const SubmissionPlace& place,
                                 const ControlEnv& env, bool force)
{
    ControlCounts counts;
    int errors = 0;
    int warnings = 0;
    // The run recomputes every section's totals before checking it.
    ControlAllRazdels(tables, tables.err(), counts, env, errors, warnings);
    const OutputGateCounts c = OutputCountsOf(tables.err(), errors, warnings);
    SubmissionResult r = errors > 0 && !force ? held() : writeArchive(tables, place);
    r.counts = c;
    r.forced = r.status == SubmissionStatus::Written && errors > 0;
    return r;
}
