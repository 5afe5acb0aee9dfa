#pragma once

#include "model/UrlOpener.h"

#include <QDir>
#include <QList>
#include <QString>
#include <QUrl>

// The desktop as the tests see it: every address handed over, and the working folder at
// the time (the mail program looks for the attachment there).
class RecordingUrls final : public UrlOpener {
public:
    QList<QUrl> opened;
    QString folder;
    bool succeed = true; // the desktop's answer
    bool open(const QUrl& url) override
    {
        opened << url;
        folder = QDir::currentPath();
        return succeed;
    }
};
