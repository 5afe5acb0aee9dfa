#include "model/ReportYear.h"

#include "model/Clock.h"

using namespace Qt::StringLiterals;

QString ReportYear(const QDate& today)
{
    // The report for a year is prepared from October of that year on.
    const int year = today.month() >= 10 ? today.year() : today.year() - 1;
    return u"%1"_s.arg(year, 4, 10, QChar(u'0'));
}

QString ReportYear(const Clock& clock)
{
    return ReportYear(clock.today());
}
