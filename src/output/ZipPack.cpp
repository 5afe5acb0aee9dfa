#include "output/ZipPack.h"

#include "model/AppPaths.h"
#include "output/ArchiveError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <memory>
#include <zip.h>

using namespace Qt::StringLiterals;

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString errorText(zip_error_t* error)
{
    return QString::fromLocal8Bit(zip_error_strerror(error));
}

QString errorCodeText(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    QString text = errorText(&error);
    zip_error_fini(&error);
    return text;
}

struct ArchiveCloser {
    void operator()(zip_t* za) const { zip_discard(za); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

struct EntryCloser {
    void operator()(zip_file_t* zf) const { zip_fclose(zf); }
};
using Entry = std::unique_ptr<zip_file_t, EntryCloser>;

[[noreturn]] void packError(const QString& archive, const QString& reason)
{
    throw ArchiveError(u"Не удалось создать архив «%1»: %2"_s.arg(native(archive), reason));
}

[[noreturn]] void unpackError(const QString& archive, const QString& entry, const QString& reason)
{
    throw ArchiveError(
        u"Не удалось распаковать «%1» из архива «%2»: %3"_s.arg(entry, native(archive), reason));
}

[[noreturn]] void writeError(const QString& path, const QString& reason)
{
    throw ArchiveError(u"Не удалось записать файл «%1»: %2"_s.arg(native(path), reason));
}

QByteArray passwordBytes(const QString& password)
{
    return password.toUtf8();
}

// Reads one entry whole into `out`; the read fails on a damaged entry, on a wrong
// password that slipped past the check byte, and on a CRC mismatch at the end.
void extractEntry(zip_t* za, zip_uint64_t index, const QString& archive, const QString& name,
                  QSaveFile& out)
{
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(za, index, 0, &st) != 0)
        unpackError(archive, name, errorText(zip_get_error(za)));
    Entry file(zip_fopen_index(za, index, 0));
    if (!file)
        unpackError(archive, name, errorText(zip_get_error(za)));
    QByteArray buffer(65536, Qt::Uninitialized);
    zip_uint64_t total = 0;
    for (;;) {
        const zip_int64_t n = zip_fread(file.get(), buffer.data(), zip_uint64_t(buffer.size()));
        if (n < 0)
            unpackError(archive, name, errorText(zip_file_get_error(file.get())));
        if (n == 0)
            break;
        total += zip_uint64_t(n);
        if (out.write(buffer.constData(), n) != n)
            writeError(out.fileName(), out.errorString());
    }
    if ((st.valid & ZIP_STAT_SIZE) && total != st.size)
        unpackError(archive, name, errorCodeText(ZIP_ER_INCONS));
    if (const int code = zip_fclose(file.release()); code != 0)
        unpackError(archive, name, errorCodeText(code));
}

} // namespace

QString ZipRepFile(const QString& filePath, const QString& password)
{
    const QFileInfo info(filePath);
    const QString archive = StripExtension(info.absoluteFilePath()) + u".zip"_s;

    int code = 0;
    // Truncating works on a fresh copy: the old archive stays whole until the close.
    Archive za(zip_open(QFile::encodeName(archive).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code));
    if (!za)
        packError(archive, errorCodeText(code));

    zip_error_t error;
    zip_error_init(&error);
    // Length 0: the whole file.
    zip_source_t* source = zip_source_file_create(
        QFile::encodeName(info.absoluteFilePath()).constData(), 0, 0, &error);
    if (!source) {
        const QString reason = errorText(&error);
        zip_error_fini(&error);
        packError(archive, reason);
    }
    zip_error_fini(&error);

    const zip_int64_t index =
        zip_file_add(za.get(), info.fileName().toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        packError(archive, errorText(zip_get_error(za.get())));
    }
    const auto entry = zip_uint64_t(index);
    if (zip_set_file_compression(za.get(), entry, ZIP_CM_DEFLATE, 1) != 0)
        packError(archive, errorText(zip_get_error(za.get())));
    if (!password.trimmed().isEmpty()) {
        const QByteArray pw = passwordBytes(password);
        if (zip_file_set_encryption(za.get(), entry, ZIP_EM_TRAD_PKWARE, pw.constData()) != 0)
            packError(archive, errorText(zip_get_error(za.get())));
    }
    if (zip_close(za.get()) != 0)
        packError(archive, errorText(zip_get_error(za.get())));
    za.release(); // zip_close freed it
    return archive;
}

