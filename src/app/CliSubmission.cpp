#include "app/CliCheck.h"
#include "app/CliCommands.h"
#include "app/CliOptions.h"
#include "control/Control.h"
#include "model/ReportTables.h"
#include "model/Settings.h"
#include "model/Totals.h"
#include "output/Crc32.h"
#include "output/ExportFile.h"
#include "output/Submission.h"
#include "output/ZipPack.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

void noPositional(const CliOptions& o)
{
    if (!o.positional.isEmpty())
        throw UsageError(u"Лишние аргументы: %1"_s.arg(o.positional.join(u' ')));
}

QString oneFile(const CliOptions& o)
{
    if (o.positional.size() != 1)
        throw UsageError(u"Команде %1 нужен ровно один файл"_s.arg(o.command));
    return o.positional[0];
}

// The export text as the submission carries it, on standard output.
int cmdText(const CliOptions& o)
{
    noPositional(o);
    ReportTables tables;
    loadReport(tables, o.paths(), o.year);
    CalcAllRazdels(tables);
    outBytes(RepFileBytes(tables));
    return 0;
}

// The submission archive in --out, behind the same control gate as the application's.
int cmdExport(const CliOptions& o)
{
    noPositional(o);
    if (o.outDir.isEmpty())
        throw UsageError(u"Команде export нужен параметр --out ПАПКА"_s);
    ReportTables tables;
    loadReport(tables, o.paths(), o.year);

    const std::optional<Settings> settings = settingsOption(o);
    const ControlEnv env{o.today, settings ? &*settings : nullptr, o.year};
    const SubmissionResult result =
        BatchSubmission(tables, {QDir(o.outDir).absolutePath(), o.year}, env, o.force);
    if (result.status != SubmissionStatus::Written) {
        printErrorList(tables.err());
        printErrorSummary(result.counts.errors, result.counts.warnings);
        return 1;
    }
    if (result.forced)
        err(u"В данных отчёта есть ошибки (всего - %1): архив создан по --force"_s.arg(
            result.counts.errors));
    out(u"archive: "_s + QDir::toNativeSeparators(result.file.archivePath));
    out(u"checksum: "_s + result.file.checksum);
    return 0;
}

int cmdCrc(const CliOptions& o)
{
    out(FileCRCText(oneFile(o)));
    return 0;
}

int cmdUnzip(const CliOptions& o)
{
    const QString archive = oneFile(o);
    if (o.toDir.isEmpty())
        throw UsageError(u"Команде unzip нужен параметр --to ПАПКА"_s);
    // Only the folder part of the target path counts.
    const auto files = UnZipRepFile(archive, QDir(o.toDir).absolutePath() + u'/', RepZipPassword);
    for (const UnzippedFile& f : files)
        out(f.name + u'\t' + FileCRCText(f.path));
    return 0;
}

} // namespace

static CliCommandRegistrar regText(u"text"_s, cmdText);
static CliCommandRegistrar regExport(u"export"_s, cmdExport);
static CliCommandRegistrar regCrc(u"crc"_s, cmdCrc);
static CliCommandRegistrar regUnzip(u"unzip"_s, cmdUnzip);
