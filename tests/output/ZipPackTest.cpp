#include "output/ZipPack.h"
#include "TestSupport.h"
#include "output/ArchiveError.h"
#include "output/Crc32.h"
#include "support/TestArchives.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <zip.h>

using namespace Qt::StringLiterals;

namespace {

// Every file below a folder, relative to it, temporary ones included.
QStringList filesBelow(const QString& dir)
{
    QStringList files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(dir).relativeFilePath(it.next());
    files.sort();
    return files;
}

const QByteArray kText = "ЛИЦО=2\r\nОГРН=1333333339955\r\n#\r\n";

QStringList entryNames(const QString& archive)
{
    int code = 0;
    zip_t* za = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &code);
    if (!za)
        return {u"<unreadable>"_s};
    QStringList names;
    for (zip_int64_t i = 0; i < zip_get_num_entries(za, 0); ++i)
        names << QString::fromUtf8(zip_get_name(za, zip_uint64_t(i), 0));
    zip_discard(za);
    return names;
}

// The fields of the archive's single entry, read from the bytes on disk.
struct RawEntry {
    quint16 flags = 0;
    quint16 method = 0;
    quint32 crc = 0;
    QByteArray name;
    bool zip64 = false; // a ZIP64 extra field or end record anywhere
    int entries = 0;
};

bool hasZip64Extra(const QByteArray& extra)
{
    for (qsizetype at = 0; at + 4 <= extra.size();) {
        const quint16 id = qFromLittleEndian<quint16>(extra.constData() + at);
        const quint16 len = qFromLittleEndian<quint16>(extra.constData() + at + 2);
        if (id == 0x0001)
            return true;
        at += 4 + len;
    }
    return false;
}

RawEntry parseArchive(const QByteArray& zip)
{
    RawEntry r;
    auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(zip.constData() + at); };
    auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(zip.constData() + at); };
    const qsizetype eocd = zip.lastIndexOf("PK\x05\x06");
    if (eocd < 0)
        return r;
    r.entries = u16(eocd + 10);
    r.zip64 = zip.contains("PK\x06\x06") || zip.contains("PK\x06\x07");
    const qsizetype cd = u32(eocd + 16);
    if (u32(cd) != 0x02014b50u)
        return r;
    r.flags = u16(cd + 8);
    r.method = u16(cd + 10);
    r.crc = u32(cd + 16);
    const quint16 nameLen = u16(cd + 28);
    const quint16 extraLen = u16(cd + 30);
    r.name = zip.mid(cd + 46, nameLen);
    r.zip64 = r.zip64 || hasZip64Extra(zip.mid(cd + 46 + nameLen, extraLen));
    const qsizetype local = u32(cd + 42);
    const quint16 localName = u16(local + 26);
    const quint16 localExtra = u16(local + 28);
    r.zip64 = r.zip64 || hasZip64Extra(zip.mid(local + 30 + localName, localExtra));
    if (u16(local + 6) != r.flags || u16(local + 8) != r.method)
        r.method = 0xFFFF; // local and central headers disagree
    return r;
}

struct Sandbox {
    QTemporaryDir dir;
    QString exportDir = dir.filePath(u"Export/"_s);
    QString outDir = dir.filePath(u"out/"_s);
    QString text = exportDir + u"1333333339955--080.txt"_s;
    Sandbox()
    {
        QDir().mkpath(exportDir);
        QDir().mkpath(outDir);
        writeAll(text, kText);
    }
};

// A password other than the right one that still passes the archive's one-byte check.
QByteArray passwordPassingTheCheck(const QString& archive)
{
    int code = 0;
    zip_t* za = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &code);
    if (!za)
        return {};
    QByteArray found;
    for (int i = 0; i < 200000 && found.isEmpty(); ++i) {
        const QByteArray candidate = "x" + QByteArray::number(i);
        zip_file_t* zf = zip_fopen_index_encrypted(za, 0, 0, candidate.constData());
        if (zf) {
            zip_fclose(zf);
            found = candidate;
        }
    }
    zip_discard(za);
    return found;
}

} // namespace

