#include "model/Clock.h"

Clock::~Clock() = default;

QDate SystemClock::today() const
{
    return QDate::currentDate();
}