bool isSafeEntryName(const QString& name)
{
    if (name.isEmpty() || name.startsWith(u'/') || name.contains(u'\\') || name.contains(u':'))
        return false;
    const QStringList parts = name.split(u'/');
    for (const QString& part : parts)
        if (part == u".."_s)
            return false;
    return true;
}

QList<UnzippedFile> UnZipRepFile(const QString& archivePath, const QString& targetFilePath,
                                 const QString& password)
{
    const QString archive = QFileInfo(archivePath).absoluteFilePath();
    if (!QFileInfo(archive).isFile())
        throw ArchiveError(u"Архив «%1» не найден"_s.arg(native(archive)));

    int code = 0;
    Archive za(zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &code));
    if (!za)
        throw ArchiveError(
            u"Не удалось открыть архив «%1»: %2"_s.arg(native(archive), errorCodeText(code)));

    const QDir base(QFileInfo(targetFilePath).absolutePath());

    if (!password.trimmed().isEmpty()) {
        const QByteArray pw = passwordBytes(password);
        if (zip_set_default_password(za.get(), pw.constData()) != 0)
            throw ArchiveError(u"Не удалось открыть архив «%1»: %2"_s.arg(
                native(archive), errorText(zip_get_error(za.get()))));
    }

    const zip_int64_t count = zip_get_num_entries(za.get(), 0);
    QStringList names;
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* raw = zip_get_name(za.get(), zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        if (!raw)
            throw ArchiveError(u"Не удалось прочитать архив «%1»: %2"_s.arg(
                native(archive), errorText(zip_get_error(za.get()))));
        names << QString::fromUtf8(raw);
    }
    // All names are judged before the first byte is written.
    for (const QString& name : std::as_const(names))
        if (!isSafeEntryName(name))
            throw ArchiveError(
                u"Архив «%1» не распакован: имя «%2» ведёт за пределы папки «%3»"_s.arg(
                    native(archive), name, native(base.absolutePath())));

    if (!QDir().mkpath(base.absolutePath()))
        writeError(base.absolutePath(), u"не удалось создать папку"_s);
    QList<UnzippedFile> written;
    for (zip_int64_t i = 0; i < count; ++i) {
        const QString& name = names[i];
        const QString path = base.absoluteFilePath(name);
        if (name.endsWith(u'/')) {
            if (!QDir().mkpath(path))
                writeError(path, u"не удалось создать папку"_s);
            continue;
        }
        const QString folder = QFileInfo(path).absolutePath();
        if (!QDir().mkpath(folder))
            writeError(path, u"не удалось создать папку «%1»"_s.arg(native(folder)));
        // A read-only file is replaced too.
        const QFileInfo existing(path);
        if (existing.isFile() && !existing.isWritable())
            QFile::setPermissions(path, existing.permissions() | QFile::WriteOwner);
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly))
            writeError(path, out.errorString());
        extractEntry(za.get(), zip_uint64_t(i), archive, name, out);
        if (!out.commit())
            writeError(path, out.errorString());
        written.append({name, path});
    }
    return written;
}

namespace {

[[noreturn]] void readError(const QString& archive, const QString& reason)
{
    throw ArchiveError(u"Архив «%1» не прочитан: %2"_s.arg(native(archive), reason));
}

QString readFailureReason(int code)
{
    if (code == ZIP_ER_WRONGPASSWD || code == ZIP_ER_CRC)
        return u"неверный пароль или архив повреждён"_s;
    if (code == ZIP_ER_NOPASSWD)
        return u"архив защищён паролем, а пароль не задан"_s;
    return errorCodeText(code);
}

} // namespace

