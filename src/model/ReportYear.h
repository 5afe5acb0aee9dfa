#pragma once

#include <QDate>
#include <QString>

class Clock;

// The reporting year as four-digit text: from October on the current year, before
// October the year before (30.09.2009 -> "2008", 01.10.2009 -> "2009").
QString ReportYear(const QDate& today);
QString ReportYear(const Clock& clock);