TEST(ZipPackPack, OneDeflatedEncryptedEntryWithoutZip64)
{
    Sandbox s;
    const QString archive = ZipRepFile(s.text, RepZipPassword);
    EXPECT_EQ(archive, QDir(s.exportDir).absoluteFilePath(u"1333333339955--080.zip"_s));

    const RawEntry e = parseArchive(readAll(archive));
    EXPECT_EQ(e.entries, 1);
    EXPECT_EQ(e.name, "1333333339955--080.txt");
    EXPECT_EQ(e.method, 8);              // deflate
    EXPECT_TRUE(e.flags & 0x0001);       // encrypted
    EXPECT_FALSE(e.flags & 0x0040);      // not strong encryption: the traditional cipher
    EXPECT_EQ(e.flags & 0x0006, 0x0004); // deflate's "fast" level mark
    EXPECT_FALSE(e.zip64);
    EXPECT_EQ(CRCText(e.crc), FileCRCText(s.text));
}

TEST(ZipPackPack, RepackingReplacesTheWholeArchive)
{
    Sandbox s;
    const QString archive = s.exportDir + u"1333333339955--080.zip"_s;
    buildArchive(archive, {{"other.txt", "old"}, {"more.txt", "old"}});
    ZipRepFile(s.text, RepZipPassword);
    EXPECT_EQ(entryNames(archive), QStringList{u"1333333339955--080.txt"_s});

    writeAll(s.text, "new content\r\n");
    ZipRepFile(s.text, RepZipPassword);
    EXPECT_EQ(entryNames(archive), QStringList{u"1333333339955--080.txt"_s});
    const auto files = UnZipRepFile(archive, s.outDir, RepZipPassword);
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(readAll(files[0].path), "new content\r\n");
}

TEST(ZipPackPack, FailureKeepsTheOldArchiveWhole)
{
    Sandbox s;
    const QString archive = ZipRepFile(s.text, RepZipPassword);
    const QByteArray before = readAll(archive);
    QFile::remove(s.text);
    try {
        ZipRepFile(s.text, RepZipPassword);
        FAIL() << "packing a missing file succeeded";
    } catch (const ArchiveError& e) {
        EXPECT_TRUE(e.message().startsWith(u"Не удалось создать архив «"_s))
            << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(archive)))
            << e.message().toStdString();
    }
    EXPECT_EQ(readAll(archive), before);
    EXPECT_EQ(filesBelow(s.exportDir), QStringList{u"1333333339955--080.zip"_s});
}

TEST(ZipPackReader, StandardReaderNeedsThePassword)
{
    const QString python = QStandardPaths::findExecutable(u"python3"_s);
    if (python.isEmpty())
        GTEST_SKIP() << "python3 not found; the archive was not checked with a standard reader";
    Sandbox s;
    const QString archive = ZipRepFile(s.text, RepZipPassword);
    const QString script = uR"(
import sys, zipfile
z = zipfile.ZipFile(sys.argv[1])
info = z.infolist()
assert [i.filename for i in info] == ['1333333339955--080.txt'], info
for pwd in (None, b'wrong', b'VAZU'):
    try:
        z.read(info[0], pwd=pwd)
        print('opened with', pwd); sys.exit(1)
    except (RuntimeError, zipfile.BadZipFile, Exception):
        pass
sys.stdout.buffer.write(z.read(info[0], pwd=b'vazu'))
)"_s;
    QProcess p;
    p.start(python, {u"-c"_s, script, archive});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString()
                               << p.readAllStandardOutput().toStdString();
    EXPECT_EQ(p.readAllStandardOutput(), kText);
}

TEST(ZipPackUnpack, ReplacesExistingFilesAndCreatesFolders)
{
    Sandbox s;
    const QString archive = s.dir.filePath(u"a.zip"_s);
    buildArchive(archive, {{"a.txt", "AAA"}, {"sub/", ""}, {"sub/deep/b.txt", "BBB"}}, "vazu");
    writeAll(s.outDir + u"a.txt"_s, "stale and longer");
    QFile::setPermissions(s.outDir + u"a.txt"_s, QFile::ReadOwner);

    const auto files = UnZipRepFile(archive, s.outDir + u"ignored-name.txt"_s, RepZipPassword);
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(files[0].name, u"a.txt"_s);
    EXPECT_EQ(files[1].name, u"sub/deep/b.txt"_s);
    EXPECT_EQ(readAll(s.outDir + u"a.txt"_s), "AAA");
    EXPECT_EQ(readAll(s.outDir + u"sub/deep/b.txt"_s), "BBB");
    EXPECT_EQ(filesBelow(s.outDir), (QStringList{u"a.txt"_s, u"sub/deep/b.txt"_s}));
}

