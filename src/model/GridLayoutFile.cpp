#include "model/GridLayoutFile.h"

#include "model/AppPaths.h"
#include "model/FormatSettings.h"
#include "model/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSettings>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// More columns than any grid of the form has: such a count can only come from damage.
constexpr int kMaxColumns = 1000;

QString columnKey(int n, QStringView entry)
{
    return u"Column%1_%2"_s.arg(n).arg(entry);
}

// A plain value as written by writeGridLayout; lists and other variants are damage.
std::optional<QString> readText(const QSettings& settings, const QString& key)
{
    const QVariant value = settings.value(key);
    if (value.metaType().id() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

std::optional<int> readInt(const QSettings& settings, const QString& key, int min, int max)
{
    const auto text = readText(settings, key);
    if (!text)
        return std::nullopt;
    const auto number = parseInt(*text);
    if (!number || *number < min || *number > max)
        return std::nullopt;
    return number;
}

std::optional<bool> readBool(const QSettings& settings, const QString& key)
{
    const auto text = readText(settings, key);
    if (!text)
        return std::nullopt;
    if (text->compare(u"TRUE"_s, Qt::CaseInsensitive) == 0)
        return true;
    if (text->compare(u"FALSE"_s, Qt::CaseInsensitive) == 0)
        return false;
    const auto number = parseInt(*text);
    if (!number)
        return std::nullopt;
    return *number != 0;
}

std::optional<GridColumnLayout> readColumn(const QSettings& settings, int n)
{
    GridColumnLayout column;
    const auto field = readText(settings, columnKey(n, u"Field"));
    const auto width =
        readInt(settings, columnKey(n, u"Width"), 0, std::numeric_limits<int>::max());
    const auto sort = readInt(settings, columnKey(n, u"Sort"), -1, 1);
    const auto visible = readBool(settings, columnKey(n, u"Visible"));
    if (!field || field->isEmpty() || !width || !sort || !visible)
        return std::nullopt;
    column.fieldName = *field;
    column.width = *width;
    column.sortMarker = *sort;
    column.visible = *visible;
    return column;
}

QSet<QString> fieldNames(const GridLayout& layout)
{
    QSet<QString> names;
    for (const GridColumnLayout& column : layout.columns)
        names.insert(column.fieldName);
    return names;
}

} // namespace

void writeGridLayout(const QString& file, const QString& section, const GridLayout& layout)
{
    QSettings settings(file, QSettings::IniFormat);
    // Erasing first keeps entries of columns no longer in the layout from lingering.
    settings.remove(section);
    settings.beginGroup(section);
    settings.setValue(u"ColumnCount"_s, QString::number(layout.columns.size()));
    settings.setValue(u"RowHeight"_s, QString::number(layout.rowHeight));
    for (qsizetype i = 0; i < layout.columns.size(); ++i) {
        const GridColumnLayout& column = layout.columns[i];
        const int n = static_cast<int>(i) + 1;
        settings.setValue(columnKey(n, u"Field"), column.fieldName);
        settings.setValue(columnKey(n, u"Width"), QString::number(column.width));
        settings.setValue(columnKey(n, u"Sort"), QString::number(column.sortMarker));
        settings.setValue(columnKey(n, u"Visible"), BooleanToStr(column.visible));
    }
    settings.endGroup();
    syncIniOrThrow(settings, file,
                   u"Не удалось сохранить параметры таблицы в файл «%1»"_s.arg(
                       QDir::toNativeSeparators(file)));
}

std::optional<GridLayout> readGridLayout(const QString& file, const QString& section)
{
    if (!QFileInfo(file).isFile())
        return std::nullopt;
    // QSettings::status() is no guide to damage here: it reports a format error only to the
    // object that parsed the file, and later objects share the parsed copy. Every entry is
    // checked instead, so a lost line means a missing entry and no layout.
    QSettings settings(file, QSettings::IniFormat);
    settings.beginGroup(section);

    const auto count = readInt(settings, u"ColumnCount"_s, 1, kMaxColumns);
    const auto rowHeight = readInt(settings, u"RowHeight"_s, 0, std::numeric_limits<int>::max());
    if (!count || !rowHeight)
        return std::nullopt;

    GridLayout layout;
    layout.rowHeight = *rowHeight;
    QSet<QString> seen;
    for (int n = 1; n <= *count; ++n) {
        auto column = readColumn(settings, n);
        if (!column || seen.contains(column->fieldName))
            return std::nullopt;
        seen.insert(column->fieldName);
        layout.columns.append(std::move(*column));
    }
    return layout;
}

bool RestoreGridLayout(GridLayoutHost* grid, const AppPaths& paths, const QString& code,
                       const QString& year)
{
    if (!grid)
        return false;
    const auto layout = readGridLayout(paths.GridLayoutFileName(code, year), code);
    if (!layout)
        return false;
    // A layout of other columns (another version of the form, a file copied by hand) would
    // be applied only in part.
    if (fieldNames(*layout) != fieldNames(grid->currentLayout()))
        return false;
    grid->applyLayout(*layout);
    return true;
}

bool SaveGridLayout(GridLayoutHost* grid, const AppPaths& paths, const QString& code,
                    const QString& year)
{
    if (!grid)
        return false;
    writeGridLayout(paths.GridLayoutFileName(code, year), code, grid->currentLayout());
    return true;
}
