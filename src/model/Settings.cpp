#include "model/Settings.h"

#include "model/DataSetError.h"
#include "model/FormatSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString kParms = u"Parms"_s;

// QSettings keeps the keys of an INI "[General]" section at its top level.
QString groupOf(const QString& section)
{
    return section.compare(u"General"_s, Qt::CaseInsensitive) == 0 ? QString() : section;
}

QString joinPath(const QString& group, const QString& key)
{
    return group.isEmpty() ? key : group + u'/' + key;
}

std::optional<QString> findKeyIn(QSettings& settings, const QString& group, const QString& key)
{
    if (!group.isEmpty())
        settings.beginGroup(group);
    std::optional<QString> found;
    if (settings.contains(key)) {
        found = key;
    } else {
        const QStringList keys = settings.childKeys();
        for (const QString& k : keys) {
            if (k.compare(key, Qt::CaseInsensitive) == 0) {
                found = k;
                break;
            }
        }
    }
    if (!group.isEmpty())
        settings.endGroup();
    if (found)
        return joinPath(group, *found);
    return std::nullopt;
}

// The full QSettings path of an existing key: exact spelling first, then any letter case.
std::optional<QString> findKey(QSettings& settings, const QString& section, const QString& key)
{
    const QString group = groupOf(section);
    if (const auto path = findKeyIn(settings, group, key))
        return path;
    if (group.isEmpty())
        return std::nullopt;
    const QStringList groups = settings.childGroups();
    for (const QString& g : groups) {
        if (g != group && g.compare(group, Qt::CaseInsensitive) == 0) {
            if (const auto path = findKeyIn(settings, g, key))
                return path;
        }
    }
    return std::nullopt;
}

QString valueText(const QVariant& value)
{
    // QSettings splits an unquoted value at its commas; give the text back in one piece.
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(u", "_s);
    return value.toString();
}

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// QSettings reports only "access error"; look at the file and its folder for a reason
// the user can act on.
QString writeFailureReason(const QString& file)
{
    const QFileInfo info(file);
    const QFileInfo dir(info.absolutePath());
    if (!dir.exists())
        return u"папка «%1» не существует"_s.arg(nativePath(dir.absoluteFilePath()));
    if (!dir.isDir())
        return u"«%1» не является папкой"_s.arg(nativePath(dir.absoluteFilePath()));
    if (info.isDir())
        return u"на месте файла находится папка"_s;
    if (info.exists() && !info.isWritable())
        return u"файл доступен только для чтения"_s;
    if (!dir.isWritable())
        return u"нет права записи в папку «%1»"_s.arg(nativePath(dir.absoluteFilePath()));
    return u"ошибка записи на диск (возможно, диск переполнен)"_s;
}

} // namespace

QString IniRead(const QString& file, const QString& section, const QString& key, const QString& def)
{
    QSettings settings(file, QSettings::IniFormat);
    const auto path = findKey(settings, section, key);
    return path ? valueText(settings.value(*path)) : def;
}

void IniWrite(const QString& file, const QString& section, const QString& key, const QString& value)
{
    QSettings settings(file, QSettings::IniFormat);
    // A key spelled in another letter case is overwritten rather than doubled.
    const QString path = findKey(settings, section, key).value_or(joinPath(groupOf(section), key));
    settings.setValue(path, value);
    syncIniOrThrow(settings, file,
                   u"Не удалось записать файл настроек «%1»"_s.arg(nativePath(file)));
}

void syncIniOrThrow(QSettings& settings, const QString& file, const QString& failureText)
{
    // The status keeps the first error only, so a format error found while reading would
    // hide a failed write; check beforehand too. The file is replaced through a temporary
    // file beside it, so the folder must be writable as well as the file.
    // (QSettings::isWritable() also creates a missing folder.)
    if (!settings.isWritable() || !QFileInfo(QFileInfo(file).absolutePath()).isWritable())
        throw DataSetError(failureText + u": "_s + writeFailureReason(file));
    settings.sync();
    // A format error alone means lines QSettings could not parse; the file was still written.
    if (settings.status() == QSettings::AccessError)
        throw DataSetError(failureText + u": "_s + writeFailureReason(file));
}

bool StrToBoolean(const QString& text)
{
    if (text.compare(u"FALSE"_s, Qt::CaseInsensitive) == 0)
        return false;
    if (text.compare(u"TRUE"_s, Qt::CaseInsensitive) == 0)
        return true;
    const std::optional<int> number = parseInt(text);
    return number && *number != 0;
}

QString BooleanToStr(bool value)
{
    return value ? u"1"_s : u"0"_s;
}

Settings::Settings(const QString& iniFileName, const QString& reportYear)
    : m_iniFileName(iniFileName), m_reportYear(reportYear)
{
}

QString Settings::read(const QString& section, const QString& key, const QString& def) const
{
    return IniRead(m_iniFileName, section, key, def);
}

void Settings::write(const QString& section, const QString& key, const QString& value)
{
    IniWrite(m_iniFileName, section, key, value);
}

bool Settings::GetFirstTimeRazdel02() const
{
    return StrToBoolean(read(kParms, u"FirstTime_Razdel02"_s, u"1"_s));
}

void Settings::SetFirstTimeRazdel02(bool value)
{
    write(kParms, u"FirstTime_Razdel02"_s, BooleanToStr(value));
}

void Settings::SetFirstTime(bool value)
{
    write(kParms, u"FirstTime"_s, BooleanToStr(value));
}

bool Settings::GetMayRedaktData() const
{
    return StrToBoolean(read(m_reportYear, u"MayRedaktData"_s, u"1"_s));
}

void Settings::SetMayRedaktData(bool value)
{
    write(m_reportYear, u"MayRedaktData"_s, BooleanToStr(value));
}

QString Settings::GetYearVstuplenMin() const
{
    return read(kParms, u"YearVstuplen_Min"_s, u"1990"_s);
}

QString Settings::GetYearVstuplenMax() const
{
    return read(kParms, u"YearVstuplen_Max"_s, m_reportYear);
}

bool Settings::GetCarryOverDeclined() const
{
    return StrToBoolean(read(m_reportYear, u"CarryOverDeclined"_s, u"0"_s));
}

void Settings::SetCarryOverDeclined(bool value)
{
    write(m_reportYear, u"CarryOverDeclined"_s, BooleanToStr(value));
}

void Settings::SaveYearOfRep(const QString& year)
{
    write(kParms, u"YearOfRep"_s, year);
}

bool Settings::GetPreStartOffice() const
{
    // Only a plain "no" turns it off; anything else keeps the faster first print.
    const QString value = read(kParms, u"PreStartOffice"_s, u"1"_s).trimmed();
    return !(value == u"0"_s || value.compare(u"FALSE"_s, Qt::CaseInsensitive) == 0);
}

QString Settings::GetEmailForRep() const
{
    return read(kParms, u"Email_ForRep"_s, u"2audit@minfin.ru"_s);
}
