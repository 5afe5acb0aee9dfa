// Commands that move a report between years and machines: carry-over and import.

#include "app/CliCommands.h"
#include "app/CliOptions.h"
#include "model/CarryOver.h"
#include "model/ReportFiles.h"
#include "model/ReportTables.h"
#include "output/ExportImport.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Last year's report into this year's empty cells; exit 2 when last year has no files.
int cmdCarryOver(const CliOptions& o)
{
    if (!o.positional.isEmpty())
        throw UsageError(u"Лишние аргументы: %1"_s.arg(o.positional.join(u' ')));
    if (!o.yearGiven)
        throw UsageError(u"Команде carry-over нужен параметр --year ГГГГ"_s);
    const AppPaths paths = o.paths();
    const QString previous = PreviousYear(o.year);
    const auto result = CarryOverFiles(paths, o.year, CarryOverMode::EmptyCellsOnly);
    if (!result) {
        err(u"Нет файлов отчёта за %1 год в папке «%2»"_s.arg(previous, native(paths.DataDir())));
        return 2;
    }
    for (const QString& line : CarryOverLines(*result))
        out(line);
    out(CarryOverSummary(*result, previous));
    return 0;
}

// A report restored from its archive or export text into the section files of its year.
int cmdImport(const CliOptions& o)
{
    if (o.positional.size() != 1)
        throw UsageError(u"Команде import нужен ровно один файл (.zip или .txt)"_s);
    const QString file = o.positional[0];
    const RepSource source = ReadRepSource(file, false);
    QString year = o.year;
    if (!o.yearGiven) {
        year = RepSourceYear(source);
        if (year.isEmpty())
            throw UsageError(
                u"По имени файла «%1» не определить отчётный год: укажите --year"_s.arg(
                    native(file)));
    }
    ReportTables tables;
    QStringList notes;
    try {
        notes = ImportRepText(source.bytes, tables);
    } catch (const ImportError& e) {
        err(u"Файл «%1» не является файлом отчёта для Минфина: %2"_s.arg(native(file),
                                                                         e.message()));
        return 2;
    }
    const AppPaths paths = o.paths();
    const QStringList existing = ExistingReportFiles(paths, year);
    if (!existing.isEmpty() && !o.force) {
        err(u"В папке «%1» уже есть файлы отчёта за %2 год; чтобы заменить их (прежние будут "
            u"сохранены с окончанием .replaced), укажите --force"_s.arg(native(paths.DataDir()),
                                                                        year));
        return 2;
    }
    const ImportWriteResult written = WriteImportedReport(tables, paths, year);
    for (const QString& moved : written.movedAside)
        err(u"Прежний файл сохранён: "_s + native(moved));
    for (const QString& note : std::as_const(notes))
        err(u"Внимание: "_s + note);
    for (const QString& path : written.written)
        out(native(path));
    return 0;
}

} // namespace

static CliCommandRegistrar regCarryOver(u"carry-over"_s, cmdCarryOver);
static CliCommandRegistrar regImport(u"import"_s, cmdImport);
