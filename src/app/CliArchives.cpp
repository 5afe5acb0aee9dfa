// Many submission archives checked at once, on every core.

#include "app/CliCheck.h"
#include "app/CliCommands.h"
#include "app/CliOptions.h"
#include "model/Settings.h"
#include "output/ArchiveCheck.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Exit 0: all opened, no errors; 1: some report has errors; 2: some could not be read.
int cmdCheckArchives(const CliOptions& o)
{
    if (o.positional.isEmpty())
        throw UsageError(u"Команде check-archives нужны файлы или папки"_s);
    const std::optional<Settings> settings = settingsOption(o);
    QStringList missing;
    const QStringList files = FindRepArchives(o.positional, &missing);
    QList<ArchiveCheck> checks = CheckRepArchives(files, o.today, settings ? &*settings : nullptr);
    for (const QString& m : std::as_const(missing)) {
        ArchiveCheck c;
        c.path = m;
        c.reason = u"файл или папка не найдены"_s;
        checks << c;
    }
    for (const ArchiveCheck& c : std::as_const(checks))
        out(ArchiveCheckLine(c));
    out(ArchiveCheckSummary(checks));
    return ArchiveCheckExitCode(checks);
}

} // namespace

static CliCommandRegistrar regCheckArchives(u"check-archives"_s, cmdCheckArchives);
