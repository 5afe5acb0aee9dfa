#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct Entry {
    QByteArray name;
    QByteArray bytes;
};

// An archive written by libzip directly, with any entry names; deflated, and encrypted
// with the traditional method when a password is given.
void buildArchive(const QString& path, const QList<Entry>& entries, const char* password = nullptr);
