#pragma once

#include <QString>
#include <QtGlobal>

// The CRC-32 of ZIP and zlib (reflected polynomial EDB88320). The running value is the
// raw register: start from FFFFFFFF and invert the final value.
quint32 UpdateCRC32(quint32 crc, const void* bytes, qint64 count);

// The checksum of a whole file; an empty file gives 0. Throws ArchiveError naming the
// file when it cannot be opened or read.
quint32 FileCRC32(const QString& path);

// A checksum as 8 upper-case hexadecimal digits, zero-filled.
QString CRCText(quint32 crc);
QString FileCRCText(const QString& path);
