#include "AppPaths.h"
#include "Crc32.h"
#include "ExportFile.h"
#include "GuiErrors.h"
#include "MailSubmission.h"
#include "Razdels.h"
#include "TMainF.h"
#include "UrlOpener.h"
#include "ZipPack.h"

#include <QAction>
#include <QDir>
#include <QUrl>

using namespace Qt::StringLiterals;

void TMainF::Act_ExportExecute()
{
    if (!AskYesNo(u"Вы действительно хотите создать файл для передачи в Минфин"_s,
                  u"Предупреждение"_s))
        return;
    if (!ControlBeforeOutput(OutputKind::Export))
        return;
    const RepFileResult r = MakeRepFile(m_tables, m_paths, m_reportYear, RepFileMode::Submission);
    InfoBox(RepFileMessage(r.archivePath), u"Сообщение"_s);
    printReport(true);
}

void TMainF::SendMailTo(const QString& address, const QString& subject, const QString& body)
{
    // The link is encoded already: strict parsing keeps every escape as it is. The desktop's
    // handler gets it; its answer is not examined.
    m_platform.urls->open(QUrl::fromEncoded(MailToLink(address, subject, body), QUrl::StrictMode));
}

void TMainF::Act_SendRepToMailExecute()
{
    if (!AskYesNo(
            u"Перед отправкой отчёта по электронной почте, надо напечатать его.\n\rВы напечатали отчёт"_s,
            u"Предупреждение"_s))
        return;
    if (!ControlBeforeOutput(OutputKind::Mail))
        return;
    const QString exportDir = m_paths.ExportDir();
    ClearDir(exportDir);
    const RepFileResult r = MakeRepFile(m_tables, m_paths, m_reportYear, RepFileMode::Submission);
    const QString address = m_settings.GetEmailForRep();
    const QString archive = QDir::toNativeSeparators(r.archivePath);
    if (!AskYesNo(u"Сформирован Файл отчёта для отправки в Минфин:\n\r"_s + archive +
                      u"\n\r\n\r"_s + u"Отправить его по электронному адресу: "_s + address,
                  u"Предупреждение"_s))
        return;
    auto k = m_tables.razdel(PosRekvizity)->clone();
    const bool isUrLico = k->fieldByName(u"IsUrLico"_s).asBoolean();
    const QString letter =
        ComposeCoveringLetter(archive, k->fieldByName(u"FullName"_s).asString(), isUrLico,
                              k->fieldByName(u"rukovod"_s).asString(), m_reportYear);
    if (!QDir::setCurrent(exportDir))
        throw DataSetError(
            u"Не удалось перейти в папку «%1»"_s.arg(QDir::toNativeSeparators(exportDir)));
    SendMailTo(address, kMailSubject, letter);
    InfoBox(
        u"Если не удалось отослать отчёт по электронной почте из программы,\n\rотправьте самостоятельно файл:\n\r"_s +
            archive + u"\n\r"_s + u"по электронному адресу: "_s + address,
        u"Сообщение"_s);
}

void TMainF::Act_TestSrcExecute()
{
    const QString archive = m_paths.ExportDir() + u"1333333339955--080.zip"_s;
    UnZipRepFile(archive, archive, RepZipPassword);
    InfoBox(FileCRCText(StripExtension(archive) + u".txt"_s), u"Сообщение"_s);
}
