#include "output/Crc32.h"
#include "output/Submission.h"
#include "output/ZipPack.h"
#include "workspace/TMainF.h"

using namespace Qt::StringLiterals;

void TMainF::Act_ExportExecute()
{
    const auto gates = newGateHost();
    const SubmissionResult r = ExportSubmission(m_tables, {m_paths.ExportDir(), m_reportYear},
                                                *gates, *m_platform.messages);
    if (r.status == SubmissionStatus::Written)
        printReport(true);
}

void TMainF::Act_SendRepToMailExecute()
{
    const auto gates = newGateHost();
    SendSubmissionByMail(m_tables, {m_paths.ExportDir(), m_reportYear}, m_settings.GetEmailForRep(),
                         *gates, *m_platform.messages, *m_platform.urls);
}

void TMainF::Act_TestSrcExecute()
{
    const QString archive = m_paths.ExportDir() + u"1333333339955--080.zip"_s;
    UnZipRepFile(archive, archive, RepZipPassword);
    InfoBox(FileCRCText(StripExtension(archive) + u".txt"_s), u"Сообщение"_s);
}
