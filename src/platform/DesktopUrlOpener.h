#pragma once

#include "model/UrlOpener.h"

// The desktop's own handler for an address.
class DesktopUrlOpener final : public UrlOpener {
public:
    bool open(const QUrl& url) override;
};
