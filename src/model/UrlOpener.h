#pragma once

#include <QUrl>

// Hands an address to the desktop ("mailto:" links, web sites).
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual bool open(const QUrl& url) = 0;
};
