#include "app/CliCheck.h"

#include "app/CliCommands.h"
#include "app/CliOptions.h"
#include "control/Control.h"
#include "control/ErrorListText.h"
#include "model/ReportTables.h"
#include "model/Settings.h"

#include <QFileInfo>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Exit code 0 without errors (warnings allowed), 1 with at least one error.
int cmdCheck(const CliOptions& o)
{
    if (!o.positional.isEmpty())
        throw UsageError(u"Лишние аргументы: %1"_s.arg(o.positional.join(u' ')));
    const std::optional<Settings> settings = settingsOption(o);

    ReportTables tables;
    loadReport(tables, o.paths(), o.year);
    const ControlEnv env{o.today, settings ? &*settings : nullptr, o.year};
    ControlCounts counts;
    int errors = 0;
    int warnings = 0;
    ControlAllRazdels(tables, tables.err(), counts, env, errors, warnings);

    printErrorList(tables.err());
    printErrorSummary(errors, warnings);
    return errors > 0 ? 1 : 0;
}

static CliCommandRegistrar reg(u"check"_s, cmdCheck);

} // namespace

void printErrorList(DataSet& err)
{
    for (const QString& line : ErrorListLines(err))
        out(line);
}

void printErrorSummary(int errors, int warnings)
{
    out(ErrorListSummary(errors, warnings));
}

std::optional<Settings> settingsOption(const CliOptions& o)
{
    std::optional<Settings> settings;
    if (!o.settingsFile.isEmpty()) {
        const QFileInfo info(o.settingsFile);
        if (!info.isFile() || !info.isReadable())
            throw UsageError(u"Файл настроек не найден или не читается: %1"_s.arg(o.settingsFile));
        settings.emplace(o.settingsFile, o.year);
    }
    return settings;
}
