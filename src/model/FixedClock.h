#pragma once

#include "model/Clock.h"

// A date set by hand.
class FixedClock final : public Clock {
public:
    explicit FixedClock(const QDate& date) : m_date(date) {}
    QDate today() const override { return m_date; }
    void setToday(const QDate& date) { m_date = date; }

private:
    QDate m_date;
};
