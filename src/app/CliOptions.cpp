#include "app/CliOptions.h"

#include "model/ReportYear.h"

#include <QCoreApplication>
#include <QDir>

using namespace Qt::StringLiterals;

namespace {

bool isYear(const QString& text)
{
    if (text.size() != 4)
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

} // namespace

CliOptions CliOptions::parse(const QStringList& arguments)
{
    CliOptions o;
    QString yearText;
    QString todayText;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        auto valueOf = [&](const QString& name) -> QString {
            if (i + 1 >= arguments.size())
                throw UsageError(u"После %1 нужно значение"_s.arg(name));
            return arguments[++i];
        };
        if (a == u"--data"_s)
            o.dataDir = valueOf(a);
        else if (a == u"--year"_s)
            yearText = valueOf(a);
        else if (a == u"--today"_s)
            todayText = valueOf(a);
        else if (a == u"--settings"_s)
            o.settingsFile = valueOf(a);
        else if (a == u"--out"_s)
            o.outDir = valueOf(a);
        else if (a == u"--to"_s)
            o.toDir = valueOf(a);
        else if (a == u"--force"_s)
            o.force = true;
        else if (a == u"--draft"_s)
            o.draft = true;
        else if (a == u"--templates"_s)
            o.templatesDir = valueOf(a);
        else if (a == u"--help"_s || a == u"-h"_s)
            o.command = u"help"_s;
        else if (a == u"--version"_s)
            o.command = u"version"_s;
        else if (a.startsWith(u"--"_s))
            throw UsageError(u"Неизвестный параметр %1"_s.arg(a));
        else if (o.command.isEmpty())
            o.command = a;
        else
            o.positional << a;
    }
    if (o.command.isEmpty())
        throw UsageError(u"Не указана команда"_s);

    o.today = QDate::currentDate();
    if (!todayText.isEmpty()) {
        o.today = QDate::fromString(todayText, u"yyyy-MM-dd"_s);
        if (!o.today.isValid())
            throw UsageError(u"Неверная дата в --today: %1 (нужно ГГГГ-ММ-ДД)"_s.arg(todayText));
    }
    if (!yearText.isEmpty()) {
        if (!isYear(yearText))
            throw UsageError(u"Неверный год в --year: %1 (нужны четыре цифры)"_s.arg(yearText));
        o.year = yearText;
        o.yearGiven = true;
    } else {
        o.year = ReportYear(o.today);
    }
    return o;
}

AppPaths CliOptions::paths() const
{
    AppPaths p = AppPaths::forApplication();
    if (!dataDir.isEmpty())
        p.setDataDirOverride(dataDir);
    return p;
}
