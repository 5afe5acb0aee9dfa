#pragma once

#include "platform/KeyboardLayout.h"

// The platform's own service (a no-op outside Windows).
class SystemKeyboardLayout final : public KeyboardLayout {
public:
    void activate(const QString& layoutId) override;
};
