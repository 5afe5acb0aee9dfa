#pragma once

#include <QDate>

// Today's date, injected so that everything depending on the calendar (the reporting
// year above all) can be driven by tests and by the command line's --today.
class Clock {
public:
    virtual ~Clock();
    virtual QDate today() const = 0;
};