ArchivedText ReadRepArchive(const QString& archivePath, const QString& password,
                            bool requirePassword, const ZipLimits& limits)
{
    const QFileInfo info(archivePath);
    const QString archive = info.absoluteFilePath();
    if (!info.isFile())
        throw ArchiveError(u"Архив «%1» не найден"_s.arg(native(archive)));
    if (info.size() > limits.maxArchiveBytes)
        readError(archive, u"файл больше %1 байт"_s.arg(limits.maxArchiveBytes));

    int code = 0;
    Archive za(zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
    if (!za)
        readError(archive, errorCodeText(code));

    const zip_int64_t count = zip_get_num_entries(za.get(), 0);
    if (count != 1)
        readError(archive, u"в архиве %1 файлов вместо одного"_s.arg(count));
    const char* raw = zip_get_name(za.get(), 0, ZIP_FL_ENC_GUESS);
    if (!raw)
        readError(archive, errorText(zip_get_error(za.get())));
    ArchivedText result;
    result.entryName = QString::fromUtf8(raw);
    if (!isSafeEntryName(result.entryName))
        readError(archive, u"имя «%1» ведёт за пределы папки"_s.arg(result.entryName));
    if (result.entryName.endsWith(u'/'))
        readError(archive, u"в архиве папка «%1» вместо файла"_s.arg(result.entryName));

    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(za.get(), 0, 0, &st) != 0)
        readError(archive, errorText(zip_get_error(za.get())));
    if (requirePassword &&
        (!(st.valid & ZIP_STAT_ENCRYPTION_METHOD) || st.encryption_method != ZIP_EM_TRAD_PKWARE))
        readError(archive, u"файл «%1» в архиве не защищён паролем"_s.arg(result.entryName));
    // The sizes in the header are only claims; the read below is bounded as well.
    if ((st.valid & ZIP_STAT_SIZE) && st.size > zip_uint64_t(limits.maxEntryBytes))
        readError(archive, u"распакованный файл больше %1 байт"_s.arg(limits.maxEntryBytes));
    if ((st.valid & ZIP_STAT_SIZE) && (st.valid & ZIP_STAT_COMP_SIZE) && st.size > 65536 &&
        st.size / std::max<zip_uint64_t>(st.comp_size, 1) > zip_uint64_t(limits.maxRatio))
        readError(archive,
                  u"степень сжатия больше %1:1, архив похож на «бомбу»"_s.arg(limits.maxRatio));

    if (!password.trimmed().isEmpty()) {
        const QByteArray pw = passwordBytes(password);
        if (zip_set_default_password(za.get(), pw.constData()) != 0)
            readError(archive, errorText(zip_get_error(za.get())));
    }
    Entry file(zip_fopen_index(za.get(), 0, 0));
    if (!file)
        readError(archive, readFailureReason(zip_error_code_zip(zip_get_error(za.get()))));
    QByteArray buffer(65536, Qt::Uninitialized);
    for (;;) {
        const zip_int64_t n = zip_fread(file.get(), buffer.data(), zip_uint64_t(buffer.size()));
        if (n < 0)
            readError(archive,
                      readFailureReason(zip_error_code_zip(zip_file_get_error(file.get()))));
        if (n == 0)
            break;
        if (result.bytes.size() + n > limits.maxEntryBytes)
            readError(archive, u"распакованный файл больше %1 байт"_s.arg(limits.maxEntryBytes));
        result.bytes.append(buffer.constData(), n);
    }
    if ((st.valid & ZIP_STAT_SIZE) && zip_uint64_t(result.bytes.size()) != st.size)
        readError(archive, errorCodeText(ZIP_ER_INCONS));
    if (const int closeCode = zip_fclose(file.release()); closeCode != 0)
        readError(archive, readFailureReason(closeCode));
    return result;
}
