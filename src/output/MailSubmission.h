#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

inline const QString kMailSubject = QStringLiteral("Отчёт по форме № 2-аудит");

// The covering letter of the e-mail submission as the mail program shows it: plain text,
// lines ended by CR LF (the line break of mail bodies).
QString ComposeCoveringLetter(const QString& archivePath, const QString& fullName, bool isUrLico,
                              const QString& rukovod, const QString& year);
// The encoded "mailto:" link: address, "?subject=", "&body=", each value percent-encoded as
// UTF-8, so that "%", "&", "#", "?", "+" or "=" inside a value stay part of it. Hand it to
// the desktop without re-encoding (QUrl::fromEncoded in strict mode).
QByteArray MailToLink(const QString& address, const QString& subject, const QString& body);

// Names of the files (not folders) of a folder matching a mask, hidden ones included.
QStringList ListDirFiles(const QString& folder, const QString& mask);
// Deletes every file of a folder; subfolders stay, undeletable files are left silently.
void ClearDir(const QString& folder);
