#pragma once

#include <QDate>

// Today's date, injected so that everything depending on the calendar (the reporting
// year above all) can be driven by tests and by the command line's --today.
class Clock {
public:
    virtual ~Clock();
    virtual QDate today() const = 0;
};

// The computer's calendar.
class SystemClock final : public Clock {
public:
    QDate today() const override;
};

// A date set by hand.
class FixedClock final : public Clock {
public:
    explicit FixedClock(const QDate& date) : m_date(date) {}
    QDate today() const override { return m_date; }
    void setToday(const QDate& date) { m_date = date; }

private:
    QDate m_date;
};
