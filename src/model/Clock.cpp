#include "model/Clock.h"
#include "model/SystemClock.h"

Clock::~Clock() = default;

QDate SystemClock::today() const
{
    return QDate::currentDate();
}
