#pragma once

#include <QString>
#include <QStringList>

inline const QString kMailSubject = QStringLiteral("Отчёт по форме № 2-аудит");

// The covering letter of the e-mail submission; "%0d" marks line breaks, double quotes
// are written as "%22".
QString ComposeCoveringLetter(const QString& archivePath, const QString& fullName, bool isUrLico,
                              const QString& rukovod, const QString& year);
// "mailto:" + address + "?subject=" + subject + "&body=" + body, joined as they are.
QString MailToLink(const QString& address, const QString& subject, const QString& body);

// Names of the files (not folders) of a folder matching a mask, hidden ones included.
QStringList ListDirFiles(const QString& folder, const QString& mask);
// Deletes every file of a folder; subfolders stay, undeletable files are left silently.
void ClearDir(const QString& folder);
