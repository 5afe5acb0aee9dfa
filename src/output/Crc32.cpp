#include "output/Crc32.h"

#include "output/ArchiveError.h"

#include <QDir>
#include <QFile>
#include <zlib.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kBlockSize = 65536;

[[noreturn]] void readError(const QString& path, const QString& reason)
{
    throw ArchiveError(
        u"Не удалось прочитать файл «%1»: %2"_s.arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

quint32 UpdateCRC32(quint32 crc, const void* bytes, qint64 count)
{
    // zlib inverts the register on entry and exit; undo both to keep the raw register.
    // (zlib also answers its initial value for a null buffer, so no bytes is handled here.)
    if (count <= 0 || bytes == nullptr)
        return crc;
    return ~quint32(crc32_z(~crc, static_cast<const Bytef*>(bytes), z_size_t(count)));
}

quint32 FileCRC32(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        readError(path, file.errorString());
    quint32 crc = 0xFFFFFFFFu;
    QByteArray buffer(kBlockSize, Qt::Uninitialized);
    for (;;) {
        const qint64 n = file.read(buffer.data(), buffer.size());
        if (n < 0)
            readError(path, file.errorString());
        if (n == 0)
            break;
        crc = UpdateCRC32(crc, buffer.constData(), n);
    }
    return ~crc;
}

QString CRCText(quint32 crc)
{
    return u"%1"_s.arg(crc, 8, 16, QChar(u'0')).toUpper();
}

QString FileCRCText(const QString& path)
{
    return CRCText(FileCRC32(path));
}
