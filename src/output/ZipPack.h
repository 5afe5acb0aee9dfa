#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The password of the submission archive.
inline const QString RepZipPassword = QStringLiteral("vazu");

// Packs one file into a new archive beside it: the file's path without its extension
// + ".zip", one entry named after the file, deflate level 1, traditional PKWARE
// encryption unless the password is blank. An archive of that name is replaced only once
// the new one is complete. Answers the archive's path; throws ArchiveError.
QString ZipRepFile(const QString& filePath, const QString& password);

struct UnzippedFile {
    QString name; // the entry's name
    QString path; // where it was written
};

// Unpacks every entry of an archive into the folder of `targetFilePath` (only its folder
// part is used), replacing existing files and creating that folder and the folders that
// entry names hold.
// An archive holding a name that would leave that folder is refused before anything is
// written. Each file is written under a temporary name and renamed only once its content
// has been read whole and its CRC checked, so a wrong password leaves no partial file.
// Throws ArchiveError; a missing archive is reported and not created.
QList<UnzippedFile> UnZipRepFile(const QString& archivePath, const QString& targetFilePath,
                                 const QString& password);

// False for an entry name that is absolute, holds a drive or stream colon, a backslash
// or a ".." part.
bool isSafeEntryName(const QString& name);

// Bounds for reading an archive that may come from anyone: a submission text is a few
// kilobytes, so anything far larger is refused before it is inflated.
struct ZipLimits {
    qint64 maxArchiveBytes = 16 * 1024 * 1024; // the archive file itself
    qint64 maxEntryBytes = 4 * 1024 * 1024;    // the unpacked text
    qint64 maxRatio = 200;                     // unpacked : packed, above 64 KiB unpacked
};

struct ArchivedText {
    QString entryName;
    QByteArray bytes;
};

// Reads the only entry of a submission archive into memory; nothing is written to disk.
// Refuses, with a Russian reason in ArchiveError: a missing or oversized archive, a
// count of entries other than one, a folder entry, an entry name that would leave the
// folder, an entry stored without a password when `requirePassword` is set, a wrong
// password, a damaged entry and an entry larger than the limits (whatever its header
// claims).
ArchivedText ReadRepArchive(const QString& archivePath, const QString& password,
                            bool requirePassword, const ZipLimits& limits = {});
