#pragma once

#include "model/Clock.h"

// The computer's calendar.
class SystemClock final : public Clock {
public:
    QDate today() const override;
};