TEST(ZipPackUnpack, EscapingNamesAreRefusedBeforeAnythingIsWritten)
{
    // "<sandbox>/abs" stands for an absolute name: a faulty unpacker then writes into the
    // sandbox, not into the root folder.
    const QByteArray names[] = {"../evil",   "<sandbox>/abs", "C:\\x", "a\\..\\b",
                                "a/../../b", "C:x",           "sub/.."};
    for (QByteArray bad : names) {
        Sandbox s;
        bad.replace("<sandbox>", QFile::encodeName(s.dir.path()));
        SCOPED_TRACE(bad.toStdString());
        const QString archive = s.dir.filePath(u"slip.zip"_s);
        buildArchive(archive, {{"first.txt", "harmless"}, {bad, "owned"}}, "vazu");
        ASSERT_EQ(entryNames(archive).value(1), QString::fromUtf8(bad));
        const QString target = s.dir.filePath(u"out/inner/"_s);
        try {
            UnZipRepFile(archive, target, RepZipPassword);
            ADD_FAILURE() << "unpacked";
        } catch (const ArchiveError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(bad))) << e.message().toStdString();
        }
        // Nothing anywhere in the sandbox but the archive and the text it started with.
        EXPECT_EQ(filesBelow(s.dir.path()),
                  (QStringList{u"Export/1333333339955--080.txt"_s, u"slip.zip"_s}));
    }
}

TEST(ZipPackUnpack, EntryNameSafety)
{
    struct Case {
        const char16_t* name;
        bool safe;
    } cases[] = {
        {u"1333333339955--080.txt", true},
        {u"sub/dir/f.txt", true},
        {u"a..b.txt", true},
        {u"./f.txt", true},
        {u"..", false},
        {u"../x", false},
        {u"a/../b", false},
        {u"/etc/passwd", false},
        {u"\\\\server\\x", false},
        {u"a\\b", false},
        {u"C:x", false},
        {u"c:/x", false},
        {u"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isSafeEntryName(QString::fromUtf16(c.name)), c.safe)
            << QString::fromUtf16(c.name).toStdString();
}

TEST(ZipPackUnpack, MissingArchiveIsReportedAndNotCreated)
{
    Sandbox s;
    const QString archive = s.exportDir + u"1333333339955--080.zip"_s;
    try {
        UnZipRepFile(archive, s.exportDir, RepZipPassword);
        FAIL() << "a missing archive unpacked";
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.message(), u"Архив «%1» не найден"_s.arg(QDir::toNativeSeparators(archive)));
    }
    EXPECT_FALSE(QFile::exists(archive));
}

TEST(ZipPackUnpack, WrongPasswordLeavesNoFile)
{
    Sandbox s;
    const QString archive = ZipRepFile(s.text, RepZipPassword);
    const QByteArray slipping = passwordPassingTheCheck(archive);
    ASSERT_FALSE(slipping.isEmpty());
    for (const QString& password : {u"wrong"_s, QString::fromLatin1(slipping)}) {
        SCOPED_TRACE(password.toStdString());
        try {
            UnZipRepFile(archive, s.outDir, password);
            ADD_FAILURE() << "unpacked with a wrong password";
        } catch (const ArchiveError& e) {
            EXPECT_TRUE(
                e.message().startsWith(u"Не удалось распаковать «1333333339955--080.txt»"_s))
                << e.message().toStdString();
        }
        EXPECT_TRUE(filesBelow(s.outDir).isEmpty())
            << filesBelow(s.outDir).join(u' ').toStdString();
    }
}

TEST(ZipPackUnpack, DamagedArchive)
{
    Sandbox s;
    const QString archive = ZipRepFile(s.text, RepZipPassword);
    QByteArray spoiled = readAll(archive);
    // Past the local header and the 12-byte encryption header, in the compressed data.
    const qsizetype data = 30 + qFromLittleEndian<quint16>(spoiled.constData() + 26) +
                           qFromLittleEndian<quint16>(spoiled.constData() + 28) + 12;
    for (qsizetype i = data; i < data + 8; ++i)
        spoiled[i] = char(~spoiled[i]);
    for (const QByteArray& bytes : {QByteArray("PK\x03\x04 not really a zip"), spoiled}) {
        writeAll(archive, bytes);
        EXPECT_THROW(UnZipRepFile(archive, s.outDir, RepZipPassword), ArchiveError);
        EXPECT_TRUE(filesBelow(s.outDir).isEmpty());
    }
}

TEST(ZipPackUnpack, MissingTargetFolderIsCreated)
{
    Sandbox s;
    const QString archive = ZipRepFile(s.text, RepZipPassword);
    const QString target = s.dir.filePath(u"new/deeper/"_s);
    const auto files = UnZipRepFile(archive, target, RepZipPassword);
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(readAll(target + u"1333333339955--080.txt"_s), kText);
}
