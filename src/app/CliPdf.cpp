// form2audit-cli pdf --out FILE [--draft] [--force] [--templates DIR]: the printed form
// as a PDF file.
#include "app/CliCheck.h"
#include "app/CliCommands.h"
#include "app/CliOptions.h"
#include "control/Control.h"
#include "model/MessageBoxes.h"
#include "model/ReportTables.h"
#include "model/Settings.h"
#include "model/Totals.h"
#include "output/ExportFile.h"
#include "print/OfficeModule.h"
#include "print/PrintReport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Messages of the print go to standard error; nobody answers questions.
class CliMessages final : public MessageBoxes {
public:
    void InfoBox(const QString& text, const QString&) override
    {
        lines << QString(text).replace(u"\n\r"_s, u" "_s);
    }
    bool AskYesNo(const QString& text, const QString&) override
    {
        lines << text;
        return false;
    }
    QStringList lines;
};

// The "preview" of the command line: the PDF copied to the requested file.
class CopyToFile final : public PrintPreview {
public:
    explicit CopyToFile(QString target) : m_target(std::move(target)) {}
    void show(const QString& pdfPath, const QString&) override
    {
        QFile::remove(m_target);
        if (!QFile::copy(pdfPath, m_target))
            throw SpreadsheetError(u"Не удалось записать файл "_s +
                                   QDir::toNativeSeparators(m_target));
    }

private:
    QString m_target;
};

int cmdPdf(const CliOptions& o)
{
    if (!o.positional.isEmpty())
        throw UsageError(u"Лишние аргументы: %1"_s.arg(o.positional.join(u' ')));
    if (o.outDir.isEmpty())
        throw UsageError(u"Команде pdf нужен параметр --out ФАЙЛ"_s);
    const QString target = QFileInfo(o.outDir).absoluteFilePath();
    const AppPaths paths = o.paths();
    // Without LibreOffice the command cannot work at all: say so before anything else.
    OfficeModule office(paths.OfficeModuleFileName(), OfficeConfig{{}, paths.TempDir(), 20000});
    try {
        office.office();
    } catch (const SpreadsheetError& e) {
        err(e.message());
        err(u"Команде pdf нужен LibreOffice Calc (пакет libreoffice-calc)"_s);
        return 2;
    }
    ReportTables tables;
    loadReport(tables, paths, o.year);

    const PrintMode mode = o.draft ? PrintMode::Preview : PrintMode::Final;
    if (mode == PrintMode::Final) {
        const std::optional<Settings> settings = settingsOption(o);
        const ControlEnv env{o.today, settings ? &*settings : nullptr, o.year};
        ControlCounts counts;
        int errors = 0;
        int warnings = 0;
        ControlAllRazdels(tables, tables.err(), counts, env, errors, warnings);
        if (errors > 0 && !o.force) {
            printErrorList(tables.err());
            printErrorSummary(errors, warnings);
            return 1;
        }
    } else {
        CalcAllRazdels(tables);
    }

    CliMessages messages;
    CopyToFile preview(target);
    bool printed = false;
    try {
        const auto app = office.newApp();
        printed =
            PrintRepExcel(tables, paths, o.year, mode, *app, messages, preview, o.templatesDir);
    } catch (const SpreadsheetError& e) {
        err(e.message());
        return 2;
    }
    if (!printed) {
        for (const QString& line : messages.lines)
            err(line);
        return 2;
    }
    out(u"pdf: "_s + QDir::toNativeSeparators(target));
    if (mode == PrintMode::Final)
        out(u"checksum: "_s +
            MakeRepFile(tables, paths, o.year, RepFileMode::ChecksumOnly).checksum);
    return 0;
}

} // namespace

static CliCommandRegistrar reg(u"pdf"_s, cmdPdf);
